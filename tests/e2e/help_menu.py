"""First run of the real program up to Getting Started, then every entry of the topic menu:
each opens its window, and the menu, the dedication, the About window and the help pages are
photographed."""
import os
import subprocess
import sys
import tempfile
import time

from e2e_support import click, fail, find, log, program_app, screenshot, showing, type_text, wait_for

program, shots = sys.argv[1], sys.argv[2]
home = tempfile.mkdtemp(prefix="hushby-e2e-")
env = dict(os.environ, XDG_CONFIG_HOME=home + "/config", XDG_DATA_HOME=home + "/data",
           QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
proc = subprocess.Popen([program, "--data-dir", home + "/dd"], env=env)


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


def key(name):
    subprocess.run(["xdotool", "key", name], check=True)


def gone(acc):
    return lambda: not showing(acc)


panel_button = None


def open_menu(main):
    global panel_button
    panel_button = panel_button or find(None, "Help & Options", main)
    click(panel_button)
    menu = wait_for("the topic menu", lambda: window("Select Topic"))
    time.sleep(0.3)
    return menu


def choose(menu, name):
    entry = find("push button", name, menu)
    if entry is None:
        fail("the topic menu has no '%s'" % name)
    click(entry)
    wait_for("the topic menu to close after '%s'" % name, gone(menu), timeout=5)


def find_in_help(text):
    # The find box keeps the keyboard focus from one search to the next.
    key("ctrl+a")
    type_text(text)
    key("Return")
    time.sleep(0.4)


try:
    dialog = wait_for("Personal Information", lambda: window("Personal Information"))
    click(find("text", "Family Name", dialog))
    type_text("Rivera")
    click(find("push button", "Save", dialog))
    main = wait_for("the main window", lambda: window("The Hushby v2.0"))

    # A first run: Getting Started follows the splash.
    started = wait_for("Getting Started", lambda: window("Getting Started"), timeout=10)
    for hint in ("Start by entering all the information you think the sitter will need to know.",
                 "These are your options. Like voice commands, speech, auto dialing, and passwords."):
        if not find("label", hint, started):
            fail("Getting Started lacks the hint: " + hint)
    time.sleep(0.3)
    screenshot(shots + "/getting-started.png", started)
    click(find("label", "Start by entering all the information you think the sitter will need to know.", started))
    key("Escape")
    wait_for("Getting Started to close", gone(started), timeout=5)

    menu = open_menu(main)
    screenshot(shots + "/topic-menu.png", menu)
    x, y, w, h = menu.queryComponent().getExtents(0)
    mx, my, mw, mh = main.queryComponent().getExtents(0)
    if (x, y + h) != (mx + 129, my + mh - 30):
        fail("the topic menu is not docked in the corner: %s against %s" % ((x, y, w, h), (mx, my, mw, mh)))
    for name in ("About", "Your Name & Phone", "Dedicated To ...", "Help", "Options", "Close"):
        if not find("push button", name, menu):
            fail("the topic menu lacks " + name)

    # Moving the pointer over the "Where?" page closes the menu, over an answer as anywhere.
    subprocess.run(["xdotool", "mousemove", "--sync", str(mx + 400), str(my + 300)], check=True)
    subprocess.run(["xdotool", "mousemove", "--sync", str(mx + 410), str(my + 310)], check=True)
    wait_for("the menu to close under the pointer", gone(menu), timeout=5)

    menu = open_menu(main)
    choose(menu, "Dedicated To ...")
    dedication = wait_for("the dedication", lambda: window("Dedicated To ..."))
    time.sleep(0.3)
    screenshot(shots + "/dedication.png", dedication)
    click(find("push button", "Close", dedication))
    wait_for("the dedication to close", gone(dedication), timeout=5)

    menu = open_menu(main)
    choose(menu, "Help")
    viewer = wait_for("the help viewer", lambda: window("The Hushby Help"))
    time.sleep(0.4)
    screenshot(shots + "/help-9999-contents.png", viewer)
    # Topics 1-3 belong to windows still to come; the search reaches their pages meanwhile.
    click(find("text", "Find text", viewer))
    for shot, text in (("help-1-setup-wizard", "one page at a time"), ("help-2-sitter-list", "Totals adds up"),
                       ("help-3-options", "Tick the options you want"), ("help-voice-commands", "exactly these phrases"),
                       ("help-dialing", "x-scheme-handler")):
        find_in_help(text)
        screenshot(shots + "/%s.png" % shot, viewer)
    click(find("push button", "Close", viewer))
    wait_for("the help viewer to close", gone(viewer), timeout=5)

    menu = open_menu(main)
    choose(menu, "About")
    splash = wait_for("the About window", lambda: window("The Hushby"))
    time.sleep(0.3)
    screenshot(shots + "/about.png", splash)
    click(find("push button", "Continue", splash))
    wait_for("the About window to close", gone(splash), timeout=5)

    menu = open_menu(main)
    choose(menu, "Your Name & Phone")
    info = wait_for("Personal Information", lambda: window("Personal Information"))
    if find("label", "Can be changed under options.", info) and showing(find("label", "Can be changed under options.", info)):
        fail("the first-run hint shows when opened from the menu")
    click(find("push button", "Save", info))
    wait_for("Personal Information to close", gone(info), timeout=5)

    menu = open_menu(main)
    choose(menu, "Options")
    options = wait_for("the options", lambda: window("Options"))
    click(find("label", None, options) or options)
    key("Escape")
    wait_for("the options to close", gone(options), timeout=5)

    # The menu's own close box.
    menu = open_menu(main)
    click(find("push button", "Close", menu))
    wait_for("the menu to close by its close box", gone(menu), timeout=5)

    click(find(None, "Close Hushby", main))
    code = proc.wait(timeout=10)
    if code != 0:
        fail("the program ended with %d" % code)
    log("PASS: help menu")
finally:
    if proc.poll() is None:
        proc.kill()
