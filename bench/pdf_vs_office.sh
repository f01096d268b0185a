#!/usr/bin/env bash
# The program's own PDF against the office suite's, in one run: the sample plan's report with
# every section through the command line, without and with --pdf, and LibreOffice converting
# that same report to PDF (headless, with a profile of its own, as scripts/check-report.sh
# does). Each command runs RUNS times, in turn, after one warm-up; the medians of the
# whole-process times and their ratios are printed.
# Usage: bench/pdf_vs_office.sh [BUILD_DIR [RUNS]]   (default: build, 7 runs)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
runs=${2:-7}
program=$(realpath "$build/app/ardvane")
command -v soffice >/dev/null || { echo "pdf_vs_office: LibreOffice (soffice) is not installed" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
folder="$work/program"
mkdir -p "$work/office" "$work/converted"
source scripts/report-folder.sh
make_report_folder "$folder"
export LC_ALL=C.UTF-8 LANG=C.UTF-8

plain() { "$program" --program-folder "$folder" "$folder/Sample.bvx" "-<p>Plain" >/dev/null; }
with_pdf() { "$program" --program-folder "$folder" "$folder/Sample.bvx" "-<p>Sample" --pdf >/dev/null; }
office() {
  soffice -env:UserInstallation="file://$work/office" --headless --infilter="HTML (StarWriter)" \
    --convert-to pdf --outdir "$work/converted" "$folder/Reports/Sample.doc" >/dev/null 2>&1
}

# Milliseconds of one run of $1.
time_ms() {
  local start end
  start=$(date +%s%N)
  "$1"
  end=$(date +%s%N)
  echo $(((end - start) / 1000000))
}
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

with_pdf && office  # warm-up: the report to convert, the office profile, the caches
[ -s "$work/converted/Sample.pdf" ] || { echo "pdf_vs_office: LibreOffice wrote no PDF" >&2; exit 1; }
plain_ms=() pdf_ms=() office_ms=()
for _ in $(seq "$runs"); do
  plain_ms+=("$(time_ms plain)")
  pdf_ms+=("$(time_ms with_pdf)")
  office_ms+=("$(time_ms office)")
done
p=$(median "${plain_ms[@]}") q=$(median "${pdf_ms[@]}") o=$(median "${office_ms[@]}")
echo "pdf_vs_office: report without --pdf: median $p ms (${plain_ms[*]})"
echo "pdf_vs_office: report with --pdf:    median $q ms (${pdf_ms[*]})"
echo "pdf_vs_office: LibreOffice to PDF:   median $o ms (${office_ms[*]})"
awk -v p="$p" -v q="$q" -v o="$o" 'BEGIN {
  printf "pdf_vs_office: with --pdf / without = %.1f; LibreOffice / with --pdf = %.1f\n", q / p, o / q }'
