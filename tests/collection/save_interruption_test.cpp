// Saves cut short: each kind of collection save runs in a child process
// that is killed at one of the steps the save makes on the disk (every
// write, sync, rename and removal, and writes killed halfway through), or
// that may not grow a file past a limit (a full disk). The files it leaves
// must then load as the collection before the save or as the saved one,
// whole, and without any complaint. And the order of the steps is one that
// a power cut cannot break: nothing takes the place of a file, or is
// written where a load reads, before what it rests on is on the disk.
//
// The steps are counted by wrapping the system's file calls: this test
// program's own definitions of them come before the C library's.
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "collection/record_bytes.h"
#include "collection/store_fixture.h"

namespace {

// Steps made since the count was armed; the child dies at step killAt.
long stepsMade = 0;
long killAt = -1;  // -1: not counting
bool tearWrite = false;
// The kind of each step counted: 'w' a write, 's' any other step.
char stepKinds[4096];

template <typename F>
F realCall(F& slot, const char* name) {
    if (!slot) slot = reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
    return slot;
}

using PwriteFn = ssize_t (*)(int, const void*, size_t, off_t);
using WriteFn = ssize_t (*)(int, const void*, size_t);
using PathFn = int (*)(const char*);
using RenameFn = int (*)(const char*, const char*);
using FdFn = int (*)(int);
using CopyFn = ssize_t (*)(int, off_t*, int, off_t*, size_t, unsigned);
using TruncateFn = int (*)(int, off_t);

PwriteFn realPwrite, realPwrite64;
WriteFn realWrite;
PathFn realUnlink;
RenameFn realRename;
FdFn realFsync, realFdatasync;
CopyFn realCopyFileRange;
TruncateFn realFtruncate;

// When set, each step is noted here as "write", "sync", "rename" or
// "remove", a blank and the file (for a rename: from, " > ", to).
std::vector<std::string>* diskSteps = nullptr;

std::string fileOf(int fd) {
    char link[64], target[4096];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = ::readlink(link, target, sizeof target - 1);
    return n > 0 ? std::string(target, static_cast<std::size_t>(n)) : std::string("?");
}

void note(const char* what, const std::string& file) {
    if (diskSteps) diskSteps->push_back(std::string(what) + " " + file);
}

// Counts one step; at the chosen one the process dies, after writing part
// of what it was asked to when `partly` can do that.
void step(const std::function<void()>& partly = {}) {
    if (killAt < 0) return;
    if (stepsMade < static_cast<long>(sizeof stepKinds)) stepKinds[stepsMade] = partly ? 'w' : 's';
    if (++stepsMade != killAt) return;
    if (tearWrite && partly) partly();
    ::raise(SIGKILL);
}

}  // namespace

extern "C" {

ssize_t pwrite(int fd, const void* data, size_t size, off_t offset) {
    PwriteFn real = realCall(realPwrite, "pwrite");
    if (diskSteps) note("write", fileOf(fd));
    step([&] { real(fd, data, size / 2, offset); });
    return real(fd, data, size, offset);
}

ssize_t pwrite64(int fd, const void* data, size_t size, off_t offset) {
    PwriteFn real = realCall(realPwrite64, "pwrite64");
    if (diskSteps) note("write", fileOf(fd));
    step([&] { real(fd, data, size / 2, offset); });
    return real(fd, data, size, offset);
}

ssize_t write(int fd, const void* data, size_t size) {
    WriteFn real = realCall(realWrite, "write");
    if (diskSteps) note("write", fileOf(fd));
    step([&] { real(fd, data, size / 2); });
    return real(fd, data, size);
}

ssize_t copy_file_range(int in, off_t* inOffset, int out, off_t* outOffset, size_t size, unsigned flags) {
    CopyFn real = realCall(realCopyFileRange, "copy_file_range");
    if (diskSteps) note("write", fileOf(out));
    step([&] { real(in, inOffset, out, outOffset, size / 2, flags); });
    return real(in, inOffset, out, outOffset, size, flags);
}

int rename(const char* from, const char* to) {
    note("rename", std::string(from) + " > " + to);
    step();
    return realCall(realRename, "rename")(from, to);
}

int unlink(const char* path) {
    note("remove", path);
    step();
    return realCall(realUnlink, "unlink")(path);
}

int fsync(int fd) {
    if (diskSteps) note("sync", fileOf(fd));
    step();
    return realCall(realFsync, "fsync")(fd);
}

int fdatasync(int fd) {
    if (diskSteps) note("sync", fileOf(fd));
    step();
    return realCall(realFdatasync, "fdatasync")(fd);
}

int ftruncate(int fd, off_t length) {
    step();
    return realCall(realFtruncate, "ftruncate")(fd, length);
}

}  // extern "C"

