// Selecting the tracks of one class from the Rating menu: the rows selected
// in the track list and its columns, the menu's check mark, the summary put
// in front of the log, and "Check Favorites".
#include <vector>

#include "collection/store_fixture.h"

namespace tarvolin {
namespace {

class ClassSelectionTest : public StoreTest {
protected:
    // Rows of a list that are selected.
    static std::vector<int> selectedRows(const ListBox& list) {
        std::vector<int> rows;
        for (int i = 0; i < list.ListCount(); ++i) {
            if (list.Selected(i)) rows.push_back(i);
        }
        return rows;
    }
    std::vector<MenuItem*> selectItems() {
        Form1& f = f1();
        return {&f.MnuMoreClassS, &f.MnuMoreClassA, &f.MnuMoreClassB,   &f.MnuMoreClassC,
                &f.MnuMoreClassX, &f.MnuMoreUnClass, &f.MnuMoreClassAll};
    }
    // The only checked item of the Select menu (null when none or several).
    MenuItem* checkedItem() {
        MenuItem* found = nullptr;
        for (MenuItem* item : selectItems()) {
            if (!item->Checked()) continue;
            if (found) return nullptr;
            found = item;
        }
        return found;
    }
    const std::string& log() { return f1().Text2[0].Text(); }
};

TEST_F(ClassSelectionTest, SelectingAClassSelectsItsRowsAndLogsTheirCountAndSize) {
    addTrack("/m/a1.mp3", 4, 60, 3.5);
    addTrack("/m/s.mp3", 5, 60, 9);
    addTrack("/m/a2.mp3", 4, 60, 4);
    addTrack("/m/u.mp3", 0, 60, 2);
    f1().Text2[0].setText("older line\r\n");
    f1().MnuMoreClassS.setChecked(true);

    f1().MnuMoreClassA.click();

    EXPECT_EQ(selectedRows(f1().List2), (std::vector<int>{0, 2}));
    for (ListBox& column : f1().List3_0) EXPECT_EQ(selectedRows(column), (std::vector<int>{0, 2}));
    EXPECT_EQ(checkedItem(), &f1().MnuMoreClassA);
    EXPECT_FALSE(app().state.Busy);

    const std::string expected = TimeText(h.loop.now()) + "-> Αριθμός αρχείων :  2 : Number of files\r\n" +
                                 "Μέγεθος (Mbytes):  7.5 :Size (Mbytes)\r\n\r\nolder line\r\n";
    EXPECT_EQ(log(), expected);
}

TEST_F(ClassSelectionTest, EachMenuItemSelectsItsOwnClass) {
    // One track per class, in class-code order, so row = class code.
    for (int c = 0; c <= 5; ++c) addTrack("/m/" + std::to_string(c) + ".mp3", c);
    struct Case {
        MenuItem& item;
        std::vector<int> rows;
    };
    Form1& f = f1();
    const Case cases[] = {
        {f.MnuMoreUnClass, {0}}, {f.MnuMoreClassX, {1}}, {f.MnuMoreClassC, {2}},
        {f.MnuMoreClassB, {3}},  {f.MnuMoreClassA, {4}}, {f.MnuMoreClassS, {5}},
        {f.MnuMoreClassAll, {0, 1, 2, 3, 4, 5}},
    };
    for (const Case& c : cases) {
        c.item.click();
        EXPECT_EQ(selectedRows(f.List2), c.rows) << c.item.Caption();
        EXPECT_EQ(selectedRows(f.List3_0[1]), c.rows) << c.item.Caption();
        EXPECT_EQ(checkedItem(), &c.item) << c.item.Caption();
    }
    // Every selection logged its own summary, the newest first.
    EXPECT_EQ(log().find(TimeText(h.loop.now()) + "-> Αριθμός αρχείων :  6 : Number of files"), 0u);
}

TEST_F(ClassSelectionTest, AnEmptyClassClearsTheSelectionAndCountsNothing) {
    addTrack("/m/0.mp3", 1, 60, 1.25);
    addTrack("/m/1.mp3", 1, 60, 1.25);
    f1().MnuMoreClassX.click();
    ASSERT_EQ(selectedRows(f1().List2), (std::vector<int>{0, 1}));
    EXPECT_NE(log().find(":  2.5 :Size"), std::string::npos);

    f1().MnuMoreClassB.click();
    EXPECT_TRUE(selectedRows(f1().List2).empty());
    for (ListBox& column : f1().List3_0) EXPECT_TRUE(selectedRows(column).empty());
    EXPECT_EQ(checkedItem(), &f1().MnuMoreClassB);
    EXPECT_EQ(log().find(TimeText(h.loop.now()) + "-> Αριθμός αρχείων :  0 : Number of files\r\n" +
                         "Μέγεθος (Mbytes):  0 :Size (Mbytes)\r\n\r\n"),
              0u);
}

TEST_F(ClassSelectionTest, AnEmptyCollectionOrAnUnknownCodeChangesNothing) {
    f1().MnuMoreClassAll.setChecked(true);
    f1().MnuMoreClassS.click();
    EXPECT_TRUE(f1().MnuMoreClassAll.Checked());
    EXPECT_FALSE(f1().MnuMoreClassS.Checked());
    EXPECT_EQ(log(), "");

    addTrack("/m/0.mp3", 5);
    app().library.SelectFavor(6);
    app().library.SelectFavor(-2);
    EXPECT_TRUE(f1().MnuMoreClassAll.Checked());
    EXPECT_TRUE(selectedRows(f1().List2).empty());
    EXPECT_EQ(log(), "");
}

TEST_F(ClassSelectionTest, RowsWithoutATableEntryAreNeverSelected) {
    addTrack("/m/0.mp3", 5);
    addTrack("/m/1.mp3", 5);
    // A row beyond the tables (the tables lag behind the list) is left alone.
    f1().List2.AddItem("/m/extra.mp3");
    d().resizeTrackTables(1);
    f1().MnuMoreClassAll.click();
    EXPECT_EQ(selectedRows(f1().List2), (std::vector<int>{0, 1}));
    EXPECT_NE(log().find(":  2 : Number of files"), std::string::npos);
}

TEST_F(ClassSelectionTest, TheListsStayQuietWhileTheSelectionChanges) {
    for (int i = 0; i < 5; ++i) addTrack("/m/" + std::to_string(i) + ".mp3", i % 2 == 0 ? 5 : 0);
    int listClicks = 0, columnClicks = 0;
    f1().List2.Click = [&] { ++listClicks; };
    f1().List3_0[2].Click = [&] { ++columnClicks; };

    f1().MnuMoreClassAll.click();
    f1().MnuMoreClassS.click();
    ASSERT_EQ(selectedRows(f1().List2), (std::vector<int>{0, 2, 4}));
    EXPECT_EQ(listClicks, 0);
    EXPECT_EQ(columnClicks, 0);
    EXPECT_FALSE(app().state.Busy);

    // The handlers are back afterwards.
    f1().List2.setListIndex(1);
    f1().List3_0[2].setListIndex(1);
    EXPECT_EQ(listClicks, 1);
    EXPECT_EQ(columnClicks, 1);
}

TEST_F(ClassSelectionTest, CheckFavoritesRecountsTheClassTotals) {
    addTrack("/m/0.mp3", 4, 60, 2);
    addTrack("/m/1.mp3", 4, 30, 3);
    addTrack("/m/2.mp3", 0, 10, 1);
    // Totals that drifted from the tracks.
    d().ClassCount = {7, 0, 0, 0, 0, 3};
    d().ClassSize[5] = money(99);

    f1().MnuMoreCheckFavorites.click();

    EXPECT_EQ(d().ClassCount, (std::array<std::int32_t, 6>{1, 0, 0, 0, 2, 0}));
    EXPECT_EQ(d().ClassSize[4], money(5));
    EXPECT_EQ(d().ClassSize[5], money(0));
    EXPECT_EQ(d().ClassDuration[4], money(90));
    EXPECT_EQ(d().TotalSize, money(6));
}

// Giving the unclassified class to a track that has none changes no total
// and logs nothing, but the display still follows the track like any other
// rating command.
TEST_F(ClassSelectionTest, RatingAnUnclassifiedTrackUnclassifiedStillShowsItsRow) {
    addTrack("/m/0.mp3", 3);
    addTrack("/m/1.mp3", 0);
    d().CurrentTrack = 1;
    f1().List3_0[1].setListIndex(0);
    const auto counts = d().ClassCount;

    f1().TrayFavorUnclass.click();

    EXPECT_EQ(d().ClassCount, counts);
    EXPECT_EQ(d().TrackClass[1], 0);
    EXPECT_EQ(f1().List3_0[1].ListIndex(), 1);
    EXPECT_TRUE(f1().TrayFavorUnclass.Checked());
    EXPECT_EQ(app().library.FavorCommand, 0);
    EXPECT_EQ(log().find("Αγαπημένα"), std::string::npos);
}

}  // namespace
}  // namespace tarvolin
