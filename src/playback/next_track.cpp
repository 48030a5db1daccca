// The choice of the next track: resume the loaded track, keep or take the
// selected one, or draw an unplayed track of a chosen class; numbering it in
// the play order and the end of a pass.
#include "app/program.h"
#include "playback/playback.h"

namespace tarvolin {

namespace {

const char* const kPassOver = "-> Αναπαράχθηκαν όλα τα αρχεία - Every file has been reproduced";

// Whether a class choice restricts play: any class switch set.
bool classChoiceActive(const CollectionData& d) {
    for (std::int16_t on : d.PlayClassOn) {
        if (on == -1) return true;
    }
    return false;
}

bool classChosen(const CollectionData& d, std::size_t t) {
    const int c = d.TrackClass[t];
    return c >= 0 && c < kClassCount && d.PlayClassOn[static_cast<std::size_t>(c)] == -1;
}

// The first track not yet played in this pass whose class is chosen; -1
// when there is none.
int firstEligible(const CollectionData& d, int count) {
    const bool restricted = classChoiceActive(d);
    for (int t = 0; t < count; ++t) {
        const auto i = static_cast<std::size_t>(t);
        if (d.PlayOrder[i] == 0 && (!restricted || classChosen(d, i))) return t;
    }
    return -1;
}

}  // namespace

void Playback::Bres_Kommati() {
    asTrackStart([this] { chooseTrack(); });
}

void Playback::chooseTrack() {
    Form1& f = app.Form1;
    ModuleState& s = app.state;
    CollectionStore& store = app.collection;
    CollectionData& d = store.d;
    const int count = f.List2.ListCount();
    bool passOver = false;

    const bool justLoaded = d.CollectionJustLoaded;
    if (!justLoaded) d.StartPosition = 0;
    if (justLoaded) {
        // The loaded track plays again from where it was left.
        d.CollectionJustLoaded = false;
        if (count == 0) return;
        if (d.CurrentTrack < 0 || d.CurrentTrack >= count) d.CurrentTrack = 0;
        if (d.MaxPlayedCount <= 0) d.MaxPlayedCount = d.PlayedCount;
        Show_Current_Media();
    } else if (s.ReplayMode == 1 || s.PlaySelected) {
        if (s.PlaySelected) {
            const int selected = f.List2.ListIndex();
            if (selected >= 0 && selected < count) d.CurrentTrack = selected;
            s.PlaySelected = false;
        }
        if (d.CurrentTrack < 0 || d.CurrentTrack >= count) {
            if (count == 0) return;
            d.CurrentTrack = 0;
        }
        Show_Current_Media();
    } else {
        if (firstEligible(d, count) < 0) {
            passOver = true;
        } else {
            if (d.CurrentTrack < 0 || d.CurrentTrack >= count) d.CurrentTrack = 0;
            const bool restricted = classChoiceActive(d);
            SerialAdvance = d.PlayOrder[static_cast<std::size_t>(d.CurrentTrack)];
            const std::int32_t n = count - 1;
            for (;;) {
                if (s.ShuffleOn) {
                    d.CurrentTrack = CLng(static_cast<double>(app.random.Rnd()) * n);
                } else if (SerialAdvance != 0) {
                    d.CurrentTrack = d.CurrentTrack + 1 > n ? 0 : d.CurrentTrack + 1;
                }
                const auto i = static_cast<std::size_t>(d.CurrentTrack);
                if (d.PlayOrder[i] != 0) continue;
                if (restricted && !classChosen(d, i)) {
                    SerialAdvance = -1;
                    continue;
                }
                break;
            }
            ++d.PlayedCount;
            if (d.PlayedCount > count) d.PlayedCount = 1;
            d.PlayOrder[static_cast<std::size_t>(d.CurrentTrack)] = d.PlayedCount;
            d.TrackSaved[static_cast<std::size_t>(d.CurrentTrack)] = false;
            Show_Current_Media();
        }
    }

    // Tail.
    if (d.MaxPlayedCount < d.PlayedCount) d.MaxPlayedCount = d.PlayedCount;

    if (passOver) {
        if (d.TrackCount <= -1 || count <= 0) return;
        app.collection.logLine(kPassOver);
        d.CurrentTrack = d.CurrentTrack + 1 > count - 1 || d.CurrentTrack < 0 ? 0 : d.CurrentTrack + 1;
        for (int i = 0; i < count; ++i) {
            d.PlayOrder[static_cast<std::size_t>(i)] = 0;
            d.TrackSaved[static_cast<std::size_t>(i)] = false;
        }
        {
            BulkScope busy(s, BulkScope::Busy);
            Clear_Track_Selection();
            f.List2.setListIndex(d.CurrentTrack);
        }
        d.PlayedCount = 0;
        d.MaxPlayedCount = 0;
        updateReturnButton();
        d.PlayedTotal = Currency{};
        d.FavorPlayedTotal = Currency{};
        // A new pass only when it has a track to play: a class choice that no
        // track has ends here.
        if (s.ReplayMode != 0 && firstEligible(d, count) >= 0) {
            stepOne(0);
        } else {
            stopActivePlayer();
        }
        return;
    }

    d.CollectionSaved = false;
    if (!s.AutoFavor) {
        d.ClassLabelsDirty = true;
        store.DeikseAgapi(d.TrackClass[static_cast<std::size_t>(d.CurrentTrack)], d.CurrentTrack);
    } else {
        // The automatic rating gives the new track the last chosen class.
        app.library.Command8_Click();
    }
    Decide_Video();
    store.Etiketes_Synol_Songs();
}

void Playback::stopActivePlayer() {
    Player& p = activePlayer();
    p.controls.stop();
    p.close();
}

void Playback::Show_Current_Media() {
    Form1& f = app.Form1;
    CollectionData& d = app.collection.d;
    const std::int32_t t = d.CurrentTrack;
    if (t < 0 || t >= f.List2.ListCount()) return;
    d.CurrentFile = f.List2.List(t);
    f.Command10[1].setCaption("Τρέχων Κομμάτι - Current Media [" + Format(t + 1, "00000") + "]");
    app.Form4.Text1.setText("[" + Format(t + 1, "00000") + "] - [" + Format(f.List2.ListCount(), "00000") + "]");
    f.List2.setListIndex(t);
    f.List2.setSelected(t, true);
    for (ListBox& column : f.List3_0) {
        if (t < column.ListCount()) {
            column.setSelected(t, true);
            column.setListIndex(t);
        }
    }
}

void Playback::Clear_Track_Selection() {
    Form1& f = app.Form1;
    for (int i = 0; i < f.List2.ListCount(); ++i) {
        f.List2.setSelected(i, false);
        for (ListBox& column : f.List3_0) {
            if (i < column.ListCount()) column.setSelected(i, false);
        }
    }
}

void Playback::Step_Track() {
    const int steps = app.state.StepCount;
    asTrackStart([this, steps] { repeatStep(LastStepDirection, steps); });
}

void Playback::repeatStep(int direction, int steps) {
    switch (direction) {
        case -2: stepBack(steps); break;
        case -1: stepOne(1); break;
        case 0: stepOne(0); break;
        case 1: stepForward(steps); break;
        default: break;
    }
}

}  // namespace tarvolin
