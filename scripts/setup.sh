#!/usr/bin/env bash
# Installs the Debian packages the project builds and tests with. Idempotent: it installs only
# what is missing and refreshes the package lists only when it has to install something.
set -euo pipefail

packages=(
  qt6-base-dev
  cmake ninja-build g++
  fonts-wqy-microhei
  xvfb xdotool
  tftpd-hpa tftp-hpa
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

# tftpd-hpa's package would start a system-wide daemon on port 69; the tests start their own
# on a loopback port, so keep package scripts from starting services while we install.
policy=/usr/sbin/policy-rc.d
made_policy=0
if [ ! -e "$policy" ]; then
  printf '#!/bin/sh\nexit 101\n' | $sudo tee "$policy" >/dev/null
  $sudo chmod +x "$policy"
  made_policy=1
fi
cleanup() { [ "$made_policy" -eq 1 ] && $sudo rm -f "$policy"; }
trap cleanup EXIT

export DEBIAN_FRONTEND=noninteractive
if ! $sudo apt-get install -y --no-install-recommends "${missing[@]}"; then
  $sudo apt-get update
  $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
