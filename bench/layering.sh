#!/usr/bin/env bash
# The layer split's cost and gain: BASE (default 982c1d2, the last commit before it) and HEAD
# built side by side from clean trees on 2 cores without ccache, then HEAD/BASE for the clean
# build, the rebuild after touching the header of the block sizes, the start to exit of knitjob check,
# knitsim --help and knitfleet --help (median of 30) and of knitpanel to its first screen
# (start-up's closing status query, as knitsim's journal has it; median of 5), the sides taking
# turns. Both panels'
# start-up traces are compared; then the libraries the tools load, upward includes and folder
# cycles in src/, the qWait calls and sleeps in tests/, the names that do not say what
# things are (by pattern, no list of names), the repeated-code pairs in src/ sim/ tools/, the mutable
# globals in src/, the files over 400 lines and the longest function in src/ sim/ tools/, and
# the includes from one screen into another and from the widgets into the link layer.
# Prints figures; never fails. Usage: bench/layering.sh [BASE]
# bench/layering.sh --built BASE_DIR HEAD_DIR takes two checkouts built already (build/ in each)
# and prints all but the build times.
# bench/layering.sh --figures-only BASE_DIR HEAD_DIR prints only the figures read from two
# source trees (a checkout or a git archive of each), building nothing.
set -uo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)

