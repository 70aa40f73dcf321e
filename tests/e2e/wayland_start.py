"""On a Wayland desktop the program starts on the X platform when an X server is reachable there, as
XWayland is on a usual desktop: only there can it place its splash and menu, keep its top window
above others and send the keys that hang up. With no X server it still starts, on Wayland. A
headless Wayland compositor stands in for the desktop, the test display for XWayland."""
import os
import shutil
import subprocess
import sys
import tempfile
import time

from e2e_support import fail, find, log, wait_for

program, shots = sys.argv[1], sys.argv[2]
if not shutil.which("weston"):
    log("weston is not installed: run the tests through scripts/test.sh")
    sys.exit(77)

home = tempfile.mkdtemp(prefix="hushby-e2e-wayland-")
config, data, dd = home + "/config", home + "/data", home + "/dd"
for d in (config + "/The Hushby", data, dd):
    os.makedirs(d)
with open(config + "/The Hushby/The Hushby.ini", "w") as f:
    f.write("[Settings]\nName=Smith\nHomePhone=555-0100\n")

runtime = os.environ.get("XDG_RUNTIME_DIR") or tempfile.mkdtemp(prefix="hushby-e2e-run-")
os.chmod(runtime, 0o700)
socket = "hushby-wayland-%d" % os.getpid()
compositor_log = open(home + "/weston.log", "w")
compositor = subprocess.Popen(["weston", "--backend=headless-backend.so", "--socket=" + socket, "--idle-time=0"],
                              env=dict(os.environ, XDG_RUNTIME_DIR=runtime), stdout=compositor_log,
                              stderr=subprocess.STDOUT)


def x_windows(name):
    found = subprocess.run(["xdotool", "search", "--name", "^%s$" % name], capture_output=True, text=True)
    return found.stdout.split()


def start(with_x):
    env = dict(os.environ, XDG_CONFIG_HOME=config, XDG_DATA_HOME=data, XDG_RUNTIME_DIR=runtime,
               XDG_SESSION_TYPE="wayland", WAYLAND_DISPLAY=socket, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    env.pop("QT_QPA_PLATFORM", None)
    if not with_x:
        env.pop("DISPLAY", None)
    return subprocess.Popen([program, "--data-dir", dd], env=env, stderr=open(home + "/program.log", "a"))


def stop(proc):
    if proc.poll() is None:
        proc.terminate()
        proc.wait(timeout=10)


try:
    wait_for("the Wayland compositor", lambda: os.path.exists(os.path.join(runtime, socket)), timeout=10)

    # With XWayland: the main window is a window of the X server.
    proc = start(with_x=True)
    try:
        wait_for("the main window on the X server", lambda: x_windows("The Hushby v2.0"), timeout=20)
    finally:
        stop(proc)

    # Without an X server: it starts on Wayland, and its main window is there for a screen reader.
    before = set(x_windows("The Hushby v2.0"))
    proc = start(with_x=False)
    try:
        wait_for("the main window on Wayland", lambda: find("frame", "The Hushby v2.0"), timeout=20)
        if proc.poll() is not None:
            fail("the program ended on Wayland (exit code %d)" % proc.returncode)
        if set(x_windows("The Hushby v2.0")) - before:
            fail("without an X server the main window still appeared on the X display")
    finally:
        stop(proc)
finally:
    stop(compositor)

log("PASS: Wayland start-up")
