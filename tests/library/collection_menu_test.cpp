// The collection items of the Files menu driven as the user does, with
// scripted dialog answers and real collection files in the program folder;
// and the statistics box.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "collection/store_files.h"
#include "support/media_fixtures.h"
#include "support/program_harness.h"
#include "toolkit/record_file.h"
#include "toolkit/text_file.h"

namespace tarvolin {
namespace {

namespace fs = std::filesystem;

class CollectionMenuTest : public ::testing::Test {
protected:
    ProgramHarness h;

    Form1& f1() { return h->Form1; }
    CollectionStore& store() { return h->collection; }
    CollectionData& d() { return h->collection.d; }
    ScriptedDialogs& dialogs() { return h.dialogs; }
    std::string log() { return f1().Text2[0].Text(); }

    std::string sylloges() { return h->AppFolder() + "tarvolin_sylloges/"; }
    std::string collection(const std::string& name) { return sylloges() + name + ".tlf"; }

    void SetUp() override {
        store().Make_Data_Folder(1);
        store().Make_Data_Folder(3);
    }

    // A real media file, known to the media layer, as a track of the list.
    int addTrack(const std::string& name, int cls = 0) {
        const std::string path = h.folder.file(name);
        fixtures::writeWav(path);
        h.media.add(path, 1.0);
        CollectionData& data = d();
        const int i = f1().List2.ListCount();
        data.resizeTrackTables(i + 1);
        const auto e = static_cast<std::size_t>(i);
        data.TrackClass[e] = static_cast<std::int16_t>(cls);
        data.TrackDuration[e] = Currency::fromInteger(1);
        data.TrackBitrate[e] = 128;
        data.TrackSaved[e] = false;
        store().appendTrackRow(e, path);
        data.TrackCount = i + 1;
        return i;
    }

    // Writes a collection of the given tracks to its file and empties the
    // program again.
    void makeCollectionFile(const std::string& path, const std::vector<std::string>& tracks, int cls = 0) {
        for (const std::string& t : tracks) addTrack(t, cls);
        d().CollectionPath = path;
        store().Save_Collection(false, true);
        ASSERT_TRUE(d().CollectionSaved) << path;
        store().Reset_Collection(0);
    }

    std::vector<std::string> listed() {
        std::vector<std::string> out;
        for (int i = 0; i < f1().List2.ListCount(); ++i) out.push_back(f1().List2.List(i));
        return out;
    }

    static std::int32_t storedCount(const std::string& path) {
        RecordFile file;
        std::int32_t count = -1;
        if (file.Open(path, RecordFile::Mode::Read, storefiles::kCollectionRecord)) file.GetLong(6, count);
        return count;
    }

    std::string defaultFileFirstLine() {
        TextFileReader in;
        std::string line;
        if (in.Open(store().defaultFilePath())) in.LineInput(line);
        return line;
    }

