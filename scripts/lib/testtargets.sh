# Sourced by the scripts that run part of the suite on a build of their own.
# test_targets BUILD [ctest args]: sets the array `targets` to what the chosen tests need built.
# Each test executable is a target of its name (a fuzz target's smoke run, of the target's);
# the crash sweep runs crashsaves; the rest are scripts. Every test target depends on the
# programs the tests start.
test_targets() {
  local build=$1 t
  shift
  local tests known
  mapfile -t tests < <(ctest --test-dir "$build" -N "$@" | sed -n 's/^ *Test *#[0-9]*: //p')
  if ((${#tests[@]} == 0)); then
    echo "no test matches: $*" >&2
    return 2
  fi
  mapfile -t known < <(ninja -C "$build" -t targets all | sed -n 's/^\([A-Za-z0-9_]*\): phony$/\1/p')
  targets=(knit_test_programs)
  for t in "${tests[@]}"; do
    case " ${known[*]} " in *" $t "*) targets+=("$t") ;; esac
    case "$t" in fuzz_smoke_*) targets+=("${t#fuzz_smoke_}") ;; esac
    [ "$t" = unit_test_crash ] && targets+=(crashsaves)
    [ "$t" = unit_test_language ] && targets+=(knitpanel_lrelease)
    [ "$t" = unit_test_manpages ] && targets+=(knit_manpages)
  done
  return 0
}
