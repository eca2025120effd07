#!/usr/bin/env bash
# The measurement command: builds the benchmarks (the bench workflow: native
# Release, in build/bench) and the programs measured under Wine (bench-win64)
# and runs each measurement in turn. Every step prints its figures as table
# rows, "| figure | value | baseline | ratio | target |", each ratio against
# a baseline measured in the same run; the table of all of them is printed
# again at the end. Not part of scripts/test.sh. Needs the
# machine set up once by scripts/setup.sh (scripts/test.sh runs it).
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
SCRIPT_NAME="bench"
# shellcheck source=scripts/common.sh
source "$ROOT/scripts/common.sh"
BUILD=$ROOT/build/bench
LOGS=$ROOT/build/logs
mkdir -p "$LOGS"
ROWS=()

# measure TITLE CMD...: runs one measurement, showing its output, and keeps
# the table rows it prints.
measure() {
  local title=$1 output; shift
  step "$title"
  # Shown through the standard error already open: opening /dev/stderr
  # again would cut a log file that it goes to.
  output=$("$@" | tee >(cat >&2)) || die "$title failed"
  mapfile -t -O "${#ROWS[@]}" ROWS < <(grep '^| ' <<<"$output" || true)
  step_done
}

step "Building the benchmarks (preset bench: native Release, build/bench)"
cmake --workflow --preset bench >"$LOGS/bench-build.log" 2>&1 || die "build failed; see build/logs/bench-build.log"
step_done

measure "JPEG decoding: loaded for display vs libjpeg-turbo's scaled decode and a full-size decode" \
  "$BUILD/bench/picture_decode_benchmark"

# The program itself under Wine: idle, the popup playing an animation, and
# how soon a popup shows its picture. CPU time is the figure, so these run
# at normal priority, one at a time.
step "Building the programs measured under Wine (preset bench-win64: those programs of build/win64)"
cmake --workflow --preset bench-win64 >"$LOGS/bench-win64.log" 2>&1 || die "build failed; see build/logs/bench-win64.log"
step_done
measure "Idle under Wine: tarnwick.exe beside a minimal pointer-reading program, and with GIFs chosen (3 x 60 s)" \
  python3 "$ROOT/bench/wine/measure_wine.py" "$ROOT/build/win64" idle
measure "Popup under Wine: two GIFs beside the minimal animation program (frames made before, and at each show), and the built-in picture (3 runs)" \
  python3 "$ROOT/bench/wine/measure_wine.py" "$ROOT/build/win64" popup
measure "First paint under Wine: a GIF popup and a still JPEG popup (2 runs)" \
  python3 "$ROOT/bench/wine/measure_wine.py" "$ROOT/build/win64" first-paint

echo
echo "| figure | value | baseline | ratio | target |"
echo "|---|---|---|---|---|"
printf '%s\n' "${ROWS[@]}"
