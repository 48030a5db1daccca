#!/usr/bin/env python3
"""Black-box test of what a screen reader meets in every window.

Runs the program as a user does (without the internal names as accessible
descriptions) and walks each window over the accessibility bus, the main
window on each page and the splash window when it is caught at start-up:
every control that takes the focus or offers an action is named for what it
is (not empty, not an internal name, not a frame's title given to several
controls), and the Tab key goes round the window's controls in the order they
are drawn. Prints what a screen reader says for each control, window by
window. Run by atspi_test.sh inside dbus-run-session and xvfb-run.
"""
import os
import re
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

from atspi_support import (check, end_program, exit_with_summary, find, press_quietly, start_program,
                           text_of, wait_for)

EXE = sys.argv[1]
MAIN = ("Current File|Length|Elapsed|Remain.|Size|Kbps|Collection Files|Position|Play / Pause|Previous|Next|Back|"
        "Ahead|Compact|Volume|%s|Open Directory|Current Media|Played")
# Each window (the main window once for each page): a piece of its title,
# the control that shows it and the one that closes it (role and name, or
# the name's last words), its Tab round from its first stop (a piece of each
# stop's name), and a label pressed with a key, with what the press shows.
WINDOWS = [
    ("Play Control", "TARVOLIN", ("page tab", "Play Control"), None, MAIN % (
        "Play Control|Reports|Title|Artist|Album|Year|Comment|Genre|Rating|All|Unmarked|Class X|Class C|Class B|"
        "Class A|Class S|Number of steps|Url links|Link|Search|Copy Properties|Type a string|https://www.|"
        "Add a new URL"), None),
    ("File Managing", "TARVOLIN", ("page tab", "File Managing"), None, MAIN % (
        "File Managing|Favorites|HH:MM|Mb / Gb|Kbps|Genre|Album|Artist|Year|Title|Search|Search Text|All|Go|"
        "Files Table|Filtered Files|Delete|Directory|Destination Directory"), None),
    ("Exploring Directories", "TARVOLIN", ("page tab", "Exploring  Directories"), None, MAIN % (
        "Exploring|Drive|Directories|Files|File Types|All|Sound|Video|Lists|Extra|All|Subdirectories|"
        "Add Files|Remove Files"), None),
    ("Subdirectories", "TARVOLIN", ("page tab", "Subdirectories"), None, MAIN % (
        "Subdirectories|Subdirectories|All|Select All|Inverce Selection|Cancel Search|Add Files|"
        "Remove Files|Progress|Current Item"), None),
    ("Video Preview", "TARVOLIN", ("page tab", "Video Preview"), None, MAIN % "Video Preview", None),
    ("compact window", "TARVOLIN", ("push button", "Compact"), ("push button", "Maximize"),
     "Current File|File Number|Length|Elapsed|Remain.|Size|Kbps|Position|Play / Pause|"
     "Last file|Next file|Go back|Go ahead|Number of steps|Volume|Maximize|Rating|All|Unmarked|Class X|Class C|"
     "Class B|Class A|Class S",
     ("Class A", "space", "rates the playing track",
      lambda w: find(w, lambda n: n.name.startswith("Προτίμηση Rating")).name.endswith("A"))),
    ("video window", "Video", ("menu item", "Show"), ("menu item", "Hide"), "Play / Pause|Position", None),
    ("information window", "Information", ("menu item", "Programming"), ("push button", "O.K."), "Webpage|O.K.",
     ("Webpage", "Return", "opens the program's page", lambda w: os.path.exists(os.environ["TARVOLIN_OPENED"]))),
    ("snooze window", "Snooze", ("menu item", "Snooze"), ("push button", "Exit"),
     "Ώρα - Time|Countdown|Time: hours|Time: hours|Time: minutes|Time: minutes|Time: seconds|Time: seconds|"
     "Calendar|Shutdown|Countdown: hours|Countdown: hours|Countdown: minutes|Countdown: minutes|"
     "Countdown: seconds|Countdown: seconds|File to Snooze|Exit|Ok|Cancel", None),
]


def actions(node):
    try:
        act = node.queryAction()
    except NotImplementedError:
        return []
    return [act.getName(i) for i in range(act.nActions)]


def internal(name):
    """An identifier with a digit, an underscore or an inner capital:
    Command18_0, frmSplash, WindowsMediaPlayer1_bar_play."""
    return bool(re.fullmatch(r"[A-Za-z]\w*", name) and re.search(r"[0-9_]|[a-z][A-Z]", name))


def controls(window):
    """The shown controls of a window that take the focus or offer an
    action, and the titles of its frames, in one walk."""
    found, titles = [], []

    def walk(node):
        for i in range(node.childCount):
            c = node.getChildAtIndex(i)
            if c is None or not c.getState().contains(pyatspi.STATE_SHOWING):
                continue
            role = c.getRole()
            if role in (pyatspi.ROLE_PANEL, pyatspi.ROLE_GROUPING) and c.name:
                titles.append(c.name)
            if c.getState().contains(pyatspi.STATE_FOCUSABLE) or actions(c):
                found.append(c)
            # Rows, menus and a combo box's parts are not controls of their own.
            if role not in (pyatspi.ROLE_LIST, pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE, pyatspi.ROLE_MENU,
                            pyatspi.ROLE_COMBO_BOX):
                walk(c)
    walk(window)
    return found, titles


