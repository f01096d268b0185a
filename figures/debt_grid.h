#pragma once

#include <string>
#include <vector>

#include "engine/plan_calculation.h"
#include "engine/plan_document.h"
#include "engine/regional_settings.h"

namespace ardvane {

// What the main window's debt grid shows, without the grid: its headings and, per debt, the
// cell texts as the adviser entered them (balance, rate, minimums, compounding) beside the
// payment the current plan makes, and a column that marks a debt never paid off.

struct DebtGridColumns {
  bool consolidate = false;  // the "Consolidate" column (the installation permits consolidating)
  bool restructure = false;  // the "Restructure" column (it permits negotiating)
};

// The column beside the name that marks a debt the current plan never pays off ("Never").
inline constexpr int kDebtGridPayoffColumn = 1;

// "Description", "Payoff", "Balance", ..., then "Consolidate" and "Restructure" when
// permitted.
std::vector<std::string> DebtGridHeadings(DebtGridColumns columns);

// Whether column `column` holds an amount (right-aligned) rather than text.
bool DebtGridColumnIsAmount(int column);

struct DebtGridRow {
  std::vector<std::string> cells;
  // The current plan never pays the debt off: "Never" in the payoff column.
  bool neverPaidOff = false;
  // On such a debt: what payment would pay it off, and in how many months (PayoffPaymentsText).
  std::string hint;
};

// Row `index` of the grid.
DebtGridRow MakeDebtGridRow(const PlanDocument& plan, const PlanResults& results, int index,
                            DebtGridColumns columns, const RegionalSettings& regional);

}  // namespace ardvane
