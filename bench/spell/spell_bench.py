#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Side-by-side speed and quality of vellumix-spell and hunspell on the same generated text.

The text is drawn from the American English word list with a share of words misspelt by one
edit (deletion, insertion, substitution or transposition). Measured in one run:
  * list:    words per second of `vellumix-spell list` and `hunspell -l`;
  * suggest: milliseconds per misspelling of `vellumix-spell suggest` and `hunspell -a`, and
             the share of misspellings whose intended word is among the first five suggestions;
  * quality: on the list of common misspellings kept beside this script, how often the
             intended word is the first suggestion and among the first five: for the given
             dictionary, for one built the old way from the same word list (every entry
             whatever its letter case, every single letter) and for hunspell.
When hunspell or its en_US dictionary is missing, only vellumix-spell is measured.
"""
import argparse
import os
import random
import shutil
import subprocess
import sys
import tempfile
import time

WORDS = "/usr/share/dict/american-english"
HUNSPELL_DIC = "/usr/share/hunspell/en_US.dic"
TYPOS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "misspellings.txt")


def load_words():
    with open(WORDS, encoding="utf-8") as f:
        return [w for w in (line.strip() for line in f) if w.isascii() and w.isalpha()]


def misspell(word, rng, known):
    letters = "abcdefghijklmnopqrstuvwxyz"
    for _ in range(50):
        i = rng.randrange(len(word))
        kind = rng.randrange(4)
        if kind == 0:
            bad = word[:i] + word[i + 1:]
        elif kind == 1:
            bad = word[:i] + rng.choice(letters) + word[i:]
        elif kind == 2:
            bad = word[:i] + rng.choice(letters) + word[i + 1:]
        else:
            if i + 1 >= len(word):
                continue
            bad = word[:i] + word[i + 1] + word[i] + word[i + 2:]
        if bad.lower() not in known and len(bad) > 1:
            return bad
    return None


def timed(cmd, stdin_text=None):
    start = time.perf_counter()
    result = subprocess.run(cmd, input=stdin_text, capture_output=True, text=True, encoding="utf-8")
    elapsed = time.perf_counter() - start
    if result.returncode != 0:
        sys.exit(f"{' '.join(cmd[:3])}... failed ({result.returncode}): {result.stderr.strip()}")
    return elapsed, result.stdout


def hunspell_suggestions(output):
    """Suggestion lists from `hunspell -a` output, one per checked word, in order."""
    lists = []
    for line in output.splitlines():
        if line.startswith("&"):
            lists.append([s.strip() for s in line.split(":", 1)[1].split(",")])
        elif line.startswith("#"):
            lists.append([])
        elif line.startswith("*") or line.startswith("+") or line.startswith("-"):
            lists.append(None)  # accepted as correct
    return lists


def share(pairs, lists, first):
    """The share of pairs whose intended word is among the first `first` suggestions."""
    hits = sum(1 for (bad, good), sugg in zip(pairs, lists)
               if sugg and good.lower() in [s.lower() for s in sugg[:first]])
    return hits / len(pairs)


def load_typos(path):
    with open(path, encoding="utf-8") as f:
        return [tuple(line.split()) for line in f if line.strip() and not line.startswith("#")]


def vellumix_suggestions(spell, dct, pairs):
    """(seconds, suggestion lists) of `vellumix-spell suggest` for the misspellings of pairs."""
    t, out = timed([spell, "suggest", "-d", dct, "-n", "10"] + [b for b, _ in pairs])
    lists = [line.split(": ", 1)[1].split(", ") if ": " in line and line.split(": ", 1)[1] else []
             for line in out.splitlines()]
    return t, lists


def hunspell_lists(hunspell, pairs):
    t, out = timed([hunspell, "-d", HUNSPELL_DIC[:-4], "-a"], "".join(f"^{b}\n" for b, _ in pairs))
    return t, hunspell_suggestions(out)


def quality_row(name, pairs, lists):
    return f"| {name} | {100 * share(pairs, lists, 1):.1f}% | {100 * share(pairs, lists, 5):.1f}% |"


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--spell", required=True, help="path of vellumix-spell")
    parser.add_argument("--dict", required=True, help="path of English.dct")
    parser.add_argument("--words", type=int, default=500000, help="words in the list text")
    parser.add_argument("--misspellings", type=int, default=300)
    parser.add_argument("--seed", type=int, default=1996)
    parser.add_argument("--typos", default=TYPOS, help="list of misspellings and intended words")
    args = parser.parse_args()

    rng = random.Random(args.seed)
    words = load_words()
    known = {w.lower() for w in words}
    hunspell = shutil.which("hunspell") if os.path.exists(HUNSPELL_DIC) else None

    with tempfile.TemporaryDirectory() as tmp:
        # The text: lines of twelve words, 3 in 100 misspelt, with some punctuation.
        text_words = []
        for _ in range(args.words):
            w = rng.choice(words)
            if rng.random() < 0.03:
                w = misspell(w, rng, known) or w
            text_words.append(w)
        lines = [" ".join(text_words[i:i + 12]) + rng.choice([".", ",", ";", ""])
                 for i in range(0, len(text_words), 12)]
        text_path = os.path.join(tmp, "text.txt")
        with open(text_path, "w", encoding="utf-8") as f:
            f.write("\n".join(lines) + "\n")

        pairs = []
        lower = [w for w in words if w.islower() and len(w) >= 4]
        while len(pairs) < args.misspellings:
            good = rng.choice(lower)
            bad = misspell(good, rng, known)
            if bad:
                pairs.append((bad, good))

        print(f"Text: {args.words} words; misspellings for suggestions: {len(pairs)}")
        print()
        t, out = timed([args.spell, "list", "-d", args.dict, text_path])
        vx_list = args.words / t
        vx_reported = len(out.splitlines())

        t, vx_lists = vellumix_suggestions(args.spell, args.dict, pairs)
        vx_ms = 1000 * t / len(pairs)
        vx_top5 = share(pairs, vx_lists, 5)

        # The same word list built the old way: every entry whatever its case, every letter.
        before = os.path.join(tmp, "before.dct")
        timed([args.spell, "build", "-o", before, "--case", "any", "--one-letter", "*", WORDS])
        typos = load_typos(args.typos)
        quality = [quality_row("vellumix-spell, dictionary built from every entry (before)", typos,
                               vellumix_suggestions(args.spell, before, typos)[1]),
                   quality_row("vellumix-spell, " + os.path.basename(args.dict) + " (after)", typos,
                               vellumix_suggestions(args.spell, args.dict, typos)[1])]

        if hunspell:
            t, out = timed([hunspell, "-d", HUNSPELL_DIC[:-4], "-l", text_path])
            hs_list = args.words / t
            hs_reported = len(out.splitlines())
            t, hs_lists = hunspell_lists(hunspell, pairs)
            hs_ms = 1000 * t / len(pairs)
            hs_top5 = share(pairs, hs_lists, 5)
            quality.append(quality_row("hunspell", typos, hunspell_lists(hunspell, typos)[1]))
            print("| Measure | vellumix-spell | hunspell | ratio |")
            print("|---|---|---|---|")
            print(f"| list: words per second | {vx_list:,.0f} ({vx_reported} reported) "
                  f"| {hs_list:,.0f} ({hs_reported} reported) "
                  f"| {vx_list / hs_list:.1f}x |")
            print(f"| suggest: ms per misspelling | {vx_ms:.3f} | {hs_ms:.2f} | {hs_ms / vx_ms:.1f}x faster |")
            print(f"| intended word among first five | {100 * vx_top5:.1f}% | {100 * hs_top5:.1f}% | |")
        else:
            print("hunspell or its en_US dictionary is not installed: comparison skipped.")
            print()
            print("| Measure | vellumix-spell |")
            print("|---|---|")
            print(f"| list: words per second | {vx_list:,.0f} ({vx_reported} reported) |")
            print(f"| suggest: ms per misspelling | {vx_ms:.3f} |")
            print(f"| intended word among first five | {100 * vx_top5:.1f}% |")
        print()
        print(f"Common misspellings ({len(typos)}): intended word suggested")
        print()
        print("| Suggestions from | first | among the first five |")
        print("|---|---|---|")
        print("\n".join(quality))


if __name__ == "__main__":
    main()
