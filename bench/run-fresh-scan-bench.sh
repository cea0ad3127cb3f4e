#!/usr/bin/env bash
# Every category over a fresh Wine prefix, as a new user's first scan meets it: makes the prefix
# build/windows/fresh-scan-prefix anew, then runs quillet-scan.exe over all categories (or the
# given codes) three times and prints each run's seconds per category and in all, and the median.
# Usage: bench/run-fresh-scan-bench.sh [codes]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
runs=3
cmake --preset windows >/dev/null
cmake --build --preset windows -j2 --target quillet-scan >/dev/null
bin=$PWD/build/windows
export QUILLET_BUILD_DIR=$bin/fresh-scan
export WINEPREFIX=$QUILLET_BUILD_DIR/wineprefix
mkdir -p "$QUILLET_BUILD_DIR"
scripts/wine-prefix.sh remove >/dev/null 2>&1 || true
scripts/wine-fixture.sh start >/dev/null
trap 'scripts/wine-fixture.sh stop >/dev/null 2>&1' EXIT
source scripts/wine-env.sh
categories=()
[ -n "${1:-}" ] && categories=(--categories "$1")
out=$QUILLET_BUILD_DIR/out
mkdir -p "$out"
totals=()
for run in $(seq "$runs"); do
  wine "$bin/quillet-scan.exe" "${categories[@]}" --stats >"$out/rows.$run" 2>"$out/stats.$run" </dev/null || {
    echo "run $run failed:"; cat "$out/stats.$run"; exit 1; }
  totals+=("$(sed -n 's/.*seconds \([0-9.]*\)$/\1/p' "$out/stats.$run") $run")
done
median=$(printf '%s\n' "${totals[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p" | cut -d' ' -f2)
echo "Wine $(wine --version 2>/dev/null), $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg); fresh prefix"
for run in $(seq "$runs"); do echo "run $run: $(tail -n 1 "$out/stats.$run")"; done
echo "median run ($median), seconds per category:"
grep '^category ' "$out/stats.$median"
