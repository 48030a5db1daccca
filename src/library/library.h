#pragma once
// Library management: the media source panel, rating, the class choice and
// selection, filters and track tables, copy, move and delete by class,
// removal by path, the track information editor, search links, statistics
// and the collection menu.
//
// Holds the subsystem's own state; its procedures are defined across the
// .cpp files of src/library, one file per procedure group. Its control events
// are connected in wireEvents(), defined in src/library/library_wiring.cpp.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "toolkit/runtime.h"

namespace tarvolin {

class Program;
class ListBox;

class Library {
public:
    explicit Library(Program& app) : app(app) {}
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    // Connects the control events this subsystem handles; run once by
    // Program when it is built.
    void wireEvents();

    // ---- Library pages (pages.cpp) ----
    // Shows the frame of the page brought forward and hides the others;
    // leaving the video preview page empties its players, entering it
    // fills them.
    void MultiPage1_Change();

    // ---- Filter set (filter_set.cpp) ----
    // Fills filter boxes 1..8 with the distinct values of the collection.
    void Add_Filters();
    // Reads the nine boxes into the filter set and shows the matching tracks.
    void Gather_Filters();
    // Empties the boxes' texts and switches the filter set off.
    void Reboot_Filters();
    // Full rebuild: the box values, the boxes reset, the full table. Asked
    // while Busy (or while a rebuild runs) it is kept and runs once Busy
    // clears.
    void Refresh_Filters();
    // Asks first, then Refresh_Filters.
    void Remake_Filters();
    void Combo4_0_Change(int Index);
    void Combo4_0_Click(int Index);
    void MnuMoreFiltersRemake_Click();
    void MnuFiltersLoad_Click();
    // The filter set: FilterText(k) and FilterOn(k) (-1 on) per box,
    // TextFilterOn -1 while any box filters.
    std::array<std::string, 9> FilterText;
    std::array<std::int32_t, 9> FilterOn{};
    std::int32_t TextFilterOn = 0;

    // ---- Track tables (track_table.cpp) ----
    // Rebuild -1 rebuilds the full table List5 (and TableRows); 0 fills the
    // filtered table List4 while the filter set is on, else shows List5.
    // Rebuild becomes -1 when the rows no longer match the tracks.
    void Filtered_Songs_List(int& Rebuild);
    void Filtered_Songs_List(int&& Rebuild) { Filtered_Songs_List(Rebuild); }
    // Rewrites the favour field (Column 0) of a track's row after its class
    // changed.
    void Refresh_Filtered_Row(std::int32_t Track, int Column);
    // A press on a table line selects its track in the track lists.
    void List4_MouseDown();
    void List5_MouseDown();
    // The "All" button of the file actions: the filters off, the full table
    // shown.
    void showAllTracks();
    // The table's heading line (its first line).
    const std::string& tableHeading();

    // ---- Table search (table_search.cpp) ----
    void Command17_Click();
    // 0 searches the tables for the text of Text2(3). Index 1 (copy
    // properties) is the tray's copy command and is wired with it.
    void Command6_Click(int Index);

    // ---- Step count (step_count.cpp) ----
    // A text that is not numeric becomes "3"; StepCount takes the box's value.
    void Text3_Change();

    // ---- Media source panel (media_source_panel.cpp) ----
    void Drive1_Change();
    void Dir1_change();
    // Rebuilds File1's pattern from the types selected in List3.
    void List3_Click();
    // Selects a group of media types; pressing the same group again clears it.
    void Command7_Click(int Index);
    // Index 0 adds the files File1 shows.
    void Command18_Click(int Index);
    void Check2_Click();
    // Searches the subfolders of Dir1's folder when the folder list is stale.
    void YpoFakel();
    void Command1_Click(int Index);
    void Command2_Click();
    void Form_KeyDown(int KeyCode, int Shift);
    void Command4_Click();
    // The destination folder of the file actions, chosen in the picker.
    void Command19_Click();

    // ---- Rating the current track (rate_track.cpp) ----
    // Carries out the rating command in FavorCommand on CurrentTrack:
    // 9..14 class - 9, 15 and above class - 16, below 9 the next class.
    // FavorCommand then holds the class given.
    void Command8_Click();
    void Add_To_Favorites(std::int32_t track, int oldClass, int newClass);
    void Remove_From_Favorites(std::int32_t track);
    void Subtract_Class_Totals(std::int32_t track, int cls);
    void MnuFavorAuto2_Click();
    int FavorCommand = 0;
    // The class last reached by the next-class rule.
    int LastCycledClass = 0;
    // Connects the rating button and the tray's rating items.
    void wireRating();

