#!/usr/bin/env bash
# Installs what is missing, builds tarvolin and starts it.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# Without a display the player starts on a virtual one, which is installed
# with the rest.
virtual=""
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then virtual="--virtual-display"; fi
"$root/tools/setup.sh" ${virtual:+"$virtual"}
cmake -S "$root" -B "$root/build/release" -DCMAKE_BUILD_TYPE=Release \
      -DTARVOLIN_TESTS=OFF -DTARVOLIN_BENCH=OFF >/dev/null
cmake --build "$root/build/release" --target tarvolin -j"$(nproc)"
if [[ -n "$virtual" ]]; then
  command -v xvfb-run >/dev/null || { echo "tarvolin: no display found and xvfb-run is missing" >&2; exit 1; }
  echo "tarvolin: no display found; starting on a virtual one (xvfb-run)"
  exec xvfb-run -a -s "-screen 0 1600x1000x24" "$root/build/release/bin/tarvolin" "$@"
fi
exec "$root/build/release/bin/tarvolin" "$@"
