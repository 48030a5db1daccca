#!/usr/bin/env bash
# Pictures of the program's windows on a virtual display, for looking at the
# layout: the running program's screen, and each window on its own.
# Usage: tools/screenshot.sh [output folder] [build folder]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="$(realpath -m "${1:-$root/build/screenshots}")"
build="${2:-$root/build/screenshots-build}"
mkdir -p "$out"
if [[ ! -x "$build/bin/tarvolin" || ! -x "$build/test_gui" ]]; then
  cmake -S "$root" -B "$build" -DTARVOLIN_GUI=ON -DTARVOLIN_BENCH=OFF >/dev/null
  cmake --build "$build" --target tarvolin test_gui -j"$(nproc)"
fi
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}" QT_QPA_PLATFORM=xcb
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp "$build/bin/tarvolin" "$work/tarvolin"

# The program as it starts, on a fresh program folder.
HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
xvfb-run -a -s "-screen 0 1400x1000x24" bash -c '
  "$1/tarvolin" >"$1/run.log" 2>&1 &
  pid=$!
  for i in $(seq 1 90); do
    sleep 1
    xwininfo -root -tree | grep -q "(\"tarvolin\" \"tarvolin\")" && break
  done
  sleep 3
  import -window root "$2/screen.png"
  kill -TERM $pid; wait $pid || true
' _ "$work" "$out"

# Every window on its own, drawn by the same views over a program.
TARVOLIN_SHOT_DIR="$out" xvfb-run -a -s "-screen 0 1400x1000x24" \
  "$build/test_gui" --gtest_also_run_disabled_tests --gtest_filter='WindowPictures.*' >/dev/null
ls "$out"
