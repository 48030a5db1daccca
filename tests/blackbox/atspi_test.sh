#!/usr/bin/env bash
# Runs a black-box script (atspi_test.py unless named) against the program on
# a virtual display with its own session and accessibility buses.
# Usage: atspi_test.sh <path to tarvolin> [script in this folder]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
exe="$1"
script="${2:-atspi_test.py}"
# The system's Python holds the accessibility bindings (python3-pyatspi).
py=/usr/bin/python3
[[ -x "$py" ]] || py="$(command -v python3)"
for tool in xvfb-run dbus-run-session; do
  command -v "$tool" >/dev/null || { echo "atspi_test: $tool is missing (tools/packages-test.txt)"; exit 1; }
done
"$py" -c "import pyatspi" || { echo "atspi_test: python3-pyatspi is missing"; exit 1; }
# A fresh program folder: the program keeps its data beside its executable.
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp "$exe" "$work/tarvolin"
# Two tagged tracks in the home folder, where the folder lists start.
mkdir -p "$work/home"
for i in 1 2; do
  ffmpeg -loglevel error -f lavfi -i "sine=frequency=$((400 * i)):duration=20" \
    -metadata title="Τραγούδι $i" -c:a libmp3lame -b:a 128k "$work/home/track$i.mp3"
done
# The desktop's opener records what the program asks it to open.
mkdir -p "$work/bin"
printf '#!/bin/sh\nprintf "%%s\\n" "$1" >> "$TARVOLIN_OPENED"\n' > "$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"
export PATH="$work/bin:$PATH" TARVOLIN_OPENED="$work/opened.txt"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 QT_QPA_PLATFORM=xcb
# The scripts find the controls by their internal names.
export TARVOLIN_ACCESSIBLE_IDS=1
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" HOME="$work/home"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$here/../../tools/lsan_suppressions.txt:print_suppressions=0}"
# The scripts share a helper module; no byte code beside the sources.
export PYTHONDONTWRITEBYTECODE=1
cd "$work/home"
# TARVOLIN_SCREEN: another size of the virtual screen.
# Not exec'd: the program folder is removed when the script ends.
status=0
if [[ -n "${TARVOLIN_WAYLAND:-}" ]]; then
  # A headless Wayland compositor in place of the X server; --debug lets
  # weston-screenshooter take pictures of it.
  command -v weston >/dev/null || { echo "atspi_test: weston is missing (tools/packages-test.txt)"; exit 1; }
  export XDG_RUNTIME_DIR="$work/run" WAYLAND_DISPLAY=tarvolin-test QT_QPA_PLATFORM=wayland
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  weston --backend=headless-backend.so --socket="$WAYLAND_DISPLAY" --use-pixman --debug \
    --width=1400 --height=1000 --idle-time=0 >"$work/weston.log" 2>&1 &
  compositor=$!
  trap 'kill "$compositor" 2>/dev/null; wait "$compositor" 2>/dev/null; rm -rf "$work"' EXIT
  for _ in $(seq 100); do [[ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ]] && break; sleep 0.1; done
  dbus-run-session -- "$py" "$here/$script" "$work/tarvolin" || status=$?
else
  dbus-run-session -- xvfb-run -a -s "-screen 0 ${TARVOLIN_SCREEN:-1400x1000x24}" "$py" "$here/$script" "$work/tarvolin" || status=$?
fi
exit "$status"
