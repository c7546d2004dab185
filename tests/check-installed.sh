#!/usr/bin/env bash
# The release files as a user takes them, run under Wine:
#   check-installed.sh installer ROOT [blank|unicode]
#     Quillet-<version>-win32-setup.exe /S into a fresh prefix (with blank, a
#     user profile whose path holds a blank; with unicode, one named in Greek
#     and Japanese): the files land in the per-user
#     folder, the Start menu entry and the uninstall entry exist, the
#     installed program starts, compiles an example and saves a listing that
#     comes back, and a listing in a folder whose name holds a blank opens
#     through the command registered for Explorer's "Open with"; the silent
#     uninstaller removes the program files and those registrations, and
#     leaves the INI file, the keyword files, the examples, the listing and
#     what another program registered for .bas alone.
#   check-installed.sh zip ROOT win32|win64
#     the zip unpacked into a folder whose path holds a blank; the program
#     started from there does the same (the win32 zip with the 32-bit Wine).
# The 32-bit program needs a machine that runs 32-bit code: where it cannot,
# this ends with 77 (skipped) and says why.
set -euo pipefail
what="$1"; root="$2"; kind="${3:-}"
version="$(sed -n 's/^project(Quillet VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
case "$what:$kind" in
  installer:|installer:blank|installer:unicode|zip:win32) export QUILLET_WINE_TARGET=i686 build=i686 ;;
  zip:win64) export QUILLET_WINE_TARGET=x64 build=x64 ;;
  *) echo "usage: check-installed.sh installer ROOT [blank|unicode] | zip ROOT win32|win64" >&2; exit 2 ;;
esac
unset WINEPREFIX
source "$root/scripts/wine-env.sh"
if [ "$build" = i686 ]; then
  reason="$(quillet_i386_reason)"
  [ -z "$reason" ] || { echo "skipped: the 32-bit release is not run here: $reason"; exit 77; }
fi
tests="$root/build/$build/bin/installed_tests.exe"
[ -f "$tests" ] || { echo "missing $tests (run scripts/build.sh)"; exit 1; }
work="$(mktemp -d)"
fail=0
own=0
cleanup() {
  [ "$what" = installer ] && { wineserver -k >/dev/null 2>&1 || true; rm -rf "$WINEPREFIX"; }
  [ $own = 1 ] && quillet_wine_stop
  rm -rf "$work"
}
trap cleanup EXIT
if [ -z "${QUILLET_WINE_READY:-}" ]; then quillet_wine_display; own=1; fi
# No menu entries of the installed program on this machine's own desktop.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=};winemenubuilder.exe=d"