namespace tarvolin {
namespace {

namespace fs = std::filesystem;
using testbytes::readFile;
using testbytes::writeFile;

constexpr int kTracks = 20;

// What a child did.
struct Outcome {
    bool killed = false;
    bool saved = false;  // the save said it succeeded
    std::string steps;   // the kind of each step, when it ran to its end
};

class SaveInterruptionTest : public StoreTest {
protected:
    // A second program that reads the files the first one's saves leave.
    ProgramHarness checker;

    std::string collectionPath() { return app().AppFolder() + "tarvolin_sylloges/mix.tlf"; }

    // The program's data folders as files and their bytes.
    using Snapshot = std::map<std::string, std::string>;
    Snapshot snapshot() {
        Snapshot files;
        for (const char* folder : {"tarvolin_sylloges", "tarvolin_filtra"}) {
            for (const auto& entry : fs::directory_iterator(app().AppFolder() + folder))
                files[entry.path().string()] = readFile(entry.path().string());
        }
        return files;
    }
    void restore(const Snapshot& files) {
        for (const char* folder : {"tarvolin_sylloges", "tarvolin_filtra"}) {
            for (const auto& entry : fs::directory_iterator(app().AppFolder() + folder)) {
                if (!files.count(entry.path().string())) fs::remove(entry.path());
            }
        }
        for (const auto& [path, bytes] : files) writeFile(path, bytes);
    }

    // A collection of kTracks tracks with all their fields, its filter lists
    // and table, saved whole.
    void makeCollection() {
        store().Make_Data_Folder(1);
        store().Make_Data_Folder(3);
        f1().Dir1.setPath(app().AppFolder());
        f1().List5.AddItem("Α/Α    Τίτλος");
        f1().List5.AddItem("-------------");
        for (int i = 0; i < kTracks; ++i) {
            const int t = addTrack("/μουσική/κομμάτι " + std::to_string(i) + ".mp3", i % 6, 60 + i, 1 + i % 7,
                                   i % 3 == 0 ? i / 3 + 1 : 0);
            const auto e = static_cast<std::size_t>(t);
            d().TrackTitle[e] = "Τίτλος " + std::to_string(i);
            d().TrackArtist[e] = "Artist " + std::to_string(i % 5);
            d().TrackBitrate[e] = static_cast<std::int16_t>(128 + i);
            d().TrackExtraText[e][2] = i % 4 == 0 ? "σημείωση" : "";
            d().TrackSaved[e] = false;
            f1().List5.AddItem(tableRow(t));
        }
        f1().Combo4_0[1].AddItem("Artist 0");
        f1().Combo4_0[1].AddItem("Artist 1");
        d().CollectionPath = collectionPath();
        d().CurrentTrack = 3;
        d().PlayedCount = 14;
        d().MaxPlayedCount = 14;
        store().Save_Collection(false, true);
        ASSERT_TRUE(d().CollectionSaved);
        app().state.LoadFiltersAtStart = true;
        checker->state.LoadFiltersAtStart = true;
    }
    std::string tableRow(int track) {
        return "   .   " + Format(track + 1, "000000") + " " + d().TrackTitle[static_cast<std::size_t>(track)] + " " +
               StoreTest::kLetters[d().TrackClass[static_cast<std::size_t>(track)]];
    }

