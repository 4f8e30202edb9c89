#!/usr/bin/env bash
# Same behaviour, shown: BASE and HEAD built side by side from clean trees, then each side's
# knitpanel worked by keys against its own knitsim under a private Xvfb: start-up, a density
# typed on the work-parameter page, another job sent from the file manager, then every screen
# of the walk opened in Chinese and again in English. Compared afterwards: knitsim's journal
# (its times dropped), the panel's standard output, every file of the panel's root but the
# history logs (which carry the time), every file knitsim keeps, and the screenshots, with
# the main screen's clock blanked. Prints what differs.
# Exit status: 0 the same, 1 a difference, 2 a side could not be built or run.
# Usage: scripts/behaviour-diff.sh [BASE [HEAD]]   (BASE default dad4e634, the commit before
# the machine state had one owner; KEEP=1 keeps the work folder and says where)
set -uo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
base=${1:-dad4e634}
head=${2:-HEAD}
# In the build folder, under ccache's base_dir where the worktree's is: the trees' objects then
# hash as the worktree's do.
mkdir -p "$repo/build"
work=$(mktemp -d "$repo/build/behaviour-diff.XXXXXX")
pids=()
cleanup() {
  local p
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null && wait "$p" 2>/dev/null; done
  if [ "${KEEP:-0}" = 1 ]; then echo "work folder kept: $work"; else rm -rf "$work"; fi
}
trap cleanup EXIT
export QT_QPA_PLATFORM=xcb KNIT_BUZZER=off KNIT_CONTROLLER_HOST=127.0.0.1
# Qt's runtime folder, private to this run (Qt warns without one).
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
# Both trees lie as the worktree does (sources at the top, build/ below), and the cache does not
# key on the directory: what the worktree built with CCACHE_NOHASHDIR=1 comes back from ccache.
export CCACHE_NOHASHDIR=1

fail() { echo "behaviour-diff: $*" >&2; exit 2; }

# Polls until the command succeeds, at most $1 seconds; says what never happened on time-out.
until_true() {
  local seconds=$1 what=$2
  shift 2
  local deadline=$((SECONDS + seconds))
  until "$@"; do
    if [ "$SECONDS" -ge "$deadline" ]; then
      echo "$side: $what, not within $seconds s" >&2
      return 1
    fi
    sleep 0.05
  done
}

build_side() { # side rev
  local tree=$work/$1
  mkdir -p "$tree"
  git -C "$repo" archive "$2" | tar -x -C "$tree" || fail "$1: no tree for $2"
  cmake -S "$tree" -B "$tree/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$work/$1-configure.log" 2>&1 ||
    fail "$1 ($2): configure failed, see $work/$1-configure.log"
  # knitjob brings the helpers it runs: knitjob-full, and knitjob-library in a tree that has it.
  ninja -C "$tree/build" -j2 knitpanel knitpanel_lrelease knitsim knitjob knitshot >"$work/$1-build.log" 2>&1 ||
    fail "$1 ($2): build failed, see $work/$1-build.log"
  echo "$1 ($2, $(git -C "$repo" rev-parse --short "$2")): built"
}

# A port offset no test running beside holds: the tests' scheme (tests/support/core/portoffset.h),
# 20000 + 400 k + 10 j, reserved by a lock on the same files for as long as this script runs.
# Sets offset; the lock's descriptor stays open, so this runs in the script's own shell.
reserve_offset() {
  local dir=${TMPDIR:-/tmp}/knit-port-offsets fd
  mkdir -p "$dir"
  for _ in $(seq 500); do
    offset=$((20000 + (RANDOM % 23) * 400 + (RANDOM % 10) * 10))
    exec {fd}>"$dir/$offset"
    flock -n "$fd" && return 0
    exec {fd}>&-
  done
  return 1
}

source "$repo/scripts/lib/simctl.sh"
state_has() { simctl state | grep -qxF "$1"; }
# A command datagram of that code (its first byte, in hex) in the journal.
journal_has_command() { simctl journal | awk -v want="$1" '$2 == "cmd" && $3 == want { found = 1 } END { exit !found }'; }

