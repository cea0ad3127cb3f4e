#!/usr/bin/env bash
# Builds and runs the problem-list benchmark under Wine on its own Xvfb display; prints the
# figures. Usage: bench/run-list-bench.sh [rows] (100000 when not given).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
cmake --preset windows >/dev/null
cmake --build --preset windows -j2 --target bench-list-fill >/dev/null
export QUILLET_BUILD_DIR=$PWD/build/windows
scripts/wine-fixture.sh start >/dev/null
trap 'scripts/wine-fixture.sh stop' EXIT
scripts/wine-run.sh build/windows/bench-list-fill.exe "${1:-100000}"
