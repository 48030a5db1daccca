// Emptying the collection, or resetting only its play marks or its ratings.
#include <vector>

#include "app/program.h"
#include "collection/collection_store.h"

namespace tarvolin {

void CollectionStore::Reset_Collection(int mode) {
    if (d.TrackCount < 0) d.TrackCount = 0;
    switch (mode) {
        case 0:
            Clear_Collection_View();
            Reset_Collection_Data();
            Reset_Play_Marks();
            Reset_Spare_Texts();
            break;
        case 1:
            Reset_Play_Marks();
            Reset_Spare_Texts();
            Clear_Class_Column();
            Calculate_Ratings();
            break;
        case 2:
            Reset_Ratings();
            Clear_Class_Column();
            Calculate_Ratings();
            break;
        default:
            break;
    }
    d.ClassLabelsDirty = true;
    DeikseAgapi(0, 0);
    d.CollectionSaved = false;
}

void CollectionStore::Clear_Collection_View() {
    Form1& f = app_.Form1;
    f.List2.Clear();
    for (ListBox& column : f.List3_0) column.Clear();
    f.Text1_0.setText("");
    f.Text1_1.setText("");
    f.Text1_2.setText("");
    f.Text1_3.setText("");
    f.Text1_4.setText("");
    f.Combo1.setListIndex(-1);
    f.Picture1.setPicture("");
}

void CollectionStore::Reset_Collection_Data() {
    Form1& f = app_.Form1;
    f.WindowsMediaPlayer1.close();
    f.WindowsMediaPlayer2.close();
    app_.Form2.WindowsMediaPlayer1.close();

    d.TrackCount = 0;
    // Every per-track table goes back to its single empty entry; the rows
    // of the full track table belong to the tracks as well.
    d.clearTrackTables(0);
    d.TableRows.clear();

    d.DurationLeft = Currency{};
    d.TotalSize = Currency{};
    d.TotalDuration = Currency{};
    d.ClassCount.fill(0);
    d.ClassSize.fill(Currency{});
    d.ClassDuration.fill(Currency{});
    d.FavorTrackCount = 0;
    d.InfoFile.clear();
    d.CurrentFile.clear();
    d.StartPosition = 0;
    d.CurrentTrack = 0;
    d.PlayedCount = 0;
    d.MaxPlayedCount = 0;
    app_.state.VideoMode = 0;
    d.TimeTextTotal = "00:00:00:00";

    f.Text5[0].setText("00:00:00");
    app_.Form4.Text5[0].setText("00:00:00");

    d.TickHours = Currency{};
    d.TickMinutes = Currency{};
    d.TickSeconds = Currency{};

    Clear_Filters();
    f.Text6.setText("");

    for (int player = 1; player <= 2; ++player) {
        Load_Dump_Media(player);
        Kill_Dump_Media();
    }
}

void CollectionStore::Reset_Play_Marks() {
    const std::size_t entries = d.trackEntries();
    for (std::size_t i = 0; i < entries; ++i) {
        d.PlayOrder[i] = 0;
        d.TrackResumePos[i] = Currency{};
        d.TrackClass[i] = 0;
        d.TrackSaved[i] = false;
    }
    d.PlayedTotal = Currency{};
    d.DurationLeft = d.TotalDuration;

    const int rows = app_.Form1.List2.ListCount();
    if (rows > 0) {
        // The current track opens the new pass.
        if (d.CurrentTrack >= 0 && d.CurrentTrack < rows && d.hasEntry(d.CurrentTrack)) {
            d.PlayOrder[static_cast<std::size_t>(d.CurrentTrack)] = 1;
            d.TrackSaved[static_cast<std::size_t>(d.CurrentTrack)] = false;
        }
        d.PlayedCount = 1;
        d.MaxPlayedCount = 1;
    } else {
        d.PlayedCount = 0;
        d.MaxPlayedCount = 0;
    }

    d.StartPosition = 0;
    d.TimeTextB.clear();
    d.TimeTextC.clear();
    Etiketes_Synol_Songs();
}

void CollectionStore::Reset_Spare_Texts() {
    for (SpareTexts& texts : d.TrackExtraText) texts.fill(std::string());
}

void CollectionStore::Reset_Ratings() {
    // A track whose class goes must have its records written again.
    for (std::size_t i = 0; i < d.TrackClass.size(); ++i) {
        if (d.TrackClass[i] == 0) continue;
        d.TrackClass[i] = 0;
        d.TrackSaved[i] = false;
    }
    for (std::string& label : d.ClassDurationLabel) label.clear();
}

void CollectionStore::Clear_Class_Column() {
    Form1& f = app_.Form1;
    BulkScope busy(app_.state, BulkScope::Busy);

    ListBox* classColumn = f.List3_0.get(1);
    if (classColumn) classColumn->setVisible(false);

    const int rows = f.List2.ListCount();
    if (classColumn)
        for (int i = 0; i < rows && i < classColumn->ListCount(); ++i) classColumn->setList(i, "-");

    // The current track's row alone stays selected.
    const std::int32_t current = d.CurrentTrack;
    const bool currentShown = current > -1 && current < rows;
    auto selectCurrentOnly = [&](ListBox& list) {
        std::vector<unsigned char> flags(static_cast<std::size_t>(list.ListCount()), 0);
        if (currentShown && current < list.ListCount()) flags[static_cast<std::size_t>(current)] = 1;
        list.setSelectionFlags(flags);
    };
    selectCurrentOnly(f.List2);
    for (ListBox& column : f.List3_0) selectCurrentOnly(column);
    if (currentShown && d.hasEntry(current) && d.PlayOrder[static_cast<std::size_t>(current)] == 0) {
        d.PlayOrder[static_cast<std::size_t>(current)] = d.PlayedCount;
        d.TrackSaved[static_cast<std::size_t>(current)] = false;
    }

    if (classColumn) classColumn->setVisible(true);
}

}  // namespace tarvolin
