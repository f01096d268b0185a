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
  EXPECT_EQ(GetMonthName(1, Language::kEnglish), "January");
  EXPECT_EQ(GetMonthName(9, Language::kSpanish), "septiembre");
  EXPECT_EQ(GetShortMonthName(12, Language::kEnglish), "Dec");
  EXPECT_EQ(GetShortMonthName(8, Language::kSpanish), "ago");
  EXPECT_EQ(GetMonthName(0, Language::kEnglish), "");
  EXPECT_EQ(GetMonthName(13, Language::kEnglish), "");
}

}  // namespace
}  // namespace ardvane
