// Slider: a horizontal slider with ticks below.
#include "gui/binder_support.h"

#include <QSlider>
#include <algorithm>

#include "toolkit/controls.h"

namespace tarvolin {

namespace {

class SliderBinder final : public Binder {
public:
    SliderBinder(Slider& s, QSlider* w) : Binder(s, w), s_(s), w_(w) {
        w->setTickPosition(QSlider::TicksBelow);
        connect(w, &QSlider::valueChanged, this, [this](int v) {
            if (!updating_) s_.userScroll(v);
        });
    }
    void syncAll() override {
        Binder::syncAll();
        sync(Property::Value);
    }
    void sync(Property what) override {
        if (what == Property::Value || what == Property::Range || what == Property::Steps ||
            what == Property::TickFrequency) {
            updating_ = true;
            w_->setRange(s_.Min(), s_.Max());
            w_->setSingleStep(s_.SmallChange());
            w_->setPageStep(s_.LargeChange());
            w_->setTickInterval(std::max(1, s_.TickFrequency()));
            if (!w_->isSliderDown()) w_->setValue(s_.Value());
            updating_ = false;
        } else {
            Binder::sync(what);
        }
    }

private:
    Slider& s_;
    QSlider* w_;
};

}  // namespace

std::unique_ptr<Binder> bindSlider(Slider& s, QWidget* parent) {
    return std::make_unique<SliderBinder>(s, new QSlider(Qt::Horizontal, parent));
}

}  // namespace tarvolin
