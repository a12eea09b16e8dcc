#!/usr/bin/env python3
"""Streifenwerk in a real X server, driven as a user would: xdotool for keys, import for screenshots.

Usage: streifenwerk_e2e.py APP CASE [--keep DIR]
Cases:
  escape        first pattern is black and white only; Escape ends the program, the application stays;
                Ctrl+Q then quits with status 0
  quit-drawing  SIGTERM while the first pattern is being drawn: prompt exit, status 0
  quit-pausing  Ctrl+Q during the two-second pause after a pattern: prompt exit, status 0
  click         a click in the view is posted with the pixel under the pointer
  closed-pipe   output to a pipe whose reader has gone (| head -3): the application keeps running under
                its executable's name; SIGTERM then quits with status 0
  measure       prints start-up time to the first pattern and CPU use during the pause (no assertion)
"""
import contextlib
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

PATTERN_TITLE = "^Streifenwerk — Abstand: [2-9] "
END_TITLE_PIECE = " — Programm Ende "
QUIT_LINE = "t_QuitProgram: Quitting current thread."
# Hang detection only: far above what any of these steps takes.
PATIENCE = 20.0


class Failure(Exception):
    pass


def start_xvfb():
    read_fd, write_fd = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1920x1200x24",
                             "-nolisten", "tcp"], pass_fds=(write_fd,), stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    os.close(write_fd)
    number = b""
    with os.fdopen(read_fd, "rb") as pipe:
        while not number.endswith(b"\n"):
            chunk = pipe.read(1)
            if not chunk:
                break
            number += chunk
    if not number.strip():
        xvfb.kill()
        raise Failure("Xvfb did not start")
    return xvfb, ":" + number.decode().strip()


def run(env, *args, timeout=PATIENCE):
    return subprocess.run(args, env=env, capture_output=True, text=True, timeout=timeout)


def find_window(env, pattern):
    result = run(env, "xdotool", "search", "--sync", "--onlyvisible", "--name", pattern)
    ids = result.stdout.split()
    if not ids:
        raise Failure(f"no visible window matches {pattern!r}")
    return ids[0]


def window_name(env, wid):
    return run(env, "xdotool", "getwindowname", wid).stdout.strip()


def histogram(env, wid, path):
    """Colours of the bottom 1024 x 1024 of the window's client area (the view; the menu bar is above)."""
    run(env, "import", "-window", wid, path)
    size = run(env, "identify", "-format", "%w %h", path).stdout.split()
    width, height = int(size[0]), int(size[1])
    if width < 1024 or height < 1024:
        raise Failure(f"window is {width} x {height}, smaller than the view")
    crop = f"1024x1024+0+{height - 1024}"
    out = run(env, "convert", path, "-crop", crop, "+repage", "-format", "%c", "histogram:info:-").stdout
    colours = {}
    for line in out.splitlines():
        m = re.match(r"\s*(\d+):.*(#[0-9A-Fa-f]{6})", line)
        if m:
            colours[m.group(2).upper()] = int(m.group(1))
    return colours


def wait_for_pattern(env, wid, path):
    """Waits until the view shows a pattern (black and white); returns the histogram."""
    deadline = time.monotonic() + PATIENCE
    while time.monotonic() < deadline:
        colours = histogram(env, wid, path)
        if "#000000" in colours and "#FFFFFF" in colours:
            return colours
        time.sleep(0.1)
    raise Failure(f"the view never showed a pattern; last colours {colours}")


def wait_exit(app, seconds=PATIENCE):
    try:
        return app.wait(timeout=seconds)
    except subprocess.TimeoutExpired:
        app.kill()
        raise Failure("the application did not exit")


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


@contextlib.contextmanager
def running(env, app_path, work):
    """The application, its output going to work/stdout.txt; killed on the way out if still running."""
    log = open(os.path.join(work, "stdout.txt"), "w")
    app = subprocess.Popen([app_path], env=env, stdout=log, stderr=subprocess.STDOUT)
    try:
        yield app
    finally:
        if app.poll() is None:
            app.kill()
        log.close()


def output(work):
    return open(os.path.join(work, "stdout.txt")).read()


def wait_until(condition, failure, step=0.05):
    """Polls condition until it holds; raises Failure(failure()) after PATIENCE seconds."""
    deadline = time.monotonic() + PATIENCE
    while not condition():
        if time.monotonic() > deadline:
            raise Failure(failure())
        time.sleep(step)


def expect_clean_exit(app, after):
    status = wait_exit(app)
    if status != 0:
        raise Failure(f"exit status {status} after {after}")


def case_escape(env, app_path, work):
    with running(env, app_path, work) as app:
        wid = find_window(env, PATTERN_TITLE)
        colours = wait_for_pattern(env, wid, os.path.join(work, "shot.png"))
        others = {c: n for c, n in colours.items() if c not in ("#000000", "#FFFFFF")}
        if others:
            raise Failure(f"the view shows colours other than black and white: {others}")

        run(env, "xdotool", "windowfocus", "--sync", wid)
        run(env, "xdotool", "key", "Escape")
        wait_until(lambda: END_TITLE_PIECE in window_name(env, wid),
                   lambda: f"no end title; the title is {window_name(env, wid)!r}")
        wait_until(lambda: QUIT_LINE in output(work), lambda: "the quit line never reached standard output")
        time.sleep(0.5)
        if app.poll() is not None:
            raise Failure(f"the application ended with the program (status {app.returncode})")

        run(env, "xdotool", "windowfocus", "--sync", wid)
        run(env, "xdotool", "key", "ctrl+q")
        expect_clean_exit(app, "Ctrl+Q")


