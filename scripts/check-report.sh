#!/usr/bin/env bash
# Real-world check of the client report: writes the sample plan's report with every section
# in English and in Spanish through the command line's report request (in a temporary program
# folder), converts each with LibreOffice as an adviser's office suite opens it, and fails
# unless each PDF holds both chart pictures, the client's name and the current and proposed
# total interest as the window shows them, and the return on the plan's fees. The same checks
# are made on the PDF that the program writes itself (--pdf, Qt's rich-text engine), which
# must also give every major section at least a page. In each PDF, and in the sample printed by
# headless Chromium, every date of the strategies table ("(December 2036)", "(diciembre de
# 2036)") stands whole on one line. A second plan, without consolidation and
# with a debt that is never paid off, must say so and make no claim of debt freedom, and its
# contract must show no $0.00 figure. A third plan, with names in Hebrew and Arabic, bidi marks,
# an emoji and control characters, must open in LibreOffice as a formatted document with its
# names, numbered pages and schedule headings on every page, and print the same way in
# headless Chromium without the page footer.
# Usage: scripts/check-report.sh [BUILD_DIR]   (default: build; built when needed)
# KEEP=1 keeps the temporary folder and says where it is.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh report browser

build=${1:-build}
if [ ! -x "$build/app/ardvane" ]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$build" -j "$(nproc)" --target ardvane
fi
program=$(realpath "$build/app/ardvane")

work=$(mktemp -d)
if [ "${KEEP:-}" = 1 ]; then
  echo "check-report: files kept in $work"
else
  trap 'rm -rf "$work"' EXIT
fi
folder="$work/program"
mkdir -p "$work/office"
source scripts/report-folder.sh
make_report_folder "$folder"

# United States English, as the window shows figures in the C locale.
export LC_ALL=C.UTF-8 LANG=C.UTF-8

# The window's money format of a JSON figure: "$", thousands separators, two decimals
# rounded half away from zero on the decimal digits.
money() {
  awk -v n="$1" 'BEGIN {
    neg = (substr(n, 1, 1) == "-"); if (neg) n = substr(n, 2)
    split(n, p, "."); whole = p[1]; frac = substr(p[2] "0000", 1, 4)
    cents = substr(frac, 1, 2) + 0; if (substr(frac, 3, 2) + 0 >= 50) cents++
    if (cents == 100) { cents = 0; carry = 1 } else carry = 0
    # add the carry to the whole part, digit by digit (it may be longer than a double holds)
    if (carry) { i = length(whole); while (i > 0 && substr(whole, i, 1) == "9") { whole = substr(whole, 1, i - 1) "0" substr(whole, i + 1); i-- }
      if (i == 0) whole = "1" whole; else whole = substr(whole, 1, i - 1) (substr(whole, i, 1) + 1) substr(whole, i + 1) }
    out = ""; while (length(whole) > 3) { out = "," substr(whole, length(whole) - 2) out; whole = substr(whole, 1, length(whole) - 3) }
    text = sprintf("$%s%s.%02d", whole, out, cents)
    print (neg ? "(" text ")" : text)
  }'
}

