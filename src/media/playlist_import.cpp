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

// The playlist file, chosen in the dialog; false when the dialog is
// cancelled or the name has no playlist ending (told in a box).
bool pickPlaylistFile(Program& app, const std::string& collections, std::string& playlistPath) {
    FileDialogRequest req;
    req.Filter = "Windows Media Player PlayLists (*.wpl,*.m3u,*.wvx) | *.wpl;*.m3u;*.wvx";
    req.InitDir = collections;
    req.DialogTitle = "Άνοιγμα Νέας Συλλογής - Open New Collection";
    req.FileName = "";
    req.Flags = 4096;
    if (!app.dialogs().ShowOpen(req) || req.FileName.empty()) return false;
    playlistPath = req.FileName;
    if (!isPlaylistEnding(Right(playlistPath, 4))) {
        app.dialogs().MsgBox("Το όνομα πρέπει να τελειώνει σε [.wpl,.m3u,.wvx] should be the ending of the file",
                             mb::OKOnly + mb::Exclamation);
        return false;
    }
    return true;
}

// The playlist file first: a cancelled dialog or a refused name leaves the
// collection as it is. Then the collection the playlist becomes, named after
// it: the current one saved and emptied, or kept to be merged into.
bool choosePlaylistCollection(Program& app, bool merge, std::string& newCollectionPath, std::string& playlistPath) {
    CollectionStore& store = app.collection;
    CollectionData& d = store.d;
    const std::string collections = app.state.AppFolder + "tarvolin_sylloges/";
    if (!pickPlaylistFile(app, collections, playlistPath)) return false;
    std::string fileName;
    CollectionStore::File_Name_Of_Path(playlistPath, fileName);
    const std::string collectionPath = collections + storefiles::withoutExtension(fileName) + ".tlf";

    // The collection takes the playlist's name; another collection
    // stored under that name is not written over unasked.
    if (collectionPath != d.CollectionPath && storefiles::exists(collectionPath)) {
        const std::string question = "Υπάρχει ήδη η συλλογή \"" + collectionPath +
                                     "\". Να αντικατασταθεί από τη λίστα; " + kCrLf + "The collection \"" +
                                     collectionPath + "\" already exists. Replace it with the playlist?";
        if (app.dialogs().MsgBox(question, mb::YesNo + mb::Question) != mb::Yes) return false;
    }

    if (!merge) {
        if (!d.CollectionSaved) store.Save_Collection(true, false);
        store.Reset_Collection(0);
        app.Form1.MultiPage1.setValue(0);
    } else {
        // Stored under a new name: every track is written at the next
        // save.
        d.TrackSaved.assign(d.TrackSaved.size(), false);
    }
    if (d.CollectionPath != collectionPath) d.CollectionSaved = false;
    d.CollectionPath = collectionPath;
    newCollectionPath = collectionPath;
    return true;
}

// The new last track takes the duration, bit rate, tags, size and class of
// its playlist item, in its tables, its columns and the totals.
void takeItemAttributes(Program& app, MediaItem& item) {
    Form1& f = app.Form1;
    CollectionData& d = app.collection.d;
    ListBox& classColumn = f.List3_0[1];
    ListBox& timeColumn = f.List3_0[2];
    ListBox& sizeColumn = f.List3_0[3];
    ListBox& bitrateColumn = f.List3_0[4];
    const int t = f.List2.ListCount() - 1;
    const auto at = static_cast<std::size_t>(t);

    const Currency seconds = MediaFiles::durationOf(item.duration());
    d.TrackDuration[at] = seconds;
    d.TotalDuration += seconds;
    timeColumn.setList(t, storefiles::durationText(seconds));

    const std::string bitrate = item.getItemInfo("Bitrate");
    if (IsNumeric(bitrate)) {
        if (const auto kbps = tryCInt(Val(bitrate) / 1024.0)) d.TrackBitrate[at] = *kbps;
    }
    bitrateColumn.setList(t, bitrate.empty() ? "000" : Format(Val(bitrate) / 1024.0, "#0"));

    d.TrackArtist[at] = item.getItemInfo("Artist");
    d.TrackAlbum[at] = item.getItemInfo("Album");
    d.TrackGenre[at] = item.getItemInfo("Genre");
    d.TrackTitle[at] = item.getItemInfo("Title");
    d.TrackYear[at] = item.getItemInfo("WM/Year");

    const Currency megabytes = MediaFiles::megabytesOf(item.getItemInfo("Filesize"));
    d.TrackSize[at] = megabytes;
    d.TotalSize += megabytes;
    sizeColumn.setList(t, storefiles::sizeText(megabytes));

    // No rating, or none that names a class: unclassified.
    const int cls = std::max(0, MediaFiles::classOfUserRating(item.getItemInfo("UserRating")));
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
}

// What the entries of a playlist came to.
struct EntryCounts {
    std::int64_t added = 0;
    std::int32_t doubles = 0;  // empty entries too
    std::int64_t skipped = 0;  // no media files
};

// One entry of the playlist becomes a new track, or is counted as a double
// (an empty entry too) or as no media file.
void addEntry(MediaFiles& media, const std::shared_ptr<MediaItem>& item, EntryCounts& counts) {
    const std::string url = item ? item->sourceURL() : std::string();
    if (url.empty() || url == " ") {
        ++counts.doubles;
    } else if (!isMediaEntry(url)) {
        ++counts.skipped;
    } else if (MediaFiles::findExactPath(media.app.Form1.List2, url) >= 0) {
        ++counts.doubles;
    } else if (media.appendTrack(url)) {
        takeItemAttributes(media.app, *item);
        ++counts.added;
    }
}

