// The collection file: the collection's header (version, browse folder,
// current track and position, track count, video mode, totals, alarm file,
// class switches, play counters), with the loading and saving of the whole
// collection through its two part files.
#include <filesystem>
#include <system_error>

#include "app/program.h"
#include "collection/collection_store.h"
#include "collection/store_files.h"
#include "toolkit/record_file.h"

namespace tarvolin {

namespace sf = storefiles;

namespace {

bool unsaved(const CollectionData& d, int rows) {
    const int n = std::min<int>(rows, static_cast<int>(d.TrackSaved.size()));
    for (int i = 0; i < n; ++i)
        if (!d.TrackSaved[static_cast<std::size_t>(i)]) return true;
    return false;
}

}  // namespace

std::string CollectionStore::trackPartFileOf(const std::string& collectionPath) {
    return sf::withoutExtension(collectionPath) + "_Files.ptlf";
}

std::string CollectionStore::filterPartFileOf(const std::string& collectionPath) {
    static const std::string folder = "tarvolin_sylloges/";
    // The first occurrence, without regard to letter case (the name is ASCII,
    // so a byte-wise comparison cannot match inside a longer character).
    std::size_t p = std::string::npos;
    for (std::size_t i = 0; i + folder.size() <= collectionPath.size(); ++i) {
        bool same = true;
        for (std::size_t k = 0; k < folder.size() && same; ++k) {
            char c = collectionPath[i + k];
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
            same = c == folder[k];
        }
        if (same) {
            p = i;
            break;
        }
    }
    if (p == std::string::npos) {
        // A collection outside the collections folder keeps its filters beside it.
        return sf::withoutExtension(collectionPath) + "_Filters.ptlf";
    }
    const std::string name = collectionPath.substr(p + folder.size());
    return collectionPath.substr(0, p) + "tarvolin_filtra/" + sf::withoutExtension(name) + "_Filters.ptlf";
}

void CollectionStore::logCollectionError() {
    logLine(" --->Λάθος κατά τη φόρτωση της συλλογής \"" + d.CollectionPath + "\" -> Error while loading Collection");
}

void CollectionStore::Load_Collection() {
    Form1& f = app_.Form1;
    ModuleState& s = app_.state;
    sf::SuspendTimer suspend(s);
    const std::string path = d.CollectionPath;
    // Whether the file is to be kept from being written over: another
    // version, a header that cannot be read whole, an impossible count.
    bool refuse = false;

    app_.dialogs().setMousePointer(11);
    Make_Invisible();

    [&] {
        RecordFile file;
        const std::int64_t size = sf::fileSize(path);
        if (!sf::exists(path)) {
            // A new collection: its file is made empty and holds nothing yet.
            if (!file.Open(path, RecordFile::Mode::ReadWrite, sf::kCollectionRecord)) logCollectionError();
            return;
        }
        if (!file.Open(path, RecordFile::Mode::Read, sf::kCollectionRecord)) {
            logCollectionError();
            refuse = size != 0;
            return;
        }

        std::string version;
        if (!file.GetString(1, version)) {
            logCollectionError();
            refuse = true;
            return;
        }
        if (!version.empty() && version != s.VersionText) {
            app_.dialogs().MsgBox("Συλλογή δημιουργημένη με διαφορετική έκδοση - Collection Created with different version",
                                  mb::Exclamation);
            refuse = true;
            return;
        }
        if (version.empty()) {
            // Nothing stored yet. A file with bytes in it is no collection of ours.
            refuse = size > 0;
            return;
        }

        // Each value is read on its own; a failing one is logged and the
        // next is read. Values beyond the end of the file mean a cut header.
        auto check = [&](bool ok) {
            if (!ok) logCollectionError();
            if (!ok || file.pastEnd()) refuse = true;
            return ok;
        };

        std::string text;
        if (check(file.GetString(2, text))) {
            s.Busy = true;
            if (!f.Drive1.setDrive(text)) logCollectionError();
            s.Busy = false;
        }
        if (check(file.GetString(3, text))) {
            s.Busy = true;
            if (!f.Dir1.setPath(text)) logCollectionError();
            s.Busy = false;
        }

        std::int32_t value = 0;
        if (check(file.GetLong(4, value))) d.CurrentTrack = value;
        if (check(file.GetLong(5, value))) d.StartPosition = value;
        std::int32_t count = 0;
        check(file.GetLong(6, count));
        std::int16_t video = 0;
        if (check(file.GetInteger(7, video))) s.VideoMode = video;

        for (int k = 0; k <= 2; ++k) {
            if (MenuItem* item = f.mnuvideoshow.get(k)) item->setChecked(false);
        }
        const int checkedItem = s.VideoMode == -1 ? 0 : s.VideoMode == 0 ? 1 : 2;
        if (MenuItem* item = f.mnuvideoshow.get(checkedItem)) item->setChecked(true);

        Currency dropped;
        for (int r = 8; r <= 10; ++r) check(file.GetCurrency(r, dropped));
        if (check(file.GetString(11, text))) s.AlarmFile = text;

        for (int c = 0; c < kClassCount; ++c) {
            std::int16_t on = 0;
            if (!check(file.GetInteger(12 + c, on))) continue;
            d.PlayClassOn[static_cast<std::size_t>(c)] = on != 0 ? -1 : 0;
            if (on != 0) d.PlayClassActive = true;
        }
        if (check(file.GetLong(18, value))) d.PlayedCount = value;
        if (check(file.GetLong(19, value))) d.MaxPlayedCount = value;
        if (d.MaxPlayedCount < d.PlayedCount) d.MaxPlayedCount = d.PlayedCount;
        file.Close();

        if (count > kMaxTracks || count < 0) {
            if (count > kMaxTracks) {
                app_.dialogs().MsgBox("Η παρούσα συλλογή ξεπερνά το όριο κομματιών " + Str(kMaxTracks) +
                                          " New Collection exceeds this limit",
                                      mb::Critical);
            } else {
                logCollectionError();
            }
            // Nothing of it is loaded: the collection stays empty and whole.
            refuse = true;
            d.TrackCount = 0;
            d.CurrentTrack = 0;
            d.StartPosition = 0;
            d.PlayedCount = 0;
            d.MaxPlayedCount = 0;
            d.clearTrackTables(0);
            return;
        }

        d.TrackCount = count;
        d.clearTrackTables(count);
        d.TotalDuration = Currency{};
        d.TotalSize = Currency{};
        d.ClassCount.fill(0);
        d.ClassSize.fill(Currency{});
        d.ClassDuration.fill(Currency{});

        std::string trackFile = trackPartFileOf(path);
        std::string filterFile = filterPartFileOf(path);
        // A part file kept under another letter case takes the one spelling.
        for (std::string* part : {&trackFile, &filterFile}) {
            const std::string found = sf::findAnyCase(*part);
            if (!found.empty() && found != *part) {
                std::error_code ec;
                std::filesystem::rename(found, *part, ec);
                if (ec) *part = found;
            }
        }

        if (d.TrackCount > 0) {
            std::int32_t failed = 0;
            partFileIncomplete_ = false;
            logLine("-> Ανάγνωση αρχείων από Συλλογή... - Reading files from Collection...");
            Load_Collection_Files(trackFile, failed);
            // A part file that could not be read whole is not written over.
            if (failed != 0 || partFileIncomplete_) refuse = true;
            if (failed == 0 && s.LoadFiltersAtStart) {
                logLine("-> Ανάγνωση Φίλτρων Συλλογής... - Reading Collection Filters...");
                Load_Collection_Filters(filterFile, failed);
            }
            if (failed != 0) {
                logLine("-> Λάθη στην ανάγνωση αρχείων συλλογής... - Error Reading Collection Files...");
            } else {
                logLine(" -> Τέλος φορτώματος - End loading");
            }
        }
        PartFilesPath = trackFile;
        d.CollectionSaved = true;
    }();

    // The current track is a row, or 0 on an empty list.
    if (d.CurrentTrack < 0 || d.CurrentTrack >= f.List2.ListCount()) {
        if (d.CurrentTrack != 0) d.StartPosition = 0;
        d.CurrentTrack = 0;
    }
    RefusedCollectionPath = refuse ? path : std::string();
    Make_Visible();
    if (d.TrackCount > 0) d.CollectionJustLoaded = true;
    app_.dialogs().setMousePointer(0);
}

void CollectionStore::Save_Collection(bool Ask, bool FullRewrite) {
    Form1& f = app_.Form1;
    ModuleState& s = app_.state;

    if (Ask && app_.dialogs().MsgBox("Θα σώσετε την παρούσα συλλογή; \r\nDo you want to save the present collection?",
                                     mb::YesNo + mb::Question) != mb::Yes) {
        return;
    }
    if (!RefusedCollectionPath.empty() && RefusedCollectionPath == d.CollectionPath) {
        logLine("-> Η συλλογή δεν σώθηκε: το αρχείο της δεν διαβάστηκε ολόκληρο - "
                "Collection not saved: its file could not be read whole");
        return;
    }
    bool failure = false;

    // Where the playing track was left.
    const double position = sf::activePlayer(app_).controls.currentPosition();
    d.StartPosition = tryCLng(position).value_or(0);
    const int rows = f.List2.ListCount();
    if (d.CurrentTrack >= 0 && d.CurrentTrack < rows && d.hasEntry(d.CurrentTrack)) {
        const auto at = static_cast<std::size_t>(d.CurrentTrack);
        const Currency resume = Currency::fromInteger(d.StartPosition);
        if (d.TrackResumePos[at] != resume) {
            d.TrackResumePos[at] = resume;
            d.TrackSaved[at] = false;
        }
    }
    d.TrackCount = rows;

    auto writeHeader = [&] {
        RecordFile file;
        if (!file.Open(d.CollectionPath, RecordFile::Mode::ReadWrite, sf::kCollectionRecord)) {
            failure = true;
            ++ioFailures_;
        } else {
            auto put = [&](bool ok) {
                if (ok) return;
                failure = true;
                if (file.errorNumber() != 59) ++ioFailures_;
            };
            put(file.PutString(1, s.VersionText));
            put(file.PutString(2, f.Drive1.Drive()));
            put(file.PutString(3, f.Dir1.Path()));
            put(file.PutLong(4, d.CurrentTrack));
            put(file.PutLong(5, d.StartPosition));
            put(file.PutLong(6, d.TrackCount));
            put(file.PutInteger(7, static_cast<std::int16_t>(s.VideoMode)));
            put(file.PutCurrency(8, d.TotalDuration));
            put(file.PutCurrency(9, d.PlayedTotal));
            put(file.PutCurrency(10, d.DurationLeft));
            put(file.PutString(11, s.AlarmFile));
            for (int c = 0; c < kClassCount; ++c) put(file.PutInteger(12 + c, d.PlayClassOn[static_cast<std::size_t>(c)]));
            put(file.PutLong(18, d.PlayedCount));
            put(file.PutLong(19, d.MaxPlayedCount));
            put(file.PutCurrency(20, d.FavorPlayedTotal));
            put(file.PutCurrency(21, d.FavorTimeLeft));
            put(file.PutCurrency(22, d.FavorDuration));
            for (int c = 0; c < kClassCount; ++c) put(file.PutCurrency(23 + c, d.ClassDuration[static_cast<std::size_t>(c)]));
            put(file.Close());
        }
    };

    const std::string trackFile = trackPartFileOf(d.CollectionPath);
    const std::string filterFile = filterPartFileOf(d.CollectionPath);

    // A save anywhere but where the tracks were last read from or written
    // to, or where their file has gone, writes every track into a new file.
    const bool full = FullRewrite || PartFilesPath != trackFile || (rows > 0 && !sf::exists(trackFile));
    if (full) {
        for (int i = 0; i < rows && d.hasEntry(i); ++i) d.TrackSaved[static_cast<std::size_t>(i)] = false;
    }
    // The value lists are rewritten when they changed; tracks changed alone
    // need only their own table rows.
    const bool writeFilters = full || d.FiltersDirty;
    const bool writeRows = !writeFilters && unsaved(d, rows);

    std::int32_t failed = 0;
    if (full) {
        // The new files are written beside the old ones and take their
        // names only when both were written whole; the header follows them,
        // so a failed rewrite leaves the old three files together.
        const std::string newFilters = sf::temporaryBeside(filterFile);
        const std::string newTracks = sf::temporaryBeside(trackFile);
        // A text too long for its record fails the save, yet the files are
        // whole and take their places; only refused writes keep the old ones.
        ioFailures_ = 0;
        Save_Collection_Filters(newFilters, failed);
        if (ioFailures_ == 0) Save_Collection_Files(newTracks, failed);
        if (ioFailures_ == 0) writeHeader();
        if (ioFailures_ == 0) {
            if (!sf::replaceFile(newFilters, filterFile) || !sf::replaceFile(newTracks, trackFile)) ++ioFailures_;
        }
        if (ioFailures_ != 0) {
            failed = -1;
            std::error_code ignored;
            std::filesystem::remove(newFilters, ignored);
            std::filesystem::remove(newTracks, ignored);
            for (int i = 0; i < rows && d.hasEntry(i); ++i) d.TrackSaved[static_cast<std::size_t>(i)] = false;
        } else {
            PartFilesPath = trackFile;
        }
    } else {
        writeHeader();
        if (writeFilters) Save_Collection_Filters(filterFile, failed);
        if (writeRows) Save_Changed_Filter_Rows(filterFile, failed);
        Save_Collection_Files(trackFile, failed);
    }
    if (failed != 0) failure = true;
    // Filters that did not reach their file are written again next time.
    if (!failure) d.FiltersDirty = false;

    if (Ask && !failure) {
        app_.dialogs().MsgBox("Επιτυχημένο Σώσιμο Συλλογής - Collection Saved Correctly", mb::Information);
    } else if (failure) {
        app_.dialogs().MsgBox("Λάθος κατά το σώσιμο Συλλογής. Παρακαλώ επαναλάβατε - Error while saving Collection. Please retry.",
                              mb::Critical);
    }

    SaveCounter += 1;
    if (!failure && SaveCounter >= 5) {
        SaveCounter = 0;
        for (const std::string& file : {d.CollectionPath, trackFile, filterFile}) {
            if (sf::exists(file)) sf::copyFile(file, backupOf(file));
        }
    }

    // Stored only when every part reached its file.
    d.CollectionSaved = !failure;
}

}  // namespace tarvolin
