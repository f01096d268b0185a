#pragma once
// What the tests share: fixed regional settings, money and debt builders.

#include <string>
#include <utility>

#include "engine/debt_rows.h"
#include "engine/money.h"
#include "tests/test_regional.h"

namespace ardvane::testing {

// Money from a number of units, e.g. M(58.9848).
inline Money M(long double units) { return Money::FromUnits(units); }

// A debt as typed into the debt window. The texts left out stay blank (AddDebt stores a blank
// number as 0); compounding is monthly. Set any other field on the result.
inline DebtFields Debt(std::string name, std::string balance, std::string rate = "",
                       std::string payment = "", std::string minimum = "") {
  DebtFields debt;
  debt.Name = std::move(name);
  debt.Balance = std::move(balance);
  debt.InterestRate = std::move(rate);
  debt.CurrentPayment = std::move(payment);
  debt.MinimumPaymentAmount = std::move(minimum);
  debt.CompoundingPeriod = "1";
  return debt;
}

// The same debt marked for the consolidation loan.
inline DebtFields Consolidated(DebtFields debt) {
  debt.Consolidate = true;
  return debt;
}

}  // namespace ardvane::testing