focus_name() { xdotool getwindowfocus getwindowname 2>/dev/null; }
# The window with the keyboard; nothing when that is the root window (it alone has no name).
focus_id() { [ -n "$(focus_name)" ] && xdotool getwindowfocus 2>/dev/null; }
focus_moved() { local now; now=$(focus_id) && [ -n "$now" ] && [ "$now" != "$1" ]; }
focus_is() { [ "$(focus_id)" = "$1" ]; }
focus_size() { [ -n "$(focus_name)" ] && xdotool getwindowfocus getwindowgeometry 2>/dev/null | grep -q "Geometry: $1"; }
# One of the panel's messages (its 400 x 200 frame) other than the window before has the keyboard.
message_after() { focus_moved "$1" && focus_size 400x200; }

# The screen with the main screen's clock (550, 390, 81 x 26) blanked, once two pictures in a
# row are alike: the panel has drawn what it was given. Then watched for 1.2 s, longer than a
# text cursor's blink: every picture seen is kept (NAME.png, NAME.2.png, ...) in the order of its
# bytes' hash, so both sides keep a blinking cursor's two alike whatever the blink's phase.
shot() { # file
  local scratch=$work/scratch.png last=$work/last.png deadline=$((SECONDS + 10))
  rm -f "$last"
  while :; do
    "$knitshot" "$scratch" 550,390,81,26 || { echo "$side: knitshot took no picture" >&2; return 1; }
    [ -f "$last" ] && cmp -s "$scratch" "$last" && break
    mv "$scratch" "$last"
    if [ "$SECONDS" -ge "$deadline" ]; then
      echo "$side: the screen never came to rest for $(basename "$1")" >&2
      return 1
    fi
  done
  # Each picture seen under the name of its bytes' hash.
  local seen=$work/seen hash n=1 until=$(($(date +%s%N) / 1000000 + 1200))
  rm -rf "$seen" && mkdir "$seen" && mv "$last" "$seen/$(sha256sum <"$last" | cut -c1-64)"
  while [ $(($(date +%s%N) / 1000000)) -lt "$until" ]; do
    "$knitshot" "$scratch" 550,390,81,26 || { echo "$side: knitshot took no picture" >&2; return 1; }
    mv "$scratch" "$seen/$(sha256sum <"$scratch" | cut -c1-64)"
  done
  for hash in "$seen"/*; do
    hash=${hash##*/}
    if [ "$n" = 1 ]; then mv "$seen/$hash" "$1"; else mv "$seen/$hash" "${1%.png}.$n.png"; fi
    n=$((n + 1))
  done
  [ "$n" -le 3 ] || echo "$side: $(basename "$1") changed more than a blink would: $((n - 1)) pictures" >&2
}

# A key that opens or closes a window: true once another window has the keyboard.
switch_with() {
  local before
  before=$(focus_id)
  xdotool key "$1" && until_true 10 "key $1 moved the keyboard nowhere" focus_moved "$before"
}
# A key that changes what the window shows: true once the screen differs from before it.
change_with() {
  local before=$work/before.png
  "$knitshot" "$before" 550,390,81,26 && xdotool key "$1" || return 1
  until_true 10 "key $1 changed nothing on the screen" screen_differs "$before"
}
screen_differs() { "$knitshot" "$work/now.png" 550,390,81,26 && ! cmp -s "$work/now.png" "$1"; }
back_to_main() {
  local n
  for n in 1 2 3 4 5; do
    focus_is "$main" && return 0
    switch_with Escape || return 1
  done
  focus_is "$main" || { echo "$side: Escape did not bring the main screen back" >&2; return 1; }
}

