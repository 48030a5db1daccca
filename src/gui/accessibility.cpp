#include "gui/accessibility.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QApplication>
#include <QHash>
#include <QPointer>
#include <QTabWidget>
#include <QWidget>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "gui/binders.h"

namespace tarvolin {

bool accessibleIdsShown() {
    const char* v = std::getenv("TARVOLIN_ACCESSIBLE_IDS");
    return v && std::strcmp(v, "1") == 0;
}

void setAccessibleId(QWidget* widget, const QString& id) {
    if (accessibleIdsShown()) widget->setAccessibleDescription(id);
}

namespace {

// Children whose tops are this close (in pixels) start one row.
constexpr int kSameRow = 6;

bool isStop(const QWidget* w) {
    if (const Binder* b = binderOf(w)) return b->tabStop();
    return w->focusPolicy() & Qt::TabFocus;
}

void collect(QWidget* container, std::vector<QWidget*>& out);

// The places a child of a container holds: itself where it takes the focus
// (by the Tab key or a click) or is a stop, else the controls inside it (a
// frame, a player). A page control is followed by the controls of the page
// shown.
std::vector<QWidget*> placesOf(QWidget* w) {
    std::vector<QWidget*> places;
    if (isStop(w) || w->focusPolicy() != Qt::NoFocus) places.push_back(w);
    if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
        if (QWidget* page = tabs->currentWidget()) collect(page, places);
    } else if (places.empty()) {
        collect(w, places);
    }
    return places;
}

// The places inside container in the order they are drawn: its children row
// by row, top to bottom, and left to right within a row.
void collect(QWidget* container, std::vector<QWidget*>& out) {
    struct Child {
        QRect at;
        std::vector<QWidget*> places;
    };
    std::vector<Child> children;
    for (QObject* o : container->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || w->isWindow() || w->isHidden()) continue;
        Child c{w->geometry(), placesOf(w)};
        if (!c.places.empty()) children.push_back(std::move(c));
    }
    std::sort(children.begin(), children.end(), [](const Child& a, const Child& b) {
        return a.at.top() != b.at.top() ? a.at.top() < b.at.top() : a.at.left() < b.at.left();
    });
    auto rest = children.begin();
    while (rest != children.end()) {
        // A row: the children that start at its top, and those whose middle
        // lies above the lowest bottom of these.
        const int top = rest->at.top();
        int bottom = top;
        for (auto c = rest; c != children.end() && c->at.top() <= top + kSameRow; ++c)
            bottom = std::max(bottom, c->at.bottom());
        const auto rowEnd =
            std::stable_partition(rest, children.end(), [bottom](const Child& c) { return c.at.center().y() <= bottom; });
        std::sort(rest, rowEnd, [](const Child& a, const Child& b) {
            return a.at.left() != b.at.left() ? a.at.left() < b.at.left() : a.at.top() < b.at.top();
        });
        for (auto c = rest; c != rowEnd; ++c) out.insert(out.end(), c->places.begin(), c->places.end());
        rest = rowEnd;
    }
}

}  // namespace

