// Emptying the collection and resetting its play marks or ratings.
#include <filesystem>
#include <fstream>

#include "collection/store_fixture.h"

namespace tarvolin {
namespace {

class ResetTest : public StoreTest {
protected:
    // Three tracks: classes S, -, A; marks 2, 0, 1; track 1 current.
    void threeTracks() {
        addTrack("/music/a.mp3", 5, 100, 3, 2);
        addTrack("/music/b.mp3", 0, 200, 4, 0);
        addTrack("/music/c.mp3", 4, 300, 5, 1);
        d().CurrentTrack = 1;
        d().PlayedCount = 2;
        d().MaxPlayedCount = 2;
        d().TrackResumePos[0] = money(12);
        d().TrackExtraText[2][3] = "kept";
        d().TrackExtraNum[2][3] = 7;
        d().CollectionSaved = true;
    }
};

TEST_F(ResetTest, EmptyingLeavesAnEmptyConsistentCollection) {
    threeTracks();
    d().TableRows = {"row a", "row b", "row c"};
    app().state.VideoMode = 1;
    f1().Text5[0].setText("00:03:20");
    app().Form4.Text5[0].setText("00:03:20");
    f1().Text6.setText("/music/b.mp3");
    f1().Text1_0.setText("title");
    f1().Combo4_0[0].AddItem("Ασημείωτα - Unmarked");
    f1().Combo4_0[4].AddItem("Rock");
    f1().List5.AddItem("heading");
    std::ofstream(app().AppFolder() + "dump.mp3").put('x');

    store().Reset_Collection(0);

    const CollectionData& data = d();
    EXPECT_EQ(data.TrackCount, 0);
    EXPECT_EQ(f1().List2.ListCount(), 0);
    for (ListBox& column : f1().List3_0) EXPECT_EQ(column.ListCount(), 0);
    EXPECT_EQ(data.PlayedCount, 0);
    EXPECT_EQ(data.MaxPlayedCount, 0);
    EXPECT_EQ(data.CurrentTrack, 0);
    EXPECT_EQ(app().state.VideoMode, 0);
    EXPECT_EQ(f1().Text5[0].Text(), "00:00:00");
    EXPECT_EQ(app().Form4.Text5[0].Text(), "00:00:00");
    EXPECT_EQ(data.TimeTextTotal, "00:00:00:00");
    EXPECT_EQ(f1().Text6.Text(), "");
    EXPECT_EQ(f1().Text1_0.Text(), "");

    // Every table back to its single empty entry, the sums at zero.
    EXPECT_EQ(data.trackEntries(), 1u);
    EXPECT_EQ(data.TrackExtraText.size(), 1u);
    EXPECT_EQ(data.TrackExtraText[0][3], "");
    EXPECT_EQ(data.PlayOrder[0], 0);
    EXPECT_TRUE(data.TableRows.empty());
    EXPECT_EQ(data.TotalDuration, Currency{});
    EXPECT_EQ(data.TotalSize, Currency{});
    EXPECT_EQ(data.DurationLeft, Currency{});
    EXPECT_EQ(data.ClassCount[5], 0);
    EXPECT_EQ(data.ClassDuration[4], Currency{});

    // Filter value lists and both tables emptied; the class box keeps its names.
    EXPECT_EQ(f1().Combo4_0[0].ListCount(), 1);
    EXPECT_EQ(f1().Combo4_0[4].ListCount(), 0);
    EXPECT_EQ(f1().List5.ListCount(), 0);

    // Players let go, no release file left behind, collection unsaved.
    EXPECT_EQ(f1().WindowsMediaPlayer1.URL(), "");
    EXPECT_FALSE(std::filesystem::exists(app().AppFolder() + "dump.mp3"));
    EXPECT_FALSE(data.CollectionSaved);
    EXPECT_EQ(data.ClassSizeLabel[5], " [00000] - [00.00 Mb] - [00.0%]");
}

TEST_F(ResetTest, PlayMarksResetLeavesTheCurrentTrackOpeningANewPass) {
    threeTracks();
    f1().List2.setSelected(0, true);
    f1().List3_0[2].setSelected(2, true);

    store().Reset_Collection(1);

    const CollectionData& data = d();
    EXPECT_EQ(data.PlayOrder[0], 0);
    EXPECT_EQ(data.PlayOrder[1], 1);
    EXPECT_EQ(data.PlayOrder[2], 0);
    EXPECT_EQ(data.PlayedCount, 1);
    EXPECT_EQ(data.MaxPlayedCount, 1);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(data.TrackClass[static_cast<std::size_t>(i)], 0);
        EXPECT_EQ(column(1, i), "-");
    }
    EXPECT_EQ(data.TrackResumePos[0], Currency{});
    EXPECT_EQ(data.TrackExtraText[2][3], "");
    EXPECT_EQ(data.TrackExtraNum[2][3], 7) << "spare numbers are kept";
    EXPECT_EQ(data.DurationLeft, money(600));

