#!/usr/bin/env bash
# Builds Ardvane and starts it. Until the main window arrives, starting it without arguments
# prints the figures of the sample plan shipped in dist/ (its Params.ini permits every feature).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target ardvane
if [ $# -eq 0 ]; then
  exec build/app/ardvane --results build/app/Sample.bvx
fi
exec build/app/ardvane "$@"
