#!/usr/bin/env bash
# Runs one fuzz target of the build-fuzz folder (see README.md here):
#   fuzz/run.sh TARGET [RUNS] [more libFuzzer options]
# New inputs go to fuzz/out/TARGET/corpus (the seeds in fuzz/corpus/TARGET are
# read, not changed); a crash, leak or slow input is saved in fuzz/out/TARGET/.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${VZ_FUZZ_BUILD:-$here/../build-fuzz}
target=${1:?usage: fuzz/run.sh TARGET [RUNS] [libFuzzer options]}
runs=${2:-1000000}
shift $(($# < 2 ? $# : 2))
out=$here/out/$target
mkdir -p "$out/corpus"
export QT_QPA_PLATFORM=offscreen
# The list file targets save with fsync, millions of times: memory, not a disk.
[ -d /dev/shm ] && export TMPDIR=/dev/shm
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$here/../tests/lsan.supp:print_suppressions=0}
exec "$build/fuzz/fuzz_$target" "$out/corpus" "$here/corpus/$target" \
  -runs="$runs" -timeout=2 -rss_limit_mb=2048 \
  -artifact_prefix="$out/" -print_final_stats=1 "$@"
