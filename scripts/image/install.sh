#!/bin/sh
# Installs the panel computer's packages and our own into ROOT: apt runs here with mmdebstrap's
# configuration for the tree, dpkg and the maintainer scripts inside it (tree-dpkg: proot and
# qemu-aarch64). systemd-tmpfiles is held back while the packages are configured: proot cannot
# follow its empty-path calls, and the boot runs it on the tmpfs over the root anyway.
#   scripts/image/install.sh ROOT OUR.deb PACKAGE...
set -eu
root=$1
deb=$2
shift 2
chroot "$root" dpkg-divert --quiet --add --no-rename --divert /bin/systemd-tmpfiles.real /bin/systemd-tmpfiles
printf '#!/bin/sh\nexit 0\n' >"$root/bin/systemd-tmpfiles"
chmod 0755 "$root/bin/systemd-tmpfiles"
cp "$deb" "$root/tmp/knitpanel.deb"
APT_CONFIG=$MMDEBSTRAP_APT_CONFIG DEBIAN_FRONTEND=noninteractive INITRD=No apt-get install --yes \
  --no-install-recommends -oDir::Bin::dpkg="$(command -v tree-dpkg)" -oAPT::Sandbox::User=root \
  -oDpkg::Options::=--force-confold -oDpkg::Use-Pty=false "$@" "$root/tmp/knitpanel.deb"
rm -f "$root/bin/systemd-tmpfiles" "$root/tmp/knitpanel.deb"
chroot "$root" dpkg-divert --quiet --remove --rename /bin/systemd-tmpfiles
