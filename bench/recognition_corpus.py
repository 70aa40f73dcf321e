#!/usr/bin/env python3
"""Builds the recognition benchmark's corpus: every phrase of words.txt and everyday sentences that
are no command, spoken by two synthesisers (flite and espeak-ng) in several voices and speaking
rates, with pink noise added at several signal-to-noise ratios.

    bench/recognition_corpus.py [--words resources/words.txt] OUTDIR

Writes OUTDIR/*.wav (16 kHz mono 16-bit, a little noise-filled silence around the speech) and
OUTDIR/manifest.tsv (file, kind, spoken text, phrase, synthesiser, voice, rate, noise, voice group). Generate it
into the build tree, not the source tree; bench/recognition_score.py scores it.
"""
import argparse
import array
import math
import os
import subprocess
import sys
import tempfile
import wave
from concurrent.futures import ThreadPoolExecutor

# Everyday sentences a family says near the computer; several hold command words.
NON_COMMANDS = [
    "the ambulance drove past",
    "call me when you get home",
    "the police were very nice to us",
    "can you stop the music please",
    "the fire in the fireplace is warm",
    "where are my shoes",
    "sing along with me",
    "dinner is ready",
    "what time is it",
    "good night sweetheart",
    "turn off the television",
    "i need to go to the bathroom",
    "can i have some juice",
    "let's read a story before bed",
    "brush your teeth please",
    "the dog is barking again",
    "put your toys away",
    "my parents went to a party",
    "school starts at eight tomorrow",
    "the doctor said i was fine",
    "we ran out of milk",
    "the pharmacy closes at nine",
    "i want to watch cartoons",
    "close the door behind you",
    "it is raining outside",
    "who wants popcorn",
    "the baby is sleeping",
    "please be quiet for a minute",
    "where did you put the remote",
    "do you have any homework",
    "i don't like broccoli",
    "let's play a board game",
    "the phone is ringing",
    "thank you very much",
    "how was your day at school",
    "turn on the lights in the kitchen",
    "the hospital is near the park",
    "we are out of bread",
    "can you help me with my puzzle",
    "the cat jumped on the table",
    "wash your hands before dinner",
    "i am not tired yet",
    "it is time for a bath",
    "the alarm clock is too loud",
    "don't forget your jacket",
    "my tummy hurts a little",
    "look at the pretty bird",
    "the car needs some gas",
    "what are we having for lunch",
    "i love you mom",
    "hush now baby",
    "that was a funny movie",
    "pick up your socks",
    "the water is too cold",
    "shall we bake some cookies",
    "okay",
    "yes please",
    "no thank you",
    "hello there",
    "see you later",
    "the fire truck was loud",
    "poison ivy grows in the woods",
]

# Every voice speaks every text once, at one rate (and with espeak-ng one pitch), so that the
# corpus holds many voices rather than many takes of few. Groups are what the results are reported
# by: a family's men, women and children. (synthesiser, voice, rate, pitch, group); flite's rate is
# a duration stretch, espeak-ng's words per minute and pitch 0-99 (50 is its default).
VOICES = [
    ("flite", "slt", "1.0", None, "woman"),
    ("flite", "slt", "0.85", None, "woman"),
    ("flite", "rms", "1.0", None, "man"),
    ("flite", "rms", "1.2", None, "man"),
    ("flite", "awb", "0.85", None, "man"),
    ("flite", "awb", "1.0", None, "man"),
    ("flite", "kal16", "1.0", None, "man"),
    ("flite", "kal16", "1.2", None, "man"),
    ("flite", "kal", "1.0", None, "man"),
    ("flite", "kal", "0.85", None, "man"),
    ("espeak", "en-us", "170", 50, "man"),
    ("espeak", "en-gb", "200", 40, "man"),
    ("espeak", "en-gb-scotland", "140", 50, "man"),
    ("espeak", "en-us+m1", "170", 35, "man"),
    ("espeak", "en-gb+m2", "140", 55, "man"),
    ("espeak", "en-gb-scotland+m3", "200", 50, "man"),
    ("espeak", "en-029+m4", "170", 45, "man"),
    ("espeak", "en-us-nyc+m5", "140", 60, "man"),
    ("espeak", "en-gb-x-rp+m6", "200", 40, "man"),
    ("espeak", "en-us+m7", "170", 50, "man"),
    ("espeak", "en-gb-x-gbclan+m8", "140", 50, "man"),
    ("espeak", "en-us+f1", "170", 50, "woman"),
    ("espeak", "en-gb+f2", "140", 60, "woman"),
    ("espeak", "en-us+f3", "200", 50, "woman"),
    ("espeak", "en-gb-scotland+f4", "170", 40, "woman"),
    ("espeak", "en-029+f5", "140", 55, "woman"),
    ("espeak", "en-us+annie", "170", 50, "woman"),
    ("espeak", "en-gb+belinda", "200", 60, "woman"),
    ("espeak", "en-us+linda", "140", 50, "woman"),
    ("espeak", "en-us+steph", "170", 65, "woman"),
    ("espeak", "en-gb-x-rp+anika", "170", 50, "woman"),
    ("espeak", "en-us-nyc+aunty", "140", 45, "woman"),
    ("espeak", "en-gb+shelby", "200", 50, "woman"),
    ("espeak", "en-us+f1", "180", 90, "child"),
    ("espeak", "en-us+f2", "160", 95, "child"),
    ("espeak", "en-gb+f3", "200", 85, "child"),
    ("espeak", "en-us+f4", "150", 99, "child"),
    ("espeak", "en-us+f5", "180", 90, "child"),
    ("espeak", "en-us+m3", "170", 99, "child"),
    ("espeak", "en-gb+steph", "160", 95, "child"),
    ("espeak", "en-us+annie", "190", 90, "child"),
]
NOISE_SNR = [None, 20, 10]               # clean, then pink noise at these dB


