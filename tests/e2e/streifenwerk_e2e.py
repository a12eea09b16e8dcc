#!/usr/bin/env python3
"""Streifenwerk in a real X server, driven as a user would: xdotool for keys, import for screenshots.

Usage: streifenwerk_e2e.py APP CASE [--keep DIR]
Cases:
  escape        first pattern is black and white only; Escape ends the program, the application stays;
                Ctrl+Q then quits with status 0
  quit-drawing  SIGTERM while the first pattern is being drawn: prompt exit, status 0
  quit-pausing  Ctrl+Q during the two-second pause after a pattern: prompt exit, status 0
  click         a click in the view is posted with the pixel under the pointer
  close-return  the close box hides the window and the main window takes its place; Fenster › Zeigen ›
                Grafik 0 brings the window back with its pattern; the main window's close box then quits
  small-screen  on a 1366 x 768 screen the window with its menu bar lies on the screen and shows the
                whole picture, reduced to fit
  zoom-save     "Bild sichern …" writes a PNG equal to the window's picture; at 2x each pixel is a 2 x 2
                block; F11 covers the screen; Ctrl+Q quits with status 0
  wayland       under Weston (its X11 backend in Xvfb, so that keys can be typed): pattern, Escape with
                the end title drawn in the title bar at once, Ctrl+Q with status 0
  wayland-headless  under a headless Weston: the window opens and a signal quits with status 0
  closed-pipe   output to a pipe whose reader has gone (| head -3): the application keeps running under
                its executable's name; SIGTERM then quits with status 0
  measure       prints start-up time to the first pattern and CPU use during the pause (no assertion)
"""
import contextlib
import ctypes
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


def start_xvfb(size="1920x1200"):
    read_fd, write_fd = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_fd), "-screen", "0", size + "x24",
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


def stop_xvfb(xvfb):
    xvfb.terminate()
    try:
        xvfb.wait(timeout=5)
    except subprocess.TimeoutExpired:
        xvfb.kill()
        xvfb.wait()


def run(env, *args, timeout=PATIENCE):
    return subprocess.run(args, env=env, capture_output=True, text=True, timeout=timeout)


def find_window(env, pattern):
    result = run(env, "xdotool", "search", "--sync", "--onlyvisible", "--name", pattern)
    ids = result.stdout.split()
    if not ids:
        raise Failure(f"no visible window matches {pattern!r}")
    return ids[0]


def close_box(env, wid):
    """Clicks the window's close box: the message a window manager sends (there is none in Xvfb)."""
    x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
    x11.XFlush.argtypes = [ctypes.c_void_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]

    class ClientMessage(ctypes.Structure):
        _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                    ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                    ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]

    class Event(ctypes.Union):
        _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]

    display = x11.XOpenDisplay(env["DISPLAY"].encode())
    if not display:
        raise Failure("cannot open the display to send the close message")
    event = Event()
    event.xclient.type = 33  # ClientMessage
    event.xclient.window = int(wid)
    event.xclient.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
    event.xclient.format = 32
    event.xclient.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
    x11.XSendEvent(display, int(wid), 0, 0, ctypes.byref(event))
    x11.XFlush(display)
    x11.XCloseDisplay(display)


def choose_menu_item(env, wid, menu_x, keys):
    """Opens the menu whose title is at menu_x in the window's menu bar and walks it with keys."""
    run(env, "xdotool", "mousemove", "--window", wid, str(menu_x), "9", "click", "1")
    time.sleep(0.3)
    run(env, "xdotool", "key", "--delay", "50", *keys)


def window_name(env, wid):
    return run(env, "xdotool", "getwindowname", wid).stdout.strip()


def histogram(env, wid, path):
    """Colours of the bottom 1024 x 1024 of the window's client area (the view; the menu bar is above)."""
    run(env, "import", "-window", wid, path)
    size = run(env, "identify", "-format", "%w %h", path).stdout.split()
    width, height = int(size[0]), int(size[1])
    if width < 1024 or height < 1024:
        raise Failure(f"window is {width} x {height}, smaller than the view")
    run(env, "convert", path, "-crop", f"1024x1024+0+{height - 1024}", "+repage", path)
    return file_colours(env, path)