    int msgBoxesWith(const std::string& piece) {
        int n = 0;
        for (const DialogCall& c : dialogs().calls("MsgBox"))
            if (c.prompt.find(piece) != std::string::npos) ++n;
        return n;
    }
};

// ---- Open ---------------------------------------------------------------

TEST_F(CollectionMenuTest, OpenOffersTheUnsavedCollectionThenLoadsTheChosenFile) {
    d().PlayClassOn = {0, 0, 0, 0, -1, 0};  // jazz plays class A only
    makeCollectionFile(collection("jazz"), {"j1.wav", "j2.wav", "j3.wav"});
    d().PlayClassOn = {0, 0, 0, 0, 0, 0};
    makeCollectionFile(collection("rock"), {"r1.wav", "r2.wav"});
    d().CollectionPath = collection("rock");
    store().Load_Collection();
    store().syncClassChoiceMenus();
    addTrack("r3.wav");  // not stored yet
    d().CollectionSaved = false;
    f1().MultiPage1.setValue(2);

    dialogs().answerMsgBox(mb::Yes);  // save the present collection
    dialogs().answerOpen(collection("jazz"));
    f1().mnuFileOpen.click();

    EXPECT_EQ(storedCount(collection("rock")), 3);  // the offered save reached the file
    const auto opens = dialogs().calls("ShowOpen");
    ASSERT_EQ(opens.size(), 1u);
    EXPECT_EQ(opens[0].request.Filter, "Tarvolin (*.tlf) | *.tlf");
    EXPECT_EQ(opens[0].request.InitDir, sylloges());
    EXPECT_EQ(opens[0].request.DialogTitle, "Άνοιγμα Νέας Συλλογής - Open New Collection");
    EXPECT_EQ(opens[0].request.FileName, "");
    EXPECT_EQ(opens[0].request.Flags, 4096);

    EXPECT_EQ(d().CollectionPath, collection("jazz"));
    EXPECT_EQ(listed(), (std::vector<std::string>{h.folder.file("j1.wav"), h.folder.file("j2.wav"),
                                                  h.folder.file("j3.wav")}));
    EXPECT_EQ(d().TrackCount, 3);
    EXPECT_EQ(f1().MultiPage1.Value(), 0);
    EXPECT_EQ(d().ClassCount[0], 3);
    // The class choice that came with the file is the one the menus show.
    EXPECT_TRUE(f1().MnuMorePlayA.Checked());
    EXPECT_TRUE(f1().TrayFavorPlayA.Checked());
    EXPECT_FALSE(f1().MnuMorePlayAll.Checked());
    // The next track was started.
    EXPECT_NE(d().CurrentFile.find("/j"), std::string::npos) << d().CurrentFile;
}

TEST_F(CollectionMenuTest, OpeningKeepsTheFirstTracksRating) {
    // The collection was left at its third track, so the track that
    // starts after the opening is not the first one.
    for (const char* t : {"s1.wav", "s2.wav", "s3.wav"}) addTrack(t, 5);
    d().CurrentTrack = 2;
    d().CollectionPath = collection("rated");
    store().Save_Collection(false, true);
    ASSERT_TRUE(d().CollectionSaved);
    store().Reset_Collection(0);

    dialogs().answerMsgBox(mb::No);  // nothing to save first
    dialogs().answerOpen(collection("rated"));
    f1().mnuFileOpen.click();

    ASSERT_EQ(d().TrackCount, 3);
    ASSERT_NE(d().CurrentTrack, 0);
    EXPECT_EQ(f1().List3_0[1].List(0), "S");
    // A later recount reads the class column: the first track is still S.
    store().Calculate_Ratings();
    EXPECT_EQ(d().TrackClass[0], 5);
    EXPECT_EQ(d().ClassCount[5], 3);
}

TEST_F(CollectionMenuTest, OpenRefusesNamesWithoutTheExactEndingAndCancelChangesNothing) {
    makeCollectionFile(collection("rock"), {"r1.wav"});
    d().CollectionPath = collection("rock");
    store().Load_Collection();
    const fs::path upper = sylloges() + "x.TLF", bak = sylloges() + "x.tlf.bak";
    fs::copy_file(collection("rock"), upper);
    fs::copy_file(collection("rock"), bak);

    for (const fs::path& p : {upper, bak}) {
        dialogs().clearTranscript();
        dialogs().answerOpen(p.string());
        f1().mnuFileOpen.click();
        const DialogCall* last = dialogs().last();
        ASSERT_TRUE(last);
        EXPECT_EQ(last->kind, "MsgBox");
        EXPECT_EQ(last->prompt, "Το όνομα πρέπει να τελειώνει σε [.tlf] should be the ending of the file");
        EXPECT_EQ(last->buttons, mb::OKOnly + mb::Exclamation);
        EXPECT_EQ(last->title, "");
    }
    dialogs().answerOpen(std::nullopt);
    f1().mnuFileOpen.click();

    EXPECT_EQ(d().CollectionPath, collection("rock"));
    EXPECT_EQ(listed(), std::vector<std::string>{h.folder.file("r1.wav")});
}

TEST_F(CollectionMenuTest, OpenRefusesAFileItsLoadWouldRefuseBeforeEmptyingAnything) {
    makeCollectionFile(collection("rock"), {"r1.wav", "r2.wav"});
    d().CollectionPath = collection("rock");
    store().Load_Collection();

    {  // another version
        RecordFile file;
        ASSERT_TRUE(file.Open(collection("old"), RecordFile::Mode::ReadWrite, storefiles::kCollectionRecord));
        file.PutString(1, "4.0");
        file.PutLong(6, 1);
        file.Close();
    }
    {  // more tracks than a collection holds
        RecordFile file;
        ASSERT_TRUE(file.Open(collection("huge"), RecordFile::Mode::ReadWrite, storefiles::kCollectionRecord));
        file.PutString(1, "5.0");
        file.PutLong(6, kMaxTracks + 1);
        file.Close();
    }
    dialogs().answerOpen(collection("old"));
    f1().mnuFileOpen.click();
    EXPECT_EQ(msgBoxesWith("Collection Created with different version"), 1);
    dialogs().answerOpen(collection("huge"));
    f1().mnuFileOpen.click();
    EXPECT_EQ(msgBoxesWith("New Collection exceeds this limit"), 1);

    EXPECT_EQ(d().CollectionPath, collection("rock"));
    EXPECT_EQ(listed().size(), 2u);
    EXPECT_EQ(d().TrackCount, 2);
}

// ---- Save and Save As ----------------------------------------------------

TEST_F(CollectionMenuTest, SaveWritesTheFileAndLogsOnlyASaveThatHappened) {
    addTrack("a.wav");
    addTrack("b.wav");
    d().CollectionPath = collection("mine");
    f1().mnuFileSave.click();
    EXPECT_EQ(storedCount(collection("mine")), 2);
    EXPECT_TRUE(d().CollectionSaved);
    EXPECT_EQ(log().find(" -> Σώθηκε - Saved\r\n"), 8u) << log();
    EXPECT_TRUE(dialogs().calls("MsgBox").empty());

    // A collection whose file could not be read whole is never written over.
    const std::string before = fixtures::readBytes(collection("mine"));
    addTrack("c.wav");
    store().RefusedCollectionPath = collection("mine");
    f1().Text2[0].setText("");
    f1().mnuFileSave.click();
    EXPECT_EQ(fixtures::readBytes(collection("mine")), before);
    EXPECT_EQ(log().find("Σώθηκε - Saved"), std::string::npos) << log();
    // Each Save the user asks for says why in a box, also after the first.
    EXPECT_EQ(dialogs().calls("MsgBox").size(), 1u);
    f1().mnuFileSave.click();
    EXPECT_EQ(dialogs().calls("MsgBox").size(), 2u);
}

TEST_F(CollectionMenuTest, SaveAsWritesEveryTrackUnderTheNewNameAndThenTheDefaultFile) {
    makeCollectionFile(collection("rock"), {"r1.wav", "r2.wav"});
    d().CollectionPath = collection("rock");
    store().Load_Collection();
    store().Save_Last_Collection();

    dialogs().answerSave(collection("copy"));
    f1().mnuFileSaveAs.click();

    const auto saves = dialogs().calls("ShowSave");
    ASSERT_EQ(saves.size(), 1u);
    EXPECT_EQ(saves[0].request.Filter, "Tarvolin (*.tlf) | *.tlf");
    EXPECT_EQ(saves[0].request.InitDir, sylloges());
    EXPECT_EQ(saves[0].request.DialogTitle, "Σώσιμο Αρχείου - Save File");
    EXPECT_EQ(saves[0].request.FileName, collection("rock"));
    EXPECT_EQ(saves[0].request.Flags, 2050);

    EXPECT_EQ(d().CollectionPath, collection("copy"));
    EXPECT_EQ(storedCount(collection("copy")), 2);
    EXPECT_EQ(fixtures::readBytes(sylloges() + "copy_Files.ptlf"), fixtures::readBytes(sylloges() + "rock_Files.ptlf"));
    EXPECT_TRUE(fs::exists(h->AppFolder() + "tarvolin_filtra/copy_Filters.ptlf"));
    EXPECT_EQ(defaultFileFirstLine(), collection("copy"));
    EXPECT_TRUE(d().CollectionSaved);
}

TEST_F(CollectionMenuTest, SaveAsRefusesAWrongEndingAndKeepsTheDefaultFileAfterAFailedSave) {
    addTrack("a.wav");
    d().CollectionPath = collection("rock");
    f1().mnuFileSave.click();
    store().Save_Last_Collection();

    dialogs().answerSave(sylloges() + "other.TLF");
    dialogs().answerMsgBox(mb::Cancel);  // the answer is not used
    f1().mnuFileSaveAs.click();
    const DialogCall* last = dialogs().last();
    ASSERT_TRUE(last);
    EXPECT_EQ(last->prompt, "Δε σώθηκε η συλλογή. Το όνομα πρέπει να τελειώνει σε [.tlf] should be the ending of "
                            "the file. Collection was not saved");
    EXPECT_EQ(last->buttons, mb::OKCancel + mb::Critical);
    EXPECT_EQ(d().CollectionPath, collection("rock"));
    EXPECT_FALSE(fs::exists(sylloges() + "other.TLF"));

    // A save into a folder that is not there fails: the default file keeps
    // naming the collection that is on disk.
    dialogs().answerSave(h->AppFolder() + "missing/elsewhere.tlf");
    f1().mnuFileSaveAs.click();
    EXPECT_FALSE(d().CollectionSaved);
    EXPECT_EQ(defaultFileFirstLine(), collection("rock"));

    // So does a save onto a file that a load refused: it is not written over.
    const std::string refused = collection("refused");
    fixtures::writeBytes(refused, "not a collection");
    store().RefusedCollectionPath = refused;
    d().CollectionSaved = true;
    dialogs().answerSave(refused);
    f1().mnuFileSaveAs.click();
    EXPECT_EQ(fixtures::readBytes(refused), "not a collection");
    EXPECT_EQ(defaultFileFirstLine(), collection("rock"));
}

// ---- Merge -----------------------------------------------------------------

TEST_F(CollectionMenuTest, MergeAppendsTheOtherCollectionUnderAMergedName) {
    makeCollectionFile(collection("jazz"), {"j1.wav", "shared.wav"}, 4);
    makeCollectionFile(collection("rock"), {"r1.wav", "shared.wav"});
    d().CollectionPath = collection("rock");
    store().Load_Collection();

    dialogs().answerMsgBox(mb::Yes);  // merge?
    dialogs().answerOpen(collection("jazz"));
    dialogs().answerMsgBox(mb::No);   // the other collection's play marks
    f1().MnuFileMerge.click();

    const auto opens = dialogs().calls("ShowOpen");
    ASSERT_EQ(opens.size(), 1u);
    EXPECT_EQ(opens[0].request.DialogTitle, "Πρόσθεση Νέας Συλλογής στην Παρούσα - Add New Collection to the Existing");
    EXPECT_EQ(opens[0].request.Flags, 4096);
    EXPECT_EQ(d().CollectionPath, collection("rock_Merged_jazz"));
    EXPECT_EQ(listed(), (std::vector<std::string>{h.folder.file("r1.wav"), h.folder.file("shared.wav"),
                                                  h.folder.file("j1.wav")}));
    EXPECT_EQ(d().ClassCount[4], 1);
    EXPECT_FALSE(d().CollectionSaved);
    // Nothing is written under the new name, and the two files stay.
    EXPECT_FALSE(fs::exists(collection("rock_Merged_jazz")));
    EXPECT_EQ(storedCount(collection("rock")), 2);
    EXPECT_EQ(storedCount(collection("jazz")), 2);

    // Saved, the merged collection is whole in its own file.
    f1().mnuFileSave.click();
    EXPECT_EQ(storedCount(collection("rock_Merged_jazz")), 3);
}

TEST_F(CollectionMenuTest, MergeRefusesBeforeReadingAnything) {
    makeCollectionFile(collection("rock"), {"r1.wav"});
    d().CollectionPath = collection("rock");
    store().Load_Collection();

    // No to the question: no dialog at all.
    dialogs().answerMsgBox(mb::No);
    f1().MnuFileMerge.click();
    EXPECT_TRUE(dialogs().calls("ShowOpen").empty());

    // The current file itself.
    dialogs().answerMsgBox(mb::Yes);
    dialogs().answerOpen(collection("rock"));
    f1().MnuFileMerge.click();
    EXPECT_EQ(msgBoxesWith("Προσπαθείτε να φορτώσετε δύο φορές την ίδια Συλλογή! - You are trying to load the "
                           "same Collection twice!"),
              1);
    // A name without the exact ending.
    dialogs().answerMsgBox(mb::Yes);
    dialogs().answerOpen(sylloges() + "jazz.TLF");
    f1().MnuFileMerge.click();
    EXPECT_EQ(msgBoxesWith("Το όνομα πρέπει να τελειώνει σε [.tlf] should be the ending of the file"), 1);
    // A cancelled dialog.
    dialogs().answerMsgBox(mb::Yes);
    f1().MnuFileMerge.click();

    EXPECT_EQ(d().CollectionPath, collection("rock"));
    EXPECT_EQ(listed(), std::vector<std::string>{h.folder.file("r1.wav")});
    EXPECT_TRUE(d().CollectionSaved);
}

// ---- New -------------------------------------------------------------------

TEST_F(CollectionMenuTest, NewOnAnEmptyCollectionAsksNothingAndProposesAGeneratedName) {
    dialogs().answerSave(std::nullopt);
    f1().mnufilesnew.click();

    EXPECT_TRUE(dialogs().calls("MsgBox").empty());
    const auto saves = dialogs().calls("ShowSave");
    ASSERT_EQ(saves.size(), 1u);
    const std::string proposed = saves[0].request.FileName;
    ASSERT_EQ(proposed.rfind(sylloges() + "new_collection", 0), 0u) << proposed;
    ASSERT_EQ(Right(proposed, 4), ".tlf");
    const std::string number = proposed.substr(sylloges().size() + 14, proposed.size() - sylloges().size() - 18);
    ASSERT_FALSE(number.empty());
    EXPECT_EQ(number.find_first_not_of("0123456789"), std::string::npos) << number;
    EXPECT_LE(std::stoi(number), 100);
    // Cancelled: the generated name stays, unsaved, and nothing is written.
    EXPECT_EQ(d().CollectionPath, proposed);
    EXPECT_FALSE(d().CollectionSaved);
    EXPECT_FALSE(fs::exists(proposed));

    // A second program draws the same number; a file of that name is not
    // taken, the next free number is.
    ProgramHarness other;
    other->collection.Make_Data_Folder(1);
    const std::string otherFolder = other->AppFolder() + "tarvolin_sylloges/";
    fixtures::writeBytes(otherFolder + "new_collection" + number + ".tlf", "someone's collection");
    other.dialogs.answerSave(std::nullopt);
    other->Form1.mnufilesnew.click();
    EXPECT_EQ(other->collection.d.CollectionPath,
              otherFolder + "new_collection" + std::to_string(std::stoi(number) + 1) + ".tlf");
    EXPECT_EQ(fixtures::readBytes(otherFolder + "new_collection" + number + ".tlf"), "someone's collection");
}

TEST_F(CollectionMenuTest, NewOnATrackListAsksOnceAndSavesTheOldCollectionSilently) {
    addTrack("a.wav");
    addTrack("b.wav");
    d().CollectionPath = collection("rock");

    dialogs().answerMsgBox(mb::No);
    f1().mnufilesnew.click();
    EXPECT_EQ(listed().size(), 2u);
    EXPECT_TRUE(dialogs().calls("ShowSave").empty());

    dialogs().clearTranscript();
    dialogs().answerMsgBox(mb::Yes);
    dialogs().answerSave(collection("fresh"));
    f1().mnufilesnew.click();

    const auto boxes = dialogs().calls("MsgBox");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].prompt, "Θέλετε σίγουρα νέα συλλογή;\r\nDo you really want new collection?");
    EXPECT_EQ(boxes[0].buttons, mb::YesNo + mb::Question);
    EXPECT_EQ(storedCount(collection("rock")), 2);
    EXPECT_TRUE(listed().empty());
    // The new, empty collection under the name chosen, named in the default file.
    EXPECT_EQ(d().CollectionPath, collection("fresh"));
    EXPECT_EQ(storedCount(collection("fresh")), 0);
    EXPECT_EQ(defaultFileFirstLine(), collection("fresh"));
}

