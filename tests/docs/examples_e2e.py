#!/usr/bin/env python3
"""The documentation's whole programs in an X server of their own: each must show its window with the
picture the documentation promises, and end with status 0 when the user closes that window.

Usage: examples_e2e.py PROGRAM NAME     (NAME picks the check: readme_1, hello, index_1, application_1)
       examples_e2e.py PROGRAM --never-shown
       examples_e2e.py --same README.md examples/hello/hello.cpp
"""
import os
import pathlib
import re
import subprocess
import sys
import tempfile

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "e2e"))
import applications_e2e as e2e  # noqa: E402  (Xvfb, xdotool and the close box, shared with the applications)

from applications_e2e import Failure, check  # noqa: E402


def view(env, wid, width, height):
    """The window's picture, read from a screenshot: the view sits at the bottom left, under the menu bar."""
    raw = subprocess.run(["convert", f"x:{wid}", "-gravity", "southwest", "-crop", f"{width}x{height}+0+0",
                          "+repage", "-depth", "8", "rgb:-"], env=env, capture_output=True, timeout=e2e.PATIENCE).stdout
    check(len(raw) == width * height * 3, f"the screenshot has {len(raw)} bytes, not {width} x {height} pixels")
    return lambda x, y: tuple(raw[3 * (y * width + x):3 * (y * width + x) + 3])


def count(pixel, rows, width, test):
    return sum(1 for y in rows for x in range(width) if test(pixel(x, y)))


def hello_shows(pixel):
    """The fan of orange lines from (160, 199) up to row 40, and the greeting in the first text line, in the
    palette's orange, the entry nearest the lines' colour."""
    orange = lambda p: p == (255, 160, 0)
    palette_orange = lambda p: p == (255, 128, 0)
    lit = lambda p: p != (0, 0, 0)
    if not orange(pixel(160, 199)):
        return f"no orange at the fan's apex: {pixel(160, 199)}"
    if (n := count(pixel, range(40, 200), 320, orange)) < 3000:
        return f"only {n} orange pixels in the fan"
    if (n := count(pixel, range(17, 40), 320, lit)) != 0:
        return f"{n} lit pixels between the text and the fan"
    if (n := count(pixel, range(0, 16), 320, lit)) < 150 or count(pixel, range(0, 16), 320, palette_orange) != n:
        return f"the greeting's line has {n} lit pixels, not all in the palette's orange"
    return None


def smallest_shows(pixel):
    """"Hello!" in the first text line, nothing else on the paper."""
    paper = pixel(319, 199)
    if (n := count(pixel, range(0, 16), 320, lambda p: p != paper)) < 30:
        return f"only {n} pixels of text in the first line"
    if (n := count(pixel, range(16, 200), 320, lambda p: p != paper)) != 0:
        return f"{n} pixels below the first line differ from the paper"
    return None


def greys_show(pixel):
    """Column x of the ramp is grey level x, top to bottom."""
    for x in (0, 17, 128, 200, 255):
        for y in (0, 128, 255):
            if pixel(x, y) != (x, x, x):
                return f"pixel ({x}, {y}) is {pixel(x, y)}"
    return None


CHECKS = {
    "readme_1": (320, 200, hello_shows),
    "hello": (320, 200, hello_shows),
    "index_1": (320, 200, smallest_shows),
    "application_1": (256, 256, greys_show),
}


def start(program, title_end):
    """Starts the program in an X server of its own; returns env, work, the process and its window."""
    work = tempfile.mkdtemp(prefix=f"{pathlib.Path(program).name}-example-")
    env = dict(os.environ, DISPLAY=e2e.start_xvfb("1920x1200"), QT_QPA_PLATFORM="xcb", HOME=work)
    return (env, work, *e2e.launch(env, program, work, title="^" + re.escape(pathlib.Path(program).name) + title_end))


def run_program(program, name):
    width, height, shows = CHECKS[name]
    env, work, app, wid = start(program, "(-Grafik)?$")
    last = []
    e2e.wait_until(lambda: not last.append(shows(view(env, wid, width, height))) and last[-1] is None,
                   lambda: f"the window does not show what the documentation says: {last[-1]}", step=0.2)
    e2e.close_box(env, wid)
    e2e.expect_clean_exit(app, "its window was closed")
    check(not e2e.visible_windows(env, "."), "a window is still on screen after the exit")


def never_shown(program):
    """A program that never shows its window: the main window comes up with the hint in the log, and
    closing it, the only window on screen, ends the application with status 0."""
    env, work, app, wid = start(program, "$")
    name = re.escape(pathlib.Path(program).name)
    check(not e2e.visible_windows(env, "^" + name + "-Grafik$"), "the program's own window is on screen")
    e2e.wait_until(lambda: "No window is on screen, so the main window is shown" in e2e.output(work),
                   "the log does not say why the main window came up")
    e2e.close_box(env, wid)
    e2e.expect_clean_exit(app, "the main window was closed")


def same_program(readme, hello):
    """The README's first program is examples/hello/hello.cpp without its two opening comment lines."""
    first = re.search(r"^```cpp\n(.*?)^```$", pathlib.Path(readme).read_text(), re.S | re.M).group(1)
    check(first == pathlib.Path(hello).read_text().split("\n", 2)[2],
          "the README's first program differs from examples/hello/hello.cpp")


def main():
    try:
        if sys.argv[1] == "--same":
            same_program(*sys.argv[2:])
        elif sys.argv[2] == "--never-shown":
            never_shown(sys.argv[1])
        else:
            run_program(*sys.argv[1:])
        print(f"{sys.argv[-1]}: passed")
        return 0
    except (Failure, subprocess.TimeoutExpired) as failure:
        print(f"{sys.argv[-1]}: FAILED: {failure}")
        return 1
    finally:
        e2e.end_started()


if __name__ == "__main__":
    sys.exit(main())
