// Rating the current track: one procedure carries out every rating command
// (the rating button, the class labels, the tray's rating items, automatic
// rating), moving the track between the per-class totals.
#include "app/program.h"
#include "library/library.h"

namespace tarvolin {

namespace {

const char* const kClassLetters[kClassCount] = {"-", "X", "C", "B", "A", "S"};

}  // namespace

void Library::Command8_Click() {
    Form1& f = app.Form1;
    CollectionData& d = app.collection.d;
    if (f.List2.ListCount() == 0) return;
    const std::int32_t track = d.CurrentTrack;
    // A current track outside the rows rates nothing.
    if (track < 0 || track >= f.List2.ListCount() || !d.hasEntry(track)) return;
    const int oldClass = validClass(d.TrackClass[static_cast<std::size_t>(track)]);

    int newClass;
    if (app.state.AutoFavor) {
        newClass = LastCycledClass;
    } else if (FavorCommand >= 9 && FavorCommand <= 14) {
        newClass = FavorCommand - 9;
    } else if (FavorCommand >= 15) {
        newClass = validClass(FavorCommand - 16);
    } else {
        LastCycledClass = oldClass + 1 > 5 ? 0 : oldClass + 1;
        newClass = LastCycledClass;
    }
    FavorCommand = newClass;

    Add_To_Favorites(track, oldClass, newClass);
    d.TrackSaved[static_cast<std::size_t>(track)] = false;
    Refresh_Filtered_Row(track, 0);
    if (d.PlayClassActive) {
        app.collection.Calc_Favor_Totals();
        app.collection.Etiketes_Synol_Songs();
    }
    // The button's new caption is the result; a screen reader is not told a
    // changed name of the button it is on.
    app.announce(f.Command8.Caption());
}

void Library::Add_To_Favorites(std::int32_t track, int oldClass, int newClass) {
    Form1& f = app.Form1;
    CollectionData& d = app.collection.d;
    const auto t = static_cast<std::size_t>(track);
    bool added = false;
    int letter = newClass;
    bool changed = true;
    if (newClass != 0 && d.TrackClass[t] == newClass) {
        // The class it already has is taken back.
        Subtract_Class_Totals(track, newClass);
        Remove_From_Favorites(track);
    } else if (newClass != 0) {
        d.TrackClass[t] = static_cast<std::int16_t>(newClass);
        const auto c = static_cast<std::size_t>(newClass);
        d.ClassCount[c] += 1;
        d.ClassSize[c] += d.TrackSize[t];
        d.ClassDuration[c] += d.TrackDuration[t];
        Subtract_Class_Totals(track, oldClass);
        added = true;
    } else {
        letter = oldClass;
        if (d.TrackClass[t] != 0) {
            Subtract_Class_Totals(track, oldClass);
            Remove_From_Favorites(track);
        } else {
            // Unclassified stays unclassified: nothing changed, nothing is
            // logged, but the display still follows the track.
            changed = false;
        }
    }

    d.ClassLabelsDirty = true;
    app.collection.DeikseAgapi(d.TrackClass[t], track);
    if (ListBox* column = f.List3_0.get(1); column && track < column->ListCount()) column->setListIndex(track);
    if (!changed) return;
    std::string name;
    CollectionStore::File_Name_Of_Path(f.List2.List(track), name);

    const std::string greek = added ? "Προστέθηκε στα" : "Αφαιρέθηκε από τα";
    const std::string english = added ? " has been added to" : " has been deleted from";
    const std::string mark = kClassLetters[validClass(letter)];
    app.collection.logLine("-> " + greek + " Αγαπημένα -* " + mark + " *- το : " +
                                                         "\r\n" + "\"" + name + "\"" + " " + "\r\n" + english +
                                                         " Favorites -* " + mark + " *-");
}

void Library::Remove_From_Favorites(std::int32_t track) {
    CollectionData& d = app.collection.d;
    const auto t = static_cast<std::size_t>(track);
    d.ClassCount[0] += 1;
    d.ClassSize[0] += d.TrackSize[t];
    d.ClassDuration[0] += d.TrackDuration[t];
    d.TrackClass[t] = 0;
    d.ClassLabelsDirty = true;
    app.collection.DeikseAgapi(d.TrackClass[t], track);
}

void Library::Subtract_Class_Totals(std::int32_t track, int cls) {
    CollectionData& d = app.collection.d;
    const auto t = static_cast<std::size_t>(track);
    const auto c = static_cast<std::size_t>(validClass(cls));
    d.ClassCount[c] -= 1;
    d.ClassSize[c] -= d.TrackSize[t];
    d.ClassDuration[c] -= d.TrackDuration[t];
}

void Library::MnuFavorAuto2_Click() {
    Form1& f = app.Form1;
    f.MnuFavorAuto2.setChecked(!f.MnuFavorAuto2.Checked());
    f.TrayFavorAuto.setChecked(f.MnuFavorAuto2.Checked());
    app.state.AutoFavor = f.MnuFavorAuto2.Checked();
}

void Library::wireRating() {
    Form1& f = app.Form1;
    f.Command8.Click = [this] { Command8_Click(); };
    app.Form4.Command8.Click = [this] { Command8_Click(); };
    const std::pair<MenuItem*, int> trayItems[] = {
        {&f.TrayFavorS, 14}, {&f.TrayFavorA, 13}, {&f.TrayFavorB, 12},
        {&f.TrayFavorC, 11}, {&f.TrayFavorX, 10}, {&f.TrayFavorUnclass, 9},
    };
    for (const auto& [item, command] : trayItems) {
        item->Click = [this, command = command] {
            FavorCommand = command;
            Command8_Click();
        };
    }
    f.MnuFavorAuto2.Click = [this] { MnuFavorAuto2_Click(); };
    f.TrayFavorAuto.Click = [this] { MnuFavorAuto2_Click(); };
}

}  // namespace tarvolin
