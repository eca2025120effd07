#!/usr/bin/env python3
"""CPU time and memory of the real tarnwick.exe under Wine, against baselines.

    measure_wine.py BUILD_DIR idle        [--seconds 60] [--repeats 3] [--exe EXE]
    measure_wine.py BUILD_DIR popup       [--repeats 3] [--exe EXE]
    measure_wine.py BUILD_DIR first-paint [--repeats 2] [--exe EXE]

BUILD_DIR is the win64 build (app/tarnwick.exe, bench/wine/minimal_timer_program.exe,
bench/wine/minimal_animation_program.exe, tests/e2e/e2e_probe.exe, e2e_lookout.exe
and e2e_animation.exe); --exe measures another build of the program.

The pictures: a looping 600 x 600 GIF of 40 frames at 25 a second, each
frame all new (a moving gradient), the same picture as a still JPEG, and a
clip of 300 frames of 640 x 480 at 25 a second stored as web clips are (a
whole first frame, then only what changed; made by e2e_animation.exe).

idle:  the program hidden and watching (crossing sound on) beside
       minimal_timer_program.exe --sample-pointer (a window, a one-second
       timer reading GetCursorPos, a message loop: the floor of any pointer
       watcher), and the program hidden with each GIF chosen, against the
       program with the built-in picture.
popup: two popups of each GIF (at 600 pixels) beside
       minimal_animation_program.exe at the popup's size and frame rate
       (frames in one bitmap, a timer, one BitBlt a frame: the floor of any
       animation), and two popups of the built-in picture. The floor runs
       two ways: its frames made before it shows and kept, and (for the
       40-frame GIF, whose every frame is new) as popups that make a fresh
       bitmap at each show, each frame as it is first drawn, and let it go
       at the end, as a program must that holds no frame while hidden. CPU
       is compared per 10 s of popup, measured from when the popup is seen
       on the X screen for 8.3 s of its 10; memory is the peak resident set
       from just before the first popup.
first-paint: the still JPEG and the 600 x 600 GIF each shown in popups,
       one program at a time: the time from the popup window's creation
       (the start of ShowSplash) until the picture's centre is on the
       screen, watched by e2e_lookout.exe first-paint.

All sides of a run go at the same time, each in its own Xvfb, its own copy
of one pristine Wine prefix and its own wineserver, so that none's X server
or wineserver works for another. CPU is the run time the scheduler counts
for the threads of the Wine process that runs the exe (found by its command
line; /proc/PID/task/*/schedstat, in nanoseconds), taken over a window after
start-up settled. utime + stime from /proc/PID/stat is printed beside it but
counts 10 ms ticks, too coarse for a minute of idling; the wineserver's and
the X server's CPU over the same window are printed for context. Memory is
the process's VmRSS at the window's end, or its VmHWM. The exes run as
stripped copies, as the release ships: Wine reads a MinGW exe's debug
sections into memory with the rest.
Each figure is the median over the repeats; the ratio compares it with the
baseline's median of the same run. Figures are table rows,
"| figure | value | baseline | ratio | target |".
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "support"))
from under_wine import (WINE, Display, Prefix, helper_path, make_pristine_prefix, pointer_move,  # noqa: E402
                        run_program, settings_file, start_helper, wait_until, wine_env)

TICKS = os.sysconf("SC_CLK_TCK")
STRIP = shutil.which("x86_64-w64-mingw32-strip") or "strip"
PICTURE_SIDE = 600
GIF_FRAMES = 40  # 1.6 s of animation at 4 cs a frame
CLIP_FRAMES = 300  # 12 s at 4 cs a frame
FRAME_MS = 40
POPUPS = 2
POPUP_LIFETIME = 10  # seconds a popup of "Splash" 9, the longest, shows
POPUP_SPAN = POPUP_LIFETIME - 1.7  # seconds each popup is measured from when it is seen: well inside it
FIRST_PAINTS = 8  # popups a first-paint run watches
MB = 1e6
MIB = 1 << 20


# ------------------------------------------------------------ processes

def process_cpu_seconds(pid):
    """utime + stime of pid in seconds, or None once it is gone."""
    try:
        with open(f"/proc/{pid}/stat") as f:
            fields = f.read().rsplit(")", 1)[1].split()
    except OSError:
        return None
    return (int(fields[11]) + int(fields[12])) / TICKS


def process_run_seconds(pid):
    """The scheduler's run time of pid's threads in seconds, or None once it is gone."""
    total = 0
    try:
        for task in os.listdir(f"/proc/{pid}/task"):
            try:
                with open(f"/proc/{pid}/task/{task}/schedstat") as f:
                    total += int(f.read().split()[0])
            except OSError:
                continue  # a thread that just ended
    except OSError:
        return None
    return total / 1e9


def status_mib(pid, key):
    """A memory figure of pid's /proc status ("VmRSS", "VmHWM") in MiB."""
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith(key + ":"):
                return int(line.split()[1]) / 1024
    return None


