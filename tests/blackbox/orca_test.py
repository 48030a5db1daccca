#!/usr/bin/env python3
"""Black-box test of the program with the Orca screen reader, as a blind
user works: real keys only, and what Orca says checked at each step (the
start, a Tab round, Play, the track list, a rating, a folder add, option
buttons, a class label, the snooze countdown, the compact window and back).
The transcript of every step is printed. Run by atspi_test.sh inside
dbus-run-session and xvfb-run.
"""
import glob
import os
import subprocess
import sys

from atspi_support import check, end_program, exit_with_summary, find, press_quietly, start_program, wait_for
import orca_support as orca

EXE = sys.argv[1]
steps = []


def step(label, text):
    steps.append((label, text))
    print("--- %s\n    %s" % (label, text.replace("\n", "\n    ")), flush=True)
    return text


def said(label, *keys, until=None, quiet=1.5):
    return step(label, orca.key(*keys, until=until, quiet=quiet))


def tab_to(part, key="Tab"):
    """Presses Tab until Orca names the control (what it said there), or
    until the round comes back to where it started ("")."""
    seen = []
    for _ in range(80):
        text = orca.key(key, quiet=0.6)
        if part in text:
            return text
        seen.append(text)
        if seen.count(text) > 2:
            break
    return ""


def press_menu(app, name):
    """Opens a menu item through the accessibility bus."""
    item = wait_for(lambda: find(app, lambda n: n.getRoleName() == "menu item" and n.name.endswith(name)), 20)
    check(item is not None, "the menu item %r is there" % name)
    if item is not None:
        press_quietly(item)


def make_tracks():
    """Three tracks of ten minutes in the folder the program starts in: no
    track ends by itself during the walk."""
    for old in glob.glob("*.mp3"):
        os.remove(old)
    for i in (1, 2, 3):
        subprocess.run(["ffmpeg", "-loglevel", "error", "-f", "lavfi", "-i", "sine=frequency=%d:duration=600" % (300 * i),
                        "-ac", "1", "-c:a", "libmp3lame", "-b:a", "32k", "song%d.mp3" % i], check=True)


def main():
    os.environ.pop("TARVOLIN_ACCESSIBLE_IDS", None)
    make_tracks()
    proc = None
    try:
        home = orca.start_screen_reader()
        print("screen reader's files in %s" % home, flush=True)
        at = orca.mark()
        proc, app = start_program(EXE)
        if app is None:
            return
        start = step("start", orca.said_since(at, quiet=3, timeout=60, until="TARVOLIN"))
        check("TARVOLIN" in start, "the main window is announced at start")
        first = start.splitlines()[-1].split(" - ")[-1] if start else "?"
        round_ = []
        for _ in range(80):
            text = orca.key("Tab", quiet=0.8)
            round_.append(text)
            if first in text:
                break
        step("Tab round", "\n".join(round_))
        check("Current File" in start and "Play / Pause" not in start,
              "the focus starts on the window's first control, not the picture's Play / Pause")
        spoken = "\n".join(round_)
        check(first in round_[-1] and spoken.count("Play / Pause push button") == 1
              and "Kbps" in spoken and "Play Control page tab" in spoken,
              "the Tab round passes each control once and comes back to the first")
        check("Class A" in spoken and "radio button" in spoken and "[000" in spoken,
              "the class labels are told with their role and counts")
        # A folder added from the Exploring Directories page.
        tab_to("page tab")
        said("page", "Right")
        said("page", "Right")
        said("option: All", "Tab", "Tab", "Tab", "Tab", "Tab")
        tab_to("Add Files")
        add = said("add", "space", quiet=3, until="Added files")
        check("notification" in add and "Number of Added files : 3" in add, "the number of files added is spoken")
        # The page tabs, back to Play Control.
        tab_to("page tab")
        said("page", "Left")
        said("page", "Left")
        said("page", "Left")
        tab_to("Rating")
        rated = said("rating", "space", quiet=3)
        check("notification Προτίμηση Rating" in rated, "the new rating is spoken")
        check("Kbps" not in rated and "Κλάση - Class" not in rated, "rating moves no focus")
        said("class label", "Tab")
        said("class label", "Tab", "Tab", "Tab", "Tab", "Tab")
        marked = said("class A pressed", "space", quiet=3)
        check("selected" in marked, "the class label pressed is told as the one chosen")
        tab_to("Add a new URL")
        down = said("option down", "Down")
        up = said("option up", "Up")
        check("radio button" in down + up and "check box" not in down + up,
              "the arrow keys go among the option buttons, told as radio buttons")
        said("option tab", "Tab")
        said("option shift tab", "shift+Tab")
        press_menu(app, "Snooze")
        step("snooze window", orca.said_since(orca.mark(), quiet=3))
        said("snooze tab", "Tab")
        said("snooze countdown on", "space")
        tab_to("Countdown: minutes")
        said("snooze minutes", "5")
        tab_to("Ok")
        armed = said("snooze ok", "space", quiet=3, until="notification")
        check("Ενεργό - On" in armed, "Ok on the snooze window speaks the countdown On")
        tab_to("Exit")
        said("snooze exit", "space", quiet=3)
        tab_to("Compact")
        compact = said("compact", "space", quiet=3)
        check("frame" in compact and "Current File" in compact, "the compact window is spoken with its first control")
        tab_to("Maximize")
        back = said("back", "space", quiet=3)
        check("TARVOLIN" in back and "Compact push button" in back, "back in the main window on the Compact button")
        tab_to("Play / Pause")
        playing = said("play", "space", quiet=3, until="notification")
        paused = said("pause", "space", quiet=3, until="notification")
        said("play", "space", quiet=3, until="notification")
        check("Αναπαραγωγή - Playing" in playing and "Παύση - Paused" in paused, "Play and Pause are spoken")
        check("Kbps" not in playing, "no focus is moved by the track change of Play")
        tab_to("Collection Files")
        # From the last row up twice and down once: every press moves.
        said("track list end", "End")
        rows = [said("track list up", "Up"), said("track list up", "Up"), said("track list down", "Down")]
        check(all("song" in r and " of 3" in r and "Kbps" not in r for r in rows),
                   "each row of the track list is spoken as its track and position")
    finally:
        if proc is not None:
            end_program(proc)
        orca.stop_screen_reader()


main()
exit_with_summary()
