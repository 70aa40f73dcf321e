#!/usr/bin/env python3
"""Fits the weights with which the recogniser judges whether an utterance is its best phrase.

    bench/recognition_fit.py CORPUS_DIR [CORPUS_DIR...]

Reads each CORPUS_DIR/results.tsv, written by bench/recognition_score.py (which runs hushby-listen
--scores; with --segment, a line per utterance cut from a file), fits a logistic model on the
utterances of the fitting voices, refines it for the commands let through at the false-acceptance
goal (which each corpus must meet on its own: the synthetic sentences and the real recordings of
bench/real_speech_corpus.py alike), chooses how much more certainty a one-word phrase needs, and
prints the weights and thresholds for src/voice/command_decoder.cpp with the figures
they give on the fitting voices and on the held-out voices, overall and per voice group. The features are read as hushby-listen
--scores prints them (name=value, scaled by the decoder), and the weights print in their order.
"""
import argparse
import math
import os
import random
import sys
from collections import defaultdict
from statistics import median

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from recognition_score import COMMAND_OF, SEVERE, fit_voices  # noqa: E402

# Non-commands weigh more: accepting one costs more than asking the sitter to say it again.
OTHER_WEIGHT = 3.0
FALSE_ACCEPT_GOAL = 0.01
# The decoder rejects a phrase that leaves more than 30% of the speech to silence (MostExtraSpeech),
# here as the scaled feature.
MOST_EXTRA_SPEECH = 0.3 * 5
# hushby-listen --scores prints the phrase and this many figures before the features.
FIGURES = 14
# A phrase's own figures are drawn towards those of all phrases as if this many more of its
# utterances had the median of all: a phrase heard from few voices gets a small offset.
PHRASE_PRIOR = 5


def features(f):
    """The names and values of the features the decoder weighed for an utterance."""
    # The warp the utterance was decoded at is shown, not weighed.
    pairs = [field.split("=", 1) for field in f[FIGURES:] if not field.startswith("warp=")]
    if not pairs or any(len(p) != 2 for p in pairs):
        sys.exit("results.tsv has no features: run bench/recognition_score.py with a current hushby-listen")
    return [name for name, _ in pairs], [float(value) for _, value in pairs]


def phrase_medians(items):
    """What each feature is when the phrase is truly spoken: the median over the fitting voices'
    utterances rightly heard as it, drawn towards the median over every phrase. Judging an
    utterance against its phrase's own figures keeps hard phrases (short words, "stop") from
    being rejected for what every voice does with them. Only commands go into it, never the
    sentences, so it learns nothing of what else people say."""
    spoken = defaultdict(list)
    for fit_voice, kind, right, words, x, group, source in items:
        if fit_voice and right:
            spoken[words].append(x)
    every = [median(column) for column in zip(*[x for xs in spoken.values() for x in xs])]
    return every, {words: [(median(column) * len(xs) + e * PHRASE_PRIOR) / (len(xs) + PHRASE_PRIOR)
                           for column, e in zip(zip(*xs), every)]
                   for words, xs in spoken.items()}


def fit(samples, l2=0.003, rounds=4000, rate=0.5):
    w = [0.0] * (len(samples[0][0]) + 1)
    for _ in range(rounds):
        grad = [0.0] * len(w)
        for x, y, weight in samples:
            z = sum(a * b for a, b in zip(w, x + [1.0]))
            p = 1 / (1 + math.exp(-max(-30.0, min(30.0, z))))
            for i, v in enumerate(x + [1.0]):
                grad[i] += weight * (p - y) * v
        w = [wi - rate * (g / len(samples) + l2 * wi) for wi, g in zip(w, grad)]
    return w


def one_word(words):
    return " " not in words