def reset_peak(pid):
    """VmHWM starts again from the present resident set."""
    with open(f"/proc/{pid}/clear_refs", "w") as f:
        f.write("5")


def find_process(prefix, name):
    """The pid of a process of prefix whose command line holds name."""
    marker = f"WINEPREFIX={prefix}".encode()
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/cmdline", "rb") as f:
                command = f.read()
            if name.encode().lower() not in command.lower():
                continue
            with open(f"/proc/{entry}/environ", "rb") as f:
                if marker in f.read().split(b"\0"):
                    return int(entry)
        except OSError:
            continue
    return None


# ------------------------------------------------------------ one side

class Side:
    """One program in its own Xvfb, prefix copy and wineserver."""

    def __init__(self, label, work, pristine, exe, args, probe):
        self.label, self.exe, self.args = label, exe, args
        try:
            self.xvfb = Display()
        except RuntimeError as error:
            raise SystemExit(f"measure_wine: {label}: {error}") from error
        self.prefix = Prefix(pristine, os.path.join(work, label), exe, probe, display=self.xvfb.name)

    def drive_c(self, *parts):
        return os.path.join(self.prefix.path, "drive_c", *parts)

    def write_settings(self, content):
        self.prefix.write_settings(content)

    def start(self):
        self.prefix.start(*self.args)

    def probe(self, *args, helper="e2e_probe.exe", timeout=30):
        """What the helper printed, whatever its exit code: a probe the
        program cannot answer yet is asked again by the caller."""
        return run_program(self.prefix, helper_path(self.prefix, helper), *args, timeout=timeout)[1]

    def watch(self, helper, *args, stdout):
        """Starts helper beside the program, writing to the file stdout."""
        return start_helper(self.prefix, helper, *args, stdout=stdout)

    def pids(self):
        """The program's, the wineserver's and the X server's pids."""
        program = wait_until(lambda: find_process(self.prefix.path, os.path.basename(self.exe)), 20)
        server = find_process(self.prefix.path, "wineserver")
        if not program or not server:
            raise SystemExit(f"measure_wine: {self.label}: no Wine process of {self.exe} or no wineserver")
        return program, server, self.xvfb.process.pid

    def move_pointer(self, x, y):
        pointer_move(x, y, self.prefix.env)

    def shown(self):
        """Whether a window of the program is on its screen: the popup, as
        the program is hidden otherwise. Asked of the X server, without
        starting a Windows program, so the popup is seen as it maps."""
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--class", os.path.basename(self.exe)],
                               env=self.prefix.env, capture_output=True, check=False)
        return found.returncode == 0

    def close(self):
        self.prefix.close()
        self.xvfb.stop()
        shutil.rmtree(self.prefix.path, ignore_errors=True)


class Window:
    """CPU of the program, wineserver and X server over one measured span."""

    def __init__(self, pids):
        self.pids = pids
        self.started = time.monotonic()
        self.ticks = process_cpu_seconds(pids[0])
        self.cpu = [process_run_seconds(pid) for pid in pids]

    def end(self):
        ticks = process_cpu_seconds(self.pids[0])
        cpu = [process_run_seconds(pid) for pid in self.pids]
        if None in cpu or ticks is None:
            raise SystemExit("measure_wine: a measured process ended during the measurement")
        return {"seconds": time.monotonic() - self.started, "ticks": ticks - self.ticks,
                "cpu": cpu[0] - self.cpu[0], "server": cpu[1] - self.cpu[1], "x": cpu[2] - self.cpu[2],
                "rss": status_mib(self.pids[0], "VmRSS"), "peak": status_mib(self.pids[0], "VmHWM")}


