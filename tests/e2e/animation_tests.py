"""Long animations played end to end: a clip of 300 frames and one of 1000
play in the popup, while the program's memory, read from outside through
/proc, stays near the same program's with the built-in picture."""

import os
import subprocess
import time

from under_wine import Failure, check, pointer_move, run_helper, settings_file, wait_until


MIB = 1024 * 1024
# Above the same program with the built-in picture: hidden, twice the file
# and 8 MB; at the peak of a popup, 64 MB whatever the number of frames.
HIDDEN_ALLOWANCE = 8 * MIB
POPUP_ALLOWANCE = 64 * MIB


def settings(picture):
    """No idle time (the first tick shows a popup), five seconds a popup, the
    largest size, and picture."""
    return settings_file(cursor=30, splash=4, picture=picture, size=0)


def status_bytes(process, key):
    with open(f"/proc/{process.pid}/status") as status:
        for line in status:
            if line.startswith(key + ":"):
                return int(line.split()[1]) * 1024
    raise Failure(f"no {key} for the program's process")


def screen(p, left, top, right, bottom):
    return subprocess.run(["import", "-window", "root", "-crop", f"{right - left}x{bottom - top}+{left}+{top}",
                           "-depth", "8", "rgb:-"], env=p.env, stdin=subprocess.DEVNULL, capture_output=True,
                          check=True).stdout


def play(p, picture):
    """Runs the program on picture (a Windows path, or "" for the built-in
    one) through the popup at its start: whether two looks at the popup
    differed, the resident memory once it closed, and the peak."""
    p.write_settings(settings(picture))
    running = p.start()
    p.wait_main_state("hidden")
    popup = wait_until(lambda: (answer := p.probe("splash")) != "none" and answer, 10)
    check(popup, f"no popup showed {picture or 'the built-in picture'}")
    left, top, right, bottom = (int(value) for value in popup.split()[:4])
    time.sleep(0.5)
    first = screen(p, left, top, right, bottom)
    time.sleep(0.3)
    moved = screen(p, left, top, right, bottom) != first
    check(wait_until(lambda: p.probe("splash") == "none", 10), "the popup outlived its lifetime")
    time.sleep(1)
    hidden, peak = status_bytes(running, "VmRSS"), status_bytes(running, "VmHWM")
    check(run_helper(p, "e2e_lookout.exe", "error-box") == "none", f"an error box for {picture}")
    p.close_main(running)
    return moved, hidden, peak


def make_animation(p, frames, name):
    """A 640 x 480 animation of frames in drive C: its Windows path and size."""
    os.makedirs(os.path.join(p.path, "drive_c", "pictures"), exist_ok=True)
    path = "C:\\pictures\\" + name
    return path, int(run_helper(p, "e2e_animation.exe", str(frames), path))


def test_long_animations_play_in_the_popup_in_bounded_memory(p):
    pointer_move(700, 500)
    _, builtin_hidden, builtin_peak = play(p, "")
    figures = [f"built-in picture: hidden {builtin_hidden / MIB:.1f} MiB, peak {builtin_peak / MIB:.1f} MiB"]
    for frames, name in ((300, "clip.gif"), (1000, "long.gif")):
        path, size = make_animation(p, frames, name)
        moved, hidden, peak = play(p, path)
        figures.append(f"{frames} frames ({size / 1e6:.1f} MB): hidden +{(hidden - builtin_hidden) / MIB:.1f} MiB, "
                       f"peak +{(peak - builtin_peak) / MIB:.1f} MiB")
        check(moved, f"the popup showing {name} did not animate")
        check(hidden <= builtin_hidden + 2 * size + HIDDEN_ALLOWANCE,
                  f"hidden after playing {name}: {hidden / MIB:.1f} MiB, built-in {builtin_hidden / MIB:.1f} MiB")
        check(peak <= builtin_peak + POPUP_ALLOWANCE,
                  f"peak while playing {name}: {peak / MIB:.1f} MiB, built-in {builtin_peak / MIB:.1f} MiB")
    print("     animations: " + "; ".join(figures))
