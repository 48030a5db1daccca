// The six windows as the program builds them: every control and menu item
// the program addresses is there under its name and index, with its design
// texts, its place, and the player and timer wiring of its Program.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/program_harness.h"

namespace tarvolin {
namespace {

struct Expected {
    const char* form;
    const char* name;
    std::vector<int> indexes;  // {-1}: a single control
};

// Every control and menu item the program's procedures address, by window.
const std::vector<Expected>& inventory() {
    static const std::vector<Expected> rows = {
        {"Form1", "WindowsMediaPlayer1", {-1}},
        {"Form1", "WindowsMediaPlayer2", {-1}},
        {"Form1", "WindowsMediaPlayer3", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
        {"Form1", "Timer1", {-1}},
        {"Form1", "Command11", {-1}},
        {"Form1", "Command3", {0, 1}},
        {"Form1", "Command15", {0, 1, 2, 3}},
        {"Form1", "Command10", {0, 1, 2}},
        {"Form1", "Slider1", {-1}},
        {"Form1", "HScroll1", {-1}},
        {"Form1", "HScroll2", {-1}},
        {"Form1", "Text3", {-1}},
        {"Form1", "Text5", {0, 1, 2, 3, 4}},
        {"Form1", "Text6", {-1}},
        {"Form1", "Label2", {0, 1}},
        {"Form1", "Label3", {0}},
        {"Form1", "Label6", {-1}},
        {"Form1", "List2", {-1}},
        {"Form1", "List3_0", {0, 1, 2, 3, 4}},
        {"Form1", "Picture1", {-1}},
        {"Form1", "Shape1", {0, 1}},
        {"Form1", "Shape2", {0, 1}},
        {"Form1", "Label11", {0, 1}},
        {"Form1", "Command8", {-1}},
        {"Form1", "Picture2", {-1}},
        {"Form1", "Label10", {0, 1, 2, 3, 4, 5, 6}},
        {"Form1", "Label9", {0, 1, 2, 3, 4, 5, 6}},
        {"Form1", "Label21", {0, 1, 2, 3, 4, 5, 6}},
        {"Form1", "MultiPage1", {-1}},
        {"Form1", "Frame4", {-1}},
        {"Form1", "Frame12", {-1}},
        {"Form1", "Frame1", {-1}},
        {"Form1", "Frame8", {-1}},
        {"Form1", "Frame6", {-1}},
        {"Form1", "Frame10", {-1}},
        {"Form1", "Text2", {0, 1, 2, 3, 4, 5}},
        {"Form1", "Text1_0", {-1}},
        {"Form1", "Text1_1", {-1}},
        {"Form1", "Text1_2", {-1}},
        {"Form1", "Text1_3", {-1}},
        {"Form1", "Text1_4", {-1}},
        {"Form1", "Label1", {0, 1, 2, 3, 4, 5}},
        {"Form1", "Combo1", {-1}},
        {"Form1", "Command14", {-1}},
        {"Form1", "Combo3", {-1}},
        {"Form1", "Command13", {-1}},
        {"Form1", "Option2", {0, 1}},
        {"Form1", "Check1", {-1}},
        {"Form1", "Command6", {0, 1}},
        {"Form1", "Combo4_0", {0, 1, 2, 3, 4, 5, 6, 7, 8}},
        {"Form1", "Label12", {0, 1, 2, 3, 4, 5, 6, 7, 8}},
        {"Form1", "List5", {-1}},
        {"Form1", "List4", {-1}},
        {"Form1", "Command17", {-1}},
        {"Form1", "Option3", {0, 1, 2}},
        {"Form1", "Check3", {-1}},
        {"Form1", "Check4", {-1}},
        {"Form1", "Command16", {0, 1}},
        {"Form1", "Command19", {-1}},
        {"Form1", "Drive1", {-1}},
        {"Form1", "Dir1", {-1}},
        {"Form1", "File1", {-1}},
        {"Form1", "List3", {-1}},
        {"Form1", "Command7", {0, 1, 2, 3, 4}},
        {"Form1", "Command18", {0, 1}},
        {"Form1", "Option4", {0, 1}},
        {"Form1", "Check2", {-1}},
        {"Form1", "List1", {-1}},
        {"Form1", "Option1_0", {-1}},
        {"Form1", "Option1_1", {-1}},
        {"Form1", "Command1", {0, 1}},
        {"Form1", "Command2", {-1}},
        {"Form1", "Command4", {-1}},
        {"Form1", "Command5", {-1}},
        {"Form1", "mnufilecollection", {0, 1, 2, 3, 4}},
        {"Form1", "mnufilesnew", {-1}},
        {"Form1", "mnuFileOpen", {-1}},
        {"Form1", "MnuFileMerge", {-1}},
        {"Form1", "mnuFileWindowsMediaPlayer", {-1}},
        {"Form1", "mnuFileCreateWPL", {0, 1, 2, 3}},
        {"Form1", "mnuFileSave", {-1}},
        {"Form1", "mnuFileSaveAs", {-1}},
        {"Form1", "mnuFileSaveAsAuto", {-1}},
        {"Form1", "mnuFileReset", {-1}},
        {"Form1", "mnufiledelete", {-1}},
        {"Form1", "MnuFileCopy", {-1}},
        {"Form1", "MnuFileCopyAll", {-1}},
        {"Form1", "MnuFileCopySClass", {-1}},
        {"Form1", "MnuFileCopyAClass", {-1}},
        {"Form1", "MnuFileCopyBClass", {-1}},
        {"Form1", "MnuFileCopyCClass", {-1}},
        {"Form1", "MnuFileCopyXClass", {-1}},
        {"Form1", "MnuFileCopyUnClass", {-1}},
        {"Form1", "MnuFilecopyreference", {-1}},
        {"Form1", "mnufilesmove", {-1}},
        {"Form1", "mnufilemoveall", {-1}},
        {"Form1", "MnuFileMoveSClass", {-1}},
        {"Form1", "MnuFileMoveAClass", {-1}},
        {"Form1", "MnuFileMoveBClass", {-1}},
        {"Form1", "MnuFileMoveCClass", {-1}},
        {"Form1", "MnuFileMoveXClass", {-1}},
        {"Form1", "MnuFileMoveUnClass", {-1}},
        {"Form1", "MnuFileMoveReference", {-1}},
        {"Form1", "mnufiledeleteS", {-1}},
        {"Form1", "mnufiledeleteA", {-1}},
        {"Form1", "mnufiledeleteB", {-1}},
        {"Form1", "mnufiledeleteC", {-1}},
        {"Form1", "mnufiledeleteX", {-1}},
        {"Form1", "mnufiledeleteunclass", {-1}},
        {"Form1", "mnufilesdelete", {-1}},
        {"Form1", "mnufiledeleteall", {-1}},
        {"Form1", "mnufiledeletedisk", {-1}},
        {"Form1", "mnufiledeleterecycle", {-1}},
        {"Form1", "mnufiledeleteevendiskerror", {-1}},
        {"Form1", "MnuMoreReadFavorFromFiles", {-1}},
        {"Form1", "MnuMoreSaveFavorWithinFiles", {-1}},
        {"Form1", "MnuMoreFavorWithinFiles", {-1}},
        {"Form1", "MnuFavorAuto2", {-1}},
        {"Form1", "mnufilefavorreset", {-1}},
        {"Form1", "MenuMoreFavor", {-1}},
        {"Form1", "MnuMoreClassS", {-1}},
        {"Form1", "MnuMoreClassA", {-1}},
        {"Form1", "MnuMoreClassB", {-1}},
        {"Form1", "MnuMoreClassC", {-1}},
        {"Form1", "MnuMoreClassX", {-1}},
        {"Form1", "MnuMoreUnClass", {-1}},
        {"Form1", "MnuMoreClassAll", {-1}},
        {"Form1", "MnuMoreCheckFavorites", {-1}},
        {"Form1", "MnuMoreDemandFavor", {-1}},
        {"Form1", "MnuMoreRandom", {-1}},
        {"Form1", "mnumorereplayn", {0, 1, 2}},
        {"Form1", "MnuMorePreview_Active", {-1}},
        {"Form1", "MnuMoreDuration", {-1}},
        {"Form1", "MnuMoreMultiPreview", {-1}},
        {"Form1", "MnuMorePauseActive", {-1}},
        {"Form1", "MnuMorePauseDur", {-1}},
        {"Form1", "MnuMoreSound", {-1}},
        {"Form1", "MnuMoreAutoStart", {-1}},
        {"Form1", "MnuPlayAutoStartP", {0, 1, 2}},
        {"Form1", "MnuMoreFavor", {-1}},
        {"Form1", "MnuMorePlayS", {-1}},
        {"Form1", "MnuMorePlayA", {-1}},
        {"Form1", "MnuMorePlayB", {-1}},
        {"Form1", "MnuMorePlayC", {-1}},
        {"Form1", "MnuMorePlayX", {-1}},
        {"Form1", "MnuMorePlayUnClass", {-1}},
        {"Form1", "MnuMorePlayAll", {-1}},
        {"Form1", "MnuMoreFileSizes", {-1}},
        {"Form1", "MnuMoreFileSizesAll", {-1}},
        {"Form1", "MnuMoreFileSizesUnknonw", {-1}},
        {"Form1", "MnuMoreFileSizesKeepRatings", {-1}},
        {"Form1", "MnuMoreFileSizesReadRatings", {-1}},
        {"Form1", "MnuMoreFiltersRemake", {-1}},
        {"Form1", "MnuFiltersLoad", {-1}},
        {"Form1", "MnuMoreOnTop", {-1}},
        {"Form1", "MnuMoreMinimize", {-1}},
        {"Form1", "MnuMoreWindows", {-1}},
        {"Form1", "MnuMoreReport", {-1}},
        {"Form1", "MnuMoreReportDelete", {-1}},
        {"Form1", "MnumoreStar_Colors", {0, 1, 2, 3}},
        {"Form1", "MnumoreStar_Active", {0, 1}},
        {"Form1", "mnutimeshut", {-1}},
        {"Form1", "mnutimesnooze", {-1}},
        {"Form1", "mnuvideoshow", {0, 1, 2}},
        {"Form1", "mnuinfogr", {0, 1}},
        {"Form1", "mnu_info2", {2, 3, 4, 5, 6}},
        {"Form1", "mnustats", {-1}},
        {"Form1", "mnustatsreset", {-1}},
        {"Form1", "mnusystemtraynext", {-1}},
        {"Form1", "mnusystemtrayback", {-1}},
        {"Form1", "mnusystemtrayforward", {-1}},
        {"Form1", "mnusystemtraybackwards", {-1}},
        {"Form1", "mnusystemtraypause", {-1}},
        {"Form1", "MnuSysTrayDaCapo", {-1}},
        {"Form1", "mnusystemtraysuffle", {-1}},
        {"Form1", "mnusystrayrepeat", {-1}},
        {"Form1", "MnuSystemTrayTop", {-1}},
        {"Form1", "mnusystemtraycopypaste", {-1}},
        {"Form1", "mnusystemtrayexit", {-1}},
        {"Form1", "MnuSystemTray_Favor", {-1}},
        {"Form1", "TrayFavorS", {-1}},
        {"Form1", "TrayFavorA", {-1}},
        {"Form1", "TrayFavorB", {-1}},
        {"Form1", "TrayFavorC", {-1}},
        {"Form1", "TrayFavorX", {-1}},
        {"Form1", "TrayFavorUnclass", {-1}},
        {"Form1", "TrayFavorAuto", {-1}},
        {"Form1", "MnuSystemTrayFavor", {-1}},
        {"Form1", "TrayFavorPlayS", {-1}},
        {"Form1", "TrayFavorPlayA", {-1}},
        {"Form1", "TrayFavorPlayB", {-1}},
        {"Form1", "TrayFavorPlayC", {-1}},
        {"Form1", "TrayFavorPlayX", {-1}},
        {"Form1", "TrayFavorPlayUnClass", {-1}},
        {"Form1", "TrayFavorPlayAll", {-1}},
        {"Form4", "WindowsMediaPlayer1", {-1}},
        {"Form4", "Timer1", {-1}},
        {"Form4", "Slider1", {-1}},
        {"Form4", "HScroll1", {-1}},
        {"Form4", "Command1", {-1}},
        {"Form4", "Command11", {-1}},
        {"Form4", "Command15", {0, 1, 2}},
        {"Form4", "Command3", {0, 1}},
        {"Form4", "Command8", {-1}},
        {"Form4", "Text3", {-1}},
        {"Form4", "Label5", {-1}},
        {"Form4", "Label10", {0, 1, 2, 3, 4, 5, 6}},
        {"Form4", "Label9", {0, 1, 2, 3, 4, 5, 6}},
        {"Form4", "Label21", {0, 1, 2, 3, 4, 5, 6}},
        {"Form4", "Picture1", {0, 1}},
        {"Form4", "Picture2", {-1}},
        {"Form4", "Text5", {0, 1, 2, 3, 4}},
        {"Form4", "Label1", {6, 7, 9, 10, 11}},
        {"Form4", "Label2", {0, 1}},
        {"Form4", "Label3", {-1}},
        {"Form4", "Label6", {-1}},
        {"Form4", "Text1", {-1}},
        {"Form4", "Text6", {-1}},
        {"Form4", "Frame1", {-1}},
        {"Form4", "Frame11", {-1}},
        {"Form2", "WindowsMediaPlayer1", {-1}},
        {"Form5", "Label1", {-1}},
        {"Form5", "Check1", {-1}},
        {"Form5", "Check2", {-1}},
        {"Form5", "Check3", {-1}},
        {"Form5", "Check4", {-1}},
        {"Form5", "Text1", {0, 1, 2, 3, 4, 5}},
        {"Form5", "VScroll1", {0, 1, 2, 3, 4, 5}},
        {"Form5", "Combo1", {-1}},
        {"Form5", "Command1", {0, 1, 2}},
        {"Form5", "Label2", {-1}},
        {"Form5", "Timer1", {-1}},
        {"Form5", "WindowsMediaPlayer1", {-1}},
        {"Form3", "Image3", {-1}},
        {"Form3", "Picture1", {-1}},
        {"Form3", "Picture3", {-1}},
        {"Form3", "Label1", {-1}},
        {"Form3", "Label2", {-1}},
        {"Form3", "Command1", {-1}},
        {"Form3", "Timer1", {-1}},
        {"frmSplash", "Frame1", {-1}},
        {"frmSplash", "imgLogo", {-1}},
        {"Form1", "mnufavorites", {-1}},
        {"Form1", "MnuFilters", {-1}},
        {"Form1", "MnuSystemTray", {-1}},
    };
    return rows;
}

Form& formNamed(Program& p, const std::string& name) {
    if (name == "Form1") return p.Form1;
    if (name == "Form2") return p.Form2;
    if (name == "Form3") return p.Form3;
    if (name == "Form4") return p.Form4;
    if (name == "Form5") return p.Form5;
    if (name == "frmSplash") return p.frmSplash;
    throw std::invalid_argument("no window " + name);
}

std::vector<Form*> allForms(Program& p) {
    return {&p.Form1, &p.Form2, &p.Form3, &p.Form4, &p.Form5, &p.frmSplash};
}

// The text a control shows: caption, or text for a text box.
std::string shownText(const Control* c) {
    if (auto* x = dynamic_cast<const Label*>(c)) return x->Caption();
    if (auto* x = dynamic_cast<const CommandButton*>(c)) return x->Caption();
    if (auto* x = dynamic_cast<const CheckBox*>(c)) return x->Caption();
    if (auto* x = dynamic_cast<const OptionButton*>(c)) return x->Caption();
    if (auto* x = dynamic_cast<const Frame*>(c)) return x->Caption();
    if (auto* x = dynamic_cast<const MenuItem*>(c)) return x->Caption();
    if (auto* x = dynamic_cast<const TextBox*>(c)) return x->Text();
    return "<no text>";
}

bool isMenuName(const std::string& name) {
    return name.rfind("mnu", 0) == 0 || name.rfind("Mnu", 0) == 0 || name.rfind("Menu", 0) == 0 ||
           name.rfind("Tray", 0) == 0;
}

class FormsTest : public ::testing::Test {
protected:
    ProgramHarness h;
    Program& p = *h;
};

TEST_F(FormsTest, EveryControlAndMenuItemIsFoundByNameAndIndex) {
    for (const Expected& e : inventory()) {
        Form& f = formNamed(p, e.form);
        for (int i : e.indexes) {
            SCOPED_TRACE(std::string(e.form) + "." + e.name + "(" + std::to_string(i) + ")");
            Control* c = f.findControl(e.name, i);
            ASSERT_NE(c, nullptr);
            EXPECT_EQ(c->Name(), e.name);
            EXPECT_EQ(c->Index(), i);
            EXPECT_EQ(c->parentForm(), &f);
            if (isMenuName(e.name)) {
                EXPECT_EQ(f.findMenu(e.name, i), c);
            }
        }
        // An array has no element without an index, and a single control no
        // element 0.
        if (e.indexes.front() >= 0) {
            EXPECT_EQ(f.findControl(e.name, -1), nullptr) << e.form << "." << e.name;
        } else {
            EXPECT_EQ(f.findControl(e.name, 0), nullptr) << e.form << "." << e.name;
        }
    }
}

TEST_F(FormsTest, NamesAreDistinctOnEveryWindowWithoutRegardToCase) {
    for (Form* f : allForms(p)) {
        std::set<std::string> keys;
        for (Control* c : f->controls()) {
            std::string key;
            for (char ch : c->Name()) key.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(ch))));
            key += "#" + std::to_string(c->Index());
            EXPECT_TRUE(keys.insert(key).second) << "clash: " << c->Name() << "(" << c->Index() << ")";
            EXPECT_EQ(f->findControl(c->Name(), c->Index()), c) << c->Name();
        }
    }
    // Near-identical names are kept apart.
    EXPECT_NE(p.Form1.findMenu("MnuMoreFavor"), p.Form1.findMenu("MenuMoreFavor"));
    EXPECT_NE(p.Form1.findMenu("MnuSystemTray_Favor"), p.Form1.findMenu("MnuSystemTrayFavor"));
}

