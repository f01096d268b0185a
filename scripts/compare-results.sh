#!/usr/bin/env bash
# Compares two builds byte for byte on many plans: the sample plan under every priority, the
# generated plans below (many debts, debts that never pay off, interest-only, use-minimum,
# negotiated and consolidated debts, odd compounding and odd rates), the plan files the tests
# read (fuzz/corpus/) and the plans the tests write from their own text. On each plan it runs
# --results, --compare, --needed --by 2030-06, --csv (both tables), the report in English and
# in Spanish with its PDF (every section on), and opens and saves the plan as the window does
# (tests/tools/resave_plan). Every run has a fresh copy of dist/ as its program folder, at the
# same path for both builds, and what is compared is its standard output, standard error, exit
# status and every file the run wrote or changed in the program folder. The PDF's creation time
# is the one thing set to a fixed value before comparing. Any difference fails, and is listed.
# Usage: scripts/compare-results.sh [--quick | --all] REFERENCE_BINARY CANDIDATE_BINARY
#            [REFERENCE_RESAVE CANDIDATE_RESAVE]
# The resave tools are by default BUILD/tests/tools/resave_plan of each binary's BUILD/app/.
# The three largest plans (2,000 to 10,000 debts) get no report, whose PDF takes minutes, but
# for --all; --quick leaves them out altogether. JOBS=N runs N at once (default 2). KEEP=1
# keeps the temporary folder and says where it is.
set -euo pipefail
cd "$(dirname "$0")/.."

