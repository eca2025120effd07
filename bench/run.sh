#!/usr/bin/env bash
# Runs every benchmark, one step after another; each step prints lines of
#   figure | value | baseline | ratio | target
# with its baseline measured in the same run. Not part of scripts/test.sh:
# it takes minutes and wants a quiet machine. Not niced: the figures are CPU
# times, and a starved program would show fewer frames, not less work.
#   bench/run.sh    (after the win64 preset is built)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
win64=$root/build/win64

step() { echo "== $*" >&2; }

step "idle cost under Wine: tarnwick.exe beside a minimal timer program, 60 s, 3 runs"
python3 "$root/bench/wine/measure_wine.py" "$win64" idle
step "popup cost under Wine: 600x600 GIF at 25 fps beside a still JPEG, 3 runs"
python3 "$root/bench/wine/measure_wine.py" "$win64" popup
