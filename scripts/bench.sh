#!/usr/bin/env bash
# Builds the x86-64 program and runs the document benchmark under Wine.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" x64 >/dev/null
source "$root/scripts/wine-env.sh"
quillet_wine_start 1
trap quillet_wine_stop EXIT
cd "$root/build/x64/bin"
wine bench_documents.exe
