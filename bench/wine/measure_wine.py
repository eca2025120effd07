#!/usr/bin/env python3
"""CPU time and memory of the real tarnwick.exe under Wine, against baselines.

    measure_wine.py BUILD_DIR idle  [--seconds 60] [--repeats 3] [--exe EXE]
    measure_wine.py BUILD_DIR popup [--repeats 3] [--exe EXE]

BUILD_DIR is the win64 build (app/tarnwick.exe, bench/wine/minimal_timer_program.exe,
tests/e2e/e2e_probe.exe); --exe measures another build of the program.

idle:  the program hidden and watching (crossing sound on) beside
       minimal_timer_program.exe (a window, a one-second timer, a message loop),
       and beside the same with --sample-pointer (GetCursorPos each tick) for
       context: the part of the watcher's cost that sampling itself takes;
       also the program idling with the animated GIF chosen as its picture.
popup: the popup showing a 600 x 600 GIF of 25 frames a second beside the
       same popup showing a still 600 x 600 JPEG of the same content: two
       popups each, measured for the 8 to 9 s each is surely up, the CPU
       compared per 10 s of popup. For context, also beside
       minimal_animation_program.exe: 40 ready 600 x 600 frames, a 40 ms
       timer and one BitBlt a WM_PAINT, the floor of any animation.

All sides run at the same time, each in its own Xvfb, its own copy of one
pristine Wine prefix and its own wineserver, so that none's X server or
wineserver works for another. CPU is the run time the scheduler counts for
the threads of the Wine process that runs the exe (found by its command
line; /proc/PID/task/*/schedstat, in nanoseconds), taken over a window after
start-up settled. utime + stime from /proc/PID/stat is printed beside it but
counts 10 ms ticks, too coarse for a minute of idling; the wineserver's and
the X server's CPU over the same window are printed for context. Memory is
the process's VmRSS at the window's end. The exes run as stripped copies,
as the release ships: Wine reads a MinGW exe's debug sections into memory
with the rest.
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

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "e2e"))
from run_e2e import FIRST_RUN_SETTINGS, WINE, WINESERVER, make_pristine_prefix, wait_until, wine_env  # noqa: E402

TICKS = os.sysconf("SC_CLK_TCK")
STRIP = shutil.which("x86_64-w64-mingw32-strip") or "strip"
PICTURE_SIDE = 600
GIF_FRAMES = 40  # 1.6 s of animation at 4 cs a frame
POPUPS = 2
POPUP_LIFETIME = 10  # seconds: "Splash" 9, the longest


def settings(cursor=5, splash=2, picture="", size=1, wav=0):
    """A settings file as the program writes it, with First off."""
    return (FIRST_RUN_SETTINGS
            .replace(b'"9">5</Cursor>', b'"9">%d</Cursor>' % cursor)
            .replace(b'"9">2</Splash>', b'"9">%d</Splash>' % splash)
            .replace(b'"10"></Picture>', b'"10">%s</Picture>' % picture.encode())
            .replace(b'"9">1</Size>', b'"9">%d</Size>' % size)
            .replace(b'"9">0</Wav>', b'"9">%d</Wav>' % wav))


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


def resident_mib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024
    return None


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

    def __init__(self, label, work, pristine, display, exe, args, probe):
        self.label, self.exe, self.args, self.probe_exe = label, exe, args, probe
        self.prefix = os.path.join(work, label)
        shutil.rmtree(self.prefix, ignore_errors=True)
        subprocess.run(["cp", "-a", pristine, self.prefix], check=True)
        self.display = display
        self.xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", "1920x1080x24", "-nolisten", "tcp"],
                                     stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL, start_new_session=True)
        self.env = wine_env(self.prefix)
        self.env["DISPLAY"] = display
        if not wait_until(lambda: subprocess.run(["xdpyinfo"], env=self.env, stdout=subprocess.DEVNULL,
                                                 stderr=subprocess.DEVNULL).returncode == 0, 10, 0.1):
            raise SystemExit(f"measure_wine: Xvfb {display} did not start")
        self.log = open(os.path.join(self.prefix, "wine.log"), "ab")
        subprocess.run([WINESERVER, "-p60"], env=self.env, check=True)
        self.process = None

    def drive_c(self, *parts):
        return os.path.join(self.prefix, "drive_c", *parts)

    def write_settings(self, content):
        (users,) = [u for u in os.listdir(self.drive_c("users")) if u != "Public"]
        path = self.drive_c("users", users, "AppData", "Roaming", "Fellmoor", "Tarnwick", "Tarnwick.xml")
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(content)

    def start(self):
        self.process = subprocess.Popen([WINE, self.exe, *self.args], env=self.env, stdin=subprocess.DEVNULL,
                                        stdout=self.log, stderr=self.log)

    def probe(self, *args):
        with tempfile.TemporaryFile() as out:
            subprocess.run([WINE, self.probe_exe, *args], env=self.env, stdin=subprocess.DEVNULL,
                           stdout=out, stderr=self.log, timeout=30)
            out.seek(0)
            return out.read().decode().strip()

    def pids(self):
        """The program's, the wineserver's and the X server's pids."""
        program = wait_until(lambda: find_process(self.prefix, os.path.basename(self.exe)), 20)
        server = find_process(self.prefix, "wineserver")
        if not program or not server:
            raise SystemExit(f"measure_wine: {self.label}: no Wine process of {self.exe} or no wineserver")
        return program, server, self.xvfb.pid

    def move_pointer(self, x, y):
        subprocess.run(["xdotool", "mousemove", str(x), str(y)], env=self.env, check=True)

    def close(self):
        subprocess.run([WINESERVER, "-k"], env=self.env, stderr=subprocess.DEVNULL)
        subprocess.run([WINESERVER, "-w"], env=self.env, stderr=subprocess.DEVNULL)
        if self.process:
            self.process.wait()
        # Terminated, not killed: Xvfb then removes its lock file.
        self.xvfb.terminate()
        self.xvfb.wait()
        self.log.close()
        shutil.rmtree(self.prefix, ignore_errors=True)


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
                "rss": resident_mib(self.pids[0])}


