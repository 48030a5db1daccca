// MenuBinder: a menu item as a QAction, a submenu as its QMenu's action.
#include "gui/accessibility.h"
#include "gui/binder_support.h"

#include <QAction>
#include <QMenu>

#include "toolkit/form.h"

namespace tarvolin {

namespace {

// The model's caption of a menu action, kept beside the text shown.
constexpr const char* kCaptionProperty = "tarvolinCaption";

bool isKeyLetter(QChar c) { return c.unicode() < 128 && c.isLetterOrNumber(); }

// Where in caption the access key goes, given the keys its siblings took:
// a word's first letter in the English part (after the last "- "), else
// another letter there, else any Latin letter or digit; -1 when all are
// taken.
qsizetype accessKeyAt(const QString& caption, QString& taken) {
    const qsizetype dash = caption.lastIndexOf(QStringLiteral("- "));
    const qsizetype english = dash < 0 ? 0 : dash + 2;
    const auto free = [&](qsizetype i) { return isKeyLetter(caption[i]) && !taken.contains(caption[i].toLower()); };
    qsizetype at = -1;
    for (qsizetype i = english; i < caption.size() && at < 0; ++i)
        if ((i == english || !caption[i - 1].isLetterOrNumber()) && free(i)) at = i;
    for (qsizetype i = english; i < caption.size() && at < 0; ++i)
        if (free(i)) at = i;
    for (qsizetype i = 0; i < caption.size() && at < 0; ++i)
        if (free(i)) at = i;
    if (at >= 0) taken += caption[at].toLower();
    return at;
}

}  // namespace

void labelMenuItems(QWidget* menu) {
    QString taken;
    for (QAction* a : menu->actions()) {
        if (a->isSeparator()) continue;
        const QString caption = a->property(kCaptionProperty).toString();
        const qsizetype key = accessKeyAt(caption, taken);
        QString text;
        for (qsizetype i = 0; i < caption.size(); ++i) {
            if (i == key) text += '&';
            text += caption[i];
            if (caption[i] == '&') text += '&';
        }
        a->setText(text);
    }
}

MenuBinder::MenuBinder(MenuItem& item, QWidget* owner) : item_(item) {
    build(owner);
    listenId_ = item_.changed.listen([this](Property) { sync(); });
    sync();
}

MenuBinder::~MenuBinder() { item_.changed.unlisten(listenId_); }

void MenuBinder::build(QWidget* owner) {
    owner_ = owner;
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
    // The caption as the model has it, with an access key among its
    // siblings' (a caption's own "&" shows as itself).
    action_->setProperty(kCaptionProperty, q(item_.Caption()));
    if (owner_ && owner_->actions().contains(action_.data())) labelMenuItems(owner_);
    else action_->setText(q(item_.Caption()).replace('&', QStringLiteral("&&")));
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
