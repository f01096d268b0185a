#pragma once

#include <vector>

#include "engine/money.h"

namespace ardvane {

// Amounts as a reader sees them on the page. A table that prints two amounts and their
// difference, or a column and its total, must add up in the figures it prints: the
// difference of $145,660.11 and $79,366.35 is $66,293.76 even when the unrounded amounts
// (145,660.1149 and 79,366.3481) differ by 66,293.7668. The window and the report take
// such differences and totals from here, and print them wherever the same figure is stated.

// `amount` rounded as money is printed with 2 decimals (FormatMoney, ReportMoney): to 10
// significant digits and at most 2 decimals, half away from zero.
Money PrintedMoney(Money amount);

// `a` - `b` as printed: PrintedMoney(a) - PrintedMoney(b).
Money PrintedDifference(Money a, Money b);

// `percent` rounded as it is printed with `decimals` decimals and at most `precision`
// significant digits (FormatFixed, FormatPercent3: 3 and 10), half away from zero.
double PrintedPercent(double percent, int decimals, int precision);

// A column of amounts with its total: each row as printed and the total their sum, so the
// column adds up to the total on the page. A deduction is a negative row.
struct FootedColumn {
  std::vector<Money> rows;
  Money total;
};
FootedColumn FootColumn(const std::vector<Money>& rows);

}  // namespace ardvane