    // Only row 1 selected, in the list and in every column.
    EXPECT_FALSE(f1().List2.Selected(0));
    EXPECT_TRUE(f1().List2.Selected(1));
    EXPECT_FALSE(f1().List3_0[2].Selected(2));
    for (ListBox& column : f1().List3_0) EXPECT_TRUE(column.Selected(1));

    // Recounted: everything unclassified.
    EXPECT_EQ(data.ClassCount[0], 3);
    EXPECT_EQ(data.ClassCount[5], 0);
    EXPECT_TRUE(f1().List3_0[1].Visible());
    EXPECT_FALSE(app().state.Busy);
}

TEST_F(ResetTest, RatingsResetKeepsThePlayHistory) {
    threeTracks();
    store().Reset_Collection(2);

    const CollectionData& data = d();
    EXPECT_EQ(data.PlayOrder[0], 2);
    EXPECT_EQ(data.PlayOrder[1], 2) << "the current track without a mark gets PlayedCount";
    EXPECT_FALSE(data.TrackSaved[1]);
    EXPECT_EQ(data.PlayOrder[2], 1);
    // The tracks that lost their class must be written again.
    EXPECT_FALSE(data.TrackSaved[0]);
    EXPECT_FALSE(data.TrackSaved[2]);
    EXPECT_EQ(data.PlayedCount, 2);
    EXPECT_EQ(data.MaxPlayedCount, 2);
    EXPECT_EQ(data.TrackResumePos[0], money(12));
    EXPECT_EQ(data.TrackExtraText[2][3], "kept");
    EXPECT_EQ(data.ClassCount[0], 3);
    EXPECT_EQ(column(1, 0), "-");
    EXPECT_EQ(data.ClassDurationLabel[0], " - [000:00:10:00]") << "labels rebuilt from the new counts";
}

TEST_F(ResetTest, OtherModesOnlyRefreshAndMarkUnsaved) {
    threeTracks();
    d().ClassLabelsDirty = false;
    f1().Command8.setCaption("");
    store().Reset_Collection(3);

    EXPECT_EQ(d().PlayOrder[0], 2);
    EXPECT_EQ(d().TrackClass[0], 5);
    EXPECT_EQ(d().TrackCount, 3);
    EXPECT_FALSE(d().CollectionSaved);
    EXPECT_EQ(f1().Command8.Caption(), "Προτίμηση Rating ") << "the rating display was shown anew";
    EXPECT_EQ(d().ClassSizeLabel[5], " [00001] - [03.00 Mb] - [33.3%]") << "labels were marked for rebuilding";
}

TEST_F(ResetTest, NegativeCountAndCurrentTrackOutsideTheListAreSurvived) {
    d().TrackCount = -4;
    store().Reset_Collection(3);
    EXPECT_EQ(d().TrackCount, 0);

    threeTracks();
    for (std::int32_t current : {-1, 3, 70000}) {
        d().CurrentTrack = current;
        store().Reset_Collection(1);
        EXPECT_EQ(d().PlayOrder[0] + d().PlayOrder[1] + d().PlayOrder[2], 0) << current;
        EXPECT_EQ(f1().List2.SelCount(), 0) << current;
        EXPECT_EQ(d().trackEntries(), 4u);

        store().Reset_Collection(2);
        EXPECT_EQ(d().PlayOrder[3], 0) << "the spare top entry gets no mark";
    }
}

}  // namespace
}  // namespace tarvolin
