// The filter set of the file-managing page: nine boxes over the track table
// (class, duration, size, bit rate, genre, album, artist, year, title), their
// value lists, the active filter set gathered from them, and the rebuild
// that the collection commands ask for after the tracks changed.
#include <algorithm>
#include <string>
#include <unordered_set>
#include <vector>

#include "app/program.h"
#include "library/library.h"
#include "toolkit/runtime.h"

namespace tarvolin {

namespace {

constexpr int kBoxes = 9;  // boxes 0..8; box 0 holds the class names
// How often a refresh kept back by Busy looks whether Busy has cleared.
constexpr std::int64_t kPendingCheckMs = 100;

// The text that track i gives box k (1..8), "" when it gives none.
std::string boxValue(const CollectionData& d, int k, std::size_t i) {
    switch (k) {
        case 1: {
            // Whole seconds; hours beyond a day wrap round.
            const auto seconds = tryCLng(d.TrackDuration[i]);
            if (!seconds) return std::string();
            const std::int64_t hours = (*seconds % 86400) / 3600;
            const std::int64_t minutes = (*seconds % 3600) / 60;
            return Format(hours, "00") + ":" + Format(minutes, "00");
        }
        case 2: {
            const Currency megabytes = d.TrackSize[i];
            if (megabytes < Currency::fromInteger(1024)) return Format(megabytes, "#0.00") + "Mb";
            return Format(megabytes / 1024, "#0.00") + "Gb";
        }
        case 3: return Trim(Str(d.TrackBitrate[i])) + "Kbps";
        case 4: return Trim(d.TrackGenre[i]);
        case 5: return Trim(d.TrackAlbum[i]);
        case 6: return Trim(d.TrackArtist[i]);
        case 7: return Trim(d.TrackYear[i]);
        case 8: return Trim(d.TrackTitle[i]);
        default: return std::string();
    }
}

// Orders the values of box k for the user: durations in time order, sizes
// and bit rates by amount, texts alphabetically without regard to case.
void sortValues(int k, std::vector<std::string>& values) {
    if (k == 2 || k == 3) {
        auto amount = [k](const std::string& v) {
            // Sizes in Gb come after every size in Mb.
            const double scale = (k == 2 && v.size() >= 2 && v.compare(v.size() - 2, 2, "Gb") == 0) ? 1024.0 : 1.0;
            return Val(v) * scale;
        };
        std::stable_sort(values.begin(), values.end(),
                         [&](const std::string& a, const std::string& b) { return amount(a) < amount(b); });
        return;
    }
    std::vector<std::pair<std::string, std::string>> keyed;
    keyed.reserve(values.size());
    for (std::string& v : values) {
        std::string key = foldCase(v);
        keyed.emplace_back(std::move(key), std::move(v));
    }
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 0; i < keyed.size(); ++i) values[i] = std::move(keyed[i].second);
}

}  // namespace

void Library::Add_Filters() {
    Form1& f = app.Form1;
    ModuleState& s = app.state;
    CollectionData& d = app.collection.d;

    // A file command that rebuilds the filters itself holds Busy for its
    // whole run.
    if (s.Busy && !rebuildUnderBusy_) return;
    // The filters are built anew from the track list, when it has tracks.
    app.collection.Clear_Filters();
    if (f.List2.ListCount() == 0) return;
    app.collection.logLine(" -> Κατασκευή Φίλτρων Συλλογής... - Building collection filters...");

    // The first spelling of a value is kept; later ones that differ only
    // in letter case are left out.
    std::vector<std::vector<std::string>> values(kBoxes);
    std::vector<std::unordered_set<std::string>> seen(kBoxes);
    const std::int32_t n = f.List2.ListCount() - 1;
    for (std::int32_t i = 0; i <= n; ++i) {
        if (n > d.TrackCount) break;
        app.loop().DoEvents();
        if (!d.hasEntry(i)) continue;
        for (int k = 1; k < kBoxes; ++k) {
            std::string text = boxValue(d, k, static_cast<std::size_t>(i));
            if (text.empty()) continue;
            if (seen[static_cast<std::size_t>(k)].insert(foldCase(text)).second) {
                values[static_cast<std::size_t>(k)].push_back(std::move(text));
            }
        }
        if (i % 30 == 0 || i > n - 50) app.collection.Show_Progress(i, n, 1);
    }

    for (int k = 1; k < kBoxes; ++k) {
        ComboBox* box = f.Combo4_0.get(k);
        if (!box) continue;
        std::vector<std::string>& list = values[static_cast<std::size_t>(k)];
        sortValues(k, list);
        // Filled hidden, drawn once.
        const bool shown = box->Visible();
        if (shown) box->setVisible(false);
        for (std::string& v : list) box->AddItem(std::move(v));
        if (shown) box->setVisible(true);
    }

    // The next save writes the new filters.
    d.FiltersDirty = true;
}

