#pragma once
// The collection store: the current collection's tables (CollectionData) and
// the procedures that keep them: reset, track removal and play-order
// renumbering, the per-class statistics, the totals of the classes chosen
// for play, the time totals and progress bars, and the main window's
// displays built from them (play-progress captions, rating display, class
// choice, hiding the track lists), plus the small file and path utilities.
//
// Its procedures are defined across the .cpp files of src/collection, one
// file per group.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "collection/collection_data.h"
#include "toolkit/text_file.h"

namespace tarvolin {

class Program;
class RecordBlock;
class RecordFile;
namespace storefiles {
class SaveTransaction;
}

class CollectionStore {
public:
    explicit CollectionStore(Program& app);

    // The guard of every per-track read or write through a row number: i is
    // a row of the track list and has its entry in the tables.
    bool isTrackRow(std::int64_t i) const;
    // The first track row that holds play mark `mark`, or -1.
    std::int32_t trackWithMark(std::int64_t mark) const;
    // The current track was left `seconds` in: that is its resume point,
    // and the track is marked unsaved when the point moved. Nothing without
    // a current track or for a position no resume point holds.
    void keepResumePoint(double seconds);
    CollectionStore(const CollectionStore&) = delete;
    CollectionStore& operator=(const CollectionStore&) = delete;

    CollectionData d;

    // Connects the control events this store handles (the class choice
    // items of the Play menu and of the tray menu).
    void wireEvents();

    // ---- Reset (collection_reset.cpp) ----
    // 0 empties the whole collection, 1 resets the play marks and the
    // ratings, 2 only the ratings; any other mode does only the common steps.
    void Reset_Collection(int mode);
    void Clear_Collection_View();
    void Reset_Collection_Data();
    void Reset_Play_Marks();
    void Reset_Spare_Texts();
    void Reset_Ratings();
    void Clear_Class_Column();

    // ---- Track removal and renumbering (renumber_play_order.cpp) ----
    // Takes track `index` out of the totals and closes its gap in the
    // tables; call it while List2 still holds the track.
    void Remove_Track_Data(std::int32_t index);
    // Brings the positive play marks back to 1..n, keeping the player's
    // distance from the end of its play history.
    void Renumber_Play_Order();

    // ---- Per-class statistics (class_statistics.cpp) ----
    void Calculate_Ratings();
    void Class_Size_Labels();
    void Class_Duration_Labels();

    // ---- Classes chosen for play (chosen_class_totals.cpp) ----
    void Calc_Favor_Totals();

    // ---- Time totals and progress (time_totals.cpp) ----
    void Show_Time_Totals();
    // Draws progress bar `Index` (0 or 1); Done is lowered to Total when
    // above it.
    void Show_Progress(Currency& Done, Currency Total, int Index);
    void Show_Progress(std::int64_t done, std::int64_t total, int index);
    // "ddd:hh:mm:ss" of a number of seconds, rounded to whole seconds.
    static std::string timeTotalText(Currency seconds);

    // ---- Play-progress captions (progress_captions.cpp) ----
    void Etiketes_Synol_Songs();

    // ---- Rating display (rating_display.cpp) ----
    void DeikseAgapi(int cls, std::int32_t track);
    // The rating display after the tracks were loaded, added or imported:
    // the first track's own class, so that its class column keeps its letter.
    void showFirstTrackRating();
    void Show_Class_Counts();
    void Show_Rating_Stars(int mirror, int cls);

    // ---- Choice of the classes played (class_choice.cpp) ----
    // cls: 1..5 a class, -1 unclassified, 0 all classes.
    void MnuFavor_Play(int cls);
    // Brings the class items' check marks, the all items and the " ! " mark
    // of both submenus in line with PlayClassOn (after a collection brought
    // its own choice), then recounts the totals of the chosen classes.
    void syncClassChoiceMenus();
    void MnuMorePlayS_Click();
    void MnuMorePlayA_Click();
    void MnuMorePlayB_Click();
    void MnuMorePlayC_Click();
    void MnuMorePlayX_Click();
    void MnuMorePlayUnClass_Click();
    void MnuMorePlayAll_Click();
    void TrayFavorPlayS_Click();
    void TrayFavorPlayA_Click();
    void TrayFavorPlayB_Click();
    void TrayFavorPlayC_Click();
    void TrayFavorPlayX_Click();
    void TrayFavorPlayUnClass_Click();
    void TrayFavorPlayAll_Click();

    // ---- Filter lists (track_lists_visibility.cpp) ----
    // Empties the value lists of filter boxes 1..8 and both track tables.
    void Clear_Filters();

    // ---- Hiding the track lists (track_lists_visibility.cpp) ----
    void Make_Invisible();
    void Make_Visible();

