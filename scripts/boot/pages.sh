# The screens the boot test waits for, each told by a rectangle that only it draws, and their
# pictures from the host's panel under Xvfb: the host is walked through every screen first, the
# panel computer is then held against those pictures. Sourced by scripts/boot-test.sh.

bin=${KNIT_HOST_BIN:-build/bin}
mainscreen_tolerance=40 # per mille of the whole screen: the clock's digits and font rendering
page_tolerance=40       # per mille of a page's rectangle: font rendering on linuxfb and on X
page_apart=100          # per mille: a page's rectangle on the screen before it differs this much (2.5 times the tolerance)

# NAME → X,Y,W,H: a line of text that this page draws and the screen before it does not (the
# host's walk checks that), tight around the text so that text is most of it.
message=250,222,140,22 # the middle of a message's or question's line
declare -A page_region=(
  [main]=0,0,640,45             # the top keys, which every page covers with its title
  [params]=0,0,380,45           # "Clothing Parameter Setting" and its range line
  [menu7]=95,75,130,15          # the system tools' first entry
  [password]=0,0,380,45         # "Input Dialog" and the password question
  [service]=95,75,130,15        # the service menu's first entry
  [backup]=100,176,200,15       # the system parameters' third entry (hidden by their messages)
  [backup-ask]=$message         # whether to write them to the disk
  [backup-done]=$message        # they were written
  [export]=0,0,380,45           # "Input Dialog" and the name question
  [stick-files]=20,65,80,15     # the stick's file dialog: its first key (its title shows free space)
  [export-done]=$message
  [restore-ask]=$message        # whether to read them from the disk
  [restore-done]=$message
  [stick-restored]=$message
  [update]=95,275,130,15        # the update page's fifth entry
  [updated]=$message            # the copy's dialog (its end is awaited inside: the program in place)
  [disk-missing]=150,210,340,45 # the data disk cannot be used, the panel runs on defaults (two lines)
)

# A QMP key name as xdotool names it.
xkey() {
  case $1 in
    esc) echo Escape ;; ret) echo Return ;; kp_enter) echo KP_Enter ;; down) echo Down ;; *) echo "$1" ;;
  esac
}

differs_from() { # A B [REGION] → per mille of pixels that differ (1000 when either is missing)
  local d
  d=$("$bin/knitshot" --compare "$1" "$2" ${3:+"$3"} 2>/dev/null | sed -n 's/^differing \([0-9]*\) permille$/\1/p')
  echo "${d:-1000}"
}

looks_like() { # A B [TOLERANCE]
  local d
  d=$(differs_from "$1" "$2")
  echo "boot-test: $(basename "$1") against $(basename "$2"): $d per mille differ"
  [ "$d" -le "${3:-$mainscreen_tolerance}" ]
}

# The panel computer shows page NAME: its rectangle as on the host's picture, tried until TIMEOUT.
shows() { # NAME [TIMEOUT]
  local name=$1 deadline=$((SECONDS + ${2:-90})) d=1000
  while [ $SECONDS -lt $deadline ]; do
    screendump "$work/$name.png" || return 1
    d=$(differs_from "$work/$name.png" "$work/ref/$name.png" "${page_region[$name]}")
    [ "$d" -le "$page_tolerance" ] && return 0
    sleep 0.5
  done
  echo "boot-test: no $name after ${2:-90} s ($d per mille of its rectangle differ)"
  return 1
}

# Keys pressed on the panel computer, then page NAME awaited.
step() { # NAME KEY...
  local name=$1
  shift
  keys "$@" && shows "$name"
}

# --- The host's walk -------------------------------------------------------------------------

