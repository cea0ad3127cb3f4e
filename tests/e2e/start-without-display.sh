#!/usr/bin/env bash
# quillet.exe started where no window can be made (a display that does not answer) must end at
# once with a non-zero code and one line on the standard error stream that says why, with and
# without -cleanonce, instead of waiting for messages for ever.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../../scripts/wine-env.sh"
exe=$1
# A display number nobody serves.
nowhere=:1999
while [ -e "/tmp/.X11-unix/X${nowhere#:}" ]; do nowhere=":$(( ${nowhere#:} + 1 ))"; done

failures=0
for arguments in "" "-cleanonce"; do
  errors=$(mktemp)
  DISPLAY=$nowhere timeout 30 wine "$exe" $arguments >/dev/null 2>"$errors" </dev/null
  status=$?
  lines=$(grep -c . "$errors")
  reason=$(grep "could not be created" "$errors")
  if [ "$status" -eq 124 ]; then
    echo "FAIL [$arguments]: still running after 30 seconds"; failures=$((failures + 1))
  elif [ "$status" -eq 0 ]; then
    echo "FAIL [$arguments]: ended with code 0"; failures=$((failures + 1))
  elif [ "$lines" -ne 1 ] || [ -z "$reason" ]; then
    echo "FAIL [$arguments]: expected one line of reason, got:"; cat "$errors"; failures=$((failures + 1))
  else
    echo "ok [$arguments]: code $status, $reason"
  fi
  rm -f "$errors"
done
echo "$(( 2 - failures )) passed, $failures failed"
[ "$failures" -eq 0 ]
