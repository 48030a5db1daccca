// Import of playlist files into the collection and export of the collection
// to the player library.
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "media/media_files.h"
#include "media_source_fixture.h"
#include "platform/tags/library_folder.h"
#include "platform/tags/tag_media.h"

namespace tarvolin {
namespace {

namespace fs = std::filesystem;

const char* const kOpenTitle = "Άνοιγμα Νέας Συλλογής - Open New Collection";
const char* const kEndingMessage = "Το όνομα πρέπει να τελειώνει σε [.wpl,.m3u,.wvx] should be the ending of the file";
const char* const kSaveQuestion = "Θα σώσετε την παρούσα συλλογή;";
const char* const kExportQuestionStart = "Θέλεtε να σώσετε την παρούσα συλλογή ως συλλογή του WindowsMediaPlayer";
const char* const kSameNameQuestion = "Υπάρχει ήδη τέτοια συλλογή. Να δημιουργηθεί νέα με το ίδιο όνομα; \r\n"
                                      " This Collection allready exists. Create New one with the same name?";

// A Program whose hidden player reads playlist files with the program's
// own readers and keeps its library in the program folder. The media
// layer is the fake unless a test passes another.
class PlaylistsTest : public MediaSourceTest {
protected:
    void SetUp() override { rebuild(h.media); }

    void rebuild(MediaReader& reader) {
        Services base = h.services();
        Services s{base.loop,
                   base.dialogs,
                   base.engines,
                   reader,
                   base.desktop,
                   base.tray,
                   [&reader](const std::string& folder) -> std::unique_ptr<PlaylistCollection> {
                       return std::make_unique<LibraryFolder>(folder, &reader);
                   },
                   [](const std::string& path) { return readPlaylistFile(path); },
                   ""};
        h.build(s);
        h->playback.Init_Defaults();
    }

    std::string collections() { return h->AppFolder() + "tarvolin_sylloges/"; }
    std::string library() { return h->AppFolder() + "tarvolin_library/"; }

    // Ten tracks with values of their own, as a loaded collection has them.
    void tenTracks() {
        for (int i = 0; i < 10; ++i) {
            ASSERT_TRUE(media().appendTrack("/old/track" + std::to_string(i) + ".mp3"));
            d().TrackTitle[static_cast<std::size_t>(i)] = "old " + std::to_string(i);
        }
        d().TrackClass[3] = 4;
        f1().List3_0[1].setList(3, "A");
    }

    // Chooses the playlist in the import's dialog and runs it; status()
    // then holds the log box as the last entry left it (the closing recount
    // replaces it).
    void openFromMenu(bool merge, const std::string& playlist) {
        h.dialogs.answerOpen(playlist);
        lastStatus.clear();
        h.loop.onYield = [this] {
            const std::string& text = f1().Text2[0].Text();
            if (has(text, "-> Προστείθονται αρχεία από ")) lastStatus = text;
        };
        media().Open_Merge_WMP_Playlist(merge, false, "", "");
        h.loop.onYield = nullptr;
    }
    const std::string& status() const { return lastStatus; }
    std::string lastStatus;

    std::string logText() { return f1().Text2[0].Text(); }
    static bool has(const std::string& text, const std::string& piece) { return text.find(piece) != std::string::npos; }

