#pragma once
// Playback and the main window: start-up and shutdown, defaults, transport,
// next-track choice, starting a track, the timer tick, the tray icon and
// menu, play-mode and window options.
//
// Holds the subsystem's own state; its procedures are defined across the
// .cpp files of src/playback, one file per procedure group. Its control events
// are connected in wireEvents(), defined in src/playback/playback_wiring.cpp.
#include <cstdint>
#include <deque>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace tarvolin {

struct CollectionData;
class Control;
class Form;
class MenuItem;
class Player;
class Program;

// What the next-track choice decided, from the collection and the play
// mode alone; the caller does the bookkeeping and shows it.
struct NextTrack {
    enum class Kind {
        Resume,    // right after a load: the loaded track again
        Keep,      // replay of one track, or the selected track asked for
        Drawn,     // an unplayed track of a chosen class
        PassOver,  // nothing left to play in this pass
    };
    Kind kind = Kind::Resume;
    // The chosen row; -1 when the list is empty (and for PassOver).
    std::int32_t track = -1;
    // For Drawn: the play order of the track the draw started from, or -1
    // once it passed over a track of a class not chosen.
    std::int32_t serialAdvance = 0;
};

// The play mode the choice reads besides the collection.
struct NextTrackMode {
    int rows = 0;            // rows of the track list
    int selected = -1;       // the selected row of the track list
    int replayMode = 0;      // 1 repeats the current track
    bool playSelected = false;
    bool shuffle = false;
};

// Chooses the next track. `draw` gives the shuffle's values in [0, 1); it
// is called once per track tried.
NextTrack chooseNextTrack(const CollectionData& d, const NextTrackMode& mode, const std::function<float()>& draw);

class Playback {
public:
    explicit Playback(Program& app) : app(app) {}
    Playback(const Playback&) = delete;
    Playback& operator=(const Playback&) = delete;

    // Connects the control events this subsystem handles; run once by
    // Program when it is built.
    void wireEvents();
    // The main window's menus, buttons and the tray (tray_menu.cpp and
    // the other option files), connected from wireEvents().
    void wireMainWindowItems();

    // ---- Always on top (always_on_top.cpp) ----
    // JustApply False first flips the two always-on-top check marks and
    // takes OnTop from them; then the state is applied to the windows the
    // video mode concerns.
    void Apply_On_Top(bool JustApply);

    // ---- The player in use (transport.cpp) ----
    // The player the program plays through now: the video window's with
    // VideoMode -1; with VideoMode 0 the compact window's while CompactMode is
    // on, else the main window's; with VideoMode 1 the one holding CurrentFile.
    Player& activePlayer();

    // ---- Volume and star display (volume_and_stars.cpp) ----
    // Volume from the volume scroll bar (0..2000), given to the players.
    void HScroll1_Change();
    // Puts the class bars behind the other controls (stars switched off)
    // or brings them back.
    void setStarLabelsBehind(bool behind);

    // ---- Built-in defaults (defaults.cpp) ----
    void Init_Defaults();
    // The genre labels "000 - ..." to "127 - ..." and the media extensions.
    static const std::vector<std::string>& genreNames();
    static const std::vector<std::string>& mediaExtensions();

    // ---- Start-up and shutdown (startup_shutdown.cpp) ----
    // Brings the whole program up; the front end calls it once.
    void Form_Load();
    void Restore_Favor_Play();
    // Saves everything and ends the program; never cancelled. A second call
    // while one runs is ignored.
    void Form_QueryUnload(int& Cancel, int UnloadMode);
    void Main() {}
    // True once the shutdown has run: the front end then ends its loop.
    bool shutDown() const { return shutDown_; }

    // ---- Transport (transport.cpp) ----
    // Command3_Click, Epomeno_Kommati, Proigoumeno_Kommati, Bres_Kommati and
    // Step_Track each start a track. One given while another track start
    // runs (from an event served while that start waits) never runs inside
    // it: it waits, and runs once that start is over, in the order given.
    // The one-track steps (Command3_Click) go one track without writing the
    // step box, so StepCount never changes under a transport command.
    void Command11_Click();
    void Command3_Click(int Index);
    void Epomeno_Kommati();
    void Proigoumeno_Kommati();

    // ---- Next-track choice (next_track.cpp) ----
    void Bres_Kommati();
    void Show_Current_Media();
    void Clear_Track_Selection();
    void Step_Track();
    // Stops and closes the player in use (the end of a pass, an unplayable
    // pass).
    void stopActivePlayer();

    // ---- Starting a track (start_track.cpp) ----
    void Decide_Video();
    bool Is_Video_Media(const std::string& path);
    void Play_Audio();
    void Video();
    void Media_Play(int selector);
    void Pause_Between_Songs(int selector);
    void Wait(std::int64_t milliseconds);
    // A track that cannot be played is passed over through the timer, in
    // the direction of the last step; a whole list of them stops playback.
    void skipUnplayable();
    // The player could not open or decode the file it was given.
    void playerMediaError(Player& player, const std::string& why);

