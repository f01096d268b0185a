#include "engine/debt_rows.h"

#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace ardvane {
namespace {

using testing::Debt;

std::vector<std::string> Names(const DebtRows& rows) {
  std::vector<std::string> names;
  for (int i = 0; i < rows.GetDebtCount(); ++i) names.push_back(rows.Cell(i, DebtCol::Name));
  return names;
}

TEST(DebtRowsTest, AddDebtNormalisesNumbersFlagsAndCompounding) {
  struct Case {
    const char* balance;
    const char* compounding;
    const char* storedBalance;
    const char* storedCompounding;
  } cases[] = {
      {"", "", "0", "0"},          {"abc", "abc", "0", "1"},
      {"1e3", "12", "1000", "12"}, {" 12.50 ", "3", "12.5", "3"},
      {"$1,500", "x", "0", "1"},   {"-20", " 6 ", "-20", "6"},
  };
  for (const Case& c : cases) {
    DebtRows rows;
    DebtFields debt = Debt("Card", c.balance);
    debt.CompoundingPeriod = c.compounding;
    rows.AddDebt(debt, testing::kPointRegional);
    EXPECT_EQ(rows.Cell(0, DebtCol::Balance), c.storedBalance) << c.balance;
    EXPECT_EQ(rows.Cell(0, DebtCol::CompoundingPeriod), c.storedCompounding) << c.compounding;
  }

  DebtFields f = Debt(" Name kept  as typed ", "10");
  f.Consolidate = true;
  f.Negotiate = true;
  f.InterestRate = "18.90";
  DebtRows rows;
  rows.AddDebt(f, testing::kPointRegional);
  EXPECT_EQ(rows.Cell(0, DebtCol::Name), " Name kept  as typed ");
  EXPECT_EQ(rows.Cell(0, DebtCol::InterestRate), "18.9");
  EXPECT_EQ(rows.Cell(0, DebtCol::Consolidate), "Consolidate");
  EXPECT_EQ(rows.Cell(0, DebtCol::UseMinimum), "");
  EXPECT_EQ(rows.Cell(0, DebtCol::Negotiate), "Negotiate");
  EXPECT_EQ(rows.Cell(0, DebtCol::Escrow), "0");
  EXPECT_EQ(rows.Cell(0, DebtCol::NegotiatedPayment), "0");
}

TEST(DebtRowsTest, AddDebtUsesTheUsersDecimalSeparator) {
  DebtRows rows;
  rows.AddDebt(Debt("A", "12,5"), testing::kCommaRegional);
  rows.AddDebt(Debt("B", "12.5"), testing::kCommaRegional);
  EXPECT_EQ(rows.Cell(0, DebtCol::Balance), "12,5");
  EXPECT_EQ(rows.Cell(1, DebtCol::Balance), "0");
}

TEST(DebtRowsTest, EditDebtStoresTextsUnchanged) {
  DebtRows rows;
  rows.AddDebt(Debt("A", "1"), testing::kPointRegional);
  DebtFields f = Debt("B", "abc");
  f.CompoundingPeriod = "";
  f.UseMinimum = true;
  rows.EditDebt(0, f);
  rows.EditDebt(5, f);  // no such row: ignored
  EXPECT_EQ(rows.GetDebtCount(), 1);
  EXPECT_EQ(rows.Cell(0, DebtCol::Balance), "abc");
  EXPECT_EQ(rows.Cell(0, DebtCol::CompoundingPeriod), "");
  EXPECT_EQ(rows.Cell(0, DebtCol::UseMinimum), "Use Minimum");
}

TEST(DebtRowsTest, AnyTextInAFlagCellCountsAsSet) {
  DebtRows rows;
  rows.AddDebt(Debt("A", "1"), testing::kPointRegional);
  rows.SetCell(0, DebtCol::Consolidate, "x");
  EXPECT_TRUE(rows.IsSet(0, DebtCol::Consolidate));
  EXPECT_TRUE(rows.Row(0).Consolidate);
  EXPECT_FALSE(rows.IsSet(0, DebtCol::Negotiate));
  EXPECT_EQ(rows.Cell(7, DebtCol::Name), "");
}

TEST(DebtRowsTest, RowsMoveTogetherInEveryColumn) {
  DebtRows rows;
  EXPECT_EQ(rows.GetDebtCount(), 0);
  for (const char* name : {"A", "B", "C", "D"})
    rows.AddDebt(Debt(name, name[0] == 'C' ? "3" : "1"), testing::kPointRegional);
  rows.SwapRows(0, 2);
  EXPECT_EQ(Names(rows), (std::vector<std::string>{"C", "B", "A", "D"}));
  EXPECT_EQ(rows.Cell(0, DebtCol::Balance), "3");
  rows.MoveRow(0, 3);
  EXPECT_EQ(Names(rows), (std::vector<std::string>{"B", "A", "D", "C"}));
  rows.MoveRow(3, 0);
  EXPECT_EQ(Names(rows), (std::vector<std::string>{"C", "B", "A", "D"}));
  rows.DeleteRow(1);
  rows.DeleteRow(9);
  EXPECT_EQ(Names(rows), (std::vector<std::string>{"C", "A", "D"}));
  EXPECT_EQ(rows.Cell(0, DebtCol::Balance), "3");
  rows.ClearDebts();
  EXPECT_EQ(rows.GetDebtCount(), 0);
}

TEST(DebtRowsTest, CompoundingLookupsAreTotal) {
  const int codes[] = {0, 1, 3, 6, 12};
  const char* names[] = {"Daily", "Monthly", "Quarterly", "Semi-Annually", "Annually"};
  for (int position = 0; position < 5; ++position) {
    EXPECT_EQ(LookupCompoundingPeriod(position), codes[position]);
    EXPECT_EQ(LookupItemIndex(codes[position]), position);
    EXPECT_EQ(LookupCompoundingPeriodName(codes[position]), names[position]);
  }
  EXPECT_EQ(LookupCompoundingPeriod(-1), 1);
  EXPECT_EQ(LookupCompoundingPeriod(9), 1);
  EXPECT_EQ(LookupItemIndex(7), 1);
  EXPECT_EQ(LookupCompoundingPeriodName(2), "Monthly");
}

}  // namespace
}  // namespace ardvane