    // Sums of the per-class tables against the tracks' own values.
    void expectClassTotals() {
        std::array<std::int32_t, kClassCount> count{};
        Currency size, duration;
        for (int i = 0; i < f1().List2.ListCount(); ++i) {
            const auto at = static_cast<std::size_t>(i);
            count[static_cast<std::size_t>(d().TrackClass[at])] += 1;
            size += d().TrackSize[at];
            duration += d().TrackDuration[at];
        }
        EXPECT_EQ(d().ClassCount, count);
        EXPECT_EQ(d().TotalSize, size);
        EXPECT_EQ(d().TotalDuration, duration);
    }
};

// ---- Import ------------------------------------------------------------------

TEST_F(PlaylistsTest, ReplacingTheCollectionTakesEveryEntryWithItsAttributes) {
    const std::string long1 = file("Μουσική/Μεγάλο.mp3");
    const std::string gb = file("Μουσική/big.wav");
    const std::string plain = file("Μουσική/plain.mp3");
    const std::string rated = file("Μουσική/rated.mp3");
    h.media.add(long1, 3725.25,
                {{"Bitrate", "128000"},
                 {"Filesize", "3145728"},
                 {"UserRating", "50"},
                 {"Title", "Τίτλος"},
                 {"Artist", "Καλλιτέχνης"},
                 {"Album", "Δίσκος"},
                 {"Genre", "Λαϊκά"},
                 {"WM/Year", "1999"}});
    h.media.add(gb, 10, {{"Filesize", "1610612736"}, {"UserRating", "99"}});
    h.media.add(plain, 0, {{"UserRating", "0"}});
    h.media.add(rated, 1, {{"UserRating", "12"}});
    const std::string list = fixtures::writeBytes(disk.file("Λίστα.m3u"), "\xEF\xBB\xBF#EXTM3U\r\n"
                                                                           "#EXTINF:3725,Καλλιτέχνης - Τίτλος\r\n"
                                                                           "Μουσική\\Μεγάλο.mp3\r\n"
                                                                           "Μουσική/big.wav\r\n\r\n" +
                                                                               plain + "\r\n" + rated + "\r\n");
    tenTracks();
    d().CollectionSaved = false;
    d().CollectionPath = collections() + "old.tlf";
    h.dialogs.answerMsgBox(mb::No);  // do not save the old collection
    openFromMenu(false, list);

    const DialogCall open = h.dialogs.calls("ShowOpen").at(0);
    EXPECT_EQ(open.request.Filter, "Windows Media Player PlayLists (*.wpl,*.m3u,*.wvx) | *.wpl;*.m3u;*.wvx");
    EXPECT_EQ(open.request.InitDir, collections());
    EXPECT_EQ(open.request.DialogTitle, kOpenTitle);
    EXPECT_EQ(open.request.Flags, 4096);
    EXPECT_EQ(msgBoxesWith(kSaveQuestion), 1);

    EXPECT_EQ(tracks(), (std::vector<std::string>{long1, gb, plain, rated}));
    expectConsistent();
    EXPECT_EQ(d().CollectionPath, collections() + "Λίστα.tlf");
    EXPECT_EQ(h->Form1.WindowsMediaPlayer2.currentPlaylist->name(), collections() + "Λίστα.tlf");
    EXPECT_FALSE(h->Form1.WindowsMediaPlayer2.settings.autoStart());
    EXPECT_FALSE(d().CollectionSaved);
    EXPECT_EQ(f1().MultiPage1.Value(), 0);
    EXPECT_TRUE(f1().List2.Visible());

    // Columns: number, class, time, size, bit rate.
    const std::vector<std::vector<std::string>> rows = {{"00001", "B", "01:02:05", "03.00Mb", "125"},
                                                        {"00002", "S", "00:00:10", "01.50Gb", "000"},
                                                        {"00003", "-", "00:00:00", "00.00Mb", "000"},
                                                        {"00004", "X", "00:00:01", "00.00Mb", "000"}};
    for (int i = 0; i < 4; ++i)
        for (int c = 0; c <= 4; ++c) EXPECT_EQ(f1().List3_0[c].List(i), rows[i][c]) << "row " << i << " column " << c;

    EXPECT_EQ(d().TrackDuration[0], Currency::fromDouble(3725.25));
    EXPECT_EQ(d().TrackBitrate[0], 125);
    EXPECT_EQ(d().TrackTitle[0], "Τίτλος");
    EXPECT_EQ(d().TrackArtist[0], "Καλλιτέχνης");
    EXPECT_EQ(d().TrackAlbum[0], "Δίσκος");
    EXPECT_EQ(d().TrackGenre[0], "Λαϊκά");
    EXPECT_EQ(d().TrackYear[0], "1999");
    EXPECT_EQ(d().TrackSize[0], Currency::fromInteger(3));
    EXPECT_EQ(d().TrackSize[1], Currency::fromInteger(1536));
    EXPECT_EQ((std::vector<int>{d().TrackClass[0], d().TrackClass[1], d().TrackClass[2], d().TrackClass[3]}),
              (std::vector<int>{3, 5, 0, 1}));
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(d().TrackInfoRead[static_cast<std::size_t>(i)]);
        EXPECT_FALSE(d().TrackSaved[static_cast<std::size_t>(i)]) << "written by the next save";
    }
    expectClassTotals();

    // The status of the dialog run goes into the log box, whole.
    EXPECT_EQ(status().substr(8), "-> Προστείθονται αρχεία από " + list + ".Παρακαλώ περιμένετε... - Adding files from " +
                                   list + ". Please wait...\r\nΝέα αρχεία - New Files : 4\r\n"
                                          "Διπλά αρχεία που δεν προστέθηκαν [υπάρχουν στη συλλογή] - Double Files "
                                          "that were not added [allready in Collection]: 0");
    // The next track is started.
    EXPECT_FALSE(d().CurrentFile.empty());

