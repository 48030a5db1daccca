// The collection file: the collection's header (version, browse folder,
// current track and position, track count, video mode, totals, alarm file,
// class switches, play counters), with the loading and saving of the whole
// collection through its two part files.
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "app/program.h"
#include "collection/collection_store.h"
#include "collection/save_transaction.h"
#include "collection/store_files.h"
#include "toolkit/durable_file.h"
#include "toolkit/record_file.h"

namespace tarvolin {

namespace sf = storefiles;

namespace {

// The most bytes of tracks a save rewrites in place; beyond them (or half
// the file) the track part file is written anew.
constexpr std::int64_t kMostEditedBytes = std::int64_t(32) << 20;

bool unsaved(const CollectionData& d, int rows) {
    const int n = std::min<int>(rows, static_cast<int>(d.TrackSaved.size()));
    for (int i = 0; i < n; ++i)
        if (!d.TrackSaved[static_cast<std::size_t>(i)]) return true;
    return false;
}

// Makes the new track part file of a save (never through a link, never over
// a file already there) holding the first bytes of the old one: the tracks
// kept as they are, copied within the kernel where it can.
bool startNewTrackFile(const std::string& old, const std::string& fresh, std::int64_t bytes) {
    const int out = ::open(fresh.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (out < 0) return false;
    const int in = bytes > 0 ? ::open(old.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC) : -1;
    bool ok = bytes == 0 || in >= 0;
    // In steps, each sent on its way to the disk at once, so that the sync
    // before the commit has little left to wait for.
    constexpr std::int64_t step = std::int64_t(32) << 20;
    for (std::int64_t done = 0; ok && done < bytes; done += step) {
        const std::int64_t n = std::min(step, bytes - done);
        ok = durable::copyContents(in, out, static_cast<std::uint64_t>(n));
        if (ok) ::sync_file_range(out, done, n, SYNC_FILE_RANGE_WRITE);
    }
    if (in >= 0) ::close(in);
    return ::close(out) == 0 && ok;
}

// The bytes of one track in the track file.
constexpr std::int64_t kTrackBytes = std::int64_t(sf::kTrackRecords) * sf::kTrackRecord;

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

// What a load found besides the values it read.
struct CollectionStore::LoadOutcome {
    explicit LoadOutcome(CollectionStore& store) : store(store) {}
    CollectionStore& store;
    // Another version, or more tracks than a collection holds: never
    // written over while it is the current collection.
    bool refuse = false;
    // Something of the files could not be read: what could be read is
    // loaded, and the files are kept aside before the first save over them.
    bool damaged = false;
    bool errorLogged = false;
    // Tracks read with errors: the filters stored with them are not read.
    bool rebuildFilters = false;
    // A damaged collection file, logged once.
    void headerError() {
        damaged = true;
        if (!errorLogged) store.logCollectionError();
        errorLogged = true;
    }
};

void CollectionStore::Load_Collection() {
    Form1& f = app_.Form1;
    ModuleState& s = app_.state;
    BulkScope suspend(s, BulkScope::Timer);
    const std::string path = d.CollectionPath;
    LoadOutcome out(*this);

    app_.dialogs().setMousePointer(11);
    Make_Invisible();

    // A save that an earlier run left half made is finished, or undone,
    // before anything is read. The files as they were found are copied
    // first, and kept as ".damaged" should the load find damage.
    std::vector<std::string> asFound;
    {
        sf::SaveTransaction unfinished(path, trackPartFileOf(path), filterPartFileOf(path));
        if (!finishEarlierSave(unfinished, [&] { copyAsDamaged(asFound); })) out.damaged = true;
    }
    readCollection(path, out);

    // The current track is a row, or 0 on an empty list.
    if (d.CurrentTrack < 0 || d.CurrentTrack >= f.List2.ListCount()) {
        if (d.CurrentTrack != 0) d.StartPosition = 0;
        d.CurrentTrack = 0;
    }
    RefusedCollectionPath = out.refuse ? path : std::string();
    RefusalTold = false;
    DamagedCollectionPath = out.damaged && !out.refuse ? path : std::string();
    if (DamagedCollectionPath.empty()) {
        std::error_code ec;
        for (const std::string& copy : asFound) std::filesystem::remove(copy, ec);
    }
    Make_Visible();
    if (out.rebuildFilters) {
        app_.library.Refresh_Filters();
        d.FiltersDirty = true;
    }
    if (d.TrackCount > 0) d.CollectionJustLoaded = true;
    app_.dialogs().setMousePointer(0);
}

void CollectionStore::readCollection(const std::string& path, LoadOutcome& out) {
    RecordFile file;
    const std::int64_t size = sf::fileSize(path);
    if (!sf::exists(path)) {
        // A new collection: its file is made empty and holds nothing yet.
        if (!file.Open(path, RecordFile::Mode::ReadWrite, sf::kCollectionRecord, RecordFile::Links::Refuse))
            logCollectionError();
        return;
    }
    if (!file.Open(path, RecordFile::Mode::Read, sf::kCollectionRecord)) {
        out.headerError();
        return;
    }
    std::int32_t count = 0;
    if (!readCollectionHeader(file, size, out, count)) return;
    file.Close();

    if (count > kMaxTracks) {
        refuseOverLimit();
        out.refuse = true;
        return;
    }
    if (count < 0) {
        // No track can be told apart: none is read.
        out.headerError();
        count = 0;
    }
    startTrackTables(count);

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
    if (d.TrackCount > 0) readPartFiles(trackFile, filterFile, out);
    PartFilesPath = trackFile;
    d.CollectionSaved = true;
}

bool CollectionStore::readCollectionHeader(RecordFile& file, std::int64_t size, LoadOutcome& out, std::int32_t& count) {
    Form1& f = app_.Form1;
    ModuleState& s = app_.state;
    std::string version;
    if (!file.GetString(1, version)) {
        // The rest is read as a collection of this version.
        out.headerError();
    } else if (!version.empty() && version != s.VersionText) {
        app_.dialogs().MsgBox("Συλλογή δημιουργημένη με διαφορετική έκδοση - Collection Created with different version",
                              mb::Exclamation);
        out.refuse = true;
        return false;
    } else if (version.empty()) {
        // Nothing stored yet; bytes without a version are a damaged
        // header, read as far as it goes.
        if (size <= 0) return false;
        out.headerError();
    }

    // Each value is read on its own; a failing one is logged and the
    // next is read. Values beyond the end of the file read as 0.
    auto check = [&](bool ok) {
        if (!ok || file.pastEnd()) out.headerError();
        return ok;
    };

    std::string text;
    if (check(file.GetString(2, text))) {
        BulkScope busy(s, BulkScope::Busy);
        if (!f.Drive1.setDrive(text)) logCollectionError();
    }
    if (check(file.GetString(3, text))) {
        BulkScope busy(s, BulkScope::Busy);
        if (!f.Dir1.setPath(text)) logCollectionError();
    }

    std::int32_t value = 0;
    if (check(file.GetLong(4, value))) d.CurrentTrack = value;
    if (check(file.GetLong(5, value))) d.StartPosition = value;
    count = 0;
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
    return true;
}

void CollectionStore::refuseOverLimit() {
    app_.dialogs().MsgBox("Η παρούσα συλλογή ξεπερνά το όριο κομματιών " + Str(kMaxTracks) +
                              " New Collection exceeds this limit",
                          mb::Critical);
    // Nothing of it is loaded: the collection stays empty and whole.
    d.TrackCount = 0;
    d.CurrentTrack = 0;
    d.StartPosition = 0;
    d.PlayedCount = 0;
    d.MaxPlayedCount = 0;
    d.clearTrackTables(0);
}

void CollectionStore::startTrackTables(std::int32_t count) {
    d.TrackCount = count;
    d.clearTrackTables(count);
    d.TotalDuration = Currency{};
    d.TotalSize = Currency{};
    d.ClassCount.fill(0);
    d.ClassSize.fill(Currency{});
    d.ClassDuration.fill(Currency{});
}

void CollectionStore::readPartFiles(const std::string& trackFile, const std::string& filterFile, LoadOutcome& out) {
    ModuleState& s = app_.state;
    std::int32_t failed = 0;
    partFileIncomplete_ = false;
    logLine("-> Ανάγνωση αρχείων από Συλλογή... - Reading files from Collection...");
    Load_Collection_Files(trackFile, failed);
    if (failed != 0 || partFileIncomplete_) out.damaged = true;
    std::int32_t filtersFailed = 0;
    if (failed == 0 && s.LoadFiltersAtStart) {
        logLine("-> Ανάγνωση Φίλτρων Συλλογής... - Reading Collection Filters...");
        Load_Collection_Filters(filterFile, filtersFailed);
    }
    // Filters that fail only leave out the closing line: they are
    // built anew from the tracks.
    if (failed != 0) {
        logLine("-> Λάθη στην ανάγνωση αρχείων συλλογής... - Error Reading Collection Files...");
        // They are built anew from the tracks read, and the next
        // save writes them whole.
        d.FiltersDirty = true;
        out.rebuildFilters = s.LoadFiltersAtStart;
    } else if (filtersFailed == 0) {
        logLine(" -> Τέλος φορτώματος - End loading");
    }
}

bool CollectionStore::finishEarlierSave(sf::SaveTransaction& save, const std::function<void()>& beforeReplay) {
    const bool ok = save.recover(beforeReplay);
    logSetAside(save);
    if (ok) return true;
    logLine("-> Δεν ολοκληρώθηκε η διακομμένη αποθήκευση της συλλογής - An interrupted save of the collection could not "
            "be completed: " +
            save.error());
    return false;
}

void CollectionStore::logSetAside(const sf::SaveTransaction& save) {
    for (const sf::SaveTransaction::SetAside& a : save.setAside()) {
        if (a.journal) {
            logLine("-> Η διακομμένη αποθήκευση \"" + a.file + "\" δεν ταιριάζει στα αρχεία της συλλογής και δεν " +
                    "ολοκληρώθηκε: φυλάχτηκε ως \"" + a.as + "\" - The interrupted save \"" + a.file +
                    "\" does not fit the files of the collection and was not carried out: it was kept as \"" + a.as + "\"");
        } else {
            logLine("-> Το \"" + a.file + "\" δεν είναι κανονικό αρχείο της συλλογής και μπήκε στην άκρη ως \"" + a.as +
                    "\" - \"" + a.file + "\" is not a regular file of the collection and was set aside as \"" + a.as + "\"");
        }
    }
}

bool CollectionStore::copyAsDamaged(std::vector<std::string>& made) {
    const std::string& path = d.CollectionPath;
    for (const std::string& file : {path, trackPartFileOf(path), filterPartFileOf(path)}) {
        const std::string copy = file + ".damaged";
        // An older copy is kept as it is.
        if (!sf::exists(file) || sf::exists(copy)) continue;
        if (!durable::copyFile(file, copy)) return false;
        made.push_back(copy);
    }
    return true;
}

bool CollectionStore::keepDamagedFiles() {
    const std::string& path = d.CollectionPath;
    std::vector<std::string> made;
    if (!copyAsDamaged(made)) {
        logLine("-> Τα αρχεία της συλλογής \"" + path + "\" δεν φυλάχτηκαν ως .damaged και η συλλογή δεν σώθηκε - " +
                "The files of the collection \"" + path + "\" could not be kept as .damaged; the collection was not saved");
        return false;
    }
    logLine("-> Τα αρχεία της συλλογής \"" + path + "\" είχαν λάθη και φυλάχτηκαν ως .damaged - The files of the collection \"" +
            path + "\" had errors and were kept as .damaged");
    DamagedCollectionPath.clear();
    return true;
}

bool CollectionStore::putHeader(RecordBlock& header) {
    const Form1& f = app_.Form1;
    const ModuleState& s = app_.state;
    bool whole = true;
    // A text too long for its record leaves the record as it stood.
    auto text = [&](int k, const std::string& value) {
        if (!header.PutString(k, value)) whole = false;
    };
    text(1, s.VersionText);
    text(2, f.Drive1.Drive());
    text(3, f.Dir1.Path());
    header.PutLong(4, d.CurrentTrack);
    header.PutLong(5, d.StartPosition);
    header.PutLong(6, d.TrackCount);
    header.PutInteger(7, static_cast<std::int16_t>(s.VideoMode));
    header.PutCurrency(8, d.TotalDuration);
    header.PutCurrency(9, d.PlayedTotal);
    header.PutCurrency(10, d.DurationLeft);
    text(11, s.AlarmFile);
    for (int c = 0; c < kClassCount; ++c) header.PutInteger(12 + c, d.PlayClassOn[static_cast<std::size_t>(c)]);
    header.PutLong(18, d.PlayedCount);
    header.PutLong(19, d.MaxPlayedCount);
    header.PutCurrency(20, d.FavorPlayedTotal);
    header.PutCurrency(21, d.FavorTimeLeft);
    header.PutCurrency(22, d.FavorDuration);
    for (int c = 0; c < kClassCount; ++c) header.PutCurrency(23 + c, d.ClassDuration[static_cast<std::size_t>(c)]);
    return whole;
}

void CollectionStore::Save_Collection(bool Ask, bool FullRewrite) {
    if (Ask && app_.dialogs().MsgBox("Θα σώσετε την παρούσα συλλογή; \r\nDo you want to save the present collection?",
                                     mb::YesNo + mb::Question) != mb::Yes) {
        return;
    }
    if (saveRefused()) return;
    const int rows = app_.Form1.List2.ListCount();
    keepResumePosition(rows);
    d.TrackCount = rows;

    const std::string trackFile = trackPartFileOf(d.CollectionPath);
    const std::string filterFile = filterPartFileOf(d.CollectionPath);
    sf::SaveTransaction save(d.CollectionPath, trackFile, filterFile);
    std::int32_t failed = 0;
    ioFailures_ = 0;
    if (readyToSave(save)) {
        writeCollection(save, trackFile, rows, FullRewrite, failed);
    } else {
        failed = -1;
    }
    const bool failure = failed != 0;
    // Filters that did not reach their file are written again next time.
    if (!failure) d.FiltersDirty = false;

    if (Ask && !failure) {
        app_.dialogs().MsgBox("Επιτυχημένο Σώσιμο Συλλογής - Collection Saved Correctly", mb::Information);
    } else if (failure) {
        app_.dialogs().MsgBox("Λάθος κατά το σώσιμο Συλλογής. Παρακαλώ επαναλάβατε - Error while saving Collection. Please retry.",
                              mb::Critical);
    }

    // Every fifth good save copies the three files to their backups.
    SaveCounter += 1;
    if (!failure && SaveCounter >= 5) {
        SaveCounter = 0;
        for (const std::string& file : {d.CollectionPath, trackFile, filterFile}) {
            if (sf::exists(file)) durable::copyFile(file, backupOf(file));
        }
    }

    // Stored only when every part reached its file.
    d.CollectionSaved = !failure;
}

bool CollectionStore::saveRefused() {
    if (RefusedCollectionPath.empty() || RefusedCollectionPath != d.CollectionPath) return false;
    const std::string text =
        "Η συλλογή δεν σώθηκε: το αρχείο της είναι άλλης έκδοσης ή ξεπερνά το όριο κομματιών - "
        "Collection not saved: its file is of another version or over the track limit";
    logLine("-> " + text);
    if (!RefusalTold) app_.dialogs().MsgBox(text, mb::Critical);
    RefusalTold = true;
    return true;
}

void CollectionStore::keepResumePosition(int rows) {
    const double position = app_.playback.activePlayer().controls.currentPosition();
    d.StartPosition = tryCLng(position).value_or(0);
    if (d.CurrentTrack >= 0 && d.CurrentTrack < rows && d.hasEntry(d.CurrentTrack)) {
        const auto at = static_cast<std::size_t>(d.CurrentTrack);
        const Currency resume = Currency::fromInteger(d.StartPosition);
        if (d.TrackResumePos[at] != resume) {
            d.TrackResumePos[at] = resume;
            d.TrackSaved[at] = false;
        }
    }
}

bool CollectionStore::readyToSave(sf::SaveTransaction& save) {
    // Files that a load could not read whole are kept aside as they are,
    // before an earlier save left half made is finished over them. What is
    // not a regular file at the files' names is set aside, never written
    // through.
    bool ready = true;
    if (!DamagedCollectionPath.empty() && DamagedCollectionPath == d.CollectionPath) ready = keepDamagedFiles();
    ready = ready && finishEarlierSave(save);
    if (!ready) return false;
    ready = save.setAsideOtherFiles();
    logSetAside(save);
    if (!ready) {
        logLine("-> Δεν μπήκε στην άκρη ό,τι δεν είναι κανονικό αρχείο της συλλογής - What is not a regular file of the "
                "collection could not be set aside: " +
                save.error());
    }
    return ready;
}

std::int32_t CollectionStore::storedTrackCount(RecordBlock& header) const {
    RecordFile old;
    if (sf::fileSize(d.CollectionPath) > 0 && old.Open(d.CollectionPath, RecordFile::Mode::Read, sf::kCollectionRecord)) {
        if (old.ReadBlock(1, header) && sf::fileSize(d.CollectionPath) >= 5 * sf::kCollectionRecord + 4)
            return std::max<std::int32_t>(header.GetLong(6), 0);
    }
    return 0;
}

void CollectionStore::writeCollection(sf::SaveTransaction& save, const std::string& trackFile, int rows, bool FullRewrite,
                                      std::int32_t& failed) {
    // The collection file: its records as they stand, with the values of
    // the collection put over them.
    RecordBlock header(sf::kCollectionRecord, sf::kHeaderRecords);
    const std::int32_t storedCount = storedTrackCount(header);
    if (!putHeader(header)) failed = -1;
    save.edit(sf::SaveTransaction::Header, 0, header.data(), header.size());

    // A save anywhere but where the tracks were last read from or written
    // to, or where their file has gone, writes every track into a new file;
    // so does one that would change much of the old file.
    const bool full = FullRewrite || PartFilesPath != trackFile || (rows > 0 && !sf::exists(trackFile));
    bool newTracks = full;
    // The track file as it stands, when the save starts from it.
    std::int64_t trackFileSize = -1;
    if (!full) {
        trackFileSize = sf::fileSize(trackFile);
        std::int64_t changed = 0;
        const int held = std::min<int>(std::min(rows, storedCount), static_cast<int>(d.TrackSaved.size()));
        for (int i = 0; i < held; ++i) changed += d.TrackSaved[static_cast<std::size_t>(i)] ? 0 : 1;
        const std::int64_t bytes = changed * sf::kTrackRecords * sf::kTrackRecord;
        newTracks = bytes > std::min<std::int64_t>(kMostEditedBytes, trackFileSize / 2);
    }
    if (full) {
        for (int i = 0; i < rows && d.hasEntry(i); ++i) d.TrackSaved[static_cast<std::size_t>(i)] = false;
    }

    std::vector<std::int32_t> written;
    if (newTracks) {
        // Tracks that did not change keep their bytes: the new file starts
        // as a copy of the old one's tracks that a load reads.
        const std::int32_t kept =
            full ? 0
                 : static_cast<std::int32_t>(std::min<std::int64_t>(
                       std::min(rows, storedCount), std::max<std::int64_t>(trackFileSize, 0) / kTrackBytes));
        writeNewTrackFile(save, trackFile, kept, failed, written);
    } else {
        editTrackFile(save, trackFile, storedCount, failed, written);
    }

    // The filters: the value lists when they changed (or the tracks are
    // written anew), else only the table rows of the changed tracks.
    bool wholeFilters = newTracks || d.FiltersDirty;
    if (!wholeFilters && unsaved(d, rows)) wholeFilters = !Changed_Filter_Rows(save, failed);
    if (wholeFilters) {
        Save_Collection_Filters(save.newFile(sf::SaveTransaction::Filters), failed);
        save.replace(sf::SaveTransaction::Filters);
    }

    // A text too long for its record fails the save, yet the files are
    // whole and take their places; only refused writes keep the old ones.
    if (ioFailures_ == 0 && save.commit()) {
        for (std::int32_t t : written) d.TrackSaved[static_cast<std::size_t>(t)] = true;
        PartFilesPath = trackFile;
    } else {
        failed = -1;
        if (!save.committed()) save.abandon();
    }
}

void CollectionStore::writeNewTrackFile(sf::SaveTransaction& save, const std::string& trackFile, std::int32_t kept,
                                        std::int32_t& failed, std::vector<std::int32_t>& written) {
    // The tracks after the kept ones, and those that changed, are written
    // over the copy.
    const std::string fresh = save.newFile(sf::SaveTransaction::Tracks);
    RecordFile out;
    if (!startNewTrackFile(trackFile, fresh, kept * kTrackBytes) ||
        !out.Open(fresh, RecordFile::Mode::ReadWrite, sf::kTrackRecord, RecordFile::Links::Refuse)) {
        failed = -1;
        ++ioFailures_;
    } else {
        // Writes over the copy wait for the final sync: pages on their way
        // to the disk would hold them up.
        out.setWriteOut(kept == 0);
        encodeTracks(kept, kept,
                     [&](std::int32_t first, const RecordBlock& block, int records) {
                         return out.WriteBlock(first * std::int64_t(sf::kTrackRecords) + 1, block, records);
                     },
                     failed, written);
        if (!out.Close()) {
            failed = -1;
            ++ioFailures_;
        }
    }
    save.replace(sf::SaveTransaction::Tracks);
}

void CollectionStore::editTrackFile(sf::SaveTransaction& save, const std::string& trackFile, std::int32_t storedCount,
                                    std::int32_t& failed, std::vector<std::int32_t>& written) {
    // Tracks the file holds are edits; tracks beyond the count the
    // collection file on disk holds are read by no load yet, and go
    // straight into the file.
    RecordFile ahead;
    encodeTracks(storedCount, storedCount,
                 [&](std::int32_t first, const RecordBlock& block, int records) {
                     if (first < storedCount) {
                         save.edit(sf::SaveTransaction::Tracks, static_cast<std::uint64_t>(first * kTrackBytes),
                                   block.data(), static_cast<std::size_t>(records) * sf::kTrackRecord);
                         return true;
                     }
                     if (!ahead.isOpen()) {
                         if (!ahead.Open(trackFile, RecordFile::Mode::ReadWrite, sf::kTrackRecord,
                                         RecordFile::Links::Refuse))
                             return false;
                         ahead.setWriteOut(true);
                     }
                     save.wroteAhead(sf::SaveTransaction::Tracks);
                     return ahead.WriteBlock(first * std::int64_t(sf::kTrackRecords) + 1, block, records);
                 },
                 failed, written);
    if (!ahead.Close()) {
        failed = -1;
        ++ioFailures_;
    }
}

}  // namespace tarvolin
