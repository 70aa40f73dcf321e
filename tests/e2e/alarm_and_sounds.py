"""Sounds a parent and a sitter rely on: every press is heard from the first one after the splash,
and "alarm on" sounds without a gap while the program stays usable, until the window is closed."""
import os
import subprocess
import sys
import tempfile
import time

from e2e_support import centre, click_at, fail, find, log, record_speaker, samples, say, screenshot, showing, wait_for

program, shots = sys.argv[1], sys.argv[2]
if not os.environ.get("HUSHBY_TEST_AUDIO"):
    log("no test audio server: run the tests through scripts/test.sh")
    sys.exit(77)

home = tempfile.mkdtemp(prefix="hushby-e2e-alarm-")
config, data, dd = home + "/config", home + "/data", home + "/dd"
for d in (config + "/The Hushby", data, dd):
    os.makedirs(d)
with open(config + "/The Hushby/The Hushby.ini", "w") as f:
    f.write("[Settings]\nName=Smith\nHomePhone=555-0100\nVoiceOn=True\nUseAlarm=True\n")

FRAME = 0.01  # seconds a loudness frame covers
QUIET = 300   # below this a frame is silence


def loud_frames(data, rate):
    n = int(rate * FRAME)
    return [max((abs(s) for s in data[i:i + n]), default=0) >= QUIET for i in range(0, len(data), n)]


def heard_between(frames, start, end):
    return any(frames[int(start / FRAME):int(end / FRAME)])


def longest_silence(frames, start, end):
    best = run = 0
    for loud in frames[int(start / FRAME):int(end / FRAME)]:
        run = 0 if loud else run + 1
        best = max(best, run)
    return best * FRAME


env = dict(os.environ, XDG_CONFIG_HOME=config, XDG_DATA_HOME=data, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
heard = home + "/speaker.wav"
recorder = record_speaker(heard)
began = time.monotonic()
proc = subprocess.Popen([program, "--data-dir", dd], env=env)
clicks = []
alarm_from = alarm_to = None
try:
    main = wait_for("the main window", lambda: find("frame", "The Hushby v2.0"))
    splash = wait_for("the splash", lambda: find("frame", "The Hushby"))
    # Where to press is read before the first press: from then on only the pointer is used, as a
    # person would, so nothing waits on the accessibility bus while sounds are timed.
    spots = {}
    for key, role, name in (("button", "push button", "Make Top Window"), ("tab", "page tab", "Emergency"),
                            ("close", "push button", "Close Hushby")):
        spots[key] = centre(wait_for(name, lambda: find(role, name, main)))
    wait_for("the splash to close", lambda: not showing(splash), timeout=8)
    for _ in range(4):
        clicks.append(time.monotonic() - began)
        click_at(*spots["button"])
        time.sleep(1.5)

    say("hushby", home)
    time.sleep(1.2)
    say("alarm on", home)
    alarm_from = time.monotonic() - began + 4.0  # after "Intruder! ... Intruder!" has been said
    time.sleep(15)
    # Still usable while the alarm sounds: a tab answers.
    click_at(*spots["tab"])
    time.sleep(0.5)
    screenshot(shots + "/main-window-alarm.png")
    alarm_to = time.monotonic() - began
    click_at(*spots["close"])
    try:
        proc.wait(timeout=8)
    except subprocess.TimeoutExpired:
        fail("the program did not end when its window was closed during the alarm")
    time.sleep(1.0)
finally:
    if proc.poll() is None:
        proc.terminate()
        proc.wait(timeout=10)
    recorder.terminate()
    recorder.wait(timeout=10)

data, rate = samples(heard)
frames = loud_frames(data, rate)
bursts, start = [], None
for i, loud in enumerate(frames + [False]):
    if loud and start is None:
        start = i
    elif not loud and start is not None:
        bursts.append("%.2f-%.2f" % (start * FRAME, i * FRAME))
        start = None
log("presses at", ", ".join("%.2f" % c for c in clicks), "alarm from %s to %s" % (alarm_from, alarm_to))
log("sound heard at", " ".join(bursts[:40]))
for n, at in enumerate(clicks, 1):
    if not heard_between(frames, at, at + 1.0):
        fail("press %d after the splash made no sound" % n)
gap = longest_silence(frames, alarm_from, alarm_to)
if gap > 0.3:
    fail("the alarm fell silent for %.2f s" % gap)
ended = time.monotonic() - began
if heard_between(frames, alarm_to + 1.5, ended):
    fail("the alarm went on after the window was closed")
log("PASS: %d presses heard, alarm without a gap over %.1f s (longest quiet %.2f s)"
    % (len(clicks), alarm_to - alarm_from, gap))
