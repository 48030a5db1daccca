#!/usr/bin/env python3
"""Black-box test: the track list keeps the screen reader's focus.

Adds the two tracks of the home folder, gives the track list the keyboard
focus and moves to its second row with the arrow key, then plays and goes to
the next track. At each step the bus must tell no focus outside the track
list, at most one list item of the main window may be in the focused state,
and the track list's rows must read as their tracks (file name, number,
class, length) at their positions. Run by atspi_test.sh inside
dbus-run-session and xvfb-run.
"""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

from atspi_support import (by_description, check, end_program, exit_with_summary, find, press_quietly, rows,
                           start_program, text_of, wait_for, window_of)

EXE = sys.argv[1]
FOCUSED = []


def focus_events(seconds):
    """The objects the bus said got the focus within the next seconds."""
    end = time.time() + seconds
    while time.time() < end:
        while GLib.MainContext.default().iteration(False):
            pass
        time.sleep(0.02)
    got = FOCUSED[:]
    del FOCUSED[:]
    return got


def lists_of(window):
    found = []

    def walk(node):
        if node is None:
            return
        if node.getRole() == pyatspi.ROLE_LIST:
            found.append(node)
            return
        for i in range(node.childCount):
            walk(node.getChildAtIndex(i))
    walk(window)
    return found


def focused_items(window):
    return [(lst.description, item.name) for lst in lists_of(window) for item in rows(lst)
            if item.getState().contains(pyatspi.STATE_FOCUSED)]


def in_list(node, lst):
    """Whether node is the list or one of its rows."""
    try:
        return node.description == lst.description or (
            node.getRole() == pyatspi.ROLE_LIST_ITEM and node.parent.description == lst.description)
    except Exception:
        return False


def step(what, window, tracks, seconds=2.0):
    """After an action: every focus the bus told is a row of the track list,
    one list item at most is focused, and that is the track list's."""
    moved = [(n.getRoleName(), n.description or n.name) for n in focus_events(seconds) if not in_list(n, tracks)]
    check(not moved, "%s: no focus moves out of the track list %s" % (what, moved))
    items = focused_items(window)
    check(len(items) <= 1 and all(d == "List2" for d, _ in items),
          "%s: one list item at most is focused, the track list's %s" % (what, items))


def main():
    proc, app = start_program(EXE)
    try:
        main_window = wait_for(lambda: window_of(app, "Form1"), 30)
        check(main_window is not None, "the main window is shown")
        if main_window is None:
            return
        add = wait_for(lambda: find(app, lambda n: n.getRole() == pyatspi.ROLE_PUSH_BUTTON
                                    and n.name.endswith(" Add Files")), 20)
        press_quietly(add)
        progress = find(main_window, lambda n: n.name == "Πρόοδος - Progress")
        check(bool(wait_for(lambda: "Added files : 2." in text_of(progress), 30)), "the two tracks are added")
        tracks = by_description(main_window, "List2")
        check(tracks is not None and tracks.childCount == 2, "the track list holds the two tracks")
        if tracks is None:
            return

        # Each row reads as its track, at its position in the list.
        columns = [by_description(main_window, "List3_0_%d" % k) for k in range(3)]
        for i, row in enumerate(rows(tracks)):
            shown = ["track%d.mp3" % (i + 1)] + [rows(c)[i].name if c else None for c in columns]
            check(row.name.split(", ") == shown,
                  "row %d reads as its track: file, number, class, length (%r)" % (i, row.name))
            n = tracks.childCount
            check(row.getIndexInParent() == i and row.description == "%d από %d - %d of %d" % (i + 1, n, i + 1, n),
                  "row %d tells its position of %d (%r)" % (i, n, row.description))

        pyatspi.Registry.registerEventListener(lambda e: e.detail1 and FOCUSED.append(e.source),
                                               "object:state-changed:focused")
        # A click on the first row gives the track list the keyboard focus.
        e = rows(tracks)[0].queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        subprocess.run(["xdotool", "mousemove", str(e.x + e.width // 2), str(e.y + e.height // 2), "click", "1"],
                       check=False)
        check(bool(wait_for(lambda: tracks.getState().contains(pyatspi.STATE_FOCUSED), 10)),
              "a click gives the track list the keyboard focus")
        subprocess.run(["xdotool", "key", "Down"], check=False)
        step("the arrow key in the track list", main_window, tracks)
        current = [r.name for r in rows(tracks) if r.getState().contains(pyatspi.STATE_FOCUSED)]
        check(current == [rows(tracks)[1].name], "the arrow key focuses the second track %s" % current)

        for control, what in (("Command11", "Play"), ("Command3_0", "the next track")):
            button = by_description(main_window, control)
            check(button is not None, "%s is there" % what)
            if button is not None:
                press_quietly(button)
                step("after %s" % what, main_window, tracks, 3.0)
        check(tracks.getState().contains(pyatspi.STATE_FOCUSED), "the track list keeps the keyboard focus")
    finally:
        end_program(proc)


main()
exit_with_summary()
