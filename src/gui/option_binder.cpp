// OptionButton: a radio button of a group the model keeps exclusive.
#include "gui/binder_support.h"

#include <QKeyEvent>

#include <algorithm>
#include <vector>

#include "toolkit/controls.h"

namespace tarvolin {

namespace {

class OptionBinder final : public Binder {
public:
    OptionBinder(OptionButton& o, BoundOption* w) : Binder(o, w), o_(o), w_(w) {
        // The model keeps its group exclusive: Qt's own exclusivity groups
        // the buttons by their parent widget, the model by its group key.
        w->setAutoExclusive(false);
        w->installEventFilter(this);
        all().push_back(this);
        // Only the model turns a button off (by turning another on): a
        // button turned off from the window is shown on again.
        connect(w, &QRadioButton::toggled, this, [this](bool on) {
            if (updating_) return;
            if (on && !o_.Value()) o_.userClick();
            sync(Property::Value);
        });
    }
    ~OptionBinder() override { all().erase(std::find(all().begin(), all().end(), this)); }
    void syncAll() override {
        Binder::syncAll();
        sync(Property::Caption);
        sync(Property::Value);
    }
    void sync(Property what) override {
        if (what == Property::Caption) w_->setText(q(o_.Caption()));
        else if (what == Property::Value) {
            const Updating own(updating_);
            w_->setChecked(o_.Value());
        } else Binder::sync(what);
    }

    // The Tab key stops at the chosen button of a group, or at its first
    // where none is chosen; the arrow keys go among the others.
    bool tabStop() const override {
        if (!Binder::tabStop()) return false;
        const std::vector<OptionBinder*> group = reachableGroup();
        const bool chosen = std::any_of(group.begin(), group.end(), [](auto* b) { return b->o_.Value(); });
        return chosen ? o_.Value() : (group.empty() || group.front() == this);
    }

protected:
    QString caption() const override { return q(o_.Caption()); }

    // An arrow key moves to the next (Down, Right) or previous (Up, Left)
    // button of the group in the order drawn, round at the ends, and
    // chooses it.
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            const bool next = key == Qt::Key_Down || key == Qt::Key_Right;
            if (next || key == Qt::Key_Up || key == Qt::Key_Left) {
                const std::vector<OptionBinder*> group = reachableGroup();
                const auto at = std::find(group.begin(), group.end(), this);
                if (group.size() < 2 || at == group.end()) return true;
                const auto n = static_cast<std::ptrdiff_t>(group.size());
                const std::ptrdiff_t i = ((at - group.begin()) + (next ? 1 : -1) + n) % n;
                OptionBinder* to = group[static_cast<std::size_t>(i)];
                to->w_->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
                if (!to->o_.Value()) to->w_->click();
                return true;
            }
        }
        return Binder::eventFilter(watched, event);
    }

private:
    // The shown and enabled buttons of this one's group in its window, in
    // the order drawn: top to bottom, then left to right.
    std::vector<OptionBinder*> reachableGroup() const {
        std::vector<OptionBinder*> group;
        if (!widget_) return group;
        QWidget* window = widget_->window();
        for (OptionBinder* b : all()) {
            QWidget* w = b->widget_;
            if (w && w->window() == window && b->o_.parentForm() == o_.parentForm() &&
                b->o_.groupKey() == o_.groupKey() && w->isVisibleTo(window) && w->isEnabled())
                group.push_back(b);
        }
        const auto at = [window](const OptionBinder* b) { return b->widget_->mapTo(window, QPoint(0, 0)); };
        std::sort(group.begin(), group.end(), [&](auto* a, auto* b) {
            const QPoint pa = at(a), pb = at(b);
            return pa.y() != pb.y() ? pa.y() < pb.y() : pa.x() < pb.x();
        });
        return group;
    }

    // Every option button's binder, of every window.
    static std::vector<OptionBinder*>& all() {
        static std::vector<OptionBinder*> binders;
        return binders;
    }

    OptionButton& o_;
    BoundOption* w_;
};

}  // namespace

std::unique_ptr<Binder> bindOption(OptionButton& o, QWidget* parent) {
    return std::make_unique<OptionBinder>(o, new BoundOption(parent));
}

}  // namespace tarvolin
