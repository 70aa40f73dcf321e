#!/usr/bin/env python3
"""Writes the program's four button and alarm sounds into resources/.

16-bit mono PCM at 22050 Hz. Every sound starts and ends at silence through short fades, so
nothing clicks, and the alarm can be replayed back to back.

Usage: scripts/make-sounds.py [output-dir]   (default: resources/ next to this script's folder)
"""
import math
import os
import struct
import sys
import wave

RATE = 22050


def fade(samples, fade_in_ms, fade_out_ms):
    n_in = max(1, int(RATE * fade_in_ms / 1000))
    n_out = max(1, int(RATE * fade_out_ms / 1000))
    out = list(samples)
    for i in range(min(n_in, len(out))):
        out[i] *= 0.5 - 0.5 * math.cos(math.pi * i / n_in)
    for i in range(min(n_out, len(out))):
        out[-1 - i] *= 0.5 - 0.5 * math.cos(math.pi * i / n_out)
    return out


def tone(freq_at, seconds, amp_at, harmonics=((1, 1.0),)):
    """A tone whose frequency and amplitude follow functions of time; phase is accumulated
    so sweeps stay smooth."""
    n = int(RATE * seconds)
    phase = 0.0
    out = []
    for i in range(n):
        t = i / RATE
        phase += 2 * math.pi * freq_at(t) / RATE
        v = sum(a * math.sin(k * phase) for k, a in harmonics)
        out.append(amp_at(t) * v)
    return out


def push():
    # A soft, short click: a low body and a brighter tick, both dying away fast.
    seconds = 0.06
    body = tone(lambda t: 180.0, seconds, lambda t: 0.45 * math.exp(-t / 0.012))
    tick = tone(lambda t: 1400.0, seconds, lambda t: 0.25 * math.exp(-t / 0.005))
    return fade([a + b for a, b in zip(body, tick)], 1.5, 15)


def bink():
    # Two bright notes a fourth apart.
    harm = ((1, 1.0), (2, 0.18), (3, 0.05))
    first = fade(tone(lambda t: 1318.5, 0.055, lambda t: 0.42 * math.exp(-t / 0.05), harm), 3, 10)
    second = fade(tone(lambda t: 1760.0, 0.065, lambda t: 0.42 * math.exp(-t / 0.04), harm), 3, 25)
    return first + second


def flash():
    # A quick downward sweep, exponential in pitch so it sounds even.
    seconds = 0.25
    f0, f1 = 2200.0, 330.0
    sweep = tone(lambda t: f0 * (f1 / f0) ** (t / seconds), seconds,
                 lambda t: 0.45 * (1 - 0.5 * t / seconds), ((1, 1.0), (2, 0.12)))
    return fade(sweep, 4, 60)


def alarm():
    # Two rise-and-fall wails of 0.6 s. Pitch and level are periodic over the file and the
    # edges fade briefly, so replaying it back to back sounds like one siren.
    seconds = 1.2
    period = 0.6
    low, high = 620.0, 980.0

    def freq(t):
        return low + (high - low) * (0.5 - 0.5 * math.cos(2 * math.pi * t / period))

    def amp(t):
        return 0.38 + 0.12 * (0.5 - 0.5 * math.cos(2 * math.pi * t / period))

    return fade(tone(freq, seconds, amp, ((1, 1.0), (2, 0.2), (3, 0.08))), 8, 8)


def write(path, samples):
    peak = max(1e-9, max(abs(s) for s in samples))
    scale = 32767 * min(1.0, 0.9 / peak) if peak > 0.9 else 32767
    frames = b"".join(struct.pack("<h", int(round(s * scale))) for s in samples)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(frames)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, os.pardir, "resources")
    os.makedirs(out_dir, exist_ok=True)
    for name, make in (("push.wav", push), ("bink.wav", bink), ("flash.wav", flash),
                       ("alarm.wav", alarm)):
        write(os.path.join(out_dir, name), make())


if __name__ == "__main__":
    main()
