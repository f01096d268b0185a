#include "figures/printed_amounts.h"

#include <cstdlib>
#include <string>

#include "engine/regional_settings.h"
#include "figures/display_formats.h"

namespace ardvane {
namespace {

// Numbers written so that they read back: no currency symbol, no grouping, "." and "-".
const RegionalSettings& Plain() {
  static const RegionalSettings plain{.currencySymbol = "",
                                      .monetaryThousandsSeparator = "",
                                      .monetaryDecimalSeparator = ".",
                                      .thousandsSeparator = "",
                                      .decimalSeparator = ".",
                                      .negativeSign = "-",
                                      .currencyPositivePattern = "$n",
                                      .currencyNegativePattern = "-$n"};
  return plain;
}

}  // namespace

// Read back from the printed text itself, so that it rounds exactly as the page does, also
// where 10 significant digits leave fewer than 2 decimals.
Money PrintedMoney(Money amount) {
  const std::string text = FormatMoney(amount, 2, Plain());
  return Money::FromUnits(std::strtold(text.c_str(), nullptr));
}

Money PrintedDifference(Money a, Money b) { return PrintedMoney(a) - PrintedMoney(b); }

double PrintedPercent(double percent, int decimals, int precision) {
  const std::string text = FormatFixed(percent, decimals, precision, Plain());
  return std::strtod(text.c_str(), nullptr);
}

FootedColumn FootColumn(const std::vector<Money>& rows) {
  FootedColumn column;
  column.rows.reserve(rows.size());
  for (const Money row : rows) {
    column.rows.push_back(PrintedMoney(row));
    column.total += column.rows.back();
  }
  return column;
}

}  // namespace ardvane
