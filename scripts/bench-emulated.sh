#!/usr/bin/env bash
# The file-format and status-report benchmarks of the native build beside the same benchmarks
# of a cross host build under user-mode emulation (after scripts/cross.sh ARCH). An emulated
# figure is not a panel figure; a large change between two commits still shows.
set -euo pipefail
cd "$(dirname "$0")/.."
arch=${1:-arm64}
case "$arch" in
  arm64) qemu=qemu-aarch64 ;;
  armhf) qemu=qemu-arm ;;
  *) echo "usage: scripts/bench-emulated.sh arm64|armhf" >&2; exit 2 ;;
esac
export QT_QPA_PLATFORM=offscreen KNIT_BUZZER=off
for bench in bench_formats bench_reports; do
  for side in native "$arch"; do
    echo "== $bench, $side"
    if [ "$side" = native ]; then
      build/bin/$bench
    else
      $qemu "build-$arch-host/bin/$bench"
    fi
  done
done
