#!/usr/bin/env python3
"""Scores hushby-listen on the corpus of bench/recognition_corpus.py.

    bench/recognition_score.py [--listen BUILD/hushby-listen] [--words FILE] [--every N] [--segment]
                               [--learn N [--adapt]] CORPUS_DIR

Runs hushby-listen over every file of CORPUS_DIR/manifest.tsv and prints, per voice group (and for
the voices held out of the fit of bench/recognition_fit.py apart), noise level and voice: how many
command utterances were recognised as the right command (the phrase itself or another phrase of
the same command, such as "police" for "call police"), how many as exactly
their phrase, how often the grammar's best phrase was the right command before the judging
("best": the most any judging could reach), how many non-command utterances were accepted, and
whether any of those was taken for the wake word or 911. Results per file (per utterance with
--segment) go to CORPUS_DIR/results.tsv.
"""
import argparse
import os
import re
import subprocess
import sys
from collections import defaultdict
from concurrent.futures import ThreadPoolExecutor

# Phrases that carry out the same command.
COMMANDS = [
    ["hushby"], ["cancel", "abort", "stop"], ["prepare", "diner", "prepare diner"], ["alarm off"], ["alarm on"],
    ["turn on auto dial", "on auto", "on dial"], ["turn off auto dial", "off auto", "off dial"],
    ["call parents", "call work", "where", "parents"], ["call backup", "call relation", "call can't be reached"],
    ["911", "nine one one"], ["call police", "call the police", "police"],
    ["call hospital", "call the hospital", "hospital"],
    ["call ambulance", "call an ambulance", "ambulance", "call the ambulance"],
    ["call poision", "call the poison control", "poison", "call the poison control center"],
    ["call the fire department", "call fire", "fire", "call fire department"],
    ["call doctor", "call a doctor", "doctor", "call the docter"],
    ["call pharmacy", "call the pharmacy", "pharmacy", "call a pharmacy"],
    ["call school", "call kids school", "school", "call the school"], ["sing a song", "sing"],
]
COMMAND_OF = {p: i for i, group in enumerate(COMMANDS) for p in group}
SEVERE = {"hushby", "911", "nine one one"}
DIGITS = "zero one two three four five six seven eight nine".split()


def words_of(phrase):
    """The words the recogniser's grammar holds for a phrase, as hushby-listen prints them."""
    out = re.sub(r"[0-9]", lambda m: " %s " % DIGITS[int(m.group())], phrase.lower())
    return " ".join(re.findall(r"[^\W\d_]+(?:'[^\W\d_]*)*", out))


# The command of the grammar's best phrase, taken or not: how good the choice is before judging.
COMMAND_OF_WORDS = {words_of(p): i for p, i in COMMAND_OF.items()}


def fit_voices(rows):
    """The voices the recogniser's judging weights are fitted on (bench/recognition_fit.py): every
    other voice of each group, by name, so that each group has voices on both sides. The rest are
    held out, and their figures are the ones to trust."""
    by_group = defaultdict(set)
    for r in rows:
        by_group[r[8]].add(r[5])
    return {v for voices in by_group.values() for v in sorted(voices)[::2]}


# Files whose last utterance had not ended 1.5 s after the recording, with the room going on.
UNENDED = set()


# With --segment, the scores of every utterance cut from a file, for bench/recognition_fit.py.
UTTERANCES = defaultdict(list)


def learned_warp(listen, words, corpus, names, adaptation=None):
    """The warp hushby-listen --learn settles on after hearing these files as a family's commands;
    with adaptation, the model's adaptation to the commands heard in them is written there (none
    when it cannot be made)."""
    cmd = [listen, "--words", words, "--learn"] + (["--adaptation", adaptation] if adaptation else []) + \
        [os.path.join(corpus, n) for n in names]
    done = subprocess.run(cmd, capture_output=True, text=True)
    out = done.stdout.splitlines()
    if adaptation and done.returncode:
        sys.stderr.write(done.stderr)
        if os.path.exists(adaptation):
            os.remove(adaptation)
    return out[-1].split("\t")[-1].strip().replace("warp=", "") if out else "1.00"