def voice_name(synth, voice, pitch):
    # One name per voice as spoken: the same espeak-ng variant at another pitch is another voice.
    return voice.replace("+", "_") + ("" if pitch is None else "-p%d" % pitch)


def read_phrases(path):
    phrases = []
    with open(path, "rb") as f:
        for line in f.read().split(b"\n"):
            line = line.rstrip(b"\r")
            if line.startswith(b"<start>="):
                phrases.append(line[8:].decode("utf-8", "replace"))
    return phrases


def spoken(phrase):
    # Both synthesisers read "911" as "nine hundred eleven"; a caller says it digit by digit.
    names = "zero one two three four five six seven eight nine".split()
    out = []
    for ch in phrase:
        out.append(" " + names[int(ch)] + " " if ch.isdigit() else ch)
    return " ".join("".join(out).split())


def read_pcm(path):
    with wave.open(path, "rb") as w:
        data = array.array("h")
        data.frombytes(w.readframes(w.getnframes()))
        return data


def write_pcm(path, samples):
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(16000)
        w.writeframes(samples.tobytes())


def rms(samples):
    return math.sqrt(sum(s * s for s in samples) / max(1, len(samples)))


def synthesise(synth, voice, rate, pitch, text, out_path, tmp):
    raw = os.path.join(tmp, "raw.wav")
    if synth == "flite":
        subprocess.run(["flite", "-voice", voice, "--setf", "duration_stretch=" + rate, "-t", text, "-o", raw],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    else:
        subprocess.run(["espeak-ng", "-v", voice, "-s", rate, "-p", str(pitch), "-w", raw, text],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    # 16 kHz mono with 0.4 s of silence either side, as a microphone would hear it.
    subprocess.run(["sox", raw, "-r", "16000", "-c", "1", "-b", "16", out_path, "pad", "0.4", "0.4"],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def active_level(samples):
    # Speech level over its active 20 ms frames (those within 20 dB of the loudest), so that the
    # silence around it and the pauses within it do not lower it.
    frames = [samples[i:i + 320] for i in range(0, len(samples) - 319, 320)]
    levels = [rms(f) for f in frames]
    top = max(levels) if levels else 0
    active = [f for f, l in zip(frames, levels) if l >= top / 10.0]
    return math.sqrt(sum(rms(f) ** 2 for f in active) / len(active)) if active else 0


def add_noise(path, snr, tmp):
    speech = read_pcm(path)
    noise_path = os.path.join(tmp, "noise.wav")
    seconds = len(speech) / 16000.0
    subprocess.run(["sox", "-n", "-r", "16000", "-c", "1", "-b", "16", noise_path, "synth", "%.3f" % seconds,
                    "pinknoise", "vol", "0.3"],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    noise = read_pcm(noise_path)[:len(speech)]
    gain = active_level(speech) / (rms(noise) * 10 ** (snr / 20.0)) if rms(noise) > 0 else 0
    mixed = array.array("h", (max(-32768, min(32767, int(s + n * gain))) for s, n in zip(speech, noise)))
    write_pcm(path, mixed)


def make(job):
    out_dir, name, kind, text, phrase, synth, voice, rate, pitch, group, snr = job
    path = os.path.join(out_dir, name)
    with tempfile.TemporaryDirectory() as tmp:
        synthesise(synth, voice, rate, pitch, text, path, tmp)
        if snr is not None:
            add_noise(path, snr, tmp)
    return "\t".join([name, kind, text, phrase, synth, voice_name(synth, voice, pitch), rate,
                      "clean" if snr is None else "%ddB" % snr, synth + " " + group])


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--words", default=os.path.join(here, "..", "resources", "words.txt"))
    parser.add_argument("out_dir")
    args = parser.parse_args()
    os.makedirs(args.out_dir, exist_ok=True)

    phrases = read_phrases(args.words)
    jobs = []
    items = [("command", spoken(p), p) for p in phrases if p.strip()] + [("other", s, "") for s in NON_COMMANDS]
    for n, (kind, text, phrase) in enumerate(items):
        for vi, (synth, voice, rate, pitch, group) in enumerate(VOICES):
            # The noise level rotates so that every voice meets every level across the texts.
            snr = NOISE_SNR[(vi + n) % len(NOISE_SNR)]
            name = "%s-%04d-%s-%s-%d.wav" % (kind, n, synth, voice_name(synth, voice, pitch), vi)
            jobs.append((args.out_dir, name, kind, text, phrase, synth, voice, rate, pitch, group, snr))
    with ThreadPoolExecutor(max_workers=os.cpu_count() or 2) as pool:
        rows = list(pool.map(make, jobs))
    with open(os.path.join(args.out_dir, "manifest.tsv"), "w") as f:
        f.write("\n".join(rows) + "\n")
    print("%d files in %s" % (len(rows), args.out_dir))


if __name__ == "__main__":
    sys.exit(main())