// ---- Reset, Delete Ratings ---------------------------------------------

TEST_F(CollectionMenuTest, ResetAsksThenClearsMarksAndRatingsAndOffersTheSave) {
    f1().mnuFileReset.click();  // empty: nothing happens
    EXPECT_TRUE(dialogs().transcript().empty());

    addTrack("a.wav", 4);
    addTrack("b.wav", 5);
    d().PlayOrder[0] = 2;
    d().PlayOrder[1] = 1;
    d().CurrentTrack = 1;
    d().CollectionPath = collection("rock");

    dialogs().answerMsgBox(mb::No);
    f1().mnuFileReset.click();
    EXPECT_EQ(d().TrackClass[1], 5);
    EXPECT_EQ(d().PlayOrder[0], 2);

    dialogs().clearTranscript();
    dialogs().answerMsgBox(mb::Yes);  // reset
    dialogs().answerMsgBox(mb::Yes);  // save it
    f1().mnuFileReset.click();
    const auto boxes = dialogs().calls("MsgBox");
    ASSERT_GE(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].prompt,
              "Θέλετε σίγουρα να μηδενήσετε την συλλογή;\r\n"
              "Θα διαγραφούν όλες οι προτιμήσεις πολυμέσων ενώ η αναπαραγωγή θα αρχίσει από την αρχή ξανά.\r\n"
              "Do you really want to reset the collection?\r\n"
              " All favorites will be reseted and reproduction will start over.");
    EXPECT_EQ(boxes[1].prompt, "Θα σώσετε την παρούσα συλλογή; \r\nDo you want to save the present collection?");
    EXPECT_EQ(d().TrackClass[0], 0);
    EXPECT_EQ(d().TrackClass[1], 0);
    // The current track opens the new pass.
    EXPECT_EQ(d().PlayOrder[0], 0);
    EXPECT_EQ(d().PlayOrder[1], 1);
    EXPECT_EQ(d().ClassCount[0], 2);
    EXPECT_EQ(storedCount(collection("rock")), 2);
    EXPECT_EQ(listed().size(), 2u);
}

