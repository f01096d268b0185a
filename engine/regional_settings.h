#pragma once

#include <string>

namespace ardvane {

// The user's regional settings as the engine needs them. The platform layer fills this
// once from the desktop's locale; tests and the command line set it explicitly. The
// defaults are United States English.
struct RegionalSettings {
  std::string decimalSeparator = ".";
  std::string thousandsSeparator = ",";
  std::string currencySymbol = "$";
  std::string negativeSign = "-";
  // Short date pattern in Qt/ICU form, e.g. "M/d/yyyy".
  std::string shortDateFormat = "M/d/yyyy";
};

}  // namespace ardvane
