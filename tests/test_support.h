#pragma once
// What the tests share: fixed regional settings, money and debt builders.

#include <string>
#include <utility>

#include "engine/debt.h"
#include "engine/money.h"
#include "tests/test_regional.h"

namespace ardvane::testing {

// Money from a number of units, e.g. M(58.9848).
inline Money M(long double units) { return Money::FromUnits(units); }

// A debt as typed into the debt window: amounts in currency units, the rate in percent per
// year; what is left out is 0, compounding monthly. Set any other field on the result.
inline Debt MakeDebt(std::string name, double balance, double rate = 0, double payment = 0,
                     double minimum = 0) {
  Debt debt;
  debt.Name = std::move(name);
  debt.Balance = balance;
  debt.InterestRate = Percent(rate);
  debt.CurrentPayment = payment;
  debt.MinimumPaymentAmount = minimum;
  return debt;
}

// The same debt marked for the consolidation loan.
inline Debt Consolidated(Debt debt) {
  debt.Consolidate = true;
  return debt;
}

// Changes debt `row` of `debts` with `change(Debt&)`.
template <typename Change>
void ChangeDebt(DebtList& debts, int row, Change change) {
  Debt debt = debts.At(row);
  change(debt);
  debts.EditDebt(row, std::move(debt));
}

}  // namespace ardvane::testing