    // ---- Timer tick (timer_tick.cpp) ----
    void Timer1_Timer();
    // Re-arms Timer1 once at `ms` for a one-off job (1 start after a pause,
    // 2 next track), keeping the normal interval for the restore.
    void armOneOff(int purpose, int ms);
    // The normal interval of Timer1: 1000 ms with a window shown, 6000 ms
    // in the tray.
    int normalInterval() const;

    // ---- Player state events (player_events.cpp) ----
    void WindowsMediaPlayer1_PlayStateChange(int NewState);
    void WindowsMediaPlayer1_StatusChange();
    // Shared by the main, compact and video players' state handlers: pause
    // bookkeeping and state effects for `player`.
    void playStateEffects(Player& player);
    // Transport pictures of both windows, then the window icons and the
    // tray icon.
    void setPictures(const std::string& picture, int icon);

    // ---- Tray icon (tray_icon.cpp) ----
    void AddIconToTray();
    void DeleteIconFromTray();
    void setTrayTip(const std::string& tip);
    // What the desktop cannot do for an option, said once in the log box
    // and kept in the tips of the option's items.
    void tellUnsupported(bool& told, const std::string& message, std::initializer_list<MenuItem*> items);

    // ---- List search and sizing (list_search.cpp) ----
    // Case-insensitive search of a list or combo box; exact or by prefix,
    // from after startIndex with wrap-round; -1 when nothing matches, 0 for
    // any other control.
    int ListBoxFindString(Control& control, const std::string& text, int startIndex, bool exact);
    void SizeList(int which);
    void list2_click();

    // ---- Tray icon messages (tray_icon.cpp) ----
    // A click on the tray icon: 513 (left) shows or hides the player window,
    // 516 (right) pops up the tray menu; anything else is ignored.
    void trayMessage(int message);

    // ---- Tray menu (tray_menu.cpp) ----
    void mnusystemtraynext_Click();
    void mnusystemtrayback_Click();
    void mnusystemtrayforward_Click();
    void mnusystemtraybackwards_Click();
    void mnusystemtraypause_Click();
    void MnuSysTrayDaCapo_Click();
    void mnusystemtraysuffle_Click();
    void mnusystrayrepeat_Click();
    void MnuSystemTrayTop_Click();
    void mnusystemtraycopypaste_Click();
    void mnusystemtrayexit_Click();

    // ---- Play-mode options (play_mode_options.cpp) ----
    void MnuMoreRandom_Click();
    void mnumorereplayn_Click(int Index);
    void MnuMorePreview_Active_Click();
    void MnuMoreDuration_Click();
    void MnuMoreMultiPreview_Click();
    void MnuMorePauseActive_Click();
    void MnuMorePauseDur_Click();
    void MnuMoreSound_Click();
    void MnuMoreAutoStart_Click();
    void MnuPlayAutoStartP_Click(int Index);

    // ---- Window options (window_options.cpp) ----
    // Open windows whose name equals `name`, without regard to case.
    int Count_Forms_Named(const std::string& name);
    void MnuMoreOnTop_Click();
    void MnuMoreMinimize_Click();
    void MnuMoreWindows_Click();
    // True when the autostart entry exists.
    bool Is_AutoStart_Set();
    // Writes (on) or removes the autostart entry; a failure is shown in a
    // message box.
    void Set_AutoStart(bool on);

    // ---- Main-window controls (main_window_controls.cpp) ----
    void HScroll1_Scroll();
    void HScroll2_Change() {}
    // The class labels of the main and the compact window (Label9, Label10,
    // Label21): 1..6 rate the current track, 0 ("All") does nothing.
    void classLabel_Click(int Index);
    void List2_DblClick();
    void Command15_Click(int Index);
    // "Return" is usable while the player is back in its play history.
    void updateReturnButton();
    void Check3_Click();
    void MnumoreStar_Active_Click(int Index);
    void MnumoreStar_Colors_Click(int Index);
    void mnutimeshut_Click();
    void mnutimesnooze_Click();
    void mnuvideoshow_Click(int Index);

    // ---- Track locate buttons (locate_buttons.cpp) ----
    void Command10_Click(int Index);
    void Open_Home_Page();

    // ---- Information, help and report items (info_items.cpp) ----
    void mnuinfogr_Click(int Index);
    void mnu_info2_Click(int Index);
    void Show_Help();
    void MnuMoreReport_Click();
    void MnuMoreReportDelete_Click();

    // ---- Multi-preview players (multi_preview.cpp) ----
    // True fills the twelve preview players with InfoFile when it is a
    // video; False stops, closes and hides them.
    void Reset_Multi_Preview(bool show);
    bool MultiPreviewPending = false;
    // The longest wait for the first preview player to open its file.
    static constexpr std::int64_t kPreviewOpenWaitMs = 5000;

    // ---- Window-level state of the main window ----
    bool FirstStartDone = false;
    std::int32_t SerialAdvance = 0;
    int LastStepDirection = 0;   // 0 one forward, -1 one back, 1 forward by StepCount, -2 back
    std::int32_t LastTickTrack = 0;
    std::string TipFileName;

    // Consecutive starts that found their file unplayable.
    std::int32_t UnplayableRun = 0;

