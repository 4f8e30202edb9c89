#!/usr/bin/env bash
# Crash consistency of every save: each save of the panel cut off at every one of its steps
# (KNIT_CRASH_AT=k) and by kill -9 at random moments, each time on a copy of the old disk; then
# every file must be the old or the new one whole, every log end at a whole line, and the panel
# start on it. Prints the kill points per save path, partial files and failed starts, and fails
# on any of them.
#   scripts/crash.sh [--build DIR] [--no-build] [--quick] [--random N] [--seed S] [--verbose] [PATH...]
# --quick: the .wrk save and the alarm log's append only, as ctest runs it.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build
make=1
args=()
while (($#)); do
  case $1 in
    --build) build=$2; shift 2 ;;
    --no-build) make=0; shift ;;
    --quick) args+=(--random 0 wrk alarms); shift ;;
    *) args+=("$1"); shift ;;
  esac
done
if ((make)); then
  cmake --build "$build" -j2 --target crashsaves knitsim knitjob >/dev/null
fi
exec "$build/bin/crashsaves" sweep "${args[@]}"
