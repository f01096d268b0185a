#include "figures/display_formats.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

#include "engine/month_names.h"
#include "figures/amount_format.h"

namespace ardvane {
namespace {

// Money and fixed notation show at most this many significant digits.
constexpr int kMoneyPrecision = 10;
constexpr int kMaxDecimals = 15;

// A non-negative decimal number: 0.d1d2d3... x 10^point, with no leading or trailing zeros
// in `digits`; zero has no digits.
struct Decimal {
  std::string digits;
  int point = 0;
};

void StripTrailingZeros(Decimal& number) {
  while (!number.digits.empty() && number.digits.back() == '0') number.digits.pop_back();
  if (number.digits.empty()) number.point = 0;
}

// The shortest digits that read back as `magnitude` (finite, not negative).
Decimal FromDouble(double magnitude) {
  Decimal number;
  if (magnitude == 0) return number;
  char buffer[64];
  const auto converted =
      std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific);
  const std::string_view text(buffer, static_cast<size_t>(converted.ptr - buffer));
  const size_t e = text.find('e');
  for (const char c : text.substr(0, e)) {
    if (c != '.') number.digits += c;
  }
  std::string_view exponentText = text.substr(e + 1);
  if (!exponentText.empty() && exponentText.front() == '+') exponentText.remove_prefix(1);
  int exponent = 0;
  std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);
  number.point = exponent + 1;
  StripTrailingZeros(number);
  return number;
}

// The exact digits of a count of ten-thousandths.
Decimal FromCount(std::int64_t count) {
  const std::uint64_t magnitude =
      count < 0 ? 0 - static_cast<std::uint64_t>(count) : static_cast<std::uint64_t>(count);
  Decimal number;
  if (magnitude == 0) return number;
  number.digits = std::to_string(magnitude);
  number.point = static_cast<int>(number.digits.size()) - 4;
  StripTrailingZeros(number);
  return number;
}

// Keeps the first `keep` digits, rounding half away from zero on the next one.
void KeepDigits(Decimal& number, int keep) {
  if (keep >= static_cast<int>(number.digits.size())) return;
  if (keep < 0) {
    number = Decimal();
    return;
  }
  const bool up = number.digits[static_cast<size_t>(keep)] >= '5';
  number.digits.resize(static_cast<size_t>(keep));
  if (up) {
    int at = keep - 1;
    while (at >= 0 && number.digits[static_cast<size_t>(at)] == '9') {
      number.digits[static_cast<size_t>(at)] = '0';
      --at;
    }
    if (at < 0) {
      number.digits.insert(number.digits.begin(), '1');
      ++number.point;
    } else {
      ++number.digits[static_cast<size_t>(at)];
    }
  }
  StripTrailingZeros(number);
}

char DigitAt(const Decimal& number, int index) {
  return index >= 0 && index < static_cast<int>(number.digits.size())
             ? number.digits[static_cast<size_t>(index)]
             : '0';
}

std::string IntegerPart(const Decimal& number) {
  if (number.point <= 0) return "0";
  std::string part;
  for (int i = 0; i < number.point; ++i) part += DigitAt(number, i);
  return part;
}

std::string FractionPart(const Decimal& number, int decimals) {
  std::string part;
  for (int i = 0; i < decimals; ++i) part += DigitAt(number, number.point + i);
  return part;
}

// Exponent notation when `number`, reduced to `precision` significant digits, has more
// integer digits than that: 1.2346E5.
std::optional<std::string> ExponentForm(Decimal number, int precision,
                                        const std::string& decimalSeparator) {
  KeepDigits(number, precision);
  if (number.point <= precision) return std::nullopt;
  std::string text(1, number.digits[0]);
  if (number.digits.size() > 1) text += decimalSeparator + number.digits.substr(1);
  return text + "E" + std::to_string(number.point - 1);
}

// `number` in fixed notation with exactly `decimals` decimals after rounding to `precision`
// significant digits; `zero` tells whether it rounded to zero.
std::string FixedForm(Decimal number, int decimals, int precision,
                      const std::string& thousandsSeparator, const std::string& decimalSeparator,
                      bool& zero) {
  if (std::optional<std::string> exponent = ExponentForm(number, precision, decimalSeparator)) {
    zero = false;
    return *exponent;
  }
  KeepDigits(number, std::min(precision, number.point + decimals));
  zero = number.digits.empty();
  std::string text = GroupThousands(IntegerPart(number), thousandsSeparator);
  if (decimals > 0) text += decimalSeparator + FractionPart(number, decimals);
  return text;
}

std::string MoneyText(const Decimal& magnitude, bool negative, int decimals,
                      const RegionalSettings& regional) {
  bool zero = false;
  const std::string amount =
      FixedForm(magnitude, std::clamp(decimals, 0, kMaxDecimals), kMoneyPrecision,
                regional.monetaryThousandsSeparator, regional.monetaryDecimalSeparator, zero);
  const bool showNegative = negative && !zero;
  std::string pattern =
      showNegative ? regional.currencyNegativePattern : regional.currencyPositivePattern;
  if (pattern.find('n') == std::string::npos) pattern = showNegative ? "-$n" : "$n";
  std::string text;
  for (const char c : pattern) {
    if (c == '$')
      text += regional.currencySymbol;
    else if (c == 'n')
      text += amount;
    else
      text += c;
  }
  return text;
}

std::string Percent(double percent, int decimals, int precision, const RegionalSettings& regional) {
  return FormatFixed(percent, decimals, precision, regional) + "%";
}

}  // namespace

std::string FormatMoney(Money amount, int decimals, const RegionalSettings& regional) {
  return MoneyText(FromCount(amount.Count()), amount.Count() < 0, decimals, regional);
}

std::string FormatMoneyUnits(double units, int decimals, const RegionalSettings& regional) {
  if (!std::isfinite(units)) units = 0;
  return MoneyText(FromDouble(std::fabs(units)), units < 0, decimals, regional);
}

std::string FormatFixed(double value, int decimals, int precision,
                        const RegionalSettings& regional) {
  if (!std::isfinite(value)) return "0";
  bool zero = false;
  const std::string number =
      FixedForm(FromDouble(std::fabs(value)), std::clamp(decimals, 0, kMaxDecimals),
                std::clamp(precision, 1, 18), std::string(), regional.decimalSeparator, zero);
  return value < 0 && !zero ? regional.negativeSign + number : number;
}

std::string FormatPercent3(double percent, const RegionalSettings& regional) {
  return Percent(percent, 3, 10, regional);
}

std::string FormatPercent2(double percent, const RegionalSettings& regional) {
  return Percent(percent, 2, 5, regional);
}

std::string FormatPercent1(double percent, const RegionalSettings& regional) {
  return Percent(percent, 1, 10, regional);
}

std::string FormatYears(double years, const RegionalSettings& regional) {
  return FormatFixed(years, 1, 5, regional);
}

std::string FormatWholeNumber(long long number) { return std::to_string(number); }

std::string FormatMonthCount(int months) {
  return FormatWholeNumber(months) + (months == 1 ? " month" : " months");
}

std::string FormatMonthYear(DayNumber day) {
  if (day == 0) return "NA";  // no date, as the report writes it
  const CivilDate date = DecodeDate(day);
  return GetShortMonthName(date.month, Language::kEnglish) + " " + std::to_string(date.year);
}

}  // namespace ardvane
