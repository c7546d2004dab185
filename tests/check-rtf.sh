#!/usr/bin/env bash
# Reads an RTF file written by the export with unrtf, an independent reader:
# it must parse without complaint and give back the listing's text.
set -euo pipefail
rtf="$1"
[ -f "$rtf" ] || { echo "no exported sample at $rtf"; exit 1; }
err="$(mktemp)"
text="$(unrtf --text "$rtf" 2>"$err")"
if [ -s "$err" ]; then echo "unrtf complained:"; cat "$err"; rm -f "$err"; exit 1; fi
rm -f "$err"
fail=0
# unrtf's plain-text output squeezes runs of blanks and leaves out bytes
# above 127 that it cannot map, so the lines are compared without those.
squeezed="$(tr -s ' ' <<<"$text" | LC_ALL=C tr -d '\200-\377')"
for line in "' Umlaut and braces {}" "Sub Main()" ' Print "a\b"' "End Sub"; do
  grep -qxF -- "$line" <<<"$squeezed" || { echo "missing line: $line"; fail=1; }
done
[ $fail = 0 ] && echo "unrtf read the export back with its text intact"
exit $fail
