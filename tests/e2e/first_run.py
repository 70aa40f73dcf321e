"""First run of the real program: Personal Information comes first, the name typed there heads
the main window, and the close box ends the program."""
import configparser
import os
import subprocess
import sys
import tempfile
import time

from e2e_support import click, fail, find, log, screenshot, showing, type_text, wait_for

program, shots = sys.argv[1], sys.argv[2]
home = tempfile.mkdtemp(prefix="hushby-e2e-")
env = dict(os.environ, XDG_CONFIG_HOME=home + "/config", XDG_DATA_HOME=home + "/data",
           QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
data_dir = home + "/dd"
proc = subprocess.Popen([program, "--data-dir", data_dir], env=env)
try:
    dialog = wait_for("Personal Information", lambda: find("dialog", "Personal Information"))
    if not find("label", "Can be changed under options.", dialog):
        fail("the first-run hint is missing")
    time.sleep(0.3)
    screenshot(shots + "/personal-information.png", dialog)
    click(find("text", "Family Name", dialog))
    type_text("  Smith ")
    click(find("text", "Home Phone Number", dialog))
    type_text("555-0100")
    click(find("push button", "Save", dialog))

    main = wait_for("the main window", lambda: find("frame", "The Hushby v2.0"))
    splash = wait_for("the splash", lambda: find("frame", "The Hushby"))
    if not showing(find(None, "For parents peace of mind!", splash)):
        fail("the splash does not show its slogan")
    screenshot(shots + "/splash.png")
    if not find("label", "Smith Family", main):
        fail("the main window does not show 'Smith Family'")
    # The splash goes about three seconds after the main window is shown.
    wait_for("the splash to close", lambda: not showing(splash), timeout=8)
    # A first run shows Getting Started over the main window; it goes with Escape.
    started = wait_for("Getting Started", lambda: showing(find("dialog", "Getting Started"))
                       and find("dialog", "Getting Started"), timeout=5)
    click(find("label", "Start by entering all the information you think the sitter will need to know.", started))
    subprocess.run(["xdotool", "key", "Escape"], check=True)
    wait_for("Getting Started to close", lambda: not showing(started), timeout=5)
    time.sleep(0.3)
    screenshot(shots + "/main-window.png", main)
    for title in ("Emergency", "Medical", "My Kids"):
        click(find("page tab", title, main))
        time.sleep(0.2)
        screenshot(shots + "/main-window-%s.png" % title.lower().replace(" ", "-"), main)

    ini = configparser.ConfigParser()
    ini.read(env["XDG_CONFIG_HOME"] + "/The Hushby/The Hushby.ini")
    if ini.get("Settings", "Name", fallback=None) != "Smith":
        fail("the family name was not stored trimmed")
    if os.path.getsize(data_dir + "/Hushby.dta") != 0:
        fail("a new data file should be created empty")

    click(find(None, "Close Hushby", main))
    code = proc.wait(timeout=10)
    if code != 0:
        fail("the program ended with %d" % code)
    log("PASS: first run")
finally:
    if proc.poll() is None:
        proc.kill()
