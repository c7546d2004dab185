#!/usr/bin/env bash
# Builds both Windows targets, the native core and the release files, then
# runs every test with CTest: native unit tests, the tests of both builds
# under Wine on a private virtual display (the 32-bit release in a prefix of
# its own, where this machine runs 32-bit code), and the checks of the
# release folders, zips and installer.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" all
bash "$root/scripts/release.sh"
source "$root/scripts/wine-env.sh"
# Always a display of our own, so tests never draw on the user's screen.
quillet_wine_start 1
trap quillet_wine_stop EXIT
reason="$(quillet_i386_reason)"
if [ -z "$reason" ]; then
  QUILLET_WINE_TARGET=i686 WINEPREFIX="$root/build/wineprefix-i686" quillet_wine_prefix
else
  echo "test: the 32-bit suites are skipped: $reason"
fi
export QUILLET_WINE_READY=1
ctest --test-dir "$root/build/native" --output-on-failure
