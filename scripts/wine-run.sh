#!/usr/bin/env bash
# Runs a Windows program under Wine in the build's private 32-bit prefix.
# CMake uses it as the emulator of the cross build, so `ctest --preset windows` and
# `add_test(COMMAND some.exe)` go through here. The prefix is made on first use.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

# Tests share the Xvfb display that the fixture started, whatever display the caller has.
if [ -f "$build_dir/xvfb.display" ] && [ -z "${QUILLET_HOST_DISPLAY:-}" ]; then
  DISPLAY=$(cat "$build_dir/xvfb.display")
  export DISPLAY
fi

"$here/wine-prefix.sh" ensure

# Wine's helper processes (services.exe, explorer.exe) outlive the program and inherit its
# output. When that output is a pipe, the reader (ctest) would wait for them, so the program
# writes to files here and they are copied out once it ends.
if [ -t 1 ]; then
  exec wine "$@"
fi
capture=$(mktemp -d)
trap 'rm -rf "$capture"' EXIT
status=0
wine "$@" >"$capture/out" 2>"$capture/err" || status=$?
cat "$capture/out"
cat "$capture/err" >&2
exit "$status"
