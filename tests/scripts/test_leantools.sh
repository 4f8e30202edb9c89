#!/usr/bin/env bash
# What the tools load. Catches: a tool linked to Qt Gui or Widgets (a dependency dragged in
# through a library), knitjob's front linked to any Qt library, and a fetch or send handed to
# knitjob-full (which loads Qt) when the front should carry it out itself.
# Usage: test_leantools.sh KNITJOB KNITSIM KNITFLEET
set -uo pipefail
knitjob=$1 knitsim=$2 knitfleet=$3
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
needed() { readelf -d "$1" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'; }

for tool in "$knitjob" "$knitsim" "$knitfleet"; do
  [ -x "$tool" ] || { fail "$tool not built"; continue; }
  ui=$(needed "$tool" | grep -E 'libQt6(Gui|Widgets)')
  [ -z "$ui" ] || fail "$(basename "$tool") needs $ui"
done
qt=$(needed "$knitjob" | grep libQt)
[ -z "$qt" ] || fail "knitjob needs $qt"

# A fetch from a port where nobody answers, with time-outs cut short: the libraries the whole
# run loaded, as the dynamic linker reports them.
loaded() { # args...
  env KNIT_PORT_OFFSET=$((20000 + RANDOM % 20000)) KNIT_TIMEOUT_SCALE=0.002 LD_DEBUG=files \
    "$knitjob" "$@" 2>&1 >/dev/null | grep -oE 'file=[^ ]+' | sort -u
}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
echo data >"$dir/job.cnt"
for args in "fetch job.cnt --to $dir/fetched" "send $dir/job.cnt"; do
  libs=$(loaded $args)
  echo "$libs" | grep -q 'libc\.so' || fail "knitjob $args: LD_DEBUG shows no libraries: $libs"
  ! echo "$libs" | grep -q libQt || fail "knitjob $args loaded Qt: $(echo "$libs" | grep libQt)"
done
# The other commands are knitjob-full's, with Qt.
loaded --help | grep -q libQt6Core || fail "knitjob --help did not reach knitjob-full"

[ "$failures" -eq 0 ] && echo "PASS" || exit 1
