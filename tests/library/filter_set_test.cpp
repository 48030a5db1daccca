// The filter boxes: their value lists, each kind of filter alone and
// together, resetting them, and the full rebuild with its question and its
// wait for Busy to clear.
#include "library/track_table_fixture.h"

namespace tarvolin {
namespace {

class FilterValuesTest : public TrackTableTest {};

TEST_F(FilterValuesTest, EachBoxListsItsDistinctValuesOnceInOrder) {
    addTrack({"/m/a.mp3", "Zeta", "Band", "Live", "Rock", "1999", 0, 3900, 3.45, 128});
    addTrack({"/m/b.mp3", "alpha", "band", "Live", "rock", "2004", 0, 90300, 1024, 0});
    addTrack({"/m/c.mp3", "   ", "Άλφα", "", "Έντεχνο", " 1999 ", 0, 65, 12.5, 1411});
    addTrack({"/m/d.mp3", "Ωμέγα", "ΆΛΦΑ", "live", "Jazz", "", 0, 5, 2048.5, 64});

    lib().Add_Filters();
    // One hour five minutes, and 25 hours five minutes, both give 01:05.
    EXPECT_EQ(itemsOf(1), (std::vector<std::string>{"00:00", "00:01", "01:05"}));
    EXPECT_EQ(itemsOf(2), (std::vector<std::string>{"3.45Mb", "12.50Mb", "1.00Gb", "2.00Gb"}));
    EXPECT_EQ(itemsOf(3), (std::vector<std::string>{"0Kbps", "64Kbps", "128Kbps", "1411Kbps"}));
    // The first spelling stays; blanks around a tag are dropped, a blank tag
    // gives nothing.
    EXPECT_EQ(itemsOf(4), (std::vector<std::string>{"Jazz", "Rock", "Έντεχνο"}));
    EXPECT_EQ(itemsOf(5), (std::vector<std::string>{"Live"}));
    EXPECT_EQ(itemsOf(6), (std::vector<std::string>{"Band", "Άλφα"}));
    EXPECT_EQ(itemsOf(7), (std::vector<std::string>{"1999", "2004"}));
    EXPECT_EQ(itemsOf(8), (std::vector<std::string>{"alpha", "Zeta", "Ωμέγα"}));
    EXPECT_EQ(f1().Combo4_0[0].ListCount(), 6);  // the class names stay
    EXPECT_TRUE(d().FiltersDirty);
    EXPECT_EQ(logLines("Building collection filters..."), 1);
}

TEST_F(FilterValuesTest, RebuildingReplacesTheOldValues) {
    addTrack({"/m/a.mp3", "One", "", "", "Rock"});
    lib().Add_Filters();
    d().TrackGenre[0] = "Blues";
    lib().Add_Filters();
    EXPECT_EQ(itemsOf(4), (std::vector<std::string>{"Blues"}));
}

TEST_F(FilterValuesTest, EmptyCollectionEmptiesTheBoxesQuietly) {
    f1().Combo4_0[4].AddItem("Old");
    f1().List5.AddItem("old line");
    lib().Add_Filters();
    EXPECT_EQ(f1().Combo4_0[4].ListCount(), 0);
    EXPECT_EQ(f1().List5.ListCount(), 0);
    EXPECT_EQ(f1().Combo4_0[0].ListCount(), 6);
    EXPECT_FALSE(d().FiltersDirty);
    EXPECT_EQ(logLines("Building"), 0);
}

TEST_F(FilterValuesTest, NothingIsBuiltWhileBusy) {
    addTrack({"/m/a.mp3", "One", "", "", "Rock"});
    state().Busy = true;
    lib().Add_Filters();
    EXPECT_EQ(f1().Combo4_0[4].ListCount(), 0);
}

class FilterMatchTest : public TrackTableTest {
protected:
    void SetUp() override {
        TrackTableTest::SetUp();
        addTrack({"/music/rock/one.mp3", "Θάλασσα", "Νίκος", "Καλοκαίρι", "Έντεχνο", "1999", 4, 312, 3.45, 128});
        addTrack({"/music/two.mp3", "Blue Sky", "Band", "Blue Album", "Rock", "2004", 5, 3605, 13.45, 320});
        addTrack({"/music/three.mp3", "東京の夜", "アーティスト", "", "J-Pop", "2020", 0, 5, 1500, 96});
        addTrack({"/music/four.wav", "sea song", "band", "Blue Album", "rock", "1999", 4, 65, 0.5, 1411});
        lib().Filtered_Songs_List(-1);
    }
    std::vector<int> shown() { return tracksOf(f1().List4); }
};

TEST_F(FilterMatchTest, EachFilterAloneKeepsTheTracksWhoseValueHoldsItsText) {
    struct Case {
        int box;
        std::string text;
        std::vector<int> tracks;
    };
    const std::vector<Case> cases = {
        {0, "Κλάση Α' - Class A'", {1, 4}},
        {0, "class s", {2}},
        {1, "00:05", {1, 2, 3}},       // 00:05:12, 01:00:05, 00:00:05
        {2, "3.45Mb", {1, 2}},         // 03.45Mb and 13.45Mb
        {2, "gb", {3}},
        {3, "1411Kbps", {4}},
        {3, "28", {1}},
        {4, "ROCK", {2, 4}},
        {4, "έντεχνο", {1}},
        {5, "blue", {2, 4}},
        {6, "ΝΊΚΟΣ", {1}},
        {6, "アーティ", {3}},
        {7, "99", {1, 4}},
        {8, "θάλασσα", {1}},
        {8, "夜", {3}},
        {8, "nothing like it", {}},
    };
    for (const Case& c : cases) {
        typeFilter(c.box, c.text);
        EXPECT_EQ(shown(), c.tracks) << "box " << c.box << " \"" << c.text << "\"";
        EXPECT_EQ(lib().TextFilterOn, -1);
        EXPECT_TRUE(f1().List4.Visible());
        clearFilters();
    }
}

TEST_F(FilterMatchTest, FiltersTogetherKeepOnlyTracksMatchingAll) {
    typeFilter(4, "rock");
    typeFilter(7, "1999");
    EXPECT_EQ(shown(), (std::vector<int>{4}));
    typeFilter(0, "Class A'");
    EXPECT_EQ(shown(), (std::vector<int>{4}));
    typeFilter(3, "128");
    EXPECT_EQ(shown(), (std::vector<int>{}));
    EXPECT_EQ(f1().List4.ListCount(), 2);  // heading and separator only
    EXPECT_EQ(lib().FilterOn, (std::array<std::int32_t, 9>{-1, 0, 0, -1, -1, 0, 0, -1, 0}));
}

TEST_F(FilterMatchTest, PickingAValueFromTheListFilters) {
    lib().Add_Filters();
    ComboBox& genre = f1().Combo4_0[4];
    const int rock = genre.findStringExact("Rock");
    ASSERT_GE(rock, 0);
    genre.setListIndex(rock);
    EXPECT_EQ(shown(), (std::vector<int>{2, 4}));
}

TEST_F(FilterMatchTest, TextThatIsNoNumberInANumberBoxMatchesNothing) {
    typeFilter(1, "abc");
    EXPECT_EQ(shown(), (std::vector<int>{}));
    typeFilter(1, "");
    typeFilter(2, "-1");
    EXPECT_EQ(shown(), (std::vector<int>{}));
    EXPECT_FALSE(state().Filtering);
}

TEST_F(FilterMatchTest, EmptyBoxesShowTheFullTableWithoutRebuilding) {
    typeFilter(4, "rock");
    d().FiltersDirty = false;
    const std::string kept = f1().List5.List(2);
    typeFilter(4, "");
    EXPECT_EQ(lib().TextFilterOn, 0);
    EXPECT_TRUE(f1().List5.Visible());
    EXPECT_TRUE(f1().List5.Enabled());
    EXPECT_FALSE(f1().List4.Visible());
    EXPECT_FALSE(f1().List4.Enabled());
    EXPECT_EQ(f1().List5.List(2), kept);
    EXPECT_FALSE(d().FiltersDirty);
}

TEST_F(FilterMatchTest, BoxEventsDoNothingWhileBusyOrFiltering) {
    state().Busy = true;
    typeFilter(4, "rock");
    EXPECT_EQ(lib().TextFilterOn, 0);
    state().Busy = false;
    state().Filtering = true;
    lib().Gather_Filters();
    EXPECT_EQ(lib().TextFilterOn, 0);
    state().Filtering = false;
}

TEST_F(FilterMatchTest, RebootEmptiesTheBoxesAndKeepsTheSetUntilGathered) {
    typeFilter(4, "rock");
    typeFilter(8, "sea");
    lib().Reboot_Filters();
    for (ComboBox& box : f1().Combo4_0) EXPECT_EQ(box.Text(), "") << box.Index();
    EXPECT_EQ(lib().TextFilterOn, 0);
    EXPECT_EQ(lib().FilterText[4], "rock");  // until the next gathering
    EXPECT_FALSE(state().Busy);
    EXPECT_EQ(shown(), (std::vector<int>{4}));  // the boxes' events did nothing

    // A caller that holds Busy keeps it.
    state().Busy = true;
    lib().Reboot_Filters();
    EXPECT_TRUE(state().Busy);
}

TEST_F(FilterMatchTest, AllButtonShowsTheFullTable) {
    typeFilter(4, "rock");
    f1().Command16[1].Click.raise();
    EXPECT_EQ(f1().Combo4_0[4].Text(), "");
    EXPECT_TRUE(f1().List5.Visible());
    EXPECT_FALSE(f1().List4.Visible());

    // Nothing while a table is being built.
    typeFilter(4, "rock");
    state().Filtering = true;
    f1().Command16[1].Click.raise();
    EXPECT_EQ(f1().Combo4_0[4].Text(), "rock");
    state().Filtering = false;
}

class RefreshTest : public TrackTableTest {
protected:
    void SetUp() override {
        TrackTableTest::SetUp();
        addTrack({"/m/a.mp3", "One", "Band", "", "Rock"});
        addTrack({"/m/b.mp3", "Two", "Band", "", "Jazz"});
    }
};

TEST_F(RefreshTest, RefreshBuildsValuesResetsBoxesAndShowsTheFullTable) {
    state().Busy = true;
    f1().Combo4_0[6].setText("zzz");
    state().Busy = false;
    lib().Refresh_Filters();
    EXPECT_EQ(itemsOf(4), (std::vector<std::string>{"Jazz", "Rock"}));
    EXPECT_EQ(f1().Combo4_0[6].Text(), "");
    EXPECT_EQ(lib().TextFilterOn, 0);
    EXPECT_EQ(tracksOf(f1().List5), (std::vector<int>{1, 2}));
    EXPECT_TRUE(f1().List5.Visible());
    EXPECT_TRUE(f1().Frame12.Enabled());
    EXPECT_TRUE(d().FiltersDirty);
    EXPECT_EQ(logLines("Filtering Ended"), 1);
}

TEST_F(RefreshTest, RefreshAskedWhileBusyRunsOnceBusyClears) {
    state().Busy = true;
    lib().Refresh_Filters();
    lib().Refresh_Filters();
    h.loop.advance(1000);
    EXPECT_EQ(f1().List5.ListCount(), 0);

    state().Busy = false;
    h.loop.advance(1000);
    EXPECT_EQ(itemsOf(4), (std::vector<std::string>{"Jazz", "Rock"}));
    EXPECT_EQ(tracksOf(f1().List5), (std::vector<int>{1, 2}));
    EXPECT_EQ(logLines("Building collection filters"), 1);
    EXPECT_EQ(h.loop.pendingTimedCalls(), 0u);
}

TEST_F(RefreshTest, RefreshAskedDuringARebuildFollowsIt) {
    int asked = 0;
    h.loop.onYield = [&] {
        if (state().Filtering && asked++ == 0) lib().Refresh_Filters();
    };
    lib().Refresh_Filters();
    EXPECT_EQ(asked, 2);  // one yield per track while the table is built
    h.loop.onYield = nullptr;
    EXPECT_EQ(tracksOf(f1().List5), (std::vector<int>{1, 2}));
    h.loop.advance(1000);
    EXPECT_EQ(logLines("Building collection filters"), 2);
    EXPECT_EQ(tracksOf(f1().List5), (std::vector<int>{1, 2}));
}

TEST_F(RefreshTest, RemakeAsksFirst) {
    const std::string question =
        "Θέλετε να δημιουργήσετε νέα φίλτρα για τα αρχεία σας; Αυτό μπορεί να απαιτήσει χρόνο.\r\n"
        "Would you like to remake the song filters? This action could take some time to complete. ";
    h.dialogs.answerMsgBox(mb::No);
    f1().MnuMoreFiltersRemake.click();
    ASSERT_NE(h.dialogs.last(), nullptr);
    EXPECT_EQ(h.dialogs.last()->prompt, question);
    EXPECT_EQ(h.dialogs.last()->buttons, mb::YesNo + mb::Question);
    EXPECT_EQ(f1().MultiPage1.Value(), 1);
    EXPECT_EQ(f1().List5.ListCount(), 0);

    h.dialogs.answerMsgBox(mb::Yes);
    f1().MnuMoreFiltersRemake.click();
    EXPECT_EQ(f1().MultiPage1.Value(), 0);
    EXPECT_EQ(tracksOf(f1().List5), (std::vector<int>{1, 2}));
}

TEST_F(RefreshTest, LoadFiltersItemTogglesTheSwitch) {
    const bool before = state().LoadFiltersAtStart;
    f1().MnuFiltersLoad.setChecked(before);
    f1().MnuFiltersLoad.click();
    EXPECT_EQ(state().LoadFiltersAtStart, !before);
    EXPECT_EQ(f1().MnuFiltersLoad.Checked(), !before);
    f1().MnuFiltersLoad.click();
    EXPECT_EQ(state().LoadFiltersAtStart, before);
}

TEST_F(RefreshTest, SingleTrackCollection) {
    h->collection.Reset_Collection(0);
    addTrack({"/m/only.mp3", "Only", "", "", "Solo"});
    lib().Refresh_Filters();
    EXPECT_EQ(tracksOf(f1().List5), (std::vector<int>{1}));
    typeFilter(4, "solo");
    EXPECT_EQ(tracksOf(f1().List4), (std::vector<int>{1}));
}

}  // namespace
}  // namespace tarvolin