def case_click(env, app_path, work):
    with running(env, app_path, work) as app:
        wid = find_window(env, PATTERN_TITLE)
        height = int(run(env, "xdotool", "getwindowgeometry", "--shell", wid).stdout.split("HEIGHT=")[1].split()[0])
        # The view fills the bottom 1024 rows of the client area: pixel (10, 1000) of the drawing area.
        run(env, "xdotool", "mousemove", "--window", wid, "10", str(height - 1024 + 1000))
        run(env, "xdotool", "click", "1")
        line = "t_MouseEventHandler: Graphic #0 window, X = 10, Y = 1000"
        wait_until(lambda: line in output(work), lambda: f"no line {line!r}")
        app.send_signal(signal.SIGTERM)
        expect_clean_exit(app, "SIGTERM")


def case_quit_drawing(env, app_path, work):
    with running(env, app_path, work) as app:
        find_window(env, PATTERN_TITLE)
        # The title is set just before the fans are drawn: the program thread is drawing now.
        app.send_signal(signal.SIGTERM)
        expect_clean_exit(app, "SIGTERM while drawing")


def case_quit_pausing(env, app_path, work):
    with running(env, app_path, work) as app:
        wid = find_window(env, PATTERN_TITLE)
        # A pattern on screen means it was finished and the program sleeps for two seconds.
        wait_for_pattern(env, wid, os.path.join(work, "shot.png"))
        run(env, "xdotool", "windowfocus", "--sync", wid)
        run(env, "xdotool", "key", "ctrl+q")
        expect_clean_exit(app, "Ctrl+Q while pausing")
        if "applicationWillTerminate: Called." not in output(work):
            raise Failure("quitting did not reach the termination callback")


def case_closed_pipe(env, app_path, work):
    app = subprocess.Popen([app_path], env=env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    try:
        for _ in range(3):
            app.stdout.readline()
        app.stdout.close()
        wid = find_window(env, PATTERN_TITLE)
        # A pattern on screen: many log lines have been written into the closed pipe since.
        wait_for_pattern(env, wid, os.path.join(work, "shot.png"))
        if app.poll() is not None:
            raise Failure(f"the application ended when its output pipe closed (status {app.returncode})")
        with open(f"/proc/{app.pid}/comm") as f:
            name = f.read().strip()
        if name != os.path.basename(app_path)[:15]:
            raise Failure(f"the process calls itself {name!r}")
        app.send_signal(signal.SIGTERM)
        expect_clean_exit(app, "SIGTERM with the output pipe closed")
    finally:
        if app.poll() is None:
            app.kill()


def poll_window(env, pattern):
    """Like find_window, but polls every 10 ms (xdotool's own --sync waits half a second a time)."""
    deadline = time.monotonic() + PATIENCE
    while time.monotonic() < deadline:
        ids = run(env, "xdotool", "search", "--onlyvisible", "--name", pattern).stdout.split()
        if ids:
            return ids[0]
        time.sleep(0.01)
    raise Failure(f"no visible window matches {pattern!r}")


def case_measure(env, app_path, work):
    start = time.monotonic()
    with running(env, app_path, work) as app:
        poll_window(env, "^Streifenwerk ")
        mapped = time.monotonic() - start
        wid = poll_window(env, PATTERN_TITLE)
        titled = time.monotonic() - start
        wait_for_pattern(env, wid, os.path.join(work, "shot.png"))
        shown = time.monotonic() - start
        before = cpu_seconds(app.pid)
        time.sleep(1.0)
        used = cpu_seconds(app.pid) - before
        print(f"window mapped after {mapped:.3f} s, first pattern title after {titled:.3f} s, "
              f"first pattern on screen after {shown:.3f} s")
        print(f"CPU during 1 s of the pause: {used:.3f} s")
        app.send_signal(signal.SIGTERM)
        wait_exit(app)


CASES = {"escape": case_escape, "click": case_click, "quit-drawing": case_quit_drawing, "quit-pausing": case_quit_pausing,
         "closed-pipe": case_closed_pipe, "measure": case_measure}


def main():
    if len(sys.argv) < 3 or sys.argv[2] not in CASES:
        print(__doc__)
        return 2
    app_path, case = sys.argv[1], sys.argv[2]
    keep = sys.argv[sys.argv.index("--keep") + 1] if "--keep" in sys.argv else None
    for tool in ("Xvfb", "xdotool", "import", "convert", "identify"):
        if shutil.which(tool) is None:
            print(f"missing tool: {tool}")
            return 1
    work = tempfile.mkdtemp(prefix="streifenwerk-e2e-")
    xvfb, display = start_xvfb()
    env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb")
    env.pop("WAYLAND_DISPLAY", None)
    try:
        CASES[case](env, app_path, work)
        print(f"{case}: passed")
        return 0
    except (Failure, subprocess.TimeoutExpired) as failure:
        print(f"{case}: FAILED: {failure}")
        print("--- application output ---")
        path = os.path.join(work, "stdout.txt")
        if os.path.exists(path):
            print(open(path).read()[-4000:])
        return 1
    finally:
        xvfb.terminate()
        try:
            xvfb.wait(timeout=5)
        except subprocess.TimeoutExpired:
            xvfb.kill()
        if keep:
            os.makedirs(keep, exist_ok=True)
            for name in os.listdir(work):
                shutil.copy(os.path.join(work, name), keep)
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
