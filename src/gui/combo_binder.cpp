// ComboBox and DriveListBox: a combo box whose shown item is always the model's.
#include "gui/binder_support.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QStringListModel>

#include "toolkit/controls.h"

namespace tarvolin {

namespace {

class ComboBinder final : public Binder {
public:
    ComboBinder(ListControl& l, QComboBox* w) : Binder(l, w), l_(l), w_(w) {
        combo_ = dynamic_cast<ComboBox*>(&l);
        drive_ = dynamic_cast<DriveListBox*>(&l);
        adapter_ = new ListAdapter(l);  // owned by the binder
        // While the items change, Qt picks an item of its own (the first one
        // when the list was empty, another when the current one goes) and
        // writes it into the edit part. That is not the user's doing: the
        // change is held off the model, and the box then shows the model's
        // item again. The first connections run before the combo box's own.
        const auto hold = [this] { ++itemsChanging_; };
        const auto resync = [this] {
            --itemsChanging_;
            sync(Property::ListIndex);
        };
        connect(adapter_, &QAbstractItemModel::rowsAboutToBeInserted, this, hold);
        connect(adapter_, &QAbstractItemModel::rowsAboutToBeRemoved, this, hold);
        connect(adapter_, &QAbstractItemModel::modelAboutToBeReset, this, hold);
        connect(adapter_, &QAbstractItemModel::dataChanged, this, hold);
        w->setModel(adapter_);
        connect(adapter_, &QAbstractItemModel::rowsInserted, this, resync);
        connect(adapter_, &QAbstractItemModel::rowsRemoved, this, resync);
        connect(adapter_, &QAbstractItemModel::modelReset, this, resync);
        connect(adapter_, &QAbstractItemModel::dataChanged, this, resync);
        w->setEditable(combo_ && combo_->Style() != 2);
        w->setInsertPolicy(QComboBox::NoInsert);
        connect(w, qOverload<int>(&QComboBox::activated), this, [this](int i) { picked(i); });
        // A row chosen in the drop-down list through assistive technology
        // (its Toggle action, the table's row selection) is a pick too.
        connect(w->view()->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
            if (updating_ || itemsChanging_ > 0 || followPending_) return;
            followPending_ = true;
            QMetaObject::invokeMethod(this, [this] { followList(); }, Qt::QueuedConnection);
        });
        hookEdit();
    }
    ~ComboBinder() override {
        if (widget_) w_->setModel(new QStringListModel(w_));
        delete adapter_;
    }
    void syncAll() override {
        Binder::syncAll();
        sync(Property::Style);
        sync(Property::Text);
    }
    void sync(Property what) override {
        if (what == Property::Text || what == Property::ListIndex || what == Property::Drive) {
            const Updating own(updating_);
            const QSignalBlocker b(w_);
            // The item shown is always the model's: none for -1.
            const int shown = shownItem();
            if (w_->currentIndex() != shown) w_->setCurrentIndex(shown < w_->count() ? shown : -1);
            // The drop-down list holds the item shown selected: a screen
            // reader tells a box's value by it.
            if (QItemSelectionModel* sm = w_->view()->selectionModel()) {
                if (w_->currentIndex() >= 0) sm->select(adapter_->index(w_->currentIndex()), QItemSelectionModel::ClearAndSelect);
                else sm->clearSelection();
            }
            if (combo_ && w_->lineEdit() && w_->lineEdit()->text() != q(combo_->Text()))
                w_->lineEdit()->setText(q(combo_->Text()));
        } else if (what == Property::Style) {
            w_->setEditable(combo_ && combo_->Style() != 2);
            hookEdit();
            sync(Property::Text);
        } else {
            Binder::sync(what);
        }
    }

protected:
    // The drop-down list is named as the box. The edit part has no name of
    // its own: a screen reader says the box's name before the text it
    // holds, and would say it twice.
    void applyName(const QString& name) override {
        Binder::applyName(name);
        w_->view()->setAccessibleName(name);
    }

private:
    void picked(int i) {
        if (drive_) drive_->setDrive(drive_->List(i));
        else l_.userClick(i);
        sync(Property::Text);
    }
    int shownItem() const { return drive_ ? findItem(drive_->Drive()) : l_.ListIndex(); }
    // The list's selection once it settled. Moving through the open list
    // with the keys or the pointer moves its current row along with the
    // selection: only a row selected apart from the current one, or one
    // selected while the list is closed, was chosen from outside.
    void followList() {
        followPending_ = false;
        QAbstractItemView* v = w_->view();
        const QModelIndexList sel = v->selectionModel()->selectedRows();
        if (itemsChanging_ > 0 || sel.size() != 1 || !l_.Enabled()) return;
        const int row = sel.front().row();
        const bool open = v->isVisible();
        if (open ? row == v->currentIndex().row() : row == shownItem()) return;
        if (open) w_->hidePopup();
        {
            const Updating own(updating_);
            w_->setCurrentIndex(row);
        }
        picked(row);
    }
    void hookEdit() {
        if (!w_->lineEdit() || hooked_ == w_->lineEdit()) return;
        hooked_ = w_->lineEdit();
        // The edit part takes what is typed as it stands: no completion
        // from the items.
        w_->setCompleter(nullptr);
        // Typed, pasted or set through assistive technology: the user's text.
        // A pick from the list comes as `activated`, after Qt has written the
        // item into the edit part.
        connect(hooked_, &QLineEdit::textChanged, this, [this](const QString& s) {
            if (updating_ || itemsChanging_ > 0 || !combo_) return;
            if (w_->currentIndex() != l_.ListIndex() && w_->currentIndex() >= 0 && s == w_->itemText(w_->currentIndex()))
                return;
            combo_->userEdited(s.toStdString());
        });
    }
    int findItem(const std::string& s) const {
        for (int i = 0; i < l_.ListCount(); ++i)
            if (l_.List(i) == s) return i;
        return -1;
    }

    ListControl& l_;
    QComboBox* w_;
    ComboBox* combo_ = nullptr;
    DriveListBox* drive_ = nullptr;
    ListAdapter* adapter_;
    QPointer<QLineEdit> hooked_;
    int itemsChanging_ = 0;
    bool followPending_ = false;
};

}  // namespace

std::unique_ptr<Binder> bindCombo(ListControl& l, QWidget* parent) {
    return std::make_unique<ComboBinder>(l, new BoundCombo(parent));
}

}  // namespace tarvolin