TEST_F(CollectionMenuTest, DeleteRatingsNeverAsks) {
    addTrack("a.wav", 3);
    d().PlayOrder[0] = 1;
    f1().mnufilefavorreset.click();
    EXPECT_TRUE(dialogs().calls("MsgBox").empty());
    EXPECT_EQ(d().TrackClass[0], 0);
    EXPECT_EQ(d().ClassCount[3], 0);
    EXPECT_EQ(d().PlayOrder[0], 1);
}

// ---- Delete the collection file ----------------------------------------

TEST_F(CollectionMenuTest, TheDefaultCollectionIsNeverDeleted) {
    makeCollectionFile(store().defaultCollectionPath(), {"a.wav"});
    d().CollectionPath = store().defaultCollectionPath();
    store().Load_Collection();
    f1().Text2[0].setText("");
    dialogs().clearTranscript();

    f1().mnufiledelete.click();
    EXPECT_TRUE(dialogs().transcript().empty());
    EXPECT_EQ(log().substr(8),
              "-> Η αρχική συλλογή \"tarvolin_sylloges/tarvolin.tlf\" δεν γίνεται να διαγραφεί! - Default collection  "
              "\"tarvolin_sylloges/tarvolin.tlf\" cannot be deleted!\r\n");
    EXPECT_TRUE(fs::exists(store().defaultCollectionPath()));
    EXPECT_TRUE(d().CollectionSaved);
}

