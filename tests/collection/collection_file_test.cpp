// The collection file with its track and filter part files: the bytes
// written, the tables and rows loaded, incremental and full saves, the
// backup copies and collections that must not be written over.
#include <sys/stat.h>

#include "collection/collection_files_fixture.h"

namespace tarvolin {
namespace {

using testbytes::readFile;
using testbytes::writeFile;

TEST_F(CollectionFilesTest, SaveWritesTheThreeFilesByteForByte) {
    putSampleCollection();
    store().Save_Collection(false, false);

    EXPECT_EQ(readFile(collectionPath()), expectedCollectionFile());
    EXPECT_EQ(readFile(trackPath()), expectedTrackFile());
    EXPECT_EQ(readFile(filterPath()), expectedFilterFile());
    EXPECT_TRUE(d().CollectionSaved);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_TRUE(d().TrackSaved[i]);
    EXPECT_FALSE(std::filesystem::exists(collectionPath() + ".backup"));
    EXPECT_TRUE(h.dialogs.calls("MsgBox").empty());
    // No temporary file is left beside the part files.
    for (const auto& dir : {folder() + "tarvolin_sylloges", folder() + "tarvolin_filtra"}) {
        for (const auto& entry : std::filesystem::directory_iterator(dir))
            EXPECT_EQ(entry.path().string().find(".tmp"), std::string::npos) << entry.path();
    }
}

TEST_F(CollectionFilesTest, AskedSaveReportsSuccessOrChangesNothingOnNo) {
    putSampleCollection();
    h.dialogs.answerMsgBox(mb::No);
    store().Save_Collection(true, false);
    EXPECT_FALSE(std::filesystem::exists(collectionPath()));
    EXPECT_FALSE(d().CollectionSaved);

    store().Save_Collection(true, false);  // the default answer is Yes
    const auto boxes = h.dialogs.calls("MsgBox");
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[1].prompt, "Θα σώσετε την παρούσα συλλογή; \r\nDo you want to save the present collection?");
    EXPECT_EQ(boxes[1].buttons, mb::YesNo + mb::Question);
    EXPECT_EQ(boxes[2].prompt, "Επιτυχημένο Σώσιμο Συλλογής - Collection Saved Correctly");
    EXPECT_TRUE(d().CollectionSaved);
}

TEST_F(CollectionFilesTest, LoadFillsTablesRowsColumnsAndMarks) {
    writeSampleFiles();
    f1().mnuvideoshow[2].setChecked(true);
    store().Load_Collection();

    EXPECT_EQ(d().TrackCount, 3);
    EXPECT_EQ(d().trackEntries(), 4u);
    ASSERT_EQ(f1().List2.ListCount(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(f1().List2.List(i), tracks[static_cast<std::size_t>(i)].path);
    const std::vector<std::vector<std::string>> columns = {
        {"00001", "00002", "00003"},
        {"X", "S", "-"},
        {"01:02:05", "00:01:00", "00:00:00"},
        {"03.20Mb", "01.50Gb", "01.00Gb"},
        {"128", "320", "064"},
    };
    for (int m = 0; m < 5; ++m)
        for (int i = 0; i < 3; ++i) EXPECT_EQ(column(m, i), columns[static_cast<std::size_t>(m)][static_cast<std::size_t>(i)]);

    EXPECT_EQ(d().TrackArtist[0], "Νίκος");
    EXPECT_EQ(d().TrackTitle[0], "Θάλασσα");
    EXPECT_EQ(d().TrackExtraNum[0][3], 7);
    EXPECT_EQ(d().TrackExtraText[0][15], "σημείωση");
    EXPECT_TRUE(d().TrackInfoRead[0]);
    EXPECT_FALSE(d().TrackInfoRead[2]);
    EXPECT_EQ(d().TrackResumePos[1], Currency::fromRaw(420000));
    EXPECT_EQ(d().TrackBitrate[1], 320);
    EXPECT_EQ(d().TrackClass[1], 5);
    EXPECT_EQ(d().PlayOrder[2], 2);

    // Sums are made from the tracks, not from the stored totals.
    EXPECT_EQ(d().TotalDuration, Currency::fromRaw(37250000 + 595000));
    EXPECT_EQ(d().TotalSize, Currency::fromRaw(32000 + 15360000 + 10240000));
    EXPECT_EQ(d().ClassCount[1], 1);
    EXPECT_EQ(d().ClassCount[5], 1);
    EXPECT_EQ(d().ClassCount[0], 1);
    EXPECT_EQ(d().ClassSize[5], Currency::fromRaw(15360000));

    // Header values.
    EXPECT_EQ(d().CurrentTrack, 2);
    EXPECT_EQ(d().PlayedCount, 2);
    EXPECT_EQ(d().MaxPlayedCount, 2);
    EXPECT_EQ(app().state.AlarmFile, "/ξυπνητήρι.mp3");
    EXPECT_EQ(app().state.VideoMode, 0);
    EXPECT_FALSE(f1().mnuvideoshow[0].Checked());
    EXPECT_TRUE(f1().mnuvideoshow[1].Checked());
    EXPECT_FALSE(f1().mnuvideoshow[2].Checked());
    EXPECT_EQ(d().PlayClassOn[1], -1);
    EXPECT_EQ(d().PlayClassOn[2], 0);
    EXPECT_TRUE(d().PlayClassActive);

    // The current track's row is selected in every list.
    EXPECT_TRUE(f1().List2.Selected(2));
    for (int m = 0; m < 5; ++m) EXPECT_TRUE(f1().List3_0[m].Selected(2));

    // Filters.
    ASSERT_EQ(f1().Combo4_0[1].ListCount(), 2);
    EXPECT_EQ(f1().Combo4_0[1].List(0), "Ροκ");
    EXPECT_EQ(f1().Combo4_0[4].List(0), "1999");
    ASSERT_EQ(f1().List5.ListCount(), 5);
    ASSERT_EQ(d().TableRows.size(), 3u);
    EXPECT_EQ(d().TableRows[0], "Θάλασσα   03.20Mb");
    EXPECT_FALSE(d().FiltersDirty);

    EXPECT_TRUE(d().CollectionSaved);
    EXPECT_TRUE(d().CollectionJustLoaded);
    EXPECT_TRUE(f1().List2.Visible());
    EXPECT_FALSE(app().state.TimerSuspended);
    EXPECT_NE(log().find("-> Ανάγνωση αρχείων από Συλλογή... - Reading files from Collection..."), std::string::npos);
    EXPECT_NE(log().find(" -> Τέλος φορτώματος - End loading"), std::string::npos);
    EXPECT_TRUE(h.dialogs.calls("MsgBox").empty());
}

TEST_F(CollectionFilesTest, SavedCollectionLoadsBackTheSame) {
    putSampleCollection();
    store().Save_Collection(false, false);
    const std::string saved = readFile(trackPath());

    ProgramHarness other;
    other->collection.d.CollectionPath = other->AppFolder() + "tarvolin_sylloges/rock.tlf";
    std::filesystem::create_directories(other->AppFolder() + "tarvolin_sylloges");
    std::filesystem::create_directories(other->AppFolder() + "tarvolin_filtra");
    std::filesystem::copy_file(collectionPath(), other->AppFolder() + "tarvolin_sylloges/rock.tlf");
    std::filesystem::copy_file(trackPath(), other->AppFolder() + "tarvolin_sylloges/rock_Files.ptlf");
    std::filesystem::copy_file(filterPath(), other->AppFolder() + "tarvolin_filtra/rock_Filters.ptlf");
    other->collection.Load_Collection();
    CollectionData& o = other->collection.d;
    ASSERT_EQ(o.TrackCount, 3);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(o.TrackArtist[i], d().TrackArtist[i]);
        EXPECT_EQ(o.TrackDuration[i], d().TrackDuration[i]);
        EXPECT_EQ(o.TrackExtraText[i][15], d().TrackExtraText[i][15]);
    }
    // A save straight after the load writes the same part file.
    other->collection.Save_Collection(false, false);
    EXPECT_EQ(readFile(other->AppFolder() + "tarvolin_sylloges/rock_Files.ptlf"), saved);
}

TEST_F(CollectionFilesTest, OneChangedTrackRewritesOnlyItsRecordsAndTheHeader) {
    writeSampleFiles();
    // Records of tracks beyond the count stay where they are too.
    std::string before = readFile(trackPath()) + std::string(400 * 45, '\x5a');
    writeFile(trackPath(), before);
    store().Load_Collection();
    struct stat st{};
    ASSERT_EQ(::stat(trackPath().c_str(), &st), 0);
    const ino_t inode = st.st_ino;

    d().TrackClass[1] = 4;
    d().TrackSaved[1] = false;
    f1().List5.setList(3, "   .   000002 B   A     01.50Gb");
    store().Save_Collection(false, false);

    // Of the filter part file only that track's table row is rewritten.
    Records filters(600);
    filters.str(13 + 3, "   .   000002 B   A     01.50Gb");
    std::string expectedFilters = expectedFilterFile();
    expectedFilters.replace(15 * 600, 600, filters.bytes().substr(15 * 600));
    EXPECT_EQ(readFile(filterPath()), expectedFilters);

    const std::string after = readFile(trackPath());
    ASSERT_EQ(after.size(), before.size());
    Records changed(400);
    SampleTrack t = tracks[1];
    t.cls = 4;
    putTrackRecords(changed, 1, t);
    const std::size_t from = 45 * 400, to = 90 * 400;
    EXPECT_EQ(after.substr(0, from), before.substr(0, from));
    EXPECT_EQ(after.substr(from, to - from), changed.bytes().substr(from, to - from));
    EXPECT_EQ(after.substr(to), before.substr(to));
    ASSERT_EQ(::stat(trackPath().c_str(), &st), 0);
    EXPECT_EQ(st.st_ino, inode);  // written in place
    EXPECT_TRUE(d().TrackSaved[1]);
    EXPECT_TRUE(d().CollectionSaved);
}

TEST_F(CollectionFilesTest, FifthAndTenthGoodSavesRefreshTheBackups) {
    putSampleCollection();
    const std::string backups[] = {collectionPath() + ".backup", trackPath() + ".backup", filterPath() + ".backup"};
    for (int save = 1; save <= 10; ++save) {
        store().Save_Collection(false, false);
        for (const std::string& b : backups) EXPECT_EQ(std::filesystem::exists(b), save == 5 || save == 10) << save << b;
        if (save == 5 || save == 10) {
            EXPECT_EQ(readFile(backups[1]), readFile(trackPath()));
            EXPECT_EQ(readFile(backups[0]), readFile(collectionPath()));
            for (const std::string& b : backups) std::filesystem::remove(b);
        }
        if (save == 5) {
            d().TrackTitle[0] = "Άλλος τίτλος";
            d().TrackSaved[0] = false;
        }
    }
}

TEST_F(CollectionFilesTest, AFailedSaveCopiesNothingAndTheNextGoodOneDoes) {
    putSampleCollection();
    for (int save = 1; save <= 4; ++save) store().Save_Collection(false, false);
    // The fifth fails: the filters folder is gone.
    std::filesystem::remove_all(folder() + "tarvolin_filtra");
    d().FiltersDirty = true;
    store().Save_Collection(false, false);
    EXPECT_FALSE(d().CollectionSaved);
    EXPECT_EQ(h.dialogs.last()->prompt,
              "Λάθος κατά το σώσιμο Συλλογής. Παρακαλώ επαναλάβατε - Error while saving Collection. Please retry.");
    EXPECT_EQ(h.dialogs.last()->buttons, mb::Critical);
    EXPECT_FALSE(std::filesystem::exists(collectionPath() + ".backup"));
    EXPECT_TRUE(d().FiltersDirty);

    makeFolders();
    store().Save_Collection(false, false);
    EXPECT_TRUE(d().CollectionSaved);
    EXPECT_TRUE(std::filesystem::exists(collectionPath() + ".backup"));
    EXPECT_TRUE(std::filesystem::exists(filterPath() + ".backup"));
}

TEST_F(CollectionFilesTest, FullRewriteKeepsExactlyTheCurrentTracksOrTheOldFiles) {
    writeSampleFiles();
    store().Load_Collection();
    const std::string oldTracks = readFile(trackPath());

    // A failed full rewrite leaves the old part files as they were.
    std::filesystem::remove_all(folder() + "tarvolin_filtra");
    store().Save_Collection(false, true);
    EXPECT_FALSE(d().CollectionSaved);
    EXPECT_EQ(readFile(trackPath()), oldTracks);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_FALSE(d().TrackSaved[i]);

    // Without the last track the new file holds two tracks and nothing more.
    makeFolders();
    f1().List2.RemoveItem(2);
    for (int m = 0; m < 5; ++m) f1().List3_0[m].RemoveItem(2);
    d().CurrentTrack = 0;
    store().Save_Collection(false, true);
    EXPECT_TRUE(d().CollectionSaved);
    EXPECT_EQ(readFile(trackPath()), oldTracks.substr(0, 2 * 45 * 400));
}

TEST_F(CollectionFilesTest, TooLongTextsFailTheSave) {
    putSampleCollection();
    // 150 Greek letters are 300 bytes: more than a record of the collection
    // file holds, though only 150 characters.
    std::string alarm;
    for (int i = 0; i < 150; ++i) alarm += "α";
    app().state.AlarmFile = alarm;
    store().Save_Collection(false, false);
    EXPECT_FALSE(d().CollectionSaved);
    EXPECT_EQ(h.dialogs.last()->buttons, mb::Critical);

    // 200 Greek letters (400 bytes) cannot be a title in the track part file.
    app().state.AlarmFile = "a";
    std::string title;
    for (int i = 0; i < 200; ++i) title += "Ω";
    d().TrackTitle[0] = title;
    d().TrackSaved[0] = false;
    store().Save_Collection(false, false);
    EXPECT_FALSE(d().CollectionSaved);
    EXPECT_FALSE(d().TrackSaved[0]);
    // The other fields of the track are stored all the same.
    const std::string part = readFile(trackPath());
    EXPECT_EQ(part.substr(9 * 400, 2), std::string(2, '\0'));
    EXPECT_EQ(part.substr(11 * 400 + 2, tracks[0].path.size()), tracks[0].path);
    EXPECT_EQ(part.substr(6 * 400 + 2, 10), "Νίκος");
}

// How often text stands in the log.
static int timesLogged(const std::string& log, const std::string& text) {
    int n = 0;
    for (std::size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1)) ++n;
    return n;
}

TEST_F(CollectionFilesTest, OnlyAnotherVersionOrTooManyTracksRefuseTheSave) {
    makeFolders();
    struct Case {
        const char* what;
        Records header;
        std::string message;
    };
    Records other(300);
    other.str(1, "4.9").i32(6, 2);
    Records tooMany(300);
    tooMany.str(1, "5.0").i32(6, 32767).i32(19, 0);
    const std::vector<Case> cases = {
        {"other version", other, "Συλλογή δημιουργημένη με διαφορετική έκδοση - Collection Created with different version"},
        {"over the limit", tooMany, "Η παρούσα συλλογή ξεπερνά το όριο κομματιών  32766 New Collection exceeds this limit"},
    };
    const std::string refusal =
        "Η συλλογή δεν σώθηκε: το αρχείο της είναι άλλης έκδοσης ή ξεπερνά το όριο κομματιών - "
        "Collection not saved: its file is of another version or over the track limit";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        store().Reset_Collection(0);
        h.dialogs.clearTranscript();
        d().CollectionPath = collectionPath();
        writeFile(collectionPath(), c.header.bytes());
        store().Load_Collection();
        ASSERT_EQ(h.dialogs.calls("MsgBox").size(), 1u);
        EXPECT_EQ(h.dialogs.calls("MsgBox")[0].prompt, c.message);
        EXPECT_EQ(d().TrackCount, 0);
        EXPECT_EQ(d().trackEntries(), 1u);
        EXPECT_EQ(f1().List2.ListCount(), 0);
        EXPECT_TRUE(f1().List2.Visible());

        // The save that would write over it is refused, and told.
        addTrack("/new/track.mp3");
        h.dialogs.clearTranscript();
        store().Save_Collection(false, false);
        EXPECT_EQ(readFile(collectionPath()), c.header.bytes());
        EXPECT_FALSE(std::filesystem::exists(trackPath()));
        ASSERT_EQ(h.dialogs.calls("MsgBox").size(), 1u);
        EXPECT_EQ(h.dialogs.calls("MsgBox")[0].prompt, refusal);
        EXPECT_EQ(h.dialogs.calls("MsgBox")[0].buttons, mb::Critical);
        EXPECT_NE(log().find("-> " + refusal), std::string::npos);

        // The saves that come by themselves after it do not show the box
        // every time; they log it.
        h.dialogs.clearTranscript();
        const int logged = timesLogged(log(), "-> " + refusal);
        store().Save_Collection(false, false);
        EXPECT_TRUE(h.dialogs.calls("MsgBox").empty());
        EXPECT_EQ(timesLogged(log(), "-> " + refusal), logged + 1);
    }
    // Another name ends the refusal.
    d().CollectionPath = folder() + "tarvolin_sylloges/new.tlf";
    store().Save_Collection(false, false);
    EXPECT_TRUE(d().CollectionSaved);
    EXPECT_TRUE(std::filesystem::exists(folder() + "tarvolin_sylloges/new_Files.ptlf"));
}


