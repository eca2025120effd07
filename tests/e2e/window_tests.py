"""The settings window and the popup driven as a user drives them: real
clicks and keys through xdotool, the real exe."""

import subprocess

from under_wine import FIRST_RUN_SETTINGS, check, exited, run_helper, settings_file, wait_until



def xdotool(*args):
    subprocess.run(["xdotool", *args], check=True)


def lookout(p, *args):
    return run_helper(p, "e2e_lookout.exe", *args)


def focus(p):
    """(active window's class, focused window's class, its text)."""
    active, focused, *text = lookout(p, "focus").split(" ", 2) + [""]
    return active, focused, text[0]


def wait_focus(p, expected, what, timeout=5):
    seen = wait_until(lambda: focus(p) == expected, timeout)
    check(seen, f"{what}: the focus is {focus(p)}, not {expected}")


FIRST_CONTROL = ("TMainForm", "Button", "中")
DISPLAY_TIME = ("TMainForm", "TComboBox", "3秒")
IDLE_TIME = ("TMainForm", "TComboBox", "60秒")


def test_a_preview_takes_the_key_that_closes_it_and_the_window_gets_its_focus_back(p):
    running = p.start()
    p.wait_main_state("visible")
    wait_focus(p, FIRST_CONTROL, "the window as first shown")
    # One monitor: the sound group is off, so Tab goes round three controls.
    for keys, expected in ((["Tab"], DISPLAY_TIME), (["Tab"], IDLE_TIME), (["Tab"], FIRST_CONTROL),
                           (["shift+Tab"], IDLE_TIME)):
        xdotool("key", *keys)
        wait_focus(p, expected, f"after {' '.join(keys)}")

    x, y = lookout(p, "picture-centre").split()
    xdotool("mousemove", x, y)
    xdotool("click", "--repeat", "2", "--delay", "80", "1")
    popup = wait_until(lambda: p.probe("splash") != "none", 5)
    check(popup, "no popup after a double click on the picture")
    check(focus(p)[0] == "TSplashForm", f"the popup is not the active window: {focus(p)}")
    # The idle-time list had the focus: a "2" reaching it would pick 20秒.
    xdotool("key", "2")
    check(wait_until(lambda: p.probe("splash") == "none", 1.5), "a key did not close the popup")
    wait_focus(p, IDLE_TIME, "after the popup closed")
    check(lookout(p, "taskbar") == "visible", "the open window lost its taskbar entry to the popup")
    p.close_main(running)
    check(p.read_settings() == FIRST_RUN_SETTINGS,
              f"a setting changed while the popup was up:\n{p.read_settings().decode()}")


def test_a_second_start_brings_the_window_to_the_front_with_its_taskbar_entry(p):
    p.write_settings(settings_file())
    running = p.start()
    p.wait_main_state("hidden")
    check(lookout(p, "taskbar") == "hidden", "a hidden window has a taskbar entry")
    check(exited(p.start(), 15) == 0, "the second start did not end with exit code 0")
    p.wait_main_state("visible", timeout=5)
    check(lookout(p, "taskbar") == "visible", "the taskbar entry did not come back")
    check(wait_until(lambda: lookout(p, "foreground") == "TMainForm", 5),
              f"the shown window is not in front: {lookout(p, 'foreground')}")
    wait_focus(p, FIRST_CONTROL, "the window shown by the request")

    # Another program covers the open window; starting Tarnwick again is how
    # the user gets it back.
    cover(p)
    check(wait_until(lambda: lookout(p, "foreground") == "Notepad", 10),
              f"notepad did not come to the front: {lookout(p, 'foreground')}")
    check(exited(p.start(), 15) == 0, "the third start did not end with exit code 0")
    check(wait_until(lambda: lookout(p, "foreground") == "TMainForm", 5),
              f"the covered window did not come to the front: {lookout(p, 'foreground')}")
    check(running.poll() is None, "the running instance ended")
    p.close_main(running)


def cover(p):
    """Starts Wine's notepad in the test's prefix, ended with the prefix."""
    p.processes.append(subprocess.Popen([p.env["WINELOADER"], "notepad.exe"], env=p.env, stdin=subprocess.DEVNULL,
                                        stdout=p.log, stderr=p.log))
