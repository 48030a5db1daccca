// Label: its caption or picture, colours, frame and clicks.
#include "gui/binder_support.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

#include "gui/accessibility.h"
#include "gui/pictures.h"
#include "toolkit/controls.h"

namespace tarvolin {

namespace {

class LabelBinder final : public Binder {
public:
    LabelBinder(Label& l, QLabel* w) : Binder(l, w), l_(l), w_(w), describedBy_(dynamic_cast<Label*>(l.DescribedBy)) {
        w->installEventFilter(this);
        w->setAutoFillBackground(false);
        if (describedBy_) {
            describedId_ = describedBy_->changed.listen([this](std::string_view what) {
                if (widget_ && what == "Caption") sync("DescribedBy");
            });
        }
    }
    ~LabelBinder() override {
        if (describedBy_) describedBy_->changed.unlisten(describedId_);
    }
    void syncAll() override {
        Binder::syncAll();
        for (auto p : {"Caption", "BackColor", "ForeColor", "BorderStyle", "Picture", "FontBold", "Alignment",
                       "DescribedBy"})
            sync(p);
    }
    void sync(std::string_view what) override {
        if (what == "DescribedBy") {
            if (describedBy_ && !accessibleIdsShown()) w_->setAccessibleDescription(q(describedBy_->Caption()));
        } else if (what == "Marked") {
            QAccessible::State changed;
            changed.checked = true;
            QAccessibleStateChangeEvent e(w_, changed);
            QAccessible::updateAccessibility(&e);
        } else if (what == "Geometry") {
            Binder::sync(what);
            // Words wrap only where the label has room for a second line;
            // a one-line label is cut at its edge instead.
            w_->setWordWrap(w_->height() >= 2 * w_->fontMetrics().height());
            sync("Alignment");
        } else if (what == "Caption") {
            // A label showing a picture keeps it; the caption stays its name.
            if (picture(l_.Picture()).isNull()) w_->setText(q(l_.Caption()));
        } else if (what == "BackColor") {
            const QColor c = modelColour(l_.BackColor(), true);
            w_->setAutoFillBackground(c.isValid());
            setPaletteColour(w_, QPalette::Window, c);
        } else if (what == "ForeColor") {
            setPaletteColour(w_, QPalette::WindowText, modelColour(l_.ForeColor(), false));
        } else if (what == "BorderStyle" || what == "SpecialEffect" || what == "Appearance") {
            if (l_.SpecialEffect() == 2 || (l_.BorderStyle() == 1 && l_.Appearance() == 1))
                w_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            else if (l_.BorderStyle() == 1)
                w_->setFrameStyle(QFrame::Box | QFrame::Plain);
            else
                w_->setFrameStyle(QFrame::NoFrame);
        } else if (what == "Picture") {
            const QPixmap pm = picture(l_.Picture());
            if (pm.isNull()) {
                w_->setPixmap({});
                w_->setText(q(l_.Caption()));
            } else {
                w_->setScaledContents(true);
                w_->setPixmap(pm);
            }
        } else if (what == "FontBold") {
            QFont f = w_->font();
            f.setBold(l_.FontBold());
            w_->setFont(f);
        } else if (what == "Alignment") {
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
