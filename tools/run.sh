#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Vellumix (release) and starts it. Installs what it needs first (Debian 12, as root).
# Arguments are passed to the program (a file name to open).
set -euo pipefail
cd "$(dirname "$0")/.."
./tools/setup-debian.sh
build=${VELLUMIX_BUILD:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELLUMIX_TESTS=OFF
cmake --build "$build" --parallel "$(nproc)" --target vellumix dictionaries
exec "$build/bin/vellumix" "$@"
