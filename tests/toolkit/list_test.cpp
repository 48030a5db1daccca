// List and combo box items, searches, selection and view notifications.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/controls.h"

using namespace tarvolin;

namespace {

void fill(ListBox& l, std::initializer_list<const char*> items) {
    for (const char* s : items) l.AddItem(s);
}

}  // namespace

TEST(ListBoxItems, AddListSetRemoveAndLimits) {
    ListBox l;
    EXPECT_TRUE(l.AddItem("b"));
    EXPECT_TRUE(l.AddItem("a", 0));
    EXPECT_FALSE(l.AddItem("x", 5));
    EXPECT_EQ(l.List(0), "a");
    EXPECT_EQ(l.List(1), "b");
    EXPECT_EQ(l.List(2), "");
    EXPECT_EQ(l.List(-1), "");
    // Setting List(ListCount) appends; beyond fails.
    EXPECT_TRUE(l.setList(2, "c"));
    EXPECT_FALSE(l.setList(4, "e"));
    EXPECT_EQ(l.ListCount(), 3);
    EXPECT_TRUE(l.setList(0, "A"));
    EXPECT_EQ(l.List(0), "A");

    // ListIndex follows the item it names across inserts and removals.
    l.setListIndex(1);
    l.AddItem("first", 0);
    EXPECT_EQ(l.ListIndex(), 2);
    l.RemoveItem(0);
    EXPECT_EQ(l.ListIndex(), 1);
    l.RemoveItem(1);
    EXPECT_EQ(l.ListIndex(), -1);
    EXPECT_FALSE(l.RemoveItem(5));

    ListBox full;
    for (int i = 0; i < ListControl::MaxItems; ++i) ASSERT_TRUE(full.AddItem(std::to_string(i)));
    EXPECT_FALSE(full.AddItem("one too many"));
    EXPECT_FALSE(full.setList(ListControl::MaxItems, "append"));
    EXPECT_EQ(full.ListCount(), 32766);
}

TEST(ListBoxItems, ListIndexRaisesClick) {
    ListBox l;
    fill(l, {"a", "b"});
    int clicks = 0;
    l.Click = [&] { ++clicks; };
    EXPECT_TRUE(l.setListIndex(1));
    EXPECT_TRUE(l.setListIndex(1));
    EXPECT_TRUE(l.setListIndex(-1));
    EXPECT_FALSE(l.setListIndex(2));
    EXPECT_EQ(clicks, 3);
    l.RemoveItem(0);
    l.Clear();
    EXPECT_EQ(clicks, 3);
}

TEST(ListBoxFind, PrefixAndExactWithStartAndWrap) {
    ListBox l;
    fill(l, {"Alpha", "beta", "ALPHABET", "gamma", "alpha"});
    // Prefix: starts after `start`, wraps round.
    EXPECT_EQ(l.findString("alp"), 0);
    EXPECT_EQ(l.findString("alp", 0), 2);
    EXPECT_EQ(l.findString("alp", 2), 4);
    EXPECT_EQ(l.findString("alp", 4), 0);
    EXPECT_EQ(l.findString("GAM", 3), 3);  // wraps round to the start item itself
    EXPECT_EQ(l.findString("delta"), -1);
    // Exact: whole text, no prefix matches.
    EXPECT_EQ(l.findStringExact("ALPHA"), 0);
    EXPECT_EQ(l.findStringExact("alpha", 0), 4);
    EXPECT_EQ(l.findStringExact("alpha", 4), 0);
    EXPECT_EQ(l.findStringExact("alphab"), -1);
    EXPECT_EQ(l.findStringExact("alp"), -1);

    // The index follows edits.
    l.AddItem("Delta");
    EXPECT_EQ(l.findStringExact("delta"), 5);
    l.RemoveItem(0);
    EXPECT_EQ(l.findStringExact("alpha"), 3);
    EXPECT_EQ(l.findStringExact("delta"), 4);
    l.setList(1, "Omega");
    EXPECT_EQ(l.findStringExact("alphabet"), -1);
    EXPECT_EQ(l.findStringExact("OMEGA"), 1);
    l.AddItem("alpha", 0);
    EXPECT_EQ(l.findStringExact("alpha", 0), 4);
    l.Clear();
    EXPECT_EQ(l.findStringExact("alpha"), -1);
    EXPECT_EQ(l.findString(""), -1);
}

