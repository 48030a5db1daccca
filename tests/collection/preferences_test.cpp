// The preferences file: the records written, the switches, menus and
// controls restored, and damaged files.
#include <filesystem>

#include "collection/record_bytes.h"
#include "collection/store_fixture.h"

namespace tarvolin {
namespace {

using testbytes::readFile;
using testbytes::Records;
using testbytes::writeFile;

class PreferencesTest : public StoreTest {
protected:
    std::string path() { return store().preferencesFilePath(); }

    void ensureMediaTypes() {
        if (f1().List3.ListCount() == 0) {
            for (const char* t : {"*.mp3", "*.ogg", "*.wav"}) f1().List3.AddItem(t);
        }
    }

    // Values that differ from the built-in ones wherever they can.
    void putSettings() {
        ModuleState& s = app().state;
        ensureMediaTypes();
        s.Volume = 55;
        f1().MnuMoreRandom.setChecked(true);
        s.PreviewOn = true;
        s.PreviewSeconds = 5;
        f1().MnuMoreMultiPreview.setChecked(true);
        s.ScanFromFileList = true;
        s.ReplayMode = 2;
        s.AlarmShutdown = -1;
        s.AlarmTime = {7, 30, 0};
        s.AlarmCountdown = {0, 45, 10};
        s.AlarmMode = 1;
        s.AlarmTarget = "12-24-2026";
        s.WindowVisible = true;
        s.StepCount = 4;
        s.BeepBetween = true;
        s.PauseSeconds = 6;
        f1().MnuMorePauseActive.setChecked(true);
        f1().MnuMoreReport.setChecked(true);
        f1().mnufiledeleterecycle.setChecked(true);
        f1().mnufiledeletedisk.setChecked(true);
        s.SearchLinkCount = 2;
        s.SearchLinks = {"", "https://a.example/results?search_query=", "https://βίντεο.example/search?q="};
        f1().MnuMoreDemandFavor.setChecked(true);
        f1().List1.Clear();
        f1().List1.AddItem("/music/");
        f1().List1.AddItem("/μουσική/ελληνικά/");
        s.VideoWidth = 640;
        s.VideoHeight = 480;
        f1().mnuFileSaveAsAuto.setChecked(true);
        f1().MnuMoreFileSizesReadRatings.setChecked(true);
        f1().MnuMoreFavorWithinFiles.setChecked(true);
        f1().MnuFilecopyreference.setChecked(true);
        for (int k = 0; k < f1().List3.ListCount(); ++k) f1().List3.setSelected(k, k == 1);
        f1().MnuFiltersLoad.setChecked(true);
        s.CompactMode = false;
        s.StarColours = 2;
        s.ShowSplash = true;
        s.StarsOff = false;
        s.ResumeMode = 2;
    }

    // The records of putSettings(), or of a file with other values for the
    // few given.
    Records expected(std::int16_t onTop = 0, std::int16_t starsOff = 0) {
        Records r(257);
        int k = 0;
        auto i = [&](std::int16_t v) { r.i16(++k, v); };
        auto l = [&](std::int32_t v) { r.i32(++k, v); };
        auto t = [&](const std::string& v) { r.str(++k, v); };
        i(55), i(-1), i(-1), i(5), i(-1), i(-1), i(2);
        l(-1), l(7), l(0), l(30), l(45), l(0), l(10), l(1);
        t("12-24-2026");
        i(-1), i(4), i(-1), i(6), i(-1), i(-1), i(0), i(-1), i(-1), i(0);
        i(2), t(""), t("https://a.example/results?search_query="), t("https://βίντεο.example/search?q=");
        i(onTop), i(-1), i(-1);
        i(2), t("/music/"), t("/μουσική/ελληνικά/");
        i(0), i(640), i(480), i(-1), i(-1), i(0), i(-1), i(0), i(-1);
        const int p = f1().List3.ListCount();
        i(static_cast<std::int16_t>(p));
        for (int m = 0; m < p; ++m) i(m == 1 ? -1 : 0);
        i(-1), i(0), i(2), i(-1), i(starsOff);
        r.u8(++k, 2);
        return r;
    }
};

TEST_F(PreferencesTest, SaveWritesEveryRecordInOrderWithItsBackup) {
    putSettings();
    std::int32_t failed = 0;
    store().Save_Preferences(failed);
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(readFile(path()), expected().bytes());
    // The first save makes the backup too.
    EXPECT_EQ(readFile(path() + ".backup"), expected().bytes());
}

// A save that the disk cuts short (here: files may not grow past 2000
// bytes) leaves the file it would have replaced as it was.
TEST_F(PreferencesTest, ASaveCutShortKeepsTheOldFileWhole) {
    putSettings();
    std::int32_t failed = 0;
    store().Save_Preferences(failed);
    ASSERT_EQ(failed, 0);
    const std::string before = readFile(path());

    app().state.Volume = 20;
    app().state.SearchLinkCount = 3;
    app().state.SearchLinks.push_back("https://c.example/?q=");
    withFileSizeLimit(2000, [&] { store().Save_Preferences(failed); });

    EXPECT_EQ(failed, -1);
    EXPECT_EQ(readFile(path()), before);
    // Nothing is left beside it.
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(path()).parent_path()))
        EXPECT_TRUE(entry.path() == path() || entry.path() == path() + ".backup") << entry.path();
}