TEST_F(CollectionFilesTest, DamagedFilesLoadAsFarAsTheyGoAndAreKeptAsideBeforeTheFirstSave) {
    const std::string errorLine = "Error while loading Collection";
    const std::string keptLine = "had errors and were kept as .damaged";
    struct Case {
        const char* what;
        std::string header, part;  // the files as they are damaged
        int tracksLoaded;
        int errorLines, messages;  // told once, or not at all
    };
    writeSampleFiles();
    const std::string header = expectedCollectionFile(), part = expectedTrackFile();
    Records negative(300);
    negative.str(1, "5.0").str(2, "/").str(3, folder()).i32(6, -4).i32(18, 3).i32(19, 3);
    std::string garbage = header;
    garbage[0] = '\xff';
    garbage[1] = '\xff';
    std::string noVersion = header;
    noVersion.replace(0, 5, std::string(5, '\0'));
    std::string badRecord = part;
    badRecord[(45 + 11) * 400 + 1] = '\x7f';  // the second track's path runs past its record
    const std::vector<Case> cases = {
        {"negative count", negative.bytes(), part, 0, 1, 0},
        {"header cut before record 19", header.substr(0, 11 * 300 + 40), part, 3, 1, 0},
        {"unreadable record 1", garbage, part, 3, 1, 0},
        {"empty version in a file with bytes", noVersion, part, 3, 1, 0},
        {"short part file", header, part.substr(0, 2 * 45 * 400), 2, 0, 0},
        {"missing part file", header, "", 0, 0, 0},
        {"one unreadable record", header, badRecord, 2, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const std::string& file : {collectionPath(), trackPath(), filterPath()})
            std::filesystem::remove(file + ".damaged");
        writeFile(collectionPath(), c.header);
        if (c.part.empty()) {
            std::filesystem::remove(trackPath());
        } else {
            writeFile(trackPath(), c.part);
        }
        writeFile(filterPath(), expectedFilterFile());
        store().Reset_Collection(0);
        d().CollectionPath = collectionPath();
        f1().Text2[0].setText("");
        h.dialogs.clearTranscript();
        store().Load_Collection();

        EXPECT_TRUE(store().RefusedCollectionPath.empty());
        EXPECT_EQ(d().TrackCount, c.tracksLoaded);
        EXPECT_EQ(f1().List2.ListCount(), c.tracksLoaded);
        EXPECT_EQ(timesLogged(log(), errorLine), c.errorLines);
        EXPECT_EQ(h.dialogs.calls("MsgBox").size(), static_cast<std::size_t>(c.messages));

        // The first save keeps the files as they were, then saves.
        addTrack("/new/track.mp3");
        d().TrackSaved[static_cast<std::size_t>(d().TrackCount - 1)] = false;
        store().Save_Collection(false, false);
        EXPECT_TRUE(d().CollectionSaved);
        EXPECT_EQ(readFile(collectionPath() + ".damaged"), c.header);
        EXPECT_EQ(std::filesystem::exists(trackPath() + ".damaged"), !c.part.empty());
        if (!c.part.empty()) {
            EXPECT_EQ(readFile(trackPath() + ".damaged"), c.part);
        }
        EXPECT_EQ(readFile(filterPath() + ".damaged"), expectedFilterFile());
        EXPECT_EQ(timesLogged(log(), keptLine), 1);

        // It loads whole now, and later saves copy nothing again.
        store().Reset_Collection(0);
        d().CollectionPath = collectionPath();
        f1().Text2[0].setText("");
        store().Load_Collection();
        EXPECT_EQ(d().TrackCount, c.tracksLoaded + 1);
        EXPECT_EQ(f1().List2.List(c.tracksLoaded), "/new/track.mp3");
        EXPECT_EQ(log().find(errorLine), std::string::npos);
        EXPECT_EQ(log().find("Error Reading Collection Files"), std::string::npos);
        EXPECT_TRUE(store().DamagedCollectionPath.empty());
        std::filesystem::remove(collectionPath() + ".damaged");
        store().Save_Collection(false, false);
        EXPECT_FALSE(std::filesystem::exists(collectionPath() + ".damaged"));
    }

    // An older copy is never written over.
    writeFile(collectionPath() + ".damaged", "older copy");
    writeFile(collectionPath(), garbage);
    store().Reset_Collection(0);
    d().CollectionPath = collectionPath();
    store().Load_Collection();
    store().Save_Collection(false, false);
    EXPECT_TRUE(d().CollectionSaved);
    EXPECT_EQ(readFile(collectionPath() + ".damaged"), "older copy");
}

