#include <gtest/gtest.h>

#include "toolkit/scripted_dialogs.h"

using namespace tarvolin;

TEST(ScriptedDialogs, QueuedAnswersDefaultsAndTranscript) {
    ScriptedDialogs d;
    d.answerMsgBox(mb::No);
    d.answerInputBox(std::string("rock"));
    d.answerOpen(std::string("/tmp/a.tlf"));

    EXPECT_EQ(d.MsgBox("Σώσιμο; - Save?", mb::YesNo + mb::Question, "tarvolin"), mb::No);
    EXPECT_EQ(d.MsgBox("again", mb::YesNoCancel), mb::Yes);  // queue empty: first button
    EXPECT_EQ(d.MsgBox("retry", mb::RetryCancel), mb::Retry);
    EXPECT_EQ(d.MsgBox("ok"), mb::OK);
    EXPECT_EQ(d.InputBox("Name", "t", "def"), "rock");
    EXPECT_EQ(d.InputBox("Name"), "");

    FileDialogRequest req;
    req.Filter = "Text (*.tlf) | *.tlf";
    req.FileName = "preset";
    EXPECT_TRUE(d.ShowOpen(req));
    EXPECT_EQ(req.FileName, "/tmp/a.tlf");
    req.FileName = "preset";
    EXPECT_FALSE(d.ShowSave(req));
    EXPECT_EQ(req.FileName, "preset");  // cancel leaves the name
    EXPECT_EQ(d.PickFolder("Pick a folder"), "");

    ASSERT_EQ(d.transcript().size(), 9u);
    const DialogCall& first = d.transcript()[0];
    EXPECT_EQ(first.kind, "MsgBox");
    EXPECT_EQ(first.prompt, "Σώσιμο; - Save?");
    EXPECT_EQ(first.title, "tarvolin");
    EXPECT_EQ(first.buttons, mb::YesNo + mb::Question);
    EXPECT_EQ(d.calls("InputBox").size(), 2u);
    EXPECT_EQ(d.calls("ShowOpen")[0].title, "Text (*.tlf) | *.tlf");
    EXPECT_EQ(d.last()->kind, "PickFolder");

    d.setMousePointer(11);
    d.setMousePointer(0);
    EXPECT_EQ(d.pointerHistory(), (std::vector<int>{11, 0}));
}
