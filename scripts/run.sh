#!/usr/bin/env bash
# Builds quillet.exe and starts it under Wine. With no DISPLAY it runs inside Xvfb, saves a
# screenshot of the screen under build/ and prints its path.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc 2>/dev/null || echo 2)" --target quillet

exe=build/windows/quillet.exe
if [ -n "${DISPLAY:-}" ]; then
  QUILLET_HOST_DISPLAY=1 exec scripts/wine-run.sh "$exe" "$@"
fi

export QUILLET_BUILD_DIR=$PWD/build/windows
scripts/wine-fixture.sh start
trap 'scripts/wine-fixture.sh stop' EXIT
DISPLAY=$(cat build/windows/xvfb.display)
export DISPLAY
scripts/wine-run.sh "$exe" "$@" >/dev/null 2>&1 &
for _ in $(seq 1 100); do
  xwininfo -root -tree 2>/dev/null | grep -q '"Orvane Quillet' && break
  sleep 0.2
done
sleep 1   # let the window paint
shot=$PWD/build/quillet-screenshot.png
import -window root "$shot"
echo "quillet.exe is running in Xvfb; screenshot: $shot"
