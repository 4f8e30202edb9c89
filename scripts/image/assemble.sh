#!/usr/bin/env bash
# Lays the customized tree out as the panel computer's disk, in files only:
#   partition 1 knitesp   FAT, 64 MiB: systemd-boot at \EFI\BOOT\BOOTAA64.EFI, kernel, initramfs
#   partition 2 knitroot  384 MiB, the squashfs root, read-only (a tmpfs is laid over it at boot)
#   partition 3 knitdata  FAT32, 256 MiB: the data disk /mnt/ide, as the panel formats it
# Every time stamp is SOURCE_DATE_EPOCH, every identifier fixed: the same tree, the same image.
#   scripts/image/assemble.sh ROOT WORK OUTDIR VERSION
set -euo pipefail
root=$1
work=$2
out=$3
version=$4
here=$(cd "$(dirname "$0")" && pwd)
epoch=$SOURCE_DATE_EPOCH
export MTOOLS_SKIP_CHECK=1
export PATH=$PATH:/usr/sbin:/sbin

kver=$(basename "$(ls -d "$root"/lib/modules/* | head -n 1)")
echo "assemble: kernel $kver"

# The initramfs: busybox, the drivers that reach the root, and an init that mounts it.
initrd=$work/initrd
mkdir -p "$initrd/bin" "$initrd/etc" "$initrd/lib/modules/$kver"
cp "$root/bin/busybox" "$initrd/bin/busybox"
cp "$here/initramfs-init" "$initrd/init"
moddir=lib/modules/$kver
# A module of the kernel's list and what it needs, dependencies first, each once.
add_module() { # PATH-IN-MODDIR
  grep -qx "/$moddir/$1" "$initrd/etc/modules" && return
  mkdir -p "$initrd/$moddir/$(dirname "$1")"
  cp "$root/$moddir/$1" "$initrd/$moddir/$1"
  echo "/$moddir/$1" >>"$initrd/etc/modules"
}
: >"$initrd/etc/modules"
for m in virtio_pci virtio_blk squashfs overlay; do
  line=$(grep -E "(^|/)$m\.ko:" "$root/$moddir/modules.dep") || continue # built in
  read -r -a deps <<<"${line#*:}"
  for ((i = ${#deps[@]} - 1; i >= 0; i--)); do add_module "${deps[i]}"; done
  add_module "${line%%:*}"
done
find "$initrd" -exec touch -h -d "@$epoch" {} +
(cd "$initrd" && find . | LC_ALL=C sort | cpio --quiet -o -H newc --reproducible | gzip -9n) >"$work/initrd.img"

# The kernel as the EFI stub boots it: Debian's arm64 vmlinuz is a gzip of the Image.
kernel=$root/boot/vmlinuz-$kver
if [ "$(head -c 2 "$kernel" | od -An -tx1 | tr -d ' ')" = 1f8b ]; then
  zcat "$kernel" >"$work/Image"
else
  cp "$kernel" "$work/Image"
fi

# The root: /boot is on the EFI partition; the tree's times all set to the epoch before the font
# cache is made, so fontconfig finds its cache current at every start.
rm -rf "$root"/boot/*
find "$root" -exec touch -h -d "@$epoch" {} +
FONTCONFIG_FILE="$root/usr/share/knitpanel/fonts.conf" fc-cache -f -s --sysroot="$root" >/dev/null
find "$root/var/cache/fontconfig" -exec touch -h -d "@$epoch" {} +
rm -f "$out/root.sqfs"
# mksquashfs takes its times from SOURCE_DATE_EPOCH.
mksquashfs "$root" "$work/root.sqfs" -noappend -reproducible -comp zstd -Xcompression-level 12 -quiet -no-progress

mib=$((1024 * 1024))
esp_mib=64
data_mib=256
# The root's room is fixed, so every image puts the data disk at the same place and a new system
# can be written over partitions 1 and 2 alone, the data disk kept.
root_mib=384
needed_mib=$(( ($(stat -c %s "$work/root.sqfs") + mib - 1) / mib ))
[ "$needed_mib" -le "$root_mib" ] || { echo "assemble: the root needs $needed_mib MiB, more than its $root_mib" >&2; exit 1; }

# The EFI partition: systemd-boot where firmware without boot entries looks, one entry.
esp=$work/esp.img
rm -f "$esp"
truncate -s $((esp_mib * mib)) "$esp"
mformat -i "$esp" -F -N 4b4e4954 -v KNITESP ::
mkdir -p "$work/esp/EFI/BOOT" "$work/esp/loader/entries"
cp "$root/usr/lib/systemd/boot/efi/systemd-bootaa64.efi" "$work/esp/EFI/BOOT/BOOTAA64.EFI"
cp "$work/Image" "$work/esp/Image"
cp "$work/initrd.img" "$work/esp/initrd.img"
printf 'timeout 0\ndefault knitpanel.conf\neditor no\nrandom-seed-mode off\n' >"$work/esp/loader/loader.conf"
cat >"$work/esp/loader/entries/knitpanel.conf" <<ENTRY
title Knitting machine panel $version
linux /Image
initrd /initrd.img
options console=ttyAMA0 quiet loglevel=3 vt.global_cursor_default=0 systemd.show_status=error rd.udev.log_level=3 panic=10
ENTRY
find "$work/esp" -exec touch -h -d "@$epoch" {} +
(cd "$work/esp" && mcopy -s -m -Q -i "$esp" EFI loader Image initrd.img ::)

# The data disk: FAT32 as the panel formats it, with the panel's folders and the FAT tools the
# format and repair pages copy to /tmp before use.
data=$work/data.img
rm -f "$data"
truncate -s $((data_mib * mib)) "$data"
mformat -i "$data" -F -N 4b4e4944 -v KNITDATA ::
mkdir -p "$work/data/knit/para" "$work/data/knit/wave" "$work/data/knit/tools"
cp "$root/sbin/mkfs.fat" "$work/data/knit/tools/mkdosfs"
cp "$root/sbin/fsck.fat" "$work/data/knit/tools/dosfsck"
find "$work/data" -exec touch -h -d "@$epoch" {} +
(cd "$work/data" && mcopy -s -m -Q -i "$data" knit ::)

# The disk: GPT with fixed identifiers; each partition written in at its place.
image=$out/knitpanel-$version-arm64.img
rm -f "$image"
total_mib=$((1 + esp_mib + root_mib + data_mib + 1))
truncate -s $((total_mib * mib)) "$image"
sfdisk --quiet --no-reread --no-tell-kernel "$image" <<TABLE
label: gpt
label-id: 4B4E4954-5041-4E45-4C00-000000000000
first-lba: 2048
start=1MiB, size=${esp_mib}MiB, type=C12A7328-F81F-11D2-BA4B-00A0C93EC93B, uuid=4B4E4954-5041-4E45-4C00-000000000001, name=knitesp
size=${root_mib}MiB, type=B921B045-1DF0-41C3-AF44-4C6F280D3FAE, uuid=4B4E4954-5041-4E45-4C00-000000000002, name=knitroot
size=${data_mib}MiB, type=EBD0A0A2-B9E5-4433-87C0-68B6B72699C7, uuid=4B4E4954-5041-4E45-4C00-000000000003, name=knitdata
TABLE
dd if="$esp" of="$image" bs=1M seek=1 conv=notrunc,sparse status=none
dd if="$work/root.sqfs" of="$image" bs=1M seek=$((1 + esp_mib)) conv=notrunc,sparse status=none
dd if="$data" of="$image" bs=1M seek=$((1 + esp_mib + root_mib)) conv=notrunc,sparse status=none
touch -d "@$epoch" "$image"

# The map of the blocks that hold data (the rest of the root's room and of the partitions is
# zeros), so bmaptool writes a card in a fraction of the time and checks what it wrote.
bmaptool -q create -o "$out/knitpanel-$version-arm64.bmap" "$image"
zstd -q -f -T2 -10 "$image" -o "$image.zst"
du -sm "$root" | cut -f1 >"$out/root-mib"
echo $(( $(stat -c %s "$work/root.sqfs") / mib )) >"$out/squashfs-mib"
(cd "$out" && sha256sum "$(basename "$image")" "$(basename "$image").zst" "knitpanel-$version-arm64.bmap" >"knitpanel-$version-arm64.sha256")
echo "assemble: $image ($total_mib MiB; root $(du -sm "$root" | cut -f1) MiB in a ${root_mib} MiB squashfs)"
echo "assemble: $image.zst $(( $(stat -c %s "$image.zst") / mib )) MiB"
cat "$out/knitpanel-$version-arm64.sha256"
