// Playback under real timing: commands that come while a track is starting,
// skips and file ends that wait on the timer, the pause after a preview, and
// the wait for a file's duration.
#include <filesystem>
#include <functional>
#include <set>

#include "playback_fixture.h"

namespace tarvolin {
namespace {

namespace fs = std::filesystem;

// Eight tracks played once in shuffle order: track kOrder[k] holds mark k + 1.
constexpr int kOrder[] = {5, 2, 7, 0, 3, 6, 1, 4};
constexpr int holder(int mark) { return kOrder[mark - 1]; }

class TimingTest : public PlaybackTest {
protected:
    std::vector<std::string> paths;

    // n tracks of `seconds` each in shuffle play, the first eight holding the
    // marks of kOrder, the current one holding `mark`; the first start of
    // the run is over.
    void historyOf(int n, int mark, double seconds = 100) {
        paths = startWithTracks(n, seconds);
        s().ShuffleOn = true;
        for (int k = 0; k < 8; ++k) d().PlayOrder[static_cast<std::size_t>(kOrder[k])] = k + 1;
        d().MaxPlayedCount = 8;
        d().PlayedCount = mark;
        d().CurrentTrack = holder(mark);
        app().playback.FirstStartDone = true;
    }

    Player& active() { return app().playback.activePlayer(); }

    void expectPlaying(int track) {
        EXPECT_EQ(d().CurrentTrack, track);
        EXPECT_EQ(active().URL(), paths[static_cast<std::size_t>(track)]);
        EXPECT_EQ(active().playState(), playstate::Playing);
    }

    // No two tracks hold the same mark.
    void expectMarksUnique() {
        std::set<int> seen;
        for (int i = 0; i < f().List2.ListCount(); ++i) {
            const int mark = d().PlayOrder[static_cast<std::size_t>(i)];
            if (mark == 0) continue;
            EXPECT_TRUE(seen.insert(mark).second) << "mark " << mark << " held twice";
        }
    }

    void doubleClickRow(int row) {
        f().List2.setListIndex(row);
        f().List2.DblClick.raise();
    }