def run(listen, words, corpus, names, segment, warp=None, adaptation=None):
    mode = ["--segment", "--scores"] if segment else ["--scores"]
    if warp:
        mode += ["--warp", warp]
    if adaptation and os.path.exists(adaptation):
        mode += ["--adaptation", adaptation]
    cmd = [listen, "--words", words] + mode + [os.path.join(corpus, n) for n in names]
    out = subprocess.run(cmd, check=True, capture_output=True, text=True).stdout
    results = {}
    for line in out.splitlines():
        fields = line.split("\t")
        name = os.path.basename(fields[0])
        if len(fields) > 2 and fields[2] == "no end of speech":
            UNENDED.add(name)
            continue
        if not segment:
            results[name] = fields[1:]
            continue
        if len(fields) > 2:
            UTTERANCES[name].append(fields[1:])
        # A file cut into several utterances counts as heard right only if every phrase taken
        # from it is its command; the phrases are joined so that anything else counts as wrong.
        heard = [p for p in results.get(name, [""])[0].split("|") + fields[1:2] if p]
        if len({COMMAND_OF.get(p, p) for p in heard}) > 1:
            results[name] = ["|".join(heard)]
        else:
            results[name] = [heard[0] if heard else ""]
    return results


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--listen", default=os.path.join(os.environ.get("HUSHBY_BUILD_DIR", "build"), "hushby-listen"))
    parser.add_argument("--words", default=os.path.join(here, "..", "resources", "words.txt"))
    parser.add_argument("--every", type=int, default=1, help="score every Nth file only, for a quick look")
    parser.add_argument("--segment", action="store_true",
                        help="cut each file into utterances as the microphone's audio is (no 'best')")
    parser.add_argument("--learn", type=int, default=0, metavar="N",
                        help="decode each voice at the warp learnt from its first N commands")
    parser.add_argument("--adapt", action="store_true",
                        help="with --learn, also adapt the model to each voice's first N commands")
    parser.add_argument("corpus")
    args = parser.parse_args()

    rows = [line.rstrip("\n").split("\t") for line in open(os.path.join(args.corpus, "manifest.tsv")) if line.strip()]
    rows = rows[::args.every]
    names = [r[0] for r in rows]
    batches = [(names[i:i + 100], None) for i in range(0, len(names), 100)]
    if args.learn:
        # Each voice as a family: its warp learnt from its first few commands, then every file of
        # it decoded at that warp.
        by_voice = defaultdict(list)
        for r in rows:
            by_voice[r[5]].append(r)
        def adaptation(v):
            return os.path.join(args.corpus, "adaptation-%s.txt" % v) if args.adapt else None
        with ThreadPoolExecutor(max_workers=2) as pool:
            warps = dict(zip(by_voice, pool.map(
                lambda v: learned_warp(args.listen, args.words, args.corpus,
                                       [r[0] for r in by_voice[v] if r[1] == "command"][:args.learn],
                                       adaptation(v)), by_voice)))
        print("learnt warps: " + ", ".join("%s %s" % (v, warps[v]) for v in sorted(warps)))
        batches = [([r[0] for r in by_voice[v]], warps[v], adaptation(v)) for v in by_voice]
    else:
        batches = [b + (None,) for b in batches]
    results = {}
    with ThreadPoolExecutor(max_workers=2) as pool:
        for part in pool.map(lambda b: run(args.listen, args.words, args.corpus, b[0], args.segment, b[1], b[2]),
                             batches):
            results.update(part)
    with open(os.path.join(args.corpus, "results.tsv"), "w") as f:
        for r in rows:
            for fields in UTTERANCES.get(r[0], []) if args.segment else [results.get(r[0], ["?"])]:
                f.write("\t".join(r + fields) + "\n")

    stats = defaultdict(lambda: defaultdict(int))
    severe = []
    wrong = defaultdict(int)
    fitting = fit_voices(rows)
    for name, kind, text, phrase, synth, voice, rate, noise, group in rows:
        heard = results.get(name, [""])[0]
        severe_heard = [p for p in heard.split("|") if p in SEVERE]
        best = results.get(name, ["", ""])[1] if len(results.get(name, [])) > 1 else ""
        held = "fitting voices" if voice in fitting else "held-out voices"
        held_group = ("fitting " if voice in fitting else "held-out ") + group
        for key in ("all", held, held_group, group, noise, voice + (" (fit)" if voice in fitting else "")):
            s = stats[key]
            if kind == "command":
                s["commands"] += 1
                s["right"] += heard != "" and COMMAND_OF.get(heard) == COMMAND_OF.get(phrase)
                s["exact"] += heard == phrase
                s["best"] += COMMAND_OF_WORDS.get(best, -1) == COMMAND_OF.get(phrase)
                s["rejected"] += heard == ""
            else:
                s["others"] += 1
                s["accepted"] += heard != ""
        if kind == "other" and severe_heard:
            severe.append((name, text, heard))
        if kind == "command" and COMMAND_OF.get(heard) != COMMAND_OF.get(phrase):
            wrong[(phrase, heard)] += 1
        if kind == "other" and heard:
            wrong[("(" + text + ")", heard)] += 1

    def pct(a, b):
        return "%5.1f%%" % (100.0 * a / b) if b else "   - "

    print("%-28s %8s %8s %8s %8s %8s %10s" % ("", "commands", "right", "exact", "best", "others", "accepted"))
    groups = sorted({r[8] for r in rows})
    first = ["all", "fitting voices", "held-out voices"] + ["held-out " + g for g in groups] + \
        ["fitting " + g for g in groups] + groups + ["clean", "20dB", "10dB"]
    keys = [k for k in first if k in stats] + sorted(k for k in stats if k not in first)
    for key in keys:
        s = stats[key]
        print("%-28s %8d %8s %8s %8s %8d %10s" % (key, s["commands"], pct(s["right"], s["commands"]),
                                                 pct(s["exact"], s["commands"]), pct(s["best"], 0 if args.segment else s["commands"]),
                                                 s["others"], pct(s["accepted"], s["others"])))
    if args.segment:
        unended = defaultdict(int)
        for name, kind, text, phrase, synth, voice, rate, noise, group in rows:
            unended[noise] += name in UNENDED
        print("speech that did not end within 1.5 s: %s" % ", ".join(
            "%s %d" % (k, unended[k]) for k in ("clean", "20dB", "10dB")))
    print("non-commands taken for the wake word or 911: %d" % len(severe))
    for name, text, heard in severe:
        print("  %s (%s) -> %s" % (name, text, heard))
    print("most frequent errors (expected -> heard, count):")
    for (expected, heard), count in sorted(wrong.items(), key=lambda kv: -kv[1])[:25]:
        print("  %-32s -> %-28s %d" % (expected, heard or "(rejected)", count))
    return 0


if __name__ == "__main__":
    sys.exit(main())
