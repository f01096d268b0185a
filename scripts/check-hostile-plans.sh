#!/usr/bin/env bash
# Hostile plans against the batch report: plans made from the sample plan with a debt name of
# 100,000 characters, with thousands of debts, and filled up to just under the 8 MiB a plan
# file may have (many debts; long names; debts that never pay off; debts that run 83 years).
# Each report request (every section on, in a temporary program folder; some with its PDF)
# must either write a report that holds both chart pictures (and a whole PDF when asked) or
# refuse the plan with its own message, and must neither crash nor reach 2 GB of memory. Then
# the calculation modes (--results, --compare, --needed, --csv) on such plans, and on plans at
# the limits of their debts: each must answer, or refuse the plan with the message that names
# the limit, within 1 GB of memory; a run over 10 s is named (times vary with the machine's
# load, so they are measured in the benchmarks, not failed here).
# Usage: scripts/check-hostile-plans.sh [BUILD_DIR]   (default: build; built when needed)
# KEEP=1 keeps the temporary folder and says where it is.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
if [ ! -x "$build/app/ardvane" ]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$build" -j 2 --target ardvane
fi
program=$(realpath "$build/app/ardvane")
sample=$(realpath dist/Sample.bvx)

work=$(mktemp -d)
if [ "${KEEP:-}" = 1 ]; then
  echo "check-hostile-plans: files kept in $work"
else
  trap 'rm -rf "$work"' EXIT
fi
folder="$work/program"
source scripts/report-folder.sh
make_report_folder "$folder"
export LC_ALL=C.UTF-8 LANG=C.UTF-8

limit_kb=$((2 * 1024 * 1024))  # 2 GB
max_plan_bytes=$((8 * 1024 * 1024))

# The sample plan with its debts replaced by `count` debts. Debt i is the sample's debt
# i mod 6, named "Debt <i>", or "<i>" and the text of the file `namefile` when one is given
# (only for debt `only` when that is given). `edit` is a sed script for every debt line.
make_plan() {
  local out=$1 count=$2 namefile=${3:-} edit=${4:-} only=${5:--1}
  awk -v n="$count" -v namefile="$namefile" -v only="$only" '
    BEGIN { if (namefile != "") getline name < namefile }
    /<Debt / { debts[++d] = $0; next }
    /<\/Client>/ {
      for (i = 0; i < n; i++) {
        line = debts[i % d + 1]
        label = name == "" || (only >= 0 && i != only) ? "Debt " i : i name
        sub(/Name="[^"]*"/, "Name=\"" label "\"", line)
        print line
      }
    }
    { print }' "$sample" | { if [ -n "$edit" ]; then sed -E "$edit"; else cat; fi; } > "$out"
}

# As many debts as fit in a plan file just under 8 MiB.
fill_plan() {
  local out=$1 namefile=${2:-} edit=${3:-}
  make_plan "$out" 100 "$namefile" "$edit"
  local size100
  size100=$(stat -c %s "$out")
  make_plan "$out" 200 "$namefile" "$edit"
  local per=$(( ($(stat -c %s "$out") - size100) / 100 ))
  local base=$(( size100 - 100 * per ))
  # Later debts have longer numbers in their names: room for six more digits each.
  make_plan "$out" $(( (max_plan_bytes - base - 4096) / (per + 6) )) "$namefile" "$edit"
  [ "$(stat -c %s "$out")" -le "$max_plan_bytes" ] || { echo "check-hostile-plans: $out is over 8 MiB" >&2; exit 1; }
}

failed=0
fail() { echo "check-hostile-plans: $1" >&2; failed=1; }

