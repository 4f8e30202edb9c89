#!/usr/bin/env bash
# Boots the panel computer's image in qemu-system-aarch64 (TCG, virt, 2 vCPUs, 1 GiB, no
# network) and works it from outside as an operator and a power cut would: QMP's screendump,
# send-key, input-send-event and quit, and the guest agent for what only the inside shows. The
# disk labelled KNITSIM makes it a test boot: knitsim with a sample job on the guest's loopback.
# The image itself is never written: each run boots a qcow2 layer over it.
#   scripts/boot-test.sh [IMAGE]          (default: the newest build-image/knitpanel-*-arm64.img)
# Prints PASS/FAIL per check and "N passed, N failed"; KNIT_BOOT_KEEP=1 keeps the work folder.
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh qemu-system-arm qemu-efi-aarch64 qemu-utils socat jq mtools dosfstools xvfb || exit 1
image=${1:-$(ls build-image/knitpanel-*-arm64.img 2>/dev/null | tail -n 1)}
[ -f "$image" ] || { echo "boot-test: no image (scripts/image.sh arm64 makes one)" >&2; exit 2; }
image=$(realpath "$image")
work=$(mktemp -d /tmp/knitboot.XXXXXX)
source scripts/boot/qemu.sh
source scripts/boot/pages.sh
source scripts/boot/checks.sh
started=$SECONDS
qemu_pid=
cleanup() {
  qemu_stop
  [ "${KNIT_BOOT_KEEP:-0}" = 1 ] && echo "boot-test: files kept in $work" || rm -rf "$work"
}
trap cleanup EXIT

passed=0
failed=0
check() { # NAME COMMAND...
  local name=$1
  shift
  if "$@"; then
    echo "PASS: $name"
    passed=$((passed + 1))
  else
    echo "FAIL: $name"
    failed=$((failed + 1))
  fi
}

prepare_disks
check "the host's panel shows every page the test waits for, each told from the screen before it" host_pages
run_checks
echo "boot-test: $((SECONDS - started)) s"
echo $((SECONDS - started)) >"$(dirname "$image")/boot-test-seconds" 2>/dev/null
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
