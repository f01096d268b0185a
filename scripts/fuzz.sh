#!/usr/bin/env bash
# Builds the libFuzzer targets with clang-14 and runs each for a while from its seed corpus.
# Usage: scripts/fuzz.sh [SECONDS]   (60 a target by default)
# Fails when a target does not build, crashes, hangs on one input or runs out of memory; the
# input that did it is kept in build-fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
bash scripts/install-deps.sh fuzz

build=build-fuzz
CC=clang-14 CXX=clang++-14 cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DARDVANE_BUILD_FUZZ=ON -DARDVANE_BUILD_TESTS=OFF -DARDVANE_BUILD_BENCH=OFF >/dev/null
# name:seed folder (fuzz/corpus/<folder>); each target runs for SECONDS, so the whole run takes
# that many times the number of targets.
targets=(xml_parser:xml plan_file:plan notes_rtf:notes_rtf file_names:file_names
  ini_text:ini_text command_parser:command_parser csv_tables:csv_tables
  pdf_html:pdf_html settings_files:settings_files report_text:report_text
  seed_manifest:seed_manifest results_json:results_json)
names=()
for target in "${targets[@]}"; do names+=("fuzz_${target%%:*}"); done
cmake --build "$build" -j "$(nproc)" --target "${names[@]}"

rm -rf "$build/artifacts"
mkdir -p "$build/artifacts"
for target in "${targets[@]}"; do
  name="${target%%:*}"
  seeds="fuzz/corpus/${target##*:}"
  # New inputs go to a scratch corpus, so the seeds in the repository stay as they are.
  work="$build/corpus/$name"
  mkdir -p "$work"
  log="$build/fuzz_$name.log"
  # The PDF target reaches some 18,000 features: libFuzzer's entropic scheduling then costs
  # more than the runs themselves (50 runs a second with it, 650 without).
  extra=()
  if [ "$name" = pdf_html ]; then extra=(-entropic=0); fi
  echo "Fuzzing $name for $seconds seconds"
  if ! "$build/fuzz/fuzz_$name" "$work" "$seeds" -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=2048 -artifact_prefix="$build/artifacts/$name-" -print_final_stats=1 \
    "${extra[@]}" >"$log" 2>&1; then
    tail -n 80 "$log"
    echo "fuzz.sh: fuzz_$name failed; the input is in $build/artifacts/" >&2
    exit 1
  fi
  grep -E '^(Done|stat::number_of_executed_units)' "$log" || true
done