TEST_F(CollectionMenuTest, DeleteAsksAndKeepsTheTracksForALaterSave) {
    makeCollectionFile(collection("rock"), {"a.wav", "b.wav"});
    d().CollectionPath = collection("rock");
    store().Load_Collection();

    dialogs().answerMsgBox(mb::No);
    f1().mnufiledelete.click();
    const DialogCall* question = dialogs().last();
    ASSERT_TRUE(question);
    const std::string q = "\"" + collection("rock") + "\"";
    EXPECT_EQ(question->prompt, "Θέλετε σίγουρα να διαγράψετε τη συλλογή " + q + " από τον δίσκο; \r\n" +
                                    "Do you really want to delete the collection " + q + " from disc?");
    EXPECT_EQ(question->buttons, mb::YesNo + mb::Critical);
    EXPECT_TRUE(fs::exists(collection("rock")));
    EXPECT_TRUE(d().CollectionSaved);

    // A deletion that fails is reported; the collection counts as unsaved.
    h->state.DeleteToRecycle = true;
    h.desktop.failNextTrash();
    dialogs().answerMsgBox(mb::Yes);
    f1().mnufiledelete.click();
    const DialogCall* error = dialogs().last();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->prompt, "Λάθος κατά τη διαγραφή της συλλογής - Error while deleting collection");
    EXPECT_EQ(error->buttons, mb::OKOnly + mb::Exclamation);
    EXPECT_FALSE(d().CollectionSaved);

    d().CollectionSaved = true;
    dialogs().clearTranscript();
    dialogs().answerMsgBox(mb::Yes);
    f1().mnufiledelete.click();
    EXPECT_EQ(dialogs().calls("MsgBox").size(), 1u);  // the question only
    EXPECT_FALSE(fs::exists(collection("rock")));
    EXPECT_FALSE(fs::exists(sylloges() + "rock_Files.ptlf"));
    EXPECT_FALSE(fs::exists(h->AppFolder() + "tarvolin_filtra/rock_Filters.ptlf"));
    EXPECT_FALSE(d().CollectionSaved);
    EXPECT_EQ(d().CollectionPath, collection("rock"));
    EXPECT_EQ(listed().size(), 2u);

    // A later save writes the collection again under its name.
    f1().mnuFileSave.click();
    EXPECT_EQ(storedCount(collection("rock")), 2);
    EXPECT_TRUE(d().CollectionSaved);
}

