#!/usr/bin/env bash
# The test command. Sets up the machine, builds all presets (native with
# ASan + UBSan, win64, win32, fuzz) and runs every test tier: native tests
# directly, win64 tests and the end-to-end tests of the real exe under Wine
# on a private Xvfb display (and on several monitors, a private Xorg one),
# then the fuzzers. Ends with each
# runner's summary and a total "N passed, N failed" line (a failed build
# counts as one failure); exits non-zero if any build or test failed. Build
# and test logs are in build/logs/.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
LOGS=$ROOT/build/logs
mkdir -p "$LOGS"
JOBS=$(nproc)

SCRIPT_NAME="test"
# shellcheck source=scripts/common.sh
source "$ROOT/scripts/common.sh"
T0=$EPOCHREALTIME

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

scripts/setup.sh

step "Checking Wine and the display"
[[ -x /usr/lib/wine/wine64 ]] || command -v wine64 >/dev/null || command -v wine >/dev/null ||
  die "Wine is missing; the win64 tests cannot run"
command -v Xvfb >/dev/null || die "Xvfb is missing; the win64 tests cannot run"
command -v Xorg >/dev/null || die "Xorg is missing; the end-to-end tests on several monitors cannot run"
# Always a private display: the tests pop up windows and move the pointer.
# One this run started is stopped at the end; one found running is left.
start_private_display
xdpyinfo >/dev/null 2>&1 || die "display $DISPLAY does not answer"
step_done "display $DISPLAY"

# The prefix wine-run.sh would pick for these exes anyway; named here so the
# cleanup stops the right wineserver.
WINEPREFIX_WIN64=$ROOT/build/win64/wineprefix
export TARNWICK_WINEPREFIX=$WINEPREFIX_WIN64
wineserver_started=0

cleanup() {
  if [[ $wineserver_started == 1 ]]; then
    WINEPREFIX=$WINEPREFIX_WIN64 "$WINESERVER" -k >/dev/null 2>&1 || true
  fi
  stop_private_display
}
trap cleanup EXIT

# ------------------------------------------------------------------ builds

TOTAL_PASSED=0
TOTAL_FAILED=0
SUMMARIES=()
BUILT=()
build_preset() {
  local preset=$1; shift
  step "Building preset $preset"
  if logged "$LOGS/$preset-configure.log" cmake --preset "$preset" "$@" &&
     logged "$LOGS/$preset-build.log" cmake --build --preset "$preset"; then
    BUILT+=("$preset")
    step_done
  else
    # Counted as one failure, so the total never reads clean after it.
    FAILURES+=("build of $preset")
    TOTAL_FAILED=$((TOTAL_FAILED + 1))
  fi
}

build_preset native -DTARNWICK_SANITIZE=ON
build_preset win64
build_preset win32
build_preset fuzz

is_built() { local p; for p in "${BUILT[@]}"; do [[ $p == "$1" ]] && return 0; done; return 1; }

# ------------------------------------------------------------------ tests

# run_tier PRESET: ctest with the preset, output shown and kept in build/logs.
run_tier() {
  local preset=$1 log=$LOGS/$1-ctest.log rc=0 summary failed total
  step "Running $preset tests"
  ctest --preset "$preset" -j "$JOBS" 2>&1 | tee "$log" || rc=$?
  summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1 || true)
  if [[ -z $summary ]]; then
    SUMMARIES+=("$preset: no ctest summary (ctest exit code $rc)")
    FAILURES+=("$preset tests (none ran)")
    TOTAL_FAILED=$((TOTAL_FAILED + 1))
    step_done "FAILED"
    return
  fi
  failed=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$summary")
  total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$summary")
  TOTAL_PASSED=$((TOTAL_PASSED + total - failed))
  TOTAL_FAILED=$((TOTAL_FAILED + failed))
  SUMMARIES+=("$preset: $summary")
  if [[ $rc -ne 0 || $failed -ne 0 ]]; then
    FAILURES+=("$preset tests")
    step_done "FAILED"
  else
    step_done
  fi
}

if is_built native; then
  export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
  export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
  run_tier native
fi

if is_built win64; then
  step "Preparing the Wine prefix"
  # Also starts the prefix's wineserver, kept warm for the whole run: each
  # cold Wine start costs seconds.
  wineserver_started=1
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

# run_e2e: the real tarnwick.exe under Wine, each test in a fresh prefix of
# its own; the runner ends with "N passed, N failed".
run_e2e() {
  local log=$LOGS/e2e.log rc=0 summary
  step "Running end-to-end tests"
  python3 tests/e2e/run_e2e.py build/win64 2>&1 | tee "$log" || rc=$?
  summary=$(grep -E '^[0-9]+ passed, [0-9]+ failed$' "$log" | tail -n 1 || true)
  if [[ -z $summary ]]; then
    SUMMARIES+=("e2e: no summary (runner exit code $rc)")
    FAILURES+=("end-to-end tests (none ran)")
    TOTAL_FAILED=$((TOTAL_FAILED + 1))
    step_done "FAILED"
    return
  fi
  TOTAL_PASSED=$((TOTAL_PASSED + ${summary%% *}))
  TOTAL_FAILED=$((TOTAL_FAILED + $(sed -E 's/.*, ([0-9]+) failed/\1/' <<<"$summary")))
  SUMMARIES+=("e2e: $summary")
  if [[ $rc -ne 0 ]]; then
    FAILURES+=("end-to-end tests")
    step_done "FAILED"
  else
    step_done
  fi
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
