// List boxes: ListBox, FileListBox, DirListBox. The model owns the selection:
// presses and keys become its user actions, and the view's selection only
// mirrors the model.
#include "gui/binder_support.h"

#include <QKeyEvent>
#include <QListView>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <algorithm>
#include <utility>
#include <vector>

#include "gui/accessibility.h"
#include "toolkit/controls.h"

namespace tarvolin {

namespace {

// The height of a list's rows in a font: one for every list, so that lists
// shown side by side line up.
int rowHeight(const QFontMetrics& fm) { return fm.height() + 2; }

// Rows of rowHeight, as wide as the horizontal extent asks.
class RowDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    int extent = 0;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize s = QStyledItemDelegate::sizeHint(option, index);
        s.setHeight(rowHeight(option.fontMetrics));
        s.setWidth(s.width() + indent(index));
        if (extent > s.width()) s.setWidth(extent);
        return s;
    }
    // A folder list's rows stand further in the deeper the folder is.
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem shifted(option);
        shifted.rect.setLeft(shifted.rect.left() + indent(index));
        QStyledItemDelegate::paint(painter, shifted, index);
    }

private:
    static int indent(const QModelIndex& index) { return 8 * index.data(ListAdapter::kIndentRole).toInt(); }
};

// A list whose rows may be wider than the list (a horizontal extent). The
// rows are drawn at their whole width, but outside drawing a row's rectangle
// is the part of it that can be seen: assistive technology points at a row
// by its rectangle, and keeping a current row in view never scrolls sideways.
class RowListView final : public QListView {
public:
    using QListView::QListView;
    // Whether the view is handling a key of its own (the keys the binder
    // leaves to it: typing the start of an item's text).
    bool inKey() const { return inKey_; }
    // The height the window's design gives the list. The list shows whole
    // rows: it is as high as the most whole rows that fit there, with its
    // frame and scroll bar, so that no row is cut by its edge or its bar.
    void setDesignHeight(int h) {
        designHeight_ = h;
        fitWholeRows();
    }
    QRect visualRect(const QModelIndex& index) const override {
        QRect r = QListView::visualRect(index);
        if (painting_ || r.isEmpty()) return r;
        const QRect area = viewport()->rect();
        r.setLeft(std::max(r.left(), area.left()));
        r.setRight(std::min(r.right(), area.right()));
        return r;
    }

protected:
    void updateGeometries() override {
        QListView::updateGeometries();
        fitWholeRows();
    }
    void paintEvent(QPaintEvent* e) override {
        painting_ = true;
        QListView::paintEvent(e);
        painting_ = false;
    }
    void keyPressEvent(QKeyEvent* e) override {
        inKey_ = true;
        QListView::keyPressEvent(e);
        inKey_ = false;
    }
    // A list view tells assistive technology that its new current row has
    // the focus: only the list that has the keyboard focus says so. A list
    // that shows assistive technology its rows in view only tells it about
    // its rows itself, as the view's own notes number the rows of the whole
    // list.
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override {
        if (!hasFocus() || shownRowsOnly(this)) QAbstractItemView::currentChanged(current, previous);
        else QListView::currentChanged(current, previous);
        if (hasFocus() && shownRowsOnly(this) && current.isValid()) tellFocusedRow(this, current.row());
    }
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override {
        if (shownRowsOnly(this)) QAbstractItemView::selectionChanged(selected, deselected);
        else QListView::selectionChanged(selected, deselected);
    }

private:
    void fitWholeRows() {
        if (designHeight_ <= 0) return;
        const int row = rowHeight(fontMetrics());
        const int chrome = height() - viewport()->height();
        const int fit = std::max(chrome + row, designHeight_ - (designHeight_ - chrome) % row);
        if (fit != height()) resize(width(), fit);
    }

    bool painting_ = false;
    bool inKey_ = false;
    int designHeight_ = 0;
};

