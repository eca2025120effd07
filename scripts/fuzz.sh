#!/usr/bin/env bash
# The long fuzzing run: sets up the machine, builds the fuzz preset and runs
# each libFuzzer target (all, or the ones named: scripts/fuzz.sh settings)
# for TARNWICK_FUZZ_SECONDS (default 600) from its saved corpus, two targets
# at a time. Findings are crashes, leaks, inputs slower than
# TARNWICK_FUZZ_TIMEOUT seconds (default 10), a single allocation over 256 MB
# and more than 2 GB in all.
#
# The grown corpus is kept in build/fuzz/corpus/<target>, findings in
# build/fuzz/findings, logs in build/fuzz/logs. Ends with one line per target
# and exits non-zero when any target had a finding or did not run.
# TARNWICK_SKIP_SETUP=1 skips scripts/setup.sh on a machine already set up.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
SCRIPT_NAME="fuzz"
# shellcheck source=scripts/common.sh
source "$ROOT/scripts/common.sh"

FUZZ_SECONDS=${TARNWICK_FUZZ_SECONDS:-600}
INPUT_TIMEOUT=${TARNWICK_FUZZ_TIMEOUT:-10}
PARALLEL=2
OUT=$ROOT/build/fuzz
T0=$EPOCHREALTIME

[[ ${TARNWICK_SKIP_SETUP:-0} == 1 ]] || scripts/setup.sh

step "Building preset fuzz"
mkdir -p "$OUT/logs" "$OUT/findings"
if ! cmake --workflow --preset fuzz >"$OUT/logs/build.log" 2>&1; then
  tail -n 40 "$OUT/logs/build.log" >&2
  die "the fuzz build failed (build/fuzz/logs/build.log)"
fi
step_done

TARGETS=("$@")
if [[ ${#TARGETS[@]} -eq 0 ]]; then
  for fuzzer in "$OUT"/tests/fuzz/*_fuzzer; do TARGETS+=("$(basename "$fuzzer" _fuzzer)"); done
fi
for name in "${TARGETS[@]}"; do
  [[ -x $OUT/tests/fuzz/${name}_fuzzer ]] || die "no fuzz target named $name"
done

# fuzz_one NAME: one target's run, output in its log.
fuzz_one() {
  local name=$1
  local dict=tests/fuzz/$name.dict options=()
  mkdir -p "$OUT/corpus/$name"
  [[ -f $dict ]] && options+=("-dict=$dict")
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    "$OUT/tests/fuzz/${name}_fuzzer" -max_total_time="$FUZZ_SECONDS" -timeout="$INPUT_TIMEOUT" \
    -rss_limit_mb=2048 -malloc_limit_mb=256 -detect_leaks=1 -print_final_stats=1 "${options[@]}" \
    -artifact_prefix="$OUT/findings/$name-" "$OUT/corpus/$name" "tests/fuzz/corpus/$name" \
    >"$OUT/logs/$name.log" 2>&1
}

# final_stat LOG NAME: one of libFuzzer's final figures.
final_stat() { sed -n "s/^stat::$2: *//p" "$1" | tail -n 1; }

# report NAME EXIT_CODE: the target's line; returns 1 for a finding.
report() {
  local name=$1 rc=$2 log=$OUT/logs/$1.log findings runs seconds
  findings=$(sed -n 's/.*Test unit written to \(.*\)$/\1/p' "$log")
  runs=$(final_stat "$log" number_of_executed_units)
  seconds=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log")
  if [[ $rc -eq 0 && -z $findings && -n $runs ]]; then
    echo "    $name: $runs runs in ${seconds:-?} s, $(final_stat "$log" new_units_added) new inputs," \
      "corpus $(find "$OUT/corpus/$name" -type f | wc -l) files, slowest input $(final_stat "$log" slowest_unit_time_sec) s," \
      "peak $(final_stat "$log" peak_rss_mb) MB, no findings"
    return 0
  fi
  echo "    $name: FAILED (exit code $rc, ${runs:-no} runs), see ${log#"$ROOT"/}"
  local finding
  for finding in $findings; do
    echo "      finding: ${finding#"$ROOT"/}"
    echo "      minimise: $OUT/tests/fuzz/${name}_fuzzer -minimize_crash=1 -runs=100000 $finding"
  done
  return 1
}

step "Fuzzing ${#TARGETS[@]} targets for $FUZZ_SECONDS s each, $PARALLEL at a time"
declare -A RUNNING=()
declare -A CODES=()
# wait_one: waits for any running target and keeps its exit code.
wait_one() {
  local pid rc=0
  wait -n -p pid || rc=$?
  CODES[${RUNNING[$pid]}]=$rc
  unset "RUNNING[$pid]"
}
for name in "${TARGETS[@]}"; do
  while [[ ${#RUNNING[@]} -ge $PARALLEL ]]; do wait_one; done
  echo "    started $name"
  fuzz_one "$name" &
  RUNNING[$!]=$name
done
while [[ ${#RUNNING[@]} -gt 0 ]]; do wait_one; done
step_done

echo
echo "==> Fuzzing summary ($(seconds_since "$T0") s in all)"
failed=0
for name in "${TARGETS[@]}"; do report "$name" "${CODES[$name]}" || failed=$((failed + 1)); done
echo "$((${#TARGETS[@]} - failed)) targets clean, $failed with findings"
[[ $failed -eq 0 ]]
