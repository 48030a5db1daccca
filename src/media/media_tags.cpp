// Writing the track information editor's tags into the media file and into
// the edited track's tables.
#include <array>
#include <utility>
#include <vector>

#include "app/program.h"
#include "media/media_files.h"
#include "toolkit/runtime.h"

namespace tarvolin {

namespace {

// The tags in the order they are written: the value's place in TagValues,
// the name whose write protection is tested and the name written.
struct TagSlot {
    std::size_t value;
    const char* tested;
    const char* written;
};

constexpr std::array<TagSlot, 6> kTagSlots{{
    {0, "Title", "Title"},
    {1, "Artist", "Artist"},
    {2, "Album", "Album"},
    {3, "WM/Year", "Year"},
    {4, "Comment", "Comment"},
    {5, "Genre", "Genre"},
}};

constexpr std::size_t kGenre = 5;
// The genre box's index when no genre is chosen: the genre is left alone.
const char* const kNoGenre = "-1";

}  // namespace

std::string MediaFiles::writeFailure(const std::string& name, const std::string& path) {
    return "Αποτυχία εγγραφής του \"" + name + "\" στο αρχείο - Failed to write \"" + name + "\" into the file: " + path;
}

void MediaFiles::Save_Media_Tags(std::string& Path, std::int32_t& Err) {
    Form1& f = app.Form1;
    CollectionData& d = app.collection.d;
    const std::array<std::string, 7>& values = app.state.TagValues;
    HiddenPlayer& player = f.WindowsMediaPlayer2;
    auto fail = [&](const std::string& description) {
        Err = -1;
        app.collection.logLine("-> " + description);
    };
    const bool genreChosen = values[kGenre] != kNoGenre;

    const std::string rights = UCase(player.settings.mediaAccessRights());
    if (rights != "READ" || player.settings.requestMediaAccessRights("Full")) {
        const std::shared_ptr<MediaItem> item = player.newMedia(Path);
        // One change of the file, so that a kill leaves the old tags or the
        // new ones, never some of each.
        std::vector<std::pair<std::string, std::string>> written;
        for (const TagSlot& tag : kTagSlots) {
            if (tag.value == kGenre && !genreChosen) continue;
            if (item->isReadOnlyItem(tag.tested)) continue;
            written.emplace_back(tag.written, values[tag.value]);
        }
        for (const std::string& name : item->setItemInfos(written)) fail(writeFailure(name, Path));
        // A file that takes none of the tags (missing, write-protected, or
        // of a kind that holds no tags) is a failed save, not a quiet one.
        if (written.empty()) {
            fail("Το αρχείο δεν δέχεται ετικέτες - The file cannot take tags: " + Path);
        }
    }
    player.close();

    const int i = findExactPath(f.List2, Path);
    if (i < 0 || !d.hasEntry(i)) return;
    const auto at = static_cast<std::size_t>(i);
    d.TrackTitle[at] = values[0];
    d.TrackArtist[at] = values[1];
    d.TrackAlbum[at] = values[2];
    d.TrackYear[at] = values[3];
    if (genreChosen) d.TrackGenre[at] = values[kGenre];
    // The edited track's records are written at the next save.
    d.TrackSaved[at] = false;
    d.CollectionSaved = false;
}

}  // namespace tarvolin
