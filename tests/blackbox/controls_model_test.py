#!/usr/bin/env python3
"""Black-box test: every kind of control reaches the model whether it is
operated by the keyboard alone or through its accessibility interfaces.

The checks look where the model keeps the effect: the file list that the
type list fills, the folder list's folders, the file playing. A list shows
the model's selection again once a change settles, so the rows it reports
selected then are the model's.
Run by atspi_test.sh inside dbus-run-session and xvfb-run.
"""
import os
import shutil
import subprocess
import sys
import threading
import time

import pyatspi

from atspi_support import (by_description, check, end_program, exit_with_summary, find, press, press_quietly,
                           row_names, rows, start_program, text_of, toggle, wait_for, window_of)

EXE = sys.argv[1]
HOME = os.environ["HOME"]
SHORT = 10


def selected(lst):
    return [i for i, r in enumerate(rows(lst)) if r.getState().contains(pyatspi.STATE_SELECTED)]


def key(*keys):
    subprocess.run(["xdotool", "key", "--delay", "120"] + list(keys), check=True)


def folder_names(lst):
    """The folders a folder list shows, without what its rows say of the
    open folder and those above it."""
    return [n.replace(", Τρέχων φάκελος - Current folder", "").replace(", Γονικός φάκελος - Parent folder", "")
            for n in row_names(lst)]


