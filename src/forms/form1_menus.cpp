// The main window's menu bar and the tray's pop-up menu.
//
// Captions written here for items whose caption the program's texts do not
// give, in the program's "Ελληνικά - English" style:
//   top-level menus "Αναπαραγωγή - Play", "Φίλτρα - Filters",
//     "Περισσότερα - More", "Βίντεο - Video", "Πληροφορίες - About";
//   submenus "Αστέρια - Stars" (mnumorestars), "Στατιστικά - Statistics"
//     (mnustatistics);
//   MnuMoreDemandFavor, MnuMoreRandom, mnumorereplayn(0..2),
//     MnuMorePreview_Active, MnuMoreDuration, MnuMoreMultiPreview,
//     MnuMorePauseActive, MnuMorePauseDur, MnuMoreSound, MnuMoreAutoStart,
//     MnuPlayAutoStartP(0..2);
//   MnuMoreOnTop, MnuMoreMinimize, MnuMoreWindows, MnuMoreReport,
//     MnumoreStar_Colors(0..3), MnumoreStar_Active(0);
//   mnu_info2(2..6) (bilingual forms of Programming, Startup Screen,
//     Webpage, Help, Email);
//   the tray items mnusystemtraynext, mnusystemtrayback,
//     mnusystemtrayforward, mnusystemtraybackwards, MnuSysTrayDaCapo,
//     mnusystemtraysuffle, mnusystrayrepeat, MnuSystemTrayTop,
//     mnusystemtrayexit, and the tray menu's own (never shown) caption.
// The Play menu's class items start with the captions that the rating
// display gives them once the collection is counted.
#include "forms/form1.h"