TEST_F(CollectionFilesTest, ACollectionThatCannotBeKeptAsideIsNotWrittenOver) {
    writeSampleFiles();
    std::string cut = expectedTrackFile().substr(0, 45 * 400);
    writeFile(trackPath(), cut);
    store().Load_Collection();
    ASSERT_EQ(d().TrackCount, 1);

    // Files may not grow past 1000 bytes: no copy can be made, so the save
    // fails and writes nothing.
    withFileSizeLimit(1000, [&] { store().Save_Collection(false, false); });

    EXPECT_FALSE(d().CollectionSaved);
    ASSERT_NE(h.dialogs.last(), nullptr);
    EXPECT_EQ(h.dialogs.last()->buttons, mb::Critical);
    EXPECT_EQ(readFile(collectionPath()), expectedCollectionFile());
    EXPECT_EQ(readFile(trackPath()), cut);
    EXPECT_NE(log().find("could not be kept as .damaged"), std::string::npos);

    store().Save_Collection(false, false);
    EXPECT_TRUE(d().CollectionSaved);
    EXPECT_EQ(readFile(trackPath() + ".damaged"), cut);
}

TEST_F(CollectionFilesTest, MissingAndEmptyCollectionFiles) {
    makeFolders();
    d().CollectionPath = collectionPath();
    d().CollectionSaved = false;
    store().Load_Collection();
    EXPECT_TRUE(std::filesystem::exists(collectionPath()));
    EXPECT_EQ(std::filesystem::file_size(collectionPath()), 0u);
    EXPECT_FALSE(d().CollectionSaved);
    EXPECT_TRUE(h.dialogs.calls("MsgBox").empty());

    // A stored count of 0 restores the header and reads no part file.
    Records empty(300);
    empty.str(1, "5.0").str(2, "/").i32(4, 5).i32(6, 0).i16(7, 1).i32(18, 7).i32(19, 3);
    writeFile(collectionPath(), empty.bytes());
    d().CollectionJustLoaded = false;
    store().Load_Collection();
    EXPECT_TRUE(d().CollectionSaved);
    EXPECT_FALSE(d().CollectionJustLoaded);
    EXPECT_EQ(d().MaxPlayedCount, 7);
    EXPECT_TRUE(f1().mnuvideoshow[2].Checked());
    EXPECT_EQ(log().find("Reading files"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(trackPath()));
}

TEST_F(CollectionFilesTest, PartFilesBesideACollectionOutsideTheFolderAndUnderAnotherCase) {
    EXPECT_EQ(CollectionStore::trackPartFileOf("/music/mix.tlf"), "/music/mix_Files.ptlf");
    EXPECT_EQ(CollectionStore::filterPartFileOf("/music/mix.tlf"), "/music/mix_Filters.ptlf");
    EXPECT_EQ(CollectionStore::filterPartFileOf("/p/TARVOLIN_Sylloges/sub/ρόκ.tlf"), "/p/tarvolin_filtra/sub/ρόκ_Filters.ptlf");

    writeSampleFiles();
    std::filesystem::rename(trackPath(), folder() + "tarvolin_sylloges/ROCK_files.PTLF");
    store().Load_Collection();
    EXPECT_EQ(d().TrackCount, 3);
    EXPECT_TRUE(std::filesystem::exists(trackPath()));
    EXPECT_FALSE(std::filesystem::exists(folder() + "tarvolin_sylloges/ROCK_files.PTLF"));
}

TEST_F(CollectionFilesTest, TracksWithoutPathAreDroppedAndLaterOnesCloseUp) {
    makeFolders();
    Records header(300);
    header.str(1, "5.0").str(2, "/").i32(4, 3).i32(6, 4).i32(18, 1).i32(19, 1);
    Records part(400);
    SampleTrack a = tracks[0], blank = tracks[1], c = tracks[2], b = tracks[1];
    blank.path = " ";
    b.cls = 9;  // no such class
    putTrackRecords(part, 0, a);
    putTrackRecords(part, 1, blank);
    putTrackRecords(part, 2, b);
    putTrackRecords(part, 3, c);
    writeFile(collectionPath(), header.bytes());
    writeFile(trackPath(), part.bytes());
    d().CollectionPath = collectionPath();
    store().Load_Collection();

    ASSERT_EQ(d().TrackCount, 3);
    EXPECT_EQ(d().trackEntries(), 4u);
    EXPECT_EQ(f1().List2.List(1), b.path);
    EXPECT_EQ(f1().List2.List(2), c.path);
    EXPECT_EQ(column(0, 2), "00003");
    EXPECT_EQ(d().TrackClass[1], 0);
    EXPECT_EQ(column(1, 1), "-");
    EXPECT_TRUE(d().TrackSaved[0]);
    EXPECT_FALSE(d().TrackSaved[1]);
    EXPECT_FALSE(d().TrackSaved[2]);
    // The dropped track's duration stays out of the sums.
    EXPECT_EQ(d().TotalDuration, Currency::fromRaw(a.duration + b.duration + c.duration));
    // The stored current track 3 is no row any more.
    EXPECT_EQ(d().CurrentTrack, 0);
    EXPECT_TRUE(f1().List2.Selected(0));
}

TEST_F(CollectionFilesTest, BadLengthWordsAndShortPartFilesAreReadSafely) {
    makeFolders();
    Records header(300);
    header.str(1, "5.0").str(2, "/").i32(6, 3).i32(19, 0);
    Records part(400);
    putTrackRecords(part, 0, tracks[0]);
    putTrackRecords(part, 1, tracks[1]);
    part.raw(45 + 7, {0xff, 0x7f});  // the second track's artist runs past its record
    writeFile(collectionPath(), header.bytes());
    writeFile(trackPath(), part.bytes());  // the third track is missing
    d().CollectionPath = collectionPath();
    store().Load_Collection();

    EXPECT_EQ(d().TrackCount, 2);
    EXPECT_EQ(d().TrackArtist[1], "");
    EXPECT_EQ(d().TrackTitle[1], "B");
    const auto boxes = h.dialogs.calls("MsgBox");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].prompt, "59-->:Bad record length");
    EXPECT_NE(log().find("Track read errors: 1"), std::string::npos);
    EXPECT_NE(log().find("-> Λάθη στην ανάγνωση αρχείων συλλογής... - Error Reading Collection Files..."),
              std::string::npos);
    // The file as it was is kept aside before the save writes the two tracks.
    const std::string bytes = readFile(trackPath());
    store().Save_Collection(false, false);
    EXPECT_TRUE(d().CollectionSaved);
    EXPECT_EQ(readFile(trackPath() + ".damaged"), bytes);
    EXPECT_EQ(readFile(collectionPath()).substr(5 * 300, 4), std::string("\x02\0\0\0", 4));
}

