// The full and the filtered track table: the fixed-width rows, rebuilding
// when the tracks changed, the class field rewritten after a rating, a press
// on a line selecting its track, and the table brought by a filter part file.
#include <filesystem>

#include "library/track_table_fixture.h"

namespace tarvolin {
namespace {

// Character (code point) positions, 1-based, of every "|" in a UTF-8 line.
std::vector<int> barPositions(const std::string& line) {
    std::vector<int> out;
    int position = 0;
    for (unsigned char b : line) {
        if ((b & 0xC0) == 0x80) continue;
        ++position;
        if (b == '|') out.push_back(position);
    }
    return out;
}

std::string ascii(const std::string& text, std::size_t width) {
    std::string s = text.substr(0, width);
    s.resize(width, ' ');
    return s + "|";
}

class TableRowsTest : public TrackTableTest {};

TEST_F(TableRowsTest, LatinRowHasTheElevenFieldsInTheirWidths) {
    addTrack({"/music/rock/song.mp3", "Song", "Band", "Album One", "Rock", "2004", 4, 3725, 3.45, 128});
    lib().Filtered_Songs_List(-1);

    const std::string expected = ascii("Song", 45) + PadRight("Κλάση Α' - Class A'", 20) + "|" +
                                 ascii("01:02:05", 9) +
                                 ascii("03.45Mb", 10) + ascii("128Kbps", 7) + ascii("Rock", 15) +
                                 ascii("Band", 20) + ascii("Album One", 50) + ascii("2004", 4) +
                                 ascii("song.mp3", 60) + ascii("/music/rock/", 256);
    ASSERT_EQ(d().TableRows.size(), 1u);
    EXPECT_EQ(d().TableRows[0], expected);
    EXPECT_EQ(Len(expected), 507u);

    ASSERT_EQ(f1().List5.ListCount(), 3);
    const std::string line = f1().List5.List(2);
    EXPECT_EQ(line, "000001|000001|" + expected);
    EXPECT_EQ(Mid(line, 8, 6), "000001");
    EXPECT_EQ(Mid(line, 15), d().TableRows[0]);
    EXPECT_EQ(Mid(d().TableRows[0], 47, 20), PadRight("Κλάση Α' - Class A'", 20));
}

TEST_F(TableRowsTest, HeadingAndSeparatorLinesMatchTheRows) {
    addTrack({"/m/a.mp3", "A", "", "", "", "", 0, 1, 1, 1});
    lib().Filtered_Songs_List(-1);
    const std::string heading = f1().List5.List(0);
    const std::string separator = f1().List5.List(1);
    EXPECT_EQ(Left(heading, 14), "FILTER| TOTAL|");
    EXPECT_EQ(Mid(heading, 15, 46), PadRight("          ΤΙΤΛΟΣ - TITLE", 45) + "|");
    EXPECT_EQ(Left(separator, 14), "~~~~~~|~~~~~~|");
    EXPECT_EQ(Len(heading), 521u);
    EXPECT_EQ(Len(separator), 521u);
    EXPECT_EQ(barPositions(heading), barPositions(f1().List5.List(2)));
    EXPECT_EQ(barPositions(separator), barPositions(f1().List5.List(2)));
}

TEST_F(TableRowsTest, GreekAndOtherScriptsKeepTheColumnsAligned) {
    addTrack({"/m/a.mp3", "Plain", "Band", "Album", "Rock", "1999", 0});
    addTrack({"/μουσική/Θάλασσα.mp3", "Θάλασσα και ουρανός", "Νίκος", "Άλμπουμ", "Έντεχνο", "1999", 5});
    addTrack({"/音楽/曲.mp3", "東京 🎵 夜", "アーティスト", "アルバム", "ポップ", "2020", 2});
    lib().Filtered_Songs_List(-1);
    ASSERT_EQ(f1().List5.ListCount(), 5);
    const auto bars = barPositions(f1().List5.List(2));
    ASSERT_EQ(bars.size(), 13u);
    for (int j = 2; j < 5; ++j) {
        EXPECT_EQ(Len(f1().List5.List(j)), 521u) << j;
        EXPECT_EQ(barPositions(f1().List5.List(j)), bars) << j;
    }
    EXPECT_EQ(Mid(f1().List5.List(3), 8, 6), "000002");
    EXPECT_EQ(Left(d().TableRows[1], 19), "Θάλασσα και ουρανός");
    EXPECT_EQ(Mid(d().TableRows[1], 47, 20), PadRight("Κλάση Υ' - Class S'", 20));
}

TEST_F(TableRowsTest, LongValuesAreCutToTheirFields) {
    const std::string title(50, 't');
    const std::string folder = "/" + std::string(300, 'f') + "/";
    addTrack({folder + "x.mp3", title, "", "", "", "", 0, 1, 1, 1411});
    lib().Filtered_Songs_List(-1);
    const std::string& row = d().TableRows[0];
    EXPECT_EQ(Len(row), 507u);
    EXPECT_EQ(Left(row, 46), std::string(45, 't') + "|");
    EXPECT_EQ(Mid(row, 89, 8), "1411Kbp|");
    EXPECT_EQ(Right(row, 257), Left(folder, 256) + "|");
}

TEST_F(TableRowsTest, EmptyCollectionLeavesTheTablesAsTheyAre) {
    f1().List5.AddItem("kept");
    lib().Filtered_Songs_List(-1);
    EXPECT_EQ(f1().List5.ListCount(), 1);
    EXPECT_EQ(logLines("Filtering"), 0);
    EXPECT_FALSE(state().Filtering);
}

TEST_F(TableRowsTest, OneTrackGetsItsLineAfterStartUpLeftOneEmptyRow) {
    d().TableRows.assign(1, std::string());  // as start-up leaves it
    addTrack({"/m/only.mp3", "Only", "", "", "Solo"});
    typeFilter(4, "solo");
    EXPECT_EQ(Left(d().TableRows[0], 4), "Only");
    EXPECT_EQ(tracksOf(f1().List4), (std::vector<int>{1}));
    typeFilter(4, "");
    EXPECT_EQ(tracksOf(f1().List5), (std::vector<int>{1}));
}

TEST_F(TableRowsTest, StaleRowsAreRebuiltWhenTracksWereAddedOrRemoved) {
    addTrack({"/m/a.mp3", "Alpha", "", "", "Rock"});
    addTrack({"/m/b.mp3", "Beta", "", "", "Jazz"});
    lib().Filtered_Songs_List(-1);
    d().FiltersDirty = false;

    // Added: a filter change rebuilds the rows first and, with the filter on,
    // shows the filtered table at once.
    addTrack({"/m/c.mp3", "Gamma", "", "", "Rock"});
    typeFilter(4, "rock");
    EXPECT_TRUE(d().FiltersDirty);
    EXPECT_EQ(d().TableRows.size(), 3u);
    EXPECT_EQ(tracksOf(f1().List5), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(tracksOf(f1().List4), (std::vector<int>{1, 3}));
    EXPECT_TRUE(f1().List4.Visible());
    EXPECT_FALSE(f1().List5.Visible());

    // Removed: the first track goes, the others close up.
    clearFilters();
    d().FiltersDirty = false;
    h->collection.Remove_Track_Data(0);
    f1().List2.RemoveItem(0);
    for (ListBox& column : f1().List3_0) column.RemoveItem(0);
    d().TrackCount = 2;
    d().resizeTrackTables(2);
    lib().Filtered_Songs_List(0);
    EXPECT_TRUE(d().FiltersDirty);
    ASSERT_EQ(f1().List5.ListCount(), 4);
    EXPECT_EQ(Left(d().TableRows[0], 4), "Beta");
    EXPECT_EQ(Left(f1().List5.List(3), 19), "000002|000002|Gamma");
    EXPECT_TRUE(f1().List5.Visible());
    EXPECT_TRUE(f1().List5.Enabled());
    EXPECT_FALSE(f1().List4.Enabled());
}

TEST_F(TableRowsTest, UnchangedTracksAreFilteredFromTheStoredRows) {
    addTrack({"/m/a.mp3", "Alpha"});
    lib().Filtered_Songs_List(-1);
    d().FiltersDirty = false;
    d().TrackTitle[0] = "Changed";  // a rebuild would show this
    typeFilter(0, "unmarked");
    EXPECT_FALSE(d().FiltersDirty);
    ASSERT_EQ(f1().List4.ListCount(), 3);
    EXPECT_EQ(Mid(f1().List4.List(2), 15, 5), "Alpha");
}

TEST_F(TableRowsTest, RatingRewritesTheFavourFieldOfOneRow) {
    addTrack({"/m/a.mp3", "Alpha", "", "", "", "", 0});
    addTrack({"/m/b.mp3", "Beta", "", "", "", "", 0});
    lib().Filtered_Songs_List(-1);
    d().FiltersDirty = false;
    const std::string before = d().TableRows[0];

    d().TrackClass[1] = 5;
    lib().Refresh_Filtered_Row(1, 0);
    EXPECT_EQ(Mid(d().TableRows[1], 47, 20), PadRight("Κλάση Υ' - Class S'", 20));
    EXPECT_EQ(Len(d().TableRows[1]), 507u);
    EXPECT_EQ(f1().List5.List(3), "000002|000002|" + d().TableRows[1]);
    EXPECT_EQ(d().TableRows[0], before);
    EXPECT_FALSE(d().FiltersDirty);

    // Out of range: nothing changes.
    lib().Refresh_Filtered_Row(7, 0);
    lib().Refresh_Filtered_Row(-1, 0);
    EXPECT_EQ(f1().List5.ListCount(), 4);
}

TEST_F(TableRowsTest, RatingUpdatesTheTableOfASingleTrack) {
    addTrack({"/m/a.mp3", "Alpha", "", "", "", "", 0});
    lib().Filtered_Songs_List(-1);
    d().TrackClass[0] = 3;
    lib().Refresh_Filtered_Row(0, 0);
    EXPECT_EQ(Mid(f1().List5.List(2), 61, 20), PadRight("Κλάση Β' - Class B'", 20));
}

TEST_F(TableRowsTest, TableLineNumbersAreFirstCountThenTrack) {
    for (int i = 0; i < 5; ++i) addTrack({"/m/" + std::to_string(i) + ".mp3", "t", "", "", i % 2 ? "Odd" : "Even"});
    lib().Filtered_Songs_List(-1);
    typeFilter(4, "odd");
    ASSERT_EQ(f1().List4.ListCount(), 4);
    EXPECT_EQ(Left(f1().List4.List(2), 14), "000001|000002|");
    EXPECT_EQ(Left(f1().List4.List(3), 14), "000002|000004|");
    EXPECT_EQ(f1().List4.List(0), f1().List5.List(0));
}

class LinePressTest : public TrackTableTest {
protected:
    void SetUp() override {
        TrackTableTest::SetUp();
        for (int i = 0; i < 4; ++i) addTrack({"/m/" + std::to_string(i) + ".mp3", "T" + std::to_string(i)});
        lib().Filtered_Songs_List(-1);
    }
    void press(ListBox& table, int line) {
        table.setListIndex(line);
        table.MouseDown.raise(1, 0, 10.0f, 10.0f);
    }
};

TEST_F(LinePressTest, PressOnATrackLineSelectsItsTrackInEveryList) {
    press(f1().List5, 4);  // track 3
    EXPECT_EQ(f1().List2.ListIndex(), 2);
    EXPECT_TRUE(f1().List2.Selected(2));
    for (ListBox& column : f1().List3_0) {
        EXPECT_EQ(column.ListIndex(), 2);
        EXPECT_TRUE(column.Selected(2));
    }
    EXPECT_FALSE(state().Busy);

    // In the filtered table the second number names the track.
    typeFilter(8, "t3");
    press(f1().List4, 2);
    EXPECT_EQ(f1().List2.ListIndex(), 3);
}

TEST_F(LinePressTest, HeadingSeparatorAndUnknownNumbersSelectNothing) {
    press(f1().List5, 0);
    press(f1().List5, 1);
    EXPECT_EQ(f1().List2.ListIndex(), -1);

    // A line naming a track beyond the list, or track 0.
    f1().List5.AddItem("000009|000099|" + d().TableRows[0]);
    press(f1().List5, f1().List5.ListCount() - 1);
    f1().List5.AddItem("000009|000000|" + d().TableRows[0]);
    press(f1().List5, f1().List5.ListCount() - 1);
    EXPECT_EQ(f1().List2.ListIndex(), -1);
    EXPECT_FALSE(state().Busy);

    f1().List4.Clear();
    f1().List4.MouseDown.raise(1, 0, 0, 0);
    EXPECT_EQ(f1().List2.ListIndex(), -1);
}

class FilterFileTableTest : public TrackTableTest {};

TEST_F(FilterFileTableTest, LoadedTableIsUsedWithoutARebuild) {
    Program& p = app();
    p.collection.Make_Data_Folder(1);
    p.collection.Make_Data_Folder(3);
    d().CollectionPath = p.AppFolder() + "tarvolin_sylloges/mix.tlf";
    addTrack({"/m/a.mp3", "Θάλασσα", "Νίκος", "", "Έντεχνο", "1999", 4});
    addTrack({"/m/b.mp3", "Beta", "Band", "", "Rock", "2004", 1});
    addTrack({"/m/c.mp3", "Gamma", "Band", "", "Rock", "2004", 0});
    lib().Refresh_Filters();
    const std::vector<std::string> genres = itemsOf(4);
    std::vector<std::string> lines;
    for (int j = 0; j < f1().List5.ListCount(); ++j) lines.push_back(f1().List5.List(j));
    p.collection.Save_Collection(false, false);
    ASSERT_TRUE(p.collection.d.CollectionSaved);

    // A second program opens the collection with its filters.
    ProgramHarness other;
    for (const char* name : kClassNames) other->Form1.Combo4_0[0].AddItem(name);
    std::filesystem::copy(p.AppFolder() + "tarvolin_sylloges", other->AppFolder() + "tarvolin_sylloges");
    std::filesystem::copy(p.AppFolder() + "tarvolin_filtra", other->AppFolder() + "tarvolin_filtra");
    CollectionData& od = other->collection.d;
    od.CollectionPath = other->AppFolder() + "tarvolin_sylloges/mix.tlf";
    other->state.LoadFiltersAtStart = true;
    other->collection.Load_Collection();
    ASSERT_EQ(other->Form1.List2.ListCount(), 3);
    ASSERT_EQ(other->Form1.List5.ListCount(), 5);
    EXPECT_EQ(od.TableRows.size(), 3u);
    EXPECT_FALSE(od.FiltersDirty);

    // Filtering works on the rows that came with the file.
    od.TrackTitle[2] = "Changed";  // a rebuild would show this
    other->Form1.Combo4_0[4].userEdited("rock");
    EXPECT_FALSE(od.FiltersDirty);
    Form1& of = other->Form1;
    ASSERT_EQ(of.List4.ListCount(), 4);
    EXPECT_EQ(of.List4.List(3), "000002|000003|" + Mid(lines[4], 15));
    for (int j = 0; j < of.List5.ListCount(); ++j) EXPECT_EQ(of.List5.List(j), lines[static_cast<std::size_t>(j)]);
    std::vector<std::string> loadedGenres;
    for (int i = 0; i < of.Combo4_0[4].ListCount(); ++i) loadedGenres.push_back(of.Combo4_0[4].List(i));
    EXPECT_EQ(loadedGenres, genres);
}

}  // namespace
}  // namespace tarvolin
