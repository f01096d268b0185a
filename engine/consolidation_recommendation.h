#pragma once

#include <string>

#include "engine/debt.h"
#include "engine/rates.h"

namespace ardvane {

// Which debts belong in the new consolidation loan: those whose own interest rate
// (restructured terms are not looked at) is at least the new loan's rate. A debt at exactly
// the new loan's rate is recommended.
bool IsRecommendedForConsolidation(const Debt& debt, Percent newLoanRate);

// Sets the Consolidate flag of every recommended debt and clears it on every other one.
// Returns whether any flag changed. Every other field is left exactly as it was.
bool SelectDebtsToConsolidate(DebtList& debts, Percent newLoanRate);

// The message that reports the outcome of SelectDebtsToConsolidate.
std::string ConsolidationOutcomeMessage(bool changed);

// Shown instead of the recommendation when the plan has no debts.
inline constexpr char kNoDebtsToRecommend[] =
    "No debts have been entered.\n\n"
    "Please enter all debts before determining which debts should be consolidated.";

}  // namespace ardvane
