#!/usr/bin/env bash
# Makes the README's pictures from the real program under Wine: the settings
# window as a first start shows it, and a popup over a desktop. Run it after
# any change to how the window or the popup looks.
#   scripts/readme-pictures.sh [BUILD_DIR]   default build/win64 (built already)
# Writes docs/settings-window.png and docs/popup.png; works in
# BUILD_DIR/readme-pictures (its own Wine prefix) on a virtual display of its
# own (xvfb-run).
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
SCRIPT_NAME=readme-pictures
# shellcheck source=scripts/common.sh
source "$ROOT/scripts/common.sh"
BUILD=$(cd "${1:-$ROOT/build/win64}" && pwd)
EXE=$BUILD/app/tarnwick.exe
[[ -f $EXE ]] || die "$EXE is missing; build the win64 preset first"
WORK=$BUILD/readme-pictures
OUT=$ROOT/docs
mkdir -p "$WORK" "$OUT"

# A display of its own, so the pictures do not depend on what else is shown.
on_private_display || XVFB_SCREEN=1024x700x24 rerun_on_private_display "$ROOT/scripts/readme-pictures.sh" "$BUILD"
export TARNWICK_WINEPREFIX=$WORK/wineprefix LANG=ja_JP.UTF-8
trap 'WINEPREFIX=$TARNWICK_WINEPREFIX "$WINESERVER" -k >/dev/null 2>&1 || true' EXIT
"$ROOT/scripts/wine-run.sh" --init

settings=$(find "$TARNWICK_WINEPREFIX/drive_c/users" -path '*/AppData/Roaming' -print -quit)/Fellmoor/Tarnwick
# Started directly, not through wine-run.sh, which would start a program
# that ends without a word once more.
WINE=/usr/lib/wine/wine64
[[ -x $WINE ]] || WINE=$(command -v wine64 || command -v wine)
start_program() {
  WINEPREFIX=$TARNWICK_WINEPREFIX WINEDEBUG=-all "$WINE" "$EXE" >>"$WORK/tarnwick.log" 2>&1 &
  PROGRAM=$!
}
end_program() {
  WINEPREFIX=$TARNWICK_WINEPREFIX "$WINESERVER" -k >/dev/null 2>&1 || true
  wait "$PROGRAM" 2>/dev/null || true
}
# Few colours: the pictures stay a few tens of kilobytes.
save_png() { convert "$1" -strip +dither -colors 192 "PNG8:$2"; }

step "The settings window, as a first start shows it"
rm -rf "$settings"
start_program
# The settings window, not the program's 1 x 1 taskbar window of that name.
settings_window() {
  local id
  for id in $(xdotool search --onlyvisible --name '^Tarnwick$'); do
    [[ $(xwininfo -id "$id" | awk '/Width:/ { print $2 }') -gt 50 ]] && { echo "$id"; return; }
  done
}
window=
for _ in {1..100}; do window=$(settings_window) && [[ -n $window ]] && break; sleep 0.2; done
[[ -n $window ]] || die "the settings window did not appear"
sleep 2
import -window "$window" "$WORK/settings-window.png"
end_program
save_png "$WORK/settings-window.png" "$OUT/settings-window.png"
step_done "docs/settings-window.png"

step "A popup over the desktop"
# A later start, hidden, with no idle time: the first tick that sees the
# pointer somewhere new shows the popup there, for ten seconds.
mkdir -p "$settings"
printf '%s\n' '<?xml version="1.0" encoding="utf-8"?>' \
  '<root><Config><Cursor Type="9">30</Cursor><Splash Type="9">9</Splash><First Type="2">0</First></Config></root>' \
  >"$settings/Tarnwick.xml"
xdotool mousemove 512 350
start_program
sleep 3
# A desktop under it: Xvfb's root is black, Wine paints it black again as it
# starts, and only a picture set as its background changes that.
convert -size 1024x700 gradient:'#4a7fb5'-'#1f4f80' "$WORK/desktop.png"
display -window root "$WORK/desktop.png" || true  # sets it, then finds no window of its own to show
sleep 0.5
import -window root -crop 640x480+192+110 +repage "$WORK/popup.png"
end_program
save_png "$WORK/popup.png" "$OUT/popup.png"
step_done "docs/popup.png"
ls -l "$OUT"/*.png
