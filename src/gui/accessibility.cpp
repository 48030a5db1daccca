#include "gui/accessibility.h"

#include <QApplication>
#include <QTabWidget>
#include <QWidget>

#include <algorithm>
#include <cstdlib>
#include <cstring>
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

}  // namespace tarvolin