# The figures read from the source trees alone: $1 BASE's, $2 HEAD's (each a checkout's root).
source_figures() {
  local -A tree=([base]=$1 [head]=$2)
  local scratch side
  scratch=$(mktemp -d /tmp/knit-layering-figures.XXXXXX)
  # Upward includes: a folder of src/ including one of a later layer. Screens share a rank;
  # between them only cycles count (tsort finds them).
  rank() {
    case $1 in
      platform) echo 0 ;; data) echo 1 ;; link) echo 2 ;; telemetry) echo 3 ;; logic) echo 4 ;; ui) echo 5 ;;
      editors | params | workparams | machinetests | files | history | service | touchcal) echo 6 ;;
      mainwin) echo 7 ;; *) echo -1 ;;
    esac
  }
  for side in base head; do
    srcdir=${tree[$side]}/src
    up=0
    edges=$(mktemp)
    : >"$edges"
    for dir in "$srcdir"/*/; do
      from=$(basename "$dir")
      rf=$(rank "$from")
      [ "$rf" -ge 0 ] || continue
      for to in $(grep -rho --include='*.cpp' --include='*.h' '#include "[a-z]*/' "$dir" 2>/dev/null | sed 's/#include "//; s|/||' | sort -u); do
        rt=$(rank "$to")
        [ "$rt" -ge 0 ] && [ "$to" != "$from" ] || continue
        [ "$rt" -gt "$rf" ] && up=$((up + $(grep -rl --include='*.cpp' --include='*.h' "#include \"$to/" "$dir" 2>/dev/null | wc -l)))
        [ "$rt" -eq "$rf" ] && echo "$from $to" >>"$edges"
      done
    done
    cycles=$(tsort "$edges" 2>&1 >/dev/null | grep -c 'input contains a loop')
    rm -f "$edges"
    echo "$side: files with an upward include $up, folder cycles $cycles (goal 0, 0)"
  done

  echo
  for side in base head; do
    t=${tree[$side]}/tests
    waits=$(grep -rn 'qWait(' "$t" | grep -vc 'qWaitFor')
    sleeps=$(grep -rnE 'usleep\(|sleep_for\(|Sleeper::sleepMs\(|QThread::msleep\(|\bsleep\(' "$t" | wc -l)
    echo "$side: qWait calls in tests/ $waits, sleeps $sleeps (goal: at most 5 in all)"
  done

  echo
  # Names that do not say what things are, by their pattern alone: classes named in lower case,
  # in capitals or with a My/Q prefix, slot_/signal_ members, and headers that declare classes
  # none of which they are named after.
  for side in base head; do
    (
      cd "${tree[$side]}" || exit 0
      dirs=$(ls -d src sim tools 2>/dev/null)
      classes=$(grep -rhE --include='*.h' '^(class|struct) +[A-Za-z_][A-Za-z0-9_]*( +final)? *(:|\{|$)' $dirs | awk '{ print $2 }' | sort -u)
      odd=$(grep -cE '^[a-z]|^(My|MY|my)|^Q[A-Z]|^[A-Z0-9_]+$|_' <<<"$classes")
      members=$(grep -rhoE --include='*.h' --include='*.cpp' '\b(slot|signal)_[A-Za-z0-9_]+' $dirs | sort -u | wc -l)
      files=0
      while read -r h; do
        held=$(grep -hE '^(class|struct) +[A-Za-z_][A-Za-z0-9_]*( +final)? *(:|\{|$)' "$h" | awk '{ print tolower($2) }')
        [ -n "$held" ] && ! grep -qxF "$(basename "$h" .h)" <<<"$held" && files=$((files + 1))
      done < <(find $dirs -name '*.h')
      echo "$side: odd class names $odd, slot_/signal_ names $members, headers named after none of their classes $files (goal 0)"
    )
  done

  echo
  if command -v duplicates >/dev/null; then
    # Pairs of places sharing 6+ lines, and of those the ones not marked boilerplate (include
    # blocks, table rows, page heads): the latter is the code that could be one piece.
    for side in base head; do
      all=0 real=0
      for dir in src sim tools; do
        [ -d "${tree[$side]}/$dir" ] || continue
        head=$(cd "${tree[$side]}/$dir" && duplicates --most 1 --seconds 120 | head -n 1)
        pairs=$(sed -nE 's/^([0-9]+) pairs? of places.*/\1/p' <<<"$head")
        boiler=$(sed -nE 's/.*, ([0-9]+) of those marked boilerplate.*/\1/p' <<<"$head")
        all=$((all + ${pairs:-0}))
        real=$((real + ${pairs:-0} - ${boiler:-0}))
      done
      echo "$side: repeated-code pairs in src/ sim/ tools/: $all, outside boilerplate $real"
    done
    echo "(goal: HEAD at most 40 outside boilerplate)"
  else
    echo "duplicates not installed: repeated runs not counted"
  fi

  echo
  command -v ctags >/dev/null || echo "ctags not installed (universal-ctags, scripts/setup.sh): globals and functions not counted"
  printf '%-52s %10s %10s  %s\n' figure BASE HEAD goal
  local -A globals long longest screen_includes link_includes
  for side in base head; do
    (
      cd "${tree[$side]}" || exit 0
      # Namespace-scope variables, and static locals and static data members, that are neither
      # const nor constexpr (by their declaration's first line).
      ctags -R --languages=C++ --kinds-C++=+l --fields=+nK --fields-C++=+{properties} -f - src 2>/dev/null |
        awk -F'\t' '{ s = 0; for (i = 5; i <= NF; i++) if ($i ~ /^properties:.*static/) s = 1 }
          ($4 == "variable" || (($4 == "local" || $4 == "member") && s)) && $3 !~ /(^|[^A-Za-z0-9_])const(expr)?([^A-Za-z0-9_]|$)/ { n++ }
          END { print n + 0 }'
      dirs=$(ls -d src sim tools 2>/dev/null)
      find $dirs \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 -r wc -l | awk '$2 != "total" && $1 > 400 { n++ } END { print n + 0 }'
      ctags -R --languages=C++ --kinds-C++=f --fields=+ne -f - $dirs 2>/dev/null |
        awk -F'\t' '{ for (i = 5; i <= NF; i++) { if ($i ~ /^line:/) l = substr($i, 6); if ($i ~ /^end:/) e = substr($i, 5) }
          if (e - l + 1 > m) { m = e - l + 1; w = $1 " (" $2 ")" } } END { print m + 0, w }'
      screens="editors params workparams machinetests files history service touchcal"
      n=0
      for from in $screens; do
        [ -d "src/$from" ] || continue
        for to in $screens; do
          [ "$to" != "$from" ] && n=$((n + $(grep -rl --include='*.cpp' --include='*.h' "#include \"$to/" "src/$from" | wc -l)))
        done
      done
      echo "$n"
      n=0
      for from in ui $screens mainwin; do
        [ -d "src/$from" ] && n=$((n + $(grep -rl --include='*.cpp' --include='*.h' '#include "link/' "src/$from" | wc -l)))
      done
      echo "$n"
    ) >"$scratch/shape-$side.txt"
    globals[$side]=$(sed -n 1p "$scratch/shape-$side.txt")
    long[$side]=$(sed -n 2p "$scratch/shape-$side.txt")
    longest[$side]=$(sed -n 3p "$scratch/shape-$side.txt")
    screen_includes[$side]=$(sed -n 4p "$scratch/shape-$side.txt")
    link_includes[$side]=$(sed -n 5p "$scratch/shape-$side.txt")
  done
  printf '%-52s %10s %10s  %s\n' "mutable globals in src/" "${globals[base]}" "${globals[head]}" "0"
  printf '%-52s %10s %10s  %s\n' "files over 400 lines in src/ sim/ tools/" "${long[base]}" "${long[head]}" "0"
  printf '%-52s %10s %10s  %s\n' "longest function, lines" "${longest[base]%% *}" "${longest[head]%% *}" "<= 80"
  printf '%-52s %s\n' "  BASE's" "${longest[base]#* }" "  HEAD's" "${longest[head]#* }"
  printf '%-52s %10s %10s  %s\n' "files of a screen including another screen" "${screen_includes[base]}" "${screen_includes[head]}" "0"
  printf '%-52s %10s %10s  %s\n' "files of ui/, screens, mainwin/ including link/" "${link_includes[base]}" "${link_includes[head]}" "0"
  rm -rf "$scratch"
}