    // ---- Selection by class (class_selection.cpp) ----
    // Selects in the track lists every track of one class and logs their
    // number and size: -1 X, 0 all tracks, 1 C, 2 B, 3 A, 4 unclassified,
    // 5 S.
    void SelectFavor(std::int32_t cls);
    void MnuMoreClassS_Click();
    void MnuMoreClassA_Click();
    void MnuMoreClassB_Click();
    void MnuMoreClassC_Click();
    void MnuMoreClassAll_Click();
    void MnuMoreClassX_Click();
    void MnuMoreUnClass_Click();
    // Recounts the per-class totals.
    void MnuMoreCheckFavorites_Click();

    // ---- Collection menu (collection_menu.cpp) ----
    void mnufilesnew_Click();
    void mnuFileOpen_Click();
    void MnuFileMerge_Click();
    // 0 exports to the player library, 2 replaces the collection by a
    // playlist, 3 adds a playlist's items; 1 ("Keep Updated") does nothing.
    void mnuFileCreateWPL_Click(int Index);
    void mnuFileSave_Click();
    void mnuFileSaveAs_Click();
    void mnuFileSaveAsAuto_Click();
    void mnuFileReset_Click();
    void mnufiledelete_Click();
    void mnufilefavorreset_Click();

    // ---- Statistics view (statistics_view.cpp) ----
    void mnustats_Click();
    void mnustatsreset_Click();
    // The text of the statistics box.
    std::string statisticsText() const;

    // ---- Copy, move and delete by class (copy_move_delete.cpp) ----
    // The bulk worker: List -1 takes the track table shown on the filter
    // page, any other value List2 with Class (a MoveClassCode). Operation 0
    // copies, 1 moves, 2 deletes. Cancelled is set when the user declined a
    // confirmation (nothing was done); CurrentStopped when the current
    // track's file or entry went and its player was stopped.
    void Copy_Move_Delete_Files(std::int32_t List, std::int32_t Class, std::int32_t& Operation, Currency Total,
                                bool& Cancelled, bool& CurrentStopped);
    // The confirmations asked before a move or a delete.
    void Confirm_Move_Delete(std::int32_t Operation, bool& Cancelled);
    // The Copy and Move submenus: Move 0 copies, any other value moves;
    // Which is a MoveClassCode (copy_move_by_class.cpp).
    void MoveSelected(std::int32_t Move, std::int32_t Which);
    void MnuFileCopy_Click();
    void MnuFileCopyAll_Click();
    void MnuFileCopySClass_Click();
    void MnuFileCopyAClass_Click();
    void MnuFileCopyBClass_Click();
    void MnuFileCopyCClass_Click();
    void MnuFileCopyXClass_Click();
    void MnuFileCopyUnClass_Click();
    void mnufilesmove_Click();
    void mnufilemoveall_Click();
    void MnuFileMoveSClass_Click();
    void MnuFileMoveAClass_Click();
    void MnuFileMoveBClass_Click();
    void MnuFileMoveCClass_Click();
    void MnuFileMoveXClass_Click();
    void MnuFileMoveUnClass_Click();
    void MnuFilecopyreference_Click();
    void MnuFileMoveReference_Click();
    // The Delete submenu (delete_by_class.cpp): Which is a MoveClassCode.
    void Pro_File_Del(std::int32_t Which);
    void mnufiledeleteS_Click();
    void mnufiledeleteA_Click();
    void mnufiledeleteB_Click();
    void mnufiledeleteC_Click();
    void mnufiledeleteX_Click();
    void mnufiledeleteunclass_Click();
    void mnufilesdelete_Click();
    void mnufiledeleteall_Click();
    void mnufiledeletedisk_Click();
    void mnufiledeleterecycle_Click();
    void mnufiledeleteevendiskerror_Click();
    // The filter page's file actions (filtered_file_actions.cpp): index 1
    // shows every track, any other index acts on the table shown.
    void Command16_Click(int Index);

