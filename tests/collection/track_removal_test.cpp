// Taking tracks out of the tables and renumbering the play marks, with the
// player's place in its history.
#include "collection/store_fixture.h"

namespace tarvolin {
namespace {

using TrackRemovalTest = StoreTest;

// What the callers do after Remove_Track_Data.
void removeRow(Form1& f, CollectionData& data, int index) {
    f.List2.RemoveItem(index);
    for (ListBox& column : f.List3_0) column.RemoveItem(index);
    data.TrackCount = f.List2.ListCount();
}

TEST_F(TrackRemovalTest, RemovingAMiddleTrackClosesTheGapAndLowersItsClass) {
    addTrack("/m/0.mp3", 4, 100, 2);
    addTrack("/m/1.mp3", 4, 200, 3);
    addTrack("/m/2.mp3", 4, 300, 4);
    addTrack("/m/3.mp3", 2, 50, 1);
    d().TrackArtist[3] = "last artist";
    d().TrackExtraText[3][15] = "spare";

    store().Remove_Track_Data(1);

    const CollectionData& data = d();
    EXPECT_EQ(data.ClassCount[4], 2);
    EXPECT_EQ(data.ClassSize[4], money(6));
    EXPECT_EQ(data.ClassDuration[4], money(400));
    EXPECT_EQ(data.TotalSize, money(7));
    EXPECT_EQ(data.TotalDuration, money(450));
    // Entries 2 and 3 moved down, marked unsaved; entry 0 untouched.
    EXPECT_EQ(data.TrackDuration[1], money(300));
    EXPECT_EQ(data.TrackDuration[2], money(50));
    EXPECT_EQ(data.TrackArtist[2], "last artist");
    EXPECT_EQ(data.TrackExtraText[2][15], "spare");
    EXPECT_TRUE(data.TrackSaved[0]);
    EXPECT_FALSE(data.TrackSaved[1]);
    EXPECT_FALSE(data.TrackSaved[2]);
    // The vacated entry is empty, its spare texts "0".
    EXPECT_EQ(data.TrackDuration[3], Currency{});
    EXPECT_EQ(data.TrackArtist[3], "");
    EXPECT_EQ(data.TrackExtraText[3][0], "0");
    EXPECT_EQ(data.TrackExtraText[3][15], "0");
}

TEST_F(TrackRemovalTest, RemovingTheLastTrackMovesNothing) {
    addTrack("/m/0.mp3", 1, 10, 1);
    addTrack("/m/1.mp3", 5, 20, 2, 3);
    d().TrackTitle[1] = "gone";
    store().Remove_Track_Data(1);

    EXPECT_EQ(d().TrackDuration[0], money(10));
    EXPECT_TRUE(d().TrackSaved[0]);
    EXPECT_EQ(d().TrackTitle[1], "");
    EXPECT_EQ(d().PlayOrder[1], 0);
    EXPECT_EQ(d().TrackExtraText[1][7], "0");
    EXPECT_EQ(d().ClassCount[5], 0);
}

TEST_F(TrackRemovalTest, BadIndexesAndEmptySumsAreLeftAlone) {
    addTrack("/m/0.mp3", 3, 10, 1);
    store().Remove_Track_Data(-1);
    store().Remove_Track_Data(1);
    EXPECT_EQ(d().TrackDuration[0], money(10));
    EXPECT_EQ(d().TotalDuration, money(10));

    // Sums already at zero stay there; an odd class code does not index
    // past the class tables.
    d().TotalSize = Currency{};
    d().ClassCount.fill(0);
    d().TrackClass[0] = 9;
    store().Remove_Track_Data(0);
    EXPECT_EQ(d().TotalSize, Currency{});
    EXPECT_EQ(d().ClassSize[5], Currency{});
}

TEST_F(TrackRemovalTest, RenumberingAfterARemovalFollowsTheCurrentTrack) {
    addTrack("/m/0.mp3", 0, 10, 1, 1);
    addTrack("/m/1.mp3", 0, 10, 1, 2);
    addTrack("/m/2.mp3", 0, 10, 1, 3);
    addTrack("/m/3.mp3", 0, 10, 1, 5);
    addTrack("/m/4.mp3", 0, 10, 1, 4);
    d().PlayedCount = 5;
    d().MaxPlayedCount = 5;
    d().CurrentTrack = 3;

    store().Remove_Track_Data(2);
    removeRow(f1(), d(), 2);
    store().Renumber_Play_Order();

    EXPECT_EQ(d().PlayOrder[0], 1);
    EXPECT_EQ(d().PlayOrder[1], 2);
    EXPECT_EQ(d().PlayOrder[2], 4);
    EXPECT_EQ(d().PlayOrder[3], 3);
    EXPECT_EQ(d().PlayedCount, 4);
    EXPECT_EQ(d().MaxPlayedCount, 4);
    EXPECT_EQ(d().CurrentTrack, 2) << "the track with the new mark 4";
}

TEST_F(TrackRemovalTest, RenumberingKeepsTheDistanceBackInTheHistory) {
    addTrack("/m/0.mp3", 0, 10, 1, 2);
    addTrack("/m/1.mp3", 0, 10, 1, 2);
    addTrack("/m/2.mp3", 0, 10, 1, 0);
    addTrack("/m/3.mp3", 0, 10, 1, 3);
    d().PlayedCount = 2;
    d().MaxPlayedCount = 3;
    d().CurrentTrack = 0;

    store().Renumber_Play_Order();

    EXPECT_EQ(d().PlayOrder[0], 1);
    EXPECT_EQ(d().PlayOrder[1], 2);
    EXPECT_EQ(d().PlayOrder[2], 0);
    EXPECT_EQ(d().PlayOrder[3], 3);
    EXPECT_EQ(d().MaxPlayedCount, 3);
    EXPECT_EQ(d().PlayedCount, 2);
    EXPECT_EQ(d().CurrentTrack, 1);
}

TEST_F(TrackRemovalTest, RenumberingWithoutMarksNeverGoesNegative) {
    addTrack("/m/0.mp3");
    addTrack("/m/1.mp3");
    d().CurrentTrack = 1;
    d().PlayedCount = 2;
    d().MaxPlayedCount = 2;
    store().Renumber_Play_Order();
    EXPECT_EQ(d().PlayedCount, 0);
    EXPECT_EQ(d().MaxPlayedCount, 0);
    EXPECT_EQ(d().CurrentTrack, 0) << "no distance back: the pass starts again at track 0";

    d().CurrentTrack = 1;
    d().PlayedCount = 1;
    d().MaxPlayedCount = 3;
    store().Renumber_Play_Order();
    EXPECT_EQ(d().PlayedCount, 0);
    EXPECT_EQ(d().CurrentTrack, 1) << "a distance back keeps the current track";
}

}  // namespace
}  // namespace tarvolin