TEST_F(FormsTest, SameNamesOnDifferentWindowsAreDifferentControls) {
    EXPECT_NE(dynamic_cast<CheckBox*>(p.Form1.findControl("Check4")), nullptr);
    EXPECT_NE(dynamic_cast<CheckBox*>(p.Form5.findControl("Check4")), nullptr);
    EXPECT_NE(p.Form1.findControl("Check4"), p.Form5.findControl("Check4"));
    EXPECT_NE(dynamic_cast<ComboBox*>(p.Form5.findControl("Combo1")), nullptr);
    EXPECT_NE(dynamic_cast<TextBox*>(p.Form4.findControl("Text1")), nullptr);
    EXPECT_EQ(p.Form1.findControl("Text1"), nullptr);
    EXPECT_NE(dynamic_cast<Label*>(p.Form4.findControl("Label3")), nullptr);
    EXPECT_NE(dynamic_cast<Label*>(p.Form1.findControl("Label3", 0)), nullptr);
    EXPECT_NE(dynamic_cast<PictureBox*>(p.Form4.findControl("Picture1", 1)), nullptr);
    EXPECT_NE(dynamic_cast<Player*>(p.Form2.findControl("WindowsMediaPlayer1")), nullptr);
    EXPECT_NE(dynamic_cast<HiddenPlayer*>(p.Form1.findControl("WindowsMediaPlayer2")), nullptr);
    EXPECT_NE(dynamic_cast<Player*>(p.Form1.findControl("WindowsMediaPlayer3", 11)), nullptr);
    // Looked up without regard to case, as the original toolkit does.
    EXPECT_EQ(p.Form1.findControl("list2"), &p.Form1.List2);
}