TEST_F(CollectionFilesTest, FilterFileEdges) {
    writeSampleFiles();
    // A missing filter file reads nothing and leaves the filters to be rebuilt.
    std::filesystem::remove(filterPath());
    d().FiltersDirty = true;
    store().Load_Collection();
    EXPECT_EQ(f1().List5.ListCount(), 0);
    EXPECT_TRUE(d().FiltersDirty);
    EXPECT_FALSE(std::filesystem::exists(filterPath()));

    // Counts beyond the end of the file fail and read nothing.
    Records filters(600);
    filters.i16(1, 3).i16(9, -1).str(10, "only one");
    writeFile(filterPath(), filters.bytes());
    std::int32_t failed = 0;
    store().Clear_Filters();
    store().Load_Collection_Filters(filterPath(), failed);
    EXPECT_EQ(failed, -1);
    EXPECT_EQ(f1().Combo4_0[1].ListCount(), 0);
    EXPECT_FALSE(d().FiltersDirty);

    // An empty table is stored with -1 and loads no rows.
    store().Clear_Filters();
    failed = 0;
    store().Save_Collection_Filters(filterPath(), failed);
    EXPECT_EQ(failed, 0);
    Records none(600);
    for (int k = 1; k <= 8; ++k) none.i16(k, 0);
    none.i16(9, -1);
    EXPECT_EQ(readFile(filterPath()).substr(0, 9 * 600), none.bytes());

    // A table row too long for a record is cut at a character boundary
    // without failing; a filter value too long fails.
    std::string row = "   .   000001 ";
    for (int i = 0; i < 300; ++i) row += "λ";
    f1().List5.AddItem("h1");
    f1().List5.AddItem("h2");
    f1().List5.AddItem(row);
    std::remove(filterPath().c_str());
    store().Save_Collection_Filters(filterPath(), failed);
    EXPECT_EQ(failed, 0);
    std::string longValue(700, 'v');
    f1().Combo4_0[2].AddItem(longValue);
    std::remove(filterPath().c_str());
    store().Save_Collection_Filters(filterPath(), failed);
    EXPECT_EQ(failed, -1);

    store().Clear_Filters();
    failed = 0;
    store().Load_Collection_Filters(filterPath(), failed);
    EXPECT_EQ(failed, 0);
    ASSERT_EQ(f1().List5.ListCount(), 3);
    EXPECT_EQ(f1().List5.List(2), CutAtCharBoundary(row, 598));
    EXPECT_EQ(f1().Combo4_0[2].List(0), std::string(598, 'v'));
    // The cut row makes the table be built again.
    EXPECT_TRUE(d().FiltersDirty);
}

