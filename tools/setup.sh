#!/usr/bin/env bash
# Installs the Debian packages that are missing, and nothing when all are present.
# Usage: tools/setup.sh [--test] [--virtual-display]
#   --test             also what the tests and the benchmarks need
#   --virtual-display  also the virtual display (xvfb-run) for a machine
#                      without one
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
lists=("$here/packages.txt")
for arg in "$@"; do
  case "$arg" in
    --test) lists+=("$here/packages-test.txt") ;;
    --virtual-display) lists+=("$here/packages-display.txt") ;;
    *) echo "usage: tools/setup.sh [--test] [--virtual-display]" >&2; exit 2 ;;
  esac
done
missing=()
for list in "${lists[@]}"; do
  while read -r pkg; do
    [[ -z "$pkg" || "$pkg" == \#* ]] && continue
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$pkg")
    fi
  done < "$list"
done
if (( ${#missing[@]} )); then
  echo "tarvolin: installing ${missing[*]}"
  sudo_cmd=()
  if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi
  "${sudo_cmd[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