    // Runs the clock until `done` holds, at most `ms`.
    bool runUntil(const std::function<bool()>& done, std::int64_t ms) {
        for (std::int64_t t = 0; t < ms && !done(); t += 10) h.loop.advance(10);
        return done();
    }
};

// ---- a skip waiting on the timer -------------------------------------------

TEST_F(TimingTest, ASkipGoesOnByTheStepThatFoundTheFileKeepingTheHistory) {
    // Forward through the history onto a file that is missing, or that the
    // engine cannot decode: one track on, to the next mark.
    for (const bool missing : {true, false}) {
        SCOPED_TRACE(missing ? "missing" : "undecodable");
        h.build();
        h.engines.rules().decodeErrors.clear();
        historyOf(10, 6);
        const std::string bad = paths[holder(7)];
        if (missing) {
            fs::remove(bad);
        } else {
            h.engines.rules().decodeErrors[bad] = "unrecognized file format";
        }
        f().Command3[0].Click.raise();
        run(1500);
        expectPlaying(holder(8));
        EXPECT_EQ(d().PlayedCount, 8);
        expectMarksUnique();
    }

    // Back by the step count onto a missing file goes on by the step count.
    h.build();
    historyOf(10, 8);
    fs::remove(paths[holder(5)]);
    f().Command15[1].Click.raise();
    run(1500);
    expectPlaying(holder(2));
    EXPECT_EQ(d().PlayedCount, 2);
}

TEST_F(TimingTest, ATrackTheUserStartsIsNotReplacedByAJobWaitingOnTheTimer) {
    paths = startWithTracks(4, 2);
    app().playback.FirstStartDone = true;
    Playback& pb = app().playback;
    pb.Bres_Kommati();  // track 0

    // A skip of a missing file is waiting.
    fs::remove(paths[1]);
    pb.Bres_Kommati();
    ASSERT_EQ(d().CurrentTrack, 1);
    ASSERT_EQ(s().TimerPurpose, 2);
    h.loop.advance(100);
    doubleClickRow(0);
    run(1000);
    expectPlaying(0);

    // The end of the file waits on the timer too; the track the user starts
    // meanwhile stays, also when the tray's pause mark leaves it paused.
    ASSERT_TRUE(runUntil([&] { return s().TimerPurpose == 2; }, 3000));
    h.loop.advance(100);
    f().mnusystemtraypause.setChecked(true);
    doubleClickRow(3);
    run(1000);
    EXPECT_EQ(d().CurrentTrack, 3);
    EXPECT_EQ(active().URL(), paths[3]);
    EXPECT_EQ(active().playState(), playstate::Paused);
}

// ---- the preview, the pause and the duration --------------------------------

TEST_F(TimingTest, ThePauseBetweenTracksAlsoFollowsTheEndOfAPreview) {
    paths = startWithTracks(3, 100);
    app().playback.FirstStartDone = true;
    s().PreviewOn = true;
    s().PreviewSeconds = 2;
    f().MnuMorePauseActive.setChecked(true);
    s().PauseSeconds = 3;
    s().BeepBetween = true;
    h.desktop.beeps.clear();

    f().Command3[0].Click.raise();
    ASSERT_TRUE(runUntil([&] { return mainPlayer().playState() == playstate::Playing; }, 4000));
    ASSERT_TRUE(runUntil([&] { return d().CurrentTrack == 1; }, 6000));
    // The preview of track 0 is over: track 1 waits for the pause.
    EXPECT_EQ(mainPlayer().URL(), paths[1]);
    run(2500);
    EXPECT_NE(mainPlayer().playState(), playstate::Playing);
    run(700);
    EXPECT_EQ(mainPlayer().playState(), playstate::Playing);
    EXPECT_EQ(h.desktop.beeps.size(), 4u);
}

TEST_F(TimingTest, APreviewStartWaitsOnlyUntilTheEngineKnowsTheDuration) {
    paths = startWithTracks(3, 100);
    app().playback.FirstStartDone = true;
    s().PreviewOn = true;
    s().PreviewSeconds = 10;
    s().ShuffleOn = false;
    Playback& pb = app().playback;
    auto startTakes = [&] {
        const std::int64_t t0 = h.loop.tickCount();
        pb.Command3_Click(0);
        return h.loop.tickCount() - t0;
    };

    h.engines.rules().loadDelay = 150;
    std::int64_t took = startTakes();
    EXPECT_GE(took, 150);
    EXPECT_LT(took, 300);
    EXPECT_EQ(d().StartPosition, 20);
    run(1000);
    EXPECT_NEAR(mainPlayer().controls.currentPosition(), 20.5, 0.6);

    // An engine that is slow to open the file: a second at most.
    h.engines.rules().loadDelay = 4000;
    took = startTakes();
    EXPECT_GE(took, 1000);
    EXPECT_LT(took, 1100);
    EXPECT_EQ(d().StartPosition, 0);

    // A file that cannot be opened ends the wait at once.
    h.engines.rules().loadDelay = 0;
    h.engines.rules().decodeErrors[paths[2]] = "unrecognized file format";
    took = startTakes();
    EXPECT_EQ(d().CurrentTrack, 2);
    EXPECT_LT(took, 100);
}

// ---- the step count ---------------------------------------------------------

TEST_F(TimingTest, AOneTrackStepNeverTouchesTheStepCountBox) {
    paths = startWithTracks(4, 100);
    app().playback.FirstStartDone = true;
    s().PreviewOn = true;
    h.engines.rules().loadDelay = 100;

    // What the user types while a track starts is kept.
    bool typed = false;
    h.loop.onYield = [&] {
        if (!typed && mainPlayer().URL() == paths[0]) {
            typed = true;
            f().Text3.setText("5");
        }
    };
    f().Command3[0].Click.raise();
    h.loop.onYield = nullptr;
    ASSERT_TRUE(typed);
    EXPECT_EQ(f().Text3.Text(), "5");
    EXPECT_EQ(s().StepCount, 5);

    // Closing the program while a track starts saves the count the box shows.
    f().Text3.setText("4");
    bool closed = false;
    h.loop.onYield = [&] {
        if (!closed && mainPlayer().URL() == paths[1]) {
            closed = true;
            int cancel = 0;
            app().playback.Form_QueryUnload(cancel, 0);
        }
    };
    f().Command3[0].Click.raise();
    h.loop.onYield = nullptr;
    ASSERT_TRUE(closed);
    h.loop.runUntilIdle();  // the close waits for the track start
    h.build();
    startUp();
    EXPECT_EQ(s().StepCount, 4);
    EXPECT_EQ(f().Text3.Text(), "4");
}

// The tray's one-track steps leave the box alone too: a close during their
// track start saves the count the user set.
TEST_F(TimingTest, TheTraysOneTrackStepsLeaveTheStepCountBoxAlone) {
    paths = startWithTracks(4, 100);
    app().playback.FirstStartDone = true;
    s().PreviewOn = true;
    h.engines.rules().loadDelay = 100;
    f().Command3[0].Click.raise();
    f().Command3[0].Click.raise();
    ASSERT_EQ(mainPlayer().URL(), paths[1]);

    for (MenuItem Form1::*item : {&Form1::mnusystemtrayback, &Form1::mnusystemtraynext}) {
        SCOPED_TRACE((f().*item).objectName());
        f().Text3.setText("4");
        const std::string from = mainPlayer().URL();
        bool closed = false;
        h.loop.onYield = [&] {
            if (!closed && mainPlayer().URL() != from) {
                closed = true;
                EXPECT_EQ(f().Text3.Text(), "4");
                int cancel = 0;
                app().playback.Form_QueryUnload(cancel, 0);
            }
        };
        (f().*item).click();
        h.loop.onYield = nullptr;
        ASSERT_TRUE(closed);
        EXPECT_EQ(f().Text3.Text(), "4");
        h.loop.runUntilIdle();
        h.build();
        startUp();
        EXPECT_EQ(s().StepCount, 4);
        app().playback.FirstStartDone = true;
        s().PreviewOn = true;
        f().Command3[0].Click.raise();
        f().Command3[0].Click.raise();
    }
}

// ---- a command during each wait of a track start ----------------------------

// Where in a track start the second command comes.
enum class During { FileCheck, FirstStart, Duration, Pause, Video, PlayCommand };

struct Command {
    const char* name;
    std::function<void(Form1&)> give;
    int track;   // where it lands from the track holding mark 4
    int played;  // PlayedCount afterwards
};

const std::vector<Command>& commands() {
    static const std::vector<Command> all = {
        {"Next", [](Form1& f) { f.Command3[0].Click.raise(); }, holder(5), 5},
        {"Previous", [](Form1& f) { f.Command3[1].Click.raise(); }, holder(3), 3},
        {"Back", [](Form1& f) { f.Command15[1].Click.raise(); }, holder(1), 1},
        {"Ahead", [](Form1& f) { f.Command15[0].Click.raise(); }, holder(7), 7},
        {"DoubleClick",
         [](Form1& f) {
             f.List2.setListIndex(6);
             f.List2.DblClick.raise();
         },
         6, 4},
        // Play from the tray while nothing plays yet, and the automatic
        // video mode: both start the current track again.
        {"TrayPlay", [](Form1& f) { f.mnusystemtraypause.click(); }, holder(4), 4},
        {"VideoAuto", [](Form1& f) { f.mnuvideoshow[2].click(); }, holder(4), 4},
    };
    return all;
}

class CommandDuringStart : public TimingTest, public ::testing::WithParamInterface<During> {
protected:
    // Next from mark 3 starts the track holding mark 4; `command` comes
    // while that start waits where the parameter says.
    void giveDuringStart(const Command& command) {
        const During during = GetParam();
        h.build();
        h.engines.rules().loadDelay = 0;
        historyOf(8, 3);
        switch (during) {
            case During::FileCheck: break;
            case During::FirstStart: app().playback.FirstStartDone = false; break;
            case During::Duration:
                s().PreviewOn = true;
                s().PreviewSeconds = 10;
                h.engines.rules().loadDelay = 100;
                break;
            case During::Pause:
                f().MnuMorePauseActive.setChecked(true);
                s().PauseSeconds = 2;
                break;
            case During::Video: s().VideoMode = -1; break;
            case During::PlayCommand: h.engines.rules().loadDelay = 500; break;
        }

        const std::string first = paths[holder(4)];
        bool inFirst = false, given = false;
        int trackRightAfter = -1;
        bool playerTouched = false;
        h.loop.onYield = [&] {
            if (given) return;
            Player& p = active();
            bool now = false;
            switch (during) {
                case During::FileCheck: now = inFirst && d().CurrentFile == first && p.URL() != first; break;
                case During::PlayCommand:
                    now = !inFirst && s().TimerPurpose == 0 && p.URL() == first &&
                          p.playState() == playstate::Transitioning;
                    break;
                default: now = inFirst && p.URL() == first; break;
            }
            if (!now) return;
            given = true;
            const int stateBefore = active().playState();
            command.give(f());
            trackRightAfter = d().CurrentTrack;
            playerTouched = active().playState() != stateBefore;
        };
        inFirst = true;
        f().Command3[0].Click.raise();
        inFirst = false;
        run(5000);
        h.loop.onYield = nullptr;

        ASSERT_TRUE(given);
        EXPECT_EQ(trackRightAfter, holder(4));  // it waited
        // Leaving the video window's mode closes that window at once, by
        // the menu's own doing; nothing else touches the starting player.
        const bool closesVideoWindow = during == During::Video && std::string(command.name) == "VideoAuto";
        if (!closesVideoWindow) {
            EXPECT_FALSE(playerTouched);
        }
        expectPlaying(command.track);
        EXPECT_EQ(d().PlayedCount, command.played);
        EXPECT_EQ(s().StepCount, 3);
        EXPECT_EQ(f().Text3.Text(), "3");
        expectMarksUnique();
    }
};

TEST_P(CommandDuringStart, WaitsForTheStartAndThenRunsAsAsked) {
    for (const Command& command : commands()) {
        SCOPED_TRACE(command.name);
        giveDuringStart(command);
    }
}

std::string waitName(const ::testing::TestParamInfo<During>& info) {
    static const char* const names[] = {"FileCheck", "FirstStart", "Duration", "Pause", "Video", "PlayCommand"};
    return names[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(EveryWait, CommandDuringStart,
                         ::testing::Values(During::FileCheck, During::FirstStart, During::Duration, During::Pause,
                                           During::Video, During::PlayCommand),
                         waitName);

}  // namespace
}  // namespace tarvolin
