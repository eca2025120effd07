#!/usr/bin/env bash
# An X display whose monitors Wine sees side by side, for the end-to-end
# tests and scripts/run.sh: Xorg with the dummy video driver, laid out with
# xrandr (Xvfb cannot lay out monitors for Wine).
#   xorg-monitors.sh start DIR    writes DIR/xorg-monitors.conf, starts Xorg on
#                                 a free display of :110..:119 (log in DIR) and
#                                 prints ":N PID" once the server takes layout
#                                 changes; stop it by its pid
#   xorg-monitors.sh layout NAME  arranges the monitors of $DISPLAY, in Wine's
#                                 coordinates (the 1024x768 primary at 0,0):
#       one    the primary alone
#       right  an 800x600 monitor to its right, at 1024,0
#       left   that monitor to its left instead, at -800,0
#       apart  that monitor one pixel apart to the right, at 1025,0: X keeps
#              the pointer on monitors that touch, so only monitors apart let
#              it onto no monitor, as in the gap below the smaller one
#       three  as right, and a third 800x600 monitor right of it, at 1824,0
set -euo pipefail

die() { echo "xorg-monitors: $*" >&2; exit 1; }

# The smaller monitors' mode: 800x600 at 60 Hz (cvt 800 600).
MODE=tarnwick-800x600
MODELINE=(38.25 800 832 912 1024 600 603 607 624 -hsync +vsync)

write_config() {
  cat >"$1" <<'EOF'
# No input devices and no hardware: a framebuffer that holds three monitors
# side by side (1024 + 800 + 800 wide).
Section "ServerFlags"
  Option "AutoAddDevices" "false"
  Option "AutoEnableDevices" "false"
  Option "DontVTSwitch" "true"
EndSection
Section "Device"
  Identifier "card"
  Driver "dummy"
  VideoRam 65536
EndSection
Section "Monitor"
  Identifier "monitor"
  HorizSync 5.0 - 1000.0
  VertRefresh 5.0 - 200.0
EndSection
Section "Screen"
  Identifier "screen"
  Device "card"
  Monitor "monitor"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Virtual 2624 768
  EndSubSection
EndSection
EOF
}

answers() { xdpyinfo -display "$1" >/dev/null 2>&1; }

# taken NUMBER: whether another server holds that display number.
taken() {
  local pid
  answers ":$1" && return 0
  [[ -f /tmp/.X$1-lock ]] || return 1
  pid=$(tr -dc '0-9' <"/tmp/.X$1-lock" || true)
  [[ -n $pid ]] && kill -0 "$pid" 2>/dev/null
}

start() {
  local dir=$1 n pid
  mkdir -p "$dir"
  dir=$(cd "$dir" && pwd)
  write_config "$dir/xorg-monitors.conf"
  for n in {110..119}; do
    taken "$n" && continue
    # setsid and closed descriptors: the server must not hold a caller's pipe.
    setsid Xorg ":$n" -config "$dir/xorg-monitors.conf" -noreset -nolisten tcp \
      -logfile "$dir/xorg-$n.log" </dev/null >/dev/null 2>&1 &
    pid=$!
    for _ in {1..100}; do
      answers ":$n" && break
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    if answers ":$n"; then
      # Layout changes made right after the server answers are lost now and then.
      sleep 2
      DISPLAY=:$n prepare_outputs || { kill "$pid"; die "xrandr could not prepare :$n"; }
      echo ":$n $pid"
      return 0
    fi
    kill "$pid" 2>/dev/null || true
  done
  die "could not start Xorg with the dummy driver on any of :110..:119 (logs in $dir)"
}

prepare_outputs() {
  xrandr --newmode "$MODE" "${MODELINE[@]}"
  xrandr --addmode DUMMY1 "$MODE"
  xrandr --addmode DUMMY2 "$MODE"
  xrandr --output DUMMY0 --primary
}

layout() {
  local second third=(--output DUMMY2 --off)
  case $1 in
    one) second=(--off) ;;
    right) second=(--mode "$MODE" --right-of DUMMY0) ;;
    left) second=(--mode "$MODE" --left-of DUMMY0) ;;
    apart) second=(--mode "$MODE" --pos 1025x0) ;;
    three)
      second=(--mode "$MODE" --right-of DUMMY0)
      third=(--output DUMMY2 --mode "$MODE" --right-of DUMMY1)
      ;;
    *) die "no layout named $1" ;;
  esac
  # The primary first, back at the origin that another layout may have moved.
  xrandr --output DUMMY0 --pos 0x0 --output DUMMY1 "${second[@]}" "${third[@]}"
  # Wine takes the change only once the server has been asked about it.
  xrandr --listmonitors >/dev/null
}

case ${1:-} in
  start) [[ $# == 2 ]] || die "usage: xorg-monitors.sh start DIR"; start "$2" ;;
  layout) [[ $# == 2 ]] || die "usage: xorg-monitors.sh layout one|right|left|apart|three"; layout "$2" ;;
  *) die "usage: xorg-monitors.sh start DIR | layout one|right|left|apart|three" ;;
esac
