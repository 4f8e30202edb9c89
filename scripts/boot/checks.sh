# What the boot test checks, in the order one boot after another allows. Sourced by
# scripts/boot-test.sh (check, guest, keys, shows, step and the rest come from there). Every wait
# names what only the awaited state shows: a page's rectangle as the host drew it (shows), the
# agent's answer, the unit's state.

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

# A condition inside the guest, tried until true or the time is up (seconds).
guest_waits() { # CONDITION [TIMEOUT]
  guest "t=\$(date +%s); until $1; do [ \$((\$(date +%s) - t)) -gt ${2:-30} ] && exit 1; sleep 0.2; done" $((${2:-30} + 30)) >/dev/null
}

booted() { # the agent answers, then the panel's start job is done
  qga_sync 300 && panel_ready 300
}

service_menu() { # from the main screen, password 7063
  step menu7 7 && step password h && step service 7 0 6 3 ret
}

to_main() { # from the service menu
  step main esc
}

run_checks() {
  local t0=$SECONDS
  qemu_start
  check "the agent answers (the guest booted)" qga_sync 300
  check "the panel is ready (main screen painted)" panel_ready 300
  echo "boot-test: boot to main screen $((SECONDS - t0)) s"
  guest "systemd-analyze time; systemd-analyze blame | head -n 12" >"$work/analyze.txt" 2>&1
  check "the main screen looks as on the host" eval 'shows main && looks_like "$work/main.png" "$work/host.png"'
  check "no listener outside loopback" eval '! guest "ss -H -ltnu | grep -v -E \"(127\\.0\\.0\\.[0-9]+|\\[::1\\]|\\[::ffff:127\\.0\\.0\\.1\\]):\"" | grep -q .'
  check "root and EFI read-only, data at /mnt/ide" guest 'grep -q " / overlay " /proc/mounts && ! grep -q "knitesp\|vda1" /proc/mounts && grep -q " /mnt/ide vfat .*codepage=936" /proc/mounts'
  check "the panel runs as knitpanel" eval '[ "$(guest "stat -c %U /proc/\$(systemctl show -p MainPID --value knitpanel)")" = knitpanel ]'
  check "the helper refuses what the panel never asks (126), a caller not of the panel's group cannot reach it" eval '
    [ "$(guest "runuser -u knitpanel -- /usr/lib/knitpanel/knitpanel-sysaction mount /dev/vda2 /mnt/usb; echo \$?")" = 126 ] &&
    [ "$(guest "runuser -u nobody -- /usr/lib/knitpanel/knitpanel-sysaction umount /mnt/usb 2>/dev/null; echo \$?")" = 127 ]'
  check "no framebuffer: one line naming it, status 69" eval '[ "$(guest "QT_QPA_PLATFORM=linuxfb:fb=/dev/fb9 /usr/lib/knitpanel/start-panel 2>&1; echo \$?")" = "knitpanel: no framebuffer /dev/fb9
69" ]'
  check "key 1 opens the knitting parameters" step params 1
  check "Escape closes them" step main esc
  check "a touch on key 1 opens them" eval 'touch_at 42 27 && shows params && step main esc'
  check "kill -9: ready again within 10 s" restarted_after KILL 10
  check "SIGSTOP: the watchdog restarts the panel" eval 'restarted_after STOP 60 && guest "journalctl -b -u knitpanel | grep -q \"Watchdog timeout\""'
  check "the service menu behind its password" service_menu
  check "backup of the system parameters to the disk (3, 4)" eval 'step backup 3 && step backup-ask 4 && step backup-done ret &&
    guest "[ -s /mnt/ide/knit/para/quorvanta.sys ]" && step backup ret'
  check "export of the system parameters to the stick (5, name 12)" eval 'step export 5 && step stick-files 1 2 ret &&
    step export-done ret && guest "[ -s /mnt/usb/12.sys ]" && step backup ret'
  check "restore of the system parameters from the disk (2)" eval 'step restore-ask 2 && step restore-done ret && step backup ret'
  check "restore of the system parameters from the stick (3, its file)" eval 'step stick-files 3 && step stick-restored ret && step backup ret'
  check "back on the main screen" eval 'step service esc && to_main'
  # A power cut while the work parameters' page saves the job's .wrk as it closes.
  wrk=/mnt/ide/knit/wave/TEST01/TEST01.wrk
  old_wrk=$(guest "sha256sum $wrk | cut -d' ' -f1")
  step params 1 && keys down 4 2 7 kp_enter esc && shows main
  qemu_stop
  second_boot
}

