#!/usr/bin/env bash
# The panel's speed against a bare Qt window, in one run, each figure beside its reference:
# - start-up instructions (callgrind) from process start to the main screen's first paint,
#   knitpanel under KNIT_EXIT_AFTER_START=1 against knitsim with knitjob make's default job,
#   beside a minimal Qt Widgets program compiled here (bench/speed/minimalwindow.cpp: one
#   640 x 480 window, one label in Chinese in the panel's font, quitting after its first
#   paint), same platform plugin (offscreen) and font configuration (packaging/fonts.conf);
#   median of RUNS (3); goal <= 1.5x; and the same start with the office library's
#   library.ini against without it; goal <= 1.01x;
# - the wall time of both under qemu-aarch64 when build-arm64/ exists; goal < 8 s;
# - resident size, idle CPU over IDLE_S seconds (60) and wake-ups a second (context switches of
#   all threads) of the main screen with a 1 MiB job, beside the minimal window's; goals
#   <= +4 MiB, <= 0.2 % of a core, <= 10 /s;
# - CPU at 20,000 row reports a second with the main screen, beside the panel's status channel
#   parsing the same reports without a screen (bench_statusonly); goal < +5 % of a core;
# - ldd of knitjob, knitsim and knitfleet (Qt libraries), lintian's counts on the .deb.
# Uses the host build in BUILD (default build/, with bench_statusonly built). Prints figures;
# never fails.
set -uo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD:-$repo/build}
bin=$build/bin
arm=${ARM_BUILD:-$repo/build-arm64}
runs=${RUNS:-3}
idle_s=${IDLE_S:-60}
work=$(mktemp -d /tmp/knit-speed.XXXXXX)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
export QT_QPA_PLATFORM=offscreen KNIT_BUZZER=off KNIT_CONTROLLER_HOST=127.0.0.1
# Both programs with the panel computer's font configuration, as its unit starts the panel.
export FONTCONFIG_FILE=${FONTCONFIG_FILE:-$repo/packaging/fonts.conf}
offset=$((20000 + RANDOM % 9000))
control=$((offset + 7000))
export KNIT_PORT_OFFSET=$offset
hz=$(getconf CLK_TCK)

ratio() { awk -v h="$1" -v b="$2" 'BEGIN { if (b + 0 > 0 && h != "") printf "%.2f", h / b; else print "n/a" }'; }
median() { sort -n | awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)]; else print "" }'; }
row() { printf '%-52s %14s %14s %7s  %s\n' "$1" "$2" "$3" "$(ratio "$2" "$3")" "$4"; }
now_ms() { date +%s%3N; }

[ -x "$bin/knitpanel" ] || { echo "no $bin/knitpanel: build first"; trap - EXIT; rm -rf "$work"; exit 0; }

# The reference program, for the host and, when there is an arm64 build, for arm64.
cxxflags="-std=c++17 -O2 -fPIC"
g++ $cxxflags $(pkg-config --cflags Qt6Widgets) "$repo/bench/speed/minimalwindow.cpp" -o "$work/minimal" \
  $(pkg-config --libs Qt6Widgets) || { echo "the minimal window does not build"; exit 0; }
gcc -O2 "$repo/bench/speed/reportsender.c" -o "$work/reportsender"

source "$repo/scripts/lib/simctl.sh"
# A fresh panel root and knitsim beside it with job M1 on both sides and the controller's blocks
# as the panel's references, so start-up asks nothing. Extra arguments go to knitjob make.
sim_up() {
  local root=$work/root sim=$work/sim
  rm -rf "$root" "$sim"
  # The panel build (arm64) makes no directories of its own: a root needs its /tmp.
  mkdir -p "$root/mnt/ide/knit/para" "$root/tmp"
  KNIT_ROOT=$root "$bin/knitsim" --root "$sim" --control "$control" >/dev/null 2>&1 &
  simpid=$!
  pids+=("$simpid")
  for _ in $(seq 200); do simctl journal >/dev/null 2>&1 && break; sleep 0.05; done
  KNIT_ROOT=$root "$bin/knitjob" make "$@" M1 >/dev/null 2>&1
  simctl "set job M1" >/dev/null
  cp "$sim/file.sys" "$root/mnt/ide/knit/para/checksystem.sys"
  cp "$sim/config.cfg" "$root/mnt/ide/knit/para/checkconfig.cfg"
  export KNIT_ROOT=$root
}
sim_down() {
  kill "$simpid" 2>/dev/null
  wait "$simpid" 2>/dev/null
  unset KNIT_ROOT
}
# Instructions callgrind counts for one run of a command, all threads.
instructions() {
  local out=$work/callgrind.out
  rm -f "$out"
  valgrind --tool=callgrind --callgrind-out-file="$out" "$@" >/dev/null 2>&1
  awk '/^(summary|totals):/ { print $2; exit }' "$out" 2>/dev/null
}

