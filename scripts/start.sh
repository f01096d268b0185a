#!/usr/bin/env bash
# Builds Ardvane and starts it. Arguments go to the program (plan path words, --results,
# --help, --program-folder). On a first start (no Settings.ini yet beside the program) the
# bundled sample plan opens, so a new user sees a whole plan at once. Without a display the
# sample plan's figures are printed instead.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target ardvane
program=build/app/ardvane
folder=build/app
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): printing the sample plan's figures instead of opening the window."
  exec "$program" --results "$folder/Sample.bvx"
fi
if [ $# -eq 0 ] && [ ! -e "$folder/Settings.ini" ]; then
  exec "$program" "$folder/Sample.bvx"
fi
exec "$program" "$@"
