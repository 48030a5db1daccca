// Frame: a group box with its title.
#include "gui/binder_support.h"

#include <QGroupBox>

#include "toolkit/controls.h"

namespace tarvolin {

namespace {

class FrameBinder final : public Binder {
public:
    FrameBinder(Frame& f, QGroupBox* w) : Binder(f, w), f_(f), w_(w) { w->installEventFilter(this); }
    void syncAll() override {
        Binder::syncAll();
        sync("Caption");
        sync("BorderStyle");
    }
    void sync(std::string_view what) override {
        if (what == "Caption") w_->setTitle(q(f_.Caption()));
        else if (what == "BorderStyle") w_->setFlat(f_.BorderStyle() == 0);
        else Binder::sync(what);
    }

protected:
    QString caption() const override { return q(f_.Caption()); }
    void clicked() override { f_.Click.raise(); }

private:
    Frame& f_;
    QGroupBox* w_;
};

}  // namespace

std::unique_ptr<Binder> bindFrame(Frame& f, QWidget* parent) {
    return std::make_unique<FrameBinder>(f, new QGroupBox(parent));
}

}  // namespace tarvolin
