#pragma once

#include <array>
#include <string>
#include <vector>

#include "engine/calendar.h"
#include "engine/debt_rows.h"
#include "engine/money.h"

namespace ardvane {

// Paydown priority codes: the positions of the captions in the priority list.
enum PriorityCode : int {
  kHighestInterestRate = 0,
  kHighestBalance = 1,
  kHighestPayment = 2,
  kLowestInterestRate = 3,
  kLowestBalance = 4,
  kLowestPayment = 5,
  kAsListed = 6,
  kMinimizeInterest = 7,
  kMaximizeWealth = 8,
};

// One power payment option: a monthly amount and a yearly lump sum paid in calendar
// month `Month` (1 = January).
struct Accelerator {
  Money Monthly;
  Money Annual;
  int Month = 1;
  friend bool operator==(const Accelerator&, const Accelerator&) = default;
};

struct ConsolidationLoanTerms {
  double InterestRate = 0;  // percent per year
  double Term = 0;          // years; whole in practice, rounded where months are needed
  bool InterestOnly = false;
  double FeesRate = 0;  // percent of the amount financed
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
  double ReturnRate = 0;  // percent per year
  int Priority = kHighestInterestRate;
  bool Consolidate = false;
  double SetupFeeRate = 0;  // a fraction of the interest saved (0.25 is 25 %)
  Money SetupFee;
  Money ManagementFee;  // per month
  Money DownPayment;
  Money MinSetupFee;
  Money MinSavings;
  Money MinDownPayment;
  // Accelerators[0] is the plan's power payment; the other two are report alternatives.
  std::array<Accelerator, 3> Accelerators;
  ConsolidationLoanTerms ConsolidationLoan;
  DebtRows Debts;
  std::vector<std::string> Notes;

  friend bool operator==(const PlanDocument&, const PlanDocument&) = default;
};

}  // namespace ardvane
