"""Popups raised by moving the pointer, and where they open."""

import time

from under_wine import Failure, check, pointer_move, wait_until


def let_popup_pass(p, what):
    """Waits for a popup that is due to come, within 5 s, and go."""
    wait_until(lambda: p.probe("splash") != "none", 5)
    check(wait_until(lambda: p.probe("splash") == "none", 5), f"{what} did not close")


def popup_after_moves(p, targets, move=pointer_move):
    """Moves the pointer to each of targets in turn, each time after a tick
    has seen it rest, until a popup appears; returns the popup as (left, top,
    right, bottom, style, exstyle) and the target it appeared at."""
    for target in targets:
        time.sleep(1.2)  # one tick samples the resting pointer
        move(*target)
        popup = wait_until(lambda: (answer := p.probe("splash")) != "none" and answer, 2.5)
        if popup:
            left, top, right, bottom, style, exstyle = popup.split()
            return (int(left), int(top), int(right), int(bottom), int(style, 16), int(exstyle, 16)), target
    raise Failure("no popup appeared after the pointer moved")


def check_centred(rectangle, point):
    left, top, right, bottom = rectangle
    centre = ((left + right) / 2, (top + bottom) / 2)
    check(abs(centre[0] - point[0]) <= 1 and abs(centre[1] - point[1]) <= 1,
          f"the popup {left},{top}-{right},{bottom} is not centred on the pointer {point}")
