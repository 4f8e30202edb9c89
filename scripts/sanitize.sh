#!/usr/bin/env bash
# The suite on an instrumented build: every program, test and tool built with AddressSanitizer and
# UndefinedBehaviorSanitizer (asan, in build-asan) or ThreadSanitizer (tsan, in build-tsan), the
# first finding fatal. The e2e tests start the instrumented knitpanel and knitsim, so a finding
# in a child counts too: every report goes to a log file, and any log file fails the run.
#   scripts/sanitize.sh asan|tsan [ctest args]     (no ctest args: the whole suite)
# Only the targets the chosen tests run are built (scripts/lib/testtargets.sh). Suppressions: tests/sanitizers/*.supp.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

kind=${1:-}
case "$kind" in
  asan) sanitize=address,undefined ;;
  tsan) sanitize=thread ;;
  *) echo "usage: scripts/sanitize.sh asan|tsan [ctest args]" >&2; exit 2 ;;
esac
shift
build=build-$kind
jobs=${KNIT_JOBS:-$(nproc)}

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKNIT_SANITIZE="$sanitize" >/dev/null

# The package is made from the plain build; an instrumented one is never shipped.
select=(-E '^unit_test_package$' "$@")
source scripts/lib/testtargets.sh
test_targets "$build" "${select[@]}" || exit 2
cmake --build "$build" -j "$jobs" --target "${targets[@]}"

logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
supp=$root/tests/sanitizers
common="halt_on_error=1:log_path=$logs/report:print_suppressions=0"
export ASAN_OPTIONS="$common:detect_leaks=1:detect_stack_use_after_return=1:strict_init_order=1:check_initialization_order=1"
export LSAN_OPTIONS="suppressions=$supp/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="$common:print_stacktrace=1:suppressions=$supp/ubsan.supp"
# Qt's locks are futex-based and Qt is not instrumented, so tsan cannot see Qt hand anything from
# one thread to another (its thread pools, which Qt Gui paints large fills with, QtTest's
# watchdog): every allocation, copy or free Qt makes on such a hand-off looks unordered. Those
# calls from uninstrumented libraries are not checked; every access this project's code makes,
# Qt's inline templates included, still is, and so is the locking Qt does through pthreads.
export TSAN_OPTIONS="$common:second_deadlock_stack=1:ignore_noninstrumented_modules=1:suppressions=$supp/tsan.supp"

status=0
ctest --test-dir "$build" --output-on-failure -j "$jobs" --timeout 600 "${select[@]}" || status=$?

# A finding in a program a test started ends that program, which the test may take for a
# crash it expects; the report file still fails the run.
shopt -s nullglob
reports=("$logs"/report.*)
if ((${#reports[@]})); then
  for r in "${reports[@]}"; do echo "=== $r"; cat "$r"; done
  echo "sanitize.sh: ${#reports[@]} sanitizer report(s)" >&2
  status=1
fi
exit $status
