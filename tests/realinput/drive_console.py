#!/usr/bin/python3
"""The console as a person drives it: started on a machine of its own on a private X server, and driven with
real clicks and key presses (see realinput.py). Each case prints what it did; a failure says what a user would
have seen.

  drive_console.py --console PROGRAM (--machine FOLDER | --seed SCRIPT --machine-tool TOOL) [--cases ...]
  drive_console.py --console PROGRAM.exe --wine [--cases ...]

FOLDER is the emulated machine the console opens (copied for each case that changes it); with --seed, SCRIPT
builds one with TOOL first. With --wine the PROGRAM is the Windows console, run by wine on the same private
display, and the machine is Wine's own (WINEPREFIX as the caller set it).
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

from realinput import SELECTED_ORANGE, SETTLE, Console, Failure, PrivateDisplay, centre

TITLES = ["mnApplication", "mnAction", "mnTools"]
ACTION_ENTRIES = ["opRefresh", "opInclude", "opExclude", "opAlter", "opProperties"]

# What each command opens, and how a person closes it again without changing anything.
OPENS = {
    "opInclude": "frmInsert", "btnToolInclude": "frmInsert",
    "opAlter": "frmAlter", "btnToolAlter": "frmAlter",
    "opExclude": "frmYesNo", "btnToolDelete": "frmYesNo",
    "opProperties": "frmPrinterProperties", "btnToolProperties": "frmPrinterProperties",
    "opSecurePrint": "frmOptions", "opTrace": "frmOptions",
    "mnAbout": "frmAbout",
}
CLOSED_BY = {"frmYesNo": "lblNo", "frmAbout": "lblOK"}  # the others by their Cancel

# The commands that act in each state of the main window; every other Action entry and toolbar button is off.
STATES = {
    "before a view": set(),
    "settings view": {"opRefresh", "opInclude"},
    "settings view with a selected row": {"opRefresh", "opInclude", "opExclude", "opAlter"},
    "printers view": {"opRefresh"},
    "printers view with a selected printer": {"opRefresh", "opProperties"},
}
BUTTON_OF = {"opRefresh": "btnToolRefresh", "opInclude": "btnToolInclude", "opExclude": "btnToolDelete",
             "opAlter": "btnToolAlter", "opProperties": "btnToolProperties"}


class Driver:
    def __init__(self, screen, args, machine):
        self.screen = screen
        self.args = args
        env = dict(os.environ, DISPLAY=screen.name, QT_QPA_PLATFORM="xcb")
        for name in ("WAYLAND_DISPLAY", "QT_ACCESSIBILITY", "QT_LINUX_ACCESSIBILITY_ALWAYS_ON"):
            env.pop(name, None)
        self.layout_file = os.path.join(args.work, "layout.json")
        if args.wine:
            command = ["wine", args.console]
            console_layout = "Z:" + self.layout_file.replace("/", "\\")
        else:
            env["QUENYX_MACHINE"] = machine
            lock = os.path.join(machine, "QuenyxAdmin.lock")
            if os.path.exists(lock):
                os.remove(lock)
            command = [args.console]
            console_layout = None
        self.console = Console(command, env, self.layout_file, console_layout)
        self.console.wait(lambda l: self.title_rects(l), "the console's window never showed its menu bar")

    # -- what is on screen ---------------------------------------------------------------------------------
    def title_rects(self, layout=None):
        layout = layout or self.console.layout()
        titles = {}
        for window in layout["windows"]:
            if window["name"] == "frmMain":
                for item in window["items"]:
                    if item["class"] == "menu-title":
                        titles[item["name"]] = item
        return titles

    def title(self, key):
        item = self.title_rects().get(key)
        if not item:
            raise Failure(f"the menu bar shows no {key}")
        return item

    def menu_under(self, key):
        """The window that X shows right under the title, or None. (Any mapped window: Qt's own popups are
        override-redirect, but what Wine makes of a Windows popup need not be.)"""
        x, y, w, h = self.title(key)["rect"]
        for px, py, pw, ph, _ in self.screen.mapped_windows():
            if abs(px - x) <= 8 and y + h - 8 <= py <= y + h + 8:
                return (px, py, pw, ph)
        return None

    def any_menu_open(self):
        return any(self.menu_under(key) for key in self.title_rects())

    def highlighted(self, key):
        x, y, w, h = self.title(key)["rect"]
        return self.screen.share_of_colour((x + 1, y + 1, max(1, w - 2), max(1, h - 2)), SELECTED_ORANGE) > 0.3

    def dialogs(self, layout=None):
        layout = layout or self.console.layout()
        return [w["name"] or w["class"] for w in layout["windows"]
                if w["class"] not in ("QMenu", "QTipLabel") and w["name"] != "frmMain"]

    def item(self, name, window="frmMain"):
        item = self.console.item(name, window)
        if not item:
            raise Failure(f"{window} shows no {name}")
        return item

    def rows(self, list_name):
        """The list's rows on screen, top to bottom."""
        main = next(w for w in self.console.layout()["windows"] if w["name"] == "frmMain")
        return [item for item in main["items"] if item["name"].startswith(list_name + "/")]

    def resting_place(self):
        """A point of the main window where a click does nothing: the navigation panel below its entries."""
        x, y, w, h = self.item("pbTreeView")["rect"]
        return x + w // 2, y + h - 12

    # -- what a person does --------------------------------------------------------------------------------
    def click(self, name, window="frmMain"):
        self.screen.click(*centre(self.item(name, window)["rect"]))

    def rest_pointer(self):
        self.screen.move(*self.resting_place())

    def open_menu(self, key, how="one click"):
        self.screen.click(*centre(self.title(key)["rect"]))
        return self.console.wait(lambda _: self.menu_under(key),
                                 f"{how} on {self.title(key)['text']!r} opened no menu")

    def entries(self, key):
        """The open menu's entries by name, from the console's own account of its open popup."""
        def shown(layout):
            for window in layout["windows"]:
                if window["class"] == "QMenu":
                    return {item["name"]: item for item in window["items"]}
            return None
        return self.console.wait(shown, f"the {key} menu showed no entries")

    def escape_closes(self, key):
        self.screen.key("Escape")
        self.console.wait(lambda _: not self.menu_under(key),
                          f"Escape left the {self.title(key)['text']!r} menu open")
        self.rest_pointer()
        self.console.wait(lambda _: not self.highlighted(key),
                          f"after Escape the title {self.title(key)['text']!r} stayed highlighted")

    def wait_closed(self, what):
        self.console.wait(lambda l: not any(w["class"] == "QMenu" for w in l["windows"]) and
                          not self.any_menu_open(), f"{what} left a menu open")

    def expect_window(self, name, after):
        try:
            self.console.wait(lambda l: name in self.dialogs(l), f"{after} opened no {name}")
        except Failure as failure:
            shown = self.dialogs()
            raise Failure(f"{failure}{' but ' + ', '.join(shown) if shown else ''}") from None

    def close_window(self, name, how=None):
        self.click(how or CLOSED_BY.get(name, "lblCancel"), name)
        self.console.wait(lambda l: name not in self.dialogs(l), f"{how or 'Cancel'} left {name} open")

    def nothing_opened(self, after):
        """Proves that the last input opened nothing: a menu opened and closed afterwards is handled after it, so
        a window it had opened would be there (and, being modal, would have kept the menu from opening)."""
        self.open_menu("mnApplication", f"after {after}, a click")
        self.screen.key("Escape")
        self.wait_closed("Escape")
        opened = self.dialogs()
        if opened:
            raise Failure(f"{after} opened {', '.join(opened)}")

    def choose_view(self, view):
        self.click({"settings": "pbConfigs", "printers": "pbPrinters", "cluster": "pbCluster"}[view])
        list_name = "ListView" if view == "settings" else "listViewPrinters"
        self.console.wait(lambda l: self.console.item(f"{list_name}/1", "frmMain", l),
                          f"a click on the {view} entry showed no list")
        return list_name

    def select_row(self, list_name, row=1):
        self.click(f"{list_name}/{row}")
        self.console.wait(lambda l: (self.console.item(f"{list_name}/{row}", "frmMain", l) or {}).get("selected"),
                          f"a click on row {row} of {list_name} did not select it")

    def quit(self):
        self.console.stop()


