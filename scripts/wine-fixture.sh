#!/usr/bin/env bash
# Test fixture of the Windows tests: one Xvfb display and one running wineserver for the
# whole run, so each test pays for neither the display nor Wine's start.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

start_xvfb() {
  local n
  for n in $(seq 91 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    echo $! >"$build_dir/xvfb.pid"
    for _ in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && { echo ":$n" >"$build_dir/xvfb.display"; return 0; }
      kill -0 "$(cat "$build_dir/xvfb.pid")" 2>/dev/null || break
      sleep 0.1
    done
  done
  echo "wine-fixture: could not start Xvfb" >&2
  return 1
}

stop_xvfb() {
  if [ -f "$build_dir/xvfb.pid" ]; then
    kill "$(cat "$build_dir/xvfb.pid")" 2>/dev/null || true
    rm -f "$build_dir/xvfb.pid"
  fi
  rm -f "$build_dir/xvfb.display"
}

case "${1:-}" in
  start)
    mkdir -p "$build_dir"
    # A server left from another run may be bound to another display; this run owns the prefix.
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    stop_xvfb
    start_xvfb
    DISPLAY=$(cat "$build_dir/xvfb.display")
    export DISPLAY
    start_ms=$(( $(date +%s%N) / 1000000 ))
    "$here/wine-prefix.sh" ensure
    # Stays up between the tests of this run; its output must not hold the test runner's pipes.
    wineserver -p >/dev/null 2>&1 </dev/null
    # Start the prefix's services now, away from the runner's pipes, so no test pays for it.
    wineboot >/dev/null 2>&1 </dev/null || true
    echo "wine-fixture: prefix $WINEPREFIX ready on display $DISPLAY after $(( $(date +%s%N) / 1000000 - start_ms )) ms"
    ;;
  stop)
    wineserver -k 2>/dev/null || true
    stop_xvfb
    ;;
  *) echo "usage: wine-fixture.sh start|stop" >&2; exit 2 ;;
esac
