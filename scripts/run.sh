#!/usr/bin/env bash
# Sets up the machine, builds Tarnwick for 64-bit Windows (run here under
# Wine) and 32-bit Windows (the release exe), then starts tarnwick.exe under
# Wine on your display. Without a display it runs on a private Xvfb display
# for a few seconds and saves a screenshot instead.
#   scripts/run.sh --monitors 2   runs it headless on two monitors side by side
#       (scripts/xorg-monitors.sh), with the crossing sound on and Wine's trace
#       of its sound calls in build/run/; moves the pointer across to the
#       second monitor, where a popup opens, and saves a screenshot of both
#   TARNWICK_RUN_SECONDS  how long the headless run waits before the screenshot (default 5)
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
LOGS=$ROOT/build/logs
RUN_DIR=$ROOT/build/run
mkdir -p "$LOGS" "$RUN_DIR"

SCRIPT_NAME=run
# shellcheck source=scripts/common.sh
source "$ROOT/scripts/common.sh"

monitors=1
case "${1:-} ${2:-}" in
  " ") ;;
  "--monitors 1" | "--monitors 2") monitors=$2 ;;
  *) die "usage: scripts/run.sh [--monitors 1|2]" ;;
esac

scripts/setup.sh

for preset in win64 win32; do
  echo "==> Building preset $preset (log: build/logs/$preset-build.log)"
  if ! { cmake --preset "$preset" >"$LOGS/$preset-configure.log" 2>&1 &&
         cmake --build --preset "$preset" >"$LOGS/$preset-build.log" 2>&1; }; then
    tail -n 40 "$LOGS/$preset-configure.log" "$LOGS/$preset-build.log" 2>/dev/null >&2
    die "the $preset build failed"
  fi
done

find_exe() { find "$ROOT/build/$1" -name wineprefix -prune -o -name tarnwick.exe -type f -print -quit; }
exe=$(find_exe win64)
release=$(find_exe win32)
[[ -n $exe ]] || die "the win64 build made no tarnwick.exe"
[[ -n $release ]] && echo "Release exe (32-bit): ${release#"$ROOT"/}"

# The settings window is Japanese: Wine draws it with a Japanese font only in
# a Japanese locale.
export LANG=ja_JP.UTF-8

# ---------------------------------------------------------------- two monitors

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

# A settings file as the program writes it: the built-in crossing sound, no
# idle time (each move after a rest opens a popup), popups of 3 s, hidden start.
write_two_monitor_settings() {
  local appdata
  appdata=$(find "$TARNWICK_WINEPREFIX/drive_c/users" -mindepth 3 -maxdepth 3 -path '*/AppData/Roaming' -print -quit)
  mkdir -p "$appdata/Fellmoor/Tarnwick"
  printf '%s\n' '<?xml version="1.0" encoding="utf-8"?>' '<root>' $'\t<Config>' \
    $'\t\t<Cursor Type="9">30</Cursor>' $'\t\t<Splash Type="9">2</Splash>' $'\t\t<Picture Type="10"></Picture>' \
    $'\t\t<Size Type="9">1</Size>' $'\t\t<First Type="2">0</First>' $'\t\t<WavFile Type="10"></WavFile>' \
    $'\t\t<Wav Type="9">1</Wav>' $'\t</Config>' '</root>' >"$appdata/Fellmoor/Tarnwick/Tarnwick.xml"
}

# popup_after_move X Y: moves the pointer there once a tick has seen it rest
# and prints where the popup that opens lies.
popup_after_move() {
  sleep 1.2
  xdotool mousemove "$1" "$2"
  popup_within 5 || die "no popup opened at $1,$2"
}

run_on_two_monitors() {
  local started program popup log=$RUN_DIR/tarnwick-2-monitors.log shot=$RUN_DIR/screenshot-2-monitors.png
  echo "==> Starting Xorg with two monitors side by side"
  started=$(scripts/xorg-monitors.sh start "$RUN_DIR") || die "could not start the two-monitor display"
  read -r DISPLAY XORG_PID <<<"$started"
  export DISPLAY
  # A prefix of its own: this run writes its settings file.
  export TARNWICK_WINEPREFIX=$RUN_DIR/wineprefix-2-monitors
  stop() {
    WINEPREFIX=$TARNWICK_WINEPREFIX "$WINESERVER" -k >/dev/null 2>&1 || true
    kill "$XORG_PID" 2>/dev/null || true
  }
  trap stop EXIT
  scripts/xorg-monitors.sh layout right
  # Wine takes the layout only while its desktop runs and a process asks.
  scripts/wine-run.sh --init
  wait_for 20 "2 0,0,1024,768 1024,0,1824,600" monitors || die "Wine does not report two monitors: $(probe monitors)"
  echo "    $DISPLAY: the primary monitor, 1024x768 at 0,0, and an 800x600 one right of it at 1024,0"

  write_two_monitor_settings
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
}

if [[ $monitors == 2 ]]; then
  run_on_two_monitors
  exit 0
fi

# ---------------------------------------------------------------- one monitor

# Its own Wine prefix, apart from the tests': the settings file lives in it.
export TARNWICK_WINEPREFIX=$RUN_DIR/wineprefix

if [[ -n ${DISPLAY:-} ]] && xdpyinfo >/dev/null 2>&1; then
  echo "==> Starting ${exe#"$ROOT"/} under Wine on $DISPLAY (it runs hidden; start it again for its settings window)"
  exec scripts/wine-run.sh "$exe"
fi

echo "==> No display: running on a private Xvfb display"
start_private_display
stop() {
  WINEPREFIX=$TARNWICK_WINEPREFIX "$WINESERVER" -k >/dev/null 2>&1 || true
  stop_private_display
}
trap stop EXIT

scripts/wine-run.sh --init
scripts/wine-run.sh "$exe" >"$RUN_DIR/tarnwick.log" 2>&1 &
sleep 3
# After the first run the program starts hidden: a second start shows its
# settings window, as it would for a user.
scripts/wine-run.sh "$exe" >>"$RUN_DIR/tarnwick.log" 2>&1
sleep "${TARNWICK_RUN_SECONDS:-5}"
shot=$RUN_DIR/screenshot.png
import -display "$DISPLAY" -window root "$shot"
echo "Screenshot of the virtual screen: ${shot#"$ROOT"/} (program output: build/run/tarnwick.log)"
