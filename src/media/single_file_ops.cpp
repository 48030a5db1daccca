// Copying, moving and deleting one file at a time, deleting a collection
// with its part files, and releasing the file a player holds.
#include <sys/stat.h>
#include <unistd.h>

#include "app/program.h"
#include "collection/store_files.h"
#include "media/media_files.h"
#include "toolkit/durable_file.h"

namespace tarvolin {

namespace {

// What a released player is left loading: a name that never exists.
const char* const kNeverExisting = "never_existed_non_existing.mp3";

// Both paths name one file: the same device and inode (links included).
bool sameFile(const std::string& a, const std::string& b) {
    struct stat sa {}, sb {};
    if (::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0) return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

// Something (a file, a link, even a dangling one) stands at path.
bool present(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

// Something stands at path that is not a regular file: a folder, a
// device, a pipe, a dangling link. No copy, move or delete touches it.
bool presentButNoFile(const std::string& path) {
    struct stat st {};
    return present(path) && (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode));
}

// Sends a file to the desktop's trash. Nothing there is nothing to do.
bool trashFile(Program& app, const std::string& path) {
    if (!present(path)) return true;
    std::string error;
    return app.desktop().moveToTrash(path, &error);
}

// Deletes a file for good; a folder is never removed here.
bool deleteForGood(const std::string& path) {
    return !path.empty() && ::unlink(path.c_str()) == 0;
}

}  // namespace

void MediaFiles::File_Copy_Move_Delete(const std::string& Source, const std::string& Destination,
                                       std::int32_t Operation, std::int32_t& Failed) {
    if ((Operation == 0 || Operation == 1) && presentButNoFile(Source)) {
        refuseNoFile(Source);
        Failed = 1;
        return;
    }
    if (Operation == 0 || Operation == 1) {
        if (Source == Destination || sameFile(Source, Destination)) {
            app.collection.logLine("->Το αρχείο προορισμού είναι το ίδιο με το αρχείο προέλευσης " + Source + " <-> " +
                             Destination + " . Source file is the same with destination file.");
            Failed = -1;
            return;
        }
        // The copy goes through a temporary name beside the destination, so
        // a failed copy leaves neither a half-written file nor a damaged one.
        if (!Source.empty() && storefiles::fileSize(Source) >= 0 && durable::copyFile(Source, Destination)) {
            app.collection.logLine("-> " + Source + " ---> " + Destination + " ");
        } else {
            Failed = 1;
            app.collection.logLine("-> " + Source + " XXX αδυναμία αντιγραφής σε - failed to copy to ---> " + Destination + " ");
            if (Operation == 1) return;
        }
    }
    if (Operation == 1 || Operation == 2) {
        std::int32_t deleted = 0;
        // In the automatic video mode a file moved while it plays goes on
        // playing: nothing locks it, and its player is left alone.
        const bool keepsPlaying =
            Operation == 1 && app.state.VideoMode == 1 && !Source.empty() && Source == app.collection.d.CurrentFile;
        if (keepsPlaying) {
            if (!removeFile(Source)) deleted = -1;
        } else {
            Delete_File_Or_Collection(Source, deleted);
        }
        if (deleted != 0) {
            Failed = 2;
            app.collection.logLine("-> XXX αδυναμία διαγραφής - failed to delete ---> " + Source);
        } else {
            Failed = 0;
            app.collection.logLine("-> διαγραφή - deleting ---> " + Source + " = XXX ");
        }
    }
}

void MediaFiles::Delete_File_Or_Collection(const std::string& Path, std::int32_t& Failed) {
    Failed = 0;
    auto remove = [&](const std::string& file) {
        if (!removeFile(file)) Failed = -1;
    };

    if (!Path.empty() && Path == app.collection.d.CurrentFile) {
        // Something that is no file is refused before its player is touched.
        if (!presentButNoFile(Path)) Operate_On_Playing_File(Path, Failed, kNeverExisting);
        remove(Path);
        return;
    }
    remove(Path);

    if (Right(Path, 4) == ".tlf") {
        // The part files are those of the collection file being deleted: a
        // collection other than the current one never takes the current
        // one's part files with it.
        const std::string tracks = CollectionStore::trackPartFileOf(Path);
        const std::string filters = CollectionStore::filterPartFileOf(Path);
        remove(tracks);
        remove(filters);
        remove(CollectionStore::backupOf(tracks));
        remove(CollectionStore::backupOf(filters));
        // The collection file's own backup stays.
    }
}

bool MediaFiles::removeFile(const std::string& Path) {
    if (presentButNoFile(Path)) {
        refuseNoFile(Path);
        return false;
    }
    return app.state.DeleteToRecycle ? trashFile(app, Path) : deleteForGood(Path);
}

void MediaFiles::refuseNoFile(const std::string& Path) {
    app.collection.logLine("-> Δεν είναι αρχείο και δεν αγγίζεται - Not a file, left untouched ---> " + Path);
}

void MediaFiles::Operate_On_Playing_File(const std::string& /*Path*/, std::int32_t& /*Failed*/,
                                         const std::string& LoadAfter) {
    ModuleState& s = app.state;
    // Busy keeps the play-state handlers out of what follows; a bulk run
    // that called us keeps its own Busy.
    BulkScope busy(s, BulkScope::Busy);

    // The player that holds the playing file: the video window's, the
    // compact window's or the main window's (nothing locks a file here, so
    // every mode releases its player).
    Player& player = app.playback.activePlayer();
    const double position = player.controls.currentPosition();
    const int state = player.playState();
    player.controls.stop();
    player.close();
    if (&player == &app.Form1.WindowsMediaPlayer1) app.collection.Load_Dump_Media(1);
    if (&player == &app.Form2.WindowsMediaPlayer1) app.collection.Load_Dump_Media(2);

    // The track displays of the file that goes.
    Form1& f = app.Form1;
    for (TextBox* box : {&f.Text1_0, &f.Text1_1, &f.Text1_2, &f.Text1_3, &f.Text1_4}) box->setText("");
    f.Combo1.setListIndex(-1);
    f.Picture1.setPicture("");
    if (PictureBox* art = app.Form4.Picture1.get(0)) art->setPicture("");
    // The editor fields are empty now: no edits are pending for any file.
    s.TagFile.clear();

    app.collection.Kill_Dump_Media();

    player.setURL(LoadAfter);
    player.controls.setCurrentPosition(position);
    if (state == playstate::Playing) {
        player.controls.play();
    } else {
        player.controls.pause();
    }
}

}  // namespace tarvolin