echo "== start-up: process start to the first paint (offscreen)"
printf '%-52s %14s %14s %7s  %s\n' figure knitpanel minimal ratio goal
ref_ir=$(for _ in $(seq "$runs"); do instructions "$work/minimal"; done | median)
sim_up
# Slow under callgrind: time-outs stretched so no request is repeated.
panel_ir=$(for _ in $(seq "$runs"); do
  KNIT_TIMEOUT_SCALE=20 KNIT_EXIT_AFTER_START=1 instructions "$bin/knitpanel"
done | median)
# The office's library costs start-up nothing: its helper starts on the first F5, so a panel
# with library.ini starts as one without (runs interleaved with the same start without it).
library_ini=$KNIT_ROOT/mnt/ide/knit/library.ini
with_ir=() without_ir=()
for _ in $(seq "$runs"); do
  printf '[library]\nurl = http://127.0.0.1:9\nmachine = SPEED-1\ntoken = %s\n' "$(od -An -N32 -tx1 /dev/urandom | tr -d ' \n')" >"$library_ini"
  with_ir+=("$(KNIT_TIMEOUT_SCALE=20 KNIT_EXIT_AFTER_START=1 instructions "$bin/knitpanel")")
  rm -f "$library_ini"
  without_ir+=("$(KNIT_TIMEOUT_SCALE=20 KNIT_EXIT_AFTER_START=1 instructions "$bin/knitpanel")")
done
sim_down
row "instructions (callgrind, median of $runs)" "$panel_ir" "$ref_ir" "<= 1.5"
row "  with library.ini (minimal: without it)" "$(printf '%s\n' "${with_ir[@]}" | median)" \
  "$(printf '%s\n' "${without_ir[@]}" | median)" "<= 1.01"

if [ -x "$arm/bin/knitpanel" ] && command -v qemu-aarch64 >/dev/null; then
  arm_libdir=/usr/lib/aarch64-linux-gnu
  if PKG_CONFIG_LIBDIR=$arm_libdir/pkgconfig aarch64-linux-gnu-g++ $cxxflags \
    $(PKG_CONFIG_LIBDIR=$arm_libdir/pkgconfig pkg-config --cflags Qt6Widgets) "$repo/bench/speed/minimalwindow.cpp" \
    -o "$work/minimal-arm64" $(PKG_CONFIG_LIBDIR=$arm_libdir/pkgconfig pkg-config --libs Qt6Widgets) 2>/dev/null; then
    wall() { local t0; t0=$(now_ms); timeout 60 "$@" >/dev/null 2>&1 && echo $(($(now_ms) - t0)) || echo timeout; }
    ref_wall=$(for _ in $(seq "$runs"); do wall qemu-aarch64 "$work/minimal-arm64"; done | median)
    sim_up
    arm_wall=$(for _ in $(seq "$runs"); do KNIT_EXIT_AFTER_START=1 wall qemu-aarch64 "$arm/bin/knitpanel"; done | median)
    sim_down
    row "wall ms under qemu-aarch64 (median of $runs)" "$arm_wall" "$ref_wall" "knitpanel < 8000 ms"
  else
    echo "qemu-aarch64: the arm64 minimal window does not build (no arm64 Qt?)"
  fi
else
  echo "qemu-aarch64: no $arm/bin/knitpanel (scripts/cross.sh arm64), skipped"
fi

# CPU ticks of a process, all threads.
ticks() { awk '{ sub(/.*\) /, ""); print $12 + $13 }' "/proc/$1/stat" 2>/dev/null; }
# Context switches of each of a process's threads, "tid count" lines: each is a wake-up or a
# preemption.
switches() {
  local t
  for t in /proc/"$1"/task/*; do
    awk -v tid="${t##*/}" '/ctxt_switches/ { n += $2 } END { print tid, n + 0 }' "$t/status" 2>/dev/null
  done
}
# Switches a second between two samples; a thread that came meanwhile counts whole, one that
# went counts nothing.
switch_rate() { # before after seconds
  awk -v s="$3" 'NR == FNR { b[$1] = $2; next } { n += $2 - ($1 in b ? b[$1] : 0) } END { printf "%.1f", n / s }' \
    <(echo "$1") <(echo "$2")
}
rss_kb() { awk '/^VmRSS/ { print $2 }' "/proc/$1/status"; }

