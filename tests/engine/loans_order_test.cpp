// The payoff order of LoanSchedule against the order that swapping neighbours gives: the sort
// there is n log n, and must put every loan exactly where the pairwise swaps would.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "engine/loan_schedule.h"

namespace ardvane {
namespace {

// Swaps neighbours, pass after pass until nothing moves, only where the later loan is
// strictly preferred under `code`: the order the plan's priority is defined by.
std::vector<int> NeighbourSwapOrder(const LoanSchedule& plan, int code) {
  const int n = plan.GetCount();
  std::vector<int> order(n);
  for (int i = 0; i < n; ++i) order[i] = i;
  const auto later = [&](int earlierIndex, int laterIndex) {
    const Loan& a = *plan.GetLoan(earlierIndex);
    const Loan& b = *plan.GetLoan(laterIndex);
    switch (code) {
      case 0:
        return b.InterestRate() > a.InterestRate();
      case 1:
        return b.Balance() > a.Balance();
      case 2:
        return b.GetScheduledPayment() > a.GetScheduledPayment();
      case 3:
        return b.InterestRate() < a.InterestRate();
      case 4:
        return b.Balance() < a.Balance();
      case 5:
        return b.GetScheduledPayment() < a.GetScheduledPayment();
      default:
        return false;
    }
  };
  for (int pass = 0; pass < n; ++pass) {
    for (int i = 0; i + 1 < n; ++i) {
      if (later(order[i], order[i + 1])) std::swap(order[i], order[i + 1]);
    }
  }
  return order;
}

// A plan whose keys come from a few values each, so that ties are common; some loans have no
// balance, some pay by a minimum percent, and with `nanRates` a few rates are not a number.
LoanSchedule RandomPlan(std::mt19937& random, int loans, bool nanRates) {
  LoanSchedule plan;
  std::uniform_int_distribution<int> pick(0, 3);
  for (int i = 0; i < loans; ++i) {
    double rate = 0.05 * pick(random);
    if (nanRates && pick(random) == 0 && pick(random) == 0) {
      rate = std::numeric_limits<double>::quiet_NaN();
    }
    const Money balance = Money::FromUnits(500 * pick(random));
    const bool usesMinimum = pick(random) == 0;
    Loan& loan =
        plan.AddLoan(balance, rate, usesMinimum ? 0.02 : 0, Money::FromUnits(25 * pick(random)),
                     Money::FromUnits(50 * pick(random)));
    loan.SetUseMinimum(usesMinimum);
  }
  return plan;
}

TEST(LoansOrderTest, EveryCodeGivesTheNeighbourSwapOrderOnPlansFullOfTies) {
  std::mt19937 random(20240615);
  for (int trial = 0; trial < 300; ++trial) {
    const int loans = trial % 40;
    const bool nanRates = trial % 3 == 0;
    LoanSchedule plan = RandomPlan(random, loans, nanRates);
    for (int code : {-1, 0, 1, 2, 3, 4, 5, 6, 9}) {
      plan.SortByPriority(PriorityFromCode(code));
      const std::vector<int> expected = NeighbourSwapOrder(plan, code);
      std::vector<int> order;
      for (int p = 0; p < loans; ++p) order.push_back(plan.GetOrderIndex(p));
      ASSERT_EQ(order, expected) << "trial " << trial << ", code " << code << ", " << loans
                                 << " loans" << (nanRates ? ", some rates not a number" : "");
      // A loan with a balance ranks by its place counted from the first such loan.
      int first = -1;
      for (int p = 0; p < loans; ++p) {
        const Loan& loan = *plan.GetLoan(expected[p]);
        const bool owes = loan.Balance() > Money();
        if (owes && first < 0) first = p;
        ASSERT_EQ(loan.PayoffOrder(), owes ? p + 1 - first : 0)
            << "trial " << trial << ", code " << code << ", position " << p;
      }
    }
  }
}

}  // namespace
}  // namespace ardvane