def click(node):
    e = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    subprocess.run(["xdotool", "mousemove", str(e.x + min(20, e.width // 2)), str(e.y + e.height // 2),
                    "click", "1"], check=True)


def settled(fn, want, timeout=SHORT):
    """Polls fn until it gives want; returns the last value seen."""
    got = wait_for(lambda: fn() == want and [True], timeout)
    return want if got else fn()


def show_page(main, caption_part):
    tabs = find(main, lambda n: n.getRole() == pyatspi.ROLE_PAGE_TAB_LIST)
    press([t for t in rows(tabs) if caption_part in t.name][0])
    time.sleep(0.5)


def file_lists(main):
    """The type list List3 sets the file list's pattern; File1 and Dir1 are
    the file and folder lists, by the keyboard and by assistive technology."""
    show_page(main, "Exploring")
    types, files, folders = (by_description(main, d) for d in ("List3", "File1", "Dir1"))
    tracks = ["alpha.mp3", "track1.mp3", "track2.mp3"]
    check(settled(lambda: row_names(files), tracks) == tracks, "File1 lists the tracks (%s)" % row_names(files))

    # The type list through its rows' Toggle action and its table interface:
    # the model's selection makes the file list's pattern.
    mp3 = [i for i, n in enumerate(row_names(types)) if "mp3" in n.lower()][0]
    toggle(rows(types)[mp3])
    got = settled(lambda: row_names(files), [])
    check(got == [], "a type row toggled off through Toggle reaches the model: no mp3 listed (%s)" % got)
    toggle(rows(types)[mp3])
    got = settled(lambda: row_names(files), tracks)
    check(got == tracks, "toggled on again, the mp3 files are listed (%s)" % got)
    types.queryTable().removeRowSelection(mp3)
    got = settled(lambda: row_names(files), [])
    check(got == [], "a row unselected through the table interface reaches the model (%s)" % got)
    types.queryTable().addRowSelection(mp3)
    got = settled(lambda: row_names(files), tracks)
    check(got == tracks, "a row selected through the table interface reaches the model (%s)" % got)

    # The file list by the keyboard: a range with Shift, every row with
    # Ctrl+A, a row by its first letter. What the list shows is mirrored from
    # the model once it settles.
    click(rows(files)[0])
    check(settled(lambda: selected(files), [0]) == [0], "a click selects the first file")
    key("shift+Down", "shift+Down")
    got = settled(lambda: selected(files), [0, 1, 2])
    check(got == [0, 1, 2], "Shift+Down twice selects three files (%s)" % got)
    key("Home")
    check(settled(lambda: selected(files), [0]) == [0], "Home selects the first file alone")
    key("ctrl+a")
    got = settled(lambda: selected(files), [0, 1, 2])
    check(got == [0, 1, 2], "Ctrl+A selects every file (%s)" % got)
    key("Home", "t")
    got = settled(lambda: selected(files), [1])
    check(got == [1], "typing a file's first letter selects it (%s)" % got)
    toggle(rows(files)[2])
    got = settled(lambda: selected(files), [1, 2])
    check(got == [1, 2], "a file row toggled on through Toggle joins the selection (%s)" % got)

    # The folder list: Enter opens the current folder, Backspace goes up.
    before = folder_names(folders)
    sub = [i for i, n in enumerate(before) if n == "sub"][0]
    click(rows(folders)[sub])
    key("Return")
    got = wait_for(lambda: "deeper" in folder_names(folders) and [True], SHORT)
    check(bool(got), "Enter on a folder opens it (%s)" % folder_names(folders))
    key("BackSpace")
    got = wait_for(lambda: "sub" in folder_names(folders) and [True], SHORT)
    check(bool(got), "Backspace goes back up (%s)" % folder_names(folders))

    # The folder's parents stand above its subfolders, from the root down;
    # a double click on one goes up to it.
    parents = ["/"] + HOME.strip("/").split("/")
    names = folder_names(folders)
    shown = names[:len(parents)] == parents and "sub" in names[len(parents):]
    check(shown, "the parent folders stand above the subfolders (%s)" % names)
    if not shown:
        return
    e = rows(folders)[len(parents) - 2].queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    subprocess.run(["xdotool", "mousemove", str(e.x + e.width // 2), str(e.y + e.height // 2), "click", "--repeat",
                    "2", "--delay", "80", "1"], check=True)
    up = parents[:-1]
    got = wait_for(lambda: folder_names(folders)[:len(up)] == up and "home" in folder_names(folders)[len(up):] and [True],
                   SHORT)
    check(bool(got), "a double click on the parent row goes up to it (%s)" % folder_names(folders))
    check(not row_names(files), "the file list follows to the parent folder (%s)" % row_names(files))
    # Back down into the home folder for what follows.
    click(rows(folders)[folder_names(folders).index("home")])
    key("Return")
    wait_for(lambda: "sub" in folder_names(folders) and [True], SHORT)


def buttons(main):
    """Enter, on either key, presses the command button that has the focus,
    as the Press action does: the button for every type selects every row
    of the type list, pressed again none."""
    types, every = by_description(main, "List3"), by_description(main, "Command7_0")
    every.queryComponent().grabFocus()
    check(bool(wait_for(lambda: every.getState().contains(pyatspi.STATE_FOCUSED), SHORT)),
          "the button takes the focus")
    count = types.childCount
    key("Return")
    got = settled(lambda: len(selected(types)), count)
    check(got == count, "Return presses the button: every type is selected (%d of %d)" % (got, count))
    key("KP_Enter")
    got = settled(lambda: len(selected(types)), 0)
    check(got == 0, "Enter on the keypad presses it again: no type is selected (%d)" % got)
    press(every)
    got = settled(lambda: len(selected(types)), count)
    check(got == count, "the Press action presses it a third time: every type again (%d)" % got)


def track_list(main):
    """The track list: a row selected through Toggle is the model's; Enter
    plays the current track (the player's file name box shows it)."""
    status = by_description(main, "Text2_1")
    threading.Thread(target=press_quietly, args=(by_description(main, "Command18_0"),), daemon=True).start()
    added = wait_for(lambda: "Number of Added" in text_of(status), 60)
    check(bool(added), "the files of the folder are added")
    tracks = by_description(main, "List2")
    check(bool(wait_for(lambda: tracks.childCount >= 3, SHORT)), "the track list holds the tracks")
    click(rows(tracks)[0])
    check(settled(lambda: selected(tracks), [0]) == [0], "a click selects the first track")
    toggle(rows(tracks)[1])
    got = settled(lambda: selected(tracks), [0, 1])
    check(got == [0, 1], "a track toggled on through Toggle is selected in the model (%s)" % got)
    # Rows reached by the keys or through Toggle are chosen as a click
    # chooses them: the columns follow and the file's details show.
    number = by_description(main, "List3_0_0")
    title = by_description(main, "Text1_0")
    last = tracks.childCount - 1
    want_title = "Τραγούδι 2" if rows(tracks)[last].name.startswith("track2.mp3, ") else "Τραγούδι 1"
    click(rows(tracks)[0])
    key("End")
    got = settled(lambda: (selected(tracks), selected(number), text_of(title)), ([last], [last], want_title))
    check(got == ([last], [last], want_title),
          "End on the track list: the number column and the title box follow (%s)" % (got,))
    key("Home")
    got = settled(lambda: (selected(number), text_of(title)), ([0], "Τραγούδι 1"))
    check(got == ([0], "Τραγούδι 1"), "Home on the track list: the columns and the details follow (%s)" % (got,))
    toggle(rows(number)[last])
    got = settled(lambda: selected(tracks), [0, last])
    check(got == [0, last], "a number toggled on through Toggle selects its track too (%s)" % got)
    playing = by_description(main, "Text6")
    click(rows(tracks)[2])
    key("Return")
    got = wait_for(lambda: text_of(playing).endswith("/" + rows(tracks)[2].name.split(", ")[0]) and [True], 20)
    check(bool(got), "Enter on the track list plays the current track (%r)" % text_of(playing))


def combo_text(combo):
    edit = find(combo, lambda n: n.getRole() == pyatspi.ROLE_TEXT)
    return text_of(edit) if edit is not None else combo.name


def combos(main):
    """An item chosen in a combo box's drop-down list through assistive
    technology is the box's pick, with the list closed or open."""
    show_page(main, "Play Control")
    genre = by_description(main, "Combo1")
    items = genre.getChildAtIndex(0)
    want = rows(items)[5].name
    toggle(rows(items)[5])
    got = settled(lambda: combo_text(genre), want)
    check(got == want, "an item toggled in the closed list is picked (%r)" % got)
    want = rows(items)[7].name
    items.queryTable().addRowSelection(7)
    got = settled(lambda: combo_text(genre), want)
    check(got == want, "an item selected through the list's table is picked (%r)" % got)
    search = by_description(main, "Combo3")
    threading.Thread(target=press_quietly, args=(search,), daemon=True).start()
    items = search.getChildAtIndex(0)
    opened = wait_for(lambda: search.getState().contains(pyatspi.STATE_EXPANDED), SHORT)
    check(bool(opened), "Combo3's list opens")
    want = rows(items)[2].name
    toggle(rows(items)[2])
    got = settled(lambda: combo_text(search), want)
    check(got == want, "an item toggled in the open list is picked (%r)" % got)
    closed = wait_for(lambda: not search.getState().contains(pyatspi.STATE_EXPANDED) and [True], SHORT)
    check(bool(closed), "and the list closes")


def scroll_bars(app):
    """A scroll bar is reached with the keyboard and its keys reach the
    model: the snooze window's minutes box shows its bar's value."""
    item = find(app, lambda n: n.getRole() == pyatspi.ROLE_MENU_ITEM and n.name == "Snooze")
    threading.Thread(target=press_quietly, args=(item,), daemon=True).start()
    window = wait_for(lambda: window_of(app, "Form5"), 20)
    check(window is not None, "the snooze window opens")
    if window is None:
        return
    bar, minutes = by_description(window, "VScroll1_4"), by_description(window, "Text1_4")
    check(bar.getState().contains(pyatspi.STATE_FOCUSABLE), "the scroll bar takes the keyboard focus")
    # A click on the minutes box makes the window the keyboard's.
    click(minutes)
    bar.queryComponent().grabFocus()
    focused = wait_for(lambda: bar.getState().contains(pyatspi.STATE_FOCUSED), SHORT)
    check(bool(focused), "the scroll bar has the keyboard focus")
    for keys in (["Up", "Up"], ["Page_Up"], ["End"], ["Home"]):
        before = bar.queryValue().currentValue
        key(*keys)
        wait_for(lambda: bar.queryValue().currentValue != before, SHORT)
        value = bar.queryValue().currentValue
        shown = wait_for(lambda: text_of(minutes) == "%d" % value and [True], SHORT)
        check(value != before and bool(shown), "%s moves the scroll bar (%s to %s) and the minutes box shows it (%r)"
              % ("+".join(keys), before, value, text_of(minutes)))
    press(by_description(window, "Command1_2"))


def clickable_label(app):
    """A label the program handles a click on offers a Press action that
    clicks it: the information window's home page link opens the page."""
    item = find(app, lambda n: n.getRole() == pyatspi.ROLE_MENU_ITEM and "Programming" in n.name)
    threading.Thread(target=press_quietly, args=(item,), daemon=True).start()
    window = wait_for(lambda: window_of(app, "Form3"), 20)
    check(window is not None, "the information window opens")
    if window is None:
        return
    link = by_description(window, "Label1")
    act = link.queryAction()
    acts = [act.getName(i) for i in range(act.nActions)]
    check("Press" in acts, "the home page label offers Press (%s)" % acts)
    opened = os.environ["TARVOLIN_OPENED"]
    if "Press" in acts:
        act.doAction(acts.index("Press"))
    got = wait_for(lambda: os.path.exists(opened) and open(opened).read().strip(), SHORT)
    check(bool(got), "pressing it opens the home page (%r)" % got)


def main():
    # A third track whose name starts with its own letter, and a folder
    # with a subfolder to open.
    shutil.copy(os.path.join(HOME, "track1.mp3"), os.path.join(HOME, "alpha.mp3"))
    os.makedirs(os.path.join(HOME, "sub", "deeper"), exist_ok=True)
    proc, app = start_program(EXE)
    try:
        main_window = wait_for(lambda: by_description(app, "Form1"))
        check(main_window is not None, "the main window is on the bus")
        time.sleep(1)
        file_lists(main_window)
        buttons(main_window)
        track_list(main_window)
        combos(main_window)
        scroll_bars(app)
        clickable_label(app)
    finally:
        end_program(proc)
    exit_with_summary()


if __name__ == "__main__":
    main()
