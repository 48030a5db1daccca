#pragma once
// The program's shared module-level state that is not a collection table:
// switches and values kept in the preferences, guards of the bulk
// operations, the player choice, the statistics counters and the timer's
// one-off jobs. One instance per Program (Program::state).
//
// The per-track and per-class tables and their counters live with the
// collection store (collection/collection_data.h).
//
// Add fields here as the procedures need them, under the names the program
// uses for them; keep the groups.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tarvolin {

struct ModuleState {
    // Folders and versions
    std::string AppFolder;            // ends in "/"
    std::string VersionText = "5.0";  // collection format's version mark

    // Player choice
    int VideoMode = 0;                // -1 video window, 0 main window, 1 by media type
    bool CompactMode = false;         // the compact window's player is in use
    bool WindowVisible = true;        // the player window is shown (else in the tray)

    // Guards
    bool Busy = false;                // list and player handlers return at once
    int AbortKey = 0;                 // 27 cancels a long loop
    bool TimerSuspended = false;      // the tick does nothing (adding, copying, moving, loading)
    bool Filtering = false;           // the track tables are being rebuilt or filtered

    // Play modes and switches kept in the preferences
    bool ShuffleOn = false;
    int ReplayMode = 0;               // 0 none, 1 one, 2 all
    bool PreviewOn = false;
    int PreviewSeconds = 10;          // 2..10
    int PauseSeconds = 2;             // 2..8
    bool BeepBetween = false;
    bool PlayAtStart = false;
    int ResumeMode = 0;               // 0 start, 1 last file's exit point, 2 each file's own
    bool AutoSave = false;
    bool OnTop = false;
    bool ShowSplash = true;
    bool DeleteToRecycle = false;
    bool ReadRatingsFromFiles = false;
    bool KeepRatings = false;
    bool SaveRatingsInFiles = false;
    int StepCount = 3;
    int Volume = 100;                 // 0..100
    int StarColours = 0;              // star colour set: 0 gold, 1 blue, 2 black blue, 3 mix
    std::vector<std::string> SearchLinks;

    // Further switches and values kept in the preferences file
    bool StarsOff = false;            // the rating stars are switched off
    int KeepReport = 0;               // report option; only -1 counts as on
    bool AutoFavor = false;           // automatic rating of the current track
    bool DeleteFromDisk = false;
    bool DeleteEvenOnDiskError = false;
    bool DemandFavor = false;
    bool FileMoveReference = false;
    bool FileCopyReference = false;
    bool ScanFromFileList = true;
    bool FolderListStale = true;      // List1 no longer matches the folder and types chosen
    bool LoadFiltersAtStart = true;   // the saved filters are loaded with the collection
    std::int32_t AlarmShutdown = 0;
    std::array<std::int32_t, 3> AlarmTime{};       // hour, minute, second
    std::array<std::int32_t, 3> AlarmCountdown{};  // hour, minute, second
    std::int32_t AlarmMode = 0;       // 0 off, 1 time of day, 2 countdown
    std::string AlarmTarget;          // "mm-dd-yyyy" date of the alarm
    std::string AlarmFile;            // wake-up file (kept in the collection file)
    std::int32_t AlarmDueTime = 0;      // -1: the time-of-day alarm has gone off
    std::int32_t AlarmDueCountdown = 0; // -1: the countdown alarm has gone off
    int VideoWidth = 0;
    int VideoHeight = 0;
    int SearchLinkCount = 0;          // highest index of SearchLinks
    std::vector<std::int32_t> PreviewPoints = std::vector<std::int32_t>(1);  // 0..0 or 0..3

    // Track information editor: the values handed to the tag writer
    // (0 title, 1 artist, 2 album, 3 year, 4 comment, 5 genre index as text,
    // 6 the file's path) and the file whose edits are pending ("" none)
    std::array<std::string, 7> TagValues;
    std::string TagFile;

    // Copy, move and delete by class: -1 the selected rows of List2, 0 all,
    // 1 C, 2 B, 3 A, 4 X, 5 unclassified, 6 S
    std::int32_t MoveClassCode = 0;

    // Report file and destination folder
    bool ReportExists = false;        // the report file is known to exist
    std::string DestFolder;           // copy and move destination, ending in "/", or ""

    // Statistics (kept in the default file)
    std::int32_t StatFilesPlayed = 0, StatYears = 0, StatMonths = 0, StatDays = 0,
                 StatHours = 0, StatMinutes = 0, StatSeconds = 0;

    // Timer one-off jobs: 0 none, 1 start the file after a pause, 2 next track after the end
    int TimerPurpose = 0;
    int SavedTimerInterval = 1000;

    // Playing: shared by the transport, the next-track choice and the
    // players' state handlers
    bool PlaySelected = false;        // the next choice takes List2's selected item
    bool Paused = false;              // the player in use is paused
    int PreviewPointIndex = 0;        // preview point now playing (0..3)
    bool TagBoxesFilling = false;     // the editor boxes hold the file's own values
    std::int64_t LastAutoSave = 0;    // monotonic ms of the last auto-save (or of start-up)

    // Beep settings of the defaults
    int BeepFrequency = 1500;
    int BeepDuration = 50;
};

// A bulk operation under way for the life of the scope: it sets Busy, the
// timer suspension or both, and gives back the values it found on every way
// out, a run-time error that ends the handler included. A command whose
// callee sets the flags itself, once the user has confirmed, takes the scope
// with setNow false: it only gives back.
class BulkScope {
public:
    enum Holds { Nothing = 0, Busy = 1, Timer = 2, BusyAndTimer = Busy | Timer };
    BulkScope(ModuleState& s, Holds holds, bool setNow = true)
        : s_(s), holds_(holds), busy_(s.Busy), suspended_(s.TimerSuspended) {
        if (!setNow) return;
        if (holds_ & Busy) s_.Busy = true;
        if (holds_ & Timer) s_.TimerSuspended = true;
    }
    ~BulkScope() { end(); }
    // Gives the flags back before the scope closes; later calls do nothing.
    void end() {
        if (holds_ & Busy) s_.Busy = busy_;
        if (holds_ & Timer) s_.TimerSuspended = suspended_;
        holds_ = Nothing;
    }
    BulkScope(const BulkScope&) = delete;
    BulkScope& operator=(const BulkScope&) = delete;

private:
    ModuleState& s_;
    int holds_;
    bool busy_;
    bool suspended_;
};

}  // namespace tarvolin
