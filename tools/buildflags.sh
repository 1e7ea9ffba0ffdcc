#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Prints, one a line, the CMake arguments that build with Debian's usual compiler and linker
# flags (dpkg-buildflags with every hardening feature: fortify, stack protector, relro, bindnow,
# position-independent executables), for the package build and the Release test build:
#   mapfile -t flags < <(tools/buildflags.sh); cmake ... "${flags[@]}"
# The package is stripped, so debugging information (-g) is left out: it would only make the
# build slower.
set -euo pipefail
eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
strip_g() { local out=() f; for f in $1; do [[ $f == -g ]] || out+=("$f"); done; echo "${out[*]}"; }
# CMake reads no CPPFLAGS: the preprocessor flags (_FORTIFY_SOURCE) go with the compiler's.
echo "-DCMAKE_CXX_FLAGS=$(strip_g "$CPPFLAGS $CXXFLAGS")"
echo "-DCMAKE_EXE_LINKER_FLAGS=$LDFLAGS"
echo "-DCMAKE_SHARED_LINKER_FLAGS=$LDFLAGS"
echo "-DCMAKE_MODULE_LINKER_FLAGS=$LDFLAGS"
