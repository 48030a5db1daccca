// The track part file: 45 records of 400 bytes per track, with the track's
// play mark, duration, class, size, resume point, bit rate, tags, path,
// attributes-read switch and spare slots.
#include <algorithm>
#include <limits>
#include <utility>

#include "app/program.h"
#include "collection/collection_store.h"
#include "collection/store_files.h"
#include "toolkit/record_file.h"

namespace tarvolin {

namespace sf = storefiles;

namespace {

constexpr int R = sf::kTrackRecords;

// Tracks written by one system call in a full rewrite.
constexpr int kTracksPerWrite = 64;

}  // namespace

bool CollectionStore::appendTrackRow(std::size_t e, std::string path, bool sizeRead) {
    Form1& f = app_.Form1;
    if (!f.List2.AddItem(std::move(path))) return false;
    const auto c = static_cast<std::size_t>(d.TrackClass[e]);
    f.List3_0[0].AddItem(sf::numberText(static_cast<std::int64_t>(e)));
    f.List3_0[1].AddItem(sf::classLetter(d.TrackClass[e]));
    f.List3_0[2].AddItem(sf::durationText(d.TrackDuration[e]));
    f.List3_0[3].AddItem(sizeRead ? sf::sizeText(d.TrackSize[e]) : "00.00");
    f.List3_0[4].AddItem(sf::bitrateText(d.TrackBitrate[e]));
    d.TotalDuration += d.TrackDuration[e];
    d.TotalSize += d.TrackSize[e];
    d.ClassCount[c] += 1;
    d.ClassSize[c] += d.TrackSize[e];
    d.ClassDuration[c] += d.TrackDuration[e];
    return true;
}

bool CollectionStore::pathFitsCollection(const std::string& path) {
    if (path.size() + 2 <= static_cast<std::size_t>(sf::kTrackRecord)) return true;
    pathsLeftOut_.push_back(path);
    return false;
}

void CollectionStore::logPathsLeftOut() {
    for (const std::string& path : pathsLeftOut_) {
        logLine("-> Η διαδρομή είναι πολύ μεγάλη για να φυλαχτεί στη συλλογή και το αρχείο δεν προστέθηκε: \"" + path +
                "\" - The path is too long to be kept in the collection and the file was not added: \"" + path + "\"");
    }
    pathsLeftOut_.clear();
}

// What reading the track part file has found so far.
struct CollectionStore::TrackFileRead {
    RecordFile file;
    bool open = false;
    std::int64_t fileRecords = 0;
    std::int64_t total = 0;
    std::int64_t played = 0;
    std::int64_t read = 0;
    std::int64_t progress = 0;
    std::int32_t failures = 0;
    std::string firstFailure;
    // Tracks are read kTracksPerWrite at a time, from batchFirst on.
    RecordBlock block{sf::kTrackRecord, R * kTracksPerWrite};
    std::int32_t batchFirst = -1;
    std::size_t row = 0;  // the entry (and row) the next kept track takes
    std::string path;
    // The first failure is the one shown; all are counted.
    void fail(const std::string& text) {
        if (failures == 0) firstFailure = text;
        ++failures;
    }
};

void CollectionStore::Load_Collection_Files(const std::string& Path, std::int32_t& Failed) {
    Form1& f = app_.Form1;
    TrackFileRead in;
    // A missing file reads as blank records: its tracks have no path.
    in.open = sf::exists(Path) && in.file.Open(Path, RecordFile::Mode::Read, sf::kTrackRecord);
    if (sf::exists(Path) && !in.open) {
        Failed = -1;
        app_.dialogs().MsgBox(std::to_string(in.file.errorNumber()) + "-->:" + in.file.errorText());
    }
    in.fileRecords = in.open ? in.file.RecordCount() : 0;

    const std::int32_t count = std::max<std::int32_t>(d.TrackCount, 0);
    in.total = count;
    // Every track takes a row in the list and in each column.
    f.List2.reserve(f.List2.ListCount() + count);
    for (ListBox& column : f.List3_0) column.reserve(column.ListCount() + count);

    for (std::int32_t i = 0; i < count; ++i) {
        if (!readTrack(i, in)) break;
        app_.loop().DoEvents();
        ++in.progress;
        if (sf::progressDue(in.progress, in.total)) Show_Progress(in.progress, in.total, 1);
    }

    // Entries and rows are the same tracks: the count follows the rows.
    const int rows = f.List2.ListCount();
    if (rows < d.TrackCount) {
        d.TrackCount = rows;
        d.resizeTrackTables(rows);
    }

    if (in.played != d.MaxPlayedCount) Renumber_Play_Order();

    if (in.failures > 0) {
        Failed = -1;
        app_.dialogs().MsgBox(in.firstFailure);
        logLine("-> Λάθη ανάγνωσης κομματιών:" + Str(in.failures) + " - Track read errors:" + Str(in.failures));
    }
    // The current track must be a row; on an empty list there is none.
    if (in.read == 0 || d.CurrentTrack < 0 || d.CurrentTrack >= rows) {
        d.CurrentTrack = 0;
        d.StartPosition = 0;
    }
    if (in.read == 0) {
        in.file.Close();
        return;
    }
    selectCurrentRow();
    in.file.Close();
}

bool CollectionStore::readTrack(std::int32_t i, TrackFileRead& in) {
    const std::int64_t first = static_cast<std::int64_t>(i) * R + 1;
    if (!in.open || first > in.fileRecords) {
        // The file ends before this track: it and every later one have
        // no path, and nothing more is there to read.
        partFileIncomplete_ = true;
        Show_Progress(in.total, in.total, 1);
        return false;
    }
    if (in.batchFirst < 0 || i >= in.batchFirst + kTracksPerWrite) {
        in.batchFirst = i;
        if (!in.file.ReadBlock(first, in.block)) {
            in.block.clear();
            in.fail(std::to_string(in.file.errorNumber()) + "-->:" + in.file.errorText());
        }
    }
    if (first + 11 > in.fileRecords) partFileIncomplete_ = true;

    const std::size_t e = in.row;
    decodeTrack((i - in.batchFirst) * R, e, in);
    if (!in.path.empty() && in.path != " ") {
        if (e != static_cast<std::size_t>(i)) d.TrackSaved[e] = false;  // moved up
        appendTrackRow(e, std::move(in.path));
        if (d.PlayOrder[e] > d.MaxPlayedCount) d.MaxPlayedCount = d.PlayOrder[e];
        if (d.PlayOrder[e] != 0) ++in.played;
        ++in.read;
        ++in.row;
    } else {
        // A track without a path is dropped; the next one takes its entry.
        d.emptyTrackEntry(e);
    }
    return true;
}

void CollectionStore::decodeTrack(int b, std::size_t e, TrackFileRead& in) {
    const RecordBlock& block = in.block;
    bool good = true;
    auto text = [&](int k, std::string& into) {
        if (!block.GetString(k, into)) good = false;
    };
    text(b + 12, in.path);

    d.PlayOrder[e] = block.GetLong(b + 1);
    d.TrackDuration[e] = block.GetCurrency(b + 2);
    d.TrackClass[e] = block.GetInteger(b + 3);
    d.TrackSize[e] = block.GetCurrency(b + 4);
    d.TrackResumePos[e] = block.GetCurrency(b + 5);
    d.TrackBitrate[e] = block.GetInteger(b + 6);
    text(b + 7, d.TrackArtist[e]);
    text(b + 8, d.TrackGenre[e]);
    text(b + 9, d.TrackAlbum[e]);
    text(b + 10, d.TrackTitle[e]);
    text(b + 11, d.TrackYear[e]);
    d.TrackInfoRead[e] = block.GetBoolean(b + 13);
    for (int j = 0; j < kSpareSlots; ++j) {
        d.TrackExtraNum[e][static_cast<std::size_t>(j)] = block.GetInteger(b + 14 + 2 * j);
        text(b + 15 + 2 * j, d.TrackExtraText[e][static_cast<std::size_t>(j)]);
    }
    // A track read with an error is written whole by the next save.
    d.TrackSaved[e] = good;
    if (!good) in.fail("59-->:Bad record length");

    // Amounts that no media file has are damage; they would also break
    // the sums.
    for (Currency* amount : {&d.TrackDuration[e], &d.TrackSize[e], &d.TrackResumePos[e]}) {
        if (!sf::saneAmount(*amount)) {
            *amount = Currency{};
            d.TrackSaved[e] = false;
            in.fail("6-->:Overflow");
        }
    }
    if (d.TrackClass[e] < 0 || d.TrackClass[e] >= kClassCount) {
        d.TrackClass[e] = 0;
        d.TrackSaved[e] = false;
    }
}

void CollectionStore::selectCurrentRow() {
    Form1& f = app_.Form1;
    f.List2.setSelected(d.CurrentTrack, true);
    for (ListBox& column : f.List3_0) {
        if (d.CurrentTrack < column.ListCount()) column.setSelected(d.CurrentTrack, true);
    }
}

void CollectionStore::encodeTracks(std::int32_t from, std::int32_t split, const TrackRunSink& put, std::int32_t& Failed,
                                   std::vector<std::int32_t>& whole) {
    Form1& f = app_.Form1;
    const std::int32_t count = std::min<std::int32_t>(d.TrackCount, f.List2.ListCount());
    const std::int64_t total = count;
    std::int64_t progress = 0;

    // Consecutive tracks go out together.
    RecordBlock batch(sf::kTrackRecord, R * kTracksPerWrite);
    std::int32_t runStart = -1;  // first track of the batch
    int runLength = 0;
    std::vector<std::int32_t> pending;  // tracks in the batch that encoded whole

    auto flush = [&] {
        if (runLength == 0) return;
        if (put(runStart, batch, runLength * R)) {
            whole.insert(whole.end(), pending.begin(), pending.end());
        } else {
            Failed = -1;
            ++ioFailures_;
        }
        pending.clear();
        runStart = -1;
        runLength = 0;
    };

    for (std::int32_t i = 0; i < count && d.hasEntry(i); ++i) {
        const auto e = static_cast<std::size_t>(i);
        if (!d.TrackSaved[e] || i >= from) {
            if (runLength > 0 && (runStart + runLength != i || i == split)) flush();
            if (runLength == 0) runStart = i;
            // Every record of the track is written whole (value and zero tail).
            const int b = runLength * R;
            bool fits = true;
            auto text = [&](int k, const std::string& value) {
                // A text that does not fit its record cannot be stored; the
                // record stays empty and the track stays unsaved.
                if (!batch.PutString(b + k, value)) {
                    fits = false;
                    batch.PutString(b + k, "");
                }
            };
            batch.PutLong(b + 1, d.PlayOrder[e]);
            batch.PutCurrency(b + 2, d.TrackDuration[e]);
            batch.PutInteger(b + 3, d.TrackClass[e]);
            batch.PutCurrency(b + 4, d.TrackSize[e]);
            batch.PutCurrency(b + 5, d.TrackResumePos[e]);
            batch.PutInteger(b + 6, d.TrackBitrate[e]);
            text(7, d.TrackArtist[e]);
            text(8, d.TrackGenre[e]);
            text(9, d.TrackAlbum[e]);
            text(10, d.TrackTitle[e]);
            text(11, d.TrackYear[e]);
            text(12, f.List2.List(i));
            batch.PutBoolean(b + 13, d.TrackInfoRead[e]);
            for (int j = 0; j < kSpareSlots; ++j) {
                batch.PutInteger(b + 14 + 2 * j, d.TrackExtraNum[e][static_cast<std::size_t>(j)]);
                text(15 + 2 * j, d.TrackExtraText[e][static_cast<std::size_t>(j)]);
            }
            ++runLength;
            if (fits) {
                pending.push_back(i);
            } else {
                Failed = -1;
            }
            if (runLength == kTracksPerWrite) flush();
        }
        ++progress;
        if (sf::progressDue(progress, total)) Show_Progress(progress, total, 0);
    }
    flush();
}

}  // namespace tarvolin
