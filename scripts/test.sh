#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole ctest suite (the fuzz targets' smoke runs
# included; libFuzzer's own runs are scripts/fuzz.sh, nightly).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
jobs=$(nproc)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs"

status=0
ctest --test-dir build --output-on-failure -j "$jobs" --timeout 300 || status=$?

scripts/test-size.sh || echo "test-size.sh: could not count (not a git checkout?)"
exit $status
