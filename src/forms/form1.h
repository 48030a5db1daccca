#pragma once
// The main window: the track list with its columns, the five pages of
// MultiPage1 (play control, file managing, exploring folders, subfolders,
// video preview), the transport row, and the menus with the tray's pop-up
// menu. Design captions and properties only; behaviour is wired by Program.
//
// Layout: the track list and its columns across the top, the seek slider and
// the transport row under it, the pages below on the left, the album art and
// the locate buttons beside them. Each page's frame lies on its page
// (Container "MultiPage1:k"); controls inside a frame have the frame as
// Container, with geometry relative to it.
#include "forms/hidden_player.h"
#include "platform/player.h"
#include "toolkit/control_array.h"
#include "toolkit/controls.h"
#include "toolkit/form.h"

namespace tarvolin {

struct Form1 : Form {
    Form1();
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // ---- Players and timer -------------------------------------------
    Player WindowsMediaPlayer1;
    HiddenPlayer WindowsMediaPlayer2;
    ControlArray<Player> WindowsMediaPlayer3;  // 0..11, the multi-preview grid
    Timer Timer1;

    // ---- Track list and its columns ------------------------------------
    ListBox List2;                  // track paths
    ControlArray<ListBox> List3_0;  // 0 number, 1 class, 2 duration, 3 size, 4 bit rate

    // ---- Captions and status -------------------------------------------
    TextBox Text6;                  // current file
    ControlArray<TextBox> Text5;    // 0 duration, 1 elapsed, 2 remaining, 3 size, 4 bit rate
    ControlArray<Label> Label2;     // 0..1 time totals
    ControlArray<Label> Label3;     // 0: counts line
    Label Label6;                   // play mode

    // ---- Transport -----------------------------------------------------
    Slider Slider1;
    CommandButton Command11;             // play / pause
    ControlArray<CommandButton> Command3;   // 0 next, 1 previous
    ControlArray<CommandButton> Command15;  // 0 ahead, 1 back, 2 return, 3 compact window
    HScrollBar HScroll1;                 // volume 0..2000
    HScrollBar HScroll2;

    // ---- Beside the pages ----------------------------------------------
    PictureBox Picture1;                    // album art
    ControlArray<CommandButton> Command10;  // 0 open folder, 1 current media, 2 played

    // ---- Pages -----------------------------------------------------------
    MultiPage MultiPage1;
    Frame Frame4;    // page 0
    Frame Frame12;   // page 1
    Frame Frame1;    // page 2
    Frame Frame8;    // page 3
    Frame Frame6;    // page 4
    Frame Frame10;   // in Frame8
    Frame FrameTags; // the track information editor, in Frame4

    // Page 0: log, progress bar 1, editor, rating display, steps, search links
    ControlArray<TextBox> Text2;    // 0 log, 1-2 status (page 3), 3 links/search, 4 table search (page 1), 5 destination (page 1)
    ControlArray<Shape> Shape1;     // 0..1 progress frames (0 on page 2, 1 on page 0)
    ControlArray<Shape> Shape2;     // 0..1 progress fills
    ControlArray<Label> Label11;    // 0..1 progress percent
    ControlArray<Label> Label1;     // 0..5 editor captions
    TextBox Text1_0, Text1_1, Text1_2, Text1_3, Text1_4;
    ComboBox Combo1;                // genre
    CommandButton Command14;        // store tags
    CommandButton Command8;         // rating
    PictureBox Picture2;            // rating stars
    ControlArray<Label> Label10;    // 0..6 class names
    ControlArray<Label> Label21;    // 0..6 class bars
    ControlArray<Label> Label9;     // 0..6 class numbers
    TextBox Text3;                  // step count
    ComboBox Combo3;                // search links
    CommandButton Command13;        // add / remove a link
    ControlArray<OptionButton> Option2;  // 0 add, 1 remove
    CheckBox Check1;                // search on the internet
    ControlArray<CommandButton> Command6;  // 0 search, 1 copy properties

    // Page 1: filters, track tables, file actions
    ControlArray<Label> Label12;      // 0..8 filter captions
    ControlArray<ComboBox> Combo4_0;  // 0..8 filters
    CommandButton Command17;          // search the table
    ControlArray<CommandButton> Command16;  // 0 action, 1 all
    ListBox List5;                    // full track table
    ListBox List4;                    // filtered track table
    ControlArray<OptionButton> Option3;  // 0 copy, 1 move, 2 delete
    CheckBox Check3;                  // recycle bin
    CheckBox Check4;                  // keep directory tree
    CommandButton Command19;          // destination folder

    // Page 2: media source
    DriveListBox Drive1;
    DirListBox Dir1;
    FileListBox File1;
    ListBox List3;                        // media types
    ControlArray<CommandButton> Command7;   // 0..4 type groups
    ControlArray<OptionButton> Option4;     // 0 all, 1 selected
    CheckBox Check2;                      // subdirectories
    ControlArray<CommandButton> Command18;  // 0 add, 1 remove

    // Page 3: subfolders
    ListBox List1;
    OptionButton Option1_0, Option1_1;
    ControlArray<CommandButton> Command1;  // 0 select all / none, 1 invert
    CommandButton Command2;               // cancel search
    CommandButton Command4;               // add files (Frame10)
    CommandButton Command5;               // remove files (Frame10)

    // ---- Menus (form1_menus.cpp) ----------------------------------------
    ControlArray<MenuItem> mnuSep;  // separators

