#!/usr/bin/env bash
# The program calls the wide (UTF-16) functions of Windows wherever a path or
# a text the user sees crosses into the system, so that any name Windows
# allows gets through. This lists what each build of Quillet.exe imports and
# fails on any ANSI ("...A") function that is not on the list below, where
# each one that stays says why it may.
# Usage: check-imports.sh <objdump> <Quillet.exe>
set -uo pipefail
objdump="$1"; exe="$2"
# function   why an ANSI form is harmless here
allowed='
CreateEventA         the C runtime: unnamed events
CreateSemaphoreA     the C runtime: unnamed semaphores
FormatMessageA       the C++ library: texts of system errors, never shown
GetModuleHandleA     the 32-bit C runtime: its unwinder looks for system libraries by ASCII names
GetStartupInfoA      the C runtime start-up; the program reads its own with GetStartupInfoW
LoadLibraryA         the 32-bit C runtime: its unwinder loads system libraries by ASCII names
OutputDebugStringA   the C runtime: diagnostics no user sees
'
imports="$("$objdump" -p "$exe" | awk '/The Import Tables/{on=1} /The Export Tables/{on=0}
  on && /^\t[0-9a-f]+\t +[0-9]+  [A-Za-z_]/{print $3}')"
if [ -z "$imports" ]; then
  echo "check-imports: no import table read from $exe" >&2
  exit 1
fi
bad=0
for name in $(printf '%s\n' "$imports" | grep -E '[a-z0-9]A$|^[A-Z]+A$' | sort -u); do
  if ! printf '%s\n' "$allowed" | grep -q "^$name "; then
    echo "ANSI function imported: $name"
    bad=1
  fi
done
[ $bad = 0 ] && echo "check-imports: $(printf '%s\n' "$imports" | wc -l) imports of $(basename "$exe"), no ANSI text function"
exit $bad
