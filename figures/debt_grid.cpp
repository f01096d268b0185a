#include "figures/debt_grid.h"

#include "figures/display_formats.h"
#include "figures/payoff_payment.h"

namespace ardvane {

std::vector<std::string> DebtGridHeadings(DebtGridColumns columns) {
  std::vector<std::string> headings = {"Description", "Payoff",     "Balance",    "Int Rate",
                                       "Current Pmt", "Min Pmt($)", "Min Pmt(%)", "Compounding"};
  if (columns.consolidate) headings.emplace_back("Consolidate");
  if (columns.restructure) headings.emplace_back("Restructure");
  return headings;
}

bool DebtGridColumnIsAmount(int column) { return column >= 2 && column <= 6; }

DebtGridRow MakeDebtGridRow(const PlanDocument& plan, const PlanResults& results, int index,
                            DebtGridColumns columns, const RegionalSettings& regional) {
  const Debt& debt = plan.Debts.At(index);
  DebtGridRow row;
  row.neverPaidOff = DebtNeverPaysOff(results, index);
  if (row.neverPaidOff) {
    if (const auto payments = PayoffPaymentsFor(results, index)) {
      row.hint = PayoffPaymentsText(*payments, regional);
    }
  }
  std::vector<std::string>& cells = row.cells;
  cells.push_back(debt.Name);
  cells.emplace_back(row.neverPaidOff ? "Never" : "");
  cells.push_back(FormatMoneyUnits(debt.Balance, 2, regional));
  cells.push_back(FormatPercent3(debt.InterestRate.Value(), regional));
  const Loan* loan = results.CurrentPlan.GetLoan(index);
  cells.push_back(FormatMoney(loan ? loan->GetScheduledPayment() : Money(), 2, regional));
  cells.push_back(FormatMoneyUnits(debt.MinimumPaymentAmount, 2, regional));
  cells.push_back(FormatPercent1(debt.MinimumPaymentPercent.Value(), regional));
  cells.push_back(LookupCompoundingPeriodName(debt.Compounding));
  if (columns.consolidate) cells.emplace_back(debt.Consolidate ? "Yes" : "No");
  if (columns.restructure) cells.emplace_back(debt.Negotiate ? "Yes" : "No");
  return row;
}

}  // namespace ardvane