// ---- Switches and player-library items -----------------------------------

TEST_F(CollectionMenuTest, AutoSaveFollowsItsCheckMarkAndKeepUpdatedDoesNothing) {
    MenuItem& autoSave = f1().mnuFileSaveAsAuto;
    const bool start = autoSave.Checked();
    for (int i = 1; i <= 3; ++i) {
        autoSave.click();
        EXPECT_EQ(autoSave.Checked(), (i % 2 == 1) ? !start : start);
        EXPECT_EQ(h->state.AutoSave, autoSave.Checked());
    }

    addTrack("a.wav");
    d().CollectionPath = collection("rock");
    f1().mnuFileCreateWPL[1].setChecked(true);
    f1().mnuFileCreateWPL[1].click();
    EXPECT_TRUE(f1().mnuFileCreateWPL[1].Checked());
    EXPECT_TRUE(dialogs().transcript().empty());
    EXPECT_EQ(listed().size(), 1u);
    EXPECT_FALSE(fs::exists(collection("rock")));
}

TEST_F(CollectionMenuTest, PlayerLibraryItemsReachTheExportAndTheImport) {
    addTrack("a.wav");
    d().CollectionPath = collection("rock");

    // The export names the library playlist after the collection file.
    dialogs().answerMsgBox(mb::No);
    f1().mnuFileCreateWPL[0].click();
    ASSERT_TRUE(dialogs().last());
    EXPECT_NE(dialogs().last()->prompt.find("\"rock\""), std::string::npos) << dialogs().last()->prompt;

    // The import chooses its playlist in its own dialog; an empty playlist
    // added leaves the tracks, one that replaces the collection leaves none.
    const std::string playlist = fixtures::writeBytes(h.folder.file("empty.m3u"), "");
    dialogs().clearTranscript();
    dialogs().answerOpen(playlist);
    f1().mnuFileCreateWPL[3].click();
    ASSERT_FALSE(dialogs().calls("ShowOpen").empty());
    EXPECT_NE(dialogs().calls("ShowOpen")[0].request.Filter.find("*.m3u"), std::string::npos);
    EXPECT_EQ(listed().size(), 1u);

    dialogs().answerOpen(playlist);
    f1().mnuFileCreateWPL[2].click();
    EXPECT_TRUE(listed().empty());
}