TEST_F(PreferencesTest, LoadRestoresSwitchesMenusAndControls) {
    ensureMediaTypes();
    store().Make_Data_Folder(2);
    writeFile(path(), expected(-1, -1).bytes());
    std::int32_t failed = 5;
    store().Load_Preferences(failed);
    EXPECT_EQ(failed, 0);

    const ModuleState& s = app().state;
    EXPECT_EQ(s.Volume, 55);
    EXPECT_EQ(f1().HScroll1.Value(), 1100);
    EXPECT_EQ(f1().WindowsMediaPlayer1.settings.volume(), 55);
    EXPECT_TRUE(s.ShuffleOn);
    EXPECT_TRUE(f1().MnuMoreRandom.Checked());
    EXPECT_TRUE(f1().mnusystemtraysuffle.Checked());
    EXPECT_TRUE(f1().MnuMorePreview_Active.Checked());
    EXPECT_TRUE(f1().MnuMoreDuration.Enabled());
    EXPECT_EQ(s.PreviewPoints.size(), 4u);
    EXPECT_TRUE(f1().mnumorereplayn[2].Checked());
    EXPECT_FALSE(f1().mnumorereplayn[0].Checked());
    EXPECT_EQ(s.AlarmTime[1], 30);
    EXPECT_EQ(s.AlarmCountdown[2], 10);
    EXPECT_EQ(s.AlarmTarget, "12-24-2026");
    EXPECT_EQ(s.StepCount, 4);
    EXPECT_TRUE(f1().MnuMoreSound.Checked());
    EXPECT_EQ(s.PauseSeconds, 6);
    EXPECT_TRUE(f1().MnuMorePauseDur.Enabled());
    EXPECT_EQ(s.KeepReport, -1);
    EXPECT_TRUE(s.DeleteToRecycle);
    EXPECT_EQ(f1().Check3.Value(), 1);
    EXPECT_TRUE(f1().Check3.Enabled());
    ASSERT_EQ(s.SearchLinks.size(), 3u);
    EXPECT_EQ(s.SearchLinks[2], "https://βίντεο.example/search?q=");
    // Always on top was stored on.
    EXPECT_TRUE(s.OnTop);
    EXPECT_TRUE(f1().MnuMoreOnTop.Checked());
    EXPECT_TRUE(f1().MnuSystemTrayTop.Checked());
    EXPECT_TRUE(f1().OnTop());
    ASSERT_EQ(f1().List1.ListCount(), 2);
    EXPECT_EQ(f1().List1.List(1), "/μουσική/ελληνικά/");
    EXPECT_TRUE(f1().List1.Visible());
    EXPECT_EQ(s.VideoWidth, 640);
    EXPECT_TRUE(s.AutoSave);
    EXPECT_TRUE(s.FileCopyReference);
    EXPECT_FALSE(s.FileMoveReference);
    EXPECT_TRUE(f1().List3.Selected(1));
    EXPECT_FALSE(f1().List3.Selected(0));
    EXPECT_TRUE(s.LoadFiltersAtStart);
    EXPECT_EQ(s.StarColours, 2);
    EXPECT_TRUE(f1().MnumoreStar_Colors[2].Checked());
    EXPECT_FALSE(f1().MnumoreStar_Colors[1].Checked());
    // Stars switched off.
    EXPECT_TRUE(s.StarsOff);
    EXPECT_FALSE(f1().MnumoreStar_Active[0].Enabled());
    EXPECT_TRUE(f1().MnumoreStar_Active[1].Checked());
    EXPECT_EQ(s.ResumeMode, 2);
    EXPECT_TRUE(f1().MnuPlayAutoStartP[2].Checked());
    EXPECT_EQ(h.dialogs.mousePointer(), 0);
}

