#!/usr/bin/env python3
"""Black-box test: SIGTERM in the middle of a long operation never costs the
collection.

The program gets SIGTERM at several moments of the start-up's load of a
collection of 5,000 tracks (told by how much of the track part file it has
read), then at several moments of a folder add from the folder page. Each
time it must end cleanly within its bound, and the collection files must
then hold every track: the whole collection, and every file the add took.
The files are read by their record layout, as the next load reads them.
Run by atspi_test.sh inside dbus-run-session and xvfb-run; the collection
comes from the program named in TARVOLIN_MAKE_COLLECTION.
"""
import glob
import os
import re
import shutil
import signal
import struct
import subprocess
import sys
import time

import pyatspi

from atspi_support import app_node, check, exit_with_summary, find, press, text_of, wait_for, window_of

EXE = sys.argv[1]
APP_FOLDER = os.path.dirname(EXE)
HOME = os.environ["HOME"]
BIG, SMALL = 5000, 100  # tracks of the collections loaded and added to
ADDED = 1200
BOUND = 30  # seconds from SIGTERM to the end
COLLECTIONS = os.path.join(APP_FOLDER, "tarvolin_sylloges")
PRISTINE = os.path.join(APP_FOLDER, "pristine")
ERR = os.path.join(APP_FOLDER, "err.log")


def saved_tracks():
    """The tracks the collection files hold: the count is the collection
    file's record 6 (records of 300 bytes); a track is 45 records of 400
    bytes in the part file, its path the 12th (a 2-byte length, then
    UTF-8)."""
    with open(os.path.join(COLLECTIONS, "big.tlf"), "rb") as f:
        header = f.read()
    with open(os.path.join(COLLECTIONS, "big_Files.ptlf"), "rb") as f:
        part = f.read()
    count = struct.unpack_from("<i", header, 5 * 300)[0]
    paths = []
    for i in range(count):
        at = (45 * i + 11) * 400
        if at + 2 > len(part):
            break
        n = struct.unpack_from("<H", part, at)[0]
        paths.append(part[at + 2:at + 2 + n].decode("utf-8", "replace"))
    return count, paths


def data_folders():
    return glob.glob(os.path.join(APP_FOLDER, "tarvolin_*/"))


def make_collection(tracks):
    """A collection of that many tracks, kept aside; gives its tracks."""
    for folder in data_folders():
        shutil.rmtree(folder)
    subprocess.run([os.environ["TARVOLIN_MAKE_COLLECTION"], APP_FOLDER + "/", str(tracks)], check=True,
                   stdout=subprocess.DEVNULL)
    for folder in data_folders():
        shutil.copytree(folder, os.path.join(PRISTINE, str(tracks), os.path.basename(folder.rstrip("/"))))
    count, paths = saved_tracks()
    check(count == tracks and len(set(paths)) == tracks, "a collection of %d tracks is made (%d)" % (tracks, count))
    return paths


def restore(tracks):
    """The program's data folders as the collection was made."""
    for folder in data_folders():
        shutil.rmtree(folder)
    kept = os.path.join(PRISTINE, str(tracks))
    for name in os.listdir(kept):
        shutil.copytree(os.path.join(kept, name), os.path.join(APP_FOLDER, name))


def interrupt(what, tracks, progress, target, step):
    """Starts the program on the collection of that many tracks and sends it
    SIGTERM once progress(proc), asked every step seconds, has reached
    target percent; gives the seconds the program took to end."""
    restore(tracks)
    env = dict(os.environ, ASAN_OPTIONS="detect_leaks=0:abort_on_error=1")
    with open(ERR, "wb") as err:
        proc = subprocess.Popen([EXE], stdout=subprocess.DEVNULL, stderr=err, env=env)
    shown, end = -1, time.time() + 90
    while shown < target and time.time() < end and proc.poll() is None:
        time.sleep(step)
        shown = progress(proc)
    start = time.time()
    proc.send_signal(signal.SIGTERM)
    try:
        status = proc.wait(timeout=120)
    except subprocess.TimeoutExpired:
        proc.kill()
        status = proc.wait()
    took = time.time() - start
    check(shown >= target and status == 0 and took < BOUND,
          "SIGTERM at %d%% of %s: exit %s after %.1f s" % (shown, what, status, took))
    if status != 0:
        with open(ERR, "rb") as err:
            sys.stdout.write(err.read().decode("utf-8", "replace")[-3000:])
    return took