# The plans whose report takes minutes.
large="many-2000.bvx many-10000.bvx awkward-big.bvx"
scope=default
case ${1:-} in --quick | --all) scope=${1#--}; shift ;; esac
if [ $# -ne 2 ] && [ $# -ne 4 ]; then
  echo "Usage: scripts/compare-results.sh [--quick | --all] REFERENCE_BINARY CANDIDATE_BINARY" \
    "[REFERENCE_RESAVE CANDIDATE_RESAVE]" >&2
  exit 2
fi
reference=$(realpath "$1")
candidate=$(realpath "$2")
resave_of() { realpath -m "$(dirname "$1")/../tests/tools/resave_plan"; }
reference_resave=$(realpath -m "${3:-$(resave_of "$reference")}")
candidate_resave=$(realpath -m "${4:-$(resave_of "$candidate")}")
for tool in "$reference" "$candidate" "$reference_resave" "$candidate_resave"; do
  if [ ! -x "$tool" ]; then
    echo "compare-results: $tool is missing (build the ardvane and resave_plan targets)" >&2
    exit 2
  fi
done

work=$(mktemp -d)
if [ "${KEEP:-}" = 1 ]; then
  echo "compare-results: files kept in $work"
else
  trap 'rm -rf "$work"' EXIT
fi
mkdir -p "$work/plans" "$work/out"
# A fixed hash seed: Qt's hashing otherwise orders the PDF's embedded fonts anew each run.
export LC_ALL=C.UTF-8 LANG=C.UTF-8 TZ=UTC QT_HASH_SEED=0

for priority in 0 1 2 3 4 5 6 7 8; do
  sed "s/Priority=\"[0-9]*\"/Priority=\"$priority\"/" dist/Sample.bvx >"$work/plans/sample-$priority.bvx"
done
# The plan files the tests read, and those they write from string literals that hold a Client
# element (adjacent literals joined, escapes decoded as C++ does for these).
for file in fuzz/corpus/plan/* fuzz/corpus/xml/*; do
  cp "$file" "$work/plans/corpus-$(basename "$(dirname "$file")")-$(basename "$file")"
done
python3 - "$work/plans" <<'PY'
import codecs, glob, re, sys

# Comments, numbers (with digit separators), character literals and raw strings are skipped
# so that no quote inside them is taken for the start of a string literal.
token = re.compile(r"""//[^\n]*|/\*.*?\*/|\b\d[\d'.xXa-fA-F]*|'(?:[^'\\\n]|\\.)*'"""
                   r"""|R"([^(]*)\(.*?\)\1"|"((?:[^"\\\n]|\\.)*)"s?|\S""", re.S)
for path in sorted(glob.glob("tests/**/*.cpp", recursive=True) + glob.glob("tests/**/*.h", recursive=True)):
    source = open(path, "rb").read().decode("utf-8", "surrogateescape")
    pieces, start = [], 0
    for match in list(token.finditer(source)) + [None]:
        if match and match.group(2) is not None:
            if not pieces:
                start = match.start()
            pieces.append(match.group(2))
            continue
        text, pieces = "".join(pieces), []
        if "<Client" in text:
            content = codecs.escape_decode(text.encode("utf-8", "surrogateescape"))[0]
            line = source.count("\n", 0, start) + 1
            name = path.split("/")[-1].rsplit(".", 1)[0]
            with open(f"{sys.argv[1]}/test-{name}-{line}.bvx", "wb") as out:
                out.write(content)
PY

python3 - "$work" <<'PY'
import random, sys

work = sys.argv[1]

def debt(rng, i, awkward):
    balance = round(rng.uniform(0, 250000) if i % 13 == 0 else rng.uniform(50, 30000), 2)
    rate = rng.choice([0, 3, 4.99, 5.5, 6, 6.25, 7.9, 11, 15, 19.9, 21.99, 24.99, 29.9])
    monthly = balance * rate / 1200
    payment = round(monthly + balance / rng.randint(6, 400), 2)
    minimum = round(payment * rng.choice([0.3, 0.6, 1]), 2)
    percent = rng.choice([0, 0, 1, 2, 2.5, 3])
    attrs = dict(Name=f"Debt {i}", Balance=balance, InterestRate=rate, CurrentPayment=payment,
                 MinimumPaymentAmount=minimum, MinimumPaymentPercent=percent,
                 Consolidate="Consolidate" if rng.random() < 0.15 else "",
                 Escrow=rng.choice([0, 0, 0, 120.5]),
                 UseMinimum="UseMinimum" if rng.random() < 0.2 else "",
                 Negotiate="", NegotiatedBalance=0, NegotiatedInterestRate=0,
                 NegotiatedPayment=0, CompoundingPeriod=rng.choice([0, 1, 1, 1, 3, 6, 12]))
    if rng.random() < 0.1:
        attrs.update(Negotiate="Negotiate", NegotiatedBalance=round(balance * 0.7, 2),
                     NegotiatedInterestRate=rng.choice([0, 2, 5]),
                     NegotiatedPayment=round(payment * 0.5, 2))
    if awkward:
        kind = i % 7
        if kind == 0:  # pays less than its interest: never paid off
            attrs.update(CurrentPayment=round(monthly * 0.5, 2),
                         MinimumPaymentAmount=round(monthly * 0.5, 2), MinimumPaymentPercent=0)
        elif kind == 1:  # nothing owed
            attrs.update(Balance=0)
        elif kind == 2:  # a negative rate
            attrs.update(InterestRate=-3)
        elif kind == 3:  # a payment of 0
            attrs.update(CurrentPayment=0, MinimumPaymentAmount=0, MinimumPaymentPercent=0)
    return attrs

def plan(name, debts, seed, priority, awkward=False, interest_only=False, ordinary=False):
    rng = random.Random(seed)
    lines = ['<Client FirstName="Gen" LastName="Plan">',
             '  <Accelerator1 Monthly="200" Annual="1000" Month="12"/>',
             '  <Accelerator2 Monthly="250" Annual="0" Month="1"/>',
             '  <Accelerator3 Monthly="400" Annual="0" Month="1"/>',
             f'  <Plan Date="46363" ReturnRate="6" Priority="{priority}" Consolidate="1" '
             'SetupFeeRate="25" SetupFee="995" ManagementFee="25" DownPayment="295" '
             'MinSetupFee="0" MinSavings="0" MinDownPayment="0"/>',
             '  <ConsolidationLoan InterestRate="7.5" Term="5" '
             f'InterestOnly="{"InterestOnly" if interest_only else ""}" FeesRate="2" '
             'FeesAmount="150" CashOut="0"/>']
    for i in range(debts):
        a = debt(rng, i, awkward)
        if ordinary:  # every payment above the interest: each plan pays every debt off
            a.update(MinimumPaymentAmount=a["CurrentPayment"], Negotiate="")
        lines.append('  <Debt ' + ' '.join(f'{k}="{v}"' for k, v in a.items()) + '/>')
    lines.append('</Client>')
    with open(f"{work}/plans/{name}.bvx", "w") as f:
        f.write("\n".join(lines) + "\n")

plan("many-200", 200, 1, 0)
plan("many-2000", 2000, 2, 8)
plan("many-10000", 10000, 3, 2)
for p in range(9):
    plan(f"awkward-{p}", 60, 10 + p, p, awkward=True, interest_only=p % 2 == 0)
plan("awkward-big", 3000, 30, 7, awkward=True, interest_only=True)
for p in range(9):
    plan(f"ordinary-{p}", 8 + 4 * p, 50 + p, p, interest_only=p % 3 == 0, ordinary=True)
# Small plans with one debt that today's payments, or the plan's, never pay off.
for p in range(4):
    plan(f"hopeless-{p}", 4 + p, 40 + p, p * 2, awkward=True)
PY
if [ "$scope" = quick ]; then (cd "$work/plans" && rm -f $large); fi

source scripts/report-folder.sh
modes="results compare needed csv-amortization csv-investment report-English report-Spanish saved"

# Each slot's two program folders to copy: dist/, and dist/ with every report section on (its
# Settings.ini names the slot's own Reports/). Dated 2000, so that what a run writes is what is
# newer than 2001.
make_templates() {
  local slot=$1
  mkdir -p "$work/templates-$slot"
  cp -r dist "$work/templates-$slot/plain"
  make_report_folder "$work/slot-$slot/program"
  mv "$work/slot-$slot/program" "$work/templates-$slot/report"
  find "$work/templates-$slot" -exec touch -h -d 2000-01-01 {} +
  touch -d 2001-01-01 "$work/templates-$slot/written-after"
}

# Runs one mode on one plan with the binary and resave tool given, in slot $1's program folder
# made afresh, and keeps in $out its output, errors, exit status and the files it wrote.
run() {
  local slot=$1 binary=$2 resave=$3 plan=$4 mode=$5 out=$6
  local folder="$work/slot-$slot/program" templates="$work/templates-$slot"
  rm -rf "$work/slot-$slot"
  mkdir -p "$work/slot-$slot" "$out"
  cp -rp "$templates/$([[ $mode == report-* ]] && echo report || echo plain)" "$folder"
  local status=0
  case $mode in
    results | compare) "$binary" --program-folder "$folder" "--$mode" "$plan" ;;
    needed) "$binary" --program-folder "$folder" --needed "$plan" --by 2030-06 ;;
    csv-*) "$binary" --program-folder "$folder" --csv "$plan" --table "${mode#csv-}" ;;
    report-*) "$binary" --program-folder "$folder" "$plan" "-<p>Report" --language "${mode#report-}" --pdf ;;
    saved) "$resave" "$folder" "$plan" "$folder/Saved.bvx" ;;
  esac >"$out/stdout" 2>"$out/stderr" || status=$?
  echo "$status" >"$out/status"
  (cd "$folder" && find . -type f -newer "$templates/written-after" -printf '%P\0' |
    xargs -0 -r cp --parents -t "$out")
  # The one time a PDF holds: its creation date.
  find "$out" -name '*.pdf' -exec perl -0777 -pi -e 's{(/CreationDate \(D:)\d{14}}{${1}20000101000000}g' {} +
}

