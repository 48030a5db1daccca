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

    // ---- Video window (video_window.cpp) ----
    void Form2_WindowsMediaPlayer1_PlayStateChange(int NewState);

    // ---- Snooze and shutdown window (snooze_window.cpp) ----
    // Fills the window from the alarm settings and shows it: the wake-up
    // list follows the track list, keeping the chosen file selected.
    void showSnoozeWindow();

    Program& app;
};

}  // namespace tarvolin
