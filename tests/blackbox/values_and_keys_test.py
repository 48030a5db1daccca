#!/usr/bin/env python3
"""Black-box test of what the bus tells a screen reader about the controls'
values, and of the keys a keyboard user relies on.

Values: a text box's text is one attribute run (a screen reader reads the
line run by run) and it answers for the word at its end, a combo box's drop-down list holds the item shown
selected, an editable combo box's edit part does not repeat the box's name,
the volume is a percentage, the folder list names the open folder and the
folders above it, a track table's ruler line is a separator, and opening a
folder moves the focus to the folder opened, the file-types list tells
each type's choice as a check mark. Keys, pressed for real: Esc
closes the snooze and information windows and a message box, Alt and a
letter open a menu of the bar, Return in the File Managing search box
searches. Run by atspi_test.sh inside dbus-run-session and xvfb-run.
"""
import os
import subprocess
import sys
import threading
import time

import pyatspi
from gi.repository import GLib

from atspi_support import (by_description, check, end_program, exit_with_summary, find, press_quietly, rows,
                           start_program, text_of, wait_for, window_of)

EXE = sys.argv[1]
HOME = os.environ["HOME"]
SHORT = 10
SUBFOLDER = "Μουσική"
FOCUSED = []


def key(*keys):
    subprocess.run(["xdotool", "key", "--delay", "150"] + list(keys), check=True)


def focus_window(title):
    subprocess.run(["xdotool", "search", "--onlyvisible", "--name", title, "windowfocus", "--sync"],
                   capture_output=True)
    time.sleep(0.5)


