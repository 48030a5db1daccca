#pragma once
// Media files and the player library: adding files, reading attributes,
// ratings and tags in the files, album art, single-file operations, export
// to the player library and import of playlists.
//
// Holds the subsystem's own state; its procedures are defined across the
// .cpp files of src/media, one file per procedure group. Its control events
// are connected in wireEvents(), defined in src/media/media_files_wiring.cpp.
#include <string>

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
    // is full. Every procedure that adds tracks goes through here.
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

    Program& app;

private:
    void wireAttributeMenus();
};

}  // namespace tarvolin
