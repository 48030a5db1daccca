// HScrollBar and VScrollBar: scroll bars, a stop of the Tab key each.
#include "gui/binder_support.h"

#include <QScrollBar>
#include <algorithm>

#include "toolkit/controls.h"

namespace tarvolin {

namespace {

class ScrollBinder final : public Binder {
public:
    ScrollBinder(ScrollBar& s, QScrollBar* w) : Binder(s, w), s_(s), w_(w) {
        // A scroll bar is a stop of the Tab key like the window's other
        // controls, and its keys (arrows, Page Up/Down, Home, End) move it.
        w->setFocusPolicy(Qt::StrongFocus);
        connect(w, &QScrollBar::valueChanged, this, [this](int v) {
            if (updating_) return;
            if (w_->isSliderDown()) s_.userScroll(v);
            else s_.userChange(v);
        });
        connect(w, &QScrollBar::sliderReleased, this, [this] { s_.userChange(w_->value()); });
    }
    void syncAll() override {
        Binder::syncAll();
        sync(Property::Value);
    }
    void sync(Property what) override {
        if (what == Property::Value || what == Property::Range || what == Property::Steps) {
            updating_ = true;
            const bool inverted = s_.Min() > s_.Max();
            w_->setInvertedAppearance(inverted);
            w_->setInvertedControls(inverted);
            w_->setRange(std::min(s_.Min(), s_.Max()), std::max(s_.Min(), s_.Max()));
            w_->setSingleStep(std::max(1, s_.SmallChange()));
            w_->setPageStep(std::max(1, s_.LargeChange()));
            if (!w_->isSliderDown()) w_->setValue(s_.Value());
            updating_ = false;
        } else {
            Binder::sync(what);
        }
    }

private:
    ScrollBar& s_;
    QScrollBar* w_;
};

}  // namespace

std::unique_ptr<Binder> bindScroll(ScrollBar& s, Qt::Orientation o, QWidget* parent) {
    // Set before assistive technology first asks for the bar.
    auto* w = new QScrollBar(o, parent);
    w->setProperty(kValueInPercent, s.ValueInPercent);
    return std::make_unique<ScrollBinder>(s, w);
}

}  // namespace tarvolin
