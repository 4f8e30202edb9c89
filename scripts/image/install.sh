#!/bin/sh
# Installs the panel computer's packages and our own into ROOT with ROOT's apt, each program
# run through the chroot wrapper (proot and qemu-aarch64). systemd-tmpfiles is held back while
# the packages are configured: proot cannot follow its empty-path calls, and the boot runs it
# on the tmpfs over the root anyway.
#   scripts/image/install.sh ROOT PACKAGE...
set -eu
root=$1
shift
chroot "$root" dpkg-divert --quiet --add --no-rename --divert /bin/systemd-tmpfiles.real /bin/systemd-tmpfiles
printf '#!/bin/sh\nexit 0\n' >"$root/bin/systemd-tmpfiles"
chmod 0755 "$root/bin/systemd-tmpfiles"
chroot "$root" env DEBIAN_FRONTEND=noninteractive INITRD=No apt-get install --yes --no-install-recommends \
  -oAPT::Sandbox::User=root -oDpkg::Options::=--force-confold "$@" /tmp/knitpanel.deb
rm -f "$root/bin/systemd-tmpfiles"
chroot "$root" dpkg-divert --quiet --remove --rename /bin/systemd-tmpfiles