def case_menus(driver):
    """Each menu opens on one click however the last one was closed, and Escape leaves no title lit."""
    d = driver
    for key in TITLES:
        d.open_menu(key)
        d.escape_closes(key)
        d.open_menu(key, "after Escape, one click")
        d.escape_closes(key)

        d.open_menu(key)
        d.screen.click(*d.resting_place())
        d.wait_closed(f"a click outside the {key} menu")
        d.open_menu(key, "after a click outside the menu, one click")
        d.escape_closes(key)
    # From one title to the next while a menu is open, as a person slides along the bar: no click needed.
    d.open_menu("mnAction")
    d.screen.move(*centre(d.title("mnTools")["rect"]))
    d.console.wait(lambda _: d.menu_under("mnTools"), "with the Action menu open, moving onto Tools opened no menu")
    d.console.wait(lambda _: not d.menu_under("mnAction"), "the Action menu stayed open beside Tools")
    d.escape_closes("mnTools")
    # A disabled entry clicked leaves its menu open; Escape then closes it, and a click opens it again.
    d.open_menu("mnAction")
    d.screen.click(*centre(d.entries("mnAction")["opRefresh"]["rect"]))
    d.escape_closes("mnAction")
    d.open_menu("mnAction", "after a disabled entry and Escape, one click")
    d.escape_closes("mnAction")
    # An entry chosen: its window opens and closes, and the menu opens on the next click.
    d.open_menu("mnTools")
    d.screen.click(*centre(d.entries("mnTools")["opTrace"]["rect"]))
    d.expect_window("frmOptions", "Trace in the Tools menu")
    d.close_window("frmOptions")
    d.open_menu("mnTools", "after an entry was chosen, one click")
    d.escape_closes("mnTools")


