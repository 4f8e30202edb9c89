# What the boot test checks, in the order one boot after another allows. Sourced by
# scripts/boot-test.sh (check, guest, keys, screendump and the rest come from there).

bin=${KNIT_HOST_BIN:-build/bin}
mainscreen_tolerance=40 # per mille of pixels: the clock's digits and font rendering

# The host's panel on the same job under Xvfb, after its first paint (its READY=1): the
# picture the panel computer's screen is held against.
host_shot() { # FILE
  local root=$work/host disp=:$((90 + RANDOM % 500)) offset=$((20000 + 400 * (RANDOM % 90)))
  mkdir -p "$root/panel/mnt/ide/knit/wave" "$root/panel/mnt/ide/knit/para" "$root/panel/mnt/usb" "$root/panel/tmp" "$root/sim"
  "$bin/knitjob" make TEST01 --dir "$root/panel/mnt/ide/knit/wave" --rows 120 --width 240 --height 120 >/dev/null
  cp "$root/panel/mnt/ide/knit/wave/TEST01/TEST01".* "$root/sim/"
  Xvfb "$disp" -screen 0 640x480x24 -nolisten tcp >/dev/null 2>&1 &
  local xvfb=$!
  mkfifo "$root/sim.out"
  "$bin/knitsim" --root "$root/sim" --control 0 --port-offset "$offset" >"$root/sim.out" 2>&1 &
  local sim=$! line port=
  exec {simout}<"$root/sim.out"
  IFS= read -r -t 20 line <&"$simout" && port=$(sed -n 's/^knitsim ready control \([0-9]*\).*/\1/p' <<<"$line")
  cp "$root/sim/file.sys" "$root/panel/mnt/ide/knit/para/checksystem.sys"
  cp "$root/sim/config.cfg" "$root/panel/mnt/ide/knit/para/checkconfig.cfg"
  exec {ctl}<>"/dev/tcp/127.0.0.1/$port"
  printf 'set job TEST01\n' >&"$ctl"
  IFS= read -r -t 10 line <&"$ctl"
  # The panel's READY=1 arrives as a datagram on this socket.
  socat -u UNIX-RECV:"$root/notify.sock" - >"$root/notify.out" 2>/dev/null &
  local notify=$!
  for _ in $(seq 100); do [ -S "$root/notify.sock" ] && break; sleep 0.05; done
  DISPLAY=$disp KNIT_ROOT="$root/panel" KNIT_PORT_OFFSET=$offset KNIT_CONTROLLER_HOST=127.0.0.1 KNIT_BUZZER=off \
    NOTIFY_SOCKET="$root/notify.sock" WATCHDOG_USEC=15000000 "$bin/knitpanel" >"$root/panel.log" 2>&1 &
  local panel=$!
  for _ in $(seq 600); do grep -q READY=1 "$root/notify.out" && break; sleep 0.05; done
  # Drawn and flushed: two shots in a row alike.
  local a=$root/a.png b=$root/b.png
  DISPLAY=$disp "$bin/knitshot" "$a"
  for _ in $(seq 50); do
    DISPLAY=$disp "$bin/knitshot" "$b"
    cmp -s "$a" "$b" && break
    mv "$b" "$a"
  done
  cp "$b" "$1"
  kill "$panel" "$sim" "$notify" "$xvfb" 2>/dev/null
  wait "$panel" "$sim" "$notify" "$xvfb" 2>/dev/null
  exec {ctl}>&- {simout}<&-
  echo "boot-test: host's main screen $1"
}

