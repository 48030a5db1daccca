// The snooze and shutdown window: its boxes, buttons and time-left display,
// and the alarm going off from the main window's timer.
#include <filesystem>

#include "playback/playback_fixture.h"

namespace tarvolin {
namespace {

DateTime at(int y, int mo, int d, int h, int mi, int s) {
    DateTime t;
    t.year = y;
    t.month = mo;
    t.day = d;
    t.hour = h;
    t.minute = mi;
    t.second = s;
    return t;
}

class SnoozeTest : public PlaybackTest {
protected:
    Form5& w() { return app().Form5; }

    // Fills the digit boxes of a mode (0 time, 3 countdown) as typed.
    void type(int first, const char* h, const char* m, const char* sec) {
        w().Text1[first].setText(h);
        w().Text1[first + 1].setText(m);
        w().Text1[first + 2].setText(sec);
    }
    void ok() { w().Command1[1].Click.raise(); }
};

// The loop's clock starts at 03-15-2024 12:00:00.

TEST_F(SnoozeTest, DigitBoxesKeepOnlyOneOrTwoDigitsWithinTheirRange) {
    for (int i = 0; i < 6; ++i) {
        TextBox& box = w().Text1[i];
        for (const char* bad : {"123", "ab", "-1", "1.5", " 5", ""}) {
            box.setText("7");
            box.setText(bad);
            EXPECT_EQ(box.Text(), "00") << "box " << i << " given '" << bad << "'";
        }
        box.setText("7");
        EXPECT_EQ(box.Text(), "7");
    }
    // Hours of the time 0 to 23, of the countdown 0 to 24; the others 0 to 59.
    w().Text1[0].setText("23");
    EXPECT_EQ(w().Text1[0].Text(), "23");
    w().Text1[0].setText("24");
    EXPECT_EQ(w().Text1[0].Text(), "00");
    w().Text1[3].setText("24");
    EXPECT_EQ(w().Text1[3].Text(), "24");
    w().Text1[3].setText("25");
    EXPECT_EQ(w().Text1[3].Text(), "00");
    w().Text1[5].setText("59");
    EXPECT_EQ(w().Text1[5].Text(), "59");
    w().Text1[1].setText("60");
    EXPECT_EQ(w().Text1[1].Text(), "00");

    // A spinner writes its value without a leading zero.
    w().VScroll1[4].setValue(7);
    EXPECT_EQ(w().Text1[4].Text(), "7");
}

TEST_F(SnoozeTest, TheModeBoxesExcludeEachOther) {
    app().windows.showSnoozeWindow();
    w().Check1.userClick();
    EXPECT_EQ(s().AlarmMode, 1);
    EXPECT_EQ(w().Check2.Value(), 0);
    w().Check2.userClick();
    EXPECT_EQ(s().AlarmMode, 2);
    EXPECT_EQ(w().Check1.Value(), 0);
    w().Check2.userClick();
    EXPECT_EQ(s().AlarmMode, 0);
    EXPECT_EQ(w().Check1.Value(), 0);

    w().Check4.userClick();
    EXPECT_EQ(s().AlarmShutdown, -1);
    w().Check4.userClick();
    EXPECT_EQ(s().AlarmShutdown, 0);
}

TEST_F(SnoozeTest, OpeningFillsTheWindowFromTheSettings) {
    putTracks(app(), {"/m/a.mp3", "/m/b.mp3", "/m/c.mp3"}, {60, 60, 60});
    s().AlarmTime = {7, 30, 99};
    s().AlarmCountdown = {0, 45, 5};
    s().AlarmFile = "/m/b.mp3";
    s().AlarmMode = 0;
    s().AlarmDueTime = -1;
    app().windows.showSnoozeWindow();

    EXPECT_TRUE(w().Visible());
    EXPECT_TRUE(w().Timer1.Enabled());
    ASSERT_EQ(w().Combo1.ListCount(), 3);
    EXPECT_EQ(w().Combo1.List(2), "/m/c.mp3");
    EXPECT_EQ(w().Combo1.ListIndex(), 1);
    EXPECT_EQ(w().Text1[0].Text(), "7");
    EXPECT_EQ(w().Text1[1].Text(), "30");
    EXPECT_EQ(w().Text1[2].Text(), "00");
    EXPECT_EQ(w().Text1[4].Text(), "45");
    // Mode 0 is the alarm off.
    EXPECT_EQ(w().Label2.Caption(), "Ανενεργό - Off");
    EXPECT_EQ(s().AlarmDueTime, 0);

    // A file no longer in the list leaves none selected.
    w().Hide();
    s().AlarmFile = "/m/gone.mp3";
    app().windows.showSnoozeWindow();
    EXPECT_EQ(w().Combo1.ListIndex(), -1);

    // With no file chosen yet, the first track is offered and Ok keeps it.
    w().Hide();
    s().AlarmFile.clear();
    app().windows.showSnoozeWindow();
    EXPECT_EQ(w().Combo1.ListIndex(), 0);
    ok();
    EXPECT_EQ(s().AlarmFile, "/m/a.mp3");

    // The menu items open it with the shutdown option cleared.
    w().Check4.setValue(1);
    f().mnutimesnooze.click();
    EXPECT_EQ(w().Check4.Value(), 0);
    EXPECT_EQ(s().AlarmShutdown, 0);
}

TEST_F(SnoozeTest, OkAimsAtTheNextTimeOfDayOrTheCountdownFromNow) {
    putTracks(app(), {"/m/a.mp3", "/m/b.mp3"}, {60, 60});
    app().windows.showSnoozeWindow();
    w().Check1.userClick();
    type(0, "7", "30", "0");
    w().Combo1.setListIndex(1);
    ok();
    EXPECT_EQ(s().AlarmTime, (std::array<std::int32_t, 3>{7, 30, 0}));
    EXPECT_EQ(s().AlarmFile, "/m/b.mp3");
    EXPECT_EQ(w().Label2.Caption(), "Ενεργό - On");
    EXPECT_EQ(w().lastAnnouncement(), "Ενεργό - On");
    // 07:30 has passed today: tomorrow.
    EXPECT_EQ(s().AlarmTarget, "03-16-2024");
    EXPECT_EQ(w().Label1.Caption(), "00:00:00:19:30:00");

    type(0, "23", "59", "59");
    ok();
    EXPECT_EQ(s().AlarmTarget, "03-15-2024");
    EXPECT_EQ(w().Label1.Caption(), "00:00:00:11:59:59");
    h.loop.advance(1000);
    EXPECT_EQ(w().Label1.Caption(), "00:00:00:11:59:58");

    w().Check2.userClick();
    // Changing the mode waits for Ok.
    EXPECT_EQ(w().Label2.Caption(), "Ανενεργό - Off");
    type(3, "24", "0", "5");
    ok();
    EXPECT_EQ(s().AlarmCountdown, (std::array<std::int32_t, 3>{24, 0, 5}));
    EXPECT_EQ(s().AlarmTarget, "03-16-2024");
    EXPECT_EQ(w().Label1.Caption(), "00:00:01:00:00:05");
    EXPECT_EQ(w().Label2.Caption(), "Ενεργό - On");
}

TEST_F(SnoozeTest, ExitAndCancelTurnTheAlarmOff) {
    app().windows.showSnoozeWindow();
    w().Check2.userClick();
    type(3, "0", "1", "0");
    ok();
    s().AlarmDueCountdown = -1;
    w().Command1[2].Click.raise();
    EXPECT_EQ(w().Label2.Caption(), "Ανενεργό - Off");
    EXPECT_EQ(s().AlarmMode, 0);
    EXPECT_EQ(s().AlarmDueCountdown, 0);
    EXPECT_EQ(w().Check2.Value(), 0);
    EXPECT_EQ(w().Label1.Caption(), "00:00:00:00:00:00");
    EXPECT_TRUE(w().Visible());

    w().Check1.userClick();
    ok();
    w().Command1[0].Click.raise();
    EXPECT_FALSE(w().Visible());
    EXPECT_EQ(s().AlarmMode, 0);
    EXPECT_EQ(w().Label2.Caption(), "Ανενεργό - Off");
    // Hidden by Exit the display keeps running; closed, it stops.
    EXPECT_TRUE(w().Timer1.Enabled());
    app().windows.showSnoozeWindow();
    ASSERT_TRUE(w().requestUnload(0));
    EXPECT_FALSE(w().Timer1.Enabled());
}

TEST_F(SnoozeTest, TimeLeftCountsCalendarUnits) {
    auto left = [](const DateTime& a, const DateTime& b) { return SecondaryWindows::timeLeftText(a, b); };
    EXPECT_EQ(left(at(2024, 3, 15, 12, 0, 0), at(2026, 5, 20, 13, 14, 15)), "02:02:05:01:14:15");
    // Month ends and leap days.
    EXPECT_EQ(left(at(2024, 1, 31, 10, 0, 0), at(2024, 3, 1, 10, 0, 0)), "00:01:01:00:00:00");
    EXPECT_EQ(left(at(2024, 2, 29, 0, 0, 0), at(2025, 2, 28, 0, 0, 0)), "01:00:00:00:00:00");
    EXPECT_EQ(left(at(2024, 2, 29, 12, 0, 0), at(2024, 3, 29, 10, 0, 0)), "00:00:28:22:00:00");
    EXPECT_EQ(left(at(2024, 12, 31, 23, 59, 59), at(2025, 1, 1, 0, 0, 0)), "00:00:00:00:00:01");
    // A past target shows zeros.
    EXPECT_EQ(left(at(2024, 3, 15, 12, 0, 0), at(2024, 3, 15, 11, 0, 0)), "00:00:00:00:00:00");

}

TEST_F(SnoozeTest, OnlyAnArmedAlarmSaysOnAndCountsDown) {
    const std::string zeros = "00:00:00:00:00:00";
    // A mode kept from an earlier run, its time still ahead today: the boxes
    // show it, but nothing is armed until Ok.
    startUp();
    s().AlarmMode = 1;
    s().AlarmTime = {23, 59, 59};
    s().AlarmTarget = "03-15-2024";
    app().windows.showSnoozeWindow();
    EXPECT_EQ(w().Check1.Value(), 1);
    EXPECT_EQ(w().Label2.Caption(), "Ανενεργό - Off");
    EXPECT_EQ(w().Label1.Caption(), zeros);
    h.loop.advance(2000);
    EXPECT_EQ(w().Label1.Caption(), zeros);

    // Ticking a mode arms nothing either.
    w().Check2.userClick();
    type(3, "0", "0", "5");
    h.loop.advance(1000);
    EXPECT_EQ(w().Label2.Caption(), "Ανενεργό - Off");
    EXPECT_EQ(w().Label1.Caption(), zeros);

    ok();
    EXPECT_EQ(w().Label2.Caption(), "Ενεργό - On");
    EXPECT_EQ(w().Label1.Caption(), "00:00:00:00:00:05");

    // Gone off, it is spent: Off, nothing left to count.
    run(6000);
    EXPECT_EQ(s().AlarmDueCountdown, -1);
    EXPECT_EQ(w().Label2.Caption(), "Ανενεργό - Off");
    EXPECT_EQ(w().Label1.Caption(), zeros);
    ok();
    EXPECT_EQ(w().Label2.Caption(), "Ενεργό - On");
    EXPECT_EQ(s().AlarmDueCountdown, 0);
}

class AlarmTest : public SnoozeTest {
protected:
    std::vector<std::string> tracks;
    std::string wake;

