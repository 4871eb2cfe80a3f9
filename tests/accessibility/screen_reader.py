#!/usr/bin/python3
"""A whole check by keyboard alone, with the Orca screen reader listening.

Runs inside tests/accessibility/desktop_session.sh. Starts the accessibility
bus and Orca, then Kolmira in a temporary folder with rows that fall into
every prize class, and types, a third of a second between keys, what a
blind user would: a refusal, the seven main numbers, the prompt, the four
additional numbers, "Rätta" and the chart button. After each step it waits
for what Orca speaks and checks it against the texts the window shows.
"""

import builtins
import os
import re
import runpy
import shutil
import subprocess
import sys
import tempfile
import time

WAIT_SECONDS = 20
STOP_SECONDS = 15  # Orca takes about 5 seconds to end
KEY_GAP = 1 / 3
TITLE = "Kolmira version 1.3 made by Tumbrek"

# Main numbers 1 to 7, additional numbers 35, 34, 33 and 32: two rows of
# 4+1, one each of 5, 6, 6+1 and 7, and two without a prize.
ROWS = ["01020304353031", "01020305343029", "01020304052930", "01020304050629",
        "01020304050633", "01020304050607", "01020304282930", "20212223242526"]
MAIN_LIST = "  1  2  3  4  5  6  7"
RESULT_LIST = " ?? ?? ?? ?? ?? ??  4  0"
SUMMARY = "Du har  6 rader med bättre än 4+0 rätt!"
CHART = ["4+1 rätt  2 st", "5 rätt  1 st", "6 rätt  1 st", "6+1 rätt  1 st", "7 rätt !!!!"]
# The words each supported Orca speaks for a role: Orca 43 says "push
# button", Orca 48 "button". The user must hear the name; any of these may
# follow it.
ROLE_WORDS = {"button": ["push button", "button"], "frame": ["frame"],
              "scroll bar": ["scroll bar"]}
# "12:34:56.789 - SPEECH OUTPUT: 'Rätta push button.'{'established': False}"
SPOKEN = re.compile(r" - SPEECH OUTPUT: '(.*?)' ?(\{.*\})?$")


class Named:
    """What Orca says for a control: its name, a word for its role and, if
    given, what follows the role (a scroll bar's value)."""

    def __init__(self, name, role, then=""):
        words = "|".join(map(re.escape, ROLE_WORDS[role]))
        after = rf" {re.escape(then)}\b" if then else ""
        self.pattern = re.compile(rf"{re.escape(name)},? (?:{words})\b,?{after}")
        self.text = f"{name} <{role}>" + (f" {then}" if then else "")

    def __repr__(self):
        return repr(self.text)

    def search(self, said):
        return self.pattern.search(said)


def heard_in(text, said):
    """A number must be a whole utterance (the scroll bar's value); other
    texts may be part of one."""
    if isinstance(text, Named):
        return text.search(said) is not None
    return said == text if text.isdigit() else text in said


def run_orca(log):
    """Runs Orca itself, its debug file written a line at a time.

    Orca buffers its debug file until it exits; line by line, the test can
    follow what it speaks as it speaks it.
    """
    plain_open = builtins.open

    def line_buffered(file, mode="r", *args, **kwargs):
        if file == log and "w" in mode:
            return plain_open(file, mode, buffering=1)
        return plain_open(file, mode, *args, **kwargs)

    builtins.open = line_buffered
    sys.argv = ["orca", f"--debug-file={log}"]
    runpy.run_path(shutil.which("orca"), run_name="__main__")


class Orca:
    """What Orca has spoken so far, read from its debug file."""

    def __init__(self, log):
        self.log = log
        self.heard = 0  # utterances already checked
        self.steps = []  # (step, what was spoken), for the report

    def spoken(self):
        try:
            with open(self.log, encoding="utf-8", errors="replace") as lines:
                return [m.group(1) for m in map(SPOKEN.search, lines) if m]
        except FileNotFoundError:
            return []

    def wait(self, step, wanted):
        """Waits until every text of `wanted` is spoken, and returns what
        was spoken since the previous step."""
        deadline = time.monotonic() + WAIT_SECONDS
        while True:
            new = self.spoken()[self.heard:]
            missing = [text for text in wanted
                       if not any(heard_in(text, said) for said in new)]
            if not missing:
                self.heard += len(new)
                self.steps.append((step, new))
                return new
            if time.monotonic() > deadline:
                raise AssertionError(f"{step}: Orca did not say {missing}; it said {new}")
            time.sleep(0.1)


def xdotool(*args):
    return subprocess.run(["xdotool", *args], check=True, capture_output=True,
                          text=True).stdout.strip()


def keys(*names):
    for name in names:
        xdotool("key", name)
        time.sleep(KEY_GAP)


def lists_in(utterances):
    """The lists of numbers among the utterances, without Orca's role word
    and final full stop: what to compare with the list the window shows."""
    texts = [re.sub(r"^notification ", "", said) for said in utterances]
    return {re.sub(r"\.$", "", text) for text in texts if text.startswith("  ")}


def expect_list(step, utterances, wanted):
    """The list spoken is the one the window shows now, never an earlier one."""
    if lists_in(utterances) != {wanted}:
        raise AssertionError(f"{step}: wanted the list {wanted!r}, Orca said {utterances}")