def check_state(d, state, selected=None):
    """`selected` is the (list, row) that the state has selected: Add and Refresh fill the list anew, which
    clears the selection, so it is chosen again before each command."""
    acting = STATES[state]
    d.open_menu("mnAction")
    shown = d.entries("mnAction")
    for key in ACTION_ENTRIES:
        if key in shown and shown[key]["enabled"] != (key in acting):
            raise Failure(f"{state}: Action > {shown[key]['text']} is {'on' if shown[key]['enabled'] else 'off'}")
    d.escape_closes("mnAction")
    for key, button in BUTTON_OF.items():
        if d.item(button)["enabled"] != (key in acting):
            raise Failure(f"{state}: the toolbar's {button} is {'on' if key not in acting else 'off'}")

    # Refresh last: it fills the list anew, which clears the selection the others need.
    for key in sorted(ACTION_ENTRIES, key=lambda k: k == "opRefresh"):
        for by_menu in (True, False):
            what = f"{state}: {'Action > ' + key if by_menu else 'the toolbar button ' + BUTTON_OF[key]}"
            if selected:
                d.select_row(*selected)
            if by_menu:
                d.open_menu("mnAction")
                d.screen.click(*centre(d.entries("mnAction")[key]["rect"]))
            else:
                d.click(BUTTON_OF[key])
            if key not in acting:
                if by_menu:
                    d.escape_closes("mnAction")
                d.nothing_opened(what)
            elif key == "opRefresh":
                d.wait_closed(what)
                d.nothing_opened(what)
            else:
                d.expect_window(OPENS[key], what)
                d.close_window(OPENS[key])


def case_states(driver):
    """Every Action entry and toolbar button does what it should in each state of the window, and nothing when
    it is off; Tools and About open their windows."""
    d = driver
    check_state(d, "before a view")
    for key in ("opSecurePrint", "opTrace"):
        d.open_menu("mnTools")
        entries = d.entries("mnTools")
        if key not in entries:
            d.escape_closes("mnTools")
            continue
        d.screen.click(*centre(entries[key]["rect"]))
        d.expect_window(OPENS[key], f"Tools > {entries[key]['text']}")
        d.close_window(OPENS[key])
    d.screen.click(*centre(d.title("mnAbout")["rect"]))
    d.expect_window("frmAbout", "a click on About")
    d.close_window("frmAbout")

    settings = d.choose_view("settings")
    check_state(d, "settings view")
    d.select_row(settings)
    check_state(d, "settings view with a selected row", (settings, 1))
    printers = d.choose_view("printers")
    check_state(d, "printers view")
    d.select_row(printers)
    check_state(d, "printers view with a selected printer", (printers, 1))


def case_printer(driver):
    """A double click and Enter on a printer open its properties; Cancel and the close picture close them."""
    d = driver
    printers = d.choose_view("printers")
    x, y = centre(d.item(f"{printers}/1")["rect"])
    d.screen.double_click(x, y)
    d.expect_window("frmPrinterProperties", "a double click on a printer")
    d.close_window("frmPrinterProperties")
    d.select_row(printers, 2)
    d.screen.key("Return")
    d.expect_window("frmPrinterProperties", "Enter on the selected printer")
    d.close_window("frmPrinterProperties", "btnClose")