# ------------------------------------------------------------ scenarios

def idle_run(side, seconds):
    side.start()
    pids = side.pids()
    time.sleep(5)  # start-up settles: the first ticks, the lazy parts of Wine
    window = Window(pids)
    time.sleep(seconds)
    return window.end()


def raise_popup(side):
    """Moves the pointer until the popup shows; when the move that raised it
    was made (the popup shows at a later tick), or None when it never shows."""
    for target in ((900, 500), (1000, 600), (900, 500), (1000, 600)):
        time.sleep(1.2)  # a tick samples the resting pointer
        moved = time.monotonic()
        side.move_pointer(*target)
        if wait_until(lambda: side.probe("splash") != "none", 2.5, 0.1):
            return moved
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
    spans = []
    for _ in range(POPUPS):
        moved = raise_popup(side)
        if moved is None:
            raise SystemExit(f"measure_wine: {side.label}: no popup appeared")
        window = Window(pids)
        time.sleep(max(0.0, moved + POPUP_LIFETIME - 0.7 - time.monotonic()))
        spans.append(window.end())
        if not wait_until(lambda: side.probe("splash") == "none", 5):
            raise SystemExit(f"measure_wine: {side.label}: the popup outlived its lifetime")
    summed = {key: sum(span[key] for span in spans) for key in ("seconds", "ticks", "cpu", "server", "x")}
    return summed | {"rss": spans[-1]["rss"]}


def animation_run(side, _):
    """The floor program playing for as long as the popups are measured."""
    side.start()
    pids = side.pids()
    time.sleep(5)
    window = Window(pids)
    time.sleep(POPUPS * (POPUP_LIFETIME - 1.5))
    return window.end()


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

def make_pictures(folder):
    """A looping 600 x 600 GIF of a moving gradient at 4 cs a frame, and its first frame as a JPEG."""
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


def stripped_copy(exe, folder):
    copy = os.path.join(folder, os.path.basename(exe))
    subprocess.run([STRIP, "-o", copy, exe], check=True)
    return copy


# ------------------------------------------------------------ the report

def free_displays(count):
    found = []
    for number in range(160, 200):
        if not os.path.exists(f"/tmp/.X{number}-lock") and not os.path.exists(f"/tmp/.X11-unix/X{number}"):
            found.append(f":{number}")
            if len(found) == count:
                return found
    raise SystemExit("measure_wine: no free display numbers in :160..:199")


def print_figure(name, value, baseline, unit, target):
    ratio = value / baseline if baseline else float("inf")
    print(f"| {name} | {value:.3f} {unit} | {baseline:.3f} {unit} | {ratio:.2f} | {target} |")


