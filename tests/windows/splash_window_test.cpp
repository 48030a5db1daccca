// The splash window: centred on the screen with its logo, closed by a key,
// a click on its frame, or the start-up.
#include "playback/playback_fixture.h"

namespace tarvolin {
namespace {

using SplashTest = PlaybackTest;

TEST_F(SplashTest, ShowingItCentresItOnTheScreenWithTheLogo) {
    h.desktop.screen = {1024, 768};
    frmSplash& w = app().frmSplash;
    w.Show();
    EXPECT_EQ(w.Left(), (1024 * 15 - w.Width()) / 2);
    EXPECT_EQ(w.Top(), (768 * 15 - w.Height()) / 2);
    EXPECT_EQ(w.imgLogo.Picture(), "splash");

    // A screen smaller than the window keeps its corner on the screen.
    ASSERT_TRUE(w.requestUnload(1));
    h.desktop.screen = {200, 100};
    w.Show();
    EXPECT_EQ(w.Left(), 0);
    EXPECT_EQ(w.Top(), 0);
}

TEST_F(SplashTest, AKeyOrAClickOnTheFrameClosesIt) {
    frmSplash& w = app().frmSplash;
    w.Show();
    int key = 'a';
    w.KeyPress.raise(key);
    EXPECT_FALSE(w.Visible());

    w.Show();
    w.Frame1.Click.raise();
    EXPECT_FALSE(w.Visible());
    // Closing a closed window does nothing.
    w.Frame1.Click.raise();
    w.KeyPress.raise(key);
    EXPECT_FALSE(w.Visible());
}

TEST_F(SplashTest, StartUpShowsItAndClosesItAfterTwoSeconds) {
    bool shown = false;
    int shownLeft = -1;
    frmSplash& w = app().frmSplash;
    w.changed.listen([&](Property what) {
        if (what == Property::Visible && w.Visible()) shown = true;
        if (what == Property::Geometry && shown && shownLeft < 0) shownLeft = w.Left();
    });
    const std::int64_t start = h.loop.tickCount();
    startUp();
    EXPECT_TRUE(shown);
    EXPECT_EQ(shownLeft, (1920 * 15 - w.Width()) / 2);
    EXPECT_EQ(w.imgLogo.Picture(), "splash");
    EXPECT_FALSE(w.Visible());
    EXPECT_GE(h.loop.tickCount() - start, 2000);
}

}  // namespace
}  // namespace tarvolin
