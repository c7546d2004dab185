#!/usr/bin/env bash
# Checks the empty resource file written by the editor against windres, an
# independent reader and writer of 32-bit resource files. windres refuses a
# file that holds no resource at all, so the check is what a resource editor
# does with the file: the empty file followed by one resource must read back
# as that resource, and windres's own files must begin with the same 32 bytes.
# Usage: check-res.sh path/to/resources_tests.exe (it writes a fresh file).
set -euo pipefail
exe="$1"
here="$(cd "$(dirname "$0")/.." && pwd)"
windres="${WINDRES:-x86_64-w64-mingw32-windres}"
source "$here/scripts/wine-env.sh"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
res="$work/empty-sample.res"
own=0
if [ -z "${QUILLET_WINE_READY:-}" ]; then quillet_wine_start; own=1; fi
export QUILLET_RES_SAMPLE="$(winepath -w "$res")"
"$here/tests/wine-run.sh" "$exe" --gtest_filter=ResourcesTest.SampleForTheIndependentReader >/dev/null
[ $own = 1 ] && quillet_wine_stop
[ -f "$res" ] || { echo "the editor wrote no empty resource file at $res"; exit 1; }
size="$(stat -c %s "$res")"
[ "$size" = 32 ] || { echo "the empty resource file has $size bytes, not 32"; exit 1; }
printf '7 RCDATA { "probe" }\n' >"$work/one.rc"
"$windres" -O res "$work/one.rc" -o "$work/one.res"
cmp -n 32 "$res" "$work/one.res" || { echo "windres begins its resource files differently"; exit 1; }
{ cat "$res"; tail -c +33 "$work/one.res"; } >"$work/combined.res"
"$windres" -J res -O rc "$work/one.res" -o "$work/one.out.rc"
"$windres" -J res -O rc "$work/combined.res" -o "$work/combined.out.rc"
grep -q '^7 RCDATA' "$work/combined.out.rc" && cmp -s "$work/one.out.rc" "$work/combined.out.rc" ||
  { echo "windres did not read the resource behind the empty file as written:"; cat "$work/combined.out.rc"; exit 1; }
echo "windres reads the empty resource file's header as its own"
