#pragma once
// The secondary windows: the compact player, the video window, snooze and
// shutdown, the information window and the splash window.
//
// Holds the subsystem's own state; its procedures are defined across the
// .cpp files of src/windows, one file per procedure group. Its control events
// are connected in wireEvents(), defined in src/windows/secondary_windows_wiring.cpp.
namespace tarvolin {

class Program;

class SecondaryWindows {
public:
    explicit SecondaryWindows(Program& app) : app(app) {}
    SecondaryWindows(const SecondaryWindows&) = delete;
    SecondaryWindows& operator=(const SecondaryWindows&) = delete;

    // Connects the control events this subsystem handles; run once by
    // Program when it is built.
    void wireEvents();

    // ---- Compact player window (compact_player.cpp) ----
    // Non-zero: the playing file moves to the compact window's player and
    // that window replaces the main window; zero: the reverse.
    void Passage(int ToCompact);
    void Form4_WindowsMediaPlayer1_PlayStateChange(int NewState);
    void Form4_Timer1_Timer();
    // The main window's timer interval at the last hand-over to the compact
    // window.
    int MainTimerInterval = 0;

    // ---- Compact window's volume, seek and step controls
    //      (compact_player_controls.cpp) ----
    void Form4_HScroll1_Change();
    void Form4_HScroll1_Scroll();
    // Seeks the player in use while it is paused or playing.
    void Form4_Slider1_Scroll();
    void Form4_Text3_Change();

    // ---- Video window (video_window.cpp, video_window_frame.cpp) ----
    void Form2_WindowsMediaPlayer1_PlayStateChange(int NewState);
    // Runs when the window is first shown after being created or unloaded:
    // the saved size, then the player sized to it.
    void Form2_Form_Load();
    void Form2_Form_Resize();
    // Closing by the user (UnloadMode 0) hands the file back to the window
    // player in use and switches the video menu to "Hide"; an unload by
    // code (the video menu) does neither. Never cancels.
    void Form2_Form_QueryUnload(int& Cancel, int UnloadMode);

    // ---- Splash window (splash_window.cpp) ----
    // Centres the window on the screen and shows the logo.
    void frmSplash_Form_Load();
    // A key or a click on the frame unloads the window.
    void frmSplash_Form_KeyPress(int& KeyAscii);
    void frmSplash_Frame1_Click();

    // ---- Snooze and shutdown window (snooze_window.cpp) ----
    // Fills the window from the alarm settings and shows it: the wake-up
    // list follows the track list, keeping the chosen file selected.
    void showSnoozeWindow();

    Program& app;

private:
    // Whether each window has run its load since it was created or last
    // unloaded: the first Show loads it.
    bool videoLoaded_ = false;
    bool splashLoaded_ = false;
};

}  // namespace tarvolin
