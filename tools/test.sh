#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Vellumix with AddressSanitizer and UndefinedBehaviorSanitizer and runs the whole
# test suite, every compiler warning an error, and checks the code's form (tools/check-hygiene.sh:
# clang-format and clang-tidy); then runs the suite once more in a Release build with Debian's
# hardening flags (faults that only an optimised build shows, tests that must not depend on the
# speed of the build), and, as root, builds the Debian package from that build and checks it:
# lintian, hardening, install, use and purge in clean Debian roots (tools/check-package.sh).
# Installs what it needs first (Debian 12, as root). Arguments go to both ctest runs.
# VELLUMIX_TEST_RELEASE=0 runs the sanitizer build only.
set -euo pipefail
cd "$(dirname "$0")/.."
./tools/setup-debian.sh
jobs=$(nproc)
build=${VELLUMIX_TEST_BUILD:-build-tests}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELLUMIX_SANITIZE=ON -DVELLUMIX_TESTS=ON \
  -DVELLUMIX_WERROR=ON
cmake --build "$build" --parallel "$jobs"
(cd "$build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$jobs" --timeout 300 "$@")
./tools/check-hygiene.sh "$build"

[[ ${VELLUMIX_TEST_RELEASE:-1} == 0 ]] && exit 0
release=${VELLUMIX_RELEASE_BUILD:-build-release}
mapfile -t flags < <(tools/buildflags.sh)
cmake -S . -B "$release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELLUMIX_TESTS=ON -DVELLUMIX_WERROR=ON \
  "${flags[@]}"
cmake --build "$release" --parallel "$jobs"
(cd "$release" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$jobs" --timeout 300 "$@")
if [[ $(id -u) -eq 0 ]]; then
  ./tools/check-package.sh "$release"
else
  echo "Not root: the package check (install and remove) is left out."
fi
