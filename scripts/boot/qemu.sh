# The boot test's hands on the virtual panel computer: starting and cutting it, QMP (screen,
# keys, touches, power) and the guest agent (commands inside). Sourced by scripts/boot-test.sh;
# $work is the run's folder.

firmware=/usr/share/qemu-efi-aarch64/QEMU_EFI.fd

# The disks: a layer over the image, the KNITSIM marker, the USB stick with the update.
prepare_disks() {
  qemu-img create -q -f qcow2 -F raw -b "$image" "$work/disk.qcow2"
  truncate -s 1M "$work/knitsim.img"
  mformat -i "$work/knitsim.img" -v KNITSIM ::
  truncate -s 64M "$work/stick.img"
  mformat -i "$work/stick.img" -v STICK ::
  # The update: the packaged program, a few bytes longer so it is not the one installed.
  local deb
  deb=$(ls build-arm64/knitpanel_*_arm64.deb | tail -n 1)
  mkdir -p "$work/deb"
  dpkg-deb -x "$deb" "$work/deb"
  cp "$work/deb/usr/bin/knitpanel" "$work/knit_new"
  printf 'boot-test update\n' >>"$work/knit_new"
  MTOOLS_SKIP_CHECK=1 mcopy -i "$work/stick.img" "$work/knit_new" ::KNIT_NEW
}

# Starts the machine; the console goes to serial.log (appended across boots). Extra arguments
# go to qemu (the benchmark's instruction-counted boot).
qemu_start() {
  rm -f "$work/qmp.sock" "$work/qga.sock"
  qemu-system-aarch64 -M virt -cpu cortex-a72 -smp 2 -m 1024 -nic none -bios "$firmware" "$@" \
    -drive if=none,id=disk,file="$work/disk.qcow2",format=qcow2,cache=writeback -device virtio-blk-pci,drive=disk \
    -drive if=none,id=sim,file="$work/knitsim.img",format=raw,readonly=on -device virtio-blk-pci,drive=sim \
    -device virtio-gpu-pci,xres=640,yres=480 -device virtio-keyboard-pci -device virtio-tablet-pci,id=touch \
    -device qemu-xhci -drive if=none,id=stick,file="$work/stick.img",format=raw -device usb-storage,drive=stick \
    -device virtio-serial-pci -chardev socket,id=qga,path="$work/qga.sock",server=on,wait=off \
    -device virtserialport,chardev=qga,name=org.qemu.guest_agent.0 \
    -qmp unix:"$work/qmp.sock",server=on,wait=off -display none -serial file:"$work/serial.log.part" \
    >>"$work/qemu.log" 2>&1 &
  qemu_pid=$!
  local i
  for i in $(seq 100); do [ -S "$work/qmp.sock" ] && [ -S "$work/qga.sock" ] && break; sleep 0.05; done
  qmp_open && qga_open
}

# Power off as a cut: QMP quit, nothing flushed in the guest.
qemu_stop() {
  [ -n "$qemu_pid" ] || return 0
  if kill -0 "$qemu_pid" 2>/dev/null; then
    qmp '{"execute":"quit"}' >/dev/null 2>&1
    wait "$qemu_pid" 2>/dev/null
  fi
  [ -f "$work/serial.log.part" ] && cat "$work/serial.log.part" >>"$work/serial.log" && rm -f "$work/serial.log.part"
  exec {qmp_w}>&- {qmp_r}<&- {qga_w}>&- {qga_r}<&- 2>/dev/null
  qemu_pid=
}

# A persistent connection through socat and two pipes: fd qmp_w to write, qmp_r to read.
open_pipe() { # NAME SOCKET
  local name=$1 socket=$2
  rm -f "$work/$name.in" "$work/$name.out"
  mkfifo "$work/$name.in" "$work/$name.out"
  socat - UNIX-CONNECT:"$socket" <"$work/$name.in" >"$work/$name.out" 2>/dev/null &
  eval "exec {${name}_w}>\"\$work/\$name.in\" {${name}_r}<\"\$work/\$name.out\""
}

