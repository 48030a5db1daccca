// Damaged files of every kind fed to the loaders: cut, with flipped bytes,
// with wild counts and length words, or plain garbage. The loaders must not
// crash, hang, allocate without bound or write, and must leave the tables,
// the rows and the current track in agreement.
#include <sys/stat.h>

#include <random>

#include "collection/collection_files_fixture.h"

namespace tarvolin {
namespace {

using testbytes::readFile;
using testbytes::writeFile;

struct Snapshot {
    std::string bytes;
    std::int64_t mtime = 0;
    bool present = false;
};

Snapshot snapshot(const std::string& path) {
    Snapshot s;
    struct stat st{};
    if (::stat(path.c_str(), &st) != 0) return s;
    s.present = true;
    s.mtime = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    s.bytes = readFile(path);
    return s;
}

class LoadersFuzzTest : public CollectionFilesTest {
protected:
    std::mt19937 rng{20261209};

    int pick(int from, int to) { return std::uniform_int_distribution<int>(from, to)(rng); }

    // One damage of the given bytes.
    std::string damage(std::string bytes, int recordLength) {
        switch (pick(0, 5)) {
            case 0:  // cut anywhere
                bytes.resize(bytes.empty() ? 0 : static_cast<std::size_t>(pick(0, static_cast<int>(bytes.size()) - 1)));
                break;
            case 1:  // flipped bytes
                for (int n = pick(1, 8); n > 0 && !bytes.empty(); --n)
                    bytes[static_cast<std::size_t>(pick(0, static_cast<int>(bytes.size()) - 1))] ^=
                        static_cast<char>(1 << pick(0, 7));
                break;
            case 2: {  // a wild word at the start of records: counts and length words
                static const std::uint16_t words[] = {0xffff, 0x8000, 0x7fff, 0x7ffe, 0x0400, 0x0258, 0x0257,
                                                      0x018f, 0x012b, 0x00ff, 0x0100, 0x0001};
                const int records = static_cast<int>(bytes.size()) / recordLength;
                for (int n = pick(1, 3); n > 0 && records > 0; --n) {
                    const auto at = static_cast<std::size_t>(pick(0, records - 1) * recordLength);
                    const std::uint16_t w = words[pick(0, 11)];
                    bytes[at] = static_cast<char>(w & 0xff);
                    bytes[at + 1] = static_cast<char>(w >> 8);
                }
                break;
            }
            case 3: {  // a wild Long (a track count, a play mark)
                const int records = static_cast<int>(bytes.size()) / recordLength;
                if (records == 0) break;
                const auto at = static_cast<std::size_t>(pick(0, records - 1) * recordLength);
                static const std::int32_t longs[] = {-1, -32767, 32766, 32767, 2147483647, -2147483647 - 1, 3, 1000};
                const std::int32_t v = longs[pick(0, 7)];
                for (int i = 0; i < 4; ++i) bytes[at + static_cast<std::size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xff);
                break;
            }
            case 4: {  // garbage
                bytes.assign(static_cast<std::size_t>(pick(0, 3 * recordLength)), '\0');
                for (char& c : bytes) c = static_cast<char>(pick(0, 255));
                break;
            }
            default:
                bytes.clear();
                break;
        }
        return bytes;
    }

    void expectConsistent() {
        const int rows = f1().List2.ListCount();
        ASSERT_EQ(d().TrackCount, rows);
        ASSERT_EQ(d().trackEntries(), static_cast<std::size_t>(rows) + 1);
        for (int m = 0; m < 5; ++m) ASSERT_EQ(f1().List3_0[m].ListCount(), rows) << m;
        ASSERT_TRUE(d().CurrentTrack == 0 || (d().CurrentTrack > 0 && d().CurrentTrack < rows)) << d().CurrentTrack;
        ASSERT_FALSE(app().state.TimerSuspended);
        ASSERT_TRUE(f1().List2.Visible());
    }

    void expectUnchanged(const std::vector<std::string>& paths, const std::vector<Snapshot>& before) {
        for (std::size_t i = 0; i < paths.size(); ++i) {
            const Snapshot now = snapshot(paths[i]);
            ASSERT_EQ(now.present, before[i].present) << paths[i];
            ASSERT_EQ(now.mtime, before[i].mtime) << paths[i];
            ASSERT_TRUE(now.bytes == before[i].bytes) << paths[i];
        }
    }

