#!/usr/bin/env bash
# Runs a Windows test program in a Wine prefix made fresh for this run (build/windows/e2e-prefix,
# or the folder QUILLET_FRESH_PREFIX_NAME names), on the display of the run's fixture, and ends
# that prefix's server afterwards. The shared test prefix is not touched.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
scripts=$here/../../scripts
build_dir=${QUILLET_BUILD_DIR:-$here/../../build/windows}
export QUILLET_BUILD_DIR=$build_dir
export WINEPREFIX=$build_dir/${QUILLET_FRESH_PREFIX_NAME:-e2e-prefix}
export QUILLET_E2E_FRESH_PREFIX=1

"$scripts/wine-prefix.sh" remove
trap 'wineserver -k 2>/dev/null || true' EXIT
"$scripts/wine-prefix.sh" ensure
wineserver -p >/dev/null 2>&1 </dev/null
if [ -f "$build_dir/xvfb.display" ]; then
  DISPLAY=$(cat "$build_dir/xvfb.display")
  export DISPLAY
fi
wineboot >/dev/null 2>&1 </dev/null || true
"$scripts/wine-run.sh" "$@"