    Program& app;

private:
    // True while a track start runs.
    bool trackStarting() const { return startDepth_ > 0; }
    // Runs `step` as a track start, or queues it behind the one running.
    void asTrackStart(std::function<void()> step);
    // A new track start drops what the timer was still to do for the one
    // before: its play command, a skip, the end of its file.
    void dropTimerJobs();
    // Runs the commands that waited for a track start.
    void runWaitingCommands();
    // The steps themselves, run inside a track start; `steps` is the number
    // of tracks the step goes (the step count, or 1 for the one-track
    // commands).
    void stepOne(int Index);
    void stepForward(int steps);
    void stepBack(int steps);
    void chooseTrack();
    // The steps of chooseTrack after the choice: the drawn track takes the
    // next number of the play order; the end of a pass clears the order and
    // starts the next pass or stops; the chosen track's class is shown (or
    // given, with the automatic rating) and its player picked.
    void numberInPlayOrder();
    void endPass();
    void rateChosenTrack();
    void repeatStep(int direction, int steps);
    // The common start of a step through the history: false when there is
    // nothing to step through; a current track outside the rows becomes the
    // first row.
    bool startStep(int steps);
    // The duration of the file just given to `p`, waiting while the engine
    // does not know it yet: a second at most.
    double durationOnceKnown(Player& p);

    // The steps of Timer1_Timer, in the order it runs them.
    // What the tick read of the player in use (nothing with an empty list,
    // no position without a file).
    struct TickReading {
        Player* player = nullptr;
        std::string url;
        std::int32_t pos = 0;
        std::int32_t dur = 0;
        int state = 0;
    };
    // A file that ended (or failed) while a bulk operation held Busy is
    // served once Busy clears: true when this tick did so.
    bool serveEndWhileBusy();
    TickReading readPlayerInUse();
    // Serves the waiting events: false once the program shut down meanwhile.
    bool serveEvents();
    // The time left of the file, and the played and left totals of the pass
    // and of the class choice.
    void countTimeLeft(const TickReading& now);
    // The status boxes of both windows: elapsed and left time (or the
    // preview's), the file's size and bitrate, then the totals.
    void showStatusBoxes(const TickReading& now);
    void showFileSizeAndBitrate();
    void showPreviewTimes(const std::string& elapsed, std::int32_t pos);
    // Preview: the next point of the file, or the next track after the last.
    void advancePreview(const TickReading& now);
    // Files played: every change of the current track that a tick sees.
    void countFilesPlayed();
    void showTrayTip();
    // The listening statistics, counted while a file plays.
    void countListeningTime();
    void autoSaveEveryTenMinutes();
    // The one-off job the timer was re-armed for, then the normal interval
    // again: 1 plays the file after a pause, 2 goes to the next track.
    void serveOneOffJob();
    void restoreNormalInterval();
    void playAfterPause();

    // The steps of Form_Load that are more than one call.
    void loadPreferencesAtStart();
    // The splash window, on top of everything: the time it was shown, or -1
    // when the user keeps it off. It stays at least two seconds (monotonic
    // clock).
    std::int64_t showSplash();
    void hideSplash(std::int64_t splashStart);
    void loadLastCollectionAtStart();
    void showPlayerWindowOrTray();
    // The user's own search links after the built-in ones.
    void addUserSearchLinks();
    void preparePlayersAtStart();
    // The loaded current track opens the play order.
    void openPlayOrderWithCurrentTrack();

    // Keeps a track start marked as running while alive.
    struct StartScope {
        explicit StartScope(Playback& pb) : pb(pb) { ++pb.startDepth_; }
        ~StartScope() { --pb.startDepth_; }
        StartScope(const StartScope&) = delete;
        StartScope& operator=(const StartScope&) = delete;
        Playback& pb;
    };

    int startDepth_ = 0;
    std::deque<std::function<void()>> waiting_;
    // The tracks the last step went, for a skip that repeats it.
    int lastStepCount_ = 1;
    // Count the track starts begun and the one-off jobs armed or dropped, so
    // that a tick acts only on what it read and on a job armed before it.
    std::uint64_t startsBegun_ = 0;
    std::uint64_t jobsArmed_ = 0;

    // Started without a tray while the user lives in the tray: shown for
    // this run, and the tray mode saved again at shutdown.
    bool trayModeKept_ = false;
    // Said once a run: no tray, no keeping on top.
    bool toldNoTray_ = false;
    bool toldNoOnTop_ = false;
    // Counts the fills and clears of the preview players.
    std::uint64_t previewRound_ = 0;
    bool started_ = false;
    bool shutDown_ = false;
    bool unloading_ = false;
    bool inTick_ = false;
    // A file ended (or failed) while Busy held: served once Busy clears.
    bool endWhileBusy_ = false;
    bool skipWhileBusy_ = false;
    // The one-off job of TimerPurpose 2 is a skip of an unplayable track.
    bool skipPending_ = false;
    // The length of the pause between tracks chosen by the last pause.
    int pauseIntervalMs_ = 0;
    // A failing auto-save's message box is open.
    bool autoSaveRunning_ = false;
    std::string trayTip_ = "Tarvolin";
};

}  // namespace tarvolin
