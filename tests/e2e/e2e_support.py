"""Drives the real program from outside: finds its windows and controls through the
accessibility bus, moves the real pointer with xdotool and takes screenshots with import."""
import os
import subprocess
import sys
import time

import pyatspi


def log(*args):
    print(*args, flush=True)


def fail(message):
    log("FAIL:", message)
    sys.exit(1)


def walk(acc):
    try:
        yield acc
        for i in range(acc.childCount):
            child = acc.getChildAtIndex(i)
            if child is not None:
                yield from walk(child)
    except Exception:  # a window closing under us
        return


def program_app(app_name="The Hushby"):
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name == app_name:
            return app
    return None


def find(role=None, name=None, within=None, app_name="The Hushby"):
    root = within or program_app(app_name)
    if root is None:
        return None
    for acc in walk(root):
        try:
            if (role is None or acc.getRoleName() == role) and (name is None or acc.name == name):
                return acc
        except Exception:
            continue
    return None


def wait_for(what, fn, timeout=15.0):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        result = fn()
        if result:
            return result
        time.sleep(0.1)
    fail("timed out waiting for " + what)


def showing(acc):
    try:
        return acc is not None and acc.getState().contains(pyatspi.STATE_SHOWING)
    except Exception:
        return False


def extents(acc):
    e = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return e.x, e.y, e.width, e.height


def click(acc, button=1):
    x, y, w, h = extents(acc)
    subprocess.run(["xdotool", "mousemove", "--sync", str(x + w // 2), str(y + h // 2)], check=True)
    subprocess.run(["xdotool", "click", str(button)], check=True)


def type_text(text):
    subprocess.run(["xdotool", "type", "--delay", "20", text], check=True)


def screenshot(path, acc=None):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    args = ["import", "-window", "root"]
    if acc is not None:
        x, y, w, h = extents(acc)
        args += ["-crop", "%dx%d+%d+%d" % (w, h, x, y), "+repage"]
    subprocess.run(args + [path], check=True)
    log("screenshot:", path)
