#pragma once

#include <string>

#include "engine/calendar.h"
#include "engine/money.h"
#include "engine/regional_settings.h"

namespace ardvane {

// The formats in which the windows show results, each written with the user's regional
// settings. Decimal rounding is done on the decimal digits of the value (the exact digits of
// a Money amount, the shortest digits that read back as the same double otherwise), half away
// from zero, so 1234.565 at 2 decimals is 1234.57.

// Money with `decimals` decimals (M2: 2, M0: 0): the amount is first reduced to 10
// significant digits, then written with the currency symbol, the monetary separators and the
// locale's currency patterns ("$n" and "($n)" in the United States: -1234.5 is
// ($1,234.50)). An amount with more than 10 integer digits falls back to exponent notation
// inside the same pattern ($1.234567891E10). An amount that rounds to zero has no sign.
std::string FormatMoney(Money amount, int decimals, const RegionalSettings& regional);
// The same for an amount in currency units (1.5 is 1.50), e.g. a chart value.
std::string FormatMoneyUnits(double units, int decimals, const RegionalSettings& regional);

// Fixed notation: `value` rounded to at most `precision` significant digits and at most
// `decimals` decimals, then written with exactly `decimals` decimals, the decimal separator,
// no grouping and the negative sign in front. A value with more integer digits than
// `precision` falls back to exponent notation (1.2346E5). Non-finite values give "0".
std::string FormatFixed(double value, int decimals, int precision,
                        const RegionalSettings& regional);

// F3%: 3 decimals, 10 significant digits, then "%" (the value is the percent: 7.5 is 7.500%).
std::string FormatPercent3(double percent, const RegionalSettings& regional);
// F2%: 2 decimals, 5 significant digits, then "%".
std::string FormatPercent2(double percent, const RegionalSettings& regional);
// F1%: 1 decimal, 10 significant digits, then "%".
std::string FormatPercent1(double percent, const RegionalSettings& regional);
// Y: 1 decimal, 5 significant digits (years until debt free: 12.5).
std::string FormatYears(double years, const RegionalSettings& regional);
// N: a whole number in plain digits, "-" in front when negative.
std::string FormatWholeNumber(long long number);
// A count of months in words of the window: "1 month", "447 months".
std::string FormatMonthCount(int months);
// D: the English three-letter month, a blank and the year: "Jun 2024". Day 0 (no date, e.g.
// a plan without debts) is "NA", as the report writes it.
std::string FormatMonthYear(DayNumber day);

}  // namespace ardvane
