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
exec proot -0 -q qemu-aarch64-static -r "$root" -b /dev/null -b /dev/zero -b /dev/urandom -b /dev/random \
  -b /proc -w / "$@"
WRAP
chmod +x "$work/bin/chroot"

packages=(
  systemd systemd-sysv udev kmod linux-image-arm64 busybox-static systemd-boot-efi
  dosfstools util-linux-extra qemu-guest-agent
)
cp "$deb" "$work/knitpanel.deb"
# mmdebstrap installs the essential set and apt; the rest is installed by that apt inside the
# tree (through the wrapper: apt from outside would chroot by itself). No documentation, manuals
# or message catalogues (copyright files stay); no initramfs-tools run: the initramfs is built
# here from the kernel's own modules.
PATH=$work/bin:$PATH mmdebstrap --mode=root --variant=apt --architectures=arm64 \
  --skip=check/qemu --skip=chroot/mount --skip=download/empty \
  --dpkgopt='path-exclude=/usr/share/doc/*' --dpkgopt='path-include=/usr/share/doc/*/copyright' \
  --dpkgopt='path-exclude=/usr/share/man/*' --dpkgopt='path-exclude=/usr/share/info/*' \
  --dpkgopt='path-exclude=/usr/share/locale/*' --dpkgopt='path-exclude=/usr/share/lintian/*' \
  --setup-hook='mkdir -p "$1/var/cache/apt/archives" && cp -p '"$out"'/debs/*.deb "$1/var/cache/apt/archives/" 2>/dev/null || true' \
  --setup-hook='mkdir -p "$1/etc/initramfs-tools" && echo update_initramfs=no >"$1/etc/initramfs-tools/update-initramfs.conf"' \
  --customize-hook='cp '"$work"'/knitpanel.deb "$1/tmp/"' \
  --customize-hook='chroot "$1" apt-get install --yes --download-only -oAPT::Sandbox::User=root '"${packages[*]}"' /tmp/knitpanel.deb && cp -p "$1"/var/cache/apt/archives/*.deb '"$out"'/debs/ && rm -f '"$out"'/debs/knitpanel_*' \
  --customize-hook="$src/scripts/image/install.sh"' "$1" '"${packages[*]}" \
  --customize-hook='rm -f "$1"/var/cache/apt/archives/*.deb "$1"/tmp/knitpanel.deb' \
  bookworm "$root" 2>&1 | grep -v '^I: skipping chroot/mount' || { echo "image.sh: mmdebstrap failed" >&2; exit 1; }
echo "image.sh: packages installed after $((SECONDS - start)) s"

scripts/image/customize.sh "$root" "$work" "$version"
scripts/image/assemble.sh "$root" "$work" "$out" "$version"
rm -rf "$work"
echo $((SECONDS - start)) >"$out/build-seconds"
echo "image.sh: built in $((SECONDS - start)) s"
