"""The setup wizard in the real program: opened from the main window, typed into on several
pages, finished; the main window shows what was typed, and so does the next run."""
import os
import subprocess
import sys
import tempfile
import time

from e2e_support import click, fail, find, log, screenshot, set_text, showing, type_text, wait_for

program, shots = sys.argv[1], sys.argv[2]
home = tempfile.mkdtemp(prefix="hushby-e2e-")
env = dict(os.environ, XDG_CONFIG_HOME=home + "/config", XDG_DATA_HOME=home + "/data",
           QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
os.makedirs(home + "/config/The Hushby")
with open(home + "/config/The Hushby/The Hushby.ini", "w") as ini:
    ini.write("[Settings]\nName=Lee\nHomePhone=555-0100\n")
data_dir = home + "/dd"
PAGES = ["Where", "Police", "Medical", "Today", "Kids", "Meals", "Allowed"]


def start():
    proc = subprocess.Popen([program, "--data-dir", data_dir], env=env)
    main = wait_for("the main window", lambda: find("frame", "The Hushby v2.0"))
    splash = find("frame", "The Hushby")
    if splash is not None:
        wait_for("the splash to close", lambda: not showing(splash), timeout=8)
    return proc, main


def stop(proc, main):
    click(find(None, "Close Hushby", main))
    if proc.wait(timeout=10) != 0:
        fail("the program did not end cleanly")


def open_wizard(main):
    click(find(None, "Setup Wizard", main))
    wizard = wait_for("the wizard", lambda: find("dialog", "Setup Wizard"))
    time.sleep(0.3)
    return wizard


def text_of(acc):
    t = acc.queryText()
    return t.getText(0, t.characterCount)


def box(wizard, name):
    acc = find("text", name, wizard)
    if acc is None:
        fail("no box named %r" % name)
    return acc


def type_into(wizard, name, text):
    click(box(wizard, name))
    type_text(text)


def shown_page(wizard):
    # The tab list is named after the tab it shows.
    return find("page tab list", None, wizard).name


def press(wizard, caption):
    button = find("push button", caption, wizard)
    if button is None or not showing(button):
        fail("no button %r showing" % caption)
    click(button)


def expect_page(wizard, index):
    wait_for("page " + PAGES[index], lambda: shown_page(wizard) == PAGES[index], timeout=5)
    time.sleep(0.2)
    screenshot("%s/wizard-%d-%s.png" % (shots, index, PAGES[index].lower()), wizard)


proc, main = start()
try:
    wizard = open_wizard(main)
    expect_page(wizard, 0)
    if showing(find("push button", "Back", wizard)):
        fail("Back shows on the first page")

    type_into(wizard, "Where you'll be", "Dinner at the Rivera's")
    subprocess.run(["xdotool", "key", "Return"], check=True)
    type_text("then the cinema")
    type_into(wizard, "Phone", "555-CALL-(12)34")
    if text_of(box(wizard, "Phone")) != "555--1234":
        fail("the phone box took %r" % text_of(box(wizard, "Phone")))
    # A character the file's code page lacks is stored as "?".
    type_into(wizard, "Relation", "Grandma \u0141ucja")
    # The access key moves on as a click does.
    subprocess.run(["xdotool", "key", "alt+n"], check=True)
    expect_page(wizard, 1)

    type_into(wizard, "Police", "911")
    press(wizard, "Next")
    expect_page(wizard, 2)
    type_into(wizard, "Blood Type", "O+")
    press(wizard, "Next")
    expect_page(wizard, 3)
    # A dictated bedtime the reminder cannot read is told beside the box, and the word goes once
    # the box is cleared.
    hint = "The reminder cannot read this time"
    set_text(box(wizard, "Bedtime"), "half 8")
    wait_for("the bedtime hint", lambda: find("label", hint, wizard), timeout=5)
    screenshot(shots + "/wizard-3-bedtime-unreadable.png", wizard)
    set_text(box(wizard, "Bedtime"), "")
    wait_for("the bedtime hint to go", lambda: not find("label", hint, wizard), timeout=5)
    type_into(wizard, "Bedtime", "8:30 pm")
    press(wizard, "Next")
    expect_page(wizard, 4)
    type_into(wizard, "My Childrens Names & Ages", "Ana 7 & Ben 5")
    press(wizard, "Next")
    expect_page(wizard, 5)
    type_into(wizard, "How To Prepare", "Warm the soup for 3 minutes")
    press(wizard, "Next")
    expect_page(wizard, 6)
    if showing(find("push button", "Close", wizard)):
        fail("Close shows on the last page")
    click(find("radio button", "Yes", wizard))
    type_into(wizard, "My Children Are NOT Allowed To", "Play with matches")
    press(wizard, "Finish")
    wait_for("the wizard to close", lambda: not showing(find("dialog", "Setup Wizard")), timeout=5)

    expected = ["Dinner at the Rivera's\nthen the cinema", "555--1234", "Grandma ?ucja", "911", "O+",
                "8:30 pm", "Ana 7 & Ben 5", "Warm the soup for 3 minutes", "Play with matches"]
    for value in expected:
        if not find("label", value, main):
            fail("the main window does not show %r" % value)
    time.sleep(0.3)
    screenshot(shots + "/main-window-after-wizard.png", main)
    size = os.path.getsize(data_dir + "/Hushby.dta")
    if size != 5912:
        fail("Hushby.dta is %d bytes" % size)
    stop(proc, main)

    proc, main = start()
    for value in expected:
        if not find("label", value, main):
            fail("after a restart the main window does not show %r" % value)
    wizard = open_wizard(main)
    screenshot(shots + "/wizard-reopened.png")
    if text_of(box(wizard, "Relation")) != "Grandma ?ucja":
        fail("the wizard shows %r again" % text_of(box(wizard, "Relation")))
    press(wizard, "Close")
    wait_for("the wizard to close", lambda: not showing(find("dialog", "Setup Wizard")), timeout=5)
    stop(proc, main)
    log("PASS: setup wizard")
finally:
    if proc.poll() is None:
        proc.kill()
