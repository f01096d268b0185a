#include "engine/consolidation_recommendation.h"

#include <utility>

namespace ardvane {

bool IsRecommendedForConsolidation(const Debt& debt, Percent newLoanRate) {
  return debt.InterestRate >= newLoanRate;
}

bool SelectDebtsToConsolidate(DebtList& debts, Percent newLoanRate) {
  bool changed = false;
  for (int row = 0; row < debts.GetDebtCount(); ++row) {
    Debt debt = debts.At(row);
    const bool recommended = IsRecommendedForConsolidation(debt, newLoanRate);
    if (recommended == debt.Consolidate) continue;
    changed = true;
    debt.Consolidate = recommended;
    debts.EditDebt(row, std::move(debt));
  }
  return changed;
}

std::string ConsolidationOutcomeMessage(bool changed) {
  if (changed) {
    return "The recommendations have been implemented.\n\n"
           "All debts recommended for consolidation will be paid off with the new consolidation "
           "loan.";
  }
  return "No changes were made.\n\nYour current selections already match the recommendation.";
}

}  // namespace ardvane
