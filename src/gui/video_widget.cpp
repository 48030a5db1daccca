#include "gui/video_widget.h"

#include <QHBoxLayout>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QPointer>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdint>
#include <cstring>
#include <string>
#include <utility>

#include <mpv/client.h>
#include <mpv/render.h>
#include <mpv/render_gl.h>

#include "forms/design.h"
#include "gui/accessibility.h"
#include "gui/pictures.h"
#include "platform/mpv/mpv_engine.h"
#include "platform/player.h"

namespace tarvolin {

namespace {
void* getProcAddress(void*, const char* name) {
    QOpenGLContext* ctx = QOpenGLContext::currentContext();
    return ctx ? reinterpret_cast<void*>(ctx->getProcAddress(name)) : nullptr;
}
}  // namespace

// ---------------------------------------------------------------------------

MpvPicture::MpvPicture(Player& player, QWidget* owner)
    : QOpenGLWindow(QOpenGLWindow::NoPartialUpdate), player_(player), owner_(owner) {}

MpvPicture::~MpvPicture() { release(); }

void MpvPicture::release() {
    if (released_) return;
    released_ = true;
    disconnect(contextGone_);
    freeContext();
}

void MpvPicture::freeContext() {
    if (!ctx_) return;
    // The file playing keeps its video, on no output until a context exists
    // again.
    Engine* engine = player_.engine();
    if (engine && engine->nativeHandle() == handle_)
        if (auto* mpv = dynamic_cast<MpvEngine*>(engine)) mpv->pictureDetaching();
    makeCurrent();
    mpv_render_context_set_update_callback(ctx_, nullptr, nullptr);
    mpv_render_context_free(ctx_);
    ctx_ = nullptr;
    handle_ = nullptr;
    doneCurrent();
}

void MpvPicture::initializeGL() {
    // The GL context goes with the picture's window: free the render
    // context before that.
    contextGone_ = connect(context(), &QOpenGLContext::aboutToBeDestroyed, this,
                           [this] { freeContext(); }, Qt::DirectConnection);
    createContext();
}

void MpvPicture::createContext() {
    if (released_ || ctx_) return;
    Engine* engine = player_.engine();
    auto* handle = engine ? static_cast<mpv_handle*>(engine->nativeHandle()) : nullptr;
    if (!handle) return;
    mpv_opengl_init_params gl{};
    gl.get_proc_address = &getProcAddress;
    gl.get_proc_address_ctx = nullptr;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_OPENGL)},
        {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &gl},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    if (mpv_render_context_create(&ctx_, handle, params) < 0) {
        ctx_ = nullptr;
        return;
    }
    handle_ = handle;
    mpv_render_context_set_update_callback(ctx_, &MpvPicture::onUpdate, this);
    // A file loaded before this moment (the widget not yet shown, or its
    // window made anew) has no picture here yet: hand it over.
    if (auto* mpv = dynamic_cast<MpvEngine*>(engine)) mpv->pictureAttached();
}

bool MpvPicture::hasVideo() const {
    int configured = 0;
    return ctx_ && mpv_get_property(handle_, "vo-configured", MPV_FORMAT_FLAG, &configured) >= 0 && configured;
}

void MpvPicture::refreshIfStale() {
    if (showsFrame_ && !hasVideo()) update();
}

void MpvPicture::onUpdate(void* self) {
    // libmpv's thread: only queue a repaint on the widget's thread.
    auto* w = static_cast<MpvPicture*>(self);
    QMetaObject::invokeMethod(w, [w] {
        if (w->ctx_ && (mpv_render_context_update(w->ctx_) & MPV_RENDER_UPDATE_FRAME)) w->frameReady();
    }, Qt::QueuedConnection);
}

namespace {

// Each repaint of a picture composes its whole window again, which in
// software takes the program's thread for a while. The pictures of a window
// that show fewer frames (a frame interval) therefore repaint together: the
// first new frame starts the interval, and at its end every picture with a
// new frame draws it, in one repaint of the window.
class FrameBatch final : public QObject {
public:
    static void add(MpvPicture* picture, int intervalMs) {
        QWidget* window = picture->owner()->window();
        auto* batch = static_cast<FrameBatch*>(window->findChild<QObject*>(kName, Qt::FindDirectChildrenOnly));
        if (!batch) batch = new FrameBatch(window);
        if (!batch->due_.contains(picture)) batch->due_.push_back(picture);
        if (!batch->timer_.isActive()) batch->timer_.start(intervalMs);
    }

private:
    static constexpr const char* kName = "tarvolin_frame_batch";