TEST_F(FormsTest, ControlArraysHaveTheirIndexRanges) {
    struct Range { const char* form; const char* name; int lbound, ubound, count; };
    const std::vector<Range> ranges = {
        {"Form1", "WindowsMediaPlayer3", 0, 11, 12}, {"Form1", "List3_0", 0, 4, 5},
        {"Form1", "Combo4_0", 0, 8, 9},              {"Form1", "Label12", 0, 8, 9},
        {"Form1", "Text2", 0, 5, 6},                 {"Form1", "Label9", 0, 6, 7},
        {"Form1", "Command15", 0, 3, 4},             {"Form1", "mnu_info2", 2, 6, 5},
        {"Form1", "mnufilecollection", 0, 4, 5},     {"Form1", "MnumoreStar_Colors", 0, 3, 4},
        {"Form4", "Label1", 6, 11, 5},               {"Form4", "Command15", 0, 2, 3},
        {"Form4", "Picture1", 0, 1, 2},              {"Form5", "Text1", 0, 5, 6},
        {"Form5", "VScroll1", 0, 5, 6},              {"Form5", "Command1", 0, 2, 3},
    };
    for (const Range& r : ranges) {
        SCOPED_TRACE(std::string(r.form) + "." + r.name);
        Form& f = formNamed(p, r.form);
        int count = 0, lo = 1 << 30, hi = -1;
        for (Control* c : f.controls()) {
            if (c->Name() != r.name) continue;
            ++count;
            lo = std::min(lo, c->Index());
            hi = std::max(hi, c->Index());
        }
        EXPECT_EQ(count, r.count);
        EXPECT_EQ(lo, r.lbound);
        EXPECT_EQ(hi, r.ubound);
    }
    // Through the arrays themselves: bounds, gaps and a missing element.
    EXPECT_EQ(p.Form4.Label1.LBound(), 6);
    EXPECT_EQ(p.Form4.Label1.UBound(), 11);
    EXPECT_FALSE(p.Form4.Label1.has(8));
    EXPECT_THROW(p.Form4.Label1[8], std::out_of_range);
    EXPECT_EQ(p.Form1.mnu_info2.LBound(), 2);
    EXPECT_FALSE(p.Form1.mnu_info2.has(0));
    EXPECT_EQ(p.Form1.WindowsMediaPlayer3.Count(), 12);
}

