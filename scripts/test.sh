#!/usr/bin/env bash
# Builds Ardvane and runs every test. Usage: scripts/test.sh [--sanitize]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

build=build
cmake_args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${1:-}" = "--sanitize" ]; then
  build=build-sanitize
  cmake_args=(-DCMAKE_BUILD_TYPE=Debug -DARDVANE_SANITIZE=ON -DARDVANE_BUILD_BENCH=OFF)
fi
jobs=$(nproc)
cmake -S . -B "$build" "${cmake_args[@]}" >/dev/null
cmake --build "$build" -j "$jobs"
ctest --test-dir "$build" --output-on-failure -j "$jobs"
