#!/usr/bin/env bash
# The built man pages against groff and against the tools themselves. Catches: markup groff
# warns about (a stray escape, a macro scdoc did not mean), and a command or option a tool's
# --help lists that its page does not name (a page left behind by a change to the tool).
# Usage: test_manpages.sh MANDIR KNITJOB KNITSIM KNITFLEET
set -uo pipefail
man=$1 knitjob=$2 knitsim=$3 knitfleet=$4
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
if ! command -v groff >/dev/null 2>&1; then
  echo "groff not installed: skipped (scripts/setup.sh installs it)"
  exit 0
fi

for page in knitpanel knitsim knitjob knitfleet; do
  [ -s "$man/$page.1" ] || { fail "$page.1 not built"; continue; }
  warnings=$(groff -k -man -ww -z "$man/$page.1" 2>&1)
  [ -z "$warnings" ] || fail "$page.1: groff warns: $warnings"
done

# The page as plain text, as man shows it.
text() { groff -k -man -Tutf8 -P-cbou "$man/$1.1" 2>/dev/null; }
# Every "--option" in the help texts (both streams: a tool may print its usage to either).
helped_options() { # tool args...
  local tool=$1; shift
  timeout 10 "$tool" "$@" 2>&1 </dev/null | grep -oE -- '--[a-z][a-z0-9-]*' | sort -u
}
check_options() { # page tool [args...]
  local page=$1 out
  shift
  out=$(text "$page")
  for option in $(helped_options "$@"); do
    grep -qF -- "$option" <<<"$out" || fail "$page(1) does not name $option ($(basename "$1") ${*:2})"
  done
}

# knitjob's subcommands: the help's indented lines start with one (after "knitjob " or not).
commands=$(timeout 10 "$knitjob" --help 2>&1 </dev/null |
  sed -nE 's/^ {1,4}(knitjob +)?([a-z][a-z-]*)( .*)?$/\2/p' | sort -u)
[ -n "$commands" ] || fail "knitjob --help lists no commands"
section=$(text knitjob | sed -n '/^COMMANDS/,/^[A-Z]/p')
for c in $commands; do
  grep -qE "^ +$c( |\$)" <<<"$section" || fail "knitjob(1) COMMANDS lacks $c"
  check_options knitjob "$knitjob" "$c" --help
done
check_options knitjob "$knitjob" --help
check_options knitsim "$knitsim" --help
check_options knitfleet "$knitfleet" --help
check_options knitfleet "$knitfleet" serve --help

[ "$failures" -eq 0 ] && echo "man pages checked: $(ls "$man"/*.1 | wc -l) pages, knitjob commands: $(echo $commands)"
exit $((failures > 0))
