#!/usr/bin/env bash
# The release folder holds Quillet.exe and ZESCIN.DLL, which import nothing
# but Windows system libraries (and the program ZESCIN.DLL).
set -euo pipefail
dir="$1"; arch="$2"
objdump="$arch-w64-mingw32-objdump"
fail=0
for f in Quillet.exe ZESCIN.DLL; do
  [ -f "$dir/$f" ] || { echo "missing $dir/$f"; exit 1; }
done
allowed='^(KERNEL32|USER32|GDI32|COMDLG32|ADVAPI32|SHELL32|OLE32|OLEAUT32|IMM32|MSIMG32|MSVCRT|COMCTL32|WINMM|VERSION|ZESCIN)\.DLL$'
for f in Quillet.exe ZESCIN.DLL; do
  for dll in $("$objdump" -p "$dir/$f" | sed -n 's/^\s*DLL Name: //p'); do
    up=$(echo "$dll" | tr a-z A-Z)
    if [[ ! "$up" =~ $allowed ]]; then echo "$f imports $dll"; fail=1; else echo "$f imports $dll: ok"; fi
  done
done
grep -q '\bScintilla_DirectFunction$' <<<"$("$objdump" -p "$dir/ZESCIN.DLL")" || { echo "ZESCIN.DLL does not export Scintilla_DirectFunction"; fail=1; }
grep -q '\bMAINWNDPROC$' <<<"$("$objdump" -p "$dir/Quillet.exe")" || { echo "Quillet.exe does not export MAINWNDPROC"; fail=1; }
grep -q '\bSTREAMINEDITORHELP$' <<<"$("$objdump" -p "$dir/Quillet.exe")" || { echo "Quillet.exe does not export STREAMINEDITORHELP"; fail=1; }
if [ "$arch" = i686 ]; then
  grep -q 'PE32 executable (GUI) Intel 80386' <<<"$(file "$dir/Quillet.exe")" || { echo "Quillet.exe is not a 32-bit GUI program: $(file "$dir/Quillet.exe")"; fail=1; }
fi
[ $fail = 0 ] && echo "release folder $dir is self-contained"
exit $fail
