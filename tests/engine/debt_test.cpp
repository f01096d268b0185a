#include "engine/debt.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/test_support.h"

namespace ardvane {
namespace {

using testing::MakeDebt;

std::vector<std::string> Names(const DebtList& debts) {
  std::vector<std::string> names;
  for (const Debt& debt : debts) names.push_back(debt.Name);
  return names;
}

TEST(DebtTest, GeneralValueKeepsFifteenSignificantDigits) {
  struct Case {
    double value;
    double kept;
  } cases[] = {
      {12.5, 12.5},
      {0.1 + 0.2, 0.3},  // 0.30000000000000004: its 16th digit goes
      {123456789.123456789, 123456789.123457},
      {1.0 / 3, 0.333333333333333},
      {-0.0, 0},  // "0", so the sign of zero goes too
      {std::numeric_limits<double>::infinity(), 0},
      {std::numeric_limits<double>::quiet_NaN(), 0},
      // Rounded to 15 digits the largest double overflows; its text reads as nothing.
      {std::numeric_limits<double>::max(), 0},
  };
  for (const Case& c : cases) {
    const double kept = GeneralValue(c.value);
    EXPECT_EQ(kept, c.kept) << c.value;
    EXPECT_FALSE(std::signbit(kept)) << c.value;
  }
  EXPECT_EQ(GeneralValue(-20.5), -20.5);
}

TEST(DebtTest, PercentsKeepTheNumberEnteredAndGiveTheFraction) {
  const Percent rate(18.9);
  EXPECT_EQ(rate.Value(), 18.9);
  EXPECT_EQ(rate.Fraction(), 18.9 / 100);
  EXPECT_EQ(Ratio(0.25).InPercent(), Percent(25));
  EXPECT_LT(Percent(9.899), Percent(9.9));
}

TEST(DebtTest, RowsMoveWholeDebts) {
  DebtList debts;
  EXPECT_EQ(debts.GetDebtCount(), 0);
  for (const char* name : {"A", "B", "C", "D"}) {
    debts.AddDebt(MakeDebt(name, name[0] == 'C' ? 3 : 1));
  }
  debts.SwapRows(0, 2);
  EXPECT_EQ(Names(debts), (std::vector<std::string>{"C", "B", "A", "D"}));
  EXPECT_EQ(debts.At(0).Balance, 3);
  debts.MoveRow(0, 3);
  EXPECT_EQ(Names(debts), (std::vector<std::string>{"B", "A", "D", "C"}));
  debts.MoveRow(3, 0);
  EXPECT_EQ(Names(debts), (std::vector<std::string>{"C", "B", "A", "D"}));
  debts.DeleteRow(1);
  debts.DeleteRow(9);
  debts.SwapRows(0, 7);
  debts.MoveRow(-1, 0);
  EXPECT_EQ(Names(debts), (std::vector<std::string>{"C", "A", "D"}));
  EXPECT_EQ(debts.At(0).Balance, 3);
  debts.EditDebt(1, MakeDebt("E", 5));
  debts.EditDebt(5, MakeDebt("F", 6));  // no such row: ignored
  EXPECT_EQ(Names(debts), (std::vector<std::string>{"C", "E", "D"}));
  EXPECT_EQ(debts.NameOf(1), "E");
  EXPECT_EQ(debts.NameOf(3), "");
  EXPECT_EQ(debts.NameOf(-1), "");
  debts.ClearDebts();
  EXPECT_EQ(debts.GetDebtCount(), 0);
}

TEST(DebtTest, CompoundingLookupsAreTotal) {
  const CompoundingPeriod periods[] = {
      CompoundingPeriod::Daily, CompoundingPeriod::Monthly, CompoundingPeriod::Quarterly,
      CompoundingPeriod::SemiAnnually, CompoundingPeriod::Annually};
  const int codes[] = {0, 1, 3, 6, 12};
  const char* names[] = {"Daily", "Monthly", "Quarterly", "Semi-Annually", "Annually"};
  for (int position = 0; position < 5; ++position) {
    EXPECT_EQ(LookupCompoundingPeriod(position), periods[position]);
    EXPECT_EQ(LookupItemIndex(periods[position]), position);
    EXPECT_EQ(LookupCompoundingPeriodName(periods[position]), names[position]);
    EXPECT_EQ(CompoundingCode(periods[position]), codes[position]);
  }
  EXPECT_EQ(LookupCompoundingPeriod(-1), CompoundingPeriod::Monthly);
  EXPECT_EQ(LookupCompoundingPeriod(9), CompoundingPeriod::Monthly);
  // A code a file may hold beside the five is kept, and lists show it as monthly.
  EXPECT_EQ(CompoundingCode(CompoundingFromCode(7)), 7);
  EXPECT_EQ(LookupItemIndex(CompoundingFromCode(7)), 1);
  EXPECT_EQ(LookupCompoundingPeriodName(CompoundingFromCode(2)), "Monthly");
}

}  // namespace
}  // namespace ardvane
