#!/usr/bin/env bash
# Installs the Debian packages the project builds and tests with, or the packages given as
# arguments (scripts/cross.sh names the cross tools). Idempotent: it installs only what is
# missing and refreshes the package lists only when it has to install something.
# Exits 0 when everything is installed, non-zero with a message on standard error otherwise.
set -euo pipefail

packages=(
  qt6-base-dev
  cmake ninja-build g++
  fonts-wqy-microhei
  xvfb xdotool
  tftpd-hpa tftp-hpa
  clang libclang-rt-14-dev
  libmosquitto-dev mosquitto mosquitto-clients
  qt6-httpserver-dev qt6-websockets-dev libqt6sql6-sqlite libqt6sql6-psql libjs-chart.js libsodium-dev
  postgresql postgresql-common chromium openssl
  libcurl4-openssl-dev libssl-dev python3-aiosmtpd python3-selenium chromium-driver
  dpkg-dev lintian file universal-ctags
  scdoc groff
  qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
)
[ $# -gt 0 ] && packages=("$@")

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null 2>&1; then
    echo "setup.sh: missing packages: ${missing[*]}" >&2
    echo "setup.sh: run as root or install sudo to install them" >&2
    exit 1
  fi
  sudo=(sudo)
fi

# tftpd-hpa's, mosquitto's and postgresql's packages would start system-wide daemons (ports 69,
# 1883 and 5432); the tests start their own on loopback ports, so keep package scripts from
# starting services while we install. (postgresql-common still creates its "main" cluster,
# stopped; the tests never use it: they make a throwaway cluster with initdb.) A policy file that is already there is left exactly as it is. The path can
# be moved for the script's own tests.
policy=${KNIT_SETUP_POLICY_RC:-/usr/sbin/policy-rc.d}
made_policy=0
cleanup() {
  if [ "$made_policy" -eq 1 ]; then
    "${sudo[@]}" rm -f "$policy" || echo "setup.sh: could not remove $policy" >&2
  fi
}
trap cleanup EXIT
if [ ! -e "$policy" ]; then
  printf '#!/bin/sh\nexit 101\n' | "${sudo[@]}" tee "$policy" >/dev/null
  made_policy=1
  "${sudo[@]}" chmod +x "$policy"
fi

export DEBIAN_FRONTEND=noninteractive
apt_install() { "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"; }
echo "setup.sh: installing ${missing[*]}"
if ! apt_install; then
  # Usually stale package lists on a fresh image: refresh them once and try again.
  if ! "${sudo[@]}" apt-get update; then
    echo "setup.sh: apt-get update failed; the packages ${missing[*]} are not installed" >&2
    exit 1
  fi
  if ! apt_install; then
    echo "setup.sh: apt-get install failed; the packages ${missing[*]} are not installed" >&2
    exit 1
  fi
fi
exit 0
