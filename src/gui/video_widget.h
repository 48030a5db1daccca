#pragma once
// The player control's picture: an OpenGL window that draws an mpv handle
// through libmpv's render API, embedded in the widget, with a thin control
// bar of its own under the picture (play/pause and position). The bar is
// hidden when the player's uiMode is "none"; the player's `enabled` False
// disables the bar only.
//
// The picture is a window of its own in a window container, not an OpenGL
// widget: an OpenGL widget makes Qt compose its whole top-level window
// through OpenGL at every repaint, which without a GPU driver takes the
// program's thread for a while at every frame of a film. The picture's
// window draws only itself. It exists only while the player has a film to
// show; until then, and once the film is let go, a black area stands in its
// place, and the OpenGL stack is not loaded at all before the first film.
//
// The render context lives on the picture's GL context, which exists only
// once the picture has been shown. A file loaded while there is none plays
// on without a picture, and gets it as soon as the picture shows (the engine
// moves its video over).
//
// Order of destruction: the render context must go before the widget's GL
// context and before the mpv handle. release() frees it; the destructor
// calls release(), and the view calls it for every player before the
// program (which owns the mpv handles) is destroyed.
#include <QOpenGLWindow>
#include <QWidget>

struct mpv_render_context;
struct mpv_handle;
class QPushButton;
class QSlider;
class QTimer;

namespace tarvolin {

class Player;

class MpvPicture final : public QOpenGLWindow {
    Q_OBJECT
public:
    // `owner`: the widget whose top-level window the picture shows in.
    MpvPicture(Player& player, QWidget* owner);
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
    QWidget* owner() const { return owner_; }

protected:
    void initializeGL() override;
    void paintGL() override;

private:
    static void onUpdate(void* self);
    void frameReady();
    void createContext();
    void freeContext();

    Player& player_;
    QWidget* owner_;
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

    // Frees the render context, and makes no picture any more.
    void release();
    // The picture, or null while the player shows no film, and where the
    // platform has no OpenGL (the player then plays without a picture).
    MpvPicture* picture() const { return picture_; }
    // What shows in the picture's place: its container, or the black area.
    QWidget* pictureArea() const { return container_ ? container_ : black_; }
    // The frame interval of the picture (MpvPicture::setFrameInterval),
    // also of one made later.
    void setFrameInterval(int ms);
    static bool openGLAvailable();
    QWidget* controlBar() const { return bar_; }
    // Reads uiMode and enabled from the player.
    void syncFromModel();
    // The bar's controls take the focus from a click only.
    void leaveTabRound();

protected:
    void showEvent(QShowEvent* e) override;

private:
    void refreshPosition();
    // Makes the picture when the player has a film to show and the widget
    // is on the screen; lets it go when the player has none.
    void followFilm();
    bool playerHasFilm() const;

    Player& player_;
    MpvPicture* picture_ = nullptr;
    QWidget* container_ = nullptr;  // holds picture_
    QWidget* black_;  // in the picture's place while there is none
    bool released_ = false;
    int frameIntervalMs_ = 0;
    int barPlaying_ = -1;  // what the play/pause button shows (-1: nothing yet)
    unsigned barInk_ = 0;  // and the colour it is drawn in
    QWidget* bar_;
    QPushButton* playPause_;
    QSlider* position_;
    QTimer* poll_;
    int listenId_ = 0;
    bool userDragging_ = false;
};

}  // namespace tarvolin
