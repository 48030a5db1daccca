#pragma once
// A Program with a small collection for the filter boxes and the track
// tables: tracks are put in as the loaders leave them (a row in List2 and in
// every column, the table entries), and the class names are in filter box 0
// as start-up leaves them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "collection/store_files.h"
#include "support/program_harness.h"

namespace tarvolin {

struct TrackInfo {
    std::string path{};
    std::string title{}, artist{}, album{}, genre{}, year{};
    int cls = 0;
    double seconds = 60;
    double megabytes = 1;
    int kbps = 128;
};

class TrackTableTest : public ::testing::Test {
protected:
    ProgramHarness h;

    Program& app() { return *h; }
    Library& lib() { return h->library; }
    CollectionData& d() { return h->collection.d; }
    Form1& f1() { return h->Form1; }
    ModuleState& state() { return h->state; }

    static constexpr const char* kClassNames[6] = {
        "Ασημείωτα - Unmarked", "Κλάση Χ' - Class X'", "Κλάση Γ' - Class C'",
        "Κλάση Β' - Class B'",  "Κλάση Α' - Class A'", "Κλάση Υ' - Class S'",
    };

    void SetUp() override {
        for (const char* name : kClassNames) f1().Combo4_0[0].AddItem(name);
    }

    int addTrack(const TrackInfo& t) {
        Form1& f = f1();
        CollectionData& data = d();
        const int i = f.List2.ListCount();
        const Currency seconds = Currency::fromDouble(t.seconds);
        const Currency size = Currency::fromDouble(t.megabytes);
        data.resizeTrackTables(i + 1);
        const auto e = static_cast<std::size_t>(i);
        data.TrackTitle[e] = t.title;
        data.TrackArtist[e] = t.artist;
        data.TrackAlbum[e] = t.album;
        data.TrackGenre[e] = t.genre;
        data.TrackYear[e] = t.year;
        data.TrackClass[e] = static_cast<std::int16_t>(t.cls);
        data.TrackDuration[e] = seconds;
        data.TrackSize[e] = size;
        data.TrackBitrate[e] = static_cast<std::int16_t>(t.kbps);
        data.TrackSaved[e] = true;
        app().collection.appendTrackRow(e, t.path);
        data.TrackCount = i + 1;
        return i;
    }

    // Track numbers (1-based) of a table's track lines, in line order.
    static std::vector<int> tracksOf(const ListBox& table) {
        std::vector<int> out;
        for (int j = 2; j < table.ListCount(); ++j) out.push_back(static_cast<int>(Val(Mid(table.List(j), 8, 6))));
        return out;
    }

    // The values listed by a filter box.
    std::vector<std::string> itemsOf(int box) {
        std::vector<std::string> out;
        const ComboBox& c = f1().Combo4_0[box];
        for (int i = 0; i < c.ListCount(); ++i) out.push_back(c.List(i));
        return out;
    }

    // Types a filter text as the user does (the box's Change event).
    void typeFilter(int box, const std::string& text) { f1().Combo4_0[box].userEdited(text); }

    // Every box empty again and the filter set gathered.
    void clearFilters() {
        lib().Reboot_Filters();
        lib().Gather_Filters();
    }

    int logLines(const std::string& piece) {
        const std::string& log = f1().Text2[0].Text();
        int count = 0;
        for (std::size_t at = log.find(piece); at != std::string::npos; at = log.find(piece, at + 1)) ++count;
        return count;
    }
};

}  // namespace tarvolin
