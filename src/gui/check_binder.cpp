// CheckBox: a check box whose state the model decides.
#include "gui/binder_support.h"

#include <QCheckBox>

#include "toolkit/controls.h"

namespace tarvolin {

namespace {

class CheckBinder final : public Binder {
public:
    CheckBinder(CheckBox& c, QCheckBox* w) : Binder(c, w), c_(c), w_(w) {
        w->setTristate(false);
        // However the box was toggled (a click, the keyboard, assistive
        // technology, setChecked), the model decides and the box shows what
        // it decided.
        connect(w, &QCheckBox::toggled, this, [this](bool on) {
            if (updating_) return;
            if ((c_.Value() == 1) != on) c_.userClick();
            sync(Property::Value);
        });
    }
    void syncAll() override {
        Binder::syncAll();
        sync(Property::Caption);
        sync(Property::Value);
        sync(Property::BackColor);
    }
    void sync(Property what) override {
        if (what == Property::Caption) w_->setText(q(c_.Caption()));
        else if (what == Property::Value) {
            const Updating own(updating_);
            w_->setCheckState(c_.Value() == 1 ? Qt::Checked : c_.Value() == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
        } else if (what == Property::BackColor) {
            const QColor c = modelColour(c_.BackColor(), true);
            w_->setAutoFillBackground(c.isValid());
            setPaletteColour(w_, QPalette::Window, c);
        } else Binder::sync(what);
    }

protected:
    QString caption() const override { return q(c_.Caption()); }

private:
    CheckBox& c_;
    QCheckBox* w_;
};

}  // namespace

std::unique_ptr<Binder> bindCheck(CheckBox& c, QWidget* parent) {
    return std::make_unique<CheckBinder>(c, new QCheckBox(parent));
}

}  // namespace tarvolin
