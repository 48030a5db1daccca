// MenuBinder: a menu item as a QAction, a submenu as its QMenu's action.
#include "gui/accessibility.h"
#include "gui/binder_support.h"

#include <QAction>
#include <QMenu>

#include "toolkit/form.h"

namespace tarvolin {

MenuBinder::MenuBinder(MenuItem& item, QWidget* owner) : item_(item) {
    build(owner);
    listenId_ = item_.changed.listen([this](std::string_view) { sync(); });
    sync();
}

MenuBinder::~MenuBinder() { item_.changed.unlisten(listenId_); }

void MenuBinder::build(QWidget* owner) {
    const QString name = q(item_.objectName());
    if (!item_.children().empty()) {
        menu_ = new QMenu(owner);
        menu_->setObjectName(name);
        setAccessibleId(menu_, name);
        action_ = menu_->menuAction();
    } else {
        action_ = new QAction(owner);
        connect(action_, &QAction::triggered, this, [this] {
            item_.click();
            sync();
        });
    }
    action_->setObjectName(name);
    checkable_ = item_.Checked();
}

void MenuBinder::sync() {
    if (!action_) return;
    if (item_.isSeparator()) {
        action_->setSeparator(true);
        action_->setVisible(item_.Visible());
        return;
    }
    action_->setText(q(item_.Caption()));
    action_->setToolTip(q(item_.ToolTipText()));
    // An item becomes checkable the first time the program checks it, and
    // keeps its check column from then on.
    if (item_.Checked()) checkable_ = true;
    if (!menu_) {
        action_->setCheckable(checkable_);
        action_->setChecked(item_.Checked());
    }
    action_->setEnabled(item_.Enabled());
    action_->setVisible(item_.Visible());
}

}  // namespace tarvolin
