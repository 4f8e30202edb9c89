#!/usr/bin/env bash
# Fuzzes the parsers of outside input with libFuzzer and keeps what it learns.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]      (default: 60 seconds, every target in fuzz/)
#
# Builds build-fuzz (clang, KNIT_FUZZ=ON), then for each target, one after the other:
#   - the edges the committed corpus reaches alone (fuzz/corpus/<target>/, -runs=0);
#   - SECONDS of fuzzing from the code-built seeds alone, as a yardstick for the corpus (the
#     edges of what it kept, replayed as the corpus is);
#   - SECONDS of fuzzing from the corpus and the seeds, with fuzz/dict/<target>.dict;
#   - a merge of everything found back into fuzz/corpus/<target>/, minimised.
# It prints per target executions, edges, corpus size and the crashes, leaks, timeouts and
# out-of-memory inputs found (left in build-fuzz/fuzz-work/<target>/artifacts/), and exits
# non-zero when there is any. Run it under `nice` on a shared machine.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
[ $# -gt 0 ] && shift
if ! [[ $seconds =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: scripts/fuzz.sh [SECONDS] [TARGET...]" >&2
  exit 2
fi
targets=()
for t in "$@"; do targets+=("fuzz_${t#fuzz_}"); done
if [ ${#targets[@]} -eq 0 ]; then
  for f in fuzz/fuzz_*.cpp; do targets+=("$(basename "$f" .cpp)"); done
fi
for t in "${targets[@]}"; do
  [ -f "fuzz/$t.cpp" ] || { echo "fuzz.sh: no target $t (fuzz/$t.cpp)" >&2; exit 2; }
  [ -f "fuzz/dict/$t.dict" ] || { echo "fuzz.sh: $t has no fuzz/dict/$t.dict" >&2; exit 2; }
done
command -v clang++ >/dev/null || { echo "fuzz.sh: clang++ not found (scripts/setup.sh installs clang)" >&2; exit 2; }

cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DKNIT_FUZZ=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz -j "${JOBS:-2}" --target "${targets[@]}"

# The last "cov: N" libFuzzer printed, and the executions its final statistics count.
edges() { grep -oE 'cov: [0-9]+' "$1" | tail -1 | grep -oE '[0-9]+' || echo 0; }
execs() { grep -oE 'stat::number_of_executed_units: [0-9]+' "$1" | grep -oE '[0-9]+$' || echo 0; }

# Allocation stacks of one frame and a small quarantine: the Qt-heavy targets run several
# times faster. Replay an artifact without them for the full report.
export ASAN_OPTIONS=${ASAN_OPTIONS:-malloc_context_size=1:quarantine_size_mb=16}
status=0
report=()
for t in "${targets[@]}"; do
  bin=build-fuzz/bin/$t
  corpus=fuzz/corpus/$t
  work=build-fuzz/fuzz-work/$t
  rm -rf "$work"
  mkdir -p "$corpus" "$work"/{seeds,fromseeds,new,merged,artifacts,root}
  # Stdout of the target closed: some parsers trace what they take.
  opts=(-dict="fuzz/dict/$t.dict" -timeout=10 -close_fd_mask=1 -print_final_stats=1
        -artifact_prefix="$work/artifacts/")
  export KNIT_ROOT=$PWD/$work/root
  echo "== $t: ${seconds} s from the seeds alone, ${seconds} s from corpus and seeds"

  "$bin" -runs=0 "${opts[@]}" "$corpus" >"$work/committed.log" 2>&1 || true
  before=$(edges "$work/committed.log")

  KNIT_FUZZ_SEEDS=$work/seeds "$bin" -max_total_time="$seconds" "${opts[@]}" \
    "$work/fromseeds" "$work/seeds" >"$work/fromseeds.log" 2>&1 || true
  # Counted as the committed corpus is, by replaying what the run kept: a live run's count
  # also holds edges that only the state left by earlier inputs reached, which no replay does.
  "$bin" -runs=0 "${opts[@]}" "$work/fromseeds" "$work/seeds" >"$work/fromseeds-replay.log" 2>&1 || true
  fromseeds=$(edges "$work/fromseeds-replay.log")

  "$bin" -max_total_time="$seconds" "${opts[@]}" "$work/new" "$corpus" "$work/seeds" \
    >"$work/fuzz.log" 2>&1 || true
  runs=$(($(execs "$work/fromseeds.log") + $(execs "$work/fuzz.log")))

  # Minimised union of the old corpus, the seeds and both runs' finds; it replaces the corpus.
  if "$bin" -merge=1 "${opts[@]}" "$work/merged" "$corpus" "$work/seeds" "$work/new" "$work/fromseeds" \
      >"$work/merge.log" 2>&1 && [ -n "$(ls -A "$work/merged")" ]; then
    find "$corpus" -maxdepth 1 -type f -delete
    cp "$work"/merged/* "$corpus"/
  else
    echo "   merge failed, corpus left as it was (see $work/merge.log)"
    status=1
  fi
  "$bin" -runs=0 "${opts[@]}" "$corpus" >"$work/merged.log" 2>&1 || true
  after=$(edges "$work/merged.log")

  files=$(find "$corpus" -maxdepth 1 -type f | wc -l)
  bytes=$(find "$corpus" -maxdepth 1 -type f -printf '%s\n' | awk '{ s += $1 } END { print s + 0 }')
  found=""
  for kind in crash leak timeout oom; do
    n=$(find "$work/artifacts" -name "$kind-*" | wc -l)
    found+=" $n"
    [ "$n" -eq 0 ] || status=1
  done
  ratio=$(awk -v a="$before" -v b="$fromseeds" 'BEGIN { printf "%.2f", b ? a / b : 0 }')
  report+=("$(printf '%-18s %11s %9s %6s %6s %6s %6s %8s  %s' "$t" "$runs" "$before" "$fromseeds" "$after" \
    "$ratio" "$files" "$bytes" "$found")")
  echo "${report[-1]}"
done

echo
echo "edges: committed = the committed corpus alone (-runs=0), seeds = what ${seconds} s from the code-built"
echo "seeds alone kept (replayed alike), now = the merged corpus; ratio = committed / seeds (goal >= 1.00)"
printf '%-18s %11s %9s %6s %6s %6s %6s %8s  %s\n' target executions committed seeds now ratio files bytes \
  "crash leak timeout oom"
printf '%s\n' "${report[@]}"
if [ $status -ne 0 ]; then
  echo "fuzz.sh: findings or a failed merge; inputs in build-fuzz/fuzz-work/<target>/artifacts/" >&2
fi
exit $status
