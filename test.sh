#!/usr/bin/env bash
# Installs what is missing, builds the tool twice (plain, and with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs every test of both builds through CTest; then runs
# each fuzz target for ORVENDALE_FUZZ_SECONDS seconds (20 unless set; 0 skips fuzzing,
# for quick local runs; CI always fuzzes).
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh
jobs=$(nproc)

build() { # directory, extra cmake arguments...
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
}

build build
build build-asan -DORVENDALE_SANITIZE=ON

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build --output-on-failure -j "$jobs"
ctest --test-dir build-asan --output-on-failure -j "$jobs"

fuzz_seconds=${ORVENDALE_FUZZ_SECONDS:-20}
if [ "$fuzz_seconds" -gt 0 ]; then
  scripts/fuzz.sh all "$fuzz_seconds"
fi