QAbstractItemView::SelectionMode viewSelectionMode(int multiSelect) {
    switch (multiSelect) {
    case 1: return QAbstractItemView::MultiSelection;
    case 2: return QAbstractItemView::ExtendedSelection;
    default: return QAbstractItemView::SingleSelection;
    }
}

class ListBinder final : public Binder {
public:
    ListBinder(ListControl& l, RowListView* w) : Binder(l, w), l_(l), w_(w) {
        delegate_ = new RowDelegate(w);
        w->setItemDelegate(delegate_);
        adapter_ = new ListAdapter(l);  // owned by the binder
        w->setUniformItemSizes(true);
        w->setEditTriggers(QAbstractItemView::NoEditTriggers);
        w->setSelectionMode(viewSelectionMode(l.MultiSelectMode()));
        w->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
        w->setModel(adapter_);
        // What changes the view's selection without going through the
        // binder (assistive technology selecting or toggling rows, typing
        // an item's first letters) becomes the model's user selection.
        connect(w->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { viewChanged(false); });
        connect(w->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { viewChanged(true); });
        w->viewport()->installEventFilter(this);
        w->installEventFilter(this);
        selId_ = l_.selectionChanged.listen([this](int i) { syncSelection(i); });
        // New rows (a folder list opening a folder) keep the model's current
        // row, which the view tells assistive technology where it has the
        // focus: the list's new content is not silent.
        resetId_ = l_.reset.listen([this] {
            syncSelection(-1);
            sync(Property::ListIndex);
        });
        connect(w->verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int v) {
            if (!updating_) {
                updating_ = true;
                l_.setTopIndex(v);
                updating_ = false;
            }
        });
    }
    ~ListBinder() override {
        l_.selectionChanged.unlisten(selId_);
        l_.reset.unlisten(resetId_);
        // The adapter listens to the control: it goes with the binder.
        if (widget_) w_->setModel(nullptr);
        delete adapter_;
    }
    ListAdapter* adapter() const { return adapter_; }

    void syncAll() override {
        Binder::syncAll();
        for (auto p : {Property::HorizontalExtent, Property::FontBold, Property::BackColor}) sync(p);
        syncSelection(-1);
        sync(Property::ListIndex);
    }
    void sync(Property what) override {
        if (what == Property::ListIndex) {
            const int row = adapter_->rowOf(l_.ListIndex());
            if (row >= 0 && row < adapter_->rowCount()) {
                const QModelIndex ix = adapter_->index(row);
                showCurrentRow(w_->hasFocus());
                w_->scrollTo(ix);
            }
        } else if (what == Property::MultiSelect) {
            {
                const Updating own(updating_);
                w_->setSelectionMode(viewSelectionMode(l_.MultiSelectMode()));
            }
            syncSelection(-1);
        } else if (what == Property::TopIndex) {
            if (!updating_) {
                updating_ = true;
                w_->verticalScrollBar()->setValue(l_.TopIndex());
                updating_ = false;
            }
        } else if (what == Property::HorizontalExtent) {
            delegate_->extent = l_.HorizontalExtent();
            // Lists whose rows line up with other lists keep the policy the
            // view gave them (rowsAligned).
            if (!w_->property("rowsAligned").toBool())
                w_->setHorizontalScrollBarPolicy(l_.HorizontalExtent() > 0 ? Qt::ScrollBarAsNeeded
                                                                          : Qt::ScrollBarAlwaysOff);
            w_->reset();
        } else if (what == Property::FontBold) {
            QFont f = w_->font();
            f.setBold(l_.FontBold());
            w_->setFont(f);
        } else if (what == Property::BackColor) {
            setPaletteColour(w_, QPalette::Base, modelColour(l_.BackColor(), false));
        } else if (what == Property::Geometry) {
            Binder::sync(what);
            w_->setDesignHeight(w_->height());
        } else {
            Binder::sync(what);
        }
    }

    // Mirrors the model's selection (row i, or every row for -1).
    void syncSelection(int i) {
        QItemSelectionModel* sm = w_->selectionModel();
        if (!sm) return;
        const Updating own(updating_);
        mirrorSelection(sm, i);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == w_->viewport()) {
            if (event->type() == QEvent::MouseButtonPress) {
                auto* me = static_cast<QMouseEvent*>(event);
                pressed(me);
                return true;
            }
            if (event->type() == QEvent::MouseButtonDblClick) {
                auto* me = static_cast<QMouseEvent*>(event);
                if (me->button() == Qt::LeftButton && l_.Enabled()) {
                    const QModelIndex ix = w_->indexAt(me->position().toPoint());
                    if (ix.isValid()) dblClick(adapter_->itemOf(ix.row()));
                }
                return true;
            }
            if (event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::MouseMove) return true;
        } else if (watched == w_ && event->type() == QEvent::KeyPress) {
            if (keyPressed(static_cast<QKeyEvent*>(event))) return true;
        } else if (watched == w_ && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
            showCurrentRow(event->type() == QEvent::FocusIn);
        }
        return Binder::eventFilter(watched, event);
    }

