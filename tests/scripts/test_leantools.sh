#!/usr/bin/env bash
# What the tools load, and knitjob's front against its helpers. Catches: a tool linked to Qt Gui
# or Widgets (a dependency dragged in through a library), the panel linked to Qt Network (its
# datagrams run on plain sockets; a QHostAddress call brings the library and its Kerberos and
# proxy libraries back), knitjob's front linked to any Qt
# library, a fetch or send handed to knitjob-full (which loads Qt) when the front should carry
# it out itself, knitjob-full loading Qt Network or libcrypto (a check or a make paying for the
# office's job library), push or library not reaching knitjob-library, and a command line the
# front takes but answers otherwise than knitjob-full (other output, message or status).
# Usage: test_leantools.sh KNITJOB KNITSIM KNITFLEET KNITPANEL
set -uo pipefail
knitjob=$(realpath "$1") knitsim=$2 knitfleet=$3
helpers=$(dirname "$knitjob")/../lib/knitpanel
full=$helpers/knitjob-full library=$helpers/knitjob-library
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
needed() { readelf -d "$1" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'; }

for tool in "$knitjob" "$full" "$library" "$knitsim" "$knitfleet"; do
  [ -x "$tool" ] || { fail "$tool not built"; continue; }
  ui=$(needed "$tool" | grep -E 'libQt6(Gui|Widgets)')
  [ -z "$ui" ] || fail "$(basename "$tool") needs $ui"
done
net=$(needed "$4" | grep libQt6Network)
[ -z "$net" ] || fail "knitpanel needs $net"
qt=$(needed "$knitjob" | grep libQt)
[ -z "$qt" ] || fail "knitjob needs $qt"
net=$(needed "$full" | grep -E 'libQt6Network|libcrypto' | tr '\n' ' ')
[ -z "$net" ] || fail "knitjob-full needs $net"

# An offset whose ports end in 4, 5 or 6, where no test listens: the tests' offsets end in 0, so
# their ports end in 9, 1 or 0 (tests/support/core/portoffset.h), and a transfer here never
# reaches another test's knitsim or takes its client port.
nobody() { echo $((20005 + RANDOM % 900 * 10)); }

# A fetch from a port where nobody answers, with time-outs cut short: the libraries the whole
# run loaded, as the dynamic linker reports them.
loaded() { # args...
  env KNIT_PORT_OFFSET=$(nobody) KNIT_TIMEOUT_SCALE=0.002 LD_DEBUG=files \
    "$knitjob" "$@" 2>&1 >/dev/null </dev/null | grep -oE 'file=[^ ]+' | sort -u
}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
echo data >"$dir/job.cnt"
for args in "fetch job.cnt --to $dir/fetched" "send $dir/job.cnt"; do
  libs=$(loaded $args)
  echo "$libs" | grep -q 'libc\.so' || fail "knitjob $args: LD_DEBUG shows no libraries: $libs"
  ! echo "$libs" | grep -q libQt || fail "knitjob $args loaded Qt: $(echo "$libs" | grep libQt)"
done
# The other commands are knitjob-full's, with Qt Core alone; push and library knitjob-library's,
# the one helper with Qt Network and libcrypto.
KNIT_ROOT=$dir "$knitjob" make job --rows 2 --dir "$dir" >/dev/null || fail "knitjob make failed"
office='file=(libQt6Network|libcrypto)'
for args in "--help" "check $dir/job/job.cnt" "push --help" "library --help"; do
  libs=$(loaded $args)
  echo "$libs" | grep -q 'file=libQt6Core' || fail "knitjob $args reached no Qt helper"
  case "$args" in
  push* | library*) echo "$libs" | grep -qE "$office" || fail "knitjob $args did not reach knitjob-library" ;;
  *) ! echo "$libs" | grep -qE "$office" || fail "knitjob $args loaded $(echo "$libs" | grep -oE "$office[^ ]*" | tr "\n" " ")" ;;
  esac
done
# knitjob --help lists every command, the office's too.
for c in check fetch history library make push send show; do
  "$knitjob" --help | grep -qE "^  $c( |\$)" || fail "knitjob --help lacks $c"
done

# The same command lines through the front and through knitjob-full directly: standard output,
# standard error and status alike (push and library: knitjob-full hands them on as the front
# does). Transfers go to a port where nobody answers.
offset=$(nobody)
mkdir "$dir/folder"
same() { # args...
  local a b
  a=$(cd "$dir" && env KNIT_ROOT="$dir" KNIT_PORT_OFFSET=$offset KNIT_TIMEOUT_SCALE=0.002 "$knitjob" "$@" 2>&1 </dev/null; echo "status $?")
  b=$(cd "$dir" && env KNIT_ROOT="$dir" KNIT_PORT_OFFSET=$offset KNIT_TIMEOUT_SCALE=0.002 "$full" "$@" 2>&1 </dev/null; echo "status $?")
  [ "$a" = "$b" ] || fail "knitjob $*: front '$a', knitjob-full '$b'"
}
same fetch job.cnt
same fetch job.cnt --to=copy.cnt
same send job.cnt --as other.cnt
same fetch "" job.cnt
same fetch job.cnt extra
same fetch job.cnt --to a --to b
same fetch job.cnt --to=
same fetch -- job.cnt
same fetch .hidden
same fetch job.cnt --to folder
same send folder
same send job.cnt --as "a/b"
same send job.cnt -h
same push --help
same push http://127.0.0.1:1/ job --user "a b" --password-file absent
same push --bogus
same library "list"
same library fetch a

[ "$failures" -eq 0 ] && echo "PASS" || exit 1
