#!/usr/bin/env bash
# CTest's launcher for a test program of the Windows build: runs it under
# Wine in its own folder, in the prefix of its build (QUILLET_WINE_TARGET:
# x64 or i686). The test command starts the display and the Wine prefixes
# once; run alone, this starts and stops its own. A program of the 32-bit
# build on a machine that cannot run it ends with code 77, which CTest
# reports as skipped, with the reason in one line. With QUILLET_DPI (set by
# CTest, e.g. 144) it runs in the prefix of that DPI (scripts/wine-env.sh),
# which the test command does not start: this starts and stops it.
set -uo pipefail
exe="$1"; shift
here="$(cd "$(dirname "$0")/.." && pwd)"
source "$here/scripts/wine-env.sh"
if [ "$QUILLET_WINE_TARGET" = i686 ]; then
  reason="$(quillet_i386_reason)"
  if [ -n "$reason" ]; then
    echo "skipped: the 32-bit build is not run here: $reason"
    exit 77
  fi
fi
# A run under another code page (QUILLET_LOCALE, set by CTest) needs the
# locale that gives it.
if [ -n "${QUILLET_LOCALE:-}" ]; then
  if [ "$QUILLET_LOCALE" != C.UTF-8 ] &&
     ! locale -a 2>/dev/null | grep -qix "$(echo "$QUILLET_LOCALE" | sed 's/\.utf-\?8$//I').utf-\?8"; then
    echo "skipped: the locale $QUILLET_LOCALE is not on this machine (scripts/setup.sh generates it)"
    exit 77
  fi
  export LANG="$QUILLET_LOCALE"
  unset LC_ALL LC_CTYPE
fi
own=0
if [ -z "${QUILLET_WINE_READY:-}" ]; then
  quillet_wine_start; own=1
elif [ -n "${QUILLET_DPI:-}" ] && [ "$QUILLET_DPI" != 96 ]; then
  quillet_wine_prefix; own=1
fi
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
# A failing test program must not pass for skipped.
[ $rc = 77 ] && rc=1
rm -f "$out"
[ $own = 1 ] && quillet_wine_stop
exit $rc
