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

}  // namespace ardvane
