#!/usr/bin/env bash
# CTest's launcher for a test program of the Windows build: runs it under
# Wine in its own folder. The test command starts the display and the Wine
# prefix once; run alone, this starts and stops its own.
set -uo pipefail
exe="$1"; shift
here="$(cd "$(dirname "$0")/.." && pwd)"
source "$here/scripts/wine-env.sh"
own=0
if [ -z "${QUILLET_WINE_READY:-}" ]; then quillet_wine_start; own=1; fi
cd "$(dirname "$exe")"
out="$(mktemp)"
wine "$exe" "$@" 2>&1 | tee "$out"
rc=${PIPESTATUS[0]}
# A test program that dies half-way may still end with code 0 under Wine:
# only a completed run with its closing line counts.
if [ $rc = 0 ] && ! grep -q '^\[  PASSED  \]' "$out"; then
  echo "wine-run: $exe ended without completing its tests" >&2
  rc=1
fi
rm -f "$out"
[ $own = 1 ] && quillet_wine_stop
exit $rc
