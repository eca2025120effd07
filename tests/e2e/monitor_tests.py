"""The program on several real monitors: an Xorg display with the dummy
driver, laid out with xrandr by scripts/xorg-monitors.sh, started once for these
tests alone. The crossing sound is read from Wine's winmm
trace of the program's process; the sound group, the popups and the
monitors Wine reports come from the helpers."""

import os
import re
import signal
import subprocess
import time
import wave

import pytest

from popups import check_centred, let_popup_pass, popup_after_moves
from under_wine import check, exited, run_helper, settings_file, wait_until


SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts", "xorg-monitors.sh")

# Each layout of the script: what Wine reports for it (e2e_probe monitors),
# and where the primary monitor's origin lies on the X screen.
LAYOUTS = {
    "one": ("1 0,0,1024,768", 0),
    "right": ("2 0,0,1024,768 1024,0,1824,600", 0),
    "left": ("2 0,0,1024,768 -800,0,0,600", 800),
    "apart": ("2 0,0,1024,768 1025,0,1825,600", 0),
    "three": ("3 0,0,1024,768 1024,0,1824,600 1824,0,2624,600", 0),
}

# Points in Wine's virtual-screen coordinates.
PRIMARY = (300, 300)
RIGHT, RIGHT_ELSEWHERE = (1400, 300), (1500, 400)
BELOW_RIGHT = (1400, 700)  # the gap below the smaller monitor, in "apart"
LEFT, LEFT_ELSEWHERE = (-400, 300), (-300, 400)
THIRD = (2200, 300)

# A tick comes once a second: two have passed after this long.
TWO_TICKS = 2.2


@pytest.fixture(scope="module")
def monitor_display(work):
    """The Xorg display these tests run on, started once for them all. When
    it cannot start, each of them fails: without it they would prove nothing."""
    result = subprocess.run([SCRIPT, "start", work], stdin=subprocess.DEVNULL, capture_output=True, text=True,
                            timeout=60)
    check(result.returncode == 0, "the several-monitor display could not start: "
          + (result.stderr.strip() or f"xorg-monitors.sh ended with {result.returncode}"))
    name, pid = result.stdout.split()
    yield name
    os.kill(int(pid), signal.SIGTERM)
    check(wait_until(lambda: not os.path.exists(f"/tmp/.X{name[1:]}-lock"), 10), f"Xorg {name} did not end")


@pytest.fixture
def test_display(monitor_display):
    return monitor_display


class Screen:
    """The test display's monitors, as one test arranges them."""

    def __init__(self, p, layout):
        self.p = p
        self.arrange(layout)

    def arrange(self, layout):
        """Lays the monitors out, waits until Wine reports them so, and tells
        a running program as Windows would."""
        subprocess.run([SCRIPT, "layout", layout], env=self.p.env, stdin=subprocess.DEVNULL, check=True)
        expected, self.x_origin = LAYOUTS[layout]
        # Wine reports a change only while its desktop runs, and only once a
        # process asks: the first answer here, or the program, keeps it up.
        check(wait_until(lambda: self.p.probe("monitors") == expected, 20),
                  f"Wine reports the monitors {self.p.probe('monitors')!r}, not layout {layout}: {expected!r}")
        self.p.probe("display-change")

    def move(self, x, y):
        """Moves the pointer to a point in Wine's coordinates."""
        subprocess.run(["xdotool", "mousemove", str(x + self.x_origin), str(y)], env=self.p.env, check=True)


def sound_group(p):
    return run_helper(p, "e2e_lookout.exe", "sound-group")


class SoundTrace:
    """The program's PlaySound and sndPlaySound calls, as Wine's winmm trace
    in the file at path logs them: each call's (sound given, module, flags),
    and the names of the sounds it went on to play."""

    CALL = re.compile(rb"trace:winmm:MULTIMEDIA_PlaySound pszSound='?([0-9A-Fa-f]+)'? "
                      rb"hmod=([0-9A-Fa-f]+) fdwSound=([0-9A-Fa-f]+)")
    PLAYED = re.compile(rb'trace:winmm:proc_PlaySound SoundName=L"(.*)" !')

    def __init__(self, path):
        self.path = path
        self.calls_seen = self.names_seen = 0

    def read(self):
        with open(self.path, "rb") as f:
            text = f.read()
        calls = [(int(sound, 16) != 0, int(module, 16), int(flags, 16)) for sound, module, flags in
                 self.CALL.findall(text)]
        # Wine writes names with C escapes: one backslash shows as two.
        names = [name.decode().replace("\\\\", "\\") for name in self.PLAYED.findall(text)]
        return calls, names

    def expect(self, calls, names, what):
        """Waits for exactly these calls and played names after those seen so far."""
        def arrived():
            now_calls, now_names = self.read()
            return (len(now_calls) >= self.calls_seen + len(calls) and
                    len(now_names) >= self.names_seen + len(names) and (now_calls, now_names))
        all_calls, all_names = wait_until(arrived, 5) or self.read()
        new_calls, new_names = all_calls[self.calls_seen:], all_names[self.names_seen:]
        check(new_calls == calls and new_names == names,
                  f"{what}: the sound calls were {describe(new_calls)} playing {new_names}, "
                  f"not {describe(calls)} playing {names}")
        self.calls_seen, self.names_seen = len(all_calls), len(all_names)

    def expect_silence(self, what):
        """Lets two ticks pass and checks that nothing was played."""
        time.sleep(TWO_TICKS)
        self.expect([], [], what)


