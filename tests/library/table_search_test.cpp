// Searching the track tables: the table's own search button and the search
// button of the play-control page.
#include "library/track_table_fixture.h"

namespace tarvolin {
namespace {

class TableSearchTest : public TrackTableTest {
protected:
    void SetUp() override {
        TrackTableTest::SetUp();
        addTrack({"/music/Rock/one.mp3", "One", "Band", "", "Jazz"});      // line 2: folder holds it
        addTrack({"/music/two.mp3", "Two", "Band", "", "ROCK"});           // line 3
        addTrack({"/music/three.mp3", "Three", "Band", "", "Blues"});      // line 4
        addTrack({"/music/four.mp3", "Θάλασσα", "Νίκος", "", "rock"});     // line 5
        addTrack({"/music/five.mp3", "Five", "Band", "", "Pop"});          // line 6
        lib().Filtered_Songs_List(-1);
    }
    std::vector<int> selectedLines(const ListBox& table) {
        std::vector<int> out;
        for (int j = 0; j < table.ListCount(); ++j) {
            if (table.Selected(j)) out.push_back(j);
        }
        return out;
    }
};

TEST_F(TableSearchTest, TableSearchMarksMatchingLinesAndClearsTheOthers) {
    f1().List5.setSelected(4, true);
    f1().List5.setSelected(0, true);
    f1().Text2[4].setText("  RoCk ");
    f1().Command17.Click.raise();
    // The heading line keeps its state; every track line is marked or cleared.
    EXPECT_EQ(selectedLines(f1().List5), (std::vector<int>{0, 2, 3, 5}));
    EXPECT_EQ(f1().List5.ListIndex(), 5);
    EXPECT_TRUE(h.dialogs.transcript().empty());

    // Greek text, without regard to case.
    f1().Text2[4].setText("ΘΆΛΑΣΣΑ");
    f1().Command17.Click.raise();
    EXPECT_EQ(selectedLines(f1().List5), (std::vector<int>{0, 5}));
}

TEST_F(TableSearchTest, TableSearchWorksOnTheFilteredTableWhenItIsShown) {
    typeFilter(6, "band");
    ASSERT_EQ(tracksOf(f1().List4), (std::vector<int>{1, 2, 3, 5}));
    f1().Text2[4].setText("rock");
    f1().Command17.Click.raise();
    EXPECT_EQ(selectedLines(f1().List4), (std::vector<int>{2, 3}));
    EXPECT_EQ(selectedLines(f1().List5), (std::vector<int>{}));
}

TEST_F(TableSearchTest, TableSearchRefusesAnEmptyTextAndWaitsForABuild) {
    f1().Command17.Click.raise();
    ASSERT_EQ(h.dialogs.calls("MsgBox").size(), 1u);
    EXPECT_EQ(h.dialogs.last()->prompt, "Πληκτρολογήστε κείμενο για αναζήτηση - Type text to search");
    EXPECT_EQ(h.dialogs.last()->buttons, mb::Information);

    f1().Text2[4].setText("rock");
    state().Filtering = true;
    f1().Command17.Click.raise();
    state().Filtering = false;
    EXPECT_EQ(selectedLines(f1().List5), (std::vector<int>{}));

    // Both tables disabled, as while a table is built: nothing is marked.
    f1().List5.setEnabled(false);
    f1().List4.setEnabled(false);
    f1().Command17.Click.raise();
    EXPECT_EQ(selectedLines(f1().List5), (std::vector<int>{}));
    EXPECT_EQ(selectedLines(f1().List4), (std::vector<int>{}));
}

TEST_F(TableSearchTest, SearchButtonSwitchesFiltersOffAndAddsMatchesToTheSelection) {
    typeFilter(4, "blues");
    f1().List5.setSelected(6, true);
    f1().Text2[3].setText("Rock");
    f1().Command6[0].Click.raise();

    EXPECT_EQ(f1().Combo4_0[4].Text(), "");
    EXPECT_EQ(lib().TextFilterOn, 0);
    EXPECT_TRUE(f1().List5.Visible());
    EXPECT_FALSE(f1().List4.Visible());
    // Matching lines are added; line 6 keeps its selection.
    EXPECT_EQ(selectedLines(f1().List5), (std::vector<int>{2, 3, 5, 6}));
    EXPECT_EQ(f1().List5.ListIndex(), 5);
    EXPECT_EQ(f1().MultiPage1.Value(), 1);
}

TEST_F(TableSearchTest, SearchButtonRefusesAnEmptyTextAndSkipsAWholePath) {
    f1().Command6[0].Click.raise();
    ASSERT_EQ(h.dialogs.calls("MsgBox").size(), 1u);
    EXPECT_EQ(h.dialogs.last()->prompt, "Πληκτρολογήστε κείμενο για αναζήτηση - Type text to search");
    EXPECT_EQ(f1().MultiPage1.Value(), 0);

    f1().Text2[3].setText("/MUSIC/two.mp3");
    f1().Command6[0].Click.raise();
    EXPECT_EQ(selectedLines(f1().List5), (std::vector<int>{}));
    EXPECT_EQ(f1().MultiPage1.Value(), 1);
}

TEST_F(TableSearchTest, SearchOnAnEmptyCollectionFindsNothing) {
    h->collection.Reset_Collection(0);
    f1().Text2[4].setText("rock");
    f1().Command17.Click.raise();
    f1().Text2[3].setText("rock");
    f1().Command6[0].Click.raise();
    EXPECT_EQ(f1().List5.ListCount(), 0);
    EXPECT_EQ(f1().List4.ListCount(), 0);
}

}  // namespace
}  // namespace tarvolin