# Worker $1 of $2: every such job, the reference and then the candidate in the same folder.
worker() {
  local index=0 plan mode name
  for plan in "$work"/plans/*; do
    name=$(basename "$plan")
    for mode in $modes; do
      if [[ $mode == report-* && $scope != all && " $large " == *" $name "* ]]; then continue; fi
      if [ $((index++ % $2)) -eq "$1" ]; then
        run "$1" "$reference" "$reference_resave" "$plan" "$mode" "$work/out/reference/$name/$mode"
        run "$1" "$candidate" "$candidate_resave" "$plan" "$mode" "$work/out/candidate/$name/$mode"
      fi
    done
  done
}

jobs=${JOBS:-2}
pids=()
for ((i = 0; i < jobs; i++)); do make_templates "$i"; done
for ((i = 0; i < jobs; i++)); do worker "$i" "$jobs" & pids+=($!); done
for pid in "${pids[@]}"; do
  wait "$pid" || { echo "compare-results: a run could not be made or kept" >&2; exit 2; }
done

python3 - "$work" <<'PY'
import filecmp, json, os, subprocess, sys, tempfile

work = sys.argv[1]
reference, candidate = f"{work}/out/reference", f"{work}/out/candidate"

def files(root):
    return {os.path.relpath(os.path.join(folder, name), root)
            for folder, _, names in os.walk(root) for name in names}

def json_keys(a, b, path=""):
    if isinstance(a, dict) and isinstance(b, dict):
        for key in sorted(set(a) | set(b)):
            yield from json_keys(a.get(key), b.get(key), f"{path}.{key}" if path else key)
    elif isinstance(a, list) and isinstance(b, list) and len(a) == len(b):
        for item_a, item_b in zip(a, b):
            yield from json_keys(item_a, item_b, path + "[]")
    elif a != b:
        yield path

def pages_render_alike(a, b):
    with tempfile.TemporaryDirectory(dir=work) as folder:
        for side, pdf in (("a", a), ("b", b)):
            subprocess.run(["pdftoppm", "-r", "40", "-png", pdf, f"{folder}/{side}"], check=True)
        names = sorted(os.listdir(folder))
        pages_a = [n for n in names if n.startswith("a")]
        pages_b = [n for n in names if n.startswith("b")]
        return len(pages_a) == len(pages_b) and all(
            filecmp.cmp(f"{folder}/{x}", f"{folder}/{y}", shallow=False)
            for x, y in zip(pages_a, pages_b))

def detail(name, a, b):
    if name.endswith(".pdf"):
        alike = pages_render_alike(a, b)
        return "its pages render " + ("alike: only the PDF's bytes differ" if alike else "differently")
    data_a, data_b = open(a, "rb").read(), open(b, "rb").read()
    if name.endswith("stdout") and data_a.startswith(b"{"):
        try:
            return "keys " + ", ".join(sorted(set(json_keys(json.loads(data_a), json.loads(data_b)))))
        except ValueError:
            pass
    at = next((i for i, (x, y) in enumerate(zip(data_a, data_b)) if x != y),
              min(len(data_a), len(data_b)))
    if name.endswith((".bmp", ".png")):
        return f"from byte {at}"
    def text(data):  # up to 50 bytes either side of the first difference, within its line
        start = max(data.rfind(b"\n", 0, at) + 1, at - 50)
        return data[start:at + 50].split(b"\n")[0].decode("utf-8", "replace")
    line = data_a.count(b"\n", 0, at) + 1
    return f"line {line}: {text(data_a)!r} became {text(data_b)!r}"

plans = sorted(os.listdir(reference))
outputs = differing = 0
for plan in plans:
    ref, cand = files(f"{reference}/{plan}"), files(f"{candidate}/{plan}")
    outputs += len(ref | cand)
    lines = [f"{name}: only the {'reference' if name in ref else 'candidate'} wrote it"
             for name in sorted(ref ^ cand)]
    for name in sorted(ref & cand):
        a, b = f"{reference}/{plan}/{name}", f"{candidate}/{plan}/{name}"
        if not filecmp.cmp(a, b, shallow=False):
            lines.append(f"{name}: {detail(name, a, b)}")
    differing += len(lines)
    print(f"DIFFERENT: {plan}" if lines else f"same: {plan}")
    for line in lines:
        print(f"  {line}")
print(f"{len(plans)} plans, {outputs} outputs: "
      + (f"{differing} differ" if differing else "every one byte-identical"))
sys.exit(1 if differing else 0)
PY
