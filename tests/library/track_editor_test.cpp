// The track lists and the track information editor: a row press fills the
// editor, the columns keep to the same row, an edit is captured for the file
// whose values the fields show and stored, asked about or dropped; the seek
// slider.
#include <string>
#include <vector>

#include "playback/playback_fixture.h"

namespace tarvolin {
namespace {

class TrackEditorTest : public PlaybackTest {
protected:
    std::vector<std::string> paths;

    void SetUp() override {
        paths = startWithTracks(3, 30);
        for (int i = 0; i < 3; ++i) {
            const std::string n = std::to_string(i);
            h.media.set(paths[static_cast<std::size_t>(i)], "Artist", "artist " + n);
            h.media.set(paths[static_cast<std::size_t>(i)], "Album", "album " + n);
            h.media.set(paths[static_cast<std::size_t>(i)], "WM/Year", "199" + n);
            h.media.set(paths[static_cast<std::size_t>(i)], "Comment", "comment " + n);
        }
    }

    Library& lib() { return app().library; }

    // The user presses row i of the track list (or of one of its columns),
    // as the window reports a plain press: the click, then MouseDown.
    void pressRow(int i) {
        f().List2.userClick(i);
        f().List2.MouseDown.raise(1, 0, 0.0f, 0.0f);
    }
    void pressColumnRow(int k, int i) {
        f().List3_0[k].userClick(i);
        f().List3_0[k].MouseDown.raise(1, 0, 0.0f, 0.0f);
    }
    // Rows selected in a list.
    static std::vector<int> selected(const ListBox& l) {
        std::vector<int> rows;
        for (int r = 0; r < l.ListCount(); ++r)
            if (l.Selected(r)) rows.push_back(r);
        return rows;
    }
    void type(TextBox& box, const std::string& text) { box.userEdited(text); }
    bool pending() { return !s().TagFile.empty() && f().Command14.Enabled(); }
};

TEST_F(TrackEditorTest, ARowPressFillsTheEditorAndTheColumnsFollow) {
    f().List3_0[1].setSelected(0, true);
    h.media.set(paths[1], "Genre", "Rock");
    pressRow(1);

    EXPECT_EQ(d().InfoFile, paths[1]);
    EXPECT_EQ(f().Text1_0.Text(), "t1.wav");
    EXPECT_EQ(f().Text1_1.Text(), "artist 1");
    EXPECT_EQ(f().Text1_2.Text(), "album 1");
    EXPECT_EQ(f().Text1_3.Text(), "1991");
    EXPECT_EQ(f().Text1_4.Text(), "comment 1");
    EXPECT_EQ(f().Combo1.Text(), "ROCK");
    for (ListBox& column : f().List3_0) {
        EXPECT_EQ(column.ListIndex(), 1) << column.Index();
        EXPECT_EQ(selected(column), std::vector<int>{1}) << column.Index();
    }
    EXPECT_TRUE(s().TagBoxesFilling);
    EXPECT_FALSE(s().Busy);
    // Filling is not an edit.
    EXPECT_FALSE(f().Command14.Enabled());
    EXPECT_TRUE(s().TagFile.empty());
}

TEST_F(TrackEditorTest, APressWithNoRowChosenChangesNothing) {
    f().Text1_0.setText("kept");
    f().List2.setListIndex(-1);
    d().InfoFile.clear();
    f().List2.MouseDown.raise(2, 0, 0.0f, 0.0f);
    EXPECT_EQ(f().Text1_0.Text(), "kept");
    EXPECT_TRUE(d().InfoFile.empty());
}

TEST_F(TrackEditorTest, ANumericGenreChoosesTheEntryNamedByIt) {
    h.media.set(paths[0], "Genre", "17");
    pressRow(0);
    EXPECT_EQ(f().Combo1.ListIndex(), -1);
    EXPECT_EQ(f().Combo1.Text(), "");

    f().Combo1.AddItem("200 - 17");
    pressRow(0);
    EXPECT_EQ(f().Combo1.ListIndex(), f().Combo1.ListCount() - 1);
    EXPECT_FALSE(f().Command14.Enabled());
}

TEST_F(TrackEditorTest, ATextualGenreIsNeverReplacedByTheGenreOfTheFileBefore) {
    // The file before has a genre from the list; the next one a genre as text.
    f().Combo1.AddItem("200 - 17");
    h.media.set(paths[0], "Genre", "17");
    h.media.set(paths[1], "Genre", "Jazz");
    pressRow(0);
    ASSERT_EQ(f().Combo1.ListIndex(), f().Combo1.ListCount() - 1);

    pressRow(1);
    EXPECT_EQ(f().Combo1.Text(), "JAZZ");
    EXPECT_EQ(f().Combo1.ListIndex(), -1);
    type(f().Text1_0, "only the title");
    EXPECT_EQ(s().TagValues[5], "-1");
    f().Command14.Click.raise();
    EXPECT_EQ(h.media.attribute(paths[1], "Title"), "only the title");
    EXPECT_EQ(h.media.attribute(paths[1], "Genre"), "Jazz");

    // A genre the user picks for it is the one written.
    pressRow(0);
    pressRow(1);
    f().Combo1.setListIndex(3);
    f().Command14.Click.raise();
    EXPECT_EQ(h.media.attribute(paths[1], "Genre"), "3");

    // The same after a track start fills the fields.
    h.media.set(paths[2], "Genre", "Blues on the radio");
    pressRow(0);
    d().CurrentTrack = 2;
    d().CurrentFile = paths[2];
    app().playback.Decide_Video();
    type(f().Text1_0, "retitled");
    f().Command14.Click.raise();
    EXPECT_EQ(h.media.attribute(paths[2], "Title"), "retitled");
    EXPECT_EQ(h.media.attribute(paths[2], "Genre"), "Blues on the radio");
}

TEST_F(TrackEditorTest, AnEditIsCapturedForTheShownFileAndStored) {
    pressRow(2);
    type(f().Text1_0, "  New title ");
    ASSERT_TRUE(pending());
    EXPECT_EQ(s().TagFile, paths[2]);
    EXPECT_EQ(s().TagValues[0], "New title");
    EXPECT_EQ(s().TagValues[1], "artist 2");
    EXPECT_EQ(s().TagValues[3], "1992");
    EXPECT_EQ(s().TagValues[5], std::to_string(f().Combo1.ListIndex()));
    EXPECT_EQ(s().TagValues[6], paths[2]);

    f().Command14.Click.raise();

    EXPECT_EQ(h.media.attribute(paths[2], "Title"), "New title");
    EXPECT_NE(log().find("-> Επιτυχημένη Αποθήκευση - Saving succeded\r\nΑρχείο - File :" + paths[2] + "\r\n"),
              std::string::npos);
    EXPECT_FALSE(f().Command14.Enabled());
    EXPECT_TRUE(s().TagFile.empty());
    for (const std::string& v : s().TagValues) EXPECT_EQ(v, "");
}

TEST_F(TrackEditorTest, AStoreThatFailsLogsNoSuccess) {
    h.media.find(paths[0])->readOnly = true;
    pressRow(0);
    type(f().Text1_0, "cannot be written");
    f().Command14.Click.raise();

    EXPECT_EQ(log().find("Saving succeded"), std::string::npos);
    EXPECT_EQ(h.media.attribute(paths[0], "Title"), "t0.wav");
    EXPECT_FALSE(f().Command14.Enabled());
    EXPECT_TRUE(s().TagFile.empty());
}

TEST_F(TrackEditorTest, PressingAnotherRowDropsTheEditOfTheFileBefore) {
    pressRow(0);
    type(f().Text1_1, "someone");
    ASSERT_TRUE(pending());

    pressRow(1);
    EXPECT_FALSE(f().Command14.Enabled());
    EXPECT_TRUE(s().TagFile.empty());

    type(f().Text1_1, "someone else");
    EXPECT_EQ(s().TagFile, paths[1]);
    EXPECT_EQ(s().TagValues[0], "t1.wav");
    EXPECT_EQ(s().TagValues[1], "someone else");
}

TEST_F(TrackEditorTest, APlainPressLeavesItsRowAloneSelectedInTheListAndItsColumns) {
    pressRow(0);
    pressRow(2);
    EXPECT_EQ(selected(f().List2), std::vector<int>{2});
    for (ListBox& column : f().List3_0) EXPECT_EQ(selected(column), std::vector<int>{2}) << column.Index();

    // Ctrl adds a row in every list alike; a plain press on a column then
    // leaves its row alone again.
    f().List2.setSelected(0, !f().List2.Selected(0));
    f().List2.setListIndex(0);
    f().List2.MouseDown.raise(1, 2, 0.0f, 0.0f);
    for (ListBox& column : f().List3_0) EXPECT_EQ(selected(column), (std::vector<int>{0, 2})) << column.Index();
    pressColumnRow(3, 1);
    EXPECT_EQ(selected(f().List2), std::vector<int>{1});
    for (ListBox& column : f().List3_0) EXPECT_EQ(selected(column), std::vector<int>{1}) << column.Index();
}

TEST_F(TrackEditorTest, AColumnPressShowsTheFileOfItsRow) {
    pressRow(0);
    pressColumnRow(2, 2);

    EXPECT_EQ(f().List2.ListIndex(), 2);
    EXPECT_EQ(selected(f().List2), std::vector<int>{2});
    for (ListBox& column : f().List3_0) EXPECT_EQ(column.ListIndex(), 2) << column.Index();
    EXPECT_EQ(d().InfoFile, paths[2]);
    EXPECT_EQ(f().Text1_0.Text(), "t2.wav");

    // An edit now belongs to that row's file, with that file's values.
    type(f().Text1_4, "better");
    EXPECT_EQ(s().TagFile, paths[2]);
    EXPECT_EQ(s().TagValues[2], "album 2");
}

TEST_F(TrackEditorTest, TheFieldsOfAStartingTrackBelongToThatTrack) {
    pressRow(0);
    // The track that starts is another one; InfoFile stays on the row.
    d().CurrentTrack = 1;
    d().CurrentFile = paths[1];
    app().playback.Decide_Video();
    ASSERT_EQ(f().Text1_0.Text(), "t1.wav");
    ASSERT_EQ(d().InfoFile, paths[0]);

    type(f().Text1_0, "retitled");
    EXPECT_EQ(s().TagFile, paths[1]);
    EXPECT_EQ(s().TagValues[6], paths[1]);
    EXPECT_EQ(s().TagValues[1], "artist 1");
}

TEST_F(TrackEditorTest, TheTagsOfTheFirstTrackPlayedCanBeEditedAndStored) {
    // No row was pressed since the program started: the play button alone
    // filled the fields.
    f().Command11.Click.raise();
    run(500);
    const std::string playing = d().CurrentFile;
    ASSERT_FALSE(playing.empty());
    ASSERT_EQ(f().Text1_4.Text(), h.media.attribute(playing, "Comment"));

    type(f().Text1_0, "first edit");
    ASSERT_TRUE(pending());
    EXPECT_EQ(s().TagFile, playing);
    f().Command14.Click.raise();
    EXPECT_EQ(h.media.attribute(playing, "Title"), "first edit");
    EXPECT_EQ(h.media.attribute(playing, "Comment"), f().Text1_4.Text());
}

TEST_F(TrackEditorTest, WhileDisarmedAChangeAsksBeforeStoringThePendingEdit) {
    pressRow(0);
    type(f().Text1_0, "pending title");
    ASSERT_TRUE(pending());
    // As after a double click on a row.
    s().TagBoxesFilling = false;

    h.dialogs.answerMsgBox(mb::No);
    type(f().Text1_2, "x");
    const DialogCall* asked = h.dialogs.last();
    ASSERT_NE(asked, nullptr);
    EXPECT_EQ(asked->buttons, mb::YesNo + mb::Question);
    EXPECT_EQ(asked->prompt.rfind("Θα αποθηκεύσετε ό,τι γράψατε; - Are you willing to store what you typed?\r\n"
                                  "Αρχείο - File :" + paths[0] + "\r\n" + "Τίτλος - Title:pending title     \r\n",
                                  0),
              0u);
    EXPECT_NE(asked->prompt.find("Είδος - Genre:"), std::string::npos);
    // No drops the pending edit.
    EXPECT_FALSE(f().Command14.Enabled());
    EXPECT_TRUE(s().TagFile.empty());
    EXPECT_EQ(s().TagValues[0], "");

    // With nothing pending a change is not taken, and nothing is asked.
    h.dialogs.clearTranscript();
    type(f().Text1_2, "y");
    EXPECT_TRUE(h.dialogs.transcript().empty());
    EXPECT_FALSE(f().Command14.Enabled());

    // A genre chosen from the list takes the fields again.
    f().Combo1.setListIndex(3);
    EXPECT_TRUE(s().TagBoxesFilling);
    EXPECT_EQ(s().TagFile, paths[0]);
    EXPECT_EQ(s().TagValues[5], "3");
    EXPECT_EQ(s().TagValues[2], "y");
}

TEST_F(TrackEditorTest, EmptyingTheCollectionDropsThePendingEdit) {
    pressRow(1);
    type(f().Text1_0, "lost on purpose");
    ASSERT_TRUE(pending());
    app().collection.Reset_Collection(0);
    EXPECT_FALSE(f().Command14.Enabled());
    EXPECT_TRUE(s().TagFile.empty());
}

TEST_F(TrackEditorTest, TheSliderSeeksOnlyAPlayingOrPausedPlayer) {
    f().Slider1.setValue(12);
    f().Slider1.Scroll.raise();
    EXPECT_EQ(mainPlayer().controls.currentPosition(), 0);
    EXPECT_EQ(f().Slider1.ToolTipText(), "");

    f().Command3[0].Click.raise();
    run(400);
    ASSERT_EQ(mainPlayer().playState(), playstate::Playing);
    f().Slider1.setMax(30);
    f().Slider1.setValue(12);
    f().Slider1.Scroll.raise();
    EXPECT_NEAR(mainPlayer().controls.currentPosition(), 12, 0.5);
    EXPECT_EQ(f().Slider1.ToolTipText(), mainPlayer().controls.currentPositionString());
}

TEST_F(TrackEditorTest, AStartingTrackWithTheSameValuesStillOwnsTheFields) {
    // Files without tags: the fields read the same for every track.
    for (const std::string& p : paths) {
        for (const char* name : {"Title", "Artist", "Album", "WM/Year", "Comment"}) h.media.set(p, name, "");
    }
    pressRow(0);
    // The next track is chosen (its row selected) and started.
    f().List2.setListIndex(1);
    d().CurrentTrack = 1;
    d().CurrentFile = paths[1];
    app().playback.Decide_Video();

    type(f().Text1_0, "named at last");
    EXPECT_EQ(s().TagFile, paths[1]);
}

TEST_F(TrackEditorTest, ATableLinePressShowsThatTracksFile) {
    lib().Filtered_Songs_List(-1);
    ASSERT_EQ(f().List5.ListCount(), 5);  // heading, separator, three tracks
    pressRow(0);
    f().List5.setListIndex(4);
    f().List5.MouseDown.raise(1, 0, 0.0f, 0.0f);

    EXPECT_EQ(f().List2.ListIndex(), 2);
    EXPECT_EQ(f().Text1_0.Text(), "t2.wav");
    type(f().Text1_0, "from the table");
    EXPECT_EQ(s().TagFile, paths[2]);
    EXPECT_EQ(s().TagValues[1], "artist 2");
}

TEST_F(TrackEditorTest, EmptyFieldsOfANewCollectionAreNotAnEdit) {
    app().collection.Reset_Collection(0);
    addTracks(paths);
    // As a load leaves it: a row chosen, the fields empty.
    f().List2.setListIndex(0);
    ASSERT_EQ(d().InfoFile, paths[0]);
    type(f().Text1_0, "x");
    EXPECT_FALSE(f().Command14.Enabled());
    EXPECT_TRUE(s().TagFile.empty());
    // Once the row's values are shown they can be edited.
    pressRow(0);
    type(f().Text1_0, "x");
    EXPECT_EQ(s().TagFile, paths[0]);
}

}  // namespace
}  // namespace tarvolin
