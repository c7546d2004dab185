#!/usr/bin/env bash
# The folders of src/ form layers: the main window and dispatch on top, the
# subsystems in the middle, the shared services at the bottom. No folder may
# include another that includes it back, directly or around a circle, and
# the services include nothing above them.
set -euo pipefail
src="$1"
pairs=""
for dir in "$src"/*/; do
  from="$(basename "$dir")"
  for to in $(cat "$dir"*.cpp "$dir"*.h 2>/dev/null | grep -oE '^#include "[a-z]+/' | sed 's/#include "//; s@/@@' | sort -u); do
    [ "$to" != "$from" ] && [ -d "$src/$to" ] && pairs+="$from $to"$'\n'
  done
done
printf '%s' "$pairs"
bad=0
if ! printf '%s' "$pairs" | tsort >/dev/null 2>/tmp/quillet-layers.$$; then bad=1; fi
if grep -q loop /tmp/quillet-layers.$$; then cat /tmp/quillet-layers.$$; bad=1; fi
rm -f /tmp/quillet-layers.$$
if printf '%s' "$pairs" | grep -E '^services ' | grep -vE ' ui$'; then echo "the services include a folder above them"; bad=1; fi
[ -n "$pairs" ] || { echo "no includes between folders found"; exit 1; }
[ "$bad" = 0 ] && echo "no include circle between the folders of src/"
exit $bad
