#!/usr/bin/env bash
# Sets up the machine, builds Tarnwick for 64-bit Windows (run here under
# Wine) and 32-bit Windows (the release exe), then starts tarnwick.exe under
# Wine on your display. Without a display it runs on a private Xvfb display
# (xvfb-run) for a few seconds and saves a screenshot instead.
#   scripts/run.sh --monitors 2   runs it headless on two monitors instead
#       (scripts/run-two-monitors.sh): the crossing sound's calls and a popup
#       on the second monitor
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

if ! on_private_display; then
  scripts/setup.sh
  # Without a display of yours, the whole run goes on a private one: the
  # win64 build already starts its test programs to list their tests.
  if ! display_answers; then
    echo "==> No display: running on a private Xvfb display"
    rerun_on_private_display "$ROOT/scripts/run.sh" "$@"
  fi
fi

for preset in win64 win32; do
  echo "==> Building preset $preset (log: build/logs/$preset-build.log)"
  if ! cmake --workflow --preset "$preset" >"$LOGS/$preset-build.log" 2>&1; then
    tail -n 40 "$LOGS/$preset-build.log" >&2
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

if [[ $monitors == 2 ]]; then
  exec scripts/run-two-monitors.sh "$exe"
fi

# Its own Wine prefix, apart from the tests': the settings file lives in it.
export TARNWICK_WINEPREFIX=$RUN_DIR/wineprefix

if ! on_private_display; then
  echo "==> Starting ${exe#"$ROOT"/} under Wine on $DISPLAY (it runs hidden; start it again for its settings window)"
  exec scripts/wine-run.sh "$exe"
fi

trap 'WINEPREFIX=$TARNWICK_WINEPREFIX "$WINESERVER" -k >/dev/null 2>&1 || true' EXIT
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
