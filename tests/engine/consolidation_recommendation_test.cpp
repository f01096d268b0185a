#include "engine/consolidation_recommendation.h"

#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace ardvane {
namespace {

using testing::Consolidated;
using testing::Debt;
using testing::kCommaRegional;
using testing::kPointRegional;

std::vector<bool> Flags(const DebtRows& rows) {
  std::vector<bool> flags;
  for (int i = 0; i < rows.GetDebtCount(); ++i)
    flags.push_back(rows.IsSet(i, DebtCol::Consolidate));
  return flags;
}

TEST(ConsolidationRecommendationTest, ADebtAtOrAboveTheNewLoanRateIsRecommended) {
  DebtRows rows;
  rows.AddDebt(Debt("Below", "1000", "9.899"), kPointRegional);
  rows.AddDebt(Debt("Exact", "1000", "9.9"), kPointRegional);
  rows.AddDebt(Debt("Above", "1000", "18.9"), kPointRegional);
  // Restructured terms do not count: the debt's own rate decides.
  DebtFields negotiated = Debt("Negotiated low", "1000", "21");
  negotiated.Negotiate = true;
  negotiated.NegotiatedInterestRate = "2";
  rows.AddDebt(negotiated, kPointRegional);
  const std::vector<bool> expected = {false, true, true, true};
  for (int i = 0; i < rows.GetDebtCount(); ++i) {
    EXPECT_EQ(IsRecommendedForConsolidation(rows, i, 9.9, kPointRegional), expected[i])
        << rows.Cell(i, DebtCol::Name);
  }
  // Rate 0: every debt with a rate of 0 or more, a blank rate included.
  rows.AddDebt(Debt("No rate", "500"), kPointRegional);
  for (int i = 0; i < rows.GetDebtCount(); ++i) {
    EXPECT_TRUE(IsRecommendedForConsolidation(rows, i, 0, kPointRegional)) << i;
  }
}

TEST(ConsolidationRecommendationTest, RatesAreReadWithTheUsersDecimalSeparator) {
  DebtRows rows;
  rows.AddDebt(Debt("Card", "1000", "9,9"), kCommaRegional);
  EXPECT_TRUE(IsRecommendedForConsolidation(rows, 0, 9.9, kCommaRegional));
  EXPECT_FALSE(IsRecommendedForConsolidation(rows, 0, 9.91, kCommaRegional));
}

TEST(ConsolidationRecommendationTest, SelectingSetsAndClearsEveryFlagAndReportsAChange) {
  DebtRows rows;
  rows.AddDebt(Consolidated(Debt("Car", "8000", "5", "300")), kPointRegional);
  rows.AddDebt(Debt("Card", "2500.5", "19.99", "90"), kPointRegional);
  rows.AddDebt(Consolidated(Debt("Store", "700", "24", "40")), kPointRegional);
  const DebtRows before = rows;

  EXPECT_TRUE(SelectDebtsToConsolidate(rows, 7.5, kPointRegional));
  EXPECT_EQ(Flags(rows), (std::vector<bool>{false, true, true}));
  EXPECT_EQ(rows.Cell(1, DebtCol::Consolidate), "Consolidate");
  for (int i = 0; i < rows.GetDebtCount(); ++i) {
    for (int col = 0; col < kDebtColumnCount; ++col) {
      if (col == static_cast<int>(DebtCol::Consolidate)) continue;
      EXPECT_EQ(rows.Cell(i, DebtCol(col)), before.Cell(i, DebtCol(col))) << i << "," << col;
    }
  }
  EXPECT_EQ(ConsolidationOutcomeMessage(true),
            "The recommendations have been implemented.\n\nAll debts recommended for "
            "consolidation will be paid off with the new consolidation loan.");

  // Applied again, the flags already match.
  EXPECT_FALSE(SelectDebtsToConsolidate(rows, 7.5, kPointRegional));
  EXPECT_EQ(Flags(rows), (std::vector<bool>{false, true, true}));
  EXPECT_EQ(ConsolidationOutcomeMessage(false),
            "No changes were made.\n\nYour current selections already match the "
            "recommendation.");
}

TEST(ConsolidationRecommendationTest, NoDebtsChangeNothing) {
  DebtRows rows;
  EXPECT_FALSE(SelectDebtsToConsolidate(rows, 7.5, kPointRegional));
  EXPECT_EQ(rows.GetDebtCount(), 0);
  EXPECT_EQ(std::string(kNoDebtsToRecommend),
            "No debts have been entered.\n\nPlease enter all debts before determining which "
            "debts should be consolidated.");
}

}  // namespace
}  // namespace ardvane
