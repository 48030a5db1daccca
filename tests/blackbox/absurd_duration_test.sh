#!/usr/bin/env bash
# A collection whose every track announces an absurd duration (MP4 movie,
# track and media headers of all ones, the movie's in whole seconds): the
# program starts and plays it, ends on SIGTERM with exit status 0, and
# starts and plays it again.
# Usage: absurd_duration_test.sh <path to tarvolin> <path to make_collection>
set -euo pipefail
exe="$1"
make_collection="$2"
work="$(mktemp -d)"
pid=""
cleanup() {
  if [[ -n "$pid" ]] && kill -0 "$pid" 2>/dev/null; then kill -KILL "$pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL $*"; [[ -f "$work/err.log" ]] && tail -n 40 "$work/err.log"; exit 1; }

mkdir -p "$work/app" "$work/home" "$work/run" "$work/music"
chmod 700 "$work/run"
cp "$exe" "$work/app/tarvolin"

# Twenty seconds of tone each, then the headers' durations set to all ones.
for n in 1 2 3; do
  ffmpeg -v error -y -f lavfi -i "sine=frequency=$((300 + 100 * n)):duration=20" -c:a aac -b:a 48k \
    "$work/music/tone$n.m4a"
done
python3 - "$work"/music/*.m4a <<'PY'
import struct, sys

def patch(path):
    b = bytearray(open(path, 'rb').read())
    def walk(start, end):
        i = start
        while i + 8 <= end:
            size, kind = struct.unpack('>I4s', b[i:i + 8])
            if size < 8 or i + size > end:
                return
            body = i + 8
            if kind in (b'moov', b'trak', b'mdia'):
                walk(body, i + size)
            elif b[body] == 0 and kind == b'mvhd':
                b[body + 12:body + 16] = struct.pack('>I', 1)  # time scale: seconds
                b[body + 16:body + 20] = b'\xff' * 4
            elif b[body] == 0 and kind == b'tkhd':
                b[body + 20:body + 24] = b'\xff' * 4
            elif b[body] == 0 and kind == b'mdhd':
                b[body + 16:body + 20] = b'\xff' * 4
            i += size
    walk(0, len(b))
    open(path, 'wb').write(b)

for p in sys.argv[1:]:
    patch(p)
PY
announced=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$work/music/tone1.m4a")
[[ "$announced" == 4294967295* ]] || fail "the fixture announces $announced s"

# The collection as adding the files stored it, played at start.
"$make_collection" "$work/app/" play 4294967295 "$work"/music/*.m4a >/dev/null || fail "no collection made"

export QT_QPA_PLATFORM=offscreen HOME="$work/home" XDG_RUNTIME_DIR="$work/run"
export XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1"
unset DISPLAY WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS
cd "$work/home"

# One run: started, a track held open by the player for a few seconds, then
# SIGTERM and exit status 0.
run() {
  local round="$1"
  "$work/app/tarvolin" >"$work/out.log" 2>"$work/err.log" &
  pid=$!
  local playing=0
  for _ in $(seq 1 240); do
    kill -0 "$pid" 2>/dev/null || fail "round $round: the program ended while starting or playing"
    if ls -l "/proc/$pid/fd" 2>/dev/null | grep -q "tone[0-9].m4a"; then
      playing=$((playing + 1))
      (( playing >= 12 )) && break
    fi
    sleep 0.25
  done
  (( playing >= 12 )) || fail "round $round: no track was played within a minute"
  kill -TERM "$pid"
  local status=0
  wait "$pid" || status=$?
  pid=""
  (( status == 0 )) || fail "round $round: exit status $status"
  grep -q "Overflow" "$work/err.log" && fail "round $round: an overflow on standard error"
  echo "ok   round $round: started, played and ended on SIGTERM"
}
run 1
run 2
