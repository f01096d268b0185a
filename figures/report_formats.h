#pragma once

#include <string>
#include <string_view>

#include "engine/calendar.h"
#include "engine/language.h"
#include "engine/money.h"
#include "engine/regional_settings.h"

namespace ardvane {

// The text formats of report values, written with the user's regional settings.

// Money: currency units rounded to 10 significant digits, the locale's currency format,
// exactly 2 decimals ("$1,234.50"; "($50.00)" in the United States for -50).
std::string ReportMoney(Money amount, const RegionalSettings& regional);
std::string ReportMoneyUnits(double units, const RegionalSettings& regional);
// Percent3 and percent2: fixed-point with exactly 3 or 2 decimals, at most 5 significant
// digits, then "%" (the value is the percent: 18.9 gives "18.900%").
std::string ReportPercent3(double percent, const RegionalSettings& regional);
std::string ReportPercent2(double percent, const RegionalSettings& regional);
// Years: exactly 1 decimal, at most 5 significant digits ("4.5").
std::string ReportYears(double years, const RegionalSettings& regional);
// Month-year: the full month name in report language `language` and
// the year, as each language joins them ("March 2015", "marzo de 2015"). Every month-year
// date of a report is written here. Day 0 (no date, e.g. a plan without debts) gives
// `noDate`, the report language's word for it ("NA", "N/D").
std::string ReportMonthYear(DayNumber day, Language language, std::string_view noDate);
// Integer: plain decimal digits.
std::string ReportInteger(long long number);

}  // namespace ardvane
