// OptionButton: a radio button of a group the model keeps exclusive.
#include "gui/binder_support.h"

#include <QRadioButton>

#include "toolkit/controls.h"

namespace tarvolin {

namespace {

class OptionBinder final : public Binder {
public:
    OptionBinder(OptionButton& o, QRadioButton* w) : Binder(o, w), o_(o), w_(w) {
        // The model keeps its group exclusive.
        w->setAutoExclusive(false);
        // Only the model turns a button off (by turning another on): a
        // button turned off from the window is shown on again.
        connect(w, &QRadioButton::toggled, this, [this](bool on) {
            if (updating_) return;
            if (on && !o_.Value()) o_.userClick();
            sync(Property::Value);
        });
    }
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

protected:
    QString caption() const override { return q(o_.Caption()); }

private:
    OptionButton& o_;
    QRadioButton* w_;
};

}  // namespace

std::unique_ptr<Binder> bindOption(OptionButton& o, QWidget* parent) {
    return std::make_unique<OptionBinder>(o, new QRadioButton(parent));
}

}  // namespace tarvolin
