#!/usr/bin/python3
"""Uses Kolmira the way a screen reader user does, over the accessibility bus.

Runs inside tests/accessibility/desktop_session.sh. First a start without a
row file must bring up the error box as an alert; then a start with a row
file enters a full draw by setting the scroll bar and pressing "Välj
siffran", answers the prompt, checks the rows and opens the prize chart,
reading every result back through the accessibility tree (the check's result
also as the notification a screen reader hears). With --screenshots DIR it
also saves a picture of the window at each stage.
"""

import argparse
import os
import subprocess
import sys
import tempfile
import time

import pyatspi
from gi.repository import GLib

WAIT_SECONDS = 20
TITLE = "Kolmira version 1.3 made by Tumbrek"

# The form's controls in the order it declares them, which is also the order
# of the window's children in the accessibility tree; after them comes the
# notification through which the screen reader is told what changes.
CONTROLS = [
    "Command5", "Command4", "Command3", "Command2", "Command1", "HScroll1",
    "Label12", "Label11", "Label10", "Label9", "Label8", "Label7", "Label6",
    "Label5", "Label4", "Label3", "Label2", "ratt_rad_inmatning_text",
    "Label1", "in_ratt_sif", "visa_antalet_ratt",
]
CAPTIONS = {
    "Command5": "Klicka här för att fortsätta rätta",
    "Command4": "Avsluta",
    "Command3": "Ny rad",
    "Command2": "Rätta",
    "Command1": "Välj siffran",
}

# Ten rows that fall into every prize class: two of 4+1, one each of 5, 6,
# 6+1 and 7, and four without a prize.
ROWS = [
    "05121723283135", "05121723283102", "05121723283101", "05121723280103",
    "05121723020304", "35312817090106", "05121723010304", "01030406070810",
    "35010304060708", "12140209300105",
]
MAIN = [5, 12, 17, 23, 28, 31, 35]
ADDITIONAL = [2, 9, 14, 30]
FULL_LIST = "  5 12 17 23 28 31 35   Tillägg:  2  9  14  30"
RESULT_LIST = " ?? ?? ?? ?? ?? ??  4  0  1  2"
SUMMARY = "Du har  6 rader med bättre än 4+0 rätt!"
PROMPT = "Nu ska du ange första tilläggs siffran utav 4 st"
CHART = {
    "Label4": "4+1 rätt  2 st",
    "Label6": "5 rätt  1 st",
    "Label8": "6 rätt  1 st",
    "Label10": "6+1 rätt  1 st",
    "Label12": "7 rätt !!!!",
}
BARS = ["Label3", "Label5", "Label7", "Label9", "Label11"]

activated = []
notified = []  # what each notification said as it appeared


def on_window_activate(event):
    activated.append(event.source)


def on_showing(event):
    if event.detail1 and event.source.getRole() == pyatspi.ROLE_NOTIFICATION:
        notified.append(event.source.name)


def pump():
    context = GLib.MainContext.default()
    while context.iteration(False):
        pass


def wait_for(what, probe):
    """Returns the first true result of probe(), or fails after a while."""
    deadline = time.monotonic() + WAIT_SECONDS
    while time.monotonic() < deadline:
        pump()
        result = probe()
        if result:
            return result
        time.sleep(0.05)
    raise AssertionError(f"timed out waiting for {what}")


def expect(what, actual, wanted):
    if actual != wanted:
        raise AssertionError(f"{what}: got {actual!r}, wanted {wanted!r}")


def fresh(accessible):
    accessible.clear_cache()
    return accessible


def showing(accessible):
    return fresh(accessible).getState().contains(pyatspi.STATE_SHOWING)


def press(accessible):
    action = accessible.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    if "Press" not in names:
        raise AssertionError(f"{accessible.name!r} offers no Press action: {names}")
    action.doAction(names.index("Press"))