    // The next save writes the imported tracks under the playlist's name.
    h->collection.Make_Data_Folder(1);
    h->collection.Make_Data_Folder(3);
    h->collection.Save_Collection(false, false);
    EXPECT_EQ(msgBoxesWith("Error while saving"), 0);
    EXPECT_TRUE(d().CollectionSaved);
    EXPECT_TRUE(fs::exists(collections() + "Λίστα.tlf"));
}

TEST_F(PlaylistsTest, MergingSkipsDoublesAndKeepsMissingFiles) {
    const std::string a = file("m/a.mp3");
    const std::string b = file("m/b.mp3");
    h.media.add(a, 61, {{"UserRating", "75"}, {"Title", "A"}});
    h.media.add(b, 2, {});
    tenTracks();
    const std::string missing = disk.path() + "m/gone.mp3";
    // The same file twice, a track the collection holds, a missing file and
    // an entry without a path.
    const std::string list = fixtures::writeBytes(
        disk.file("m/mix.wpl"),
        "<?wpl version=\"1.0\"?><smil><head><title>mix</title></head><body><seq>"
        "<media src=\"a.mp3\"/><media src=\"/old/track4.mp3\"/><media src=\"a.mp3\"/>"
        "<media src=\"gone.mp3\"/><media/><media src=\"b.mp3\"/></seq></body></smil>");
    d().CollectionSaved = true;
    d().CollectionPath = collections() + "rock.tlf";
    d().TrackSaved.assign(d().TrackSaved.size(), true);
    d().CurrentTrack = 99;  // beyond the rows
    openFromMenu(true, list);

    EXPECT_EQ(msgBoxesWith(kSaveQuestion), 0) << "a merge keeps the collection";
    ASSERT_EQ(f1().List2.ListCount(), 13);
    EXPECT_EQ(f1().List2.List(10), a);
    EXPECT_EQ(f1().List2.List(11), missing);
    EXPECT_EQ(f1().List2.List(12), b);
    EXPECT_EQ(f1().List3_0[0].List(10), "00011");
    EXPECT_EQ(f1().List3_0[0].List(12), "00013");
    expectConsistent();
    // The first ten tracks keep their values; the new ones sit behind them.
    EXPECT_EQ(d().TrackTitle[3], "old 3");
    EXPECT_EQ(d().TrackClass[3], 4);
    EXPECT_EQ(d().TrackTitle[10], "A");
    EXPECT_EQ(d().TrackClass[10], 4);
    EXPECT_EQ(f1().List3_0[2].List(10), "00:01:01");
    // A missing file is a track whose values are empty; it fails when played.
    EXPECT_EQ(f1().List3_0[2].List(11), "00:00:00");
    EXPECT_EQ(d().TrackClass[11], 0);
    expectClassTotals();

    EXPECT_TRUE(has(status(), "Νέα αρχεία - New Files : 3\r\n")) << status();
    EXPECT_TRUE(has(status(), "[allready in Collection]: 3")) << status();

    // The collection takes the playlist's name and is written whole.
    EXPECT_EQ(d().CollectionPath, collections() + "mix.tlf");
    EXPECT_FALSE(d().CollectionSaved);
    EXPECT_TRUE(std::none_of(d().TrackSaved.begin(), d().TrackSaved.end(), [](bool saved) { return saved; }));
    // The current track beyond the rows starts again at the first row.
    EXPECT_GE(d().CurrentTrack, 0);
    EXPECT_LT(d().CurrentTrack, 13);
}

TEST_F(PlaylistsTest, AnEntryTooLongForItsTrackRecordIsLeftOutAndLogged) {
    const std::string a = file("m/a.mp3");
    const std::string tooLong = "/" + std::string(250, 'x') + "/" + std::string(150, 'y') + ".mp3";
    const std::string list = fixtures::writeBytes(disk.file("m/long.m3u"), a + "\n" + tooLong + "\n");
    tenTracks();
    openFromMenu(true, list);
    ASSERT_EQ(f1().List2.ListCount(), 11);
    EXPECT_EQ(f1().List2.List(10), a);
    // Told after the closing recount, which takes the log box.
    EXPECT_TRUE(has(logText(), "the file was not added: \"" + tooLong + "\"")) << logText();
    expectConsistent();
}

TEST_F(PlaylistsTest, OnlyTheThreeEndingsInSmallLettersAreOpened) {
    const std::string song = file("e/song.mp3");
    h.media.add(song, 5, {});
    tenTracks();
    d().CollectionPath = collections() + "keep.tlf";
    d().CollectionSaved = false;

    for (const char* name : {"e/list.WPL", "e/list.asx", "e/list.m3u8"}) {
        const std::string refused = fixtures::writeBytes(disk.file(name), song + "\n");
        h.dialogs.clearTranscript();
        openFromMenu(false, refused);
        EXPECT_EQ(msgBoxesWith(kEndingMessage), 1) << name;
        EXPECT_EQ(h.dialogs.calls("MsgBox").at(0).buttons, mb::OKOnly + mb::Exclamation);
        EXPECT_EQ(msgBoxesWith(kSaveQuestion), 0) << "nothing is offered for saving";
    }
    // A cancelled dialog changes nothing either.
    h.dialogs.answerOpen(std::nullopt);
    media().Open_Merge_WMP_Playlist(false, false, "", "");
    EXPECT_EQ(f1().List2.ListCount(), 10);
    EXPECT_EQ(d().CollectionPath, collections() + "keep.tlf");
    EXPECT_EQ(d().TrackTitle[0], "old 0");

    // An .wvx is read with the tolerant scanner: names in any letter case,
    // the first reference that exists.
    const std::string wvx = fixtures::writeBytes(disk.file("e/video.wvx"),
                                                 "<ASX version=\"3.0\"><Entry><REF HREF=\"nowhere.mp3\"/>"
                                                 "<ref href=\"song.mp3\"/></Entry><entry><ref href=\"song.mp3\"></entry>");
    h.dialogs.answerMsgBox(mb::No);
    openFromMenu(false, wvx);
    EXPECT_EQ(tracks(), std::vector<std::string>{song});
    EXPECT_TRUE(has(status(), "[allready in Collection]: 1")) << status();
    EXPECT_EQ(d().CollectionPath, collections() + "video.tlf");
}

TEST_F(PlaylistsTest, AnotherCollectionOfThePlaylistsNameIsNotReplacedUnasked) {
    const std::string song = file("n/song.mp3");
    const std::string list = fixtures::writeBytes(disk.file("n/jazz.m3u"), song + "\n");
    fs::create_directories(collections());
    const std::string jazz = fixtures::writeBytes(collections() + "jazz.tlf", "stored collection");
    tenTracks();
    d().CollectionPath = collections() + "rock.tlf";
    d().CollectionSaved = true;

    h.dialogs.answerMsgBox(mb::No);
    openFromMenu(true, list);
    ASSERT_EQ(h.dialogs.calls("MsgBox").size(), 1u);
    EXPECT_TRUE(has(h.dialogs.calls("MsgBox")[0].prompt, jazz));
    EXPECT_EQ(f1().List2.ListCount(), 10);
    EXPECT_EQ(d().CollectionPath, collections() + "rock.tlf");
    EXPECT_TRUE(d().CollectionSaved);

    h.dialogs.answerMsgBox(mb::Yes);
    openFromMenu(true, list);
    EXPECT_EQ(f1().List2.ListCount(), 11);
    EXPECT_EQ(d().CollectionPath, jazz);

    // The collection that already carries the name is not asked about.
    h.dialogs.clearTranscript();
    openFromMenu(true, list);
    EXPECT_EQ(h.dialogs.calls("MsgBox").size(), 0u);
    EXPECT_EQ(f1().List2.ListCount(), 11);
}

TEST_F(PlaylistsTest, AnEmptyPlaylistLeavesAnEmptyUnsavedCollection) {
    const std::string list = fixtures::writeBytes(disk.file("empty.m3u"), "\xEF\xBB\xBF#EXTM3U\r\n\r\n# nothing\r\n");
    tenTracks();
    d().CollectionSaved = true;
    openFromMenu(false, list);
    EXPECT_EQ(msgBoxesWith(kSaveQuestion), 0) << "a saved collection is not offered again";
    EXPECT_EQ(f1().List2.ListCount(), 0);
    expectConsistent();
    EXPECT_EQ(d().CollectionPath, collections() + "empty.tlf");
    EXPECT_FALSE(d().CollectionSaved);
}

TEST_F(PlaylistsTest, Windows1253PlaylistFindsTheGreekFile) {
    const std::string song = file("Τραγούδια/Τραγούδι.mp3");
    h.media.add(song, 4, {{"Title", "Ελληνικό"}});
    // Two entries naming the file in the old Greek code page, one of them
    // with the folder in other letter case.
    const std::string list = fixtures::writeBytes(disk.file("greek.m3u"),
                                                  "\xD4\xF1\xE1\xE3\xEF\xFD\xE4\xE9\xE1\\\xD4\xF1\xE1\xE3\xEF\xFD\xE4\xE9"
                                                  ".mp3\r\n"
                                                  "\xF4\xF1\xE1\xE3\xEF\xFD\xE4\xE9\xE1/\xD4\xF1\xE1\xE3\xEF\xFD\xE4\xE9"
                                                  ".mp3\r\n");
    openFromMenu(false, list);
    EXPECT_EQ(tracks(), std::vector<std::string>{song});
    EXPECT_EQ(d().TrackTitle[0], "Ελληνικό");
    EXPECT_TRUE(has(status(), "[allready in Collection]: 1")) << status();
}

TEST_F(PlaylistsTest, TheTrackLimitHoldsForAWholePlaylistAndForEachEntry) {
    for (int i = 0; i < kMaxTracks - 2; ++i) ASSERT_TRUE(media().appendTrack("/t/" + std::to_string(i)));
    std::string entries;
    for (int k = 0; k < 5; ++k) entries += disk.path() + "new" + std::to_string(k) + ".mp3\n";
    const std::string five = fixtures::writeBytes(disk.file("five.m3u"), entries);
    d().CollectionPath = collections() + "five.tlf";

    // 32764 tracks and 5 entries: the whole playlist is refused.
    openFromMenu(true, five);
    EXPECT_EQ(f1().List2.ListCount(), kMaxTracks - 2);
    EXPECT_TRUE(has(logText(), "--> Δεν υπάρχει άλλος χώρος - No more space\r\n")) << logText().substr(0, 300);
    EXPECT_TRUE(f1().List2.Visible());

    // 4 entries pass the check; the entries past the limit are not added.
    const std::string four = fixtures::writeBytes(disk.file("five.m3u"), entries.substr(0, entries.rfind(disk.path())));
    openFromMenu(true, four);
    EXPECT_EQ(f1().List2.ListCount(), kMaxTracks);
    EXPECT_EQ(f1().List2.List(kMaxTracks - 1), disk.path() + "new1.mp3");
    EXPECT_EQ(f1().List3_0[0].List(kMaxTracks - 1), "32766");
    expectConsistent();
    std::int64_t counted = 0;
    for (std::int32_t c : d().ClassCount) counted += c;
    EXPECT_EQ(counted, kMaxTracks);
}

TEST_F(PlaylistsTest, AddingFromFoldersHandsPlaylistsToTheImport) {
    const std::string elsewhere = file("elsewhere/Ωδή.mp3");
    h.media.add(elsewhere, 30, {{"UserRating", "99"}, {"Filesize", "2097152"}});
    const std::string song = file("scan/song.mp3");
    const std::string upper = file("scan/UPPER.M3U", "../elsewhere/Ωδή.mp3\n");
    file("scan/list.m3u", "../elsewhere/Ωδή.mp3\nsong.mp3\n../elsewhere/missing.mp3\n");
    ASSERT_TRUE(media().appendTrack("/old/one.mp3"));
    d().CollectionPath = collections() + "scan.tlf";
    chooseTypes({"*.mp3", "*.m3u"});
    showFolder("scan");
    state().ScanFromFileList = false;
    media().Add_Files_From_Folders();

    // The playlist comes first in the list; its tracks take their rows in
    // turn, the file it named is then a double for the scan.
    const std::vector<std::string> expected = {"/old/one.mp3", elsewhere, song, disk.path() + "elsewhere/missing.mp3",
                                               upper};
    EXPECT_EQ(tracks(), expected);
    expectConsistent();
    EXPECT_EQ(d().TrackClass[1], 5);
    EXPECT_EQ(f1().List3_0[3].List(1), "02.00Mb");
    EXPECT_EQ(f1().List3_0[0].List(4), "00005");
    EXPECT_EQ(d().ClassCount[5], 1);
    EXPECT_EQ(d().ClassCount[0], 4);
    // No dialog, no new name, and the add's own summary.
    EXPECT_TRUE(h.dialogs.calls("ShowOpen").empty());
    EXPECT_EQ(d().CollectionPath, collections() + "scan.tlf");
    EXPECT_TRUE(has(f1().Text2[1].Text(), "Number of Added files : 1.")) << f1().Text2[1].Text();
    EXPECT_TRUE(has(f1().Text2[1].Text(), "Double Files : 1")) << f1().Text2[1].Text();
    EXPECT_TRUE(f1().Enabled());
}

TEST_F(PlaylistsTest, RealFilesGiveTheirAttributesThroughTheTagReader) {
    TagMediaReader reader;
    rebuild(reader);
    fixtures::Mp3Options mp3;
    mp3.seconds = 2.0;
    mp3.kbps = 128;
    fixtures::Id3Tag tag;
    tag.title = "Καλημέρα & καληνύχτα";
    tag.artist = "Artist";
    tag.year = "2001";
    tag.popm.push_back({"Windows Media Player 9 Series", 196, std::nullopt});
    mp3.id3 = tag;
    disk.makeDir("real");
    const std::string rated = fixtures::writeMp3(disk.file("real/Ρυθμός.mp3"), mp3);
    fixtures::WavOptions wav;
    wav.info = fixtures::InfoTag{"Wave", "", "", "", "", ""};
    const std::string wave = fixtures::writeWav(disk.file("real/a & b.wav"), wav);
    const std::string list = fixtures::writeBytes(
        disk.file("real/list.wpl"), "<?wpl version=\"1.0\"?>\n<smil><body><seq>\n"
                                    "<media src=\"Ρυθμός.mp3\"/>\n<media src=\"a &amp; b.wav\"/>\n</seq></body></smil>");
    const auto before = snapshot();
    openFromMenu(false, list);

    ASSERT_EQ(tracks(), (std::vector<std::string>{rated, wave}));
    EXPECT_EQ(d().TrackTitle[0], "Καλημέρα & καληνύχτα");
    EXPECT_EQ(d().TrackYear[0], "2001");
    EXPECT_EQ(d().TrackClass[0], 4);
    EXPECT_EQ(f1().List3_0[1].List(0), "A");
    EXPECT_EQ(d().TrackBitrate[0], 125);
    EXPECT_EQ(f1().List3_0[2].List(0), "00:00:02");
    EXPECT_NEAR(d().TrackDuration[0].toDouble(), fixtures::mp3Duration(mp3), 0.1);
    EXPECT_EQ(d().TrackSize[0], Currency::fromInteger(static_cast<std::int64_t>(fs::file_size(rated))) / 1048576);
    EXPECT_EQ(d().TrackTitle[1], "Wave");
    EXPECT_EQ(d().TrackClass[1], 0);
    EXPECT_NEAR(d().TrackDuration[1].toDouble(), 1.0, 0.05);
    expectClassTotals();
    // The import writes nothing into the media files.
    EXPECT_EQ(snapshot(), before);
    h.program.reset();  // before the media layer goes
}

TEST_F(PlaylistsTest, OnlyMediaFilesComeInAndTheRestIsCountedOnce) {
    const std::string song = file("only/song.mp3");
    const std::string loud = file("only/LOUD.MP3");
    file("only/notes.txt");
    fs::create_directories(disk.path() + "only/album.mp3");
    const std::string pipe = disk.path() + "only/pipe.mp3";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::string list = fixtures::writeBytes(disk.file("only/list.m3u"),
                                                  "song.mp3\n"
                                                  "LOUD.MP3\n"
                                                  "../../../../../../../../etc/passwd\n"
                                                  "/etc/shadow\n"
                                                  "/root/.ssh/id_rsa\n"
                                                  "/dev/zero\n"
                                                  "/proc/self/mem\n"
                                                  "pipe.mp3\n"
                                                  "album.mp3\n"
                                                  "notes.txt\n"
                                                  "gone.mp3\n");
    openFromMenu(false, list);

    EXPECT_EQ(tracks(), (std::vector<std::string>{song, loud, disk.path() + "only/gone.mp3"}));
    expectConsistent();
    const std::string line = "Entries of " + list + " skipped as no media files : 8";
    EXPECT_TRUE(has(logText(), line)) << logText().substr(0, 400);
    EXPECT_EQ(logText().find("skipped as no media files"), logText().rfind("skipped as no media files"));
    EXPECT_TRUE(has(status(), "Νέα αρχεία - New Files : 3\r\n")) << status();
    EXPECT_TRUE(has(status(), "[allready in Collection]: 0")) << status();

    // Handed a playlist by the folder scan, the import counts the same way.
    h->collection.Reset_Collection(0);
    media().Open_Merge_WMP_Playlist(true, true, "", list);
    EXPECT_EQ(f1().List2.ListCount(), 3);
    EXPECT_TRUE(has(logText(), line)) << logText().substr(0, 400);
}

TEST_F(PlaylistsTest, ALinkIsTakenOnlyForAMediaFileOfItsOwnName) {
    file("links/song.mp3");
    file("links/secret");
    // Links to a media file, to files of the system and of the user's under
    // a media name, through a second link, and to nothing.
    const std::pair<const char*, const char*> links[] = {
        {"good.mp3", "song.mp3"}, {"x.mp3", "/etc/shadow"}, {"y.mp3", "secret"}, {"z.mp3", "x.mp3"}, {"gone.mp3", "no.mp3"}};
    for (const auto& [link, target] : links) ASSERT_EQ(::symlink(target, disk.file(std::string("links/") + link).c_str()), 0);
    openFromMenu(false, fixtures::writeBytes(disk.file("links/list.m3u"), "good.mp3\nx.mp3\ny.mp3\nz.mp3\ngone.mp3\n"));
    EXPECT_EQ(tracks(), std::vector<std::string>{disk.file("links/good.mp3")});
    EXPECT_TRUE(has(logText(), "skipped as no media files : 4")) << logText().substr(0, 400);
}

TEST_F(PlaylistsTest, AFileReachedThroughALinkedFolderIsTakenAndAFolderWithAMediaNameIsNot) {
    const std::string song = file("real/song.mp3");
    ASSERT_EQ(::mkdir(disk.file("real/folder.mp3").c_str(), 0755), 0);
    ASSERT_EQ(::symlink("real", disk.file("via").c_str()), 0);
    openFromMenu(false, fixtures::writeBytes(disk.file("through.m3u"), "via/song.mp3\nvia/folder.mp3\nreal/folder.mp3\n"));
    EXPECT_EQ(tracks(), std::vector<std::string>{disk.file("via/song.mp3")});
    EXPECT_TRUE(has(logText(), "skipped as no media files : 2")) << logText().substr(0, 400);
}

TEST_F(PlaylistsTest, AnEntryWhosePathWouldHoldANulIsSkipped) {
    const std::string real = file("nul/real.mp3");
    const std::string song = file("nul/song.mp3");
    const std::string m3u = fixtures::writeBytes(disk.file("nul/cut.m3u"), "file://" + real +
                                                                             "%00.mp3\n"
                                                                             "file:///etc/passwd%00.mp3\n"
                                                                             "song.mp3\n");
    openFromMenu(false, m3u);
    EXPECT_EQ(tracks(), std::vector<std::string>{song});
    EXPECT_TRUE(has(logText(), "skipped as no media files : 2")) << logText().substr(0, 400);

    const std::string wpl = fixtures::writeBytes(disk.file("nul/cut.wpl"),
                                                 std::string("<smil><body><seq><media src=\"real.mp3") + '\0' +
                                                     ".mp3\"/><media src=\"song.mp3\"/></seq></body></smil>");
    h.dialogs.answerMsgBox(mb::No);
    openFromMenu(false, wpl);
    EXPECT_EQ(tracks(), std::vector<std::string>{song});
    for (const std::string& t : tracks()) EXPECT_EQ(t.find('\0'), std::string::npos);
}

TEST_F(PlaylistsTest, ADriveLetterPathStaysAsConvertedText) {
    TagMediaReader reader;
    rebuild(reader);
    const std::string song = file("win/song.mp3");
    const std::string list =
        fixtures::writeBytes(disk.file("win/old.m3u"), "C:\\Music\\a.mp3\nfile:///D:/Music/b%20c.mp3\nsong.mp3\n");
    openFromMenu(false, list);
    EXPECT_EQ(tracks(), (std::vector<std::string>{"C:/Music/a.mp3", "D:/Music/b c.mp3", song}));
    h.program.reset();  // before the media layer goes
}

// ---- Export -------------------------------------------------------------------

class PlaylistExportTest : public PlaylistsTest {
protected:
    // Tracks with their class, size, bit rate and tags, and the rating their
    // files hold.
    void collectionOfFour() {
        const std::vector<std::string> paths = {"/music/b50.mp3", "/music/b60.mp3", "/music/none.mp3",
                                                "/music/Ωραίο.mp3"};
        for (const std::string& p : paths) ASSERT_TRUE(media().appendTrack(p));
        h.media.add(paths[0], 1, {{"UserRating", "50"}});
        h.media.add(paths[1], 1, {{"UserRating", "60"}});
        h.media.add(paths[2], 1, {{"UserRating", "99"}});
        h.media.add(paths[3], 1, {{"UserRating", "abc"}});
        d().TrackClass[0] = 3;
        d().TrackClass[1] = 3;
        d().TrackClass[2] = 0;
        d().TrackClass[3] = 5;
        d().TrackSize[0] = Currency::fromDouble(3.5);
        d().TrackBitrate[0] = 125;
        d().TrackArtist[0] = "Καλλιτέχνης";
        d().TrackGenre[0] = "Rock";
        d().TrackAlbum[0] = "Album \"1\" & <2>";
        d().TrackTitle[0] = "Τίτλος";
        d().TrackYear[0] = "1999";
    }

