#!/usr/bin/env bash
# The test command. Sets up the machine, builds the workflow of each preset
# (native-sanitize: native with ASan + UBSan, win64, win32, fuzz) and runs
# every test tier: native tests directly, win64 tests (ctest) and the
# end-to-end tests of the real exe under Wine (pytest) on a private Xvfb
# display (and on several monitors, a private Xorg one), then the fuzzers.
# Counts come from each runner's JUnit file; ends with each tier's counts and
# a total "N passed, N failed" line (a failed build counts as one failure);
# exits non-zero if any build or test failed. Build and test logs, and the
# JUnit files, are in build/logs/.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
LOGS=$ROOT/build/logs
mkdir -p "$LOGS"
JOBS=$(nproc)

SCRIPT_NAME="test"
# shellcheck source=scripts/common.sh
source "$ROOT/scripts/common.sh"

FAILURES=()

# logged LOG CMD...: output to LOG; on failure show its tail, return 1.
logged() {
  local log=$1; shift
  if "$@" >"$log" 2>&1; then return 0; fi
  echo "    FAILED: $*" >&2
  echo "    ----- last lines of ${log#"$ROOT"/} -----" >&2
  tail -n 60 "$log" | sed 's/^/    /' >&2
  return 1
}

# ------------------------------------------------------------------ setup

# The first run sets up the machine and runs this script again on a private
# display of its own (xvfb-run), which the rest of the run uses: the tests
# pop up windows and move the pointer, and the win64 build already starts
# its test programs to list their tests. The display ends with the run.
if ! on_private_display; then
  export TARNWICK_TEST_T0=$EPOCHREALTIME
  scripts/setup.sh
  step "Checking Wine, the displays and pytest"
  [[ -x /usr/lib/wine/wine64 ]] || command -v wine64 >/dev/null || command -v wine >/dev/null ||
    die "Wine is missing; the win64 tests cannot run"
  command -v xvfb-run >/dev/null || die "xvfb-run is missing; the win64 tests cannot run"
  command -v Xorg >/dev/null || die "Xorg is missing; the end-to-end tests on several monitors cannot run"
  command -v pytest-3 >/dev/null || die "pytest-3 is missing; the end-to-end tests cannot run"
  step_done
  XVFB_LOG=$LOGS/xvfb.log rerun_on_private_display "$ROOT/scripts/test.sh" "$@"
fi
T0=${TARNWICK_TEST_T0:-$EPOCHREALTIME}
step "Checking the private display"
display_answers || die "display ${DISPLAY:-(none)} does not answer"
step_done "display $DISPLAY"

# The prefix wine-run.sh would pick for these exes anyway; named here so the
# cleanup stops the right wineserver, which the win64 build starts already.
WINEPREFIX_WIN64=$ROOT/build/win64/wineprefix
export TARNWICK_WINEPREFIX=$WINEPREFIX_WIN64
cleanup() { WINEPREFIX=$WINEPREFIX_WIN64 "$WINESERVER" -k >/dev/null 2>&1 || true; }
trap cleanup EXIT

# ------------------------------------------------------------------ builds

TOTAL_PASSED=0
TOTAL_FAILED=0
SUMMARIES=()
BUILT=()
# build_preset PRESET: its workflow, configure and build.
build_preset() {
  local preset=$1
  step "Building preset $preset"
  if logged "$LOGS/$preset-build.log" cmake --workflow --preset "$preset"; then
    BUILT+=("$preset")
    step_done
  else
    # Counted as one failure, so the total never reads clean after it.
    FAILURES+=("build of $preset")
    TOTAL_FAILED=$((TOTAL_FAILED + 1))
  fi
}

build_preset native-sanitize
build_preset win64
build_preset win32
build_preset fuzz

is_built() { local p; for p in "${BUILT[@]}"; do [[ $p == "$1" ]] && return 0; done; return 1; }

# ------------------------------------------------------------------ tests

# count_tier TIER JUNIT EXIT_CODE: adds the tier's cases in its JUnit file to
# the totals. A runner that failed with no failed case in its file (it
# stopped early, say) counts as one failure, so the total never reads clean.
count_tier() {
  local tier=$1 junit=$2 rc=$3 counts passed failed skipped line name
  if [[ ! -s $junit ]] || ! counts=$(python3 scripts/junit-counts.py "$junit") ||
     [[ $counts == "0 0 "* ]]; then
    SUMMARIES+=("$tier: no test results in ${junit#"$ROOT"/} (exit code $rc)")
    FAILURES+=("$tier tests (none ran)")
    TOTAL_FAILED=$((TOTAL_FAILED + 1))
    step_done "FAILED"
    return
  fi
  read -r passed failed skipped <<<"${counts%%$'\n'*}"
  line="$tier: $passed passed, $failed failed"
  [[ $skipped == 0 ]] || line+=", $skipped skipped"
  SUMMARIES+=("$line (${junit#"$ROOT"/})")
  TOTAL_PASSED=$((TOTAL_PASSED + passed))
  TOTAL_FAILED=$((TOTAL_FAILED + failed))
  while read -r name; do
    [[ -z $name ]] || FAILURES+=("$tier: $name")
  done < <(tail -n +2 <<<"$counts")
  if [[ $rc -ne 0 && $failed -eq 0 ]]; then
    FAILURES+=("$tier tests (exit code $rc)")
    TOTAL_FAILED=$((TOTAL_FAILED + 1))
  fi
  if [[ $rc -ne 0 || $failed -ne 0 ]]; then step_done "FAILED"; else step_done; fi
}

