#include "figures/debt_grid.h"

#include "base/number_text.h"
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
  const DebtRows& rows = plan.Debts;
  const auto number = [&](DebtCol col) {
    return StrToFloatSafe(rows.Cell(index, col), regional.decimalSeparator);
  };
  DebtGridRow row;
  row.neverPaidOff = DebtNeverPaysOff(results, index);
  if (row.neverPaidOff) {
    if (const auto payments = PayoffPaymentsFor(results, index)) {
      row.hint = PayoffPaymentsText(*payments, regional);
    }
  }
  std::vector<std::string>& cells = row.cells;
  cells.push_back(rows.Cell(index, DebtCol::Name));
  cells.emplace_back(row.neverPaidOff ? "Never" : "");
  cells.push_back(FormatMoneyUnits(number(DebtCol::Balance), 2, regional));
  cells.push_back(FormatPercent3(number(DebtCol::InterestRate), regional));
  const Loan* loan = results.CurrentPlan.GetLoan(index);
  cells.push_back(FormatMoney(loan ? loan->GetScheduledPayment() : Money(), 2, regional));
  cells.push_back(FormatMoneyUnits(number(DebtCol::MinimumPaymentAmount), 2, regional));
  cells.push_back(FormatPercent1(number(DebtCol::MinimumPaymentPercent), regional));
  cells.push_back(
      LookupCompoundingPeriodName(StrToIntDefault(rows.Cell(index, DebtCol::CompoundingPeriod), 1)));
  if (columns.consolidate) cells.emplace_back(rows.IsSet(index, DebtCol::Consolidate) ? "Yes" : "No");
  if (columns.restructure) cells.emplace_back(rows.IsSet(index, DebtCol::Negotiate) ? "Yes" : "No");
  return row;
}

}  // namespace ardvane
