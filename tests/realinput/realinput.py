"""Drives a running console the way a person does: a private X server, real pointer and key events through its
XTEST extension, and what the screen shows read back from the server (its mapped windows and their pixels).

The console tells where its controls are through its layout probe (QUENYX_LAYOUT): a file it keeps holding its
shown windows, their named controls and their screen rectangles. What happened after an event is judged from the
X server where a person would judge it from the screen (a menu popped up, a title is highlighted), and from the
probe for which window is which.
"""

import json
import os
import signal
import subprocess
import time

from Xlib import X, XK, display as xdisplay
from Xlib.error import XError
from Xlib.ext import xtest

# Long enough for a machine whose cores are busy with other work; a passing step waits only for what it waits for.
PATIENCE = float(os.environ.get("QUENYX_REALINPUT_PATIENCE", "15"))
# How long a step waits before it concludes that something did *not* happen (a menu that stays shut).
SETTLE = float(os.environ.get("QUENYX_REALINPUT_SETTLE", "1.5"))
SELECTED_ORANGE = (226, 93, 65)


class Failure(Exception):
    """What a user would have seen go wrong."""


class PrivateDisplay:
    """An Xvfb of our own: the server picks a free display number (-displayfd), so runs never collide, and it is
    ended by its own pid."""

    def __init__(self, width=1280, height=1024, existing=None):
        """With `existing`, the display of an X server that the caller started (and ends) instead."""
        self.server = None
        if existing:
            self._connect(existing)
            return
        read, write = os.pipe()
        self.server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-nolisten", "tcp", "-screen", "0", f"{width}x{height}x24",
             "-dpi", "96", "-noreset"],
            pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
        os.close(write)
        with os.fdopen(read) as announced:
            number = announced.readline().strip()
        if not number.isdigit():
            self.server.kill()
            raise SystemExit("realinput: Xvfb did not start")
        self._connect(f":{number}")

    def _connect(self, name):
        self.name = name
        self.x = xdisplay.Display(self.name)
        if not self.x.has_extension("XTEST"):
            self.close()
            raise SystemExit("realinput: the X server has no XTEST extension")
        self.root = self.x.screen().root
        self.held = []

    # -- input ---------------------------------------------------------------------------------------------
    def _fake(self, kind, detail=0, **where):
        xtest.fake_input(self.x, kind, detail, **where)
        self.x.sync()

    def move(self, x, y):
        self._fake(X.MotionNotify, x=int(x), y=int(y))

    def press(self, button=1):
        self.held.append(("button", button))
        self._fake(X.ButtonPress, button)

    def release(self, button=1):
        self._fake(X.ButtonRelease, button)
        self.held.remove(("button", button))

    def click(self, x, y, button=1):
        self.move(x, y)
        time.sleep(0.02)
        self.press(button)
        self.release(button)

    def double_click(self, x, y):
        self.click(x, y)
        time.sleep(0.05)
        self.click(x, y)

    def keycode(self, name):
        code = self.x.keysym_to_keycode(XK.string_to_keysym(name))
        if not code:
            raise SystemExit(f"realinput: no key {name} on this server")
        return code

    def key(self, name, *modifiers):
        codes = [self.keycode(m) for m in modifiers] + [self.keycode(name)]
        for code in codes:
            self.held.append(("key", code))
            self._fake(X.KeyPress, code)
        for code in reversed(codes):
            self._fake(X.KeyRelease, code)
            self.held.remove(("key", code))

    def release_all(self):
        """Whatever is still down (a window vanished between press and release, a step failed) goes up."""
        for kind, detail in reversed(self.held):
            try:
                self._fake(X.ButtonRelease if kind == "button" else X.KeyRelease, detail)
            except XError:
                pass
        self.held.clear()

    # -- the screen ----------------------------------------------------------------------------------------
    def mapped_windows(self):
        """The top-level windows a person sees: (x, y, width, height, is_popup)."""
        shown = []
        for window in self.root.query_tree().children:
            try:
                attributes = window.get_attributes()
                if attributes.map_state != X.IsViewable:
                    continue
                geometry = window.get_geometry()
                shown.append((geometry.x, geometry.y, geometry.width, geometry.height,
                              bool(attributes.override_redirect)))
            except XError:
                continue  # gone between the listing and the question
        return shown

    def popups(self):
        return [w for w in self.mapped_windows() if w[4]]

    def share_of_colour(self, rect, colour, tolerance=12):
        """How much of the rectangle on screen shows the colour, from 0 to 1."""
        x, y, w, h = rect
        image = self.root.get_image(x, y, w, h, X.ZPixmap, 0xFFFFFFFF)
        data = image.data
        hits = 0
        for i in range(0, len(data) - 3, 4):
            b, g, r = data[i], data[i + 1], data[i + 2]
            if all(abs(a - b_) <= tolerance for a, b_ in zip((r, g, b), colour)):
                hits += 1
        return hits / max(1, w * h)

    def close(self):
        self.release_all()
        try:
            self.x.close()
        except Exception:
            pass
        if self.server and self.server.poll() is None:
            self.server.terminate()
            try:
                self.server.wait(10)
            except subprocess.TimeoutExpired:
                self.server.kill()
                self.server.wait()


class Console:
    """One started console and what its layout probe says."""

    def __init__(self, command, env, layout_file, layout_path_for_console=None):
        self.layout_file = layout_file
        if os.path.exists(layout_file):
            os.remove(layout_file)
        env = dict(env, QUENYX_LAYOUT=layout_path_for_console or layout_file)
        self.process = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                                        start_new_session=True)

    def layout(self):
        try:
            with open(self.layout_file, encoding="utf-8") as f:
                return json.load(f)
        except (OSError, ValueError):
            return {"windows": [], "focus": ""}

    def wait(self, condition, failure, patience=PATIENCE):
        """Waits for `condition(layout)` to hold and returns its value; raises Failure(failure) when it never does."""
        deadline = time.monotonic() + patience
        while True:
            value = condition(self.layout())
            if value:
                return value
            if self.process.poll() is not None and time.monotonic() > deadline - patience + 0.2:
                value = condition(self.layout())
                if value:
                    return value
                raise Failure(f"{failure} (the console ended with {self.process.returncode}: "
                              f"{self.process.stderr.read().decode(errors='replace')[-300:]})")
            if time.monotonic() > deadline:
                raise Failure(failure)
            time.sleep(0.02)

    def window(self, name):
        """The shown window named so, or None."""
        for window in self.layout()["windows"]:
            if window["name"] == name:
                return window
        return None

    def item(self, name, window="frmMain", layout=None):
        layout = layout or self.layout()
        for shown in layout["windows"]:
            if shown["name"] == window or (window is None):
                for item in shown["items"]:
                    if item["name"] == name:
                        return item
        return None

    def ended(self, patience=PATIENCE):
        try:
            self.process.wait(patience)
            return True
        except subprocess.TimeoutExpired:
            return False

    def stop(self):
        if self.process.poll() is None:
            os.killpg(self.process.pid, signal.SIGTERM)
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                os.killpg(self.process.pid, signal.SIGKILL)
                self.process.wait()


def centre(rect):
    x, y, w, h = rect
    return x + w // 2, y + h // 2
