#include "inputs/debt_checks.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "tests/test_regional.h"

namespace ardvane {
namespace {

// Records every message in order; answers the OK/Cancel warning with `confirm`.
class RecordingSink : public MessageSink {
 public:
  explicit RecordingSink(bool confirm = true) : confirm_(confirm) {}
  void ShowInformation(const std::string& text) override { shown.push_back("info: " + text); }
  void ShowWarning(const std::string& text) override { shown.push_back("warning: " + text); }
  bool ConfirmWarning(const std::string& text) override {
    shown.push_back("confirm: " + text);
    return confirm_;
  }
  std::vector<std::string> shown;

 private:
  bool confirm_;
};

DebtValues MakeDebt(double balance, double rate, double minAmount, double minRate, double payment,
                    bool useMinimum = false) {
  DebtValues v;
  v.balance = balance;
  v.interestRate = rate;
  v.minimumAmount = minAmount;
  v.minimumRate = minRate;
  v.currentPayment = payment;
  v.useMinimum = useMinimum;
  return v;
}

const std::string kNoMinimum = "confirm: No minimum payment has been established on this debt.";

TEST(DebtClosingChecksTest, MessagesAmountsAndFocusInOrder) {
  struct Case {
    const char* what;
    DebtValues debt;
    bool confirm;
    bool mayClose;
    std::vector<std::string> shown;
    std::optional<DebtFocus> focus;
  } cases[] = {
      // I = 10000 × 12 / 1200 = 100; M = 50; the payment of 100 does not exceed I.
      {"payment equals interest",
       MakeDebt(10000, 12, 50, 0, 100),
       true,
       false,
       {"info: Current payment must be greater than the monthly interest on the loan ($100.00)."},
       DebtFocus::CurrentPayment},
      {"payment a cent above interest", MakeDebt(10000, 12, 50, 0, 100.01), true, true, {}, {}},
      // M = max(10000 × 2 / 100, 50) = 200.
      {"payment below minimum by rate",
       MakeDebt(10000, 12, 50, 2, 150),
       true,
       false,
       {"info: Current payment must be equal to or greater than the minimum payment ($200.00)."},
       DebtFocus::CurrentPayment},
      // Zero balance, no minimum, paying the minimum: I = M = 0 fails after the warning.
      {"zero balance paying minimum",
       MakeDebt(0, 12, 0, 0, 0, true),
       true,
       false,
       {kNoMinimum,
        "info: Minimum payment must be greater than the monthly interest on the loan ($0.00)."},
       DebtFocus::MinimumRate},
      // I = 10, M = 1000 × 3 / 100 = 30: only the warning, which OK lets pass.
      {"no minimum amount, OK", MakeDebt(1000, 12, 0, 3, 30), true, true, {kNoMinimum}, {}},
      {"no minimum amount, Cancel", MakeDebt(1000, 12, 0, 3, 30), false, false, {kNoMinimum}, {}},
      {"no minimum amount, payment short",
       MakeDebt(1000, 12, 0, 3, 29.99),
       true,
       false,
       {kNoMinimum,
        "info: Current payment must be equal to or greater than the minimum payment ($30.00)."},
       DebtFocus::CurrentPayment},
      // Paying the minimum: M = max(50, 90) = 90 < I = 100; the amount decides M, so it gets the
      // focus.
      {"minimum by amount too small",
       MakeDebt(10000, 12, 90, 0.5, 0, true),
       true,
       false,
       {"info: Minimum payment must be greater than the monthly interest on the loan ($100.00)."},
       DebtFocus::MinimumAmount},
      {"minimum by rate too small",
       MakeDebt(10000, 12, 40, 0.9, 0, true),
       true,
       false,
       {"info: Minimum payment must be greater than the monthly interest on the loan ($100.00)."},
       DebtFocus::MinimumRate},
      {"paying a sufficient minimum", MakeDebt(10000, 12, 101, 0, 0, true), true, true, {}, {}},
  };
  for (const Case& c : cases) {
    RecordingSink sink(c.confirm);
    const ClosingResult result = RunClosingChecks(c.debt, true, testing::kPointRegional, sink);
    EXPECT_EQ(result.mayClose, c.mayClose) << c.what;
    EXPECT_EQ(sink.shown, c.shown) << c.what;
    EXPECT_EQ(result.focus, c.focus) << c.what;
  }
}

TEST(DebtClosingChecksTest, AmountsUseTheRegionalCurrencyFormat) {
  RecordingSink sink;
  RunClosingChecks(MakeDebt(1234567, 12, 50, 0, 100), true, testing::kCommaRegional, sink);
  ASSERT_EQ(sink.shown.size(), 1u);
  // I = 1,234,567 × 12 / 1200 = 12,345.67
  EXPECT_EQ(sink.shown[0],
            "info: Current payment must be greater than the monthly interest on the loan "
            "(12.345,67 €).");
}

TEST(DebtClosingChecksTest, RestructuredTermsCheckedOnlyWhenShownAndAfterTheOthers) {
  // N = 5000 × 18 / 1200 = 75.
  DebtValues debt = MakeDebt(5000, 18, 0, 0, 10);
  debt.negotiate = true;
  debt.negotiatedBalance = 5000;
  debt.negotiatedRate = 18;
  debt.negotiatedPayment = 74.99;

  RecordingSink sink;
  const ClosingResult result = RunClosingChecks(debt, true, testing::kPointRegional, sink);
  EXPECT_FALSE(result.mayClose);
  EXPECT_EQ(result.focus, DebtFocus::NegotiatedPayment);
  const std::vector<std::string> expected = {
      kNoMinimum,
      "info: Current payment must be greater than the monthly interest on the loan ($75.00).",
      "info: Negotiated payment must be equal to or greater than the negotiated monthly interest "
      "on the loan ($75.00).",
  };
  EXPECT_EQ(sink.shown, expected);

  // Without the restructuring permission the terms are hidden and cannot be corrected.
  RecordingSink hidden;
  RunClosingChecks(debt, false, testing::kPointRegional, hidden);
  EXPECT_EQ(hidden.shown.size(), 2u);

  debt.negotiatedPayment = 75;
  debt.minimumAmount = 100;
  debt.currentPayment = 100;
  RecordingSink passing;
  EXPECT_TRUE(RunClosingChecks(debt, true, testing::kPointRegional, passing).mayClose);
  EXPECT_TRUE(passing.shown.empty());
}

TEST(DebtValuesTest, DebtsRoundTripKeepingFifteenDigits) {
  Debt debt;
  debt.Name = "Card";
  debt.Balance = 1500.5;
  debt.InterestRate = Percent(18.9);
  debt.CurrentPayment = 60;
  debt.MinimumPaymentAmount = 25;
  debt.MinimumPaymentPercent = Percent(2);
  debt.NegotiatedBalance = 1400;
  debt.NegotiatedInterestRate = Percent(9.5);
  debt.NegotiatedPayment = 55;
  debt.Escrow = 12;
  debt.Compounding = CompoundingPeriod::Annually;
  debt.UseMinimum = true;
  debt.Negotiate = true;

  const DebtValues v = DebtValuesOf(debt);
  EXPECT_EQ(v.balance, 1500.5);
  EXPECT_EQ(v.interestRate, 18.9);
  EXPECT_EQ(v.minimumRate, 2);
  EXPECT_EQ(v.negotiatedRate, 9.5);
  EXPECT_EQ(v.compounding, CompoundingPeriod::Annually);
  EXPECT_EQ(DebtFromValues(v), debt);

  // A field holds what its 15 significant digits say, as the debt table shows and saves it.
  DebtValues typed = v;
  typed.balance = 0.1 + 0.2;
  typed.interestRate = 1.0 / 3;
  const Debt kept = DebtFromValues(typed);
  EXPECT_EQ(kept.Balance, 0.3);
  EXPECT_EQ(kept.InterestRate, Percent(0.333333333333333));
}

TEST(DebtValuesTest, PrefillOnlyWhenNoRestructuredTermsYet) {
  DebtValues v = MakeDebt(5000, 18, 100, 2, 150);
  EXPECT_TRUE(PrefillRestructuredTerms(v));
  EXPECT_EQ(v.negotiatedBalance, 5000);
  EXPECT_EQ(v.negotiatedRate, 18);
  EXPECT_EQ(v.negotiatedPayment, 100);

  DebtValues kept = MakeDebt(5000, 18, 100, 2, 150);
  kept.negotiatedRate = 6;
  EXPECT_FALSE(PrefillRestructuredTerms(kept));
  EXPECT_EQ(kept.negotiatedBalance, 0);
  EXPECT_EQ(kept.negotiatedRate, 6);
}

TEST(HelpTextTest, ReadsTheFileOrNamesTheMissingPath) {
  const std::filesystem::path folder =
      std::filesystem::path(::testing::TempDir()) / "ardvane-help-test";
  std::filesystem::create_directories(folder / "Help");
  std::ofstream(folder / "Help" / "balance.txt") << "What is owed today.";

  EXPECT_EQ(ReadHelpText(folder, "balance.txt"), "What is owed today.");
  EXPECT_EQ(ReadHelpText(folder, "escrow.txt"),
            "Help file not found:  " + (folder / "Help" / "escrow.txt").string());
  // A folder where a file is expected is not readable help either.
  std::filesystem::create_directories(folder / "Help" / "odd.txt");
  EXPECT_EQ(ReadHelpText(folder, "odd.txt").rfind("Help file not found:  ", 0), 0u);
  std::filesystem::remove_all(folder);
}

TEST(CalculatorPaymentTest, LevelPayment) {
  // 10000 × 0.005 / (1 − 1.005^−360) = 59.95505...
  EXPECT_NEAR(CalculatorPayment(10000, 0.06, 360), 59.9551, 1e-9);
  EXPECT_EQ(CalculatorPayment(1200, 0, 12), 100);
  EXPECT_EQ(CalculatorPayment(0, 0.06, 360), 0);
  // One payment repays the balance and one month's interest.
  EXPECT_NEAR(CalculatorPayment(1000, 0.12, 1), 1010, 1e-9);
}

}  // namespace
}  // namespace ardvane
