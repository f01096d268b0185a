#include "engine/month_names.h"

#include <array>

namespace ardvane {

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

std::string PickMonth(int month, Language language, const std::array<const char*, 12>& english,
                      const std::array<const char*, 12>& spanish) {
  if (month < 1 || month > 12) return {};
  return language == Language::kSpanish ? spanish[month - 1] : english[month - 1];
}
}  // namespace

std::string GetMonthName(int month, Language language) {
  return PickMonth(month, language, kMonthNamesEnglish, kMonthNamesSpanish);
}

std::string GetShortMonthName(int month, Language language) {
  return PickMonth(month, language, kShortMonthNamesEnglish, kShortMonthNamesSpanish);
}

}  // namespace ardvane
