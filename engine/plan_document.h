#pragma once

#include <array>
#include <string>
#include <vector>

#include "engine/calendar.h"
#include "engine/debt.h"
#include "engine/money.h"
#include "engine/paydown_priority.h"
#include "engine/rates.h"

namespace ardvane {

// One power payment option: a monthly amount and a yearly lump sum paid in calendar
// month `Month` (1 = January).
struct Accelerator {
  Money Monthly;
  Money Annual;
  int Month = 1;
  friend bool operator==(const Accelerator&, const Accelerator&) = default;
};

struct ConsolidationLoanTerms {
  Percent InterestRate;  // per year
  double Term = 0;       // years; whole in practice, rounded where months are needed
  bool InterestOnly = false;
  Percent FeesRate;  // of the amount financed
  Money FeesAmount;
  Money CashOut;  // negative: cash paid in
  friend bool operator==(const ConsolidationLoanTerms&, const ConsolidationLoanTerms&) = default;
};

// The open plan: everything an adviser enters for one client. Nothing computed is stored
// here; each calculation reads it afresh.
struct PlanDocument {
  // Client
  std::string FirstName;
  std::string LastName;
  // Plan assumptions
  DayNumber Date = 0;
  Percent ReturnRate;  // per year
  PaydownPriority Priority = PaydownPriority::HighestInterestRate;
  bool Consolidate = false;
  Ratio SetupFeeRate;  // of the interest saved
  Money SetupFee;
  Money ManagementFee;  // per month
  Money DownPayment;
  Money MinSetupFee;
  Money MinSavings;
  Money MinDownPayment;
  // Accelerators[0] is the plan's power payment; the other two are report alternatives.
  std::array<Accelerator, 3> Accelerators;
  ConsolidationLoanTerms ConsolidationLoan;
  DebtList Debts;
  std::vector<std::string> Notes;

  friend bool operator==(const PlanDocument&, const PlanDocument&) = default;
};

}  // namespace ardvane
