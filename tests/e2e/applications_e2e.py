#!/usr/bin/env python3
"""Streifenwerk and Malkasten in an X server of their own, driven as a user would with xdotool.

Usage: applications_e2e.py APP CASE
"""
import contextlib
import ctypes
import os
import pathlib
import random
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

PATTERN_TITLE = "^Streifenwerk — Abstand: [2-9] "
END_TITLE = "Streifenwerk — Programm Ende © 2026 vxtools"
QUIT_LINE = "t_QuitProgram: Quitting current thread."
MALKASTEN_TITLE = "^Malkasten — "
# convert's arguments that crop a screenshot to the view at the bottom left of a window, under its menu bar.
VIEW_CROP = ["-gravity", "southwest", "-crop", "1024x1024+0+0", "+repage"]
MALKASTEN_CROP = ["-gravity", "southwest", "-crop", "640x400+0+0", "+repage"]
# Hang detection only: far above what any of these steps takes.
PATIENCE = 20.0
# Every process a case starts; all are ended on the way out, the last started first.
STARTED = []


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


# failure is a message or a function that makes one.
def wait_until(condition, failure, step=0.05):
    """Polls condition until it gives a true value and returns that; after PATIENCE fails with failure."""
    deadline = time.monotonic() + PATIENCE
    while not (result := condition()):
        if time.monotonic() > deadline:
            raise Failure(failure() if callable(failure) else failure)
        time.sleep(step)
    return result


