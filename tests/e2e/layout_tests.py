"""The settings window and the popup at 96, 144 and 192 dpi, in the Japanese
locale the program is written for: every control inside the window, no
caption or list entry cut off, every character drawn with a real glyph,
the controls of a disabled group drawn disabled, and the popup the same
size in screen pixels. Read from the window itself: rectangles, texts and
text extents in each control's own font, taken inside the running program."""

import subprocess

import pytest

from under_wine import check, run_helper, wait_until


DESIGN_DPI = 120


def scaled(value, dpi):
    """A size of the 120-dpi design at dpi, rounded as the system's MulDiv does."""
    return (value * dpi + DESIGN_DPI // 2) // DESIGN_DPI


def set_dpi(p, dpi):
    for key in (r"HKCU\Control Panel\Desktop", r"HKCC\Software\Fonts"):
        subprocess.run([p.env["WINELOADER"], "reg", "add", key, "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(dpi),
                        "/f"], env=p.env, stdin=subprocess.DEVNULL, stdout=p.log, stderr=p.log, check=True)


class Window:
    """One line of the agent's layout: a window, or a list entry."""

    def __init__(self, line):
        kind, left, top, right, bottom, enabled, width, ink, height, missing, *text = line.split(" ", 10) + [""]
        self.kind, self.text = kind, text[0]
        self.left, self.top, self.right, self.bottom = int(left), int(top), int(right), int(bottom)
        self.enabled, self.text_width, self.ink_width = enabled == "1", int(width), int(ink)
        self.line_height, self.missing = int(height), int(missing)

    def inside(self, other):
        return (other.left <= self.left and self.right <= other.right and other.top <= self.top
                and self.bottom <= other.bottom)

    def __repr__(self):
        return f"{self.kind} {self.text!r} ({self.left},{self.top})-({self.right},{self.bottom})"


def read_layout(p):
    lines = run_helper(p, "e2e_inject.exe", "layout").splitlines()
    check(lines and lines[-1].startswith("shadow "), f"no layout from the program: {lines}")
    shadow = tuple(int(c) for c in lines[-1].split()[1:])
    return [Window(line) for line in lines[:-1]], shadow


def check_whole(windows, dpi):
    client, controls = windows[0], windows[1:]
    width, height = client.right - client.left, client.bottom - client.top
    check((width, height) == (scaled(368, dpi), scaled(304, dpi)),
              f"{dpi} dpi: the client area is {width} x {height}, not the design's 368 x 304 scaled")
    area = Window(f"area 0 0 {width} {height} 1 0 0 0 0")
    for control in controls:
        check(control.inside(area), f"{dpi} dpi: {control} reaches outside the client area")
        check(control.missing == 0, f"{dpi} dpi: {control.missing} characters of {control} have no glyph")
    captioned = [c for c in controls if c.kind == "TGroupBox" and c.text]
    check(len(captioned) == 4, f"{dpi} dpi: group boxes with captions: {captioned}")
    for group in captioned:
        check(group.text_width + 8 <= group.right - group.left, f"{dpi} dpi: the caption of {group} is cut off")
        for control in controls:
            if control is not group and control.kind != "entry" and control.inside(group):
                check(control.top >= group.top + group.line_height,
                          f"{dpi} dpi: {control} covers the caption of {group}")
    for entry in (c for c in controls if c.kind in ("entry", "TComboBox")):
        # The list's button is as wide as a scroll bar, about the list's height.
        room = entry.right - entry.left - (entry.bottom - entry.top) - 4
        check(entry.text_width <= room, f"{dpi} dpi: the list entry {entry} is cut off ({entry.text_width} > {room})")
    for button in (c for c in controls if c.kind == "Button"):
        check(button.text_width + button.line_height <= button.right - button.left,
                  f"{dpi} dpi: the button {button} is cut off")
        check(button.bottom - button.top >= button.line_height, f"{dpi} dpi: the button {button} is too low")


def check_disabled_group(windows, dpi):
    """One monitor: the sound group and everything in it look disabled."""
    (group,) = [w for w in windows if w.kind == "TGroupBox" and w.text == "モニタ間移動音声"]
    inner = [w for w in windows[1:] if w is not group and w.inside(group)]
    check(not group.enabled and len(inner) >= 5, f"{dpi} dpi: the sound group is {group.enabled}, holding {inner}")
    for control in inner:
        check(not control.enabled, f"{dpi} dpi: {control} in the disabled sound group is drawn enabled")


def screen_box(p, x, y, width, height):
    """The RGB pixels of a screen rectangle, a list of rows."""
    raw = subprocess.run(["import", "-window", "root", "-crop", f"{width}x{height}+{x}+{y}", "-depth", "8", "rgb:-"],
                         env=p.env, stdin=subprocess.DEVNULL, capture_output=True, check=True).stdout
    pixels = [tuple(raw[i:i + 3]) for i in range(0, len(raw), 3)]
    return [pixels[row * width:(row + 1) * width] for row in range(height)]


def drawn_text_width(band, frame_rows):
    """How wide a caption's band has ink, first to last: pixels other than
    the background's, apart from the frame's own rows and edges."""
    rows = [row[3:-3] for y, row in enumerate(band) if y not in frame_rows]
    background = max(set(pixel for row in rows for pixel in row), key=lambda c: sum(row.count(c) for row in rows))
    ink = [x for x in range(len(rows[0])) if any(row[x] != background for row in rows)]
    return ink[-1] - ink[0] + 1 if ink else 0


def check_caption_frames(p, windows, shadow, dpi):
    """Each caption is drawn whole, and the frame's top line runs behind its
    middle and is left out under its text."""
    client = windows[0]
    for group in (w for w in windows if w.kind == "TGroupBox" and w.text and w.enabled):
        left, top = client.left + group.left, client.top + group.top
        band = screen_box(p, left, top, group.right - group.left, group.line_height)
        # The top line where no caption covers it: near the right corner.
        rows = [y for y, row in enumerate(band) if row[-6] == shadow]
        check(rows, f"{dpi} dpi: no frame line found above {group}")
        middle = group.line_height // 2
        check(abs(rows[0] - middle) <= 2,
                  f"{dpi} dpi: the frame line of {group} is at {rows[0]}, not behind the caption's middle {middle}")
        under_text = band[rows[0]][group.line_height // 2:group.text_width]
        check(under_text.count(shadow) <= 2, f"{dpi} dpi: the frame line of {group} runs through its caption")
        drawn = drawn_text_width(band, {rows[0], rows[0] + 1})
        check(drawn >= group.ink_width,
                  f"{dpi} dpi: the caption of {group} is cut off: {drawn} of its {group.ink_width} pixels drawn")


def check_popup_size(p, windows, dpi):
    """The built-in picture at size "中": 400 x 400 screen pixels at any dpi."""
    client = windows[0]
    (picture,) = [w for w in windows if w.kind == "TImage"]
    x, y = client.left + (picture.left + picture.right) // 2, client.top + (picture.top + picture.bottom) // 2
    subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "--repeat", "2", "--delay", "80", "1"],
                   check=True)
    popup = wait_until(lambda: (answer := p.probe("splash")) != "none" and answer, 5)
    check(popup, f"{dpi} dpi: no popup after a double click on the picture")
    left, top, right, bottom = (int(v) for v in popup.split()[:4])
    check((right - left, bottom - top) == (400, 400),
              f"{dpi} dpi: the popup is {right - left} x {bottom - top} screen pixels, not 400 x 400")
    subprocess.run(["xdotool", "key", "a"], check=True)
    check(wait_until(lambda: p.probe("splash") == "none", 3), f"{dpi} dpi: the popup stayed")


@pytest.mark.parametrize("dpi", (96, 144, 192), ids=lambda dpi: f"{dpi}_dpi")
def test_the_settings_window_and_the_popup_are_whole_at(p, dpi):
    set_dpi(p, dpi)
    running = p.start()
    p.wait_main_state("visible")
    windows, shadow = wait_until(lambda: read_layout(p), 5)
    check_whole(windows, dpi)
    check_disabled_group(windows, dpi)
    check_caption_frames(p, windows, shadow, dpi)
    check_popup_size(p, windows, dpi)
    p.close_main(running)