// ---- Statistics ------------------------------------------------------------

TEST_F(CollectionMenuTest, StatisticsBoxShowsTheCountersAsPlainNumbers) {
    f1().mnustats.click();
    const DialogCall* box = dialogs().last();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->prompt,
              "Αρχεία - Files:0\r\n\r\n"
              "Διάρκεια Αναπαραγωγής -> 0 Χρόνια - 0 Μήνες - 0 Ημέρες - 0 Ώρες - 0 Λεπτά - 0: Δευτερόλεπτα \r\n"
              "Reproduce Duration ->> 0 Years - 0 Months - 0 Days - 0 Hours - 0 Minutes - 0: Seconds ");
    EXPECT_EQ(box->buttons, mb::OKOnly + mb::Information);
    EXPECT_EQ(box->title, "");

    ModuleState& s = h->state;
    s.StatFilesPlayed = 1234;
    s.StatYears = 1;
    s.StatMonths = 11;
    s.StatDays = 29;
    s.StatHours = 23;
    s.StatMinutes = 5;
    s.StatSeconds = 7;
    f1().mnustats.click();
    EXPECT_EQ(dialogs().last()->prompt,
              "Αρχεία - Files:1234\r\n\r\n"
              "Διάρκεια Αναπαραγωγής -> 1 Χρόνια - 11 Μήνες - 29 Ημέρες - 23 Ώρες - 5 Λεπτά - 7: Δευτερόλεπτα \r\n"
              "Reproduce Duration ->> 1 Years - 11 Months - 29 Days - 23 Hours - 5 Minutes - 7: Seconds ");
}

TEST_F(CollectionMenuTest, StatisticsResetZeroesOnlyWhenNotCancelled) {
    ModuleState& s = h->state;
    s.StatFilesPlayed = 9;
    s.StatYears = s.StatMonths = s.StatDays = s.StatHours = s.StatMinutes = s.StatSeconds = 3;
    dialogs().answerMsgBox(mb::Cancel);
    f1().mnustatsreset.click();
    const DialogCall* question = dialogs().last();
    ASSERT_TRUE(question);
    EXPECT_EQ(question->prompt, "Επιβεβαιώστε Μηδενισμό Στατιστικών - Confirm Reset of Statistics");
    EXPECT_EQ(question->buttons, mb::OKCancel + mb::Question);
    EXPECT_EQ(s.StatFilesPlayed, 9);
    EXPECT_EQ(s.StatSeconds, 3);

    dialogs().answerMsgBox(mb::OK);
    f1().mnustatsreset.click();
    for (std::int32_t v : {s.StatFilesPlayed, s.StatYears, s.StatMonths, s.StatDays, s.StatHours, s.StatMinutes,
                           s.StatSeconds})
        EXPECT_EQ(v, 0);
}

}  // namespace
}  // namespace tarvolin