TEST(ListBoxFind, GreekCaseFolding) {
    ListBox l;
    fill(l, {"/μουσική/Ελληνικά/ΤΡΑΓΟΥΔΙ.mp3", "Άσμα ασμάτων", "ΌΛΟΙ ΜΑΖΊ", "λόγος"});
    EXPECT_EQ(l.findStringExact("/ΜΟΥΣΙΚΉ/ελληνικά/τραγουδι.MP3"), 0);
    EXPECT_EQ(l.findStringExact("άσμα ΑΣΜΆΤΩΝ"), 1);
    EXPECT_EQ(l.findStringExact("όλοι μαζί"), 2);
    // Final sigma and sigma are one letter.
    EXPECT_EQ(l.findStringExact("ΛΌΓΟΣ"), 3);
    EXPECT_EQ(l.findString("ΛΌΓ"), 3);
    // Accents are not case: unaccented text does not match.
    EXPECT_EQ(l.findStringExact("ολοι μαζι"), -1);
    EXPECT_EQ(foldCase("ÀÉÎ Straße ΪΫ"), "àéî straße ϊϋ");
}

TEST(ListBoxFind, ManyExactLookups) {
    ListBox l;
    for (int i = 0; i < ListControl::MaxItems; ++i) l.AddItem("/music/Track " + std::to_string(i) + ".mp3");
    for (int i = 0; i < ListControl::MaxItems; ++i)
        ASSERT_EQ(l.findStringExact("/MUSIC/track " + std::to_string(i) + ".MP3"), i);
}

TEST(ListBoxFind, IndexStaysRightThroughEdits) {
    // Every kind of edit between finds, checked against a plain scan.
    ListBox l;
    std::uint32_t seed = 12345;
    auto next = [&seed](std::uint32_t n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % n;
    };
    auto name = [&] { return std::string(next(2) ? "Τραγούδι " : "SONG ") + std::to_string(next(40)); };
    auto scan = [&l](const std::string& text, int start) {
        const std::string key = foldCase(text);
        const int n = l.ListCount();
        for (int k = 1; k <= n; ++k) {
            const int i = (start + k) % n;
            if (foldCase(l.List(i)) == key) return i;
        }
        return -1;
    };
    for (int step = 0; step < 3000; ++step) {
        switch (next(5)) {
            case 0: l.AddItem(name()); break;
            case 1: l.AddItem(name(), static_cast<int>(next(static_cast<std::uint32_t>(l.ListCount()) + 1))); break;
            case 2: l.setList(static_cast<int>(next(static_cast<std::uint32_t>(l.ListCount()) + 1)), name()); break;
            default:
                if (l.ListCount() > 0) l.RemoveItem(static_cast<int>(next(static_cast<std::uint32_t>(l.ListCount()))));
                break;
        }
        const std::string probe = name();
        const int start = l.ListCount() ? static_cast<int>(next(static_cast<std::uint32_t>(l.ListCount()) + 1)) - 1 : -1;
        ASSERT_EQ(l.findStringExact(probe, start), scan(probe, start)) << "step " << step;
    }
    // Many inserts at one place use up the room between two rows' ids.
    ListBox m;
    fill(m, {"first", "last"});
    ASSERT_EQ(m.findStringExact("last"), 1);
    for (int i = 0; i < 40; ++i) {
        m.AddItem("mid " + std::to_string(i), 1);
        ASSERT_EQ(m.findStringExact("MID " + std::to_string(i)), 1);
        ASSERT_EQ(m.findStringExact("last"), i + 2);
    }
    EXPECT_EQ(m.findStringExact("mid 0"), 40);
}

