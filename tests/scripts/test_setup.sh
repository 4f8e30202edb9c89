#!/usr/bin/env bash
# scripts/setup.sh with stand-ins for dpkg-query, apt-get, sudo and id first in PATH, so nothing
# is installed for real. Catches: a successful install reported as failure (the EXIT trap's
# status), a policy file that was there before being changed or removed, a policy file of ours
# left behind, an apt-get failure reported as success.
set -u
setup="$(cd "$(dirname "$0")/../.." && pwd)/scripts/setup.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bin="$work/bin"
mkdir -p "$bin"

# dpkg-query: a package is installed unless it is listed in $work/missing.
cat >"$bin/dpkg-query" <<'STUB'
#!/bin/sh
for last; do :; done
grep -qx "$last" "$STUB_DIR/missing" 2>/dev/null && exit 1
printf 'install ok installed'
STUB
# apt-get: logs its arguments and whether the policy file held services back while it ran.
cat >"$bin/apt-get" <<'STUB'
#!/bin/sh
echo "$* policy=$(cat "$KNIT_SETUP_POLICY_RC" 2>/dev/null | tail -n 1)" >>"$STUB_DIR/apt.log"
case "$1" in install) exit "${STUB_INSTALL_STATUS:-0}" ;; esac
exit 0
STUB
cat >"$bin/sudo" <<'STUB'
#!/bin/sh
echo "$*" >>"$STUB_DIR/sudo.log"
exec "$@"
STUB
cat >"$bin/id" <<'STUB'
#!/bin/sh
echo "${STUB_UID:-0}"
STUB
chmod +x "$bin"/*

failures=0
check() { # name condition...
  local name=$1; shift
  if ! "$@"; then echo "FAIL: $name"; failures=$((failures + 1)); fi
}

# run MISSING POLICY_BEFORE INSTALL_STATUS UID
run() {
  rm -f "$work"/*.log "$work/policy"
  printf '%s\n' $1 >"$work/missing"
  [ "$2" = yes ] && printf '#!/bin/sh\n# ours\nexit 101\n' >"$work/policy" && chmod 750 "$work/policy"
  STUB_DIR="$work" STUB_INSTALL_STATUS=$3 STUB_UID=$4 KNIT_SETUP_POLICY_RC="$work/policy" \
    PATH="$bin:$PATH" bash "$setup" >"$work/out" 2>"$work/err"
}

run "" no 0 0
check "nothing missing: exit 0" [ $? -eq 0 ]
check "nothing missing: apt-get not run" [ ! -e "$work/apt.log" ]

run "xvfb cmake" yes 0 0
check "policy present: exit 0" [ $? -eq 0 ]
check "policy present: installs the missing ones" grep -q '^install -y --no-install-recommends cmake xvfb policy=exit 101$' "$work/apt.log"
check "policy present: left as it was" [ "$(stat -c %a "$work/policy")" = 750 ] && grep -q '# ours' "$work/policy"

run "xvfb" no 0 1000
check "no policy: exit 0" [ $? -eq 0 ]
check "no policy: services held back during the install" grep -q 'policy=exit 101$' "$work/apt.log"
check "no policy: ours removed afterwards" [ ! -e "$work/policy" ]
check "not root: through sudo" grep -q '^apt-get install' "$work/sudo.log"

run "xvfb" no 100 0
status=$?
check "apt-get failing: non-zero exit" [ $status -ne 0 ]
check "apt-get failing: lists refreshed once, then retried" [ "$(grep -c '^install' "$work/apt.log")" = 2 ] && grep -q '^update' "$work/apt.log"
check "apt-get failing: says so" grep -q 'apt-get install failed' "$work/err"
check "apt-get failing: ours removed" [ ! -e "$work/policy" ]

[ $failures -eq 0 ] && echo "setup.sh: all cases pass"
exit $((failures > 0))
