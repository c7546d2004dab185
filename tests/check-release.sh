#!/usr/bin/env bash
# The release files in dist/: both zips with the program, its editing
# component, the read-me, the three licences and the examples; the programs
# of the right kind and self-contained; the installer present.
set -euo pipefail
root="$1"
version="$(sed -n 's/^project(Quillet VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
dist="$root/dist"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
fail=0
expected="Quillet.exe ZESCIN.DLL README.txt LICENSE.txt LICENSE-Scintilla.txt LICENSE-Lexilla.txt examples/hello-freebasic.bas examples/hello-freebasic.res examples/hello-powerbasic.bas"
for pair in "win32 i686 PE32 executable (GUI) Intel 80386" "win64 x86_64 PE32+ executable (GUI) x86-64"; do
  set -- $pair
  kind="$1"; arch="$2"; shift 2; pe="$*"
  zip="$dist/Quillet-$version-$kind.zip"
  [ -f "$zip" ] || { echo "missing $zip"; fail=1; continue; }
  unzip -q "$zip" -d "$tmp/$kind"
  top="$tmp/$kind/Quillet-$version-$kind"
  for f in $expected; do
    if [ -s "$top/$f" ]; then echo "$kind: $f"; else echo "$kind: $f missing or empty"; fail=1; fi
  done
  extra=$(cd "$top" && find . -type f | sed 's|^\./||' | sort | grep -vxF -f <(tr ' ' '\n' <<<"$expected") || true)
  [ -z "$extra" ] || { echo "$kind: unexpected files: $extra"; fail=1; }
  grep -q "$pe" <<<"$(file "$top/Quillet.exe")" || { echo "$kind: Quillet.exe is not '$pe': $(file "$top/Quillet.exe")"; fail=1; }
  grep -q "Scintilla" "$top/LICENSE-Scintilla.txt" || { echo "$kind: Scintilla licence text missing"; fail=1; }
  grep -q "Version $version" <<<"$(head -1 "$top/README.txt" | tr -d '\r' | sed 's/^Quillet /Version /')" || { echo "$kind: README.txt without version $version"; fail=1; }
  bash "$root/tests/check-dist.sh" "$top" "$arch" || fail=1
done
setup="$dist/Quillet-$version-win32-setup.exe"
if grep -q 'PE32 executable' <<<"$(file "$setup" 2>/dev/null)"; then echo "installer: $setup"; else echo "installer missing: $setup"; fail=1; fi
[ $fail = 0 ] && echo "release files of version $version are complete"
exit $fail
