// The timer tick and the player state events: the end-of-media road, the
// status boxes, the statistics and the auto-save.
#include <filesystem>

#include "playback_fixture.h"

namespace tarvolin {
namespace {

TEST_F(PlaybackTest, TheEndOfAFileStartsTheNextTrackThroughTheOneOffTick) {
    auto paths = startWithTracks(3, 2);
    app().playback.Command3_Click(0);
    run(400);
    ASSERT_EQ(mainPlayer().playState(), playstate::Playing);
    d().TrackResumePos[0] = Currency::fromInteger(1);

    // Wait for the end of the file.
    std::int64_t guard = 0;
    while (s().TimerPurpose != 2 && guard < 5000) {
        h.loop.advance(10);
        guard += 10;
    }
    ASSERT_EQ(s().TimerPurpose, 2);
    EXPECT_EQ(f().Timer1.Interval(), 300);
    EXPECT_EQ(s().SavedTimerInterval, 1000);
    EXPECT_EQ(d().TrackResumePos[0], Currency{});
    EXPECT_EQ(f().Command11.Picture(), "stop");
    EXPECT_EQ(h.tray.icon, 102);
    EXPECT_EQ(d().CurrentTrack, 0);

    h.loop.advance(300);
    EXPECT_EQ(d().CurrentTrack, 1);
    run(400);
    EXPECT_EQ(mainPlayer().URL(), paths[1]);
    EXPECT_EQ(mainPlayer().playState(), playstate::Playing);
    EXPECT_EQ(f().Timer1.Interval(), 1000);
    EXPECT_EQ(s().TimerPurpose, 0);
}

TEST_F(PlaybackTest, AFileThatEndsWhileBusyStartsTheNextTrackOnceBusyClears) {
    startWithTracks(3, 2);
    app().playback.Command3_Click(0);
    run(400);
    s().Busy = true;
    run(3000);
    EXPECT_EQ(s().TimerPurpose, 0);
    EXPECT_EQ(d().CurrentTrack, 0);
    s().Busy = false;
    run(2000);
    EXPECT_EQ(d().CurrentTrack, 1);
}

TEST_F(PlaybackTest, TheEndOfAFileInTheCompactWindowKeepsTheTraysInterval) {
    startWithTracks(2, 2);
    app().windows.Passage(true);
    s().WindowVisible = false;
    f().Timer1.setInterval(6000);
    app().playback.Command3_Click(0);
    EXPECT_EQ(app().Form4.WindowsMediaPlayer1.URL(), f().List2.List(0));
    std::int64_t guard = 0;
    while (s().TimerPurpose != 2 && guard < 8000) {
        h.loop.advance(10);
        guard += 10;
    }
    ASSERT_EQ(s().TimerPurpose, 2);
    EXPECT_EQ(s().SavedTimerInterval, 6000);
    h.loop.advance(300);
    EXPECT_EQ(d().CurrentTrack, 1);
}

TEST_F(PlaybackTest, TheTickFillsTheStatusBoxesAndTheTrayTip) {
    startWithTracks(2, 4000);
    // Nothing loaded: the zero texts.
    f().Text5[3].setText("x");
    app().playback.Timer1_Timer();
    EXPECT_EQ(f().Text5[1].Text(), "00:00:00");
    EXPECT_EQ(f().Text5[3].Text(), "");

    d().TrackSize[1] = Currency::fromDouble(1023.5);
    d().CurrentTrack = 1;
    app().playback.Command3_Click(0);
    run(3600);
    app().playback.Timer1_Timer();
    EXPECT_EQ(f().Text5[1].Text(), "00:00:03");
    EXPECT_EQ(f().Text5[2].Text(), "01:06:37");
    EXPECT_EQ(f().Text5[3].Text(), "1023.50Mb");
    EXPECT_EQ(f().Text5[4].Text(), "128");
    EXPECT_EQ(app().Form4.Text5[1].Text(), "00:00:03");
    EXPECT_EQ(h.tray.tip, "No(1) -> 00:00:03< - >01:06:37\r\n - t1.wav");

    d().TrackSize[1] = Currency::fromInteger(2047);
    app().playback.Timer1_Timer();
    EXPECT_EQ(f().Text5[3].Text(), "001.00Gb");
    d().TrackSize[1] = Currency::fromInteger(2048);
    app().playback.Timer1_Timer();
    EXPECT_EQ(f().Text5[3].Text(), "002.00Gb");
}

// The time left never shows below zero: not on the last track of a pass,
// whose own length already counts among the played tracks, not for a file
// whose length is unknown, nor past the end of a preview.
TEST_F(PlaybackTest, TheTimeLeftNeverShowsBelowZero) {
    struct Case {
        const char* name;
        double announced;
        bool preview;
    };
    const Case cases[] = {
        {"a whole pass", 6, false},
        {"a length unknown", 4294967295.0, false},
        {"a preview", 30, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(h.folder.file("tarvolin_sylloges"));
        h.build();
        startUp();
        addTracks(makeFiles(3, c.announced));
        s().ShuffleOn = false;
        s().PreviewOn = c.preview;
        app().playback.Command3_Click(0);
        for (int step = 0; step < 100; ++step) {
            run(250);
            for (const std::string& text : {f().Label2[0].Caption(), app().Form4.Label2[0].Caption(),
                                             f().Text5[1].Text(), f().Text5[2].Text(), app().Form4.Text5[2].Text()}) {
                ASSERT_EQ(text.find(":-"), std::string::npos) << text;
                ASSERT_EQ(text.find("--"), std::string::npos) << text;
            }
            for (const std::string& text : {f().Text5[2].Text(), app().Form4.Text5[2].Text()})
                ASSERT_NE(text.rfind('-', 0), 0u) << text;
            if (d().TotalDuration > Currency{}) {
                EXPECT_LE(d().PlayedTimeNow, d().TotalDuration);
            }
        }
    }
}

TEST_F(PlaybackTest, ListeningStatisticsCarryWithTheirOwnRules) {
    startWithTracks(2, 4000);
    app().playback.Command3_Click(0);
    run(400);
    ASSERT_EQ(mainPlayer().playState(), playstate::Playing);
    Playback& pb = app().playback;

    // At 6000 ms a tick adds six seconds; the overshoot past 59 is lost.
    f().Timer1.setInterval(6000);
    s().StatSeconds = 57;
    s().StatMinutes = 59;
    s().StatHours = 23;
    s().StatDays = 29;
    s().StatMonths = 12;
    s().StatYears = 3;
    pb.Timer1_Timer();
    EXPECT_EQ(s().StatSeconds, 0);
    EXPECT_EQ(s().StatMinutes, 0);
    EXPECT_EQ(s().StatHours, 0);
    EXPECT_EQ(s().StatDays, 0);
    EXPECT_EQ(s().StatMonths, 0);
    EXPECT_EQ(s().StatYears, 4);

    // Twelve months are not yet a year.
    s().StatSeconds = 57;
    s().StatDays = 29;
    s().StatHours = 23;
    s().StatMinutes = 59;
    s().StatMonths = 11;
    pb.Timer1_Timer();
    EXPECT_EQ(s().StatMonths, 12);
    EXPECT_EQ(s().StatYears, 4);

    // Paused: nothing counts.
    pb.Command11_Click();
    pb.Timer1_Timer();
    EXPECT_EQ(s().StatSeconds, 0);

    // Each change of the current track that a tick sees is a file played.
    const int files = s().StatFilesPlayed;
    d().CurrentTrack = 1;
    pb.Timer1_Timer();
    pb.Timer1_Timer();
    EXPECT_EQ(s().StatFilesPlayed, files + 1);
}

TEST_F(PlaybackTest, AutoSaveRunsEveryTenMinutesOfTheMonotonicClock) {
    startWithTracks(2, 60);
    const std::string part = h.folder.file("tarvolin_sylloges/tarvolin_Files.ptlf");
    ASSERT_FALSE(std::filesystem::exists(part));
    const std::string saved = " -> Σώθηκε 10' - Saved 10'";

    run(599000, 1000);
    EXPECT_EQ(log().find(saved), std::string::npos);
    run(2000, 1000);
    EXPECT_NE(log().find(saved), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(part));
    EXPECT_TRUE(d().CollectionSaved);

    // The local clock going back (midnight, a clock change) does not matter.
    h.loop.setNow(DateTime{2026, 12, 9, 0, 0, 5});
    run(601000, 1000);
    std::size_t first = log().find(saved);
    EXPECT_NE(log().find(saved, first + 1), std::string::npos);

    s().AutoSave = false;
    const std::string before = log();
    run(601000, 1000);
    EXPECT_EQ(log(), before);
}

TEST_F(PlaybackTest, TheTickDoesNothingWhileSuspendedAndNeverReentersItself) {
    startWithTracks(2, 60);
    s().TimerSuspended = true;
    f().Text5[1].setText("x");
    app().playback.Timer1_Timer();
    EXPECT_EQ(f().Text5[1].Text(), "x");
    s().TimerSuspended = false;

    // A tick that starts while another one yields returns at once.
    int inner = 0;
    h.loop.onYield = [&] {
        if (inner++ == 0) {
            f().Text5[1].setText("inner");
            app().playback.Timer1_Timer();
            EXPECT_EQ(f().Text5[1].Text(), "inner");
        }
    };
    app().playback.Timer1_Timer();
    h.loop.onYield = nullptr;
    EXPECT_EQ(f().Text5[1].Text(), "00:00:00");
}

}  // namespace
}  // namespace tarvolin
