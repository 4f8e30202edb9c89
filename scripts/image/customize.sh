#!/usr/bin/env bash
# Makes the installed tree the panel computer's system: read-only root settings, the data disk's
# check and mount, the test bed, what the panel may not find elsewhere. Plain file operations on
# ROOT; nothing runs inside it.
#   scripts/image/customize.sh ROOT WORK VERSION
set -euo pipefail
root=$1
work=$2
here=$(cd "$(dirname "$0")" && pwd)

# The image's own files (units, scripts, settings), laid over the tree as they are.
cp -a "$here/root/." "$root/"
chmod 0755 "$root"/usr/lib/knitpanel/mount-data "$root"/usr/lib/knitpanel/testbed \
  "$root"/usr/lib/systemd/system-generators/knitpanel-testbed-generator

# Set up fresh at every boot: the machine's identity (systemd makes a transient one), the
# host name, no root login.
: >"$root/etc/machine-id"
rm -f "$root/var/lib/dbus/machine-id"
echo knitpanel >"$root/etc/hostname"
printf '127.0.0.1\tlocalhost\n127.0.1.1\tknitpanel\n::1\tlocalhost ip6-localhost ip6-loopback\n' >"$root/etc/hosts"
sed -i 's/^root:[^:]*:/root:*:/' "$root/etc/shadow"
ln -sf /usr/share/zoneinfo/Etc/UTC "$root/etc/localtime"
echo Etc/UTC >"$root/etc/timezone"

# Where the panel keeps its files: the data disk, and the calibration it writes to /etc.
mkdir -p "$root/mnt/ide" "$root/mnt/usb"
ln -sfn /mnt/ide/knit/pointercal "$root/etc/pointercal"

# Units: the data disk before the panel; no console login on the panel's screen, no first-boot
# questions, nothing that would write the read-only root.
wants=$root/etc/systemd/system/multi-user.target.wants
mkdir -p "$wants"
ln -sfn /lib/systemd/system/knitpanel-data.service "$wants/knitpanel-data.service"
for unit in getty@tty1.service autovt@tty1.service systemd-firstboot.service systemd-machine-id-commit.service \
  e2scrub_all.timer e2scrub_reap.service fstrim.timer apt-daily.timer apt-daily-upgrade.timer; do
  ln -sfn /dev/null "$root/etc/systemd/system/$unit"
done

# Leftovers of the installation.
rm -rf "$root"/var/cache/apt/* "$root"/var/lib/apt/lists/* "$root"/var/log/* "$root"/tmp/* \
  "$root"/var/cache/ldconfig/aux-cache "$root"/etc/initramfs-tools/update-initramfs.conf
rm -f "$root"/etc/ssh/ssh_host_* "$root"/var/lib/systemd/random-seed "$root"/var/lib/systemd/catalog/database
