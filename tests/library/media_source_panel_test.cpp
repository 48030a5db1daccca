// The media source panel: types, file and folder lists, the subfolder search
// and the add buttons, driven through the controls' events.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/media_fixtures.h"
#include "support/program_harness.h"

namespace tarvolin {
namespace {

class MediaSourcePanelTest : public ::testing::Test {
protected:
    ProgramHarness h;
    TempDir disk;

    Form1& f1() { return h->Form1; }
    ModuleState& state() { return h->state; }

    void SetUp() override { h->playback.Init_Defaults(); }

    std::string file(const std::string& name) {
        const std::string path = disk.file(name);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        return fixtures::writeBytes(path, "x");
    }
    std::string folderPath(const std::string& name) {
        std::string p = disk.path() + name;
        while (p.size() > 1 && p.back() == '/') p.pop_back();
        return p;
    }
    std::vector<int> selectedTypes() {
        std::vector<int> out;
        for (int k = 0; k < f1().List3.ListCount(); ++k)
            if (f1().List3.Selected(k)) out.push_back(k);
        return out;
    }
    int messages(const std::string& piece) {
        int n = 0;
        for (const DialogCall& c : h.dialogs.calls("MsgBox")) n += c.prompt.find(piece) != std::string::npos;
        return n;
    }
    void press(CommandButton& b) { b.Click.raise(); }
};

TEST_F(MediaSourcePanelTest, TypeGroupsToggleAndSetThePattern) {
    ASSERT_EQ(f1().List3.ListCount(), 32);
    press(f1().Command7[0]);  // "All" first after start selects every type
    EXPECT_EQ(selectedTypes().size(), 32u);
    EXPECT_EQ(f1().File1.Pattern().substr(0, 12), "*.mp3;*.wav;");

    press(f1().Command7[3]);
    EXPECT_EQ(selectedTypes(), (std::vector<int>{29, 30, 31}));
    EXPECT_EQ(f1().File1.Pattern(), "*.m3u;*.wpl;*.wvx");
    press(f1().Command7[3]);  // the same group again: no type
    EXPECT_TRUE(selectedTypes().empty());
    EXPECT_EQ(f1().File1.Pattern(), "");
    press(f1().Command7[3]);
    EXPECT_EQ(selectedTypes().size(), 3u);

    press(f1().Command7[4]);
    EXPECT_EQ(selectedTypes(), (std::vector<int>{0}));
    press(f1().Command7[1]);
    EXPECT_EQ(selectedTypes().size(), 14u);
    press(f1().Command7[2]);
    EXPECT_EQ(selectedTypes().front(), 14);
    EXPECT_EQ(selectedTypes().back(), 28);
    EXPECT_FALSE(state().Busy);
}

TEST_F(MediaSourcePanelTest, FolderChangesShowTheFilesAndMakeTheFolderListStale) {
    file("music/a.mp3");
    file("music/b.wav");
    file("music/c.MP3");
    state().FolderListStale = false;
    ASSERT_TRUE(f1().Dir1.setPath(folderPath("music")));
    EXPECT_EQ(f1().File1.Path(), folderPath("music"));
    EXPECT_TRUE(state().FolderListStale);
    press(f1().Command7[4]);  // ".mp3" only, matched without regard to case
    EXPECT_EQ(f1().File1.ListCount(), 2);

    // The drive list's change takes the folder list to that drive.
    ASSERT_TRUE(f1().Drive1.setDrive("/") || f1().Drive1.Drive() == "/");
    f1().Drive1.Change.raise();
    EXPECT_EQ(f1().Dir1.Path(), "/");
    EXPECT_EQ(f1().File1.Path(), "/");
}

TEST_F(MediaSourcePanelTest, AddButtonChecksThenAddsFromTheFileList) {
    ASSERT_TRUE(f1().Dir1.setPath(folderPath("")));
    press(f1().Command7[4]);
    press(f1().Command18[0]);
    EXPECT_EQ(messages("There aren't any under search type files in this Directory"), 1);

    file("add/a.mp3");
    file("add/b.mp3");
    ASSERT_TRUE(f1().Dir1.setPath(folderPath("add")));
    // "Lists" twice leaves no type chosen, and so an empty file list: the
    // message names the missing type.
    press(f1().Command7[3]);
    press(f1().Command7[3]);
    ASSERT_EQ(f1().File1.ListCount(), 0);
    press(f1().Command18[0]);
    EXPECT_EQ(messages("Eπιλέξτε τουλάχιστον έναν τύπο πολυμεσικού αρχείου - Select at least one type of media file"), 1);
    EXPECT_EQ(messages("There aren't any under search type files in this Directory"), 1);
    EXPECT_EQ(h.dialogs.calls("MsgBox").back().buttons, mb::OKOnly + mb::Exclamation);
    EXPECT_EQ(f1().List2.ListCount(), 0);

    // The folder list is the source by default, but this button adds what
    // the file list shows.
    press(f1().Command7[4]);
    ASSERT_TRUE(state().ScanFromFileList);
    f1().List1.AddItem(disk.path() + "elsewhere/");
    press(f1().Command18[0]);
    EXPECT_EQ(f1().List2.ListCount(), 2);
    EXPECT_EQ(f1().List2.List(0), disk.path() + "add/a.mp3");
    EXPECT_FALSE(state().ScanFromFileList);
    EXPECT_EQ(f1().Check2.Value(), 0);
    EXPECT_EQ(f1().MultiPage1.Value(), 3);
}

TEST_F(MediaSourcePanelTest, TheDirectoryButtonChoosesTheDestinationFolder) {
    const std::string folder = folderPath("dest");
    std::filesystem::create_directories(folder);
    h.dialogs.answerFolder(folder);
    press(f1().Command19);
    ASSERT_EQ(h.dialogs.calls("PickFolder").size(), 1u);
    EXPECT_EQ(h.dialogs.calls("PickFolder")[0].prompt, "Pick a folder");
    EXPECT_EQ(state().DestFolder, folder + "/");
    EXPECT_EQ(f1().Text2[5].Text(), folder + "/");
    EXPECT_EQ(f1().Text2[3].Text(), folder + "/");

    // No folder chosen: told, and no destination.
    h.dialogs.answerFolder(std::nullopt);
    press(f1().Command19);
    EXPECT_EQ(messages("You haven't choose correct disk path"), 1);
    EXPECT_TRUE(state().DestFolder.empty());
}

TEST_F(MediaSourcePanelTest, SubfolderBoxSearchesOnlyWhenStale) {
    file("tree/a/1.mp3");
    file("tree/b/2.mp3");
    ASSERT_TRUE(f1().Dir1.setPath(folderPath("tree")));
    press(f1().Command7[4]);

    f1().Check2.setValue(1);
    ASSERT_EQ(f1().List1.ListCount(), 2);
    EXPECT_EQ(f1().List1.List(0), disk.path() + "tree/a/");
    EXPECT_FALSE(state().FolderListStale);
    EXPECT_TRUE(state().ScanFromFileList);
    EXPECT_TRUE(f1().List1.Enabled());
    EXPECT_TRUE(f1().Frame10.Enabled());
    EXPECT_TRUE(f1().Frame1.Enabled());
    EXPECT_TRUE(f1().Check2.Enabled());
    EXPECT_FALSE(state().Busy);
    EXPECT_EQ(f1().MultiPage1.Value(), 3);

    f1().Check2.setValue(0);
    EXPECT_FALSE(state().ScanFromFileList);
    EXPECT_FALSE(f1().Frame10.Enabled());
    file("tree/c/3.mp3");
    f1().Check2.setValue(1);  // nothing changed: no new search
    EXPECT_EQ(f1().List1.ListCount(), 2);

    f1().Check2.setValue(0);
    press(f1().Command7[0]);  // the types changed
    f1().Check2.setValue(1);
    EXPECT_EQ(f1().List1.ListCount(), 3);
    EXPECT_TRUE(h.dialogs.calls("MsgBox").empty());
}

TEST_F(MediaSourcePanelTest, ANewSearchOfTheSameRootIsAsked) {
    file("root.mp3");
    ASSERT_TRUE(f1().Dir1.setPath(folderPath("")));
    press(f1().Command7[4]);
    f1().Check2.setValue(1);
    ASSERT_EQ(f1().List1.ListCount(), 1);
    ASSERT_EQ(f1().List1.List(0), disk.path());

    state().FolderListStale = true;
    h.dialogs.answerMsgBox(mb::No);
    h->library.YpoFakel();
    EXPECT_EQ(messages("Νέα έρευνα για φακέλους; - New direcotry search?"), 1);
    EXPECT_EQ(f1().Check2.Value(), 0);
    EXPECT_EQ(f1().List1.ListCount(), 1);
    EXPECT_FALSE(state().Busy);
}

TEST_F(MediaSourcePanelTest, CancelButtonStopsTheSearch) {
    for (const char* n : {"s/a/1.mp3", "s/b/1.mp3", "s/c/1.mp3"}) file(n);
    ASSERT_TRUE(f1().Dir1.setPath(folderPath("s")));
    press(f1().Command7[4]);
    h.loop.onYield = [&] {
        if (f1().List1.ListCount() == 1) {
            EXPECT_TRUE(f1().Command2.Enabled());
            EXPECT_FALSE(f1().Frame1.Enabled());
            press(f1().Command2);
        }
    };
    f1().Check2.setValue(1);
    h.loop.onYield = nullptr;
    EXPECT_LT(f1().List1.ListCount(), 3);
    EXPECT_EQ(state().AbortKey, 0);
    EXPECT_EQ(f1().Check2.Value(), 0);
    EXPECT_FALSE(state().ScanFromFileList);
    EXPECT_TRUE(state().FolderListStale);
    EXPECT_TRUE(f1().Frame1.Enabled());
    EXPECT_FALSE(f1().Command2.Enabled());
    EXPECT_FALSE(state().Busy);
}

TEST_F(MediaSourcePanelTest, FolderSelectionButtonsAndKeys) {
    for (const char* p : {"/a/", "/b/", "/c/"}) f1().List1.AddItem(p);
    press(f1().Command1[0]);
    EXPECT_EQ(f1().List1.SelCount(), 3);
    EXPECT_EQ(f1().Command1[0].Caption(), "Κανένας - None");
    press(f1().Command1[0]);
    EXPECT_EQ(f1().List1.SelCount(), 0);
    EXPECT_EQ(f1().Command1[0].Caption(), "Επέλεξε Όλους - Select All");
    f1().List1.setSelected(1, true);
    press(f1().Command1[1]);
    EXPECT_TRUE(f1().List1.Selected(0));
    EXPECT_FALSE(f1().List1.Selected(1));
    EXPECT_TRUE(f1().List1.Selected(2));

    int key = 27;
    f1().KeyDown.raise(key, 0);
    EXPECT_EQ(state().AbortKey, 27);
    key = 65;
    f1().KeyDown.raise(key, 0);
    EXPECT_EQ(state().AbortKey, 0);
    press(f1().Command2);
    EXPECT_EQ(state().AbortKey, 27);
}

TEST_F(MediaSourcePanelTest, AddFromTheFolderListThenReadAndOfferFilters) {
    const std::string a = file("f/a/1.mp3");
    const std::string b = file("f/b/2.mp3");
    h.media.add(a, 61, {{"Title", "One"}});
    h.media.add(b, 62, {{"Title", "Two"}});
    ASSERT_TRUE(f1().Dir1.setPath(folderPath("f")));
    press(f1().Command7[4]);
    f1().Check2.setValue(1);
    ASSERT_EQ(f1().List1.ListCount(), 2);

    h.dialogs.answerMsgBox(mb::Yes);  // read the attributes
    h.dialogs.answerMsgBox(mb::No);   // no save
    h.dialogs.answerMsgBox(mb::No);   // no new filters
    press(f1().Command4);
    ASSERT_EQ(f1().List2.ListCount(), 2);
    CollectionData& d = h->collection.d;
    EXPECT_EQ(d.TrackTitle[0], "One");
    EXPECT_EQ(d.TrackTitle[1], "Two");
    EXPECT_EQ(d.ClassCount[0], 2);
    EXPECT_EQ(d.TotalDuration, Currency::fromInteger(123));
    EXPECT_EQ(messages("Would you like to remake the song filters?"), 1);
}

}  // namespace
}  // namespace tarvolin
