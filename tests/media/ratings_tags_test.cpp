// Ratings carried between the collection and the media files, and the
// editor's tags written into the files.
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#include "media/media_files.h"
#include "ratings_tags_fixture.h"

namespace tarvolin {
namespace {

const char* const kChangesNone = "--> Αλλαγές - Changes : 0\r\n";

int msgBoxes(ProgramHarness& h) { return static_cast<int>(h.dialogs.calls("MsgBox").size()); }

// ---- Ratings in the files ----

TEST_F(RatingsTagsTest, WritingPutsEachClassIntoItsFileAndCountsDisagreements) {
    // One file per class, each holding another rating (or none).
    const int ratings[6] = {255, -1, 1, 64, 255, 196};
    for (int c = 0; c < 6; ++c) track(mp3("w" + std::to_string(c) + ".mp3", ratings[c]), c);
    media().ReadSave_Favor_In_Files(0, 255);

    const char* const expected[6] = {"0", "1", "25", "50", "75", "99"};
    for (int c = 0; c < 6; ++c) {
        EXPECT_EQ(onDisk(f1().List2.List(c), "UserRating"), expected[c]) << c;
        EXPECT_EQ(MediaFiles::userRatingOfClass(c), expected[c]);
    }
    // A file without a rating is written but no disagreement is counted.
    EXPECT_EQ(log().find("--> Αλλαγές - Changes : 5\r\n"), 8u) << log();
    // Writing changes nothing in the collection.
    EXPECT_TRUE(d().TrackSaved[0]);
    EXPECT_EQ(d().TrackClass[4], 4);
}

TEST_F(RatingsTagsTest, WritingJudgesTheFoundValueByTheComparisonBands) {
    useFakeMedia();
    // Class B over 40 (band 26-50) agrees; over 20 and 60 it does not.
    for (const char* found : {"40", "20", "60", "50", "26", "25"}) {
        const std::string path = std::string("/f/") + found;
        h.media.add(path, 1, {{"UserRating", found}});
        track(path, 3);
    }
    media().ReadSave_Favor_In_Files(0, 255);
    EXPECT_EQ(log().find("--> Αλλαγές - Changes : 3\r\n"), 8u) << log();
    for (const char* found : {"40", "20", "60", "26", "25"})
        EXPECT_EQ(h.media.attribute(std::string("/f/") + found, "UserRating"), "50");
    // The file that already held "50" is not written again.
    for (const auto& w : h.media.writes) EXPECT_NE(w.path, "/f/50");
    EXPECT_EQ(h.media.writes.size(), 5u);
}

TEST_F(RatingsTagsTest, WritingTheValueAFileAlreadyMeansLeavesTheFileAlone) {
    // 140 reads as "50", the value of class B: nothing is rewritten.
    const std::string same = mp3("same.mp3", 140);
    track(same, 3);
    const std::string before = fixtures::readBytes(same);
    media().ReadSave_Favor_In_Files(0, 255);
    EXPECT_EQ(fixtures::readBytes(same), before);
    EXPECT_NE(log().find(kChangesNone), std::string::npos);
}

TEST_F(RatingsTagsTest, FilesThatCannotTakeARatingAreSkippedAndCounted) {
    disk.makeDir("v");
    const std::string avi = disk.file("v/clip.avi");
    ASSERT_TRUE(fixtures::makeWithFfmpeg(avi, fixtures::ffmpegVideoInput(0.5)));
    const std::string locked = mp3("locked.mp3", 1);
    ::chmod(locked.c_str(), 0444);
    const std::string ok = mp3("ok.mp3", 1);
    track(avi, 5);
    track(locked, 5);
    track(ok, 5);
    const std::string lockedBytes = fixtures::readBytes(locked);

    media().ReadSave_Favor_In_Files(0, 255);
    EXPECT_EQ(onDisk(ok, "UserRating"), "99");
    EXPECT_EQ(fixtures::readBytes(locked), lockedBytes);
    EXPECT_EQ(onDisk(avi, "UserRating"), "");
    // Only the file written counts; the others are reported once.
    EXPECT_EQ(log().find("--> Αλλαγές - Changes : 1\r\n"), 8u) << log();
    EXPECT_NE(log().find("--> Αρχεία που δεν γράφτηκαν - Files not written : 2\r\n"), std::string::npos);
    // The rating stays in the collection.
    EXPECT_EQ(d().TrackClass[0], 5);
    ::chmod(locked.c_str(), 0644);
}

TEST_F(RatingsTagsTest, ReadingSetsClassesByTheReadBands) {
    useFakeMedia();
    // found value, class before, class after
    const struct {
        const char* found;
        int before, after;
    } cases[] = {{"25", 0, 2}, {"13", 0, 2}, {"12", 3, 1}, {"87", 0, 5}, {"86", 0, 4}, {"0", 4, 0},
                 {"", 4, 4},   {"150", 4, 4}, {"-1", 2, 2}, {"abc", 2, 2}, {"50", 3, 3}};
    int i = 0;
    for (const auto& c : cases) {
        const std::string path = "/r/" + std::to_string(i++);
        h.media.add(path, 1, {{"UserRating", c.found}});
        track(path, c.before);
    }
    d().CollectionSaved = true;
    media().ReadSave_Favor_In_Files(0, 1);

    i = 0;
    for (const auto& c : cases) {
        const auto at = static_cast<std::size_t>(i);
        EXPECT_EQ(d().TrackClass[at], c.after) << c.found;
        EXPECT_EQ(f1().List3_0[1].List(i), storefiles::classLetter(c.after)) << c.found;
        EXPECT_EQ(d().TrackSaved[at], c.before == c.after) << c.found;
        ++i;
    }
    EXPECT_EQ(log().find("--> Αλλαγές - Changes : 6\r\n"), 8u) << log();
    EXPECT_FALSE(d().CollectionSaved);
    EXPECT_TRUE(h.media.writes.empty());
}

TEST_F(RatingsTagsTest, ReadingRealFilesAndFindingNothingNewStillMarksTheCollection) {
    track(mp3("a.mp3", 200), 4);  // 200 reads as 75: class A already
    track(mp3("b.mp3", -1), 2);   // no rating: the class stays
    const std::string wav = disk.file("c.wav");
    fixtures::WavOptions w;
    w.pcm.seconds = 0.3;
    fixtures::Id3Tag tag;
    tag.popm.push_back({"Someone else", 30, std::nullopt});  // another player's frame reads too
    w.id3 = tag;
    fixtures::writeWav(wav, w);
    track(wav, 1);
    d().CollectionSaved = true;

    media().ReadSave_Favor_In_Files(0, 1);
    EXPECT_EQ(d().TrackClass[0], 4);
    EXPECT_EQ(d().TrackClass[1], 2);
    EXPECT_EQ(d().TrackClass[2], 1);
    EXPECT_EQ(log().find(kChangesNone), 8u) << log();
    EXPECT_FALSE(d().CollectionSaved);
    for (int k = 0; k < 3; ++k) EXPECT_TRUE(d().TrackSaved[static_cast<std::size_t>(k)]);
}

TEST_F(RatingsTagsTest, EscStopsTheRunKeepingWhatWasDone) {
    useFakeMedia();
    for (int k = 0; k < 6; ++k) {
        const std::string path = "/c/" + std::to_string(k);
        h.media.add(path, 1, {{"UserRating", "99"}});
        track(path, 0);
    }
    bool busyInside = false, enabledInside = true;
    auto yields = std::make_shared<int>(0);
    h.loop.onYield = [&, yields] {
        busyInside = state().Busy;
        enabledInside = f1().Enabled() || f1().MnuSystemTray.Enabled();
        if (++*yields == 3) {
            int esc = 27;
            f1().KeyDown.raise(esc, 0);
        }
    };
    media().ReadSave_Favor_In_Files(0, 1);
    h.loop.onYield = nullptr;

    EXPECT_TRUE(busyInside);
    EXPECT_FALSE(enabledInside);
    int read = 0;
    for (int k = 0; k < 6; ++k) read += d().TrackClass[static_cast<std::size_t>(k)] == 5;
    EXPECT_GT(read, 0);
    EXPECT_LT(read, 6);
    EXPECT_EQ(state().AbortKey, 0);
    EXPECT_FALSE(state().Busy);
    EXPECT_TRUE(f1().Enabled());
    EXPECT_TRUE(f1().MnuSystemTray.Enabled());
    // Newest first: the changes, then the cancel line.
    EXPECT_EQ(log().find("--> Αλλαγές - Changes :" + Str(read) + "\r\nΑκυρώθηκε - Canceled\r\n"), 8u) << log();
    EXPECT_FALSE(d().CollectionSaved);

    // A cancelled write keeps the files written so far.
    for (int k = 0; k < 6; ++k) d().TrackClass[static_cast<std::size_t>(k)] = 1;
    h.media.writes.clear();
    escAtYield(2);
    media().ReadSave_Favor_In_Files(0, 255);
    h.loop.onYield = nullptr;
    EXPECT_GE(h.media.writes.size(), 1u);
    EXPECT_LT(h.media.writes.size(), 6u);
    EXPECT_EQ(state().AbortKey, 0);
}

TEST_F(RatingsTagsTest, AnEmptyCollectionTouchesNothing) {
    media().ReadSave_Favor_In_Files(0, 255);
    EXPECT_EQ(log().find(kChangesNone), 8u) << log();
    d().CollectionSaved = true;
    media().ReadSave_Favor_In_Files(0, 1);
    EXPECT_EQ(log().find(kChangesNone), 8u);
    EXPECT_FALSE(d().CollectionSaved);
    EXPECT_FALSE(state().Busy);
}

TEST_F(RatingsTagsTest, TheRatingMenuAsksFirst) {
    const std::string path = mp3("m.mp3", 255);
    track(path, 1);

    // No: nothing read, nothing written.
    h.dialogs.answerMsgBox(mb::No);
    f1().MnuMoreReadFavorFromFiles.Click.raise();
    h.dialogs.answerMsgBox(mb::No);
    f1().MnuMoreSaveFavorWithinFiles.Click.raise();
    EXPECT_EQ(d().TrackClass[0], 1);
    EXPECT_EQ(onDisk(path, "UserRating"), "99");
    ASSERT_EQ(msgBoxes(h), 2);
    const auto& asked = h.dialogs.calls("MsgBox");
    EXPECT_EQ(asked[0].buttons, mb::YesNo + mb::Question);
    EXPECT_EQ(asked[0].prompt,
              "Αν επιλέξετε να διαβάσετε τις προτιμήσεις αρχείων από το δίσκο σας, τότε όσες τυχόν προτιμήσεις "
              "έχετε δώσει έως τώρα στη συλλογή σας θα χαθούν, αν δεν είχατε ενεργοποιήσει την επιλογή "
              "<Σώζε Προτιμήσεις εντός Αρχείων>.\r\nΘα συνεχίσετε;\r\n\r\n"
              "If you choose to accept file ratings from your disks then you will end up loosing whatever ratings "
              "you have given till now to your collection if option <Save Ratings within Files> wasn't enabled>.\r\n"
              "Will you continue?");
    EXPECT_EQ(asked[1].prompt,
              "Θέλετε να μεταβιβάσετε τις προτιμήσεις αρχείων στον δίσκο σας;\r\n"
              "Would you like to transfer your ratings to your disks?");
    EXPECT_EQ(asked[1].buttons, mb::YesNo + mb::Question);

    // Yes to reading: the class and the per-class counts follow the file,
    // and the filters are offered.
    h.dialogs.answerMsgBox(mb::Yes);
    h.dialogs.answerMsgBox(mb::No);
    f1().MnuMoreReadFavorFromFiles.Click.raise();
    EXPECT_EQ(d().TrackClass[0], 5);
    EXPECT_EQ(d().ClassCount[5], 1);
    EXPECT_EQ(d().ClassCount[1], 0);
    EXPECT_EQ(msgBoxes(h), 4);
    EXPECT_NE(h.dialogs.calls("MsgBox")[3].prompt.find("Would you like to remake the song filters?"),
              std::string::npos);

    // Yes to writing, after a new class.
    d().TrackClass[0] = 2;
    h.dialogs.answerMsgBox(mb::Yes);
    f1().MnuMoreSaveFavorWithinFiles.Click.raise();
    EXPECT_EQ(onDisk(path, "UserRating"), "25");

    // The stored switch follows its check mark.
    MenuItem& keep = f1().MnuMoreFavorWithinFiles;
    const bool was = keep.Checked();
    keep.Click.raise();
    EXPECT_EQ(keep.Checked(), !was);
    EXPECT_EQ(state().SaveRatingsInFiles, !was);
    keep.Click.raise();
    EXPECT_EQ(state().SaveRatingsInFiles, was);
}

TEST_F(RatingsTagsTest, RatingWritesKeepTheTagVersionAndOtherPlayersFrames) {
    fixtures::Mp3Options o;
    o.seconds = 0.5;
    fixtures::Id3Tag tag;
    tag.version = 4;
    tag.encoding = fixtures::TextEncoding::Utf8;
    tag.title = "Τίτλος";
    tag.popm.push_back({"someone@example.org", 10, 4});
    o.id3 = tag;
    const std::string path = fixtures::writeMp3(disk.file("v4.mp3"), o);
    track(path, 4);
    media().ReadSave_Favor_In_Files(0, 255);

    const std::string bytes = fixtures::readBytes(path);
    ASSERT_EQ(bytes.substr(0, 3), "ID3");
    EXPECT_EQ(bytes[3], 4);
    EXPECT_NE(bytes.find("someone@example.org"), std::string::npos);
    EXPECT_NE(bytes.find("Windows Media Player 9 Series"), std::string::npos);
    EXPECT_EQ(onDisk(path, "UserRating"), "75");
    EXPECT_EQ(onDisk(path, "Title"), "Τίτλος");
}

TEST_F(RatingsTagsTest, WindowsMediaFilesCarryTheRatingBothWays) {
    disk.makeDir("w");
    std::vector<std::string> args = fixtures::ffmpegSineInput(0.5);
    args.insert(args.end(), {"-c:a", "wmav2", "-b:a", "64k"});
    const std::string wma = disk.file("w/song.wma");
    ASSERT_TRUE(fixtures::makeWithFfmpeg(wma, args));
    const std::string mp = mp3("w/song.mp3");
    track(wma, 3);
    track(mp, 4);
    media().ReadSave_Favor_In_Files(0, 255);
    EXPECT_EQ(onDisk(wma, "UserRating"), "50");

    // Classes lost in the collection come back from the files.
    for (int k = 0; k < 2; ++k) {
        d().TrackClass[static_cast<std::size_t>(k)] = 0;
        f1().List3_0[1].setList(k, "-");
    }
    media().ReadSave_Favor_In_Files(0, 1);
    EXPECT_EQ(d().TrackClass[0], 3);
    EXPECT_EQ(d().TrackClass[1], 4);
    EXPECT_EQ(f1().List3_0[1].List(0), "B");
    EXPECT_EQ(log().find("--> Αλλαγές - Changes : 2\r\n"), 8u) << log();
}

// ---- Tags written by the editor ----

class MediaTagsTest : public RatingsTagsTest {
protected:
    void values(const std::string& title, const std::string& artist, const std::string& album,
                const std::string& year, const std::string& comment, const std::string& genre) {
        state().TagValues = {title, artist, album, year, comment, genre, ""};
    }
    std::int32_t save(std::string path) {
        std::int32_t err = 0;
        media().Save_Media_Tags(path, err);
        return err;
    }
};

TEST_F(MediaTagsTest, TagsReachTheFileAndTheTrackTables) {
    // MP3 with an ID3v2.3 tag, WAV and AIFF without one: each takes the tags.
    const std::string mp = mp3("t.mp3");
    fixtures::WavOptions w;
    w.pcm.seconds = 0.3;
    const std::string wav = fixtures::writeWav(disk.file("t.wav"), w);
    fixtures::AiffOptions a;
    a.pcm.seconds = 0.3;
    const std::string aiff = fixtures::writeAiff(disk.file("t.aiff"), a);

    for (const std::string& path : {mp, wav, aiff}) {
        const int i = track(path, 2);
        const auto at = static_cast<std::size_t>(i);
        d().CollectionSaved = true;
        values("Ωδή στο Café", "Καλλιτέχνης", "Δίσκος", "2004", "Σχόλιο", "17");
        EXPECT_EQ(save(path), 0) << path << "\n" << log();

        TagMediaItem back(path);
        EXPECT_EQ(back.getItemInfo("Title"), "Ωδή στο Café") << path;
        EXPECT_EQ(back.getItemInfo("Artist"), "Καλλιτέχνης");
        EXPECT_EQ(back.getItemInfo("Album"), "Δίσκος");
        EXPECT_EQ(back.getItemInfo("WM/Year"), "2004");
        EXPECT_EQ(back.getItemInfo("Comment"), "Σχόλιο");
        EXPECT_FALSE(back.getItemInfo("Genre").empty());

        EXPECT_EQ(d().TrackTitle[at], "Ωδή στο Café");
        EXPECT_EQ(d().TrackArtist[at], "Καλλιτέχνης");
        EXPECT_EQ(d().TrackAlbum[at], "Δίσκος");
        EXPECT_EQ(d().TrackYear[at], "2004");
        EXPECT_EQ(d().TrackGenre[at], "17");
        EXPECT_EQ(d().TrackClass[at], 2);
        // The edited track is written at the next save.
        EXPECT_FALSE(d().TrackSaved[at]);
        EXPECT_FALSE(d().CollectionSaved);
    }
}

TEST_F(MediaTagsTest, TextOutsideGreekSurvivesTheRoundTrip) {
    const std::string path = mp3("latin.mp3", -1, 4);
    values("Café", "Müller", "Ñandú", "1999", "Ærø", "-1");
    EXPECT_EQ(save(path), 0) << log();
    EXPECT_EQ(fixtures::readBytes(path)[3], 4);  // the tag keeps its version
    TagMediaItem back(path);
    EXPECT_EQ(back.getItemInfo("Title"), "Café");
    EXPECT_EQ(back.getItemInfo("Artist"), "Müller");
    EXPECT_EQ(back.getItemInfo("Album"), "Ñandú");
    EXPECT_EQ(back.getItemInfo("Comment"), "Ærø");
}

TEST_F(MediaTagsTest, AnOldGreekTagKeepsItsTextWhenTheEditorSaves) {
    fixtures::Mp3Options o;
    o.seconds = 0.5;
    fixtures::Id3Tag tag;
    tag.encoding = fixtures::TextEncoding::Latin1;
    tag.artist = "\xCD\xDF\xEA\xEF\xF2";  // "Νίκος" in Windows-1253
    tag.title = "Old";
    o.id3 = tag;
    const std::string path = fixtures::writeMp3(disk.file("old.mp3"), o);
    ASSERT_EQ(onDisk(path, "Artist"), "Νίκος");

    values("Καινούργιος", "Νίκος", "", "", "", "-1");
    EXPECT_EQ(save(path), 0) << log();
    EXPECT_EQ(onDisk(path, "Title"), "Καινούργιος");
    EXPECT_EQ(onDisk(path, "Artist"), "Νίκος");
}

TEST_F(MediaTagsTest, NoGenreChosenLeavesTheGenreAlone) {
    const std::string path = mp3("g.mp3");
    const int i = track(path);
    d().TrackGenre[static_cast<std::size_t>(i)] = "Jazz";
    values("New", "A", "B", "1990", "", "-1");
    EXPECT_EQ(save(path), 0);
    EXPECT_EQ(onDisk(path, "Genre"), "Jazz");
    EXPECT_EQ(d().TrackGenre[static_cast<std::size_t>(i)], "Jazz");
    EXPECT_EQ(onDisk(path, "Title"), "New");
    // An empty comment clears the file's comment; nothing else appears.
    EXPECT_EQ(onDisk(path, "Comment"), "");
}

TEST_F(MediaTagsTest, AFileThatCannotBeWrittenIsAFailureButTheTablesFollow) {
    const std::string locked = mp3("locked.mp3");
    ::chmod(locked.c_str(), 0444);
    const std::string before = fixtures::readBytes(locked);
    const int i = track(locked);
    values("New", "A", "B", "2000", "C", "3");
    EXPECT_EQ(save(locked), -1);
    EXPECT_EQ(fixtures::readBytes(locked), before);
    EXPECT_NE(log().find("-> Το αρχείο δεν δέχεται ετικέτες - The file cannot take tags: " + locked),
              std::string::npos)
        << log();
    EXPECT_EQ(d().TrackTitle[static_cast<std::size_t>(i)], "New");
    EXPECT_EQ(d().TrackGenre[static_cast<std::size_t>(i)], "3");
    ::chmod(locked.c_str(), 0644);

    // A video container holds no tags the program writes; a missing file none at all.
    disk.makeDir("v");
    const std::string avi = disk.file("v/clip.avi");
    ASSERT_TRUE(fixtures::makeWithFfmpeg(avi, fixtures::ffmpegVideoInput(0.5)));
    EXPECT_EQ(save(avi), -1);
    EXPECT_EQ(save(disk.file("missing.mp3")), -1);
}

TEST_F(MediaTagsTest, AFileOutsideTheCollectionIsWrittenWithoutTouchingTheTables) {
    const std::string inside = mp3("in.mp3");
    const std::string outside = mp3("out.mp3");
    track(inside);
    d().TrackTitle[0] = "Kept";
    d().CollectionSaved = true;
    values("Outside", "", "", "", "", "-1");
    EXPECT_EQ(save(outside), 0);
    EXPECT_EQ(onDisk(outside, "Title"), "Outside");
    EXPECT_EQ(onDisk(outside, "Artist"), "");
    EXPECT_EQ(d().TrackTitle[0], "Kept");
    EXPECT_TRUE(d().CollectionSaved);
    EXPECT_EQ(onDisk(inside, "Title"), "Old");
}

TEST_F(MediaTagsTest, AWriteThatWouldMoveTheAudioOfAFileOfTwoNamesIsRefusedByName) {
    fixtures::Mp3Options o;
    o.id3.emplace().padding = 0;  // no room: a new rating or comment frame would move the audio
    const std::string path = fixtures::writeMp3(disk.file("linked.mp3"), o);
    ASSERT_EQ(::link(path.c_str(), disk.file("other.mp3").c_str()), 0);
    const std::string before = fixtures::readBytes(path);
    track(path, 5);
    media().ReadSave_Favor_In_Files(0, 255);
    EXPECT_NE(log().find("--> Αρχεία που δεν γράφτηκαν - Files not written : 1\r\n"), std::string::npos) << log();
    EXPECT_NE(log().find("-> " + MediaFiles::writeFailure("UserRating", path)), std::string::npos) << log();
    values("", "", "", "", "Σχόλιο", "-1");
    EXPECT_EQ(save(path), -1);
    EXPECT_NE(log().find("-> " + MediaFiles::writeFailure("Comment", path)), std::string::npos) << log();
    EXPECT_TRUE(fixtures::readBytes(path) == before) << "the file changed";
}

TEST_F(MediaTagsTest, AWriteProtectedTagIsSkippedAndTheOthersWrittenInOrder) {
    useFakeMedia();
    FakeMediaFile& file = h.media.add("/t/a.mp3", 1, {{"Genre", "Jazz"}});
    file.readOnlyNames = {"Genre"};
    const int i = track("/t/a.mp3");
    values("T", "A", "B", "1999", "C", "17");
    EXPECT_EQ(save("/t/a.mp3"), 0);

    std::vector<std::string> written;
    for (const auto& w : h.media.writes) written.push_back(w.name + "=" + w.value);
    EXPECT_EQ(written, (std::vector<std::string>{"Title=T", "Artist=A", "Album=B", "Year=1999", "Comment=C"}));
    EXPECT_EQ(h.media.attribute("/t/a.mp3", "Genre"), "Jazz");
    EXPECT_EQ(d().TrackGenre[static_cast<std::size_t>(i)], "17");

    // A write the media layer refuses is logged and reported; the rest go on.
    h.media.writes.clear();
    file.readOnlyNames.clear();
    FakeMediaFile& other = h.media.add("/t/b.mp3", 1);
    other.readOnlyNames = {"Year"};  // tested as "WM/Year", so the write is tried and refused
    values("T2", "", "", "2001", "", "4");
    EXPECT_EQ(save("/t/b.mp3"), -1);
    EXPECT_EQ(h.media.writes.size(), 6u);
    EXPECT_EQ(h.media.attribute("/t/b.mp3", "Genre"), "4");
    EXPECT_NE(log().find("-> Αποτυχία εγγραφής του \"Year\" στο αρχείο - Failed to write \"Year\" into the file: /t/b.mp3"),
              std::string::npos)
        << log();
}

}  // namespace
}  // namespace tarvolin
