// The hand-over between the main and the compact player, the album art of a
// started track, and the list search.
#include <filesystem>

#include "playback_fixture.h"

namespace tarvolin {
namespace {

TEST_F(PlaybackTest, ThePlayingFileMovesToTheCompactPlayerAndBack) {
    auto paths = startWithTracks(2, 60);
    Player& compact = app().Form4.WindowsMediaPlayer1;
    app().playback.Command3_Click(0);
    run(2400);
    app().playback.Command11_Click();  // paused
    ASSERT_EQ(mainPlayer().playState(), playstate::Paused);
    const double at = mainPlayer().controls.currentPosition();

    app().windows.Passage(true);
    EXPECT_TRUE(s().CompactMode);
    EXPECT_FALSE(f().Visible());
    EXPECT_TRUE(app().Form4.Visible());
    EXPECT_EQ(mainPlayer().URL(), "");
    EXPECT_FALSE(mainPlayer().enabled());
    run(300);
    // A paused file plays on after the hand-over, from where it was.
    EXPECT_EQ(compact.URL(), paths[0]);
    EXPECT_EQ(compact.playState(), playstate::Playing);
    EXPECT_NEAR(compact.controls.currentPosition(), at + 0.3, 0.15);
    EXPECT_FALSE(s().Paused);

    app().Form4.Command1.Click.raise();
    EXPECT_FALSE(s().CompactMode);
    EXPECT_TRUE(f().Visible());
    EXPECT_FALSE(app().Form4.Visible());
    EXPECT_EQ(compact.URL(), "");
    run(300);
    EXPECT_EQ(mainPlayer().URL(), paths[0]);
    EXPECT_EQ(mainPlayer().playState(), playstate::Playing);
    EXPECT_EQ(f().Timer1.Interval(), 1000);
}

TEST_F(PlaybackTest, InTheTrayTheHandOverShowsNoWindow) {
    startWithTracks(2, 60);
    s().WindowVisible = false;
    f().Hide();
    app().windows.Passage(true);
    EXPECT_TRUE(s().CompactMode);
    EXPECT_FALSE(app().Form4.Visible());
    EXPECT_FALSE(f().Visible());
}

TEST_F(PlaybackTest, AStartedTrackShowsTheArtOfItsFolder) {
    auto paths = startWithTracks(2, 60);
    app().Form4.Picture1[1].setPicture("fallback");
    const std::string folder = h.folder.path() + "music/";

    app().playback.Bres_Kommati();
    EXPECT_EQ(f().Picture1.Picture(), "fallback");
    EXPECT_EQ(app().Form4.Picture1[0].Picture(), "fallback");

    fixtures::writeBytes(folder + "Folder.jpg", "jpeg");
    app().playback.Bres_Kommati();
    EXPECT_EQ(f().Picture1.Picture(), folder + "Folder.jpg");

    fixtures::writeBytes(folder + "AlbumArtSmall.jpg", "jpeg");
    d().CurrentTrack = 0;
    s().ReplayMode = 1;
    app().playback.Bres_Kommati();
    EXPECT_EQ(f().Picture1.Picture(), folder + "AlbumArtSmall.jpg");
    EXPECT_EQ(app().Form4.Picture1[0].Picture(), folder + "AlbumArtSmall.jpg");
    EXPECT_EQ(d().InfoFile, paths[0]);
}

TEST_F(PlaybackTest, ListSearchIgnoresCaseAndFindsPrefixesOrWholeItems) {
    startUp();
    Playback& pb = app().playback;
    ListBox& list = f().List1;
    EXPECT_EQ(pb.ListBoxFindString(list, "abc", -1, false), -1);
    list.AddItem("/music/Ρόκ/Άλμπουμ");
    list.AddItem("/music/pop");
    EXPECT_EQ(pb.ListBoxFindString(list, "/MUSIC/ρόκ", -1, false), 0);
    EXPECT_EQ(pb.ListBoxFindString(list, "/MUSIC/ρόκ", -1, true), -1);
    EXPECT_EQ(pb.ListBoxFindString(list, "/MUSIC/POP", -1, true), 1);
    EXPECT_EQ(pb.ListBoxFindString(f().Combo3, "HTTPS://", -1, false), 0);
    EXPECT_EQ(pb.ListBoxFindString(f().Text3, "3", -1, true), 0);  // not a list
}

TEST_F(PlaybackTest, SizeListGivesTheFourListsTheirScrollBar) {
    startUp();
    ListBox* const lists[] = {&f().List1, &f().List2, &f().List4, &f().List5};
    for (ListBox* list : lists) EXPECT_EQ(list->HorizontalExtent(), 3000);

    for (ListBox* list : lists) list->setHorizontalExtent(0);
    app().playback.SizeList(0);
    app().playback.SizeList(5);
    for (ListBox* list : lists) EXPECT_EQ(list->HorizontalExtent(), 0);
    for (int which = 1; which <= 4; ++which) {
        app().playback.SizeList(which);
        for (int k = 0; k < 4; ++k) EXPECT_EQ(lists[k]->HorizontalExtent(), k < which ? 3000 : 0) << which;
    }
}

}  // namespace
}  // namespace tarvolin