if [ "${1:-}" = --figures-only ]; then
  [ $# -eq 3 ] && [ -d "$2/src" ] && [ -d "$3/src" ] || { echo "usage: bench/layering.sh --figures-only BASE_DIR HEAD_DIR"; exit 0; }
  source_figures "$2" "$3"
  exit 0
fi

work=$(mktemp -d /tmp/knit-layering.XXXXXX)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen KNIT_BUZZER=off
runs=30

now_ms() { date +%s%3N; }
ratio() { awk -v h="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", h / b; else print "n/a" }'; }
median() { sort -n | awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)]; else print 0 }'; }

# Wall milliseconds of one command, output dropped.
timed() {
  local t0
  t0=$(now_ms)
  "$@" >/dev/null 2>&1 </dev/null
  echo $(($(now_ms) - t0))
}

declare -A clean rebuild job sim fleet panel
if [ "${1:-}" = --built ]; then
  # Two checkouts built already (build/ in each): everything but the build times.
  [ $# -eq 3 ] && [ -x "$2/build/bin/knitpanel" ] && [ -x "$3/build/bin/knitpanel" ] ||
    { echo "usage: bench/layering.sh --built BASE_DIR HEAD_DIR (each built in its build/)"; exit 0; }
  for side in base head; do
    dir=$2
    [ "$side" = head ] && dir=$3
    mkdir -p "$work/$side"
    ln -s "$(cd "$dir" && pwd)" "$work/$side/src"
    ln -s "$(cd "$dir" && pwd)/build" "$work/$side/build"
    clean[$side]="-" rebuild[$side]="-"
  done
else
  base=${1:-982c1d2}
  for side in base head; do
    rev=$base
    [ "$side" = head ] && rev=HEAD
    tree=$work/$side
    mkdir -p "$tree/src"
    git -C "$repo" archive "$rev" | tar -x -C "$tree/src"
    CCACHE_DISABLE=1 cmake -S "$tree/src" -B "$tree/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$tree/configure.log" 2>&1 ||
      { echo "$side ($rev): configure failed, see $tree/configure.log"; trap - EXIT; exit 0; }
    clean[$side]=$(CCACHE_DISABLE=1 timed ninja -C "$tree/build" -j2)
    [ -x "$tree/build/bin/knitpanel" ] || { echo "$side ($rev): build failed"; trap - EXIT; exit 0; }
    # The header of the block sizes, found by what it defines: every layer above data sees it.
    touch "$(grep -l 'constexpr std::size_t kSystemSize' "$tree"/src/src/data/*.h | head -1)"
    rebuild[$side]=$(CCACHE_DISABLE=1 timed ninja -C "$tree/build" -j2)
    echo "$side $rev: clean build ${clean[$side]} ms, rebuild after the block sizes ${rebuild[$side]} ms"
  done
fi

# Start to exit, and the panel to its first screen, each side's programs on the same root.
offset=$((20000 + RANDOM % 9000))
control=$((offset + 7000))
export KNIT_PORT_OFFSET=$offset
source "$repo/scripts/lib/simctl.sh"
panel_once() { # side trace-file: ms to the closing status query
  local bin=$work/$1/build/bin root=$work/$1/root
  rm -rf "$root" "$work/sim-$1"
  mkdir -p "$root/mnt/ide/knit/para"
  KNIT_ROOT=$root "$bin/knitsim" --root "$work/sim-$1" --control "$control" >/dev/null 2>&1 &
  local simpid=$! t0 ms=-1
  for _ in $(seq 100); do simctl "journal" >/dev/null 2>&1 && break; sleep 0.05; done
  # A job on both sides and the controller's blocks as the panel's references: no question.
  KNIT_ROOT=$root "$bin/knitjob" make M1 >/dev/null 2>&1
  simctl "set job M1" >/dev/null
  cp "$work/sim-$1/file.sys" "$root/mnt/ide/knit/para/checksystem.sys"
  cp "$work/sim-$1/config.cfg" "$root/mnt/ide/knit/para/checkconfig.cfg"
  t0=$(now_ms)
  KNIT_ROOT=$root "$bin/knitpanel" >"$2" 2>/dev/null &
  local panelpid=$!
  for _ in $(seq 600); do
    if simctl journal 2>/dev/null | grep -q ' cmd 26'; then ms=$(($(now_ms) - t0)); break; fi
    sleep 0.02
  done
  kill "$panelpid" "$simpid" 2>/dev/null
  wait "$panelpid" "$simpid" 2>/dev/null
  echo "$ms"
}
# Each run times both sides, one after the other, so a change in the machine's load falls on both.
for side in base head; do
  KNIT_ROOT=$work/$side/root "$work/$side/build/bin/knitjob" make M1 >/dev/null 2>&1
done
for i in $(seq $runs); do
  for side in base head; do
    bin=$work/$side/build/bin
    timed env KNIT_ROOT="$work/$side/root" "$bin/knitjob" check "$work/$side/root/mnt/ide/knit/wave/M1/M1.cnt" >>"$work/job-$side.txt"
    timed "$bin/knitsim" --help >>"$work/sim-$side.txt"
    timed "$bin/knitfleet" --help >>"$work/fleet-$side.txt"
    [ "$i" -le 5 ] && panel_once "$side" "$work/trace-$side.txt" >>"$work/panel-$side.txt"
  done
done
for side in base head; do
  job[$side]=$(median <"$work/job-$side.txt")
  sim[$side]=$(median <"$work/sim-$side.txt")
  fleet[$side]=$(median <"$work/fleet-$side.txt")
  panel[$side]=$(median <"$work/panel-$side.txt")
done

echo
printf '%-44s %10s %10s %8s %s\n' figure BASE HEAD HEAD/BASE goal
row() { printf '%-44s %10s %10s %8s %s\n' "$1" "$2" "$3" "$(ratio "$3" "$2")" "$4"; }
row "clean build, ms" "${clean[base]}" "${clean[head]}" "<= 0.9"
row "rebuild after the block sizes, ms" "${rebuild[base]}" "${rebuild[head]}" "<= 1.0"
row "knitjob check, ms (median of $runs)" "${job[base]}" "${job[head]}" "<= 1.0"
row "knitsim --help, ms (median of $runs)" "${sim[base]}" "${sim[head]}" "<= 1.0"
row "knitfleet --help, ms (median of $runs)" "${fleet[base]}" "${fleet[head]}" "<= 1.0"
row "knitpanel to first screen, ms (median of 5)" "${panel[base]}" "${panel[head]}" "<= 1.0"

echo
# The command trace of the last start-up of each side: the same datagrams, in the same order.
if diff <(grep -E '^(send|recv):' "$work/trace-base.txt") <(grep -E '^(send|recv):' "$work/trace-head.txt") >"$work/trace.diff"; then
  echo "start-up trace: identical ($(grep -cE '^(send|recv):' "$work/trace-head.txt") lines)"
else
  echo "start-up trace: differs ($(grep -c '^[<>]' "$work/trace.diff") lines):"
  head -20 "$work/trace.diff"
fi

echo
for tool in knitjob knitsim knitfleet; do
  for side in base head; do
    echo "ldd $tool ($side): $(ldd "$work/$side/build/bin/$tool" | awk '/=>/ { print $1 }' | grep -E 'Qt6|mosquitto|ssl|sql' | sort | tr '\n' ' ')"
  done
done

echo
source_figures "$work/base/src" "$work/head/src"
