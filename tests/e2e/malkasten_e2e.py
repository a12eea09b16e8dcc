#!/usr/bin/env python3
"""Malkasten in a real X server, driven as a user would.

Usage: malkasten_e2e.py APP CASE [--keep DIR]
Cases:
  save-load   draw two lines, save through the save panel (Ctrl+S, a typed path), clear, load the file again
              through the open panel (Ctrl+O): the window shows the saved picture again
  quit-panel  Ctrl+Q while the save panel is open ends the application with status 0 (no hang)
  clipboard   Bearbeiten › Bild kopieren gives other programs the picture as PNG; the pasteboard window
              shows the text another program copied
"""
import os
import shutil
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import streifenwerk_e2e as e2e  # noqa: E402  (the shared X server and window helpers)

TITLE = "^Malkasten — "
VIEW_HEIGHT = 400


def view_top(env, wid):
    geometry = e2e.run(env, "xdotool", "getwindowgeometry", "--shell", wid).stdout
    return int(geometry.split("HEIGHT=")[1].split()[0]) - VIEW_HEIGHT


def click(env, wid, x, y, button="1"):
    e2e.run(env, "xdotool", "mousemove", "--window", wid, str(x), str(view_top(env, wid) + y), "click", button)


def view_colours(env, wid, path):
    e2e.run(env, "import", "-window", wid, path)
    crop = f"640x{VIEW_HEIGHT}+0+{view_top(env, wid)}"
    e2e.run(env, "convert", path, "-crop", crop, "+repage", path)
    return e2e.file_colours(env, path)


def open_panel(env, wid, keys, title):
    e2e.run(env, "xdotool", "windowfocus", "--sync", wid)
    e2e.run(env, "xdotool", "key", keys)
    return e2e.find_window(env, title)


def case_save_load(env, app_path, work):
    picture = os.path.join(work, "bild rot.png")
    with e2e.running(env, app_path, work) as app:
        wid = e2e.find_window(env, TITLE)
        click(env, wid, 40, 40)
        click(env, wid, 600, 360)
        # Farbe › Rot: the third menu of the bar, its second item.
        e2e.choose_menu_item(env, wid, 162, ["Down", "Down", "Return"])
        e2e.wait_until(lambda: e2e.window_name(env, wid) == "Malkasten — Rot",
                       lambda: f"the colour did not change: {e2e.window_name(env, wid)!r}")
        click(env, wid, 40, 360, "3")
        click(env, wid, 600, 40)
        time.sleep(0.3)
        drawn = view_colours(env, wid, os.path.join(work, "drawn.png"))
        if "#FF0000" not in drawn or "#000000" not in drawn:
            raise e2e.Failure(f"the lines are not on screen: {drawn}")

        panel = open_panel(env, wid, "ctrl+s", "^Bild sichern")
        e2e.run(env, "xdotool", "key", "ctrl+a")
        e2e.run(env, "xdotool", "type", "--delay", "10", picture)
        e2e.run(env, "xdotool", "key", "Return")
        e2e.wait_until(lambda: f"Malkasten: Saved {picture}" in e2e.output(work),
                       lambda: "the picture was not saved")
        saved = e2e.file_colours(env, picture)
        if saved != drawn:
            raise e2e.Failure(f"the file's colours differ from the window's:\n{saved}\n{drawn}")

        e2e.run(env, "xdotool", "windowfocus", "--sync", wid)
        e2e.run(env, "xdotool", "key", "c")
        e2e.wait_until(lambda: "#000000" not in view_colours(env, wid, os.path.join(work, "clear.png")),
                       lambda: "C did not clear the picture")

        open_panel(env, wid, "ctrl+o", "^Bild öffnen")
        e2e.run(env, "xdotool", "type", "--delay", "10", picture)
        e2e.run(env, "xdotool", "key", "Return")
        e2e.wait_until(lambda: f"Malkasten: Loaded {picture}" in e2e.output(work),
                       lambda: "the picture was not loaded")
        e2e.wait_until(lambda: view_colours(env, wid, os.path.join(work, "loaded.png")) == drawn,
                       lambda: "the loaded picture differs from the saved one")
        if panel in e2e.run(env, "xdotool", "search", "--onlyvisible", "--name", "^Bild").stdout.split():
            raise e2e.Failure("a panel is still open")
        e2e.run(env, "xdotool", "windowfocus", "--sync", wid)
        e2e.run(env, "xdotool", "key", "ctrl+q")
        e2e.expect_clean_exit(app, "Ctrl+Q")