TEST_F(FormsTest, DesignTextsAreExact) {
    struct Text { const char* form; const char* name; int index; const char* text; };
    const std::vector<Text> texts = {
        {"Form1", "Command10", 1, "Τρέχων Κομμάτι - Current Media [00000]"},
        {"Form1", "Command17", -1, "Αναζήτηση      Search"},
        {"Form1", "Check2", -1, "Yποφάκελοι - Subdirectories        ---->"},
        {"Form1", "Check4", -1, "Διατήρησε Δομή Φακέλων        Keep Directory Tree Information"},
        {"Form1", "Frame8", -1, "Προσθήκη / Αφαίρεση Αρχείων  από υποφακέλους -  Adding / Removing Files from Subdirectories"},
        {"Form1", "Frame6", -1, "Προεπισκόπηση Βίντεο -  Video Preview"},
        {"Form1", "Label1", 2, "Άλμπουμς - Album"},
        {"Form1", "Label10", 6, "Κλάση Υ΄ - Class S"},
        {"Form1", "Label12", 8, "Τίτλος- Title"},
        {"Form1", "Option4", 1, "Επιλεγμένα  Selected"},
        {"Form1", "Command1", 1, "Αντιστροφή Επιλογής - Inverce Selection"},
        {"Form1", "Command18", 1, "Αφαίρεσε Remove Files"},
        {"Form1", "Command19", -1, "Φάκελος  Directory"},
        {"Form1", "Label6", -1, "Σειριακή Αναπαραγωγή - Serial Play"},
        {"Form1", "mnuFileCreateWPL", 1, "Κράτα Ενήμερη -  Keep Updated"},
        {"Form1", "mnuFileSaveAsAuto", -1, "Αυτόματο Σώσιμο 10΄ -  Automatic Save 10'"},
        {"Form1", "mnufiledeleteC", -1, "Διέγραψε Γ΄ Κλάση - Delete C'  Class"},
        {"Form1", "mnufilecollection", 4, "Έξοδος - Exit"},
        {"Form1", "MnuMoreFileSizes", -1, "Αναγνώριση Ιδιοτήτων Αρχείων - Files Properties Indetification"},
        {"Form1", "MnuMorePlayX", -1, " Κλάσεως Χ - Class X"},
        {"Form1", "MnuMoreFavor", -1, "Παίζε μόνο Προτίμηση - Play only Rating"},
        {"Form1", "MnuSystemTrayFavor", -1, "Παίζε μόνο - Play only"},
        {"Form1", "TrayFavorS", -1, "Κλάση Y΄- Class S"},
        {"Form1", "TrayFavorX", -1, "Κλάσης X - Class X"},
        {"Form1", "TrayFavorPlayX", -1, "Εκτός Κλάσης - Outclassed"},
        {"Form1", "mnusystemtraypause", -1, "Παύση - Pause"},
        {"Form1", "mnuvideoshow", 2, "Auto"},
        {"Form1", "MnumoreStar_Active", 1, "Disabled"},
        {"Form4", "Command1", -1, "Μεγένθυνση  Maximize"},
        {"Form4", "Frame1", -1, "Χειρισμός - Managment"},
        {"Form4", "Frame11", -1, "Πληροφορίες Προτιμήσεων -  Ratings Info"},
        {"Form4", "Label2", 0, "Τώρα - Now:   Σύνολο - Sum:    Ακόμη - Left:"},
        {"Form4", "Label1", 9, "Υπόλοιπο - Remain."},
        {"Form4", "Label5", -1, "Βήμα - Step"},
        {"Form5", "Label1", -1, "00:00:00:00:00:00"},
        {"Form5", "Check2", -1, "Αντίστροφη Μέτρηση - Countdown"},
        {"Form5", "Command1", 1, "Εντάξει Ok"},
        {"Form5", "Text1", 4, "00"},
        {"Form3", "Command1", -1, "Εντάξει - O.K."},
    };
    for (const Text& t : texts) {
        Control* c = formNamed(p, t.form).findControl(t.name, t.index);
        ASSERT_NE(c, nullptr) << t.form << "." << t.name;
        EXPECT_EQ(shownText(c), t.text) << t.form << "." << t.name << "(" << t.index << ")";
    }
    EXPECT_EQ(p.Form5.Caption(), "Ξυπνητήρι -  Αυτόματο Κλείσιμο | Snooze - Autoshutdown");
    EXPECT_EQ(p.Form1.MultiPage1.PageCount(), 5);
    EXPECT_EQ(p.Form1.MultiPage1.page(2).Caption, "Εξερεύνηση Φακέλων - Exploring  Directories");
    EXPECT_EQ(p.Form1.MultiPage1.page(4).Caption, "Προεπισκόπηση Βίντεο - Video Preview");
    EXPECT_EQ(p.Form1.Command10[2].ToolTipText(),
              "Παρουσιάζει τα ήδη αναπαραγμένα αρχεία -  Presents all the palyed files");
    EXPECT_EQ(p.Form4.Command3[1].ToolTipText(), "Προηγούμενο αρχείο - Last file");
    EXPECT_EQ(p.Form1.Check1.ToolTipText(), "Aναζήτηση στο διαδίκτυο ενεργή - Search on the Internet activated");
    // Lists that the program's defaults fill are empty at design.
    EXPECT_EQ(p.Form1.Combo1.ListCount(), 0);
    EXPECT_EQ(p.Form1.Combo4_0[0].ListCount(), 0);
    EXPECT_EQ(p.Form1.List3.ListCount(), 0);
}

