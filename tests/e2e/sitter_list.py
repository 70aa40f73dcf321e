"""The sitter list of the real program: opened from the main window, three sitters added, a
search, the middle one erased and its slot taken by the next, and after a restart the list is as
it was left, in the file and on screen. The list is opened, a name set and the program closed
through the accessibility bus, as a screen reader or dictation tool does it."""
import os
import struct
import subprocess
import sys
import tempfile
import time

from e2e_support import click, fail, find, log, press, screenshot, set_text, showing, type_text, wait_for

program, shots = sys.argv[1], sys.argv[2]
home = tempfile.mkdtemp(prefix="hushby-e2e-sitters-")
config, dd = home + "/config", home + "/dd"
for d in (config + "/The Hushby", dd):
    os.makedirs(d)
with open(config + "/The Hushby/The Hushby.ini", "w") as f:
    f.write("[Settings]\nName=Smith\nHomePhone=555-0100\nStartStop=True\n")
env = dict(os.environ, XDG_CONFIG_HOME=config, XDG_DATA_HOME=home + "/data",
           QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
brw = dd + "/Hushby.brw"
REC = 811


def stored_names():
    with open(brw, "rb") as f:
        data = f.read()
    names = []
    for n in range(len(data) // REC):
        rec = data[n * REC:(n + 1) * REC]
        if struct.unpack("<h", rec[0:2])[0] != n + 1:
            fail("record %d carries the number %d" % (n + 1, struct.unpack("<h", rec[0:2])[0]))
        names.append(rec[2:257].decode("cp1252").strip(" "))
    return names


def text_of(acc):
    t = acc.queryText()
    return t.getText(0, t.characterCount)


def start():
    proc = subprocess.Popen([program, "--data-dir", dd], env=env)
    main = wait_for("the main window", lambda: find("frame", "The Hushby v2.0"))
    splash = find("frame", "The Hushby")
    if splash is not None:
        wait_for("the splash to close", lambda: not showing(splash), timeout=8)
    return proc, main


def open_list(main):
    press(find("push button", "Sitter List", main))
    return wait_for("the sitter list", lambda: find("dialog", "Sitter List"))


# Walking the accessibility tree is slow; controls are looked up once per window.
found = {}


def cached(window, role, name):
    key = (id(window), role, name)
    if key not in found:
        found[key] = wait_for(name, lambda: find(role, name, window))
    return found[key]


def button(window, name):
    return cached(window, "push button", name)


def box(window, name):
    return cached(window, "text", name)


def fill(window, name, value):
    click(box(window, name))
    subprocess.run(["xdotool", "key", "ctrl+a", "BackSpace"], check=True)
    type_text(value)


def shown_name(window):
    return text_of(box(window, "Sitter's Name:"))


def stop(proc, main, by_press=False):
    close_box = find(None, "Close Hushby", main)
    if by_press:
        press(close_box)
    else:
        click(close_box)
    code = proc.wait(timeout=10)
    if code != 0:
        fail("the program ended with %d" % code)


proc, main = start()
try:
    sitters = open_list(main)
    time.sleep(0.3)
    screenshot(shots + "/sitter-list-empty.png", sitters)
    for name, phone, wage in (("Ann Smith", "555-0101", "12.50"), ("Bob Jones", "555-0102", "10"),
                              ("Cy Smithers", "555-0103", "11.25")):
        if not find("push button", "Save", sitters):
            click(button(sitters, "Add New Sitter"))
        if name == "Ann Smith":
            set_text(box(sitters, "Sitter's Name:"), name)
        else:
            fill(sitters, "Sitter's Name:", name)
        fill(sitters, "Phone:", phone)
        fill(sitters, "Wage: $", wage)
        fill(sitters, "Hrs Worked:", "4")
        click(button(sitters, "Save"))
        wait_for("the saved sitter", lambda: find("push button", "Add New Sitter", sitters))
    if stored_names() != ["Ann Smith", "Bob Jones", "Cy Smithers"]:
        fail("stored after adding: %r" % stored_names())

    click(button(sitters, "Total"))
    wait_for("the total", lambda: text_of(box(sitters, "Total")) == "$45.00")

    fill(sitters, "Search", "smi")
    click(button(sitters, "Search"))
    wait_for("the first match", lambda: shown_name(sitters) == "Ann Smith")
    click(button(sitters, "Find Next"))
    wait_for("the second match", lambda: shown_name(sitters) == "Cy Smithers")
    time.sleep(0.3)
    screenshot(shots + "/sitter-list-search.png", sitters)

    click(button(sitters, "<< Back"))
    wait_for("record 2", lambda: shown_name(sitters) == "Bob Jones")
    click(button(sitters, "Erase"))
    question = wait_for("the question", lambda: find("dialog", "Are you sure?") or find("alert", "Are you sure?"))
    click(wait_for("OK", lambda: find("push button", "OK", question)))
    wait_for("the erased record", lambda: shown_name(sitters) == "Erased")
    if stored_names() != ["Ann Smith", "Erased", "Cy Smithers"]:
        fail("stored after erasing: %r" % stored_names())

    click(button(sitters, "Add New Sitter"))
    if not find("label", "2", sitters):
        fail("a new sitter should be announced as record 2, the erased slot")
    fill(sitters, "Sitter's Name:", "Dee Park")
    fill(sitters, "Phone:", "555-0104")
    click(button(sitters, "Save"))
    wait_for("the saved sitter", lambda: find("push button", "Add New Sitter", sitters))
    if stored_names() != ["Ann Smith", "Dee Park", "Cy Smithers"]:
        fail("the new sitter did not take the erased slot: %r" % stored_names())
    if os.path.getsize(brw) != 3 * REC:
        fail("the file grew to %d bytes" % os.path.getsize(brw))
    time.sleep(0.3)
    screenshot(shots + "/sitter-list.png", sitters)
    click(button(sitters, "Close"))
    wait_for("the list to close", lambda: not showing(sitters))
    stop(proc, main, by_press=True)

    before = open(brw, "rb").read()
    proc, main = start()
    sitters = open_list(main)
    seen = [shown_name(sitters)]
    for _ in range(2):
        click(button(sitters, "Next >>"))
        time.sleep(0.2)
        seen.append(shown_name(sitters))
    if seen != ["Ann Smith", "Dee Park", "Cy Smithers"]:
        fail("after a restart the list shows %r" % seen)
    if text_of(box(sitters, "Phone:")) != "555-0103":
        fail("the phone of record 3 did not come back")
    click(button(sitters, "Close"))
    wait_for("the list to close", lambda: not showing(sitters))
    if open(brw, "rb").read() != before:
        fail("browsing changed the file")
    stop(proc, main)
    log("PASS: sitter list")
finally:
    if proc.poll() is None:
        proc.kill()
