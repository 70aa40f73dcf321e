#!/usr/bin/env python3
"""Builds a corpus of real human speech for the recognition benchmark: the acted voice packs of the
Debian package hedgewars-data (short words and phrases by real speakers: "Oops", "Excellent",
"Fly away", ...). Almost none is a command, so it shows how often real talk is taken for one.

    bench/real_speech_corpus.py [--deb FILE.deb] OUTDIR

The package is fetched with `apt-get download` (not installed) unless --deb names it. Writes
OUTDIR/*.wav (16 kHz mono 16-bit, 0.4 s of silence either side, as recognition_corpus.py does) and
OUTDIR/manifest.tsv in that corpus's columns, so that bench/recognition_score.py scores it and
bench/recognition_fit.py can fit on it: the voice is the voice pack and every pack is one group,
"recorded real", so that every other pack is fitted on and the rest held out. The few clips that
say a phrase of the word list are commands. Keep it in the build tree, not in git.
"""
import argparse
import glob
import os
import subprocess
import sys
import tempfile
from concurrent.futures import ThreadPoolExecutor

# The packs spoken in English; the others are other languages.
PACKS = ["British", "Classic", "Default", "HillBilly", "Mobster", "Pirate", "Robot", "Russian", "Singer",
         "Surfer"]
VOICES_DIR = "usr/share/games/hedgewars/Data/Sounds/voices"
# Clips that say a phrase of the word list, by file name.
COMMAND_CLIPS = {"Fire": "fire"}
GROUP = "recorded real"


def fetch_deb(tmp):
    subprocess.run(["apt-get", "download", "hedgewars-data"], cwd=tmp, check=True, stdout=subprocess.DEVNULL)
    debs = glob.glob(os.path.join(tmp, "hedgewars-data_*.deb"))
    if not debs:
        sys.exit("apt-get download hedgewars-data gave no package")
    return debs[0]


def extract(deb, tmp):
    tar = subprocess.Popen(["dpkg-deb", "--fsys-tarfile", deb], stdout=subprocess.PIPE)
    subprocess.run(["tar", "-x", "-C", tmp, "--wildcards", "./" + VOICES_DIR + "/*"], stdin=tar.stdout, check=True)
    if tar.wait():
        sys.exit("cannot read %s" % deb)
    return os.path.join(tmp, VOICES_DIR)


def convert(job):
    source, path = job
    subprocess.run(["sox", source, "-r", "16000", "-c", "1", "-b", "16", path, "pad", "0.4", "0.4"],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--deb", help="the hedgewars-data package file, if already downloaded")
    parser.add_argument("out_dir")
    args = parser.parse_args()
    os.makedirs(args.out_dir, exist_ok=True)
    with tempfile.TemporaryDirectory() as tmp:
        voices = extract(os.path.abspath(args.deb) if args.deb else fetch_deb(tmp), tmp)
        rows, jobs = [], []
        for pack in PACKS:
            for source in sorted(glob.glob(os.path.join(voices, pack, "*.ogg"))):
                clip = os.path.splitext(os.path.basename(source))[0]
                phrase = COMMAND_CLIPS.get(clip, "")
                name = "real-%s-%s.wav" % (pack, clip)
                jobs.append((source, os.path.join(args.out_dir, name)))
                rows.append("\t".join([name, "command" if phrase else "other", clip, phrase, "recorded", pack, "-",
                                       "real", GROUP]))
        with ThreadPoolExecutor(max_workers=os.cpu_count() or 2) as pool:
            list(pool.map(convert, jobs))
    with open(os.path.join(args.out_dir, "manifest.tsv"), "w") as f:
        f.write("\n".join(rows) + "\n")
    print("%d files (%d commands) in %s" % (len(rows), sum("\tcommand\t" in r for r in rows), args.out_dir))
    return 0


if __name__ == "__main__":
    sys.exit(main())
