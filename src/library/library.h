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

    Program& app;

private:
    // ---- Track tables ----
    void wireTrackTable();
    void wirePages();
    // ---- Media source panel ----
    void wireMediaSourcePanel();
    int lastTypeGroup_ = 0;          // the type group pressed last
    bool typeGroupOn_ = false;       // that group is selected
    void schedulePendingRefresh();
    void selectTrackOfLine(ListBox& table);
    std::string headingLine_, separatorLine_;
    bool refreshing_ = false;         // Refresh_Filters is running
    bool refreshPending_ = false;     // a refresh waits for Busy to clear
    bool refreshScheduled_ = false;   // a check for it is queued on the loop
    // Lets a queued check see that the program has gone.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace tarvolin
