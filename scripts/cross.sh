#!/usr/bin/env bash
# Builds knitpanel, knitsim, knitjob and knitfleet for the ARM panel computer (arm64 or armhf)
# and runs the unit and link tests under user-mode emulation:
#   build-ARCH/       the panel build (KNIT_PANEL_BUILD: the controller's address, real devices)
#   build-ARCH-host/  the same programs as a host build, with the tests, run by qemu through ctest
# Installs what is missing first (Debian multiarch; no services started), as setup.sh does.
# "scripts/cross.sh ARCH package" makes the panel build and its package alone (scripts/image.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

arch=${1:-}
case "$arch" in
  arm64) qemu=qemu-aarch64 ;;
  armhf) qemu=qemu-arm ;;
  *) echo "usage: scripts/cross.sh arm64|armhf [package]" >&2; exit 2 ;;
esac
only_package=0
[ "${2:-}" = package ] && only_package=1

sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
scripts/setup.sh
if ! dpkg --print-foreign-architectures | grep -qx "$arch"; then
  echo "cross.sh: adding the $arch architecture"
  "${sudo[@]}" dpkg --add-architecture "$arch"
  "${sudo[@]}" apt-get update
fi
# knitfleet's tests open SQLite and PostgreSQL through the foreign Qt SQL drivers; the panel
# links fontconfig itself (its .pc comes with the -dev package only); knitjob-library fetches
# from the office on libcurl.
scripts/setup.sh ccache "crossbuild-essential-$arch" qemu-user "qt6-base-dev:$arch" "libmosquitto-dev:$arch" \
  "libfontconfig-dev:$arch" "libssl-dev:$arch" "libcurl4-openssl-dev:$arch" "libqt6sql6-sqlite:$arch" "libqt6sql6-psql:$arch" dpkg-dev lintian

jobs=$(nproc)
toolchain="$PWD/cmake/$arch.cmake"
# The two trees differ only in the few targets that know KNIT_PANEL_BUILD: with paths taken
# relative to the checkout (the trees sit at the same depth) the second tree's other objects
# come from the compiler cache. Depend mode spares a miss the extra preprocessor run.
export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1 CCACHE_DEPEND=1
# The panel build: what the package holds.
cmake -S . -B "build-$arch" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DKNIT_PANEL_BUILD=ON -DKNIT_TESTS=OFF
cmake --build "build-$arch" -j "$jobs"
status=0
if [ "$only_package" -eq 0 ]; then
  # The host build with its unit and link tests, run by $qemu through ctest; only what they run
  # is built. The package is checked on the panel build below.
  cmake -S . -B "build-$arch-host" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_TOOLCHAIN_FILE="$toolchain"
  select=(-L 'unit|link' -E '^unit_test_package$')
  source scripts/lib/testtargets.sh
  test_targets "build-$arch-host" "${select[@]}"
  cmake --build "build-$arch-host" -j "$jobs" --target "${targets[@]}"
  ctest --test-dir "build-$arch-host" "${select[@]}" --output-on-failure -j "$jobs" --timeout 600 || status=$?
fi

rm -f "build-$arch"/knitpanel_*_"$arch".deb
(cd "build-$arch" && cpack -G DEB >/dev/null)
deb=$(ls "build-$arch"/knitpanel_*_"$arch".deb)
echo "cross.sh: $deb"
lintian --fail-on error,warning "$deb" || status=$?
[ "$only_package" -eq 0 ] && echo "cross.sh: $qemu ran the tests; programs in build-$arch/bin (panel) and build-$arch-host/bin (host)"
exit $status
