#include "engine/consolidation_recommendation.h"

#include "base/number_text.h"

namespace ardvane {

bool IsRecommendedForConsolidation(const DebtRows& rows, int row, double newLoanRatePercent,
                                   const RegionalSettings& regional) {
  const double rate =
      StrToFloatSafe(rows.Cell(row, DebtCol::InterestRate), regional.decimalSeparator);
  return rate >= newLoanRatePercent;
}

bool SelectDebtsToConsolidate(DebtRows& rows, double newLoanRatePercent,
                              const RegionalSettings& regional) {
  bool changed = false;
  for (int row = 0; row < rows.GetDebtCount(); ++row) {
    const bool recommended = IsRecommendedForConsolidation(rows, row, newLoanRatePercent, regional);
    if (recommended != rows.IsSet(row, DebtCol::Consolidate)) changed = true;
    rows.SetCell(row, DebtCol::Consolidate, recommended ? std::string(kConsolidateWord) : "");
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
