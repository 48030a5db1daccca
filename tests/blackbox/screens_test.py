#!/usr/bin/env python3
"""Black-box test: on the screen it is given (size and scale from the
environment, see CMakeLists.txt) every window the program shows lies wholly
on the screen, the main window first and then the compact window, and no
control of either is cut by its window's edge.
Run by atspi_test.sh inside dbus-run-session and xvfb-run.
"""
import os
import re
import subprocess
import sys

import pyatspi

from atspi_support import (check, end_program, exit_with_summary, find, press_quietly,
                           start_program, wait_for, window_of)

EXE = sys.argv[1]
SHOTS = os.environ.get("TARVOLIN_SCREEN_SHOTS")


def screen_size():
    out = subprocess.run(["xwininfo", "-root"], capture_output=True, text=True).stdout
    return int(re.search(r"Width: (\d+)", out).group(1)), int(re.search(r"Height: (\d+)", out).group(1))


def shown_windows():
    """Every window mapped on the display: (name, x, y, width, height), in
    the screen's own pixels."""
    ids = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", ""], capture_output=True,
                         text=True).stdout.split()
    found = []
    for wid in ids:
        geo = subprocess.run(["xdotool", "getwindowgeometry", "--shell", wid], capture_output=True,
                             text=True).stdout
        name = subprocess.run(["xdotool", "getwindowname", wid], capture_output=True, text=True).stdout.strip()
        v = dict(line.split("=", 1) for line in geo.split() if "=" in line)
        found.append((name, int(v["X"]), int(v["Y"]), int(v["WIDTH"]), int(v["HEIGHT"])))
    return found


def extents(node):
    e = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return e.x, e.y, e.width, e.height


def controls_cut(window):
    """The controls of a window that reach past its edges."""
    wx, wy, ww, wh = extents(window)
    cut = []

    def walk(node, depth):
        if depth > 30:
            return
        for i in range(node.childCount):
            child = node.getChildAtIndex(i)
            if child is None or not child.getState().contains(pyatspi.STATE_SHOWING):
                continue
            role = child.getRole()
            if role in (pyatspi.ROLE_MENU, pyatspi.ROLE_MENU_ITEM, pyatspi.ROLE_LIST_ITEM,
                        pyatspi.ROLE_TABLE_CELL):
                continue
            x, y, w, h = extents(child)
            if w > 0 and h > 0 and (x < wx or y < wy or x + w > wx + ww + 1 or y + h > wy + wh + 1):
                cut.append("%s %s" % (child.description or child.name, (x, y, w, h)))
            if role not in (pyatspi.ROLE_LIST, pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE):
                walk(child, depth + 1)

    walk(window, 0)
    return cut


def check_fits(label):
    sw, sh = screen_size()
    windows = shown_windows()
    check(windows, "%s: a window is shown" % label)
    for name, x, y, w, h in windows:
        check(x >= 0 and y >= 0 and x + w <= sw and y + h <= sh,
              "%s: window %r at %d,%d size %dx%d lies on the %dx%d screen" % (label, name, x, y, w, h, sw, sh))
    if SHOTS:
        name = "%s_%dx%d.png" % (label.replace(" ", "_"), sw, sh)
        subprocess.run(["import", "-window", "root", os.path.join(SHOTS, name)])


def main():
    proc, app = start_program(EXE)
    main_window = wait_for(lambda: window_of(app, "Form1"))
    check(main_window is not None, "the main window opens")
    # The splash closes on its own; the main window then stands alone.
    wait_for(lambda: window_of(app, "frmSplash") is None, 30)
    if main_window is not None:
        check_fits("main window")
        cut = controls_cut(main_window)
        check(not cut, "no control of the main window is cut: %s" % "; ".join(cut[:5]))
        button = find(main_window, lambda n: n.getRole() == pyatspi.ROLE_PUSH_BUTTON and n.name.endswith("Compact"))
        check(button is not None, "the main window has its Compact button")
        if button is not None:
            press_quietly(button)
            window = wait_for(lambda: window_of(app, "Form4"), 30)
            check(window is not None, "the compact window opens")
            if window is not None:
                check_fits("compact window")
                cut = controls_cut(window)
                check(not cut, "no control of the compact window is cut: %s" % "; ".join(cut[:5]))
    end_program(proc)
    exit_with_summary()


main()
