#!/usr/bin/env bash
# Builds Vellumix with AddressSanitizer and UndefinedBehaviorSanitizer and runs the whole
# test suite. Installs what it needs first (Debian 12, as root).
set -euo pipefail
cd "$(dirname "$0")/.."
./tools/setup-debian.sh
build=${VELLUMIX_TEST_BUILD:-build-tests}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELLUMIX_SANITIZE=ON -DVELLUMIX_TESTS=ON
cmake --build "$build" --parallel "$(nproc)"
cd "$build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)" --timeout 300 "$@"
