#include "figures/report_formats.h"

#include "engine/month_names.h"
#include "figures/display_formats.h"

namespace ardvane {

std::string ReportMoney(Money amount, const RegionalSettings& regional) {
  return FormatMoney(amount, 2, regional);
}

std::string ReportMoneyUnits(double units, const RegionalSettings& regional) {
  return FormatMoneyUnits(units, 2, regional);
}

std::string ReportPercent3(double percent, const RegionalSettings& regional) {
  return FormatFixed(percent, 3, 5, regional) + "%";
}

std::string ReportPercent2(double percent, const RegionalSettings& regional) {
  return FormatFixed(percent, 2, 5, regional) + "%";
}

std::string ReportYears(double years, const RegionalSettings& regional) {
  return FormatFixed(years, 1, 5, regional);
}

std::string ReportMonthYear(DayNumber day, Language language, std::string_view noDate) {
  if (day == 0) return std::string(noDate);
  const CivilDate date = DecodeDate(day);
  return GetMonthName(date.month, language) + (language == Language::kSpanish ? " de " : " ") +
         std::to_string(date.year);
}

std::string ReportInteger(long long number) { return std::to_string(number); }

}  // namespace ardvane
