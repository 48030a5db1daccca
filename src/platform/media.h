#pragma once
// Media items: what the hidden player (WindowsMediaPlayer2) gives of a media
// file. Realised on TagLib and libavformat (platform/tags); tests use a fake
// (tests/support). getItemInfo never fails: an absent or unreadable
// attribute gives "", a duration 0.
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace tarvolin {

class MediaItem {
public:
    virtual ~MediaItem() = default;
    // "Title", "Artist", "Album", "Genre", "WM/Year", "Comment", "Filesize",
    // "Bitrate", "MediaType", "UserRating", ...
    virtual std::string getItemInfo(const std::string& name) = 0;
    // Writes the attribute into the file ("Year" writes the date). Returns
    // false when the write was refused or failed.
    virtual bool setItemInfo(const std::string& name, const std::string& value) = 0;
    // Writes several attributes, in their order; gives the names of those
    // not written. Here one by one; a media file takes them in one change,
    // so that after a kill it holds all of them or none.
    virtual std::vector<std::string> setItemInfos(const std::vector<std::pair<std::string, std::string>>& values) {
        std::vector<std::string> failed;
        for (const auto& [name, value] : values)
            if (!setItemInfo(name, value)) failed.push_back(name);
        return failed;
    }
    virtual bool isReadOnlyItem(const std::string& name) = 0;
    virtual double duration() = 0;
    virtual std::string sourceURL() = 0;
};

class MediaReader {
public:
    virtual ~MediaReader() = default;
    // A media item for path; never null, also for a missing or garbage file.
    virtual std::shared_ptr<MediaItem> newMedia(const std::string& path) = 0;
};

// A playlist of the player library (a .wpl file in tarvolin_library/).
class LibraryPlaylist {
public:
    virtual ~LibraryPlaylist() = default;
    virtual std::string name() = 0;
    // Gives the playlist another title (its file keeps its name). Playlists
    // that cannot be renamed keep their name.
    virtual void setName(const std::string& name) { (void)name; }
    virtual int count() = 0;
    virtual void clear() = 0;
    virtual void insertItem(int index, std::shared_ptr<MediaItem> item) = 0;
    virtual std::shared_ptr<MediaItem> Item(int index) = 0;
};

class PlaylistCollection {
public:
    virtual ~PlaylistCollection() = default;
    // Every playlist of that title, oldest first.
    virtual std::vector<std::shared_ptr<LibraryPlaylist>> getByName(const std::string& name) = 0;
    virtual std::shared_ptr<LibraryPlaylist> newPlaylist(const std::string& name) = 0;
    // Writes the changes still held in memory (items inserted, values set)
    // to disk. Changes are also written when the collection goes. False
    // when some change could not be written.
    virtual bool flush() { return true; }
};

// Reads a playlist file (.m3u, .wpl, .wvx, .wax, .asx) into its entries as
// local paths, following the path rules of the program. Empty on failure.
// A .wpl or .asx entry without a path gives "".
std::vector<std::string> readPlaylistFile(const std::string& path);

}  // namespace tarvolin
