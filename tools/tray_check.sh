#!/usr/bin/env bash
# Checks the tray icon on a virtual display with a real tray host: starts
# the program on a fresh program folder, shows its icon in the tray, hides
# the window to the tray with a left click on the icon and brings it back
# with another, and pops up the tray menu with a right click, taking a
# picture of the screen at each step.
# Usage: tools/tray_check.sh [output folder] [executable]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="$(realpath -m "${1:-$root/build/tray_check}")"
exe="${2:-$root/build/release/bin/tarvolin}"
for tool in Xvfb trayer xdotool import xwininfo; do
  command -v "$tool" >/dev/null || { echo "missing: $tool (tools/packages-test.txt)" >&2; exit 2; }
done
[[ -x "$exe" ]] || { echo "no executable at $exe" >&2; exit 2; }
mkdir -p "$out"

work="$(mktemp -d)"
cp "$exe" "$work/tarvolin"
display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1280x900x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill -TERM "$p" 2>/dev/null || true; done
  kill -TERM "$xvfb" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY="$display" QT_QPA_PLATFORM=xcb ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
export HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
for i in $(seq 1 50); do xwininfo -root >/dev/null 2>&1 && break; sleep 0.1; done

# The tray host: a bar across the top right of the screen.
trayer --edge top --align right --widthtype pixel --width 120 --height 32 \
       --SetDockType true --transparent false --tint 0x303030 >"$work/trayer.log" 2>&1 &
pids+=($!)
sleep 1

"$work/tarvolin" >"$work/run.log" 2>&1 &
pids+=($!)
program=$!

# The main window is up once a window whose caption starts with the
# program's name is viewable.
window=""
for i in $(seq 1 120); do
  window="$(xdotool search --onlyvisible --name '^TARVOLIN' 2>/dev/null | head -n1 || true)"
  [[ -n "$window" ]] && break
  sleep 0.5
done
[[ -n "$window" ]] || { echo "the main window did not appear" >&2; cat "$work/run.log" >&2; exit 1; }
sleep 3

visible() { xwininfo -id "$window" | grep -q 'Map State: IsViewable'; }

# The icon: the program's small window embedded in the tray host.
icon=""
for i in $(seq 1 20); do
  for w in $(xdotool search --class tarvolin 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$w")"
    if (( WIDTH <= 64 && HEIGHT <= 64 && WIDTH > 4 )) && xwininfo -id "$w" | grep -q IsViewable; then
      icon="$w"; break
    fi
  done
  [[ -n "$icon" ]] && break
  sleep 0.5
done
[[ -n "$icon" ]] || { echo "no tray icon was shown" >&2; exit 1; }
eval "$(xdotool getwindowgeometry --shell "$icon")"
iconX=$((X + WIDTH / 2)); iconY=$((Y + HEIGHT / 2))
import -window root "$out/1-started.png"
visible || { echo "the main window is not shown at start" >&2; exit 1; }

xdotool mousemove "$iconX" "$iconY" click 1
sleep 2
import -window root "$out/2-hidden.png"
if visible; then echo "a click on the tray icon did not hide the window" >&2; exit 1; fi

xdotool mousemove "$iconX" "$iconY" click 1
sleep 2
import -window root "$out/3-shown.png"
visible || { echo "a second click on the tray icon did not show the window" >&2; exit 1; }

# A right click pops up the tray menu.
before="$(xdotool search --onlyvisible --class tarvolin 2>/dev/null | wc -l)"
xdotool mousemove "$iconX" "$iconY" click 3
sleep 2
import -window root "$out/4-tray-menu.png"
after="$(xdotool search --onlyvisible --class tarvolin 2>/dev/null | wc -l)"
(( after > before )) || { echo "a right click on the tray icon showed no menu" >&2; exit 1; }
xdotool key Escape

kill -TERM "$program"
for i in $(seq 1 40); do kill -0 "$program" 2>/dev/null || break; sleep 0.25; done
echo "tray check passed; pictures in $out"