def file_colours(env, path):
    """How many pixels of each colour a picture file has, as {"#RRGGBB": count}."""
    out = run(env, "convert", path, "-format", "%c", "histogram:info:-").stdout
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


def case_close_return(env, app_path, work):
    with running(env, app_path, work) as app:
        wid = find_window(env, PATTERN_TITLE)
        wait_for_pattern(env, wid, os.path.join(work, "shot.png"))
        close_box(env, wid)
        main = find_window(env, "^Streifenwerk$")
        wait_until(lambda: "t_MouseEventPostCloseBoxClick: Window = 0" in output(work),
                   lambda: "the close box did not reach the toolkit")
        if wid in run(env, "xdotool", "search", "--onlyvisible", "--name", "^Streifenwerk — ").stdout.split():
            raise Failure("the graphic window is still on screen")

        # Fenster › Zeigen › Grafik 0: the third menu; Zeigen is its third item, Grafik 0 the sixth of that.
        choose_menu_item(env, main, 168, ["Down"] * 3 + ["Right"] + ["Down"] * 5 + ["Return"])
        back = find_window(env, "^Streifenwerk — ")
        if back != wid:
            raise Failure(f"another window came back: {back} instead of {wid}")
        wait_for_pattern(env, wid, os.path.join(work, "back.png"))

        # Alone on screen, the main window's close box quits.
        close_box(env, wid)
        wait_until(lambda: output(work).count("t_MouseEventPostCloseBoxClick: Window = 0") == 2,
                   lambda: "the second close box click did not reach the toolkit")
        close_box(env, main)
        expect_clean_exit(app, "closing the main window")


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