def case_quit_panel(env, app_path, work):
    with e2e.running(env, app_path, work) as app:
        wid = e2e.find_window(env, TITLE)
        panel = open_panel(env, wid, "ctrl+s", "^Bild sichern")
        e2e.run(env, "xdotool", "windowfocus", "--sync", panel)
        e2e.run(env, "xdotool", "key", "ctrl+q")
        e2e.expect_clean_exit(app, "Ctrl+Q in the save panel")


def clipboard(env, *args, data=None):
    """xclip on the clipboard; with data it stays behind to serve it, so its output goes nowhere."""
    command = ["xclip", "-selection", "clipboard", *args]
    if data is not None:
        return e2e.subprocess.run(command, env=env, input=data, stdout=e2e.subprocess.DEVNULL,
                                  stderr=e2e.subprocess.DEVNULL, timeout=e2e.PATIENCE)
    return e2e.subprocess.run(command, env=env, capture_output=True, timeout=e2e.PATIENCE)


def case_clipboard(env, app_path, work):
    with e2e.running(env, app_path, work) as app:
        wid = e2e.find_window(env, TITLE)
        click(env, wid, 40, 40)
        click(env, wid, 600, 360)
        time.sleep(0.3)
        drawn = view_colours(env, wid, os.path.join(work, "drawn.png"))
        # Bearbeiten › Bild kopieren: the second menu, its first item.
        e2e.choose_menu_item(env, wid, 98, ["Down", "Return"])
        pasted = os.path.join(work, "pasted.png")
        e2e.wait_until(lambda: clipboard(env, "-t", "TARGETS", "-o").stdout.find(b"image/png") >= 0,
                       lambda: "the clipboard offers no PNG")
        with open(pasted, "wb") as f:
            f.write(clipboard(env, "-t", "image/png", "-o").stdout)
        colours = e2e.file_colours(env, pasted)
        if colours != drawn:
            raise e2e.Failure(f"the pasted picture differs from the window's:\n{colours}\n{drawn}")

        # Text from another program, then the pasteboard window (Fenster › Zeigen › Zwischenablage).
        clipboard(env, "-i", data="von drau\u00DFen".encode())
        e2e.choose_menu_item(env, wid, 253, ["Down"] * 3 + ["Right"] + ["Down"] * 3 + ["Return"])
        board = e2e.find_window(env, "^Zwischenablage$")
        # Whatever the window shows goes back to the clipboard with Ctrl+A, Ctrl+C.
        clipboard(env, "-i", data=b"anders")
        e2e.run(env, "xdotool", "windowfocus", "--sync", board)
        e2e.run(env, "xdotool", "key", "ctrl+a", "ctrl+c")
        e2e.wait_until(lambda: clipboard(env, "-o").stdout.decode() == "von drau\u00DFen",
                       lambda: f"the pasteboard window showed {clipboard(env, '-o').stdout!r}")
        e2e.run(env, "xdotool", "key", "ctrl+q")
        e2e.expect_clean_exit(app, "Ctrl+Q")


CASES = {"save-load": case_save_load, "quit-panel": case_quit_panel, "clipboard": case_clipboard}


def main():
    if len(sys.argv) < 3 or sys.argv[2] not in CASES:
        print(__doc__)
        return 2
    app_path, case = sys.argv[1], sys.argv[2]
    keep = sys.argv[sys.argv.index("--keep") + 1] if "--keep" in sys.argv else None
    work = tempfile.mkdtemp(prefix="malkasten-e2e-")
    xvfb, display = e2e.start_xvfb()
    env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb", HOME=work)
    env.pop("WAYLAND_DISPLAY", None)
    try:
        CASES[case](env, app_path, work)
        print(f"{case}: passed")
        return 0
    except (e2e.Failure, e2e.subprocess.TimeoutExpired) as failure:
        print(f"{case}: FAILED: {failure}")
        path = os.path.join(work, "stdout.txt")
        if os.path.exists(path):
            print("--- application output ---")
            print(open(path).read()[-4000:])
        return 1
    finally:
        e2e.stop_xvfb(xvfb)
        if keep:
            shutil.copytree(work, keep, dirs_exist_ok=True)
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