    // ---- Removing tracks by path (remove_by_path.cpp) ----
    // The subfolder page's remove button: confirms, removes, remakes the
    // filters.
    void Command5_Click();
    // Removes every track whose file the subfolder list's folders (all or
    // the selected ones) or the file list (all or the selected files) show,
    // and with DeleteFromDisk the files too; reports in Text2(1).
    void Removing_Files_Under_Path();
    // Removes track Index (path Path): deletes its file first when
    // DeleteFromDisk is on; a file that cannot be deleted keeps its track
    // (unless DeleteEvenOnDiskError) and counts in Errors. Scope holds the
    // Greek and English names of the run's scope.
    void Remove_the_Files(const std::string& Path, std::int32_t Index, const std::array<std::string, 2>& Scope,
                          Currency& Removed, Currency& Errors);

    // ---- Track lists and track information editor (track_info_editor.cpp) ----
    // A press on a row of List2: the columns follow and the editor shows
    // the row's file.
    void List2_MouseDown();
    void List3_0_MouseDown(int Index);
    // Selects Row in every column and in List2; the editor shows its file.
    void Sync_List2_From_List3_0(std::int32_t Row);
    // Fills the editor's fields with the tags of Path (read through the
    // main player when it is the file loaded for playing, else the hidden
    // reader); the fields then belong to Path, and an edit pending for
    // another file is dropped.
    void Fill_Tag_Boxes(const std::string& Path);
    // Follows a change of a field: captures the pending edit, or asks
    // whether to store it.
    void Edit_Info_Changed();
    void Combo1_Click();
    // Writes the pending edit into its file.
    void Command14_Click();
    void Picture2_Click();
    // Seeks the active player to the slider's position.
    void Slider1_Scroll();
    // Deleting (2) disables "keep directory tree"; copy and move enable it.
    void Option3_Click(int Index);

    // ---- Search links (search_links.cpp) ----
    // Adds the link typed in Text2(3) or removes the chosen one (Option2).
    void Command13_Click();
    // The editor's fields now show path's values (an edit pending for
    // another file is dropped); every fill of the fields tells it.
    void tagBoxesShow(const std::string& path);

    Program& app;

private:
    // The steps of Removing_Files_Under_Path.
    enum class Pick { None, All, Selected };
    struct RemovalScope;
    RemovalScope removalScopeNow();
    void removeTracksInScope(const RemovalScope& scope, Currency& removed, Currency& errors);

    // ---- Removal by path, editor, search links ----
    void wireEditorParts();
    void wireTrackInfoEditor();
    void wireRemoveByPath();
    void wireSearchLinks();
    // The file list's remove button: the panel's checks, then the removal.
    void removeFromFileList();
    void showInfoFile();
    void tagBoxChanged(bool isField);
    void discardPendingTags();
    // Keeps SearchLinks in step with the user's links of Combo3.
    void storeSearchLinks();
    void showMovedInfoFile();
    std::string tagShownFile_;      // the file whose values the fields show ("" none)
    std::string tagShownInfoFile_;  // InfoFile when they were filled
    bool fillingTags_ = false;  // Fill_Tag_Boxes is filling the fields
    // ---- Selection by class ----
    void wireClassSelection();
    // ---- Collection menu ----
    void wireCollectionMenu();
    // Save_Collection without a question; true only when the collection
    // reached its file (a refused save included as a failure).
    bool saveCollectionReported(bool FullRewrite);
    // A save the user asked for: "Saved" logged and spoken once the
    // collection reached its file.
    void saveCollectionTold();
    // ---- Track tables ----
    void wireTrackTable();
    // ---- Copy, move and delete ----
    void wireCopyMoveDelete();
    // The number of tracks a MoveClassCode names.
    std::int64_t moveClassCount(std::int32_t Which) const;
    void wirePages();
    // ---- Media source panel ----
    void wireMediaSourcePanel();
    int lastTypeGroup_ = 0;          // the type group pressed last
    bool typeGroupOn_ = false;       // that group is selected
    void schedulePendingRefresh();
    void selectTrackOfLine(ListBox& table);
    std::string headingLine_, separatorLine_;
    // After a copy, move or delete: rebuilds the filters and the table at
    // once (the command still holds Busy), then saves the collection and
    // logs "Saved" when it reached its file.
    void saveAfterFileCommand(bool RebuildFilters);
    bool rebuildUnderBusy_ = false;   // that rebuild runs under the command's Busy
    bool refreshing_ = false;         // Refresh_Filters is running
    bool refreshPending_ = false;     // a refresh waits for Busy to clear
    bool refreshScheduled_ = false;   // a check for it is queued on the loop
    // Lets a queued check see that the program has gone.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace tarvolin
