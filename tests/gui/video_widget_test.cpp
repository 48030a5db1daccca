// The video widget draws libmpv's frames through the render API.
//
// Drawing needs OpenGL. Qt's offscreen platform has none, so under it the
// test runs itself again on a virtual X display (xvfb-run, Mesa's software
// renderer) and takes that run's result.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QMainWindow>
#include <QOpenGLWidget>
#include <QPushButton>
#include <QScreen>

#include <mpv/client.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <unistd.h>
#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
#include "gui/form_view.h"
#include "gui/program_views.h"
#include "gui/qt_dialogs.h"
#include "gui/qt_message_loop.h"
#include "gui/video_widget.h"
#include "gui_app.h"
#include "platform/mpv/mpv_engine.h"
#include "platform/player.h"
#include "support/fake_desktop.h"
#include "support/fake_media.h"
#include "support/fake_tray.h"
#include "support/media_fixtures.h"
#include "support/temp_dir.h"

namespace tarvolin {
namespace {

using testing::guiApp;

std::string selfPath() {
    char buf[4096];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    return n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : std::string();
}

int countLitPixels(const QImage& img) {
    int lit = 0;
    for (int y = 0; y < img.height(); y += 2)
        for (int x = 0; x < img.width(); x += 2)
            if (qGray(img.pixel(x, y)) > 40) ++lit;
    return lit;
}

// Qt's offscreen platform has no OpenGL: there the test named runs again on
// a virtual X display, and that run's outcome is this one's. True when the
// caller is done.
bool ranOnVirtualDisplay(const std::string& test) {
    if (QGuiApplication::platformName() != "offscreen") return false;
    TempDir out;
    // From "/": an earlier test's program may have left the working
    // folder in a temporary folder that is gone.
    const std::string cmd = "cd / && env QT_QPA_PLATFORM=xcb xvfb-run -a -s '-screen 0 800x600x24' '" + selfPath() +
                            "' --gtest_filter=" + test + " > '" + out.file("log") + "' 2>&1";
    const int rc = std::system(cmd.c_str());
    std::ifstream log(out.file("log"));
    const std::string text((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
    EXPECT_EQ(rc, 0) << "run on a virtual display failed:\n" << text;
    EXPECT_NE(text.find("[  PASSED  ] 1 test"), std::string::npos) << text;
    return true;
}

// What the process writes to its standard error while `run` runs.
std::string standardErrorOf(const std::function<void()>& run) {
    TempDir dir;
    std::fflush(stderr);
    const int saved = ::dup(2), fd = ::open(dir.file("err").c_str(), O_WRONLY | O_CREAT, 0600);
    ::dup2(fd, 2);
    ::close(fd);
    run();
    std::fflush(stderr);
    ::dup2(saved, 2);
    ::close(saved);
    std::ifstream in(dir.file("err"));
    return {std::istreambuf_iterator<char>(in), {}};
}

// A test picture of `seconds`, with a tone or without.
std::string makeClip(TempDir& dir, double seconds, bool tone) {
    const std::string clip = dir.file(tone ? "clip.mkv" : "silent.mkv");
    auto args = fixtures::ffmpegVideoInput(seconds, 160, 120, 25);
    if (tone) {
        const auto sine = fixtures::ffmpegSineInput(seconds);
        args.insert(args.end(), sine.begin(), sine.end());
        args.insert(args.end(), {"-c:a", "pcm_s16le"});
    }
    args.insert(args.end(), {"-c:v", "ffv1"});
    return fixtures::makeWithFfmpeg(clip, args) ? clip : std::string();
}

// Waits until the widget shows the test picture (it is colourful, never
// black) and libmpv has drawn `frames` more frames into it.
bool showsTestPicture(QtMessageLoop& loop, MpvPicture& picture, int frames = 5) {
    const int from = picture.framesDrawn();
    const auto start = loop.tickCount();
    while (loop.tickCount() - start < 15000) {
        loop.wait(100);
        if (picture.framesDrawn() - from < frames) continue;
        const QImage img = picture.grabFramebuffer();
        if (countLitPixels(img) > img.width() * img.height() / 16) return true;
    }
    return false;
}

TEST(VideoWidget, DrawsFramesOfAPlayingVideo) {
    guiApp();
    if (ranOnVirtualDisplay("VideoWidget.DrawsFramesOfAPlayingVideo")) return;

    TempDir dir;
    // Ten seconds: on a busy machine libmpv drops late frames, and a short
    // clip could end before five were drawn.
    const std::string video = makeClip(dir, 10.0, false);
    ASSERT_FALSE(video.empty());

    QtMessageLoop loop;
    MpvEngineOptions opts;
    opts.audioOutput = "null";
    opts.videoOutput = "libmpv";
    auto engine = std::make_unique<MpvEngine>(loop, opts);
    ASSERT_TRUE(engine->valid()) << engine->setupError();
    Player player;
    player.attach(std::move(engine));

    {
        QMainWindow window;
        auto* widget = new VideoWidget(player, &window);
        window.setCentralWidget(widget);
        window.resize(320, 260);
        // Setting up the picture and playing into it say nothing on
        // standard error (libmpv probed hardware decoders it does not use).
        EXPECT_EQ(standardErrorOf([&] {
                      window.show();
                      loop.wait(100);
                      player.setURL(video);
                      player.controls.play();
                      const auto start = loop.tickCount();
                      while ((!widget->picture() || widget->picture()->framesDrawn() < 5) &&
                             loop.tickCount() - start < 15000)
                          loop.wait(20);
                  }),
                  "");
        EXPECT_TRUE(widget->controlBar()->isVisible());
        ASSERT_NE(widget->picture(), nullptr);
        EXPECT_TRUE(widget->picture()->rendering());
        EXPECT_GE(widget->picture()->framesDrawn(), 5);
        // Pause on a frame and read the picture back: the test pattern is
        // colourful, never black.
        player.controls.pause();
        loop.wait(200);
        const QImage img = widget->picture()->grabFramebuffer();
        EXPECT_GT(countLitPixels(img), img.width() * img.height() / 16);

        // uiMode "none" hides the bar; `enabled` False only disables it.
        player.setUiMode("none");
        EXPECT_FALSE(widget->controlBar()->isVisible());
        player.setUiMode("full");
        player.setEnabled(false);
        EXPECT_TRUE(widget->controlBar()->isVisible());
        EXPECT_FALSE(widget->controlBar()->isEnabled());
        EXPECT_TRUE(widget->pictureArea()->isEnabled());

        // The render context goes before the mpv handle does.
        widget->release();
        EXPECT_FALSE(widget->picture()->rendering());
    }
    player.close();
}

// A player on libmpv that draws into a video widget, with clips of ten
// seconds to play: a colourful test picture with a tone, and the picture
// alone (libmpv ends a file that has nothing left to play when its video
// output goes).
class VideoPicture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(makeClip(dir_, 10.0, true), clip_);
        ASSERT_EQ(makeClip(dir_, 10.0, false), silentClip_);
        MpvEngineOptions opts;
        opts.audioOutput = "null";
        opts.videoOutput = "libmpv";
        auto engine = std::make_unique<MpvEngine>(loop_, opts);
        ASSERT_TRUE(engine->valid()) << engine->setupError();
        player_.attach(std::move(engine));
    }
    void TearDown() override { player_.close(); }

    void startClip(const std::string& clip) {
        player_.setURL(clip);
        player_.controls.play();
        const auto start = loop_.tickCount();
        while (player_.playState() != playstate::Playing && loop_.tickCount() - start < 10000) loop_.wait(20);
        ASSERT_EQ(player_.playState(), playstate::Playing);
    }
    bool showsTheClip(MpvPicture& picture) { return showsTestPicture(loop_, picture); }
    // The player's widget as the whole of a window (not shown yet).
    VideoWidget* widgetIn(QMainWindow& window) {
        auto* widget = new VideoWidget(player_, &window);
        window.setCentralWidget(widget);
        window.resize(320, 260);
        return widget;
    }

    TempDir dir_;
    const std::string clip_ = dir_.file("clip.mkv");
    const std::string silentClip_ = dir_.file("silent.mkv");
    QtMessageLoop loop_;
    Player player_;
};

TEST_F(VideoPicture, FileLoadedBeforeTheWidgetIsFirstShownGetsItsPicture) {
    guiApp();
    if (ranOnVirtualDisplay("VideoPicture.FileLoadedBeforeTheWidgetIsFirstShownGetsItsPicture")) return;

    QMainWindow window;
    auto* widget = widgetIn(window);
    // The window is made but never shown: the file plays without a surface.
    startClip(clip_);
    loop_.wait(500);
    EXPECT_EQ(player_.playState(), playstate::Playing);
    EXPECT_EQ(widget->picture(), nullptr);

    window.show();
    ASSERT_NE(widget->picture(), nullptr);
    EXPECT_TRUE(showsTheClip(*widget->picture()));
    EXPECT_TRUE(widget->picture()->rendering());
    EXPECT_EQ(player_.playState(), playstate::Playing);
    widget->release();
}

TEST_F(VideoPicture, AnEngineMadeByItsFirstFileDrawsInAWidgetAlreadyShown) {
    guiApp();
    if (ranOnVirtualDisplay("VideoPicture.AnEngineMadeByItsFirstFileDrawsInAWidgetAlreadyShown")) return;

    MpvEngineOptions opts;
    opts.audioOutput = "null";
    opts.videoOutput = "libmpv";
    opts.startOnFirstLoad = true;
    player_.attach(std::make_unique<MpvEngine>(loop_, opts));
    player_.settings.setVolume(37);
    ASSERT_EQ(player_.engine()->nativeHandle(), nullptr);

    QMainWindow window;
    auto* widget = widgetIn(window);
    window.show();
    loop_.wait(300);
    EXPECT_EQ(widget->picture(), nullptr);

    startClip(clip_);
    ASSERT_NE(widget->picture(), nullptr);
    EXPECT_TRUE(showsTheClip(*widget->picture()));
    // The volume given before the handle existed reached it.
    double volume = 0;
    auto* handle = static_cast<mpv_handle*>(player_.engine()->nativeHandle());
    ASSERT_NE(handle, nullptr);
    ASSERT_GE(mpv_get_property(handle, "volume", MPV_FORMAT_DOUBLE, &volume), 0);
    EXPECT_EQ(volume, 37);
    widget->release();
}

TEST_F(VideoPicture, PictureReturnsAfterHidingAndInANewWindow) {
    guiApp();
    if (ranOnVirtualDisplay("VideoPicture.PictureReturnsAfterHidingAndInANewWindow")) return;

    QMainWindow window;
    auto* widget = widgetIn(window);
    window.show();
    startClip(silentClip_);
    ASSERT_NE(widget->picture(), nullptr);
    ASSERT_TRUE(showsTheClip(*widget->picture()));

    // Hidden and shown again: frames come again.
    window.hide();
    loop_.wait(500);
    window.show();
    EXPECT_TRUE(showsTheClip(*widget->picture()));

    // The widget moves to another window. The file plays on and its picture
    // comes back in the new window.
    QMainWindow other;
    other.resize(320, 260);
    other.setCentralWidget(widget);
    window.hide();
    loop_.wait(300);
    EXPECT_EQ(player_.playState(), playstate::Playing);
    other.show();
    EXPECT_TRUE(showsTheClip(*widget->picture()));
    EXPECT_EQ(player_.playState(), playstate::Playing);

    // In a window never shown yet, a file loaded now gets its picture when
    // that window shows.
    QMainWindow third;
    third.resize(320, 260);
    third.setCentralWidget(widget);
    other.hide();
    loop_.wait(300);
    startClip(clip_);
    third.show();
    EXPECT_TRUE(showsTheClip(*widget->picture()));
    widget->release();
}

TEST_F(VideoPicture, APlayerThatLetsGoOfItsFileShowsNoPicture) {
    guiApp();
    if (ranOnVirtualDisplay("VideoPicture.APlayerThatLetsGoOfItsFileShowsNoPicture")) return;

    QMainWindow window;
    auto* widget = widgetIn(window);
    window.show();
    // What the display shows (drawing anew, as grabbing the frame buffer
    // does, would hide a picture left standing).
    const auto black = [&] {
        const QPoint at = widget->mapTo(&window, QPoint(0, 0));
        const QImage img = QGuiApplication::primaryScreen()
                               ->grabWindow(window.winId(), at.x(), at.y(), widget->width(), widget->controlBar()->y())
                               .toImage();
        return !img.isNull() && countLitPixels(img) < img.width() * img.height() / 400;
    };
    // While it plays, the file is let go as a deletion does: the player is
    // stopped, closed and given a file that does not exist.
    startClip(clip_);
    ASSERT_NE(widget->picture(), nullptr);
    ASSERT_TRUE(showsTheClip(*widget->picture()));
    player_.controls.stop();
    player_.close();
    player_.setURL(dir_.file("never_existed_non_existing.mp3"));
    player_.controls.play();
    loop_.wait(800);
    EXPECT_TRUE(black());
    // The next file shows its picture.
    startClip(clip_);
    ASSERT_NE(widget->picture(), nullptr);
    EXPECT_TRUE(showsTheClip(*widget->picture()));
    widget->release();
}

// An OpenGL widget makes Qt compose its whole window through OpenGL at every
// repaint: the picture is a window of its own, made only while a film is to
// be shown (the OpenGL stack is loaded with the first film).
TEST_F(VideoPicture, HasAnOpenGLPictureOnlyWhileAFilmIsShown) {
    guiApp();
    if (ranOnVirtualDisplay("VideoPicture.HasAnOpenGLPictureOnlyWhileAFilmIsShown")) return;

    fixtures::WavOptions wav;
    wav.pcm.seconds = 10;
    const std::string song = fixtures::writeWav(dir_.file("song.wav"), wav);
    QMainWindow window;
    auto* widget = widgetIn(window);
    window.show();
    const struct {
        const char* what;
        std::string file;  // "": the player is closed
        bool picture;
    } steps[] = {{"nothing loaded", "", false}, {"a song", song, false},   {"a film", clip_, true},
                 {"a song after it", song, false}, {"a film again", silentClip_, true}, {"closed", "", false}};
    for (const auto& step : steps) {
        if (step.file.empty()) player_.close();
        else startClip(step.file);
        loop_.wait(700);  // the widget's poll comes at least once
        EXPECT_EQ(widget->picture() != nullptr, step.picture) << step.what;
        // Not even a film makes the window composed through OpenGL.
        EXPECT_TRUE(window.findChildren<QOpenGLWidget*>().isEmpty()) << step.what;
    }
    widget->release();
}

// Counts the paints of one widget.
class PaintCount final : public QObject {
public:
    explicit PaintCount(QWidget* w) { w->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
};

// The control bar's poll (twice a second) sets what changed only: setting
// the play button's icon again repainted it, and its window, every time.
TEST(VideoWidget, ItsPollRepaintsNothingWhileNothingChanges) {
    guiApp();
    QtMessageLoop loop;
    Player player;
    QMainWindow window;
    auto* widget = new VideoWidget(player, &window);
    window.setCentralWidget(widget);
    window.resize(320, 260);
    window.show();
    loop.wait(700);  // the first poll has set the bar up
    auto* button = widget->controlBar()->findChild<QPushButton*>();
    ASSERT_NE(button, nullptr);
    PaintCount count(button);
    loop.wait(1600);
    EXPECT_EQ(count.paints, 0);
}

// The whole program on libmpv, drawing into its windows.
struct ProgramOnMpv {
    ~ProgramOnMpv() {
        for (auto& v : views) v->releaseVideo();
        views.clear();
    }
    MpvPicture* picture(const Form& form, const std::string& name, int index = -1) {
        auto* widget = qobject_cast<VideoWidget*>(viewOf(views, form)->widget(name, index));
        return widget ? widget->picture() : nullptr;
    }