# On the host: keys, then a new window with the keyboard (each step opens or closes one), then
# two pictures alike (drawn whole): that is the page's picture. Its rectangle must differ from
# the screen before it, or the table cannot tell the page by it.
host_step() { # NAME KEY...
  local name=$1 before k i
  shift
  before=$(xdotool getwindowfocus 2>/dev/null)
  for k in "$@"; do xdotool key "$(xkey "$k")" || return 1; done
  for i in $(seq 200); do [ $# = 0 ] || [ "$(xdotool getwindowfocus 2>/dev/null)" != "$before" ] && break; sleep 0.05; done
  "$bin/knitshot" "$work/ref/now.png" 2>/dev/null
  for i in $(seq 50); do
    "$bin/knitshot" "$work/ref/next.png" 2>/dev/null
    cmp -s "$work/ref/now.png" "$work/ref/next.png" && break
    mv "$work/ref/next.png" "$work/ref/now.png"
  done
  local d
  d=$(differs_from "$work/ref/now.png" "$work/ref/last.png" "${page_region[$name]}")
  if [ "$d" -lt "$page_apart" ]; then
    echo "boot-test: the host's $name differs from the screen before it by $d per mille of its rectangle"
    host_walk_sound=0
  fi
  cp "$work/ref/now.png" "$work/ref/$name.png"
  mv "$work/ref/now.png" "$work/ref/last.png"
}

# The host's panel under Xvfb $disp against knitsim on $port: started, then ready (READY=1) or,
# with the data disk's stand-in told, showing that message in a window of its own.
host_panel() { # ROOT [stand-in]
  local root=$1 notify
  rm -f "$root/notify.sock" "$root/notify.out" "$root/panel/run/knitpanel/data-disk-missing"
  [ -n "${2:-}" ] && mkdir -p "$root/panel/run/knitpanel" && : >"$root/panel/run/knitpanel/data-disk-missing"
  socat -u UNIX-RECV:"$root/notify.sock" - >"$root/notify.out" 2>/dev/null &
  notify=$!
  for _ in $(seq 100); do [ -S "$root/notify.sock" ] && break; sleep 0.05; done
  DISPLAY=$disp KNIT_ROOT="$root/panel" KNIT_PORT_OFFSET=$offset KNIT_CONTROLLER_HOST=127.0.0.1 KNIT_BUZZER=off \
    NOTIFY_SOCKET="$root/notify.sock" WATCHDOG_USEC=15000000 "$bin/knitpanel" >>"$root/panel.log" 2>&1 &
  host_panel_pids="$! $notify"
  host_pids="$host_pids $host_panel_pids"
  for _ in $(seq 600); do
    if [ -n "${2:-}" ]; then
      [ "$(DISPLAY=$disp xdotool search --onlyvisible --class knitpanel 2>/dev/null | wc -l)" -ge 2 ] && return 0
    else
      grep -q READY=1 "$root/notify.out" && return 0
    fi
    sleep 0.05
  done
  return 1
}

# Every page the boot test waits for, on the host's panel with the same job, the stick an
# emulated one holding the update: $work/ref/NAME.png; $work/host.png is the main screen.
host_pages() {
  local root=$work/host line port
  local stick=$root/panel/dev/scsi/host0/bus0/target0/lun0
  disp=:$((90 + RANDOM % 500)) offset=$((20000 + 400 * (RANDOM % 90)))
  mkdir -p "$root/panel/mnt/ide/knit/wave" "$root/panel/mnt/ide/knit/para" "$root/panel/mnt/usb" "$root/panel/tmp" \
    "$root/sim" "$stick" "$work/ref"
  touch "$stick/disc" "$stick/part1"
  cp "$bin/knitpanel" "$root/panel/mnt/usb/KNIT_NEW"
  printf 'boot-test update\n' >>"$root/panel/mnt/usb/KNIT_NEW"
  "$bin/knitjob" make TEST01 --dir "$root/panel/mnt/ide/knit/wave" --rows 120 --width 240 --height 120 >/dev/null
  cp "$root/panel/mnt/ide/knit/wave/TEST01/TEST01".* "$root/sim/"
  Xvfb "$disp" -screen 0 640x480x24 -nolisten tcp >/dev/null 2>&1 &
  host_pids=$!
  mkfifo "$root/sim.out"
  "$bin/knitsim" --root "$root/sim" --control 0 --port-offset "$offset" >"$root/sim.out" 2>&1 &
  host_pids="$host_pids $!"
  exec {simout}<"$root/sim.out"
  IFS= read -r -t 20 line <&"$simout" && port=$(sed -n 's/^knitsim ready control \([0-9]*\).*/\1/p' <<<"$line")
  cat <&"$simout" >/dev/null &
  host_pids="$host_pids $!"
  cp "$root/sim/file.sys" "$root/panel/mnt/ide/knit/para/checksystem.sys"
  cp "$root/sim/config.cfg" "$root/panel/mnt/ide/knit/para/checkconfig.cfg"
  exec {ctl}<>"/dev/tcp/127.0.0.1/$port"
  printf 'set job TEST01\n' >&"$ctl"
  IFS= read -r -t 10 line <&"$ctl"
  : >"$work/ref/last.png"
  host_walk_sound=1
  # First the start on the data disk's stand-in, then the whole walk on a panel started as usual.
  export DISPLAY=$disp
  host_panel "$root" stand-in && host_step disk-missing
  kill $host_panel_pids 2>/dev/null
  wait $host_panel_pids 2>/dev/null
  : >"$work/ref/last.png"
  host_panel "$root" && host_walk
  local walked=$?
  cp "$work/ref/main.png" "$work/host.png"
  kill $host_pids 2>/dev/null
  wait $host_pids 2>/dev/null
  exec {ctl}>&- {simout}<&-
  return $walked
}

host_walk() {
  host_step main
  host_step params 1
  host_step main esc
  host_step menu7 7
  host_step password h
  host_step service 7 0 6 3 ret
  host_step backup 3
  host_step backup-ask 4
  host_step backup-done ret
  host_step backup ret
  host_step export 5
  host_step stick-files 1 2 ret
  host_step export-done ret
  host_step backup ret
  host_step restore-ask 2
  host_step restore-done ret
  host_step backup ret
  host_step stick-files 3
  host_step stick-restored ret
  host_step backup ret
  host_step service esc
  host_step update 7
  host_step stick-files 1
  host_step updated ret
  [ "$host_walk_sound" = 1 ]
}
