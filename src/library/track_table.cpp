// The track tables of the file-managing page: the full table List5 with one
// fixed-width line per track, and the filtered table List4 with the tracks
// that pass the filter set. Each track's row is formatted once and kept in
// TableRows, so filtering only compares values and copies stored rows.
//
// Widths count characters, not bytes, so Greek text keeps the columns in line.
#include <array>
#include <string>
#include <string_view>

#include "app/program.h"
#include "library/library.h"
#include "library/track_table_rows.h"
#include "toolkit/runtime.h"

namespace tarvolin {

namespace {

struct Field {
    int width;
    const char* heading;
};

// The eleven fields of a row, in order.
constexpr std::array<Field, 11> kFields = {{
    {45, "          ΤΙΤΛΟΣ - TITLE"},
    {20, "ΠΡΟΤΙΜΗΣΗ - FAVORITE"},
    {9, "HH:MM:SS"},
    {10, "ΜΕΓ - SIZE"},
    {7, "KBPS"},
    {15, "ΕΙΔΟΣ - GENRE"},
    {20, "ΚΑΛΛΙΤΕΧΝΗΣ - ARTIST"},
    {50, "        ΆΛΜΠΟΥΜ - ALBUM"},
    {4, "Ε:Y"},
    {60, "         ΑΡΧΕΙΟ - FILE"},
    {256, "         ΔΙΑΔΡΟΜΗ - PATH"},
}};

// The favour field: after the title (45 characters) and its "|".
constexpr int kFavourStart = 47;
constexpr int kFavourWidth = 20;

// text fitted to width characters, then "|".
void appendField(std::string& out, std::string_view text, int width) {
    out += PadRight(text, width);
    out += '|';
}

// The value of an optional text table entry.
const std::string& entry(const std::vector<std::string>& table, std::size_t i) {
    static const std::string empty;
    return i < table.size() ? table[i] : empty;
}

// The two track numbers in front of a row: "000000|000000|".
std::string linePrefix(std::int64_t first, std::int64_t track) {
    std::string s = Format(first, "000000");
    s += '|';
    s += Format(track, "000000");
    s += '|';
    return s;
}

}  // namespace

namespace tracktable {

std::string className(const Form1& f, int cls) {
    return f.Combo4_0.has(0) ? f.Combo4_0[0].List(cls) : std::string();
}

std::string buildRow(Program& app, std::int32_t i) {
    const Form1& f = app.Form1;
    const CollectionData& d = app.collection.d;
    const auto e = static_cast<std::size_t>(i);
    const bool known = d.hasEntry(i);
    const std::string& path = f.List2.List(i);
    std::string name;
    CollectionStore::File_Name_Of_Path(path, name);
    const std::string folder = path.substr(0, path.size() - name.size());

    std::string row;
    row.reserve(560);
    appendField(row, entry(d.TrackTitle, e), kFields[0].width);
    appendField(row, className(f, known ? d.TrackClass[e] : 0), kFields[1].width);
    appendField(row, f.List3_0[2].List(i), kFields[2].width);
    appendField(row, f.List3_0[3].List(i), kFields[3].width);
    appendField(row, f.List3_0[4].List(i) + "Kbps", kFields[4].width);
    appendField(row, entry(d.TrackGenre, e), kFields[5].width);
    appendField(row, entry(d.TrackArtist, e), kFields[6].width);
    appendField(row, entry(d.TrackAlbum, e), kFields[7].width);
    appendField(row, entry(d.TrackYear, e), kFields[8].width);
    appendField(row, name, kFields[9].width);
    appendField(row, folder, kFields[10].width);
    return row;
}

std::string trackValue(Program& app, int k, std::int32_t i) {
    const Form1& f = app.Form1;
    const CollectionData& d = app.collection.d;
    const auto e = static_cast<std::size_t>(i);
    switch (k) {
        case 0: return className(f, d.hasEntry(i) ? d.TrackClass[e] : 0);
        case 1: return f.List3_0[2].List(i);
        case 2: return f.List3_0[3].List(i);
        case 3: return f.List3_0[4].List(i) + "Kbps";
        case 4: return entry(d.TrackGenre, e);
        case 5: return entry(d.TrackAlbum, e);
        case 6: return entry(d.TrackArtist, e);
        case 7: return entry(d.TrackYear, e);
        case 8: return entry(d.TrackTitle, e);
        default: return std::string();
    }
}

}  // namespace tracktable

const std::string& Library::tableHeading() {
    if (headingLine_.empty()) {
        headingLine_ = "FILTER| TOTAL|";
        separatorLine_ = "~~~~~~|~~~~~~|";
        for (const Field& field : kFields) {
            appendField(headingLine_, field.heading, field.width);
            separatorLine_ += std::string(static_cast<std::size_t>(field.width), '~');
            separatorLine_ += '|';
        }
    }
    return headingLine_;
}

void Library::Filtered_Songs_List(int& Rebuild) {
    Form1& f = app.Form1;
    ModuleState& s = app.state;
    CollectionData& d = app.collection.d;

    // Nothing to show of an empty track list.
    const std::int32_t n = f.List2.ListCount() - 1;
    if (n < 0) return;
    // A call made while a table is being filled (from a yield) would mix two
    // fillings in one list.
    if (s.Filtering) return;

    // Rows missing or left over: the tracks changed since they were made.
    // The full table must also hold a line for every track: start-up leaves
    // one empty row, which a collection of one track would otherwise take
    // for its own.
    const auto tracks = static_cast<std::size_t>(n) + 1;
    if (d.TableRows.size() != tracks || static_cast<std::size_t>(f.List5.ListCount()) != tracks + 2) {
        Rebuild = -1;
        d.FiltersDirty = true;
    }

    // The filter frame is off while the tables are filled.
    s.Filtering = true;
    f.Frame12.setEnabled(false);
    app.collection.logLine(" -> Φιλτράρισμα Στοιχείων - Filtering Properties");

    tableHeading();

    // Both tables are filled hidden and drawn once when shown.
    for (ListBox* table : {&f.List4, &f.List5}) {
        table->setVisible(false);
        table->setEnabled(false);
    }

    const bool tooMany = n > d.TrackCount;
    if (Rebuild == -1) {
        // The full table.
        d.TableRows.assign(static_cast<std::size_t>(n) + 1, std::string());
        f.List5.Clear();
        f.List5.AddItem(headingLine_);
        f.List5.AddItem(separatorLine_);
        f.List4.Clear();
        for (std::int32_t i = 0; i <= n && !tooMany; ++i) {
            std::string row = tracktable::buildRow(app, i);
            f.List5.AddItem(linePrefix(i + 1, i + 1) + row);
            // Looked up again each time: the yield below may run anything.
            if (static_cast<std::size_t>(i) < d.TableRows.size()) d.TableRows[static_cast<std::size_t>(i)] = std::move(row);
            app.loop().DoEvents();
            if (i % 30 == 0 || i > n - 50) app.collection.Show_Progress(i, n, 1);
        }
    }
    if (TextFilterOn == -1) {
        // The filtered table. It follows a rebuild too, so that a filter
        // chosen just after tracks were added shows its tracks at once.
        std::array<std::string, 9> wanted;
        for (std::size_t k = 0; k < wanted.size(); ++k) {
            if (FilterOn[k] == -1) wanted[k] = foldCase(FilterText[k]);
        }
        f.List4.Clear();
        f.List4.AddItem(headingLine_);
        f.List4.AddItem(separatorLine_);
        std::int64_t passing = 0;
        for (std::int32_t i = 0; i <= n && !tooMany; ++i) {
            // Each active filter counts one; each value holding its text
            // takes one off. The track passes at 0.
            int left = 0;
            for (std::size_t k = 0; k < wanted.size(); ++k) {
                if (FilterOn[k] != -1) continue;
                ++left;
                const std::string value = foldCase(tracktable::trackValue(app, static_cast<int>(k), i));
                if (value.find(wanted[k]) != std::string::npos) --left;
            }
            if (left == 0) {
                ++passing;
                f.List4.AddItem(linePrefix(passing, i + 1) + entry(d.TableRows, static_cast<std::size_t>(i)));
            }
            if (i % 10 == 0 || i > n - 50) app.collection.Show_Progress(i, n, 1);
        }
    } else if (Rebuild != -1) {
        // The wake-up file list of the snooze window is made again from
        // the tracks when that window is next shown.
        app.Form5.Combo1.Clear();
    }

    // The filtered table is shown while a filter is on, else the full one.
    ListBox& shown = TextFilterOn == -1 ? f.List4 : f.List5;
    ListBox& other = TextFilterOn == -1 ? f.List5 : f.List4;
    shown.setVisible(true);
    shown.setEnabled(true);
    other.setVisible(false);
    other.setEnabled(false);

    s.Filtering = false;
    f.Frame12.setEnabled(true);
    app.collection.logLine(" -> Τέλος Φιλτραρίσματος - Filtering Ended");
}

void Library::Refresh_Filtered_Row(std::int32_t Track, int Column) {
    Form1& f = app.Form1;
    CollectionData& d = app.collection.d;
    if (Track < 0 || static_cast<std::size_t>(Track) >= d.TableRows.size()) return;
    if (Column != 0 || !d.hasEntry(Track)) return;
    std::string& row = d.TableRows[static_cast<std::size_t>(Track)];
    if (static_cast<long long>(Len(row)) < kFavourStart + kFavourWidth - 1) return;
    row = Left(row, kFavourStart - 1) + PadRight(tracktable::className(f, d.TrackClass[static_cast<std::size_t>(Track)]), kFavourWidth) +
          Mid(row, kFavourStart + kFavourWidth);
    const int line = Track + 2;
    if (line < f.List5.ListCount()) f.List5.setList(line, linePrefix(Track + 1, Track + 1) + row);
}

void Library::selectTrackOfLine(ListBox& table) {
    Form1& f = app.Form1;
    ModuleState& s = app.state;
    // The track number stands at characters 8 to 13.
    const std::string number = Mid(Left(table.List(table.ListIndex()), 20), 8, 6);
    if (!IsNumeric(number)) return;
    // Only a number that names a track of the list.
    const double value = Val(number);
    if (value < 1 || value > f.List2.ListCount()) return;
    const int t = static_cast<int>(value) - 1;
    BulkScope busy(s, BulkScope::Busy);
    f.List2.setListIndex(t);
    f.List2.setSelected(t, true);
    for (ListBox& column : f.List3_0) {
        column.setListIndex(t);
        column.setSelected(t, true);
    }
}

void Library::List4_MouseDown() { selectTrackOfLine(app.Form1.List4); }

void Library::List5_MouseDown() { selectTrackOfLine(app.Form1.List5); }

void Library::showAllTracks() {
    if (app.state.Filtering) return;
    Reboot_Filters();
    Filtered_Songs_List(0);
}

void Library::wireTrackTable() {
    Form1& f = app.Form1;
    // Every track's line fits beneath the heading and separator lines.
    f.List4.setItemLimit(kMaxTracks + 2);
    f.List5.setItemLimit(kMaxTracks + 2);

    for (ComboBox& box : f.Combo4_0) {
        const int k = box.Index();
        box.Change = [this, k] { Combo4_0_Change(k); };
        box.Click = [this, k] { Combo4_0_Click(k); };
    }
    f.Command17.Click = [this] { Command17_Click(); };
    // Return in the search box searches, as the button beside it does.
    if (TextBox* typed = f.Text2.get(4)) {
        typed->KeyPress = [this](int& key) {
            if (key != 13) return;
            key = 0;
            Command17_Click();
        };
    }
    if (CommandButton* search = f.Command6.get(0)) search->Click = [this] { Command6_Click(0); };
    if (CommandButton* all = f.Command16.get(1)) all->Click = [this] { showAllTracks(); };
    f.MnuMoreFiltersRemake.Click = [this] { MnuMoreFiltersRemake_Click(); };
    f.MnuFiltersLoad.Click = [this] { MnuFiltersLoad_Click(); };
}

}  // namespace tarvolin