echo
echo "== the idle main screen (1 MiB job) beside the minimal window, both offscreen, ${idle_s} s"
printf '%-52s %14s %14s %7s  %s\n' figure knitpanel minimal ratio goal
sim_up --rows 8190 --width 1024 --height 1024 # a 1 MiB program, a 0.5 MiB pattern
simctl "journal clear" >/dev/null
"$bin/knitpanel" >/dev/null 2>&1 &
panel=$!
pids+=("$panel")
"$work/minimal" stay >/dev/null 2>&1 &
minimal=$!
pids+=("$minimal")
for _ in $(seq 600); do simctl journal 2>/dev/null | grep -q ' cmd 26' && break; sleep 0.1; done
sleep 3 # the first paint and the end of start-up's work
rss_p=$(rss_kb "$panel")
rss_m=$(rss_kb "$minimal")
t_p=$(ticks "$panel") t_m=$(ticks "$minimal") s_p=$(switches "$panel") s_m=$(switches "$minimal")
sleep "$idle_s"
cpu_p=$(awk -v t="$(($(ticks "$panel") - t_p))" -v hz="$hz" -v s="$idle_s" 'BEGIN { printf "%.3f", 100 * t / hz / s }')
cpu_m=$(awk -v t="$(($(ticks "$minimal") - t_m))" -v hz="$hz" -v s="$idle_s" 'BEGIN { printf "%.3f", 100 * t / hz / s }')
wake_p=$(switch_rate "$s_p" "$(switches "$panel")" "$idle_s")
wake_m=$(switch_rate "$s_m" "$(switches "$minimal")" "$idle_s")
row "resident KiB" "$rss_p" "$rss_m" "knitpanel <= minimal + 4096 ($((rss_p - rss_m)) above)"
row "idle CPU, % of a core" "$cpu_p" "$cpu_m" "knitpanel <= 0.2"
row "wake-ups a second, all threads" "$wake_p" "$wake_m" "knitpanel <= 10"
kill "$minimal" 2>/dev/null

echo
echo "== 20,000 row reports a second for 10 s (rows change, pieces stay): the main screen beside the status channel alone"
printf '%-52s %14s %14s %7s  %s\n' figure knitpanel no-screen ratio goal
flood_cpu() { # pid: % of a core while the flood lasts
  local t0
  t0=$(ticks "$1")
  "$work/reportsender" $((2001 + offset)) 20000 10
  awk -v t="$(($(ticks "$1") - t0))" -v hz="$hz" 'BEGIN { printf "%.1f", 100 * t / hz / 10 }'
}
with_screen=$(flood_cpu "$panel")
kill "$panel" 2>/dev/null
wait "$panel" 2>/dev/null
sim_down
if [ -x "$bin/bench_statusonly" ]; then
  "$bin/bench_statusonly" >/dev/null 2>"$work/statusonly.err" &
  alone=$!
  pids+=("$alone")
  for _ in $(seq 100); do grep -q listening "$work/statusonly.err" && break; sleep 0.05; done
  without=$(flood_cpu "$alone")
  kill "$alone" 2>/dev/null
  row "CPU, % of a core" "$with_screen" "$without" \
    "knitpanel < no-screen + 5 ($(awk -v a="$with_screen" -v b="$without" 'BEGIN { printf "%+.1f", a - b }'))"
else
  row "CPU, % of a core" "$with_screen" "" "no $bin/bench_statusonly: build it"
fi

echo
echo "== the tools' Qt libraries (ldd)"
for tool in knitjob knitsim knitfleet; do
  printf '%-10s %s\n' "$tool" "$(ldd "$bin/$tool" | awk '/=>/ { print $1 }' | grep -E '^libQt6' | sort | tr '\n' ' ')"
done

echo
echo "== lintian on the packages"
shopt -s nullglob
debs=("$build"/*.deb "$repo"/build-*/*.deb)
if [ ${#debs[@]} -eq 0 ]; then
  echo "no .deb under $build or build-*/ (cpack), skipped"
fi
for deb in "${debs[@]}"; do
  lintian --no-tag-display-limit "$deb" >"$work/lintian.txt" 2>&1
  printf '%-52s errors %s, warnings %s\n' "$(basename "$deb")" "$(grep -c '^E:' "$work/lintian.txt")" "$(grep -c '^W:' "$work/lintian.txt")"
done

# == knitjob against tftp-hpa ==
echo
bash "$repo/bench/tftp-lean.sh" "$build"