def said(node):
    """What a screen reader says for a control: name, role, description."""
    text = "%s, %s" % (node.name, node.getRoleName())
    return text + (" (%s)" % node.description if node.description and node.description != node.name else "")


def names_checked(label, window):
    found, titles = controls(window)
    print("--- %s: %d controls" % (label, len(found)))
    for node in found:
        print("    " + said(node))
    bad = [said(n) for n in found if not n.name.strip() or internal(n.name)
           or (n.name in titles and sum(m.name == n.name for m in found) > 1)]
    check(not bad, "%s: every control is named for what it is %s" % (label, bad))
    return found


FOCUSED = []


def next_focus(timeout=3.0):
    """The next control that got the focus, as the bus tells."""
    end = time.time() + timeout
    while time.time() < end:
        while GLib.MainContext.default().iteration(False):
            pass
        if FOCUSED:
            return FOCUSED.pop(0)
        time.sleep(0.01)
    return None


def settle():
    while next_focus(0.5) is not None:
        pass


def where(node):
    e = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return node.name, e.x, e.y


def tab_round(label, window, title, expected):
    """Goes round the window with the Tab key from the first stop expected."""
    wanted = expected.split("|")
    first = find(window, lambda n: wanted[0] in n.name and n.getState().contains(pyatspi.STATE_FOCUSABLE)
                 and n.getState().contains(pyatspi.STATE_SHOWING))
    check(first is not None, "%s: the first stop %r is there" % (label, wanted[0]))
    if first is None:
        return
    # The window takes the keyboard and gives the focus to a control of its
    # choice before the round starts.
    subprocess.run(["xdotool", "search", "--onlyvisible", "--name", title, "windowfocus", "--sync"],
                   capture_output=True)
    settle()
    first.queryComponent().grabFocus()
    settle()
    stops, at = [first.name], where(first)
    for _ in range(len(wanted) + 60):
        subprocess.run(["xdotool", "key", "Tab"])
        node = next_focus()
        # The focus told again for the stop reached, and a list's current
        # row, are no stops of their own.
        while node is not None and (where(node) == at or node.getRole() == pyatspi.ROLE_LIST_ITEM):
            node = next_focus(1.0)
        if node is None or where(node) == where(first):
            break
        stops.append(node.name)
        at = where(node)
    print("--- %s: Tab round\n    %s" % (label, "\n    ".join(stops)))
    unnamed = [s for s in stops if not s.strip() or internal(s)]
    check(not unnamed, "%s: every Tab stop is named %s" % (label, unnamed))
    same = len(stops) == len(wanted) and all(w in s for w, s in zip(wanted, stops))
    check(same, "%s: the Tab key goes round in the order drawn" % label)


def keyed(label, window, press):
    """Presses a label of the window with a key."""
    part, key, what, shown = press
    node = find(window, lambda n: n.getRole() in (pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_RADIO_BUTTON)
                and part in n.name)
    node.queryComponent().grabFocus()
    wait_for(lambda: node.getState().contains(pyatspi.STATE_FOCUSED), 5)
    subprocess.run(["xdotool", "key", key])
    check(bool(wait_for(lambda: shown(window), 10)), "%s: %s on %r %s" % (label, key, part, what))


def window_named(app, part, other=""):
    return wait_for(lambda: find(app, lambda n: n.getRole() == pyatspi.ROLE_FRAME and part in n.name
                                 and n.name != other and n.getState().contains(pyatspi.STATE_SHOWING)), 20)


def press_named(app, control):
    """Presses the control of that role whose name is part, or ends in it."""
    role, part = control
    node = wait_for(lambda: find(app, lambda n: n.getRoleName() == role
                                 and (n.name == part or n.name.endswith(" " + part))), 20)
    check(node is not None, "the %s %r is there" % control)
    if node is not None:
        press_quietly(node)


def main():
    os.environ.pop("TARVOLIN_ACCESSIBLE_IDS", None)
    proc, app = start_program(EXE, after_start_up=False)
    try:
        if app is None:
            return
        splash = wait_for(lambda: window_named(app, "Press once"), 10)
        if splash is not None:
            names_checked("splash window", splash)
        main_window = window_named(app, "TARVOLIN")
        check(main_window is not None, "the main window is shown")
        if main_window is None:
            return
        # The windows show a file playing (the video window only then).
        press_named(app, ("push button", "Add Files"))
        progress = find(main_window, lambda n: n.name == "Πρόοδος - Progress")
        check(bool(wait_for(lambda: "Added files : 2." in text_of(progress), 30)), "the two tracks are added")
        press_named(app, ("push button", "Next"))
        pyatspi.Registry.registerEventListener(lambda e: e.detail1 and FOCUSED.append(e.source),
                                               "object:state-changed:focused")
        for label, title, opener, closer, expected, press in WINDOWS:
            press_named(app, opener)
            window = main_window if closer is None else window_named(app, title, main_window.name)
            check(window is not None, "the %s opens" % label)
            if window is None:
                continue
            time.sleep(0.5)
            names_checked(label, window)
            tab_round(label, window, title, expected)
            if press:
                keyed(label, window, press)
            if closer:
                press_named(app, closer)
                wait_for(lambda: not window.getState().contains(pyatspi.STATE_SHOWING), 20)
    finally:
        end_program(proc)


main()
exit_with_summary()
