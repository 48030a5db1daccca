// Import of playlist files (.wpl, .m3u, .wvx): the playlist replaces the
// collection or joins it, and every entry not yet in the collection becomes
// a track whose duration, bit rate, tags, size and class are taken from its
// media item at once. The collection menu runs it with a file dialog; adding
// files from folders hands it every playlist file it meets.
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "app/program.h"
#include "collection/store_files.h"
#include "media/media_files.h"
#include "toolkit/runtime.h"

namespace tarvolin {

namespace {

const char* const kCrLf = "\r\n";

bool isPlaylistEnding(const std::string& ending) {
    return ending == ".wpl" || ending == ".m3u" || ending == ".wvx";
}

// A name whose ending is one of the media types, in any letter case as the
// file lists match them.
bool hasMediaEnding(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return false;
    const std::string ending = LCase(path.substr(dot));
    const std::vector<std::string>& types = Playback::mediaExtensions();
    return std::find(types.begin(), types.end(), ending) != types.end();
}

// An entry that may become a track: a path without a NUL (every system
// call would see it cut short) with a media ending that names a regular
// file. A symbolic link is taken for the file it leads to, whose own name
// must have a media ending too, so that a link "x.mp3" to any file of the
// system is not. A path that names nothing is taken: it fails when it is
// played, like any missing file; a link that leads nowhere is not.
bool isMediaEntry(const std::string& url) {
    if (url.find('\0') != std::string::npos || !hasMediaEnding(url)) return false;
    struct stat st {};
    if (::lstat(url.c_str(), &st) != 0) return true;
    // A name that is no link is the file's own name, whose ending was
    // checked above: only a link needs the name it leads to.
    if (!S_ISLNK(st.st_mode)) return S_ISREG(st.st_mode);
    if (::stat(url.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    char* target = ::realpath(url.c_str(), nullptr);
    const bool media = target && hasMediaEnding(target);
    std::free(target);
    return media;
}

}  // namespace

void MediaFiles::Open_Merge_WMP_Playlist(bool merge, bool pathGiven, const std::string& newCollectionPathGiven,
                                         const std::string& playlistPathGiven) {
    Form1& f = app.Form1;
    ModuleState& s = app.state;
    CollectionStore& store = app.collection;
    CollectionData& d = store.d;
    MessageLoop& loop = app.loop();
    auto timeNow = [&] { return TimeText(loop.now()); };

    std::string newCollectionPath = newCollectionPathGiven;
    std::string playlistPath = playlistPathGiven;

    if (!pathGiven) {
        // The playlist file first: a cancelled dialog or a refused name
        // leaves the collection as it is.
        const std::string collections = s.AppFolder + "tarvolin_sylloges/";
        FileDialogRequest req;
        req.Filter = "Windows Media Player PlayLists (*.wpl,*.m3u,*.wvx) | *.wpl;*.m3u;*.wvx";
        req.InitDir = collections;
        req.DialogTitle = "Άνοιγμα Νέας Συλλογής - Open New Collection";
        req.FileName = "";
        req.Flags = 4096;
        if (!app.dialogs().ShowOpen(req) || req.FileName.empty()) return;
        playlistPath = req.FileName;
        if (!isPlaylistEnding(Right(playlistPath, 4))) {
            app.dialogs().MsgBox("Το όνομα πρέπει να τελειώνει σε [.wpl,.m3u,.wvx] should be the ending of the file",
                                 mb::OKOnly + mb::Exclamation);
            return;
        }
        std::string fileName;
        CollectionStore::File_Name_Of_Path(playlistPath, fileName);
        const std::string collectionPath = collections + storefiles::withoutExtension(fileName) + ".tlf";

        // The collection takes the playlist's name; another collection
        // stored under that name is not written over unasked.
        if (collectionPath != d.CollectionPath && storefiles::exists(collectionPath)) {
            const std::string question = "Υπάρχει ήδη η συλλογή \"" + collectionPath +
                                         "\". Να αντικατασταθεί από τη λίστα; " + kCrLf + "The collection \"" +
                                         collectionPath + "\" already exists. Replace it with the playlist?";
            if (app.dialogs().MsgBox(question, mb::YesNo + mb::Question) != mb::Yes) return;
        }

        if (!merge) {
            if (!d.CollectionSaved) store.Save_Collection(true, false);
            store.Reset_Collection(0);
            f.MultiPage1.setValue(0);
        } else {
            // Stored under a new name: every track is written at the next
            // save.
            d.TrackSaved.assign(d.TrackSaved.size(), false);
        }
        if (d.CollectionPath != collectionPath) d.CollectionSaved = false;
        d.CollectionPath = collectionPath;
        newCollectionPath = collectionPath;
    }

    // The hidden player reads the playlist file.
    HiddenPlayer& player = f.WindowsMediaPlayer2;
    player.settings.setAutoStart(false);
    player.currentPlaylist = player.newPlaylist(newCollectionPath, playlistPath);
    const std::shared_ptr<LibraryPlaylist> playlist = player.currentPlaylist;
    const int n = playlist->count();
    if (n == 0) return;

    const std::int64_t before = f.List2.ListCount();
    bool refused = false;
    std::string skippedLine;  // the count of entries that are no media files
    if (!pathGiven) {
        refused = merge ? before + n - 2 > kMaxTracks : n - 1 > kMaxTracks;
        if (!refused) store.Make_Invisible();
    }

    if (!refused) {
        const std::int64_t total = before + n - 1;
        std::int64_t added = 0, done = 0;
        std::int32_t doubles = 0;
        std::int64_t skipped = 0;
        ListBox& classColumn = f.List3_0[1];
        ListBox& timeColumn = f.List3_0[2];
        ListBox& sizeColumn = f.List3_0[3];
        ListBox& bitrateColumn = f.List3_0[4];
        TextBox& status = pathGiven ? f.Text2[1] : f.Text2[0];
        const std::string heading = "-> Προστείθονται αρχεία από " + playlistPath + ".Παρακαλώ περιμένετε... " +
                                    "- Adding files from " + playlistPath + ". Please wait...";

        for (int j = 0; j < n; ++j) {
            const std::shared_ptr<MediaItem> item = playlist->Item(j);
            const std::string url = item ? item->sourceURL() : std::string();
            if (url.empty() || url == " ") {
                ++doubles;
            } else if (!isMediaEntry(url)) {
                ++skipped;
            } else if (findExactPath(f.List2, url) >= 0) {
                ++doubles;
            } else if (appendTrack(url)) {
                const int t = f.List2.ListCount() - 1;
                const auto at = static_cast<std::size_t>(t);

                const Currency seconds = durationOf(item->duration());
                d.TrackDuration[at] = seconds;
                d.TotalDuration += seconds;
                timeColumn.setList(t, storefiles::durationText(seconds));

                const std::string bitrate = item->getItemInfo("Bitrate");
                if (IsNumeric(bitrate)) {
                    if (const auto kbps = tryCInt(Val(bitrate) / 1024.0)) d.TrackBitrate[at] = *kbps;
                }
                bitrateColumn.setList(t, bitrate.empty() ? "000" : Format(Val(bitrate) / 1024.0, "#0"));

                d.TrackArtist[at] = item->getItemInfo("Artist");
                d.TrackAlbum[at] = item->getItemInfo("Album");
                d.TrackGenre[at] = item->getItemInfo("Genre");
                d.TrackTitle[at] = item->getItemInfo("Title");
                d.TrackYear[at] = item->getItemInfo("WM/Year");

                const Currency megabytes = megabytesOf(item->getItemInfo("Filesize"));
                d.TrackSize[at] = megabytes;
                d.TotalSize += megabytes;
                sizeColumn.setList(t, storefiles::sizeText(megabytes));

                // No rating, or none that names a class: unclassified.
                const int cls = std::max(0, classOfUserRating(item->getItemInfo("UserRating")));
                d.TrackClass[at] = static_cast<std::int16_t>(cls);
                classColumn.setList(t, storefiles::classLetter(cls));
                // The new track was counted as unclassified.
                const auto c = static_cast<std::size_t>(cls);
                d.ClassCount[0] -= 1;
                d.ClassCount[c] += 1;
                d.ClassSize[c] += megabytes;
                d.ClassDuration[c] += seconds;

                d.TrackInfoRead[at] = true;
                d.TrackSaved[at] = false;
                ++added;
            }

            status.setText(timeNow() + heading + kCrLf + "Νέα αρχεία - New Files :" + Str(added) + kCrLf +
                           "Διπλά αρχεία που δεν προστέθηκαν [υπάρχουν στη συλλογή] - Double Files that were not "
                           "added [allready in Collection]:" +
                           Str(doubles));
            loop.DoEvents();
            if (!pathGiven) {
                ++done;
                if (done % 40 == 0 || done > total - 50) store.Show_Progress(done, total, 1);
            }
        }

        if (skipped > 0) {
            skippedLine = "-> Παραλείφθηκαν από " + playlistPath + " καταχωρήσεις που δεν είναι αρχεία πολυμέσων :" +
                          Str(skipped) + " - Entries of " + playlistPath + " skipped as no media files :" +
                          Str(skipped);
        }
        if (pathGiven) {
            if (!skippedLine.empty()) store.logLine(skippedLine);
            return;
        }

        d.TrackCount = f.List2.ListCount();
        // A current track beyond the rows starts again at the first.
        if (d.CurrentTrack < 0 || d.CurrentTrack >= d.TrackCount) d.CurrentTrack = 0;
        if (d.CurrentTrack < f.List2.ListCount()) {
            f.List2.setListIndex(d.CurrentTrack);
            for (ListBox& column : f.List3_0) column.setListIndex(d.CurrentTrack);
        }
    }

    store.Make_Visible();
    d.CollectionSaved = false;
    store.Calculate_Ratings();
    // Told after the recount, whose progress takes the whole log box.
    if (refused) f.Text2[0].prependLine(timeNow() + "--> Δεν υπάρχει άλλος χώρος - No more space");
    if (!skippedLine.empty()) store.logLine(skippedLine);
    d.ClassLabelsDirty = true;
    store.logPathsLeftOut();
    // The display is shown for the first row with that row's own class, so
    // its class letter stays what it is.
    store.showFirstTrackRating();
    app.playback.Command3_Click(0);
}

}  // namespace tarvolin
