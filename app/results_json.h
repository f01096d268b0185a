#pragma once

#include <string>

#include "engine/plan_calculation.h"
#include "engine/plan_document.h"

namespace ardvane {

// The figures of one calculation as one JSON object: money in currency units with up to four
// decimals, rates as fractions (the consolidated debts' average rate in percent), dates as
// "YYYY-MM-DD" or null when there is none.
std::string ResultsToJson(const PlanDocument& plan, const PlanResults& results);

// Money as a JSON number, exactly: 171.486, -5, 0.0001.
std::string MoneyJson(Money amount);

}  // namespace ardvane
