#include "figures/plan_statements.h"

#include <gtest/gtest.h>

#include "figures/payoff_payment.h"
#include "figures/report_formats.h"
#include "figures/strategies.h"
#include "tests/figures/test_plans.h"

namespace ardvane {
namespace {

using testing::CalculateWith;
using testing::kPointRegional;
using testing::M;

struct Stated {
  PlanDocument plan;
  PlanParameters params;
  PlanResults results;
  PlanStatements statements;
  StatementTexts texts;

  explicit Stated(PlanDocument p, PlanParameters withParams = {})
      : plan(std::move(p)), params(withParams) {
    results = CalculateWith(plan, params);
    statements = ComputePlanStatements(plan, params, AppSettings{}, results);
    texts = WriteStatements(statements, EnglishStatementWords(kPointRegional));
  }
};

// The kind follows the amount as the report prints it: "$0.00" is no saving whichever side
// of 0 it was rounded from.
TEST(PlanStatementsTest, TheSavingIsJudgedAsPrinted) {
  for (const long double units : {-12.0L, -0.0051L, -0.005L, -0.0049L, 0.0L, 0.0049L, 0.005L,
                                  0.0051L, 12.0L}) {
    const Money saved = M(units);
    const std::string printed = ReportMoney(saved, kPointRegional);
    const SavingKind kind = SavingKindOf(saved, true);
    SCOPED_TRACE(printed);
    EXPECT_EQ(kind == SavingKind::kSavesNothing, printed == "$0.00" || printed == "($0.00)");
    EXPECT_EQ(kind == SavingKind::kCosts, printed.starts_with("($") && printed != "($0.00)");
    EXPECT_EQ(SavingKindOf(saved, false), SavingKind::kNotASaving);
  }
}

// The hopeless cards: the plan never pays off Capital One nor Discover, so nothing it shows is
// a saving; each debt is named with the payment that pays it off on its own and the time
// that takes, and the power payment that would pay off every debt by the compared months.
TEST(PlanStatementsTest, APlanThatNeverPaysOffIsNeverASaving) {
  const Stated s(testing::HopelessCardsPlan());
  const PlanStatements& st = s.statements;
  ASSERT_EQ(st.proposedUnpaid.size(), 2u);
  EXPECT_EQ(st.proposedUnpaid[0].name, "Capital One");
  EXPECT_EQ(st.proposedUnpaid[1].name, "Discover");
  EXPECT_EQ(st.saving, SavingKind::kNotASaving);
  EXPECT_FALSE(st.ClaimsSaving());
  EXPECT_FALSE(st.investmentIsSavings);
  EXPECT_EQ(s.texts.averageSaving, "");
  EXPECT_EQ(s.texts.investment, "");
  EXPECT_EQ(s.texts.savingCell, "\u2014");
  EXPECT_EQ(s.texts.proposedUnpaid, "these debts are never paid off: Capital One and Discover");
  EXPECT_EQ(s.texts.saving,
            "As it stands, the plan never pays off every debt, so it shows no saving.");

  // Each payment pays its debt off in the months stated, and a cent less never does.
  for (const UnpaidDebt& debt : st.proposedUnpaid) {
    SCOPED_TRACE(debt.name);
    const Loan& terms = *s.results.ProposedPlan.GetLoan(debt.loan);
    EXPECT_EQ(debt.payoffPayment, SmallestPayoffPayment(terms, Loan::kMaxMonths));
    EXPECT_GT(debt.payoffMonths, 0);
    EXPECT_EQ(PayoffMonthsWith(terms, debt.payoffPayment), debt.payoffMonths);
    EXPECT_EQ(PayoffMonthsWith(terms, debt.payoffPayment - M(0.01)), 0);
  }
  // Capital One's interest alone is 30,000 x 29.99 % / 12 = 749.75 a month.
  EXPECT_GT(st.proposedUnpaid[0].payoffPayment, M(749.75));

  // By the plan month plus the compared months: December 2026 + H.
  const int h = s.results.InterestHorizonMonths;
  ASSERT_GT(h, 0);
  EXPECT_EQ(st.powerPaymentBy, YearMonthOf(AddMonths(s.plan.Date, h)));
  const PowerPaymentGoal goal =
      FindPowerPaymentForGoal(s.plan, s.params, AppSettings{}, st.powerPaymentBy);
  ASSERT_TRUE(goal.attainable);
  EXPECT_EQ(st.powerPaymentNeeded.powerPayment, goal.powerPayment);
  EXPECT_EQ(s.texts.powerPayment,
            "A power payment of " + ReportMoney(goal.powerPayment, kPointRegional) +
                " a month would pay off every debt by " +
                ReportMonthYear(AddMonths(s.plan.Date, h), Language::kEnglish, "NA") + ".");

  // Today's payments never pay Capital One off either: what it still owes is stated.
  ASSERT_EQ(st.currentUnpaid.size(), 1u);
  const Loan& today = *s.results.CurrentPlan.GetLoan(0);
  EXPECT_EQ(s.texts.currentUnpaid,
            "On today's payments, Capital One is never paid off: after " +
                ReportYears(h / 12.0, kPointRegional) + " years you would still owe " +
                ReportMoney(today.GetBeginBalance(h), kPointRegional) + ".");

  // No strategy that never pays every debt off saves the most.
  const StrategyComparison comparison = CompareStrategies(s.plan, s.params, AppSettings{});
  for (const PriorityFigures& f : comparison.strategies) {
    EXPECT_FALSE(f.mostSaved && !f.proposed.DebtFree()) << f.priority;
  }
}

// Worked example (a): only today's payments never pay A off. The saving is stated over the
// 22 months both plans are compared, and what A still owes after them, 1,122.3577.
TEST(PlanStatementsTest, OnlyTodaysPaymentsNeverPayOff) {
  const Stated s(testing::NeverPaidOffTodayPlan());
  EXPECT_TRUE(s.statements.PaysEveryDebt());
  EXPECT_EQ(s.statements.saving, SavingKind::kSaves);
  EXPECT_EQ(s.texts.currentUnpaid,
            "On today's payments, A is never paid off: after 1.8 years you would still owe "
            "$1,122.36.");
  EXPECT_EQ(s.texts.saving, "Over the same 22 months, the plan saves $123.12 in interest.");
  EXPECT_EQ(s.texts.savingLabel, "Interest saved over 22 months");
  // 123.1214 / 22 = 5.5964
  EXPECT_EQ(s.texts.averageSaving, "on average $5.60 a month over the 22 months of the plan");
  EXPECT_EQ(s.texts.proposedUnpaid, "");
  EXPECT_EQ(s.texts.powerPayment, "");
  EXPECT_TRUE(TodaysInterestVaries(s.statements));
  EXPECT_EQ(s.texts.strategies,
            "Today's payments never pay off A, so each strategy counts today's interest over its "
            "own months: today's interest, and with it the interest saved, differs from row to "
            "row.");
}

// A payment reduction: the plan costs more, said as a cost, and the office's minimum saving
// waives the fee set, said with its reason.
TEST(PlanStatementsTest, ACostlierPlanIsACostAndItsWaivedFeeSaysWhy) {
  const Stated s(testing::CostlierPlan());
  ASSERT_LT(s.results.InterestSaved(), M(-0.01));
  EXPECT_EQ(s.statements.saving, SavingKind::kCosts);
  const std::string more = ReportMoney(-s.results.InterestSaved(), kPointRegional);
  EXPECT_EQ(s.texts.saving, "The plan costs " + more + " more in interest than today's payments.");
  EXPECT_EQ(s.texts.savingLabel, "More interest than today");
  EXPECT_EQ(s.texts.savingCell, more);
  EXPECT_EQ(s.texts.averageSaving, "");
  // Under a column headed "Interest saved" the cell says it is a cost.
  EXPECT_EQ(SavingCellText(s.results.InterestSaved(), true, EnglishStatementWords(kPointRegional)),
            "Costs " + more + " more");
  // Before its fee too the plan costs more, so the reason does not speak of what it saves.
  ASSERT_LT(s.results.InterestSavedBeforeFee, Money());
  EXPECT_EQ(s.statements.fee.kind, FeeKind::kWaived);
  EXPECT_FALSE(s.statements.fee.savesBeforeFee);
  EXPECT_EQ(s.texts.fee,
            "Because the plan saves no interest before its fee, and so falls short of the minimum "
            "saving of $500.00, the setup fee of $995.00 is waived, and the down payment is $0.00 "
            "instead of $295.00.");
}

TEST(PlanStatementsTest, TheMinimumFeeIsSaidWithItsReason) {
  const Stated s(testing::MinimumFeePlan());
  ASSERT_LT(s.results.InterestSavedBeforeFee, M(5000));
  EXPECT_EQ(s.statements.fee.kind, FeeKind::kMinimum);
  EXPECT_TRUE(s.statements.fee.savesBeforeFee);
  EXPECT_EQ(s.texts.fee,
            "Because the interest the plan saves before its fee is below the minimum saving of "
            "$5,000.00, the setup fee is $150.00 instead of $995.00, and the down payment is "
            "$50.00 instead of $295.00.");

  // Without a minimum saving the fee is the one set, and nothing is said.
  PlanDocument plan = testing::MinimumFeePlan();
  plan.MinSavings = Money();
  EXPECT_EQ(Stated(plan).statements.fee.kind, FeeKind::kAsSet);
  EXPECT_EQ(Stated(plan).texts.fee, "");
}

// The sample saves, pays every debt off and invests what it frees: everything may be said, and
// the monthly figure is the average it is.
TEST(PlanStatementsTest, TheSampleSaysItSaves) {
  const Stated s(testing::SamplePlan(), testing::SampleParams());
  EXPECT_TRUE(s.statements.ClaimsSaving());
  EXPECT_EQ(s.texts.saving, "The plan saves $66,293.76 in interest.");
  EXPECT_EQ(s.texts.savingLabel, "Interest saved");
  EXPECT_EQ(s.texts.averageSaving, "on average $552.45 a month over the 120 months of the plan");
  EXPECT_EQ(s.texts.investment,
            "By investing the payments that the plan frees once your debts are gone, at 6.00% a "
            "year, you could build savings of $379,482.44 over the same period.");
  EXPECT_EQ(s.texts.fee, "");
  EXPECT_EQ(s.texts.currentUnpaid, "");
  EXPECT_EQ(s.texts.strategies, "");
}

// The window's note: the hopeless cards lead with what is never paid off and what would pay it
// off; the costlier plan says its cost and its waived fee; the sample needs no note.
TEST(PlanStatementsTest, TheWindowsNoteSaysWhatTheReportSays) {
  const StatementWords words = EnglishStatementWords(kPointRegional);
  const Stated hopeless(testing::HopelessCardsPlan());
  const std::string note = ResultsNote(hopeless.statements, hopeless.texts, words);
  const UnpaidDebt& card = hopeless.statements.proposedUnpaid[0];
  EXPECT_EQ(note.substr(0, note.find('\n')),
            "As it stands, under the plan these debts are never paid off: Capital One and "
            "Discover.");
  EXPECT_NE(note.find("\nCapital One: " + ReportMoney(card.payoffPayment, kPointRegional) +
                      " a month pays it off in " + PayoffTimeText(card.payoffMonths, words) +
                      ".\n"),
            std::string::npos)
      << note;
  EXPECT_NE(note.find(hopeless.texts.powerPayment), std::string::npos) << note;
  EXPECT_NE(note.find("so it shows no saving."), std::string::npos) << note;
  EXPECT_EQ(note.find("saves $"), std::string::npos) << note;

  const Stated costlier(testing::CostlierPlan());
  EXPECT_EQ(ResultsNote(costlier.statements, costlier.texts, words),
            costlier.texts.saving + "\n" + costlier.texts.fee);

  const Stated today(testing::NeverPaidOffTodayPlan());
  EXPECT_EQ(ResultsNote(today.statements, today.texts, words),
            "On today's payments, A is never paid off: after 1.8 years you would still owe "
            "$1,122.36.\nOver the same 22 months, the plan saves $123.12 in interest.");

  const Stated sample(testing::SamplePlan(), testing::SampleParams());
  EXPECT_EQ(ResultsNote(sample.statements, sample.texts, words), "");
}

// Today's payments never pay A off ($100 at 12 % paying 50 cents); a payment reduction of $90
// leaves the high-rate card C paying little more than its interest, so over the plan's long
// months it costs more than today, and the cost is stated over those same months.
TEST(PlanStatementsTest, ACostIsStatedOverTheSameMonthsWhenTodayNeverPaysADebtOff) {
  PlanDocument plan;
  plan.Date = EncodeDate(2026, 12, 7);
  plan.Accelerators[0].Monthly = M(-90);
  plan.Debts.AddDebt(testing::MakeDebt("A", 100, 12, 0.5));
  plan.Debts.AddDebt(testing::MakeDebt("C", 5000, 25, 200, 100));
  const Stated s(plan);
  ASSERT_EQ(s.statements.saving, SavingKind::kCosts);
  ASSERT_EQ(s.statements.currentUnpaid.size(), 1u);
  EXPECT_EQ(s.texts.saving, "Over the same " + std::to_string(s.results.InterestHorizonMonths) +
                                " months, the plan costs " +
                                ReportMoney(-s.statements.interestSaved, kPointRegional) +
                                " more in interest than today's payments.");
}

}  // namespace
}  // namespace ardvane