# Runs the tests of the installed program against a Windows folder: all
# three for the installer, and without the one of the "Open with" entries
# for a zip, which registers nothing.
run_installed() {
  local out="$work/installed.out" count=3 filter=()
  [ "$what" = zip ] && count=2 filter=(--gtest_filter=-InstalledTest.OpensAListingThroughItsOpenWithEntry)
  ( cd "$(dirname "$tests")" && QUILLET_PROGRAM="$1" wine "$tests" "${filter[@]}" >"$out" 2>&1 ) || true
  if grep -q "^\[  PASSED  \] $count tests" "$out"; then
    echo "the program in $1 started, compiled an example and saved a listing that came back"
    [ "$what" = zip ] || echo "... and opened a listing through its \"Open with\" entry"
  else
    cat "$out"; echo "the program in $1 failed its tests"; fail=1
  fi
}
expect() {  # expect present|absent PATH
  if [ "$1" = present ] && [ ! -e "$2" ]; then echo "missing: $2"; fail=1; fi
  if [ "$1" = absent ] && [ -e "$2" ]; then echo "left behind: $2"; fail=1; fi
  return 0
}
# The data of a string value (REG_SZ); NAME "" is the key's default value.
# Fails when the key or the value is missing. Read from `wine reg export`,
# which writes UTF-16: `wine reg query` prints into a pipe in the console's
# code page, where a folder named in another script comes out as "?".
regvalue() {  # regvalue KEY NAME
  local file="$work/value.reg" name=@
  [ -n "$2" ] && name="\"$2\""
  rm -f "$file"
  wine reg export "$1" "$(winepath -w "$file")" /y >/dev/null 2>&1 || return 1
  # Only the key's own section; the export goes on with its subkeys.
  iconv -f UTF-16LE -t UTF-8 "$file" | tr -d '\r' |
    awk -v want="$name=\"" '/^\[/ { section++ } section == 1 && index($0, want) == 1 {
      data = substr($0, length(want) + 1); sub(/"$/, "", data); print data }' |
    sed -e 's/\\\\/\x01/g' -e 's/\\"/"/g' -e 's/\x01/\\/g' | grep .
}
# Whether the shortcut leads to the file: its ID list, by which Windows finds
# the target, names each folder on the way and the file, in order, in UTF-16
# (the one 8-bit copy of the path that Wine writes beside it has "?" for
# what the ANSI code page lacks).
leads_to() {  # leads_to SHORTCUT WINDOWSPATH
  perl -CA -MEncode -e '
    open my $file, "<:raw", $ARGV[0] or exit 1; local $/; my $bytes = <$file>;
    my @names = split /\\/, $ARGV[1]; shift @names;
    my $path = join ".*?", map { "\\x00" . quotemeta($_) . "\\x00" } @names;
    for my $at (0, 1) {
      my $text = decode("UTF-16LE", substr($bytes, $at, (length($bytes) - $at) & ~1));
      exit 0 if $text =~ /$path/si;
    }
    exit 1' "$1" "$2"
}
expect_value() {  # expect_value KEY NAME DATA
  local data
  data="$(regvalue "$1" "$2")" || data="(missing)"
  [ "$data" = "$3" ] || { echo "$1 ${2:-(default)}: '$data', not '$3'"; fail=1; }
  return 0
}

if [ "$what" = zip ]; then
  quillet_wine_prefix
  mkdir -p "$work/Unpacked here"
  unzip -q "$root/dist/Quillet-$version-$kind.zip" -d "$work/Unpacked here"
  run_installed "$(winepath -w "$work/Unpacked here/Quillet-$version-$kind")"
  [ $fail = 0 ] && echo "$kind zip: the program runs from a folder whose path holds a blank"
  exit $fail
fi

# A fresh prefix of its own, removed at the end.
export WINEPREFIX="$root/build/wineprefix-setup${kind:+-$kind}"
wineserver -k >/dev/null 2>&1 || true
rm -rf "$WINEPREFIX"
QUILLET_NEW_DISPLAY=0 quillet_wine_prefix
# The user's folders under a profile as Windows keeps them for a user named
# with a blank, or in Greek and Japanese: the Western ANSI code page of these
# runs holds neither script, so every path of the install is one that only
# the wide functions carry.
profile=
case "$kind" in
  blank) profile='C:\users\Jo Smith' ;;
  unicode) profile='C:\users\Ωmega 日本' ;;
esac
if [ -n "$profile" ]; then
  mkdir -p "$WINEPREFIX/drive_c/users/${profile#'C:\users\'}"
  key='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders'
  wine reg add "$key" /v 'Local AppData' /t REG_EXPAND_SZ /d "$profile\\AppData\\Local" /f >/dev/null 2>&1
  wine reg add "$key" /v 'AppData' /t REG_EXPAND_SZ /d "$profile\\AppData\\Roaming" /f >/dev/null 2>&1
  wine reg add "$key" /v 'Programs' /t REG_EXPAND_SZ /d "$profile\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs" /f >/dev/null 2>&1
  env='HKCU\Volatile Environment'
  wine reg add "$env" /v USERPROFILE /d "$profile" /f >/dev/null 2>&1
  wine reg add "$env" /v APPDATA /d "$profile\\AppData\\Roaming" /f >/dev/null 2>&1
  wine reg add "$env" /v LOCALAPPDATA /d "$profile\\AppData\\Local" /f >/dev/null 2>&1
  wineserver -w
