#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the Debian package as a user meets it (as root; needs the network to Debian's mirror
# the first time):
#   tools/check-package.sh <build folder>|<package.deb>
# With a build folder, the package is made there with cpack first.
#
# 1. lintian --pedantic: no error, and no other tag than the ones the README explains.
# 2. hardening-check on every program in the package (fortify, stack protector, relro,
#    bindnow, PIE).
# 3. Twice, once with and once without the Recommends: a clean Debian 12 root made with
#    debootstrap --variant=minbase (kept as a tarball in the cache folder, so only the first
#    run downloads it) gets the package's dependencies, then the package, with apt-get. There,
#    as an unprivileged user with a fresh HOME, under a virtual display: --version and --help,
#    vellumix-spell with the installed dictionaries, the program with a file (the first-start
#    wizard, the main window, F1 with the help contents, printing to a PDF file, File|Exit).
#    Nothing may be written outside that HOME. Then the package is purged and nothing of it
#    may be left.
#
# VELLUMIX_CHECK_CACHE names the cache folder (default /var/cache/vellumix-package-check),
# VELLUMIX_CHECK_MIRROR the Debian mirror (default http://deb.debian.org/debian),
# VELLUMIX_CHECK_KEEP=1 keeps the work folder (the roots and the program's output) for a look.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
arg=${1:?usage: $0 <build folder>|<package.deb>}
[[ $(id -u) -eq 0 ]] || { echo "check-package.sh installs into clean roots: run it as root" >&2; exit 1; }
for tool in debootstrap lintian hardening-check Xvfb xwininfo xdotool pdftotext python3 \
            desktop-file-validate appstreamcli; do
  command -v "$tool" >/dev/null || { echo "check-package.sh needs $tool: run tools/setup-debian.sh" >&2; exit 1; }
done

