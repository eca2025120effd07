#!/usr/bin/env python3
"""Soak run of the real tarnwick.exe under Wine, on its own Xvfb.

    bench/soak.py BUILD_DIR

BUILD_DIR is the win64 build. The program runs hidden for ten minutes
(SOAK_SECONDS overrides) with an idle time of 0, the shortest popup lifetime
and the built-in crossing sound on (Xvfb has one monitor, so it stays
silent), while xdotool moves the pointer every 200 ms between points spread
over the screen, so that popups keep opening and closing. Ten times, evenly
spaced, the pointer rests until no popup is up and the program's kernel
handles, GDI objects, windows, heap bytes in use and resident memory are
taken, with the popups seen so far. Prints the table; exits 0
when the program lived to the end, its figures at the last sample are
within TOLERANCE of those at the second (minute 2 of 10), and closing its
settings window then ends it with exit code 0; else 1.
"""

import os
import sys
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import under_wine  # noqa: E402
from under_wine import run_helper, start_helper  # noqa: E402

SAMPLES = 10
BASELINE_SAMPLE = 2
# Growth allowed from the baseline sample to the last one.
TOLERANCE = {"handles": 2, "gdi": 2, "windows": 2, "heap_kb": 64, "rss_kb": 1024}
MOVE_INTERVAL = 0.2
# Longer than two of the watcher's one-second ticks.
QUIET_SECONDS = 2.5
POINTS = [(x, y) for y in (150, 540, 930) for x in (200, 760, 1320, 1800)]


class PointerMover(threading.Thread):
    """Moves the pointer round POINTS every MOVE_INTERVAL while not paused."""

    def __init__(self):
        super().__init__(daemon=True)
        self.running = threading.Event()
        self.stopped = False
        self.moves = 0

    def run(self):
        while not self.stopped:
            self.running.wait()
            under_wine.pointer_move(*POINTS[self.moves % len(POINTS)])
            self.moves += 1
            time.sleep(MOVE_INTERVAL)


def resident_kb(pid):
    with open(f"/proc/{pid}/status") as status:
        return int(next(line for line in status if line.startswith("VmRSS:")).split()[1])


def last_count(path):
    with open(path, "rb") as f:
        lines = f.read().split()
    return int(lines[-1]) if lines else 0


def wait_for_rest(prefix):
    """Waits until no popup has been up for QUIET_SECONDS. A popup holds the
    watcher's sample, so the tick after it may still open one for a move made
    before the pointer came to rest."""
    last_seen = time.monotonic()
    deadline = last_seen + 20
    while time.monotonic() - last_seen < QUIET_SECONDS:
        if time.monotonic() > deadline:
            raise SystemExit("soak: popups kept coming with the pointer at rest")
        if prefix.probe("splash") != "none":
            last_seen = time.monotonic()
        time.sleep(0.2)


def sample(prefix, program, mover, popups_log, started):
    """The figures with the pointer at rest and no popup up."""
    mover.running.clear()
    wait_for_rest(prefix)
    counts = run_helper(prefix, "e2e_inject.exe", "count").split()
    figures = dict(zip(counts[0::2], map(int, counts[1::2])))
    figures["heap_kb"] = figures.pop("heap") // 1024
    figures.update(second=round(time.monotonic() - started), rss_kb=resident_kb(program.pid),
                   popups=last_count(popups_log))
    mover.running.set()
    return figures


def soak(prefix, seconds):
    settings = under_wine.settings_file(cursor=30, splash=0, wav=1)
    prefix.write_settings(settings)
    program = prefix.start()
    prefix.wait_main_state("hidden")
    # Fails unless the agent counts exactly what is made between two counts.
    print("agent self-check:", run_helper(prefix, "e2e_inject.exe", "self-check"), flush=True)
    popups_log = os.path.join(prefix.path, "popups.log")
    with open(popups_log, "wb") as log:
        start_helper(prefix, "e2e_lookout.exe", "popups", str(seconds + 60), stdout=log)
    mover = PointerMover()
    mover.running.set()
    mover.start()
    started = time.monotonic()
    rows = []
    for number in range(1, SAMPLES + 1):
        time.sleep(max(0.0, started + seconds * number / SAMPLES - time.monotonic()))
        if program.poll() is not None:
            break
        rows.append(sample(prefix, program, mover, popups_log, started))
        print_row(number, rows[-1])
    mover.stopped = True
    return program, rows, mover.moves


def print_row(number, row):
    if number == 1:
        print(f"{'sample':>6} {'second':>6} {'handles':>7} {'gdi':>5} {'windows':>7} {'heap_kB':>8} {'rss_kB':>8} "
              f"{'popups':>6}")
    print(f"{number:>6} {row['second']:>6} {row['handles']:>7} {row['gdi']:>5} {row['windows']:>7} "
          f"{row['heap_kb']:>8} {row['rss_kb']:>8} {row['popups']:>6}", flush=True)


def verdict(program, rows):
    if program.poll() is not None:
        return [f"the program ended early (exit code {program.returncode})"]
    if len(rows) < SAMPLES:
        return ["too few samples"]
    base, last = rows[BASELINE_SAMPLE - 1], rows[-1]
    problems = [f"{key} grew from {base[key]} to {last[key]} (tolerance {limit})"
                for key, limit in TOLERANCE.items() if last[key] - base[key] > limit]
    if last["popups"] - base["popups"] < SAMPLES - BASELINE_SAMPLE:
        problems.append("hardly any popups appeared")
    return problems


def close_cleanly(prefix, program):
    """Closes the settings window: no problem when the program ends with exit code 0."""
    try:
        prefix.close_main(program)
    except under_wine.Failure as error:
        return [str(error)]
    return []


def main():
    if len(sys.argv) != 2:
        raise SystemExit(__doc__)
    build = os.path.abspath(sys.argv[1])
    seconds = int(os.environ.get("SOAK_SECONDS", "600"))
    work = os.path.join(build, "soak")
    os.makedirs(work, exist_ok=True)
    xvfb = under_wine.Display()
    os.environ["DISPLAY"] = xvfb.name
    try:
        pristine = os.path.join(work, "pristine")
        under_wine.make_pristine_prefix(pristine)
        prefix = under_wine.Prefix(pristine, os.path.join(work, "run"), os.path.join(build, "app", "tarnwick.exe"),
                            os.path.join(build, "tests", "e2e", "e2e_probe.exe"))
        try:
            print(f"soak: {seconds} s on display {os.environ['DISPLAY']}, tolerance {TOLERANCE}", flush=True)
            program, rows, moves = soak(prefix, seconds)
            problems = verdict(program, rows) or close_cleanly(prefix, program)
        finally:
            prefix.close()
    finally:
        xvfb.stop()
    print(f"pointer moves: {moves}")
    print("PASS" if not problems else "FAIL: " + "; ".join(problems))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