# run_tier PRESET: ctest with the preset, output shown and kept in build/logs,
# its cases in build/logs/PRESET-junit.xml.
run_tier() {
  local preset=$1 junit=$LOGS/$1-junit.xml rc=0
  step "Running $preset tests"
  rm -f "$junit"
  ctest --preset "$preset" -j "$JOBS" --output-junit "$junit" 2>&1 | tee "$LOGS/$preset-ctest.log" || rc=$?
  count_tier "$preset" "$junit" "$rc"
}

if is_built native-sanitize; then
  export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
  export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
  run_tier native-sanitize
fi

if is_built win64; then
  step "Preparing the Wine prefix"
  # Also starts the prefix's wineserver, kept warm for the whole run: each
  # cold Wine start costs seconds.
  # No window manager runs on the private display: Wine would wait two
  # seconds for one whenever the active window changes, unless its windows
  # are unmanaged.
  if scripts/wine-run.sh --init &&
     scripts/wine-run.sh reg.exe add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null; then
    step_done "${WINEPREFIX_WIN64#"$ROOT"/}"
    run_tier win64
  else
    FAILURES+=("Wine prefix for the win64 tests")
    TOTAL_FAILED=$((TOTAL_FAILED + 1))
  fi
fi

# run_e2e: the real tarnwick.exe under Wine, under pytest (tests/e2e), each
# test in a fresh prefix of its own; its cases in build/logs/e2e-junit.xml.
run_e2e() {
  local junit=$LOGS/e2e-junit.xml rc=0
  step "Running end-to-end tests"
  rm -f "$junit"
  pytest-3 tests/e2e --build build/win64 -v --tb=short -rfEP --durations=5 --junitxml="$junit" 2>&1 |
    tee "$LOGS/e2e.log" || rc=$?
  count_tier e2e "$junit" "$rc"
}

if is_built win64; then
  run_e2e
fi

# run_fuzzers: every libFuzzer target for a bounded time, through the long
# fuzzing run's own script, so both runs fuzz with the same options and
# limits; new inputs go to build/fuzz/corpus, findings to build/fuzz/findings
# (copy a finding into tests/fuzz/corpus/<name>/ to keep it as a regression).
FUZZ_SECONDS=${TARNWICK_FUZZ_SECONDS:-20}
run_fuzzers() {
  local log=$LOGS/fuzz.log summary clean failed
  step "Fuzzing for ${FUZZ_SECONDS} s per target"
  TARNWICK_SKIP_SETUP=1 TARNWICK_FUZZ_SECONDS=$FUZZ_SECONDS scripts/fuzz.sh >"$log" 2>&1 || true
  sed -n '/^==> Fuzzing summary/,$p' "$log" | grep '^    ' || true
  summary=$(grep -E '^[0-9]+ targets clean, [0-9]+ with findings$' "$log" | tail -n 1 || true)
  if [[ -z $summary ]]; then
    SUMMARIES+=("fuzz: no summary (see build/logs/fuzz.log)")
    FAILURES+=("fuzzing (none ran)")
    TOTAL_FAILED=$((TOTAL_FAILED + 1))
    step_done "FAILED"
    return
  fi
  clean=${summary%% *}
  failed=$(sed -E 's/.*, ([0-9]+) with findings$/\1/' <<<"$summary")
  TOTAL_PASSED=$((TOTAL_PASSED + clean))
  TOTAL_FAILED=$((TOTAL_FAILED + failed))
  SUMMARIES+=("fuzz: $summary")
  if [[ $failed -ne 0 ]]; then
    FAILURES+=("fuzzing (see build/fuzz/findings)")
    step_done "FAILED"
  else
    step_done
  fi
}

if is_built fuzz; then
  run_fuzzers
fi

# ------------------------------------------------------------------ summary

echo
echo "==> Summary ($(seconds_since "$T0") s in all)"
for s in "${SUMMARIES[@]}"; do echo "    $s"; done
for f in "${FAILURES[@]}"; do echo "    FAILED: $f"; done
echo "$TOTAL_PASSED passed, $TOTAL_FAILED failed"
[[ ${#FAILURES[@]} -eq 0 && $TOTAL_FAILED -eq 0 ]]
