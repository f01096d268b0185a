#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "engine/money.h"
#include "engine/plan_document.h"
#include "engine/settings.h"
#include "figures/plan_figures.h"

namespace ardvane {

// Every paydown priority code side by side: the plan calculated once under each code, with
// the figures that tell the codes apart.

// The English caption of a paydown priority code as the priority list shows it ("Highest
// Interest Rate" for 0 ... "Maximize Wealth" for 8); empty for any other number.
std::string_view PriorityCaption(int code);

// The plan calculated with one priority code: exactly the figures `--results` gives for the
// plan with its Priority set to that code (ComputePlanFigures of that calculation).
struct PriorityFigures {
  int priority = 0;          // the code, 0..8
  DebtFreeFigures proposed;  // the proposed plan: months, date, interest, debts never paid off
  Money interestSaved;       // current total interest - proposed total interest
  Money shownInterestSaved;  // the same of the two as printed (PlanFigures::shownInterestSaved)
  double annualReturnFraction = 0;  // the return on the plan's fees, a year (0.43 is 43 %)
  Money investmentValue;            // the investment at the end of the projection
  bool chosen = false;              // the plan's own code
  // No code saves more interest (ties all carry the mark); only a code whose plan pays every
  // debt off and saves at least a cent (SavingKind::kSaves) carries it.
  bool mostSaved = false;

  // The figures a row shows are the same (the marks and the code aside).
  bool SameFigures(const PriorityFigures& other) const;
};

struct StrategyComparison {
  // The plan's Priority when it is 0..8, else none (no row is then marked chosen).
  std::optional<int> chosen;
  // One entry per code, strategies[code].priority == code.
  std::vector<PriorityFigures> strategies;
  // The codes whose figures are the same, grouped for a window that shows each set of
  // figures once: groups in the order of their lowest code, codes ascending within a group.
  // Codes 0 and 7 always share a group (7 orders the debts as 0 does); other codes join them
  // or each other only where the plan gives them the same figures. Every code is in exactly
  // one group; a group's figures are strategies[group.front()]'s.
  std::vector<std::vector<int>> groups;
};

// Calculates `plan` once for each priority code (codes 0 and 7 once between them: they are
// calculated alike) with the same parameters and settings the window calculates it with, and
// marks the plan's own code and the codes that save most. The plan itself is not changed.
StrategyComparison CompareStrategies(const PlanDocument& plan, const PlanParameters& params,
                                     const AppSettings& settings);

}  // namespace ardvane