TEST_F(CollectionFilesTest, AFilterFileThatFailsOnlyLeavesOutTheClosingLine) {
    writeSampleFiles();
    Records filters(600);
    filters.i16(1, 3).i16(9, -1).str(10, "only one");  // counts beyond the end
    writeFile(filterPath(), filters.bytes());
    ASSERT_TRUE(app().state.LoadFiltersAtStart);
    store().Load_Collection();
    EXPECT_EQ(d().TrackCount, 3);
    EXPECT_NE(log().find("-> Ανάγνωση Φίλτρων Συλλογής... - Reading Collection Filters..."), std::string::npos);
    EXPECT_EQ(log().find("Error Reading Collection Files"), std::string::npos) << log();
    EXPECT_EQ(log().find("End loading"), std::string::npos);
    // The filters are built anew from the tracks; the files are not damaged.
    EXPECT_TRUE(store().DamagedCollectionPath.empty());
}

TEST_F(CollectionFilesTest, FilterFileOfALargeCollectionIsNoFailure) {
    // Value lists and table lines of a big collection add up to more than a
    // 16-bit count; the file is still sound and loads whole.
    writeSampleFiles();
    Records filters(600);
    const int values = 20000, lines = 20000;
    filters.i16(1, values);
    for (int k = 2; k <= 8; ++k) filters.i16(k, 0);
    filters.i16(9, lines - 1);
    int record = 9;
    for (int i = 0; i < values; ++i) filters.str(++record, "v" + std::to_string(i));
    for (int j = 0; j < lines; ++j) filters.str(++record, j < 2 ? "head" : "   .   " + std::to_string(j) + " row");
    writeFile(filterPath(), filters.bytes());
    std::int32_t failed = 0;
    store().Clear_Filters();
    store().Load_Collection_Filters(filterPath(), failed);
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(f1().Combo4_0[1].ListCount(), values);
    EXPECT_EQ(f1().List5.ListCount(), lines);
}