class Program:
    """One run of kolmira in a folder, found on the accessibility bus."""

    def __init__(self, binary, folder, quiet=False):
        self.process = subprocess.Popen([os.path.abspath(binary)], cwd=folder,
                                        stderr=subprocess.DEVNULL if quiet else None)
        try:
            self.app = wait_for("the program on the accessibility bus", self._find_app)
        except AssertionError:
            self.kill()
            raise

    def _find_app(self):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.get_process_id() == self.process.pid:
                return app
        return None

    def top_level(self, roles):
        return [w for w in fresh(self.app) if w.getRole() in roles and showing(w)]

    def dialogs(self):
        return self.top_level((pyatspi.ROLE_ALERT, pyatspi.ROLE_DIALOG))

    def dialog(self):
        """The one alert or dialog box open now, announced by activation."""
        boxes = wait_for("a dialog box", self.dialogs)
        expect("open dialog boxes", len(boxes), 1)
        box = boxes[0]
        wait_for("the dialog box to be announced", lambda: box in activated)
        return box

    def window(self):
        windows = wait_for("the window", lambda: self.top_level((pyatspi.ROLE_FRAME,)))
        expect("window name", windows[0].name, TITLE)
        return windows[0]

    def wait_exit(self, code):
        try:
            expect("exit code", self.process.wait(WAIT_SECONDS), code)
        except subprocess.TimeoutExpired:
            raise AssertionError("the program did not end") from None

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


def descendants(accessible):
    for child in accessible:
        yield child
        yield from descendants(child)


def close_box(box, text):
    labels = [d.name for d in descendants(box) if d.getRole() == pyatspi.ROLE_LABEL]
    if not any(text in label for label in labels):
        raise AssertionError(f"dialog text {text!r} not among {labels}")
    buttons = [d for d in descendants(box) if d.getRole() == pyatspi.ROLE_PUSH_BUTTON]
    expect("dialog buttons", [b.name for b in buttons], ["OK"])
    press(buttons[0])


class Form:
    """The window's controls by name, read through the accessibility tree."""

    def __init__(self, window, screenshots):
        children = list(window)
        expect("number of children", len(children), len(CONTROLS) + 1)
        expect("role of the last child", children[-1].getRole(), pyatspi.ROLE_NOTIFICATION)
        self.controls = dict(zip(CONTROLS, children))
        self.window = window
        self.screenshots = screenshots
        for name, control in self.controls.items():
            role = (pyatspi.ROLE_PUSH_BUTTON if name in CAPTIONS else
                    pyatspi.ROLE_SCROLL_BAR if name == "HScroll1" else pyatspi.ROLE_LABEL)
            expect(f"role of {name}", control.getRole(), role)
        for name, caption in CAPTIONS.items():
            expect(f"name of {name}", self.controls[name].name, caption)
        expect("name of HScroll1", self.controls["HScroll1"].name, "Siffra att välja")

    def text(self, name):
        return fresh(self.controls[name]).name

    def shown(self, name):
        return showing(self.controls[name])

    def wait_text(self, name, wanted):
        try:
            wait_for(f"{name} to read {wanted!r}", lambda: self.text(name) == wanted)
        except AssertionError:
            expect(name, self.text(name), wanted)

    def visible_set(self):
        return {name for name in CONTROLS if self.shown(name)}

    def choose(self, number):
        value = self.controls["HScroll1"].queryValue()
        value.currentValue = number
        self.wait_text("in_ratt_sif", str(number))
        expect("scroll bar value", int(value.currentValue), number)

    def accept(self, number):
        before = self.text("ratt_rad_inmatning_text")
        self.choose(number)
        press(self.controls["Command1"])
        wait_for(f"{number} to be listed",
                 lambda: self.text("ratt_rad_inmatning_text") != before)

    def snapshot(self, stage):
        """Saves the screen where the window stands, message boxes included."""
        if not self.screenshots:
            return
        time.sleep(0.4)  # let the window repaint what the tree already shows
        box = self.window.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        subprocess.run(["import", "-silent", "-window", "root", "-crop",
                        f"{box.width}x{box.height}+{box.x}+{box.y}", "+repage", "-strip",
                        os.path.join(self.screenshots, f"{stage}.png")], check=True)


