// The play-mode options, the window options with the autostart entry, and
// the About and report items.
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "platform/desktop/autostart.h"
#include "platform/desktop/linux_desktop.h"
#include "playback_fixture.h"

namespace tarvolin {
namespace {

const char* const kRepeat = "Άκυρη είσοδος. Επανάληψη; - Invalid input. Repeat?";

class OptionsTest : public PlaybackTest {
protected:
    void SetUp() override { startUp(); }
    std::vector<DialogCall> inputs() { return h.dialogs.calls("InputBox"); }
    std::vector<DialogCall> boxes() { return h.dialogs.calls("MsgBox"); }
};

TEST_F(OptionsTest, PreviewLengthTakesTwoToTenRoundedAndAsksAgainOtherwise) {
    f().MnuMoreDuration.setEnabled(true);
    h.dialogs.clearTranscript();
    h.dialogs.answerInputBox("10.4");
    h.dialogs.answerInputBox("1");
    h.dialogs.answerInputBox("2.5");
    f().MnuMoreDuration.click();
    EXPECT_EQ(s().PreviewSeconds, 2);
    ASSERT_EQ(inputs().size(), 3u);
    EXPECT_TRUE(boxes().empty());  // out of range asks again without a message
    EXPECT_EQ(inputs()[0].prompt,
              "Όρισε διάρκεια προεπισκόπησης 2-10 δευτερόλεπτα: Declare duration of preview 2-10 secs");
    EXPECT_EQ(inputs()[0].title, "Ορισμός - Declaring");

    // The current length is offered; an empty answer asks whether to repeat.
    h.dialogs.clearTranscript();
    h.dialogs.answerInputBox(std::nullopt);
    h.dialogs.answerMsgBox(mb::Yes);
    h.dialogs.answerInputBox("abc");
    h.dialogs.answerMsgBox(mb::No);
    f().MnuMoreDuration.click();
    EXPECT_EQ(s().PreviewSeconds, 2);
    ASSERT_EQ(boxes().size(), 2u);
    EXPECT_EQ(boxes()[0].prompt, kRepeat);
    EXPECT_EQ(boxes()[0].buttons, mb::YesNo + mb::Question);
}

TEST_F(OptionsTest, PauseLengthZeroEndsNineAsksAgainFiveIsLogged) {
    const int before = s().PauseSeconds;
    f().MnuMorePauseDur.setEnabled(true);
    h.dialogs.answerInputBox("0");
    f().MnuMorePauseDur.click();
    EXPECT_EQ(s().PauseSeconds, before);

    h.dialogs.clearTranscript();
    h.dialogs.answerInputBox("9");
    h.dialogs.answerInputBox("99999999999");
    h.dialogs.answerInputBox(" 5");
    f().MnuMorePauseDur.click();
    EXPECT_EQ(s().PauseSeconds, 5);
    ASSERT_EQ(inputs().size(), 3u);
    EXPECT_TRUE(boxes().empty());
    EXPECT_NE(log().find("-> Η διάρκεια δευτερολέπτων της παύσης ορίστηκε σε  5 Is the number of pause seconds \r\n"),
              std::string::npos);

    // Not numeric, then No.
    h.dialogs.answerInputBox("x");
    h.dialogs.answerMsgBox(mb::No);
    f().MnuMorePauseDur.click();
    EXPECT_EQ(s().PauseSeconds, 5);
}

TEST_F(OptionsTest, PreviewSwitchFlipsItsDependentItemsAndFourPointPreview) {
    const bool durationEnabled = f().MnuMoreDuration.Enabled();
    const bool multiEnabled = f().MnuMoreMultiPreview.Enabled();
    const bool on = s().PreviewOn;
    for (int k = 1; k <= 2; ++k) {
        f().MnuMorePreview_Active.click();
        const bool flipped = k % 2 == 1;
        EXPECT_EQ(s().PreviewOn, flipped ? !on : on);
        EXPECT_EQ(f().MnuMoreDuration.Enabled(), flipped ? !durationEnabled : durationEnabled);
        EXPECT_EQ(f().MnuMoreMultiPreview.Enabled(), flipped ? !multiEnabled : multiEnabled);
    }

    // Four-point preview: on keeps the point index, off resets it.
    f().MnuMoreMultiPreview.setEnabled(true);
    s().PreviewPoints.assign(1, 7);
    s().PreviewPointIndex = 0;
    f().MnuMoreMultiPreview.click();
    EXPECT_TRUE(f().MnuMoreMultiPreview.Checked());
    ASSERT_EQ(s().PreviewPoints.size(), 4u);
    EXPECT_EQ(s().PreviewPoints[0], 7);
    s().PreviewPointIndex = 3;
    f().MnuMoreMultiPreview.click();
    EXPECT_FALSE(f().MnuMoreMultiPreview.Checked());
    EXPECT_EQ(s().PreviewPoints.size(), 1u);
    EXPECT_EQ(s().PreviewPointIndex, 0);
}

TEST_F(OptionsTest, ReplayStartPointSoundAndPlayAtStart) {
    f().mnumorereplayn[1].click();
    EXPECT_EQ(s().ReplayMode, 1);
    EXPECT_FALSE(f().mnumorereplayn[0].Checked());
    EXPECT_TRUE(f().mnumorereplayn[1].Checked());
    EXPECT_FALSE(f().mnumorereplayn[2].Checked());
    EXPECT_TRUE(f().mnusystrayrepeat.Checked());
    f().mnumorereplayn[2].click();
    EXPECT_EQ(s().ReplayMode, 2);
    EXPECT_FALSE(f().mnusystrayrepeat.Checked());

    f().MnuPlayAutoStartP[2].click();
    EXPECT_EQ(s().ResumeMode, 2);
    EXPECT_TRUE(f().MnuPlayAutoStartP[2].Checked());
    EXPECT_FALSE(f().MnuPlayAutoStartP[0].Checked());

    const bool beep = s().BeepBetween;
    f().MnuMoreSound.click();
    EXPECT_EQ(s().BeepBetween, !beep);
    EXPECT_EQ(f().MnuMoreSound.Checked(), !beep);

    const bool atStart = f().MnuMoreAutoStart.Checked();
    f().MnuMoreAutoStart.click();
    EXPECT_EQ(s().PlayAtStart, !atStart);

    const bool pause = f().MnuMorePauseActive.Checked();
    const bool pauseDur = f().MnuMorePauseDur.Enabled();
    f().MnuMorePauseActive.click();
    EXPECT_EQ(f().MnuMorePauseActive.Checked(), !pause);
    EXPECT_EQ(f().MnuMorePauseDur.Enabled(), !pauseDur);
}

TEST_F(OptionsTest, AlwaysOnTopFollowsTheVideoMode) {
    Form2& video = app().Form2;
    s().VideoMode = -1;
    f().MnuMoreOnTop.setChecked(false);
    f().MnuSystemTrayTop.setChecked(false);
    f().MnuMoreOnTop.click();
    EXPECT_TRUE(s().OnTop);
    EXPECT_TRUE(f().MnuSystemTrayTop.Checked());
    EXPECT_TRUE(video.OnTop());
    EXPECT_FALSE(f().OnTop());
    EXPECT_FALSE(video.Visible());  // the hint never shows the window

    f().MnuSystemTrayTop.click();
    EXPECT_FALSE(s().OnTop);
    EXPECT_FALSE(f().MnuMoreOnTop.Checked());
    EXPECT_FALSE(video.OnTop());
    EXPECT_FALSE(f().OnTop());

    s().VideoMode = 1;
    f().MnuMoreOnTop.click();
    EXPECT_TRUE(s().OnTop);
    EXPECT_FALSE(video.OnTop());
    EXPECT_FALSE(f().OnTop());

    EXPECT_EQ(app().playback.Count_Forms_Named("FORM1"), 1);
    EXPECT_EQ(app().playback.Count_Forms_Named("form2"), 0);
}

TEST_F(OptionsTest, StartWithTheDesktopFollowsTheEntryAlsoAfterAFailure) {
    f().MnuMoreWindows.setChecked(false);
    f().MnuMoreWindows.click();
    EXPECT_TRUE(h.desktop.autostart);
    EXPECT_TRUE(f().MnuMoreWindows.Checked());

    h.dialogs.clearTranscript();
    h.desktop.failNextAutostart(AutostartFailure::Opening, 13);
    f().MnuMoreWindows.click();
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].prompt, std::string("Error 13 opening key\r\n") + std::strerror(13));
    // The entry is still there, and the mark says so.
    EXPECT_TRUE(f().MnuMoreWindows.Checked());

