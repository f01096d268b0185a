#pragma once

#include <string>

#include "engine/debt_rows.h"
#include "engine/regional_settings.h"

namespace ardvane {

// Which debts belong in the new consolidation loan: those whose own interest rate (the
// InterestRate cell, a percent; restructured terms are not looked at) is at least the new
// loan's rate, also a percent. A debt at exactly the new loan's rate is recommended.
bool IsRecommendedForConsolidation(const DebtRows& rows, int row, double newLoanRatePercent,
                                   const RegionalSettings& regional);

// Sets the Consolidate flag of every recommended row and clears it on every other row.
// Returns whether any flag changed. The number cells are left exactly as they were.
bool SelectDebtsToConsolidate(DebtRows& rows, double newLoanRatePercent,
                              const RegionalSettings& regional);

// The message that reports the outcome of SelectDebtsToConsolidate.
std::string ConsolidationOutcomeMessage(bool changed);

// Shown instead of the recommendation when the plan has no debts.
inline constexpr char kNoDebtsToRecommend[] =
    "No debts have been entered.\n\n"
    "Please enter all debts before determining which debts should be consolidated.";

}  // namespace ardvane
