#!/usr/bin/env bash
# Runs a Windows exe under Wine: the cross-compiling emulator of the win64
# build, so ctest and gtest discovery go through here.
#   wine-run.sh PROGRAM.exe [ARGS...]   exit code is the program's
#   wine-run.sh --init [DIR]            only prepare the prefix (of build DIR)
#                                       and start its wineserver
#
# Prefix: $TARNWICK_WINEPREFIX, else <build dir>/wineprefix for an exe inside
# a CMake build tree, else ~/.cache/tarnwick/wineprefix. It is created once and
# reused. It needs an X display: without one, run it, or the ctest run that
# calls it, under xvfb-run -a (scripts/test.sh runs on a display of its own).
# Wine's debug output is off unless $TARNWICK_WINEDEBUG gives its WINEDEBUG
# (trace+winmm shows each sound the program plays).
set -euo pipefail

die() { echo "wine-run: $*" >&2; exit 127; }

if [[ -x /usr/lib/wine/wine64 ]]; then
  # Calling wine64 directly skips the wrapper's "wine32 is missing" hint.
  WINE=/usr/lib/wine/wine64
  export WINELOADER=$WINE
else
  WINE=$(command -v wine64 || command -v wine || true)
  [[ -n $WINE ]] || die "Wine is not installed (scripts/setup.sh installs it)"
fi
if [[ -x /usr/lib/wine/wineserver64 ]]; then
  WINESERVER=/usr/lib/wine/wineserver64
else
  WINESERVER=$(command -v wineserver || true)
  [[ -n $WINESERVER ]] || die "wineserver is not installed"
fi

init_only=0
if [[ ${1:-} == --init ]]; then
  init_only=1
  shift
elif [[ $# -eq 0 ]]; then
  die "usage: wine-run.sh PROGRAM.exe [ARGS...] | --init [DIR]"
fi

# The build tree the exe lives in (the one with CMakeCache.txt), if any.
build_dir_of() {
  local d
  d=$(cd "$(dirname "$1")" 2>/dev/null && pwd) || return 1
  while [[ $d != / ]]; do
    [[ -f $d/CMakeCache.txt ]] && { echo "$d"; return 0; }
    d=$(dirname "$d")
  done
  return 1
}

if [[ -n ${TARNWICK_WINEPREFIX:-} ]]; then
  prefix=$TARNWICK_WINEPREFIX
elif [[ $init_only == 1 && -n ${1:-} ]]; then
  prefix=$1/wineprefix
elif [[ $init_only == 0 ]] && bdir=$(build_dir_of "$1"); then
  prefix=$bdir/wineprefix
else
  prefix=${XDG_CACHE_HOME:-$HOME/.cache}/tarnwick/wineprefix
fi
mkdir -p "$(dirname "$prefix")"
prefix=$(cd "$(dirname "$prefix")" && pwd)/$(basename "$prefix")

export WINEPREFIX=$prefix
export WINEARCH=win64
export WINEDEBUG=${TARNWICK_WINEDEBUG:--all}
# No Mono/Gecko install prompts, no menu entries or file associations.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

[[ -n ${DISPLAY:-} ]] || die "no X display; run under xvfb-run -a (with -s '-screen 0 1920x1080x24 -noreset')"

# Create the prefix once; the lock keeps parallel ctest jobs from racing.
if [[ ! -f $prefix/.tarnwick-ready ]]; then
  (
    flock 8
    if [[ ! -f $prefix/.tarnwick-ready ]]; then
      "$WINESERVER" -k >/dev/null 2>&1 8>&- || true
      rm -rf "$prefix"
      mkdir -p "$prefix"
      "$WINE" wineboot.exe -i </dev/null >/dev/null 2>&1 8>&- || die "wineboot failed for $prefix"
      # Undecorated windows: what the program draws is what a screenshot shows.
      "$WINE" reg.exe add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f \
        </dev/null >/dev/null 2>&1 8>&- || die "could not set up the registry of $prefix"
      # Wine draws the caption's buttons in Marlett, which it does not find
      # in its own font folder here: the buttons showed as letters.
      marlett=/usr/share/wine/fonts/marlett.ttf
      [[ -f $marlett ]] && cp "$marlett" "$prefix/drive_c/windows/Fonts/"
      "$WINESERVER" -w 8>&-
      touch "$prefix/.tarnwick-ready"
    fi
  ) 8>"$prefix.lock"
fi

# The X server in use: its name, plus its pid when it is a local one, so a
# restarted server on the same number counts as another.
display_id() {
  local n=${DISPLAY#*:}
  n=${n%%.*}
  local id=$DISPLAY
  [[ -f /tmp/.X$n-lock ]] && id+=" $(tr -dc '0-9' <"/tmp/.X$n-lock")"
  echo "$id"
}

# Keep a wineserver alive between runs: a cold start costs seconds. When this
# call starts it, Wine's background processes (services, plugplay, ...) are
# started too, by a throwaway command with closed descriptors. A server left
# from another X server keeps that server's state (a gone display means a
# 1024x768 fallback screen), so it is replaced. The lock makes parallel calls
# wait until this is done.
(
  flock 8
  id=$(display_id)
  if [[ -f $prefix/.tarnwick-display && $(<"$prefix/.tarnwick-display") != "$id" ]]; then
    "$WINESERVER" -k >/dev/null 2>&1 8>&- || true
    "$WINESERVER" -w >/dev/null 2>&1 8>&- || true
  fi
  if "$WINESERVER" -p30 </dev/null >/dev/null 2>&1 8>&-; then
    echo "$id" >"$prefix/.tarnwick-display"
    "$WINE" cmd.exe /c exit 0 </dev/null >/dev/null 2>&1 8>&- || true
  fi
) 8>"$prefix.lock"

[[ $init_only == 1 ]] && exit 0

if [[ -t 1 && -t 2 ]]; then
  exec "$WINE" "$@"
fi

# Output to a pipe (ctest, test discovery) goes through files: Wine processes
# the program starts, such as the desktop's explorer.exe, inherit its
# descriptors and outlive it by seconds, and a reader of the pipe would wait
# for them.
out=$(mktemp)
err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
run_program() {
  rc=0
  "$WINE" "$@" >"$out" 2>"$err" || rc=$?
}
run_program "$@"
# Under load Wine now and then fails to start a process at all: no output,
# not even the first line every test program prints. That is no verdict on
# the program, so it gets one more start; a program that fails on its own
# fails the same way twice.
if [[ $rc -ne 0 && ! -s $out && ! -s $err ]]; then
  echo "wine-run: $1 ended with $rc before any output; starting it once more" >&2
  run_program "$@"
fi
cat "$out"
cat "$err" >&2
exit "$rc"