    explicit FrameBatch(QWidget* window) : QObject(window) {
        setObjectName(kName);
        timer_.setSingleShot(true);
        connect(&timer_, &QTimer::timeout, this, [this] {
            for (const QPointer<MpvPicture>& p : std::exchange(due_, {}))
                if (p) p->update();
        });
    }

    QTimer timer_;
    QList<QPointer<MpvPicture>> due_;
};

}  // namespace

void MpvPicture::frameReady() {
    if (frameIntervalMs_ > 0) FrameBatch::add(this, frameIntervalMs_);
    else update();
}

void MpvPicture::paintGL() {
    if (!ctx_) createContext();
    // Without video (none yet, or the file was let go) the picture is black:
    // libmpv would draw the last frame it had again.
    if (!hasVideo()) {
        showsFrame_ = false;
        QOpenGLFunctions* f = QOpenGLContext::currentContext()->functions();
        f->glClearColor(0, 0, 0, 1);
        f->glClear(GL_COLOR_BUFFER_BIT);
        return;
    }
    const qreal dpr = devicePixelRatio();
    mpv_opengl_fbo fbo{};
    fbo.fbo = static_cast<int>(defaultFramebufferObject());
    fbo.w = static_cast<int>(width() * dpr);
    fbo.h = static_cast<int>(height() * dpr);
    int flip = 1;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
        {MPV_RENDER_PARAM_FLIP_Y, &flip},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    if (mpv_render_context_render(ctx_, params) >= 0) {
        ++frames_;
        showsFrame_ = true;
    }
}

// ---------------------------------------------------------------------------

VideoWidget::VideoWidget(Player& player, QWidget* parent)
    : QWidget(parent), player_(player) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    black_ = new QWidget(this);
    black_->setAutoFillBackground(true);
    QPalette pal = black_->palette();
    pal.setColor(QPalette::Window, Qt::black);
    black_->setPalette(pal);
    black_->setMinimumSize(16, 16);
    layout->addWidget(black_, 1);

    bar_ = new QWidget(this);
    bar_->setObjectName(QString::fromStdString(player.objectName()) + "_bar");
    auto* h = new QHBoxLayout(bar_);
    h->setContentsMargins(2, 1, 2, 1);
    playPause_ = new QPushButton(bar_);
    playPause_->setObjectName(bar_->objectName() + "_play");
    playPause_->setAccessibleName(QString::fromUtf8(design::kPlayPauseName));
    setAccessibleId(playPause_, playPause_->objectName());
    playPause_->setFlat(true);
    playPause_->setFixedSize(22, 20);
    position_ = new QSlider(Qt::Horizontal, bar_);
    position_->setObjectName(bar_->objectName() + "_position");
    position_->setAccessibleName(QString::fromUtf8(design::kPositionName));
    setAccessibleId(position_, position_->objectName());
    position_->setRange(0, 0);
    h->addWidget(playPause_);
    h->addWidget(position_, 1);
    layout->addWidget(bar_);

    connect(playPause_, &QPushButton::clicked, this, [this] {
        if (player_.playState() == playstate::Playing) player_.controls.pause();
        else player_.controls.play();
        refreshPosition();
    });
    connect(position_, &QSlider::sliderPressed, this, [this] { userDragging_ = true; });
    connect(position_, &QSlider::sliderReleased, this, [this] {
        userDragging_ = false;
        player_.controls.setCurrentPosition(position_->value());
    });
    connect(position_, &QSlider::actionTriggered, this, [this](int action) {
        if (action == QAbstractSlider::SliderMove) return;
        QTimer::singleShot(0, this, [this] {
            if (!userDragging_) player_.controls.setCurrentPosition(position_->sliderPosition());
        });
    });

    poll_ = new QTimer(this);
    poll_->setInterval(500);
    connect(poll_, &QTimer::timeout, this, [this] {
        refreshPosition();
        followFilm();
        // libmpv says nothing when its video goes (the file ended, was let
        // go or has no picture): a frame left standing is cleared here.
        if (picture_) picture_->refreshIfStale();
        // An engine that makes its mpv handle only with its first file has
        // one now: the next paint sets the picture up on it.
        if (picture_ && !picture_->rendering() && picture_->isExposed() && player_.engine() &&
            player_.engine()->nativeHandle())
            picture_->update();
    });
    poll_->start();

    listenId_ = player_.changed.listen([this](Property what) {
        if (what == Property::UiMode || what == Property::Enabled || what == Property::Visible) syncFromModel();
        if (what == Property::URL || what == Property::PlayState) followFilm();
        if (what == Property::URL && picture_) picture_->refreshIfStale();
    });
    syncFromModel();
}

