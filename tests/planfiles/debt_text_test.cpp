#include "planfiles/debt_text.h"

#include <gtest/gtest.h>

#include "tests/test_regional.h"

namespace ardvane {
namespace {

using testing::kCommaRegional;
using testing::kPointRegional;

DebtTexts Texts(std::string balance, std::string compounding) {
  DebtTexts texts;
  texts[static_cast<int>(DebtAttribute::Name)] = "Card";
  texts[static_cast<int>(DebtAttribute::Balance)] = std::move(balance);
  texts[static_cast<int>(DebtAttribute::CompoundingPeriod)] = std::move(compounding);
  return texts;
}

const std::string& Text(const DebtTexts& texts, DebtAttribute attribute) {
  return texts[static_cast<int>(attribute)];
}

TEST(DebtTextTest, NumbersReadInEitherFormAndKeepFifteenDigits) {
  struct Case {
    const char* text;
    double balance;
    const char* written;  // what the writer writes back
  } cases[] = {
      {"1500.5", 1500.5, "1500.5"},
      {"1500,5", 1500.5, "1500.5"},
      {" 12.50 ", 12.5, "12.5"},
      {"1e3", 1000, "1000"},
      {"-20", -20, "-20"},
      {"-0", 0, "0"},
      {"0.30000000000000004", 0.3, "0.3"},
      // No number: 0, and the text is written back while the field stays 0.
      {"", 0, ""},
      {"abc", 0, "abc"},
      {"$1,500", 0, "$1,500"},
      {"1.500,5", 0, "1.500,5"},
  };
  for (const Case& c : cases) {
    const Debt debt = ParseDebt(Texts(c.text, "1"), kCommaRegional);
    EXPECT_EQ(debt.Balance, c.balance) << c.text;
    EXPECT_EQ(Text(DebtFileTexts(debt), DebtAttribute::Balance), c.written) << c.text;
  }
  // With a point as the user's separator a comma is no decimal separator.
  EXPECT_EQ(ParseDebt(Texts("1500,5", "1"), kPointRegional).Balance, 0);
}

TEST(DebtTextTest, AnUnreadTextGoesOnceItsFieldHoldsANumber) {
  Debt debt = ParseDebt(Texts("", "1"), kPointRegional);
  ASSERT_EQ(debt.UnreadTexts.count("Balance"), 1u);
  // Every number field but the balance was blank as well.
  EXPECT_EQ(debt.UnreadTexts.size(), 9u);
  debt.Balance = 250;
  debt.InterestRate = Percent(12.5);
  const DebtTexts texts = DebtFileTexts(debt);
  EXPECT_EQ(Text(texts, DebtAttribute::Balance), "250");
  EXPECT_EQ(Text(texts, DebtAttribute::InterestRate), "12.5");
  EXPECT_EQ(Text(texts, DebtAttribute::Escrow), "");
}

TEST(DebtTextTest, FlagsCompoundingAndNameRoundTrip) {
  struct Case {
    const char* compounding;
    int code;
    const char* written;
  } cases[] = {
      {"", 0, "0"},    {"abc", 1, "1"}, {"12", 12, "12"},
      {" 6 ", 6, "6"}, {"3", 3, "3"},   {"5", 5, "5"},  // an odd count of months is kept
  };
  for (const Case& c : cases) {
    const Debt debt = ParseDebt(Texts("1", c.compounding), kPointRegional);
    EXPECT_EQ(CompoundingCode(debt.Compounding), c.code) << c.compounding;
    EXPECT_EQ(Text(DebtFileTexts(debt), DebtAttribute::CompoundingPeriod), c.written)
        << c.compounding;
  }

  DebtTexts texts = Texts("10", "1");
  texts[static_cast<int>(DebtAttribute::Name)] = " Name kept  as typed ";
  texts[static_cast<int>(DebtAttribute::InterestRate)] = "18.90";
  texts[static_cast<int>(DebtAttribute::Consolidate)] = "x";
  texts[static_cast<int>(DebtAttribute::Negotiate)] = "Negotiate";
  const Debt debt = ParseDebt(texts, kPointRegional);
  EXPECT_EQ(debt.Name, " Name kept  as typed ");
  EXPECT_EQ(debt.InterestRate, Percent(18.9));
  EXPECT_TRUE(debt.Consolidate);  // any text sets a flag
  EXPECT_FALSE(debt.UseMinimum);
  EXPECT_TRUE(debt.Negotiate);
  const DebtTexts written = DebtFileTexts(debt);
  EXPECT_EQ(Text(written, DebtAttribute::Name), " Name kept  as typed ");
  EXPECT_EQ(Text(written, DebtAttribute::InterestRate), "18.9");
  EXPECT_EQ(Text(written, DebtAttribute::Consolidate), "Consolidate");
  EXPECT_EQ(Text(written, DebtAttribute::UseMinimum), "");
  EXPECT_EQ(Text(written, DebtAttribute::Negotiate), "Negotiate");
  EXPECT_TRUE(IsDebtAmount(DebtAttribute::NegotiatedPayment));
  EXPECT_FALSE(IsDebtAmount(DebtAttribute::NegotiatedInterestRate));
}

}  // namespace
}  // namespace ardvane
