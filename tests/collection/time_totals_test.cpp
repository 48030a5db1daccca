// The time-totals lines and the progress bars.
#include "collection/store_fixture.h"

namespace tarvolin {
namespace {

using TimeTotalsTest = StoreTest;

TEST_F(TimeTotalsTest, TimeTextsRoundToWholeSeconds) {
    EXPECT_EQ(CollectionStore::timeTotalText(money(3725)), "000:01:02:05");
    EXPECT_EQ(CollectionStore::timeTotalText(money(90061)), "001:01:01:01");
    EXPECT_EQ(CollectionStore::timeTotalText(money(0.5)), "000:00:00:00");
    EXPECT_EQ(CollectionStore::timeTotalText(money(1.5)), "000:00:00:02");
    EXPECT_EQ(CollectionStore::timeTotalText(money(59.6)), "000:00:01:00");
    EXPECT_EQ(CollectionStore::timeTotalText(money(1000 * 86400.0)), "1000:00:00:00");
}

TEST_F(TimeTotalsTest, CollectionLineAndItsCompactMirror) {
    addTrack("/m/0.mp3", 5, 4000);
    d().PlayedTimeNow = money(3725);
    d().DurationLeft = money(275);
    store().Show_Time_Totals();

    const std::string line = f1().Label2[0].Caption();
    EXPECT_EQ(line, "Τώρα - Now:  000:01:02:05   Σύνολο - Sum:   000:01:06:40   Ακόμη - Left:    000:00:04:35");
    EXPECT_EQ(d().TimeTextTotal, "000:01:06:40");
    EXPECT_FALSE(f1().Label2[1].Visible());
    EXPECT_EQ(app().Form4.Label2[0].Caption(), line);
    EXPECT_FALSE(app().Form4.Label2[1].Visible());
}

TEST_F(TimeTotalsTest, ChosenClassLineFollowsTheCurrentTrack) {
    addTrack("/m/0.mp3", 5, 100);
    addTrack("/m/1.mp3", 2, 100);
    d().PlayClassOn[5] = -1;
    d().PlayClassActive = true;
    d().FavorDuration = money(100);
    d().FavorPlayedNow = money(61);
    d().FavorTimeLeft = money(39);

    d().CurrentTrack = 0;
    store().Show_Time_Totals();
    Label& chosen = f1().Label2[1];
    EXPECT_TRUE(chosen.Visible());
    EXPECT_TRUE(chosen.Enabled());
    EXPECT_EQ(chosen.Caption(), "Προτίμηση -> Τώρα - Now:   000:00:01:01   Σύνολο - Sum:   000:00:01:40"
                                "   Ακόμη - Left:   000:00:00:39 <-- Rating");
    EXPECT_EQ(app().Form4.Label2[1].Caption(), chosen.Caption());
    EXPECT_TRUE(app().Form4.Label2[1].Enabled());

    d().CurrentTrack = 1;
    store().Show_Time_Totals();
    EXPECT_FALSE(chosen.Enabled());
    EXPECT_FALSE(app().Form4.Label2[1].Enabled());

    // A current track outside the tables, or with an odd class, is in no
    // chosen class.
    for (std::int32_t current : {-1, 2, 5000}) {
        d().CurrentTrack = 0;
        store().Show_Time_Totals();
        d().CurrentTrack = current;
        store().Show_Time_Totals();
        EXPECT_FALSE(chosen.Enabled()) << current;
    }
    d().CurrentTrack = 0;
    d().TrackClass[0] = -3;
    store().Show_Time_Totals();
    EXPECT_FALSE(chosen.Enabled());
}

TEST_F(TimeTotalsTest, NothingChangesWithoutTracksOrWhileBusy) {
    f1().Label2[0].setCaption("before");
    store().Show_Time_Totals();
    EXPECT_EQ(f1().Label2[0].Caption(), "before");

    addTrack("/m/0.mp3");
    app().state.Busy = true;
    store().Show_Time_Totals();
    EXPECT_EQ(f1().Label2[0].Caption(), "before");
}

TEST_F(TimeTotalsTest, ProgressBar) {
    f1().Shape1[0].setWidth(3000);
    Currency done = money(150);
    store().Show_Progress(done, money(100), 0);
    EXPECT_EQ(done, money(100)) << "the caller's count is lowered to the total";
    EXPECT_EQ(f1().Shape2[0].Width(), 3000);
    EXPECT_EQ(f1().Label11[0].Caption(), "100%");

    store().Show_Progress(50, 100, 0);
    EXPECT_EQ(f1().Shape2[0].Width(), 1500);
    EXPECT_EQ(f1().Label11[0].Caption(), "050%");

    store().Show_Progress(2, 5, 0);
    EXPECT_EQ(f1().Label11[0].Caption(), "040%");

    // A total of 0 and a bar that does not exist change nothing.
    store().Show_Progress(1, 0, 0);
    store().Show_Progress(1, 2, 7);
    EXPECT_EQ(f1().Label11[0].Caption(), "040%");

    // A frame without width still shows how far the work has come.
    f1().Shape1[1].setWidth(0);
    store().Show_Progress(1, 4, 1);
    EXPECT_EQ(f1().Shape2[1].Width(), 0);
    EXPECT_EQ(f1().Label11[1].Caption(), "025%");
}

}  // namespace
}  // namespace tarvolin
