"""Hostile pictures dropped on the running program: each is reported, memory
stays bounded, the program answers, and the picture chosen before stays."""

import os
import struct
import subprocess
import zlib

from under_wine import Failure, check, run_helper, wait_until


# Far below what decoding any of them whole would take.
PEAK_RESIDENT_LIMIT_KB = 200 * 1024


def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def png(width, height, rows):
    """An 8-bit RGB PNG of rows, whatever size its header declares."""
    header = png_chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    return b"\x89PNG\r\n\x1a\n" + header + png_chunk(b"IDAT", zlib.compress(rows)) + png_chunk(b"IEND", b"")


def gif_frame_data(pixels):
    """LZW data with a clear code before every pixel: valid, and no table to keep."""
    clear, end, width, bits, count = 4, 5, 3, 0, 0
    for code in [c for pixel in pixels for c in (clear, pixel)] + [end]:
        bits |= code << count
        count += width
    data = bits.to_bytes((count + 7) // 8, "little")
    blocks = b"".join(bytes([len(data[i:i + 255])]) + data[i:i + 255] for i in range(0, len(data), 255))
    return bytes([2]) + blocks + b"\x00"


def animated_gif(width, height, frames):
    """A looping GIF of frames, each filled with one of four colours."""
    out = b"GIF89a" + struct.pack("<HHBBB", width, height, 0x81, 0, 0) + bytes(range(12))
    out += b"\x21\xff\x0bNETSCAPE2.0\x03\x01\x00\x00\x00"
    for colour in frames:
        out += b"\x21\xf9\x04\x00\x0a\x00\x00\x00"
        out += b"\x2c" + struct.pack("<HHHHB", 0, 0, width, height, 0)
        out += gif_frame_data([colour] * (width * height))
    return out + b"\x3b"


def make_pictures(p):
    """The pictures in drive C: name -> the Windows path."""
    folder = os.path.join(p.path, "drive_c", "pictures")
    os.makedirs(folder)
    whole_gif = animated_gif(48, 48, [1, 2, 3])
    contents = {
        "good.png": png(64, 32, b"".join(b"\x00" + b"\x80\x40\x20" * 64 for _ in range(32))),
        "empty.jpg": b"",
        "huge.png": png(100000, 100000, b"\x00" * 301),
        # Cut inside the second frame's pixels.
        "cut.gif": whole_gif[:len(whole_gif) // 2],
    }
    for name, content in contents.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(content)
    # 2 GiB that take no room: never to be read whole.
    with open(os.path.join(folder, "huge.bmp"), "wb") as f:
        f.truncate(2 << 30)
    return {name: "C:\\pictures\\" + name for name in [*contents, "huge.bmp"]}


def peak_resident_kb(process):
    with open(f"/proc/{process.pid}/status") as status:
        for line in status:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    raise Failure("no VmHWM for the program's process")


# The good picture's one colour, and how far the screen may round it.
GOOD_COLOUR = (0x80, 0x40, 0x20)
COLOUR_TOLERANCE = 4


def shown_colour(p):
    """The colour on screen at the centre of the settings window's picture."""
    centre = run_helper(p, "e2e_lookout.exe", "picture-centre")
    check(centre != "none", "the settings window shows no picture")
    x, y = centre.split()
    pixel = subprocess.run(["import", "-window", "root", "-crop", f"1x1+{x}+{y}", "-depth", "8", "rgb:-"],
                           env=p.env, stdin=subprocess.DEVNULL, capture_output=True, check=True).stdout
    check(len(pixel) == 3, f"no pixel read at {centre}")
    return tuple(pixel)


def shows_good_picture(p):
    return all(abs(a - b) <= COLOUR_TOLERANCE for a, b in zip(shown_colour(p), GOOD_COLOUR))


def drop(p, path):
    check(run_helper(p, "e2e_inject.exe", "drop", path) == "dropped", f"could not drop {path}")


def expect_error_box(p, path, reason):
    """Waits for the program's error box about path, checks it, and closes it."""
    box = wait_until(lambda: (text := run_helper(p, "e2e_lookout.exe", "error-box")) != "none" and text, 10)
    check(box, f"no error box for {path}")
    expected = f'画像ファイル "{path}" を読み込めません: '
    check(box.startswith(expected) and reason in box[len(expected):], f"the box for {path} says {box!r}")
    check(run_helper(p, "e2e_lookout.exe", "close-box") == "closed", f"could not close the box for {path}")
    check(wait_until(lambda: run_helper(p, "e2e_lookout.exe", "error-box") == "none", 5),
              f"the box for {path} stayed")


def test_hostile_pictures_are_reported_and_the_previous_picture_stays(p):
    paths = make_pictures(p)
    running = p.start()
    p.wait_main_state("visible")
    check(not shows_good_picture(p), "the built-in picture looks like the good one: the check would prove nothing")
    drop(p, paths["good.png"])
    check(wait_until(lambda: shows_good_picture(p), 15), f"the good picture is not shown: {shown_colour(p)}")
    hostile = {"empty.jpg": "ファイルが空です", "huge.png": "100000 × 100000", "cut.gif": "途中で切れています",
               "huge.bmp": "大きすぎます"}
    for name, reason in hostile.items():
        drop(p, paths[name])
        expect_error_box(p, paths[name], reason)
        check(run_helper(p, "e2e_lookout.exe", "answers").startswith("yes"), f"no answer within a second after {name}")
        peak = peak_resident_kb(running)
        check(peak < PEAK_RESIDENT_LIMIT_KB, f"peak resident memory {peak} kB after {name}")
        check(shows_good_picture(p), f"the good picture went after {name}: {shown_colour(p)}")
    p.close_main(running)
    # The failed name stays chosen, to be tried again at the next start.
    check(f'<Picture Type="10">{paths["huge.bmp"]}</Picture>'.encode() in p.read_settings(),
              f"the last name dropped was not kept:\n{p.read_settings().decode()}")
