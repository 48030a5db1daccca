#pragma once
// The current collection's tables and counters.
//
// Every per-track table is indexed by track number from 0 and has the
// entries 0 to TrackCount: one more than there are tracks, the top entry
// belonging to no track. They are always resized together, through
// resizeTrackTables() (contents kept) or clearTrackTables() (every entry
// emptied). Row i of List2 and of every List3_0 column, and entry i of every
// per-track table, are the same track.
//
// The per-class tables are indexed by class code: 0 unclassified, 1 X, 2 C,
// 3 B, 4 A, 5 S. Sizes are megabytes, durations seconds.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/runtime.h"

namespace tarvolin {

inline constexpr int kClassCount = 6;        // class codes 0..5
inline constexpr int kSpareSlots = 16;       // spare slots 0..15 per track
inline constexpr std::int32_t kMaxTracks = 32766;

using SpareNumbers = std::array<std::int16_t, kSpareSlots>;
using SpareTexts = std::array<std::string, kSpareSlots>;

struct CollectionData {
    // ---- Per-track tables (entries 0..TrackCount) ----
    std::vector<std::int32_t> PlayOrder;      // 0 unplayed in this pass, else its ordinal
    std::vector<Currency> TrackDuration;      // seconds
    std::vector<Currency> TrackSize;          // megabytes
    std::vector<Currency> TrackResumePos;     // seconds where playing was left
    std::vector<std::int16_t> TrackClass;     // class code 0..5
    std::vector<std::int16_t> TrackBitrate;   // kbps
    std::vector<std::string> TrackArtist;
    std::vector<std::string> TrackGenre;
    std::vector<std::string> TrackAlbum;
    std::vector<std::string> TrackTitle;
    std::vector<std::string> TrackYear;
    std::vector<bool> TrackInfoRead;          // the media attributes were read
    std::vector<SpareNumbers> TrackExtraNum;  // [track][slot]
    std::vector<SpareTexts> TrackExtraText;   // [track][slot]
    std::vector<bool> TrackSaved;             // the part-file records are up to date

    // Row text of the full track table: the row of List5 line j is at j - 2.
    // Sized by the table builder and the filter part file, not with the
    // tables above (its upper index tells the builder whether it is whole).
    std::vector<std::string> TableRows;

    // ---- Per-class tables (index = class code 0..5) ----
    std::array<std::int32_t, kClassCount> ClassCount{};
    std::array<Currency, kClassCount> ClassSize{};      // megabytes
    std::array<Currency, kClassCount> ClassDuration{};  // seconds
    std::array<std::int16_t, kClassCount> PlayClassOn{};  // -1 = this class is played
    std::array<std::string, kClassCount> ClassSizeLabel;
    std::array<std::string, kClassCount> ClassDurationLabel;
    std::string TotalSizeLabel;                          // the line of all tracks

    // ---- Counters ----
    std::int32_t TrackCount = 0;
    std::int32_t CurrentTrack = 0;
    std::int32_t PlayedCount = 0;        // position in the play history
    std::int32_t MaxPlayedCount = 0;     // furthest position reached
    std::int32_t StartPosition = 0;      // seconds at which the next started track begins
    std::string CurrentFile;             // file loaded in the playing player
    std::string InfoFile;                // file whose information is shown

    Currency TotalDuration{};          // seconds, all tracks
    Currency TotalSize{};              // megabytes, all tracks
    Currency DurationLeft{};           // seconds still to play in this pass
    Currency PlayedTotal{};            // seconds of the tracks played in this pass
    Currency PlayedTimeNow{};          // seconds played ("Now")

    // Classes chosen for play
    bool PlayClassActive = false;        // some class switch is set
    std::int32_t FavorTrackCount = 0;
    Currency FavorDuration{};
    Currency FavorPlayedTotal{};
    Currency FavorTimeLeft{};
    Currency FavorPlayedNow{};

    // Work values of the timer tick
    Currency TickHours{}, TickMinutes{}, TickSeconds{};

    // Time texts kept for other readers
    std::string TimeTextTotal = "00:00:00:00";
    std::string TimeTextB;               // from DurationLeft
    std::string TimeTextC;               // from PlayedTimeNow

    // ---- The collection as a whole ----
    std::string CollectionPath;          // the current collection file
    bool CollectionSaved = false;        // the collection in memory is stored
    bool CollectionJustLoaded = false;   // the next choice resumes the loaded track
    bool ClassLabelsDirty = true;        // the class label texts must be rebuilt
    bool FiltersDirty = false;           // the filter part file must be rewritten

    // ---- Sizing ----
    // Number of entries every per-track table has now.
    std::size_t trackEntries() const { return PlayOrder.size(); }

    // Resizes every per-track table to trackCount + 1 entries, keeping the
    // contents; new entries take the empty value of their type.
    void resizeTrackTables(std::int32_t trackCount);

    // Resizes every per-track table to exactly trackCount + 1 entries and
    // empties every entry.
    void clearTrackTables(std::int32_t trackCount);

    // Empties entry i of every per-track table. The spare texts become
    // `spareText` (the removal leaves "0" there, an emptying "").
    void emptyTrackEntry(std::size_t i, const std::string& spareText = std::string());

    // Copies entry `from` into entry `to` in every per-track table except
    // TrackSaved.
    void copyTrackEntry(std::size_t from, std::size_t to);

    // True when i names an entry of the per-track tables.
    bool hasEntry(std::int64_t i) const {
        return i >= 0 && static_cast<std::size_t>(i) < PlayOrder.size();
    }
};

// A class code usable as an index: anything outside 0..5 reads as
// unclassified.
inline int validClass(int c) { return (c >= 0 && c < kClassCount) ? c : 0; }

}  // namespace tarvolin
