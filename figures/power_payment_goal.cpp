#include "figures/power_payment_goal.h"

#include <cstdint>

#include "engine/plan_calculation.h"
#include "figures/cent_search.h"

namespace ardvane {
namespace {

// Calculates the plan with a monthly power payment of `cents`.
class GoalTrial {
 public:
  GoalTrial(const PlanDocument& plan, const PlanParameters& params, const AppSettings& settings,
            YearMonth goal)
      : plan_(plan), params_(params), settings_(settings), goal_(goal) {}

  // Whether the plan is debt free by the goal with this power payment; its figures in *figures.
  bool Passes(std::int64_t cents, DebtFreeFigures* figures) {
    plan_.Accelerators[0].Monthly = MoneyFromCents(cents);
    const PlanResults results = Calculate(plan_, params_, settings_);
    *figures = ComputeDebtFreeFigures(plan_, results, results.ProposedPlan);
    return DebtFreeBy(*figures, goal_);
  }

 private:
  PlanDocument plan_;
  const PlanParameters& params_;
  const AppSettings& settings_;
  YearMonth goal_;
};

}  // namespace

bool DebtFreeBy(const DebtFreeFigures& plan, YearMonth goal) {
  return plan.DebtFree() && (plan.date == 0 || YearMonthOf(plan.date) <= goal);
}

PowerPaymentGoal FindPowerPaymentForGoal(const PlanDocument& plan, const PlanParameters& params,
                                         const AppSettings& settings, YearMonth goal) {
  GoalTrial trial(plan, params, settings, goal);
  PowerPaymentGoal found;
  DebtFreeFigures figures;
  if (trial.Passes(0, &figures)) {
    found.attainable = true;
    found.proposed = std::move(figures);
    return found;
  }
  std::int64_t failing = 0;
  std::int64_t passing = kMostPowerPayment.Count() / kCountsPerCent;
  DebtFreeFigures passingFigures;
  if (!trial.Passes(passing, &passingFigures)) return found;
  passing = BisectCents(failing, passing, [&](std::int64_t cents) {
    if (!trial.Passes(cents, &figures)) return false;
    passingFigures = std::move(figures);
    return true;
  });
  found.attainable = true;
  found.powerPayment = MoneyFromCents(passing);
  found.proposed = std::move(passingFigures);
  return found;
}

}  // namespace ardvane
