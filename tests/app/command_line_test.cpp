#include "app/command_line.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <sstream>

#include "../planfiles/test_files.h"
#include "app/results_json.h"
#include "ui/settings_files.h"

namespace ardvane {
namespace {

using testing::TempFolder;
using testing::WriteFile;

// The two-debt example: A 1,000 at 12 % paying 100, B 2,000 at 6 % paying 100 (minimums
// 50), monthly compounding, plan date 15 January 2008, no fees.
const char kTwoDebtPlan[] =
    "<Client FirstName=\"Two\" LastName=\"Debts\">\r\n"
    "  <Plan Date=\"39462\" ReturnRate=\"0\" Priority=\"0\"/>\r\n"
    "  <Debt Name=\"A &quot;card&quot;\" Balance=\"1000\" InterestRate=\"12\" "
    "CurrentPayment=\"100\" "
    "MinimumPaymentAmount=\"50\" CompoundingPeriod=\"1\"/>\r\n"
    "  <Debt Name=\"B\" Balance=\"2000\" InterestRate=\"6\" CurrentPayment=\"100\" "
    "MinimumPaymentAmount=\"50\" CompoundingPeriod=\"1\"/>\r\n"
    "</Client>\r\n";

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

class CommandLineTest : public ::testing::Test {
 protected:
  Outcome Run(const std::vector<std::string>& args) {
    CommandLineEnvironment env;
    env.programFolder = folder.path();
    env.today = EncodeDate(2026, 12, 7);
    std::ostringstream out, err;
    const int status = RunResultsCommand(args, env, out, err);
    return {status, out.str(), err.str()};
  }
  std::string Plan(const std::string& name, const std::string& content) {
    WriteFile(folder / name, content);
    return (folder / name).string();
  }
  TempFolder folder;
};

bool Has(const std::string& text, const std::string& piece) {
  return text.find(piece) != std::string::npos;
}

TEST(ResultsJsonTest, MoneyIsWrittenExactly) {
  const struct {
    long double units;
    const char* json;
  } cases[] = {{171.486L, "171.486"}, {0, "0"},        {-5, "-5"},
               {0.0001L, "0.0001"},   {-0.5L, "-0.5"}, {1234567.89L, "1234567.89"}};
  for (const auto& c : cases) EXPECT_EQ(MoneyJson(Money::FromUnits(c.units)), c.json);
  EXPECT_EQ(MoneyJson(Money::FromCount(INT64_MIN)), "-922337203685477.5808");
}

// The figures are the two-debt worked example's: current plan paid off in 22 months with
// 171.486 interest (A after 11 months, 58.9848), proposed plan in 16 months with 147.7641 (A
// after 7). The rest follow by hand: a payoff n months after the plan date of 15 January 2008
// falls on the 15th n months later (11: 2008-12-15, 22: 2009-11-15, 7: 2008-08-15,
// 16: 2009-05-15); 22 / 12 = 1.8333 and 16 / 12 = 1.3333 years; interest saved
// 171.486 - 147.7641 = 23.7219; with no return and no fee the investment after the 22 projected
// months is the budget paid in, 22 x 200, less the 3,000 principal and the proposed plan's
// interest: 4,400 - 3,000 - 147.7641 = 1,252.2359.
// A $50,000 card at 30 % paid at $100 a month is never paid off, in either plan; the car
// loan beside it is.
TEST_F(CommandLineTest, NamesTheDebtsNeverPaidOff) {
  const Outcome r = Run(
      {"--results",
       Plan("never.bvx",
            "<Client FirstName=\"N\" LastName=\"P\">\r\n"
            "  <Plan Date=\"39462\" ReturnRate=\"0\" Priority=\"0\"/>\r\n"
            "  <Debt Name=\"Big &quot;card&quot;\" Balance=\"50000\" InterestRate=\"30\" "
            "CurrentPayment=\"100\" MinimumPaymentAmount=\"100\" CompoundingPeriod=\"1\"/>\r\n"
            "  <Debt Name=\"Car\" Balance=\"5000\" InterestRate=\"6\" CurrentPayment=\"200\" "
            "MinimumPaymentAmount=\"200\" CompoundingPeriod=\"1\"/>\r\n"
            "</Client>\r\n")});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::size_t current = r.out.find("\"current\": {");
  const std::size_t proposed = r.out.find("\"proposed\": {");
  const std::string names = "\"never_paid_off\": [\"Big \\\"card\\\"\"]";
  EXPECT_NE(r.out.find(names, current), std::string::npos) << r.out;
  EXPECT_LT(r.out.find(names, current), proposed);
  EXPECT_NE(r.out.find(names, proposed), std::string::npos) << r.out;
}

TEST_F(CommandLineTest, PrintsTheTwoDebtExample) {
  const Outcome r = Run({"--results", Plan("two.bvx", kTwoDebtPlan)});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const std::string& json = r.out;
  EXPECT_TRUE(
      Has(json,
          "\"current\": {\"debt_free_months\": 22, \"debt_free_years\": 1.8333333333333333, "
          "\"debt_free_date\": \"2009-11-15\", \"total_interest\": 171.486, "
          "\"monthly_outlay\": 200, \"never_paid_off\": [], \"total_escrow\": 0}"))
      << json;
  EXPECT_TRUE(
      Has(json,
          "\"proposed\": {\"debt_free_months\": 16, \"debt_free_years\": 1.3333333333333333, "
          "\"debt_free_date\": \"2009-05-15\", \"total_interest\": 147.7641, "
          "\"monthly_outlay\": 200, \"never_paid_off\": [], \"first_month_within_budget\": 0}"))
      << json;
  EXPECT_TRUE(Has(json, "\"interest_saved\": 23.7219, \"interest_saved_before_fee\": 23.7219"));
  EXPECT_TRUE(Has(json, "\"projection_months\": 22, \"investment_value\": 1252.2359"));
  EXPECT_TRUE(Has(json,
                  "{\"name\": \"A \\\"card\\\"\", \"current\": {\"payoff_months\": 11, "
                  "\"payoff_date\": \"2008-12-15\", \"total_interest\": 58.9848, "
                  "\"scheduled_payment\": 100}, \"proposed\": {\"payoff_months\": 7, "
                  "\"payoff_date\": \"2008-08-15\", \"total_interest\": "))
      << json;
  EXPECT_TRUE(Has(json, "\"new_loan\": {\"payoff_balance\": 0,"));
  EXPECT_EQ(json.back(), '\n');
  EXPECT_EQ(std::count(json.begin(), json.end(), '\n'), 1);
}

TEST_F(CommandLineTest, ReadsLegacyPlansAndTheProgramFoldersParameters) {
  // A version 1 file: version, names, date, power payment, return rate, debt count, 6 lines a debt.
  const std::string legacy =
      Plan("old.txt",
           "1\r\nOld\r\nPlan\r\n39462\r\n0\r\n0\r\n1\r\nCard\r\n1000\r\n12\r\n100\r\n50\r\n0\r\n");
  WriteFile(folder / "Params.ini", "[Default]\nPaydown Priority=4\n");
  const Outcome r = Run({"--results", legacy});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Has(r.out, "\"name\": \"Card\", \"current\": {\"payoff_months\": 11,")) << r.out;
}

TEST_F(CommandLineTest, ConsolidatesOnlyWithThePermission) {
  const std::string plan =
      Plan("c.bvx",
           "<Client><Plan Date=\"39462\" Consolidate=\"1\"/>"
           "<ConsolidationLoan InterestRate=\"6\" Term=\"1\"/>"
           "<Debt Name=\"A\" Balance=\"1000\" InterestRate=\"12\" CurrentPayment=\"100\" "
           "Consolidate=\"Consolidate\" CompoundingPeriod=\"1\"/></Client>");
  WriteFile(folder / "other.ini", "[Permissions]\nConsolidate=1\n");
  const Outcome without = Run({"--results", plan});
  ASSERT_EQ(without.status, 0) << without.err;
  EXPECT_TRUE(Has(without.out, "\"amount\": 0,"));
  const Outcome with = Run({"--results", plan, "--params", (folder / "other.ini").string()});
  ASSERT_EQ(with.status, 0) << with.err;
  EXPECT_TRUE(Has(with.out, "\"amount\": 1000,")) << with.out;
  EXPECT_TRUE(Has(with.out, "{\"name\": \"Consolidation loan\"")) << with.out;
}

TEST_F(CommandLineTest, BadArgumentsAndMissingFilesFailOnStandardError) {
  const std::string plan = Plan("two.bvx", kTwoDebtPlan);
  const struct {
    std::vector<std::string> args;
    int status;
    const char* message;
  } cases[] = {
      {{"--results"}, 2, "--results needs a file name."},
      {{"--params", "x"}, 2, "--results PLAN is missing."},
      {{"--results", plan, "--bogus"}, 2, "unknown argument \"--bogus\"."},
      {{"--results", plan, "--results", plan}, 2, "--results names one plan file."},
      {{"--results", (folder / "missing.bvx").string()}, 1, "missing.bvx"},
      {{"--results", folder.path().string()}, 1, "cannot read the plan"},
      {{"--results", plan, "--settings", (folder / "none.ini").string()}, 1, "none.ini"},
      {{"--results", plan, "--params", plan, "--params", plan},
       2,
       "--params names one parameters file."},
      {{"--results", plan, "--settings", plan, "--settings", plan},
       2,
       "--settings names one settings file."},
  };
  for (const auto& c : cases) {
    const Outcome r = Run(c.args);
    EXPECT_EQ(r.status, c.status) << c.message;
    EXPECT_EQ(r.out, "") << c.message;
    EXPECT_TRUE(Has(r.err, c.message)) << r.err;
  }
  EXPECT_TRUE(Has(UsageText(), "--results PLAN [--params FILE] [--settings FILE]"));
}

// Files that are there but cannot be read stop the run: defaults in their place would give
// other figures, and a pipe must not make the program wait.
TEST_F(CommandLineTest, UnreadableFilesFailWithTheirReason) {
  const std::string plan = Plan("two.bvx", kTwoDebtPlan);
  const std::string pipe = (folder / "pipe").string();
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  WriteFile(folder / "huge.ini", "[Default]\nTerm=5\n" + std::string(kMaxIniFileSize, ';'));
  const std::string huge = (folder / "huge.ini").string();
  const struct {
    std::vector<std::string> args;
    std::string message;
  } cases[] = {
      {{"--results", pipe}, "\"" + pipe + "\": not a regular file"},
      {{"--results", plan, "--params", pipe}, "cannot read \"" + pipe + "\": not a regular file."},
      {{"--results", plan, "--settings", pipe},
       "cannot read \"" + pipe + "\": not a regular file."},
      {{"--results", plan, "--params", huge}, "cannot read \"" + huge + "\": larger than"},
      {{"--results", plan, "--settings", huge}, "cannot read \"" + huge + "\": larger than"},
      {{"--results", Plan("empty.bvx", "")}, "empty.bvx is not an Ardvane plan file."},
      {{"--results", Plan("x.ini", "[Default]\nTerm=5\n")}, "x.ini is not an Ardvane plan file."},
  };
  for (const auto& c : cases) {
    const Outcome r = Run(c.args);
    EXPECT_EQ(r.status, 1) << c.message;
    EXPECT_EQ(r.out, "") << c.message;
    EXPECT_TRUE(Has(r.err, c.message)) << r.err;
  }
  // The program folder's own files, when there, must be readable as well.
  for (const char* name : {"Params.ini", "Settings.ini"}) {
    std::filesystem::copy_file(huge, folder / name);
    Outcome r = Run({"--results", plan});
    EXPECT_EQ(r.status, 1) << name;
    EXPECT_TRUE(Has(r.err, (folder / name).string() + "\": larger than")) << r.err;
    std::filesystem::remove(folder / name);
    std::filesystem::create_directory(folder / name);
    r = Run({"--results", plan});
    EXPECT_EQ(r.status, 1) << name;
    EXPECT_TRUE(Has(r.err, (folder / name).string() + "\": Is a directory")) << r.err;
    std::filesystem::remove(folder / name);
  }
}

// An output that takes the text but fails when it is flushed, as a full disk does.
class FullDiskBuffer : public std::stringbuf {
 protected:
  int sync() override { return -1; }
};

TEST_F(CommandLineTest, AFailedWriteOfTheResultsIsAnError) {
  CommandLineEnvironment env;
  env.programFolder = folder.path();
  FullDiskBuffer full;
  std::ostream out(&full);
  std::ostringstream err;
  EXPECT_EQ(RunResultsCommand({"--results", Plan("two.bvx", kTwoDebtPlan)}, env, out, err), 1);
  EXPECT_TRUE(Has(err.str(), "ardvane: cannot write the results")) << err.str();
}

}  // namespace
}  // namespace ardvane
