#pragma once
// The secondary windows: the compact player, the video window, snooze and
// shutdown, the information window and the splash window.
//
// Holds the subsystem's own state; its procedures are defined across the
// .cpp files of src/windows, one file per procedure group. Its control events
// are connected in wireEvents(), defined in src/windows/secondary_windows_wiring.cpp.
#include <cstdint>
#include <functional>
#include <string>

#include "toolkit/message_loop.h"

namespace tarvolin {

class CheckBox;
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
    // Mode boxes: "Time" ticked is mode 1, "Countdown" ticked mode 2, neither
    // 0; ticking one unticks the other.
    void Form5_Check1_Click();
    void Form5_Check2_Click();
    void Form5_Check4_Click();
    // Digit boxes: one or two digits within the box's range, else "00".
    void Form5_Text1_Change(int Index);
    void Form5_VScroll1_Change(int Index);
    // 0 Exit (hide, then as Cancel), 1 Ok (store and arm), 2 Cancel (off).
    void Form5_Command1_Click(int Index);
    // Shows the time left to the alarm.
    void Form5_Timer1_Timer();
    void Form5_Form_QueryUnload(int& Cancel, int UnloadMode);

    // ---- The alarm going off (alarm.cpp) ----
    // Run by the main window's timer tick: once the armed alarm's moment has
    // passed, its due flag is set and the wake-up file plays in the player
    // in use, or, with the shutdown option, the program shuts down and asks
    // the system to power off. Waits while a bulk operation holds Busy.
    void Check_Alarm();
    // An alarm is armed from Ok until it goes off, the mode changes, or
    // Cancel or Exit; the window says "On" exactly then.
    bool alarmArmed() const;
    // The moment the armed alarm counts down to (local seconds, see
    // localSeconds()); false when none is armed.
    bool alarmMoment(std::int64_t& moment) const;
    // Seconds since 1970-01-01 00:00:00 of a local date and time (no time
    // zone: the program compares local clock readings only).
    static std::int64_t localSeconds(const DateTime& t);
    static DateTime fromLocalSeconds(std::int64_t seconds);
    // "yy:mm:dd:hh:mm:ss" from `now` to `target`, each field below its next
    // unit; zeros when the target is not after now.
    static std::string timeLeftText(const DateTime& now, const DateTime& target);

    // ---- Information window (information_window.cpp) ----
    void Form3_Form_Load();
    void Form3_Command1_Click();
    void Form3_Label1_Click();
    void Form3_Timer1_Timer();
    void Show_Random_Picture();
    void Set_Frame_Range();
    // Writes the program's data resource DataName into FileName unless a
    // file of that name exists; false when nothing was written.
    bool LoadDataIntoFile(const std::string& DataName, const std::string& FileName);
    // Where LoadDataIntoFile takes a data resource's bytes from (set by the
    // front end, which holds the resources; false when there is none).
    std::function<bool(const std::string& name, std::string& bytes)> dataResource;
    // Window-level state of the information window.
    bool LoopAnimation = true;
    int AnimationTheme = 0;  // 0..2
    int FirstFrame = 121, LastFrame = 137, CurrentFrame = 121;

    Program& app;

private:
    void wireSnoozeWindow();
    void wireInformationWindow();
    // Sets a mode box from code without running its handler.
    void setModeBox(CheckBox& box, int value);
    // "On" or "Off" by whether an alarm is armed.
    void showAlarmState();

    // Whether each window has run its load since it was created or last
    // unloaded: the first Show loads it.
    bool videoLoaded_ = false;
    bool splashLoaded_ = false;
    bool infoLoaded_ = false;

    // The alarm is armed by Ok for the mode then chosen, at a local moment
    // (localSeconds); Cancel, Exit and a change of mode disarm it.
    bool alarmArmed_ = false;
    int armedMode_ = 0;
    std::int64_t alarmMoment_ = 0;
    bool settingModeBoxes_ = false;
};

}  // namespace tarvolin
