#!/usr/bin/env bash
# Builds the Debian package from a clean build folder (Release, no tests):
#   tools/package.sh            -> vellumix_<version>_amd64.deb in the repository's top folder
# Install it with: apt install ./vellumix_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
./tools/setup-debian.sh
build=${VELLUMIX_PACKAGE_BUILD:-build-package}
rm -rf "$build"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELLUMIX_TESTS=OFF
cmake --build "$build" --parallel "$(nproc)"
(cd "$build" && cpack -G DEB)
cp "$build"/vellumix_*_amd64.deb .
ls vellumix_*_amd64.deb
