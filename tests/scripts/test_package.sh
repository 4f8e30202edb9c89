#!/usr/bin/env bash
# The Debian package of this build: made with cpack, then inspected and unpacked into a
# throw-away root. Catches: a program or the unit missing, a unit that would not start the
# panel on the framebuffer as its own user with KNIT_ROOT=/, tell its readiness, feed its
# watchdog and restart it, a font configuration that scans more than the panel's font, the
# privileged helper or the device names missing, telemetry configured by
# the package, a version other than the project's, maintainer scripts that do not enable the
# unit, and anything lintian calls an error or a warning (a program without its man page, a page
# that does not render, a gzip with a time stamp).
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
check() { # name condition...
  local name=$1; shift
  if ! "$@"; then echo "FAIL: $name"; failures=$((failures + 1)); fi
}

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; exit 1; }
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
deb=$(ls "$work"/out/knitpanel_*.deb)
check "package name carries the project version and architecture" \
  test "$(basename "$deb")" = "knitpanel_${version}_$(dpkg --print-architecture).deb"

dpkg-deb -I "$deb" >"$work/info"
check "version in control" grep -qx " Version: $version" "$work/info"
check "depends on the Qt libraries it links" grep -q "^ Depends:.*libqt6widgets6" "$work/info"
check "depends on libmosquitto, which it opens at run time" grep -q "^ Depends:.*libmosquitto1" "$work/info"
check "depends on libcurl, which knitjob-library fetches the library's jobs with" grep -q "^ Depends:.*libcurl4" "$work/info"
dpkg-deb -e "$deb" "$work/control"
check "postinst enables the units" grep -q 'for unit in knitpanel-sysaction.socket knitpanel.service' "$work/control/postinst"
check "the font cache is fontconfig's (its trigger), not a maintainer script's" grep -q "^ Depends:.*fontconfig" "$work/info"

dpkg-deb -x "$deb" "$work/root"
for f in usr/bin/knitpanel usr/bin/knitsim usr/bin/knitjob usr/bin/knitfleet usr/lib/knitpanel/start-panel \
  usr/lib/knitpanel/knitpanel-sysaction usr/lib/knitpanel/knitjob-full usr/lib/knitpanel/knitjob-library; do
  check "$f executable" test -x "$work/root/$f"
done
check "English translation installed" test -s "$work/root/usr/share/knitpanel/translations/knitpanel_en.qm"
check "recommends Qt's translations" grep -q "^ Recommends:.*qt6-translations-l10n" "$work/info"
unit="$work/root/lib/systemd/system/knitpanel.service"
for line in User=knitpanel Type=notify Environment=KNIT_ROOT=/ Environment=QT_QPA_PLATFORM=linuxfb:fb=/dev/fb0 \
  Environment=QT_QPA_FB_DISABLE_INPUT=1 Environment=QT_IM_MODULE= Restart=always \
  Environment=FONTCONFIG_FILE=/usr/share/knitpanel/fonts.conf Environment=KNIT_KEYPAD=/dev/input/keypad \
  ExecStart=/usr/lib/knitpanel/start-panel WantedBy=multi-user.target OnFailure=knitpanel-retry.service; do
  check "unit has $line" grep -qx "$line" "$unit"
done
check "unit limits restarts" grep -q "^StartLimitBurst=" "$unit"
watchdog=$(sed -n 's/^WatchdogSec=\([0-9]*\)$/\1/p' "$unit")
check "watchdog of at most 15 s" test -n "$watchdog" -a "${watchdog:-99}" -le 15
check "a start time-out, which the pings before READY extend" grep -qx "TimeoutStartSec=60" "$unit"
fonts="$work/root/usr/share/knitpanel/fonts.conf"
check "fonts.conf names the panel's font folder alone" test "$(grep -c '<dir>' "$fonts")" = 1 -a "$(sed -n 's:.*<dir>\(.*\)</dir>.*:\1:p' "$fonts")" = /usr/share/fonts/truetype/wqy
check "fonts.conf includes no rule files" sh -c "! grep -q '<include' '$fonts'"
check "fonts.conf is well-formed" sh -c "FONTCONFIG_FILE='$fonts' fc-match -f '%{family}' sans >/dev/null 2>&1 || ! command -v fc-match >/dev/null"
for f in lib/systemd/system/knitpanel-sysaction.socket lib/systemd/system/knitpanel-sysaction@.service \
  lib/systemd/system/knitpanel-retry.service lib/udev/rules.d/70-knitpanel.rules usr/lib/sysusers.d/knitpanel.conf; do
  check "$f installed" test -s "$work/root/$f"
done
check "the helper's socket is for the panel's group alone" grep -qx "SocketMode=0660" "$work/root/lib/systemd/system/knitpanel-sysaction.socket"
check "no telemetry configured" test -z "$(find "$work/root" -name 'telemetry.ini')"
check "programs stripped" sh -c "! file '$work/root/usr/bin/knitpanel' | grep -q 'not stripped'"

if command -v lintian >/dev/null 2>&1; then
  check "lintian reports no errors and no warnings" lintian --fail-on error,warning "$deb"
else
  echo "lintian not installed: skipped (scripts/setup.sh installs it)"
fi
[ "$failures" -eq 0 ] && echo "package checks passed: $(basename "$deb")"
exit $((failures > 0))
