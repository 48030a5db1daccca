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
  if [[ ( "$name" == bench_startup || "$name" == bench_select_all ) && -z "${DISPLAY:-}" ]]; then
    # These benchmarks show the program's window: on a virtual display.
    xvfb-run -a -s "-screen 0 1400x1000x24" "$b"
  else
    "$b"
  fi
done