def describe(calls):
    return [f"({'sound' if sound else 'NULL'}, {module:#x}, {flags:#x})" for sound, module, flags in calls]


SND_ASYNC, SND_NODEFAULT, SND_RESOURCE = 0x1, 0x2, 0x40004


def built_in_sound(p):
    """The calls and the name of one built-in sound: stop what plays, then play
    the resource from the program's own module."""
    module = int(p.probe("program-module"), 16)
    return [(False, 0, SND_RESOURCE), (True, module, SND_RESOURCE | SND_ASYNC)], ["page"]


def start_hidden(p, screen, **settings):
    """Starts the program hidden, with the pointer on the primary monitor and
    its winmm calls traced; returns the trace."""
    p.write_settings(settings_file(**settings))
    screen.move(*PRIMARY)
    trace = SoundTrace(os.path.join(p.path, "winmm-trace.log"))
    with open(trace.path, "wb") as log:
        p.start(winedebug="trace+winmm", log=log)
    p.wait_main_state("hidden")
    return trace


def test_crossings_play_the_built_in_sound_once_each_and_the_gap_counts_as_leaving(p):
    screen = Screen(p, "apart")
    trace = start_hidden(p, screen, wav=1)
    check(sound_group(p) == "enabled", f"the sound group is {sound_group(p)} with two monitors")
    trace.expect_silence("the first sighting")
    sound = built_in_sound(p)
    for point, played, what in (
            (RIGHT, sound, "to the right monitor"),
            (RIGHT_ELSEWHERE, None, "a tick on the same monitor"),
            (PRIMARY, sound, "back to the primary"),
            (BELOW_RIGHT, sound, "into the gap below the smaller monitor"),
            # The gap left no monitor known: the next tick only records one.
            (RIGHT, None, "out of the gap onto another monitor"),
            (PRIMARY, sound, "on to the primary")):
        screen.move(*point)
        if played:
            trace.expect(*played, what)
        else:
            trace.expect_silence(what)


def test_crossings_to_the_left_play_the_chosen_file_and_a_missing_file_plays_nothing(p):
    sound_file = os.path.join(p.path, "drive_c", "chime.wav")
    with wave.open(sound_file, "wb") as chime:
        chime.setparams((1, 2, 8000, 0, "NONE", None))
        chime.writeframes(b"\0\0" * 800)
    screen = Screen(p, "left")
    trace = start_hidden(p, screen, wav=2, wav_file="C:\\chime.wav")
    trace.expect_silence("the first sighting")
    played = [(True, 0, SND_ASYNC | SND_NODEFAULT)], ["C:\\chime.wav"]
    screen.move(*LEFT)
    trace.expect(*played, "to the monitor left of the primary")
    screen.move(*PRIMARY)
    trace.expect(*played, "back to the primary")
    os.remove(sound_file)
    screen.move(*LEFT)
    trace.expect_silence("to the left with the file gone")
    check(run_helper(p, "e2e_lookout.exe", "error-box") == "none", "a missing sound file raised an error")


def test_a_popup_opens_centred_on_the_pointer_on_a_monitor_right_or_left(p):
    screen = Screen(p, "right")
    # No idle time: each move after a rest shows a one-second popup.
    start_hidden(p, screen, cursor=30, splash=0)
    let_popup_pass(p, "a popup at start")
    check_popup_centred(p, screen, (RIGHT, RIGHT_ELSEWHERE, RIGHT))
    screen.arrange("left")
    # The pointer stays where it was on the X screen, elsewhere in Wine's
    # coordinates now: a move, which shows a popup.
    let_popup_pass(p, "the popup after the layout changed")
    check_popup_centred(p, screen, (LEFT, LEFT_ELSEWHERE, LEFT))


def check_popup_centred(p, screen, targets):
    (*rectangle, _, _), target = popup_after_moves(p, targets, screen.move)
    check_centred(rectangle, target)
    check(wait_until(lambda: p.probe("splash") == "none", 4), "the popup did not close by its timer")


def test_a_monitor_added_or_removed_while_running_counts_for_the_next_crossings(p):
    screen = Screen(p, "right")
    trace = start_hidden(p, screen, wav=1)
    trace.expect_silence("the first sighting")
    sound = built_in_sound(p)
    screen.move(*RIGHT)
    trace.expect(*sound, "to the right monitor")
    screen.arrange("three")
    for point, what in ((THIRD, "to the monitor added"), (PRIMARY, "from there to the primary"),
                        (THIRD, "back to the monitor added")):
        screen.move(*point)
        trace.expect(*sound, what)
    # X puts the pointer on the monitor beside the one removed under it.
    screen.arrange("right")
    trace.expect(*sound, "the monitor under the pointer removed")
    screen.move(*RIGHT_ELSEWHERE)
    trace.expect_silence("a tick on the monitor the pointer was put on")


def test_started_with_one_monitor_the_sound_stays_off_after_a_second_is_added(p):
    screen = Screen(p, "one")
    trace = start_hidden(p, screen, wav=1)
    check(sound_group(p) == "disabled", f"the sound group is {sound_group(p)} with one monitor")
    screen.arrange("right")
    for point in (RIGHT, PRIMARY):
        screen.move(*point)
        trace.expect_silence("a crossing after a second monitor came")
    check(exited(p.start(), 15) == 0, "the second start did not end with exit code 0")
    p.wait_main_state("visible", timeout=5)
    check(sound_group(p) == "disabled", f"the sound group is {sound_group(p)} after a second monitor came")
