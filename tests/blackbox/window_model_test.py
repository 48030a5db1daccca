#!/usr/bin/env python3
"""Black-box test: the window and the model agree however the window is used.

Operates the real program as assistive technology does (the Toggle action,
EditableText, Press, the keyboard and the mouse) and checks the effect where
the model keeps it: its lists, texts and stored files, and the files the
player holds open. Also: the splash stays above the main window on a display
without a window manager; the video window's player fills the window; track
list rows report the part of them that is seen, and a plain click selects
its row alone.
Run by atspi_test.sh inside dbus-run-session and xvfb-run.
"""
import os
import re
import struct
import subprocess
import sys
import threading
import time

import pyatspi

import atspi_support
from atspi_support import (app_node, by_description, end_program, exit_with_summary, failures, find, press,
                           press_quietly, row_names, rows, text_of, toggle, wait_for, window_of)

EXE = sys.argv[1]
HOME = os.environ["HOME"]
APP_FOLDER = os.path.dirname(EXE)
SUB = os.path.join(HOME, "sub")
SUB_TITLES = ["Title 1", "Title 2", "Title 3"]


def check(cond, what):
    """The shared check; with TARVOLIN_ATSPI_SHOTS set, a failed check also
    saves a picture of the screen there."""
    atspi_support.check(cond, what)
    shots = os.environ.get("TARVOLIN_ATSPI_SHOTS")
    if not cond and shots:
        subprocess.run(["import", "-window", "root", os.path.join(shots, "fail%02d.png" % len(failures))])


def make_sub_tracks():
    os.makedirs(SUB, exist_ok=True)
    for i, title in enumerate(SUB_TITLES):
        subprocess.run(["ffmpeg", "-loglevel", "error", "-f", "lavfi", "-i",
                        "sine=frequency=%d:duration=10" % (300 + 100 * i), "-metadata", "title=" + title,
                        "-c:a", "libmp3lame", "-b:a", "96k", os.path.join(SUB, "sub%d.mp3" % (i + 1))],
                       check=True)


def in_background(node):
    """Presses a control whose handler may run a modal box before the
    press returns."""
    threading.Thread(target=press_quietly, args=(node,), daemon=True).start()


def checked(node):
    return node.getState().contains(pyatspi.STATE_CHECKED)


def combo_text(combo):
    """The text an editable combo box shows."""
    edit = find(combo, lambda n: n.getRole() == pyatspi.ROLE_TEXT)
    return text_of(edit) if edit is not None else combo.name


def extents(node):
    e = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return e.x, e.y, e.width, e.height


def open_window(app, item, desc, what):
    """Picks a menu item that opens the window named desc."""
    in_background(item)
    window = wait_for(lambda: window_of(app, desc), 20)
    check(window is not None, what)
    return window


def answer_box(app, buttons):
    """Answers the message box the program shows with the first of the
    named buttons it has."""
    box = wait_for(lambda: window_of(app, "MsgBox"), 90)
    if box is None:
        return False
    for name in buttons:
        b = find(box, lambda n: n.getRole() == pyatspi.ROLE_PUSH_BUTTON and name in n.name)
        if b is not None:
            press(b)
            return bool(wait_for(lambda: window_of(app, "MsgBox") is None, 20))
    return False


def open_files(pid):
    out = set()
    fd = "/proc/%d/fd" % pid
    for name in os.listdir(fd):
        try:
            out.add(os.readlink(os.path.join(fd, name)))
        except OSError:
            pass
    return out


# ---------------------------------------------------------------------------
# The splash window on a display without a window manager


def top_level_windows():
    """Viewable top-level windows by title, lowest first."""
    out = subprocess.run(["xwininfo", "-root", "-children"], capture_output=True, text=True).stdout
    found = []
    for line in out.splitlines():
        m = re.match(r'\s+(0x[0-9a-f]+) "(.*)":', line)
        if not m:
            continue
        state = subprocess.run(["xwininfo", "-id", m.group(1)], capture_output=True, text=True).stdout
        if "IsViewable" in state:
            found.append(m.group(2))
    # xwininfo lists the children topmost first.
    return list(reversed(found))


class SplashWatch(threading.Thread):
    """Watches the stacking while the splash window is up."""

    def __init__(self):
        super().__init__(daemon=True)
        self.seen_together = 0
        self.splash_below = 0
        self.stop = False

    def run(self):
        end = time.time() + 60
        while not self.stop and time.time() < end:
            stack = top_level_windows()
            splash = [i for i, t in enumerate(stack) if t == "Press once and let it play..."]
            main = [i for i, t in enumerate(stack) if t.lower().startswith("tarvolin")]
            if splash and main:
                self.seen_together += 1
                if splash[0] < max(main):
                    self.splash_below += 1
            elif self.seen_together and not splash:
                return
            time.sleep(0.1)


