#!/usr/bin/env bash
# Builds Quillet and starts it under Wine. On the current X display when
# there is one; otherwise on a virtual display of its own, where it takes a
# screenshot after a few seconds, says where it is, and closes the editor.
# Arguments are passed to Quillet (a file name, or /e), for example
# scripts/run.sh examples/hello-freebasic.bas
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" x64 >/dev/null
source "$root/scripts/wine-env.sh"
bin="$root/build/x64/dist"
# A file named on this side is handed over by its Windows path (once the
# Wine prefix exists).
args=()
windows_args() {
  for arg in "$@"; do
    if [ -e "$arg" ]; then args+=("$(winepath -w "$(realpath "$arg")" 2>/dev/null)"); else args+=("$arg"); fi
  done
}
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  quillet_wine_start
  windows_args "$@"
  cd "$bin"
  exec wine explorer /desktop=quillet,1280x1000 Quillet.exe "${args[@]+"${args[@]}"}"
fi
quillet_wine_start 1
trap quillet_wine_stop EXIT
windows_args "$@"
shot="$root/build/quillet-screenshot.png"
cd "$bin"
wine explorer /desktop=quillet,1280x1000 Quillet.exe "${args[@]+"${args[@]}"}" >/dev/null 2>&1 &
sleep "${QUILLET_SHOT_DELAY:-8}"
import -window root "$shot"
echo "No display: Quillet ran on a virtual display; screenshot saved to $shot"