namespace tarvolin {

namespace {

MenuItem& addItem(Form& f, MenuItem* parent, MenuItem& m, const char* name, const char* caption) {
    f.adopt(m, name);
    m.setCaption(caption);
    if (parent) parent->addChild(m);
    return m;
}

MenuItem& addArrayItem(MenuItem& parent, ControlArray<MenuItem>& array, int index, const char* caption) {
    MenuItem& m = array.add(index);
    m.setCaption(caption);
    parent.addChild(m);
    return m;
}

}  // namespace

void Form1::buildMenus() {
    mnuSep.bind(*this, "mnuSep");
    buildFilesMenu();
    buildRatingMenu();
    buildPlayMenu();
    buildOtherMenus();
    buildTrayMenu();
}

void Form1::buildFilesMenu() {
    int sep = mnuSep.UBound() + 1;
    auto separator = [&](MenuItem& parent) { addArrayItem(parent, mnuSep, sep++, "-"); };

    addItem(*this, nullptr, mnufile, "mnufile", "Αρχεία - Files");
    mnufilecollection.bind(*this, "mnufilecollection");

    // Collection
    MenuItem& collection = addArrayItem(mnufile, mnufilecollection, 0, "Συλλογή - Collection");
    addItem(*this, &collection, mnufilesnew, "mnufilesnew", "Νέα - New");
    addItem(*this, &collection, mnuFileOpen, "mnuFileOpen", "Άνοιγμα - Open");
    addItem(*this, &collection, MnuFileMerge, "MnuFileMerge", "Ένωσε Συλλογή - Merge Collection");
    addItem(*this, &collection, mnuFileWindowsMediaPlayer, "mnuFileWindowsMediaPlayer",
            "Windows Media Player");
    mnuFileCreateWPL.bind(*this, "mnuFileCreateWPL");
    addArrayItem(mnuFileWindowsMediaPlayer, mnuFileCreateWPL, 0, "Δημιουργία - Create (*.wpl)");
    addArrayItem(mnuFileWindowsMediaPlayer, mnuFileCreateWPL, 1, "Κράτα Ενήμερη -  Keep Updated");
    addArrayItem(mnuFileWindowsMediaPlayer, mnuFileCreateWPL, 2, "Άνοιγμα - Open (*.wpl; *.m3u)");
    addArrayItem(mnuFileWindowsMediaPlayer, mnuFileCreateWPL, 3, "Ένωσε - Merge (*.wpl; *.m3u)");
    separator(collection);
    addItem(*this, &collection, mnuFileSave, "mnuFileSave", "Σώσιμο - Save");
    addItem(*this, &collection, mnuFileSaveAs, "mnuFileSaveAs", "Σώσε Ως - Save As");
    addItem(*this, &collection, mnuFileSaveAsAuto, "mnuFileSaveAsAuto",
            "Αυτόματο Σώσιμο 10΄ -  Automatic Save 10'");
    separator(collection);
    addItem(*this, &collection, mnuFileReset, "mnuFileReset", "Μηδενισμός - Reset");
    addItem(*this, &collection, mnufiledelete, "mnufiledelete", "Διαγραφή - Delete");

    // Copy
    MenuItem& copy = addArrayItem(mnufile, mnufilecollection, 1, "Αντιγραφή - Copy");
    addItem(*this, &copy, MnuFileCopy, "MnuFileCopy", "Αντίγραψε Επιλεγμένα - Copy Selected");
    addItem(*this, &copy, MnuFileCopyAll, "MnuFileCopyAll", "Αντίγραψε Όλα - Copy All");
    separator(copy);
    addItem(*this, &copy, MnuFileCopySClass, "MnuFileCopySClass", "Αντίγραψε Υ΄Κλάση - Copy S' Class");
    addItem(*this, &copy, MnuFileCopyAClass, "MnuFileCopyAClass", "Αντίγραψε A΄ Κλάση - Copy A' Class");
    addItem(*this, &copy, MnuFileCopyBClass, "MnuFileCopyBClass", "Αντίγραψε B΄ Κλάση - Copy B' Class");
    addItem(*this, &copy, MnuFileCopyCClass, "MnuFileCopyCClass", "Αντίγραψε C΄ Κλάση - Copy C' Class");
    addItem(*this, &copy, MnuFileCopyXClass, "MnuFileCopyXClass", "Αντίγραψε X΄ Κλάση - Copy X' Class");
    addItem(*this, &copy, MnuFileCopyUnClass, "MnuFileCopyUnClass", "Αντίγραψε Ασημείωτα - Copy Unmarked");
    separator(copy);
    addItem(*this, &copy, MnuFilecopyreference, "MnuFilecopyreference",
            "Αναφορά σε νέα Θέση - Point to new Path");

    // Move
    MenuItem& move = addArrayItem(mnufile, mnufilecollection, 2, "Μετακίνηση - Move");
    addItem(*this, &move, mnufilesmove, "mnufilesmove", "Μετακίνηση Επιλεγμένων - Move Selected");
    addItem(*this, &move, mnufilemoveall, "mnufilemoveall", "Μετακίνηση Όλων - Move All");
    separator(move);
    addItem(*this, &move, MnuFileMoveSClass, "MnuFileMoveSClass", "Μετακίνησε Υ΄ Κλάση - Move S Class");
    addItem(*this, &move, MnuFileMoveAClass, "MnuFileMoveAClass", "Μετακίνησε Α΄ Κλάση - Move A' Class");
    addItem(*this, &move, MnuFileMoveBClass, "MnuFileMoveBClass", "Μετακίνησε Β΄ Κλάση - Move B' Class");
    addItem(*this, &move, MnuFileMoveCClass, "MnuFileMoveCClass", "Μετακίνησε C΄ Κλάση - Move C' Class");
    addItem(*this, &move, MnuFileMoveXClass, "MnuFileMoveXClass", "Μετακίνησε X΄ Κλάση - Move X' Class");
    addItem(*this, &move, MnuFileMoveUnClass, "MnuFileMoveUnClass", "Μετακίνησε Ασημείωτα - Move Unmarked");
    separator(move);
    addItem(*this, &move, MnuFileMoveReference, "MnuFileMoveReference",
            "Αναφορά σε νέα Θέση - Point to new Path");

    // Delete
    MenuItem& del = addArrayItem(mnufile, mnufilecollection, 3, "Διαγραφή - Delete");
    addItem(*this, &del, mnufiledeleteS, "mnufiledeleteS", "Διέγραψε Υ΄ Κλάση - Delete S' Class");
    addItem(*this, &del, mnufiledeleteA, "mnufiledeleteA", "Διέγραψε Α΄ Κλάση - Delete A' Class");
    addItem(*this, &del, mnufiledeleteB, "mnufiledeleteB", "Διέγραψε Β΄ Κλάση - Delete B' Class");
    addItem(*this, &del, mnufiledeleteC, "mnufiledeleteC", "Διέγραψε Γ΄ Κλάση - Delete C'  Class");
    addItem(*this, &del, mnufiledeleteX, "mnufiledeleteX", "Διέγραψε Χ΄ Κλάση - Delete X' Class");
    addItem(*this, &del, mnufiledeleteunclass, "mnufiledeleteunclass",
            "Διέγραψε Ασημείωτα -  Delete Unmarked");
    addItem(*this, &del, mnufilesdelete, "mnufilesdelete", "Διέγραψε Επιλεγμένα - Delete Selected");
    addItem(*this, &del, mnufiledeleteall, "mnufiledeleteall", "Διέγραψε Όλα - Delete All");
    separator(del);
    addItem(*this, &del, mnufiledeletedisk, "mnufiledeletedisk", "Διαγραφή από τον δίσκο - Delete from disk");
    addItem(*this, &del, mnufiledeleterecycle, "mnufiledeleterecycle", "Σε Κάδο Ανακύκλωσης - To Recycle Bin");
    addItem(*this, &del, mnufiledeleteevendiskerror, "mnufiledeleteevendiskerror",
            "Διαγραφή από Συλλογή σε Λάθος Δίσκου - Remove from Collection even on Disk Error");

    separator(mnufile);
    addArrayItem(mnufile, mnufilecollection, 4, "Έξοδος - Exit");
}

void Form1::buildRatingMenu() {
    int sep = mnuSep.UBound() + 1;
    auto separator = [&](MenuItem& parent) { addArrayItem(parent, mnuSep, sep++, "-"); };

    addItem(*this, nullptr, mnufavorites, "mnufavorites", "Προτίμηση - Rating");
    addItem(*this, &mnufavorites, MnuMoreReadFavorFromFiles, "MnuMoreReadFavorFromFiles",
            "Ανάγνωσε Προτιμήσεις Συλλογής από Αρχεία -  Read Collection Ratings from Files");
    addItem(*this, &mnufavorites, MnuMoreSaveFavorWithinFiles, "MnuMoreSaveFavorWithinFiles",
            "Γράψε Προτιμήσεις Συλλογής στα αρχεία -  Save Collection Ratings within Files");
    addItem(*this, &mnufavorites, MnuMoreFavorWithinFiles, "MnuMoreFavorWithinFiles",
            "Σώζε Προτιμήσεις εντός αρχείων -  Save Ratings within Files");
    separator(mnufavorites);
    addItem(*this, &mnufavorites, MnuFavorAuto2, "MnuFavorAuto2", "Αυτόματο - Auto");
    addItem(*this, &mnufavorites, MnuMoreDemandFavor, "MnuMoreDemandFavor",
            "Απαίτηση Προτίμησης - Demand Rating");
    addItem(*this, &mnufavorites, mnufilefavorreset, "mnufilefavorreset",
            "Μηδενισμός Προτιμήσεων - Delete Ratings");
    separator(mnufavorites);
    addItem(*this, &mnufavorites, MenuMoreFavor, "MenuMoreFavor", "Επέλεξε - Select");
    addItem(*this, &MenuMoreFavor, MnuMoreClassS, "MnuMoreClassS", "Κλάσεως Υ΄- Class S");
    addItem(*this, &MenuMoreFavor, MnuMoreClassA, "MnuMoreClassA", "Κλάσεως Α΄- Class A");
    addItem(*this, &MenuMoreFavor, MnuMoreClassB, "MnuMoreClassB", "Κλάσεως Β΄- Class B");
    addItem(*this, &MenuMoreFavor, MnuMoreClassC, "MnuMoreClassC", "Κλάσεως Γ΄- Class C");
    addItem(*this, &MenuMoreFavor, MnuMoreClassX, "MnuMoreClassX", "Κλάσεως X - Class X");
    addItem(*this, &MenuMoreFavor, MnuMoreUnClass, "MnuMoreUnClass", "Ασημείωτα - Unmarked");
    addItem(*this, &MenuMoreFavor, MnuMoreClassAll, "MnuMoreClassAll", "Όλα - All");
    addItem(*this, &mnufavorites, MnuMoreCheckFavorites, "MnuMoreCheckFavorites",
            "Έλεγξε Αγαπημένα - Check Favorites");
}

void Form1::buildPlayMenu() {
    int sep = mnuSep.UBound() + 1;
    auto separator = [&](MenuItem& parent) { addArrayItem(parent, mnuSep, sep++, "-"); };

    addItem(*this, nullptr, mnuplay, "mnuplay", "Αναπαραγωγή - Play");
    addItem(*this, &mnuplay, MnuMoreRandom, "MnuMoreRandom", "Τυχαία Αναπαραγωγή - Shuffle Play");
    mnumorereplayn.bind(*this, "mnumorereplayn");
    addArrayItem(mnuplay, mnumorereplayn, 0, "Επανάληψη: Καμία - Replay: None");
    addArrayItem(mnuplay, mnumorereplayn, 1, "Επανάληψη: Ένα - Replay: One");
    addArrayItem(mnuplay, mnumorereplayn, 2, "Επανάληψη: Όλα - Replay: All");
    separator(mnuplay);
    addItem(*this, &mnuplay, MnuMorePreview_Active, "MnuMorePreview_Active", "Προεπισκόπηση - Preview");
    addItem(*this, &mnuplay, MnuMoreDuration, "MnuMoreDuration",
            "Διάρκεια Προεπισκόπησης - Preview Duration");
    addItem(*this, &mnuplay, MnuMoreMultiPreview, "MnuMoreMultiPreview",
            "Προεπισκόπηση σε 4 Σημεία - Four-Point Preview");
    separator(mnuplay);
    addItem(*this, &mnuplay, MnuMorePauseActive, "MnuMorePauseActive",
            "Παύση Μεταξύ Αρχείων - Pause Between Files");
    addItem(*this, &mnuplay, MnuMorePauseDur, "MnuMorePauseDur", "Διάρκεια Παύσης - Pause Duration");
    addItem(*this, &mnuplay, MnuMoreSound, "MnuMoreSound", "Ήχος Μεταξύ Αρχείων - Sound Between Files");
    separator(mnuplay);
    addItem(*this, &mnuplay, MnuMoreAutoStart, "MnuMoreAutoStart",
            "Αναπαραγωγή κατά την Εκκίνηση - Play at Start");
    MnuPlayAutoStartP.bind(*this, "MnuPlayAutoStartP");
    addArrayItem(mnuplay, MnuPlayAutoStartP, 0,
                 "Έναρξη από την Αρχή του Αρχείου - Start at the Beginning of the File");
    addArrayItem(mnuplay, MnuPlayAutoStartP, 1,
                 "Έναρξη από το Σημείο Εξόδου του Τελευταίου Αρχείου - Start at the Last File's Exit Point");
    addArrayItem(mnuplay, MnuPlayAutoStartP, 2,
                 "Έναρξη από το Σημείο Εξόδου Κάθε Αρχείου - Start at Each File's Exit Point");
    separator(mnuplay);
    addItem(*this, &mnuplay, MnuMoreFavor, "MnuMoreFavor", "Παίζε μόνο Προτίμηση - Play only Rating");
    addItem(*this, &MnuMoreFavor, MnuMorePlayS, "MnuMorePlayS", "Κλάσεως Υ΄ - Class S");
    addItem(*this, &MnuMoreFavor, MnuMorePlayA, "MnuMorePlayA", "Κλάσεως Α΄- Class A");
    addItem(*this, &MnuMoreFavor, MnuMorePlayB, "MnuMorePlayB", "Κλάσεως Β΄- Class B");
    addItem(*this, &MnuMoreFavor, MnuMorePlayC, "MnuMorePlayC", "Κλάσεως Γ΄- Class C");
    addItem(*this, &MnuMoreFavor, MnuMorePlayX, "MnuMorePlayX", " Κλάσεως Χ - Class X");
    addItem(*this, &MnuMoreFavor, MnuMorePlayUnClass, "MnuMorePlayUnClass", "Ασημείωτα - Unmarked");
    addItem(*this, &MnuMoreFavor, MnuMorePlayAll, "MnuMorePlayAll", "Όλα - All");
}

void Form1::buildOtherMenus() {
    int sep = mnuSep.UBound() + 1;
    auto separator = [&](MenuItem& parent) { addArrayItem(parent, mnuSep, sep++, "-"); };

    // Filters
    addItem(*this, nullptr, MnuFilters, "MnuFilters", "Φίλτρα - Filters");
    addItem(*this, &MnuFilters, MnuMoreFileSizes, "MnuMoreFileSizes",
            "Αναγνώριση Ιδιοτήτων Αρχείων - Files Properties Indetification");
    addItem(*this, &MnuMoreFileSizes, MnuMoreFileSizesAll, "MnuMoreFileSizesAll", "Νέα - New");
    addItem(*this, &MnuMoreFileSizes, MnuMoreFileSizesUnknonw, "MnuMoreFileSizesUnknonw",
            "Συνέχιση - Continue");
    addItem(*this, &MnuMoreFileSizes, MnuMoreFileSizesKeepRatings, "MnuMoreFileSizesKeepRatings",
            "Διατήρηση Προσωπικών Προτιμήσεων - Keep Personal Ratings");
    addItem(*this, &MnuMoreFileSizes, MnuMoreFileSizesReadRatings, "MnuMoreFileSizesReadRatings",
            "Διάβαζε Προτιμήσεις από αρχεία - Read Ratings from Files");
    addItem(*this, &MnuFilters, MnuMoreFiltersRemake, "MnuMoreFiltersRemake",
            "Εκβιασμένη Δημιουργία Φίλτρων - Force Filters Remake");
    addItem(*this, &MnuFilters, MnuFiltersLoad, "MnuFiltersLoad", "Φόρτωνε Φίλτρα - Load Filters");

    // More
    addItem(*this, nullptr, mnumore, "mnumore", "Περισσότερα - More");
    addItem(*this, &mnumore, MnuMoreOnTop, "MnuMoreOnTop", "Πάντα Επάνω - Always on Top");
    addItem(*this, &mnumore, MnuMoreMinimize, "MnuMoreMinimize", "Μικρό Παράθυρο - Compact Window");
    addItem(*this, &mnumore, MnuMoreWindows, "MnuMoreWindows",
            "Εκκίνηση με το Σύστημα - Run at System Start");
    separator(mnumore);
    addItem(*this, &mnumore, MnuMoreReport, "MnuMoreReport", "Τήρηση Αναφορών - Keep Report");
    addItem(*this, &mnumore, MnuMoreReportDelete, "MnuMoreReportDelete",
            "Διέγραψε Αρχείο Αναφορών - Delete Report File");
    separator(mnumore);
    addItem(*this, &mnumore, mnumorestars, "mnumorestars", "Αστέρια - Stars");
    MnumoreStar_Colors.bind(*this, "MnumoreStar_Colors");
    addArrayItem(mnumorestars, MnumoreStar_Colors, 0, "Χρυσά - Gold");
    addArrayItem(mnumorestars, MnumoreStar_Colors, 1, "Μπλε - Blue");
    addArrayItem(mnumorestars, MnumoreStar_Colors, 2, "Μαύρα Μπλε - Black Blue");
    addArrayItem(mnumorestars, MnumoreStar_Colors, 3, "Μίξη - Mix");
    separator(mnumorestars);
    MnumoreStar_Active.bind(*this, "MnumoreStar_Active");
    addArrayItem(mnumorestars, MnumoreStar_Active, 0, "Ενεργά - Enabled");
    addArrayItem(mnumorestars, MnumoreStar_Active, 1, "Disabled");
    separator(mnumore);
    addItem(*this, &mnumore, mnutimeshut, "mnutimeshut", "Auto Shut Down");
    addItem(*this, &mnumore, mnutimesnooze, "mnutimesnooze", "Snooze");

    // Video
    addItem(*this, nullptr, mnuvideo, "mnuvideo", "Βίντεο - Video");
    mnuvideoshow.bind(*this, "mnuvideoshow");
    addArrayItem(mnuvideo, mnuvideoshow, 0, "Show");
    addArrayItem(mnuvideo, mnuvideoshow, 1, "Hide");
    addArrayItem(mnuvideo, mnuvideoshow, 2, "Auto");

    // About
    addItem(*this, nullptr, mnuinfo, "mnuinfo", "Πληροφορίες - About");
    mnuinfogr.bind(*this, "mnuinfogr");
    addArrayItem(mnuinfo, mnuinfogr, 0, "Ελληνικά");
    addArrayItem(mnuinfo, mnuinfogr, 1, "English");
    separator(mnuinfo);
    mnu_info2.bind(*this, "mnu_info2");
    addArrayItem(mnuinfo, mnu_info2, 2, "Προγραμματισμός - Programming");
    addArrayItem(mnuinfo, mnu_info2, 3, "Οθόνη Εκκίνησης - Startup Screen");
    addArrayItem(mnuinfo, mnu_info2, 4, "Ιστοσελίδα - Webpage");
    addArrayItem(mnuinfo, mnu_info2, 5, "Βοήθεια - Help");
    addArrayItem(mnuinfo, mnu_info2, 6, "Ηλεκτρονικό Ταχυδρομείο - Email");
    separator(mnuinfo);
    addItem(*this, &mnuinfo, mnustatistics, "mnustatistics", "Στατιστικά - Statistics");
    addItem(*this, &mnustatistics, mnustats, "mnustats", "Show");
    addItem(*this, &mnustatistics, mnustatsreset, "mnustatsreset", "Reset");
}

void Form1::buildTrayMenu() {
    int sep = mnuSep.UBound() + 1;
    auto separator = [&](MenuItem& parent) { addArrayItem(parent, mnuSep, sep++, "-"); };

    // Hidden from the menu bar: popped up by the tray icon.
    addItem(*this, nullptr, MnuSystemTray, "MnuSystemTray", "Tarvolin");
    MnuSystemTray.setVisible(false);
    MenuItem* tray = &MnuSystemTray;
    addItem(*this, tray, mnusystemtraynext, "mnusystemtraynext", "Επόμενο - Next");
    addItem(*this, tray, mnusystemtrayback, "mnusystemtrayback", "Προηγούμενο - Back");
    addItem(*this, tray, mnusystemtrayforward, "mnusystemtrayforward", "Μπρος κατά Βήματα - Forward by Steps");
    addItem(*this, tray, mnusystemtraybackwards, "mnusystemtraybackwards",
            "Πίσω κατά Βήματα - Backwards by Steps");
    addItem(*this, tray, mnusystemtraypause, "mnusystemtraypause", "Παύση - Pause");
    addItem(*this, tray, MnuSysTrayDaCapo, "MnuSysTrayDaCapo", "Από την Αρχή - Da Capo");
    separator(*tray);
    addItem(*this, tray, mnusystemtraysuffle, "mnusystemtraysuffle", "Τυχαία Αναπαραγωγή - Shuffle Play");
    addItem(*this, tray, mnusystrayrepeat, "mnusystrayrepeat", "Επανάληψη - Repeat");
    addItem(*this, tray, MnuSystemTrayTop, "MnuSystemTrayTop", "Πάντα Επάνω - Always on Top");
    separator(*tray);

    addItem(*this, tray, MnuSystemTray_Favor, "MnuSystemTray_Favor", "Προτίμηση Rating");
    MenuItem* rating = &MnuSystemTray_Favor;
    addItem(*this, rating, TrayFavorS, "TrayFavorS", "Κλάση Y΄- Class S");
    addItem(*this, rating, TrayFavorA, "TrayFavorA", "Κλάση Α΄- Class A");
    addItem(*this, rating, TrayFavorB, "TrayFavorB", "Κλάση Β΄- Class B");
    addItem(*this, rating, TrayFavorC, "TrayFavorC", "Κλάση Γ΄- Class C");
    addItem(*this, rating, TrayFavorX, "TrayFavorX", "Κλάσης X - Class X");
    addItem(*this, rating, TrayFavorUnclass, "TrayFavorUnclass", "Ασημείωτο - Unmarked");
    separator(*rating);
    addItem(*this, rating, TrayFavorAuto, "TrayFavorAuto", "Αυτόματο - Auto");

    addItem(*this, tray, MnuSystemTrayFavor, "MnuSystemTrayFavor", "Παίζε μόνο - Play only");
    MenuItem* playOnly = &MnuSystemTrayFavor;
    addItem(*this, playOnly, TrayFavorPlayS, "TrayFavorPlayS", "Κλάση Υ΄- Class S");
    addItem(*this, playOnly, TrayFavorPlayA, "TrayFavorPlayA", "Κλάση Α΄- Class A");
    addItem(*this, playOnly, TrayFavorPlayB, "TrayFavorPlayB", "Κλάση Β΄- Class B");
    addItem(*this, playOnly, TrayFavorPlayC, "TrayFavorPlayC", "Κλάση Γ΄- Class C");
    addItem(*this, playOnly, TrayFavorPlayX, "TrayFavorPlayX", "Εκτός Κλάσης - Outclassed");
    addItem(*this, playOnly, TrayFavorPlayUnClass, "TrayFavorPlayUnClass", "Ασημείωτα - Unmarked");
    addItem(*this, playOnly, TrayFavorPlayAll, "TrayFavorPlayAll", "Όλες - All");
    separator(*tray);

    addItem(*this, tray, mnusystemtraycopypaste, "mnusystemtraycopypaste", "Copy Properties");
    addItem(*this, tray, mnusystemtrayexit, "mnusystemtrayexit", "Τερματισμός - Quit");
}

}  // namespace tarvolin
