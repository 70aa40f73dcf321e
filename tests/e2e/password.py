"""A password set in the Options window of the real program: after a restart the sitter list
asks for it, a wrong one is refused with the message, the right one opens the list. The options
window, the word dialog, the new-password window and the prompt are photographed."""
import os
import stat
import subprocess
import sys
import tempfile
import time

from e2e_support import click, fail, find, log, program_app, screenshot, showing, type_text, wait_for

program, shots = sys.argv[1], sys.argv[2]
home = tempfile.mkdtemp(prefix="hushby-e2e-password-")
config, dd = home + "/config", home + "/dd"
for d in (config + "/The Hushby", dd):
    os.makedirs(d)
ini = config + "/The Hushby/The Hushby.ini"
with open(ini, "w") as f:
    f.write("[Settings]\nName=Smith\nHomePhone=555-0100\nUsePassword=False\n")
env = dict(os.environ, XDG_CONFIG_HOME=config, XDG_DATA_HOME=home + "/data",
           QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
folder = home + "/data/the-hushby"
password_file = folder + "/lghfil.brw"
PASSWORD = "Bedtime7"


def window(name):
    """A shown top-level window of the program; looking only at the top level keeps this quick."""
    app = program_app()
    for i in range(app.childCount if app else 0):
        try:
            w = app.getChildAtIndex(i)
            if w is not None and w.name == name and showing(w):
                return w
        except Exception:
            continue
    return None


def key(*names):
    subprocess.run(["xdotool", "key"] + list(names), check=True)


def gone(acc):
    return lambda: not showing(acc)


def control(role, name, within):
    return wait_for(name, lambda: find(role, name, within))


def start():
    proc = subprocess.Popen([program, "--data-dir", dd], env=env)
    main = wait_for("the main window", lambda: find("frame", "The Hushby v2.0"))
    splash = find("frame", "The Hushby")
    if splash is not None:
        wait_for("the splash to close", lambda: not showing(splash), timeout=8)
    return proc, main


def answer_prompt(typed, shot=None):
    prompt = wait_for("the password prompt", lambda: window("Password"))
    box = control("password text", "Password:", prompt)
    click(box)
    key("ctrl+a", "BackSpace")
    type_text(typed)
    if shot:
        time.sleep(0.3)
        screenshot(shot, prompt)
    key("Return")
    return prompt


def stop(proc, main):
    click(find(None, "Close Hushby", main))
    answer_prompt(PASSWORD)
    code = proc.wait(timeout=10)
    if code != 0:
        fail("the program ended with %d" % code)


proc, main = start()
try:
    click(find(None, "Help & Options", main))
    menu = wait_for("the topic menu", lambda: window("Select Topic"))
    time.sleep(0.3)
    click(control("push button", "Options", menu))
    options = wait_for("the options", lambda: window("Options"))
    time.sleep(0.3)
    screenshot(shots + "/options.png", options)

    # The word dialog, reached by ticking voice commands; closed without saving.
    voice = control("check box", "Use Voice Commands?", options)
    click(voice)
    click(control("push button", "Modify Words", options))
    words = wait_for("the word dialog", lambda: window("Modify words for Hushby."))
    time.sleep(0.3)
    screenshot(shots + "/word-dialog.png", words)
    click(control("push button", "Cancel", words))
    wait_for("the word dialog to close", gone(words), timeout=5)
    click(voice)

    click(control("check box", "Use Password?", options))
    click(control("push button", "Set Password", options))
    enter = wait_for("the new-password window", lambda: window("Enter Password"))
    click(control("password text", "Enter New Password:", enter))
    type_text("  " + PASSWORD + " ")
    time.sleep(0.3)
    screenshot(shots + "/new-password.png", enter)
    click(control("push button", "Save", enter))
    wait_for("the new-password window to close", gone(enter), timeout=5)
    click(control("push button", "Save", options))
    wait_for("the options to close", gone(options), timeout=5)

    with open(password_file, "rb") as f:
        stored = f.read()
    if stored != PASSWORD.encode("cp1252").ljust(14, b" "):
        fail("the password file holds %r" % stored)
    if stat.S_IMODE(os.stat(folder).st_mode) != 0o700 or stat.S_IMODE(os.stat(password_file).st_mode) != 0o600:
        fail("the password folder or file is not private")
    if "UsePassword=True" not in open(ini).read():
        fail("the option was not stored")
    stop(proc, main)

    proc, main = start()
    click(find(None, "Sitter List", main) or find(None, " Sitter List", main))
    prompt = answer_prompt("bedtime7", shots + "/password-prompt.png")
    wrong = wait_for("the wrong-password message",
                     lambda: find("dialog", "Wrong Password!") or find("alert", "Wrong Password!"))
    time.sleep(0.3)
    screenshot(shots + "/password-wrong.png")
    if find("dialog", "Sitter List"):
        fail("the sitter list opened with a wrong password")
    click(control("push button", "OK", wrong))
    wait_for("the message to close", gone(wrong), timeout=5)
    if not showing(prompt):
        fail("the prompt closed after the first wrong entry")
    answer_prompt(PASSWORD)
    sitters = wait_for("the sitter list", lambda: find("dialog", "Sitter List"))
    click(control("push button", "Close", sitters))
    wait_for("the list to close", gone(sitters), timeout=5)
    stop(proc, main)
    log("PASS: password")
finally:
    if proc.poll() is None:
        proc.kill()
