#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test: host, host under ThreadSanitizer,
# and the Windows tests under Wine. Exits non-zero when any preset fails.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

scripts/install-deps.sh || exit 1

jobs=$(nproc 2>/dev/null || echo 2)
failed=()
for preset in ${QUILLET_TEST_PRESETS:-host host-tsan windows}; do
  echo "==== $preset"
  start=$(date +%s)
  if cmake --preset "$preset" >/dev/null &&
     cmake --build --preset "$preset" -j "$jobs" >"build/$preset-build.log" 2>&1; then
    # ThreadSanitizer's runtime needs the classic address layout on kernels with wide ASLR.
    runner=()
    [ "$preset" = host-tsan ] && setarch "$(uname -m)" -R true 2>/dev/null && runner=(setarch "$(uname -m)" -R)
    "${runner[@]}" ctest --preset "$preset" -j "$jobs" 2>&1 | tee "build/$preset-test.log" |
      grep -E '^[0-9]+% tests passed|\*\*\*|Failed|Timeout|Not Run|^Total Test time' || true
    [ "${PIPESTATUS[0]}" -eq 0 ] || failed+=("$preset")
  else
    echo "build of $preset failed; the last lines of build/$preset-build.log:"
    tail -n 40 "build/$preset-build.log"
    failed+=("$preset")
  fi
  echo "==== $preset took $(( $(date +%s) - start )) s"
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "FAILED: ${failed[*]}"
  exit 1
fi
echo "all tests passed"
