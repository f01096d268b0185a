#pragma once

#include <string>

#include "engine/calendar.h"
#include "engine/plan_calculation.h"
#include "engine/plan_document.h"
#include "figures/power_payment_goal.h"
#include "figures/strategies.h"

namespace ardvane {

// The figures of one calculation as one JSON object: money in currency units with up to four
// decimals, rates as fractions (the consolidated debts' average rate in percent), dates as
// "YYYY-MM-DD" or null when there is none. A loan of the current plan that is never paid off
// carries "payment_needed": {"any": X, "in_60_months": Y}, the payments that would pay it
// off (PayoffPaymentsFor); other loans have no such key. Names are JSON strings of UTF-8
// whatever bytes they hold: a byte that starts no well-formed UTF-8 character is written as
// U+FFFD.
std::string ResultsToJson(const PlanDocument& plan, const PlanResults& results);

// Every priority code compared, as `--compare` prints it:
//   {"chosen": CODE or null, "strategies": [{"priority", "name", "debt_free_months",
//    "debt_free_date", "total_interest", "never_paid_off", "interest_saved", "annual_return",
//    "investment_value"}, ...]}
// with the units of ResultsToJson (the first four as its "proposed" object has them).
std::string StrategiesToJson(const StrategyComparison& comparison);

// The power payment that makes a plan debt free by `goal`, as `--needed` prints it:
//   {"by": "YYYY-MM", "attainable": true, "power_payment": 212.37, "debt_free_months": N,
//    "debt_free_date": "YYYY-MM-DD"}
// the power payment with exactly two decimals (PlainCents); the last three null when not
// attainable. A plan with nothing to pay off (no debts, or none with a balance) is debt free
// already: attainable with a power payment of 0.00, 0 months and `planDate` as its date.
std::string PowerPaymentGoalToJson(YearMonth goal, const PowerPaymentGoal& found,
                                   DayNumber planDate);

// Money as a JSON number, exactly: 171.486, -5, 0.0001.
std::string MoneyJson(Money amount);

}  // namespace ardvane
