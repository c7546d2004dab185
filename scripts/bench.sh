#!/usr/bin/env bash
# Builds the x86-64 program and runs the benchmarks under Wine.
# Usage: scripts/bench.sh [NAME...]   runs bench_NAME.exe (default: all of them)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" x64 >/dev/null
source "$root/scripts/wine-env.sh"
quillet_wine_start 1
trap quillet_wine_stop EXIT
cd "$root/build/x64/bin"
if [ $# -gt 0 ]; then
  benches=()
  for name in "$@"; do benches+=("bench_$name.exe"); done
else
  benches=(bench_*.exe)
fi
for bench in "${benches[@]}"; do
  echo "== $bench"
  wine "$bench"
done
