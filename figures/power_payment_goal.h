#pragma once

#include "engine/calendar.h"
#include "engine/money.h"
#include "engine/plan_document.h"
#include "engine/settings.h"
#include "figures/plan_figures.h"

namespace ardvane {

// What it takes to be debt free by a chosen month: the monthly power payment that gets the
// proposed plan there.

// A plan is debt free by `goal` when it pays off every debt (none never paid off) and its
// debt-free date falls in `goal` or earlier. A plan with nothing to pay (date 0) is.
bool DebtFreeBy(const DebtFreeFigures& plan, YearMonth goal);

// The largest monthly power payment the search tries: 1,000,000.00.
inline constexpr Money kMostPowerPayment = Money::FromCount(1'000'000LL * 10000);

struct PowerPaymentGoal {
  // Some monthly power payment from 0 to kMostPowerPayment makes the plan debt free by the
  // goal. When false the other fields are empty.
  bool attainable = false;
  // The monthly power payment (Accelerator 1's Monthly), whole cents, at least 0.
  Money powerPayment;
  // The proposed plan calculated with that power payment.
  DebtFreeFigures proposed;
};

// The smallest monthly power payment, in whole cents from 0 to kMostPowerPayment, with which
// `plan` is debt free by `goal`; the yearly power payment and everything else stay as they
// are. Each amount tried is a whole Calculate of the plan with that Monthly.
//
// The search is a bisection that always holds a failing amount below a passing one: 0 is
// tried first (and is the answer when it passes), then kMostPowerPayment (when that fails the
// goal is not attainable), then the midpoint of the two held amounts replaces whichever of
// them it agrees with, until they are a cent apart. So the answer X always passes and
// X - 0.01 always fails, by a calculation made during the search. A larger power payment
// usually brings the date forward, but not always: the setup fee is priced on the interest
// saved (and may be financed), and the minimum fee applies below a saving threshold, so
// whether an amount passes need not rise steadily with it. Where it does not, X is still a
// cent at which the plan turns debt free by the goal, the smallest among the amounts tried,
// yet a smaller amount that the bisection never visited may pass too; and a goal that
// kMostPowerPayment misses counts as not attainable even if some smaller amount would reach
// it. About 30 calculations.
PowerPaymentGoal FindPowerPaymentForGoal(const PlanDocument& plan, const PlanParameters& params,
                                         const AppSettings& settings, YearMonth goal);

}  // namespace ardvane
