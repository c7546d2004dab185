#!/usr/bin/env bash
# Runs one fuzz target for a number of seconds, starting from its committed
# seed corpus (tests/fuzz/corpus/NAME). New inputs go to a scratch folder, so
# the committed corpus is never changed; a crash or a broken property fails
# the run and leaves the input in build/fuzz/crashes/.
# Usage: run-fuzz.sh path/to/fuzz_NAME seconds [more libFuzzer options]
set -uo pipefail
exe="$1"; seconds="$2"; shift 2
name="$(basename "$exe")"
here="$(cd "$(dirname "$0")" && pwd)"
seeds="$here/fuzz/corpus/$name"
scratch="$(mktemp -d)"
crashes="$(dirname "$(dirname "$exe")")/crashes"
mkdir -p "$crashes"
trap 'rm -rf "$scratch"' EXIT
args=("$scratch")
[ -d "$seeds" ] && args+=("$seeds")
"$exe" "${args[@]}" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$crashes/$name-" "$@" 2>&1 |
  grep -E '^(#[0-9]+ +DONE|stat::number_of_executed_units|==[0-9]+==|SUMMARY|property failed|INFO: Seed|.*ERROR)' 
exit "${PIPESTATUS[0]}"
