#!/usr/bin/env bash
# Checks a built Debian package as a user meets it (as root, on a test machine):
#   tools/check-package.sh <build folder>
# Makes the package there with cpack, runs lintian (errors fail), installs it with apt-get,
# runs /usr/bin/vellumix-spell with the installed dictionaries, starts /usr/bin/vellumix with a
# file under a virtual display and waits for its window, checks that nothing was written below
# /usr, then removes the package and checks that none of its files is left.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:?usage: $0 <build folder>}
[[ $(id -u) -eq 0 ]] || { echo "check-package.sh installs a package: run it as root" >&2; exit 1; }

(cd "$build" && rm -f vellumix_*.deb && cpack -G DEB >/dev/null)
deb=$(ls "$PWD/$build"/vellumix_*_amd64.deb)
echo "package: $deb"

echo "lintian:"
lintian --tag-display-limit 0 "$deb" | tee "$build/lintian.txt" || true
if grep -q '^E:' "$build/lintian.txt"; then
  echo "lintian reports errors" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
apt-get install -y -qq "$deb" >/dev/null
installed=$(dpkg -L vellumix)
fail() { echo "package check: $*" >&2; apt-get purge -y -qq vellumix >/dev/null || true; exit 1; }

for file in /usr/bin/vellumix /usr/bin/vellumix-spell /usr/share/vellumix/English.dct \
            /usr/share/vellumix/velx96.hlp /usr/share/vellumix/tips.txt /usr/share/vellumix/readme.txt \
            /usr/share/applications/vellumix.desktop /usr/share/metainfo/org.vellumix.Vellumix.metainfo.xml \
            /usr/share/man/man1/vellumix.1.gz /usr/share/man/man1/vellumix-spell.1.gz \
            /usr/share/icons/hicolor/scalable/apps/vellumix.svg /usr/share/doc/vellumix/copyright; do
  [[ -e $file ]] || fail "$file is not installed"
done
desktop-file-validate /usr/share/applications/vellumix.desktop || fail "the desktop entry does not validate"
appstreamcli validate --no-net /usr/share/metainfo/org.vellumix.Vellumix.metainfo.xml >/dev/null ||
  fail "the metainfo file does not validate"
man -w vellumix >/dev/null && man -w vellumix-spell >/dev/null || fail "a manual page is missing"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# The spell tool finds the installed dictionaries without being told where they are.
printf 'the quick brown fox\nteh qiuck brwon fox\n' >"$scratch/words.txt"
unknown=$(env -u VELLUMIX_DATA_DIR /usr/bin/vellumix-spell list "$scratch/words.txt")
[[ $unknown == $'teh\nqiuck\nbrwon' ]] || fail "vellumix-spell listed '$unknown'"
echo "vellumix-spell: ok"

# The program starts from /usr/bin with a file name, shows its window, and writes nothing
# below /usr (its settings go to the private HOME).
mkdir -p "$scratch/home/.config/Kestrelwick"
printf 'Letter to check\n' >"$scratch/letter.txt"
# A user who has been through the first-start wizard already, so the main window comes up.
printf 'Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Kestrelwick\\Vellumix\\Main Form]\n"FirstTime_Checked"="False"\n' \
  >"$scratch/home/.config/Kestrelwick/Vellumix.reg"
touch "$scratch/marker"
sleep 1
HOME=$scratch/home XDG_CONFIG_HOME=$scratch/home/.config XDG_DATA_HOME=$scratch/home/.local/share \
  env -u VELLUMIX_DATA_DIR -u QT_QPA_PLATFORM \
  xvfb-run -a -s '-screen 0 1024x768x24' sh -c '
    /usr/bin/vellumix "$1" & pid=$!
    for i in $(seq 1 60); do
      # The main window with the file: its title names it, and it has a real size.
      shown=$(xwininfo -root -tree 2>/dev/null | grep -m1 -E "\"Vellumix - \[letter.txt\]\": \(.*\) +[0-9]{3,}x[0-9]{3,}")
      if [ -n "$shown" ]; then
        echo "$shown"; kill $pid; wait $pid 2>/dev/null; exit 0
      fi
      kill -0 $pid 2>/dev/null || exit 3
      sleep 1
    done
    kill $pid; exit 2' sh "$scratch/letter.txt" || fail "the program showed no window (status $?)"
written=$(find /usr -newer "$scratch/marker" -type f 2>/dev/null | grep -v -E '^/usr/(lib/python3|share/fonts)' || true)
[[ -z $written ]] || fail "the program wrote below /usr: $written"
echo "vellumix: window shown"

apt-get purge -y -qq vellumix >/dev/null
left=""
while IFS= read -r path; do
  [[ -f $path || -L $path ]] && left+="$path "
done <<<"$installed"
[[ -z $left ]] || { echo "files left after removal: $left" >&2; exit 1; }
echo "package check: installed, used and removed cleanly"
