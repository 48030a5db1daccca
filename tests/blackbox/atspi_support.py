"""Helpers of the black-box tests: finding the program's controls on the
accessibility bus by their description (the control's name), pressing them,
recording checks, and ending the program as the desktop does.
"""
import os
import signal
import subprocess
import sys
import time

import pyatspi

TIMEOUT = float(os.environ.get("TARVOLIN_ATSPI_TIMEOUT", "90"))
failures = []


def check(cond, what):
    print(("ok   " if cond else "FAIL ") + what, flush=True)
    if not cond:
        failures.append(what)


def wait_for(fn, timeout=TIMEOUT, step=0.25):
    end = time.time() + timeout
    while time.time() < end:
        try:
            v = fn()
        except Exception:  # the tree changes while we walk it
            v = None
        if v:
            return v
        time.sleep(step)
    return None


def app_node():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        a = desktop.getChildAtIndex(i)
        if a is not None and a.name == "tarvolin":
            return a
    return None


def find(node, pred, depth=0, skip_lists=True):
    if node is None or depth > 40:
        return None
    try:
        if pred(node):
            return node
        role = node.getRole()
        # Rows of lists and tables are not controls: do not walk them.
        if skip_lists and role in (pyatspi.ROLE_LIST, pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE):
            return None
        for i in range(node.childCount):
            r = find(node.getChildAtIndex(i), pred, depth + 1, skip_lists)
            if r is not None:
                return r
    except Exception:
        return None
    return None


def by_description(root, desc):
    return find(root, lambda n: n.description == desc)


def press(node):
    act = node.queryAction()
    names = [act.getName(i) for i in range(act.nActions)]
    for wanted in ("Press", "press", "click", "Toggle", "toggle"):
        if wanted in names:
            return act.doAction(names.index(wanted))
    return act.doAction(0)


def toggle(node):
    act = node.queryAction()
    names = [act.getName(i) for i in range(act.nActions)]
    return act.doAction(names.index("Toggle"))


def rows(lst):
    """The rows of a list or table that are on the bus."""
    out = []
    for i in range(lst.childCount):
        c = lst.getChildAtIndex(i)
        if c is not None:
            out.append(c)
    return out


def row_names(lst):
    return [r.name for r in rows(lst)]


def window_of(app, desc):
    """A window of the program by its description (the form's name)."""
    for i in range(app.childCount):
        w = app.getChildAtIndex(i)
        if w is not None and w.description == desc and w.getState().contains(pyatspi.STATE_SHOWING):
            return w
    return None


def press_quietly(node):
    try:
        press(node)
    except Exception:  # the reply may come only after the box is closed
        pass


def text_of(node):
    return node.queryText().getText(0, -1)


def start_program(exe, after_start_up=True):
    """Starts the program and waits for it on the accessibility bus, and
    unless told otherwise for the end of its start-up: that goes on behind
    the shown window until the splash closes, and then starts playing when
    the preferences ask for it."""
    proc = subprocess.Popen([exe], stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    app = wait_for(app_node)
    check(app is not None, "the program appears on the accessibility bus")
    if app is not None and after_start_up:
        wait_for(lambda: window_of(app, "Form1") or window_of(app, "Form4"), 30)
        wait_for(lambda: window_of(app, "frmSplash") is None, 15)
    return proc, app


def checker_failed(text):
    """The line where the leak checker reports that it could not run (its
    thread tracer crashed), when that alone ended the program abnormally;
    None where it found a leak or any other error was reported."""
    if "LeakSanitizer has encountered a fatal error" not in text:
        return None
    if "ERROR: LeakSanitizer: detected memory leaks" in text or "ERROR: AddressSanitizer" in text:
        return None
    if "runtime error:" in text:
        return None
    for line in text.splitlines():
        if line.startswith("Tracer caught signal"):
            return line.strip()
    return None


def end_program(proc):
    """SIGTERM runs the program's own shutdown; it must end cleanly."""
    proc.send_signal(signal.SIGTERM)
    try:
        out, _ = proc.communicate(timeout=60)
        text = out.decode("utf-8", "replace")
        if proc.returncode != 0 and checker_failed(text):
            # The leak checker itself broke down while it stopped the
            # program's threads at the exit: no leak was found, and the
            # program's own shutdown had ended.
            print("note the leak check could not run at the exit: %s" % checker_failed(text))
        else:
            check(proc.returncode == 0, "the program ends cleanly on SIGTERM (exit %s)" % proc.returncode)
    except subprocess.TimeoutExpired:
        proc.kill()
        out, _ = proc.communicate()
        check(False, "the program ends within a minute of SIGTERM")
    if failures:
        sys.stdout.write(out.decode("utf-8", "replace")[-4000:])


def exit_with_summary():
    if failures:
        print("%d check(s) failed" % len(failures))
        sys.exit(1)
    print("all checks passed")
