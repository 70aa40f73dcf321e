#!/usr/bin/env python3
"""Shows what the recogniser's thresholds would give, without decoding again: reads the results.tsv
that bench/recognition_score.py --segment wrote for one or more corpora (the synthetic one of
bench/recognition_corpus.py, the real speech of bench/real_speech_corpus.py) and judges each
utterance again from the confidence the decoder printed, at the thresholds given.

    bench/recognition_thresholds.py [--threshold T] [--one-word-extra E] [--wake T] [--emergency T]
                                    CORPUS_DIR [CORPUS_DIR...]

Per corpus it prints, for the fitting and the held-out voices and per voice group: commands
right, other speech taken, and any other speech taken for the wake word or 911. Without
thresholds it uses those the decoder was built with, so its figures are the scorer's own.
"""
import argparse
import os
import re
import sys
from collections import defaultdict

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from recognition_score import COMMAND_OF, COMMAND_OF_WORDS, fit_voices  # noqa: E402

DECODER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src", "voice", "command_decoder.cpp")
FIGURES = 14


def decoder_constant(name):
    match = re.search(r"constexpr double %s = ([^;]+);" % name, open(DECODER).read())
    return match.group(1).strip() if match else None


def built_thresholds():
    number = lambda name: float(decoder_constant(name))  # noqa: E731
    return {"threshold": number("Threshold"), "one_word_extra": number("OneWordExtra"),
            "wake": number("WakeWordThreshold"), "emergency": number("EmergencyThreshold"),
            "most_extra": number("MostExtraSpeech") * number("ExtraSpeechScale")}


def taken(fields, t):
    """The command index the utterance is taken as at thresholds t, or None."""
    words, confidence = fields[1], float(fields[13])
    features = dict(f.split("=", 1) for f in fields[FIGURES:])
    if words not in COMMAND_OF_WORDS or float(features["extraSpeech"]) > t["most_extra"]:
        return None
    needed = t["threshold"] + (0 if " " in words else t["one_word_extra"])
    if words == "hushby":
        needed = t["wake"]
    elif words == "nine one one":
        needed = t["emergency"]
    return COMMAND_OF_WORDS[words] if confidence > needed else None


def main():
    t = built_thresholds()
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--threshold", type=float, default=t["threshold"])
    parser.add_argument("--one-word-extra", type=float, default=t["one_word_extra"])
    parser.add_argument("--wake", type=float, default=t["wake"])
    parser.add_argument("--emergency", type=float, default=t["emergency"])
    parser.add_argument("corpus", nargs="+")
    args = parser.parse_args()
    t.update(threshold=args.threshold, one_word_extra=args.one_word_extra, wake=args.wake, emergency=args.emergency)
    severe_commands = {COMMAND_OF["hushby"], COMMAND_OF["911"]}
    print("threshold %.2f, one-word phrases %+.2f, wake word %.2f, 911 %.2f"
          % (t["threshold"], t["one_word_extra"], t["wake"], t["emergency"]))
    for corpus in args.corpus:
        # Every file of the manifest counts, also those in which no utterance ended.
        info = {r[0]: r for r in (line.rstrip("\n").split("\t")
                                  for line in open(os.path.join(corpus, "manifest.tsv")) if line.strip())}
        rows = [line.rstrip("\n").split("\t") for line in open(os.path.join(corpus, "results.tsv")) if line.strip()]
        fitting = fit_voices(list(info.values()))
        heard = defaultdict(set)
        for r in rows:
            if len(r) > 9 + FIGURES:
                command = taken(r[9:], t)
                if command is not None:
                    heard[r[0]].add(command)
        stats = defaultdict(lambda: defaultdict(int))
        severe = []
        for name, r in info.items():
            kind, voice, group = r[1], r[5], r[8]
            side = "fitting" if voice in fitting else "held-out"
            for key in ("all", side, side + " " + group):
                s = stats[key]
                if kind == "command":
                    s["commands"] += 1
                    s["right"] += heard[name] == {COMMAND_OF.get(r[3])}
                else:
                    s["others"] += 1
                    s["taken"] += bool(heard[name])
            if kind == "other" and heard[name] & severe_commands:
                severe.append(name)
        print(os.path.basename(os.path.normpath(corpus)))
        for key in sorted(stats, key=lambda k: (k != "all", not k.startswith("fitting"), k)):
            s = stats[key]
            print("  %-30s commands right %s   others taken %s" % (
                key, "%5.1f%% of %4d" % (100.0 * s["right"] / s["commands"], s["commands"]) if s["commands"] else
                " " * 13, "%4.1f%% (%d of %d)" % (100.0 * s["taken"] / s["others"], s["taken"], s["others"])
                if s["others"] else ""))
        print("  others taken for the wake word or 911: %d %s" % (len(severe), " ".join(severe)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
