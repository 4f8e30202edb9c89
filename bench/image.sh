#!/usr/bin/env bash
# The panel computer's image in figures, in one run, each beside its reference:
# - boot to the main screen (the panel's READY=1) under TCG against the same boot reaching
#   multi-user.target, from the guest's own clock (kernel start); goals <= 1.2x and <= 120 s;
# - inside the guest, the panel's start-up on linuxfb with the lean fonts.conf
#   (KNIT_EXIT_AFTER_START=1, against the test boot's knitsim) against the minimal Qt window of
#   bench/speed on linuxfb, wall time and peak resident size (busybox time -v), median of RUNS
#   (3), interleaved; goals <= 1.3x and <= +4 MiB. TCG offers no instruction counter, so the
#   instructions come from a second boot under -icount shift=0,sleep=off: the guest's clocks then
#   advance one nanosecond an instruction, so the CPU time a start-up takes there (user and
#   system, its kernel work included, knitsim's not) is its instructions, whatever the host's load;
# - the image's size, compressed, against 400 MiB, and the root's size;
# - the image build's and the boot test's minutes when image.sh and boot-test.sh left them.
# Uses build-image/ and build-arm64/. Prints figures; never fails.
set -uo pipefail
cd "$(dirname "$0")/.."
# What the boot needs, as scripts/boot-test.sh installs it; without it every figure would be empty.
scripts/setup.sh qemu-system-arm qemu-efi-aarch64 qemu-utils socat jq mtools dosfstools ||
  { echo "bench/image.sh: the boot's tools are missing (scripts/setup.sh): no figures"; exit 0; }
runs=${RUNS:-3}
image=${1:-$(ls build-image/knitpanel-*-arm64.img 2>/dev/null | tail -n 1)}
[ -f "$image" ] || { echo "bench/image.sh: no image (scripts/image.sh arm64)"; exit 0; }
image=$(realpath "$image")
work=$(mktemp -d /tmp/knit-image.XXXXXX)
source scripts/boot/qemu.sh
qemu_pid=
trap 'qemu_stop; rm -rf "$work"' EXIT
ratio() { awk -v h="$1" -v b="$2" 'BEGIN { if (b + 0 > 0 && h != "") printf "%.2f", h / b; else print "n/a" }'; }
median() { sort -n | awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)]; else print "" }'; }
row() { printf '%-52s %14s %14s %7s  %s\n' "$1" "$2" "$3" "$(ratio "$2" "$3")" "$4"; }

prepare_disks
arm_libdir=/usr/lib/aarch64-linux-gnu
pc() { PKG_CONFIG_LIBDIR=$arm_libdir/pkgconfig pkg-config "$@" Qt6Widgets; }
if aarch64-linux-gnu-g++ -O2 -fPIC -std=c++17 $(pc --cflags) bench/speed/minimalwindow.cpp -o "$work/minimal" $(pc --libs) 2>/dev/null; then
  MTOOLS_SKIP_CHECK=1 mcopy -i "$work/knitsim.img" "$work/minimal" ::MINIMAL
fi
printf '%-52s %14s %14s %7s  %s\n' "" "panel" "reference" "ratio" "goal"
qemu_start
qga_sync 600 && guest "systemctl start knitpanel" 600 >/dev/null
ready=$(guest "systemctl show -p ActiveEnterTimestampMonotonic --value knitpanel.service")
multi=$(guest "systemctl show -p ActiveEnterTimestampMonotonic --value multi-user.target")
loader=$(guest "systemd-analyze time 2>/dev/null | head -n 1")
row "boot to main screen / multi-user.target (s)" "$(awk -v v="$ready" 'BEGIN { printf "%.1f", v / 1e6 }')" \
  "$(awk -v v="$multi" 'BEGIN { printf "%.1f", v / 1e6 }')" "<= 1.2x, <= 120 s"
echo "  systemd-analyze: $loader"