TEST(ListBoxSelection, MultiSelectSeparateFromListIndex) {
    ListBox l;
    fill(l, {"a", "b", "c", "d"});
    l.setMultiSelect(2);
    int clicks = 0;
    l.Click = [&] { ++clicks; };
    l.setListIndex(0);
    l.setSelected(1, true);
    l.setSelected(3, true);
    l.setSelected(3, true);  // no change: no Click
    EXPECT_EQ(clicks, 3);
    EXPECT_EQ(l.ListIndex(), 0);
    EXPECT_FALSE(l.Selected(0));
    EXPECT_TRUE(l.Selected(1));
    EXPECT_TRUE(l.Selected(3));
    EXPECT_EQ(l.SelCount(), 2);
    // Removing a row moves the selection of the rows below.
    l.RemoveItem(2);
    EXPECT_TRUE(l.Selected(2));
    EXPECT_EQ(l.SelCount(), 2);
    // Inserting too.
    l.AddItem("new", 0);
    EXPECT_TRUE(l.Selected(2));
    EXPECT_TRUE(l.Selected(3));
    EXPECT_FALSE(l.Selected(1));

    // Without MultiSelect, Selected is the current row.
    ListBox s;
    fill(s, {"a", "b"});
    s.setSelected(1, true);
    EXPECT_EQ(s.ListIndex(), 1);
    EXPECT_TRUE(s.Selected(1));
    s.setSelected(1, false);
    EXPECT_EQ(s.ListIndex(), -1);
}

TEST(ListBoxSelection, WholeSelectionChosenAtOnceClicksOnce) {
    ListBox l;
    fill(l, {"a", "b", "c", "d"});
    l.setMultiSelect(2);
    l.setVisible(true);
    int clicks = 0, notes = 0;
    l.Click = [&] { ++clicks; };
    l.selectionChanged.listen([&](int) { ++notes; });
    // A range of three rows, one out of range ignored: one Click.
    l.userSelect({1, 2, 3, 9}, 3);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(l.ListIndex(), 3);
    EXPECT_EQ(l.SelCount(), 3);
    EXPECT_FALSE(l.Selected(0));
    // The same selection again: the view is not told again, Click still comes.
    notes = 0;
    l.userSelect({1, 2, 3}, 3);
    EXPECT_EQ(notes, 0);
    EXPECT_EQ(clicks, 2);
    // An index outside the list, or a disabled list, changes nothing.
    l.userSelect({0}, 7);
    l.setEnabled(false);
    l.userSelect({0}, 0);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(l.SelCount(), 3);
}

TEST(ListBoxView, RowSignalsAndOneResetAfterHiddenEdits) {
    ListBox l;
    std::vector<std::string> log;
    l.rowsInserted.listen([&](int first, int n) { log.push_back("ins " + std::to_string(first) + "+" + std::to_string(n)); });
    l.rowsRemoved.listen([&](int first, int n) { log.push_back("rem " + std::to_string(first) + "+" + std::to_string(n)); });
    l.rowChanged.listen([&](int i) { log.push_back("chg " + std::to_string(i)); });
    l.reset.listen([&] { log.push_back("reset"); });
    l.AddItem("a");
    l.setList(0, "b");
    l.RemoveItem(0);
    EXPECT_EQ(log, (std::vector<std::string>{"ins 0+1", "chg 0", "rem 0+1"}));
    log.clear();

    l.setVisible(false);
    for (int i = 0; i < 1000; ++i) l.AddItem(std::to_string(i));
    l.RemoveItem(0);
    EXPECT_TRUE(log.empty());
    l.setVisible(true);
    EXPECT_EQ(log, (std::vector<std::string>{"reset"}));
    log.clear();
    l.setVisible(false);
    l.setVisible(true);  // nothing changed while hidden
    EXPECT_TRUE(log.empty());
}

TEST(ListBoxItems, SortedInsertsInOrder) {
    ListBox l;
    l.setSorted(true);
    for (const char* s : {"delta", "Alpha", "charlie", "Bravo"}) l.AddItem(s);
    EXPECT_EQ(l.List(0), "Alpha");
    EXPECT_EQ(l.List(1), "Bravo");
    EXPECT_EQ(l.List(2), "charlie");
    EXPECT_EQ(l.List(3), "delta");
}