# The screen at rest: two screendumps in a row alike; its name in $work/NAME.png. With FROM,
# first a screen that differs from each such picture by more than the clock's digits, or than
# PER_MILLE (a page opened rather than a button lit): under emulation that takes a while.
settled() { # NAME [FROM[,FROM...] [PER_MILLE]]
  local a=$work/$1.png b=$work/$1.next.png
  screendump "$a" || return 1
  if [ -n "${2:-}" ]; then
    local i from apart
    for i in $(seq 120); do
      apart=1
      for from in ${2//,/ }; do
        [ "$(differs_from "$a" "$work/$from.png")" -gt "${3:-5}" ] || apart=0
      done
      [ "$apart" = 1 ] && break
      screendump "$a" || return 1
    done
    [ "$i" -lt 120 ] || return 1
  fi
  for _ in $(seq 60); do
    screendump "$b" || return 1
    if cmp -s "$a" "$b"; then rm -f "$b"; return 0; fi
    mv "$b" "$a"
  done
  return 1
}

differs_from() { # A B → per mille of pixels that differ (1000 when either is missing)
  local d
  d=$("$bin/knitshot" --compare "$1" "$2" 2>/dev/null | sed -n 's/^differing \([0-9]*\) permille$/\1/p')
  echo "${d:-1000}"
}

looks_like() { # A B [TOLERANCE]
  local d
  d=$(differs_from "$1" "$2")
  echo "boot-test: $(basename "$1") against $(basename "$2"): $d per mille differ"
  [ -n "$d" ] && [ "$d" -le "${3:-$mainscreen_tolerance}" ]
}

# The panel's start job done: the unit active means READY=1 came, after the main screen's paint.
panel_ready() { # TIMEOUT
  guest "systemctl start knitpanel.service" "$1" >/dev/null
}

# From the kill to the panel ready again, in ms, measured inside; fails past LIMIT seconds.
restarted_after() { # SIGNAL LIMIT
  local ms
  ms=$(guest "n=\$(systemctl show -p NRestarts --value knitpanel); t=\$(date +%s%N); systemctl kill -s $1 knitpanel;
    until [ \"\$(systemctl show -p NRestarts --value knitpanel)\" -gt \"\$n\" ] && systemctl is-active -q knitpanel; do
      [ \$(( (\$(date +%s%N) - t) / 1000000000 )) -gt $(($2 + 30)) ] && exit 1; sleep 0.1; done
    echo \$(( (\$(date +%s%N) - t) / 1000000 ))" $(($2 + 60))) || return 1
  echo "boot-test: $1 to ready again: $ms ms"
  [ "$ms" -le $(($2 * 1000)) ]
}

run_checks() {
  local t0=$SECONDS
  qemu_start
  check "the agent answers (the guest booted)" qga_sync 300
  check "the panel is ready (main screen painted)" panel_ready 300
  echo "boot-test: boot to main screen $((SECONDS - t0)) s"
  guest "systemd-analyze time; systemd-analyze blame | head -n 8" >"$work/analyze.txt" 2>&1
  check "the main screen looks as on the host" eval 'settled main && looks_like "$work/main.png" "$work/host.png"'
  check "no listener outside loopback" eval '! guest "ss -H -ltnu | grep -v -E \"(127\\.0\\.0\\.[0-9]+|\\[::1\\]|\\[::ffff:127\\.0\\.0\\.1\\]):\"" | grep -q .'
  check "root and EFI read-only, data at /mnt/ide" guest 'grep -q " / overlay " /proc/mounts && ! grep -q "knitesp\|vda1" /proc/mounts && grep -q " /mnt/ide vfat .*codepage=936" /proc/mounts'
  check "the panel runs as knitpanel" eval '[ "$(guest "stat -c %U /proc/\$(systemctl show -p MainPID --value knitpanel)")" = knitpanel ]'
  check "the helper refuses what the panel never asks (126), a caller not of the panel's group cannot reach it" eval '
    [ "$(guest "runuser -u knitpanel -- /usr/lib/knitpanel/knitpanel-sysaction mount /dev/vda2 /mnt/usb; echo \$?")" = 126 ] &&
    [ "$(guest "runuser -u nobody -- /usr/lib/knitpanel/knitpanel-sysaction umount /mnt/usb 2>/dev/null; echo \$?")" = 127 ]'
  check "no framebuffer: one line naming it, status 69" eval '[ "$(guest "QT_QPA_PLATFORM=linuxfb:fb=/dev/fb9 /usr/lib/knitpanel/start-panel 2>&1; echo \$?")" = "knitpanel: no framebuffer /dev/fb9
69" ]'
  check "key 1 opens the knitting parameters" eval 'keys 1 && settled params main'
  check "Escape closes them" eval 'keys esc && settled back params && looks_like "$work/back.png" "$work/main.png" 10'
  check "a touch on key 1 opens them" eval 'touch_at 42 27 && settled touched back && looks_like "$work/touched.png" "$work/params.png" 10 && keys esc && settled back2 touched'
  check "kill -9: ready again within 10 s" restarted_after KILL 10
  check "SIGSTOP: the watchdog restarts the panel" eval 'restarted_after STOP 60 && guest "journalctl -b -u knitpanel | grep -q \"Watchdog timeout\""'
  check "backup of the system parameters to the disk (service menu, 3, 4)" eval 'service_menu && keys 3 && settled backup service 60 &&
    keys 4 && settled backup-ask backup 20 && keys ret && guest_waits "[ -s /mnt/ide/knit/para/quorvanta.sys ]" && settled backup-done backup-ask'
  check "export of the system parameters to the stick (5, name 12)" eval 'keys ret && settled backup2 backup-done && keys 5 && settled export backup2 60 &&
    keys 1 2 ret && settled export-dialog export 60 && keys ret && settled export-done export-dialog && guest "[ -s /mnt/usb/12.sys ]"'
  # A power cut right after the work parameters' page closes, which saves the job's .wrk.
  wrk=/mnt/ide/knit/wave/TEST01/TEST01.wrk
  old_wrk=$(guest "sha256sum $wrk | cut -d' ' -f1")
  check "back on the main screen" to_main
  keys 1 && settled wrkpage main 60 && keys down 4 2 7 kp_enter esc
  guest "journalctl -b --no-pager" >"$work/journal-1.txt" 2>&1
  qemu_stop
  second_boot
}

# Back to the main screen: Return for a message, Escape for a page, until it shows.
to_main() {
  local i
  for i in 1 2 3 4 5 6; do
    settled here && looks_like "$work/here.png" "$work/main.png" 10 >/dev/null && return 0
    keys ret esc || return 1
  done
  return 1
}

# The service menu (password 7063) from the main screen.
service_menu() {
  to_main && keys 7 && settled menu7 main && keys h && settled password menu7 && keys 7 0 6 3 ret && settled service password,menu7 12
}

# A condition inside the guest, tried until true or the time is up (seconds).
guest_waits() { # CONDITION [TIMEOUT]
  guest "t=\$(date +%s); until $1; do [ \$((\$(date +%s) - t)) -gt ${2:-30} ] && exit 1; sleep 0.2; done" $((${2:-30} + 30)) >/dev/null
}

second_boot() {
  qemu_start
  check "second boot: the panel is ready again" eval 'qga_sync 300 && panel_ready 300'
  local now
  now=$(guest "sha256sum $wrk | cut -d' ' -f1; stat -c %s $wrk; ls -a /mnt/ide/knit/wave/TEST01 | grep -c '^\.TEST01' ; od -An -tx1 -j16 -N2 $wrk")
  echo "boot-test: .wrk after the cut: $(tr '\n' ' ' <<<"$now")"
  check "the .wrk cut off while saved is whole, old or new" eval '[ "$(sed -n 2p <<<"$now")" = 1556 ] && [ "$(sed -n 3p <<<"$now")" = 0 ] && { [ "$(sed -n 1p <<<"$now")" = "$old_wrk" ] || [ "$(sed -n 4p <<<"$now" | tr -d " ")" = ab01 ]; }'
  check "the reboot kept the backup on the data disk" guest "[ -s /mnt/ide/knit/para/quorvanta.sys ]"
  check "panel update from the stick (service menu, 7, 1)" eval 'service_menu && keys 7 && settled update service 12 &&
    keys 1 && settled update-files update 60 && keys ret && guest_waits "[ -x /mnt/ide/knit/knit ]" 60 && settled updated update-files && keys ret && to_main'
  check "after a restart the new program runs" guest "systemctl restart knitpanel && [ \"\$(readlink /proc/\$(systemctl show -p MainPID --value knitpanel)/exe)\" = /mnt/ide/knit/knit ] && tail -c 17 /mnt/ide/knit/knit | grep -q 'boot-test update'"
  guest "journalctl -b --no-pager" >"$work/journal-2.txt" 2>&1
  qemu_stop
  broken_disk_boot
}

# The data disk's boot sector and first FAT overwritten: fsck cannot save it, the machine boots
# on a RAM disk in its place and the panel says so; the disk's format page is still there.
broken_disk_boot() {
  local start
  start=$(sfdisk -J "$image" | jq '.partitiontable.partitions[2].start')
  qemu-io -f qcow2 -c "write -P 0x5a $((start * 512)) 1M" "$work/disk.qcow2" >/dev/null
  qemu_start
  check "broken data disk: the machine boots" qga_sync 300
  check "broken data disk: a RAM disk at /mnt/ide, the panel told" guest_waits "grep -q ' /mnt/ide tmpfs ' /proc/mounts && [ -e /run/knitpanel/data-disk-missing ]" 120
  check "broken data disk: the panel says so, then shows its main screen" eval 'guest_waits "systemctl is-active -q knitsim-testbed || true; pgrep -x knitpanel >/dev/null" 120 && settled disk-message && ! looks_like "$work/disk-message.png" "$work/main.png" 5 && keys ret && panel_ready 120'
  guest "journalctl -b --no-pager" >"$work/journal-3.txt" 2>&1
  qemu_stop
}