# One start-up under busybox time -v: "wall_ms max_rss_kib cpu_ms", the CPU the program and its
# kernel work took (user + system, bash's times: a millisecond's resolution). Debian 12's busybox
# (1.35) takes the kernel's peak resident size, which is in KiB already, for a count of pages and
# prints it times the page size in KiB (4 times too much on 4 KiB pages): divided back here.
measure='m=/run/knit-bench; mkdir -p $m; [ -x $m/minimal ] || { mkdir -p $m/disk; mount -o ro /dev/disk/by-label/KNITSIM $m/disk && cp $m/disk/MINIMAL $m/minimal && umount $m/disk; chmod +x $m/minimal; }
  run() { t=$(date +%s%N); c=$(bash -c "\"\$@\" >/dev/null 2>$m/time; times" run busybox time -v env QT_QPA_PLATFORM=linuxfb:fb=/dev/fb0 \
    QT_QPA_FB_DISABLE_INPUT=1 FONTCONFIG_FILE=/usr/share/knitpanel/fonts.conf \
    KNIT_ROOT=/ KNIT_CONTROLLER_HOST=127.0.0.1 KNIT_EXIT_AFTER_START=1 KNIT_BUZZER=off "$@" | sed -n 2p); \
    w=$(( ($(date +%s%N) - t) / 1000000 )); \
    r=$(sed -n "s/.*Maximum resident set size (kbytes): //p" $m/time); \
    echo $w ${r:+$((r / ($(getconf PAGESIZE) / 1024)))} $(echo "$c" | sed "s/m/ /g; s/s//g" | awk "{ printf \"%d\", (\$1 * 60 + \$2 + \$3 * 60 + \$4) * 1000 }"); }'
# The panel's and the minimal window's start-ups, interleaved; medians into pw mw (time), pr mr
# (peak resident) and pc mc (CPU).
startups() {
  guest "systemctl stop knitpanel" 120 >/dev/null
  local panel=() minimal=()
  for _ in $(seq "$runs"); do
    panel+=("$(guest "$measure; run /usr/bin/knitpanel" 600)")
    minimal+=("$(guest "$measure; run \$m/minimal" 600)")
  done
  pw=$(printf '%s\n' "${panel[@]}" | awk '{ print $1 }' | median)
  mw=$(printf '%s\n' "${minimal[@]}" | awk '{ print $1 }' | median)
  pr=$(printf '%s\n' "${panel[@]}" | awk '{ print $2 }' | median)
  mr=$(printf '%s\n' "${minimal[@]}" | awk '{ print $2 }' | median)
  pc=$(printf '%s\n' "${panel[@]}" | awk '{ print $3 }' | median)
  mc=$(printf '%s\n' "${minimal[@]}" | awk '{ print $3 }' | median)
}
startups
row "start-up wall ms on linuxfb in the guest (median $runs)" "$pw" "$mw" "<= 1.3x"
row "peak resident KiB on linuxfb in the guest" "$pr" "$mr" "<= +4096 KiB ($(( ${pr:-0} - ${mr:-0} )) KiB)"
row "start-up CPU ms (user + system) in the guest" "$pc" "$mc" ""
qemu_stop

# Counted: a millisecond of CPU is a million instructions.
qemu_start -icount shift=0,sleep=off
pc= mc=
qga_sync 900 && guest "systemctl start knitpanel" 900 >/dev/null && startups
row "start-up instructions, millions, in the guest" "$pc" "$mc" "<= 1.3x (-icount: user + system)"
qemu_stop

mib=$((1024 * 1024))
zst=$image.zst
[ -f "$zst" ] && row "image compressed (MiB)" "$(( $(stat -c %s "$zst") / mib ))" 400 "< 400 MiB"
row "image raw (MiB)" "$(( $(stat -c %s "$image") / mib ))" "" ""
out=$(dirname "$image")
[ -f "$out/root-mib" ] && row "root, installed (MiB)" "$(cat "$out/root-mib")" "" "in a squashfs of $(cat "$out/squashfs-mib" 2>/dev/null) MiB"
[ -f "$out/build-seconds" ] && row "image build (min)" "$(awk -v s="$(cat "$out/build-seconds")" 'BEGIN { printf "%.1f", s / 60 }')" 15 "<= 15 min"
[ -f "$out/boot-test-seconds" ] && row "boot test (min)" "$(awk -v s="$(cat "$out/boot-test-seconds")" 'BEGIN { printf "%.1f", s / 60 }')" 10 "<= 10 min"
exit 0
