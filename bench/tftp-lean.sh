#!/usr/bin/env bash
# knitjob fetch/send against tftp-hpa's tftp get/put, whole processes against one in.tftpd on
# loopback: an empty file, 1 MiB and 8 MiB, 15 interleaved runs each, every process on one CPU,
# medians and their ratio, beside the floor (a do-nothing C program's start plus in.tftpd's
# turnaround per 512-byte block times the blocks); then what each tool loads. The figures are
# bench_tftp's; this script builds it and can be called on its own or from a wider benchmark.
# Prints figures; never fails. Usage: bench/tftp-lean.sh [BUILD_DIR]   (default: build)
set -uo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$repo/build}
if ! nice -n 15 cmake --build "$build" -j2 --target bench_tftp knitjob knitsim knitfleet >/dev/null 2>&1; then
  echo "tftp-lean: could not build bench_tftp in $build"
  exit 0
fi
echo "== knitjob against tftp-hpa"
"$build/bin/bench_tftp"
echo "== what the tools load (ldd)"
for tool in knitjob knitsim knitfleet; do
  libs=$(ldd "$build/bin/$tool" | awk '{ print $1 }' | grep -v -e '^linux-vdso' -e '^/' | tr '\n' ' ')
  echo "$tool: $libs"
done
exit 0