class LoadProgress:
    """How far the start-up has read the track part file, in percent: the
    bytes the program has read since it opened the file; -1 before."""

    def __init__(self):
        self.base = None

    def holds_part_file(self, pid):
        part = os.path.join(COLLECTIONS, "big_Files.ptlf")
        for fd in os.listdir("/proc/%d/fd" % pid):
            try:
                if os.readlink("/proc/%d/fd/%s" % (pid, fd)) == part:
                    return True
            except OSError:  # closed meanwhile
                pass
        return False

    def __call__(self, proc):
        try:
            with open("/proc/%d/io" % proc.pid) as io:
                read = int(next(line for line in io if line.startswith("rchar:")).split()[1])
            if self.base is None and self.holds_part_file(proc.pid):
                self.base = read
        except OSError:
            return -1
        if self.base is None:
            return -1
        return (read - self.base) * 100 // os.path.getsize(os.path.join(COLLECTIONS, "big_Files.ptlf"))


class FolderAdd:
    """Once the start-up is over, a click on the folder page's add button
    takes every file the file list shows (the home folder's); the progress
    is the count of files added that its status line tells."""

    def __init__(self):
        self.status = None

    def __call__(self, proc):
        if self.status is None:
            app = wait_for(app_node, 60)
            main = wait_for(lambda: window_of(app, "Form1"), 60)
            # The start-up ends with the splash window's wait.
            wait_for(lambda: os.path.isdir(os.path.join(APP_FOLDER, "tarvolin_reports")), 60)
            wait_for(lambda: window_of(app, "frmSplash") is None, 30)
            press(find(main, lambda n: n.getRole() == pyatspi.ROLE_PAGE_TAB and "Exploring" in n.name))
            # The page's controls are looked up once it is shown.
            found = {}

            def note(node):
                if node.description in ("Text2_1", "Command18_0"):
                    found[node.description] = node
                return False

            find(main, note)
            self.status, button = found["Text2_1"], found["Command18_0"]
            wait_for(lambda: button.getState().contains(pyatspi.STATE_SHOWING), 10)
            # A click, not the Press action: the action's call would wait on
            # the whole add.
            e = button.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            subprocess.run(["xdotool", "mousemove", str(e.x + e.width // 2), str(e.y + e.height // 2), "click", "1"])
        added = re.search(r"New Files :\s*(\d+)", text_of(self.status))
        return int(added.group(1)) * 100 // ADDED if added else -1


def main():
    os.makedirs(PRISTINE)
    big, small = make_collection(BIG), make_collection(SMALL)
    for i in range(ADDED):
        with open(os.path.join(HOME, "added%04d.mp3" % i), "wb") as f:
            f.write(b"x")
    folder_files = set(glob.glob(os.path.join(HOME, "*.mp3")))

    times = []
    for target in (10, 50, 90):
        times.append(interrupt("the start-up load", BIG, LoadProgress(), target, 0.005))
        count, paths = saved_tracks()
        check(count == BIG and paths == big, "the next load has all %d tracks (%d)" % (BIG, count))
    for target in (10, 50, 90):
        times.append(interrupt("a folder add", SMALL, FolderAdd(), target, 0.02))
        count, paths = saved_tracks()
        whole = count == len(paths) and set(paths) == set(small) | folder_files
        check(whole, "the next load has the %d tracks and all %d files added (%d)" %
              (SMALL, len(folder_files), count))
    print("%d SIGTERM runs; the program ended %.1f s after SIGTERM at most" % (len(times), max(times)))
    exit_with_summary()


main()
