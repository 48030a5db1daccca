// Values that files and engines give beyond what the program's fields hold,
// and run-time errors that reach a handler anyway.
#include <algorithm>
#include <filesystem>

#include "playback_fixture.h"

namespace tarvolin {
namespace {

constexpr const char* kRuntimeErrorLine = "Run-time error";

// A damaged file may announce any duration (an MP4 header's 32-bit field
// all ones), and a damaged collection any resume point: the program takes
// them as unknown and plays on.
TEST_F(PlaybackTest, AbsurdDurationsAndPositionsAreUnknownAndTheTrackPlays) {
    struct Case {
        const char* name;
        double announced;  // seconds the file announces
        double resumeAt;   // the track's resume point in the collection file
    };
    const Case cases[] = {
        {"header of all ones", 4294967295.0, 0},
        {"beyond every field", 1e300, 0},
        {"just past a Long", 2147483647.5, 0},
        {"resume point beyond a Long", 3.0, 3e9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(h.folder.file("tarvolin_sylloges"));
        h.build();
        startUp();
        const std::string name = "absurd" + std::to_string(&c - cases);
        const std::vector<std::string> paths = {makeFile(name + "a.wav", c.announced),
                                                makeFile(name + "b.wav", c.announced)};
        addTracks(paths);
        // Saved and loaded again, as the next run finds it.
        for (Currency& at : d().TrackResumePos) at = Currency::fromDouble(c.resumeAt);
        int cancel = 0;
        app().playback.Form_QueryUnload(cancel, 0);
        h.build();
        s().ResumeMode = 2;
        startUp();
        ASSERT_EQ(f().List2.ListCount(), 2);
        app().playback.Command3_Click(0);
        run(3000);
        EXPECT_NE(std::find(paths.begin(), paths.end(), mainPlayer().URL()), paths.end()) << log();
        EXPECT_EQ(mainPlayer().playState(), playstate::Playing);
        EXPECT_EQ(log().find(kRuntimeErrorLine), std::string::npos) << log();
        EXPECT_LE(mainPlayer().currentMedia.duration(), 2147483647.0);
    }
}

// A run-time error that reaches a handler ends that handler only: a line in
// the log names it and the file, the program goes on, and a shutdown saves.
TEST_F(PlaybackTest, ARuntimeErrorInAHandlerIsLoggedAndTheProgramGoesOn) {
    struct Case {
        const char* name;
        std::function<void(Program&, VirtualLoop&)> throwIn;
    };
    auto overflow = [] { throw RuntimeError::overflow(); };
    const Case cases[] = {
        {"control event",
         [&](Program& p, VirtualLoop&) {
             p.Form1.Command3[0].Click = overflow;
             p.Form1.Command3[0].Click.raise();
         }},
        {"timer", [&](Program& p, VirtualLoop&) { p.Form1.Timer1.TimerEvent = overflow; }},
        {"posted call", [&](Program&, VirtualLoop& loop) { loop.post(overflow); }},
        {"player event",
         [&](Program& p, VirtualLoop&) {
             p.Form1.WindowsMediaPlayer1.PlayStateChange = [](int) { throw RuntimeError::overflow(); };
             p.Form1.WindowsMediaPlayer1.controls.pause();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        h.build();
        startWithTracks(2, 30);
        app().playback.Command3_Click(0);
        run(1500);
        ASSERT_EQ(mainPlayer().playState(), playstate::Playing);
        c.throwIn(app(), h.loop);
        run(1500);
        const std::string text = log();
        EXPECT_NE(text.find(kRuntimeErrorLine), std::string::npos) << text;
        EXPECT_NE(text.find("Overflow"), std::string::npos) << text;
        EXPECT_NE(text.find("stopped: " + d().CurrentFile), std::string::npos) << text;

        std::filesystem::remove(h.folder.file("tarvolin_sylloges/tarvolin_Files.ptlf"));
        int cancel = 0;
        app().playback.Form_QueryUnload(cancel, 0);
        EXPECT_TRUE(std::filesystem::exists(h.folder.file("tarvolin_sylloges/tarvolin_Files.ptlf")));
    }
}

}  // namespace
}  // namespace tarvolin
