#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the code's form: every tracked C++ file is formatted as .clang-format says, and
# clang-tidy (the checks of .clang-tidy) finds nothing in the project's sources.
#   tools/check-hygiene.sh [build folder]     (default build-tests)
# The build folder must be configured (its compile_commands.json is read) and built, so that
# the generated headers the sources include exist.
# clang-tidy runs once per project .cpp file; the headers are checked through the sources
# that include them. Generated sources (moc output) are not checked. The tests are checked
# without the static analyzer (tests/.clang-tidy), which would make the run twice as long.
# VELLUMIX_HYGIENE_FORMAT=0 leaves the format check out (for a local run on a tree that is
# being reformatted); CI always runs it.
# VELLUMIX_HYGIENE_TIDY=0 leaves the clang-tidy run out (about 13 minutes on 2 cores).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-tests}
jobs=${VELLUMIX_HYGIENE_JOBS:-$(nproc)}
status=0

mapfile -t sources < <(git ls-files -- '*.cpp' '*.h')

if [[ ${VELLUMIX_HYGIENE_FORMAT:-1} != 0 ]]; then
  echo "clang-format: ${#sources[@]} files"
  if ! printf '%s\0' "${sources[@]}" | xargs -0 -n 50 -P "$jobs" clang-format --dry-run --Werror; then
    echo "clang-format: files above differ from .clang-format (clang-format -i fixes them)" >&2
    status=1
  fi
fi

[[ ${VELLUMIX_HYGIENE_TIDY:-1} == 0 ]] && exit $status

db="$build/compile_commands.json"
if [[ ! -f $db ]]; then
  echo "$db is missing: configure the build folder first" >&2
  exit 1
fi
# The project's .cpp files the build compiles (a file the build leaves out has no flags to
# check it with).
mapfile -t units < <(python3 - "$db" <<'EOF'
import json, os, subprocess, sys
tracked = subprocess.run(['git', 'ls-files', '-z', '--', '*.cpp'], capture_output=True,
                         check=True, text=True).stdout.split('\0')
tracked = {os.path.realpath(f): f for f in tracked if f}
seen = set()
for entry in json.load(open(sys.argv[1])):
    path = os.path.realpath(os.path.join(entry['directory'], entry['file']))
    if path in tracked and path not in seen:
        seen.add(path)
        print(tracked[path])
EOF
)
echo "clang-tidy: ${#units[@]} files"
# Only the checks .clang-tidy names report: the compiler's warnings are gcc's job, in the build,
# and gcc's own warning options are unknown to clang.
if ! printf '%s\0' "${units[@]}" | xargs -0 -n 1 -P "$jobs" clang-tidy -p "$build" --quiet \
    --warnings-as-errors='*' --extra-arg=-Wno-unknown-warning-option; then
  echo "clang-tidy: findings above" >&2
  status=1
fi
exit $status
