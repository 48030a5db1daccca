// Copying, moving and deleting the media files of the collection by class,
// by selection or from the filtered table: the bulk worker that every file
// command goes through, and its confirmations.
#include <set>

#include "app/program.h"
#include "collection/store_files.h"
#include "library/library.h"

namespace tarvolin {

namespace {

// Where a table line keeps its track number (characters 8 to 13) and the
// file name field of its row (60 characters, after the track number, the
// two numbers' "|" and the nine fields before it).
constexpr int kTrackNumberStart = 8;
constexpr int kTrackNumberLength = 6;
constexpr int kFileFieldStart = 204;
constexpr int kFileFieldWidth = 60;

// The class letter of the class column and the class code that a
// MoveClassCode 1..6 stands for.
struct ClassOfCode {
    const char* letter;
    int code;
};
constexpr ClassOfCode kClassOfCode[7] = {
    {"", 0}, {"C", 2}, {"B", 3}, {"A", 4}, {"X", 1}, {"-", 0}, {"S", 5},
};

// Takes track t out of the collection: its table entries, its list rows,
// and CurrentTrack keeps naming its own track.
void removeTrack(Program& app, std::int32_t t) {
    Form1& f = app.Form1;
    CollectionData& d = app.collection.d;
    app.collection.Remove_Track_Data(t);
    f.List2.RemoveItem(t);
    for (ListBox& column : f.List3_0) {
        if (t < column.ListCount()) column.RemoveItem(t);
    }
    if (d.CurrentTrack > t) d.CurrentTrack -= 1;
}

// The track a table line names, or -1 when the line names no row of List2
// or its file name is not that row's.
std::int32_t trackOfLine(Program& app, const std::string& line) {
    const std::string number = Mid(line, kTrackNumberStart, kTrackNumberLength);
    if (!IsNumeric(number)) return -1;
    const double value = Val(number) - 1;
    const ListBox& list2 = app.Form1.List2;
    if (value < 0 || value >= list2.ListCount() || value != static_cast<std::int32_t>(value)) return -1;
    const auto track = static_cast<std::int32_t>(value);
    std::string name;
    CollectionStore::File_Name_Of_Path(list2.List(track), name);
    if (Mid(line, kFileFieldStart, kFileFieldWidth) != PadRight(name, kFileFieldWidth)) return -1;
    return track;
}

// One run of Copy_Move_Delete_Files: the rows it walks and what it has
// counted so far.
struct FileRun {
    // The filtered table walked, from its third line; none for the track list.
    ListBox* table = nullptr;
    int firstRow = 0;
    int lastRow = -1;
    // Only the selected lines of the table are taken when any is selected.
    bool anyLineSelected = false;
    bool report = false;
    std::int64_t tries = 0, successes = 0, processed = 0;
    Currency sizeTotal{};
    std::int64_t total = 0;
    // Destinations written in this run: a second file of the same name
    // would overwrite the first one's copy.
    std::set<std::string> destinations;
};

// The rows of the run: with List -1 those of the enabled one of List5 and
// List4, else those of the track list. False when List -1 finds neither
// table enabled.
bool chooseRows(Form1& f, std::int32_t List, FileRun& run) {
    if (List == -1) {
        if (f.List5.Enabled()) {
            run.table = &f.List5;
        } else if (f.List4.Enabled()) {
            run.table = &f.List4;
        } else {
            return false;
        }
    }
    run.firstRow = run.table ? 2 : 0;
    run.lastRow = (run.table ? run.table->ListCount() : f.List2.ListCount()) - 1;
    if (run.table) {
        for (int j = run.firstRow; j <= run.lastRow && !run.anyLineSelected; ++j)
            run.anyLineSelected = run.table->Selected(j);
    }
    return true;
}

// The track that a row of the run stands for, or -1 when the row is not
// taken: a table line not selected, without a track number or naming no
// track of the list (logged), or a list row not selected or of another
// class than Class asks for.
std::int32_t trackOfRow(Program& app, const FileRun& run, std::int32_t Class, int row) {
    Form1& f = app.Form1;
    const CollectionData& d = app.collection.d;
    if (run.table) {
        if (run.anyLineSelected && !run.table->Selected(row)) return -1;
        const std::string line = run.table->List(row);
        if (!IsNumeric(Mid(line, kTrackNumberStart, kTrackNumberLength))) return -1;
        const std::int32_t track = trackOfLine(app, line);
        if (track < 0) {
            app.collection.logLine("-> Η γραμμή του πίνακα δεν αντιστοιχεί σε κομμάτι της λίστας - The table line does not "
                         "match a track of the list: " + Left(line, 60));
        }
        return track;
    }
    if (Class == -1) {
        if (!f.List2.Selected(row)) return -1;
    } else if (Class >= 1 && Class <= 6) {
        const ClassOfCode& c = kClassOfCode[Class];
        const bool letter = f.List3_0.has(1) && row < f.List3_0[1].ListCount() &&
                            f.List3_0[1].List(row) == c.letter;
        const bool code = d.hasEntry(row) && d.TrackClass[static_cast<std::size_t>(row)] == c.code;
        if (!letter && !code) return -1;
    }
    return row;
}

// What became of one track's file: flag is 0 when the operation succeeded,
// and stop asks for the current track's player to stop.
struct FileOutcome {
    std::int32_t flag = 0;
    bool stop = false;
};

// Copies (Operation 0) or moves (1) the file of track to the destination
// folder; the track then points to the new file, or a move without that
// takes it out of the collection.
FileOutcome copyOrMoveFile(Program& app, FileRun& run, std::int32_t track, const std::string& path,
                           std::int32_t Operation, bool wasCurrent) {
    const ModuleState& s = app.state;
    CollectionData& d = app.collection.d;
    FileOutcome out;
    std::string name;
    CollectionStore::File_Name_Of_Path(path, name);
    const std::string destination = s.DestFolder + name;
    if (!run.destinations.insert(destination).second) {
        out.flag = 1;
        app.collection.logLine("-> " + path + " XXX αδυναμία αντιγραφής σε - failed to copy to ---> " + destination +
                         " (άλλο αρχείο με το ίδιο όνομα - another file of the same name)");
    } else {
        app.media.File_Copy_Move_Delete(path, destination, Operation, out.flag);
    }
    const bool pointToNew = Operation == 0 ? s.FileCopyReference : s.FileMoveReference;
    if (out.flag == 0) {
        if (pointToNew) {
            app.Form1.List2.setList(track, destination);
            if (d.hasEntry(track)) d.TrackSaved[static_cast<std::size_t>(track)] = false;
        } else if (Operation == 1) {
            removeTrack(app, track);
        }
        if (Operation == 1 && wasCurrent) out.stop = true;
    }
    return out;
}

// Deletes the track from the collection, and its file from the disk when
// the options say so.
FileOutcome deleteFile(Program& app, std::int32_t track, const std::string& path, bool wasCurrent) {
    const ModuleState& s = app.state;
    FileOutcome out;
    if (!s.DeleteFromDisk) {
        removeTrack(app, track);
    } else {
        app.media.File_Copy_Move_Delete(path, "", 2, out.flag);
        if (out.flag == 0 || s.DeleteEvenOnDiskError) removeTrack(app, track);
    }
    out.stop = wasCurrent;
    return out;
}

// Copies, moves or deletes the file of one track, stops the player when
// the current track's file left, counts it and shows the progress. False
// when the cancel button was pressed.
bool fileTrack(Program& app, FileRun& run, std::int32_t track, std::int32_t Operation, bool& CurrentStopped) {
    ModuleState& s = app.state;
    const CollectionData& d = app.collection.d;
    ++run.tries;
    const std::string path = app.Form1.List2.List(track);
    const Currency size = d.hasEntry(track) ? KnownAmount(d.TrackSize[static_cast<std::size_t>(track)]) : Currency{};
    const bool wasCurrent = path == d.CurrentFile && track == d.CurrentTrack;
    FileOutcome out;
    if (Operation == 0 || Operation == 1) {
        out = copyOrMoveFile(app, run, track, path, Operation, wasCurrent);
    } else if (Operation == 2) {
        out = deleteFile(app, track, path, wasCurrent);
    }

    // The player of the current track stops, except in the automatic
    // video mode, which stops none.
    if (out.stop) {
        if (s.VideoMode != 1) app.playback.activePlayer().controls.stop();
        CurrentStopped = true;
    }

    if (out.flag == 0) {
        ++run.successes;
        run.sizeTotal += size;
    }
    ++run.processed;
    if (run.processed % 40 == 0 || run.processed > run.total - 50) app.collection.Show_Progress(run.processed, run.total, 1);

    // The cancel button.
    app.loop().DoEvents();
    if (s.AbortKey == 27) {
        s.AbortKey = 0;
        app.Form1.Text2[0].prependLine("Ακυρώθηκε - Canceled");
        return false;
    }
    return true;
}

// The tables follow the list after removals, and the current track stays
// one of its rows.
void settleTables(Program& app) {
    CollectionData& d = app.collection.d;
    const std::int32_t rows = app.Form1.List2.ListCount();
    if (d.TrackCount != rows) {
        d.TrackCount = rows;
        d.resizeTrackTables(rows);
    }
    if (d.CurrentTrack > rows - 1) d.CurrentTrack = rows > 0 ? rows - 1 : 0;
    if (d.CurrentTrack < 0) d.CurrentTrack = 0;
}

// Logs the tries, failures and successes and the amount of data handled,
// when files changed on the disk or the list points to new files.
void logSummary(Program& app, const FileRun& run, std::int32_t Operation) {
    const ModuleState& s = app.state;
    if (!((Operation == 2 && s.DeleteFromDisk) || s.FileCopyReference || s.FileMoveReference)) return;
    std::string amount;
    std::string unit;
    if (run.sizeTotal > Currency::fromInteger(1024)) {
        // Beyond what a Long holds the total is unknown.
        amount = Str(tryCLng(run.sizeTotal).value_or(0) / 1024);
        unit = "Gb";
    } else {
        amount = Str(run.sizeTotal);
        unit = "Mb";
    }
    app.collection.logLine("-> Προσπάθειες Αντιγραφής/Μετακίνησης/Διαγραφής - Copy/Move/Delete Tries: " + Str(run.tries) +
                     "\r\n. Αποτυχίες - Failures: " + Str(run.tries - run.successes) +
                     "\r\n. Επιτυχίες - Success :" + Str(run.successes));
    app.collection.logLine("-> Αντιγράφηκαν/Μετακινήθηκαν/Διαγράφησαν " + amount + unit + " have been copied/moved/deleted!");
}

// After a move, a delete or a copy that points to the new files: the
// totals, counts, play order and labels follow the list, and the
// collection is unsaved. The run's report is closed in any case.
void refreshAfterRun(Program& app, bool report, std::int32_t Operation) {
    CollectionStore& store = app.collection;
    if (Operation == 1 || Operation == 2 || app.state.FileCopyReference) {
        store.Calc_Favor_Totals();
        store.Etiketes_Synol_Songs();
        store.Show_Class_Counts();
        if (report) store.Report_File(0);
        store.Renumber_Play_Order();
        store.d.ClassLabelsDirty = true;
        store.Show_Class_Counts();
        store.d.CollectionSaved = false;
    } else if (report) {
        store.Report_File(0);
    }
}

}  // namespace

std::int64_t Library::moveClassCount(std::int32_t Which) const {
    const CollectionData& d = app.collection.d;
    if (Which == 0) return d.TrackCount;
    if (Which == -1) return app.Form1.List2.SelCount();
    if (Which >= 1 && Which <= 6) return d.ClassCount[static_cast<std::size_t>(kClassOfCode[Which].code)];
    return 0;
}

void Library::Copy_Move_Delete_Files(std::int32_t List, std::int32_t Class, std::int32_t& Operation, Currency Total,
                                     bool& Cancelled, bool& CurrentStopped) {
    ModuleState& s = app.state;
    Form1& f = app.Form1;

    BulkScope suspend(s, BulkScope::Timer);
    f.Text2[0].setText("");

    if (Operation == 1 || Operation == 2) {
        Confirm_Move_Delete(Operation, Cancelled);
        if (Cancelled) return;
    }

    s.Busy = true;
    // A copy or move needs its folder: a bare file name would land wherever
    // the program happens to run.
    if ((Operation == 0 || Operation == 1) && s.DestFolder.empty()) return;
    FileRun run;
    if (!chooseRows(f, List, run)) return;

    run.report = s.KeepReport == -1;
    if (run.report) app.collection.Report_File(-1);
    run.total = CLng(Total);

    for (int row = run.lastRow; row >= run.firstRow; --row) {
        const std::int32_t track = trackOfRow(app, run, Class, row);
        if (track < 0) continue;
        if (!fileTrack(app, run, track, Operation, CurrentStopped)) break;
    }

    settleTables(app);
    logSummary(app, run, Operation);
    refreshAfterRun(app, run.report, Operation);
    // Busy stays set: the calling command's scope gives it back.
}

void Library::Confirm_Move_Delete(std::int32_t Operation, bool& Cancelled) {
    const ModuleState& s = app.state;
    Dialogs& dialogs = app.dialogs();
    const std::string br = "\r\n";
    if (Operation == 1) {
        std::string question;
        if (!s.FileMoveReference) {
            question = "Η μετακίνηση άνευ Αναφοράς στη Νέα Θέση συνεπάγει κατάργηση των επιλεγμένων κομματιών από τη "
                       "λίστα. Θα συνεχίσετε; " + br +
                       "Mooving files without Pointing to the New Path, means also deleting the selected files from "
                       "the Collection. Will you procceed?" + br + br;
        } else {
            question = "Η μετακίνηση με Αναφορά στη Νέα θέση συνεπάγει αλλαγή των διαδρομών προς {" + s.DestFolder +
                       "} στη λίστα. Θα συνεχίσετε; " + br +
                       "Mooving files while Pointing to the New Path, means changing folders names towards {" +
                       s.DestFolder + "} of the selected'" + " of the selected files. Will you procceed?" + br + br;
        }
        if (dialogs.MsgBox(question, mb::YesNo + mb::Question) == mb::No) Cancelled = true;
        return;
    }
    if (Operation != 2) return;

    std::string question;
    if (s.DeleteFromDisk && !s.DeleteToRecycle) {
        question = "Πρόκειται να διαγράψετε οριστικά από τον δίσκο σας τα επιλεγμένα αρχεία! Θα συνεχίσετε;" + br +
                   " - You are going to permanetly delete selected files for your disk! Continue?";
    } else {
        question = "Πρόκειται να διαγράψετε οριστικά από την συλλογή σας τα επιλεγμένα αρχεία! Θα συνεχίσετε;" + br +
                   " - You are going to permanetly delete selected files from collection! Continue?";
    }
    if (dialogs.MsgBox(question, mb::OKCancel + mb::Question) == mb::Cancel) {
        Cancelled = true;
        return;
    }
    if (s.DeleteFromDisk && s.DeleteToRecycle) {
        const std::string warning =
            std::string("Η αποστολή στον κάδο ανακύλωσης είναι ενεργοποιημένη. Αν ο Κάδος Ανακύκλωσης των Windows έχει ") +
            "ενεργοποιημένη την επιβεβαίωση διαγραφής αρχείων, τότε αυτή η διαδικασία ίσως χρειαστεί αρκετή ώρα και" +
            " επιβεβαίωση για κάθε διαγραφή αρχείου! Να συνεχίσω; " + br +
            " - The Deletion to Recycle Bin is On. If the Windows Recycle Bin has checked the confirmation for each " +
            "file deletion then this procedure migh take quite a long and ask confirmation for every single file " +
            "deletion. Continue?";
        if (dialogs.MsgBox(warning, mb::OKCancel + mb::Question) == mb::Cancel) Cancelled = true;
    }
}

}  // namespace tarvolin
