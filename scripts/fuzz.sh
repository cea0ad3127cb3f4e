#!/usr/bin/env bash
# Runs one fuzz target of the host build for a while:
#   scripts/fuzz.sh TARGET [SECONDS] [CORPUS]
# TARGET is reg_reader, ini_profile, shell_link, text or options. The seeds in tests/fuzz/seeds/
# start the run; what the fuzzer finds on the way goes to CORPUS (by default
# build/host/fuzz/corpus/TARGET, kept between runs), never into the repository. An input that
# breaks the target is saved as build/host/fuzz/crash-*.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
target=${1:?usage: fuzz.sh TARGET [SECONDS] [CORPUS]}
seconds=${2:-60}
fuzz_dir=${QUILLET_FUZZ_DIR:-$here/build/host/fuzz}
corpus=${3:-$fuzz_dir/corpus/$target}
mkdir -p "$corpus"
cd "$fuzz_dir"
exec "./fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
  -print_final_stats=1 "$corpus" "$here/tests/fuzz/seeds/$target"