def case_change_and_leave(driver, answer):
    """A printer's box switched and applied; leaving then asks to restart the agent, and the answer ends it."""
    d = driver
    printers = d.choose_view("printers")
    d.screen.double_click(*centre(d.item(f"{printers}/1")["rect"]))
    d.expect_window("frmPrinterProperties", "a double click on a printer")
    before = d.item("chkBilling", "frmPrinterProperties").get("checked")
    x, y, w, h = d.item("chkBilling", "frmPrinterProperties")["rect"]
    d.screen.click(x + 8, y + h // 2)  # on its box: the rest of the row is not the check box's
    d.console.wait(lambda l: (d.console.item("chkBilling", "frmPrinterProperties", l) or {}).get("checked") != before,
                   "a click on the accounting box did not change it")
    d.click("lblApply", "frmPrinterProperties")
    d.console.wait(lambda l: "frmPrinterProperties" not in d.dialogs(l), "OK left the printer's properties open")
    d.click("btnToolCancel")
    d.expect_window("frmYesNo", "leaving the console after a change (no restart question)")
    d.click("lblYes" if answer else "lblNo", "frmYesNo")
    if not d.console.ended():
        raise Failure(f"answering {'Yes' if answer else 'No'} to the restart question left the console running")


def case_keyboard(driver):
    """The road of one change by keys alone. F10 opens the menu bar and Escape gives the keyboard back to the
    navigation panel, which has it at start; its arrow chooses
    the printers; Tab reaches the list, Space selects the printer, Enter opens it; Tab reaches the accounting
    box, Space switches it, Enter applies; the keyboard is back on the list, Tab and End reach Quit on the
    toolbar, Space leaves, and the restart question takes Tab and Space (No)."""
    d = driver
    d.rest_pointer()
    d.screen.click(*d.resting_place())  # where a click does nothing: the window has the keyboard, as a window manager gives it

    def press(key, condition, failure):
        d.screen.key(key)
        return d.console.wait(condition, f"{key}: {failure}")

    def focus_on(name):
        return lambda l: l.get("focus") == name

    def keyboard_in(window):
        """Where the keyboard is once `window` has it: keys pressed before would go to the window behind."""
        return d.console.wait(lambda l: l.get("focus") if d.console.item(l.get("focus"), window, l) else None,
                              f"{window} opened without the keyboard")

    d.console.wait(focus_on("pbConfigs"), "the console did not start with the keyboard on its first view")
    d.screen.key("F10")
    d.console.wait(lambda _: d.menu_under("mnApplication"), "F10 opened no menu")
    press("Escape", lambda l: not d.menu_under("mnApplication") and l.get("focus") == "pbConfigs",
          "Escape did not close the menu and give the keyboard back")
    press("Down", focus_on("pbPrinters"), "the arrow did not reach the printers view")
    try:
        d.console.wait(lambda l: d.console.item("listViewPrinters/1", "frmMain", l), "", patience=SETTLE)
    except Failure:  # a spooler without printers (Wine's): the cluster's printers, one arrow further down
        press("Down", lambda l: l.get("focus") == "pbCluster" and d.console.item("listViewPrinters/1", "frmMain", l),
              "neither the printers view nor the cluster's showed a printer")
    press("Tab", focus_on("listViewPrinters"), "Tab did not reach the printers list")
    press("space", lambda l: (d.console.item("listViewPrinters/1", "frmMain", l) or {}).get("selected"),
          "Space did not select the printer")
    d.screen.key("Return")
    d.expect_window("frmPrinterProperties", "Enter on the selected printer")
    focus = keyboard_in("frmPrinterProperties")
    for _ in range(8):
        if focus == "chkBilling":
            break
        focus = press("Tab", lambda l, before=focus: l.get("focus") != before and l.get("focus"),
                      "Tab did not move in the properties")
    before = d.item("chkBilling", "frmPrinterProperties").get("checked")
    press("space", lambda l: (d.console.item("chkBilling", "frmPrinterProperties", l) or {}).get("checked") != before,
          "Space did not switch the accounting box")
    press("Return", lambda l: "frmPrinterProperties" not in d.dialogs(l), "Enter did not apply the properties")
    d.console.wait(focus_on("listViewPrinters"), "the keyboard did not come back to the printers list")
    press("Tab", lambda l: (l.get("focus") or "").startswith("btnTool"), "Tab did not reach the toolbar")
    press("End", focus_on("btnToolCancel"), "End did not reach Quit")
    d.screen.key("space")
    d.expect_window("frmYesNo", "Space on Quit after a change (no restart question)")
    keyboard_in("frmYesNo")
    press("Tab", focus_on("btnNo"), "Tab did not reach No")
    d.screen.key("space")
    if not d.console.ended():
        raise Failure("No by the keyboard left the console running")


def case_options(driver):
    """A dialog's Cancel and OK: Tools > Trace opens the options, Cancel closes them, Apply applies and closes."""
    d = driver
    for closing in ("lblCancel", "lblOK"):
        d.open_menu("mnTools")
        d.screen.click(*centre(d.entries("mnTools")["opTrace"]["rect"]))
        d.expect_window("frmOptions", "Trace in the Tools menu")
        d.close_window("frmOptions", closing)


def case_change_and_leave_no(driver):
    """A change applied, then No to the restart question on leaving."""
    case_change_and_leave(driver, False)


def case_change_and_leave_yes(driver):
    """A change applied, then Yes to the restart question: the agent restarts and the console ends."""
    case_change_and_leave(driver, True)


def case_unicode(driver):
    """A setting and a printer named outside any one code page show whole, and a change to the setting is stored
    whole: the Change dialog shows DCSServer's text, End and x add to it, Change stores it, and the cluster's
    printers list the printer."""
    d = driver
    text = d.args.text
    settings = d.choose_view("settings")
    rows = d.rows(settings)
    row = next((r for r in rows if r["text"] == "DCSServer"), None)
    if not row:
        raise Failure("the settings list shows no DCSServer")
    d.select_row(settings, int(row["name"].split("/")[1]))
    d.click("btnToolAlter")
    d.expect_window("frmAlter", "the toolbar's Change on DCSServer")
    shown = d.item("txtDadosValor", "frmAlter")["text"]
    if shown != text:
        raise Failure(f"the Change dialog shows DCSServer as {shown!r}, not {text!r}")
    d.click("txtDadosValor", "frmAlter")
    d.screen.key("End")
    d.screen.key("x")
    d.console.wait(lambda l: (d.console.item("txtDadosValor", "frmAlter", l) or {}).get("text") == text + "x",
                   "End and x did not add x to the text")
    d.click("lblAlter", "frmAlter")
    d.console.wait(lambda l: "frmAlter" not in d.dialogs(l), "Change left the dialog open")
    printers = d.choose_view("cluster")
    names = [r["text"] for r in d.rows(printers)]
    if text not in names:
        raise Failure(f"the cluster's printers are {names}, not {text!r}")


CASES = {
    "menus": (case_menus, False),
    "states": (case_states, False),
    "printer": (case_printer, False),
    "leave-no": (case_change_and_leave_no, True),
    "leave-yes": (case_change_and_leave_yes, True),
    "options": (case_options, True),
    "keyboard": (case_keyboard, True),
    "unicode": (case_unicode, True),
}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--console", required=True)
    parser.add_argument("--machine", help="the emulated machine (not with --wine)")
    parser.add_argument("--seed", help="a script that builds an emulated machine in the folder it is given")
    parser.add_argument("--machine-tool", help="the machine tool the seed script uses")
    parser.add_argument("--wine", action="store_true")
    parser.add_argument("--display", help="an X server of the caller's instead of one of our own")
    parser.add_argument("--cases", default=",".join(c for c in CASES if c != "unicode"))
    parser.add_argument("--text", default="", help="DCSServer's text and a printer's name, for the unicode case")
    args = parser.parse_args()
    args.work = tempfile.mkdtemp(prefix="quenyx-realinput-")
    if args.seed:
        args.machine = os.path.join(args.work, "machine")
        subprocess.run(["bash", args.seed, args.machine], check=True, stdout=subprocess.DEVNULL,
                       env=dict(os.environ, QUENYX_MACHINE_TOOL=args.machine_tool))

    failures = []
    started = time.monotonic()
    screen = PrivateDisplay(existing=args.display)
    try:
        for name in args.cases.split(","):
            run, changes = CASES[name]
            machine = args.machine
            if changes and machine and not args.wine:
                machine = os.path.join(args.work, f"machine-{name}")
                shutil.copytree(args.machine, machine)
            began = time.monotonic()
            driver = None
            try:
                driver = Driver(screen, args, machine)
                run(driver)
                summary = (run.__doc__ or "").split(".")[0].replace("\n", " ")
                print(f"ok    {name:10} {time.monotonic() - began:5.1f} s  {' '.join(summary.split())}")
            except Failure as failure:
                failures.append(name)
                print(f"FAIL  {name:10} {time.monotonic() - began:5.1f} s  a user would have seen: {failure}")
            finally:
                screen.release_all()
                if driver:
                    driver.quit()
    finally:
        screen.close()
        shutil.rmtree(args.work, ignore_errors=True)
    print(f"{len(args.cases.split(',')) - len(failures)} of {len(args.cases.split(','))} cases passed "
          f"in {time.monotonic() - started:.1f} s on a private X server driven through XTEST")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
