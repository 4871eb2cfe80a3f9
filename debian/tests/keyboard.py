#!/usr/bin/python3
"""The installed Kolmira, used by keyboard alone on the example rows.

Runs inside tests/accessibility/desktop_session.sh (Xvfb and a D-Bus
session). First a folder without the row file: the error box, closed with
Return, and the program's end with status 1. Then examples/kolmira_fam.txt:
the first row's numbers as the draw, 2, 3, 4 and 6 as the additional ones,
"Rätta" and the chart, all typed with xdotool; what the window shows is read
back over the accessibility bus.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.getcwd(), "tests", "accessibility"))
import pyatspi  # noqa: E402
import walk_through  # noqa: E402
from walk_through import TITLE, Form, Program, expect, wait_for  # noqa: E402

# A ceiling, not a measure: a testbed may be slow.
walk_through.WAIT_SECONDS = 60

KEY_GAP = "150"  # milliseconds between keys
MAIN = [1, 5, 12, 17, 24, 30, 35]  # the example file's first row
ADDITIONAL = [2, 3, 4, 6]
FULL_LIST = "  1  5 12 17 24 30 35   Tillägg:  2  3  4  6"
# The first row has all seven; no other row more than three.
RESULT_LIST = " ??  0  0  0  0  2  3  2  0  1  1  3"
SUMMARY = "Du har  1 rader med bättre än 4+0 rätt!"


def xdotool(*args):
    return subprocess.run(["xdotool", *args], check=True, capture_output=True,
                          text=True).stdout.strip()


def keys(*names):
    xdotool("key", "--delay", KEY_GAP, *names)
    time.sleep(0.3)


def window_named(title):
    found = subprocess.run(["timeout", "20", "xdotool", "search", "--sync", "--onlyvisible",
                            "--name", f"^{title}$"], capture_output=True, text=True)
    if found.returncode != 0:
        raise AssertionError(f"no window named {title!r} came up")
    window = found.stdout.split()[0]
    xdotool("windowfocus", "--sync", window)  # no window manager gives it
    return window


def refusal(binary):
    with tempfile.TemporaryDirectory() as folder:
        program = subprocess.Popen([binary], cwd=folder, stderr=subprocess.PIPE, text=True)
        try:
            window_named("Kolmira")
            keys("Return")
            _, said = program.communicate(timeout=20)
        finally:
            program.kill()
        expect("exit status without a row file", program.returncode, 1)
        wanted = f"kolmira: Radfilen kolmira_fam.txt finns inte i mappen {folder}. "
        if wanted not in said:
            raise AssertionError(f"wanted {wanted!r} on stderr, got {said!r}")


def enter(form, numbers, start):
    """Each number by moving the scroll bar from where it stands and pressing
    "Välj siffran" with the space bar; the focus starts on the scroll bar."""
    at = start
    for number in numbers:
        before = form.text("ratt_rad_inmatning_text")
        keys(*["Right"] * (number - at), "Tab", "space")
        wait_for(f"{number} to be listed",
                 lambda: form.text("ratt_rad_inmatning_text") != before)
        at = number
        if number != numbers[-1]:
            keys("shift+Tab")


def check(binary):
    with tempfile.TemporaryDirectory() as folder:
        shutil.copy("examples/kolmira_fam.txt", folder)
        program = Program(binary, folder)
        try:
            form = Form(program.window(), None)
            window = window_named(TITLE)
            form.wait_text("in_ratt_sif", "1")
            enter(form, MAIN, 1)
            # The prompt for the additional numbers: Return once it has the keyboard.
            window_named("Kolmira")
            keys("Return")
            wait_for("the prompt to close", lambda: not program.dialogs())
            xdotool("windowfocus", "--sync", window)
            form.wait_text("in_ratt_sif", "1")
            keys("shift+Tab")
            enter(form, ADDITIONAL, 1)
            form.wait_text("ratt_rad_inmatning_text", FULL_LIST)
            keys("space")  # "Rätta", which has the focus now
            form.wait_text("visa_antalet_ratt", RESULT_LIST)
            form.wait_text("Label2", SUMMARY)
            keys("space")  # the chart button, which has the focus now
            form.wait_text("Label12", "7 rätt !!!!")
            wait_for("the chart to show", lambda: form.shown("Label12"))
            expect("the other classes shown", [form.shown(name) for name in
                                               ("Label4", "Label6", "Label8", "Label10")],
                   [False] * 4)
        finally:
            program.kill()


def main():
    binary = sys.argv[1]
    # Joins the accessibility bus, starting it, before any program starts.
    pyatspi.Registry.registerEventListener(walk_through.on_window_activate, "window:activate")
    try:
        refusal(binary)
        print("PASS: without a row file: the error box, the message on stderr, status 1")
        check(binary)
        print("PASS: a whole check by keyboard on the example rows:")
        print(f"  draw {FULL_LIST.strip()}\n  rows {RESULT_LIST.strip()}\n  {SUMMARY}, 7 rätt")
    except AssertionError as failure:
        # On stdout: the session's filter of stderr may be ended before it passes it on.
        print(f"FAIL: {failure}")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
