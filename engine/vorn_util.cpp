#include "engine/vorn_util.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace ardvane {
namespace {

bool IsBlankChar(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlankChar(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlankChar(text.back())) text.remove_suffix(1);
  return text;
}

size_t SkipDigits(std::string_view text, size_t pos) {
  while (pos < text.size() && IsDigit(text[pos])) ++pos;
  return pos;
}

}  // namespace

bool IsBlank(std::string_view text) { return Trim(text).empty(); }

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

std::string GetOrdinalSuffix(long long n) {
  const std::string text = std::to_string(n);
  if (text.size() >= 2 && text[text.size() - 2] == '1') return "th";
  switch (text.back()) {
    case '1':
      return "st";
    case '2':
      return "nd";
    case '3':
      return "rd";
    default:
      return "th";
  }
}

namespace {
constexpr std::array<const char*, 12> kMonthNamesEnglish = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};
constexpr std::array<const char*, 12> kMonthNamesSpanish = {
    "enero", "febrero", "marzo",      "abril",   "mayo",      "junio",
    "julio", "agosto",  "septiembre", "octubre", "noviembre", "diciembre"};
constexpr std::array<const char*, 12> kShortMonthNamesEnglish = {
    "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr std::array<const char*, 12> kShortMonthNamesSpanish = {
    "ene", "feb", "mar", "abr", "may", "jun", "jul", "ago", "sep", "oct", "nov", "dic"};

std::string PickMonth(int month, int language, const std::array<const char*, 12>& english,
                      const std::array<const char*, 12>& spanish) {
  if (month < 1 || month > 12) return {};
  if (language == 0) return english[month - 1];
  if (language == 1) return spanish[month - 1];
  return {};
}
}  // namespace

std::string GetMonthName(int month, int language) {
  return PickMonth(month, language, kMonthNamesEnglish, kMonthNamesSpanish);
}

std::string GetShortMonthName(int month, int language) {
  return PickMonth(month, language, kShortMonthNamesEnglish, kShortMonthNamesSpanish);
}

namespace {
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  std::string out;
  out.reserve(text.size());
  size_t pos = 0;
  while (true) {
    const size_t hit = text.find(from, pos);
    if (hit == std::string_view::npos) break;
    out.append(text.substr(pos, hit - pos));
    out.append(to);
    pos = hit + from.size();
  }
  out.append(text.substr(pos));
  return out;
}
}  // namespace

std::string EncodeQuotes(std::string_view text) { return ReplaceAll(text, "\"", "&quot;"); }
std::string DecodeQuotes(std::string_view text) { return ReplaceAll(text, "&quot;", "\""); }

}  // namespace ardvane
