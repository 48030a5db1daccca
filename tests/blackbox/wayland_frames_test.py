#!/usr/bin/env python3
"""Black-box test on a Wayland compositor: the secondary windows have their
frame and title bar each time they open, the first time too.
Run by atspi_test.sh with TARVOLIN_WAYLAND set (a headless weston).
"""
import glob
import os
import subprocess
import sys
import tempfile
import threading
import time

import pyatspi

from atspi_support import (by_description, check, end_program, exit_with_summary, find,
                           press_quietly, start_program, wait_for, window_of)

EXE = sys.argv[1]
# The menu item that opens a window, the window, the button that closes it.
WINDOWS = [
    ("Snooze", "Form5", "Command1_0"),
    ("Προγραμματισμός - Programming", "Form3", "Command1"),
]
SHOTS = tempfile.mkdtemp()


def screenshot(name):
    subprocess.run(["weston-screenshooter"], cwd=SHOTS, capture_output=True)
    taken = wait_for(lambda: glob.glob(os.path.join(SHOTS, "wayland-screenshot*.png")), 10)
    path = os.path.join(SHOTS, name + ".png")
    os.rename(taken[0], path)
    return path


def changed_box(before, after):
    """Width and height of the part of the screen that differs between two
    pictures, the compositor's panel (its clock) left out."""
    out = subprocess.run(["convert", before, after, "-compose", "difference", "-composite",
                          "-fill", "black", "-draw", "rectangle 0,0 1400,40",
                          "-threshold", "0", "-format", "%@", "info:"],
                         capture_output=True, text=True).stdout
    size = out.split("+")[0].split("x")
    return int(size[0]), int(size[1])


def opens_with_its_frame(app, item, form, close, opening):
    what = "%s the %s time" % (form, opening)
    before = screenshot(form + opening + "-before")
    threading.Thread(target=press_quietly, args=(item,), daemon=True).start()
    window = wait_for(lambda: window_of(app, form), 20)
    check(window is not None, what + " opens")
    if window is None:
        return
    time.sleep(1.5)
    inside = window.queryComponent().getExtents(pyatspi.WINDOW_COORDS).height
    width, height = changed_box(before, screenshot(form + opening + "-after"))
    # Its title bar stands above the window's own area.
    check(inside + 20 <= height <= inside + 60,
          "%s has its title bar (%dx%d shown for a window %d high)" % (what, width, height, inside))
    press_quietly(by_description(window, close))
    check(wait_for(lambda: window_of(app, form) is None, 20), what + " closes")
    time.sleep(1)


def main():
    proc, app = start_program(EXE)
    try:
        if app is None:
            return
        wait_for(lambda: window_of(app, "Form1"), 30)
        time.sleep(2)
        for caption, form, close in WINDOWS:
            item = find(app, lambda n: n.getRole() == pyatspi.ROLE_MENU_ITEM and n.name == caption,
                        skip_lists=False)
            for opening in ("first", "second"):
                opens_with_its_frame(app, item, form, close, opening)
    finally:
        end_program(proc)


if __name__ == "__main__":
    main()
    exit_with_summary()
