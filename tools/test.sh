#!/usr/bin/env bash
# Installs what is missing, builds tarvolin with the sanitizers and runs every test.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/tools/setup.sh" --test
build="$root/build/test"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DTARVOLIN_SANITIZE=ON -DTARVOLIN_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
cd "$build"
ctest --output-on-failure -j"$(nproc)" --timeout 600
