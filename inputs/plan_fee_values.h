#pragma once

#include <string>

#include "engine/money.h"
#include "engine/plan_calculation.h"
#include "engine/plan_document.h"
#include "engine/regional_settings.h"

namespace ardvane {

class PlanSession;

// The six plan values the setup fee dialog edits, as the plan holds them.
struct SetupFeeValues {
  Money SetupFee;
  Ratio SetupFeeRate;
  Money DownPayment;
  Money MinSavings;
  Money MinSetupFee;
  Money MinDownPayment;

  friend bool operator==(const SetupFeeValues&, const SetupFeeValues&) = default;
};

SetupFeeValues RememberSetupFee(const PlanDocument& plan);
// Writes all six through the session's edit operations, which mark the plan changed only
// when a value really changes. True when one did.
bool StoreSetupFee(PlanSession& session, const SetupFeeValues& values);

// The texts of the setup fee dialog's figures for the latest calculation: amounts in money
// format without decimals, the rate as a percent with three decimals.
struct SetupFeeFigures {
  std::string noFeeInterestSaved;  // interest saved before the fee is financed
  std::string setupFeeRate;        // the plan's rate, "25.000%"
  std::string percentSetupFee;     // the fee the rate gives
  std::string actualSetupFee;      // the fee charged
  std::string downPayment;         // the down payment charged
  std::string setupFeeFinanced;
  std::string interestSaved;  // interest saved with the financed fee
};

SetupFeeFigures MakeSetupFeeFigures(const PlanDocument& plan, const PlanResults& results,
                                    const RegionalSettings& regional);

// A power payment's month (1 = January) as a position in a list of the twelve months, or -1
// (nothing selected) for a month outside 1..12; and back, where nothing selected is month 0.
int MonthListIndex(int month);
int MonthFromListIndex(int index);

}  // namespace ardvane
