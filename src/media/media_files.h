#pragma once
// Media files and the player library: adding files, reading attributes,
// ratings and tags in the files, album art, single-file operations, export
// to the player library and import of playlists.
//
// Holds the subsystem's own state; its procedures are defined across the
// .cpp files of src/media, one file per procedure group. Its control events
// are connected in wireEvents(), defined in src/media/media_files_wiring.cpp.
#include <cstdint>
#include <string>

#include "toolkit/runtime.h"

namespace tarvolin {

class Program;
class ListBox;

class MediaFiles {
public:
    explicit MediaFiles(Program& app) : app(app) {}
    MediaFiles(const MediaFiles&) = delete;
    MediaFiles& operator=(const MediaFiles&) = delete;

    // Connects the control events this subsystem handles; run once by
    // Program when it is built.
    void wireEvents();

    // ---- Album art (album_art.cpp) ----
    // Shows the picture of the folder of InfoFile in the main and compact
    // windows, or the compact window's fallback picture.
    void Show_Album_Art();

    // ---- Adding media files (add_files.cpp) ----
    // Adds the media files that File1 shows (one folder), or in turn those of
    // every folder of List1 while ScanFromFileList is set, as new tracks.
    void Add_Files_From_Folders();
    // Fills List1 with every folder under root (root included) that holds a
    // file of the media types selected in List3; breadth first.
    void Search_Subfolders(const std::string& root);
    // Appends one track for path: its rows in List2 and the five columns
    // (numbered row + 1), its empty table entries, counted as unclassified.
    // TrackCount follows List2. False (nothing changed) when the collection
    // is full, or when the path is too long to be stored (the store keeps it
    // for its log line). Every procedure that adds tracks goes through here.
    bool appendTrack(const std::string& path);
    // The item of a list of paths (List2, List1) that is exactly path
    // (letter case counts), or -1.
    static int findExactPath(const ListBox& list, const std::string& path);

    // ---- Reading media attributes (media_attributes.cpp) ----
    // OnlyUnread 0 reads every track, -1 only those never read.
    void Identify_File_Properties(int OnlyUnread);
    void MnuMoreFileSizesAll_Click();
    void MnuMoreFileSizesUnknonw_Click();
    void MnuMoreFileSizesKeepRatings_Click();
    void MnuMoreFileSizesReadRatings_Click();
    // The class a "UserRating" text gives, or -1 when the text is no rating
    // (empty, not a number, outside 0 to 99).
    static int classOfUserRating(const std::string& rating);
    // A duration as the media layer gives it, as Currency seconds; anything
    // that is not a plain non-negative number a Long holds reads as 0.
    static Currency durationOf(double seconds);
    // Megabytes of a "Filesize" text (bytes); an empty or unusable text, or
    // more megabytes than a Long holds, is 0.
    static Currency megabytesOf(const std::string& filesize);

    // ---- Single-file operations (single_file_ops.cpp) ----
    // Operation 0 copies, 1 moves, 2 deletes one file; Failed (given as 0)
    // becomes -1 when source and destination are the same path, 1 when the
    // copy failed, 2 when the deletion failed. Each outcome is logged.
    void File_Copy_Move_Delete(const std::string& Source, const std::string& Destination,
                               std::int32_t Operation, std::int32_t& Failed);
    // Deletes one file (to the trash while DeleteToRecycle is on), or a
    // collection file with its part files and their backups; Failed -1 when
    // a step failed.
    void Delete_File_Or_Collection(const std::string& Path, std::int32_t& Failed);
    // Makes the player holding the playing file let go of it, and clears
    // the track displays; the player is left on LoadAfter.
    void Operate_On_Playing_File(const std::string& Path, std::int32_t& Failed, const std::string& LoadAfter);

    // ---- Writing media tags (media_tags.cpp) ----
    // Writes TagValues into the media file at Path and the track's tables;
    // Err becomes -1 when a step fails.
    void Save_Media_Tags(std::string& Path, std::int32_t& Err);
    // The log text of an attribute the media layer did not write into the
    // file at path.
    static std::string writeFailure(const std::string& name, const std::string& path);

    // ---- Ratings in media files (ratings_in_files.cpp) ----
    // Mode 1 reads every file's "UserRating" into the track's class; 255
    // writes every track's class into its file. Index is not used.
    void ReadSave_Favor_In_Files(std::int32_t Index, std::uint8_t Mode);
    void MnuMoreFavorWithinFiles_Click();
    void MnuMoreReadFavorFromFiles_Click();
    void MnuMoreSaveFavorWithinFiles_Click();
    // The "UserRating" text a class is written as ("0", "1", "25", "50",
    // "75", "99"); a code outside 0 to 5 counts as unclassified.
    static std::string userRatingOfClass(int cls);

    // ---- Export to the player library (playlist_export.cpp) ----
    // Asks, then stores the whole collection as the library playlist called
    // name, with each track's rating, size, bit rate and tags.
    void Save_As_WMP_Playlist(const std::string& name);
    // Makes the library playlist called name (the oldest of that name, or
    // one made anew, after a question when one exists) the hidden player's
    // current playlist.
    void Make_WMP_Playlist(const std::string& name);

    // ---- Import of playlists (playlist_import.cpp) ----
    // merge: add the playlist's items to the collection (else replace it).
    // pathGiven: read playlistPath and leave the closing steps to the caller
    // (else the file is chosen in a dialog and the collection is finished
    // here). newCollectionPath names the opened playlist.
    void Open_Merge_WMP_Playlist(bool merge, bool pathGiven, const std::string& newCollectionPath,
                                 const std::string& playlistPath);

    Program& app;

private:
    // Logs that a copy, move or delete left Path alone: it is no regular
    // file (a folder, a device, a pipe).
    void refuseNoFile(const std::string& Path);
    // Deletes one file, to the trash while DeleteToRecycle is on; refuses
    // what is no regular file. False when the file is still there.
    bool removeFile(const std::string& Path);
    void wireAttributeMenus();
    void wireRatingMenus();
};

}  // namespace tarvolin