VideoWidget::~VideoWidget() {
    player_.changed.unlisten(listenId_);
    release();
}

void VideoWidget::release() {
    released_ = true;
    if (picture_) picture_->release();
}

void VideoWidget::setFrameInterval(int ms) {
    frameIntervalMs_ = ms;
    if (picture_) picture_->setFrameInterval(ms);
}

void VideoWidget::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    followFilm();
}

bool VideoWidget::playerHasFilm() const {
    Engine* engine = player_.engine();
    auto* mpv = dynamic_cast<MpvEngine*>(engine);
    if (player_.URL().empty() || !mpv || !mpv->drawsPictures() || !mpv->nativeHandle()) return false;
    auto* handle = static_cast<mpv_handle*>(mpv->nativeHandle());
    // The file's tracks, whichever is chosen at the moment (the engine
    // chooses the video track again to move the picture). A song's cover is
    // a video track too, but no film: a song plays without the picture.
    std::int64_t count = 0;
    mpv_get_property(handle, "track-list/count", MPV_FORMAT_INT64, &count);
    for (std::int64_t i = 0; i < count; ++i) {
        const std::string track = "track-list/" + std::to_string(i) + "/";
        char* type = mpv_get_property_string(handle, (track + "type").c_str());
        const bool video = type && std::strcmp(type, "video") == 0;
        mpv_free(type);
        int cover = 0;
        if (video && mpv_get_property(handle, (track + "albumart").c_str(), MPV_FORMAT_FLAG, &cover) >= 0 && !cover)
            return true;
    }
    return false;
}

void VideoWidget::followFilm() {
    if (released_) return;
    auto* layout = static_cast<QVBoxLayout*>(this->layout());
    const bool film = playerHasFilm();
    if (film && !picture_ && isVisible() && openGLAvailable()) {
        picture_ = new MpvPicture(player_, this);
        picture_->setFrameInterval(frameIntervalMs_);
        // The container owns the picture's window.
        container_ = QWidget::createWindowContainer(picture_, this);
        container_->setMinimumSize(16, 16);
        delete layout->replaceWidget(black_, container_);
        black_->hide();
        container_->show();
    } else if (!film && picture_) {
        picture_->release();
        picture_ = nullptr;
        QWidget* gone = std::exchange(container_, nullptr);
        delete layout->replaceWidget(gone, black_);
        black_->show();
        // Nothing of the picture's own calls here: it can go at once.
        delete gone;
    }
}

bool VideoWidget::openGLAvailable() {
    static const bool available = [] {
        QOpenGLContext probe;
        return probe.create();
    }();
    return available;
}

void VideoWidget::syncFromModel() {
    bar_->setVisible(player_.uiMode() != "none");
    bar_->setEnabled(player_.enabled());
    refreshPosition();
}

void VideoWidget::leaveTabRound() {
    playPause_->setFocusPolicy(Qt::ClickFocus);
    position_->setFocusPolicy(Qt::ClickFocus);
}

void VideoWidget::refreshPosition() {
    if (!bar_->isVisible()) return;
    // Set only on a change: a new icon repaints the button. The program's
    // own shapes, in the text colour of the bar they sit on.
    const int playing = player_.playState() == playstate::Playing ? 1 : 0;
    const QColor ink = bar_->palette().color(QPalette::WindowText);
    if (playing != barPlaying_ || ink.rgba() != barInk_) {
        barPlaying_ = playing;
        barInk_ = ink.rgba();
        playPause_->setIcon(pictureIcon(playing ? "pause" : "play", ink));
        playPause_->setToolTip(playing ? "Παύση - Pause" : "Αναπαραγωγή - Play");
    }
    if (userDragging_) return;
    const int dur = static_cast<int>(player_.currentMedia.duration());
    const int pos = static_cast<int>(player_.controls.currentPosition());
    QSignalBlocker block(position_);
    position_->setRange(0, std::max(dur, 0));
    position_->setValue(std::clamp(pos, 0, std::max(dur, 0)));
}

}  // namespace tarvolin
