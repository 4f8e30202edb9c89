#!/usr/bin/env bash
# What does not fit CI's 90 minutes beside the suite: the fuzz targets built with libFuzzer
# (clang) and smoke-run on their corpus; the panel computer's image built (with the arm64 package
# it holds) and booted under emulation, then its figures. Needs the host build
# (scripts/test.sh) for the boot test's host picture. Each stage runs even when one before it
# failed, with its wall time.
set -uo pipefail
cd "$(dirname "$0")/.."
status=0
stage() {
  local start=$SECONDS
  "$@" || status=1
  echo "=== $* : $((SECONDS - start)) s"
}
libfuzzer_smoke() {
  cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DKNIT_FUZZ=ON \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null &&
    cmake --build build-fuzz -j2 &&
    ctest --test-dir build-fuzz -L fuzz-smoke --output-on-failure -j2
}
stage libfuzzer_smoke
stage cmake --build build -j2 --target knitpanel knitsim knitjob knitshot
stage scripts/image.sh arm64
stage scripts/boot-test.sh
stage bench/image.sh
exit $status
