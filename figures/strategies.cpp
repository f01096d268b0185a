#include "figures/strategies.h"

#include <algorithm>

#include "engine/plan_calculation.h"
#include "figures/plan_statements.h"

namespace ardvane {
namespace {

constexpr std::string_view kPriorityCaptions[kPriorityCodeCount] = {
    "Highest Interest Rate", "Highest Balance",   "Highest Payment",
    "Lowest Interest Rate",  "Lowest Balance",    "Lowest Payment",
    "As Listed (Custom)",    "Minimize Interest", "Maximize Wealth",
};

PriorityFigures FiguresOf(const PlanDocument& plan, const PlanResults& results, int code) {
  PriorityFigures f;
  f.priority = code;
  f.proposed = ComputeDebtFreeFigures(plan, results, results.ProposedPlan);
  f.interestSaved = results.InterestSaved();
  f.shownInterestSaved =
      PrintedDifference(f.proposed.totalInterest + f.interestSaved, f.proposed.totalInterest);
  f.annualReturnFraction = results.AnnualReturn.Value();
  f.investmentValue = InvestmentValueAtHorizon(results);
  return f;
}

}  // namespace

std::string_view PriorityCaption(int code) {
  return code >= 0 && code < kPriorityCodeCount ? kPriorityCaptions[code] : std::string_view();
}

bool PriorityFigures::SameFigures(const PriorityFigures& other) const {
  return proposed == other.proposed && interestSaved == other.interestSaved &&
         annualReturnFraction == other.annualReturnFraction &&
         investmentValue == other.investmentValue;
}

StrategyComparison CompareStrategies(const PlanDocument& plan, const PlanParameters& params,
                                     const AppSettings& settings) {
  StrategyComparison comparison;
  const int planCode = PriorityCode(plan.Priority);
  if (planCode >= 0 && planCode < kPriorityCodeCount) comparison.chosen = planCode;

  PlanDocument trial = plan;
  comparison.strategies.reserve(kPriorityCodeCount);
  for (int code = 0; code < kPriorityCodeCount; ++code) {
    if (PriorityFromCode(code) == PaydownPriority::MinimizeInterest) {
      // The calculation treats "Minimize Interest" as "Highest Interest Rate".
      PriorityFigures same =
          comparison.strategies[PriorityCode(PaydownPriority::HighestInterestRate)];
      same.priority = code;
      comparison.strategies.push_back(std::move(same));
      continue;
    }
    trial.Priority = PriorityFromCode(code);
    const PlanResults results = Calculate(trial, params, settings);
    comparison.strategies.push_back(FiguresOf(trial, results, code));
  }

  // Only a strategy that pays every debt off and saves something can save the most.
  const auto saves = [](const PriorityFigures& f) {
    return SavingKindOf(f.interestSaved, f.proposed.DebtFree()) == SavingKind::kSaves;
  };
  std::optional<Money> most;
  for (const PriorityFigures& f : comparison.strategies) {
    if (saves(f)) most = most ? Max(*most, f.interestSaved) : f.interestSaved;
  }
  for (PriorityFigures& f : comparison.strategies) {
    f.mostSaved = saves(f) && f.interestSaved == most;
    f.chosen = comparison.chosen == f.priority;
  }

  std::vector<bool> grouped(kPriorityCodeCount, false);
  for (int code = 0; code < kPriorityCodeCount; ++code) {
    if (grouped[code]) continue;
    std::vector<int>& group = comparison.groups.emplace_back();
    for (int other = code; other < kPriorityCodeCount; ++other) {
      if (grouped[other] ||
          !comparison.strategies[other].SameFigures(comparison.strategies[code])) {
        continue;
      }
      grouped[other] = true;
      group.push_back(other);
    }
  }
  return comparison;
}

}  // namespace ardvane
