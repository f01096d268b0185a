#pragma once

#include <string>

namespace ardvane {

// The user's regional settings: one value, made once when the program starts (from the
// desktop's locale in the windowed program, United States English on the command line, fixed
// values in tests) and handed to whatever formats or reads numbers and dates. Nothing below the
// program's entry point reads the real locale. The defaults are United States English.
struct RegionalSettings {
  // The six texts of the numeric entry field, each non-empty.
  std::string currencySymbol = "$";
  std::string monetaryThousandsSeparator = ",";
  std::string monetaryDecimalSeparator = ".";
  std::string thousandsSeparator = ",";
  std::string decimalSeparator = ".";
  std::string negativeSign = "-";
  // Date and time patterns in Qt/ICU form.
  std::string shortDateFormat = "M/d/yyyy";
  std::string longTimeFormat = "h:mm:ss AP";
  // The locale's currency patterns: "$" stands for the currency symbol and "n" for the
  // grouped amount without sign, e.g. "$n" and "($n)" in the United States, "n $" and "-n $"
  // in much of Europe.
  std::string currencyPositivePattern = "$n";
  std::string currencyNegativePattern = "($n)";

  friend bool operator==(const RegionalSettings&, const RegionalSettings&) = default;
};

}  // namespace ardvane
