#!/usr/bin/env bash
# Installs what is missing, builds the tool twice (plain, and with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs every test of both builds through CTest; then runs
# each fuzz target for a fixed number of runs, at most ORVENDALE_FUZZ_SECONDS seconds each
# (60 unless set; 0 skips fuzzing, for quick local runs; CI always fuzzes).
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

# Fuzzing here is a regression guard and must not make CI flaky: a fixed seed and a fixed
# number of runs make every target try the same inputs on every machine (a slow machine
# stops early on time, trying a prefix of them). Long, open-ended fuzzing is
# scripts/fuzz.sh TARGET SECONDS without these options.
fuzz_seconds=${ORVENDALE_FUZZ_SECONDS:-60}
if [ "$fuzz_seconds" -gt 0 ]; then
  scripts/fuzz.sh all "$fuzz_seconds" -seed=1 -runs=20000
fi