    // ---- File and path utilities (file_utilities.cpp) ----
    // Opens "" (the home page), "Help" (the help page) or any address or
    // file through the desktop's URL opener.
    void Open_Help_Page(const std::string& what);
    // size receives the file's length in bytes; path is emptied when the
    // file is empty, missing or not a regular file.
    void Check_Zero_Length(std::string& path, Currency& size);
    // name receives the part of path after its last "/"; an empty path
    // leaves name as it was.
    static void File_Name_Of_Path(const std::string& path, std::string& name);
    // True when path names a regular file that can be opened for reading.
    static bool File_Exists(const std::string& path);
    // Whether a track with this path can be stored: the path must fit its
    // record of the track part file. A path that does not is kept for
    // logPathsLeftOut, and the caller leaves the file out.
    bool pathFitsCollection(const std::string& path);
    // Appends the track table's row of entry e: path to List2, then the
    // entry's number, class, time, size and bit rate to the five columns,
    // and counts the entry in the totals. A track whose size is not read yet
    // shows "00.00" without a unit. False, with nothing appended, when List2
    // takes no more rows.
    bool appendTrackRow(std::size_t e, std::string path, bool sizeRead = true);
    // Logs each path that pathFitsCollection turned down since the last
    // call, naming the file.
    void logPathsLeftOut();
    // Makes player 1 (main window) or 2 (video window) let go of its file.
    void Load_Dump_Media(int player);
    // Removes a leftover "dump.mp3" from the program folder.
    void Kill_Dump_Media();

    // ---- Collection file (collection_file.cpp) ----
    // Reads the collection named by CollectionPath; the caller has emptied
    // the collection first.
    void Load_Collection();
    // Ask: put the question first and report success in a message box.
    // FullRewrite: rewrite both part files from scratch (else only the
    // tracks whose TrackSaved is False are written).
    void Save_Collection(bool Ask, bool FullRewrite);
    // The part files and backups of a collection file.
    static std::string trackPartFileOf(const std::string& collectionPath);
    static std::string filterPartFileOf(const std::string& collectionPath);
    static std::string backupOf(const std::string& path) { return path + ".backup"; }
    // Saves since the program started; every fifth good one refreshes the
    // backup copies.
    std::int32_t SaveCounter = 0;
    // The collection file that a load refused (other version, over the track
    // limit): never written while CollectionPath names it.
    std::string RefusedCollectionPath;
    // The refusal was shown in a box since that load: the saves that come by
    // themselves (auto-save, shutdown) then only log it.
    bool RefusalTold = false;
    // The collection file whose load met damage (a header or part file that
    // could not be read whole): before the first save over it, its three
    // files are copied aside as name + ".damaged".
    std::string DamagedCollectionPath;
    // The track part file that the tables were last read from or written to;
    // a save to any other file writes every track.
    std::string PartFilesPath;

    // ---- Track part file (track_part_file.cpp) ----
    void Load_Collection_Files(const std::string& Path, std::int32_t& Failed);

    // ---- Filter part file (filter_part_file.cpp) ----
    void Load_Collection_Filters(const std::string& path, std::int32_t& failed);
    void Save_Collection_Filters(const std::string& path, std::int32_t& failed);
    // After changes of tracks only: the table rows of the tracks not yet
    // saved, as edits of the save's filter part file. False when the stored
    // lists do not have the present sizes (the whole file is then written).
    bool Changed_Filter_Rows(storefiles::SaveTransaction& save, std::int32_t& failed);

    // ---- Default file (default_file.cpp) ----
    void Load_Last_Collection();
    void Save_Last_Collection();
    std::string defaultFilePath() const;
    std::string defaultCollectionPath() const;

    // ---- Data folders, folder picker and report (data_folders.cpp, report_file.cpp) ----
    // kind: 0 reports, 1 collections, 2 preferences, 3 filters.
    void Make_Data_Folder(int kind);
    static const char* dataFolderName(int kind);
    void Pick_Folder(std::string& result);
    void Report_File_Size();
    void Delete_Report_File();
    // Begin -1 opens the report and writes the banner; any other value
    // writes the log box and closes it. Each of them is added to the file
    // whole or not at all.
    void Report_File(int Begin);
    // The end of a run over files that held the window: the status box goes
    // to the report when one is kept, the totals are shown again, and the
    // window, the tray menu and the mouse pointer are given back.
    void endFilesRun(bool report);
    std::string reportFilePath() const;
    bool reportOpen() const { return reportOpen_; }

    // ---- Preferences file (preferences_file.cpp) ----
    void Load_Preferences(std::int32_t& Failed);
    void Save_Preferences(std::int32_t& Failed);
    std::string preferencesFilePath() const;

    // ---- Merging another collection (merge_collection.cpp) ----
    void Merge_Collection(const std::string& path);
    void Count_New_Media(const std::string& partFile, std::int32_t otherCount, std::int32_t& newCount);
    void Load_Collection_Files_Add(const std::string& partFile, std::int32_t& failed, std::int32_t count);
    void Merge_Play_Marks(std::int32_t n);

    // Puts a log line (the time, the message, CR LF) in front of the log
    // box of the main window, where every part of the program logs.
    void logLine(const std::string& message);

private:
    // The time of day as "hh:mm:ss".
    std::string timeOfDay() const;

