#include "engine/month_names.h"

#include <gtest/gtest.h>

namespace ardvane {
namespace {

TEST(MonthNamesTest, OrdinalSuffixes) {
  struct Case {
    long long n;
    const char* suffix;
  } cases[] = {{1, "st"},  {2, "nd"},   {3, "rd"},  {4, "th"},   {11, "th"},
               {12, "th"}, {13, "th"},  {21, "st"}, {22, "nd"},  {111, "th"},
               {0, "th"},  {101, "st"}, {-1, "st"}, {1012, "th"}};
  for (const Case& c : cases) EXPECT_EQ(GetOrdinalSuffix(c.n), c.suffix) << c.n;
}

TEST(MonthNamesTest, MonthNamesInBothLanguages) {
  EXPECT_EQ(GetMonthName(1, 0), "January");
  EXPECT_EQ(GetMonthName(9, 1), "septiembre");
  EXPECT_EQ(GetShortMonthName(12, 0), "Dec");
  EXPECT_EQ(GetShortMonthName(8, 1), "ago");
  EXPECT_EQ(GetMonthName(0, 0), "");
  EXPECT_EQ(GetMonthName(13, 0), "");
  EXPECT_EQ(GetShortMonthName(5, 2), "");
}

}  // namespace
}  // namespace ardvane
