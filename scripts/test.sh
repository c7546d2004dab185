#!/usr/bin/env bash
# Builds both Windows targets and the native core, then runs every test with
# CTest: native unit tests, the tests of the x86-64 build under Wine on a
# private virtual display, and the check of the 32-bit release folder.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" all
source "$root/scripts/wine-env.sh"
# Always a display of our own, so tests never draw on the user's screen.
quillet_wine_start 1
trap quillet_wine_stop EXIT
export QUILLET_WINE_READY=1
ctest --test-dir "$root/build/native" --output-on-failure
