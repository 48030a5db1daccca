// The locate buttons: the file manager on the selected file, and the
// current or played tracks marked in the lists and the track table.
#include "playback_fixture.h"

namespace tarvolin {
namespace {

class LocateTest : public PlaybackTest {
protected:
    std::vector<std::string> paths;

    void SetUp() override { paths = startWithTracks(5); }

    // A table line of track i: its number in characters 8 to 13.
    static std::string line(int track) { return " [x] | " + Format(track + 1, "000000") + " | row text"; }

    // The full table with a line for every track, or the filtered table
    // with the given tracks only; the other table is disabled.
    void fillTable(bool full, const std::vector<int>& tracks = {}) {
        ListBox& table = full ? f().List5 : f().List4;
        ListBox& other = full ? f().List4 : f().List5;
        f().List4.Clear();
        f().List5.Clear();
        table.AddItem("heading");
        table.AddItem("-------");
        if (full) {
            for (int i = 0; i < f().List2.ListCount(); ++i) table.AddItem(line(i));
        } else {
            for (int i : tracks) table.AddItem(line(i));
        }
        table.setEnabled(true);
        other.setEnabled(false);
    }

    std::vector<int> selectedRows(const ListBox& list) {
        std::vector<int> rows;
        for (int i = 0; i < list.ListCount(); ++i) {
            if (list.Selected(i)) rows.push_back(i);
        }
        return rows;
    }
};

TEST_F(LocateTest, OpenFolderRevealsTheSelectedFileOrLogsThatThereIsNone) {
    f().List2.setListIndex(-1);
    f().Command10[0].click();
    EXPECT_TRUE(h.desktop.revealedFiles.empty());
    EXPECT_NE(log().find("-> Δεν υπάρχει κανένα αρχείο για προβολή - No file to display\r\n"), std::string::npos);

    f().List2.setListIndex(3);
    f().Command10[0].click();
    ASSERT_EQ(h.desktop.revealedFiles.size(), 1u);
    EXPECT_EQ(h.desktop.revealedFiles[0], paths[3]);
}

TEST_F(LocateTest, CurrentMarksTheCurrentTrackEverywhere) {
    fillTable(true);
    // Nothing selected: nothing happens.
    f().List2.setListIndex(-1);
    f().MultiPage1.setValue(0);
    d().CurrentTrack = 3;
    f().Command10[1].click();
    EXPECT_EQ(f().MultiPage1.Value(), 0);

    f().List2.setListIndex(0);
    f().List2.setSelected(1, true);
    f().Command10[1].click();
    EXPECT_EQ(f().MultiPage1.Value(), 1);
    EXPECT_EQ(selectedRows(f().List2), std::vector<int>{3});
    for (ListBox& column : f().List3_0) EXPECT_EQ(selectedRows(column), std::vector<int>{3});
    EXPECT_EQ(selectedRows(f().List5), std::vector<int>{5});
    EXPECT_EQ(f().List2.ListIndex(), 3);
    EXPECT_EQ(f().List5.ListIndex(), 5);
    EXPECT_FALSE(s().Busy);
    // The list's own click ran: the current track's file is the one shown.
    EXPECT_EQ(d().InfoFile, paths[3]);
}

TEST_F(LocateTest, AShortTableIsMarkedAsFarAsItGoes) {
    fillTable(true);
    f().List5.RemoveItem(f().List5.ListCount() - 1);  // no line for the last track
    d().CurrentTrack = 4;
    f().List2.setListIndex(0);
    f().Command10[1].click();
    EXPECT_EQ(selectedRows(f().List2), std::vector<int>{4});
    EXPECT_TRUE(selectedRows(f().List5).empty());
    EXPECT_FALSE(s().Busy);
}

TEST_F(LocateTest, FilteredTableWalkMarksOnlyTheLinesItHolds) {
    fillTable(false, {1, 3, 4});
    for (int t : {0, 2, 3}) d().PlayOrder[static_cast<std::size_t>(t)] = t + 1;
    f().Command10[2].click();
    EXPECT_EQ(selectedRows(f().List2), (std::vector<int>{0, 2, 3}));
    EXPECT_EQ(selectedRows(f().List3_0[2]), (std::vector<int>{0, 2, 3}));
    // Lines: 2 = track 1, 3 = track 3, 4 = track 4; only track 3 was played.
    EXPECT_EQ(selectedRows(f().List4), std::vector<int>{3});
    EXPECT_EQ(f().MultiPage1.Value(), 1);

    d().CurrentTrack = 1;
    f().List2.setListIndex(1);
    f().Command10[1].click();
    EXPECT_EQ(selectedRows(f().List4), std::vector<int>{2});
    EXPECT_EQ(selectedRows(f().List2), std::vector<int>{1});
}

TEST_F(LocateTest, PlayedWithNothingPlayedClearsEverySelection) {
    fillTable(true);
    f().List2.setSelected(2, true);
    f().List5.setSelected(4, true);
    f().List3_0[0].setSelected(2, true);
    f().Command10[2].click();
    EXPECT_TRUE(selectedRows(f().List2).empty());
    EXPECT_TRUE(selectedRows(f().List5).empty());
    EXPECT_TRUE(selectedRows(f().List3_0[0]).empty());
}

TEST_F(LocateTest, PlayedWithEmptyTablesMarksTheListsAndKeepsThePage) {
    f().List4.Clear();
    f().List5.Clear();
    f().List5.setEnabled(true);
    f().MultiPage1.setValue(0);
    d().PlayOrder[1] = 1;
    f().Command10[2].click();
    EXPECT_EQ(selectedRows(f().List2), std::vector<int>{1});
    EXPECT_EQ(f().MultiPage1.Value(), 0);
    EXPECT_FALSE(s().Busy);
}

}  // namespace
}  // namespace tarvolin
