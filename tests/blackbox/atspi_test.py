#!/usr/bin/env python3
"""Black-box test of the program through the accessibility bus.

Starts the program on a fresh program folder, finds its controls by their
accessible description (the control's name), presses a button and a menu
item, answers the message box the menu item opens; then adds the two tracks
of the home folder, plays, types a new title for the playing track and
stores it into its file; and closes the program.
Run by atspi_test.sh inside dbus-run-session and xvfb-run.
"""
import glob
import os
import subprocess
import sys
import threading
import time

import pyatspi

from atspi_support import (by_description, check, end_program, exit_with_summary, find, press, press_quietly,
                           start_program, text_of, wait_for)

EXE = sys.argv[1]


def titles():
    out = {}
    for path in sorted(glob.glob(os.path.join(os.environ["HOME"], "*.mp3"))):
        r = subprocess.run(["ffprobe", "-loglevel", "error", "-show_entries", "format_tags=title",
                            "-of", "default=nw=1:nk=1", path], capture_output=True, text=True)
        out[os.path.basename(path)] = r.stdout.strip()
    return out


def tag_edit(app):
    """Adds the home folder's tracks, plays one and retitles it."""
    add = wait_for(lambda: by_description(app, "Command18_0"), 20)
    check(add is not None, "the Add Files button is exposed")
    if add is None:
        return
    threading.Thread(target=press_quietly, args=(add,), daemon=True).start()
    status = wait_for(lambda: by_description(app, "Text2_1"), 20)
    added = wait_for(lambda: status and "Number of Added files : 2." in text_of(status), 30)
    check(bool(added), "Add Files adds the two tracks of the folder")
    play = by_description(app, "Command11")
    threading.Thread(target=press_quietly, args=(play,), daemon=True).start()
    title = wait_for(lambda: by_description(app, "Text1_0"), 20)
    filled = wait_for(lambda: title and text_of(title).startswith("Τραγούδι"), 30)
    check(bool(filled), "playing fills the title field from the file")
    if not filled:
        return
    before = text_of(title)
    title.queryComponent().grabFocus()
    time.sleep(0.5)
    subprocess.run(["xdotool", "key", "End"])
    subprocess.run(["xdotool", "type", "--delay", "50", " new"])
    store = by_description(app, "Command14")
    armed = wait_for(lambda: store.getState().contains(pyatspi.STATE_SENSITIVE), 10)
    check(bool(armed), "typing into the title arms the store button")
    if not armed:
        return
    threading.Thread(target=press_quietly, args=(store,), daemon=True).start()
    stored = wait_for(lambda: (before + " new") in titles().values(), 20)
    check(bool(stored), "the new title is in the file (%s)" % titles())


def main():
    proc, app = start_program(EXE)
    try:
        if app is None:
            return
        main_window = wait_for(lambda: by_description(app, "Form1"))
        check(main_window is not None, "the main window is found by its description")

        # Controls are found by their names, array members as name_index.
        track_list = wait_for(lambda: by_description(app, "List2"), 20)
        check(track_list is not None, "List2 is exposed")
        select_all = wait_for(lambda: by_description(app, "Command1_0"), 20)
        check(select_all is not None, "Command1_0 is exposed")
        if select_all is not None:
            before = select_all.name
            check("Select All" in before, "Command1_0 shows its design caption: " + before)
            press(select_all)
            after = wait_for(lambda: select_all.name if "None" in select_all.name else None, 20)
            check(after is not None, "pressing Command1_0 runs its handler (caption now %r)" % select_all.name)
            press(select_all)
            back = wait_for(lambda: select_all.name if "Select All" in select_all.name else None, 20)
            check(back is not None, "pressing it again turns the caption back")

        # A menu item of the About menu opens a message box; answer it.
        english = wait_for(lambda: find(app, lambda n: n.getRole() == pyatspi.ROLE_MENU_ITEM
                                        and n.name == "English"), 20)
        check(english is not None, "the menu item mnuinfogr(1) is exposed")
        if english is not None:
            # The item's handler runs the modal box before the press
            # returns: press from a helper thread and go on.
            threading.Thread(target=press_quietly, args=(english,), daemon=True).start()
            box = wait_for(lambda: by_description(app, "MsgBox"), 20)
            check(box is not None, "the menu item opens a message box")
            if box is not None:
                text = find(box, lambda n: n.getRole() == pyatspi.ROLE_LABEL and "Version" in n.name)
                check(text is not None, "the message box shows the English about text")
                ok = find(box, lambda n: n.getRole() == pyatspi.ROLE_PUSH_BUTTON)
                check(ok is not None, "the message box has a button")
                if ok is not None:
                    press(ok)
                    gone = wait_for(lambda: by_description(app, "MsgBox") is None, 20)
                    check(bool(gone), "answering closes the message box")

        tag_edit(app)
    finally:
        end_program(proc)


main()
exit_with_summary()