def print_context(label, results):
    median = {key: statistics.median(r[key] for r in results) for key in results[0]}
    print(f"  {label}: program {median['cpu']:.3f} s (utime+stime {median['ticks']:.2f} s), wineserver {median['server']:.3f} s, "
          f"Xvfb {median['x']:.3f} s over {median['seconds']:.1f} s; VmRSS {median['rss']:.1f} MiB "
          f"(runs: {', '.join('%.3f' % r['cpu'] for r in results)})")
    return median


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("build")
    parser.add_argument("scenario", choices=("idle", "popup"))
    parser.add_argument("--seconds", type=float, help="the idle window, 60 s by default")
    parser.add_argument("--repeats", type=int, default=3)
    parser.add_argument("--exe")
    args = parser.parse_args()
    build = os.path.abspath(args.build)
    exe = os.path.abspath(args.exe or os.path.join(build, "app", "tarnwick.exe"))
    minimal = os.path.join(build, "bench", "wine", "minimal_timer_program.exe")
    animation = os.path.join(build, "bench", "wine", "minimal_animation_program.exe")
    probe = os.path.join(build, "tests", "e2e", "e2e_probe.exe")
    for path in (exe, minimal, animation, probe):
        if not os.path.exists(path):
            raise SystemExit(f"measure_wine: {path} is missing; build the win64 preset first")

    # A folder of this run's own: runs may overlap.
    work = os.path.join(build, "bench-wine", str(os.getpid()))
    os.makedirs(work, exist_ok=True)
    exe, minimal, animation = (stripped_copy(path, work) for path in (exe, minimal, animation))
    pristine = os.path.join(work, "pristine")
    make_pristine_prefix(pristine)
    pictures = os.path.join(work, "pictures")
    os.makedirs(pictures, exist_ok=True)
    make_pictures(pictures)

    # (label, exe, arguments, settings, picture to copy) of the measured side, then the baselines.
    if args.scenario == "idle":
        seconds = args.seconds or 60
        sides = [("program", exe, [], settings(wav=1), None), ("baseline", minimal, [], None, None),
                 ("sampler", minimal, ["--sample-pointer"], None, None),
                 ("with-gif", exe, [], settings(wav=1, picture="C:\\bench\\anim.gif"), "anim.gif")]
        scenario = idle_run
    else:
        seconds = POPUPS * POPUP_LIFETIME
        popup = dict(cursor=30, splash=9, size=0)
        sides = [("gif", exe, [], settings(picture="C:\\bench\\anim.gif", **popup), "anim.gif"),
                 ("jpeg", exe, [], settings(picture="C:\\bench\\still.jpg", **popup), "still.jpg"),
                 ("floor", animation, [], None, None)]
        scenario = popup_run

    results = {label: [] for label, *_ in sides}
    for repeat in range(args.repeats):
        displays = free_displays(len(sides))
        opened = []
        try:
            for (label, program, arguments, content, picture), display in zip(sides, displays):
                side = Side(label, work, pristine, display, program, arguments, probe)
                opened.append(side)
                if content:
                    side.write_settings(content)
                if picture:
                    os.makedirs(side.drive_c("bench"), exist_ok=True)
                    shutil.copy(os.path.join(pictures, picture), side.drive_c("bench", picture))
            jobs = [(side, animation_run if side.label == "floor" else scenario, seconds) for side in opened]
            for side, result in zip(opened, run_side_by_side(jobs)):
                results[side.label].append(result)
        finally:
            for side in opened:
                side.close()
        print(f"run {repeat + 1} of {args.repeats} done", file=sys.stderr)
    shutil.rmtree(work, ignore_errors=True)

    print(f"{args.scenario}: median of {args.repeats} runs side by side")
    medians = {label: print_context(label, results[label]) for label in results}
    if args.scenario == "idle":
        program, baseline = medians["program"], medians["baseline"]
        print_figure("idle CPU, tarnwick / minimal timer program", program["cpu"], baseline["cpu"], "s", "<= 1.5")
        print_figure("idle CPU, minimal timer program sampling the pointer / without", medians["sampler"]["cpu"],
                     baseline["cpu"], "s", "context")
        print_figure("idle CPU, tarnwick with an animated GIF chosen / minimal timer program",
                     medians["with-gif"]["cpu"], baseline["cpu"], "s", "<= 1.5")
        extra = program["rss"] - baseline["rss"]
        print(f"| idle VmRSS, tarnwick - minimal timer program | {program['rss']:.1f} MiB | "
              f"{baseline['rss']:.1f} MiB | +{extra:.1f} MiB | <= +8 MB |")
    else:
        gif, jpeg = (statistics.median(r["cpu"] * POPUP_LIFETIME / r["seconds"] for r in results[label])
                     for label in ("gif", "jpeg"))
        floor = statistics.median(r["cpu"] * POPUP_LIFETIME / r["seconds"] for r in results["floor"])
        print_figure("popup CPU per 10 s, 600x600 GIF at 25 fps / still JPEG", gif, jpeg, "s", "<= 3")
        print_figure("popup CPU per 10 s, 600x600 GIF at 25 fps / one BitBlt a frame (floor)", gif, floor, "s",
                     "context")
    return 0


if __name__ == "__main__":
    sys.exit(main())
