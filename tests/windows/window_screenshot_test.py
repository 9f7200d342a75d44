#!/usr/bin/env python3
"""Starts tarvola.exe under Wine on an Xvfb display of its own with the example file, captures
its window with xwd and checks it loosely: a window of about the designed size whose tree shows
the file. The capture is kept as OUT_PNG for a person to look at.

window_screenshot_test.py WINE TARVOLA_EXE EXAMPLE OUT_PNG"""
import os
import pathlib
import re
import signal
import struct
import subprocess
import sys
import time
import zlib


FILE_NAME = "alpine-hike"


def start_xvfb():
    read, write = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                            pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as pipe:
        number = pipe.readline().strip()
    if not number:
        xvfb.kill()
        sys.exit("Xvfb did not start")
    return xvfb, ":" + number


def find_window(display, deadline, file_name):
    """The id and title of the program's top-level window, once its title names the file (it is
    read after the first paint), else as last seen when the deadline passes."""
    window, title = None, None
    while time.monotonic() < deadline:
        tree = subprocess.run(["xwininfo", "-root", "-tree", "-display", display],
                              capture_output=True, text=True).stdout
        for line in tree.splitlines():
            found = re.match(r'\s*(0x[0-9a-f]+) "([^"]*Tarvola[^"]*)".*?(\d+)x(\d+)\+', line)
            if found and int(found.group(3)) >= 300 and int(found.group(4)) >= 300:
                window, title = found.group(1), found.group(2)
                if file_name in title:
                    return window, title
        time.sleep(0.5)
    return window, title


def read_xwd(data):
    """(width, height, rows of (r, g, b)) of a 24/32-bit TrueColor XWD dump."""
    fields = struct.unpack(">25I", data[:100])
    header_size, width, height = fields[0], fields[4], fields[5]
    byte_order, bits, stride = fields[7], fields[11], fields[12]
    masks, ncolors = fields[14:17], fields[19]
    if bits != 32:
        sys.exit(f"unexpected XWD pixel size {bits}")
    shifts = [(m & -m).bit_length() - 1 for m in masks]
    start = header_size + 12 * ncolors
    order = "<" if byte_order == 0 else ">"
    rows = []
    for y in range(height):
        line = struct.unpack_from(f"{order}{width}I", data, start + y * stride)
        rows.append([tuple((p & m) >> s for m, s in zip(masks, shifts)) for p in line])
    return width, height, rows


def write_png(path, width, height, rows):
    raw = b"".join(b"\0" + bytes(c for pixel in row for c in pixel) for row in rows)

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
           + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))
    pathlib.Path(path).write_bytes(png)


def main():
    wine, exe, example, out_png = sys.argv[1:5]
    # The display of the test run (scripts/wine-test.sh starts one), else one of its own.
    xvfb, display = (None, os.environ["DISPLAY"]) if os.environ.get("DISPLAY") else start_xvfb()
    env = dict(os.environ, DISPLAY=display)
    env.pop("QT_QPA_PLATFORM", None)
    program = subprocess.Popen([wine, exe, example], env=env, stdin=subprocess.DEVNULL,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        window, title = find_window(display, time.monotonic() + 120, FILE_NAME)
        if not window:
            sys.exit("no window of the program appeared within two minutes")
        time.sleep(2)  # the tree is filled with the title; let it paint
        dump = subprocess.run(["xwd", "-id", window, "-silent", "-display", display],
                              capture_output=True, check=True).stdout
    finally:
        program.send_signal(signal.SIGTERM)
        try:
            program.wait(timeout=20)
        except subprocess.TimeoutExpired:
            program.kill()
        if xvfb:
            xvfb.terminate()
            xvfb.wait()
    width, height, rows = read_xwd(dump)
    pathlib.Path(out_png).parent.mkdir(parents=True, exist_ok=True)
    write_png(out_png, width, height, rows)
    print(f"{title}: {width}x{height}, kept as {out_png}")

    failures = []
    if FILE_NAME not in title:
        failures.append(f"the title does not name the file: {title!r}")
    if not (400 <= width <= 700 and 380 <= height <= 700):
        failures.append(f"the window is {width}x{height}, not about 400x380")
    # The tree fills the window below the option panel (its upper fifth): the file's groups show
    # their names in dark text and their folders in yellow.
    tree = [pixel for row in rows[height // 5:height - 10] for pixel in row[10:width - 10]]
    dark = sum(1 for r, g, b in tree if r + g + b < 200)
    folders = sum(1 for r, g, b in tree if r > 200 and g > 150 and b < 100)
    if dark < 150 or folders < 30:
        failures.append(f"the tree area looks empty: {dark} dark pixels, {folders} folder pixels")
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
