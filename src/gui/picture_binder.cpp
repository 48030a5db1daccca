// PictureBox and Image: a picture, what the program painted on it, clicks.
#include "gui/binder_support.h"

#include <QPainter>
#include <cmath>
#include <utility>
#include <vector>

#include "gui/pictures.h"
#include "toolkit/controls.h"

namespace tarvolin {

namespace {

class PictureView final : public BoundPicture {
public:
    explicit PictureView(QWidget* parent) : BoundPicture(parent) {}
    PictureSizes base;
    std::vector<std::pair<PictureSizes, QRect>> paintings;
    bool stretch = true;
    QColor background;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        // Each picture at the size drawn for the screen's pixels and the
        // window's zoom; between the two sizes (150 %, or a shrunk window)
        // the larger one is scaled down smoothly.
        const double z = zoomOf(this);
        const qreal ratio = p.device()->devicePixelRatioF() * z;
        p.setRenderHint(QPainter::SmoothPixmapTransform, ratio != std::floor(ratio));
        if (background.isValid()) p.fillRect(rect(), background);
        const QPixmap& pm = base.at(ratio);
        if (stretch && !pm.isNull()) p.drawPixmap(rect(), pm);
        // The picture at its own size and what was painted on it, in the
        // design's pixels, drawn at the window's zoom.
        p.scale(z, z);
        if (!stretch && !pm.isNull()) p.drawPixmap(0, 0, pm);
        for (auto& [sizes, r] : paintings) p.drawPixmap(r, sizes.at(ratio));
    }
};

class PictureBinder final : public Binder {
public:
    PictureBinder(Control& c, PictureView* w) : Binder(c, w), w_(w) {
        box_ = dynamic_cast<PictureBox*>(&c);
        image_ = dynamic_cast<Image*>(&c);
        w->installEventFilter(this);
    }
    void syncAll() override {
        Binder::syncAll();
        sync(Property::Picture);
        sync(Property::Paint);
        sync(Property::BackColor);
    }
    void sync(Property what) override {
        if (what == Property::Picture || what == Property::Stretch) {
            w_->base = pictureSizes(box_ ? box_->Picture() : image_->Picture());
            // A picture box shows its picture at its own size from the top
            // left corner; an image fits it to its frame when Stretch is on.
            w_->stretch = image_ && image_->Stretch();
            w_->update();
            Q_EMIT w_->pictureChanged();
        } else if (what == Property::Paint && box_) {
            w_->paintings.clear();
            for (auto& pnt : box_->paintings()) {
                PictureSizes sizes = pictureSizes(pnt.picture);
                if (!sizes.one.isNull()) w_->paintings.emplace_back(std::move(sizes), QRect(pnt.x, pnt.y, pnt.width, pnt.height));
            }
            w_->update();
        } else if (what == Property::BackColor && box_) {
            w_->background = modelColour(box_->BackColor(), true);
            w_->update();
        } else if (what == Property::BorderStyle) {
        } else {
            Binder::sync(what);
            if (what == Property::Geometry) Q_EMIT w_->pictureChanged();
        }
    }

    bool pressable() const override { return box_ ? box_->Click.connected() : image_->Click.connected(); }

protected:
    void clicked() override {
        if (box_) box_->Click.raise();
        else image_->Click.raise();
    }
    void doubleClicked() override {
        if (box_) box_->DblClick.raise();
        else image_->DblClick.raise();
    }

private:
    PictureView* w_;
    PictureBox* box_ = nullptr;
    Image* image_ = nullptr;
};

}  // namespace

std::unique_ptr<Binder> bindPicture(Control& c, QWidget* parent) {
    return std::make_unique<PictureBinder>(c, new PictureView(parent));
}

}  // namespace tarvolin
