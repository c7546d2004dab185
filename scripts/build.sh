#!/usr/bin/env bash
# Builds Quillet: the 32-bit release (i686) and the x86-64 build, each with
# the tests that run it under Wine, the fuzz targets of the core (clang) and
# the native build of the core and its tests.
# Usage: scripts/build.sh [all|i686|x64|fuzz|native]   (default: all)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
what="${1:-all}"
jobs="$(nproc)"

cross() {
  local arch="$1" dir="$2"
  cmake -S "$root" -B "$root/build/$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" -DBUILD_TESTING="$3" >/dev/null
  ninja -C "$root/build/$dir" -j "$jobs"
}

case "$what" in
  all|i686) cross i686 i686 ON ;;&
  all|x64) cross x86_64 x64 ON ;;&
  all|fuzz)
    # The core's parsers and writers under libFuzzer with the sanitizers.
    cmake -S "$root" -B "$root/build/fuzz" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DQUILLET_FUZZ=ON >/dev/null
    ninja -C "$root/build/fuzz" -j "$jobs" ;;&
  all|native)
    cmake -S "$root" -B "$root/build/native" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DQUILLET_X64_DIR="$root/build/x64" -DQUILLET_I686_DIR="$root/build/i686" \
      -DQUILLET_FUZZ_DIR="$root/build/fuzz" >/dev/null
    ninja -C "$root/build/native" -j "$jobs" ;;
esac
if [ "$what" = all ] || [ "$what" = i686 ]; then
  mkdir -p "$root/dist"
  cp "$root/build/i686/dist/Quillet.exe" "$root/build/i686/dist/ZESCIN.DLL" "$root/dist/"
  echo "Windows release (32-bit): $root/dist/Quillet.exe with ZESCIN.DLL beside it"
fi