def operating_point(w, items, n_commands, n_others, goal=FALSE_ACCEPT_GOAL, one_word_extra=0.0):
    """Commands right and the threshold at which at most `goal` of each corpus's non-commands are
    taken, over the phrases that share the general threshold (not the wake word nor 911). A one-word
    phrase needs one_word_extra more. n_others holds each corpus's count of non-command files."""
    scored = [(i, sum(a * b for a, b in zip(w, i[4] + [1.0])) - (one_word_extra if one_word(i[3]) else 0.0))
              for i in items if i[3] not in SEVERE]
    threshold = float("-inf")
    for source, n in n_others.items():
        others = sorted((s for i, s in scored if i[1] == "other" and i[6] == source), reverse=True)
        k = int(goal * n)
        if k < len(others):
            threshold = max(threshold, others[k])
    right = sum(1 for i, s in scored if i[2] and s > threshold)
    return right / max(1, n_commands), threshold


def best_one_word_extra(w, items, n_commands, n_others):
    """How much more certainty one-word phrases need for the most commands at the goal: most real
    talk taken for a command is a single word ("Ow" as "stop"), and a word has little to tell it
    from another word."""
    best = (operating_point(w, items, n_commands, n_others)[0], 0.0)
    for step in range(1, 41):
        extra = step / 10
        best = max(best, (operating_point(w, items, n_commands, n_others, one_word_extra=extra)[0], -extra))
    return -best[1]


