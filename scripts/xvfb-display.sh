#!/usr/bin/env bash
# Prints the name of a private virtual X display (":93"), starting Xvfb on a
# free number in :90..:99 when ours is not already running. The server is
# left running so later calls reuse it; a dead one is simply replaced.
#   TARNWICK_XVFB_SCREEN  screen geometry, default 1920x1080x24
set -euo pipefail

state_dir=${TMPDIR:-/tmp}/tarnwick-xvfb-$UID
mkdir -p "$state_dir"
screen=${TARNWICK_XVFB_SCREEN:-1920x1080x24}

alive() { xdpyinfo -display ":$1" >/dev/null 2>&1; }

exec 9>"$state_dir/lock"
flock 9

if [[ -f $state_dir/display ]]; then
  n=$(<"$state_dir/display")
  if alive "$n"; then echo ":$n"; exit 0; fi
fi

for n in {90..99}; do
  # Someone else's server, or a live lock: leave that number alone.
  alive "$n" && continue
  if [[ -f /tmp/.X$n-lock ]]; then
    pid=$(tr -dc '0-9' <"/tmp/.X$n-lock" || true)
    [[ -n $pid ]] && kill -0 "$pid" 2>/dev/null && continue
  fi
  # setsid and closed descriptors: the server must not hold a caller's pipe
  # open (ctest waits for those to close).
  setsid Xvfb ":$n" -screen 0 "$screen" -nolisten tcp -noreset \
    </dev/null >"$state_dir/xvfb-$n.log" 2>&1 9>&- &
  for _ in {1..100}; do
    if alive "$n"; then
      echo "$n" >"$state_dir/display"
      echo ":$n"
      exit 0
    fi
    kill -0 $! 2>/dev/null || break
    sleep 0.1
  done
  kill $! 2>/dev/null || true
done

echo "xvfb-display: could not start Xvfb on any of :90..:99 (logs in $state_dir)" >&2
exit 1
