#!/usr/bin/env python3
"""Black-box test: with a sound server that takes connections and never
answers, the program plays on (silently, once the sound libraries give up
on the server) and does not end.
Run by atspi_test.sh inside dbus-run-session and xvfb-run.
"""
import os
import socket
import sys
import tempfile
import threading
import time

from atspi_support import (by_description, check, end_program, exit_with_summary, press_quietly,
                           start_program, text_of, wait_for)

EXE = sys.argv[1]
# The sound libraries give up on a silent server after 30 s each, one after
# the other: the program has to outlive all of them.
OUTLIVE_S = 80


def deaf_server():
    """A socket in the sound server's place that accepts and says nothing."""
    path = os.path.join(tempfile.mkdtemp(), "native")
    server = socket.socket(socket.AF_UNIX)
    server.bind(path)
    server.listen(64)
    held = []

    def take_and_keep():
        while True:
            held.append(server.accept())

    threading.Thread(target=take_and_keep, daemon=True).start()
    return path


def main():
    os.environ["PULSE_SERVER"] = "unix:" + deaf_server()
    proc, app = start_program(EXE)
    try:
        if app is None:
            return
        threading.Thread(target=press_quietly, args=(by_description(app, "Command18_0"),), daemon=True).start()
        status = wait_for(lambda: by_description(app, "Text2_1"), 20)
        added = wait_for(lambda: status and "Number of Added files : 2." in text_of(status), 60)
        check(bool(added), "Add Files adds the two tracks")
        threading.Thread(target=press_quietly, args=(by_description(app, "Command11"),), daemon=True).start()
        end = time.time() + OUTLIVE_S
        while time.time() < end and proc.poll() is None:
            time.sleep(1)
        check(proc.poll() is None, "the program still runs %d s after Play (exit %s)" % (OUTLIVE_S, proc.poll()))
    finally:
        if proc.poll() is None:
            end_program(proc)
        else:
            sys.stdout.write(proc.communicate()[0].decode("utf-8", "replace")[-3000:])


if __name__ == "__main__":
    main()
    exit_with_summary()