def refine(w, items, n_commands, n_others, rounds=1500, step=0.3, one_word_extra=0.0, held=()):
    """The logistic fit weighs every utterance alike; what counts is how many commands pass at
    the false-acceptance goal. A seeded random search from the fit improves that directly; no
    weight may change sign, so that each feature keeps the meaning the fit gave it."""
    rng = random.Random(1)
    signs = [math.copysign(1, v) for v in w]
    best, _ = operating_point(w, items, n_commands, n_others, one_word_extra=one_word_extra)
    for _ in range(rounds):
        i = rng.randrange(len(w) - 1)  # the bias only shifts the threshold
        if i in held:
            continue
        cand = list(w)
        cand[i] += rng.choice((-1, 1)) * step * rng.random()
        if cand[i] * signs[i] < 0:
            continue
        value, _ = operating_point(cand, items, n_commands, n_others, one_word_extra=one_word_extra)
        if value >= best:
            best, w = value, cand
    return w


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--without", action="append", default=[], metavar="FEATURE",
                        help="fit with this feature's weight held at 0 (to see what it is worth)")
    parser.add_argument("corpus", nargs="+")
    args = parser.parse_args()
    rows = []
    for source, corpus in enumerate(args.corpus):
        rows += [line.rstrip("\n").split("\t") + [source]
                 for line in open(os.path.join(corpus, "results.tsv")) if line.strip()]
    items = []
    names = None
    fitting_voices = fit_voices(rows)
    for r in rows:
        kind, phrase, voice, f, source = r[1], r[3], r[5], r[9:-1], r[-1]
        row_names, x = features(f)
        if names is not None and row_names != names:
            sys.exit("results.tsv mixes features of different hushby-listen builds: score the corpus again")
        names = row_names
        words = f[1]
        if words not in COMMAND_OF and words != "nine one one":
            continue  # no whole phrase: rejected whatever the weights
        if x[names.index("extraSpeech")] > MOST_EXTRA_SPEECH:
            continue  # a word out of a sentence: rejected whatever the weights
        right = kind == "command" and COMMAND_OF[words if words in COMMAND_OF else "911"] == COMMAND_OF.get(phrase)
        items.append((voice in fitting_voices, kind, right, words, x, r[8], source))
    unknown = set(args.without) - set(names)
    if unknown:
        sys.exit("no such feature: %s" % ", ".join(sorted(unknown)))
    held_at_zero = [names.index(n) for n in args.without]
    every, own = phrase_medians(items)
    # A feature held at 0 is 0 in every utterance: its weight neither learns nor moves.
    items = [i[:4] + ([0.0 if k in held_at_zero else a - b
                       for k, (a, b) in enumerate(zip(i[4], own.get(i[3], every)))],) + i[5:] for i in items]

    def counts(wanted, group=None):
        def chosen(r):
            return (r[5] in fitting_voices) == wanted and (group is None or r[8] == group)
        commands = len({r[0] for r in rows if chosen(r) and r[1] == "command"})
        others = defaultdict(set)
        for r in rows:
            if chosen(r) and r[1] == "other":
                others[r[-1]].add(r[0])
        return commands, {source: len(names) for source, names in others.items()}

    fitting = [(x, 1.0 if right else 0.0, 1.0 if kind == "command" else OTHER_WEIGHT)
               for fit_voice, kind, right, words, x, group, source in items if fit_voice]
    n_commands, n_others = counts(True)
    fitting_items = [i for i in items if i[0]]
    w = fit(fitting)
    w = refine(w, fitting_items, n_commands, n_others, held=held_at_zero)
    extra = best_one_word_extra(w, fitting_items, n_commands, n_others)
    w = refine(w, fitting_items, n_commands, n_others, one_word_extra=extra, held=held_at_zero)
    extra = best_one_word_extra(w, fitting_items, n_commands, n_others)
    score = {id(i): sum(a * b for a, b in zip(w, i[4] + [1.0])) for i in items}
    _, threshold = operating_point(w, fitting_items, n_commands, n_others, one_word_extra=extra)

    # The decoder adds the phrase's offset to the weighted features and its bias; a phrase with
    # no offset is judged as the average phrase.
    bias = w[-1] - sum(a * b for a, b in zip(w, every))
    print("weights (%s, bias):" % ", ".join(names))
    print("  {%s}" % ", ".join("%.4f" % v for v in w[:-1] + [bias]))
    print("phrase offsets:")
    for words in sorted(own):
        print('    {"%s", %.4f},' % (words, -sum(a * (b - e) for a, b, e in zip(w, own[words], every))))
    print("threshold for a false acceptance of at most %.0f%% on each corpus's fitting voices: %.2f, "
          "one-word phrases %.2f" % (100 * FALSE_ACCEPT_GOAL, threshold, threshold + extra))
    # The wake word and 911 get thresholds of their own, above every non-command of the corpora.
    needed = {}
    for words in ("hushby", "nine one one"):
        top = max([score[id(i)] for i in items if i[1] == "other" and i[3] == words] or [float("-inf")])
        needed[words] = math.ceil(top * 10 + 1) / 10
        print("highest non-command taken for %s, all voices: %.2f (threshold %.1f)" % (words, top, needed[words]))
    groups = sorted({r[8] for r in rows})
    for label, wanted, group in [("fitting voices", True, None), ("held-out voices", False, None)] + \
            [("held-out " + g, False, g) for g in groups]:
        commands, others = counts(wanted, group)
        taken = [i for i in items if i[0] == wanted and (group is None or i[5] == group)
                 and score[id(i)] > needed.get(i[3], threshold + (extra if one_word(i[3]) else 0))]
        right = sum(1 for i in taken if i[2])
        print("%-28s commands right %5.1f%%, others accepted %s" % (
            label, 100.0 * right / max(1, commands),
            ", ".join("%4.1f%% of %s" % (100.0 * len({id(i) for i in taken if i[1] == "other" and i[6] == source})
                                         / max(1, n), os.path.basename(os.path.normpath(args.corpus[source])))
                      for source, n in sorted(others.items()))))
    # How well the weights separate commands from sentences on voices they never saw, whatever
    # the threshold: the figure to compare features and fits by.
    held_commands, held_others = counts(False)
    print("held-out commands right when 1%% / 2%% of each corpus's held-out others are taken: %s"
          % " / ".join("%.1f%%" % (100 * operating_point(w, [i for i in items if not i[0]], held_commands, held_others,
                                                           goal, extra)[0])
                       for goal in (0.01, 0.02)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
