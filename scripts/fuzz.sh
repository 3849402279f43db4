#!/usr/bin/env bash
# Runs one fuzz target for a bounded time: scripts/fuzz.sh TARGET SECONDS [libFuzzer option ...]
# TARGET is one of the fuzz/<TARGET>_fuzzer.cpp names, or "all" for each in turn.
#
# Installs clang and libFuzzer's runtime when missing, builds the libraries for fuzzing
# in build-fuzz/, and fuzzes from the committed seeds in fuzz/corpus/TARGET (read only)
# plus a working corpus in build-fuzz/corpus/TARGET that grows across runs. A finding
# is written to build-fuzz/artifacts/TARGET/ and the script fails.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

if [ $# -lt 2 ]; then
  echo "usage: scripts/fuzz.sh TARGET|all SECONDS [libFuzzer option ...]" >&2
  exit 2
fi
target=$1 seconds=$2
shift 2

scripts/install-deps.sh clang libclang-rt-14-dev

if [ "$target" = all ]; then
  for source in fuzz/*_fuzzer.cpp; do
    name=$(basename "$source" _fuzzer.cpp)
    "$0" "$name" "$seconds" "$@"
  done
  exit 0
fi

if [ ! -f "fuzz/${target}_fuzzer.cpp" ]; then
  echo "no fuzz target $target" >&2
  exit 2
fi

if [ ! -f build-fuzz/CMakeCache.txt ]; then
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DORVENDALE_FUZZ=ON -DORVENDALE_TESTS=OFF >/dev/null
fi
cmake --build build-fuzz --target "${target}_fuzzer" -j "$(nproc)" >/dev/null

work=$root/build-fuzz/corpus/$target
artifacts=$root/build-fuzz/artifacts/$target/
mkdir -p "$work" "$artifacts" "$root/fuzz/corpus/$target"
# An image file of a few bytes may describe a picture of 64 million pixels, which takes
# up to about 20 s to decode under the sanitizers: only a minute marks a hang.
options=(-max_total_time="$seconds" -timeout=60 -rss_limit_mb=2048 -print_final_stats=1
         -artifact_prefix="$artifacts")
[ -f "fuzz/$target.dict" ] && options+=(-dict="$root/fuzz/$target.dict")

# The targets write their inputs to scratch files; memory-backed ones run several
# times faster.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then
  export TMPDIR=/dev/shm
fi
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
echo "fuzzing $target for ${seconds}s" >&2
# Absolute corpus paths: a target may change its working directory.
"$root/build-fuzz/fuzz/${target}_fuzzer" "${options[@]}" "$@" "$work" "$root/fuzz/corpus/$target"