TEST_F(CollectionFilesTest, TheSaveAfterTrackReadErrorsWritesTheTrackWholeAndTheFiltersAnew) {
    Records foreign(600);  // another collection's filters
    foreign.i16(1, 1).i16(9, -1).str(10, "Ξένο");
    // Length words of the second track that run past their records (title,
    // artist, a spare text), and a size no file has.
    for (const std::size_t at : {(45 + 9) * 400, (45 + 6) * 400, (45 + 44) * 400, (45 + 3) * 400 + 6}) {
        SCOPED_TRACE(at);
        writeSampleFiles();
        std::string part = expectedTrackFile();
        writeFile(trackPath(), part.replace(at, 2, "\xff\x7f"));
        writeFile(filterPath(), foreign.bytes());
        for (std::size_t load = 1; load <= 2; ++load) {
            reload();
            EXPECT_EQ(h.dialogs.calls("MsgBox").size(), 2 - load);
            store().Save_Collection(false, false);
        }
        EXPECT_EQ(f1().List2.List(1), tracks[1].path);
        EXPECT_EQ(d().TrackClass[1], 5);
        // The genres and the table of the three tracks.
        EXPECT_EQ(f1().Combo4_0[4].ListCount(), 2);
        EXPECT_EQ(f1().List5.ListCount(), 5);
    }
}

TEST_F(CollectionFilesTest, UnchangedTracksKeepTheirBytesInANewTrackPartFile) {
    // Bytes in the unused tails of the records, and a stale record past the
    // last track.
    std::string part = expectedTrackFile();
    for (std::size_t r = 0; r < 3 * 45; ++r) part[r * 400 + 399] = static_cast<char>(r + 1);
    for (const std::size_t kept : {0, 2}) {
        SCOPED_TRACE(kept);
        writeSampleFiles();
        writeFile(trackPath(), part + std::string(400, 'z'));
        reload();
        // Two of three changed: more than half the file is written anew.
        for (std::size_t i = 0; i < 3; ++i) {
            if (i != kept) d().TrackClass[i] = 2;
            d().TrackSaved[i] = i == kept;
        }
        store().Save_Collection(false, false);
        const std::string after = readFile(trackPath());
        ASSERT_EQ(after.size(), 3u * 45 * 400);
        for (std::size_t i = 0; i < 3; ++i)
            EXPECT_EQ(after.compare(i * 45 * 400, 45 * 400, part, i * 45 * 400, 45 * 400) == 0, i == kept) << i;
    }
}

}  // namespace
}  // namespace tarvolin