void Library::Gather_Filters() {
    Form1& f = app.Form1;
    ModuleState& s = app.state;
    // Not during a bulk operation, nor while a table is being filtered.
    if (s.Busy || s.Filtering) return;
    // The filter boxes with a text are the filters on.
    TextFilterOn = 0;
    FilterText.fill(std::string());
    FilterOn.fill(0);
    for (ComboBox& box : f.Combo4_0) {
        const int k = box.Index();
        if (k < 0 || k >= kBoxes || box.Text().empty()) continue;
        FilterText[static_cast<std::size_t>(k)] = box.Text();
        FilterOn[static_cast<std::size_t>(k)] = -1;
    }
    if (std::find(FilterOn.begin(), FilterOn.end(), -1) != FilterOn.end()) TextFilterOn = -1;
    // The table shows the tracks that pass them.
    Filtered_Songs_List(0);
}

void Library::Reboot_Filters() {
    ModuleState& s = app.state;
    // The boxes' own events find Busy set and do nothing. A caller that
    // holds Busy keeps it.
    BulkScope busy(s, BulkScope::Busy);
    TextFilterOn = 0;
    for (ComboBox& box : app.Form1.Combo4_0) box.setListIndex(-1);
}

void Library::Refresh_Filters() {
    ModuleState& s = app.state;
    // Kept for later while bulk work holds Busy or the tables are being
    // filled; it runs once that is over.
    if ((s.Busy && !rebuildUnderBusy_) || s.Filtering || refreshing_) {
        refreshPending_ = true;
        schedulePendingRefresh();
        return;
    }
    refreshPending_ = false;
    refreshing_ = true;
    Add_Filters();
    app.loop().DoEvents();
    Reboot_Filters();
    Filtered_Songs_List(-1);
    refreshing_ = false;
}

void Library::saveAfterFileCommand(bool RebuildFilters) {
    // The filters and the table are rebuilt now, under the command's own
    // Busy, so that the save stores the table as the command left it.
    if (RebuildFilters) {
        rebuildUnderBusy_ = true;
        Refresh_Filters();
        rebuildUnderBusy_ = false;
    }
    saveCollectionTold();
}

void Library::schedulePendingRefresh() {
    if (refreshScheduled_) return;
    refreshScheduled_ = true;
    std::weak_ptr<bool> alive = alive_;
    MessageLoop& loop = app.loop();
    loop.postAt(loop.tickCount() + kPendingCheckMs, [this, alive] {
        if (alive.expired()) return;
        refreshScheduled_ = false;
        if (!refreshPending_) return;
        Refresh_Filters();  // keeps waiting while still held back
    });
}

void Library::Remake_Filters() {
    Form1& f = app.Form1;
    // Asked on the filter page; a yes rebuilds them from the first page.
    f.MultiPage1.setValue(1);
    const int answer = app.dialogs().MsgBox(
        "Θέλετε να δημιουργήσετε νέα φίλτρα για τα αρχεία σας; Αυτό μπορεί να απαιτήσει χρόνο.\r\n"
        "Would you like to remake the song filters? This action could take some time to complete. ",
        mb::YesNo + mb::Question);
    if (answer == mb::No) return;
    f.MultiPage1.setValue(0);
    Refresh_Filters();
}

void Library::Combo4_0_Change(int /*Index*/) {
    if (!app.state.Busy) Gather_Filters();
}

void Library::Combo4_0_Click(int /*Index*/) {
    if (!app.state.Busy) Gather_Filters();
}

void Library::MnuMoreFiltersRemake_Click() { Remake_Filters(); }

void Library::MnuFiltersLoad_Click() {
    MenuItem& item = app.Form1.MnuFiltersLoad;
    item.setChecked(!item.Checked());
    app.state.LoadFiltersAtStart = item.Checked();
}

}  // namespace tarvolin