def expect_no_stop(step, utterances, buttons=("Ny rad", "Avsluta")):
    """The focus never passes these buttons on its way, for Orca to announce."""
    passed = [name for name in buttons
              if any(Named(name, "button").search(said) for said in utterances)]
    if passed:
        raise AssertionError(f"{step}: the focus passed {passed}; Orca said {utterances}")


def check(binary, folder, orca):
    with open(os.path.join(folder, "kolmira_fam.txt"), "w", encoding="ascii") as rows:
        rows.write(f"{len(ROWS)}\n" + "\n".join(ROWS) + "\n")
    program = subprocess.Popen([binary], cwd=folder)
    try:
        window = xdotool("search", "--sync", "--onlyvisible", "--name", f"^{TITLE}$")
        window = window.splitlines()[0]
        xdotool("windowfocus", "--sync", window)
        caption, scroll_bar = Named(TITLE, "frame"), Named("Siffra att välja", "scroll bar", "1")
        said = orca.wait("start", [caption, scroll_bar])
        first = [next(i for i, s in enumerate(said) if heard_in(text, s))
                 for text in (caption, scroll_bar)]
        if first != sorted(first):
            raise AssertionError(f"start: wanted the caption, then the scroll bar: {said}")

        keys("Tab")
        orca.wait("Tab to Välj siffran", [Named("Välj siffran", "button")])
        keys("space")
        expect_list("1 accepted", orca.wait("1 accepted", ["  1"]), "  1")
        keys("space")
        orca.wait("1 refused", ["Du har redan den siffran!"])

        for number in range(2, 8):
            keys("shift+Tab", "Right")
            orca.wait(f"scroll bar to {number}", [str(number)])
            keys("Tab", "space")
            listed = MAIN_LIST[:3 * number]
            wanted = [listed] + (["Nu ska du ange första tilläggs siffran utav 4 st"]
                                 if number == 7 else [])
            expect_list(f"{number} accepted", orca.wait(f"{number} accepted", wanted), listed)

        keys("Return")
        # No window manager gives the focus back once the box has closed.
        xdotool("windowfocus", "--sync", window)
        orca.wait("prompt closed", [caption, Named("Välj siffran", "button")])

        listed = MAIN_LIST
        for number, key in zip((35, 34, 33, 32), ("End", "Left", "Left", "Left")):
            keys("shift+Tab", key)
            orca.wait(f"scroll bar to {number}", [str(number)])
            keys("Tab", "space")
            listed += ("   Tillägg: " if number == 35 else " ") + f" {number}"
            wanted = [listed] + ([Named("Rätta", "button")] if number == 32 else [])
            said = orca.wait(f"{number} accepted", wanted)
            expect_list(f"{number} accepted", said, listed)
        expect_no_stop("32 accepted", said)

        keys("space")
        said = orca.wait("Rätta", [SUMMARY, RESULT_LIST,
                                   Named("Klicka här för att fortsätta rätta", "button")])
        expect_no_stop("Rätta", said)
        keys("space")
        orca.wait("the chart", CHART)
    finally:
        program.kill()
        program.wait()


def main():
    if len(sys.argv) == 3 and sys.argv[1] == "--run-orca":
        run_orca(sys.argv[2])
        return 0
    missing = [tool for tool in ("orca", "xdotool") if not shutil.which(tool)]
    if missing:
        print(f"SKIPPED: no screen reader run; missing packages: {' '.join(missing)} "
              "(make test installs them: tools/setup.sh test)", file=sys.stderr)
        return 77
    # Orca allows one instance a user, across sessions; the user's own screen
    # reader is never replaced.
    if subprocess.run(["pgrep", "-u", str(os.getuid()), "-x", "orca"],
                      stdout=subprocess.DEVNULL).returncode == 0:
        print("SKIPPED: no screen reader run; Orca is already running for this user",
              file=sys.stderr)
        return 77
    binary = os.path.abspath(sys.argv[1])

    with tempfile.TemporaryDirectory() as home:
        env = dict(os.environ, HOME=home)  # Orca's settings start from its defaults
        # Orca speaks its own words (its greeting, the role words) in the
        # user's language, and the test holds the English ones; Kolmira runs
        # in the user's locale. LANGUAGE would win over LC_ALL.
        orca_env = {name: value for name, value in env.items() if name != "LANGUAGE"}
        orca_env["LC_ALL"] = "C.UTF-8"
        log = os.path.join(home, "orca.log")
        helpers = [subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                                    env=env)]
        try:
            helpers.append(subprocess.Popen([sys.executable, __file__, "--run-orca", log],
                                            env=orca_env, stdout=subprocess.DEVNULL,
                                            stderr=subprocess.DEVNULL))
            orca = Orca(log)
            orca.wait("Orca starting", ["Screen reader on."])
            folder = os.path.join(home, "rows")
            os.mkdir(folder)
            check(binary, folder, orca)
        except AssertionError as failure:
            print(f"FAIL: {failure}", file=sys.stderr)
            return 1
        finally:
            for helper in reversed(helpers):
                helper.terminate()  # the bus launcher then ends its bus too
                try:
                    helper.wait(timeout=STOP_SECONDS)
                except subprocess.TimeoutExpired:
                    # Orca, stopped while it starts, may never end; a failure
                    # should not wait out the whole session.
                    helper.kill()
                    helper.wait()
    print("PASS: Orca spoke the draw, the refusal, the prompt, the result and the chart:")
    for step, said in orca.steps:
        print(f"  {step}: " + " | ".join(said))
    return 0


if __name__ == "__main__":
    sys.exit(main())
