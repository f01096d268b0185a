#include "engine/consolidation_recommendation.h"

#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace ardvane {
namespace {

using testing::Consolidated;
using testing::MakeDebt;
std::vector<bool> Flags(const DebtList& debts) {
  std::vector<bool> flags;
  for (const Debt& debt : debts) flags.push_back(debt.Consolidate);
  return flags;
}

TEST(ConsolidationRecommendationTest, ADebtAtOrAboveTheNewLoanRateIsRecommended) {
  DebtList rows;
  rows.AddDebt(MakeDebt("Below", 1000, 9.899));
  rows.AddDebt(MakeDebt("Exact", 1000, 9.9));
  rows.AddDebt(MakeDebt("Above", 1000, 18.9));
  // Restructured terms do not count: the debt's own rate decides.
  Debt negotiated = MakeDebt("Negotiated low", 1000, 21);
  negotiated.Negotiate = true;
  negotiated.NegotiatedInterestRate = Percent(2);
  rows.AddDebt(negotiated);
  const std::vector<bool> expected = {false, true, true, true};
  for (int i = 0; i < rows.GetDebtCount(); ++i) {
    EXPECT_EQ(IsRecommendedForConsolidation(rows.At(i), Percent(9.9)), expected[i])
        << rows.At(i).Name;
  }
  // Rate 0: every debt with a rate of 0 or more, a blank rate included.
  rows.AddDebt(MakeDebt("No rate", 500));
  for (const Debt& debt : rows) {
    EXPECT_TRUE(IsRecommendedForConsolidation(debt, Percent(0))) << debt.Name;
  }
  EXPECT_FALSE(IsRecommendedForConsolidation(rows.At(0), Percent(9.91)));
}

TEST(ConsolidationRecommendationTest, SelectingSetsAndClearsEveryFlagAndReportsAChange) {
  DebtList rows;
  rows.AddDebt(Consolidated(MakeDebt("Car", 8000, 5, 300)));
  rows.AddDebt(MakeDebt("Card", 2500.5, 19.99, 90));
  rows.AddDebt(Consolidated(MakeDebt("Store", 700, 24, 40)));
  const DebtList before = rows;

  EXPECT_TRUE(SelectDebtsToConsolidate(rows, Percent(7.5)));
  EXPECT_EQ(Flags(rows), (std::vector<bool>{false, true, true}));
  for (int i = 0; i < rows.GetDebtCount(); ++i) {
    Debt unflagged = rows.At(i);
    unflagged.Consolidate = before.At(i).Consolidate;
    EXPECT_EQ(unflagged, before.At(i)) << i;
  }
  EXPECT_EQ(ConsolidationOutcomeMessage(true),
            "The recommendations have been implemented.\n\nAll debts recommended for "
            "consolidation will be paid off with the new consolidation loan.");

  // Applied again, the flags already match.
  EXPECT_FALSE(SelectDebtsToConsolidate(rows, Percent(7.5)));
  EXPECT_EQ(Flags(rows), (std::vector<bool>{false, true, true}));
  EXPECT_EQ(ConsolidationOutcomeMessage(false),
            "No changes were made.\n\nYour current selections already match the "
            "recommendation.");
}

TEST(ConsolidationRecommendationTest, NoDebtsChangeNothing) {
  DebtList rows;
  EXPECT_FALSE(SelectDebtsToConsolidate(rows, Percent(7.5)));
  EXPECT_EQ(rows.GetDebtCount(), 0);
  EXPECT_EQ(std::string(kNoDebtsToRecommend),
            "No debts have been entered.\n\nPlease enter all debts before determining which "
            "debts should be consolidated.");
}

}  // namespace
}  // namespace ardvane