    TempDir folder;
    QtMessageLoop loop;
    QtDialogs dialogs;
    FakeMediaReader reader;
    MpvEngineFactory engines{loop};
    const bool drawing = [this] {  // before the program makes its players
        engines.setAudioOutput("null");
        engines.setVideoOutput("libmpv");
        return true;
    }();
    FakeDesktop desktop;
    FakeTray tray;
    Program program{Services{loop, dialogs, engines, reader, desktop, tray, {}, {}, "/usr/bin/tarvolin"},
                    folder.path()};
    std::vector<std::unique_ptr<FormView>> views = createViews(program);
};

// The twelve preview pictures showing a film draw four frames a second each;
// drawing them at the film's rate kept the program's thread busy, and
// assistive technology waited on it.
TEST(VideoWindow, PreviewPicturesDrawFourFramesASecond) {
    guiApp();
    if (ranOnVirtualDisplay("VideoWindow.PreviewPicturesDrawFourFramesASecond")) return;
    TempDir media;
    const std::string film = makeClip(media, 20.0, false);
    ASSERT_FALSE(film.empty());
    ProgramOnMpv p;
    p.reader.add(film, 20, {{"MediaType", "video"}});
    p.program.Form1.Show();
    p.program.collection.d.InfoFile = film;
    p.program.Form1.MultiPage1.setValue(4);
    p.loop.wait(1500);

    auto drawn = [&] {
        int n = 0;
        for (int i = 0; i < 12; ++i)
            if (MpvPicture* picture = p.picture(p.program.Form1, "WindowsMediaPlayer3", i))
                n += picture->framesDrawn();
        return n;
    };
    const int before = drawn();
    p.loop.wait(2000);
    const int frames = drawn() - before;
    EXPECT_GE(frames, 12) << "frames drawn by the twelve pictures in two seconds";
    EXPECT_LE(frames, 12 * 2 * 5) << "frames drawn by the twelve pictures in two seconds";
    p.program.Form1.MultiPage1.setValue(0);
}

// A video sent to the video window while the window was never shown plays
// there with its picture.
TEST(VideoWindow, ShowsAVideoSentBeforeItWasEverShown) {
    guiApp();
    if (ranOnVirtualDisplay("VideoWindow.ShowsAVideoSentBeforeItWasEverShown")) return;
    TempDir media;
    const std::string clip = makeClip(media, 10.0, true);
    ASSERT_FALSE(clip.empty());
    ProgramOnMpv p;
    ASSERT_FALSE(p.program.Form2.Visible());

    p.program.state.VideoMode = -1;
    p.program.collection.d.CurrentFile = clip;
    p.program.playback.Video();
    EXPECT_TRUE(p.program.Form2.Visible());
    for (int i = 0; i < 100 && !p.picture(p.program.Form2, "WindowsMediaPlayer1"); ++i) p.loop.wait(50);
    MpvPicture* picture = p.picture(p.program.Form2, "WindowsMediaPlayer1");
    ASSERT_NE(picture, nullptr);
    EXPECT_TRUE(showsTestPicture(p.loop, *picture, 1));
    EXPECT_EQ(p.program.Form2.WindowsMediaPlayer1.URL(), clip);
    p.program.Form2.WindowsMediaPlayer1.close();
}

}  // namespace
}  // namespace tarvolin
