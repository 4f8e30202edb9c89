#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole ctest suite; then builds the fuzz
# targets with libFuzzer (clang) and smoke-runs them.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
jobs=$(nproc)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs"

status=0
ctest --test-dir build --output-on-failure -j "$jobs" --timeout 300 || status=$?

if command -v clang++ >/dev/null 2>&1; then
  cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DKNIT_FUZZ=ON \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build-fuzz -j "$jobs"
  ctest --test-dir build-fuzz -L fuzz-smoke --output-on-failure -j "$jobs" || status=$?
else
  echo "clang++ not found: libFuzzer targets skipped (scripts/setup.sh installs clang)"
fi
scripts/test-size.sh || echo "test-size.sh: could not count (not a git checkout?)"
exit $status
