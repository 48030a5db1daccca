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

// An unplayed track of a chosen class, from the current one on: the next
// rows in turn, or shuffled draws. There must be one (firstEligible).
NextTrack drawTrack(const CollectionData& d, int count, bool shuffle, const std::function<float()>& draw) {
    NextTrack next{NextTrack::Kind::Drawn, d.CurrentTrack < 0 || d.CurrentTrack >= count ? 0 : d.CurrentTrack, 0};
    const bool restricted = classChoiceActive(d);
    next.serialAdvance = d.PlayOrder[static_cast<std::size_t>(next.track)];
    const std::int32_t n = count - 1;
    for (;;) {
        if (shuffle) {
            next.track = CLng(static_cast<double>(draw()) * n);
        } else if (next.serialAdvance != 0) {
            next.track = next.track + 1 > n ? 0 : next.track + 1;
        }
        const auto i = static_cast<std::size_t>(next.track);
        if (d.PlayOrder[i] != 0) continue;
        if (restricted && !classChosen(d, i)) {
            next.serialAdvance = -1;
            continue;
        }
        return next;
    }
}

}  // namespace

NextTrack chooseNextTrack(const CollectionData& d, const NextTrackMode& mode, const std::function<float()>& draw) {
    const int count = mode.rows;
    const auto inRows = [count](std::int32_t t) { return t >= 0 && t < count; };
    if (d.CollectionJustLoaded) {
        return {NextTrack::Kind::Resume, count == 0 ? -1 : inRows(d.CurrentTrack) ? d.CurrentTrack : 0};
    }
    if (mode.replayMode == 1 || mode.playSelected) {
        std::int32_t t = mode.playSelected && inRows(mode.selected) ? mode.selected : d.CurrentTrack;
        if (!inRows(t)) t = count == 0 ? -1 : 0;
        return {NextTrack::Kind::Keep, t};
    }
    if (firstEligible(d, count) < 0) return {NextTrack::Kind::PassOver};
    return drawTrack(d, count, mode.shuffle, draw);
}

void Playback::Bres_Kommati() {
    asTrackStart([this] { chooseTrack(); });
}

void Playback::chooseTrack() {
    ModuleState& s = app.state;
    CollectionData& d = app.collection.d;
    const NextTrackMode mode{app.Form1.List2.ListCount(), app.Form1.List2.ListIndex(), s.ReplayMode, s.PlaySelected,
                             s.ShuffleOn};
    const NextTrack next = chooseNextTrack(d, mode, [this] { return app.random.Rnd(); });

    if (next.kind != NextTrack::Kind::Resume) d.StartPosition = 0;
    switch (next.kind) {
        case NextTrack::Kind::Resume:
            // The loaded track plays again from where it was left.
            d.CollectionJustLoaded = false;
            if (next.track < 0) return;
            d.CurrentTrack = next.track;
            if (d.MaxPlayedCount <= 0) d.MaxPlayedCount = d.PlayedCount;
            break;
        case NextTrack::Kind::Keep:
            s.PlaySelected = false;
            if (next.track < 0) return;
            d.CurrentTrack = next.track;
            break;
        case NextTrack::Kind::Drawn:
            SerialAdvance = next.serialAdvance;
            d.CurrentTrack = next.track;
            numberInPlayOrder();
            break;
        case NextTrack::Kind::PassOver:
            if (d.MaxPlayedCount < d.PlayedCount) d.MaxPlayedCount = d.PlayedCount;
            endPass();
            return;
    }
    Show_Current_Media();
    if (d.MaxPlayedCount < d.PlayedCount) d.MaxPlayedCount = d.PlayedCount;
    rateChosenTrack();
}

void Playback::numberInPlayOrder() {
    CollectionData& d = app.collection.d;
    ++d.PlayedCount;
    if (d.PlayedCount > app.Form1.List2.ListCount()) d.PlayedCount = 1;
    d.PlayOrder[static_cast<std::size_t>(d.CurrentTrack)] = d.PlayedCount;
    d.TrackSaved[static_cast<std::size_t>(d.CurrentTrack)] = false;
}

void Playback::endPass() {
    Form1& f = app.Form1;
    ModuleState& s = app.state;
    CollectionData& d = app.collection.d;
    const int count = f.List2.ListCount();
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
}

void Playback::rateChosenTrack() {
    CollectionStore& store = app.collection;
    CollectionData& d = store.d;
    d.CollectionSaved = false;
    if (!app.state.AutoFavor) {
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