# Runs the report request for plan $1; `expect` is "report" (a report with both pictures),
# or "either" (that, or a refusal in the program's words).
check_plan() {
  local label=$1 plan=$2 expect=$3
  shift 3  # the rest: more options for the program
  local name="Hostile $label" status=0
  rm -f "$folder/Reports/$name.doc" "$folder/Reports/$name.pdf"
  # The address space is capped far above the limit only to keep a runaway from the machine.
  /usr/bin/time -v -o "$work/time.txt" prlimit --as=$((12 * 1024 * 1024 * 1024)) \
    "$program" --program-folder "$folder" "$plan" "-<p>$name" "$@" 2>"$work/stderr.txt" || status=$?
  local rss seconds
  rss=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$work/time.txt")
  seconds=$(awk -F': ' '/Elapsed \(wall clock\)/ { print $2 }' "$work/time.txt")
  local summary="$label ($(stat -c %s "$plan") bytes): exit $status, ${rss} KB, $seconds"
  if grep -q "Command terminated by signal" "$work/time.txt" || [ "$status" -gt 1 ]; then
    fail "$summary: crashed or failed: $(head -c 300 "$work/stderr.txt")"
    return
  fi
  [ "${rss:-$limit_kb}" -lt "$limit_kb" ] || fail "$summary: 2 GB of memory or more"
  local report="$folder/Reports/$name.doc"
  if [ "$status" -eq 0 ]; then
    local pictures
    pictures=$(grep -o '<img src="data:image/png;base64,' "$report" 2>/dev/null | wc -l)
    [ "$pictures" -eq 2 ] || fail "$summary: the report holds $pictures chart pictures, not 2"
    local pdf="$folder/Reports/$name.pdf" with=""
    if [[ " $* " == *" --pdf "* ]]; then
      { [ "$(head -c 5 "$pdf" 2>/dev/null)" = "%PDF-" ] && tail -c 16 "$pdf" | grep -q "%%EOF"; } ||
        fail "$summary: no whole PDF beside the report"
      with=" and a PDF of $(stat -c %s "$pdf" 2>/dev/null) bytes"
    fi
    rm -f "$report" "$pdf"
    echo "check-hostile-plans: $summary: report with $pictures pictures$with"
  elif [ "$expect" = either ] && grep -q "^ardvane: The report was not written: " "$work/stderr.txt"; then
    [ ! -e "$report" ] && [ ! -e "$folder/Reports/$name.pdf" ] ||
      fail "$summary: refused, yet a report or PDF was written"
    echo "check-hostile-plans: $summary: refused: $(sed -n 's/^ardvane: //p' "$work/stderr.txt" | head -1)"
  else
    fail "$summary: no report: $(head -c 300 "$work/stderr.txt")"
  fi
}

long_name="$work/long-name.txt"
awk 'BEGIN { for (i = 0; i < 100000; i++) printf "\xc3\x84"; print "" }' > "$long_name"  # 100,000 x "Ä"

make_plan "$work/long-name.bvx" 6 "$long_name" "" 1
check_plan "long name" "$work/long-name.bvx" report

# 300,000 characters without a space: the report's PDF breaks it in time that grows with its
# length, not its square.
awk 'BEGIN { for (i = 0; i < 300000; i++) printf "\xc3\x84"; print "" }' > "$work/longer-name.txt"
make_plan "$work/longer-name.bvx" 6 "$work/longer-name.txt" "" 1
check_plan "300,000-character name, PDF" "$work/longer-name.bvx" report --pdf

make_plan "$work/many-debts.bvx" 2500
check_plan "2,500 debts" "$work/many-debts.bvx" report

# The PDF lays out a table at a time: before, one of 3,000 debts took 1.5 GB.
make_plan "$work/3000-debts.bvx" 3000
check_plan "3,000 debts, PDF" "$work/3000-debts.bvx" report --pdf

make_plan "$work/long-names.bvx" 25 "$long_name"
check_plan "25 long names, PDF" "$work/long-names.bvx" either --pdf

fill_plan "$work/full-many.bvx"
check_plan "8 MiB of debts" "$work/full-many.bvx" either

fill_plan "$work/full-names.bvx" "$long_name"
check_plan "8 MiB of long names" "$work/full-names.bvx" either

# Payments far below the interest: no debt is ever paid off, each runs the full 1080 months.
never='s/CurrentPayment="[^"]*"/CurrentPayment="1"/; s/MinimumPaymentAmount="[^"]*"/MinimumPaymentAmount="1"/; s/MinimumPaymentPercent="[^"]*"/MinimumPaymentPercent="0"/'
fill_plan "$work/full-never.bvx" "" "$never"
check_plan "8 MiB of debts never paid off" "$work/full-never.bvx" either
make_plan "$work/never.bvx" 5000 "" "$never"
check_plan "5,000 debts never paid off" "$work/never.bvx" either

# Debts paid off after 83 years in both plans: month tables just under the report's limit.
long='s/Balance="[^"]*"/Balance="9000"/; s/ InterestRate="[^"]*"/ InterestRate="1.2"/; s/CurrentPayment="[^"]*"/CurrentPayment="14.24"/; s/MinimumPaymentAmount="[^"]*"/MinimumPaymentAmount="14.24"/; s/MinimumPaymentPercent="[^"]*"/MinimumPaymentPercent="0"/; s/CompoundingPeriod="[^"]*"/CompoundingPeriod="1"/; s/Consolidate="[^"]*"/Consolidate=""/; s/Negotiate="[^"]*"/Negotiate=""/'
make_plan "$work/long-debts.bvx" 440 "" "$long"
check_plan "440 debts of 83 years" "$work/long-debts.bvx" either
# Its PDF: 3.5 GB before it held a table at a time.
check_plan "440 debts of 83 years, PDF" "$work/long-debts.bvx" either --pdf