TEST_F(FormsTest, DesignPropertiesTheProgramReliesOn) {
    for (HScrollBar* s : {&p.Form1.HScroll1, &p.Form4.HScroll1}) {
        EXPECT_EQ(s->Min(), 0);
        EXPECT_EQ(s->Max(), 2000);
    }
    for (VScrollBar& s : p.Form5.VScroll1) {
        EXPECT_EQ(s.Min(), 0);
        EXPECT_EQ(s.Max(), (s.Index() == 0 || s.Index() == 3) ? 23 : 59) << s.Index();
    }
    for (Slider* s : {&p.Form1.Slider1, &p.Form4.Slider1}) {
        EXPECT_EQ(s->SmallChange(), 5);
        EXPECT_EQ(s->LargeChange(), 15);
    }
    EXPECT_EQ(p.Form1.File1.Pattern(), "*.mp3;*.mp4");
    for (ListControl* l : std::vector<ListControl*>{&p.Form1.List2, &p.Form1.List1, &p.Form1.List3,
                                                    &p.Form1.List4, &p.Form1.List5, &p.Form1.File1}) {
        EXPECT_TRUE(l->MultiSelect()) << l->Name();
    }
    EXPECT_EQ(p.Form3.Timer1.Interval(), 100);
    EXPECT_EQ(p.Form4.Timer1.Interval(), 1000);
    EXPECT_EQ(p.Form5.Timer1.Interval(), 1000);
    EXPECT_FALSE(p.Form5.Timer1.Enabled());
    EXPECT_FALSE(p.Form1.MnuSystemTray.Visible());

    // The preview grid: three rows of four.
    const int lefts[] = {720, 3840, 6960, 10080};
    const int tops[] = {240, 2040, 3840};
    for (Player& w : p.Form1.WindowsMediaPlayer3) {
        const int i = w.Index();
        EXPECT_EQ(w.Container, "Frame6");
        EXPECT_EQ(w.Left(), lefts[i % 4]) << i;
        EXPECT_EQ(w.Top(), tops[i / 4]) << i;
        EXPECT_EQ(w.Width(), i == 0 ? 2580 : i == 4 ? 2640 : 2700) << i;
        EXPECT_EQ(w.Height(), 1680) << i;
    }
}

