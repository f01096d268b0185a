// The size limits of a report: the estimate of its month-by-month tables against what the
// shipped templates really write, and refusals that leave an older report alone.
#include "reports/report_limits.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "reports/document_output.h"
#include "reports/report_generator.h"
#include "tests/reports/report_test_files.h"
#include "tests/test_support.h"

namespace ardvane {
namespace {

using testing::kPointRegional;
using testing::MakeDebt;

const std::filesystem::path kDist = ARDVANE_DIST_DIR;

AppSettings OnlyTables(bool monthly, bool amortization) {
  AppSettings settings;
  settings.PrintCurrentDebts = settings.PrintPlanStrategy = settings.PrintPayoffProjections =
      settings.PrintOptions = settings.PrintNewLoan = settings.PrintReturnOnInvestment =
          settings.PrintPayoffSchedule = settings.PrintImmediateResults =
              settings.PrintPaymentSchedule = settings.PrintInvestmentProjections =
                  settings.PrintContract = false;
  settings.PrintMonthlyPaymentTables = monthly;
  settings.PrintAmortizationTables = amortization;
  return settings;
}

struct Plan {
  PlanDocument plan;
  PlanParameters params;
  PlanResults results;

  void Add(const std::string& name, double balance, double rate, double payment,
           double escrow = 0) {
    Debt debt = MakeDebt(name, balance, rate, payment, payment);
    debt.Escrow = escrow;
    plan.Debts.AddDebt(debt);
  }
  void Calculate(const AppSettings& settings) {
    results = ardvane::Calculate(plan, params, settings);
  }
  ReportContext Context(const AppSettings& settings) {
    return testing::ContextFor(plan, results, params, settings, kDist);
  }
  // Bytes the report's text takes with `settings` beyond the same report without tables.
  long long TableBytes(const AppSettings& settings) {
    const AppSettings none = OnlyTables(false, false);
    Calculate(none);
    const auto base = static_cast<long long>(AssembleReport(Context(none)).text.size());
    Calculate(settings);
    return static_cast<long long>(AssembleReport(Context(settings)).text.size()) - base;
  }
};

TEST(ReportLimitsTest, TheTableEstimateIsNeverBelowWhatTheTemplatesWrite) {
  const std::string longName(5000, 'N');  // shortened in the monthly tables
  const std::string markup = std::string(300, '"') + std::string(300, '&');
  const struct {
    const char* label;
    std::vector<std::vector<std::string>> debts;  // name, balance, rate, payment, escrow
  } plans[] = {
      {"short names, one with escrow",
       {{"Visa", "3000", "18.9", "150", ""}, {"Mortgage", "90000", "6", "700", "250"}}},
      {"long names", {{longName, "3000", "18.9", "150", ""}, {"Car", "6000", "7", "250", ""}}},
      {"names of markup", {{markup, "3000", "18.9", "150", ""}, {markup, "900", "5", "60", ""}}},
      {"a debt of 83 years", {{"Long", "9000", "1.2", "14.24", ""}}},
  };
  for (const auto& p : plans) {
    Plan plan;
    plan.plan.Date = EncodeDate(2015, 3, 22);
    const auto number = [](const std::string& text) { return text.empty() ? 0 : std::stod(text); };
    for (const auto& d : p.debts) {
      plan.Add(d[0], number(d[1]), number(d[2]), number(d[3]), number(d[4]));
    }
    for (const auto& [monthly, amortization] :
         {std::pair{true, false}, std::pair{false, true}, std::pair{true, true}}) {
      const AppSettings settings = OnlyTables(monthly, amortization);
      const long long written = plan.TableBytes(settings);
      const long long estimate = ReportTableBytes(plan.plan, plan.results, settings);
      const std::string label = std::string(p.label) + (monthly ? ", monthly" : "") +
                                (amortization ? ", amortization" : "");
      ASSERT_GT(written, 0) << label;
      EXPECT_GE(estimate, written) << label;
      EXPECT_LE(estimate, 3 * written) << label;  // an estimate, not a blanket refusal
    }
  }
  Plan none;
  EXPECT_EQ(ReportTableBytes(none.plan, none.results, OnlyTables(true, true)), 0);
}

TEST(ReportLimitsTest, ATooLargeReportIsRefusedAndTheOlderOneStays) {
  EXPECT_EQ(ReportDebtsRefusal(kMostReportDebts), "");
  EXPECT_EQ(ReportDebtsRefusal(12345),
            "The report was not written: the plan has 12,345 debts, more than the 5,000 a "
            "report can show. Split the plan into smaller ones.");

  // Five hundred debts of 83 years: a million month rows with both tables, some 380 MB.
  Plan plan;
  plan.plan.Date = EncodeDate(2015, 3, 22);
  for (int i = 0; i < 500; ++i) plan.Add("D" + std::to_string(i), 9000, 1.2, 14.24);
  const AppSettings settings;
  plan.Calculate(settings);
  const std::string refusal = ReportSizeRefusal(plan.plan, plan.results, settings);
  EXPECT_NE(refusal.find("MB, more than the 300 MB a report can hold. Turn off \"Monthly "
                         "Payment Tables\" or \"Amortization Tables\""),
            std::string::npos)
      << refusal;
  EXPECT_EQ(ReportSizeRefusal(plan.plan, plan.results, OnlyTables(true, false)), "");

  const testing::ProgramFolder folder;
  folder.Write("Client.doc", "the older report");
  ReportContext context = plan.Context(settings);
  std::string shown;
  context.showError = [&](const std::string& message) { shown += message; };
  EXPECT_FALSE(WriteReportDocument(context, folder.path() / "Client.doc").saved);
  EXPECT_EQ(shown, refusal);
  std::ifstream file(folder.path() / "Client.doc");
  std::stringstream text;
  text << file.rdbuf();
  EXPECT_EQ(text.str(), "the older report");
}

}  // namespace
}  // namespace ardvane
