// The main window's controls.
//
// Texts written here where the window's design gives none, in the program's
// "Ελληνικά - English" style: the captions of Command3(0..1) and
// Command15(0, 1, 3) and the action button Command16(0); the tool tips of
// Command11, Command15(3), HScroll1, and of Command3, Command15 and Text3,
// which take those of their twins in the compact window. Check1 shows the
// scheme and "www." of a web address. The names for assistive technology of
// the controls that show no caption, tool tip or label beside them.
#include "forms/form1.h"

#include <array>

#include "forms/design.h"
#include "forms/rating_display_controls.h"

namespace tarvolin {

using design::page;
using design::place;
using design::placeTwips;

namespace {

// Fill of a progress bar: a solid blue bar.
void makeProgressFill(Shape& s) {
    s.setFillStyle(0);
    s.setFillColor(0xFF8000);
    s.setBorderColor(0xFF8000);
}

}  // namespace

Form1::Form1() {
    setCaption("Tarvolin");
    setIcon(102);
    design::size(*this, 1200, 780);
    setKeyPreview(true);
    buildControls();
    buildMenus();
}

void Form1::buildControls() {
    buildPlayersAndTimer();
    buildStatusLine();
    buildCaptions();
    buildTrackList();
    buildSeekAndTransport();
    buildPages();
    buildBesideThePages();
    bindArraysSpreadOverPages();

    buildPlayControlPage();
    buildFileManagingPage();
    buildMediaSourcePage();
    buildSubfoldersPage();
    buildPreviewPage();
}

// The main player, the hidden player and the timer.
void Form1::buildPlayersAndTimer() {
    adopt(WindowsMediaPlayer1, "WindowsMediaPlayer1");
    place(WindowsMediaPlayer1, "", 988, 318, 188, 140);
    // The picture's own Play / Pause and Position repeat the window's
    // transport: the Tab key passes them by.
    WindowsMediaPlayer1.TabStop = false;
    adopt(WindowsMediaPlayer2, "WindowsMediaPlayer2");
    place(WindowsMediaPlayer2, "", 0, 0, 0, 0);
    adopt(Timer1, "Timer1");
    place(Timer1, "", 1148, 4, 24, 24);
    Timer1.setEnabled(false);  // start-up runs it
    Timer1.setInterval(1000);
}

// Status line: current file and the five status boxes.
void Form1::buildStatusLine() {
    adopt(Text6, "Text6");
    place(Text6, "", 8, 4, 720, 22);
    Text6.setLocked(true);
    Text6.AccessibleName = design::kCurrentFileName;
    Text5.bind(*this, "Text5");
    Text5.addRange(0, 4);
    for (TextBox& t : Text5) {
        place(t, "", 736 + t.Index() * 88, 4, 84, 22);
        t.setLocked(true);
        t.AccessibleName = design::kStatusNames[static_cast<std::size_t>(t.Index())];
        if (t.Index() <= 2) t.setText("00:00:00");
    }
}

// The counts line, the play mode and the time totals.
void Form1::buildCaptions() {
    Label3.bind(*this, "Label3");
    Label3.add(0);
    place(Label3[0], "", 8, 30, 570, 18);
    Label3[0].setCaption("Τρέχων - Current : Όλα - Total : Υπολείπονται - Remaining:");
    adopt(Label6, "Label6");
    place(Label6, "", 586, 30, 590, 18);
    Label6.setCaption("Σειριακή Αναπαραγωγή - Serial Play");
    Label2.bind(*this, "Label2");
    Label2.addRange(0, 1);
    place(Label2[0], "", 8, 50, 570, 18);
    Label2[0].setCaption("Τώρα - Now:   Σύνολο - Sum:    Ακόμη - Left:");
    place(Label2[1], "", 586, 50, 590, 18);
}

// Track list: number and class columns, the paths, then duration, size and
// bit rate. The Tab key stops at the paths only: the columns follow its row.
void Form1::buildTrackList() {
    adopt(List2, "List2");
    List2.setMultiSelect(2);
    List2.AccessibleName = "Αρχεία Συλλογής - Collection Files";
    List3_0.bind(*this, "List3_0");
    List3_0.addRange(0, 4);
    place(List3_0[0], "", 8, 72, 56, 170);
    place(List3_0[1], "", 64, 72, 24, 170);
    place(List2, "", 88, 72, 800, 170);
    place(List3_0[2], "", 888, 72, 96, 170);
    place(List3_0[3], "", 984, 72, 96, 170);
    place(List3_0[4], "", 1080, 72, 96, 170);
    static const std::array<const char*, 5> columnNames = {"Αριθμός - Number", "Κλάση - Class",
                                                           design::kStatusNames[0], design::kStatusNames[3],
                                                           design::kStatusNames[4]};
    for (ListBox& l : List3_0) {
        l.setMultiSelect(2);
        l.AccessibleName = columnNames[static_cast<std::size_t>(l.Index())];
        l.TabStop = false;
    }
}

// Seek slider and transport row: play / pause, previous and next, back,
// ahead, return and the compact window, then the volume.
void Form1::buildSeekAndTransport() {
    adopt(Slider1, "Slider1");
    place(Slider1, "", 8, 246, 1168, 26);
    Slider1.setSmallChange(5);
    Slider1.setLargeChange(15);
    Slider1.AccessibleName = design::kPositionName;

    adopt(Command11, "Command11");
    place(Command11, "", 8, 276, 44, 36);
    Command11.setToolTipText(design::kPlayPauseName);

    Command3.bind(*this, "Command3");
    Command3.addRange(0, 1);
    place(Command3[1], "", 56, 276, 170, 36);
    Command3[1].setCaption("Προηγούμενο - Previous");
    Command3[1].setToolTipText("Προηγούμενο αρχείο - Last file");
    place(Command3[0], "", 230, 276, 130, 36);
    Command3[0].setCaption("Επόμενο - Next");
    Command3[0].setToolTipText("Επόμενο αρχείο - Next file");

    Command15.bind(*this, "Command15");
    Command15.addRange(0, 3);
    place(Command15[1], "", 364, 276, 100, 36);
    Command15[1].setCaption("Πίσω - Back");
    Command15[1].setToolTipText("Πήγαινε πίσω - Go back");
    place(Command15[0], "", 468, 276, 110, 36);
    Command15[0].setCaption("Μπρος - Ahead");
    Command15[0].setToolTipText("Πήγαινε μπρος - Go ahead");
    place(Command15[2], "", 582, 276, 130, 36);
    Command15[2].setCaption("Επιστροφή Return");
    Command15[2].setToolTipText("Πήγαινε πίσω - Go back");
    place(Command15[3], "", 716, 276, 130, 36);
    Command15[3].setCaption("Μικρό - Compact");
    Command15[3].setToolTipText("Μικρό παράθυρο αναπαραγωγής - Compact player window");

    adopt(HScroll1, "HScroll1");
    place(HScroll1, "", 954, 285, 130, 18);
    HScroll1.setMin(0);
    HScroll1.setMax(2000);
    HScroll1.setSmallChange(20);
    HScroll1.setLargeChange(200);
    HScroll1.setToolTipText(design::kVolumeName);
    HScroll1.ValueInPercent = true;
    // A scroll bar that moves nothing: the Tab key passes it by.
    adopt(HScroll2, "HScroll2");
    place(HScroll2, "", 1092, 285, 84, 18);
    HScroll2.AccessibleName = "Χωρίς Χρήση - Unused";
    HScroll2.TabStop = false;
}

// The pages, each with a tool tip saying what it is for.
void Form1::buildPages() {
    adopt(MultiPage1, "MultiPage1");
    place(MultiPage1, "", 8, 318, 972, 404);
    MultiPage1.addPage("Διαχείριση Αναπαραγωγής - Play Control");
    MultiPage1.addPage("Διαχείριση Αρχείων - File Managing");
    MultiPage1.addPage("Εξερεύνηση Φακέλων - Exploring  Directories");
    MultiPage1.addPage("Υποφάκελοι - Subdirectories");
    MultiPage1.addPage("Προεπισκόπηση Βίντεο - Video Preview");
    static const char* const pageTips[] = {
        "Αναπαραγωγή και βαθμολόγηση αρχείων - Play and rate the files",
        "Επιλογή, αντιγραφή, διαγραφή και μετακίνηση αρχείων - Select, copy, delete and move files",
        "Εντοπισμός φακέλου αφετηρίας - Locate a starting directory",
        "Υποφάκελοι για προσθήκη και αφαίρεση αρχείων - Subdirectories for adding and removing files",
        "Ζωντανά στιγμιότυπα βίντεο - Video live screenshots",
    };
    for (int i = 0; i < MultiPage1.PageCount(); ++i) MultiPage1.setPageToolTip(i, pageTips[i]);
}

// Beside the pages: album art and the locate buttons.
void Form1::buildBesideThePages() {
    adopt(Picture1, "Picture1");
    place(Picture1, "", 988, 462, 188, 110);
    Command10.bind(*this, "Command10");
    Command10.addRange(0, 2);
    for (CommandButton& b : Command10) place(b, "", 988, 576 + b.Index() * 48, 188, 44);
    Command10[0].setCaption("Άνοιγμα Προορισμού Επιλεγμένου Αρχείου - Open Directory of Selected File");
    Command10[0].setToolTipText("Άνοιξε φάκελο τρέχοντος αρχείου στο δίσκο - Locate current media file path on disk");
    Command10[1].setCaption("Τρέχων Κομμάτι - Current Media [00000]");
    Command10[1].setToolTipText("Επιλέγει τρέχων πολυμέσο - Select current media file");
    Command10[2].setCaption("Αναπαραγμένα - Played");
    Command10[2].setToolTipText("Παρουσιάζει τα ήδη αναπαραγμένα αρχεία -  Presents all the palyed files");
}

// The arrays whose elements lie on several pages: the text boxes, the two
// progress bars and their percentages. Each page places its own elements.
void Form1::bindArraysSpreadOverPages() {
    Text2.bind(*this, "Text2");
    Text2.addRange(0, 5);
    Shape1.bind(*this, "Shape1");
    Shape1.addRange(0, 1);
    Shape2.bind(*this, "Shape2");
    Shape2.addRange(0, 1);
    for (Shape& s : Shape2) makeProgressFill(s);
    Label11.bind(*this, "Label11");
    Label11.addRange(0, 1);
    for (Label& l : Label11) l.setCaption("0%");
}

// Page 0: log box, progress bar 1, the track information editor, the rating
// display, the step count and the search links.
void Form1::buildPlayControlPage() {
    adopt(Frame4, "Frame4");
    place(Frame4, page("MultiPage1", 0), 0, 0, 964, 368);

    place(Text2[0], "Frame4", 8, 16, 284, 200);
    Text2[0].setMultiLine(true);
    Text2[0].setScrollBars(2);
    Text2[0].setLocked(true);
    Text2[0].AccessibleName = "Αναφορές - Reports";

    place(Shape1[1], "Frame4", 8, 222, 284, 12);
    place(Shape2[1], "Frame4", 8, 222, 0, 12);
    place(Label11[1], "Frame4", 8, 236, 60, 16);

    adopt(FrameTags, "FrameTags");
    place(FrameTags, "Frame4", 300, 8, 300, 214);
    FrameTags.setCaption("Στοιχεία Αρχείων Mp3 - Mp3 File Properties");
    Label1.bind(*this, "Label1");
    Label1.addRange(0, 5);
    static const std::array<const char*, 6> tagCaptions = {
        "Τίτλος - Title", "Καλλιτέχνης - Artist", "Άλμπουμς - Album",
        "Έτος - Year",    "Σχόλια - Comment",     "Είδος - Genre"};
    for (Label& l : Label1) {
        place(l, "FrameTags", 8, 18 + l.Index() * 28, 122, 18);
        l.setCaption(tagCaptions[static_cast<std::size_t>(l.Index())]);
    }
    const std::array<std::pair<TextBox*, const char*>, 5> boxes = {{{&Text1_0, "Text1_0"},
                                                                     {&Text1_1, "Text1_1"},
                                                                     {&Text1_2, "Text1_2"},
                                                                     {&Text1_3, "Text1_3"},
                                                                     {&Text1_4, "Text1_4"}}};
    for (std::size_t k = 0; k < boxes.size(); ++k) {
        adopt(*boxes[k].first, boxes[k].second);
        place(*boxes[k].first, "FrameTags", 132, 16 + static_cast<int>(k) * 28, 160, 22);
        boxes[k].first->LabelledBy = &Label1[static_cast<int>(k)];
    }
    adopt(Combo1, "Combo1");
    place(Combo1, "FrameTags", 132, 156, 160, 22);
    Combo1.LabelledBy = &Label1[5];
    adopt(Command14, "Command14");
    place(Command14, "FrameTags", 162, 184, 130, 24);
    Command14.setCaption("Αποθήκευση Save");
    Command14.setEnabled(false);  // until an edit is pending

    // Rating display
    design::addRatingDisplay(*this, Command8, Picture2, Label10, Label21, Label9,
                     {.container = "Frame4", .left = 616, .top = 8, .width = 340, .nameWidth = 104,
                      .numbersWidth = 216, .rowsTop = 66});

    adopt(Text3, "Text3");
    place(Text3, "Frame4", 616, 212, 40, 22);
    Text3.setToolTipText("Πόσα βήματα μπροστά ή πίσω -  Number of steps ahead or backwards");

    // Search links
    adopt(Combo3, "Combo3");
    place(Combo3, "Frame4", 300, 232, 300, 22);
    Combo3.setToolTipText("Διευθύνσεις για αναζήτηση στοιχείων πολυμέσου -   Url links to search a multimedia file on the internet");
    place(Text2[3], "Frame4", 300, 258, 300, 22);
    Text2[3].setToolTipText("Δώσε αναζήτηση ή νέα διεύθυνση δικτύου για αποθήκευση -  Type a string to search in files or type a new internet URL");
    adopt(Check1, "Check1");
    place(Check1, "Frame4", 300, 284, 300, 20);
    Check1.setCaption("https://www.");
    Check1.setToolTipText("Aναζήτηση στο διαδίκτυο ενεργή - Search on the Internet activated");
    adopt(Command13, "Command13");
    place(Command13, "Frame4", 616, 240, 340, 26);
    Command13.setCaption("Σύνδεσμος - Link");
    Command13.setToolTipText("Προσθέτει ή αφαιρεί σύνδεσμο διαδικτύου - Add or remove a URL link");
    Option2.bind(*this, "Option2");
    Option2.addRange(0, 1);
    place(Option2[0], "Frame4", 300, 312, 656, 20);
    Option2[0].setCaption("Πρόσθεσε νέα διεύθυνση - Add a new URL link");
    place(Option2[1], "Frame4", 300, 336, 656, 20);
    Option2[1].setCaption("Αφαίρεσε διεύθυνση διαδικτύου - Remove URL link");
    for (OptionButton& o : Option2) o.setGroup("Option2");

    Command6.bind(*this, "Command6");
    Command6.addRange(0, 1);
    place(Command6[0], "Frame4", 8, 260, 128, 52);
    Command6[0].setCaption("Αναζήτηση Search");
    place(Command6[1], "Frame4", 140, 260, 152, 52);
    Command6[1].setCaption("Αντιγραφή Στοιχείων Copy Properties");
}

// Page 1: the filters, the full and the filtered track table, and the file
// actions on them.
void Form1::buildFileManagingPage() {
    adopt(Frame12, "Frame12");
    place(Frame12, page("MultiPage1", 1), 0, 0, 964, 368);
    Frame12.setCaption("Διαχείριση Αρχείων - Managing Files");

    static const std::array<const char*, 9> filterCaptions = {
        "Αγαπημένα - Favorites", "HH:MM",         "Mb / Gb",
        "Kbps",                  "Είδος - Genre", "Άλμπουμ - Album",
        "Καλλιτέχνης - Artist",  "Έτος - Year",   "Τίτλος- Title"};
    Label12.bind(*this, "Label12");
    Label12.addRange(0, 8);
    Combo4_0.bind(*this, "Combo4_0");
    Combo4_0.addRange(0, 8);
    for (int k = 0; k <= 8; ++k) {
        const int row = k / 3, col = k % 3;
        place(Label12[k], "Frame12", 8 + col * 318, 22 + row * 30, 124, 18);
        Label12[k].setCaption(filterCaptions[static_cast<std::size_t>(k)]);
        place(Combo4_0[k], "Frame12", 134 + col * 318, 20 + row * 30, 180, 22);
        Combo4_0[k].LabelledBy = &Label12[k];
    }

    adopt(Command17, "Command17");
    place(Command17, "Frame12", 8, 108, 150, 26);
    Command17.setCaption("Αναζήτηση      Search");
    place(Text2[4], "Frame12", 162, 110, 300, 22);
    Text2[4].AccessibleName = "Κείμενο Αναζήτησης - Search Text";
    Command16.bind(*this, "Command16");
    Command16.addRange(0, 1);
    place(Command16[1], "Frame12", 470, 108, 120, 26);
    Command16[1].setCaption("Όλα - All");
    Command16[1].setToolTipText("Παρουσίαση όλων δίχως φιλτράρισμα - Present All no Filters used");
    place(Command16[0], "Frame12", 594, 108, 120, 26);
    Command16[0].setCaption("Εκτέλεση - Go");

    adopt(List5, "List5");
    place(List5, "Frame12", 8, 140, 948, 102);
    List5.setMultiSelect(2);
    List5.AccessibleName = "Πίνακας Αρχείων - Files Table";
    adopt(List4, "List4");
    place(List4, "Frame12", 8, 246, 948, 74);
    List4.setMultiSelect(2);
    List4.AccessibleName = "Φιλτραρισμένα Αρχεία - Filtered Files";

    static const std::array<const char*, 3> actions = {"Αντιγραφή - Copy", "Μετακίνηση - Move",
                                                       "Διαγραφή - Delete"};
    Option3.bind(*this, "Option3");
    Option3.addRange(0, 2);
    for (OptionButton& o : Option3) {
        place(o, "Frame12", 8 + o.Index() * 124, 326, 120, 20);
        o.setCaption(actions[static_cast<std::size_t>(o.Index())]);
        o.setGroup("Option3");
    }
    adopt(Check3, "Check3");
    place(Check3, "Frame12", 384, 326, 140, 20);
    Check3.setCaption("Κάδος - Recycle Bin");
    adopt(Check4, "Check4");
    place(Check4, "Frame12", 8, 348, 500, 20);
    Check4.setCaption("Διατήρησε Δομή Φακέλων        Keep Directory Tree Information");
    adopt(Command19, "Command19");
    place(Command19, "Frame12", 528, 324, 112, 26);
    Command19.setCaption("Φάκελος  Directory");
    place(Text2[5], "Frame12", 644, 326, 312, 22);
    Text2[5].AccessibleName = "Φάκελος Μετακίνησης - Destination Directory";
}

// Page 2: drive, folder and file lists, the media types and the add and
// remove buttons, with progress bar 0.
void Form1::buildMediaSourcePage() {
    adopt(Frame1, "Frame1");
    place(Frame1, page("MultiPage1", 2), 0, 0, 964, 368);
    Frame1.setCaption("Αναζήτηση Πολυμέσων - Multimedia Search");

    adopt(Drive1, "Drive1");
    place(Drive1, "Frame1", 8, 16, 280, 22);
    Drive1.AccessibleName = "Δίσκος - Drive";
    adopt(Dir1, "Dir1");
    place(Dir1, "Frame1", 8, 42, 280, 200);
    Dir1.AccessibleName = "Φάκελοι - Directories";
    adopt(File1, "File1");
    place(File1, "Frame1", 296, 16, 360, 226);
    File1.AccessibleName = "Αρχεία - Files";
    File1.setMultiSelect(2);
    File1.setPattern("*.mp3;*.mp4");
    adopt(List3, "List3");
    place(List3, "Frame1", 664, 16, 140, 226);
    List3.setMultiSelect(2);
    List3.AccessibleName = "Τύποι Αρχείων - File Types";
    List3.ChoicesChecked = true;

    static const std::array<const char*, 5> groups = {"Όλα - All", "Ήχος- Sound", "Βίντεο - Video",
                                                      "Λίστες - Lists", "Έξτρα - Extra"};
    Command7.bind(*this, "Command7");
    Command7.addRange(0, 4);
    for (CommandButton& b : Command7) {
        place(b, "Frame1", 812, 16 + b.Index() * 30, 144, 26);
        b.setCaption(groups[static_cast<std::size_t>(b.Index())]);
    }

    Option4.bind(*this, "Option4");
    Option4.addRange(0, 1);
    place(Option4[0], "Frame1", 8, 250, 120, 20);
    Option4[0].setCaption("Όλα - All");
    place(Option4[1], "Frame1", 132, 250, 160, 20);
    Option4[1].setCaption("Επιλεγμένα  Selected");
    for (OptionButton& o : Option4) o.setGroup("Option4");
    adopt(Check2, "Check2");
    place(Check2, "Frame1", 296, 250, 300, 20);
    Check2.setCaption("Yποφάκελοι - Subdirectories        ---->");

    Command18.bind(*this, "Command18");
    Command18.addRange(0, 1);
    place(Command18[0], "Frame1", 8, 276, 200, 30);
    Command18[0].setCaption("Πρόσθεσε Αρχεία Add Files");
    place(Command18[1], "Frame1", 212, 276, 200, 30);
    Command18[1].setCaption("Αφαίρεσε Remove Files");

    place(Shape1[0], "Frame1", 8, 316, 948, 12);
    place(Shape2[0], "Frame1", 8, 316, 0, 12);
    place(Label11[0], "Frame1", 8, 332, 60, 16);
}

// Page 3: the subfolders found, the choice of all or selected, and the add
// and remove buttons with the status boxes of the search and the removal.
void Form1::buildSubfoldersPage() {
    adopt(Frame8, "Frame8");
    place(Frame8, page("MultiPage1", 3), 0, 0, 964, 368);
    Frame8.setCaption("Προσθήκη / Αφαίρεση Αρχείων  από υποφακέλους -  Adding / Removing Files from Subdirectories");

    adopt(List1, "List1");
    place(List1, "Frame8", 8, 18, 948, 180);
    List1.setMultiSelect(2);
    List1.AccessibleName = "Υποφάκελοι - Subdirectories";

    adopt(Option1_0, "Option1_0");
    place(Option1_0, "Frame8", 8, 204, 120, 20);
    Option1_0.setCaption("Όλους - All");
    adopt(Option1_1, "Option1_1");
    place(Option1_1, "Frame8", 132, 204, 200, 20);
    Option1_1.setCaption("Επιλεγμένους - Selected");
    Option1_0.setGroup("Option1");
    Option1_1.setGroup("Option1");

    Command1.bind(*this, "Command1");
    Command1.addRange(0, 1);
    place(Command1[0], "Frame8", 340, 202, 200, 26);
    Command1[0].setCaption("Επέλεξε Όλους - Select All");
    place(Command1[1], "Frame8", 544, 202, 260, 26);
    Command1[1].setCaption("Αντιστροφή Επιλογής - Inverce Selection");

    adopt(Command2, "Command2");
    place(Command2, "Frame8", 8, 232, 260, 28);
    Command2.setCaption("Ακύρωση Αναζήτησης - Cancel Search");

    adopt(Frame10, "Frame10");
    place(Frame10, "Frame8", 276, 228, 480, 56);
    Frame10.setCaption("+/- από/from");
    adopt(Command4, "Command4");
    place(Command4, "Frame10", 8, 18, 228, 30);
    Command4.setCaption("Πρόσθεσε Αρχεία - Add Files");
    adopt(Command5, "Command5");
    place(Command5, "Frame10", 244, 18, 228, 30);
    Command5.setCaption("Αφαίρεσε Αρχεία - Remove Files");

    place(Text2[1], "Frame8", 8, 290, 948, 44);
    Text2[1].setMultiLine(true);
    Text2[1].setLocked(true);
    Text2[1].AccessibleName = "Πρόοδος - Progress";
    place(Text2[2], "Frame8", 8, 338, 948, 22);
    Text2[2].setLocked(true);
    Text2[2].AccessibleName = "Τρέχον Στοιχείο - Current Item";
}

// Page 4: twelve preview players in three rows of four.
void Form1::buildPreviewPage() {
    adopt(Frame6, "Frame6");
    place(Frame6, page("MultiPage1", 4), 0, 0, 964, 376);
    Frame6.setCaption("Προεπισκόπηση Βίντεο -  Video Preview");

    static const std::array<int, 4> lefts = {720, 3840, 6960, 10080};
    static const std::array<int, 3> tops = {240, 2040, 3840};
    WindowsMediaPlayer3.bind(*this, "WindowsMediaPlayer3");
    WindowsMediaPlayer3.addRange(0, 11);
    for (Player& p : WindowsMediaPlayer3) {
        const int i = p.Index();
        int width = 2700;
        if (i == 0) width = 2580;
        if (i == 4) width = 2640;
        placeTwips(p, "Frame6", lefts[static_cast<std::size_t>(i % 4)],
                   tops[static_cast<std::size_t>(i / 4)], width, 1680);
        p.settings.setVolume(50);
    }
}

}  // namespace tarvolin
