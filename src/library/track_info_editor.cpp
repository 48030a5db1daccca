// The track lists and the track information editor: a press on a row keeps
// the path list and its columns on the same row and shows that file's tags
// in the editor; the editor follows the user's changes, offers to store
// them, and writes them into the file whose values it shows. Also the seek
// slider, the rating picture and the file actions' choice.
#include <algorithm>
#include <string>

#include "app/program.h"
#include "library/library.h"

namespace tarvolin {

namespace {

// The track list and its columns show one selection, the one the press made
// in the list pressed: a plain press leaves its row alone selected, Ctrl and
// Shift presses select in every list alike.
void followSelection(const ListBox& pressed, ListBox& list) { list.setSelectionFlags(pressed.selectionFlags()); }

const char* const kCrLf = "\r\n";
// The genre box's entries are "000 - Name": the name starts at the seventh
// character.
constexpr int kGenreNameStart = 7;

// The genre entry the box shows, or -1 when its text is no entry's (a
// file's own genre written as text, or one typed in): an index left over
// from an earlier file is never taken for this one.
int chosenGenre(const ComboBox& box) {
    const int i = box.ListIndex();
    if (i < 0 || i >= box.ListCount() || box.List(i) != box.Text()) return -1;
    return i;
}

}  // namespace

void Library::List2_MouseDown() {
    Form1& f = app.Form1;
    // The row clicked, if it is a track.
    const int i = f.List2.ListIndex();
    if (i < 0 || i >= f.List2.ListCount()) return;
    // The columns follow.
    for (ListBox& column : f.List3_0) {
        if (i >= column.ListCount()) continue;
        followSelection(f.List2, column);
        column.setListIndex(i);
    }
    // Its file is the one the information page shows.
    app.collection.d.InfoFile = f.List2.List(i);
    showInfoFile();
}

void Library::List3_0_MouseDown(int Index) {
    Form1& f = app.Form1;
    if (!f.List3_0.has(Index)) return;
    const ListBox& pressed = f.List3_0[Index];
    Sync_List2_From_List3_0(pressed.ListIndex());
    if (pressed.ListIndex() < 0) return;
    for (ListBox& column : f.List3_0)
        if (&column != &pressed) followSelection(pressed, column);
    followSelection(pressed, f.List2);
}

void Library::Sync_List2_From_List3_0(std::int32_t Row) {
    Form1& f = app.Form1;
    if (f.List2.ListCount() == 0 || Row < 0 || Row >= f.List2.ListCount()) return;
    for (ListBox& column : f.List3_0) {
        if (Row >= column.ListCount()) continue;
        column.setListIndex(Row);
        column.setSelected(Row, true);
    }
    // The track list's own click handler takes the row as InfoFile.
    f.List2.setListIndex(Row);
    f.List2.setSelected(Row, true);
    // The editor shows the file of the row now named, so that an edit is
    // never stored into another file.
    CollectionData& d = app.collection.d;
    d.InfoFile = f.List2.List(Row);
    showInfoFile();
}

void Library::showInfoFile() {
    Fill_Tag_Boxes(app.collection.d.InfoFile);
    app.media.Show_Album_Art();
}

void Library::Fill_Tag_Boxes(const std::string& Path) {
    Form1& f = app.Form1;
    ModuleState& s = app.state;
    const CollectionData& d = app.collection.d;

    // The file loaded for playing is read through the player that plays
    // it; any other through the hidden reader. Nothing is loaded.
    const bool playing = !Path.empty() && Path == d.CurrentFile;
    std::shared_ptr<MediaItem> item =
        playing ? f.WindowsMediaPlayer1.newMedia(Path) : f.WindowsMediaPlayer2.newMedia(Path);
    auto info = [&](const char* name) { return item ? item->getItemInfo(name) : std::string(); };

    s.TagBoxesFilling = false;
    BulkScope busy(s, BulkScope::Busy);
    fillingTags_ = true;
    tagBoxesShow(Path);

    f.Text1_0.setText(info("Title"));
    f.Text1_1.setText(info("Artist"));
    f.Text1_2.setText(info("Album"));
    f.Text1_3.setText(info("WM/Year"));
    f.Text1_4.setText(info("Comment"));

    // A numeric genre chooses the entry whose name is that number; a
    // textual one is shown as it stands, in capitals.
    const std::string genre = UCase(info("Genre"));
    if (IsNumeric(genre)) {
        int found = -1;
        for (int k = 0; k < f.Combo1.ListCount(); ++k) {
            if (UCase(Mid(f.Combo1.List(k), kGenreNameStart)) == genre) {
                found = k;
                break;
            }
        }
        f.Combo1.setListIndex(found);
        if (found < 0) f.Combo1.setText("");
    } else {
        // Only the text: no entry of the list is this file's genre.
        f.Combo1.setListIndex(-1);
        f.Combo1.setText(genre);
    }

    fillingTags_ = false;
    s.TagBoxesFilling = true;
}

void Library::tagBoxesShow(const std::string& path) {
    ModuleState& s = app.state;
    // An edit pending for another file is dropped: what is stored always
    // comes from the file whose values the fields show.
    if (!s.TagFile.empty() && s.TagFile != path) discardPendingTags();
    tagShownFile_ = path;
    tagShownInfoFile_ = app.collection.d.InfoFile;
}

void Library::showMovedInfoFile() {
    const CollectionData& d = app.collection.d;
    if (d.InfoFile != tagShownInfoFile_) showInfoFile();
}

void Library::discardPendingTags() {
    ModuleState& s = app.state;
    app.Form1.Command14.setEnabled(false);
    s.TagValues.fill(std::string());
    s.TagFile.clear();
}

void Library::tagBoxChanged(bool isField) {
    ModuleState& s = app.state;
    if (s.Busy) {
        // Filled by code. A fill that is not the editor's own is the one a
        // starting track makes from the file loaded for playing.
        if (!fillingTags_ && !s.TagBoxesFilling) tagBoxesShow(app.collection.d.CurrentFile);
        return;
    }
    // A genre typed into the box is taken with the next change of a field
    // or a choice from the list.
    if (isField) Edit_Info_Changed();
}

void Library::Combo1_Click() {
    if (app.state.Busy) return;
    app.state.TagBoxesFilling = true;
    Edit_Info_Changed();
}

void Library::Edit_Info_Changed() {
    Form1& f = app.Form1;
    ModuleState& s = app.state;
    const CollectionData& d = app.collection.d;

    // Not during a bulk operation, nor with no file shown.
    if (s.Busy || d.InfoFile.empty()) return;
    // Emptied fields of an emptied collection belong to no file.
    if (f.List2.ListCount() == 0) {
        discardPendingTags();
        tagShownFile_.clear();
        return;
    }
    // Fields that hold no file's values (nothing shown since the
    // collection was emptied) are never taken as an edit.
    const std::string shown = tagShownFile_;

    if (s.TagBoxesFilling && !shown.empty()) {
        // The fields are the pending edit of the file they show.
        s.TagValues[0] = Trim(f.Text1_0.Text());
        s.TagValues[1] = Trim(f.Text1_1.Text());
        s.TagValues[2] = Trim(f.Text1_2.Text());
        s.TagValues[3] = Trim(f.Text1_3.Text());
        s.TagValues[4] = Trim(f.Text1_4.Text());
        s.TagValues[5] = std::to_string(chosenGenre(f.Combo1));
        s.TagValues[6] = shown;
        s.TagFile = shown;
        f.Command14.setEnabled(true);
        return;
    }
    if (s.TagFile.empty()) {
        // No edit pending: nothing to save.
        if (f.Command14.Enabled()) f.Command14.setEnabled(false);
        return;
    }

    // An edit is pending while the fields no longer take changes.
    auto caption = [&](int k) { return f.Label1.has(k) ? f.Label1[k].Caption() : std::string(); };
    std::string question = std::string("Θα αποθηκεύσετε ό,τι γράψατε; - Are you willing to store what you typed?") +
                           kCrLf + "Αρχείο - File :" + s.TagValues[6] + kCrLf;
    for (int k = 0; k < 5; ++k) {
        question += caption(k) + ":" + s.TagValues[static_cast<std::size_t>(k)] + "     " + kCrLf;
    }
    question += caption(5) + ":" + f.Combo1.Text();
    if (app.dialogs().MsgBox(question, mb::YesNo + mb::Question) == mb::Yes) {
        Command14_Click();
    } else {
        discardPendingTags();
    }
}

void Library::Command14_Click() {
    Form1& f = app.Form1;
    ModuleState& s = app.state;
    if (s.TagFile.empty()) {
        f.Command14.setEnabled(false);
        return;
    }
    // The pending edit is written to its file.
    std::string path = s.TagFile;
    std::int32_t err = 0;
    app.media.Save_Media_Tags(path, err);
    // The writer logs its own failures.
    if (err == 0) {
        const std::string line = std::string("->") + " Επιτυχημένη Αποθήκευση - Saving succeded" + kCrLf +
                                 "Αρχείο - File :" + path;
        app.collection.logLine(line);
    }
    // Saved or not, the edit is no longer pending.
    discardPendingTags();
}

void Library::Picture2_Click() { Command8_Click(); }

void Library::Slider1_Scroll() {
    Slider& slider = app.Form1.Slider1;
    Player& p = app.playback.activePlayer();
    const int state = p.playState();
    if (state != playstate::Paused && state != playstate::Playing) return;
    p.controls.setCurrentPosition(slider.Value());
    slider.setToolTipText(p.controls.currentPositionString());
}

void Library::Option3_Click(int Index) {
    // Deleting keeps no folder tree.
    app.Form1.Check4.setEnabled(Index != 2);
}

void Library::wireTrackInfoEditor() {
    Form1& f = app.Form1;
    f.List2.MouseDown = [this](int, int, float, float) { List2_MouseDown(); };
    for (ListBox& column : f.List3_0) {
        const int k = column.Index();
        column.MouseDown = [this, k](int, int, float, float) { List3_0_MouseDown(k); };
    }
    for (TextBox* box : {&f.Text1_0, &f.Text1_1, &f.Text1_2, &f.Text1_3, &f.Text1_4}) {
        box->Change = [this] { tagBoxChanged(true); };
    }
    f.Combo1.Change = [this] { tagBoxChanged(false); };
    f.Combo1.Click = [this] { Combo1_Click(); };
    // A press on a line of the track tables selects its track (track
    // tables); the editor then shows that track's file.
    f.List4.MouseDown = [this](int, int, float, float) {
        List4_MouseDown();
        showMovedInfoFile();
    };
    f.List5.MouseDown = [this](int, int, float, float) {
        List5_MouseDown();
        showMovedInfoFile();
    };
    f.Command14.Click = [this] { Command14_Click(); };
    f.Picture2.Click = [this] { Picture2_Click(); };
    f.Slider1.Scroll = [this] { Slider1_Scroll(); };
    for (OptionButton& option : f.Option3) {
        const int k = option.Index();
        option.Click = [this, k] { Option3_Click(k); };
    }
    // "Go" deletes unless Copy or Move is chosen: the group shows Delete
    // chosen from the start, so that it never shows none while one runs.
    if (f.Option3.has(2)) f.Option3[2].setValue(true);
}

void Library::wireEditorParts() {
    wireTrackInfoEditor();
    wireRemoveByPath();
    wireSearchLinks();
}

}  // namespace tarvolin
