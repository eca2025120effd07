# shellcheck shell=bash
# Shared by the scripts: step timing, errors, and the private X display.
# Set SCRIPT_NAME and ROOT before sourcing.

seconds_since() { awk -v a="$1" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.1f", b - a }'; }
STEP_T0=
step() { STEP_T0=$EPOCHREALTIME; echo "==> $*"; }
step_done() { echo "    ${1:-done} ($(seconds_since "$STEP_T0") s)"; }
die() { echo "$SCRIPT_NAME: error: $*" >&2; exit 1; }

# The wineserver matching the wine64 loader that scripts/wine-run.sh uses.
WINESERVER=/usr/lib/wine/wineserver64
[[ -x $WINESERVER ]] || WINESERVER=$(command -v wineserver || true)

# Exports DISPLAY for a private Xvfb display (reusing one this user's earlier
# run left); STARTED_DISPLAY=1 when this call started it.
start_private_display() {
  local state=${TMPDIR:-/tmp}/tarnwick-xvfb-$UID before=
  if [[ -f $state/display ]] && xdpyinfo -display ":$(<"$state/display")" >/dev/null 2>&1; then
    before=":$(<"$state/display")"
  fi
  DISPLAY=$("$ROOT/scripts/xvfb-display.sh") || die "could not start Xvfb"
  export DISPLAY
  STARTED_DISPLAY=0
  [[ $DISPLAY == "$before" ]] || STARTED_DISPLAY=1
}

# Stops the display that start_private_display started, and only that one.
stop_private_display() {
  [[ ${STARTED_DISPLAY:-0} == 1 ]] || return 0
  local lock=/tmp/.X${DISPLAY#:}-lock pid
  [[ -f $lock ]] || return 0
  pid=$(tr -dc '0-9' <"$lock" || true)
  [[ -z $pid ]] || kill "$pid" 2>/dev/null || true
}
