"""Drives the real program from outside: finds its windows and controls through the
accessibility bus, moves the real pointer with xdotool and takes screenshots with import."""
import array
import os
import subprocess
import sys
import time
import wave

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


def centre(acc):
    x, y, w, h = extents(acc)
    return x + w // 2, y + h // 2


def click_at(x, y, button=1):
    """Clicks at once: for presses that are timed. --sync would wait for a pointer move that never
    comes when the pointer is already there."""
    subprocess.run(["xdotool", "mousemove", str(x), str(y)], check=True)
    time.sleep(0.05)
    subprocess.run(["xdotool", "click", str(button)], check=True)


def click(acc, button=1):
    x, y = centre(acc)
    subprocess.run(["xdotool", "mousemove", "--sync", str(x), str(y)], check=True)
    subprocess.run(["xdotool", "click", str(button)], check=True)


def press(acc):
    """Presses through the accessibility action, as a screen reader or switch access does."""
    action = acc.queryAction()
    names = [action.getName(i).lower() for i in range(action.nActions)]
    if "press" not in names:
        fail("%r has no press action, only %r" % (acc.name, names))
    action.doAction(names.index("press"))


def set_text(acc, text):
    """Sets a box's text whole, as dictation tools do: no key is typed."""
    if not acc.queryEditableText().setTextContents(text):
        fail("%r did not take its text" % acc.name)


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


def synthesise(text, path):
    """Speech as a microphone would carry it: 16 kHz mono with a little silence around it."""
    raw = path + ".raw.wav"
    subprocess.run(["flite", "-voice", "rms", "-t", text, "-o", raw], check=True)
    subprocess.run(["sox", raw, "-r", "16000", "-c", "1", "-b", "16", path, "pad", "0.3", "0.6"], check=True)


def say(text, workdir):
    """Plays the text into the virtual microphone."""
    wav = os.path.join(workdir, text.replace(" ", "-") + ".wav")
    synthesise(text, wav)
    subprocess.run(["paplay", "--device=micfeed", wav], check=True)


def samples(path):
    """The samples of a mono 16-bit wave and its rate."""
    with wave.open(path) as w:
        return array.array("h", w.readframes(w.getnframes())), w.getframerate()


def loudness(path):
    data, _ = samples(path)
    return max((abs(s) for s in data), default=0)


def record_speaker(path):
    """Starts recording what the program plays; terminate() the result to stop."""
    return subprocess.Popen(["parecord", "--device=speaker.monitor", "--channels=1", "--rate=16000",
                             "--file-format=wav", path])
