#!/usr/bin/env python3
"""What a screen reader finds in the running console: the console started on a private X server with Qt's
accessibility bridge on, its tree read over AT-SPI (as Orca reads it) at start, on the printers view and in a
printer's properties, reached by keys through XTEST. Every shown control that acts must have a name, and every
one that can be pressed an action. Run inside a D-Bus session of its own (dbus-run-session), which the
accessibility bus is started on.

  screen_reader.py --console PROGRAM --seed SCRIPT --machine-tool TOOL
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi

from realinput import PATIENCE, Console, Failure, PrivateDisplay

# Roles a person acts on, and whether an enabled one must offer an action.
ACTING = {"push button": True, "toggle button": True, "check box": True, "radio button": True,
          "list item": True, "page tab": True, "menu item": True, "text": False, "combo box": False,
          "table": False, "list": False}


def application(name, patience=PATIENCE):
    deadline = time.monotonic() + patience
    while time.monotonic() < deadline:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == name and app.childCount:
                return app
        time.sleep(0.1)
    raise Failure(f"no {name} on the accessibility bus")


def window(app, role, patience=PATIENCE):
    """The application's shown top-level window that holds a control of `role` (every window's title is the
    console's, so they are told apart by what only they hold: the main window its menu bar, a printer's
    properties their check boxes)."""
    deadline = time.monotonic() + patience
    while time.monotonic() < deadline:
        for top in app:
            if top is not None and top.getState().contains(pyatspi.STATE_SHOWING) and holds(top, role):
                return top
        time.sleep(0.1)
    raise Failure(f"no shown window with a {role} on the accessibility bus")


def holds(node, role):
    return any(child is not None and (child.getRoleName() == role or holds(child, role)) for child in node)


def lacking(node, problems, counted, path=""):
    """Walks the shown part of the tree; counts the acting controls and notes what each lacks."""
    for child in node:
        if child is None:
            continue
        states = child.getState()
        if not states.contains(pyatspi.STATE_SHOWING):
            continue
        role, name = child.getRoleName(), (child.name or "").strip()
        if role in ACTING:
            counted.append(role)
            missing = []
            if not name:
                missing.append("name")
            if ACTING[role] and states.contains(pyatspi.STATE_SENSITIVE):
                interfaces = pyatspi.listInterfaces(child)
                if "Action" not in interfaces or not child.queryAction().nActions:
                    missing.append("action")
            if missing:
                problems.append(f"{path}/{role} {name!r}: no {', '.join(missing)}")
        if role not in ("table", "menu"):  # a table's cells and a closed menu's entries are not walked
            lacking(child, problems, counted, f"{path}/{role}")


def check(what, top):
    problems, counted = [], []
    lacking(top, problems, counted)
    print(f"  {what}: {len(counted)} acting controls, {len(problems)} lacking")
    if not counted:
        raise Failure(f"{what}: no acting control read")
    if problems:
        raise Failure(f"{what}:\n    " + "\n    ".join(problems))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--console", required=True)
    parser.add_argument("--seed", required=True)
    parser.add_argument("--machine-tool", required=True)
    args = parser.parse_args()
    work = tempfile.mkdtemp(prefix="quenyx-screen-reader-")
    machine = os.path.join(work, "machine")
    subprocess.run(["bash", args.seed, machine], check=True, stdout=subprocess.DEVNULL,
                   env=dict(os.environ, QUENYX_MACHINE_TOOL=args.machine_tool))
    screen = PrivateDisplay()
    env = dict(os.environ, DISPLAY=screen.name, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
               QUENYX_MACHINE=machine)
    env.pop("WAYLAND_DISPLAY", None)
    console = Console([args.console], env, os.path.join(work, "layout.json"))
    try:
        console.wait(lambda l: console.item("pbTreeView", "frmMain", l), "the console's window never showed")
        app = application(os.path.basename(args.console))
        check("the main window at start", window(app, "menu bar"))

        # Keys from here, as a screen reader's user works: a click where nothing acts gives the window the keyboard.
        x, y, w, h = console.item("pbTreeView", "frmMain")["rect"]
        screen.click(x + w // 2, y + h - 12)
        console.wait(lambda l: l.get("focus") == "pbConfigs", "the keyboard did not start on the first view")
        screen.key("Down")
        console.wait(lambda l: console.item("listViewPrinters/1", "frmMain", l), "the arrow showed no printers")
        check("the printers view", window(app, "menu bar"))
        screen.key("Tab")
        console.wait(lambda l: l.get("focus") == "listViewPrinters", "Tab did not reach the list")
        screen.key("space")
        screen.key("Return")
        console.wait(lambda l: console.window("frmPrinterProperties"), "Enter opened no printer properties")
        check("a printer's properties", window(app, "check box"))
        print("every acting control has a name and, where it is pressed, an action")
        return 0
    except Failure as failure:
        print(f"FAIL  a screen reader's user would have met: {failure}")
        return 1
    finally:
        console.stop()
        screen.close()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