TEST_F(FormsTest, OptionGroupsAreExclusiveOnlyWithinThemselves) {
    Form1& f = p.Form1;
    f.Option3[0].setValue(true);
    f.Option4[1].setValue(true);
    f.Option2[0].setValue(true);
    f.Option1_0.setValue(true);

    f.Option3[2].setValue(true);
    EXPECT_FALSE(f.Option3[0].Value());
    EXPECT_TRUE(f.Option4[1].Value());
    EXPECT_TRUE(f.Option2[0].Value());

    f.Option1_1.setValue(true);
    EXPECT_FALSE(f.Option1_0.Value());
    EXPECT_TRUE(f.Option3[2].Value());

    f.Option4[0].setValue(true);
    EXPECT_FALSE(f.Option4[1].Value());
    EXPECT_TRUE(f.Option1_1.Value());
}

TEST_F(FormsTest, MenusFormTheMenuBarAndThePopUp) {
    Form1& f = p.Form1;
    std::vector<std::string> top;
    for (MenuItem* m : f.menuBar()) top.push_back(m->Name());
    EXPECT_EQ(top, (std::vector<std::string>{"mnufile", "mnufavorites", "mnuplay", "MnuFilters", "mnumore",
                                             "mnuvideo", "mnuinfo", "MnuSystemTray"}));
    EXPECT_EQ(f.mnufile.Caption(), "Αρχεία - Files");
    EXPECT_EQ(f.mnufavorites.Caption(), "Προτίμηση - Rating");

    EXPECT_EQ(f.mnuFileCreateWPL[3].parentMenu(), &f.mnuFileWindowsMediaPlayer);
    EXPECT_EQ(f.mnuFileWindowsMediaPlayer.parentMenu(), &f.mnufilecollection[0]);
    EXPECT_EQ(f.MnuFileCopyXClass.parentMenu(), &f.mnufilecollection[1]);
    EXPECT_EQ(f.MnuFileMoveReference.parentMenu(), &f.mnufilecollection[2]);
    EXPECT_EQ(f.mnufiledeleteevendiskerror.parentMenu(), &f.mnufilecollection[3]);
    EXPECT_EQ(f.mnufilecollection[4].parentMenu(), &f.mnufile);
    EXPECT_EQ(f.MnuMorePlayUnClass.parentMenu(), &f.MnuMoreFavor);
    EXPECT_EQ(f.MnuMoreFavor.parentMenu(), &f.mnuplay);
    EXPECT_EQ(f.MnuMoreClassAll.parentMenu(), &f.MenuMoreFavor);
    EXPECT_EQ(f.mnustatsreset.parentMenu(), &f.mnustatistics);
    EXPECT_EQ(f.mnustatistics.parentMenu(), &f.mnuinfo);

    // Every menu item of the window hangs under one of the top-level menus.
    for (Control* c : f.controls()) {
        auto* m = dynamic_cast<MenuItem*>(c);
        if (!m) continue;
        MenuItem* root = m;
        while (root->parentMenu()) root = root->parentMenu();
        EXPECT_NE(std::find(top.begin(), top.end(), root->Name()), top.end()) << m->Name();
    }

    // The tray menu: its playback items and both submenus.
    std::vector<std::string> tray;
    for (MenuItem* m : f.MnuSystemTray.children())
        if (!m->isSeparator()) tray.push_back(m->Name());
    for (const char* name : {"mnusystemtraynext", "mnusystemtrayback", "mnusystemtrayforward",
                             "mnusystemtraybackwards", "mnusystemtraypause", "MnuSysTrayDaCapo",
                             "mnusystemtraysuffle", "mnusystrayrepeat", "MnuSystemTrayTop",
                             "mnusystemtraycopypaste", "mnusystemtrayexit", "MnuSystemTray_Favor",
                             "MnuSystemTrayFavor"}) {
        EXPECT_NE(std::find(tray.begin(), tray.end(), name), tray.end()) << name;
    }
    EXPECT_EQ(f.TrayFavorAuto.parentMenu(), &f.MnuSystemTray_Favor);
    EXPECT_EQ(f.TrayFavorPlayAll.parentMenu(), &f.MnuSystemTrayFavor);

    // Items start unchecked and enabled: start-up and the preferences set them.
    for (Control* c : f.controls()) {
        if (auto* m = dynamic_cast<MenuItem*>(c)) {
            EXPECT_FALSE(m->Checked()) << m->Name();
            EXPECT_TRUE(m->Enabled()) << m->Name();
        }
    }
}