    h.desktop.failNextAutostart(AutostartFailure::Setting, 28);
    f().MnuMoreWindows.setChecked(false);
    f().MnuMoreWindows.click();
    EXPECT_EQ(h.dialogs.calls("MsgBox").back().prompt, std::string("Error 28 setting key\r\n") + std::strerror(28));
}

// The real autostart entry, under a temporary configuration folder.
class AutostartEntryTest : public ::testing::Test {
protected:
    TempDir config;
    std::optional<std::string> oldConfig;
    void SetUp() override {
        if (const char* v = std::getenv("XDG_CONFIG_HOME")) oldConfig = v;
        ::setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
    }
    void TearDown() override {
        if (oldConfig) {
            ::setenv("XDG_CONFIG_HOME", oldConfig->c_str(), 1);
        } else {
            ::unsetenv("XDG_CONFIG_HOME");
        }
    }
};

TEST_F(AutostartEntryTest, TheMenuItemWritesAndRemovesTheEntry) {
    ProgramHarness h(false);
    LinuxDesktop desktop;
    Services services{h.loop, h.dialogs, h.engines, h.media, desktop, h.tray, {}, {}, "/opt/tarvolin/bin/tarvolin"};
    Program& app = h.build(services);
    Form1& f = app.Form1;
    const std::string entry = config.path() + "autostart/tarvolin.desktop";

    app.playback.Form_Load();
    EXPECT_FALSE(f.MnuMoreWindows.Checked());

    f.MnuMoreWindows.click();
    EXPECT_TRUE(f.MnuMoreWindows.Checked());
    EXPECT_TRUE(app.playback.Is_AutoStart_Set());
    std::ifstream in(entry);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("[Desktop Entry]"), std::string::npos);
    EXPECT_NE(text.str().find("Exec=\"/opt/tarvolin/bin/tarvolin\""), std::string::npos);
    EXPECT_TRUE(h.dialogs.calls("MsgBox").empty());

    f.MnuMoreWindows.click();
    EXPECT_FALSE(f.MnuMoreWindows.Checked());
    EXPECT_FALSE(std::filesystem::exists(entry));
    // Removing a missing entry is no error.
    app.playback.Set_AutoStart(false);
    EXPECT_TRUE(h.dialogs.calls("MsgBox").empty());
}

