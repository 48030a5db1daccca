#!/usr/bin/env bash
# Builds the benchmarks (optimised, no sanitizers) and runs the ones named, or all.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/tools/setup.sh" --test
build="$root/build/bench"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DTARVOLIN_TESTS=ON -DTARVOLIN_GUI=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"
for b in "$build"/bench_*; do
  name="$(basename "$b")"
  if (( $# )) && [[ ! " $* " == *" ${name#bench_} "* ]]; then continue; fi
  echo "== $name"
  "$b"
done