// Size of the area a control with this Container lies in, in twips.
struct Area { int width = 0, height = 0; bool known = false; };

Area containerArea(Form& f, const std::string& container) {
    constexpr int titleBar = 30 * 15, menuBar = 22 * 15, tabs = 24 * 15;
    if (container.empty()) {
        int height = f.Height() - titleBar;
        for (MenuItem* m : f.menuBar()) {
            if (m->Visible()) {
                height -= menuBar;
                break;
            }
        }
        return {f.Width(), height, true};
    }
    const auto colon = container.find(':');
    if (colon != std::string::npos) {
        auto* mp = dynamic_cast<MultiPage*>(f.findControl(container.substr(0, colon)));
        if (!mp) return {};
        const int pageIndex = std::stoi(container.substr(colon + 1));
        if (pageIndex < 0 || pageIndex >= mp->PageCount()) return {};
        return {mp->Width(), mp->Height() - tabs, true};
    }
    if (auto* frame = dynamic_cast<Frame*>(f.findControl(container))) return {frame->Width(), frame->Height(), true};
    return {};
}

TEST_F(FormsTest, EveryControlLiesInsideAKnownContainer) {
    for (Form* f : allForms(p)) {
        for (Control* c : f->controls()) {
            if (dynamic_cast<MenuItem*>(c) || dynamic_cast<Timer*>(c) || dynamic_cast<HiddenPlayer*>(c)) continue;
            SCOPED_TRACE(f->Caption() + " " + c->objectName() + " in \"" + c->Container + "\"");
            const Area a = containerArea(*f, c->Container);
            ASSERT_TRUE(a.known);
            EXPECT_GE(c->Left(), 0);
            EXPECT_GE(c->Top(), 0);
            EXPECT_LE(c->Left() + c->Width(), a.width);
            EXPECT_LE(c->Top() + c->Height(), a.height);
        }
    }
    // Each page's frame lies on its own page.
    EXPECT_EQ(p.Form1.Frame4.Container, "MultiPage1:0");
    EXPECT_EQ(p.Form1.Frame12.Container, "MultiPage1:1");
    EXPECT_EQ(p.Form1.Frame1.Container, "MultiPage1:2");
    EXPECT_EQ(p.Form1.Frame8.Container, "MultiPage1:3");
    EXPECT_EQ(p.Form1.Frame6.Container, "MultiPage1:4");
    EXPECT_EQ(p.Form1.Shape1[0].Container, "Frame1");
    EXPECT_EQ(p.Form1.Command4.Container, "Frame10");
}

TEST_F(FormsTest, BuildingTheProgramLoadsAndShowsNothing) {
    for (Form* f : allForms(p)) {
        EXPECT_FALSE(f->Visible()) << f->Caption();
        for (Control* c : f->controls()) {
            if (auto* t = dynamic_cast<Timer*>(c)) {
                EXPECT_EQ(t->loop(), &h.loop) << f->Caption();
                EXPECT_FALSE(t->armed()) << f->Caption();
            }
        }
    }
    h.loop.advance(10000);
    EXPECT_TRUE(h.dialogs.transcript().empty());
    EXPECT_TRUE(h.tray.calls.empty());
    EXPECT_TRUE(h.desktop.requestedUrls.empty());
    EXPECT_EQ(p.Form1.Text2[0].Text(), "");
}

TEST_F(FormsTest, EveryPlayerHasItsEngineAndTheMediaLayer) {
    std::vector<Player*> players = {&p.Form1.WindowsMediaPlayer1, &p.Form2.WindowsMediaPlayer1,
                                    &p.Form4.WindowsMediaPlayer1, &p.Form5.WindowsMediaPlayer1};
    for (Player& w : p.Form1.WindowsMediaPlayer3) players.push_back(&w);
    std::set<Engine*> engines;
    for (Player* w : players) {
        ASSERT_NE(w->engine(), nullptr) << w->parentForm()->Caption() << " " << w->objectName();
        EXPECT_EQ(w->reader(), &h.media);
        engines.insert(w->engine());
    }
    EXPECT_EQ(engines.size(), players.size());  // one engine each
    EXPECT_EQ(p.Form1.WindowsMediaPlayer2.reader(), &h.media);
}

