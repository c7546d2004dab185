#!/usr/bin/env bash
# The platform-free core is what the subsystems list under
# QUILLET_CORE_SOURCES in their sources.cmake; none of its files, nor the
# headers beside them, may include a platform header.
set -euo pipefail
src="$1"
files=$(cat "$src"/*/sources.cmake | sed -n '/QUILLET_CORE_SOURCES/,/)/p' | grep -oE '[A-Za-z0-9_]+\.cpp')
dirs=$(grep -l QUILLET_CORE_SOURCES "$src"/*/sources.cmake | xargs -n1 dirname)
bad=0
checked=0
for f in $files; do
  for d in $dirs; do
    for g in "$d/$f" "$d/${f%.cpp}.h"; do
      [ -f "$g" ] || continue
      [[ "$g" == *.cpp ]] && checked=$((checked + 1))
      if grep -nE '#include\s*[<"](windows|winuser|commdlg|shellapi)\.h' "$g"; then echo "platform header in core file $g"; bad=1; fi
    done
  done
done
echo "checked $checked core files"
[ "$checked" -gt 0 ] || { echo "no core files found"; exit 1; }
exit $bad
