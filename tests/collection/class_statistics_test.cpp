// Counting by class, the class label texts, and the totals of the classes
// chosen for play.
#include <set>

#include "collection/store_fixture.h"

namespace tarvolin {
namespace {

using ClassStatisticsTest = StoreTest;

TEST_F(ClassStatisticsTest, CountsByTheClassColumn) {
    addTrack("/m/0.mp3", 5, 100, 2);
    addTrack("/m/1.mp3", 1, 50, 1);
    addTrack("/m/2.mp3", 3, 25, 4);
    // The column says otherwise for track 1; track 2's text names no class
    // and keeps the track's own class.
    f1().List3_0[1].setList(1, "A");
    f1().List3_0[1].setList(2, "??");
    d().TotalDuration = money(999);

    store().Calculate_Ratings();

    const CollectionData& data = d();
    EXPECT_EQ(data.TrackClass[1], 4);
    EXPECT_EQ(data.TrackClass[2], 3);
    EXPECT_EQ(data.ClassCount[5], 1);
    EXPECT_EQ(data.ClassCount[4], 1);
    EXPECT_EQ(data.ClassCount[3], 1);
    EXPECT_EQ(data.ClassCount[1], 0);
    EXPECT_EQ(data.ClassDuration[4], money(50));
    EXPECT_EQ(data.ClassSize[3], money(4));
    EXPECT_EQ(data.TotalDuration, money(175));
    EXPECT_EQ(data.TotalSize, money(7));

    // The window, tray menu and columns are usable again; the log says so.
    EXPECT_TRUE(f1().Enabled());
    EXPECT_TRUE(f1().MnuSystemTray.Enabled());
    for (ListBox& column : f1().List3_0) EXPECT_TRUE(column.Enabled());
    EXPECT_TRUE(f1().List3_0[1].Visible());
    const std::string log = f1().Text2[0].Text();
    EXPECT_NE(log.find("Υπολογισμός Προτιμήσεων... - Calculating Ratings..."), std::string::npos);
    EXPECT_TRUE(log.ends_with("-> Έτοιμο - Done\r\n")) << log;
}

TEST_F(ClassStatisticsTest, AnOddClassCodeIsCountedWithinTheClassTables) {
    addTrack("/m/0.mp3", 5);
    f1().List3_0[1].setList(0, "");
    d().TrackClass[0] = 12;
    store().Calculate_Ratings();
    EXPECT_EQ(d().TrackClass[0], 5);
    EXPECT_EQ(d().ClassCount[5], 1);
}

TEST_F(ClassStatisticsTest, ProgressEveryFortyTracksAndOverTheLastFifty) {
    for (int i = 0; i < 100; ++i) addTrack("/m/" + std::to_string(i) + ".mp3", 2);
    std::set<int> shown;
    f1().Text2[0].changed.listen([&](Property) {
        const std::string& text = f1().Text2[0].Text();
        const std::size_t at = text.find("\r\n");
        if (at != std::string::npos && text.find(" - ", at) != std::string::npos)
            shown.insert(std::stoi(text.substr(at + 2)));
    });
    store().Calculate_Ratings();

    std::set<int> expected{40};
    for (int k = 51; k <= 100; ++k) expected.insert(k);
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(f1().Label11[1].Caption(), "100%");
}

TEST_F(ClassStatisticsTest, CancelStopsTheCountAndReleasesTheWindow) {
    for (int i = 0; i < 10; ++i) addTrack("/m/" + std::to_string(i) + ".mp3", 4);
    int yields = 0;
    h.loop.onYield = [&] {
        if (++yields == 3) app().state.AbortKey = 27;
    };
    store().Calculate_Ratings();

    EXPECT_EQ(d().ClassCount[4], 3);
    EXPECT_EQ(app().state.AbortKey, 0);
    EXPECT_TRUE(f1().Enabled());
    EXPECT_TRUE(f1().MnuSystemTray.Enabled());
    EXPECT_NE(f1().Text2[0].Text().find("Ακυρώθηκε - Canceled\r\n"), std::string::npos);
}

TEST_F(ClassStatisticsTest, LabelTexts) {
    // Empty collection.
    d().ClassLabelsDirty = true;
    store().Class_Size_Labels();
    EXPECT_EQ(d().TotalSizeLabel, " [00000] - [00.00 Mb] - [100%]");
    EXPECT_EQ(d().ClassSizeLabel[3], " [00000] - [00.00 Mb] - [00.0%]");

    addTrack("/m/0.mp3", 5, 90061, 2048.5);
    addTrack("/m/1.mp3", 4, 10, 1024);
    addTrack("/m/2.mp3", 4, 10, 0);
    store().Class_Size_Labels();
    EXPECT_EQ(d().TotalSizeLabel, " [00003] - [03.00 Gb] - [100%]");
    EXPECT_EQ(d().ClassSizeLabel[5], " [00001] - [02.00 Gb] - [33.3%]");
    EXPECT_EQ(d().ClassSizeLabel[4], " [00002] - [1024.00 Mb] - [66.7%]");

    store().Class_Duration_Labels();
    EXPECT_EQ(d().ClassDurationLabel[5], " - [001:01:01:01]");
    EXPECT_FALSE(d().ClassLabelsDirty);

    // Nothing is rebuilt until something marks the texts again.
    d().ClassDuration[5] = money(1);
    d().ClassCount[5] = 0;
    store().Class_Size_Labels();
    store().Class_Duration_Labels();
    EXPECT_EQ(d().ClassDurationLabel[5], " - [001:01:01:01]");
    EXPECT_EQ(d().ClassSizeLabel[5], " [00001] - [02.00 Gb] - [33.3%]");
}

TEST_F(ClassStatisticsTest, ChosenClassTotals) {
    // An empty list touches nothing but the two totals.
    d().PlayClassActive = true;
    d().FavorTrackCount = 9;
    store().Calc_Favor_Totals();
    EXPECT_EQ(d().FavorTrackCount, 0);
    EXPECT_TRUE(d().PlayClassActive);

    addTrack("/m/0.mp3", 5, 100);
    addTrack("/m/1.mp3", 4, 200);
    addTrack("/m/2.mp3", 3, 400);
    d().FavorPlayedTotal = money(5);
    d().FavorPlayedNow = money(5);
    d().FavorTimeLeft = money(5);
    store().Calc_Favor_Totals();
    EXPECT_FALSE(d().PlayClassActive);
    EXPECT_EQ(d().FavorTrackCount, 0);
    EXPECT_EQ(d().FavorDuration, Currency{});
    EXPECT_EQ(d().FavorPlayedTotal, Currency{});
    EXPECT_EQ(d().FavorPlayedNow, Currency{});
    EXPECT_EQ(d().FavorTimeLeft, Currency{});

    d().PlayClassOn[5] = -1;
    d().PlayClassOn[4] = -1;
    store().Calc_Favor_Totals();
    EXPECT_TRUE(d().PlayClassActive);
    EXPECT_EQ(d().FavorTrackCount, 2);
    EXPECT_EQ(d().FavorDuration, money(300));
}

}  // namespace
}  // namespace tarvolin
