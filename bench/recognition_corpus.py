#!/usr/bin/env python3
"""Builds the recognition benchmark's corpus: every phrase of words.txt and everyday sentences that
are no command, spoken by two synthesisers (flite and espeak-ng) in several voices and speaking
rates, with pink noise added at several signal-to-noise ratios.

    bench/recognition_corpus.py [--words resources/words.txt] OUTDIR

Writes OUTDIR/*.wav (16 kHz mono 16-bit, a little noise-filled silence around the speech) and
OUTDIR/manifest.tsv (file, kind, spoken text, phrase, synthesiser, voice, rate, noise). Generate it
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

FLITE_VOICES = ["slt", "rms", "awb", "kal16"]
ESPEAK_VOICES = ["en-us", "en-gb", "en-us+f3", "en-gb-scotland"]
FLITE_STRETCH = ["0.85", "1.0", "1.2"]   # duration stretch: fast, normal, slow
ESPEAK_SPEED = ["200", "170", "140"]      # words per minute: fast, normal, slow
NOISE_SNR = [None, 20, 10]               # clean, then pink noise at these dB


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


def synthesise(synth, voice, rate, text, out_path, tmp):
    raw = os.path.join(tmp, "raw.wav")
    if synth == "flite":
        subprocess.run(["flite", "-voice", voice, "--setf", "duration_stretch=" + rate, "-t", text, "-o", raw],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    else:
        subprocess.run(["espeak-ng", "-v", voice, "-s", rate, "-w", raw, text],
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
    out_dir, name, kind, text, phrase, synth, voice, rate, snr = job
    path = os.path.join(out_dir, name)
    with tempfile.TemporaryDirectory() as tmp:
        synthesise(synth, voice, rate, text, path, tmp)
        if snr is not None:
            add_noise(path, snr, tmp)
    return "\t".join([name, kind, text, phrase, synth, voice, rate, "clean" if snr is None else "%ddB" % snr])


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--words", default=os.path.join(here, "..", "resources", "words.txt"))
    parser.add_argument("out_dir")
    args = parser.parse_args()
    os.makedirs(args.out_dir, exist_ok=True)

    phrases = read_phrases(args.words)
    voices = [("flite", v, FLITE_STRETCH) for v in FLITE_VOICES] + [("espeak", v, ESPEAK_SPEED) for v in ESPEAK_VOICES]
    jobs = []
    items = [("command", spoken(p), p) for p in phrases if p.strip()] + [("other", s, "") for s in NON_COMMANDS]
    n = 0
    for kind, text, phrase in items:
        for vi, (synth, voice, rates) in enumerate(voices):
            for ri, rate in enumerate(rates):
                # Each voice speaks each text at every rate; the noise level rotates so that every
                # rate and every voice meets every noise level across the corpus.
                snr = NOISE_SNR[(ri + vi + n) % len(NOISE_SNR)]
                name = "%s-%04d-%s-%s-%d.wav" % (kind, n, synth, voice.replace("+", "_"), ri)
                jobs.append((args.out_dir, name, kind, text, phrase, synth, voice, rate, snr))
        n += 1
    with ThreadPoolExecutor(max_workers=os.cpu_count() or 2) as pool:
        rows = list(pool.map(make, jobs))
    with open(os.path.join(args.out_dir, "manifest.tsv"), "w") as f:
        f.write("\n".join(rows) + "\n")
    print("%d files in %s" % (len(rows), args.out_dir))


if __name__ == "__main__":
    sys.exit(main())