results=$("$program" --program-folder "$folder" --results "$folder/Sample.bvx")
# The plan's own totals: the first "current" and "proposed" objects (later ones are per debt).
total_interest() {
  grep -o "\"$1\": {[^}]*}" <<<"$results" | head -1 |
    sed -E 's/.*"total_interest": ([-0-9.e]+).*/\1/'
}
current_interest=$(money "$(total_interest current)")
proposed_interest=$(money "$(total_interest proposed)")
# The return on the fees as a percent with two decimals ("43.06%").
annual_return=$(sed -E 's/.*"annual_return": ([-0-9.e]+).*/\1/' <<<"$results")
annual_return=$(awk -v r="$annual_return" 'BEGIN { printf "%.2f%%", r * 100 }')
[ "$annual_return" != "0.00%" ] || { echo "check-report: the sample's return on its fees is 0" >&2; exit 1; }
client="$(sed -nE 's/.*<Client [^>]*FirstName="([^"]*)".*/\1/p' "$folder/Sample.bvx" | head -1)"
client="$client $(sed -nE 's/.*<Client [^>]*LastName="([^"]*)".*/\1/p' "$folder/Sample.bvx" | head -1)"
[ "$client" != " " ] || { echo "check-report: no client name in the sample plan" >&2; exit 1; }

failed=0
fail() { echo "check-report: $1" >&2; failed=1; }

# A major section is one that the report assembly starts on a page of its own (its first
# paragraph opens with a page break): every switch above but "Plan Fees", which only chooses
# the new loan page's paragraph. The PDF has a page for each one turned on at least (the
# cover adds one more; Options, New Loan and Return On Investment may be left out by the
# plan's figures, which only lowers the count the PDF must reach).
major_sections=$(grep -cE '^(Current Debts|Plan Strategy|Payoff Projections|Strategies Compared|Options|New Loan|Return On Investment|Payoff Schedule|Immediate Results|Payment Schedule|Monthly Payment Tables|Amortization Tables|Investment Projections|Contract)=1$' "$folder/Settings.ini")

# Fails unless every date in brackets in the PDF at $2 ($1 names it), as the strategies table
# writes them ("(December 2036)", "(diciembre de 2036)"), stands whole on one line: a date
# broken over two lines leaves its bracket and month, or only part of the month, at a line's
# end. At least one whole date must be there, so that a missing table does not pass.
check_dates() {
  local what=$1 pdf=$2 report
  report=$(pdftotext -layout "$pdf" - | perl -CSD -ne '
    my $starts = qr/\((?:Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec|ene|feb|mar|abr|may|jun|jul|ago|sep|oct|nov|dic)/;
    my $whole = qr/\((?:January|February|March|April|May|June|July|August|September|October|November|December|enero|febrero|marzo|abril|mayo|junio|julio|agosto|septiembre|octubre|noviembre|diciembre)[\s\x{A0}]+(?:de[\s\x{A0}]+)?\d{4}\)/;
    while (/$starts/g) {
      my $at = $-[0];
      if (substr($_, $at) =~ /^$whole/) { $dates++; next }
      (my $line = $_) =~ s/^\s+|\s+$//g;
      $broken .= "\"$line\" ";
    }
    END { print $dates + 0, " ", $broken // "" }')
  local dates=${report%% *} broken=${report#* }
  [ "$dates" -gt 0 ] || fail "$what: no date of the strategies table in $pdf"
  [ -z "$broken" ] || fail "$what: dates broken over two lines in $pdf: $broken"
  [ -n "$broken" ] || [ "$dates" -eq 0 ] || echo "check-report: $what: $dates dates in brackets, each whole on one line"
}

# Checks the PDF at $2 for language $1: both pictures, the client's name, both interest
# figures; with a third argument, at least that many pages.
check_pdf() {
  local language=$1 pdf=$2 min_pages=${3:-0}
  local pictures text pages
  pictures=$(pdfimages -list "$pdf" | awk 'NR > 2 && $3 == "image"' | wc -l)
  [ "$pictures" -eq 2 ] || fail "$language: $pdf holds $pictures pictures instead of 2"
  text=$(pdftotext -layout "$pdf" -)
  for wanted in "$client" "$current_interest" "$proposed_interest" "$annual_return"; do
    grep -qF -- "$wanted" <<<"$text" || fail "$language: \"$wanted\" is not in $pdf"
  done
  pages=$(pdfinfo "$pdf" | awk '/^Pages:/ { print $2 }')
  [ "$pages" -ge "$min_pages" ] ||
    fail "$language: $pdf has $pages pages, fewer than the $min_pages major sections"
  echo "check-report: $language $(basename "$pdf"): $pages pages, $pictures pictures, \"$client\", $current_interest, $proposed_interest, $annual_return"
}

for language in English Spanish; do
  name="Sample $language"
  start=$(date +%s.%N)
  if ! "$program" --program-folder "$folder" "$folder/Sample.bvx" "-<p>$name" --language "$language"; then
    fail "$language: the report request failed"
    continue
  fi
  end=$(date +%s.%N)
  report="$folder/Reports/$name.doc"
  [ -s "$report" ] || { fail "$language: no report at $report"; continue; }
  echo "check-report: $language report written in $(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.2f", b - a }') s"

  # Its own profile folder, so a desktop's running office suite is not disturbed.
  soffice -env:UserInstallation="file://$work/office" --headless \
    --infilter="HTML (StarWriter)" --convert-to pdf --outdir "$work" "$report" >/dev/null 2>&1 ||
    { fail "$language: LibreOffice could not convert the report"; continue; }
  pdf="$work/$name.pdf"
  [ -s "$pdf" ] || { fail "$language: LibreOffice wrote no PDF"; continue; }

  check_pdf "$language (LibreOffice)" "$pdf"
  check_dates "$language (LibreOffice)" "$pdf"

  # The program's own PDF, beside the report.
  if ! "$program" --program-folder "$folder" "$folder/Sample.bvx" "-<p>$name" --language "$language" --pdf; then
    fail "$language: the report request with --pdf failed"
    continue
  fi
  own="$folder/Reports/$name.pdf"
  [ -s "$own" ] || { fail "$language: no PDF at $own"; continue; }
  check_pdf "$language (--pdf)" "$own" "$major_sections"
  check_dates "$language (--pdf)" "$own"

  # As a browser prints it.
  if command -v chromium >/dev/null; then
    cp "$report" "$work/$name.html"
    timeout 300 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
      --disable-background-networking --disable-component-update --disable-sync \
      --user-data-dir="$work/chromium" --no-pdf-header-footer \
      --print-to-pdf="$work/$name browser.pdf" "$work/$name.html" >/dev/null 2>&1 || true
    if [ -s "$work/$name browser.pdf" ]; then
      check_dates "$language (browser)" "$work/$name browser.pdf"
    else
      fail "$language: the browser printed no PDF"
    fi
  fi
done

# --- The program's own PDF reads like print ---------------------------------------------
# In each --pdf output: no money figure broken over two lines (a wrapped cell reads back as
# "$184,573.5" above a lone "4"), and every page of a schedule (a row of a year and a month)
# shows the schedule's column headings, each whole: the first two headings of the
# language's amortization table, on one line.
for language in English Spanish; do
  own="$folder/Reports/Sample $language.pdf"
  [ -s "$own" ] || continue  # already reported above
  broken=$(pdftotext "$own" - | grep -oE '\$[0-9][0-9,.]*|\$[[:space:]]*$' |
    grep -vE '^\$[0-9]{1,3}(,[0-9]{3})*\.[0-9]{2}[.,]?$' || true)
  [ -z "$broken" ] ||
    fail "$language (--pdf): $(wc -l <<<"$broken") money figures broken over two lines: $(head -3 <<<"$broken" | paste -sd ' ')"
  read -r first second < <(grep -oE '<font color="#ffffff">[^<]*</font>' \
    "dist/Templates/$language/AmortizationTableHeader.ktf" | sed -E 's/<[^>]*>//g' | head -2 | paste -sd ' ')
  headless=$(pdftotext -layout "$own" - | awk -v first="$first" -v second="$second" '
    BEGIN { RS = "\f" }
    {
      rows = ($0 ~ /(^|\n) *20[0-9][0-9] +[[:alpha:]]+ +[$(]/)
      heading = ($0 ~ ("(^|\n) *" first " +" second "( |\n)"))
      if (rows && !heading) printf "%d ", NR
    }')
  [ -z "$headless" ] ||
    fail "$language (--pdf): schedule pages without the whole heading row \"$first $second\": $headless"
  [ -n "$broken$headless" ] ||
    echo "check-report: $language (--pdf): no money figure broken, schedule headings on every page"
done

# A plan without consolidation whose big card is never paid off at $100 a month: the report
# says so, claims no debt-free date, calls nothing "Consolidated", and its contract shows the
# $700 of the fee left after the down payment instead of financed rows of $0.00.
cat > "$folder/Never.bvx" <<'PLAN'
<Client FirstName="Nora" LastName="Never">
  <Plan Date="46363" ReturnRate="6" Priority="0" Consolidate="" SetupFee="995" DownPayment="295" ManagementFee="25"/>
  <Debt Name="Big card" Balance="50000" InterestRate="30" CurrentPayment="100" MinimumPaymentAmount="100" CompoundingPeriod="1"/>
  <Debt Name="Car loan" Balance="5000" InterestRate="6" CurrentPayment="200" MinimumPaymentAmount="200" CompoundingPeriod="1"/>
</Client>
PLAN
if "$program" --program-folder "$folder" "$folder/Never.bvx" "-<p>Never"; then
  soffice -env:UserInstallation="file://$work/office" --headless \
    --infilter="HTML (StarWriter)" --convert-to pdf --outdir "$work" "$folder/Reports/Never.doc" \
    >/dev/null 2>&1 || fail "never paid off: LibreOffice could not convert the report"
  text=$(pdftotext "$work/Never.pdf" - 2>/dev/null | tr -s ' \n' '  ')
  grep -qF "this debt is never paid off: Big card" <<<"$text" ||
    fail "never paid off: the report does not name the debt never paid off"
  grep -qF "the plan as it stands never pays off Big card" <<<"$text" ||
    fail "never paid off: the payoff schedule does not say the plan leaves a debt"
  for claim in "pays for itself" "Consolidated"; do
    ! grep -qF "$claim" <<<"$text" || fail "never paid off: the report says \"$claim\""
  done
  # No label, heading or sentence speaks of being debt free, in any case.
  for claim in "debt free" "debt-free"; do
    ! grep -qiF "$claim" <<<"$text" || fail "never paid off: the report says \"$claim\""
  done
  contract=${text#*Service Agreement}
  [ "$contract" != "$text" ] || fail "never paid off: the report has no contract"
  ! grep -qF '$0.00' <<<"$contract" || fail "never paid off: the contract shows \$0.00"
  grep -qF '$700.00' <<<"$contract" || fail "never paid off: the contract does not show the \$700 due"
  echo "check-report: never paid off: said so, no debt-free claim, contract without \$0.00"
else
  fail "never paid off: the report request failed"
fi

# Names in any script, with bidi marks and control characters: the report still opens as a
# formatted document when LibreOffice detects its type by itself (no --infilter, as when an
# adviser opens it), the names show, a right-to-left override in a name does not reverse the
# text after it, and no control character reaches the document. Long tables repeat their
# headings on every page and every page has its number. A browser shows the same headings and
# no trace of the page footer.
rlo=$'\u202e' rlm=$'\u200f'
sed -e "s/FirstName=\"Maria\"/FirstName=\"Maria$rlo Rosa\"/" \
    -e "s/LastName=\"Sample\"/LastName=\"$(printf '\u05e9\u05e8\u05d4') Sample$rlm\"/" \
    -e "s/Name=\"Mortgage\"/Name=\"$(printf '\u0631\u0647\u0646') Mortgage\"/" \
    -e "s/Name=\"Visa\"/Name=\"${rlm}Visa $(printf '\U0001F4B3')\"/" \
    -e 's/Name="Car loan"/Name="Car\&#1;loan\&#9;\&#127;\&#133;"/' \
    "$folder/Sample.bvx" > "$folder/Names.bvx"
# The text of a PDF without the direction marks pdftotext adds around right-to-left runs.
marks=$'\u200e|\u200f|\u202a|\u202b|\u202c|\u202d|\u202e|\u2066|\u2067|\u2068|\u2069'
pdf_text() { pdftotext -layout "$@" - 2>/dev/null | sed -E "s/$marks//g"; }
# Fails unless every page of $2 ($1 names it) that holds schedule rows (a year, a month and a
# money figure) shows the column headings "Year" and "Month" too.
check_headings() {
  local what=$1 pdf=$2 pages page text
  pages=$(pdfinfo "$pdf" | awk '/^Pages:/ { print $2 }')
  for ((page = 1; page <= pages; page++)); do
    text=$(pdf_text -f "$page" -l "$page" "$pdf")
    if grep -qE '^ *20[0-9][0-9] +[A-Z][a-z]+ +\$' <<<"$text" && ! grep -qE 'Year +Month' <<<"$text"; then
      fail "$what: page $page holds schedule rows without their headings"
    fi
  done
}
check_names() {
  local what=$1 text=$2
  for source in '<td' '<table' '[$' '<!DOCTYPE'; do
    ! grep -qF -- "$source" <<<"$text" || fail "$what: the report shows its HTML source (\"$source\")"
  done
  for wanted in "$(printf '\u05e9\u05e8\u05d4')" "$(printf '\u0631\u0647\u0646')" Mortgage Carloan \
      "these are the debts you told us about"; do
    grep -qF -- "$wanted" <<<"$text" || fail "$what: \"$wanted\" is not in the report"
  done
}
if "$program" --program-folder "$folder" "$folder/Names.bvx" "-<p>Names"; then
  names="$folder/Reports/Names.doc"
  ! LC_ALL=C grep -qP '[\x01-\x08\x0b\x0c\x0e-\x1f\x7f]|\xc2[\x80-\x9f]' "$names" ||
    fail "names: the document holds control characters"
  mkdir -p "$work/names"
  soffice -env:UserInstallation="file://$work/office" --headless \
    --convert-to pdf --outdir "$work/names" "$names" >/dev/null 2>&1 ||
    fail "names: LibreOffice could not convert the report"
  pdf="$work/names/Names.pdf"
  text=$(pdf_text "$pdf")
  check_names "names (LibreOffice)" "$text"
  pages=$(pdfinfo "$pdf" | awk '/^Pages:/ { print $2 }')
  numbered=$(grep -cE '^ *Page [0-9]+ *$' <<<"$text" || true)
  [ "$numbered" -eq "$pages" ] || fail "names (LibreOffice): $numbered of $pages pages have a page number"
  echo "check-report: names (LibreOffice): opened as a document, $pages pages, each numbered"
  # Detected by itself, the document opens in Writer/Web, whose PDF repeats a table's headings
  # on its second page only; Writer's own HTML filter, as the sample is opened above, repeats
  # them on every page.
  mkdir -p "$work/names/writer"
  soffice -env:UserInstallation="file://$work/office" --headless --infilter="HTML (StarWriter)" \
    --convert-to pdf --outdir "$work/names/writer" "$names" >/dev/null 2>&1 ||
    fail "names: LibreOffice Writer could not convert the report"
  check_headings "names (LibreOffice Writer)" "$work/names/writer/Names.pdf"

  # One right-to-left mark alone, in a plan otherwise in English, is what LibreOffice's type
  # detection read as plain text while the document did not start with a byte order mark.
  sed -e "s/LastName=\"Sample\"/LastName=\"Sample$rlm\"/" "$folder/Sample.bvx" > "$folder/Mark.bvx"
  if "$program" --program-folder "$folder" "$folder/Mark.bvx" "-<p>Mark"; then
    soffice -env:UserInstallation="file://$work/office" --headless \
      --convert-to pdf --outdir "$work/names" "$folder/Reports/Mark.doc" >/dev/null 2>&1 ||
      fail "one mark: LibreOffice could not convert the report"
    text=$(pdf_text "$work/names/Mark.pdf")
    ! grep -qF '<td' <<<"$text" || fail "one mark: LibreOffice shows the report's HTML source"
  else
    fail "one mark: the report request failed"
  fi

  # A browser opens the same file when it is called .html.
  if command -v chromium >/dev/null; then
    cp "$names" "$work/names/Names.html"
    timeout 300 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
      --disable-background-networking --disable-component-update --disable-sync \
      --user-data-dir="$work/chromium" --no-pdf-header-footer \
      --print-to-pdf="$work/names/browser.pdf" "$work/names/Names.html" >/dev/null 2>&1 || true
    if [ -s "$work/names/browser.pdf" ]; then
      text=$(pdf_text "$work/names/browser.pdf")
      check_names "names (browser)" "$text"
      ! grep -qE '^ *Page [0-9]+ *$' <<<"$text" || fail "names (browser): the page footer shows"
      check_headings "names (browser)" "$work/names/browser.pdf"
      echo "check-report: names (browser): headings on every page, no footer"
    else
      fail "names: the browser printed no PDF"
    fi
  else
    echo "check-report: names: no chromium, the browser check is skipped (install-deps.sh browser)"
  fi
else
  fail "names: the report request failed"
fi

if [ "$failed" -ne 0 ]; then
  echo "check-report: FAILED" >&2
  exit 1
fi
echo "check-report: passed"
