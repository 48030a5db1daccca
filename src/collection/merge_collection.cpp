// Merging another saved collection into the current one: every track whose
// path the current collection does not hold yet is appended, with its play
// mark, class and spare slots as the other collection stored them.
#include <algorithm>
#include <limits>
#include <unordered_set>

#include "app/program.h"
#include "collection/collection_store.h"
#include "collection/store_files.h"
#include "toolkit/record_file.h"

namespace tarvolin {

namespace sf = storefiles;

namespace {

constexpr int R = sf::kTrackRecords;

// The paths of the track list; the merge compares paths exactly.
std::unordered_set<std::string> listedPaths(const ListBox& list) {
    std::unordered_set<std::string> paths;
    paths.reserve(static_cast<std::size_t>(list.ListCount()) * 2 + 16);
    for (int i = 0; i < list.ListCount(); ++i) paths.insert(list.List(i));
    return paths;
}

std::int32_t addMarks(std::int32_t a, std::int32_t b) {
    const std::int64_t sum = static_cast<std::int64_t>(a) + b;
    return static_cast<std::int32_t>(std::min<std::int64_t>(sum, std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

void CollectionStore::Merge_Collection(const std::string& path) {
    ModuleState& s = app_.state;
    Form1& f = app_.Form1;
    BulkScope suspend(s, BulkScope::Timer);

    const bool report = s.KeepReport == -1;
    if (report) Report_File(-1);
    app_.dialogs().setMousePointer(11);
    Make_Invisible();

    std::int32_t appended = 0;
    const bool readingRan = mergeTracksOf(path, appended);

    // The tables hold exactly the tracks listed.
    d.TrackCount = f.List2.ListCount();
    d.resizeTrackTables(d.TrackCount);

    if (report) Report_File(0);
    Make_Visible();
    app_.dialogs().setMousePointer(0);

    if (readingRan) keepOrClearMergedPlayMarks(appended);
}

bool CollectionStore::mergedTrackCount(const std::string& path, std::int32_t& otherCount) {
    auto logError = [&] {
        logLine(" --->Λάθος κατά τη φόρτωση της συλλογής \"" + path + "\" -> Error while loading Collection");
    };
    RecordFile file;
    if (!file.Open(path, RecordFile::Mode::Read, sf::kCollectionRecord)) {
        logError();
        return false;
    }
    std::string version;
    if (!file.GetString(1, version)) {
        logError();
        return false;
    }
    if (!version.empty() && version != app_.state.VersionText) {
        app_.dialogs().MsgBox("Συλλογή δημιουργημένη με διαφορετική έκδοση - Collection Created with different version",
                              mb::Exclamation);
        return false;
    }
    if (version.empty()) return false;

    // Of the other header only the track count is used; the video mode
    // of record 7 stays the current one's. A header that ends before it
    // holds no tracks.
    if (!file.GetLong(6, otherCount) || otherCount < 0) {
        logError();
        return false;
    }
    file.Close();

    if (static_cast<std::int64_t>(d.TrackCount) + otherCount > kMaxTracks) {
        app_.dialogs().MsgBox("Η παρούσα συλλογή μαζί με την νέα ξεπερνούν το όριο κομματιών --> " + Str(kMaxTracks) +
                                  " <-- New Collection plus the old exceeds this limit!",
                              mb::Critical);
        return false;
    }
    return true;
}

bool CollectionStore::mergeTracksOf(const std::string& path, std::int32_t& appended) {
    Form1& f = app_.Form1;
    std::int32_t otherCount = 0;
    if (!mergedTrackCount(path, otherCount)) return false;

    std::string partFile = sf::withoutExtension(path) + "_Files.ptlf";
    if (const std::string found = sf::findAnyCase(partFile); !found.empty()) partFile = found;

    mergeReadFailed_ = false;
    std::int32_t newCount = 0;
    Count_New_Media(partFile, otherCount, newCount);
    d.resizeTrackTables(d.TrackCount + newCount);

    logLine("-> Ανάγνωση αρχείων από Συλλογή σε πρόσθεση... - Reading files from Collection in add...");
    const int before = f.List2.ListCount();
    std::int32_t failed = 0;
    // A damaged track is left out alone; the others are read.
    Load_Collection_Files_Add(partFile, failed, otherCount);
    appended = f.List2.ListCount() - before;
    if (failed != 0 || mergeReadFailed_) {
        logLine("-> Λάθη στην ανάγνωση αρχείων συλλογής... - Error Reading Collection Files...");
    } else {
        f.Text2[0].prepend("Σύνολο νέων κομματιών: \"" + Str(appended) + ": New Items were Loaded\r\n");
        logLine(" -> Τέλος φορτώματος - End loading");
    }
    // Nothing is stored yet under the merged collection's name.
    d.CollectionSaved = false;
    for (std::size_t i = 0; i < d.TrackSaved.size(); ++i) d.TrackSaved[i] = false;
    return true;
}

void CollectionStore::keepOrClearMergedPlayMarks(std::int32_t appended) {
    const int answer = app_.dialogs().MsgBox(
        "Θέλετε τα κομμάτια της εισαγώμενης συλλογής που είχαν αναπαραχθεί να λογισθούν ως "
        "αναπαραγμένα και στην παρούσα συλλογή;\r\n"
        "Would you like to consider the allready reproduced media of the imported Collection "
        "as reproduced also in this one?",
        mb::YesNo + mb::Question);
    if (answer == mb::Yes) {
        Merge_Play_Marks(appended);
    } else {
        const int rows = app_.Form1.List2.ListCount();
        for (int i = rows - appended; i < rows; ++i) {
            if (d.hasEntry(i)) d.PlayOrder[static_cast<std::size_t>(i)] = 0;
        }
    }
}

void CollectionStore::Count_New_Media(const std::string& partFile, std::int32_t otherCount, std::int32_t& newCount) {
    logLine("--> Έλεγχος για ύπαρξη νέων πολυμέσων στην συλλογή πριν το οριστικό φόρτωμα --> \"" + partFile +
            "\". Checking for new Files before loading...");
    RecordFile file;
    if (!sf::exists(partFile) || !file.Open(partFile, RecordFile::Mode::Read, sf::kTrackRecord)) {
        // No tracks to take: nothing is appended, and no file is made.
        mergeReadFailed_ = true;
    } else {
        // The tracks that the reading step will append: a path that can be
        // read, not empty, not listed yet and not counted before.
        std::unordered_set<std::string> paths = listedPaths(app_.Form1.List2);
        std::string path;
        for (std::int32_t i = 0; i < otherCount; ++i) {
            if (!file.GetString(static_cast<std::int64_t>(i) * R + 12, path)) {
                mergeReadFailed_ = true;
            } else if (!path.empty() && path != " " && paths.insert(path).second) {
                ++newCount;
            }
            app_.loop().DoEvents();
            const std::int64_t done = i + 1;
            if (sf::progressDue(done, otherCount)) Show_Progress(done, otherCount, 1);
        }
        file.Close();
    }
    logLine("--> Νέα πολυμέσα προς ένωση -->" + Str(newCount) + " από -->" + Str(otherCount) +
            "\r\nNew media to merge -->" + Str(newCount) + " out of -->" + Str(otherCount));
}

void CollectionStore::Load_Collection_Files_Add(const std::string& partFile, std::int32_t& failed, std::int32_t count) {
    Form1& f = app_.Form1;
    RecordFile file;
    if (!sf::exists(partFile) || !file.Open(partFile, RecordFile::Mode::Read, sf::kTrackRecord)) {
        failed = -1;
        mergeReadFailed_ = true;
        return;
    }
    const std::int32_t oldCount = d.TrackCount;
    std::int32_t appended = 0;
    std::unordered_set<std::string> paths = listedPaths(f.List2);
    RecordBlock block(sf::kTrackRecord, R);

    for (std::int32_t i = 0; i < count; ++i) {
        [&] {
            if (!file.ReadBlock(static_cast<std::int64_t>(i) * R + 1, block)) {
                failed = -1;
                return;
            }
            std::string path;
            if (!block.GetString(12, path)) {
                failed = -1;
                return;
            }
            if (path.empty() || path == " " || paths.count(path) != 0) return;
            if (f.List2.ListCount() >= kMaxTracks) return;

            const std::int32_t entry = oldCount + appended;
            if (!d.hasEntry(entry)) d.resizeTrackTables(entry);
            const auto e = static_cast<std::size_t>(entry);
            d.PlayOrder[e] = std::max<std::int32_t>(block.GetLong(1), 0);
            d.TrackDuration[e] = block.GetCurrency(2);
            d.TrackClass[e] = block.GetInteger(3);
            d.TrackSize[e] = block.GetCurrency(4);
            d.TrackResumePos[e] = block.GetCurrency(5);
            d.TrackBitrate[e] = block.GetInteger(6);
            bool good = block.GetString(7, d.TrackArtist[e]);
            good = block.GetString(8, d.TrackGenre[e]) && good;
            good = block.GetString(9, d.TrackAlbum[e]) && good;
            good = block.GetString(10, d.TrackTitle[e]) && good;
            good = block.GetString(11, d.TrackYear[e]) && good;
            d.TrackInfoRead[e] = block.GetBoolean(13);
            for (int j = 0; j < kSpareSlots; ++j) {
                d.TrackExtraNum[e][static_cast<std::size_t>(j)] = block.GetInteger(14 + 2 * j);
                good = block.GetString(15 + 2 * j, d.TrackExtraText[e][static_cast<std::size_t>(j)]) && good;
            }
            for (Currency* amount : {&d.TrackDuration[e], &d.TrackSize[e], &d.TrackResumePos[e]}) {
                if (!sf::saneAmount(*amount)) {
                    *amount = Currency{};
                    good = false;
                }
            }
            if (!good) failed = -1;
            if (d.TrackClass[e] < 0 || d.TrackClass[e] >= kClassCount) d.TrackClass[e] = 0;
            d.TrackSaved[e] = false;

            appendTrackRow(e, path);
            paths.insert(path);
            ++appended;
        }();
        app_.loop().DoEvents();
        const std::int64_t done = i + 1;
        if (sf::progressDue(done, count)) Show_Progress(done, count, 1);
    }
    file.Close();
    d.TrackCount = f.List2.ListCount();
}

void CollectionStore::Merge_Play_Marks(std::int32_t n) {
    const int rows = app_.Form1.List2.ListCount();
    const int first = std::max(0, rows - n);
    std::int32_t top = 0;
    for (int i = first; i < rows && d.hasEntry(i); ++i) {
        const auto e = static_cast<std::size_t>(i);
        if (d.PlayOrder[e] > 0 && d.PlayOrder[e] > top) top = d.PlayOrder[e];
        d.TrackSaved[e] = false;
    }
    for (int i = 0; i < first && d.hasEntry(i); ++i) {
        const auto e = static_cast<std::size_t>(i);
        if (d.PlayOrder[e] > 0) d.PlayOrder[e] = addMarks(d.PlayOrder[e], top);
        d.TrackSaved[e] = false;
    }
    d.MaxPlayedCount = addMarks(d.MaxPlayedCount, top);
    d.PlayedCount = addMarks(d.PlayedCount, top);
}

}  // namespace tarvolin
