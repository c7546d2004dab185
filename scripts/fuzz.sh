#!/usr/bin/env bash
# The long fuzz run: builds the fuzz targets of the core (clang, AddressSanitizer,
# UndefinedBehaviorSanitizer) and runs each for a number of inputs (default
# 10 million), printing the runs made and any report. A crash or broken
# property stops with the input saved in build/fuzz/crashes/.
# Usage: scripts/fuzz.sh [runs per target] [target names...]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
runs="${1:-10000000}"; shift || true
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" fuzz >/dev/null
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=($(cd "$root/build/fuzz/bin" && ls fuzz_*))
fail=0
for name in "${targets[@]}"; do
  start=$(date +%s)
  if "$root/tests/run-fuzz.sh" "$root/build/fuzz/bin/$name" 0 -runs="$runs" > "$root/build/fuzz/$name.log" 2>&1; then
    result="no report"
  else
    result="REPORT (see build/fuzz/$name.log)"; fail=1
  fi
  executed=$(sed -n 's/^stat::number_of_executed_units: *//p' "$root/build/fuzz/$name.log")
  printf '%-22s %12s runs %6s s  %s\n' "$name" "${executed:-?}" "$(( $(date +%s) - start ))" "$result"
done
exit $fail