TEST_F(AutostartEntryTest, AFolderThatCannotBeMadeIsReportedAndTheMarkStaysOff) {
    // The configuration folder is a file: the autostart folder cannot be made.
    const std::string notAFolder = config.file("plain");
    std::ofstream(notAFolder) << "x";
    ::setenv("XDG_CONFIG_HOME", notAFolder.c_str(), 1);

    ProgramHarness h(false);
    LinuxDesktop desktop;
    Services services{h.loop, h.dialogs, h.engines, h.media, desktop, h.tray, {}, {}, "/opt/tarvolin/bin/tarvolin"};
    Program& app = h.build(services);
    app.Form1.MnuMoreWindows.click();
    EXPECT_FALSE(app.Form1.MnuMoreWindows.Checked());
    const auto shown = h.dialogs.calls("MsgBox");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].prompt, "Error " + std::to_string(ENOTDIR) + " opening key\r\n" + std::strerror(ENOTDIR));
}

// Where the desktop shows no tray icon or keeps no window on top, the
// program says so once in its log box and in the option's tips, shows its
// window instead of hiding it in a tray nobody sees, and no window claims
// to be on top.
TEST_F(OptionsTest, WhatTheDesktopCannotDoIsSaidOnceAndNothingPretends) {
    const std::string noTray = "The desktop has no system tray: the window minimises to the task bar";
    const std::string noOnTop = "The desktop does not keep windows always on top";
    const auto times = [this](const std::string& text) {
        int n = 0;
        for (auto at = log().find(text); at != std::string::npos; at = log().find(text, at + 1)) ++n;
        return n;
    };
    struct Case {
        const char* what;
        bool tray, onTop;
    };
    for (const Case& c : {Case{"a full desktop", true, true}, Case{"no tray", false, true},
                          Case{"no keeping on top", true, false}, Case{"neither", false, false}}) {
        SCOPED_TRACE(c.what);
        int cancel = 0;
        app().playback.Form_QueryUnload(cancel, 0);
        h.tray.isAvailable = c.tray;
        h.desktop.onTopKept = c.onTop;
        h.build();
        startUp();
        s().VideoMode = 0;
        f().MnuMoreOnTop.setChecked(false);
        f().MnuSystemTrayTop.setChecked(false);
        for (int click = 0; click < 3; ++click) f().MnuMoreOnTop.click();
        app().playback.AddIconToTray();

        EXPECT_EQ(times(noTray), c.tray ? 0 : 1);
        EXPECT_EQ(times(noOnTop), c.onTop ? 0 : 1);
        EXPECT_EQ(h.tray.shown(), c.tray);
        EXPECT_TRUE(s().OnTop);
        EXPECT_TRUE(f().MnuMoreOnTop.Checked());
        EXPECT_EQ(f().OnTop(), c.onTop);
        for (MenuItem* item : {&f().MnuMoreOnTop, &f().MnuSystemTrayTop})
            EXPECT_EQ(item->ToolTipText().find(noOnTop) != std::string::npos, !c.onTop) << item->Name();
    }
}