TEST_F(PreferencesTest, NoFileKeepsEverythingBuiltIn) {
    const int volume = app().state.Volume;
    std::int32_t failed = 5;
    store().Load_Preferences(failed);
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(app().state.Volume, volume);
    EXPECT_FALSE(std::filesystem::exists(path()));
    EXPECT_TRUE(std::filesystem::is_directory(app().AppFolder() + "tarvolin_preferences"));
}

TEST_F(PreferencesTest, StoredValuesOutOfRangeAreBroughtIn) {
    ensureMediaTypes();
    store().Make_Data_Folder(2);
    Records r = expected();
    r.i16(1, 250);   // volume
    r.i16(4, 1);     // preview length
    r.i16(18, -3);   // step count
    r.i16(20, 30);   // pause
    writeFile(path(), r.bytes());
    // Star colours and resume mode are near the end: find them from the size.
    std::string bytes = readFile(path());
    const std::size_t records = bytes.size() / 257;
    Records tail = r;
    tail.i16(static_cast<int>(records) - 3, -3);  // star colours
    tail.u8(static_cast<int>(records), 9);         // resume mode
    writeFile(path(), tail.bytes());

    std::int32_t failed = 0;
    store().Load_Preferences(failed);
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(app().state.Volume, 100);
    EXPECT_EQ(app().state.PreviewSeconds, 10);
    EXPECT_EQ(app().state.StepCount, 1);
    EXPECT_EQ(app().state.PauseSeconds, 8);
    EXPECT_EQ(app().state.StarColours, 0);
    EXPECT_TRUE(f1().MnumoreStar_Colors[0].Checked());
    EXPECT_EQ(app().state.ResumeMode, 2);
}

TEST_F(PreferencesTest, BadCountsStopTheReading) {
    ensureMediaTypes();
    store().Make_Data_Folder(2);
    struct Case {
        const char* what;
        int record;
        std::int16_t value;
    };
    // Record 27 is the highest link index, 32 + n the folder count.
    for (const Case& c : {Case{"link count", 27, 1000}, Case{"negative folders", 32 + 2, -1},
                          Case{"folders past the end", 32 + 2, 30000}}) {
        SCOPED_TRACE(c.what);
        app().state.OnTop = false;
        app().state.VideoWidth = 0;
        Records r = expected();
        r.i16(c.record, c.value);
        writeFile(path(), r.bytes());
        std::int32_t failed = 0;
        store().Load_Preferences(failed);
        EXPECT_EQ(failed, -1);
        EXPECT_EQ(app().state.Volume, 55);     // read before the count
        EXPECT_EQ(app().state.VideoWidth, 0);  // after it: not applied
    }

    // A cut file applies what it holds and no zeros beyond.
    const std::string whole = expected().bytes();
    writeFile(path(), whole.substr(0, 257 * 3 + 1));
    app().state.PreviewSeconds = 7;
    app().state.ReplayMode = 1;
    std::int32_t failed = 0;
    store().Load_Preferences(failed);
    EXPECT_EQ(failed, -1);
    EXPECT_EQ(app().state.PreviewSeconds, 7);
    EXPECT_EQ(app().state.ReplayMode, 1);
}

TEST_F(PreferencesTest, ShorterSaveOverALongerFileLoadsExactlyTheNewRecords) {
    putSettings();
    std::int32_t failed = 0;
    store().Save_Preferences(failed);
    const std::size_t longSize = readFile(path()).size();

    app().state.SearchLinkCount = 0;
    app().state.SearchLinks = {""};
    f1().List1.Clear();
    store().Save_Preferences(failed);
    EXPECT_LT(readFile(path()).size(), longSize);  // no tail of the longer file is left

    f1().List1.AddItem("stale");
    app().state.VideoWidth = 1;
    store().Load_Preferences(failed);
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(app().state.SearchLinks.size(), 1u);
    EXPECT_EQ(app().state.VideoWidth, 640);
    EXPECT_EQ(app().state.ResumeMode, 2);
}

TEST_F(PreferencesTest, TooLongTextsAreCutAndTheRecordsStayInPlace) {
    putSettings();
    std::string folder = "/";
    for (int i = 0; i < 140; ++i) folder += "φ";  // 281 bytes
    f1().List1.setList(0, folder);
    std::int32_t failed = 0;
    store().Save_Preferences(failed);
    EXPECT_EQ(failed, -1);
    EXPECT_FALSE(std::filesystem::exists(path() + ".backup"));

    Records r = expected();
    r.str(33 + 2, CutAtCharBoundary(folder, 255));
    EXPECT_EQ(readFile(path()), r.bytes());
}

}  // namespace
}  // namespace tarvolin
