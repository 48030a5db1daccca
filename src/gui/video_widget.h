#pragma once
// The player control's picture: an OpenGL widget that draws an mpv handle
// through libmpv's render API, with a thin control bar of its own under the
// picture (play/pause and position). The bar is hidden when the player's
// uiMode is "none"; the player's `enabled` False disables the bar only.
//
// The render context lives on the widget's GL context, which exists only
// once the widget has been shown and goes with the widget's window. A file
// loaded while there is none plays on without a picture, and gets it as soon
// as the widget shows (the engine moves its video over).
//
// Order of destruction: the render context must go before the widget's GL
// context and before the mpv handle. release() frees it; the destructor
// calls release(), and the view calls it for every player before the
// program (which owns the mpv handles) is destroyed.
#include <QOpenGLWidget>
#include <QWidget>

struct mpv_render_context;
struct mpv_handle;
class QPushButton;
class QSlider;
class QTimer;

namespace tarvolin {

class Player;

class MpvPicture final : public QOpenGLWidget {
    Q_OBJECT
public:
    MpvPicture(Player& player, QWidget* parent = nullptr);
    ~MpvPicture() override;

    // Frees the render context (idempotent).
    void release();
    // Draws again when a frame is shown while libmpv has no video any more
    // (the file ended or was let go): the picture is then black.
    void refreshIfStale();
    // Draws new frames only every ms, together with the window's other
    // pictures that do so (0: every frame as soon as libmpv has it). A
    // window's every repaint takes the program's thread (in software, for a
    // while): a window showing many small pictures lets them show fewer
    // frames, all in one repaint.
    void setFrameInterval(int ms) { frameIntervalMs_ = ms; }
    // Frames drawn by libmpv so far (for tests).
    int framesDrawn() const { return frames_; }
    bool rendering() const { return ctx_ != nullptr; }

protected:
    void initializeGL() override;
    void paintGL() override;

private:
    static void onUpdate(void* self);
    void frameReady();
    void createContext();
    void freeContext();

    Player& player_;
    mpv_render_context* ctx_ = nullptr;
    mpv_handle* handle_ = nullptr;
    bool hasVideo() const;

    bool released_ = false;
    bool showsFrame_ = false;  // the last paint drew a frame of libmpv's
    QMetaObject::Connection contextGone_;
    int frames_ = 0;
    int frameIntervalMs_ = 0;
};

class VideoWidget final : public QWidget {
    Q_OBJECT
public:
    VideoWidget(Player& player, QWidget* parent = nullptr);
    ~VideoWidget() override;

    void release() {
        if (picture_) picture_->release();
    }
    // The picture, or null where the platform has no OpenGL (the widget then
    // shows a black area and the player plays without a picture).
    MpvPicture* picture() const { return picture_; }
    static bool openGLAvailable();
    QWidget* controlBar() const { return bar_; }
    // Reads uiMode and enabled from the player.
    void syncFromModel();
    // The bar's controls take the focus from a click only.
    void leaveTabRound();

private:
    void refreshPosition();

    Player& player_;
    MpvPicture* picture_ = nullptr;
    QWidget* bar_;
    QPushButton* playPause_;
    QSlider* position_;
    QTimer* poll_;
    int listenId_ = 0;
    bool userDragging_ = false;
};

}  // namespace tarvolin
