#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""How vellumix-spell and hunspell judge real text, side by side in the same run.

  * man pages: the words flagged per 1000 words on Debian's manual pages of each language
    (man.1 and ls.1 or dpkg.1 where translated; the GPL in English), all of them and those
    the other program accepts (correct words, as far as one of the two knows);
  * prose: words flagged in short correct prose of each language (prose/<lang>.txt);
  * misspellings: on 1000 real misspellings from codespell's list (every n-th entry with a
    single intended word), how often the first suggestion is a two-word split, and how often
    the intended word is among the first five suggestions.

Both programs see the same words: the text is cut into words here (letters with inner
apostrophes; tokens holding digits, slashes, dots inside or option dashes are left out, as
code rather than prose) and handed over one word a line.
"""
import argparse
import collections
import gzip
import os
import re
import shutil
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
CODESPELL = "/usr/lib/python3/dist-packages/codespell_lib/data/dictionary.txt"

# name, .dct, hunspell dictionary, man-page language folder, prose file
LANGUAGES = [
    ("English", "English.dct", "en_US", "", "en"),
    ("British", "British.dct", "en_GB", "", "en"),
    ("French", "French.dct", "fr", "fr", "fr"),
    ("German", "German.dct", "de_DE", "de", "de"),
    ("Italian", "Italian.dct", "it_IT", "it", "it"),
    ("Spanish", "Spanish.dct", "es_ES", "es", "es"),
    ("Dutch", "Dutch.dct", "nl", "nl", "nl"),
]
PAGES = ["man.1.gz", "dpkg.1.gz", "ls.1.gz"]

TOKEN = re.compile(r"[^\s]+")
WORD = re.compile(r"^[^\W\d_]+(?:'[^\W\d_]+)*$")


def words_of(text):
    text = text.replace("\u2019", "'").replace("\u2018", "'")
    out = []
    for token in TOKEN.findall(text):
        if token.startswith("-") or "/" in token or "=" in token or "_" in token:
            continue
        token = token.strip(".,;:!?()[]{}\"'«»“”„<>*|`")
        if re.search(r"[.@:]", token):
            continue  # file names, addresses
        for part in token.split("-"):
            if WORD.match(part) and len(part) > 1:
                out.append(part)
    return out


def man_text(path):
    env = dict(os.environ, LANG="C.UTF-8", MANWIDTH="80")
    result = subprocess.run(["man", "-l", path], capture_output=True, env=env)
    return subprocess.run(["col", "-b"], input=result.stdout, capture_output=True).stdout.decode(
        "utf-8", "replace")


def flagged(cmd, words):
    result = subprocess.run(cmd, input="\n".join(words) + "\n", capture_output=True, text=True,
                            encoding="utf-8")
    if result.returncode != 0:
        sys.exit(f"{' '.join(cmd)} failed: {result.stderr.strip()}")
    return [line for line in result.stdout.splitlines() if line.strip()]


def vellumix(spell, dct):
    return [spell, "list", "-d", dct, "-"]


def hunspell(dic):
    return ["hunspell", "-d", dic, "-l"]


def per_thousand(n, total):
    return 1000.0 * n / total if total else 0.0


def codespell_pairs(count):
    pairs = []
    with open(CODESPELL, encoding="utf-8") as f:
        for line in f:
            bad, _, good = line.strip().partition("->")
            good = good.rstrip(",").strip()
            if not good or "," in good or " " in good or not bad.isalpha() or not good.isalpha():
                continue
            pairs.append((bad, good))
    step = max(1, len(pairs) // count)
    return pairs[::step][:count]


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--spell", required=True, help="path of vellumix-spell")
    parser.add_argument("--data", required=True, help="folder of the .dct files")
    parser.add_argument("--misspellings", type=int, default=1000)
    args = parser.parse_args()
    have_hunspell = shutil.which("hunspell") is not None

    print("| Dictionary | words | man pages: Vellumix /1000 | hunspell /1000 "
          "| flagged, the other accepts: Vellumix /1000 | hunspell /1000 "
          "| prose words | prose: Vellumix | hunspell |")
    print("|---|---|---|---|---|---|---|---|---|")
    for name, dct_name, dic, folder, prose in LANGUAGES:
        dct = os.path.join(args.data, dct_name)
        if not os.path.exists(dct):
            print(f"| {name} | {dct_name} not built |")
            continue
        text = ""
        base = os.path.join("/usr/share/man", folder, "man1") if folder else "/usr/share/man/man1"
        for page in PAGES:
            if os.path.exists(os.path.join(base, page)):
                text += man_text(os.path.join(base, page))
        if not folder:
            with open("/usr/share/common-licenses/GPL-3", encoding="utf-8") as f:
                text += f.read()
        words = words_of(text)
        with open(os.path.join(HERE, "prose", prose + ".txt"), encoding="utf-8") as f:
            prose_words = words_of(f.read())
        ours_list = flagged(vellumix(args.spell, dct), words)
        ours = len(ours_list)
        ours_prose = flagged(vellumix(args.spell, dct), prose_words)
        theirs, theirs_prose, ours_only, theirs_only = "-", "-", "-", "-"
        if have_hunspell and os.path.exists(f"/usr/share/hunspell/{dic}.dic"):
            theirs_list = flagged(hunspell(dic), words)
            theirs = f"{per_thousand(len(theirs_list), len(words)):.1f}"
            theirs_prose = str(len(flagged(hunspell(dic), prose_words)))
            # A word one of the two accepts is taken as correct (names of commands and options
            # that neither knows are not): how often each flags such a word.
            ours_count = collections.Counter(ours_list)
            theirs_count = collections.Counter(theirs_list)
            ours_only = f"{per_thousand(sum((ours_count - theirs_count).values()), len(words)):.1f}"
            theirs_only = (
                f"{per_thousand(sum((theirs_count - ours_count).values()), len(words)):.1f}")
        print(f"| {name} | {len(words)} | {per_thousand(ours, len(words)):.1f} | {theirs} "
              f"| {ours_only} | {theirs_only} "
              f"| {len(prose_words)} | {len(ours_prose)} {' '.join(ours_prose)} | {theirs_prose} |")

    if not os.path.exists(CODESPELL):
        print("codespell's list is not installed: misspellings skipped")
        return
    pairs = codespell_pairs(args.misspellings)
    dct = os.path.join(args.data, "English.dct")
    result = subprocess.run([args.spell, "suggest", "-d", dct, "-n", "10"] + [b for b, _ in pairs],
                            capture_output=True, text=True, encoding="utf-8")
    lists = [line.split(": ", 1)[1].split(", ") if ": " in line and line.split(": ", 1)[1] else []
             for line in result.stdout.splitlines()]
    split_first = sum(1 for s in lists if s and " " in s[0])
    first_five = sum(1 for (_, good), s in zip(pairs, lists)
                     if good.lower() in [x.lower() for x in s[:5]])
    line = (f"\nMisspellings ({len(pairs)} from codespell): two-word split first "
            f"{split_first} ({100.0 * split_first / len(pairs):.1f}%), intended word in the "
            f"first five {100.0 * first_five / len(pairs):.1f}%")
    if have_hunspell:
        out = subprocess.run(["hunspell", "-d", "en_US", "-a"], capture_output=True, text=True,
                             input="".join(f"^{b}\n" for b, _ in pairs)).stdout
        hl = []
        for row in out.splitlines():
            if row.startswith("&"):
                hl.append([x.strip() for x in row.split(":", 1)[1].split(",")])
            elif row[:1] in ("#", "*", "+", "-"):
                hl.append([])
        h_split = sum(1 for s in hl if s and " " in s[0])
        h_five = sum(1 for (_, good), s in zip(pairs, hl)
                     if good.lower() in [x.lower() for x in s[:5]])
        line += (f"; hunspell: split first {h_split}, first five "
                 f"{100.0 * h_five / len(pairs):.1f}%")
    print(line)


if __name__ == "__main__":
    main()