qmp_open() {
  open_pipe qmp "$work/qmp.sock"
  local greeting
  IFS= read -r -t 10 greeting <&"$qmp_r" || return 1
  qmp '{"execute":"qmp_capabilities"}' >/dev/null
}

# One command; its return or error line on stdout, events kept in events.log.
qmp() {
  printf '%s\n' "$1" >&"$qmp_w" || return 1
  local line
  while IFS= read -r -t 120 line <&"$qmp_r"; do
    case $line in
      *'"event"'*) printf '%s\n' "$line" >>"$work/events.log" ;;
      *) printf '%s\n' "$line"; return 0 ;;
    esac
  done
  return 1
}

qga_open() { open_pipe qga "$work/qga.sock"; }

# The agent answers once the guest has started it: a sync with a fresh number, answered by it.
qga() { # JSON [TIMEOUT]
  printf '%s\n' "$1" >&"$qga_w" || return 1
  local line
  IFS= read -r -t "${2:-60}" line <&"$qga_r" || return 1
  printf '%s\n' "$line"
}

qga_sync() { # TIMEOUT: waits for the agent (the boot) at most this long
  local id=$RANDOM$RANDOM deadline=$((SECONDS + $1)) line
  printf '%s\n' "{\"execute\":\"guest-sync\",\"arguments\":{\"id\":$id}}" >&"$qga_w" || return 1
  while [ $SECONDS -lt $deadline ]; do
    IFS= read -r -t $((deadline - SECONDS + 1)) line <&"$qga_r" || return 1
    [ "$(jq -r '.return // empty' <<<"$line" 2>/dev/null)" = "$id" ] && return 0
  done
  return 1
}

# Runs a shell command line in the guest as root; its output on stdout, its status returned.
guest() { # COMMAND [TIMEOUT]
  local request reply pid status deadline=$((SECONDS + ${2:-120}))
  request=$(jq -cn --arg c "$1" '{execute:"guest-exec",arguments:{path:"/bin/sh",arg:["-c",$c],"capture-output":true}}')
  reply=$(qga "$request") || return 255
  pid=$(jq -r '.return.pid // empty' <<<"$reply")
  [ -n "$pid" ] || return 255
  while [ $SECONDS -lt $deadline ]; do
    status=$(qga "{\"execute\":\"guest-exec-status\",\"arguments\":{\"pid\":$pid}}") || return 255
    if [ "$(jq -r '.return.exited' <<<"$status")" = true ]; then
      jq -r '.return["out-data"] // ""' <<<"$status" | base64 -d
      return "$(jq -r '.return.exitcode // 255' <<<"$status")"
    fi
    sleep 0.2
  done
  return 255
}

screendump() { # FILE.png
  rm -f "$1"
  qmp "{\"execute\":\"screendump\",\"arguments\":{\"filename\":\"$1\",\"format\":\"png\"}}" | grep -q '"return"'
}

keys() { # QCODE... each pressed and released in turn
  local k
  for k in "$@"; do
    qmp "{\"execute\":\"send-key\",\"arguments\":{\"keys\":[{\"type\":\"qcode\",\"data\":\"$k\"}]}}" | grep -q '"return"' || return 1
  done
}

# A touch at screen pixel X Y of the 640 x 480 screen, on the tablet (0-32767 both ways).
touch_at() { # X Y
  local x=$(($1 * 32767 / 639)) y=$(($2 * 32767 / 479)) e at
  at="{\"type\":\"abs\",\"data\":{\"axis\":\"x\",\"value\":$x}},{\"type\":\"abs\",\"data\":{\"axis\":\"y\",\"value\":$y}}"
  # As a touch screen reports: the place, then the place with the touch, then its end.
  for e in "$at" "$at,{\"type\":\"btn\",\"data\":{\"button\":\"left\",\"down\":true}}" \
    '{"type":"btn","data":{"button":"left","down":false}}'; do
    qmp "{\"execute\":\"input-send-event\",\"arguments\":{\"events\":[$e]}}" | grep -q '"return"' || return 1
  done
}
