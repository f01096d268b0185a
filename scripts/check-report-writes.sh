#!/usr/bin/env bash
# Reports written side by side and reports killed while they are written, from one program
# folder through the command line's report request:
# - Two runs with different plans at once (some with --pdf, so that they overlap longer):
#   each report must hold exactly the pictures of its own plan's report written alone.
# - A run with --pdf killed at a random moment, again and again, over a report and a PDF of the
#   same name: each file must afterwards be a whole one (the document ends with </html> and
#   holds the pictures of one of the two plans; the PDF opens), never one half written or
#   without its pictures.
# Usage: scripts/check-report-writes.sh [BUILD_DIR] [KILLS]   (default: build, 60)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh report

build=${1:-build}
kills=${2:-60}
if [ ! -x "$build/app/ardvane" ]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$build" -j "$(nproc)" --target ardvane
fi
program=$(realpath "$build/app/ardvane")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
folder="$work/program"
reports="$folder/Reports"
source scripts/report-folder.sh
make_report_folder "$folder"
export LC_ALL=C.UTF-8 LANG=C.UTF-8 QT_QPA_PLATFORM=offscreen

# A second client with other debts, so that its charts differ from the sample's.
sed -e 's/FirstName="Maria" LastName="Sample"/FirstName="Bruno" LastName="Other"/' \
    -e 's/Name="Mortgage" Balance="185000"/Name="Boat" Balance="41000"/' \
    -e 's/Name="Visa" Balance="8420.55"/Name="Amex" Balance="12999"/' \
    dist/Sample.bvx > "$folder/Other.bvx"
cmp -s dist/Sample.bvx "$folder/Other.bvx" && { echo "check-report-writes: no second plan" >&2; exit 1; }

failed=0
fail() { echo "check-report-writes: $1" >&2; failed=1; }

report() {  # report PLAN NAME [--pdf]
  "$program" --program-folder "$folder" "$folder/$1" "-<p>$2" "${@:3}" 2>>"$work/stderr"
}
# The pictures a report holds, in order, as one fingerprint.
pictures() { { grep -o 'data:image/png;base64,[^"]*' "$1" || true; } | md5sum | cut -d' ' -f1; }
picture_count() { { grep -o 'data:image/png;base64,' "$1" || true; } | wc -l; }

report Sample.bvx AloneSample
report Other.bvx AloneOther
sample=$(pictures "$reports/AloneSample.doc")
other=$(pictures "$reports/AloneOther.doc")
[ "$(picture_count "$reports/AloneSample.doc")" -eq 2 ] || fail "the sample's report has no pictures"
[ "$sample" != "$other" ] || fail "the two plans' pictures are the same"

# Side by side.
pairs=12
for i in $(seq 1 $pairs); do
  pdf=(); [ $((i % 3)) -eq 0 ] && pdf=(--pdf)
  report Sample.bvx "PairSample$i" "${pdf[@]}" &
  first=$!
  report Other.bvx "PairOther$i" "${pdf[@]}" &
  second=$!
  wait "$first" || fail "pair $i: the sample's run failed"
  wait "$second" || fail "pair $i: the other run failed"
  [ "$(pictures "$reports/PairSample$i.doc")" = "$sample" ] ||
    fail "pair $i: the sample's report holds pictures that are not its own"
  [ "$(pictures "$reports/PairOther$i.doc")" = "$other" ] ||
    fail "pair $i: the other report holds pictures that are not its own"
done
[ "$failed" = 1 ] ||
  echo "check-report-writes: $pairs pairs of reports written side by side, each with its own pictures"

# Killed at random moments. Each run writes the other plan, so a file left is old or new.
report Sample.bvx Killed --pdf || fail "the first report with a PDF failed"
start=$(date +%s%N)
report Other.bvx Timed --pdf
duration_ms=$(( ($(date +%s%N) - start) / 1000000 ))
plans=(Sample.bvx Other.bvx)
completed=0
alone=0
for i in $(seq 1 "$kills"); do
  "$program" --program-folder "$folder" "$folder/${plans[$((i % 2))]}" "-<p>Killed" --pdf \
      2>>"$work/stderr" &
  run=$!
  sleep "$(awk -v ms="$duration_ms" -v r="$RANDOM" 'BEGIN { printf "%.3f", ms * 1.1 * r / 32767 / 1000 }')"
  kill -KILL "$run" 2>/dev/null || completed=$((completed + 1))
  wait "$run" 2>/dev/null || true
  doc="$reports/Killed.doc"
  tail -c 32 "$doc" | grep -q '</html>' || fail "kill $i: $doc is cut short"
  now=$(pictures "$doc")
  [ "$now" = "$sample" ] || [ "$now" = "$other" ] || fail "kill $i: $doc lacks its pictures"
  # A PDF left beside the document is whole and of the same client; a run killed between
  # moving the older PDF aside and putting the new one in place leaves the document alone.
  if [ -e "$reports/Killed.pdf" ]; then
    pdfinfo "$reports/Killed.pdf" >/dev/null 2>&1 || fail "kill $i: Killed.pdf does not open"
    debt=Mortgage
    [ "$now" = "$other" ] && debt=Boat
    text=$(pdftotext "$reports/Killed.pdf" - 2>/dev/null || true)
    [[ "$text" == *"$debt"* ]] ||
      fail "kill $i: Killed.pdf is not the report of the document beside it"
  else
    alone=$((alone + 1))
  fi
done
[ "$failed" = 1 ] ||
  echo "check-report-writes: $kills runs killed within ${duration_ms} ms ($completed finished first, $alone left the document without a PDF); every report and PDF left whole and of one client"
exit "$failed"
