#!/usr/bin/env bash
# Builds the benchmarks (optimised, no sanitizers) and runs the ones named, or all.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/tools/setup.sh" --test
build="$root/build/bench"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DTARVOLIN_TESTS=ON -DTARVOLIN_GUI=ON >/dev/null
cmake --build "$build" -j"$(nproc)"
for b in "$build"/bench_*; do
  name="$(basename "$b")"
  if (( $# )) && [[ ! " $* " == *" ${name#bench_} "* ]]; then continue; fi
  echo "== $name"
  if [[ "$name" =~ ^bench_(startup|window_cost|track_gap|add_files|film_thread|select_all)$ && -z "${DISPLAY:-}" ]]; then
    # These show the program's window: on a virtual display, drawn with
    # Mesa's software OpenGL as on a machine without a GPU driver.
    LIBGL_ALWAYS_SOFTWARE=1 xvfb-run -a -s "-screen 0 1400x1000x24" "$b"
  else
    "$b"
  fi
done