bool moveFocusInLayout(QWidget* root, bool next) {
    std::vector<QWidget*> places;
    if (root) collect(root, places);
    const int n = static_cast<int>(places.size());
    // The place holding the focus: the focus widget, or the nearest of its
    // containers that is one (a combo box's edit part, a page control's tabs).
    int at = -1;
    for (QWidget* f = QApplication::focusWidget(); f && at < 0; f = f->parentWidget()) {
        const auto it = std::find(places.begin(), places.end(), f);
        if (it != places.end()) at = static_cast<int>(it - places.begin());
    }
    for (int step = 1; step <= n; ++step) {
        const int i = at < 0 ? (next ? step - 1 : n - step) : ((at + (next ? step : -step)) % n + n) % n;
        QWidget* w = places[static_cast<std::size_t>(i)];
        if (isStop(w) && w->isEnabled() && w->isVisible()) {
            w->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------------------
// Lists that show assistive technology the rows in view only

namespace {

constexpr const char* kShownRowsOnly = "tarvolinShownRowsOnly";

// One row of such a list, read from the view's model each time it is asked.
class ListRowAccessible final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    ListRowAccessible(QAbstractItemView* view, int row) : view_(view), row_(row) {}

    const QAbstractItemView* view() const { return view_; }
    int row() const { return row_; }

    bool isValid() const override { return view_ && view_->model() && row_ < rowsOf(view_); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return view_ ? view_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return view_ ? QAccessible::queryAccessibleInterface(view_.data()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    void setText(QAccessible::Text, const QString&) override {}

    // The row as the list means it to be read; its place in the whole list
    // as its description ("7 of 20").
    QString text(QAccessible::Text t) const override {
        if (!isValid()) return {};
        if (t == QAccessible::Name) {
            const QString spoken = index().data(Qt::AccessibleTextRole).toString();
            return spoken.isEmpty() ? index().data(Qt::DisplayRole).toString() : spoken;
        }
        if (t == QAccessible::Description)
            return QStringLiteral("%1 από %2 - %1 of %2").arg(row_ + 1).arg(rowsOf(view_));
        return {};
    }
    QRect rect() const override {
        if (!isValid()) return {};
        const QRect r = view_->visualRect(index());
        return QRect(view_->viewport()->mapToGlobal(r.topLeft()), r.size());
    }
    // Focused only where the list has the keyboard focus.
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        const QModelIndex ix = index();
        const QItemSelectionModel* sm = view_->selectionModel();
        s.selectable = true;
        s.focusable = true;
        s.multiSelectable = view_->selectionMode() == QAbstractItemView::MultiSelection;
        s.extSelectable = view_->selectionMode() == QAbstractItemView::ExtendedSelection;
        s.selected = sm && sm->isSelected(ix);
        s.focused = sm && view_->hasFocus() && sm->currentIndex() == ix;
        s.invisible = !view_->isVisible() || !view_->viewport()->rect().intersects(view_->visualRect(ix));
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        return t == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }

    // Toggle selects the row or takes it out of the selection; the list's
    // binder then makes it the model's choice.
    QStringList actionNames() const override { return {toggleAction()}; }
    void doAction(const QString& name) override {
        if (name != toggleAction() || !isValid() || !view_->selectionModel()) return;
        QItemSelectionModel* sm = view_->selectionModel();
        const QModelIndex ix = index();
        if (sm->isSelected(ix)) {
            sm->select(ix, QItemSelectionModel::Deselect);
        } else if (view_->selectionMode() != QAbstractItemView::NoSelection) {
            const bool alone = view_->selectionMode() == QAbstractItemView::SingleSelection;
            sm->select(ix, alone ? QItemSelectionModel::ClearAndSelect : QItemSelectionModel::Select);
        }
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    static int rowsOf(const QAbstractItemView* v) { return v->model() ? v->model()->rowCount(v->rootIndex()) : 0; }

private:
    QModelIndex index() const { return view_->model()->index(row_, 0, view_->rootIndex()); }

    QPointer<QAbstractItemView> view_;
    int row_;
};

// The list: its children are the rows in view, top to bottom.
class ShownRowsList final : public QAccessibleWidget {
public:
    explicit ShownRowsList(QAbstractItemView* view) : QAccessibleWidget(view, QAccessible::List) {}
    ~ShownRowsList() override {
        for (QAccessible::Id id : std::as_const(rows_)) QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return shown().second; }
    QAccessibleInterface* child(int i) const override {
        const auto [first, count] = shown();
        return i >= 0 && i < count ? rowInterface(first + i) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* c) const override {
        const auto* row = dynamic_cast<const ListRowAccessible*>(c);
        if (!row || row->view() != view()) return -1;
        const auto [first, count] = shown();
        const int i = row->row() - first;
        return i >= 0 && i < count ? i : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const QModelIndex ix = view()->indexAt(view()->viewport()->mapFromGlobal(QPoint(x, y)));
        return ix.isValid() ? rowInterface(ix.row()) : nullptr;
    }

    // The interface of a row, made the first time it is asked for.
    QAccessibleInterface* rowInterface(int row) const {
        if (auto it = rows_.constFind(row); it != rows_.constEnd())
            if (QAccessibleInterface* made = QAccessible::accessibleInterface(*it)) return made;
        auto* made = new ListRowAccessible(view(), row);
        rows_.insert(row, QAccessible::registerAccessibleInterface(made));
        return made;
    }

private:
    QAbstractItemView* view() const { return static_cast<QAbstractItemView*>(widget()); }
    // The first row in view and the number of rows in view (at least the
    // one at the top while the list has rows).
    std::pair<int, int> shown() const {
        const int n = ListRowAccessible::rowsOf(view());
        if (n == 0) return {0, 0};
        const QModelIndex top = view()->indexAt(QPoint(1, 1));
        const int first = top.isValid() ? top.row() : 0;
        const int rowHeight = std::max(1, view()->sizeHintForRow(first));
        const int fit = std::max(1, (view()->viewport()->height() + rowHeight - 1) / rowHeight);
        return {first, std::min(n - first, fit)};
    }

    mutable QHash<int, QAccessible::Id> rows_;
};

}  // namespace

void markShownRowsOnly(QAbstractItemView* view) {
    view->setProperty(kShownRowsOnly, true);
    // An interface made before (the view's usual one) gives way to this.
    QAccessibleInterface* made = QAccessible::queryAccessibleInterface(view);
    if (made && !dynamic_cast<ShownRowsList*>(made))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

bool shownRowsOnly(const QAbstractItemView* view) { return view->property(kShownRowsOnly).toBool(); }

QAccessibleInterface* shownRowsAccessible(QWidget* widget) {
    auto* view = qobject_cast<QAbstractItemView*>(widget);
    return view && shownRowsOnly(view) ? new ShownRowsList(view) : nullptr;
}

void tellFocusedRow(QAbstractItemView* view, int row) {
    auto* list = dynamic_cast<ShownRowsList*>(QAccessible::queryAccessibleInterface(view));
    if (!list || row < 0) return;
    QAccessibleEvent event(list->rowInterface(row), QAccessible::Focus);
    QAccessible::updateAccessibility(&event);
}

}  // namespace tarvolin