    // Reads the collection from its files as a start-up does.
    static void load(ProgramHarness& h, const std::string& path) {
        CollectionStore& store = h->collection;
        store.Reset_Collection(0);
        store.d.CollectionPath = path;
        h->Form1.Text2[0].setText("");
        h.dialogs.clearTranscript();
        store.Load_Collection();
    }

    // Everything a load restores, as one text.
    static std::string contents(Program& p) {
        const CollectionData& d = p.collection.d;
        const Form1& f = p.Form1;
        std::ostringstream out;
        out << d.TrackCount << '|' << d.CurrentTrack << '|' << d.StartPosition << '|' << p.state.VideoMode << '|'
            << p.state.AlarmFile << '|' << d.PlayedCount << '|' << d.MaxPlayedCount << '|' << f.Dir1.Path() << '\n';
        for (std::int16_t on : d.PlayClassOn) out << on << ',';
        out << '\n';
        for (int i = 0; i < f.List2.ListCount(); ++i) {
            const auto e = static_cast<std::size_t>(i);
            out << f.List2.List(i) << '|' << d.PlayOrder[e] << '|' << d.TrackDuration[e].raw() << '|' << d.TrackClass[e]
                << '|' << d.TrackSize[e].raw() << '|' << d.TrackResumePos[e].raw() << '|' << d.TrackBitrate[e] << '|'
                << d.TrackArtist[e] << '|' << d.TrackTitle[e] << '|' << d.TrackInfoRead[e] << '|'
                << d.TrackExtraText[e][2] << '\n';
        }
        for (int k = 1; k <= 8; ++k) {
            for (int i = 0; i < f.Combo4_0[k].ListCount(); ++i) out << f.Combo4_0[k].List(i) << ';';
            out << '\n';
        }
        for (int i = 0; i < f.List5.ListCount(); ++i) out << f.List5.List(i) << '\n';
        return out.str();
    }

    // The checker loads the files; the load must raise nothing (no message,
    // no error line, no damage). Gives what it loaded.
    std::string loadChecked() {
        load(checker, collectionPath());
        const CollectionStore& store = checker->collection;
        EXPECT_TRUE(checker.dialogs.calls("MsgBox").empty());
        EXPECT_TRUE(store.RefusedCollectionPath.empty());
        EXPECT_TRUE(store.DamagedCollectionPath.empty());
        const std::string log = checker->Form1.Text2[0].Text();
        EXPECT_EQ(log.find("Error"), std::string::npos) << log;
        // Nothing of an unfinished save is left behind.
        for (const char* folder : {"tarvolin_sylloges", "tarvolin_filtra"}) {
            for (const auto& entry : fs::directory_iterator(app().AppFolder() + folder)) {
                const std::string name = entry.path().filename().string();
                EXPECT_TRUE(name.find(".journal") == std::string::npos && name.find(".new") == std::string::npos &&
                            name.find(".tmp-") == std::string::npos)
                    << name;
            }
        }
        return contents(*checker);
    }