def geometry(env, wid):
    """x, y, width, height of a window's client area on the screen."""
    out = run(env, "xwininfo", "-id", wid).stdout
    field = lambda name: int(re.search(name + r":\s+(-?\d+)", out).group(1))
    return (field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"), field("Height"))


def case_small_screen(env, app_path, work):
    with running(env, app_path, work) as app:
        wid = find_window(env, PATTERN_TITLE)
        wait_for_pattern_anywhere(env, wid, os.path.join(work, "shot.png"))
        x, y, width, height = geometry(env, wid)
        if x < 0 or y < 0 or x + width > 1366 or y + height > 768:
            raise Failure(f"the window ({width} x {height} at {x}, {y}) is not wholly on the 1366 x 768 screen")
        # The menu bar on top, then the whole square picture reduced to the window's width.
        bar = height - width
        if not 10 <= bar <= 60:
            raise Failure(f"the picture is not shown whole and square below a menu bar: window {width} x {height}")
        app.send_signal(signal.SIGTERM)
        expect_clean_exit(app, "SIGTERM")


def wait_for_pattern_anywhere(env, wid, path):
    """Like wait_for_pattern, for a window of any size."""
    deadline = time.monotonic() + PATIENCE
    while time.monotonic() < deadline:
        run(env, "import", "-window", wid, path)
        out = run(env, "convert", path, "-format", "%c", "histogram:info:-").stdout
        if "#000000" in out and "#FFFFFF" in out:
            return
        time.sleep(0.1)
    raise Failure("the window never showed a pattern")


def differing_pixels(env, a, b):
    """How many pixels of two images of one size differ (ImageMagick's absolute error count)."""
    result = run(env, "compare", "-metric", "AE", a, b, "null:")
    return int(float(result.stderr.split()[0]))


def save_picture(env, wid, path):
    """Saves the front window's picture with "Bild sichern …" and its panel; waits for the file."""
    run(env, "xdotool", "windowfocus", "--sync", wid)
    run(env, "xdotool", "key", "ctrl+shift+s")
    panel = find_window(env, "^Bild sichern$")
    run(env, "xdotool", "windowfocus", "--sync", panel)
    run(env, "xdotool", "key", "ctrl+a")
    run(env, "xdotool", "type", "--delay", "5", path)
    run(env, "xdotool", "key", "Return")
    wait_until(lambda: os.path.exists(path) and os.path.getsize(path) > 0, lambda: f"no picture at {path}")
    time.sleep(0.2)


def case_zoom_save(env, app_path, work):
    with running(env, app_path, work) as app:
        wid = find_window(env, PATTERN_TITLE)
        wait_for_pattern(env, wid, os.path.join(work, "shot.png"))
        # The program ends and leaves its last picture: nothing changes from here on.
        run(env, "xdotool", "windowfocus", "--sync", wid)
        run(env, "xdotool", "key", "Escape")
        wait_until(lambda: QUIT_LINE in output(work), lambda: "the program did not end")

        saved = os.path.join(work, "saved.png")
        save_picture(env, wid, saved)
        size = run(env, "identify", "-format", "%w %h", saved).stdout.split()
        if size != ["1024", "1024"]:
            raise Failure(f"the saved picture is {size}, not 1024 x 1024")
        # 1:1: the bottom 1024 x 1024 of the window is the view.
        shot = os.path.join(work, "one.png")
        run(env, "import", "-window", wid, shot)
        x, y, width, height = geometry(env, wid)
        view = os.path.join(work, "view1.png")
        run(env, "convert", shot, "-crop", f"1024x1024+0+{height - 1024}", "+repage", view)
        if differing_pixels(env, view, saved) != 0:
            raise Failure("the saved picture differs from the window's picture at 1:1")

        # 2x: the window is limited to the screen; the top-left 500 x 500 pixels are 2 x 2 blocks.
        run(env, "xdotool", "windowfocus", "--sync", wid)
        run(env, "xdotool", "key", "ctrl+plus")
        wait_until(lambda: geometry(env, wid)[2] > 1100, lambda: f"no zoom; window {geometry(env, wid)}")
        time.sleep(0.3)
        x, y, width, height = geometry(env, wid)
        if y < 0 or y + height > 1200 or x < 0 or x + width > 1920:
            raise Failure(f"the zoomed window ({width} x {height} at {x}, {y}) is not on the screen")
        shot2 = os.path.join(work, "two.png")
        run(env, "import", "-window", wid, shot2)
        zoomed = os.path.join(work, "view2.png")
        expected = os.path.join(work, "expected2.png")
        menu = menu_bar_height(env, shot)
        run(env, "convert", shot2, "-crop", f"1000x1000+0+{menu}", "+repage", zoomed)
        run(env, "convert", saved, "-crop", "500x500+0+0", "+repage", "-sample", "200%", expected)
        if differing_pixels(env, zoomed, expected) != 0:
            raise Failure("at 2x the window does not show each picture pixel as a 2 x 2 block")

        run(env, "xdotool", "key", "F11")
        wait_until(lambda: geometry(env, wid) == (0, 0, 1920, 1200),
                   lambda: f"F11 did not cover the screen: {geometry(env, wid)}")
        run(env, "xdotool", "key", "ctrl+q")
        expect_clean_exit(app, "Ctrl+Q")


def menu_bar_height(env, shot):
    """The height of the strip above the 1024 rows of the view in a 1:1 screenshot."""
    return int(run(env, "identify", "-format", "%h", shot).stdout) - 1024


@contextlib.contextmanager
def weston(env, work, backend):
    """A Weston compositor; yields the environment for its Wayland clients."""
    runtime = os.path.join(work, "runtime")
    os.makedirs(runtime, mode=0o700, exist_ok=True)
    socket = "vx-wayland"
    args = ["weston", f"--backend={backend}", "--idle-time=0", f"--socket={socket}"]
    if backend == "x11-backend.so":
        args += ["--use-pixman", "--width=1366", "--height=768"]
    log = open(os.path.join(work, "weston.txt"), "w")
    compositor = subprocess.Popen(args, env=dict(env, XDG_RUNTIME_DIR=runtime), stdout=log, stderr=subprocess.STDOUT)
    try:
        wait_until(lambda: os.path.exists(os.path.join(runtime, socket)) or compositor.poll() is not None,
                   lambda: "Weston did not start")
        if compositor.poll() is not None:
            raise Failure("Weston did not start: " + open(os.path.join(work, "weston.txt")).read()[-2000:])
        client = dict(env, XDG_RUNTIME_DIR=runtime, WAYLAND_DISPLAY=socket, QT_QPA_PLATFORM="wayland")
        yield client
    finally:
        compositor.terminate()
        try:
            compositor.wait(timeout=5)
        except subprocess.TimeoutExpired:
            compositor.kill()
        log.close()


def title_extent(env, wid, shot):
    """Width of the dark text in the client-side title bar (the band of rows below Weston's panel),
    without the window buttons at its right end."""
    run(env, "import", "-window", wid, shot)
    data = subprocess.run(["convert", shot, "-crop", "1366x22+0+36", "+repage", "-colorspace", "gray",
                           "-depth", "8", "gray:-"], env=env, capture_output=True, timeout=PATIENCE).stdout
    columns = [x for x in range(1366) if any(data[y * 1366 + x] < 80 for y in range(22) if y * 1366 + x < len(data))]
    if not columns:
        return 0
    # The buttons sit apart from the text at the right; the text is the first dense run.
    runs, start = [], columns[0]
    for a, b in zip(columns, columns[1:] + [None]):
        if b is None or b - a > 40:
            runs.append((start, a))
            start = b
    return runs[0][1] - runs[0][0] if runs else 0


def weston_window(env):
    """Weston's output window on the X server (xdotool's search does not list it)."""
    found = []
    wait_until(lambda: found.extend(re.findall(r"(0x[0-9a-f]+) \"Weston Compositor",
                                               run(env, "xwininfo", "-root", "-tree").stdout)) or found,
               lambda: "Weston's window never appeared")
    return found[0]


def case_wayland(env, app_path, work):
    with weston(env, work, "x11-backend.so") as client:
        output_window = weston_window(env)
        with running(client, app_path, work) as app:
            shot = os.path.join(work, "wayland.png")
            wait_for_pattern_anywhere(env, output_window, shot)
            before = title_extent(env, output_window, shot)
            run(env, "xdotool", "windowfocus", "--sync", output_window)

            # Weston gives the new window the keyboard when it gets round to it; until then keys are lost.
            def escape_ends_program():
                run(env, "xdotool", "mousemove", "--window", output_window, "700", "400")
                run(env, "xdotool", "windowfocus", "--sync", output_window)
                run(env, "xdotool", "key", "Escape")
                time.sleep(0.3)
                return QUIT_LINE in output(work)

            wait_until(escape_ends_program, lambda: "the program did not end")
            # The end title is longer than a pattern's: drawn at once, the centred text grows.
            wait_until(lambda: title_extent(env, output_window, shot) > before + 20,
                       lambda: f"the title bar still shows a pattern title ({before} wide)")
            run(env, "xdotool", "key", "ctrl+q")
            expect_clean_exit(app, "Ctrl+Q")


def case_wayland_headless(env, app_path, work):
    with weston(env, work, "headless-backend.so") as client:
        with running(client, app_path, work) as app:
            wait_until(lambda: "t_InitWindow: GraphicWindow #0 End." in output(work) or app.poll() is not None,
                       lambda: "the window was never opened")
            time.sleep(0.5)
            if app.poll() is not None:
                raise Failure(f"the application ended (status {app.returncode})")
            app.send_signal(signal.SIGTERM)
            expect_clean_exit(app, "SIGTERM")


CASES = {"escape": case_escape, "small-screen": case_small_screen, "zoom-save": case_zoom_save,
         "wayland": case_wayland, "wayland-headless": case_wayland_headless, "click": case_click,
         "close-return": case_close_return, "closed-pipe": case_closed_pipe, "quit-drawing": case_quit_drawing, "quit-pausing": case_quit_pausing,
         "measure": case_measure}


# Cases that need a smaller screen than the default.
SCREENS = {"small-screen": "1366x768", "wayland": "1366x768"}


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
    xvfb, display = start_xvfb(SCREENS.get(case, "1920x1200"))
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
        stop_xvfb(xvfb)
        if keep:
            os.makedirs(keep, exist_ok=True)
            for name in os.listdir(work):
                if os.path.isfile(os.path.join(work, name)):
                    shutil.copy(os.path.join(work, name), keep)
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
