#!/usr/bin/env bash
# Installs, builds, makes a sample job in a fresh panel root, starts knitsim with that job as
# the controller's current job, and starts the panel: a window when DISPLAY is set, otherwise
# the Qt VNC screen on 127.0.0.1:5900. When mosquitto is installed it also starts a loopback
# broker for the panel's telemetry and, beside it, knitfleet serve (the office's dashboard, on
# loopback, recording to the demo's folder), and prints the page's address and the knitfleet
# command. Ctrl-C stops them all.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target knitpanel knitsim knitjob knitfleet knitloopbind

demo=$(mktemp -d /tmp/knitdemo.XXXXXX)
export KNIT_ROOT="$demo/panel"
export KNIT_CONTROLLER_HOST=127.0.0.1
export KNIT_PORT_OFFSET=${KNIT_PORT_OFFSET:-10000}
mkdir -p "$KNIT_ROOT/mnt/ide/knit/wave" "$KNIT_ROOT/mnt/usb" "$KNIT_ROOT/tmp" "$demo/sim"

job=DEMO01
build/bin/knitjob make "$job" --dir "$KNIT_ROOT/mnt/ide/knit/wave" --rows 120 --width 240 --height 120 >/dev/null

pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  echo "demo stopped; its files are in $demo"
}
trap cleanup EXIT INT TERM

build/bin/knitsim --root "$demo/sim" --control 0 --port-offset "$KNIT_PORT_OFFSET" \
  >"$demo/knitsim.log" 2>&1 &
pids+=($!)
control_port=""
for _ in $(seq 100); do
  control_port=$(sed -n 's/^knitsim ready control \([0-9]*\).*/\1/p' "$demo/knitsim.log")
  [ -n "$control_port" ] && break
  sleep 0.1
done
if [ -z "$control_port" ]; then
  echo "knitsim did not start:"; cat "$demo/knitsim.log"; exit 1
fi
# The panel keeps reference copies of the controller's parameter blocks; give it this
# controller's, so the demo starts without the mismatch questions of a replaced controller.
mkdir -p "$KNIT_ROOT/mnt/ide/knit/para"
cp "$demo/sim/file.sys" "$KNIT_ROOT/mnt/ide/knit/para/checksystem.sys"
cp "$demo/sim/config.cfg" "$KNIT_ROOT/mnt/ide/knit/para/checkconfig.cfg"
# The telemetry's broker, on loopback only and keeping nothing on disk. The demo works without
# it: the panel then says on its log that telemetry is off.
broker=$(command -v mosquitto || true)
[ -z "$broker" ] && [ -x /usr/sbin/mosquitto ] && broker=/usr/sbin/mosquitto
fleet_url=""
if [ -n "$broker" ]; then
  mqtt_port=$((1883 + KNIT_PORT_OFFSET))
  printf 'listener %s 127.0.0.1\nallow_anonymous true\npersistence false\nuser %s\n' \
    "$mqtt_port" "$(id -un)" >"$demo/mosquitto.conf"
  "$broker" -c "$demo/mosquitto.conf" >"$demo/mosquitto.log" 2>&1 &
  pids+=($!)
  fleet_url="mqtt://127.0.0.1:$mqtt_port"
  printf '[mqtt]\nurl = %s\nmachine = DEMO-1\ninterval_ms = 1000\n' "$fleet_url" \
    >"$KNIT_ROOT/mnt/ide/knit/telemetry.ini"
  # The office's dashboard beside the broker, on loopback; it says where it serves.
  dash_port=$((8080 + KNIT_PORT_OFFSET))
  build/bin/knitfleet serve --url "$fleet_url" --db "$demo/fleet.sqlite" --listen "127.0.0.1:$dash_port" \
    >"$demo/knitfleet.log" 2>&1 &
  pids+=($!)
fi
# The controller's current job, so the panel's start-up checks, sends and loads it; the
# controller holds the program already and starts knitting it.
cp "$KNIT_ROOT/mnt/ide/knit/wave/$job/$job".* "$demo/sim/"
exec 3<>"/dev/tcp/127.0.0.1/$control_port"
# One control line; its reply lines on stdout, up to the closing "ok" or "error ...".
ask() {
  printf '%s\n' "$1" >&3
  local line
  while IFS= read -r -t 5 line <&3; do
    echo "$line"
    if [ "$line" = ok ] || [ "${line#error}" != "$line" ]; then break; fi
  done
}
ask "set job $job" >/dev/null
ask "start $job" >/dev/null
# The controller finds its zero before it first knits; the panel reads whether it stands at
# zero at start-up (its key 0 refuses a row skip until then).
for _ in $(seq 50); do
  ask state | grep -qx 'zeroed 1' && break
  sleep 0.1
done
exec 3>&-

if [ -n "${DISPLAY:-}" ]; then
  echo "panel: a window on $DISPLAY (knitsim control: 127.0.0.1:$control_port)"
  build/bin/knitpanel >"$demo/panel.log" 2>&1 &
else
  echo "panel: VNC screen on 127.0.0.1:5900 (for example: vncviewer 127.0.0.1::5900)"
  echo "knitsim control: 127.0.0.1:$control_port"
  LD_PRELOAD="$PWD/build/lib/libknitloopbind.so" QT_QPA_PLATFORM="vnc:size=640x480:port=5900" \
    build/bin/knitpanel >"$demo/panel.log" 2>&1 &
fi
pids+=($!)
if [ -n "$fleet_url" ]; then
  echo "telemetry: broker $fleet_url; the office's view: build/bin/knitfleet --url $fleet_url"
  echo "office dashboard: http://127.0.0.1:$dash_port/ (a hall's TV: http://127.0.0.1:$dash_port/?screen=hall)"
else
  echo "telemetry off: mosquitto is not installed (scripts/setup.sh installs it)"
fi
echo "the desktop picture covers the running program: press M (or touch PL.WK) to show it"
echo "press Ctrl-C to stop"
wait "${pids[-1]}" || true
