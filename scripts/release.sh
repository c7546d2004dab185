#!/usr/bin/env bash
# Builds the release files in dist/ from the builds that scripts/build.sh made:
#   Quillet-<version>-win32.zip, Quillet-<version>-win64.zip and
#   Quillet-<version>-win32-setup.exe (per-user installer, NSIS).
# Each holds Quillet.exe, ZESCIN.DLL, README.txt for Windows users, the
# licences of the program, Scintilla and Lexilla, and the example listings.
# The version is the project version in CMakeLists.txt, the one the program's
# version resource is made from.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
version="$(sed -n 's/^project(Quillet VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
[ -n "$version" ] || { echo "release: no project version in CMakeLists.txt" >&2; exit 1; }
scite="$root/third_party/scite"
out="$root/dist"
mkdir -p "$out"
rm -f "$out"/Quillet-*.zip "$out"/Quillet-*-setup.exe

stage() {
  local build="$1" dir="$2"
  rm -rf "$dir" && mkdir -p "$dir/examples"
  cp "$build/dist/Quillet.exe" "$build/dist/ZESCIN.DLL" "$dir/"
  # Text files for Windows: CR LF line ends.
  sed "s/@VERSION@/$version/; s/\$/\r/" "$root/packaging/README-Windows.txt" > "$dir/README.txt"
  sed 's/$/\r/' "$root/LICENSE" > "$dir/LICENSE.txt"
  sed 's/$/\r/' "$scite/scintilla/License.txt" > "$dir/LICENSE-Scintilla.txt"
  sed 's/$/\r/' "$scite/lexilla/License.txt" > "$dir/LICENSE-Lexilla.txt"
  cp "$root"/examples/* "$dir/examples/"
}

for target in "i686 win32" "x64 win64"; do
  set -- $target
  build="$root/build/$1"
  [ -f "$build/dist/Quillet.exe" ] || { echo "release: $build/dist/Quillet.exe missing (run scripts/build.sh)" >&2; exit 1; }
  stagedir="$root/build/release/Quillet-$version-$2"
  stage "$build" "$stagedir"
  ( cd "$root/build/release" && rm -f "$out/Quillet-$version-$2.zip" && zip -q -X -r "$out/Quillet-$version-$2.zip" "Quillet-$version-$2" )
  echo "release: $out/Quillet-$version-$2.zip"
done

makensis -V2 -DVERSION="$version" -DSTAGE="$root/build/release/Quillet-$version-win32" \
  -DOUTFILE="$out/Quillet-$version-win32-setup.exe" "$root/packaging/quillet.nsi" >/dev/null
echo "release: $out/Quillet-$version-win32-setup.exe"