# ---------------------------------------------------------------------------


def media_source(app, main):
    """Option4(1) with nothing selected adds nothing; Check2 searches the
    subfolders, whose files Command4 adds."""
    status = wait_for(lambda: by_description(main, "Text2_1"), 20)
    selected_only = by_description(main, "Option4_1")
    toggle(selected_only)
    check(bool(wait_for(lambda: checked(selected_only), 5)), "Option4(1) is ticked through Toggle")
    in_background(by_description(main, "Command18_0"))
    added = wait_for(lambda: "Number of Added files : 0." in text_of(status), 30)
    check(bool(added), "with Option4(1) and nothing selected, Add Files adds nothing (%r)" % text_of(status)[:160])
    track_list = by_description(main, "List2")
    check(track_list.childCount == 0, "the track list is still empty")

    all_folders = by_description(main, "Option1_0")
    if not checked(all_folders):
        toggle(all_folders)
    # Every media type: the folder list no longer matches the choice, so the
    # subfolder box searches again.
    press(by_description(main, "Command7_0"))
    folders = by_description(main, "List1")
    subfolders = by_description(main, "Check2")
    toggle(subfolders)
    searched = wait_for(lambda: any(n.rstrip("/").endswith("/sub") for n in row_names(folders)), 30)
    check(bool(searched), "toggling Check2 searches the subfolders (%s)" % row_names(folders))
    check(checked(subfolders), "Check2 shows ticked")

    in_background(by_description(main, "Command4"))
    # Reading the files' attributes asks to save the collection and says it
    # saved it, then asks to remake the filters: Yes, OK and Yes.
    log = by_description(main, "Text2_0")
    end = time.time() + 120
    while time.time() < end and "Filtering Ended" not in text_of(log):
        if window_of(app, "MsgBox"):
            answer_box(app, ("Yes", "OK"))
        time.sleep(0.25)
    check("Filtering Ended" in text_of(log), "adding from the folders reads the files and makes the filters")
    # A row reads as its track: the file's name first.
    want = ["sub%d.mp3" % i for i in (1, 2, 3)]
    got = all(any(n.split(", ")[0] == w for n in row_names(track_list)) for w in want)
    check(got, "the files below the folder are added (%s)" % row_names(track_list))
    return track_list


