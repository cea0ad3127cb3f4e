#!/usr/bin/env bash
# The scan benchmark under Wine, all in one run on one prefix of its own: seeds the synthetic
# registry (200,000 keys unless given) under a scratch key with its files under C:\, then times
#   a  the floor: RegEnumKeyExW/RegEnumValueW over the tree, reading every value, nothing else
#   b  quillet-scan.exe walking the tree as the Files and Folders scans do (without and with
#      the speed-ups; both must print the same rows)
#   c  reg query KEY /s
#   d  regedit /e of the tree
# and prints the best of three runs of each with the ratios b/a, b/c and b/d.
# Usage: bench/run-scan-bench.sh [keys]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
keys=${1:-200000}
values=$(( keys * 12 / 7 ))  # the 700,000 : 1,200,000 of a real system
runs=3

cmake --preset windows >/dev/null
cmake --build --preset windows -j2 --target quillet-scan bench-seed-registry bench-registry-floor >/dev/null
bin=$PWD/build/windows
# Its own prefix: the tests' prefix stays small and quick to start.
export QUILLET_BUILD_DIR=$bin/scan-bench
export WINEPREFIX=$QUILLET_BUILD_DIR/wineprefix
mkdir -p "$QUILLET_BUILD_DIR"
scripts/wine-fixture.sh start >/dev/null
trap 'scripts/wine-fixture.sh stop >/dev/null 2>&1' EXIT
source scripts/wine-env.sh
out=$QUILLET_BUILD_DIR/out
mkdir -p "$out"

key='HKEY_CURRENT_USER\Software\QuilletBench'
wine "$bin/bench-seed-registry.exe" --keys "$keys" --values "$values" "$key" </dev/null

# Best wall time of $runs runs of the command, in seconds; its output of the last run in $out/$1.
best() {
  local name=$1 best= start end took
  shift
  for _ in $(seq "$runs"); do
    start=$(date +%s.%N)
    "$@" >"$out/$name.stdout" 2>"$out/$name.stderr" </dev/null || { echo "$name failed:"; cat "$out/$name.stderr"; exit 1; }
    end=$(date +%s.%N)
    took=$(awk "BEGIN { print $end - $start }")
    if [ -z "$best" ] || awk "BEGIN { exit !($took < $best) }"; then best=$took; fi
  done
  echo "$best"
}

floor=$(best floor wine "$bin/bench-registry-floor.exe" "$key")
plain=$(best plain wine "$bin/quillet-scan.exe" --walk "$key" --stats --no-speed-ups)
fast=$(best fast wine "$bin/quillet-scan.exe" --walk "$key" --stats)
query=$(best query wine reg query 'HKCU\Software\QuilletBench' /s)
export_file='C:\quillet-bench-export.reg'
exported=$(best export wine regedit /e "$export_file" "$key")
rm -f "$WINEPREFIX/drive_c/quillet-bench-export.reg"

cmp -s "$out/plain.stdout" "$out/fast.stdout" || { echo "the rows differ with and without the speed-ups"; exit 1; }

ratio() { awk "BEGIN { printf \"%.2f\", $1 / $2 }"; }
echo
echo "Wine $(wine --version 2>/dev/null), $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg); best of $runs runs"
echo "tree: $(cat "$out/floor.stdout")"
printf '%-44s %8s %7s %7s %7s\n' "" seconds "b/a" "b/c" "b/d"
printf '%-44s %8.2f\n' "a  floor (RegEnumKeyExW, RegEnumValueW)" "$floor"
printf '%-44s %8.2f %7s %7s %7s\n' "b  quillet-scan --walk, no speed-ups" "$plain" \
  "$(ratio "$plain" "$floor")" "$(ratio "$plain" "$query")" "$(ratio "$plain" "$exported")"
printf '%-44s %8.2f %7s %7s %7s\n' "b  quillet-scan --walk" "$fast" \
  "$(ratio "$fast" "$floor")" "$(ratio "$fast" "$query")" "$(ratio "$fast" "$exported")"
printf '%-44s %8.2f\n' "c  reg query /s" "$query" "d  regedit /e" "$exported"
echo "no speed-ups: $(tail -n 1 "$out/plain.stderr")"
echo "speed-ups:    $(tail -n 1 "$out/fast.stderr")"
echo "rows identical with and without the speed-ups"
