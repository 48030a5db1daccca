// Shape: a filled rectangle with its border.
#include "gui/binder_support.h"

#include <QPainter>

#include "toolkit/controls.h"

namespace tarvolin {

namespace {

class ShapeView final : public QWidget {
public:
    explicit ShapeView(QWidget* parent) : QWidget(parent) {}
    QColor fill, border;
    int borderWidth = 1;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        if (fill.isValid()) p.fillRect(rect(), fill);
        if (border.isValid() && borderWidth > 0) {
            p.setPen(QPen(border, borderWidth));
            p.setBrush(Qt::NoBrush);
            p.drawRect(rect().adjusted(0, 0, -1, -1));
        }
    }
};

class ShapeBinder final : public Binder {
public:
    ShapeBinder(Shape& s, ShapeView* w) : Binder(s, w), s_(s), w_(w) {}
    void syncAll() override {
        Binder::syncAll();
        sync(Property::FillColor);
    }
    void sync(Property what) override {
        if (what == Property::FillColor || what == Property::FillStyle || what == Property::BorderColor || what == Property::BorderWidth ||
            what == Property::BackColor || what == Property::Shape) {
            // FillStyle 0 is solid; 1 transparent.
            w_->fill = s_.FillStyle() == 0 ? modelColour(s_.FillColor(), false) : QColor();
            w_->border = modelColour(s_.BorderColor(), false);
            w_->borderWidth = s_.BorderWidth();
            w_->update();
        } else {
            Binder::sync(what);
        }
    }

private:
    Shape& s_;
    ShapeView* w_;
};

}  // namespace

std::unique_ptr<Binder> bindShape(Shape& s, QWidget* parent) {
    return std::make_unique<ShapeBinder>(s, new ShapeView(parent));
}

}  // namespace tarvolin
