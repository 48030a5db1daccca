#!/usr/bin/env python3
"""Black-box test of the main window's menus and walk buttons.

Starts the program on a fresh program folder (no preferences yet) and checks
that the Play menu's marks and greyed items show the built-in switches; then
adds four tracks, walks forwards and back through the play history with the
transport buttons and checks that "Return" is usable exactly while the player
is back in its history. Run by atspi_test.sh inside dbus-run-session and
xvfb-run.
"""
import os
import subprocess
import sys
import threading

import pyatspi

from atspi_support import (by_description, check, end_program, exit_with_summary, find, press_quietly,
                           start_program, text_of, wait_for)

EXE = sys.argv[1]
PAUSE = "Παύση Μεταξύ Αρχείων - Pause Between Files"
PAUSE_LENGTH = "Διάρκεια Παύσης - Pause Duration"
REPLAY_NONE = "Επανάληψη: Καμία - Replay: None"


def menu_item(app, caption):
    return wait_for(lambda: find(app, lambda n: n.getRole() == pyatspi.ROLE_MENU_ITEM and n.name == caption), 20)


def has_state(node, state):
    return node is not None and node.getState().contains(state)


def press_later(node):
    # A handler may run the message loop for a while: press from a helper
    # thread and go on.
    threading.Thread(target=press_quietly, args=(node,), daemon=True).start()


def first_run_menus(app):
    pause, length, replay = menu_item(app, PAUSE), menu_item(app, PAUSE_LENGTH), menu_item(app, REPLAY_NONE)
    check(None not in (pause, length, replay), "the Play menu's pause and replay items are exposed")
    if None in (pause, length, replay):
        return
    check(not has_state(pause, pyatspi.STATE_CHECKED), "the pause between files starts off")
    check(not has_state(length, pyatspi.STATE_SENSITIVE), "its length item starts greyed")
    check(has_state(replay, pyatspi.STATE_CHECKED), "replay 'None' starts checked")
    press_later(pause)
    switched = wait_for(lambda: has_state(pause, pyatspi.STATE_CHECKED), 10)
    check(bool(switched), "the pause between files switches on")
    check(has_state(length, pyatspi.STATE_SENSITIVE), "switching the pause on makes its length item usable")


def caption(app, name):
    node = by_description(app, name)
    return node.name if node is not None else ""


def return_button(app):
    """Walks the history with the transport buttons and watches "Return"."""
    back = wait_for(lambda: by_description(app, "Command15_2"), 20)
    check(back is not None, "the Return button is exposed")
    if back is None:
        return
    check(not has_state(back, pyatspi.STATE_SENSITIVE), "Return starts greyed: nothing to return to")

    press_later(by_description(app, "Command18_0"))
    status = wait_for(lambda: by_description(app, "Text2_1"), 20)
    added = wait_for(lambda: status and "Number of Added files : 4." in text_of(status), 30)
    check(bool(added), "Add Files adds the four tracks of the folder")
    if not added:
        return

    def step(button, shown, what):
        press_later(by_description(app, button))
        reached = wait_for(lambda: shown(), 30)
        check(bool(reached), what)
        return bool(reached)

    going_back = lambda: "[-1]" in caption(app, "Label6")
    at_end = lambda: caption(app, "Label6") and "[-" not in caption(app, "Label6")
    walk = [
        ("Command3_0", lambda: "Current: 1 " in caption(app, "Label3_0"), "Next plays a first track", False),
        ("Command3_0", lambda: "Current: 2 " in caption(app, "Label3_0"), "Next plays a second track", False),
        ("Command3_1", going_back, "Previous goes one back in the history", True),
        ("Command15_2", at_end, "Return goes to the furthest point again", False),
        ("Command3_0", lambda: "Current: 3 " in caption(app, "Label3_0"), "Next plays a third track", False),
        ("Command3_1", going_back, "Previous goes back again", True),
    ]
    for button, shown, what, usable in walk:
        if not step(button, shown, what):
            return
        state = wait_for(lambda: has_state(back, pyatspi.STATE_SENSITIVE) == usable, 5)
        check(bool(state), "after '%s' Return is %s" % (what, "usable" if usable else "greyed"))


def main():
    # Two more tracks beside the runner's two, before the folder is listed.
    for i in (3, 4):
        subprocess.run(["ffmpeg", "-loglevel", "error", "-f", "lavfi", "-i",
                        "sine=frequency=%d:duration=20" % (300 * i), "-c:a", "libmp3lame", "-b:a", "128k",
                        os.path.join(os.environ["HOME"], "track%d.mp3" % i)], check=True)
    proc, app = start_program(EXE)
    try:
        if app is None:
            return
        check(wait_for(lambda: by_description(app, "Form1")) is not None, "the main window is shown")
        first_run_menus(app)
        return_button(app)
    finally:
        end_program(proc)


main()
exit_with_summary()