def error_box_run(binary):
    with tempfile.TemporaryDirectory() as folder:
        program = Program(binary, folder, quiet=True)
        try:
            close_box(program.dialog(), "kolmira_fam.txt")
            program.wait_exit(1)
        finally:
            program.kill()


def full_run(binary, screenshots):
    with tempfile.TemporaryDirectory() as folder:
        with open(os.path.join(folder, "kolmira_fam.txt"), "w", encoding="ascii") as rows:
            rows.write(f"{len(ROWS)}\n" + "\n".join(ROWS) + "\n")
        program = Program(binary, folder)
        try:
            form = Form(program.window(), screenshots)
            value = form.controls["HScroll1"].queryValue()
            expect("scroll bar range", (value.minimumValue, value.maximumValue), (1, 35))
            form.wait_text("in_ratt_sif", "1")
            expect("controls shown at start", form.visible_set(),
                   {"Command4", "Command3", "Command1", "HScroll1", "Label2",
                    "ratt_rad_inmatning_text", "in_ratt_sif"})
            form.snapshot("start")

            for number in MAIN[:3]:
                form.accept(number)
            form.choose(MAIN[1])
            press(form.controls["Command1"])
            form.wait_text("Label1", "Du har redan den siffran!")
            wait_for("the refusal to show", lambda: form.shown("Label1"))
            form.snapshot("refusal")

            for number in MAIN[3:6]:
                form.accept(number)
            form.choose(MAIN[6])
            press(form.controls["Command1"])
            prompt = program.dialog()
            form.snapshot("prompt")
            close_box(prompt, PROMPT)
            wait_for("the prompt to close", lambda: not program.dialogs())
            form.wait_text("in_ratt_sif", "1")
            form.wait_text("ratt_rad_inmatning_text", "  5 12 17 23 28 31 35")
            for number in ADDITIONAL:
                form.accept(number)
            form.wait_text("ratt_rad_inmatning_text", FULL_LIST)
            wait_for("Rätta to show", lambda: form.shown("Command2"))
            expect("Välj siffran shown", form.shown("Command1"), False)
            form.snapshot("full-draw")

            # Pressed through its action, "Rätta" does not take the keyboard
            # focus, so the result must reach the screen reader as a notice.
            press(form.controls["Command2"])
            form.wait_text("visa_antalet_ratt", RESULT_LIST)
            form.wait_text("Label2", SUMMARY)
            try:
                wait_for("the result to be notified",
                         lambda: f"{SUMMARY} {RESULT_LIST}" in notified)
            except AssertionError:
                expect("notifications", notified[-1:], [f"{SUMMARY} {RESULT_LIST}"])
            wait_for("the chart button to show", lambda: form.shown("Command5"))
            form.snapshot("result")

            press(form.controls["Command5"])
            for name, text in CHART.items():
                form.wait_text(name, text)
            wait_for("the chart to show",
                     lambda: all(form.shown(name) for name in [*CHART, *BARS]))
            form.snapshot("chart")

            press(form.controls["Command4"])
            program.wait_exit(0)
        finally:
            program.kill()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("binary")
    parser.add_argument("--screenshots", metavar="DIR")
    args = parser.parse_args()
    pyatspi.Registry.registerEventListener(on_window_activate, "window:activate")
    pyatspi.Registry.registerEventListener(on_showing, "object:state-changed:showing")
    try:
        error_box_run(args.binary)
        full_run(args.binary, args.screenshots)
    except AssertionError as failure:
        print(f"FAIL: {failure}", file=sys.stderr)
        return 1
    print("PASS: error box, draw, prompt, check and chart all read back over AT-SPI")
    return 0


if __name__ == "__main__":
    sys.exit(main())