# A calculation mode on plan $2 ($4: --results and so on, then its options) within 1 GB of
# memory (a run over 10 s is named). `expect` ($3) is "run" (it answers) or "either" (that, or a refusal in the
# program's words that names the limit the plan or its tables are beyond).
check_mode() {
  local label=$1 plan=$2 expect=$3 mode=$4 status=0
  shift 4  # the rest: the mode's options
  /usr/bin/time -v -o "$work/time.txt" prlimit --as=$((12 * 1024 * 1024 * 1024)) \
    "$program" --program-folder "$folder" "$mode" "$plan" "$@" >"$work/out.txt" 2>"$work/stderr.txt" || status=$?
  local rss elapsed seconds
  rss=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$work/time.txt")
  elapsed=$(awk -F': ' '/Elapsed \(wall clock\)/ { print $2 }' "$work/time.txt")
  # h:mm:ss or m:ss.cc, in seconds
  seconds=$(echo "$elapsed" | awk -F: '{ s = 0; for (i = 1; i <= NF; i++) s = s * 60 + $i; print s }')
  local summary="$label $mode ($(stat -c %s "$plan") bytes): exit $status, ${rss} KB, $elapsed"
  if grep -q "Command terminated by signal" "$work/time.txt"; then
    fail "$summary: crashed: $(head -c 300 "$work/stderr.txt")"
    return
  fi
  [ "${rss:-$limit_kb}" -lt $((1024 * 1024)) ] || fail "$summary: 1 GB of memory or more"
  awk -v s="$seconds" 'BEGIN { exit !(s <= 10) }' || echo "check-hostile-plans: $summary: over 10 s on this run"
  if [ "$status" -eq 0 ]; then
    [ -s "$work/out.txt" ] || fail "$summary: printed nothing"
    echo "check-hostile-plans: $summary"
  elif [ "$expect" = either ] && [ "$status" -eq 1 ] && [ ! -s "$work/out.txt" ] &&
      grep -Eq "^ardvane: The .* (was|were) not [a-z]+: .*, more than the [0-9,]+ .* can hold\. " "$work/stderr.txt"; then
    echo "check-hostile-plans: $summary: refused: $(sed -n 's/^ardvane: //p' "$work/stderr.txt" | head -1)"
  else
    fail "$summary: failed: $(head -c 300 "$work/stderr.txt")"
  fi
}

# Every calculation mode on plan $2, each within 1 GB; $3 is what --results must
# do ("run" or "either"); the others may refuse the plan.
check_modes() {
  local label=$1 plan=$2 results=$3
  check_mode "$label" "$plan" "$results" --results
  check_mode "$label" "$plan" either --compare
  check_mode "$label" "$plan" either --needed --by 2100-01
  check_mode "$label" "$plan" either --csv
}

make_plan "$work/never-17000.bvx" 17000 "" "$never"
check_modes "17,000 debts never paid off" "$work/never-17000.bvx" run
# The same without the new loan: every debt runs all 1,080 months in both plans, the most a
# calculation of 17,000 debts can take.
unconsolidated='s/Consolidate="[^"]*"/Consolidate=""/'
make_plan "$work/never-17000-own.bvx" 17000 "" "$never; $unconsolidated"
check_mode "17,000 debts never paid off, none consolidated" "$work/never-17000-own.bvx" run --results
check_mode "17,000 debts never paid off, none consolidated" "$work/never-17000-own.bvx" either --csv
check_modes "8 MiB of debts" "$work/full-many.bvx" either
check_modes "8 MiB of debts never paid off" "$work/full-never.bvx" either

# Debts of 83 years with names of 300 characters: 5,000 of them, and as many as a search for
# the power payment and a comparison of the strategies may hold, which must then answer.
awk 'BEGIN { for (i = 0; i < 300; i++) printf "x"; print "" }' > "$work/name-300.txt"
make_plan "$work/long-5000.bvx" 5000 "$work/name-300.txt" "$long"
check_modes "5,000 debts of 83 years" "$work/long-5000.bvx" run
make_plan "$work/long-1500.bvx" 1500 "$work/name-300.txt" "$long"
check_mode "1,500 debts of 83 years" "$work/long-1500.bvx" run --needed --by 2100-01
make_plan "$work/long-4000.bvx" 4000 "$work/name-300.txt" "$long"
check_mode "4,000 debts of 83 years" "$work/long-4000.bvx" run --compare
make_plan "$work/never-4000-own.bvx" 4000 "" "$never; $unconsolidated"
check_mode "4,000 debts never paid off, none consolidated" "$work/never-4000-own.bvx" run --compare

if [ "$failed" -ne 0 ]; then
  echo "check-hostile-plans: FAILED" >&2
  exit 1
fi
echo "check-hostile-plans: passed"
