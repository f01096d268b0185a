#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/calendar.h"
#include "engine/regional_settings.h"
#include "engine/settings.h"

namespace ardvane {

// What reading a plan file needs besides the file: the user's regional settings (numbers may
// carry their decimal separator), the parameter defaults that stand in for unreadable values,
// and today's date. The regional settings are the caller's, referred to, never copied.
struct PlanReadContext {
  const RegionalSettings& regional;
  PlanParameters params;
  DayNumber today = 0;
};

// How messages end that refuse an amount beyond what money holds (Money::HoldsUnits).
inline constexpr const char* kMoneyLimits =
    "the amounts a plan can hold (at most 922,337,203,685,477.58 either way).";

// Numbers in plan files: the user's decimal separator or a point, so plans move between
// machines with different regional settings and keep their amounts.
std::optional<double> ParsePlanNumber(std::string_view text, const RegionalSettings& regional);
// 0 for blank text, the parsed number, or `fallback` for text that is no number.
double PlanStrToFloatDefault(std::string_view text, double fallback,
                             const RegionalSettings& regional);

}  // namespace ardvane
