#!/usr/bin/env bash
# Runs the built suite N times in a row to show it does not flake: stops at the first failing
# run, prints each run's result and the tests that failed, exits non-zero if any run failed.
# Usage: scripts/repeat.sh N [ctest arguments...]   (the build directory: $BUILD, default build)
set -uo pipefail
cd "$(dirname "$0")/.."
if [[ $# -lt 1 || ! "$1" =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: scripts/repeat.sh N [ctest arguments...]" >&2
  exit 2
fi
runs=$1
shift
build=${BUILD:-build}
if [[ ! -d "$build" ]]; then
  echo "repeat: no build directory $build (build first, or set BUILD)" >&2
  exit 2
fi
log=$(mktemp)
trap 'rm -f "$log"' EXIT

passed=0
for ((run = 1; run <= runs; run++)); do
  start=$SECONDS
  ctest --test-dir "$build" --output-on-failure "$@" >"$log" 2>&1
  status=$?
  summary=$(grep -E '^[0-9]+% tests passed' "$log" | tail -n 1)
  if [[ $status -eq 0 ]]; then
    passed=$((passed + 1))
    echo "run $run/$runs: passed (${summary:-no tests ran}, $((SECONDS - start)) s)"
    continue
  fi
  echo "run $run/$runs: FAILED (${summary:-ctest status $status}, $((SECONDS - start)) s)"
  # ctest's closing list: "  12 - e2e_test_x (Failed)".
  sed -n '/^The following tests FAILED:/,$p' "$log" | grep -E '^[[:space:]]+[0-9]+ - ' || tail -n 20 "$log"
  cp "$log" "$build/repeat-failed.log"
  echo "the failing run's output: $build/repeat-failed.log"
  break
done
echo "repeat: $passed/$runs runs passed"
[[ $passed -eq $runs ]]