# ------------------------------------------------------------ scenarios

def idle_run(side, seconds):
    side.start()
    pids = side.pids()
    time.sleep(5)  # start-up settles: the first ticks, the lazy parts of Wine
    window = Window(pids)
    time.sleep(seconds)
    return window.end()


def raise_popup(side):
    """Moves the pointer until the popup shows (at the tick after a move);
    when it was seen, or None when it never shows."""
    for target in ((900, 500), (1000, 600), (900, 500), (1000, 600)):
        time.sleep(1.2)  # a tick samples the resting pointer
        side.move_pointer(*target)
        if wait_until(side.shown, 2.5, 0.05):
            return time.monotonic()
    return None


def popup_run(side, _):
    """Popups of the longest lifetime, each measured from when it is seen
    until shortly before the earliest moment its lifetime can end."""
    side.start()
    pids = side.pids()
    if not wait_until(lambda: side.probe("main-state") == "hidden", 20):
        raise SystemExit(f"measure_wine: {side.label}: the program did not start hidden")
    # The first tick takes the pointer's place at start for a move: that popup goes by first.
    if wait_until(lambda: side.probe("splash") != "none", 3):
        wait_until(lambda: side.probe("splash") == "none", POPUP_LIFETIME + 2)
    reset_peak(pids[0])
    spans = []
    for _ in range(POPUPS):
        seen = raise_popup(side)
        if seen is None:
            raise SystemExit(f"measure_wine: {side.label}: no popup appeared")
        spans.append(popup_span(pids, seen))
        if not wait_until(lambda: side.probe("splash") == "none", 5):
            raise SystemExit(f"measure_wine: {side.label}: the popup outlived its lifetime")
    return summed_spans(side, spans)


def popup_span(pids, seen):
    """The span of a popup seen at seen, measured until POPUP_SPAN after."""
    window = Window(pids)
    time.sleep(max(0.0, seen + POPUP_SPAN - time.monotonic()))
    return window.end()


def summed_spans(side, spans):
    """The popups' spans as one result, with the memory of the last."""
    print(f"  {side.label}: CPU of each popup " + ", ".join(f"{span['cpu']:.3f} s" for span in spans), file=sys.stderr)
    summed = {key: sum(span[key] for span in spans) for key in ("seconds", "ticks", "cpu", "server", "x")}
    return summed | {"rss": spans[-1]["rss"], "peak": spans[-1]["peak"]}


def animation_run(side, _):
    """The floor program playing for as long as the popups are measured."""
    side.start()
    pids = side.pids()
    time.sleep(5)
    window = Window(pids)
    time.sleep(POPUPS * (POPUP_LIFETIME - 1.5))
    return window.end()


def animation_popups_run(side, _):
    """The floor program showing as popups, each measured as a popup of the
    program is."""
    side.start()
    pids = side.pids()
    # As for the program, the first popup goes by while start-up settles.
    await_floor(side, True, 10)
    await_floor(side, False, POPUP_LIFETIME + 2)
    reset_peak(pids[0])
    spans = []
    for _ in range(POPUPS):
        await_floor(side, True, 5)
        spans.append(popup_span(pids, time.monotonic()))
        await_floor(side, False, 3)
    return summed_spans(side, spans)


def await_floor(side, shown, timeout):
    """Waits until the floor's popup is shown, or hidden; the measurement
    stops when it never is."""
    if not wait_until(lambda: side.shown() == shown, timeout, 0.05):
        raise SystemExit(f"measure_wine: {side.label}: the floor's popup never {'showed' if shown else 'hid'}")


def first_paint_run(side, colour):
    """Popups one after another, each watched from the window's creation
    until its picture's centre is on the screen; the times in ms."""
    side.start()
    side.pids()
    if not wait_until(lambda: side.probe("main-state") == "hidden", 20):
        raise SystemExit(f"measure_wine: {side.label}: the program did not start hidden")
    wait_until(lambda: side.probe("splash") != "none", 3)
    times = []
    for index in range(FIRST_PAINTS):
        if not wait_until(lambda: side.probe("splash") == "none", 5):
            raise SystemExit(f"measure_wine: {side.label}: a popup outlived its lifetime")
        side.move_pointer(900 + 100 * (index % 2), 500)
        with tempfile.TemporaryFile() as out:
            watcher = side.watch("e2e_lookout.exe", "first-paint", *map(str, colour), stdout=out)
            time.sleep(1.5)  # the watcher is up, and a tick has seen the pointer rest
            side.move_pointer(1000 - 100 * (index % 2), 600)
            watcher.wait(timeout=40)
            out.seek(0)
            answer = out.read().decode().strip()
        if answer == "none":
            raise SystemExit(f"measure_wine: {side.label}: no popup showed the picture")
        times.append(float(answer))
    print(f"  {side.label}: first paints " + ", ".join(f"{ms:.1f} ms" for ms in times), file=sys.stderr)
    return times


