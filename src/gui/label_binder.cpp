// Label: its caption or picture, colours, frame and clicks.
#include "gui/binder_support.h"

#include <QApplication>
#include <QAccessible>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QSet>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <algorithm>

#include "gui/accessibility.h"
#include "gui/pictures.h"
#include "toolkit/controls.h"

namespace tarvolin {

namespace {

// The mean colour of what a widget draws over the part `r` of it; invalid
// where it draws nothing.
QColor meanColour(QWidget* w, const QRect& r) {
    const QImage img = w->grab(r).toImage().convertToFormat(QImage::Format_ARGB32);
    double red = 0, green = 0, blue = 0, weight = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = img.pixel(x, y);
            const double a = qAlpha(c);
            red += qRed(c) * a, green += qGreen(c) * a, blue += qBlue(c) * a, weight += a;
        }
    if (weight < 255.0 * img.width() * img.height() / 2) return {};
    return QColor(static_cast<int>(red / weight), static_cast<int>(green / weight), static_cast<int>(blue / weight));
}

// The picture of the label's window that lies under most of it, if any.
BoundPicture* pictureUnder(const QWidget* w) {
    BoundPicture* under = nullptr;
    if (!w->parentWidget()) return under;
    int most = 0;
    for (QObject* o : w->parentWidget()->children()) {
        if (o == w) break;  // the later ones are drawn over the label
        auto* picture = qobject_cast<BoundPicture*>(o);
        if (!picture || picture->isHidden()) continue;
        const QRect common = picture->geometry().intersected(w->geometry());
        if (!common.isEmpty() && common.width() * common.height() >= most) {
            most = common.width() * common.height();
            under = picture;
        }
    }
    return under;
}

// The colour a label's text is drawn over: its own background when it fills
// one; where a picture of its window lies under it, that picture's mean
// colour there; else the background of the nearest enclosing widget that
// fills one, else its window's.
QColor shownBackground(const QWidget* w) {
    if (w->autoFillBackground()) return w->palette().color(w->backgroundRole());
    if (BoundPicture* under = pictureUnder(w)) {
        const QColor c = meanColour(under, w->geometry().intersected(under->geometry()).translated(-under->pos()));
        if (c.isValid()) return c;
    }
    while (!w->autoFillBackground() && !w->isWindow() && w->parentWidget()) w = w->parentWidget();
    return w->palette().color(w->backgroundRole());
}

class LabelBinder final : public Binder {
public:
    LabelBinder(Label& l, QLabel* w) : Binder(l, w), l_(l), w_(w), describedBy_(dynamic_cast<Label*>(l.DescribedBy)) {
        w->installEventFilter(this);
        w->setAutoFillBackground(false);
        if (describedBy_) {
            describedId_ = describedBy_->changed.listen([this](Property what) {
                if (widget_ && what == Property::Caption) sync(Property::DescribedBy);
            });
        }
    }
    ~LabelBinder() override {
        if (describedBy_) describedBy_->changed.unlisten(describedId_);
    }
    void syncAll() override {
        Binder::syncAll();
        for (auto p : {Property::Caption, Property::BackColor, Property::BorderStyle, Property::Picture,
                       Property::FontBold, Property::Alignment, Property::DescribedBy})
            sync(p);
    }
    void sync(Property what) override {
        if (what == Property::DescribedBy) {
            if (describedBy_ && !accessibleIdsShown()) w_->setAccessibleDescription(q(describedBy_->Caption()));
        } else if (what == Property::Marked) {
            QAccessible::State changed;
            changed.checked = true;
            QAccessibleStateChangeEvent e(w_, changed);
            QAccessible::updateAccessibility(&e);
        } else if (what == Property::Geometry) {
            Binder::sync(what);
            // Words wrap only where the label has room for a second line;
            // a one-line label is cut at its edge instead.
            w_->setWordWrap(w_->height() >= 2 * w_->fontMetrics().height());
            sync(Property::Alignment);
            if (pictureUnder(w_)) sync(Property::ForeColor);
        } else if (what == Property::Caption) {
            // A label showing a picture keeps it; the caption stays its name.
            if (picture(l_.Picture()).isNull()) w_->setText(q(l_.Caption()));
        } else if (what == Property::BackColor || what == Property::ForeColor) {
            const QColor back = modelColour(l_.BackColor(), true);
            w_->setAutoFillBackground(back.isValid());
            setPaletteColour(w_, QPalette::Window, back);
            // The text reads on whatever the palette gives the background,
            // or on the picture under it, whichever picture it shows.
            if (BoundPicture* under = pictureUnder(w_); under && !watched_.contains(under)) {
                watched_.insert(under);
                connect(under, &BoundPicture::pictureChanged, this, [this] { sync(Property::ForeColor); });
            }
            QColor text = modelColour(l_.ForeColor(), false);
            if (!text.isValid()) text = QApplication::palette(w_).color(QPalette::WindowText);
            setPaletteColour(w_, QPalette::WindowText, legibleOn(text, shownBackground(w_)));
        } else if (what == Property::BorderStyle || what == Property::SpecialEffect || what == Property::Appearance) {
            if (l_.SpecialEffect() == 2 || (l_.BorderStyle() == 1 && l_.Appearance() == 1))
                w_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            else if (l_.BorderStyle() == 1)
                w_->setFrameStyle(QFrame::Box | QFrame::Plain);
            else
                w_->setFrameStyle(QFrame::NoFrame);
        } else if (what == Property::Picture) {
            const QPixmap pm = picture(l_.Picture(), w_->devicePixelRatioF());
            if (pm.isNull()) {
                w_->setPixmap({});
                w_->setText(q(l_.Caption()));
            } else {
                w_->setScaledContents(true);
                w_->setPixmap(pm);
            }
        } else if (what == Property::FontBold) {
            QFont f = w_->font();
            f.setBold(l_.FontBold());
            w_->setFont(f);
        } else if (what == Property::Alignment) {
            const Qt::Alignment h = l_.Alignment() == 1   ? Qt::AlignRight
                                    : l_.Alignment() == 2 ? Qt::AlignHCenter
                                                          : Qt::AlignLeft;
            // A label of one line stands level with the box beside it (the
            // windows place both on the same middle); one with room for
            // several lines starts at its top.
            w_->setAlignment(h | (w_->wordWrap() ? Qt::AlignTop : Qt::AlignVCenter));
        } else {
            Binder::sync(what);
        }
    }

    bool pressable() const override { return l_.Click.connected(); }
    int marked() const override { return l_.Markable ? l_.Marked() : -1; }

protected:
    QString caption() const override { return q(l_.Caption()); }
    void clicked() override { l_.Click.raise(); }
    void doubleClicked() override { l_.DblClick.raise(); }

private:
    Label& l_;
    QLabel* w_;
    QSet<QObject*> watched_;
    Label* describedBy_;
    int describedId_ = 0;
};

}  // namespace

void BoundLabel::paintEvent(QPaintEvent* e) {
    QLabel::paintEvent(e);
    if (!hasFocus()) return;
    QPainter p(this);
    QStyleOptionFocusRect o;
    o.initFrom(this);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &o, &p, this);
}

void BoundLabel::focusInEvent(QFocusEvent* e) {
    QLabel::focusInEvent(e);
    update();
}

void BoundLabel::focusOutEvent(QFocusEvent* e) {
    QLabel::focusOutEvent(e);
    update();
}

std::unique_ptr<Binder> bindLabel(Label& l, QWidget* parent) {
    return std::make_unique<LabelBinder>(l, new BoundLabel(parent));
}

}  // namespace tarvolin
