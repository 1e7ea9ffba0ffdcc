#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds every fuzz target with clang and libFuzzer and runs each in turn on its own corpus.
#   tools/fuzz.sh [SECONDS]     (default 60 seconds a target)
# Prints one line per target: inputs run, coverage, findings. A crash, leak, out-of-memory or
# hang is kept as a file in that target's corpus folder (so the test suite replays it from then
# on) and makes the script exit non-zero. New inputs that only add coverage go to a scratch
# folder and are not kept.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
[[ $seconds =~ ^[0-9]+$ && $seconds -gt 0 ]] || { echo "usage: $0 [SECONDS]" >&2; exit 2; }
./tools/setup-debian.sh
build=${VELLUMIX_FUZZ_BUILD:-build-fuzz}
cxx=$(command -v clang++-14 || command -v clang++ || true)
[[ -n $cxx ]] || { echo "clang++ is not installed" >&2; exit 1; }

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER="$cxx" \
  -DVELLUMIX_FUZZ=ON -DVELLUMIX_TESTS=OFF >/dev/null
manifest=$build/fuzz/targets.txt
mapfile -t targets < <(cut -d'|' -f1 "$manifest")
cmake --build "$build" --parallel "$(nproc)" --target "${targets[@]}"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed=0
printf '%-26s %10s %8s  %s\n' target inputs coverage findings
while IFS='|' read -r name program corpus dict; do
  [[ -n $name ]] || continue
  work=$scratch/$name
  mkdir -p "$work/new" "$work/found"
  args=(-max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -max_len=65536
        -print_final_stats=1 -artifact_prefix="$work/found/")
  [[ -n $dict ]] && args+=(-dict="$dict")
  set +e
  (cd "$work" && "$program" "${args[@]}" "$work/new" "$corpus") >"$work/log" 2>&1
  status=$?
  set -e
  inputs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log" | tail -n 1)
  coverage=$(grep -o 'cov: [0-9]*' "$work/log" | tail -n 1 | cut -d' ' -f2)
  findings=()
  for found in "$work"/found/*; do
    [[ -e $found ]] || continue
    kept=$corpus/$(basename "$found")
    cp "$found" "$kept"
    findings+=("$kept")
  done
  if ((${#findings[@]})) || ((status != 0)); then
    failed=1
    printf '%-26s %10s %8s  FOUND (exit %d)\n' "$name" "${inputs:-?}" "${coverage:-?}" "$status"
    for kept in "${findings[@]}"; do echo "  kept for regression: $kept"; done
    grep -m 3 -E 'ERROR: |SUMMARY: ' "$work/log" | sed 's/^/  /' || true
  else
    printf '%-26s %10s %8s  none\n' "$name" "${inputs:-?}" "${coverage:-?}"
  fi
done <"$manifest"
exit "$failed"
