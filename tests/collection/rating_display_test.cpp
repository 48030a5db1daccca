// The rating display and the choice of the classes played.
#include "collection/store_fixture.h"

namespace tarvolin {
namespace {

using RatingDisplayTest = StoreTest;

TEST_F(RatingDisplayTest, ShowsTheClassOfTheTrack) {
    addTrack("/m/0.mp3", 0);
    addTrack("/m/1.mp3", 5);
    f1().TrayFavorA.setChecked(true);
    store().DeikseAgapi(5, 1);

    EXPECT_EQ(column(1, 1), "S");
    EXPECT_TRUE(f1().TrayFavorS.Checked());
    EXPECT_FALSE(f1().TrayFavorA.Checked());
    EXPECT_EQ(f1().MnuSystemTray_Favor.Caption(), "Προτίμηση Rating (*****)");
    EXPECT_EQ(f1().Command8.Caption(), "Προτίμηση Rating S");
    EXPECT_TRUE(f1().Command8.FontBold());
    EXPECT_EQ(f1().Label21[6].SpecialEffect(), 2);
    EXPECT_EQ(f1().Label9[6].BorderStyle(), 1);
    EXPECT_EQ(f1().Label10[6].Appearance(), 1);
    EXPECT_EQ(f1().Label9[6].BackColor(), 0x80000002);
    EXPECT_EQ(f1().Picture2.Picture(), "120");

    // A new class resets the old highlight.
    store().DeikseAgapi(0, 0);
    EXPECT_EQ(column(1, 0), "-");
    EXPECT_EQ(f1().Label21[6].SpecialEffect(), 0);
    EXPECT_EQ(f1().Label9[6].BorderStyle(), 0);
    EXPECT_EQ(f1().Label9[6].BackColor(), 0x80000016);
    EXPECT_EQ(f1().Label10[6].BackColor(), 0x80000003);
    EXPECT_EQ(f1().Label21[1].SpecialEffect(), 2);
    EXPECT_TRUE(f1().TrayFavorUnclass.Checked());
    EXPECT_FALSE(f1().TrayFavorS.Checked());
    EXPECT_FALSE(f1().Command8.FontBold());
    EXPECT_EQ(f1().Command8.Caption(), "Προτίμηση Rating ");
    EXPECT_EQ(f1().MnuSystemTray_Favor.Caption(), "Προτίμηση Rating");
}

TEST_F(RatingDisplayTest, MixedStarColoursAndTheCompactCopy) {
    addTrack("/m/0.mp3", 4);
    app().state.StarColours = 3;
    store().DeikseAgapi(4, 0);

    EXPECT_EQ(f1().Picture2.Picture(), "115");
    EXPECT_EQ(f1().Label21[2].Picture(), "604");
    EXPECT_EQ(f1().Label21[4].Picture(), "604");
    EXPECT_EQ(f1().Label21[1].Picture(), "601");
    EXPECT_EQ(f1().Label21[6].Picture(), "619");
    EXPECT_EQ(f1().Label21[5].Picture(), "617") << "the highlighted class has its own bar";

    Form4& compact = app().Form4;
    EXPECT_EQ(compact.Picture2.Picture(), "115");
    EXPECT_EQ(compact.Command8.Caption(), "Προτίμηση Rating A");
    EXPECT_TRUE(compact.Command8.FontBold());
    EXPECT_EQ(compact.Label21[5].Picture(), "617");
    EXPECT_EQ(compact.Label21[5].SpecialEffect(), 2);
    EXPECT_EQ(compact.Label9[5].BackColor(), 0x80000002);
    EXPECT_EQ(compact.Label9[5].Caption(), f1().Label9[5].Caption());

    // The other sets.
    struct Case { int colours, cls; const char* star; const char* bar1; const char* middle; const char* bar6; };
    for (const Case& c : {Case{0, 5, "120", "600", "602", "618"}, Case{1, 1, "105", "600", "603", "619"},
                          Case{2, 0, "101", "601", "604", "619"}, Case{1, 0, "102", "600", "603", "619"}}) {
        app().state.StarColours = c.colours;
        store().Show_Rating_Stars(0, c.cls);
        EXPECT_EQ(f1().Picture2.Picture(), c.star) << c.colours << "/" << c.cls;
        EXPECT_EQ(f1().Label21[1].Picture(), c.bar1) << c.colours;
        EXPECT_EQ(f1().Label21[3].Picture(), c.middle) << c.colours;
        EXPECT_EQ(f1().Label21[6].Picture(), c.bar6) << c.colours;
    }
}

TEST_F(RatingDisplayTest, ClassCountsGoIntoTheLabelsAndMenus) {
    addTrack("/m/0.mp3", 5, 90061, 3);
    addTrack("/m/1.mp3", 1, 60, 1);
    d().ClassLabelsDirty = true;
    d().TimeTextTotal = "001:01:02:01";
    store().Show_Class_Counts();

    EXPECT_EQ(f1().Label9[0].Caption(), " [00002] - [04.00 Mb] - [100%] - [001:01:02:01]");
    EXPECT_EQ(f1().Label9[6].Caption(), " [00001] - [03.00 Mb] - [50.0%] - [001:01:01:01]");
    EXPECT_EQ(f1().Label9[1].Caption(), " [00000] - [00.00 Mb] - [00.0%] - [000:00:00:00]");
    EXPECT_EQ(f1().TrayFavorX.Caption(), "Κλάσεως Χ - Class X [00001] - [01.00 Mb] - [50.0%]");
    EXPECT_EQ(f1().TrayFavorPlayX.Caption(), "Κλάσεως Χ - Class X");
    EXPECT_EQ(f1().MnuMorePlayS.Caption(), "Κλάσεως Υ΄ - Class S");
    EXPECT_EQ(f1().MnuMoreClassS.Caption(), "Κλάσεως Υ΄- Class S");
    EXPECT_EQ(f1().TrayFavorUnclass.Caption(), "Ασημείωτο - Unmarked [00000] - [00.00 Mb] - [00.0%]");
    EXPECT_EQ(f1().MnuMorePlayUnClass.Caption(), "Ασημείωτα - Unmarked");
}

TEST_F(RatingDisplayTest, NoTrackOrAnOddClassShowsNothingWrong) {
    store().DeikseAgapi(4, 0);  // empty collection
    EXPECT_EQ(f1().Command8.Caption(), "Προτίμηση Rating ");
    EXPECT_FALSE(f1().Command8.FontBold());
    for (int k = 1; k <= 6; ++k) EXPECT_EQ(f1().Label21[k].SpecialEffect(), 0) << k;

    addTrack("/m/0.mp3", 2);
    store().DeikseAgapi(2, 5);   // a track outside the list
    store().DeikseAgapi(2, -1);
    EXPECT_EQ(column(1, 0), "C");
    EXPECT_EQ(f1().Command8.Caption(), "Προτίμηση Rating C");

    store().DeikseAgapi(11, 0);  // not a class: shown as unclassified
    EXPECT_EQ(column(1, 0), "-");
    EXPECT_TRUE(f1().TrayFavorUnclass.Checked());
}

class ClassChoiceTest : public StoreTest {
protected:
    void SetUp() override {
        addTrack("/m/0.mp3", 5, 100);
        addTrack("/m/1.mp3", 4, 200);
        addTrack("/m/2.mp3", 0, 400);
        // Start-up restores "all classes".
        if (!f1().MnuMorePlayAll.Checked()) store().MnuFavor_Play(0);
    }
    std::string trayCaption() { return f1().MnuSystemTrayFavor.Caption(); }
};

TEST_F(ClassChoiceTest, ChoosingClassesRestrictsAndUnchoosingReturnsToAll) {
    ASSERT_TRUE(f1().MnuMorePlayAll.Checked());
    EXPECT_EQ(f1().MnuMoreFavor.Caption(), "Παίζε μόνο - Play only");

    f1().MnuMorePlayS.click();
    f1().TrayFavorPlayA.click();
    EXPECT_EQ(d().PlayClassOn[5], -1);
    EXPECT_EQ(d().PlayClassOn[4], -1);
    EXPECT_TRUE(f1().MnuMorePlayS.Checked());
    EXPECT_TRUE(f1().TrayFavorPlayS.Checked());
    EXPECT_TRUE(f1().MnuMorePlayA.Checked());
    EXPECT_TRUE(f1().TrayFavorPlayA.Checked());
    EXPECT_FALSE(f1().MnuMorePlayAll.Checked());
    EXPECT_FALSE(f1().TrayFavorPlayAll.Checked());
    EXPECT_EQ(trayCaption(), "Παίζε μόνο - Play only ! ");
    EXPECT_EQ(f1().MnuMoreFavor.Caption(), trayCaption());
    EXPECT_TRUE(d().PlayClassActive);
    EXPECT_EQ(d().FavorTrackCount, 2);
    EXPECT_EQ(d().FavorDuration, money(300));

    store().MnuFavor_Play(5);
    store().MnuFavor_Play(4);
    EXPECT_EQ(d().PlayClassOn[5], 0);
    EXPECT_EQ(d().PlayClassOn[4], 0);
    EXPECT_TRUE(f1().MnuMorePlayAll.Checked());
    EXPECT_TRUE(f1().TrayFavorPlayAll.Checked());
    EXPECT_FALSE(f1().TrayFavorPlayS.Checked());
    EXPECT_EQ(trayCaption(), "Παίζε μόνο - Play only");
    EXPECT_EQ(f1().MnuMoreFavor.Caption(), "Παίζε μόνο - Play only");
    EXPECT_FALSE(d().PlayClassActive);
}

TEST_F(ClassChoiceTest, UnmarkedUsesTheFirstSwitchAndAllCannotBeUnchecked) {
    f1().MnuMorePlayUnClass.click();
    EXPECT_EQ(d().PlayClassOn[0], -1);
    EXPECT_TRUE(f1().TrayFavorPlayUnClass.Checked());
    EXPECT_EQ(d().FavorTrackCount, 1);

    f1().MnuMorePlayAll.click();
    EXPECT_EQ(d().PlayClassOn[0], 0);
    EXPECT_TRUE(f1().MnuMorePlayAll.Checked());
    EXPECT_FALSE(f1().MnuMorePlayUnClass.Checked());
    EXPECT_EQ(trayCaption(), "Παίζε μόνο - Play only");

    f1().TrayFavorPlayAll.click();
    f1().TrayFavorPlayAll.click();
    EXPECT_TRUE(f1().MnuMorePlayAll.Checked());
    EXPECT_TRUE(f1().TrayFavorPlayAll.Checked());
    for (std::int16_t on : d().PlayClassOn) EXPECT_EQ(on, 0);
}

TEST_F(ClassChoiceTest, AChoiceThatCameWithACollectionCountsItsTracks) {
    // Start-up restores "all" before the collection arrives with its own
    // choice; the totals of the chosen classes must follow that choice.
    d().PlayClassOn = {-1, 0, 0, 0, 0, -1};
    store().syncClassChoiceMenus();
    EXPECT_TRUE(d().PlayClassActive);
    EXPECT_EQ(d().FavorTrackCount, 2);
    EXPECT_EQ(d().FavorDuration, money(500));

    d().PlayClassOn = {0, 0, 0, 0, 0, 0};
    store().syncClassChoiceMenus();
    EXPECT_FALSE(d().PlayClassActive);
    EXPECT_EQ(d().FavorTrackCount, 0);
    EXPECT_EQ(d().FavorDuration, money(0));
}

TEST_F(ClassChoiceTest, MenusFollowAChoiceThatCameWithACollection) {
    d().PlayClassOn = {0, 0, -1, 0, 0, -1};
    store().syncClassChoiceMenus();
    EXPECT_TRUE(f1().MnuMorePlayC.Checked());
    EXPECT_TRUE(f1().TrayFavorPlayS.Checked());
    EXPECT_FALSE(f1().MnuMorePlayAll.Checked());
    EXPECT_EQ(trayCaption(), "Παίζε μόνο - Play only ! ");

    // Toggling afterwards keeps the items with their switches.
    store().MnuFavor_Play(2);
    EXPECT_FALSE(f1().MnuMorePlayC.Checked());
    EXPECT_TRUE(f1().MnuMorePlayS.Checked());
    EXPECT_EQ(trayCaption(), "Παίζε μόνο - Play only ! ");

    // A value that names no class changes nothing.
    store().MnuFavor_Play(7);
    store().MnuFavor_Play(-2);
    EXPECT_EQ(d().PlayClassOn[5], -1);
    EXPECT_EQ(trayCaption(), "Παίζε μόνο - Play only ! ");
}

}  // namespace
}  // namespace tarvolin
