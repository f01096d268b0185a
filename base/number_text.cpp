#include "base/number_text.h"

#include <charconv>
#include <cmath>

#include "base/text.h"

namespace ardvane {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

size_t SkipDigits(std::string_view text, size_t pos) {
  while (pos < text.size() && IsDigit(text[pos])) ++pos;
  return pos;
}

}  // namespace

std::optional<double> ParseStrictFloat(std::string_view text, std::string_view decimalSeparator) {
  text = Trim(text);
  // Rebuild the number in the C form strtod expects, checking the grammar on the way.
  std::string canonical;
  canonical.reserve(text.size());
  size_t pos = 0;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) canonical += text[pos++];
  size_t end = SkipDigits(text, pos);
  size_t digits = end - pos;
  canonical.append(text.substr(pos, end - pos));
  pos = end;
  if (!decimalSeparator.empty() && text.substr(pos, decimalSeparator.size()) == decimalSeparator) {
    pos += decimalSeparator.size();
    end = SkipDigits(text, pos);
    digits += end - pos;
    canonical += '.';
    canonical.append(text.substr(pos, end - pos));
    pos = end;
  }
  if (digits == 0) return std::nullopt;
  if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
    canonical += 'e';
    ++pos;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) canonical += text[pos++];
    end = SkipDigits(text, pos);
    if (end == pos) return std::nullopt;
    canonical.append(text.substr(pos, end - pos));
    pos = end;
  }
  if (pos != text.size()) return std::nullopt;
  // from_chars ignores the process locale (which a windowed program sets from the desktop).
  std::string_view number = canonical;
  if (number.front() == '+') number.remove_prefix(1);
  double value = 0;
  const auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (ec != std::errc() || ptr != number.data() + number.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

std::optional<int> ParseStrictInt(std::string_view text) {
  text = Trim(text);
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && text.front() == '-') return std::nullopt;
  }
  if (text.empty()) return std::nullopt;
  int value = 0;
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || ptr != text.data() + text.size()) return std::nullopt;
  return value;
}

double StrToFloatSafe(std::string_view text, std::string_view decimalSeparator) {
  return StrToFloatDefault(text, 0, decimalSeparator);
}

double StrToFloatDefault(std::string_view text, double fallback,
                         std::string_view decimalSeparator) {
  if (IsBlank(text)) return 0;
  return ParseStrictFloat(text, decimalSeparator).value_or(fallback);
}

int StrToIntDefault(std::string_view text, int fallback) {
  if (IsBlank(text)) return 0;
  return ParseStrictInt(text).value_or(fallback);
}

std::string FormatGeneral(double value, std::string_view decimalSeparator) {
  if (!std::isfinite(value) || value == 0) return "0";
  // Round to 15 significant digits first; the rounded exponent decides the form.
  char buffer[40];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                    std::chars_format::scientific, 14);
  // buffer: d.dddddddddddddde[+-]xx
  std::string digits;
  digits += buffer[0];
  digits.append(buffer + 2, 14);
  int exponent = 0;
  std::from_chars(buffer + 17 + (buffer[17] == '+'), result.ptr, exponent);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string out;
  if (value < 0) out += '-';
  if (exponent < -4 || exponent >= 15) {
    out += digits[0];
    if (digits.size() > 1) {
      out.append(decimalSeparator);
      out.append(digits, 1);
    }
    out += 'E';
    out += std::to_string(exponent);
    return out;
  }
  if (exponent < 0) {
    out += '0';
    out.append(decimalSeparator);
    out.append(static_cast<size_t>(-exponent - 1), '0');
    out += digits;
    return out;
  }
  const size_t integerDigits = static_cast<size_t>(exponent) + 1;
  if (digits.size() <= integerDigits) {
    out += digits;
    out.append(integerDigits - digits.size(), '0');
  } else {
    out.append(digits, 0, integerDigits);
    out.append(decimalSeparator);
    out.append(digits, integerDigits);
  }
  return out;
}

}  // namespace ardvane