// Every entry in turn, with the counts so far in the status box (the
// folder page's one while adding files from folders) and, for an opened
// playlist, the progress over `total`.
EntryCounts addEntries(MediaFiles& media, LibraryPlaylist& playlist, int n, std::int64_t total, bool pathGiven,
                       const std::string& playlistPath) {
    Program& app = media.app;
    Form1& f = app.Form1;
    MessageLoop& loop = app.loop();
    TextBox& status = pathGiven ? f.Text2[1] : f.Text2[0];
    const std::string heading = "-> Προστείθονται αρχεία από " + playlistPath + ".Παρακαλώ περιμένετε... " +
                                "- Adding files from " + playlistPath + ". Please wait...";
    EntryCounts counts;
    std::int64_t done = 0;
    for (int j = 0; j < n; ++j) {
        addEntry(media, playlist.Item(j), counts);
        status.setText(TimeText(loop.now()) + heading + kCrLf + "Νέα αρχεία - New Files :" + Str(counts.added) +
                       kCrLf +
                       "Διπλά αρχεία που δεν προστέθηκαν [υπάρχουν στη συλλογή] - Double Files that were not "
                       "added [allready in Collection]:" +
                       Str(counts.doubles));
        loop.DoEvents();
        if (!pathGiven) {
            ++done;
            if (done % 40 == 0 || done > total - 50) app.collection.Show_Progress(done, total, 1);
        }
    }
    return counts;
}

// The log line of the entries skipped as no media files; empty when none was.
std::string skippedEntriesLine(const std::string& playlistPath, std::int64_t skipped) {
    if (skipped == 0) return {};
    return "-> Παραλείφθηκαν από " + playlistPath + " καταχωρήσεις που δεν είναι αρχεία πολυμέσων :" + Str(skipped) +
           " - Entries of " + playlistPath + " skipped as no media files :" + Str(skipped);
}

// The track count follows the rows; a current track beyond them starts
// again at the first, and the lists select it.
void selectCurrentTrack(Program& app) {
    Form1& f = app.Form1;
    CollectionData& d = app.collection.d;
    d.TrackCount = f.List2.ListCount();
    if (d.CurrentTrack < 0 || d.CurrentTrack >= d.TrackCount) d.CurrentTrack = 0;
    if (d.CurrentTrack < f.List2.ListCount()) {
        f.List2.setListIndex(d.CurrentTrack);
        for (ListBox& column : f.List3_0) column.setListIndex(d.CurrentTrack);
    }
}

// The opened collection shown, counted and told: a playlist too long for
// the collection, the entries skipped, the paths left out; then the first
// row's rating and the playback of the current track.
void finishOpenedPlaylist(Program& app, bool refused, const std::string& skippedLine) {
    CollectionStore& store = app.collection;
    CollectionData& d = store.d;
    store.Make_Visible();
    d.CollectionSaved = false;
    store.Calculate_Ratings();
    // Told after the recount, whose progress takes the whole log box.
    if (refused) app.Form1.Text2[0].prependLine(TimeText(app.loop().now()) + "--> Δεν υπάρχει άλλος χώρος - No more space");
    if (!skippedLine.empty()) store.logLine(skippedLine);
    d.ClassLabelsDirty = true;
    store.logPathsLeftOut();
    // The display is shown for the first row with that row's own class, so
    // its class letter stays what it is.
    store.showFirstTrackRating();
    app.playback.Command3_Click(0);
}

}  // namespace

void MediaFiles::Open_Merge_WMP_Playlist(bool merge, bool pathGiven, const std::string& newCollectionPathGiven,
                                         const std::string& playlistPathGiven) {
    Form1& f = app.Form1;
    CollectionStore& store = app.collection;
    std::string newCollectionPath = newCollectionPathGiven;
    std::string playlistPath = playlistPathGiven;
    if (!pathGiven && !choosePlaylistCollection(app, merge, newCollectionPath, playlistPath)) return;

    // The hidden player reads the playlist file.
    HiddenPlayer& player = f.WindowsMediaPlayer2;
    player.settings.setAutoStart(false);
    player.currentPlaylist = player.newPlaylist(newCollectionPath, playlistPath);
    const std::shared_ptr<LibraryPlaylist> playlist = player.currentPlaylist;
    const int n = playlist->count();
    if (n == 0) return;

    // An opened playlist longer than the collection holds adds nothing.
    const std::int64_t before = f.List2.ListCount();
    bool refused = false;
    if (!pathGiven) {
        refused = merge ? before + n - 2 > kMaxTracks : n - 1 > kMaxTracks;
        if (!refused) store.Make_Invisible();
    }

    std::string skippedLine;
    if (!refused) {
        const EntryCounts counts = addEntries(*this, *playlist, n, before + n - 1, pathGiven, playlistPath);
        skippedLine = skippedEntriesLine(playlistPath, counts.skipped);
        // Adding files from folders finishes the collection itself.
        if (pathGiven) {
            if (!skippedLine.empty()) store.logLine(skippedLine);
            return;
        }
        selectCurrentTrack(app);
    }
    finishOpenedPlaylist(app, refused, skippedLine);
}

}  // namespace tarvolin