TEST(FormsPrograms, TwoProgramsAreIndependent) {
    ProgramHarness a, b;
    EXPECT_NE(a->AppFolder(), b->AppFolder());
    a->Form1.List2.AddItem("/music/a.mp3");
    a->Form1.Label6.setCaption("Τυχαία Αναπαραγωγή - Suffle Play");
    a->Form1.MnuMoreRandom.setChecked(true);
    a->Form4.Text3.setText("7");

    EXPECT_EQ(b->Form1.List2.ListCount(), 0);
    EXPECT_EQ(b->Form1.Label6.Caption(), "Σειριακή Αναπαραγωγή - Serial Play");
    EXPECT_FALSE(b->Form1.MnuMoreRandom.Checked());
    EXPECT_EQ(b->Form4.Text3.Text(), "");
    EXPECT_NE(&a->Form1.List2, &b->Form1.List2);
    EXPECT_EQ(b->Form1.findControl("List2"), &b->Form1.List2);

    // Each program's timers run on its own loop.
    EXPECT_EQ(a->Form1.Timer1.loop(), &a.loop);
    EXPECT_EQ(b->Form1.Timer1.loop(), &b.loop);
    int ticksA = 0, ticksB = 0;
    a->Form1.Timer1.TimerEvent = [&] { ++ticksA; };
    b->Form1.Timer1.TimerEvent = [&] { ++ticksB; };
    a->Form1.Timer1.setEnabled(true);
    b->Form1.Timer1.setEnabled(true);
    a.loop.advance(3000);
    EXPECT_EQ(ticksA, 3);
    EXPECT_EQ(ticksB, 0);
}

// ---------------------------------------------------------------------------
// The hidden player

TEST(HiddenPlayerTest, ReadsMediaItemsThroughTheMediaLayer) {
    ProgramHarness h;
    h.media.add("/music/a.mp3", 61.5, {{"Title", "Άλφα"}, {"Bitrate", "128000"}});
    HiddenPlayer& wmp2 = h->Form1.WindowsMediaPlayer2;
    auto item = wmp2.newMedia("/music/a.mp3");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->getItemInfo("Title"), "Άλφα");
    EXPECT_DOUBLE_EQ(item->duration(), 61.5);
    EXPECT_EQ(wmp2.settings.mediaAccessRights(), "Full");
    EXPECT_TRUE(wmp2.settings.requestMediaAccessRights("Full"));
    EXPECT_EQ(wmp2.playlistCollection(), nullptr);  // built without a library
    ASSERT_NE(wmp2.currentPlaylist, nullptr);
    EXPECT_EQ(wmp2.currentPlaylist->count(), 0);
}

TEST(HiddenPlayerTest, OpensPlaylistFilesAsPlaylistsOfMediaItems) {
    ProgramHarness h(false);
    std::vector<std::string> asked;
    Services s = h.services();
    s.readPlaylist = [&](const std::string& path) {
        asked.push_back(path);
        return std::vector<std::string>{"/music/a.mp3", "/music/b.wma", "/music/a.mp3"};
    };
    h.build(s);
    h.media.add("/music/b.wma", 10, {{"UserRating", "50"}});

    auto list = h->Form1.WindowsMediaPlayer2.newPlaylist("/c/rock.tlf", "/lists/rock.m3u");
    EXPECT_EQ(asked, std::vector<std::string>{"/lists/rock.m3u"});
    EXPECT_EQ(list->name(), "/c/rock.tlf");
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->Item(0)->sourceURL(), "/music/a.mp3");
    EXPECT_EQ(list->Item(1)->getItemInfo("UserRating"), "50");
    EXPECT_EQ(list->Item(2)->sourceURL(), "/music/a.mp3");
    EXPECT_EQ(list->Item(3), nullptr);
    EXPECT_EQ(list->Item(-1), nullptr);
}

TEST(HiddenPlayerTest, WithoutAReaderPlaylistFilesAreEmpty) {
    ProgramHarness h;
    auto list = h->Form1.WindowsMediaPlayer2.newPlaylist("x", "/lists/rock.m3u");
    EXPECT_EQ(list->count(), 0);
    EXPECT_EQ(list->Item(0), nullptr);
}

TEST(HiddenPlayerTest, MemoryPlaylistInsertsAtAnyPlaceAndAppendsOutOfRange) {
    FakeMediaReader media;
    MemoryPlaylist list("mix");
    list.insertItem(0, media.newMedia("/b"));
    list.insertItem(0, media.newMedia("/a"));
    list.insertItem(99, media.newMedia("/d"));
    list.insertItem(2, media.newMedia("/c"));
    list.insertItem(-5, media.newMedia("/e"));
    ASSERT_EQ(list.count(), 5);
    std::vector<std::string> order;
    for (int i = 0; i < list.count(); ++i) order.push_back(list.Item(i)->sourceURL());
    EXPECT_EQ(order, (std::vector<std::string>{"/a", "/b", "/c", "/d", "/e"}));
    list.setName("other");
    EXPECT_EQ(list.name(), "other");
    list.clear();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.Item(0), nullptr);
}

}  // namespace
}  // namespace tarvolin