private:
    // The view's current row is the list's while the view has the keyboard
    // focus, and none while it has not: assistive technology takes a view's
    // current row for the focused one, and the column lists follow the
    // track list's row without the focus. Set before the view's own focus
    // handling, which would otherwise make the first row current.
    void showCurrentRow(bool focused) {
        QItemSelectionModel* sm = w_->selectionModel();
        if (!sm) return;
        const int row = adapter_->rowOf(l_.ListIndex());
        const QModelIndex ix = focused && row >= 0 && row < adapter_->rowCount() ? adapter_->index(row) : QModelIndex();
        if (sm->currentIndex() == ix) return;
        const Updating own(updating_);
        sm->setCurrentIndex(ix, QItemSelectionModel::NoUpdate);
    }
    void mirrorSelection(QItemSelectionModel* sm, int i) {
        const int n = adapter_->rowCount();
        if (!l_.MultiSelect()) {
            sm->clearSelection();
            const int cur = adapter_->rowOf(l_.ListIndex());
            if (cur >= 0 && cur < n) sm->select(adapter_->index(cur), QItemSelectionModel::Select);
            return;
        }
        if (i >= 0) {
            const int row = adapter_->rowOf(i);
            if (row >= 0 && row < n)
                sm->select(adapter_->index(row), l_.Selected(i) ? QItemSelectionModel::Select
                                                                : QItemSelectionModel::Deselect);
            return;
        }
        QItemSelection sel;
        int start = -1;
        for (int r = 0; r <= n; ++r) {
            const bool s = r < n && l_.Selected(adapter_->itemOf(r));
            if (s && start < 0) start = r;
            if (!s && start >= 0) {
                sel.select(adapter_->index(start), adapter_->index(r - 1));
                start = -1;
            }
        }
        sm->select(sel, QItemSelectionModel::ClearAndSelect);
    }
    void pressed(QMouseEvent* me) {
        w_->setFocus(Qt::MouseFocusReason);
        if (!l_.Enabled()) return;
        const int shift = shiftMask(me->modifiers());
        const QPointF p = me->position();
        const QModelIndex ix = w_->indexAt(p.toPoint());
        if (me->button() == Qt::LeftButton && ix.isValid()) {
            const int row = adapter_->itemOf(ix.row());
            if (l_.MultiSelectMode() == 2 && (shift & 2)) toggleRow(row);
            else if (l_.MultiSelectMode() == 2 && (shift & 1) && l_.ListIndex() >= 0) selectRange(row);
            else {
                anchor_ = row;
                l_.userClick(row);
            }
        }
        mouseDown(mouseButton(me->button()), shift, p);
    }
    // Extended selection: row added to or taken from the selection, and
    // made the current row.
    void toggleRow(int row) {
        std::vector<int> rows = selectedRows();
        const auto at = std::find(rows.begin(), rows.end(), row);
        if (at != rows.end()) rows.erase(at);
        else rows.push_back(row);
        anchor_ = row;
        l_.userSelect(rows, row);
    }
    // Extended selection: the rows from the anchor to row, alone.
    void selectRange(int row) {
        std::vector<int> rows;
        for (int r = std::min(anchor_, row); r <= std::max(anchor_, row); ++r) rows.push_back(r);
        l_.userSelect(rows, row);
    }
    std::vector<int> selectedRows() const {
        std::vector<int> rows;
        for (int r = 0; r < l_.ListCount(); ++r)
            if (l_.Selected(r)) rows.push_back(r);
        return rows;
    }
    bool keyPressed(QKeyEvent* ke) {
        if (!l_.Enabled()) return false;
        // A folder list goes up to the parent folder.
        if (auto* dl = dynamic_cast<DirListBox*>(&l_); dl && ke->key() == Qt::Key_Backspace) {
            if (dl->Path() != "/") dl->setPath(dl->List(-2));
            return true;
        }
        if (adapter_->rowCount() == 0) return false;
        const int before = l_.ListIndex();
        const std::vector<int> selectedBefore = selectedRows();
        const bool handled = moveByKey(ke);
        // A row reached or a selection made by the keys is a choice: the
        // list's press handler (the columns following, the file's details)
        // runs as for a click. Enter is the double click's, not a choice.
        const bool enter = ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter;
        if (handled && !enter && (l_.ListIndex() != before || selectedRows() != selectedBefore))
            chosenWithoutPointer(shiftMask(ke->modifiers()));
        return handled;
    }
    bool moveByKey(QKeyEvent* ke) {
        const int mode = l_.MultiSelectMode();
        const Qt::KeyboardModifiers mods = ke->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier);
        const int page = std::max(1, w_->viewport()->height() / std::max(1, w_->sizeHintForRow(0)));
        const int first = l_.FirstRow();
        int row = l_.ListIndex();
        switch (ke->key()) {
        case Qt::Key_Up: row = std::max(first, row - 1); break;
        case Qt::Key_Down: row = std::min(l_.ListCount() - 1, row + 1); break;
        case Qt::Key_PageUp: row = std::max(first, row - page); break;
        case Qt::Key_PageDown: row = std::min(l_.ListCount() - 1, row + page); break;
        case Qt::Key_Home: row = first; break;
        case Qt::Key_End: row = l_.ListCount() - 1; break;
        case Qt::Key_Space:
            if (row < 0) return false;
            if (mode != 1) return false;
            l_.userClick(row);
            return true;
        case Qt::Key_A:
            if (mods != Qt::ControlModifier || mode == 0) return false;
            {
                std::vector<int> all(static_cast<std::size_t>(l_.ListCount()));
                for (int r = 0; r < l_.ListCount(); ++r) all[static_cast<std::size_t>(r)] = r;
                l_.userSelect(all, std::max(0, row));
            }
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // Enter does what a double click on the current row does.
            if (row < first || !hasDoubleClick()) return false;
            dblClick(row);
            return true;
        default: return false;
        }
        row = std::max(row, first);
        if (mode == 2 && mods == Qt::ShiftModifier) {
            selectRange(row);
            return true;
        }
        // Simple selection, and Ctrl in extended selection, move the current
        // row without changing the selection.
        if (mode == 1 || (mode == 2 && mods == Qt::ControlModifier)) l_.setListIndex(row);
        else l_.userClick(row);
        anchor_ = row;
        return true;
    }
    // A change of the view's selection or current row that the binder did
    // not make. The model follows once the view has settled (assistive
    // technology clears and selects in two steps).
    void viewChanged(bool current) {
        if (updating_) return;
        if (current && w_->inKey()) currentByKey_ = true;
        if (followPending_) return;
        followPending_ = true;
        QMetaObject::invokeMethod(this, [this] { followView(); }, Qt::QueuedConnection);
    }
    void followView() {
        followPending_ = false;
        const bool byKey = std::exchange(currentByKey_, false);
        QItemSelectionModel* sm = w_->selectionModel();
        const int n = adapter_->rowCount();
        if (!sm || !widget_ || n != l_.ListCount() - l_.FirstRow()) return;
        if (l_.Enabled()) {
            const QModelIndex cur = sm->currentIndex();
            // The current row moves with the view only where a key moved it:
            // the view also makes a row current on its own when it gets the
            // focus.
            const int current = byKey && cur.isValid() ? adapter_->itemOf(cur.row()) : l_.ListIndex();
            std::vector<int> rows;
            for (const QModelIndex& ix : sm->selectedIndexes())
                if (ix.row() < n) rows.push_back(adapter_->itemOf(ix.row()));
            std::sort(rows.begin(), rows.end());
            rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
            bool chosen = false;
            if (!l_.MultiSelect()) {
                const int none = l_.FirstRow() - 1;
                int row = current != l_.ListIndex() ? current : none;
                for (int r : rows)
                    if (r != l_.ListIndex()) row = r;
                if (row != none) {
                    l_.userClick(row);
                    chosen = true;
                }
            } else if (rows != selectedRows() || current != l_.ListIndex()) {
                l_.userSelect(rows, current);
                chosen = true;
            }
            if (chosen) chosenWithoutPointer(0);
        }
        // The view shows what the model decided.
        syncSelection(-1);
        sync(Property::ListIndex);
    }
    // Whether the list does something on a double click (a folder list
    // opens the folder; other lists have a handler or nothing).
    bool hasDoubleClick() const {
        if (auto* lb = dynamic_cast<ListBox*>(&l_)) return lb->DblClick.connected();
        if (auto* fl = dynamic_cast<FileListBox*>(&l_)) return fl->DblClick.connected();
        return dynamic_cast<DirListBox*>(&l_) != nullptr;
    }
    void dblClick(int row) {
        if (auto* lb = dynamic_cast<ListBox*>(&l_)) lb->DblClick.raise();
        else if (auto* fl = dynamic_cast<FileListBox*>(&l_)) fl->DblClick.raise();
        else if (auto* dl = dynamic_cast<DirListBox*>(&l_)) dl->setPath(dl->List(row));
    }
    // at: in the widget's pixels; the model hears twips of the design.
    void mouseDown(int button, int shift, QPointF at) {
        const double twips = kTwips / zoomOf(w_);
        if (auto* lb = dynamic_cast<ListBox*>(&l_))
            lb->MouseDown.raise(button, shift, static_cast<float>(at.x() * twips), static_cast<float>(at.y() * twips));
    }
    // A row chosen by the keys or by assistive technology: the press
    // handler runs as for a left click in the middle of the current row.
    void chosenWithoutPointer(int shift) {
        auto* lb = dynamic_cast<ListBox*>(&l_);
        if (!lb || !lb->MouseDown.connected() || !widget_) return;
        const int row = l_.ListIndex();
        if (row < 0 || row >= adapter_->rowCount()) return;
        const QRect r = w_->visualRect(adapter_->index(row));
        mouseDown(1, shift, r.center());
    }

    ListControl& l_;
    RowListView* w_;
    RowDelegate* delegate_;
    ListAdapter* adapter_;
    int selId_ = 0, resetId_ = 0;
    int anchor_ = 0;
    bool followPending_ = false;
    bool currentByKey_ = false;
};

}  // namespace

std::unique_ptr<Binder> bindList(ListControl& l, QWidget* parent) {
    return std::make_unique<ListBinder>(l, new RowListView(parent));
}

}  // namespace tarvolin