second_boot() {
  qemu_start
  check "second boot: the panel is ready again" booted
  local now
  now=$(guest "sha256sum $wrk | cut -d' ' -f1; stat -c %s $wrk; ls -a /mnt/ide/knit/wave/TEST01 | grep -c '^\.TEST01' ; od -An -tx1 -j16 -N2 $wrk")
  echo "boot-test: .wrk after the cut: $(tr '\n' ' ' <<<"$now") (before: $old_wrk)"
  check "the .wrk cut off while saved is whole, old or new" eval '[ "$(sed -n 2p <<<"$now")" = 1556 ] && [ "$(sed -n 3p <<<"$now")" = 0 ] && { [ "$(sed -n 1p <<<"$now")" = "$old_wrk" ] || [ "$(sed -n 4p <<<"$now" | tr -d " ")" = ab01 ]; }'
  check "the reboot kept the backup on the data disk" guest "[ -s /mnt/ide/knit/para/quorvanta.sys ]"
  # The update's copy is an atomic save as the .wrk's is; then come the check of the staged copy
  # (knit.new, beside the program) and the rename that commits it: the power is cut at each.
  check "panel update cut while its copy is checked (knit.new staged)" eval 'start_update && stop_panel_when "[ -e $knit.new ]"'
  guest "journalctl -b --no-pager" >"$work/journal-2.txt" 2>&1
  qemu_stop
  update_boot
}

knit=/mnt/ide/knit/knit
# The update from the service menu up to the stick's file taken (its copy starts).
start_update() {
  shows main && service_menu && step update 7 && step stick-files 1 && keys ret
}

# The panel stopped where it is (SIGSTOP: it writes nothing more) once CONDITION holds inside,
# tried every 50 ms: the power cut after it finds the disk as that step left it.
stop_panel_when() { # CONDITION [TIMEOUT]
  guest "p=\$(systemctl show -p MainPID --value knitpanel); t=\$(date +%s)
    until $1; do [ \$((\$(date +%s) - t)) -gt ${2:-120} ] && exit 1; sleep 0.05; done; kill -STOP \$p" $((${2:-120} + 30)) >/dev/null
}

# After a cut in an update: the panel at its main screen with the packaged program ("old") or
# the stick's ("new", told by its last line), and nothing of the update left beside it.
runs_old_or_new() { # WANTED: old|new|either
  local p
  p=$(guest "exe=\$(readlink /proc/\$(systemctl show -p MainPID --value knitpanel)/exe)
    if [ \"\$exe\" = /usr/bin/knitpanel ]; then echo old; elif [ \"\$exe\" = $knit ] && tail -c 17 $knit | grep -q 'boot-test update'; then echo new; else echo \"neither: \$exe\"; fi
    ls -a /mnt/ide/knit | grep -E '^(knit\\.new|\\.knit\\.)' | tr '\\n' ' '")
  echo "boot-test: after the cut the panel runs: $(tr '\n' ' ' <<<"$p")"
  shows main && case $1:$(sed -n 1p <<<"$p") in old:old | new:new | either:old | either:new) ;; *) false ;; esac &&
    [ -z "$(sed -n 2p <<<"$p" | tr -d ' ')" ]
}

update_boot() {
  qemu_start
  check "third boot, after the cut in the update's check: the panel ready, the old program, no knit.new" eval 'booted && runs_old_or_new old'
  check "panel update from the stick (service menu, 7, 1)" eval 'start_update && shows updated &&
    guest_waits "[ -e $knit ] && [ ! -e $knit.new ]" 180 && step update ret && step service esc && to_main'
  # The power cut right after the commit: the operator was told it is done.
  qemu_stop
  qemu_start
  check "fourth boot, after the cut past the commit: the panel ready, the new program" eval 'booted && runs_old_or_new new'
  guest "journalctl -b --no-pager" >"$work/journal-4.txt" 2>&1
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
  check "broken data disk: the panel says so, then shows its main screen" eval 'shows disk-missing 300 && keys ret && panel_ready 120 && shows main'
  guest "journalctl -b --no-pager" >"$work/journal-5.txt" 2>&1
  qemu_stop
}