    void freshState() {
        store().Reset_Collection(0);
        f1().Text2[0].setText("");
        h.dialogs.clearTranscript();
    }
};

TEST_F(LoadersFuzzTest, DamagedCollectionsLoadWhatTheyCanAndAreNotWritten) {
    writeSampleFiles();
    const std::string good[] = {expectedCollectionFile(), expectedTrackFile(), expectedFilterFile()};
    const std::vector<std::string> paths = {collectionPath(), trackPath(), filterPath()};
    const int lengths[] = {300, 400, 600};
    for (int n = 0; n < 600; ++n) {
        SCOPED_TRACE(n);
        freshState();
        const int which = pick(0, 2);
        for (int k = 0; k < 3; ++k) {
            std::string bytes = good[k];
            if (k == which || pick(0, 9) == 0) bytes = damage(bytes, lengths[k]);
            writeFile(paths[static_cast<std::size_t>(k)], bytes);
        }
        std::vector<Snapshot> before;
        for (const std::string& p : paths) before.push_back(snapshot(p));
        d().CollectionPath = collectionPath();
        store().Load_Collection();
        expectConsistent();
        expectUnchanged(paths, before);
        ASSERT_LE(h.dialogs.calls("MsgBox").size(), 2u);
        if (HasFatalFailure()) return;
    }
}

TEST_F(LoadersFuzzTest, DamagedMergesAppendWhatTheyCanAndAreNotWritten) {
    writeSampleFiles();
    const std::string otherHeader = expectedCollectionFile();
    const std::string otherTracks = expectedTrackFile();
    const std::string other = folder() + "other.tlf";
    const std::vector<std::string> paths = {other, folder() + "other_Files.ptlf"};
    for (int n = 0; n < 400; ++n) {
        SCOPED_TRACE(n);
        freshState();
        addTrack("/music/b.ogg");
        const bool header = pick(0, 2) == 0;
        writeFile(paths[0], header ? damage(otherHeader, 300) : otherHeader);
        writeFile(paths[1], header ? otherTracks : damage(otherTracks, 400));
        std::vector<Snapshot> before;
        for (const std::string& p : paths) before.push_back(snapshot(p));
        store().Merge_Collection(other);
        expectConsistent();
        expectUnchanged(paths, before);
        if (HasFatalFailure()) return;
    }
}

TEST_F(LoadersFuzzTest, DamagedPreferencesAndDefaultFilesAreReadSafely) {
    if (f1().List3.ListCount() == 0)
        for (const char* t : {"*.mp3", "*.ogg", "*.wav"}) f1().List3.AddItem(t);
    f1().List1.AddItem("/music/");
    std::int32_t failed = 0;
    store().Save_Preferences(failed);
    const std::string prefs = store().preferencesFilePath();
    const std::string goodPrefs = readFile(prefs);
    d().CollectionPath = "/music/μίξη.tlf";
    store().Save_Last_Collection();
    const std::string defaults = folder() + "tarvolin_sylloges/default.tl";
    const std::string goodDefaults = readFile(defaults);

    for (int n = 0; n < 900; ++n) {
        SCOPED_TRACE(n);
        writeFile(prefs, damage(goodPrefs, 257));
        const Snapshot before = snapshot(prefs);
        failed = 0;
        store().Load_Preferences(failed);
        expectUnchanged({prefs}, {before});
        ASSERT_GE(app().state.Volume, 0);
        ASSERT_LE(app().state.Volume, 100);
        ASSERT_GE(app().state.PauseSeconds, 2);
        ASSERT_LE(app().state.PauseSeconds, 8);
        ASSERT_GE(app().state.StepCount, 1);
        ASSERT_LE(app().state.SearchLinks.size(), 1000u);
        ASSERT_LE(f1().List1.ListCount(), 32767);
        if (HasFatalFailure()) return;
    }
    for (int n = 0; n < 600; ++n) {
        SCOPED_TRACE(n);
        writeFile(defaults, damage(goodDefaults, 8));
        const Snapshot before = snapshot(defaults);
        store().Load_Last_Collection();
        expectUnchanged({defaults}, {before});
        ASSERT_FALSE(d().CollectionPath.empty());
        if (HasFatalFailure()) return;
    }
}

}  // namespace
}  // namespace tarvolin
