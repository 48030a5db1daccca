// Export of the collection to the player library: the library playlist
// named after the collection is filled with every track in track order,
// each item carrying the track's rating, size, bit rate and tags. The log
// tells how many tracks' ratings in their files named another class.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "app/program.h"
#include "media/media_files.h"
#include "toolkit/runtime.h"

namespace tarvolin {

namespace {

const char* const kCrLf = "\r\n";

// The class a rating found in a file stands for when it is compared with
// the class about to be written: 0, 1, 2-25, 26-50, 51-75, 76-99. A value
// outside 0 to 99 stays as it is, and so matches no class.
std::int64_t comparedClass(std::int64_t r) {
    if (r < 0 || r > 99) return r;
    if (r <= 1) return r;
    if (r <= 25) return 2;
    if (r <= 50) return 3;
    if (r <= 75) return 4;
    return 5;
}

// A Currency as plain decimal text ("3.5", "0.25", "12").
std::string decimalText(Currency value) {
    std::string text = Trim(Str(value));
    if (text.rfind(".", 0) == 0) text.insert(0, "0");
    return text;
}

}  // namespace

void MediaFiles::Make_WMP_Playlist(const std::string& name) {
    HiddenPlayer& player = app.Form1.WindowsMediaPlayer2;
    PlaylistCollection* library = player.playlistCollection();
    if (!library) return;

    const std::vector<std::shared_ptr<LibraryPlaylist>> found = library->getByName(name);
    if (found.empty()) {
        player.currentPlaylist = library->newPlaylist(name);
    } else if (found.size() == 1) {
        const int answer = app.dialogs().MsgBox(std::string("Υπάρχει ήδη τέτοια συλλογή. Να δημιουργηθεί νέα με το ίδιο όνομα; ") +
                                                    kCrLf + " This Collection allready exists. Create New one with the same name?",
                                                mb::YesNo + mb::Question);
        if (answer == mb::Yes) {
            player.currentPlaylist = library->newPlaylist(name);
        } else {
            // The playlist of that name is filled anew: the one the player
            // holds now may be another library playlist or a playlist file,
            // neither of which may be written over.
            player.currentPlaylist = found.front();
        }
    } else {
        player.currentPlaylist = found.front();
    }
}

void MediaFiles::Save_As_WMP_Playlist(const std::string& name) {
    Form1& f = app.Form1;
    ModuleState& s = app.state;
    CollectionStore& store = app.collection;
    CollectionData& d = store.d;
    MessageLoop& loop = app.loop();
    HiddenPlayer& player = f.WindowsMediaPlayer2;

    const std::string question =
        "Θέλεtε να σώσετε την παρούσα συλλογή ως συλλογή του WindowsMediaPlayer υπό το όνομα \"" + name + "\"" +
        "Would you like to save the current collection as a WindowsMediaPlayer Collection under the name \"" + name +
        "\"";
    if (app.dialogs().MsgBox(question, mb::YesNo + mb::Question, "Δημιουργία Συλλογής - Create Collection") != mb::Yes)
        return;

    const std::string failed = "-> Αποτυχία εγγραφής της συλλογής στη βιβλιοθήκη του προγράμματος: \"" + name +
                               "\" - Failed to write the collection into the player library: \"" + name + "\"";
    // Without a player library there is nowhere to keep the playlist.
    PlaylistCollection* library = player.playlistCollection();
    if (!library) {
        store.logLine(failed);
        return;
    }

    Make_WMP_Playlist(name);
    const std::shared_ptr<LibraryPlaylist> playlist = player.currentPlaylist;
    // The entries are gathered first and the playlist changed only once all
    // of them are: a cancel or a shutdown meanwhile leaves it as it was.
    std::vector<std::pair<std::shared_ptr<MediaItem>, int>> gathered;
    std::int64_t changes = 0;
    bool wantFull = false;
    const int rows = f.List2.ListCount();
    const std::int64_t total = rows - 1;

    for (int i = 0; i < rows; ++i) {
        const auto at = static_cast<std::size_t>(i);
        const int cls = d.hasEntry(i) ? validClass(d.TrackClass[at]) : 0;
        const std::shared_ptr<MediaItem> media = player.newMedia(f.List2.List(i));

        if (player.settings.mediaAccessRights() == "Read") wantFull = true;
        const bool mayCompare = !wantFull || player.settings.requestMediaAccessRights("Full");
        if (mayCompare) {
            const std::string stored = media->getItemInfo("UserRating");
            if (IsNumeric(stored)) {
                // A value too large for a whole number names no class either.
                const auto r = tryCLng(Val(stored));
                if (!r || comparedClass(*r) != cls) ++changes;
            }
        }
        gathered.emplace_back(media, cls);

        if (i % 30 == 0 || i > total - 50) store.Show_Progress(i, total, 1);

        loop.DoEvents();
        if (s.AbortKey == 27) {
            s.AbortKey = 0;
            f.Text2[0].prependLine("Ακυρώθηκε - Canceled");
            player.close();
            return;
        }
    }

    playlist->clear();
    for (int i = 0; i < rows; ++i) {
        const auto at = static_cast<std::size_t>(i);
        const auto& [media, cls] = gathered[at];
        playlist->insertItem(i, media);
        if (const std::shared_ptr<MediaItem> entry = playlist->Item(i); entry && d.hasEntry(i)) {
            // An attribute the library refuses is left out; the rest are kept.
            if (cls > 0) entry->setItemInfo("UserRating", userRatingOfClass(cls));
            if (d.TrackSize[at] > Currency{}) entry->setItemInfo("Filesize", decimalText(d.TrackSize[at]));
            if (d.TrackBitrate[at] > 0) entry->setItemInfo("Bitrate", std::to_string(d.TrackBitrate[at]));
            if (!d.TrackArtist[at].empty()) entry->setItemInfo("Artist", d.TrackArtist[at]);
            if (!d.TrackGenre[at].empty()) entry->setItemInfo("Genre", d.TrackGenre[at]);
            if (!d.TrackAlbum[at].empty()) entry->setItemInfo("Album", d.TrackAlbum[at]);
            if (!d.TrackTitle[at].empty()) entry->setItemInfo("Title", d.TrackTitle[at]);
            if (!d.TrackYear[at].empty()) entry->setItemInfo("Year", d.TrackYear[at]);
        }
    }

    player.close();
    // The playlist's file is written now; one that could not be written is
    // told, never counted as done.
    if (!library->flush()) {
        store.logLine(failed);
        return;
    }
    f.Text2[0].prependLine(TimeText(loop.now()) + "--> Αλλαγές - Changes : " + std::to_string(changes));
}

}  // namespace tarvolin