def track_list_rows(main, track_list):
    """Rows report their visible geometry; a plain click selects its row
    alone, in the list and in its columns."""
    lx, ly, lw, lh = extents(track_list)
    row = rows(track_list)[0]
    rx, ry, rw, rh = extents(row)
    check(rw > 0 and rx >= lx and rx + rw <= lx + lw,
          "a track list row reports the part of it that is seen (%d px of a %d px list)" % (rw, lw))
    lists = [track_list] + [by_description(main, "List3_0_%d" % k) for k in range(5)]
    for r in (0, 1):
        x, y, w, h = extents(rows(track_list)[r])
        subprocess.run(["xdotool", "mousemove", str(x + min(30, w // 2)), str(y + h // 2), "click", "1"])
        wait_for(lambda: rows(track_list)[r].getState().contains(pyatspi.STATE_SELECTED), 10)
    time.sleep(0.5)
    states = [[rows(l)[i].getState().contains(pyatspi.STATE_SELECTED) for i in (0, 1)] for l in lists]
    check(all(s == [False, True] for s in states),
          "a plain click on row 2 leaves it alone selected in List2 and its columns (%s)" % states)
    # The file has no genre: the genre box shows none, and the class filter
    # box no class while no class filter is on.
    for box, what in (("Combo1", "the genre box"), ("Combo4_0_0", "the class filter box")):
        shown = combo_text(by_description(main, box))
        check(shown == "", "%s shows no item when the model has none (%r)" % (what, shown))


def filter_box(app, main):
    """Typing a seven-character filter keeps every key and filters on it."""
    page = find(main, lambda n: n.getRole() == pyatspi.ROLE_PAGE_TAB and "File Managing" in n.name)
    press(page)
    title_box = wait_for(lambda: by_description(main, "Combo4_0_8"), 10)
    edit = find(title_box, lambda n: n.getRole() == pyatspi.ROLE_TEXT)
    wait_for(lambda: edit.getState().contains(pyatspi.STATE_SHOWING), 10)
    edit.queryComponent().grabFocus()
    wait_for(lambda: edit.getState().contains(pyatspi.STATE_FOCUSED), 10)
    subprocess.run(["xdotool", "type", "--delay", "120", "Title 2"])
    kept = wait_for(lambda: text_of(edit) == "Title 2", 20)
    check(bool(kept), "the title filter box holds what was typed (%r)" % text_of(edit))
    table = by_description(main, "List4")

    def tracks():
        return [n for n in row_names(table) if re.match(r"\d{6}\|", n)]
    filtered = wait_for(lambda: len(tracks()) == 1 and "Title 2" in tracks()[0], 20)
    check(bool(filtered), "List4 holds only the rows of \"Title 2\" (%s)" % [t[:60] for t in tracks()])


def snooze(app, main, pid, first_track):
    """The wake-up list left untouched, a countdown set through EditableText
    and the Toggle action, Ok: the alarm plays track 1."""
    menu = find(app, lambda n: n.getRole() == pyatspi.ROLE_MENU_ITEM and n.name == "Snooze")
    window = open_window(app, menu, "Form5", "the snooze window opens")
    if window is None:
        return
    files = by_description(window, "Combo1")
    check(combo_text(files) == first_track, "the wake-up list shows track 1 (%r)" % combo_text(files))
    countdown = by_description(window, "Check2")
    toggle(countdown)
    check(bool(wait_for(lambda: checked(countdown), 5)), "the countdown box is ticked through Toggle")
    seconds = by_description(window, "Text1_5")
    seconds.queryEditableText().setTextContents("6")
    check(bool(wait_for(lambda: text_of(seconds) == "6", 5)), "the countdown seconds are set through EditableText")
    check(first_track not in open_files(pid), "track 1 is not open before the alarm")
    press(by_description(window, "Command1_1"))
    left = by_description(window, "Label1")
    counting = wait_for(lambda: re.match(r"00:00:00:00:00:0[1-6]$", left.name), 5)
    check(bool(counting), "Ok counts down the six seconds typed (%r)" % left.name)
    played = wait_for(lambda: first_track in open_files(pid), 30)
    check(bool(played), "the alarm plays track 1")


def video_window(app, main):
    """The video window's player fills the window's client area."""
    video_menu = by_description(main, "mnuvideo")
    show = find(video_menu, lambda n: n.getRole() == pyatspi.ROLE_MENU_ITEM and n.name == "Show")
    window = open_window(app, show, "Form2", "the video window opens")
    if window is None:
        return
    player = wait_for(lambda: by_description(window, "WindowsMediaPlayer1"), 10)
    wx, wy, ww, wh = extents(window)
    px, py, pw, ph = extents(player)
    check((px, py, pw, ph) == (wx, wy, ww, wh),
          "the player fills the video window (%s in %s)" % ((px, py, pw, ph), (wx, wy, ww, wh)))
    hide = find(video_menu, lambda n: n.getRole() == pyatspi.ROLE_MENU_ITEM and n.name == "Hide")
    in_background(hide)


def stored_alarm_file():
    """Record 11 of the collection file: the wake-up file."""
    path = os.path.join(APP_FOLDER, "tarvolin_sylloges", "tarvolin.tlf")
    with open(path, "rb") as f:
        f.seek(10 * 300)
        record = f.read(300)
    (length,) = struct.unpack("<H", record[:2])
    return record[2:2 + length].decode("utf-8", "replace")


def main():
    make_sub_tracks()
    watch = SplashWatch()
    proc = subprocess.Popen([EXE], stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    watch.start()
    first_track = None
    try:
        app = wait_for(app_node)
        check(app is not None, "the program appears on the accessibility bus")
        if app is None:
            return
        main_window = wait_for(lambda: window_of(app, "Form1"))
        watch.join(60)
        check(watch.seen_together > 0, "the splash window is seen with the main window")
        check(watch.splash_below == 0, "the splash window stays above the main window (%d of %d looks below)"
              % (watch.splash_below, watch.seen_together))

        track_list = media_source(app, main_window)
        names = row_names(track_list)
        if len(names) < 2:
            return
        # The first track's file, in the home folder.
        first_track = os.path.join(os.environ["HOME"], names[0].split(", ")[0])
        track_list_rows(main_window, track_list)
        filter_box(app, main_window)
        snooze(app, main_window, proc.pid, first_track)
        video_window(app, main_window)
    finally:
        watch.stop = True
        end_program(proc)
        if first_track:
            stored = stored_alarm_file()
            check(stored == first_track, "the collection file names track 1 as the wake-up file (%r)" % stored)


if __name__ == "__main__":
    main()
    exit_with_summary()