def start_xvfb(size):
    """Starts an X server with a screen of that size; returns its display name.

    The display number is drawn at random rather than taken as the lowest free one: a server that another
    test has just ended can still hold the lowest number's socket, and a client then reaches the dying
    server instead of this one.

    The server does not reset when its last client leaves (-noreset): a reset closes connections that are
    still being set up, so an application starting while an xdotool call ends could not connect.
    """
    for number in random.SystemRandom().sample(range(100, 30000), 10):
        read_fd, write_fd = os.pipe()
        xvfb = ["Xvfb", f":{number}", "-displayfd", str(write_fd), "-screen", "0", size + "x24", "-nolisten", "tcp",
                "-noreset"]
        server = subprocess.Popen(xvfb, pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        with os.fdopen(read_fd, "rb") as pipe:
            ready = pipe.readline().strip()
        if ready:
            STARTED.append(server)
            return ":" + ready.decode()
        server.wait()  # the number was taken: try another
    raise Failure("Xvfb did not start")


def end_started():
    """Ends every process a case started, the last started first: asked to end (an X server then removes
    its socket), and killed if it has not after 5 s."""
    for process in reversed(STARTED):
        process.terminate()
        with contextlib.suppress(subprocess.TimeoutExpired):
            process.wait(timeout=5)
        process.kill()
        process.wait()


def launch(env, app_path, work, title=PATTERN_TITLE, stdout=None, **popen):
    """Starts the application, its output going to work/stdout.txt unless given; returns it and its window."""
    with open(os.path.join(work, "stdout.txt"), "w") as log:
        app = subprocess.Popen([app_path], env=env, stdout=stdout or log,
                               stderr=subprocess.DEVNULL if stdout else subprocess.STDOUT, **popen)
    STARTED.append(app)
    return app, find_window(env, title) if title else None


def output(work, name="stdout.txt"):
    return pathlib.Path(work, name).read_text()


def expect_clean_exit(app, after, send=None):
    """Sends the signal, if any; the application must then end with status 0."""
    if send:
        app.send_signal(send)
    wait_until(lambda: app.poll() is not None, lambda: f"the application did not exit after {after}")
    check(app.returncode == 0, f"exit status {app.returncode} after {after}")


def run(env, *args):
    return subprocess.run(args, env=env, capture_output=True, text=True, timeout=PATIENCE)


def xdo(env, *args):
    return run(env, "xdotool", *args).stdout


def press(env, wid, *keys):
    """Gives the window the keyboard and types the keys."""
    xdo(env, "windowfocus", "--sync", wid)
    xdo(env, "key", *keys)


def visible_windows(env, pattern):
    return xdo(env, "search", "--onlyvisible", "--name", pattern).split()


def find_window(env, pattern):
    return wait_until(lambda: visible_windows(env, pattern), lambda: f"no visible window matches {pattern!r}")[0]


def wait_for_title(env, wid, title):
    name = lambda: xdo(env, "getwindowname", wid).strip()
    wait_until(lambda: name() == title, lambda: f"the title is {name()!r}, not {title!r}")


def geometry(env, wid):
    """x, y, width, height of a window's client area on the screen."""
    fields = dict(line.split("=") for line in xdo(env, "getwindowgeometry", "--shell", wid).split())
    return tuple(int(fields[name]) for name in ("X", "Y", "WIDTH", "HEIGHT"))


def close_box(env, wid):
    """Clicks the window's close box: sends the message a window manager would (there is none in Xvfb)."""
    x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XInternAtom.restype = ctypes.c_ulong
    display = ctypes.c_void_p(x11.XOpenDisplay(env["DISPLAY"].encode()))
    atom = lambda name: x11.XInternAtom(display, name, 0)
    # An XClientMessageEvent, every field in an 8-byte slot: type, serial, send_event, display, window,
    # message_type, format, then the data.
    event = (ctypes.c_long * 24)(33, 0, 0, 0, int(wid), atom(b"WM_PROTOCOLS"), 32, atom(b"WM_DELETE_WINDOW"))
    x11.XSendEvent(display, ctypes.c_ulong(int(wid)), 0, ctypes.c_long(0), event)
    x11.XCloseDisplay(display)  # sends what is queued


def choose_menu_item(env, wid, menu_x, keys):
    """Opens the menu whose title is at menu_x in the window's menu bar and walks it with keys."""
    xdo(env, "mousemove", "--window", wid, str(menu_x), "9", "click", "1")
    time.sleep(0.3)
    xdo(env, "key", "--delay", "50", *keys)


def answer_panel(env, wid, keys, title, path):
    """Opens a file panel with keys in the window and answers it with a path."""
    press(env, wid, keys)
    panel = find_window(env, title)
    press(env, panel, "ctrl+a")
    xdo(env, "type", "--delay", "10", path)
    xdo(env, "key", "Return")


def colours(env, path, wid=None, crop=()):
    """{"#RRGGBB": pixel count} of a picture file; with a window, of a fresh screenshot of it first."""
    if wid:
        run(env, "convert", f"x:{wid}", *crop, path)
    out = run(env, "convert", path, "-format", "%c", "histogram:info:-").stdout
    return {m.group(2).upper(): int(m.group(1)) for m in re.finditer(r"(?m)^\s*(\d+):.*(#[0-9A-Fa-f]{6})", out)}


def wait_for_pattern(env, wid, path, crop=VIEW_CROP):
    """Waits until the window's view shows a pattern (black and white); returns its colours."""
    return wait_until(lambda: (seen := colours(env, path, wid, crop)).keys() >= {"#000000", "#FFFFFF"} and seen,
                      lambda: f"the view never showed a pattern; last colours {colours(env, path)}", step=0.1)


def case_escape(env, app_path, work):
    """Escape during a pattern ends the program with the end title; Ctrl+Q then quits."""
    app, wid = launch(env, app_path, work)
    wait_for_pattern(env, wid, f"{work}/shot.png")
    press(env, wid, "Escape")
    wait_for_title(env, wid, END_TITLE)
    wait_until(lambda: QUIT_LINE in output(work), lambda: "the quit line never reached standard output")
    press(env, wid, "ctrl+q")
    expect_clean_exit(app, "Ctrl+Q")


def case_click(env, app_path, work):
    """A click in the view is posted with the pixel under the pointer."""
    _, wid = launch(env, app_path, work)
    # The view fills the bottom 1024 rows of the client area: pixel (10, 1000) of the drawing area.
    xdo(env, "mousemove", "--window", wid, "10", str(geometry(env, wid)[3] - 1024 + 1000), "click", "1")
    wait_until(lambda: "t_MouseEventHandler: Graphic #0 window, X = 10, Y = 1000" in output(work), "no click line")


def case_close_return(env, app_path, work):
    """The close box hides the window, Fenster › Zeigen › Grafik 0 brings it back, the main window's quits."""
    click_line = "t_MouseEventPostCloseBoxClick: Window = 0"
    app, wid = launch(env, app_path, work)
    close_box(env, wid)
    main = find_window(env, "^Streifenwerk$")
    wait_until(lambda: click_line in output(work), lambda: "the close box did not reach the toolkit")
    check(wid not in visible_windows(env, "^Streifenwerk — "), "the graphic window is still on screen")

    # Fenster › Zeigen › Grafik 0: the third menu; Zeigen is its third item, Grafik 0 the sixth of that.
    choose_menu_item(env, main, 168, ["Down"] * 3 + ["Right"] + ["Down"] * 5 + ["Return"])
    # Only a window on screen can be shot.
    wait_for_pattern(env, wid, f"{work}/back.png")

    # Alone on screen, the main window's close box quits.
    close_box(env, wid)
    wait_until(lambda: output(work).count(click_line) == 2, "the second close box click did not reach the toolkit")
    close_box(env, main)
    expect_clean_exit(app, "closing the main window")


def case_quit_drawing(env, app_path, work):
    """SIGTERM while the first pattern is being drawn: prompt exit, status 0."""
    # The title is set just before the fans are drawn: the program thread is drawing now.
    app, _ = launch(env, app_path, work)
    expect_clean_exit(app, "SIGTERM while drawing", signal.SIGTERM)


def case_quit_pausing(env, app_path, work):
    """Ctrl+Q during the two-second pause after a pattern: prompt exit, status 0."""
    app, wid = launch(env, app_path, work)
    # A pattern on screen means it was finished and the program sleeps for two seconds.
    wait_for_pattern(env, wid, f"{work}/shot.png")
    press(env, wid, "ctrl+q")
    expect_clean_exit(app, "Ctrl+Q while pausing")
    check("applicationWillTerminate: Called." in output(work), "quitting did not reach the termination callback")


def case_closed_pipe(env, app_path, work):
    """Output into a pipe whose reader is gone (| head -3): the application runs on under its own name."""
    app, _ = launch(env, app_path, work, title=None, stdout=subprocess.PIPE)
    for _ in range(3):
        app.stdout.readline()
    app.stdout.close()
    # A pattern on screen: many log lines have been written into the closed pipe since.
    wait_for_pattern(env, find_window(env, PATTERN_TITLE), f"{work}/shot.png")
    check(app.poll() is None, f"the application ended when its output pipe closed (status {app.returncode})")
    name = output(f"/proc/{app.pid}", "comm").strip()
    check(name == os.path.basename(app_path)[:15], f"the process calls itself {name!r}")
    expect_clean_exit(app, "SIGTERM with the output pipe closed", signal.SIGTERM)


def case_small_screen(env, app_path, work):
    """On a 1366 x 768 screen the window lies on the screen and shows the whole picture, reduced to fit."""
    _, wid = launch(env, app_path, work)
    wait_for_pattern(env, wid, f"{work}/shot.png", crop=())
    x, y, width, height = geometry(env, wid)
    check(x >= 0 and y >= 0 and x + width <= 1366 and y + height <= 768,
          f"the window ({width} x {height} at {x}, {y}) is not wholly on the 1366 x 768 screen")
    # The menu bar on top, then the whole square picture reduced to the window's width.
    check(10 <= height - width <= 60,
          f"the picture is not shown whole and square below a menu bar: window {width} x {height}")


def case_zoom_save(env, app_path, work):
    """After Escape "Bild sichern …" writes the window's picture; Ctrl and + zooms; F11 fills the screen."""
    _, wid = launch(env, app_path, work)
    wait_for_pattern(env, wid, f"{work}/shot.png")
    # The program ends and leaves its last picture: nothing changes from here on.
    press(env, wid, "Escape")
    wait_until(lambda: QUIT_LINE in output(work), lambda: "the program did not end")

    saved = f"{work}/saved.png"
    answer_panel(env, wid, "ctrl+shift+s", "^Bild sichern$", saved)
    wait_until(lambda: os.path.exists(saved) and os.path.getsize(saved) > 0, lambda: f"no picture at {saved}")
    time.sleep(0.2)
    # 1:1: the bottom 1024 x 1024 of the window is the view, the menu bar above it.
    run(env, "convert", f"x:{wid}", *VIEW_CROP, f"{work}/view1.png")
    # compare's status is 0 only when no pixel differs.
    check(run(env, "compare", "-metric", "AE", f"{work}/view1.png", saved, "null:").returncode == 0,
          "the saved picture differs from the window's picture at 1:1")

    # How a zoomed picture is drawn is checked on Qt's offscreen platform.
    press(env, wid, "ctrl+plus")
    wait_until(lambda: geometry(env, wid)[2] > 1100, lambda: f"no zoom; window {geometry(env, wid)}")

    xdo(env, "key", "F11")
    wait_until(lambda: geometry(env, wid) == (0, 0, 1920, 1200),
               lambda: f"F11 did not cover the screen: {geometry(env, wid)}")


def case_closed_descriptors(env, app_path, work):
    """Started with standard output closed (>&-; Malkasten: standard error too, >&- 2>&-): the window
    shows its picture and SIGTERM ends the application with status 0."""
    malkasten = "Malkasten" in app_path
    closed = (1, 2) if malkasten else (1,)
    app, wid = launch(env, app_path, work, MALKASTEN_TITLE if malkasten else PATTERN_TITLE,
                      preexec_fn=lambda: [os.close(fd) for fd in closed])
    if malkasten:
        malkasten_draw(env, wid, work)
    else:
        wait_for_pattern(env, wid, f"{work}/shot.png")
    expect_clean_exit(app, "SIGTERM with standard descriptors closed", signal.SIGTERM)


def case_start_signals(env, app_path, work):
    """SIGTERM, SIGINT or SIGHUP at a random moment of start-up: every start ends with status 0. The
    application starts with the three blocked, so that a moment before its own code runs (the dynamic loader)
    counts as its first moment instead of killing it before it could act."""
    quit_signals = (signal.SIGTERM, signal.SIGINT, signal.SIGHUP)

    def blocked():
        signal.signal(signal.SIGHUP, signal.SIG_DFL)
        signal.pthread_sigmask(signal.SIG_BLOCK, quit_signals)

    rng = random.Random(os.getpid())
    for start in range(18):
        sent = quit_signals[start % 3]
        delay = rng.uniform(0.0, 0.4)
        app, _ = launch(env, app_path, work, title=None, preexec_fn=blocked)
        time.sleep(delay)
        expect_clean_exit(app, f"{sent.name} {delay * 1000:.0f} ms after the start", sent)


def start_weston(env, work, *options):
    """Starts a Weston compositor with these options; returns the environment for its Wayland clients."""
    # The case's directory is private to this user, as a runtime directory must be.
    args = ["weston", "--idle-time=0", "--socket=vx-wayland", *options]
    with open(os.path.join(work, "weston.txt"), "w") as log:
        STARTED.append(subprocess.Popen(args, env=dict(env, XDG_RUNTIME_DIR=work), stdout=log, stderr=log))
    wait_until(lambda: os.path.exists(os.path.join(work, "vx-wayland")), "Weston did not start")
    return dict(env, XDG_RUNTIME_DIR=work, WAYLAND_DISPLAY="vx-wayland", QT_QPA_PLATFORM="wayland")


def title_extent(env, wid):
    """Width of the title's dark text in the client-side title bar below Weston's panel, buttons left out."""
    data = subprocess.run(["convert", f"x:{wid}", "-crop", "1366x22+0+36", "+repage", "-colorspace", "gray", "-depth",
                           "8", "gray:-"], env=env, capture_output=True, timeout=PATIENCE).stdout
    columns = [x for x in range(1366) if any(value < 80 for value in data[x::1366])] or [0]
    end = next((a for a, b in zip(columns, columns[1:]) if b - a > 40), columns[-1])
    return end - columns[0]


def panel_shown(env, wid, path):
    """True when the top 32 rows of Weston's output window are mostly the dark grey of its panel."""
    seen = colours(env, path, wid, ["-crop", "1366x32+0+0", "+repage"])
    return 2 * sum(n for colour, n in seen.items() if 20 <= int(colour[1:3], 16) <= 70) > 1366 * 32


def case_wayland(env, app_path, work):
    """Under Weston's X11 backend (keys can be typed): Escape draws the end title at once; Ctrl+Q, status 0."""
    client = start_weston(env, work, "--backend=x11-backend.so", "--use-pixman", "--width=1366", "--height=768")
    # Weston's output window on the X server (xdotool's search does not list it).
    output_window = wait_until(lambda: re.findall(r"(0x[0-9a-f]+) \"Weston Compositor",
                                                  run(env, "xwininfo", "-root", "-tree").stdout),
                               lambda: "Weston's window never appeared")[0]
    # The panel first: a window placed before it is there can lie under it, title bar and all.
    wait_until(lambda: panel_shown(env, output_window, f"{work}/panel.png"), "Weston's panel never appeared", step=0.1)
    # The client's protocol trace (on its standard error) shows when the window gets the keyboard.
    app, _ = launch(dict(client, WAYLAND_DEBUG="client"), app_path, work, title=None)
    wait_for_pattern(env, output_window, f"{work}/wayland.png", crop=())
    before = title_extent(env, output_window)

    # Weston gives the new window the keyboard when it gets round to it; keys typed before are lost. The X focus
    # follows the pointer into Weston's output window and is not set: giving that window the focus takes Weston's
    # keyboard away and gives it back, and under load Weston can miss the second half for good.
    xdo(env, "mousemove", "--window", output_window, "700", "400")
    wait_until(lambda: re.search(r"wl_keyboard@\d+\.enter\(", output(work)), "the window never got the keyboard",
               step=0.2)
    # A key can still be dropped while Weston settles the window: Escape is typed again every two seconds until
    # the program has ended (once it has, more Escapes do nothing).
    def escaped():
        if QUIT_LINE in output(work):
            return True
        xdo(env, "key", "Escape")
        return False

    wait_until(escaped, "Escape did not end the program", step=2.0)
    # The end title is longer than a pattern's: drawn at once, the centred text grows.
    wait_until(lambda: title_extent(env, output_window) > before + 20,
               lambda: f"the title bar still shows a pattern title ({before} wide)")
    xdo(env, "key", "ctrl+q")
    expect_clean_exit(app, "Ctrl+Q")


def case_wayland_headless(env, app_path, work):
    """Under a headless Weston: the window opens and a signal then quits with status 0 (a crash would not)."""
    app, _ = launch(start_weston(env, work, "--backend=headless-backend.so"), app_path, work, title=None)
    wait_until(lambda: "t_InitWindow: GraphicWindow #0 End." in output(work), "the window was never opened")
    expect_clean_exit(app, "SIGTERM", signal.SIGTERM)


def malkasten_click(env, wid, x, y, button="1"):
    top = geometry(env, wid)[3] - 400  # the view's top: it is 640 x 400
    xdo(env, "mousemove", "--window", wid, str(x), str(top + y), "click", button)


def malkasten_draw(env, wid, work):
    """A black line, then Farbe › Rot and a red one; returns the view's colours."""
    malkasten_click(env, wid, 40, 40)
    malkasten_click(env, wid, 600, 360)
    # Farbe › Rot: the third menu of the bar, its second item.
    choose_menu_item(env, wid, 162, ["Down", "Down", "Return"])
    wait_for_title(env, wid, "Malkasten — Rot")
    malkasten_click(env, wid, 40, 360, "3")
    malkasten_click(env, wid, 600, 40)
    time.sleep(0.3)
    drawn = colours(env, f"{work}/drawn.png", wid, MALKASTEN_CROP)
    check("#FF0000" in drawn and "#000000" in drawn, f"the lines are not on screen: {drawn}")
    return drawn


def case_save_load(env, app_path, work):
    """Malkasten: lines drawn, saved (Ctrl+S), cleared and loaded (Ctrl+O) come back; Escape ends the program."""
    picture = f"{work}/bild rot.png"
    _, wid = launch(env, app_path, work, MALKASTEN_TITLE)
    drawn = malkasten_draw(env, wid, work)
    answer_panel(env, wid, "ctrl+s", "^Bild sichern", picture)
    wait_until(lambda: f"Malkasten: Saved {picture}" in output(work), lambda: "the picture was not saved")
    check((saved := colours(env, picture)) == drawn, f"the file's colours differ from the window's:\n{saved}\n{drawn}")

    press(env, wid, "c")
    wait_until(lambda: "#000000" not in colours(env, f"{work}/clear.png", wid, MALKASTEN_CROP),
               lambda: "C did not clear the picture")
    answer_panel(env, wid, "ctrl+o", "^Bild öffnen", picture)
    wait_until(lambda: f"Malkasten: Loaded {picture}" in output(work), lambda: "the picture was not loaded")
    wait_until(lambda: colours(env, f"{work}/loaded.png", wid, MALKASTEN_CROP) == drawn,
               lambda: "the loaded picture differs from the saved one")
    press(env, wid, "Escape")
    wait_for_title(env, wid, "Malkasten — Programm Ende")


def case_quit_panel(env, app_path, work):
    """Malkasten: Ctrl+Q while the save panel is open ends the application with status 0 (no hang)."""
    app, wid = launch(env, app_path, work, MALKASTEN_TITLE)
    press(env, wid, "ctrl+s")
    press(env, find_window(env, "^Bild sichern"), "ctrl+q")
    expect_clean_exit(app, "Ctrl+Q in the save panel")


def case_fifo_panel(env, app_path, work):
    """Malkasten: a FIFO chosen in the open or the save panel is refused there with a message, the panel stays
    open; the program goes on drawing and ends on Escape."""
    fifo = f"{work}/rohr.png"
    os.mkfifo(fifo)
    _, wid = launch(env, app_path, work, MALKASTEN_TITLE)
    for keys, title in (("ctrl+o", "^Bild öffnen"), ("ctrl+s", "^Bild sichern")):
        answer_panel(env, wid, keys, title, fifo)
        press(env, find_window(env, "^Keine gewöhnliche Datei$"), "Return")
        press(env, find_window(env, title), "Escape")
        wait_until(lambda: not visible_windows(env, title), lambda: f"the panel {title} did not close")
    malkasten_draw(env, wid, work)
    check("Malkasten: Loaded" not in output(work) and "Saved" not in output(work), "the FIFO was read or written")
    press(env, wid, "Escape")
    wait_for_title(env, wid, "Malkasten — Programm Ende")


def clipboard(env, *args, data=None):
    """xclip on the clipboard; with data it stays behind to serve it, so its output goes nowhere."""
    out = subprocess.PIPE if data is None else subprocess.DEVNULL
    command = ["xclip", "-selection", "clipboard", *args]
    return subprocess.run(command, env=env, input=data, stdout=out, stderr=out, timeout=PATIENCE).stdout


def show_pasteboard_window(env, wid):
    """Fenster › Zeigen › Zwischenablage; returns the pasteboard window."""
    choose_menu_item(env, wid, 253, ["Down"] * 3 + ["Right"] + ["Down"] * 3 + ["Return"])
    return find_window(env, "^Zwischenablage$")


def case_clipboard(env, app_path, work):
    """Malkasten: "Bild kopieren" gives other programs a PNG; the pasteboard window shows their text."""
    app, wid = launch(env, app_path, work, MALKASTEN_TITLE)
    drawn = malkasten_draw(env, wid, work)
    # Bearbeiten › Bild kopieren: the second menu, its first item.
    choose_menu_item(env, wid, 98, ["Down", "Return"])
    wait_until(lambda: b"image/png" in clipboard(env, "-t", "TARGETS", "-o"), lambda: "the clipboard offers no PNG")
    pathlib.Path(work, "pasted.png").write_bytes(clipboard(env, "-t", "image/png", "-o"))
    check((pasted := colours(env, f"{work}/pasted.png")) == drawn, f"the pasted picture differs: {pasted} / {drawn}")

    # Text from another program, then the pasteboard window (Fenster › Zeigen › Zwischenablage).
    clipboard(env, "-i", data="von drau\u00DFen".encode())
    board = show_pasteboard_window(env, wid)
    # Whatever the window shows goes back to the clipboard with Ctrl+A, Ctrl+C.
    clipboard(env, "-i", data=b"anders")
    press(env, board, "ctrl+a", "ctrl+c")
    wait_until(lambda: clipboard(env, "-o").decode() == "von drau\u00DFen",
               lambda: f"the pasteboard window showed {clipboard(env, '-o')!r}")
    xdo(env, "key", "ctrl+q")
    expect_clean_exit(app, "Ctrl+Q")


def case_clipboard_flood(env, app_path, work):
    """Malkasten: the pasteboard window shows the first MiB of 10 MB of another program's text (one line, shown
    broken) and says how much it left out; an owner that never answers holds the interface up for a moment only."""
    app, wid = launch(env, app_path, work, MALKASTEN_TITLE)
    clipboard(env, "-i", data=b"Zeile " + b"x" * 93 + b"\n" + b"y" * 10_000_000)
    board = show_pasteboard_window(env, wid)
    press(env, board, "ctrl+a", "ctrl+c")  # what the window shows goes to the clipboard
    shown = wait_until(lambda: (text := clipboard(env, "-o").decode()).endswith("nicht angezeigt.]") and text,
                       lambda: f"the window showed {len(clipboard(env, '-o'))} bytes without the closing line")
    check(len(shown.encode()) < (1 << 20) + 400 and "8.951.524 weitere Bytes" in shown,
          f"the window showed {len(shown.encode())} bytes: {shown[-80:]!r}")

    # An owner that is stopped never answers: the window comes up at once, empty, and the log says why.
    close_box(env, board)
    owner = subprocess.Popen(["xclip", "-selection", "clipboard", "-i", "-quiet"], env=env, stdin=subprocess.PIPE,
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    STARTED.append(owner)
    owner.stdin.write(b"nie")
    owner.stdin.close()
    wait_until(lambda: clipboard(env, "-o") == b"nie", "xclip did not take the clipboard")
    owner.send_signal(signal.SIGSTOP)
    started = time.monotonic()
    show_pasteboard_window(env, wid)
    waited = time.monotonic() - started
    wait_until(lambda: "did not answer within 300 ms" in output(work), "no line about the owner that did not answer")
    check(waited < 4, f"the pasteboard window took {waited:.1f} s to come up")  # hang detection: Qt waits 5 s
    owner.send_signal(signal.SIGCONT)
    xdo(env, "key", "ctrl+q")
    expect_clean_exit(app, "Ctrl+Q")


def main():
    app_path, case = sys.argv[1:]
    work = tempfile.mkdtemp(prefix=f"{case}-e2e-")
    try:
        screen = "1366x768" if case in ("small-screen", "wayland") else "1920x1200"
        env = dict(os.environ, DISPLAY=start_xvfb(screen), QT_QPA_PLATFORM="xcb", HOME=work)
        globals()["case_" + case.replace("-", "_")](env, app_path, work)
        print(f"{case}: passed")
        return 0
    except (Failure, subprocess.TimeoutExpired) as failure:
        print(f"{case}: FAILED: {failure}")
        for log in pathlib.Path(work).glob("*.txt"):
            print(f"--- {log.name} ---\n" + log.read_text()[-4000:])
        return 1
    finally:
        end_started()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
