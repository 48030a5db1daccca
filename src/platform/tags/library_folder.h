#pragma once
// The player library: a folder of .wpl files (UTF-8 XML), one per library
// playlist, named after its title. A second playlist of a title already
// there gets a file name of its own ("rock (2).wpl"). Items are `media`
// elements whose `src` is the file's absolute path; values given to an item
// through setItemInfo are kept as attributes of its element and never
// touch the media file itself.
//
// Changes are kept in memory and written when flush() is called, when the
// collection looks the folder up again, and when the collection goes.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/media.h"

namespace tarvolin {

class LibraryFolder : public PlaylistCollection {
public:
    // folder: the library folder (AppFolder + "tarvolin_library/"), made
    // when a playlist is first created. reader gives the media items behind
    // playlist entries read from disk; it may be null.
    LibraryFolder(std::string folder, MediaReader* reader);
    ~LibraryFolder() override;

    std::vector<std::shared_ptr<LibraryPlaylist>> getByName(const std::string& name) override;
    std::shared_ptr<LibraryPlaylist> newPlaylist(const std::string& name) override;
    bool flush() override;

    const std::string& folder() const { return folder_; }

    struct State;

private:
    std::shared_ptr<State> stateFor(const std::string& file);

    std::string folder_;
    MediaReader* reader_;
    // Playlists in use, by file path; the collection keeps them alive so
    // that every look-up sees the same contents.
    std::map<std::string, std::shared_ptr<State>> open_;
};

}  // namespace tarvolin
