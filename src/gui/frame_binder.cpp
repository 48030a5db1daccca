// Frame: a group box with its title.
#include "gui/binder_support.h"

#include <QGroupBox>
#include <QPainter>
#include <QStyle>

#include "toolkit/controls.h"

namespace tarvolin {

namespace {

// The frame's line runs through the middle of its title, which stands on
// the line near its left end: the windows place a frame's controls from
// just below that line. (The style's own group box draws the line below the
// whole title, where the top row of the frame's controls stands on it.)
class FrameBox final : public QGroupBox {
public:
    using QGroupBox::QGroupBox;
    // The top of the frame's line, in the frame's coordinates.
    int lineTop() const { return title().isEmpty() ? 0 : fontMetrics().height() / 2; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        if (!isFlat()) {
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(palette().color(QPalette::Mid));
            p.drawRoundedRect(QRectF(rect().adjusted(0, lineTop(), -1, -1)).translated(0.5, 0.5), 2, 2);
        }
        if (title().isEmpty()) return;
        const QRect text(kTitleLeft, 0, fontMetrics().horizontalAdvance(title()) + 2 * kTitlePad,
                         fontMetrics().height());
        p.fillRect(text, palette().brush(backgroundRole()));
        style()->drawItemText(&p, text, Qt::AlignCenter | Qt::TextShowMnemonic, palette(), isEnabled(), title(),
                              QPalette::WindowText);
    }

private:
    static constexpr int kTitleLeft = 6, kTitlePad = 2;
};

class FrameBinder final : public Binder {
public:
    FrameBinder(Frame& f, QGroupBox* w) : Binder(f, w), f_(f), w_(w) { w->installEventFilter(this); }
    void syncAll() override {
        Binder::syncAll();
        sync(Property::Caption);
        sync(Property::BorderStyle);
    }
    void sync(Property what) override {
        if (what == Property::Caption) w_->setTitle(q(f_.Caption()));
        else if (what == Property::BorderStyle) w_->setFlat(f_.BorderStyle() == 0);
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
    return std::make_unique<FrameBinder>(f, new FrameBox(parent));
}

}  // namespace tarvolin
