// The video widget draws libmpv's frames through the render API.
//
// Drawing needs OpenGL. Qt's offscreen platform has none, so under it the
// test runs itself again on a virtual X display (xvfb-run, Mesa's software
// renderer) and takes that run's result.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QMainWindow>

#include <cstdlib>
#include <fstream>
#include <string>

#include "gui/qt_message_loop.h"
#include "gui/video_widget.h"
#include "gui_app.h"
#include "platform/mpv/mpv_engine.h"
#include "platform/player.h"
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

TEST(VideoWidget, DrawsFramesOfAPlayingVideo) {
    guiApp();
    if (QGuiApplication::platformName() == "offscreen") {
        TempDir out;
        // From "/": an earlier test's program may have left the working
        // folder in a temporary folder that is gone.
        const std::string cmd = "cd / && env QT_QPA_PLATFORM=xcb xvfb-run -a -s '-screen 0 800x600x24' '" + selfPath() +
                                "' --gtest_filter=VideoWidget.DrawsFramesOfAPlayingVideo > '" + out.file("log") +
                                "' 2>&1";
        const int rc = std::system(cmd.c_str());
        std::ifstream log(out.file("log"));
        const std::string text((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
        EXPECT_EQ(rc, 0) << "run on a virtual display failed:\n" << text;
        EXPECT_NE(text.find("[  PASSED  ] 1 test"), std::string::npos) << text;
        return;
    }

    TempDir dir;
    const std::string video = dir.file("clip.mkv");
    auto args = fixtures::ffmpegVideoInput(1.0, 160, 120, 25);
    args.insert(args.end(), {"-c:v", "ffv1"});
    ASSERT_TRUE(fixtures::makeWithFfmpeg(video, args));

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
        window.show();
        loop.wait(100);
        EXPECT_TRUE(widget->controlBar()->isVisible());

        player.setURL(video);
        player.controls.play();
        const auto start = loop.tickCount();
        while (widget->picture()->framesDrawn() < 5 && loop.tickCount() - start < 15000) loop.wait(20);
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
        EXPECT_TRUE(widget->picture()->isEnabled());

        // The render context goes before the mpv handle does.
        widget->release();
        EXPECT_FALSE(widget->picture()->rendering());
    }
    player.close();
}

}  // namespace
}  // namespace tarvolin