def run_side_by_side(jobs):
    """Runs each (side, scenario, seconds) in its own thread; their results."""
    results = [None] * len(jobs)
    errors = []

    def run(index, side, scenario, seconds):
        try:
            results[index] = scenario(side, seconds)
        except BaseException as error:  # noqa: BLE001 - reported after the join
            errors.append(error)

    threads = [threading.Thread(target=run, args=(i, *job)) for i, job in enumerate(jobs)]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    if errors:
        raise errors[0]
    return results


# ------------------------------------------------------------ pictures

def make_pictures(folder, build, env):
    """anim.gif, still.jpg (its first frame) and clip.gif in folder; the colour at the still's centre."""
    base = os.path.join(folder, "base.png")
    side = f"{PICTURE_SIDE}x{PICTURE_SIDE}"
    subprocess.run(["convert", "-size", side, "gradient:#ff4000-#0030ff", "(", "-size", side,
                    "radial-gradient:#ffffff-#000000", ")", "-compose", "multiply", "-composite", base], check=True)
    step = PICTURE_SIDE // GIF_FRAMES
    frames = []
    for index in range(GIF_FRAMES):
        frames += ["(", base, "-roll", f"+{index * step}+{index * step // 2}", ")"]
    subprocess.run(["convert", "-delay", "4", "-loop", "0", *frames, os.path.join(folder, "anim.gif")], check=True)
    subprocess.run(["convert", base, "-quality", "90", os.path.join(folder, "still.jpg")], check=True)
    subprocess.run([WINE, os.path.join(build, "tests", "e2e", "e2e_animation.exe"), str(CLIP_FRAMES),
                    "Z:" + os.path.join(folder, "clip.gif").replace("/", "\\")], env=env, check=True,
                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    centre = PICTURE_SIDE // 2
    return tuple(subprocess.run(["convert", base, "-crop", f"1x1+{centre}+{centre}", "-depth", "8", "rgb:-"],
                                capture_output=True, check=True).stdout)


def stripped_copy(exe, folder):
    copy = os.path.join(folder, os.path.basename(exe))
    subprocess.run([STRIP, "-o", copy, exe], check=True)
    return copy


# ------------------------------------------------------------ the report

def print_figure(name, value, baseline, unit, target):
    ratio = value / baseline if baseline else float("inf")
    print(f"| {name} | {value:.3f} {unit} | {baseline:.3f} {unit} | {ratio:.2f} | {target} |")


def print_growth(name, value, baseline, allowance_bytes, allowance):
    """A memory figure in MiB above its baseline, against an allowance in bytes."""
    target = f"≤ +{allowance_bytes / MIB:.1f} MiB ({allowance})"
    print(f"| {name} | {value:.1f} MiB | {baseline:.1f} MiB | +{value - baseline:.1f} MiB | {target} |")


def print_context(label, results):
    median = {key: statistics.median(r[key] for r in results) for key in results[0]}
    print(f"  {label}: program {median['cpu']:.3f} s (utime+stime {median['ticks']:.2f} s), wineserver {median['server']:.3f} s, "
          f"Xvfb {median['x']:.3f} s over {median['seconds']:.1f} s; VmRSS {median['rss']:.1f} MiB, "
          f"VmHWM {median['peak']:.1f} MiB (runs: {', '.join('%.3f' % r['cpu'] for r in results)})")
    return median


class Run:
    """What one measurement needs: the programs, the pictures, a pristine prefix."""

    def __init__(self, build, exe):
        self.build = build
        self.probe = os.path.join(build, "tests", "e2e", "e2e_probe.exe")
        programs = [exe, os.path.join(build, "bench", "wine", "minimal_timer_program.exe"),
                    os.path.join(build, "bench", "wine", "minimal_animation_program.exe")]
        for path in (*programs, self.probe, *(os.path.join(build, "tests", "e2e", helper)
                                              for helper in ("e2e_lookout.exe", "e2e_animation.exe"))):
            if not os.path.exists(path):
                raise SystemExit(f"measure_wine: {path} is missing; build the win64 preset first")
        # A folder of this run's own: runs may overlap.
        self.work = os.path.join(build, "bench-wine", str(os.getpid()))
        os.makedirs(self.work, exist_ok=True)
        self.exe, self.minimal, self.animation = (stripped_copy(path, self.work) for path in programs)
        self.pristine = os.path.join(self.work, "pristine")
        make_pristine_prefix(self.pristine)
        self.pictures = os.path.join(self.work, "pictures")
        os.makedirs(self.pictures, exist_ok=True)
        self.centre = make_pictures(self.pictures, build, wine_env(self.pristine))

    def size(self, picture):
        return os.path.getsize(os.path.join(self.pictures, picture))

    def sides(self, plans, repeats):
        """Runs the sides of plans, (label, program, arguments, settings,
        picture to copy, scenario, its argument), side by side, repeats
        times; each label's results."""
        results = {plan[0]: [] for plan in plans}
        for repeat in range(repeats):
            opened = []
            try:
                for label, program, arguments, content, picture, *_ in plans:
                    side = Side(label, self.work, self.pristine, program, arguments, self.probe)
                    opened.append(side)
                    if content:
                        side.write_settings(content)
                    if picture:
                        os.makedirs(side.drive_c("bench"), exist_ok=True)
                        shutil.copy(os.path.join(self.pictures, picture), side.drive_c("bench", picture))
                jobs = [(side, plan[5], plan[6]) for side, plan in zip(opened, plans)]
                for side, result in zip(opened, run_side_by_side(jobs)):
                    results[side.label].append(result)
            finally:
                for side in opened:
                    side.close()
            print(f"{', '.join(results)}: run {repeat + 1} of {repeats} done", file=sys.stderr)
        return results

    def close(self):
        shutil.rmtree(self.work, ignore_errors=True)


def bench_path(picture):
    """Where a side finds a picture copied into its prefix."""
    return "C:\\bench\\" + picture if picture else ""


def popup_settings(picture="", splash=9):
    """No idle time, the longest lifetime and the largest size."""
    return settings_file(cursor=30, splash=splash, size=0, picture=bench_path(picture))


def cpu_per_10_s(results):
    return statistics.median(r["cpu"] * POPUP_LIFETIME / r["seconds"] for r in results)


def floor_size(width, height, shown=None):
    """minimal_animation_program's arguments for a popup of that size; with
    shown, showing as popups of that many seconds."""
    return [str(width), str(height), str(FRAME_MS), *([str(shown)] if shown else [])]


def idle(run, seconds, repeats):
    hidden = settings_file(wav=1)
    results = run.sides([("program", run.exe, [], hidden, None, idle_run, seconds),
                         ("sampler", run.minimal, ["--sample-pointer"], None, None, idle_run, seconds),
                         ("with-gif", run.exe, [], settings_file(wav=1, picture=bench_path("anim.gif")), "anim.gif",
                          idle_run, seconds),
                         ("with-clip", run.exe, [], settings_file(wav=1, picture=bench_path("clip.gif")), "clip.gif",
                          idle_run, seconds)], repeats)
    print(f"idle: median of {repeats} runs side by side")
    medians = {label: print_context(label, results[label]) for label in results}
    program, sampler = medians["program"], medians["sampler"]
    print_figure(f"idle CPU over {seconds:.0f} s: tarnwick.exe hidden / the minimal program reading the pointer "
                 "once a second", program["cpu"], sampler["cpu"], "s", "≤ 1.1")
    print_growth("idle VmRSS: tarnwick.exe hidden − the same minimal program", program["rss"], sampler["rss"],
                 8 * MB, "8 MB")
    print_figure("idle CPU: tarnwick.exe hidden with the 40-frame GIF chosen / the same minimal program",
                 medians["with-gif"]["cpu"], sampler["cpu"], "s", "context")
    for label, picture, name in (("with-gif", "anim.gif", f"{GIF_FRAMES}-frame 600 × 600 GIF"),
                                 ("with-clip", "clip.gif", f"{CLIP_FRAMES}-frame 640 × 480 clip")):
        size = run.size(picture)
        print_growth(f"hidden VmRSS with the {name} ({size / MB:.1f} MB) chosen − with the built-in picture",
                     medians[label]["rss"], program["rss"], 2 * size + 8 * MB, "2 × the file + 8 MB")


def popup(run, repeats):
    # Two groups, so that no more than three programs share the machine; the
    # GIF with both its floors.
    results = run.sides([("gif", run.exe, [], popup_settings("anim.gif"), "anim.gif", popup_run, None),
                         ("floor", run.animation, floor_size(600, 600), None, None, animation_run, None),
                         ("floor-popups", run.animation, floor_size(600, 600, POPUP_LIFETIME), None, None,
                          animation_popups_run, None)], repeats)
    results |= run.sides([("clip", run.exe, [], popup_settings("clip.gif"), "clip.gif", popup_run, None),
                          ("clip-floor", run.animation, floor_size(600, 450), None, None, animation_run, None),
                          ("builtin", run.exe, [], popup_settings(), None, popup_run, None)], repeats)
    print(f"popup: median of {repeats} runs side by side")
    medians = {label: print_context(label, results[label]) for label in results}
    for label, name in (("gif", f"the {GIF_FRAMES}-frame 600 × 600 GIF"),
                        ("clip", f"the {CLIP_FRAMES}-frame 640 × 480 clip")):
        print_growth(f"popup peak VmRSS: {name} − the built-in picture", medians[label]["peak"],
                     medians["builtin"]["peak"], 64 * MB, "64 MB")
    gif, floor, floor_popups = (cpu_per_10_s(results[label]) for label in ("gif", "floor", "floor-popups"))
    print_figure(f"popup CPU per 10 s: the {GIF_FRAMES}-frame 600 × 600 GIF / minimal_animation_program 600 × 600 "
                 "at 25 fps as popups, its frames made at each show", gif, floor_popups, "s", "≤ 1.2")
    print_figure(f"popup CPU per 10 s: the {GIF_FRAMES}-frame 600 × 600 GIF / minimal_animation_program 600 × 600 "
                 "at 25 fps, its frames made before", gif, floor, "s", "context")
    print_figure("popup CPU per 10 s: minimal_animation_program 600 × 600 as popups, its frames made at each show / "
                 "the same, its frames made before", floor_popups, floor, "s", "context")
    print_figure(f"popup CPU per 10 s: the {CLIP_FRAMES}-frame clip shown at 600 × 450 / minimal_animation_program "
                 "600 × 450 at 25 fps, its frames made before", cpu_per_10_s(results["clip"]),
                 cpu_per_10_s(results["clip-floor"]), "s", "≤ 1.2")


def first_paint(run, repeats):
    times = {"jpeg": [], "gif": []}
    # One program at a time: a latency, not a share of the machine.
    for _ in range(repeats):
        for label, picture in (("jpeg", "still.jpg"), ("gif", "anim.gif")):
            shown = popup_settings(picture, splash=0)
            result = run.sides([(label, run.exe, [], shown, picture, first_paint_run, run.centre)], 1)
            times[label] += result[label][0]
    jpeg, gif = statistics.median(times["jpeg"]), statistics.median(times["gif"])
    print(f"first-paint: median of {len(times['gif'])} popups each")
    print_figure(f"first frame on screen after ShowSplash: the {GIF_FRAMES}-frame 600 × 600 GIF / the same picture "
                 "as a still 600 × 600 JPEG", gif, jpeg, "ms", "≤ 1.5")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("build")
    parser.add_argument("scenario", choices=("idle", "popup", "first-paint"))
    parser.add_argument("--seconds", type=float, default=60, help="the idle window, 60 s by default")
    parser.add_argument("--repeats", type=int, help="3 (first-paint: 2) by default")
    parser.add_argument("--exe")
    args = parser.parse_args()
    build = os.path.abspath(args.build)
    run = Run(build, os.path.abspath(args.exe or os.path.join(build, "app", "tarnwick.exe")))
    try:
        if args.scenario == "idle":
            idle(run, args.seconds, args.repeats or 3)
        elif args.scenario == "popup":
            popup(run, args.repeats or 3)
        else:
            first_paint(run, args.repeats or 2)
    finally:
        run.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
