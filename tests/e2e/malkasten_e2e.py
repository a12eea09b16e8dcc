#!/usr/bin/env python3
"""Malkasten in a real X server, driven as a user would.

Usage: malkasten_e2e.py APP CASE [--keep DIR]
"""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import streifenwerk_e2e as e2e  # noqa: E402  (the shared X server and window functions)

TITLE = "^Malkasten — "
VIEW = (640, 400)  # at the bottom left of the window


def click(env, wid, x, y, button="1"):
    top = e2e.geometry(env, wid)[3] - VIEW[1]
    e2e.xdo(env, "mousemove", "--window", wid, str(x), str(top + y), "click", button)


def view_colours(env, wid, path):
    return e2e.colours(env, wid, path, e2e.bottom_left(*VIEW))


def draw(env, wid, work):
    """A black line, then Farbe › Rot and a red one started with a right click; returns the view's colours."""
    click(env, wid, 40, 40)
    click(env, wid, 600, 360)
    # Farbe › Rot: the third menu of the bar, its second item.
    e2e.choose_menu_item(env, wid, 162, ["Down", "Down", "Return"])
    e2e.wait_until(lambda: e2e.window_name(env, wid) == "Malkasten — Rot",
                   lambda: f"the colour did not change: {e2e.window_name(env, wid)!r}")
    click(env, wid, 40, 360, "3")
    click(env, wid, 600, 40)
    time.sleep(0.3)
    drawn = view_colours(env, wid, f"{work}/drawn.png")
    e2e.check("#FF0000" in drawn and "#000000" in drawn, f"the lines are not on screen: {drawn}")
    # Where the right click would have drawn a line, had it not only moved the pen.
    between = e2e.run(env, "convert", f"{work}/drawn.png", "-format", "%[hex:p{320,360}]", "info:").stdout
    e2e.check(between.startswith("FFFFFF"), f"the right click drew: {between} between its ends")
    return drawn


def case_save_load(env, app_path, work):
    """Two lines drawn, saved through the save panel (Ctrl+S, a typed path), cleared, loaded again through
    the open panel (Ctrl+O): the window shows the saved picture again; Escape ends the program."""
    picture = f"{work}/bild rot.png"
    with e2e.running(env, app_path, work) as app:
        wid = e2e.find_window(env, TITLE)
        drawn = draw(env, wid, work)
        panel = e2e.answer_panel(env, wid, "ctrl+s", "^Bild sichern", picture)
        e2e.wait_until(lambda: f"Malkasten: Saved {picture}" in e2e.output(work), lambda: "the picture was not saved")
        saved = e2e.file_colours(env, picture)
        e2e.check(saved == drawn, f"the file's colours differ from the window's:\n{saved}\n{drawn}")

        e2e.press(env, wid, "c")
        e2e.wait_until(lambda: "#000000" not in view_colours(env, wid, f"{work}/clear.png"),
                       lambda: "C did not clear the picture")
        e2e.answer_panel(env, wid, "ctrl+o", "^Bild öffnen", picture)
        e2e.wait_until(lambda: f"Malkasten: Loaded {picture}" in e2e.output(work), lambda: "the picture was not loaded")
        e2e.wait_until(lambda: view_colours(env, wid, f"{work}/loaded.png") == drawn,
                       lambda: "the loaded picture differs from the saved one")
        e2e.check(panel not in e2e.visible_windows(env, "^Bild"), "a panel is still open")
        e2e.press(env, wid, "Escape")
        e2e.wait_until(lambda: e2e.window_name(env, wid) == "Malkasten — Programm Ende",
                       lambda: f"Escape did not end the program: {e2e.window_name(env, wid)!r}")
        e2e.press(env, wid, "ctrl+q")
        e2e.expect_clean_exit(app, "Ctrl+Q")


def case_quit_panel(env, app_path, work):
    """Ctrl+Q while the save panel is open ends the application with status 0 (no hang)."""
    with e2e.running(env, app_path, work) as app:
        e2e.press(env, e2e.find_window(env, TITLE), "ctrl+s")
        e2e.press(env, e2e.find_window(env, "^Bild sichern"), "ctrl+q")
        e2e.expect_clean_exit(app, "Ctrl+Q in the save panel")


def clipboard(env, *args, data=None):
    """xclip on the clipboard; with data it stays behind to serve it, so its output goes nowhere."""
    out = subprocess.PIPE if data is None else subprocess.DEVNULL
    command = ["xclip", "-selection", "clipboard", *args]
    return subprocess.run(command, env=env, input=data, stdout=out, stderr=out, timeout=e2e.PATIENCE).stdout


def case_clipboard(env, app_path, work):
    """Bearbeiten › Bild kopieren gives other programs the picture as PNG; the pasteboard window shows the
    text another program copied."""
    with e2e.running(env, app_path, work) as app:
        wid = e2e.find_window(env, TITLE)
        drawn = draw(env, wid, work)
        # Bearbeiten › Bild kopieren: the second menu, its first item.
        e2e.choose_menu_item(env, wid, 98, ["Down", "Return"])
        e2e.wait_until(lambda: b"image/png" in clipboard(env, "-t", "TARGETS", "-o"),
                       lambda: "the clipboard offers no PNG")
        with open(f"{work}/pasted.png", "wb") as f:
            f.write(clipboard(env, "-t", "image/png", "-o"))
        pasted = e2e.file_colours(env, f"{work}/pasted.png")
        e2e.check(pasted == drawn, f"the pasted picture differs from the window's:\n{pasted}\n{drawn}")

        # Text from another program, then the pasteboard window (Fenster › Zeigen › Zwischenablage).
        clipboard(env, "-i", data="von drau\u00DFen".encode())
        e2e.choose_menu_item(env, wid, 253, ["Down"] * 3 + ["Right"] + ["Down"] * 3 + ["Return"])
        board = e2e.find_window(env, "^Zwischenablage$")
        # Whatever the window shows goes back to the clipboard with Ctrl+A, Ctrl+C.
        clipboard(env, "-i", data=b"anders")
        e2e.press(env, board, "ctrl+a", "ctrl+c")
        e2e.wait_until(lambda: clipboard(env, "-o").decode() == "von drau\u00DFen",
                       lambda: f"the pasteboard window showed {clipboard(env, '-o')!r}")
        e2e.xdo(env, "key", "ctrl+q")
        e2e.expect_clean_exit(app, "Ctrl+Q")


if __name__ == "__main__":
    sys.exit(e2e.main(globals(), __doc__, {}))
