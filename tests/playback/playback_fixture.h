#pragma once
// A started program on the test doubles, with small real media files that
// the simulated engine plays for the durations the fake media layer gives.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "collection/store_files.h"
#include "support/media_fixtures.h"
#include "support/program_harness.h"

namespace tarvolin {

// Appends tracks to a program's tables and lists as adding files does.
inline void putTracks(Program& app, const std::vector<std::string>& paths, const std::vector<double>& seconds,
                      int cls = 0) {
    Form1& f = app.Form1;
    CollectionData& data = app.collection.d;
    const int first = f.List2.ListCount();
    const int n = first + static_cast<int>(paths.size());
    const Currency size = Currency::fromDouble(0.5);
    data.resizeTrackTables(n);
    for (int k = 0; k < static_cast<int>(paths.size()); ++k) {
        const int i = first + k;
        const auto u = static_cast<std::size_t>(i);
        const Currency duration = MediaFiles::durationOf(seconds[static_cast<std::size_t>(k)]);
        data.TrackDuration[u] = duration;
        data.TrackSize[u] = size;
        data.TrackClass[u] = static_cast<std::int16_t>(cls);
        data.TrackBitrate[u] = 128;
        data.TrackSaved[u] = false;
        app.collection.appendTrackRow(u, paths[static_cast<std::size_t>(k)]);
    }
    data.TrackCount = n;
    data.CollectionSaved = false;
}

class PlaybackTest : public ::testing::Test {
protected:
    ProgramHarness h;

    Program& app() { return *h.program; }
    ModuleState& s() { return h.program->state; }
    CollectionData& d() { return h.program->collection.d; }
    Form1& f() { return h.program->Form1; }
    Player& mainPlayer() { return h.program->Form1.WindowsMediaPlayer1; }
    std::string log() { return h.program->Form1.Text2[0].Text(); }

    // A short WAV file on disk that the media layer reports as `seconds`
    // long audio.
    std::string makeFile(const std::string& name, double seconds) {
        const std::string path = h.folder.makeDir("music") + name;
        fixtures::WavOptions wav;
        wav.pcm.seconds = 0.02;
        wav.pcm.channels = 1;
        wav.pcm.sampleRate = 8000;
        fixtures::writeWav(path, wav);
        h.media.add(path, seconds, {{"MediaType", "audio"}, {"Title", name}});
        return path;
    }

    std::vector<std::string> makeFiles(int n, double seconds) {
        std::vector<std::string> paths;
        for (int i = 0; i < n; ++i) paths.push_back(makeFile("t" + std::to_string(i) + ".wav", seconds));
        return paths;
    }

    // Puts the tracks in the tables and lists as adding them does.
    void addTracks(const std::vector<std::string>& paths, int cls = 0) {
        std::vector<double> seconds;
        for (const auto& p : paths) seconds.push_back(h.media.find(p)->duration);
        putTracks(app(), paths, seconds, cls);
    }

    // Runs the start-up.
    void startUp() { app().playback.Form_Load(); }

    // A video file, the collection's only track, in the automatic video
    // mode (films play in the video window).
    std::string addFilmInAutomaticVideoMode(const std::string& name, double seconds) {
        const std::string film = makeFile(name, seconds);
        h.media.set(film, "MediaType", "video");
        addTracks({film});
        s().VideoMode = 1;
        return film;
    }

    // The program as the tests of the next-track choice want it: started on
    // an empty folder, then given n tracks, serial play, nothing playing.
    std::vector<std::string> startWithTracks(int n, double seconds = 5) {
        startUp();
        auto paths = makeFiles(n, seconds);
        addTracks(paths);
        s().ShuffleOn = false;
        return paths;
    }

    // Lets the virtual clock run in small steps.
    void run(std::int64_t ms, std::int64_t step = 50) {
        for (std::int64_t t = 0; t < ms; t += step) h.loop.advance(step);
    }
};

}  // namespace tarvolin