    // A fresh look at the library on disk.
    std::vector<std::shared_ptr<LibraryPlaylist>> stored(const std::string& name) {
        h->playerLibrary()->flush();
        LibraryFolder fresh(library(), nullptr);
        return fresh.getByName(name);
    }

    void exportAs(const std::string& name) {
        h.dialogs.answerMsgBox(mb::Yes);
        media().Save_As_WMP_Playlist(name);
    }
};

TEST_F(PlaylistExportTest, EveryTrackGoesToTheLibraryWithItsValues) {
    collectionOfFour();
    exportAs("Ροκ");

    const DialogCall question = h.dialogs.calls("MsgBox").at(0);
    EXPECT_EQ(question.prompt, std::string(kExportQuestionStart) +
                                   " υπό το όνομα \"Ροκ\"Would you like to save the current collection as a "
                                   "WindowsMediaPlayer Collection under the name \"Ροκ\"");
    EXPECT_EQ(question.title, "Δημιουργία Συλλογής - Create Collection");
    EXPECT_EQ(question.buttons, mb::YesNo + mb::Question);

    const auto lists = stored("Ροκ");
    ASSERT_EQ(lists.size(), 1u);
    const auto& list = lists[0];
    ASSERT_EQ(list->count(), 4);
    EXPECT_EQ(list->Item(0)->sourceURL(), "/music/b50.mp3");
    EXPECT_EQ(list->Item(3)->sourceURL(), "/music/Ωραίο.mp3");
    auto first = list->Item(0);
    EXPECT_EQ(first->getItemInfo("UserRating"), "50");
    EXPECT_EQ(first->getItemInfo("Filesize"), "3.5");
    EXPECT_EQ(first->getItemInfo("Bitrate"), "125");
    EXPECT_EQ(first->getItemInfo("Artist"), "Καλλιτέχνης");
    EXPECT_EQ(first->getItemInfo("Genre"), "Rock");
    EXPECT_EQ(first->getItemInfo("Album"), "Album \"1\" & <2>");
    EXPECT_EQ(first->getItemInfo("Title"), "Τίτλος");
    EXPECT_EQ(first->getItemInfo("Year"), "1999");
    EXPECT_EQ(list->Item(3)->getItemInfo("UserRating"), "99");
    // Class 0, size 0, bit rate 0 and empty tags give no attribute.
    const std::string text = fixtures::readBytes(library() + "Ροκ.wpl");
    const std::string third = text.substr(text.find("none.mp3"));
    EXPECT_EQ(third.substr(0, third.find('>')), "none.mp3\"/");

    // 50 on B is no change, 60 on B is one, 99 on an unclassified track is
    // one, a text that is no number counts nothing.
    EXPECT_EQ(logText().find("--> Αλλαγές - Changes : 2\r\n"), 8u) << logText();
    // The media files themselves are not written.
    EXPECT_TRUE(h.media.writes.empty());
}

TEST_F(PlaylistExportTest, NoWritesNothingAndAnEmptyCollectionGivesAnEmptyPlaylist) {
    collectionOfFour();
    const std::string logBefore = logText();
    h.dialogs.answerMsgBox(mb::No);
    media().Save_As_WMP_Playlist("rock");
    EXPECT_FALSE(fs::exists(library()));
    EXPECT_EQ(logText(), logBefore);

    h->collection.Reset_Collection(0);
    exportAs("rock");
    const auto lists = stored("rock");
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(lists[0]->count(), 0);
    EXPECT_TRUE(has(logText(), "--> Αλλαγές - Changes : 0"));
}

TEST_F(PlaylistExportTest, APlaylistOfTheSameNameIsReplacedOrJoinedByAnother) {
    collectionOfFour();
    exportAs("rock");
    exportAs("jazz");
    // The hidden player now holds "jazz". Answering No refills "rock", and
    // leaves "jazz" as it is.
    ASSERT_TRUE(media().appendTrack("/music/fifth.mp3"));
    h.dialogs.answerMsgBox(mb::Yes);
    h.dialogs.answerMsgBox(mb::No);
    h.dialogs.clearTranscript();
    media().Save_As_WMP_Playlist("rock");
    EXPECT_EQ(msgBoxesWith(kSameNameQuestion), 1);
    ASSERT_EQ(stored("rock").size(), 1u);
    EXPECT_EQ(stored("rock")[0]->count(), 5);
    EXPECT_EQ(stored("jazz")[0]->count(), 4);

    // Yes makes a second playlist of that name.
    h.dialogs.answerMsgBox(mb::Yes);
    h.dialogs.answerMsgBox(mb::Yes);
    media().Save_As_WMP_Playlist("rock");
    EXPECT_TRUE(fs::exists(library() + "rock (2).wpl"));
    ASSERT_EQ(stored("rock").size(), 2u);

    // With two of them there is no question: the older one is refilled.
    ASSERT_TRUE(media().appendTrack("/music/sixth.mp3"));
    h.dialogs.clearTranscript();
    exportAs("rock");
    EXPECT_EQ(h.dialogs.calls("MsgBox").size(), 1u);
    const auto both = stored("rock");
    ASSERT_EQ(both.size(), 2u);
    EXPECT_EQ(both[0]->count(), 6);
    EXPECT_EQ(both[1]->count(), 5);
}

TEST_F(PlaylistExportTest, AnExportThatReachesNoFileIsToldAsAFailure) {
    collectionOfFour();
    const std::string failure = "Failed to write the collection into the player library: \"rock\"";
    // A file stands where the library folder would be made.
    fixtures::writeBytes(h->AppFolder() + "tarvolin_library", "in the way");
    exportAs("rock");
    EXPECT_TRUE(has(logText(), failure)) << logText().substr(0, 300);
    EXPECT_TRUE(has(logText(), "Αποτυχία"));
    EXPECT_FALSE(has(logText(), "Changes")) << logText().substr(0, 300);

    // A program without a player library says so after the question too.
    ProgramHarness bare;
    bare->playback.Init_Defaults();
    ASSERT_TRUE(bare->media.appendTrack("/music/a.mp3"));
    bare.dialogs.answerMsgBox(mb::Yes);
    bare->media.Save_As_WMP_Playlist("rock");
    const std::string log = bare->Form1.Text2[0].Text();
    EXPECT_TRUE(has(log, failure)) << log.substr(0, 300);
    EXPECT_FALSE(has(log, "Changes"));
}

// An export over a playlist that Esc or a shutdown stops leaves the
// playlist's file as it was, every entry of it.
TEST_F(PlaylistExportTest, AStoppedExportLeavesTheOldPlaylistWhole) {
    struct Case {
        const char* name;
        std::function<void(Program&)> stop;
    };
    const Case cases[] = {
        {"Esc", [](Program& p) { p.state.AbortKey = 27; }},
        {"shutdown", [](Program& p) { p.Form1.requestUnload(3); }},
    };
    collectionOfFour();
    exportAs("rock");
    const std::string file = library() + "rock.wpl";
    const std::string before = fixtures::readBytes(file);
    ASSERT_EQ(stored("rock")[0]->count(), 4);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(media().appendTrack("/music/more" + std::string(c.name) + ".mp3"));
        int yields = 0;
        h.loop.onYield = [&] {
            if (++yields == 2) c.stop(*h);
        };
        // Over the playlist of that name, not beside it.
        h.dialogs.answerMsgBox(mb::Yes);
        h.dialogs.answerMsgBox(mb::No);
        media().Save_As_WMP_Playlist("rock");
        h.loop.onYield = nullptr;

        EXPECT_EQ(state().AbortKey, 0);
        EXPECT_TRUE(has(logText(), "Ακυρώθηκε - Canceled\r\n")) << logText();
        EXPECT_EQ(fixtures::readBytes(file), before);
        ASSERT_EQ(stored("rock").size(), 1u);
        EXPECT_EQ(stored("rock")[0]->count(), 4);
    }
}

}  // namespace
}  // namespace tarvolin
