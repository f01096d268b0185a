#include "platform/desktop_locale.h"

#include <gtest/gtest.h>

namespace ardvane {
namespace {

TEST(DesktopLocaleTest, CAndUnitedStatesAreUnitedStatesEnglishWithParentheses) {
  const RegionalSettings us;
  EXPECT_EQ(RegionalSettingsFromLocale(QLocale::c()), us);
  const RegionalSettings enUs = RegionalSettingsFromLocale(QLocale(QLocale::English, QLocale::UnitedStates));
  EXPECT_EQ(enUs.decimalSeparator, ".");
  EXPECT_EQ(enUs.thousandsSeparator, ",");
  EXPECT_EQ(enUs.currencySymbol, "$");
  EXPECT_EQ(enUs.currencyPositivePattern, "$n");
  EXPECT_EQ(enUs.currencyNegativePattern, "($n)");
  EXPECT_EQ(enUs.shortDateFormat, "M/d/yyyy");
}

TEST(DesktopLocaleTest, AGermanLocaleKeepsItsSeparatorsAndPattern) {
  const RegionalSettings de = RegionalSettingsFromLocale(QLocale(QLocale::German, QLocale::Germany));
  EXPECT_EQ(de.decimalSeparator, ",");
  EXPECT_EQ(de.thousandsSeparator, ".");
  EXPECT_EQ(de.monetaryDecimalSeparator, ",");
  EXPECT_EQ(de.currencySymbol, "€");
  EXPECT_EQ(de.currencyPositivePattern, "n\u00a0$");
  EXPECT_EQ(de.currencyNegativePattern, "-n\u00a0$");
  EXPECT_EQ(de.shortDateFormat, "dd.MM.yyyy");
}

}  // namespace
}  // namespace ardvane
