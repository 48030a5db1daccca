// The locate buttons beside the pages: show the selected track's file in the
// file manager, mark the current track, or mark the tracks already played,
// in the track list, its columns and the track table on display.
#include <vector>

#include "app/program.h"
#include "playback/playback.h"

namespace tarvolin {

namespace {

// The track table on display: the full table when it is enabled, else the
// filtered one when that is enabled, else none.
ListBox* tableInUse(Form1& f) {
    if (f.List5.Enabled()) return &f.List5;
    if (f.List4.Enabled()) return &f.List4;
    return nullptr;
}

// Walks a table line by line alongside the tracks: the line at the cursor
// belongs to track i when characters 8 to 13 of its first 20 hold i + 1. A
// line that belongs takes the track's mark and the cursor moves on; tracks
// the table does not hold leave the cursor where it is.
class LineWalk {
public:
    LineWalk(const ListBox& table, std::vector<unsigned char>& lines) : table_(table), lines_(lines) {}
    void mark(std::int32_t track, bool on) {
        const std::string line = row_ < table_.ListCount() ? table_.List(row_) : std::string();
        const std::string number = Mid(Left(line, 20), 8, 6);
        if (!IsNumeric(number)) return;
        const auto value = tryCLng(Val(number));
        if (!value || *value != static_cast<std::int64_t>(track) + 1) return;
        lines_[static_cast<std::size_t>(row_)] = on ? 1 : 0;
        ++row_;
    }

private:
    const ListBox& table_;
    std::vector<unsigned char>& lines_;
    int row_ = 2;
};

// Selects the marked tracks (marks[i] for track i) alone in the track list,
// its columns and the table on display, all rows of a list at once. The full
// table holds every track two lines down; another table is walked line by
// line.
void markTracks(Form1& f, ListBox& table, const std::vector<unsigned char>& marks, bool everyTrackInTable) {
    f.List2.setSelectionFlags(marks);
    for (ListBox& column : f.List3_0) column.setSelectionFlags(marks);
    std::vector<unsigned char> lines = table.selectionFlags();
    LineWalk walk(table, lines);
    for (std::size_t i = 0; i < marks.size(); ++i) {
        if (!everyTrackInTable) walk.mark(static_cast<std::int32_t>(i), marks[i] != 0);
        else if (i + 2 < lines.size()) lines[i + 2] = marks[i];
    }
    table.setSelectionFlags(lines);
}

}  // namespace

void Playback::Command10_Click(int Index) {
    Form1& f = app.Form1;
    ModuleState& s = app.state;
    const CollectionData& d = app.collection.d;
    const bool currentIsRow = d.CurrentTrack >= 0 && d.CurrentTrack < f.List2.ListCount();

    if (Index == 0) {
        const int selected = f.List2.ListIndex();
        const std::string path = selected >= 0 && selected < f.List2.ListCount() ? f.List2.List(selected) : "";
        if (!path.empty()) {
            app.desktop().revealFile(path);
        } else {
            app.collection.logLine("-> Δεν υπάρχει κανένα αρχείο για προβολή - No file to display");
        }
        return;
    }

    if (Index == 1) {
        if (f.List2.ListIndex() == -1) return;
        ListBox* table = nullptr;
        {
            BulkScope busy(s, BulkScope::Busy);
            table = tableInUse(f);
            if (!table) return;
            f.MultiPage1.setValue(1);
        }
        const bool full = table == &f.List5;
        std::vector<unsigned char> marks(static_cast<std::size_t>(f.List2.ListCount()), 0);
        if (currentIsRow) marks[static_cast<std::size_t>(d.CurrentTrack)] = 1;
        markTracks(f, *table, marks, full);
        if (currentIsRow) {
            f.List2.setListIndex(d.CurrentTrack);
            for (ListBox& column : f.List3_0) column.setListIndex(d.CurrentTrack);
            if (full && d.CurrentTrack + 2 < f.List5.ListCount()) f.List5.setListIndex(d.CurrentTrack + 2);
        }
        return;
    }

    if (Index == 2) {
        BulkScope busy(s, BulkScope::Busy);
        ListBox* table = tableInUse(f);
        if (!table) return;
        std::vector<unsigned char> marks(static_cast<std::size_t>(f.List2.ListCount()), 0);
        for (std::int32_t i = 0; i < f.List2.ListCount(); ++i)
            marks[static_cast<std::size_t>(i)] = d.hasEntry(i) && d.PlayOrder[static_cast<std::size_t>(i)] > 0;
        markTracks(f, *table, marks, false);
        if (currentIsRow) {
            f.List2.setListIndex(d.CurrentTrack);
            for (ListBox& column : f.List3_0) column.setListIndex(d.CurrentTrack);
        }
        if (f.List5.ListCount() > 0 || f.List4.ListCount() > 0) {
            f.MultiPage1.setValue(1);
            if (table == &f.List5 && currentIsRow && d.CurrentTrack + 2 < f.List5.ListCount()) {
                f.List5.setListIndex(d.CurrentTrack + 2);
            }
        }
    }
}

void Playback::Open_Home_Page() { app.collection.Open_Help_Page(""); }

}  // namespace tarvolin