    // Runs the save in a child: killed at step kill (0: never), or with
    // files limited to fileLimit bytes (-1: no limit).
    Outcome runSave(const std::function<void()>& save, long kill, bool tear, long long fileLimit = -1) {
        int pipeEnds[2];
        if (::pipe(pipeEnds) != 0) ADD_FAILURE() << "pipe";
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(pipeEnds[0]);
            if (fileLimit >= 0) {
                ::signal(SIGXFSZ, SIG_IGN);
                rlimit limit{static_cast<rlim_t>(fileLimit), static_cast<rlim_t>(fileLimit)};
                ::setrlimit(RLIMIT_FSIZE, &limit);
            }
            stepsMade = 0;
            tearWrite = tear;
            killAt = kill > 0 ? kill : LONG_MAX;
            save();
            killAt = -1;
            std::string report(1, d().CollectionSaved ? '1' : '0');
            report.append(stepKinds, static_cast<std::size_t>(std::min<long>(stepsMade, sizeof stepKinds)));
            const ssize_t ignored = ::write(pipeEnds[1], report.data(), report.size());
            (void)ignored;
            ::_exit(0);
        }
        ::close(pipeEnds[1]);
        std::string report;
        char buffer[4096];
        for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;) report.append(buffer, static_cast<std::size_t>(n));
        ::close(pipeEnds[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
        Outcome o;
        o.killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
        if (!o.killed) {
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
            EXPECT_FALSE(report.empty());
            o.saved = !report.empty() && report[0] == '1';
            if (!report.empty()) o.steps = report.substr(1);
        }
        return o;
    }

    // One kind of save: change() makes the collection in memory what the
    // save is to store; save() saves it (in a child, every time).
    void checkEveryInterruption(const std::function<void()>& change, const std::function<void()>& save) {
        makeCollection();
        const Snapshot before = snapshot();
        const std::string old = loadChecked();
        load(h, collectionPath());
        change();

        const Outcome whole = runSave(save, 0, false);
        ASSERT_TRUE(whole.saved);
        const std::string saved = loadChecked();
        ASSERT_NE(saved, old) << "the save must change something";
        ASSERT_GT(whole.steps.size(), 5u);

        // Killed before each step, and halfway through each write.
        for (std::size_t at = 1; at <= whole.steps.size(); ++at) {
            for (bool tear : {false, true}) {
                if (tear && whole.steps[at - 1] != 'w') continue;
                SCOPED_TRACE("killed at step " + std::to_string(at) + (tear ? " within it" : " before it"));
                restore(before);
                const Outcome o = runSave(save, static_cast<long>(at), tear);
                EXPECT_TRUE(o.killed);
                const std::string now = loadChecked();
                EXPECT_TRUE(now == old || now == saved) << now;
            }
        }

        // Files that may not grow past a limit, from nothing to more than
        // the largest file.
        std::int64_t largest = 0;
        for (const auto& [path, bytes] : before) largest = std::max<std::int64_t>(largest, bytes.size());
        for (int k = 0; k <= 10; ++k) {
            const long long limit = k * (largest + 40000) / 10 + (k % 3) * 150;
            SCOPED_TRACE("files limited to " + std::to_string(limit) + " bytes");
            restore(before);
            const Outcome o = runSave(save, 0, false, limit);
            const std::string now = loadChecked();
            EXPECT_TRUE(now == old || now == saved) << now;
            // A save that said it succeeded is there.
            if (o.saved) {
                EXPECT_EQ(now, saved);
            }
        }
    }

    // Runs the save in a child killed once its journal is written whole,
    // before any of it is carried out.
    void leaveJournal(const std::function<void()>& save) {
        const Snapshot before = snapshot();
        const std::string journal = collectionPath() + ".journal";
        for (long at = 1; !fs::exists(journal) || fs::file_size(journal) == 0; ++at) {
            ASSERT_LT(at, 400) << "the save left no journal";
            restore(before);
            runSave(save, at, false);
        }
    }

    void rateAndRename(int track, int cls) {
        const auto e = static_cast<std::size_t>(track);
        d().TrackClass[e] = static_cast<std::int16_t>(cls);
        d().TrackSaved[e] = false;
        f1().List3_0[1].setList(track, kLetters[cls]);
        f1().List5.setList(track + 2, tableRow(track));
    }
};

TEST_F(SaveInterruptionTest, EveryFileIsOnTheDiskBeforeAnythingRestsOnIt) {
    makeCollection();
    load(h, collectionPath());
    auto real = [](const std::string& path) { return fs::weakly_canonical(path).string(); };
    const std::string collection = real(collectionPath());
    const std::string journal = collection + ".journal";
    const std::set<std::string> ownFiles = {collection, real(CollectionStore::trackPartFileOf(collectionPath())),
                                            real(CollectionStore::filterPartFileOf(collectionPath()))};
    auto folderOf = [](const std::string& path) { return fs::path(path).parent_path().string(); };

    // Runs a save and checks the order of its steps.
    auto checkSteps = [&](const char* what, const std::function<void()>& save) -> int {
        SCOPED_TRACE(what);
        std::vector<std::string> steps;
        diskSteps = &steps;
        save();
        diskSteps = nullptr;
        EXPECT_FALSE(steps.empty());

        std::set<std::string> unsynced;       // written since their last sync
        std::set<std::string> writtenBefore;  // own files written before the journal
        // Folders holding a name the save made (a new file) that a power
        // cut could still lose: the journal must not count as written while
        // one is left, or its replay finds nothing to rename.
        std::set<std::string> namesNotOnDisk;
        bool journalSynced = false, journalOnDisk = false;
        int renames = 0;
        for (std::size_t i = 0; i < steps.size(); ++i) {
            const std::string& st = steps[i];
            const std::size_t blank = st.find(' ');
            const std::string op = st.substr(0, blank), file = st.substr(blank + 1);
            // A later step that syncs this folder.
            auto folderSyncedLater = [&](const std::string& folder) {
                for (std::size_t k = i + 1; k < steps.size(); ++k)
                    if (steps[k] == "sync " + folder) return true;
                return false;
            };
            if (op == "write") {
                if (file == journal && !writtenBefore.empty()) {
                    for (const std::string& f : writtenBefore) EXPECT_FALSE(unsynced.count(f)) << f << " at " << i;
                }
                // Where a load reads, a file is written only once the journal
                // is on the disk, or else beyond what a load reads (tracks
                // after the stored count), and then synced before it.
                if (ownFiles.count(file) && !journalOnDisk) {
                    EXPECT_EQ(file, real(CollectionStore::trackPartFileOf(collectionPath()))) << "step " << i;
                    writtenBefore.insert(file);
                }
                if (!journalOnDisk && !ownFiles.count(file) && file != journal) namesNotOnDisk.insert(folderOf(file));
                unsynced.insert(file);
            } else if (op == "sync") {
                unsynced.erase(file);
                namesNotOnDisk.erase(file);
                if (file == journal) journalSynced = true;
                if (journalSynced && file == folderOf(journal) && !journalOnDisk) {
                    journalOnDisk = true;
                    for (const std::string& folder : namesNotOnDisk)
                        ADD_FAILURE() << "a new name in " << folder << " may be lost with the journal on the disk";
                }
            } else if (op == "rename") {
                const std::string from = file.substr(0, file.find(" > ")), to = file.substr(file.find(" > ") + 3);
                EXPECT_FALSE(unsynced.count(real(from))) << "renamed before it was synced: " << from;
                EXPECT_TRUE(folderSyncedLater(real(folderOf(to)))) << "its folder is never synced: " << to;
                ++renames;
            } else if (op == "remove" && real(file) == journal && journalOnDisk) {
                for (const std::string& f : ownFiles) EXPECT_FALSE(unsynced.count(f)) << f << " not synced";
                EXPECT_TRUE(folderSyncedLater(folderOf(journal)));
            }
        }
        return renames;
    };

    // One change: edits in place, after the journal.
    rateAndRename(4, 2);
    EXPECT_EQ(checkSteps("one change", [&] { store().Save_Collection(false, false); }), 0);
    // Growth: new tracks written ahead, synced before the journal.
    for (int i = 0; i < 3; ++i) addTrack("/νέα/" + std::to_string(i) + ".ogg");
    checkSteps("growth", [&] { store().Save_Collection(false, false); });
    // A full rewrite and a backup refresh: new files take the old ones'
    // places.
    EXPECT_EQ(checkSteps("full", [&] { store().Save_Collection(false, true); }), 2);
    rateAndRename(6, 1);
    EXPECT_GE(checkSteps("backups", [&] {
                  store().SaveCounter = 4;
                  store().Save_Collection(false, false);
              }),
              3);
    EXPECT_EQ(checkSteps("default file", [&] { store().Save_Last_Collection(); }), 1);
    EXPECT_TRUE(d().CollectionSaved);
}

TEST_F(SaveInterruptionTest, InPlaceAfterTheCollectionGrew) {
    checkEveryInterruption(
        [&] {
            rateAndRename(5, 5);
            for (int i = 0; i < 6; ++i) {
                const int t = addTrack("/νέα/" + std::to_string(i) + ".ogg", 2, 30, 2);
                d().TrackSaved[static_cast<std::size_t>(t)] = false;
                f1().List5.AddItem(tableRow(t));
            }
            d().FiltersDirty = true;
            app().state.AlarmFile = "/ξυπνητήρι.mp3";
            d().PlayedCount = 15;
            d().MaxPlayedCount = 15;
        },
        [&] { store().Save_Collection(false, false); });
}

TEST_F(SaveInterruptionTest, InPlaceAfterTheCollectionShrank) {
    checkEveryInterruption(
        [&] {
            // The third track from the end goes: the two after it move up.
            const int gone = kTracks - 3;
            store().Remove_Track_Data(gone);
            f1().List2.RemoveItem(gone);
            for (ListBox& column : f1().List3_0) column.RemoveItem(gone);
            f1().List5.RemoveItem(gone + 2);
            d().TrackCount = f1().List2.ListCount();
            rateAndRename(1, 3);
            d().CurrentTrack = 1;
        },
        [&] { store().Save_Collection(false, false); });
}

TEST_F(SaveInterruptionTest, RowsOfChangedTracksOnly) {
    checkEveryInterruption([&] { rateAndRename(7, 1); rateAndRename(17, 4); },
                           [&] { store().Save_Collection(false, false); });
}

TEST_F(SaveInterruptionTest, FullRewrite) {
    checkEveryInterruption(
        [&] {
            rateAndRename(0, 2);
            d().TrackTitle[9] = "Άλλος";
            d().TrackSaved[9] = false;
        },
        [&] { store().Save_Collection(false, true); });
}

TEST_F(SaveInterruptionTest, BackupRefresh) {
    checkEveryInterruption([&] { rateAndRename(12, 5); },
                           [&] {
                               store().SaveCounter = 4;
                               store().Save_Collection(false, false);
                           });
}

TEST_F(SaveInterruptionTest, NothingButTheCollectionsOwnRegularFilesIsWritten) {
    makeCollection();
    load(h, collectionPath());
    const std::string tracks = CollectionStore::trackPartFileOf(collectionPath()), outside = app().AppFolder() + "out";
    const std::string filters = CollectionStore::filterPartFileOf(collectionPath());
    const Snapshot before = snapshot();
    // A link to `outside` (a copy of the file, or nothing) takes the place
    // of a file, after a save (full or not) left its journal or without one.
    const std::vector<std::tuple<std::string, bool, bool, bool>> cases = {
        {tracks, false, true, true}, {tracks, false, true, false}, {tracks + ".new", true, true, true},
        {collectionPath() + ".journal", false, true, true}, {tracks, false, false, true}};
    for (const auto& [link, full, journal, target] : cases) {
        SCOPED_TRACE(link + (journal ? "" : ", no journal") + (target ? "" : ", to nowhere"));
        restore(before);
        fs::remove(outside);
        rateAndRename(4, 2);
        if (journal) leaveJournal([&] { store().Save_Collection(false, full); });
        if (target) fs::copy_file(link, outside, fs::copy_options::overwrite_existing);
        fs::remove(link);
        fs::create_symlink(outside, link);
        const std::string kept = readFile(outside);
        // No journal is carried out, and a later save writes its own files.
        load(checker, collectionPath());
        EXPECT_TRUE(readFile(filters) == before.at(filters));
        if (checker->collection.isTrackRow(4)) checker->collection.d.TrackSaved[4] = false;
        checker->collection.Save_Collection(false, false);
        EXPECT_EQ(fs::exists(outside), target);
        EXPECT_TRUE(readFile(outside) == kept);
        EXPECT_FALSE(fs::is_symlink(tracks));
        EXPECT_NE(checker->Form1.Text2[0].Text().find(".set-aside"), std::string::npos);
    }
}

TEST_F(SaveInterruptionTest, AJournalIsCarriedOutOnlyOntoTheFilesItWasMadeFor) {
    makeCollection();
    load(h, collectionPath());
    store().SaveCounter = 4;
    store().Save_Collection(false, false);  // the backup copies
    rateAndRename(4, 1);
    store().Save_Collection(false, false);
    const Snapshot before = snapshot();
    const std::string journal = collectionPath() + ".journal", tracks = CollectionStore::trackPartFileOf(collectionPath());
    const std::set<std::string> own = {collectionPath(), tracks, CollectionStore::filterPartFileOf(collectionPath())};
    auto put = [&](std::size_t at, const char* text) { writeFile(tracks, readFile(tracks).replace(at, 2, text)); };
    // The files restored from their backups; another track file (a title
    // differs); its own files, damaged where the save wrote nothing.
    const std::vector<std::pair<std::function<void()>, bool>> cases = {
        {[&] { for (const std::string& f : own) writeFile(f, before.at(f + ".backup")); }, false},
        {[&] { put((4 * 45 + 9) * 400 + 2, "xy"); }, false},
        {[&] { put((12 * 45 + 9) * 400, "\xff\xff"); }, true}};
    for (const auto& [change, madeFor] : cases) {
        SCOPED_TRACE(madeFor);
        restore(before);
        rateAndRename(4, 3);
        leaveJournal([&] { store().Save_Collection(false, false); });
        change();
        const Snapshot found = snapshot();
        load(checker, collectionPath());
        EXPECT_FALSE(fs::exists(journal));
        EXPECT_EQ(fs::exists(journal + ".set-aside"), !madeFor);
        // Not carried out: the files stay as found. Carried out over damage:
        // the copies the next save keeps aside are the files as found.
        if (madeFor) checker->collection.Save_Collection(false, false);
        for (const std::string& f : own) EXPECT_TRUE(readFile(madeFor ? f + ".damaged" : f) == found.at(f)) << f;
    }
}

TEST_F(SaveInterruptionTest, AJournalReachingBeyondWhatTheFilesHoldIsNotCarriedOut) {
    makeCollection();
    const std::vector<std::string> own = {collectionPath(), CollectionStore::trackPartFileOf(collectionPath()),
                                          CollectionStore::filterPartFileOf(collectionPath())};
    const Snapshot before = snapshot();
    // At 4 GiB; past the last track; past the most filter records; past 2^64.
    const std::vector<std::tuple<char, std::uint64_t, std::uint64_t>> cases = {
        {0, 4ULL << 30, 300}, {1, 32766ULL * 45 * 400 - 400, 800}, {2, (9 + 8 * 32767ULL + 32768) * 600, 600},
        {1, ~0ULL - 399, 400}};
    for (const auto& [part, offset, length] : cases) {
        SCOPED_TRACE(offset);
        restore(before);
        // One edit past the file's end (so replacing nothing), as a save writes it.
        std::string j = "tvjour2\n";
        auto number = [&](std::uint64_t v, int n) { for (int i = 0; i < n; ++i) j += static_cast<char>(v >> (8 * i)); };
        number(1, 4);
        for (const std::string& f : own) number(fs::file_size(f), 8);
        j += {'\1', part};
        number(offset, 8);
        number(length, 8);
        j.append(length, 'j');
        std::uint64_t sum = 14695981039346656037ULL;
        for (unsigned char ch : j) sum = (sum ^ ch) * 1099511628211ULL;
        number(sum, 8);
        writeFile(collectionPath() + ".journal", j + "tvjend1\n");
        load(checker, collectionPath());
        for (const std::string& f : own) EXPECT_EQ(fs::file_size(f), before.at(f).size()) << f;
        EXPECT_TRUE(fs::exists(collectionPath() + ".journal.set-aside"));
    }
}

}  // namespace
}  // namespace tarvolin
