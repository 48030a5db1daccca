// What the libmpv engines cost while they wait, and what they keep between
// two files.
#include <gtest/gtest.h>

#include <mpv/client.h>

#include <string>

#include "platform/mpv/mpv_engine.h"
#include "platform/player.h"
#include "support/blocking_test_loop.h"
#include "support/media_fixtures.h"
#include "support/temp_dir.h"

namespace tarvolin {
namespace {

std::string optionOf(void* handle, const std::string& name) {
    char* v = mpv_get_property_string(static_cast<mpv_handle*>(handle), ("options/" + name).c_str());
    std::string text = v ? v : "(none)";
    mpv_free(v);
    return text;
}

// Only the main player has its mpv handle (threads, buffers) from the start;
// the players many runs never use make theirs with their first file. No
// handle runs libmpv's scripts, each a thread with an interpreter.
TEST(MpvEngineFactory, OnlyTheMainPlayerStartsAtOnceAndNoHandleRunsScripts) {
    BlockingTestLoop loop;
    MpvEngineFactory factory(loop);
    factory.setAudioOutput("null");
    const struct {
        PlayerRole role;
        bool startsAtOnce;
    } roles[] = {{PlayerRole::Main, true},   {PlayerRole::Compact, false}, {PlayerRole::Video, false},
                 {PlayerRole::Snooze, false}, {PlayerRole::Preview, false}};
    for (const auto& r : roles) {
        auto engine = factory.create(r.role);
        EXPECT_EQ(engine->nativeHandle() != nullptr, r.startsAtOnce) << static_cast<int>(r.role);
    }

    auto main = factory.create(PlayerRole::Main);
    for (const char* option : {"load-scripts", "osc", "ytdl", "load-stats-overlay", "load-osd-console",
                               "load-auto-profiles", "config"})
        EXPECT_EQ(optionOf(main->nativeHandle(), option), "no") << option;
}

// A file played to its end leaves the audio output open for the next one:
// closing it and finding a device again made a second of silence between
// two tracks.
TEST(MpvEngine, KeepsItsAudioOutputOpenFromOneFileToTheNext) {
    BlockingTestLoop loop;
    TempDir dir;
    MpvEngineOptions options;
    options.audioOutput = "null";
    auto engine = std::make_unique<MpvEngine>(loop, options);
    void* handle = engine->nativeHandle();
    Player player;
    player.attach(std::move(engine));
    fixtures::WavOptions wav;
    wav.pcm.seconds = 0.3;
    const std::string song = fixtures::writeWav(dir.file("song.wav"), wav);

    int ends = 0;
    player.PlayStateChange.connect([&](int s) { ends += s == playstate::MediaEnded; });
    player.setURL(song);
    player.controls.play();
    ASSERT_TRUE(loop.runUntil([&] { return ends == 1 && player.playState() == playstate::Stopped; }, 10000));
    loop.wait(300);  // the program's step to the next track
    char* ao = mpv_get_property_string(static_cast<mpv_handle*>(handle), "current-ao");
    EXPECT_NE(ao, nullptr) << "the audio output was closed at the end of the file";
    mpv_free(ao);

    // The file after it plays to its end as well.
    player.setURL(song);
    player.controls.play();
    EXPECT_TRUE(loop.runUntil([&] { return ends == 2 && player.playState() == playstate::Stopped; }, 10000));
}

}  // namespace
}  // namespace tarvolin
