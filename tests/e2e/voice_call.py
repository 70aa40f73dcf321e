"""A sitter says "hushby", then "call police", into the microphone: the program answers aloud and
hands the police number of today's information to the desktop's tel: handler."""
import os
import stat
import struct
import subprocess
import sys
import tempfile
import time

from e2e_support import fail, find, log, loudness, record_speaker, say, screenshot, showing, wait_for

program, shots = sys.argv[1], sys.argv[2]
if not os.environ.get("HUSHBY_TEST_AUDIO"):
    log("no test audio server: run the tests through scripts/test.sh")
    sys.exit(77)

home = tempfile.mkdtemp(prefix="hushby-e2e-voice-")
config, data, dd = home + "/config", home + "/data", home + "/dd"
for d in (config + "/The Hushby", data + "/applications", dd):
    os.makedirs(d)

# A dialer that only writes down what it was given.
calls = home + "/calls.txt"
dialer = home + "/record-call.sh"
with open(dialer, "w") as f:
    f.write('#!/bin/sh\nprintf "%%s\\n" "$@" >> "%s"\n' % calls)
os.chmod(dialer, stat.S_IRWXU)
with open(data + "/applications/test-dialer.desktop", "w") as f:
    f.write("[Desktop Entry]\nType=Application\nName=Test Dialer\nExec=%s %%u\n"
            "MimeType=x-scheme-handler/tel;\n" % dialer)
with open(config + "/mimeapps.list", "w") as f:
    f.write("[Default Applications]\nx-scheme-handler/tel=test-dialer.desktop\n")

with open(config + "/The Hushby/The Hushby.ini", "w") as f:
    f.write("[Settings]\nName=Smith\nHomePhone=555-0100\nVoiceOn=True\nTalk=True\nAutoDial=True\n")

# Today's information, laid out as the program stores it.
FIELDS = {  # field: (offset, width)
    "WeAreAt": (2, 255), "WherePhone": (257, 14), "FromTime": (271, 8), "ToTime": (279, 8),
    "WhereAddress": (287, 255), "BackupPhone": (542, 14), "BackupRelation": (556, 55),
    "HomeAddress": (611, 255), "PolicePhone": (866, 14), "HospitalPhone": (880, 14),
    "AmbulancePhone": (894, 14), "PoisonControlPhone": (908, 14), "FirePhone": (922, 14),
    "Bedtime": (2607, 8), "FriendsAllowed": (5909, 3),
}
record = bytearray(b" " * 5912)
record[0:2] = struct.pack("<h", 1)
values = {
    "WeAreAt": "Riverside Theatre, then dinner at Luigi's", "WherePhone": "555-0142",
    "FromTime": "6:30 PM", "ToTime": "11:00 PM", "WhereAddress": "12 Harbour Street, Springfield",
    "BackupPhone": "555-0177", "BackupRelation": "Grandma Rose", "HomeAddress": "48 Maple Avenue",
    "PolicePhone": "555-0111", "HospitalPhone": "555-0122", "AmbulancePhone": "555-0133",
    "PoisonControlPhone": "555-0144", "FirePhone": "555-0155", "Bedtime": "8:30 PM",
    "FriendsAllowed": "No ",
}
for name, text in values.items():
    off, width = FIELDS[name]
    record[off:off + width] = text.encode("cp1252").ljust(width)[:width]
with open(dd + "/Hushby.dta", "wb") as f:
    f.write(record)


env = dict(os.environ, XDG_CONFIG_HOME=config, XDG_DATA_HOME=data, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
heard = home + "/speaker.wav"
recorder = record_speaker(heard)
proc = subprocess.Popen([program, "--data-dir", dd], env=env)
try:
    main = wait_for("the main window", lambda: find("frame", "The Hushby v2.0"))
    splash = wait_for("the splash", lambda: find("frame", "The Hushby"))
    wait_for("the splash to close", lambda: not showing(splash), timeout=8)
    if not find("label", "Riverside Theatre, then dinner at Luigi's", main):
        fail("today's information is not shown")
    time.sleep(0.3)
    screenshot(shots + "/main-window-today.png", main)

    for text in ("hushby", "call police"):
        say(text, home)
        time.sleep(1.5)
    try:
        wait_for("the call", lambda: os.path.exists(calls) and "tel:5550111" in open(calls).read(), timeout=15)
    except SystemExit:
        screenshot(shots + "/voice-call-failed.png")
        raise
    time.sleep(2.5)  # "Please pick up the phone now!" is spoken after the hand-over
finally:
    if proc.poll() is None:
        proc.terminate()
        proc.wait(timeout=10)
    recorder.terminate()
    recorder.wait(timeout=10)

with open(calls) as f:
    got = f.read().split()
# Only dialable characters reach the dialer.
if got != ["tel:5550111"]:
    fail("the dialer was given %r" % got)
peak = loudness(heard)
if peak < 1000:
    fail("nothing was heard from the speaker (peak %d)" % peak)
log("PASS: voice call (speaker peak %d)" % peak)
