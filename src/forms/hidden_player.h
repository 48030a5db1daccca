#pragma once
// The main window's hidden player (WindowsMediaPlayer2): it plays nothing.
// It reads media items for the attribute, rating and tag procedures, gives
// the player library's playlists (the folder tarvolin_library/) and opens
// playlist files for the import.
//
//   newMedia(path)            a media item of the file (never null)
//   playlistCollection()      the library's playlists; null when the program
//                             was built without a library
//   currentPlaylist           the playlist the export fills
//   newPlaylist(name, url)    the entries of a playlist file as a playlist of
//                             media items (empty when the file cannot be read)
//   settings                  autoStart and mute are kept and change nothing;
//                             the access rights are always "Full"
//   close()                   does nothing (no media is held open)
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/media.h"
#include "toolkit/control.h"

namespace tarvolin {

// A playlist held in memory: the player's own current playlist before the
// library gives one, and the playlists read from playlist files.
class MemoryPlaylist : public LibraryPlaylist {
public:
    explicit MemoryPlaylist(std::string name = "") : name_(std::move(name)) {}
    std::string name() override { return name_; }
    void setName(std::string n) { name_ = std::move(n); }
    int count() override { return static_cast<int>(items_.size()); }
    void clear() override { items_.clear(); }
    // An index outside 0..count() appends.
    void insertItem(int index, std::shared_ptr<MediaItem> item) override;
    // Null for an index outside the playlist.
    std::shared_ptr<MediaItem> Item(int index) override;

private:
    std::string name_;
    std::vector<std::shared_ptr<MediaItem>> items_;
};

class HiddenPlayerSettings {
public:
    bool autoStart() const { return autoStart_; }
    void setAutoStart(bool a) { autoStart_ = a; }
    bool mute() const { return mute_; }
    void setMute(bool m) { mute_ = m; }
    // Nothing restricts what the program may read or write in its files.
    std::string mediaAccessRights() const { return "Full"; }
    bool requestMediaAccessRights(const std::string& /*rights*/) { return true; }

private:
    bool autoStart_ = true;
    bool mute_ = false;
};

class HiddenPlayer : public Control {
public:
    using PlaylistReader = std::function<std::vector<std::string>(const std::string& path)>;

    HiddenPlayer();
    const char* typeName() const override { return "HiddenPlayer"; }

    // The media layer, the library (may be null) and the playlist-file reader
    // (may be empty: playlist files then read as empty).
    void attach(MediaReader* reader, PlaylistCollection* library, PlaylistReader readPlaylist);
    MediaReader* reader() const { return reader_; }

    // A media item for path. Without a media layer: an item that knows only
    // its path.
    std::shared_ptr<MediaItem> newMedia(const std::string& path);

    PlaylistCollection* playlistCollection() const { return library_; }

    // Reads the playlist file url; the playlist is called name. Items are
    // made when first asked for.
    std::shared_ptr<LibraryPlaylist> newPlaylist(const std::string& name, const std::string& url);

    // The hidden player holds no open media: nothing to let go of.
    void close() {}

    HiddenPlayerSettings settings;
    // An empty, unnamed playlist at start.
    std::shared_ptr<LibraryPlaylist> currentPlaylist;

private:
    MediaReader* reader_ = nullptr;
    PlaylistCollection* library_ = nullptr;
    PlaylistReader readPlaylist_;
};

}  // namespace tarvolin
