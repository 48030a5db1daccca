#!/usr/bin/env python3
"""Black-box test of the file-managing controls through the accessibility bus.

On a fresh program folder: the delete switches that matter only when deleting
from the disk start greyed out, with the Recycle Bin box ticked like its menu
twin; "Add Files" with no media type chosen names the missing type; the
Directory button opens the folder picker and shows the folder chosen.
Run by atspi_test.sh inside dbus-run-session and xvfb-run.
"""
import os
import signal
import subprocess
import sys
import threading
import time

import pyatspi

EXE = sys.argv[1]
TIMEOUT = float(os.environ.get("TARVOLIN_ATSPI_TIMEOUT", "90"))
TYPE_MESSAGE = "Select at least one type of media file"
failures = []


def check(cond, what):
    print(("ok   " if cond else "FAIL ") + what, flush=True)
    if not cond:
        failures.append(what)


def poll(fn, timeout=20):
    """fn's first true answer within timeout seconds, else None."""
    end = time.time() + timeout
    while time.time() < end:
        try:
            answer = fn()
            if answer:
                return answer
        except Exception:  # the tree changes while it is read
            pass
        time.sleep(0.25)
    return None


def nodes(root):
    """Every node under root, lists and tables left closed. A node that goes
    while it is read (a window closing) is passed over."""
    stack = [root]
    while stack:
        node = stack.pop()
        try:
            if node is None or node.getRole() in (pyatspi.ROLE_LIST, pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE):
                children = []
            else:
                children = [node.getChildAtIndex(i) for i in range(node.childCount)]
        except Exception:
            continue
        if node is not None:
            yield node
        stack.extend(children)


def first(root, pred):
    for node in nodes(root):
        try:
            if pred(node):
                return node
        except Exception:  # gone meanwhile
            pass
    return None


def named(root, desc):
    return first(root, lambda n: n.description == desc)


def the_program():
    desktop = pyatspi.Registry.getDesktop(0)
    apps = (desktop.getChildAtIndex(i) for i in range(desktop.childCount))
    return next((a for a in apps if a is not None and a.name == "tarvolin"), None)


def has(node, state):
    return node.getState().contains(state)


def press_later(node):
    """Presses from a helper thread: a modal box holds the reply back."""
    def run():
        try:
            node.queryAction().doAction(0)
        except Exception:
            pass
    threading.Thread(target=run, daemon=True).start()


def menu_item(app, english):
    return first(app, lambda n: n.getRole() == pyatspi.ROLE_MENU_ITEM and n.name.endswith(english))


def delete_switches(app):
    recycle = poll(lambda: menu_item(app, "- To Recycle Bin"))
    even = poll(lambda: menu_item(app, "Remove from Collection even on Disk Error"))
    box = poll(lambda: named(app, "Check3"))
    check(None not in (recycle, even, box), "the delete switches and Check3 are exposed")
    if None in (recycle, even, box):
        return
    for node, what in ((recycle, "To Recycle Bin"), (even, "Remove ... even on Disk Error"), (box, "Check3")):
        check(not has(node, pyatspi.STATE_SENSITIVE), what + " starts greyed out while Delete from disk is off")
    check(has(recycle, pyatspi.STATE_CHECKED) == has(box, pyatspi.STATE_CHECKED),
          "Check3 starts ticked like To Recycle Bin")


def type_message(app):
    lists = poll(lambda: named(app, "Command7_3"))
    add = poll(lambda: named(app, "Command18_0"))
    check(lists is not None and add is not None, "the Lists and Add Files buttons are exposed")
    if lists is None or add is None:
        return
    # A press is an animated click: the next one waits until it is over.
    for _ in range(2):  # the same group twice: no type chosen
        lists.queryAction().doAction(0)
        time.sleep(0.5)
        poll(lambda: not has(lists, pyatspi.STATE_PRESSED) and not has(lists, pyatspi.STATE_ARMED))
        time.sleep(0.5)
    press_later(add)
    box = poll(lambda: named(app, "MsgBox"))
    check(box is not None, "Add Files with no type chosen shows a message")
    if box is None:
        return
    text = first(box, lambda n: n.getRole() == pyatspi.ROLE_LABEL and TYPE_MESSAGE in n.name)
    labels = [n.name for n in nodes(box) if n.getRole() == pyatspi.ROLE_LABEL]
    check(text is not None, "the message names the missing media type: %s" % labels)
    ok = first(box, lambda n: n.getRole() == pyatspi.ROLE_PUSH_BUTTON)
    if ok is not None:
        ok.queryAction().doAction(0)
    check(bool(poll(lambda: named(app, "MsgBox") is None)), "answering closes the message")


def destination(app):
    button = poll(lambda: named(app, "Command19"))
    check(button is not None, "the Directory button is exposed")
    if button is None:
        return
    press_later(button)
    picker = poll(lambda: first(app, lambda n: n.getRole() == pyatspi.ROLE_DIALOG and n.name == "Pick a folder"))
    check(picker is not None, "the Directory button opens the folder picker")
    if picker is None:
        return
    folder = os.path.join(os.environ["HOME"], "dest")
    os.makedirs(folder, exist_ok=True)
    entry = first(picker, lambda n: n.getRole() == pyatspi.ROLE_TEXT and n.name == "Directory:")
    choose = first(picker, lambda n: n.getRole() == pyatspi.ROLE_PUSH_BUTTON and n.name == "Choose")
    check(entry is not None and choose is not None, "the picker has its folder box and its Choose button")
    if entry is None or choose is None:
        return
    entry.queryEditableText().setTextContents(folder)
    time.sleep(0.5)
    choose.queryAction().doAction(0)
    shown = poll(lambda: named(app, "Text2_5").queryText().getText(0, -1) == folder + "/")
    check(bool(shown), "the folder chosen is the destination shown in Text2(5)")


class Running:
    """The program for the length of a with-block; leaving the block sends
    SIGTERM, which runs the program's own shutdown, and checks its end."""

    def __enter__(self):
        self.proc = subprocess.Popen([EXE], stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        return self

    def __exit__(self, *exc):
        self.proc.send_signal(signal.SIGTERM)
        try:
            output = self.proc.communicate(timeout=60)[0]
            ended = self.proc.returncode == 0
        except subprocess.TimeoutExpired:
            self.proc.kill()
            output = self.proc.communicate()[0]
            ended = False
        check(ended, "the program ends cleanly on SIGTERM (exit %s)" % self.proc.returncode)
        if failures:
            sys.stdout.write(output.decode("utf-8", "replace")[-4000:])
        return False


def main():
    with Running():
        app = poll(the_program, TIMEOUT)
        check(app is not None, "the program appears on the accessibility bus")
        if app is None:
            return
        check(poll(lambda: named(app, "Form1"), TIMEOUT) is not None, "the main window is shown")
        delete_switches(app)
        type_message(app)
        destination(app)


main()
print("%d check(s) failed" % len(failures) if failures else "all checks passed")
sys.exit(1 if failures else 0)
