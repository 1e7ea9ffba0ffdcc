#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Writes every word form of an installed Debian dictionary, one a line, sorted, to OUT.
#   wordforms.sh OUT hunspell NAME   the forms of /usr/share/hunspell/NAME.dic (hunspell-tools'
#                                     unmunch with NAME.aff, or AFF=other.aff in the environment)
#   wordforms.sh OUT aspell LANG     the forms of aspell's master list for LANG
# Left out: forms that begin with an elided word ("l'acqua"; lookup takes the elision off
# itself), the fragments unmunch leaves of compound-only parts ("-technikerInnen",
# "wahl-/zc|"), and comment lines. The result is written only when complete.
set -eu
out=$1 kind=$2 name=$3
tmp="$out.tmp.$$"
trap 'rm -f "$tmp"' EXIT
case $kind in
  hunspell)
    aff=${AFF:-/usr/share/hunspell/$name.aff}
    unmunch "/usr/share/hunspell/$name.dic" "$aff" 2>/dev/null ;;
  aspell)
    aspell -d "$name" dump master | aspell -l "$name" expand | tr ' ' '\n' ;;
  *)
    echo "wordforms.sh: unknown kind $kind" >&2; exit 2 ;;
esac | grep -v -E "^[^' ]{1,7}'.|[/|[:space:][:digit:]]|^-|-\$" | LC_ALL=C sort -u -S 64M > "$tmp"
[ -s "$tmp" ] || { echo "wordforms.sh: no forms from $kind $name" >&2; exit 1; }
mv "$tmp" "$out"
trap - EXIT
