#!/usr/bin/env bash
# The measurement command: builds the benchmarks (native Release, in
# build/bench) and runs each measurement in turn. Every step prints its
# figures as table rows, "| figure | value | baseline | ratio | target |",
# each ratio against a baseline measured in the same run; the table of all
# of them is printed again at the end. Not part of scripts/test.sh. Needs the
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
  output=$("$@" | tee /dev/stderr) || die "$title failed"
  mapfile -t -O "${#ROWS[@]}" ROWS < <(grep '^| ' <<<"$output" || true)
  step_done
}

step "Building the benchmarks (native Release, build/bench)"
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release >"$LOGS/bench-build.log" 2>&1 &&
  cmake --build "$BUILD" --target picture_decode_benchmark >>"$LOGS/bench-build.log" 2>&1 ||
  die "build failed; see build/logs/bench-build.log"
step_done

measure "JPEG decoding: loaded for display vs full size" "$BUILD/bench/picture_decode_benchmark"

echo
echo "| figure | value | baseline | ratio | target |"
echo "|---|---|---|---|---|"
printf '%s\n' "${ROWS[@]}"
