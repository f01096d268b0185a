#pragma once

#include "engine/regional_settings.h"

namespace ardvane::testing {

// Regional settings fixed for tests: United States English, and a comma-decimal locale.
inline const RegionalSettings kPointRegional{};
inline const RegionalSettings kCommaRegional = [] {
  RegionalSettings regional;
  regional.decimalSeparator = ",";
  regional.thousandsSeparator = ".";
  regional.monetaryDecimalSeparator = ",";
  regional.monetaryThousandsSeparator = ".";
  regional.currencySymbol = "€";
  regional.shortDateFormat = "dd.MM.yyyy";
  regional.longTimeFormat = "HH:mm:ss";
  regional.currencyPositivePattern = "n $";
  regional.currencyNegativePattern = "-n $";
  return regional;
}();

}  // namespace ardvane::testing
