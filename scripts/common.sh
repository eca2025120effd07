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

# display_answers: whether $DISPLAY names an X display that answers.
display_answers() { [[ -n ${DISPLAY:-} ]] && xdpyinfo >/dev/null 2>&1; }

# rerun_on_private_display SCRIPT [ARGS...]: runs SCRIPT again with ARGS on a
# virtual X display of its own (xvfb-run, WIDTHxHEIGHTxDEPTH from
# $XVFB_SCREEN, default 1920x1080x24; Xvfb's output to $XVFB_LOG) and ends
# with its exit code. In that run, on_private_display is true.
rerun_on_private_display() {
  local script=$1; shift
  export TARNWICK_PRIVATE_DISPLAY=$SCRIPT_NAME
  exec xvfb-run -a -e "${XVFB_LOG:-/dev/null}" -s "-screen 0 ${XVFB_SCREEN:-1920x1080x24} -noreset" "$script" "$@"
}
on_private_display() { [[ ${TARNWICK_PRIVATE_DISPLAY:-} == "$SCRIPT_NAME" ]]; }
