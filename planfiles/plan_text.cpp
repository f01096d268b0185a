#include "planfiles/plan_text.h"

#include "base/number_text.h"
#include "base/text.h"

namespace ardvane {

std::optional<double> ParsePlanNumber(std::string_view text, const RegionalSettings& regional) {
  if (auto value = ParseStrictFloat(text, regional.decimalSeparator)) return value;
  if (regional.decimalSeparator != ".") return ParseStrictFloat(text, ".");
  return std::nullopt;
}

double PlanStrToFloatDefault(std::string_view text, double fallback,
                             const RegionalSettings& regional) {
  if (IsBlank(text)) return 0;
  return ParsePlanNumber(text, regional).value_or(fallback);
}

}  // namespace ardvane
