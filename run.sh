#!/usr/bin/env bash
# Installs what is missing, builds build/orvendale if needed and runs it.
#   ./run.sh settings.ini   draws the picture that settings.ini describes
#   ./run.sh                draws every example of examples/ into out/
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target orvendale >/dev/null

if [ $# -gt 0 ]; then
  exec build/orvendale "$@"
fi

# The examples write into out/ relative to the working directory.
mkdir -p out
for settings in examples/*.ini; do
  build/orvendale "$settings"
done
ls -1 out/*.png