def click(node):
    e = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    subprocess.run(["xdotool", "mousemove", str(e.x + min(20, e.width // 2)), str(e.y + e.height // 2),
                    "click", "1"], check=True)


def focus_events(seconds):
    """The names and roles of the controls that got the focus within the
    coming seconds (those gone since left out)."""
    end = time.time() + seconds
    while time.time() < end:
        while GLib.MainContext.default().iteration(False):
            pass
        time.sleep(0.02)
    got = []
    for node in FOCUSED:
        try:
            got.append((node.name, node.getRole()))
        except Exception:
            pass
    del FOCUSED[:]
    return got


def show_page(main, part):
    tab = find(main, lambda n: n.getRole() == pyatspi.ROLE_PAGE_TAB and part in n.name)
    press_quietly(tab)
    time.sleep(0.5)


def child_of_role(node, role):
    return find(node, lambda n: n is not node and n.getRole() == role, skip_lists=False)


def attribute_runs(node):
    """The text's attribute runs from its start, as a screen reader reads
    them, with the offset they reach."""
    text = node.queryText()
    offset, reached = 0, 0
    while offset < text.characterCount:
        _, start, end = text.getAttributeRun(offset, False)
        reached = max(reached, end)
        offset = max(end, offset + 1)
    return reached


def selected_names(lst):
    return [r.name for r in rows(lst) if r.getState().contains(pyatspi.STATE_SELECTED)]


# Values on the bus: what is checked, the page it is on, the control (by
# its internal name) and what must hold of it.
def text_runs(box):
    box.queryEditableText().setTextContents("Hello")
    wait_for(lambda: text_of(box) == "Hello", SHORT)
    return attribute_runs(box) == 5


def word_at_end(box):
    """Asks for the word where the cursor stands after typing, the text's
    end, as a screen reader does; a program that never answers fails."""
    box.queryEditableText().setTextContents("Hello you")
    wait_for(lambda: text_of(box) == "Hello you", SHORT)
    answer = []
    asking = threading.Thread(target=lambda: answer.append(
        box.queryText().getTextAtOffset(9, pyatspi.TEXT_BOUNDARY_WORD_START)), daemon=True)
    asking.start()
    asking.join(SHORT)
    return answer and answer[0][0] == "you"


def drive_value(box):
    lst = child_of_role(box, pyatspi.ROLE_LIST)
    return bool(wait_for(lambda: len(selected_names(lst)) == 1, SHORT))


def combo_edit_unnamed(box):
    edit = child_of_role(box, pyatspi.ROLE_TEXT)
    return edit is not None and box.name and edit.name != box.name


def volume_percent(bar):
    value = bar.queryValue()
    value.currentValue = 50
    return bool(wait_for(lambda: (value.minimumValue, value.maximumValue, value.currentValue) == (0, 100, 50), SHORT))


def folder_rows(lst):
    names = [r.name for r in rows(lst)]
    at = [i for i, n in enumerate(names) if n.endswith(", Τρέχων φάκελος - Current folder")]
    return (len(at) == 1 and names[at[0]].startswith(os.path.basename(HOME))
            and all(n.endswith(", Γονικός φάκελος - Parent folder") for n in names[:at[0]])
            and SUBFOLDER in names[at[0] + 1:])


def ruler_row(table):
    # The table shows every track.
    press_quietly(by_description(table.parent, "Command16_1"))
    names = wait_for(lambda: len(rows(table)) > 2 and [r.name for r in rows(table)], SHORT) or []
    return len(names) > 2 and names[1] == "Διαχωριστικό - Separator" and "~" not in "".join(names)


VALUES = [
    ("a text box's text is one attribute run to its end", "File Managing", "Text2_4", text_runs),
    ("a text box answers for the word at its end", "File Managing", "Text2_4", word_at_end),
    ("the drive box's list holds the drive shown selected", "Exploring", "Drive1", drive_value),
    ("an editable combo box's edit part does not repeat the box's name", "File Managing", "Combo4_0_0", combo_edit_unnamed),
    ("the volume is a percentage, and set as one", "Play Control", "HScroll1", volume_percent),
    ("the folder list names the open folder and those above it", "Exploring", "Dir1", folder_rows),
    ("a track table's ruler line is a separator", "File Managing", "List5", ruler_row),
]


def values(app, main):
    for what, page, desc, holds in VALUES:
        show_page(main, page)
        node = wait_for(lambda: by_description(main, desc), SHORT)
        try:
            ok = node is not None and bool(holds(node))
        except Exception as e:  # a missing interface is a failed check
            print("     (%s)" % e)
            ok = False
        check(ok, what)


def menu_item_showing(app, name):
    return find(app, lambda n: n.getRole() == pyatspi.ROLE_MENU_ITEM and n.name == name
                and n.getState().contains(pyatspi.STATE_SHOWING), skip_lists=False)


def open_by_menu(app, item_name, desc):
    item = find(app, lambda n: n.getRole() == pyatspi.ROLE_MENU_ITEM and item_name in n.name, skip_lists=False)
    press_quietly(item)
    return wait_for(lambda: window_of(app, desc), 20)


def closes_on_escape(app, main, item_name, desc, title):
    window = open_by_menu(app, item_name, desc)
    if window is None:
        return False
    focus_window(title)
    key("Escape")
    return bool(wait_for(lambda: window_of(app, desc) is None, SHORT))


def alt_letter(app, main):
    focus_window("TARVOLIN")
    key("alt+f")
    # The menu's last item shows.
    shown = wait_for(lambda: menu_item_showing(app, "Έξοδος - Exit"), SHORT)
    key("Escape")
    return shown is not None


def return_searches(app, main):
    show_page(main, "File Managing")
    box = by_description(main, "Text2_4")
    box.queryEditableText().setTextContents("")
    focus_window("TARVOLIN")
    box.queryComponent().grabFocus()
    wait_for(lambda: box.getState().contains(pyatspi.STATE_FOCUSED), SHORT)
    key("Return")
    # With nothing typed the search asks for a text: Esc answers the box.
    asked = wait_for(lambda: window_of(app, "MsgBox"), SHORT) is not None
    time.sleep(0.5)
    key("Escape")
    return asked and bool(wait_for(lambda: window_of(app, "MsgBox") is None, SHORT))


def opening_folder_focuses_it(app, main):
    show_page(main, "Exploring")
    folders = by_description(main, "Dir1")
    home = os.path.basename(HOME)
    current = wait_for(lambda: [r for r in rows(folders) if r.name.split(",")[0] == home][0], SHORT)
    focus_window("TARVOLIN")
    click(current)
    focus_events(1.0)
    key("Down")
    focus_events(1.0)
    key("Return")
    got = [name for name, role in focus_events(2.0) if role == pyatspi.ROLE_LIST_ITEM]
    print("     focus after opening: %s" % got)
    return bool(got) and got[-1].startswith(SUBFOLDER)


def checked(node):
    return node.getState().contains(pyatspi.STATE_CHECKED)


def type_choice_told(app, main):
    show_page(main, "Exploring")
    types = by_description(main, "List3")
    first = wait_for(lambda: rows(types)[0], SHORT)
    focus_window("TARVOLIN")
    click(first)
    focus_events(1.0)
    key("Down")
    focus_events(1.0)
    now = rows(types)
    print("     after Down: %s %s, %s %s" % (now[0].name, checked(now[0]), now[1].name, checked(now[1])))
    return not checked(now[0]) and checked(now[1])


KEYS = [
    ("Esc closes the snooze window", lambda app, main: closes_on_escape(app, main, "Snooze", "Form5", "Snooze")),
    ("Esc closes the information window",
     lambda app, main: closes_on_escape(app, main, "Programming", "Form3", "Information")),
    ("Alt+F opens the Files menu", alt_letter),
    ("Return in the search box searches, and Esc answers the message box", return_searches),
    ("opening a folder with Return moves the focus to the folder opened", opening_folder_focuses_it),
    ("Down in the file-types list tells the type left unchosen and the one chosen", type_choice_told),
]


def main():
    os.makedirs(os.path.join(HOME, SUBFOLDER), exist_ok=True)
    proc, app = start_program(EXE)
    try:
        if app is None:
            return
        main_window = wait_for(lambda: window_of(app, "Form1"), 30)
        check(main_window is not None, "the main window is shown")
        if main_window is None:
            return
        # Two tracks, so that the track tables have lines.
        press_quietly(wait_for(lambda: by_description(main_window, "Command18_0"), SHORT))
        progress = find(main_window, lambda n: n.name == "Πρόοδος - Progress")
        check(bool(wait_for(lambda: "Added files : 2." in text_of(progress), 30)), "the two tracks are added")
        pyatspi.Registry.registerEventListener(lambda e: e.detail1 and FOCUSED.append(e.source),
                                               "object:state-changed:focused")
        values(app, main_window)
        for what, run in KEYS:
            try:
                ok = bool(run(app, main_window))
            except Exception as e:
                print("     (%s)" % e)
                ok = False
            check(ok, what)
    finally:
        end_program(proc)


main()
exit_with_summary()
