#!/usr/bin/env bash
# Installs what is missing, builds tarvolin with the sanitizers and runs every test.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/tools/setup.sh" --test
build="$root/build/test"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DTARVOLIN_SANITIZE=ON -DTARVOLIN_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"
# Leaks are errors; only the system libraries named in the suppressions
# file may keep memory until the end.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$root/tools/lsan_suppressions.txt:print_suppressions=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
cd "$build"
ctest --output-on-failure -j"$(nproc)" --timeout 600
