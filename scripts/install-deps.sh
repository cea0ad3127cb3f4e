#!/usr/bin/env bash
# Installs what building and testing Quillet needs on a Debian/Ubuntu machine.
# Idempotent: packages already present are left alone, so a second run is quick.
set -euo pipefail

need=()
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

for pkg in cmake g++ make googletest libgtest-dev mingw-w64 g++-mingw-w64-i686-posix \
           wine wine32:i386 fonts-wine fonts-liberation fonts-dejavu-core fonts-wqy-microhei xvfb xauth \
           imagemagick x11-utils wixl msitools clang libclang-rt-14-dev; do
  have_pkg "$pkg" || need+=("$pkg")
done

if [ ${#need[@]} -eq 0 ]; then
  echo "install-deps: everything is installed"
  exit 0
fi

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
echo "install-deps: installing ${need[*]}"
# A mirror caught mid-sync fails one index now and then; the lists that did arrive are
# enough to install from, so retry a few times and then go on with what we have.
for attempt in 1 2 3; do
  $SUDO apt-get update -qq && break
  echo "install-deps: apt-get update failed (attempt $attempt), retrying"
  sleep 5
done
$SUDO apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
echo "install-deps: done"
