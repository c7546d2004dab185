#!/usr/bin/env bash
# Has the export write a sample listing into a fresh file, then reads it with
# unrtf, an independent reader: it must parse without complaint and give back
# the listing's text. The sample's face name holds braces and a backslash; an
# unescaped name would end the font table early and garble what follows.
# Usage: check-rtf.sh path/to/document_tests.exe
set -euo pipefail
exe="$1"
here="$(cd "$(dirname "$0")/.." && pwd)"
source "$here/scripts/wine-env.sh"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
rtf="$work/export-sample.rtf"
own=0
if [ -z "${QUILLET_WINE_READY:-}" ]; then quillet_wine_start; own=1; fi
export QUILLET_RTF_SAMPLE="$(winepath -w "$rtf")"
"$here/tests/wine-run.sh" "$exe" --gtest_filter=DocumentTest.SampleForTheIndependentReader >/dev/null
[ $own = 1 ] && quillet_wine_stop
[ -f "$rtf" ] || { echo "the export wrote no sample at $rtf"; exit 1; }
err="$work/unrtf.err"
text="$(unrtf --text "$rtf" 2>"$err")"
if [ -s "$err" ]; then echo "unrtf complained:"; cat "$err"; exit 1; fi
fail=0
# unrtf's plain-text output squeezes runs of blanks and leaves out bytes
# above 127 that it cannot map, so the lines are compared without those.
squeezed="$(tr -s ' ' <<<"$text" | LC_ALL=C tr -d '\200-\377')"
for line in "' Umlaut and braces {}" "Sub Main()" ' Print "a\b"' "End Sub"; do
  grep -qxF -- "$line" <<<"$squeezed" || { echo "missing line: $line"; fail=1; }
done
[ $fail = 0 ] && echo "unrtf read the export back with its text intact"
exit $fail