    Program& app_;
    bool reportOpen_ = false;  // between Report_File(-1) and its end call
    // Set by the track part file's loader when tracks lay beyond the end of
    // the file (a cut or foreign file, kept from being written over).
    bool partFileIncomplete_ = false;
    // Set by the merge's reading steps on a missing part file or a bad read.
    bool mergeReadFailed_ = false;
    // Paths too long to be stored, not yet logged.
    std::vector<std::string> pathsLeftOut_;
    // Writes that the system refused during a save (texts too long for
    // their records are not counted: they fail the save but not the files).
    int ioFailures_ = 0;
    // Load_Collection's error line for the collection file.
    void logCollectionError();
    // The steps of Load_Collection: the collection file, its header values
    // (false when the rest is not read), a collection over the track limit
    // left empty, the track tables made for `count` tracks, and the tracks
    // and filters of the part files.
    struct LoadOutcome;
    void readCollection(const std::string& path, LoadOutcome& out);
    bool readCollectionHeader(RecordFile& file, std::int64_t size, LoadOutcome& out, std::int32_t& count);
    void refuseOverLimit();
    void startTrackTables(std::int32_t count);
    void readPartFiles(const std::string& trackFile, const std::string& filterFile, LoadOutcome& out);
    // The steps of Load_Collection_Files: one track read from the track
    // part file into its entry and, with a path, appended as a row (false
    // when the file ends before it); its records decoded into entry e, with
    // the damage repaired and counted; the current track's row selected.
    struct TrackFileRead;
    bool readTrack(std::int32_t i, TrackFileRead& in);
    void decodeTrack(int b, std::size_t e, TrackFileRead& in);
    void selectCurrentRow();
    // The steps of Merge_Collection: the other collection's track count
    // read from its header (false, with a log line or a box, when it is
    // unreadable, of another version, empty or over the track limit with
    // the current tracks); its new tracks appended, appended receiving
    // their number (false when the header refused the merge); and, as the
    // user answers, their play marks kept ahead of the current ones or
    // cleared.
    bool mergedTrackCount(const std::string& path, std::int32_t& otherCount);
    bool mergeTracksOf(const std::string& path, std::int32_t& appended);
    void keepOrClearMergedPlayMarks(std::int32_t appended);
    // Finishes, or undoes, a save of the current collection that an earlier
    // run left half made; false (with a log line) when it cannot. What was
    // set aside is logged. beforeReplay: see SaveTransaction::recover.
    bool finishEarlierSave(storefiles::SaveTransaction& save, const std::function<void()>& beforeReplay = {});
    // Logs each file that the save set aside.
    void logSetAside(const storefiles::SaveTransaction& save);
    // Copies those of the current collection's three files that have no
    // name + ".damaged" copy yet (an older copy is kept) as they are now;
    // made receives the copies made. False when a copy could not be made.
    bool copyAsDamaged(std::vector<std::string>& made);
    // Copies the files aside with copyAsDamaged and logs it; false when a
    // copy could not be made.
    bool keepDamagedFiles();
    // Puts the collection file's records 1 to 28 into header; false when a
    // text did not fit its record (that record is left as it was).
    bool putHeader(RecordBlock& header);
    // Encodes the tracks to be written: those whose TrackSaved is False and
    // every track from `from` on. Consecutive ones go together, in runs that
    // do not cross track `split`; put(firstTrack, block, records) stores the
    // first `records` records of the block. Tracks whose every text fitted
    // are added to `whole`; a text that did not fit sets Failed, and a run
    // that put refused counts as a refused write.
    using TrackRunSink = std::function<bool(std::int32_t firstTrack, const RecordBlock& block, int records)>;
    // The steps of Save_Collection. A save over a refused file is told
    // (the box once) and not made.
    bool saveRefused();
    // Where the playing track was left becomes its resume position.
    void keepResumePosition(int rows);
    // Damaged files kept aside, an earlier save finished, what is not a
    // regular file set aside: false when the save cannot go on.
    bool readyToSave(storefiles::SaveTransaction& save);
    // The tracks that a load of the collection file as it stands reads; its
    // records go into header.
    std::int32_t storedTrackCount(RecordBlock& header) const;
    // The header, the tracks, the filters, then the commit.
    void writeCollection(storefiles::SaveTransaction& save, const std::string& trackFile, int rows, bool FullRewrite,
                         std::int32_t& failed);
    // A new track file that starts as a copy of the first `kept` tracks of
    // the old one.
    void writeNewTrackFile(storefiles::SaveTransaction& save, const std::string& trackFile, std::int32_t kept,
                           std::int32_t& failed, std::vector<std::int32_t>& written);
    // Edits of the tracks the file holds; the tracks beyond them written
    // straight into it.
    void editTrackFile(storefiles::SaveTransaction& save, const std::string& trackFile, std::int32_t storedCount,
                       std::int32_t& failed, std::vector<std::int32_t>& written);
    void encodeTracks(std::int32_t from, std::int32_t split, const TrackRunSink& put, std::int32_t& Failed,
                      std::vector<std::int32_t>& whole);
};

}  // namespace tarvolin
