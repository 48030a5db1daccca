#!/usr/bin/env python3
"""Black-box test: a platform theme that sets its own font (qt6ct, set up in
the test's private XDG_CONFIG_HOME with a large serif) changes nothing in the
program's windows. The main and compact windows are read once without the
theme and once with it: every control's box, and the font of every text the
bus describes, are the same in both runs.
Run by atspi_test.sh inside dbus-run-session and xvfb-run.
"""
import os
import shutil
import sys

import pyatspi

from atspi_support import (check, end_program, exit_with_summary, find, press_quietly, start_program,
                           wait_for, window_of)

EXE = sys.argv[1]
THEME_FONT = "DejaVu Serif,16,-1,5,400,0,0,0,0,0,0,0,0,0,0,1"
FONT_KEYS = ("family-name", "size", "weight")


def set_up_theme():
    folder = os.path.join(os.environ["XDG_CONFIG_HOME"], "qt6ct")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "qt6ct.conf"), "w") as f:
        f.write('[Appearance]\nstyle=Fusion\n\n[Fonts]\ngeneral="%s"\nfixed="DejaVu Sans Mono,16,-1,5,400,0,0,0,0,0,0,0,0,0,0,1"\n'
                % THEME_FONT)


def font_of(node):
    """The font the bus reports for a node's text, or None."""
    try:
        text = node.queryText()
    except NotImplementedError:
        return None
    if text.characterCount == 0:
        return None
    attrs = dict(a.split(":", 1) for a in text.getAttributeRun(0, False)[0] if ":" in a)
    return tuple(attrs.get(k) for k in FONT_KEYS)


def read_window(window, into, path):
    """Each showing control of a window by its place in the tree: its role,
    box and font. Rows of lists are content, not controls: left out."""
    for i in range(window.childCount):
        child = window.getChildAtIndex(i)
        if child is None or not child.getState().contains(pyatspi.STATE_SHOWING):
            continue
        role = child.getRole()
        if role in (pyatspi.ROLE_LIST_ITEM, pyatspi.ROLE_TABLE_CELL):
            continue
        e = child.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        key = "%s/%d %s" % (path, i, child.description or child.getRoleName())
        into[key] = (child.getRoleName(), (e.x, e.y, e.width, e.height), font_of(child))
        if role not in (pyatspi.ROLE_LIST, pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE):
            read_window(child, into, key)


def one_run(label):
    """The controls of the main and compact windows in one run, from a
    program folder of its own: both runs start as a first run."""
    folder = os.path.join(os.path.dirname(EXE), label.replace(" ", "_"))
    os.makedirs(folder)
    exe = shutil.copy(EXE, folder)
    proc, app = start_program(exe)
    seen = {}
    main_window = wait_for(lambda: window_of(app, "Form1"))
    check(main_window is not None, "%s: the main window opens" % label)
    wait_for(lambda: window_of(app, "frmSplash") is None, 30)
    if main_window is not None:
        read_window(main_window, seen, "Form1")
        button = find(main_window, lambda n: n.getRole() == pyatspi.ROLE_PUSH_BUTTON and n.name.endswith("Compact"))
        if button is not None:
            press_quietly(button)
            compact = wait_for(lambda: window_of(app, "Form4"), 30)
            check(compact is not None, "%s: the compact window opens" % label)
            if compact is not None:
                read_window(compact, seen, "Form4")
    end_program(proc)
    return seen


def main():
    plain = one_run("no theme")
    check(any(font for _, _, font in plain.values()), "the bus tells the font of the windows' texts")
    set_up_theme()
    os.environ["QT_QPA_PLATFORMTHEME"] = "qt6ct"
    themed = one_run("qt6ct")
    check(set(plain) == set(themed), "the same controls show with the theme (%d against %d)"
          % (len(themed), len(plain)))
    moved = ["%s: %s against %s" % (k, themed[k][1:], plain[k][1:]) for k in sorted(plain)
             if k in themed and themed[k] != plain[k]]
    check(not moved, "every control's box and font hold under the theme's font (%d differ: %s)"
          % (len(moved), "; ".join(moved[:4])))
    exit_with_summary()


main()
