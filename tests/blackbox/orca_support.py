"""The screen reader a blind user has, in the black-box test's own session:
a window manager, speech-dispatcher speaking into a transcript (an output
module that appends each utterance to a file), and Orca with settings of
its own. Keys are pressed as a user presses them (xdotool), and what Orca
said after each is read back from the transcript.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

_procs = []
_said = None

# Runs Orca's launcher (its path the first argument) with no other Orca
# looked for.
_LAUNCH = """
import sys
path = sys.argv[1]
sys.argv = ["orca"] + sys.argv[2:]
launcher = {"__name__": "orca_launcher", "__file__": path}
exec(compile(open(path).read(), path, "exec"), launcher)
launcher["otherOrcas"] = lambda: []
sys.exit(launcher["main"]())
"""


def _spawn(args, log):
    _procs.append(subprocess.Popen(args, stdout=log, stderr=subprocess.STDOUT))


def _wait(cond, timeout):
    end = time.time() + timeout
    while time.time() < end:
        if cond():
            return True
        time.sleep(0.1)
    return False


def start_screen_reader():
    """Starts the window manager, the speech server and Orca; returns once
    Orca has spoken its first words."""
    global _said
    home = tempfile.mkdtemp(prefix="orca-")
    _said = os.path.join(home, "said.txt")
    conf = os.path.join(home, "speechd")
    os.makedirs(os.path.join(conf, "modules"))
    # Every utterance becomes one line of the transcript; no sound device is
    # opened (ALSA's null device).
    with open(os.path.join(conf, "speechd.conf"), "w") as f:
        f.write('AddModule "rec" "sd_generic" "rec.conf"\nDefaultModule rec\n'
                'LanguageDefaultModule "en" "rec"\nDefaultLanguage "en"\n'
                'AudioOutputMethod "alsa"\nAudioALSADevice "null"\n')
    with open(os.path.join(conf, "modules", "rec.conf"), "w") as f:
        f.write('GenericExecuteSynth "printf \'%%s\\\\n\' \\\'$DATA\\\' >> %s"\n' % _said)
        for lang in ("en", "en-US", "el"):
            f.write('GenericLanguage "%s" "%s" "utf-8"\n' % (lang, lang[:2]))
        f.write('AddVoice "en" "MALE1" "rec"\n')
    log = open(os.path.join(home, "services.log"), "w")
    socket = os.path.join(home, "speechd.sock")
    os.environ["SPEECHD_ADDRESS"] = "unix_socket:" + socket
    _spawn(["openbox", "--sm-disable"], log)
    _spawn(["speech-dispatcher", "-s", "-t", "0", "-S", socket, "-C", conf, "-m",
            "/usr/lib/speech-dispatcher-modules", "-L", home, "-P", os.path.join(home, "speechd.pid")], log)
    if not _wait(lambda: os.path.exists(socket), 20):
        raise RuntimeError("speech-dispatcher did not start (%s)" % home)
    # Orca refuses to start beside another Orca process of the same user,
    # and its --replace kills every other one, whatever their session: this
    # session's Orca looks for no other.
    _spawn([sys.executable, "-c", _LAUNCH, shutil.which("orca"), "-u", os.path.join(home, "prefs"),
            "--debug-file", os.path.join(home, "orca-debug.txt")], log)
    if not _wait(lambda: os.path.exists(_said) and os.path.getsize(_said) > 0, 120):
        raise RuntimeError("Orca did not speak (%s)" % home)
    return home


def stop_screen_reader():
    for p in reversed(_procs):
        p.terminate()
        try:
            p.wait(10)
        except subprocess.TimeoutExpired:
            p.kill()


def transcript():
    with open(_said, encoding="utf-8", errors="replace") as f:
        return f.read()


def mark():
    """Where the transcript ends now."""
    return len(transcript())


def said_since(at, quiet=1.5, timeout=20.0, until=None):
    """What Orca said after `at`: waits until it has said something (and
    `until`, when given, is in it) and then stays quiet for `quiet` seconds,
    or the timeout passes."""
    end = time.time() + timeout
    text, changed = "", time.time()
    while time.time() < end:
        now = transcript()[at:]
        if now != text:
            text, changed = now, time.time()
        done = text.strip() and (until is None or until in text)
        if done and time.time() - changed >= quiet:
            break
        time.sleep(0.1)
    return text.strip()


def key(*keys, quiet=1.5, timeout=20.0, until=None):
    """Presses keys as the user does and returns what Orca said."""
    at = mark()
    for k in keys:
        subprocess.run(["xdotool", "key", k], check=True)
        time.sleep(0.15)
    return said_since(at, quiet, timeout, until)
