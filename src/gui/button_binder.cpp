// CommandButton: a push button whose caption wraps as the original's do.
#include "gui/binder_support.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "gui/pictures.h"
#include "toolkit/controls.h"

namespace tarvolin {

namespace {

class CaptionButton final : public QPushButton {
public:
    explicit CaptionButton(QWidget* parent) : QPushButton(parent) {
        label_ = new QLabel(this);
        label_->setWordWrap(true);
        label_->setAlignment(Qt::AlignCenter);
        label_->setAttribute(Qt::WA_TransparentForMouseEvents);
        auto* lay = new QHBoxLayout(this);
        lay->setContentsMargins(3, 1, 3, 1);
        lay->addWidget(label_);
    }
    void setCaption(const QString& c) {
        label_->setText(shownCaption(c));
        label_->setVisible(!c.isEmpty());
    }
    // A caption as shown: without the access key marks.
    static QString shownCaption(QString c) { return c.remove('&'); }
    QLabel* label() const { return label_; }

private:
    QLabel* label_;
};

class ButtonBinder final : public Binder {
public:
    ButtonBinder(CommandButton& b, CaptionButton* w) : Binder(b, w), b_(b), w_(w) {
        connect(w, &QPushButton::clicked, this, [this] { b_.click(); });
        w->installEventFilter(this);
    }
    void syncAll() override {
        Binder::syncAll();
        for (auto p : {Property::Caption, Property::Picture, Property::FontBold, Property::Default}) sync(p);
    }
    void sync(Property what) override {
        if (what == Property::Caption) {
            w_->setCaption(q(b_.Caption()));
        } else if (what == Property::Picture || what == Property::Geometry) {
            if (what == Property::Geometry) Binder::sync(what);
            w_->setIcon(pictureIcon(b_.Picture(), w_->palette().color(QPalette::ButtonText)));
            const int side = std::max(8, std::min(w_->width(), w_->height()) - 8);
            w_->setIconSize(QSize(side, side));
        } else if (what == Property::FontBold) {
            QFont f = w_->label()->font();
            f.setBold(b_.FontBold());
            w_->label()->setFont(f);
        } else if (what == Property::Default) {
            w_->setDefault(b_.Default());
        } else {
            Binder::sync(what);
        }
    }

protected:
    QString caption() const override { return CaptionButton::shownCaption(q(b_.Caption())); }
    // Enter on the button that has the focus presses it, as Space does.
    bool eventFilter(QObject* watched, QEvent* event) override {
        // A new palette (the desktop's theme changed) inks the picture anew.
        if (event->type() == QEvent::PaletteChange && watched == w_) sync(Property::Picture);
        if (event->type() == QEvent::KeyPress && watched == w_ && isPressKey(static_cast<QKeyEvent*>(event), false)) {
            if (w_->isEnabled()) w_->click();
            return true;
        }
        return Binder::eventFilter(watched, event);
    }

private:
    CommandButton& b_;
    CaptionButton* w_;
};

}  // namespace

std::unique_ptr<Binder> bindButton(CommandButton& b, QWidget* parent) {
    return std::make_unique<ButtonBinder>(b, new CaptionButton(parent));
}

}  // namespace tarvolin