    // Files
    MenuItem mnufile;
    ControlArray<MenuItem> mnufilecollection;  // 0 Collection, 1 Copy, 2 Move, 3 Delete, 4 Exit
    MenuItem mnufilesnew, mnuFileOpen, MnuFileMerge, mnuFileWindowsMediaPlayer;
    ControlArray<MenuItem> mnuFileCreateWPL;  // 0..3
    MenuItem mnuFileSave, mnuFileSaveAs, mnuFileSaveAsAuto, mnuFileReset, mnufiledelete;
    MenuItem MnuFileCopy, MnuFileCopyAll, MnuFileCopySClass, MnuFileCopyAClass, MnuFileCopyBClass,
        MnuFileCopyCClass, MnuFileCopyXClass, MnuFileCopyUnClass, MnuFilecopyreference;
    MenuItem mnufilesmove, mnufilemoveall, MnuFileMoveSClass, MnuFileMoveAClass, MnuFileMoveBClass,
        MnuFileMoveCClass, MnuFileMoveXClass, MnuFileMoveUnClass, MnuFileMoveReference;
    MenuItem mnufiledeleteS, mnufiledeleteA, mnufiledeleteB, mnufiledeleteC, mnufiledeleteX,
        mnufiledeleteunclass, mnufilesdelete, mnufiledeleteall, mnufiledeletedisk,
        mnufiledeleterecycle, mnufiledeleteevendiskerror;

    // Rating
    MenuItem mnufavorites;
    MenuItem MnuMoreReadFavorFromFiles, MnuMoreSaveFavorWithinFiles, MnuMoreFavorWithinFiles,
        MnuFavorAuto2, mnufilefavorreset;
    MenuItem MenuMoreFavor;  // select by class
    MenuItem MnuMoreClassS, MnuMoreClassA, MnuMoreClassB, MnuMoreClassC, MnuMoreClassX,
        MnuMoreUnClass, MnuMoreClassAll;
    MenuItem MnuMoreCheckFavorites, MnuMoreDemandFavor;

    // Play
    MenuItem mnuplay;
    MenuItem MnuMoreRandom;
    ControlArray<MenuItem> mnumorereplayn;  // 0 none, 1 one, 2 all
    MenuItem MnuMorePreview_Active, MnuMoreDuration, MnuMoreMultiPreview;
    MenuItem MnuMorePauseActive, MnuMorePauseDur, MnuMoreSound, MnuMoreAutoStart;
    ControlArray<MenuItem> MnuPlayAutoStartP;  // 0 beginning, 1 last file's exit point, 2 each file's
    MenuItem MnuMoreFavor;  // play only rating
    MenuItem MnuMorePlayS, MnuMorePlayA, MnuMorePlayB, MnuMorePlayC, MnuMorePlayX,
        MnuMorePlayUnClass, MnuMorePlayAll;

    // Filters
    MenuItem MnuFilters;
    MenuItem MnuMoreFileSizes, MnuMoreFileSizesAll, MnuMoreFileSizesUnknonw,
        MnuMoreFileSizesKeepRatings, MnuMoreFileSizesReadRatings;
    MenuItem MnuMoreFiltersRemake, MnuFiltersLoad;

    // More
    MenuItem mnumore;
    MenuItem MnuMoreOnTop, MnuMoreMinimize, MnuMoreWindows;
    MenuItem MnuMoreReport, MnuMoreReportDelete;
    MenuItem mnumorestars;
    ControlArray<MenuItem> MnumoreStar_Colors;  // 0 gold, 1 blue, 2 black blue, 3 mix
    ControlArray<MenuItem> MnumoreStar_Active;  // 0 (no action), 1 disabled
    MenuItem mnutimeshut, mnutimesnooze;

    // Video
    MenuItem mnuvideo;
    ControlArray<MenuItem> mnuvideoshow;  // 0 show, 1 hide, 2 auto

    // About
    MenuItem mnuinfo;
    ControlArray<MenuItem> mnuinfogr;  // 0 Greek, 1 English
    ControlArray<MenuItem> mnu_info2;  // 2..6
    MenuItem mnustatistics, mnustats, mnustatsreset;

    // Tray pop-up menu (hidden top-level menu)
    MenuItem MnuSystemTray;
    MenuItem mnusystemtraynext, mnusystemtrayback, mnusystemtrayforward, mnusystemtraybackwards,
        mnusystemtraypause, MnuSysTrayDaCapo, mnusystemtraysuffle, mnusystrayrepeat,
        MnuSystemTrayTop, mnusystemtraycopypaste, mnusystemtrayexit;
    MenuItem MnuSystemTray_Favor;  // rating submenu
    MenuItem TrayFavorS, TrayFavorA, TrayFavorB, TrayFavorC, TrayFavorX, TrayFavorUnclass,
        TrayFavorAuto;
    MenuItem MnuSystemTrayFavor;  // play-only submenu
    MenuItem TrayFavorPlayS, TrayFavorPlayA, TrayFavorPlayB, TrayFavorPlayC, TrayFavorPlayX,
        TrayFavorPlayUnClass, TrayFavorPlayAll;

private:
    void buildControls();
    void buildPlayersAndTimer();
    void buildStatusLine();
    void buildCaptions();
    void buildTrackList();
    void buildSeekAndTransport();
    void buildPages();
    void buildBesideThePages();
    void bindArraysSpreadOverPages();
    void buildPlayControlPage();
    void buildFileManagingPage();
    void buildMediaSourcePage();
    void buildSubfoldersPage();
    void buildPreviewPage();
    void buildMenus();
    void buildFilesMenu();
    void buildRatingMenu();
    void buildPlayMenu();
    void buildOtherMenus();
    void buildTrayMenu();
};

}  // namespace tarvolin