    void SetUp() override {
        tracks = startWithTracks(2, 600);
        wake = makeFile("wake.wav", 30);
        addTracks({wake});
        s().Volume = 40;
        app().playback.Command3_Click(0);
        run(1000);
        ASSERT_EQ(mainPlayer().playState(), playstate::Playing);
        app().windows.showSnoozeWindow();
    }

    // A time-of-day alarm at 12:00:10 with the wake-up file.
    void armInTenSeconds() {
        w().Check1.userClick();
        type(0, "12", "0", "10");
        w().Combo1.setListIndex(2);
        ok();
    }
};

TEST_F(AlarmTest, TheWakeUpFileReplacesThePlayingTrackOnce) {
    armInTenSeconds();
    run(7000);
    EXPECT_EQ(mainPlayer().URL(), tracks[0]);
    EXPECT_EQ(s().AlarmDueTime, 0);

    run(3000);
    EXPECT_EQ(s().AlarmDueTime, -1);
    EXPECT_EQ(mainPlayer().URL(), wake);
    EXPECT_EQ(d().CurrentFile, wake);
    EXPECT_EQ(mainPlayer().settings.volume(), 40);
    run(300);
    EXPECT_EQ(mainPlayer().playState(), playstate::Playing);

    // It goes off once: stopped by the user, it stays stopped.
    mainPlayer().controls.stop();
    run(5000);
    EXPECT_EQ(mainPlayer().playState(), playstate::Stopped);
    EXPECT_EQ(h.desktop.powerOffCalls, 0);
}

TEST_F(AlarmTest, TheWindowAndTheSaveAreAboutTheWakeUpFileWhileItPlays) {
    d().TrackBitrate[2] = 320;
    armInTenSeconds();
    run(10000);
    ASSERT_EQ(mainPlayer().URL(), wake);
    // The wake-up file is the current track.
    EXPECT_EQ(d().CurrentTrack, 2);
    EXPECT_EQ(f().Text6.Text(), wake);
    EXPECT_EQ(app().Form4.Text1.Text(), "[00003] - [00003]");
    EXPECT_EQ(f().Text5[0].Text(), "00:00:30");
    EXPECT_EQ(f().List2.ListIndex(), 2);
    EXPECT_EQ(f().Text1_0.Text(), "wake.wav");
    run(2000);
    EXPECT_EQ(f().Text5[4].Text(), "320");

    // The old track keeps where it was left; a save gives the wake-up
    // file's position to its own track.
    const Currency left = d().TrackResumePos[0];
    EXPECT_GE(left, Currency::fromInteger(5));
    EXPECT_FALSE(d().TrackSaved[0]);
    app().collection.Save_Collection(false, false);
    EXPECT_EQ(d().TrackResumePos[0], left);
    EXPECT_GE(d().TrackResumePos[2], Currency::fromInteger(2));
    EXPECT_LE(d().TrackResumePos[2], Currency::fromInteger(6));
}

TEST_F(AlarmTest, AWakeUpFileOutsideTheCollectionIsNoTracksResumePoint) {
    const std::string other = makeFile("other.wav", 30);
    armInTenSeconds();
    s().AlarmFile = other;
    run(10000);
    ASSERT_EQ(mainPlayer().URL(), other);
    EXPECT_EQ(d().CurrentTrack, -1);
    EXPECT_EQ(f().Text6.Text(), other);

    const Currency left = d().TrackResumePos[0];
    run(3000);
    app().collection.Save_Collection(false, false);
    EXPECT_EQ(d().TrackResumePos[0], left);
    EXPECT_EQ(d().TrackResumePos[1], Currency{});
    EXPECT_EQ(d().TrackResumePos[2], Currency{});
}

TEST_F(AlarmTest, ItWaitsForABulkOperationAndForOk) {
    armInTenSeconds();
    s().Busy = true;
    run(15000);
    EXPECT_EQ(s().AlarmDueTime, 0);
    s().Busy = false;
    run(1000);
    EXPECT_EQ(s().AlarmDueTime, -1);
    EXPECT_EQ(mainPlayer().URL(), wake);

    // A new mode chosen after Ok does not go off until Ok again.
    w().Command1[2].Click.raise();
    mainPlayer().setURL(tracks[1]);
    w().Check1.userClick();
    type(0, "12", "0", "30");
    ok();
    w().Check2.userClick();
    run(30000);
    EXPECT_EQ(s().AlarmDueCountdown, 0);
    EXPECT_EQ(s().AlarmDueTime, 0);
    EXPECT_EQ(mainPlayer().URL(), tracks[1]);
}

TEST_F(AlarmTest, AMissingWakeUpFileIsLoggedAndBeeped) {
    std::filesystem::remove(wake);
    armInTenSeconds();
    run(11000);
    EXPECT_EQ(s().AlarmDueTime, -1);
    EXPECT_NE(log().find("Snooze file not found"), std::string::npos);
    EXPECT_FALSE(h.desktop.beeps.empty());
    EXPECT_EQ(mainPlayer().URL(), tracks[0]);
}

TEST_F(AlarmTest, TheShutdownOptionSavesEverythingAndPowersOff) {
    w().Check4.userClick();
    w().Check2.userClick();
    type(3, "0", "0", "5");
    ok();
    run(3000);
    EXPECT_FALSE(app().playback.shutDown());
    run(3000);
    EXPECT_TRUE(app().playback.shutDown());
    EXPECT_TRUE(h.loop.quitRequested());
    EXPECT_EQ(h.desktop.powerOffCalls, 1);
    EXPECT_TRUE(std::filesystem::exists(h.folder.path() + "tarvolin_preferences/default_pref.tl"));
    EXPECT_TRUE(d().CollectionSaved);
}

TEST_F(SnoozeTest, SettingsKeptFromAnEarlierRunDoNotGoOff) {
    // As the preferences bring them back: a shutdown alarm whose moment has
    // passed. Only Ok arms an alarm.
    startWithTracks(1, 60);
    s().AlarmMode = 1;
    s().AlarmTime = {8, 0, 0};
    s().AlarmTarget = "03-14-2024";
    s().AlarmShutdown = -1;
    run(5000);
    EXPECT_EQ(h.desktop.powerOffCalls, 0);
    EXPECT_FALSE(app().playback.shutDown());
}

}  // namespace
}  // namespace tarvolin
