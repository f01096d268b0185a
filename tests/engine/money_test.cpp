#include "engine/money.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace ardvane {
namespace {

TEST(MoneyTest, RoundsToNearestTenThousandthTiesToEven) {
  struct Case {
    long double units;
    std::int64_t count;
  } cases
      [] =
          {
              {1.0L, 10000},       {1234.5L, 12345000}, {0.00005L, 0},  {0.00015L, 2},
              {0.00025L, 2},       {-0.00015L, -2},     {0.000049L, 0}, {0.000051L, 1},
              {58.98475L, 589848},  // the tie of the 1,000 at 12 % loan's last payment, had it been
                                    // one
          };
  for (const Case& c : cases) {
    EXPECT_EQ(Money::FromUnits(c.units).Count(), c.count) << static_cast<double>(c.units);
  }
}

TEST(MoneyTest, WholeUnitsRoundHalfToEven) {
  EXPECT_EQ(Money::WholeUnits(2500.495L), Money::FromUnits(2500));
  EXPECT_EQ(Money::WholeUnits(2.5L), Money::FromUnits(2));
  EXPECT_EQ(Money::WholeUnits(3.5L), Money::FromUnits(4));
  EXPECT_EQ(Money::WholeUnits(-3.5L), Money::FromUnits(-4));
}

TEST(MoneyTest, ExtremesSaturateInsteadOfOverflowing) {
  const Money max = Money::FromCount(std::numeric_limits<std::int64_t>::max());
  const Money min = Money::FromCount(std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(Money::FromUnits(1e300L), max);
  EXPECT_EQ(Money::FromUnits(-1e300L), min);
  EXPECT_EQ(Money::FromUnits(std::numeric_limits<long double>::infinity()), max);
  EXPECT_EQ(Money::FromUnits(std::nanl("")), Money());
  EXPECT_EQ(max + Money::FromUnits(1), max);
  EXPECT_EQ(min - Money::FromUnits(1), min);
  EXPECT_EQ(-min, max);
  EXPECT_EQ(max * 2.0L, max);
}

// The amounts a count holds end at ±922,337,203,685,477.5807; past them FromUnits saturates.
TEST(MoneyTest, HoldsUnitsUpToTheLimitsOfTheCount) {
  EXPECT_TRUE(Money::HoldsUnits(922337203685477.5807L));
  EXPECT_TRUE(Money::HoldsUnits(-922337203685477.5808L));
  EXPECT_TRUE(Money::HoldsUnits(0));
  EXPECT_FALSE(Money::HoldsUnits(922337203685477.5808L));
  EXPECT_FALSE(Money::HoldsUnits(-922337203685477.5809L));
  EXPECT_FALSE(Money::HoldsUnits(1e15L));
  EXPECT_FALSE(Money::HoldsUnits(std::numeric_limits<long double>::infinity()));
  EXPECT_FALSE(Money::HoldsUnits(std::nanl("")));
}

TEST(MoneyTest, ArithmeticIsExactOnCounts) {
  const Money a = Money::FromUnits(0.1L);
  const Money b = Money::FromUnits(0.2L);
  EXPECT_EQ(a + b, Money::FromUnits(0.3L));
  EXPECT_EQ(Money::FromUnits(1819.55L) * (0.06L / 12), Money::FromUnits(9.0978L));
  // The rate as the double nearest 0.06 lands just below 0.005 a month, so the tie breaks down.
  EXPECT_EQ(Money::FromUnits(1819.55L) * (static_cast<long double>(0.06) / 12.0L),
            Money::FromUnits(9.0977L));
}

}  // namespace
}  // namespace ardvane
