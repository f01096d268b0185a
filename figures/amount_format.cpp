#include "figures/amount_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "base/number_text.h"
#include "base/text.h"
#include "base/utf8.h"

namespace ardvane {
namespace {

int ClampDecimals(int decimalPlaces) { return std::clamp(decimalPlaces, 0, kMaxDecimalPlaces); }

// 10^n, exact for the small n used here.
double Pow10(int n) {
  double power = 1;
  for (int i = 0; i < n; ++i) power *= 10;
  return power;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
  if (from.empty() || from == to) return;
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A number of the ParseAmount grammar that the conversion refused because it does not fit a
// double: infinity with its sign when its magnitude is beyond the range, 0 when it is too
// small. Text outside the grammar gives nullopt.
std::optional<double> OutOfRangeValue(std::string_view text) {
  text = TrimBlanks(text);
  size_t pos = 0;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  // The decimal order of the first non-zero digit: 3 for 123, 0 for 0.5, -2 for 0.005.
  long long order = 0;
  bool anyDigit = false;
  bool nonZero = false;
  long long integerDigits = 0;
  for (; pos < text.size() && IsDigit(text[pos]); ++pos, anyDigit = true) {
    if (nonZero || text[pos] != '0') {
      nonZero = true;
      ++integerDigits;
    }
  }
  order = integerDigits;
  if (pos < text.size() && text[pos] == '.') {
    long long leadingZeros = 0;
    for (++pos; pos < text.size() && IsDigit(text[pos]); ++pos, anyDigit = true) {
      if (!nonZero && text[pos] == '0')
        ++leadingZeros;
      else if (!nonZero) {
        nonZero = true;
        order = -leadingZeros;
      }
    }
  }
  if (!anyDigit) return std::nullopt;
  if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
    ++pos;
    bool negativeExponent = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
      negativeExponent = text[pos++] == '-';
    }
    if (pos == text.size()) return std::nullopt;
    long long exponent = 0;
    for (; pos < text.size() && IsDigit(text[pos]); ++pos) {
      exponent = std::min(exponent * 10 + (text[pos] - '0'), 1'000'000'000'000LL);
    }
    order += negativeExponent ? -exponent : exponent;
  }
  if (pos != text.size()) return std::nullopt;
  if (!nonZero || order <= 0) return 0.0;
  return negative ? -HUGE_VAL : HUGE_VAL;
}

// The first character of a UTF-8 text: its lead byte and continuation bytes.
std::string_view FirstCharacter(std::string_view text) {
  if (text.empty()) return text;
  size_t length = 1;
  while (length < text.size() && IsUtf8Continuation(static_cast<unsigned char>(text[length]))) {
    ++length;
  }
  return text.substr(0, length);
}

}  // namespace

std::string GroupThousands(std::string_view digits, std::string_view separator) {
  if (separator.empty() || digits.size() <= 3) return std::string(digits);
  std::string grouped;
  grouped.reserve(digits.size() + digits.size() / 3 * separator.size());
  const size_t head = digits.size() % 3 == 0 ? 3 : digits.size() % 3;
  grouped.append(digits.substr(0, head));
  for (size_t at = head; at < digits.size(); at += 3) {
    grouped.append(separator);
    grouped.append(digits.substr(at, 3));
  }
  return grouped;
}

std::string FormatAmount(double value, int decimalPlaces, AmountKind maskType, bool showZero,
                         const RegionalSettings& regional) {
  const int decimals = ClampDecimals(decimalPlaces);
  double r = std::isfinite(value) ? std::nearbyint(value * Pow10(decimals)) : 0.0;
  if (!std::isfinite(r)) r = 0;
  if (!showZero && r == 0) return {};

  char buffer[400];
  const auto converted =
      std::to_chars(buffer, buffer + sizeof buffer, std::fabs(r), std::chars_format::fixed, 0);
  const std::string digits(buffer, converted.ptr);
  std::string integerPart = "0";
  std::string fraction;
  if (digits.size() > static_cast<size_t>(decimals)) {
    integerPart = digits.substr(0, digits.size() - decimals);
    fraction = digits.substr(digits.size() - decimals);
  } else {
    fraction = std::string(decimals - digits.size(), '0') + digits;
  }

  const bool currency = maskType == kCurrencyAmount;
  std::string text = r < 0 ? regional.negativeSign : std::string();
  if (currency) text += regional.currencySymbol;
  switch (maskType) {
    case kCurrencyAmount:
      text += GroupThousands(integerPart, regional.monetaryThousandsSeparator);
      break;
    case kPercentAmount:
    case kNumberAmount:
      text += GroupThousands(integerPart, regional.thousandsSeparator);
      break;
    case kUngroupedAmount:
      text += integerPart;
      break;
  }
  if (decimals > 0) {
    text += currency ? regional.monetaryDecimalSeparator : regional.decimalSeparator;
    text += fraction;
  }
  if (maskType == kPercentAmount) text += '%';
  return text;
}

std::optional<double> ParseAmount(std::string_view text, std::string_view negativeSign) {
  if (text.empty() || text == negativeSign) return 0.0;
  std::string number(text);
  ReplaceAll(number, negativeSign, "-");
  const std::string_view trimmed = TrimBlanks(number);
  // A number still being typed.
  if (trimmed == "." || trimmed == "-.") return 0.0;
  if (const std::optional<double> value = ParseStrictFloat(number, ".")) return *value;
  return OutOfRangeValue(number);
}

bool IsCompleteAmount(std::string_view text, std::string_view negativeSign) {
  if (IsBlank(text) || text == negativeSign) return false;
  std::string number(text);
  ReplaceAll(number, negativeSign, "-");
  const std::string_view trimmed = TrimBlanks(number);
  if (trimmed == "." || trimmed == "-.") return false;
  return ParseAmount(text, negativeSign).has_value();
}

double LimitAndRound(double value, double minimum, double maximum, int decimalPlaces) {
  if (std::isnan(value)) return 0;
  const int decimals = ClampDecimals(decimalPlaces);
  double clamped = value;
  if (minimum != maximum) {
    if (clamped > maximum)
      clamped = maximum;
    else if (clamped < minimum)
      clamped = minimum;
  }
  const double scale = Pow10(decimals);
  const double largest = (Pow10(kMaxSignificantDigits) - 1) / scale;
  clamped = std::clamp(clamped, -largest, largest);
  // nearbyint rounds half to even in the default rounding mode; adding 0 turns -0 into 0.
  return std::nearbyint(clamped * scale) / scale + 0.0;
}

bool AcceptsKey(std::string_view text, std::string_view selected, std::string_view character,
                bool decimalEntryAllowed, bool negativeEntryAllowed,
                std::string_view negativeSign) {
  if (character.size() == 1 && (IsDigit(character[0]) || character[0] == '\b')) return true;
  if (character == ".") {
    return decimalEntryAllowed && (text.find('.') == std::string_view::npos ||
                                   selected.find('.') != std::string_view::npos);
  }
  const std::string_view minus = FirstCharacter(negativeSign);
  if (!minus.empty() && character == minus) {
    return negativeEntryAllowed &&
           (text.empty() || selected.find(negativeSign) != std::string_view::npos ||
            selected == text);
  }
  return false;
}

std::string PlainAmount(double value, std::string_view negativeSign) {
  std::string text = FormatGeneral(value, ".");
  ReplaceAll(text, "-", negativeSign);
  return text;
}

}  // namespace ardvane
