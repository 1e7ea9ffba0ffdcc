#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs every system package the build, the tests and the program need on Debian 12.
# Idempotent: packages already present are left alone, and apt is only asked when one is missing.
set -euo pipefail

packages=(
  # build
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev libxkbcommon-dev libx11-dev
  googletest libgtest-dev libgmock-dev
  # running and testing windows without a display
  xvfb xauth x11-utils libxkbcommon-x11-0 libxcb-cursor0 fonts-dejavu-core qt6-qpa-plugins
  # the faces the windows are laid out for (metric-compatible with the classic ones)
  fonts-liberation2
  # word lists the dictionaries are compiled from
  wamerican wbritish wfrench wngerman witalian wspanish wdutch hunspell-en-med
  # the full dictionaries whose forms are expanded into them, and the tools that expand them
  hunspell-tools hunspell-en-us hunspell-en-gb hunspell-de-de hunspell-it hunspell-es hunspell-nl
  hunspell-fr-classical
  aspell aspell-fr
  # the benchmark: hunspell to compare with, man pages in each language, real misspellings
  hunspell codespell manpages manpages-fr manpages-de manpages-es manpages-it manpages-nl
  # a real SMTP server for the mail tests
  python3 python3-aiosmtpd
  # how a receiving system's filter judges a sent message (local rules only)
  spamassassin
  # checking printed output; a face for Chinese, Japanese and Korean text on the printed pages
  poppler-utils fonts-wqy-microhei
  # mail over TLS, the desktop's secret store
  openssl libssl-dev qtkeychain-qt6-dev curl
  # printing: a real CUPS queue that writes PDF files; the comparison tools of the benchmark
  cups cups-client cups-bsd printer-driver-cups-pdf enscript ghostscript
  # text converters for import and export
  pandoc libreoffice-writer-nogui
  # the help file and its viewer (Qt Help reads it through Qt's SQLite driver)
  qt6-tools-dev qt6-tools-dev-tools qt6-documentation-tools libqt6help6 libqt6sql6-sqlite
  # desktop integration and packaging checks: clean Debian roots to install the package in,
  # driving its windows there, hardening-check (devscripts)
  desktop-file-utils xdg-utils shared-mime-info hicolor-icon-theme appstream lintian file
  debootstrap xdotool devscripts
  # fuzzing with libFuzzer
  clang-14 libclang-rt-14-dev
  # the code's form: formatting and static checks (tools/check-hygiene.sh)
  clang-format clang-tidy
)

# What is installed, with every name an installed package provides (a virtual or
# transitional name counts as present when a package that provides it is installed).
present=$(dpkg-query -W -f='${db:Status-Status}\t${Package}\t${Provides}\n' 2>/dev/null |
  awk -F'\t' '$1 == "installed" {
    print $2
    n = split($3, names, /, */)
    for (i = 1; i <= n; i++) { sub(/ .*/, "", names[i]); if (names[i] != "") print names[i] }
  }' | sort -u)
missing=()
for p in "${packages[@]}"; do
  grep -q -x -F "$p" <<<"$present" || missing+=("$p")
done

if ((${#missing[@]})); then
  if [[ $(id -u) -ne 0 ]]; then
    echo "Missing packages: ${missing[*]}" >&2
    echo "Run this script as root (or with sudo) to install them." >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
