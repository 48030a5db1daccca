// A shutdown from a signal or the session's end waits on no dialog: what a
// message box would say goes to the log box, the report file and standard
// error instead. A shutdown the user starts keeps its message boxes.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/unattended_shutdown.h"
#include "playback/playback_fixture.h"

namespace tarvolin {
namespace {

const char* const kSaveFailed = "Error while saving Collection. Please retry.";

class UnattendedShutdownTest : public ::testing::Test {
protected:
    ProgramHarness h{false};
    UnattendedDialogs dialogs{h.dialogs};

    void SetUp() override {
        h.build(Services{h.loop, dialogs, h.engines, h.media, h.desktop, h.tray, {}, {}, ""});
        app().playback.Form_Load();
        putTracks(app(), {"/m/a.mp3", "/m/b.mp3"}, {60, 60});
        // A collection whose folder has gone: its save fails.
        app().collection.d.CollectionPath = h.folder.path() + "gone/mix.tlf";
        h.dialogs.clearTranscript();
    }
    Program& app() { return *h.program; }
    std::string report() { return fixtures::readBytes(app().collection.reportFilePath()); }
};

TEST_F(UnattendedShutdownTest, AFailedSaveAtASignalIsToldWithoutABox) {
    testing::internal::CaptureStderr();
    shutDownUnattended(app(), dialogs, 3);
    const std::string err = testing::internal::GetCapturedStderr();

    EXPECT_TRUE(h.dialogs.calls("MsgBox").empty());
    EXPECT_TRUE(app().playback.shutDown());
    EXPECT_TRUE(h.loop.quitRequested());
    EXPECT_NE(app().Form1.Text2[0].Text().find(kSaveFailed), std::string::npos);
    EXPECT_NE(report().find(kSaveFailed), std::string::npos);
    EXPECT_NE(err.find(kSaveFailed), std::string::npos);
    EXPECT_EQ(err.find('\r'), std::string::npos);
    // The rest of the shutdown still ran.
    EXPECT_TRUE(std::filesystem::exists(h.folder.path() + "tarvolin_preferences/default_pref.tl"));
}

TEST_F(UnattendedShutdownTest, TheUsersOwnCloseKeepsTheMessageBox) {
    app().Form1.requestUnload(0);
    ASSERT_EQ(h.dialogs.calls("MsgBox").size(), 1u);
    EXPECT_NE(h.dialogs.calls("MsgBox")[0].prompt.find(kSaveFailed), std::string::npos);
    EXPECT_TRUE(app().playback.shutDown());
    EXPECT_FALSE(std::filesystem::exists(app().collection.reportFilePath()));
}

// The alarm's shutdown comes while the user sleeps: a failed save must not
// hold the power-off behind a box.
TEST_F(UnattendedShutdownTest, TheAlarmsShutdownWaitsOnNoBox) {
    dialogs.setProgram(&app());
    Form5& w = app().Form5;
    w.Check4.userClick();
    w.Check2.userClick();
    w.Text1[3].setText("0");
    w.Text1[4].setText("0");
    w.Text1[5].setText("2");
    w.Command1[1].Click.raise();
    testing::internal::CaptureStderr();
    for (int t = 0; t < 6000 && h.desktop.powerOffCalls == 0; t += 100) h.loop.advance(100);
    const std::string err = testing::internal::GetCapturedStderr();

    EXPECT_EQ(h.desktop.powerOffCalls, 1);
    EXPECT_TRUE(h.dialogs.calls("MsgBox").empty());
    EXPECT_TRUE(app().playback.shutDown());
    EXPECT_NE(report().find(kSaveFailed), std::string::npos);
    EXPECT_NE(err.find(kSaveFailed), std::string::npos);
}

TEST(UnattendedDialogs, AnswerAsAClosedBoxAndCancelEveryOtherDialog) {
    ScriptedDialogs shown;
    UnattendedDialogs dialogs(shown);
    // Until a shutdown nobody watches, the dialogs are shown.
    shown.answerMsgBox(mb::Yes);
    EXPECT_EQ(dialogs.MsgBox("q", mb::YesNo), mb::Yes);
    EXPECT_EQ(shown.transcript().size(), 1u);

    std::vector<std::string> told;
    dialogs.setUnattended([&](const std::string& text) { told.push_back(text); });
    EXPECT_EQ(dialogs.MsgBox("a", mb::OKOnly + mb::Critical), mb::OK);
    EXPECT_EQ(dialogs.MsgBox("b", mb::YesNo + mb::Question), mb::No);
    EXPECT_EQ(dialogs.MsgBox("c", mb::YesNoCancel), mb::Cancel);
    EXPECT_EQ(dialogs.MsgBox("d", mb::RetryCancel), mb::Cancel);
    EXPECT_EQ(dialogs.MsgBox("e", mb::AbortRetryIgnore), mb::Ignore);
    EXPECT_EQ(told, (std::vector<std::string>{"a", "b", "c", "d", "e"}));
    FileDialogRequest req;
    EXPECT_FALSE(dialogs.ShowOpen(req));
    EXPECT_FALSE(dialogs.ShowSave(req));
    EXPECT_EQ(dialogs.InputBox("name?"), "");
    EXPECT_EQ(dialogs.PickFolder("Pick a folder"), "");
    EXPECT_EQ(shown.transcript().size(), 1u);
}

}  // namespace
}  // namespace tarvolin
