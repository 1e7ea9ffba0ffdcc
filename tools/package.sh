#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package in a Release build (no tests) with Debian's hardening flags:
#   tools/package.sh            -> vellumix_<version>_amd64.deb in the repository's top folder
# The build folder (VELLUMIX_PACKAGE_BUILD, default build-package) is kept, so a second run
# builds only what changed. Install the package with: apt install ./vellumix_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
./tools/setup-debian.sh
build=${VELLUMIX_PACKAGE_BUILD:-build-package}
mapfile -t flags < <(tools/buildflags.sh)
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELLUMIX_TESTS=OFF \
  "${flags[@]}" "${launcher[@]}"
cmake --build "$build" --parallel "$(nproc)"
(cd "$build" && rm -f vellumix_*.deb && cpack -G DEB >/dev/null)
rm -f vellumix_*_amd64.deb
cp "$build"/vellumix_*_amd64.deb .
ls vellumix_*_amd64.deb
