// Starting the current track: checking its file, sending it to the player
// that suits it, setting its start point and arming the play command; the
// pause between tracks, the wait, and passing over unplayable tracks.
#include <algorithm>

#include "app/program.h"
#include "collection/store_files.h"
#include "playback/playback.h"

namespace tarvolin {

namespace {

// The longest a preview start waits for the engine to know the file's
// duration, and how often it looks.
constexpr std::int64_t kDurationWaitMs = 1000;
constexpr std::int64_t kDurationPollMs = 10;

const char* const kNothingPlayable =
    "-> Κανένα αρχείο δεν μπορεί να αναπαραχθεί. Η αναπαραγωγή σταμάτησε - "
    "No file can be played. Playback stopped";

// "0#:0#:0#" of a number of whole seconds.
std::string clockText(std::int64_t seconds) {
    return Format(seconds / 3600, "0#") + ":" + Format((seconds % 3600) / 60, "0#") + ":" +
           Format((seconds % 3600) % 60, "0#");
}

bool isVideoEnding(const std::string& path) {
    static const char* const endings[] = {".mpg", "mpeg", ".avi", ".asf", ".wmv", ".jpg",
                                          "jpeg", ".mpe", ".m1v", "mpv2", "mp2v"};
    const std::string last = Right(path, 4);
    for (const char* e : endings) {
        if (last == e) return true;
    }
    return false;
}

}  // namespace

void Playback::Decide_Video() {
    Form1& f = app.Form1;
    ModuleState& s = app.state;
    CollectionStore& store = app.collection;
    CollectionData& d = store.d;

    std::string path = d.CurrentFile;
    Currency size;
    store.Check_Zero_Length(path, size);

    if (path.empty()) {
        const std::string n = Str(static_cast<std::int64_t>(d.CurrentTrack) + 1);
        app.collection.logLine("-> Το αρχείο (" + n + ")" + d.CurrentFile + "\r\n" + " δεν υφίσταται πλέον " +
                "ή έχει μηδενικό μήκος. Του αποδίδεται αρνητική προτίμηση..." + "\r\n" + "File (" + n + ")" +
                d.CurrentFile + "\r\n" +
                " dosn't not longer exists or has zero lenght. It's been given negative favor...");
        if (app.collection.isTrackRow(d.CurrentTrack)) {
            // The track moves to class X with no size.
            const auto i = static_cast<std::size_t>(d.CurrentTrack);
            const auto old = static_cast<std::size_t>(validClass(d.TrackClass[i]));
            const Currency oldSize = d.TrackSize[i];
            const Currency duration = d.TrackDuration[i];
            d.ClassCount[old] -= 1;
            d.ClassSize[old] -= oldSize;
            d.ClassDuration[old] -= duration;
            d.ClassCount[1] += 1;
            d.ClassDuration[1] += duration;
            d.TotalSize -= oldSize;
            d.TrackSize[i] = Currency{};
            d.TrackClass[i] = 1;
            d.TrackSaved[i] = false;
        }
        d.ClassLabelsDirty = true;
        store.DeikseAgapi(1, d.CurrentTrack);
        store.Show_Class_Counts();
        app.desktop().beep(2500, 50);
        skipUnplayable();
        return;
    }

    app.media.Show_Album_Art();
    if (s.VideoMode == -1) {
        Video();
    } else if (s.VideoMode == 0) {
        Play_Audio();
    } else if (Is_Video_Media(d.CurrentFile)) {
        Video();
    } else {
        Play_Audio();
    }

    // The editor boxes show the file's own tags.
    app.library.tagBoxesShow(d.CurrentFile);
    s.TagBoxesFilling = false;
    BulkScope busy(s, BulkScope::Busy);
    auto item = f.WindowsMediaPlayer2.newMedia(d.CurrentFile);
    f.Text1_0.setText(item->getItemInfo("Title"));
    f.Text1_1.setText(item->getItemInfo("Artist"));
    f.Text1_2.setText(item->getItemInfo("Album"));
    f.Text1_3.setText(item->getItemInfo("WM/Year"));
    f.Text1_4.setText(item->getItemInfo("Comment"));
    f.Combo1.setText(item->getItemInfo("Genre"));
    busy.end();
    s.TagBoxesFilling = true;
}

void Playback::skipUnplayable() {
    ModuleState& s = app.state;
    const int count = app.Form1.List2.ListCount();
    ++UnplayableRun;
    if (s.ReplayMode == 1) {
        // Replaying one track that cannot be played would never end.
        UnplayableRun = 0;
        stopActivePlayer();
        return;
    }
    if (count <= 1) return;
    if (UnplayableRun >= count) {
        UnplayableRun = 0;
        app.collection.logLine(kNothingPlayable);
        stopActivePlayer();
        return;
    }
    skipPending_ = true;
    armOneOff(2, 300);
}

void Playback::playerMediaError(Player& player, const std::string& why) {
    CollectionData& d = app.collection.d;
    // Only the file that is to play now matters.
    if (player.URL().empty() || player.URL() != d.CurrentFile) return;
    app.collection.logLine("-> Το αρχείο δεν μπορεί να αναπαραχθεί - The file cannot be played: " + d.CurrentFile +
                              " (" + why + ")");
    if (app.state.Busy) {
        skipWhileBusy_ = true;
        return;
    }
    if (!skipPending_) skipUnplayable();
}

bool Playback::Is_Video_Media(const std::string& path) {
    auto item = app.Form1.WindowsMediaPlayer2.newMedia(path);
    const std::string type = LCase(item->getItemInfo("MediaType"));
    if (type == "audio") return false;
    if (type == "photo" || type == "video") return true;
    return isVideoEnding(path);
}

void Playback::Play_Audio() {
    ModuleState& s = app.state;
    CollectionData& d = app.collection.d;
    Player& video = app.Form2.WindowsMediaPlayer1;
    // Only one player holds the playing file.
    if (!video.URL().empty()) {
        video.controls.stop();
        video.close();
    }

    Player& p = s.CompactMode ? app.Form4.WindowsMediaPlayer1 : app.Form1.WindowsMediaPlayer1;
    const double duration = static_cast<float>(KnownAmount(p.newMedia(d.CurrentFile)->duration()));
    p.setURL(d.CurrentFile);
    p.settings.setVolume(s.Volume);

    Media_Play(1);

    const std::int32_t max = CLng(duration);
    for (Slider* slider : {&app.Form1.Slider1, &app.Form4.Slider1}) {
        slider->setMax(max);
        slider->setTickFrequency(CLng(max * 5 / 100.0));
    }
    const std::string text = clockText(max);
    app.Form1.Text5[0].setText(text);
    app.Form4.Text5[0].setText(text);
}

void Playback::Video() {
    ModuleState& s = app.state;
    CollectionData& d = app.collection.d;
    if (d.CurrentFile.empty()) return;

    Player& video = app.Form2.WindowsMediaPlayer1;
    video.setURL(d.CurrentFile);
    video.settings.setVolume(s.Volume);
    // The window's player gives up its file.
    for (Player* other : {&app.Form1.WindowsMediaPlayer1, &app.Form4.WindowsMediaPlayer1}) {
        if (other->URL().empty()) continue;
        other->controls.stop();
        other->close();
    }
    if (s.WindowVisible && !app.Form2.Visible()) app.Form2.Show();

    Media_Play(2);
    Wait(200);

    app.Form2.fitPlayer();
    const std::string text = clockText(CLng(video.currentMedia.duration()));
    app.Form1.Text5[0].setText(text);
    app.Form4.Text5[0].setText(text);
}

void Playback::Media_Play(int selector) {
    Form1& f = app.Form1;
    ModuleState& s = app.state;
    CollectionData& d = app.collection.d;

    if (!FirstStartDone && s.PlayAtStart) {
        Wait(500);
        FirstStartDone = true;
    }

    Player& p = selector == 1 ? (s.CompactMode ? app.Form4.WindowsMediaPlayer1 : f.WindowsMediaPlayer1)
                              : app.Form2.WindowsMediaPlayer1;

    if (f.mnusystemtraypause.Checked()) {
        p.controls.pause();
        return;
    }

    if (s.PreviewOn) {
        if (s.PreviewPoints.empty()) s.PreviewPoints.resize(1);
        // A new track's preview starts at its first point.
        s.PreviewPointIndex = 0;
        s.PreviewPoints[0] = CLng(durationOnceKnown(p) / 5);
        d.StartPosition = s.PreviewPoints[0];
    } else if (s.ResumeMode == 2) {
        d.StartPosition = app.collection.isTrackRow(d.CurrentTrack)
                              ? CLng(KnownAmount(d.TrackResumePos[static_cast<std::size_t>(d.CurrentTrack)]))
                              : 0;
    } else if (s.ResumeMode == 0) {
        d.StartPosition = 0;
    }

    p.controls.setCurrentPosition(d.StartPosition);
    f.Slider1.setValue(d.StartPosition);

    pauseIntervalMs_ = 0;
    if (f.MnuMorePauseActive.Checked()) Pause_Between_Songs(selector);

    // The play command comes with the timer, after the pause if there is
    // one; a file found unplayable meanwhile is skipped instead.
    if (skipPending_) {
        pauseIntervalMs_ = 0;
        return;
    }
    armOneOff(1, pauseIntervalMs_ > 0 ? pauseIntervalMs_ : 300);
    pauseIntervalMs_ = 0;
}

double Playback::durationOnceKnown(Player& p) {
    MessageLoop& loop = app.loop();
    double duration = p.currentMedia.duration();
    const std::int64_t start = loop.tickCount();
    // The engine tells the duration once it has opened the file; a file it
    // cannot open has none to wait for.
    while (duration <= 0 && !p.URL().empty() && p.errorText().empty() && !shutDown_ &&
           loop.tickCount() - start < kDurationWaitMs) {
        loop.wait(kDurationPollMs);
        duration = p.currentMedia.duration();
    }
    return duration;
}

void Playback::Pause_Between_Songs(int selector) {
    ModuleState& s = app.state;
    BulkScope busy(s, BulkScope::Busy);
    if (selector == 1) {
        (s.CompactMode ? app.Form4.WindowsMediaPlayer1 : app.Form1.WindowsMediaPlayer1).controls.pause();
    } else if (selector == 2) {
        app.Form2.WindowsMediaPlayer1.controls.pause();
    }
    app.loop().DoEvents();
    if (s.BeepBetween) {
        app.desktop().beep(600, 100);
        app.desktop().beep(650, 100);
    }
    // The pause itself is the timer's one-off interval.
    pauseIntervalMs_ = std::clamp(s.PauseSeconds, 2, 8) * 1000;
}

void Playback::Wait(std::int64_t milliseconds) {
    if (milliseconds > 0) app.loop().wait(milliseconds);
}

}  // namespace tarvolin
