#!/usr/bin/env bash
# The platform-free core is listed in src/CMakeLists.txt under quillet_core;
# none of its files may include windows.h.
set -euo pipefail
src="$1"
files=$(sed -n '/add_library(quillet_core/,/)/p' "$src/CMakeLists.txt" | grep -E '\.cpp' | tr -d ' ')
bad=0
for f in $files; do
  for g in "$src/$f" "$src/${f%.cpp}.h"; do
    [ -f "$g" ] || continue
    if grep -nE '#include\s*[<"](windows|winuser|commdlg)\.h' "$g"; then echo "platform header in core file $g"; bad=1; fi
  done
done
echo "checked $(echo $files | wc -w) core files"
exit $bad