# The screens of the walk: a name and the keys from the main screen; "+" after a key that opens
# a window, a digit string typed, other keys change the window's page. A picture after every key
# but typed digits.
routes=(
  "work-parameters:1+ b c d e f"
  "frequent-parameters:2+"
  "file-manager:3+"
  "other-parameters:4+"
  "test-menu:6+"
  "system-parameters:7+ 2+ 7063 Return+"
  "running-parameters:7+ 1+"
  "acceleration:7+ h+ 7063 Return+ 1+"
  "personalisation:7+ h+ 7063 Return+ 2+"
  "skip-rows:0+"
  "language-menu:8+"
)
walk() { # language
  local route name keys k i n=0 digits
  for route in "${routes[@]}"; do
    name=${route%%:*}
    keys=${route#*:}
    n=$((n + 1))
    i=0
    for k in $keys; do
      i=$((i + 1))
      case $k in
        *+) switch_with "${k%+}" || return 1 ;;
        [0-9][0-9]*)
          mapfile -t digits < <(grep -o . <<<"$k")
          xdotool key "${digits[@]}" || return 1
          continue
          ;;
        *) change_with "$k" || return 1 ;;
      esac
      shot "$out/shots/$1-$(printf %02d $n)-$name-$i.png" || return 1
    done
    back_to_main || return 1
  done
}

run_side() { # side
  side=$1
  local bin=$work/$1/build/bin root=$work/$1-root simroot=$work/$1-sim display
  out=$work/$1-out
  knitshot=$work/head/build/bin/knitshot
  mkdir -p "$root/mnt/ide/knit/para" "$simroot" "$out/shots"
  export KNIT_PORT_OFFSET=$offset KNIT_ROOT=$root
  for n in $(seq 20); do
    display=$((200 + RANDOM % 700))
    [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ] || break
  done
  Xvfb ":$display" -screen 0 640x480x24 -nolisten tcp >/dev/null 2>&1 &
  pids+=($!)
  export DISPLAY=:$display
  until_true 10 "Xvfb never opened :$display" test -e "/tmp/.X11-unix/X$display" || return 1

  # One seed on both sides: knitsim's simulated readings are drawn alike.
  "$bin/knitsim" --root "$simroot" --control 0 --port-offset "$offset" --seed 20260101 >"$out/knitsim.out" 2>&1 &
  pids+=($!)
  until_true 10 "knitsim never became ready" grep -q '^knitsim ready' "$out/knitsim.out" || return 1
  control=$(awk '/^knitsim ready/ { print $4; exit }' "$out/knitsim.out")

  # Two jobs, made alike on both sides; their time (NAME.txt, shown by the file manager) fixed.
  "$bin/knitjob" make W1 --dir "$root/mnt/ide/knit/wave" --rows 40 --width 100 --height 50 >/dev/null &&
    "$bin/knitjob" make W2 --dir "$root/mnt/ide/knit/wave" --rows 60 --width 120 --height 30 >/dev/null ||
    { echo "$side: knitjob could not make the jobs" >&2; return 1; }
  printf '2026-01-01 08:00:00' >"$root/mnt/ide/knit/wave/W1/W1.txt" &&
    printf '2026-01-01 08:00:01' >"$root/mnt/ide/knit/wave/W2/W2.txt" || return 1
  cp "$simroot/file.sys" "$root/mnt/ide/knit/para/checksystem.sys" &&
    cp "$simroot/config.cfg" "$root/mnt/ide/knit/para/checkconfig.cfg" || return 1
  simctl "set job W1" | grep -qx ok || { echo "$side: knitsim took no job" >&2; return 1; }

  KNIT_TIMEOUT_SCALE=3 "$bin/knitpanel" >"$out/panel.out" 2>"$out/panel.err" &
  pids+=($!)
  until_true 60 "start-up never sent its closing status query" journal_has_command 26 &&
    until_true 20 "the main screen never took the keyboard" focus_size 640x480 || return 1
  main=$(focus_id)
  shot "$out/shots/zh-00-main.png" || return 1

  # A density typed on the work-parameter page, taken by the controller, kept in the job's file.
  switch_with 1 && xdotool key Down 4 2 7 KP_Enter &&
    until_true 10 "the density 427 never reached knitsim" state_has "value 2 1 427" &&
    xdotool key a && switch_with Escape &&
    until_true 10 "W1.wrk never held 427" wrk_holds "$root/mnt/ide/knit/wave/W1/W1.wrk" || return 1

  # W2 sent from the file manager: the question, the controller takes the job, the message.
  local question
  switch_with 3 && xdotool key Down && switch_with c && focus_size 400x200 || return 1
  question=$(focus_id)
  xdotool key Return &&
    until_true 60 "knitsim never took W2" state_has "job W2" &&
    until_true 20 "no message after the send" message_after "$question" || return 1
  shot "$out/shots/zh-00-sent.png" && switch_with Return &&
    until_true 10 "the panel never loaded W2" grep -qx W2 "$out/panel.out" && back_to_main || return 1

  walk zh || return 1
  # English at once from the language menu; the choice is kept in panel.ini.
  switch_with 8 && xdotool key 2 &&
    until_true 10 "panel.ini never said English" grep -qx 'language=en' "$root/mnt/ide/knit/panel.ini" &&
    switch_with Escape && focus_is "$main" || return 1
  shot "$out/shots/en-00-main.png" && walk en || return 1

  # Without the panel's acknowledgements of downloaded blocks: its next request, from the same
  # port, can overtake a download's last one, and knitsim then drops that transfer unjournaled.
  # What came down is compared as the panel's files.
  simctl journal | grep -vx ok | cut -d' ' -f2- | grep -v '^tftp 00 04 ' >"$out/journal.txt"
  simctl state | grep -vx ok >"$out/state.txt"
  kill "${pids[@]}" 2>/dev/null
  wait "${pids[@]}" 2>/dev/null
  pids=()
  # Every file and its bytes; the history logs carry the wall clock.
  (cd "$root" && find . -type f ! -path './mnt/ide/knit/log/*' -print0 | sort -z | xargs -0 sha256sum) >"$out/panel-files.txt"
  (cd "$simroot" && find . -type f -print0 | sort -z | xargs -0 sha256sum) >"$out/sim-files.txt"
  echo "$side: walked, $(ls "$out/shots" | wc -l) pictures, $(wc -l <"$out/journal.txt") datagrams journaled"
}
wrk_holds() { [ "$(od -An -tx1 -j16 -N2 "$1" 2>/dev/null | tr -d ' ')" = ab01 ]; }