fi
# What another program registered for .bas before Quillet came: its own
# default and its own "Open with" entry. Both must outlast the install and
# the uninstall.
classes='HKCU\Software\Classes'
wine reg add "$classes\\.bas" /ve /d OtherEditor.bas /f >/dev/null 2>&1
wine reg add "$classes\\.bas\\OpenWithProgids" /v OtherEditor.bas /t REG_NONE /f >/dev/null 2>&1
# cmd /u echoes in UTF-16 (else in the console's code page, "?" for what it lacks).
localappdata="$(wine cmd /u /c 'echo %LOCALAPPDATA%' 2>/dev/null | iconv -f UTF-16LE -t UTF-8 | tr -d '\r')"
setup="$root/dist/Quillet-$version-win32-setup.exe"
wine "$setup" /S >/dev/null 2>&1 || { echo "the installer failed"; exit 1; }
wineserver -w
programs_w="$(regvalue 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' Programs)" || true
instdir_w="$(regvalue 'HKCU\Software\Quillet' InstallDir)" || true
instdir="$(winepath -u "$instdir_w" 2>/dev/null)"
programs="$(winepath -u "$programs_w" 2>/dev/null)"
echo "installed into $instdir_w (LOCALAPPDATA is $localappdata); Start menu: $programs_w"
if [ "$instdir_w" != "$localappdata\\Programs\\Quillet" ]; then
  echo "not the per-user folder: $instdir_w"; fail=1
fi
if [ -n "$profile" ] && [[ "$instdir_w" != "$profile\\"* ]]; then
  echo "the profile $profile was not used: $instdir_w"; fail=1
fi
files="Quillet.exe ZESCIN.DLL README.txt LICENSE.txt LICENSE-Scintilla.txt LICENSE-Lexilla.txt Uninstall.exe"
for f in $files examples/hello-freebasic.bas examples/hello-freebasic.res examples/hello-powerbasic.bas; do
  expect present "$instdir/$f"
done
cmp -s "$instdir/Quillet.exe" "$root/build/i686/dist/Quillet.exe" || { echo "the installed Quillet.exe is not the release's"; fail=1; }
lnk="$programs/Quillet/Quillet.lnk"
expect present "$lnk"
expect present "$programs/Quillet/Uninstall Quillet.lnk"
if [ -e "$lnk" ] && ! leads_to "$lnk" "$instdir_w\\Quillet.exe"; then
  echo "the Start menu entry does not start $instdir_w\\Quillet.exe:"; strings "$lnk"; strings -el "$lnk"; fail=1
fi
expect_value 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillet' UninstallString "\"$instdir_w\\Uninstall.exe\""
# Offered in "Open with", not made the default (the installed program's own
# test starts it through what is registered).
expect_value "$classes\\.bas" "" OtherEditor.bas

run_installed "$instdir_w"
wineserver -w
# What the user made there: the INI file, the keyword files and a listing.
for f in Quillet.ini FreeBasicKeywords.txt ApiKeywords.txt mine.bas; do expect present "$instdir/$f"; done

wine "$instdir/Uninstall.exe" /S >/dev/null 2>&1 || { echo "the uninstaller failed"; fail=1; }
wineserver -w
for f in $files; do expect absent "$instdir/$f"; done
expect absent "$programs/Quillet"
if wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillet' >/dev/null 2>&1; then
  echo "the uninstall entry was left"; fail=1
fi
for f in Quillet.ini FreeBasicKeywords.txt ApiKeywords.txt mine.bas examples/hello-freebasic.bas; do
  expect present "$instdir/$f"
done
# Nothing of ours is left under Classes: the ProgID, the application key and
# the keys of the extensions that had none before are gone; the .bas key
# keeps exactly what the other program put there.
for key in 'Quillet.BasicListing' 'Applications\Quillet.exe' '.bi' '.inc'; do
  if wine reg query "$classes\\$key" >/dev/null 2>&1; then
    echo "left behind: $classes\\$key"; wine reg query "$classes\\$key" /s 2>/dev/null | tr -d '\r'; fail=1
  fi
done
expect_value "$classes\\.bas" "" OtherEditor.bas
if ! wine reg query "$classes\\.bas\\OpenWithProgids" /v OtherEditor.bas >/dev/null 2>&1; then
  echo "the other program's OpenWithProgids value went"; fail=1
fi
left="$(wine reg query "$classes\\.bas" /s 2>/dev/null | tr -d '\r' | grep -i quillet || true)"
[ -z "$left" ] || { echo "left behind under $classes\\.bas:"; echo "$left"; fail=1; }
[ $fail = 0 ] && echo "installer${kind:+ ($kind profile)}: installed, ran and removed; the user's files stay"
exit $fail
