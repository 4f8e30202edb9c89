#!/usr/bin/env bash
# Builds the panel computer's disk image: Debian 12 packages and our .deb (scripts/cross.sh),
# a read-only squashfs root under a tmpfs, systemd-boot at the removable path, and the vfat data
# disk. Only file-level tools write here (mmdebstrap into a directory, mksquashfs, sfdisk, mtools
# and dd on image files): nothing is mounted, no block device or host setting is touched.
# Foreign maintainer scripts run under proot with qemu-user, not through the host's binfmt.
#   scripts/image.sh arm64 [OUTDIR]     (default build-image/)
set -euo pipefail
cd "$(dirname "$0")/.."
src=$PWD

arch=${1:-}
[ "$arch" = arm64 ] || { echo "usage: scripts/image.sh arm64 [OUTDIR]" >&2; exit 2; }
out=$(realpath -m "${2:-build-image}")
scripts/setup.sh mmdebstrap qemu-user-static proot arch-test squashfs-tools mtools fdisk dosfstools \
  cpio zstd fontconfig dpkg-dev bmap-tools
start=$SECONDS

deb=$(ls build-arm64/knitpanel_*_arm64.deb 2>/dev/null | tail -n 1 || true)
if [ -z "$deb" ] || [ -n "$(find src tools packaging cmake CMakeLists.txt -newer "$deb" -type f -print -quit)" ]; then
  scripts/cross.sh arm64 package
  deb=$(ls build-arm64/knitpanel_*_arm64.deb | tail -n 1)
fi
deb=$(realpath "$deb")
version=$(dpkg-deb -f "$deb" Version)
# Same sources, same image: every time in it is the changelog's.
SOURCE_DATE_EPOCH=$(dpkg-parsechangelog -l packaging/changelog -STimestamp)
export SOURCE_DATE_EPOCH
echo "image.sh: knitpanel $version, SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH"

work=$out/work
rm -rf "$work"
mkdir -p "$work" "$out/debs"
root=$work/root

# mmdebstrap runs "chroot ROOT CMD": here that is proot with qemu-aarch64, paths translated in
# one process tree, without a mount or a binfmt entry on this machine.
mkdir -p "$work/bin"
cat >"$work/bin/chroot" <<'WRAP'
#!/bin/sh
root=$1; shift
# dpkg finds the build machine's dpkg-deb and dpkg-split first: proot runs a program of the
# build machine natively, so no package is decompressed under emulation. Copies of them, in a
# folder no package writes, so nothing in the tree can replace the build machine's own.
export PATH="/knit-native:$PATH"
exec proot -0 -q qemu-aarch64-static -r "$root" -b "$(dirname "$0")/../native:/knit-native" \
  -b /dev/null -b /dev/zero -b /dev/urandom -b /dev/random -b /proc -w / "$@"
WRAP
chmod +x "$work/bin/chroot"
mkdir -p "$work/native"
cp /usr/bin/dpkg-deb /usr/bin/dpkg-split "$work/native/"
# mmdebstrap filters each package of the essential set through its python3 helper: with Debian's
# interpreter, not one a version manager's shim puts earlier in PATH (a second per package).
ln -s /usr/bin/python3 "$work/bin/python3"

packages=(
  systemd systemd-sysv udev kmod linux-image-arm64 busybox-static systemd-boot-efi
  dosfstools util-linux-extra qemu-guest-agent
)
cp "$deb" "$work/knitpanel.deb"
# mmdebstrap installs the essential set and apt; the rest is installed by that apt inside the
# tree (through the wrapper: apt from outside would chroot by itself). No documentation, manuals
# or message catalogues (copyright files stay); no initramfs-tools run: the initramfs is built
# here from the kernel's own modules. While the packages are installed dpkg skips its syncs
# (force-unsafe-io, from a file removed at the end): each waits for all a busy machine has
# written, and the tree, made a squashfs afterwards, has nothing to keep through a crash. The
# essential set's packages are kept in OUTDIR/debs like the rest.
PATH=$work/bin:$PATH mmdebstrap --mode=root --variant=apt --architectures=arm64 \
  --skip=check/qemu --skip=chroot/mount --skip=download/empty \
  --dpkgopt='path-exclude=/usr/share/doc/*' --dpkgopt='path-include=/usr/share/doc/*/copyright' \
  --dpkgopt='path-exclude=/usr/share/man/*' --dpkgopt='path-exclude=/usr/share/info/*' \
  --dpkgopt='path-exclude=/usr/share/locale/*' --dpkgopt='path-exclude=/usr/share/lintian/*' \
  --setup-hook='mkdir -p "$1/var/cache/apt/archives" && cp -p '"$out"'/debs/*.deb "$1/var/cache/apt/archives/" 2>/dev/null || true' \
  --setup-hook='mkdir -p "$1/etc/initramfs-tools" && echo update_initramfs=no >"$1/etc/initramfs-tools/update-initramfs.conf"' \
  --setup-hook='mkdir -p "$1/etc/dpkg/dpkg.cfg.d" && echo force-unsafe-io >"$1/etc/dpkg/dpkg.cfg.d/build-unsafe-io"' \
  --extract-hook='cp -p "$1"/var/cache/apt/archives/*.deb '"$out"'/debs/' \
  --customize-hook='cp '"$work"'/knitpanel.deb "$1/tmp/"' \
  --customize-hook='chroot "$1" apt-get install --yes --download-only -oAPT::Sandbox::User=root '"${packages[*]}"' /tmp/knitpanel.deb && cp -p "$1"/var/cache/apt/archives/*.deb '"$out"'/debs/ && rm -f '"$out"'/debs/knitpanel_*' \
  --customize-hook="$src/scripts/image/install.sh"' "$1" '"${packages[*]}" \
  --customize-hook='rm -f "$1"/var/cache/apt/archives/*.deb "$1"/tmp/knitpanel.deb "$1"/etc/dpkg/dpkg.cfg.d/build-unsafe-io' \
  bookworm "$root" 2>&1 | grep -v '^I: skipping chroot/mount' || { echo "image.sh: mmdebstrap failed" >&2; exit 1; }
echo "image.sh: packages installed after $((SECONDS - start)) s"

scripts/image/customize.sh "$root" "$work" "$version"
scripts/image/assemble.sh "$root" "$work" "$out" "$version"
rm -rf "$work"
echo $((SECONDS - start)) >"$out/build-seconds"
echo "image.sh: built in $((SECONDS - start)) s"
