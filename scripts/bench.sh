#!/usr/bin/env bash
# Builds the program and runs the benchmarks under Wine: for the x86-64
# build, then for the 32-bit release (in its own prefix, where this machine
# runs 32-bit code; otherwise it says why not).
# Usage: scripts/bench.sh [NAME...]   runs bench_NAME.exe (default: all of them)
# QUILLET_BENCH_BUILDS="x64 i686" picks the builds (both by default).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/setup.sh"
source "$root/scripts/wine-env.sh"
builds=()
for build in ${QUILLET_BENCH_BUILDS:-x64 i686}; do
  if [ "$build" = i686 ] && reason="$(quillet_i386_reason)" && [ -n "$reason" ]; then
    echo "bench: the 32-bit release is not measured here: $reason"
    continue
  fi
  bash "$root/scripts/build.sh" "$build" >/dev/null
  builds+=("$build")
done
quillet_wine_display 1
trap quillet_wine_stop EXIT
for build in "${builds[@]+"${builds[@]}"}"; do
  (
    export QUILLET_WINE_TARGET="$build"
    unset WINEPREFIX
    source "$root/scripts/wine-env.sh"
    QUILLET_NEW_DISPLAY=1 quillet_wine_prefix
    cd "$root/build/$build/bin"
    if [ $# -gt 0 ]; then
      benches=()
      for name in "$@"; do benches+=("bench_$name.exe"); done
    else
      benches=(bench_*.exe)
    fi
    for bench in "${benches[@]}"; do
      echo "== $build: $bench"
      wine "$bench"
    done
    wineserver -k >/dev/null 2>&1 || true
  )
done