build_side base "$base"
build_side head "$head"
reserve_offset || fail "no free port offset"
run_side base || fail "base: the run stopped (see above)"
run_side head || fail "head: the run stopped (see above)"

differs=0
for f in journal.txt state.txt panel.out panel-files.txt sim-files.txt; do
  if ! diff -u "$work/base-out/$f" "$work/head-out/$f" >"$work/$f.diff"; then
    echo "differs: $f"
    head -40 "$work/$f.diff"
    differs=1
  fi
done
if ! diff <(cd "$work/base-out/shots" && ls) <(cd "$work/head-out/shots" && ls) >/dev/null; then
  echo "differs: the pictures taken"
  diff <(cd "$work/base-out/shots" && ls) <(cd "$work/head-out/shots" && ls)
  differs=1
fi
for p in "$work"/base-out/shots/*.png; do
  q=$work/head-out/shots/$(basename "$p")
  if [ -f "$q" ] && ! cmp -s "$p" "$q"; then
    echo "differs: picture $(basename "$p")"
    differs=1
  fi
done
if [ "$differs" = 0 ]; then
  echo "the same: $(wc -l <"$work/head-out/journal.txt") datagrams, $(grep -cE '^(send|recv):' "$work/head-out/panel.out") trace lines," \
    "$(wc -l <"$work/head-out/panel-files.txt") panel files, $(ls "$work/head-out/shots" | wc -l) pictures"
else
  KEEP=1
fi
exit "$differs"
