#!/usr/bin/env bash
# The two-monitor run of scripts/run.sh --monitors 2, after its build:
#   run-two-monitors.sh TARNWICK.EXE
# Starts Xorg with two monitors side by side (scripts/xorg-monitors.sh) and
# runs the program there headless, hidden, with the built-in crossing sound
# and Wine's winmm trace of its sound calls in build/run/. The pointer
# crosses to the second monitor, where a popup opens, and back; the script
# prints each sound call and saves a screenshot of both monitors.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
RUN_DIR=$ROOT/build/run
mkdir -p "$RUN_DIR"
SCRIPT_NAME=run-two-monitors
# shellcheck source=scripts/common.sh
source "$ROOT/scripts/common.sh"

[[ $# == 1 ]] || die "usage: run-two-monitors.sh TARNWICK.EXE"
exe=$1
log=$RUN_DIR/tarnwick-2-monitors.log
shot=$RUN_DIR/screenshot-2-monitors.png
# A prefix of its own: this run writes its settings file.
export TARNWICK_WINEPREFIX=$RUN_DIR/wineprefix-2-monitors

probe() { scripts/wine-run.sh "$ROOT/build/win64/tests/e2e/e2e_probe.exe" "$@" 2>/dev/null | tr -d '\r'; }

# wait_for SECONDS ANSWER ARGS...: polls the probe until it answers ANSWER.
wait_for() {
  local deadline=$((SECONDS + $1)) answer=$2
  shift 2
  until [[ $(probe "$@") == "$answer" ]]; do
    ((SECONDS < deadline)) || return 1
    sleep 0.2
  done
}

# popup_within SECONDS: prints "left top right bottom" of the program's popup
# once one is up.
popup_within() {
  local deadline=$((SECONDS + $1)) popup
  until popup=$(probe splash) && [[ $popup != none ]]; do
    ((SECONDS < deadline)) || return 1
    sleep 0.2
  done
  cut -d' ' -f1-4 <<<"$popup"
}

# popup_after_move X Y: moves the pointer there once a tick has seen it rest
# and prints where the popup that opens lies.
popup_after_move() {
  sleep 1.2
  xdotool mousemove "$1" "$2"
  popup_within 5 || die "no popup opened at $1,$2"
}

# A settings file as the program writes it: the built-in crossing sound, no
# idle time (each move after a rest opens a popup), popups of 3 s, hidden start.
write_settings() {
  local appdata t=$'\t'
  appdata=$(find "$TARNWICK_WINEPREFIX/drive_c/users" -mindepth 3 -maxdepth 3 -path '*/AppData/Roaming' -print -quit)
  mkdir -p "$appdata/Fellmoor/Tarnwick"
  cat >"$appdata/Fellmoor/Tarnwick/Tarnwick.xml" <<EOF
<?xml version="1.0" encoding="utf-8"?>
<root>
$t<Config>
$t$t<Cursor Type="9">30</Cursor>
$t$t<Splash Type="9">2</Splash>
$t$t<Picture Type="10"></Picture>
$t$t<Size Type="9">1</Size>
$t$t<First Type="2">0</First>
$t$t<WavFile Type="10"></WavFile>
$t$t<Wav Type="9">1</Wav>
$t</Config>
</root>
EOF
}

echo "==> Starting Xorg with two monitors side by side"
started=$(scripts/xorg-monitors.sh start "$RUN_DIR") || die "could not start the two-monitor display"
read -r DISPLAY xorg_pid <<<"$started"
export DISPLAY
stop() {
  WINEPREFIX=$TARNWICK_WINEPREFIX "$WINESERVER" -k >/dev/null 2>&1 || true
  kill "$xorg_pid" 2>/dev/null || true
}
trap stop EXIT
scripts/xorg-monitors.sh layout right
# Wine takes the layout only while its desktop runs and a process asks.
scripts/wine-run.sh --init
wait_for 20 "2 0,0,1024,768 1024,0,1824,600" monitors || die "Wine does not report two monitors: $(probe monitors)"
echo "    $DISPLAY: the primary monitor, 1024x768 at 0,0, and an 800x600 one right of it at 1024,0"

write_settings
xdotool mousemove 300 300
TARNWICK_WINEDEBUG=trace+winmm scripts/wine-run.sh "$exe" >"$log" 2>&1 &
program=$!
wait_for 30 hidden main-state || die "the program did not start hidden (see ${log#"$ROOT"/})"
# The first tick takes the start for a move and opens a popup there.
popup_within 5 >/dev/null || true
wait_for 10 none splash || die "the popup at start did not close"

popup=$(popup_after_move 1400 300)
import -display "$DISPLAY" -window root "$shot"
# The monitors' edges, which the black screen does not show.
mogrify -fill none -stroke gray -draw 'rectangle 0,0 1023,767' -draw 'rectangle 1024,0 1823,599' "$shot"
echo "==> Pointer moved across to 1400,300 on the second monitor: a popup at $popup (left top right bottom)"
wait_for 10 none splash || die "the popup on the second monitor did not close"
popup=$(popup_after_move 300 300)
echo "==> And back to 300,300 on the primary: a popup at $popup"
probe close-main >/dev/null
wait "$program" || true
echo "Sound calls, a stop and a play at each crossing (Wine's winmm trace in ${log#"$ROOT"/}):"
grep 'MULTIMEDIA_PlaySound' "$log" | sed 's/^/    /'
echo "Screenshot of both monitors, the popup on the second: ${shot#"$ROOT"/}"