TEST_F(OptionsTest, AboutHelpMailAndReportItems) {
    h.dialogs.clearTranscript();
    f().mnuinfogr[0].click();
    f().mnuinfogr[1].click();
    ASSERT_EQ(boxes().size(), 2u);
    EXPECT_NE(boxes()[0].prompt.find("Έκδοση 5.0"), std::string::npos);
    EXPECT_NE(boxes()[1].prompt.find("Version 5.0"), std::string::npos);
    EXPECT_EQ(boxes()[1].buttons, mb::Information);

    f().mnu_info2[6].click();
    ASSERT_FALSE(h.desktop.requestedUrls.empty());
    EXPECT_EQ(h.desktop.requestedUrls.back().rfind("mailto:", 0), 0u);
    EXPECT_NE(h.desktop.requestedUrls.back().find("?subject=Tarvolin_Media_Player_5.0"), std::string::npos);
    EXPECT_EQ(h.desktop.openedUrls.back(), h.desktop.requestedUrls.back());

    // The web page, and the program's own help page.
    f().mnu_info2[4].click();
    EXPECT_EQ(h.desktop.openedUrls.back().rfind("https://", 0), 0u);
    const std::string help = h.folder.path() + "tarvolin_help.htm";
    fixtures::writeBytes(help, "<html></html>");
    f().mnu_info2[5].click();
    EXPECT_EQ(h.desktop.openedUrls.back(), help);
    EXPECT_EQ(log().find("Cannot open"), std::string::npos);

    f().mnu_info2[2].click();
    EXPECT_TRUE(app().Form3.Visible());

    const bool splash = s().ShowSplash;
    f().mnu_info2[3].click();
    EXPECT_EQ(s().ShowSplash, !splash);
    EXPECT_EQ(f().mnu_info2[3].Checked(), !splash);

    f().MnuMoreReport.setChecked(false);
    f().MnuMoreReport.click();
    EXPECT_EQ(s().KeepReport, -1);
    f().MnuMoreReport.click();
    EXPECT_EQ(s().KeepReport, 0);
}

}  // namespace
}  // namespace tarvolin