cache=${VELLUMIX_CHECK_CACHE:-/var/cache/vellumix-package-check}
mirror=${VELLUMIX_CHECK_MIRROR:-http://deb.debian.org/debian}
suite=bookworm
base=$cache/$suite-minbase.tar
mkdir -p "$cache/archives/partial"

if [[ -d $arg ]]; then
  (cd "$arg" && rm -f vellumix_*.deb && cpack -G DEB >/dev/null)
  deb=$(ls "$(cd "$arg" && pwd)"/vellumix_*_amd64.deb)
else
  deb=$(cd "$(dirname "$arg")" && pwd)/$(basename "$arg")
fi
echo "package: $deb"

work=$(mktemp -d /var/tmp/vellumix-check.XXXXXX)
mounts=()
xvfb=""
cleanup() {
  [[ -n $xvfb ]] && kill "$xvfb" 2>/dev/null || true
  local i
  for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do umount -l "${mounts[i]}" 2>/dev/null || true; done
  if [[ ${VELLUMIX_CHECK_KEEP:-0} == 1 ]]; then echo "work folder kept: $work"; else rm -rf "$work"; fi
}
trap cleanup EXIT
fail() { echo "package check: $*" >&2; exit 1; }
step() { printf '%(%H:%M:%S)T %s\n' -1 "$*"; }

# ---- lintian ------------------------------------------------------------------------------
# Tags the README explains (section "The Debian package"); any other tag fails the check.
explained=(
  # The dictionaries (7 MB) are most of the package; one package is simpler than an
  # architecture-independent data package beside it.
  arch-dep-package-has-big-usr-share
  # vellumix-spell makes no call that fortify can check (hardening-check shows the same);
  # vellumix, from the same build, shows checked calls.
  hardening-no-fortify-functions
  # "ment" is a word ending in the spell checker's list of endings that are no words on
  # their own (a suggestion is never split into one), not a misspelling.
  spelling-error-in-binary
  # The readme and the tips are data the program opens (Help|What's New, the tips panel).
  package-contains-documentation-outside-usr-share-doc
)
step "lintian --pedantic"
# lintian ends with 1 when it reports an error, with more when it could not check at all.
status=0
lintian --pedantic --display-info --tag-display-limit 0 "$deb" >"$work/lintian.txt" 2>&1 || status=$?
cat "$work/lintian.txt"
((status <= 1)) || fail "lintian could not check the package (status $status)"
unexplained=$(grep -E '^[EWIP]: ' "$work/lintian.txt" | awk '{print $3}' | sort -u |
  grep -v -x -F -f <(printf '%s\n' "${explained[@]}") || true)
[[ -z $unexplained ]] || fail "lintian tags the README does not explain: $(echo $unexplained)"

# ---- hardening ----------------------------------------------------------------------------
# The five features Debian's flags give (dpkg-buildflags, hardening=+all on Debian 12): PIE,
# stack protector, fortify, relro, bindnow; hardening-check's newer ones (stack clash, control
# flow) are not part of that set. Fortify replaces a call with its checked variant only where
# the compiler knows the size of the target; a program all of whose calls are of the other
# kind shows "only unprotected functions found" although it is built with the flag, so that
# answer counts as built when vellumix itself (the same build, the same flags) shows checked
# calls.
step "hardening-check"
mkdir "$work/unpacked"
dpkg-deb -x "$deb" "$work/unpacked"
programs=$(find "$work/unpacked" -type f -perm -u+x -exec sh -c 'file -b "$1" | grep -q "^ELF"' sh {} \; -print | sort)
[[ -n $programs ]] || fail "the package holds no program"
hardening-check "$work/unpacked/usr/bin/vellumix" >"$work/hardening.txt" 2>&1 || true
grep -q "Fortify Source functions: yes" "$work/hardening.txt" || fail "/usr/bin/vellumix shows no fortified call"
for program in $programs; do
  hardening-check "$program" >"$work/hardening.txt" 2>&1 || true
  for feature in "Position Independent Executable: yes" "Stack protected: yes" \
                 "Read-only relocations: yes" "Immediate binding: yes" \
                 "Fortify Source functions: (yes|unknown, no protectable|no, only unprotected)"; do
    grep -q -E "^ $feature" "$work/hardening.txt" || {
      cat "$work/hardening.txt"; fail "${program#"$work"/unpacked} lacks '${feature%%:*}'"; }
  done
  echo "  ${program#"$work"/unpacked}: PIE, stack protector, fortify, relro, bindnow"
done

# ---- the clean root -----------------------------------------------------------------------
if [[ ! -f $base ]]; then
  step "making a $suite minbase root (once; kept as $base)"
  fresh=$(mktemp -d "$cache/make.XXXXXX")
  debootstrap --variant=minbase --cache-dir="$cache/archives" "$suite" "$fresh/root" "$mirror" \
    >"$fresh/debootstrap.log" 2>&1 || { tail -20 "$fresh/debootstrap.log"; fail "debootstrap failed"; }
  cat >"$fresh/root/etc/apt/sources.list" <<EOF
deb $mirror $suite main
deb $mirror $suite-updates main
deb ${mirror%/debian}/debian-security $suite-security main
EOF
  chroot "$fresh/root" apt-get clean
  tar -C "$fresh/root" --numeric-owner -cf "$base.part" .
  mv "$base.part" "$base"
  rm -rf "$fresh"
fi

# A file list of a root: path, modification time, size. The user's HOME, the kernel's
# folders and apt's download cache are left out.
snapshot() {
  (cd "$1" && find . \( -path ./proc -o -path ./sys -o -path ./dev -o -path ./var/cache/apt/archives \
      -o -path ./home/tester \) -prune -o -printf '%p\t%T@\t%s\n') | sort
}

# Xvfb runs outside the roots: the programs there reach it through its abstract socket.
step "starting Xvfb"
exec 5>"$work/display"
Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
exec 5>&-
for _ in $(seq 1 100); do [[ -s $work/display ]] && break; sleep 0.1; done
[[ -s $work/display ]] || fail "Xvfb did not start"
export DISPLAY=:$(head -1 "$work/display")

# Waits up to $2 seconds for a top-level window named exactly $1 with a real size; prints its id.
wait_window() {
  local id
  for _ in $(seq 1 $(($2 * 4))); do
    id=$(xwininfo -root -tree 2>/dev/null | awk -v name="\"$1\":" '
      index($0, name) {
        for (i = 1; i <= NF; i++)
          if ($i ~ /^[0-9]+x[0-9]+[+-]/) { split($i, size, "x"); if (size[1] + 0 >= 100) { print $1; exit } }
      }')
    [[ -n $id ]] && { echo "$id"; return 0; }
    [[ -n ${app:-} ]] && ! kill -0 "$app" 2>/dev/null && return 1
    sleep 0.25
  done
  return 1
}
keys() {  # keys <window> <key>...: gives the window the keyboard and types the keys
  local window=$1; shift
  timeout 5 xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
  xdotool key --delay 150 "$@"
}

check_in_root() {  # check_in_root with|without
  local mode=$1 root=$work/root-$1 user=tester uid=4242
  local home=$root/home/$user
  step "[$mode Recommends] preparing a clean root"
  mkdir "$root"
  tar -C "$root" -xf "$base"
  cp /etc/resolv.conf "$root/etc/resolv.conf"
  # No service starts inside the root.
  printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
  chmod 755 "$root/usr/sbin/policy-rc.d"
  mount -t proc proc "$root/proc"; mounts+=("$root/proc")
  mount --bind "$cache/archives" "$root/var/cache/apt/archives"; mounts+=("$root/var/cache/apt/archives")
  cp "$deb" "$root/var/tmp/vellumix.deb"
  in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive LANG=C.UTF-8 "$@"; }
  in_root apt-get update -qq >"$work/$mode-apt.log" 2>&1 || { tail "$work/$mode-apt.log"; fail "apt-get update failed in the root"; }
  in_root useradd --create-home --uid $uid --shell /bin/sh "$user"
  mkdir -p "$root/run/user/$uid" && chown $uid:$uid "$root/run/user/$uid" && chmod 700 "$root/run/user/$uid"

  local recommends=(--no-install-recommends) wanted
  wanted=$(dpkg-deb -f "$deb" Depends)
  if [[ $mode == with ]]; then
    recommends=(--install-recommends)
    wanted+=", $(dpkg-deb -f "$deb" Recommends)"
  fi
  step "[$mode Recommends] installing the dependencies"
  in_root apt-get satisfy -y -qq "${recommends[@]}" "$wanted" >>"$work/$mode-apt.log" 2>&1 ||
    { tail -20 "$work/$mode-apt.log"; fail "the dependencies do not install"; }
  in_root rm -f /var/cache/apt/pkgcache.bin /var/cache/apt/srcpkgcache.bin
  snapshot "$root" >"$work/$mode-0.txt"
  step "[$mode Recommends] installing the package ($(in_root dpkg-query -W -f='${binary:Package}\n' | wc -l) packages before it)"
  in_root apt-get install -y -qq "${recommends[@]}" /var/tmp/vellumix.deb >>"$work/$mode-apt.log" 2>&1 ||
    { tail -20 "$work/$mode-apt.log"; fail "the package does not install"; }
  in_root dpkg-query -W -f='${Installed-Size}\n' | awk '{s += $1} END {printf "  installed: %d packages, %.0f MiB\n", NR, s / 1024}'
  local files
  files=$(in_root dpkg -L vellumix)
  for file in /usr/bin/vellumix /usr/bin/vellumix-spell /usr/libexec/vellumix/vellumix-convert-pandoc \
              /usr/libexec/vellumix/vellumix-convert-office /usr/share/vellumix/English.dct \
              /usr/share/vellumix/velx96.hlp /usr/share/vellumix/readme.txt \
              /usr/share/applications/vellumix.desktop /usr/share/metainfo/org.vellumix.Vellumix.metainfo.xml \
              /usr/share/man/man1/vellumix.1.gz /usr/share/doc/vellumix/copyright; do
    [[ -e $root$file ]] || fail "$file is not installed"
  done
  desktop-file-validate "$root/usr/share/applications/vellumix.desktop" || fail "the desktop entry does not validate"
  appstreamcli validate --no-net --pedantic "$root/usr/share/metainfo/org.vellumix.Vellumix.metainfo.xml" ||
    fail "the metainfo file does not validate"
  rm -f "$root/var/tmp/vellumix.deb"
  snapshot "$root" >"$work/$mode-1.txt"

  # The user's session: a fresh HOME, the runtime folder a login would make, the display.
  as_user() {
    chroot --userspec=$uid:$uid "$root" env -i PATH=/usr/bin:/bin HOME=/home/$user USER=$user \
      LOGNAME=$user SHELL=/bin/sh LANG=C.UTF-8 XDG_RUNTIME_DIR=/run/user/$uid DISPLAY="$DISPLAY" "$@"
  }
  step "[$mode Recommends] command line"
  local out
  out=$(as_user vellumix --version) || fail "vellumix --version failed"
  [[ $out == "Vellumix $(dpkg-deb -f "$deb" Version) for Linux" ]] || fail "vellumix --version printed '$out'"
  out=$(as_user vellumix-spell --version) || fail "vellumix-spell --version failed"
  [[ $out == "vellumix-spell $(dpkg-deb -f "$deb" Version) for Linux" ]] || fail "vellumix-spell --version printed '$out'"
  out=$(as_user vellumix --help) || fail "vellumix --help failed"
  [[ $out == "Usage: vellumix "* ]] || fail "vellumix --help printed '$out'"
  out=$(as_user env -u DISPLAY vellumix 2>&1) && fail "vellumix started without a display"
  [[ $out != *tools/* ]] || fail "the no-display message names a source-tree script: $out"
  printf 'the quick brown fox\nteh qiuck brwon fox\n' >"$home/words.txt"
  printf 'Letter to check\n' >"$home/letter.txt"
  chown $uid:$uid "$home/words.txt" "$home/letter.txt"
  out=$(as_user vellumix-spell list /home/$user/words.txt) || fail "vellumix-spell failed"
  [[ $out == $'teh\nqiuck\nbrwon' ]] || fail "vellumix-spell listed '$out'"

  step "[$mode Recommends] the program under Xvfb"
  as_user sh -c 'cd && exec vellumix letter.txt' >"$work/$mode-vellumix.log" 2>&1 &
  app=$!
  local window main help
  window=$(wait_window "Vellumix Setup..." 60) || { cat "$work/$mode-vellumix.log"; fail "the first-start wizard did not come up"; }
  # The wizard's default button turns to its next page; Escape then closes it.
  keys "$window" Return Escape
  main=$(wait_window "Vellumix - [letter.txt]" 30) || { cat "$work/$mode-vellumix.log"; fail "the main window did not come up with the file"; }
  echo "  wizard and main window shown"

  keys "$main" F1
  help=$(wait_window "Vellumix Help" 30) || fail "F1 opened no help window"
  # The help engine keeps its collection in the user's cache: it registers the installed help
  # file there (through Qt's SQLite driver), and the contents come from that file.
  local contents=""
  for _ in $(seq 1 60); do
    contents=$(python3 - "$home/.cache/vellumix/help.qhc" "$root/usr/share/vellumix/velx96.hlp" <<'EOF' 2>/dev/null || true
import sqlite3, sys
collection = sqlite3.connect(f"file:{sys.argv[1]}?mode=ro", uri=True)
paths = [row[0] for row in collection.execute("SELECT FilePath FROM NamespaceTable")]
if any(p.endswith("/usr/share/vellumix/velx96.hlp") for p in paths):
    help_file = sqlite3.connect(f"file:{sys.argv[2]}?mode=ro", uri=True)
    print(help_file.execute("SELECT count(*) FROM ContentsTable").fetchone()[0])
EOF
    )
    [[ -n $contents && $contents -gt 0 ]] && break
    sleep 0.5
  done
  [[ -n $contents && $contents -gt 0 ]] || { cat "$work/$mode-vellumix.log"; fail "the help engine did not register the help file"; }
  grep -i -q "sqlite\|database driver" "$work/$mode-vellumix.log" && fail "the help engine reported: $(cat "$work/$mode-vellumix.log")"
  echo "  help window shown, its contents registered"
  keys "$help" Escape

  # Print: no printer is set up in the root, so the program offers a PDF file in the HOME.
  keys "$main" ctrl+p
  window=$(wait_window "Confirm" 30) || fail "printing did not offer a PDF file"
  keys "$window" Return
  window=$(wait_window "Save Print-Out As" 30) || fail "printing asked for no PDF file name"
  keys "$window" Return
  for _ in $(seq 1 120); do
    [[ -s $home/letter.pdf ]] && pdftotext "$home/letter.pdf" - 2>/dev/null | grep -q "Letter to check" && break
    sleep 0.25
  done
  pdftotext "$home/letter.pdf" - 2>/dev/null | grep -q "Letter to check" || fail "the printed PDF file does not hold the text"
  echo "  printed to $(du -k "$home/letter.pdf" | cut -f1) KiB of PDF"

  keys "$main" alt+f x
  for _ in $(seq 1 120); do kill -0 "$app" 2>/dev/null || break; sleep 0.25; done
  if kill -0 "$app" 2>/dev/null; then kill "$app"; fail "File|Exit did not end the program"; fi
  wait "$app" || fail "the program ended with status $?"
  app=""
  [[ -s $home/.config/Kestrelwick/Vellumix.reg ]] || fail "the program kept no settings in the HOME"
  echo "  ended through File|Exit, settings kept in the HOME"

  # Nothing written outside the HOME (not even in the session's runtime folder or /tmp).
  snapshot "$root" >"$work/$mode-2.txt"
  local written
  written=$(comm -13 "$work/$mode-1.txt" "$work/$mode-2.txt" | cut -f1)
  [[ -z $written ]] || fail "the program wrote outside the HOME: $(echo $written)"

  step "[$mode Recommends] purging the package"
  in_root apt-get purge -y -qq vellumix >>"$work/$mode-apt.log" 2>&1 || fail "the package does not purge"
  local left=""
  while IFS= read -r path; do
    [[ -f $root$path || -L $root$path ]] && left+="$path "
  done <<<"$files"
  [[ -z $left ]] || fail "files of the package left after purging: $left"
  # Besides dpkg's and apt's own records and logs, the root is as it was before the package.
  snapshot "$root" | cut -f1 |
    grep -v -E '^\./(var/lib/(dpkg|apt)|var/log|var/cache/(debconf|apt|man|ldconfig)|etc/ld\.so\.cache)(/|$)' >"$work/$mode-3.txt" || true
  left=$(comm -13 <(cut -f1 "$work/$mode-0.txt" | sort) <(sort "$work/$mode-3.txt"))
  [[ -z $left ]] || fail "left after purging: $(echo $left)"
  for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do umount -l "${mounts[i]}" 2>/dev/null || true; done
  mounts=()
  [[ ${VELLUMIX_CHECK_KEEP:-0} == 1 ]] || rm -rf "$root"
  echo "  purged, nothing left"
}

check_in_root without
check_in_root with
step "package check: lintian, hardening, and install, use and purge with and without Recommends all passed"
