#!/usr/bin/env bash
# Compares the --results JSON of two builds, byte for byte, over the sample plan under every
# priority and over generated plans: many debts, debts that never pay off, interest-only,
# use-minimum, negotiated and consolidated debts, odd compounding and odd rates. A plan where
# either build names a debt never paid off may differ (it is listed with the keys that differ);
# any other difference fails.
# Usage: scripts/compare-results.sh REFERENCE_BINARY CANDIDATE_BINARY
set -euo pipefail
cd "$(dirname "$0")/.."
reference=$1
candidate=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r dist "$work/program"

for priority in 0 1 2 3 4 5 6 7 8; do
  sed "s/Priority=\"[0-9]*\"/Priority=\"$priority\"/" dist/Sample.bvx >"$work/sample-$priority.bvx"
done

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
    with open(f"{work}/{name}.bvx", "w") as f:
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

status=0
for plan in "$work"/*.bvx; do
  "$reference" --program-folder "$work/program" --results "$plan" >"$work/expected.json"
  "$candidate" --program-folder "$work/program" --results "$plan" >"$work/actual.json"
  if cmp -s "$work/expected.json" "$work/actual.json"; then
    echo "same: $(basename "$plan")"
  elif python3 - "$work/expected.json" "$work/actual.json" "$(basename "$plan")" <<'PY'
import json, sys

expected, actual = (json.load(open(path)) for path in sys.argv[1:3])

def never_paid_off(results):
    return results["current"]["never_paid_off"] or results["proposed"]["never_paid_off"]

def differing(a, b, path=""):
    if isinstance(a, dict) and isinstance(b, dict):
        for key in sorted(set(a) | set(b)):
            yield from differing(a.get(key), b.get(key), f"{path}.{key}" if path else key)
    elif isinstance(a, list) and isinstance(b, list) and len(a) == len(b):
        for item_a, item_b in zip(a, b):
            yield from differing(item_a, item_b, path + "[]")
    elif a != b:
        yield path

keys = sorted(set(differing(expected, actual)))
if never_paid_off(expected) or never_paid_off(actual):
    print(f"changed, a debt never paid off: {sys.argv[3]}: {', '.join(keys)}")
    sys.exit(0)
print(f"DIFFERENT: {sys.argv[3]}: {', '.join(keys)}")
sys.exit(1)
PY
  then
    :
  else
    status=1
  fi
done
exit $status
