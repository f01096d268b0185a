#include "app/command_line.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <sstream>

#include "../planfiles/test_files.h"
#include "app/results_json.h"
#include "engine/calculation_limits.h"
#include "figures/csv_tables.h"
#include "figures/strategies.h"
#include "settings/settings_files.h"

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
    const Command command = ParseCommandLine(args);
    const auto* query = std::get_if<PlanQuery>(&command.action);
    if (query == nullptr) {
      ADD_FAILURE() << "not a plan query: " << args.front();
      return {-1, "", ""};
    }
    const int status = RunPlanCommand(*query, env, out, err);
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

// JSON is UTF-8: a name's well-formed characters stay as they are, control characters are
// escaped, and each byte that starts no UTF-8 character (a stray continuation, a sequence cut
// short, an encoded surrogate, 0xFF) becomes U+FFFD.
TEST(ResultsJsonTest, NamesOfAnyBytesAreJsonStrings) {
  StrategyComparison comparison;
  PriorityFigures& figures = comparison.strategies.emplace_back();
  figures.proposed.neverPaidOffNames = {"Caf\xC3\xA9 \"q\\\" \xF0\x9F\x92\xB3", "Tab\there\x01",
                                        "bad \xC3\x28", "\xED\xA0\x80", "\xFF\x80z"};
  const std::string json = StrategiesToJson(comparison);
  EXPECT_NE(json.find("\"never_paid_off\": [\"Caf\xC3\xA9 \\\"q\\\\\\\" \xF0\x9F\x92\xB3\", "
                      "\"Tab\\u0009here\\u0001\", \"bad \xEF\xBF\xBD(\", "
                      "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\", \"\xEF\xBF\xBD\xEF\xBF\xBDz\"]"),
            std::string::npos)
      << json;
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

TEST_F(CommandLineTest, MissingFilesFailOnStandardError) {
  const std::string plan = Plan("two.bvx", kTwoDebtPlan);
  const struct {
    std::vector<std::string> args;
    int status;
    const char* message;
  } cases[] = {
      {{"--results", (folder / "missing.bvx").string()}, 1, "missing.bvx"},
      {{"--results", folder.path().string()}, 1, "cannot read the plan"},
      {{"--results", plan, "--settings", (folder / "none.ini").string()}, 1, "none.ini"},
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
  PlanQuery query;
  query.plan = Plan("two.bvx", kTwoDebtPlan);
  EXPECT_EQ(RunPlanCommand(query, env, out, err), 1);
  EXPECT_TRUE(Has(err.str(), "ardvane: cannot write the results")) << err.str();

  // The tables are written as they are made, and fail the same way.
  query.mode = PlanQueryMode::kCsv;
  std::ostringstream csvErr;
  EXPECT_EQ(RunPlanCommand(query, env, out, csvErr), 1);
  EXPECT_TRUE(Has(csvErr.str(), "ardvane: cannot write the table")) << csvErr.str();
}

// A plan of `debts` debts of 100 at 12 % paying 60: each paid off in the second month.
std::string ManyDebts(int debts) {
  std::string text = "<Client><Plan Date=\"39462\"/>\r\n";
  for (int i = 0; i < debts; ++i) {
    text += "<Debt Name=\"D" + std::to_string(i) +
            "\" Balance=\"100\" InterestRate=\"12\" CurrentPayment=\"60\" "
            "MinimumPaymentAmount=\"60\" CompoundingPeriod=\"1\"/>\r\n";
  }
  return text + "</Client>\r\n";
}

// Each mode refuses, before it calculates anything, a plan of more debts than its work holds
// (the search for a payment calculates up to 29 times, the comparison 8 times), with the
// limit's message and the status of input it cannot take; within its limit it answers.
TEST_F(CommandLineTest, APlanOfMoreDebtsThanTheWorkHoldsIsRefused) {
  const int compareDebts = kComparisonLimit.mostDebts + 1;
  const std::string beyondCompare = Plan("compare.bvx", ManyDebts(compareDebts));
  const std::string beyondAll = Plan("all.bvx", ManyDebts(kCalculationLimit.mostDebts + 1));
  const struct {
    std::vector<std::string> args;
    int debts;
    const DebtsLimit* limit;  // none: answered
  } cases[] = {
      {{"--needed", beyondCompare, "--by", "2030-01"}, compareDebts, &kPowerPaymentSearchLimit},
      {{"--compare", beyondCompare}, compareDebts, &kComparisonLimit},
      {{"--results", beyondCompare}, compareDebts, nullptr},
      {{"--csv", beyondCompare}, compareDebts, nullptr},
      {{"--results", beyondAll}, kCalculationLimit.mostDebts + 1, &kCalculationLimit},
      {{"--csv", beyondAll}, kCalculationLimit.mostDebts + 1, &kCalculationLimit},
      {{"--csv", beyondAll, "--table", "investment"},
       kCalculationLimit.mostDebts + 1,
       &kCalculationLimit},
  };
  for (const auto& c : cases) {
    const Outcome r = Run(c.args);
    SCOPED_TRACE(c.args[0] + " " + std::to_string(c.debts));
    if (c.limit == nullptr) {
      EXPECT_EQ(r.status, 0) << r.err;
      EXPECT_NE(r.out, "");
    } else {
      EXPECT_EQ(r.status, 1);
      EXPECT_EQ(r.out, "");
      EXPECT_EQ(r.err, "ardvane: " + DebtsRefusal(c.debts, *c.limit) + "\n");
    }
  }
}

// A debt's name is on every row of its table: a name of 200,000 characters on a debt never
// paid off, beside one paid off in 996 months, makes tables of about 400 MB. They are
// refused whole, naming the limit; the investment table is still written.
TEST_F(CommandLineTest, AmortizationTablesBeyondTheLimitAreRefusedBeforeAnyIsWritten) {
  std::string text = "<Client><Plan Date=\"39462\"/>\r\n<Debt Name=\"";
  text += std::string(200'000, 'x');
  text +=
      "\" Balance=\"1000\" InterestRate=\"12\" CurrentPayment=\"1\" MinimumPaymentAmount=\"1\" "
      "CompoundingPeriod=\"1\"/>\r\n"
      "<Debt Name=\"Long\" Balance=\"9000\" InterestRate=\"1.2\" CurrentPayment=\"14.24\" "
      "MinimumPaymentAmount=\"14.24\" CompoundingPeriod=\"1\"/>\r\n"
      "</Client>\r\n";
  const std::string plan = Plan("names.bvx", text);
  const Outcome tables = Run({"--csv", plan});
  EXPECT_EQ(tables.status, 1);
  EXPECT_EQ(tables.out, "");
  EXPECT_EQ(tables.err.rfind("ardvane: The table was not written: it would take about ", 0), 0u)
      << tables.err;
  EXPECT_TRUE(Has(tables.err,
                  " MB, more than the 200 MB a table can hold. Split the plan into "
                  "smaller ones.\n"))
      << tables.err;
  const Outcome investment = Run({"--csv", plan, "--table", "investment"});
  EXPECT_EQ(investment.status, 0) << investment.err;
}

// The value of `"key": ` in `json` at or after `from`: up to the next ", " or "}", or the
// whole array when it is one.
std::string Field(const std::string& json, const std::string& key, std::size_t from = 0) {
  const std::size_t at = json.find("\"" + key + "\": ", from);
  if (at == std::string::npos) return "(no " + key + ")";
  const std::size_t start = at + key.size() + 4;
  const std::size_t end = json[start] == '['
                              ? json.find(']', start) + 1
                              : std::min(json.find(", ", start), json.find('}', start));
  return json.substr(start, end - start);
}

class PlanModesTest : public CommandLineTest {
 protected:
  // The sample plan with its installation's parameters, changed by `edit`.
  std::vector<std::string> Sample(const std::string& mode,
                                  const std::function<void(std::string&)>& edit = {}) {
    std::string text = testing::ReadFile(std::filesystem::path(ARDVANE_DIST_DIR) / "Sample.bvx");
    if (edit) edit(text);
    return {mode, Plan("sample.bvx", text), "--params",
            (std::filesystem::path(ARDVANE_DIST_DIR) / "Params.ini").string()};
  }
  static void Replace(std::string& text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
  }
};

// Each entry of --compare is what --results prints for the plan saved with that priority.
TEST_F(PlanModesTest, CompareGivesWhatResultsGivesForEachPriority) {
  const Outcome compare = Run(Sample("--compare"));
  ASSERT_EQ(compare.status, 0) << compare.err;
  EXPECT_EQ(compare.out.rfind("{\"chosen\": 0, \"strategies\": [{\"priority\": 0, ", 0), 0u)
      << compare.out;
  EXPECT_EQ(compare.out.substr(compare.out.size() - 4), "}]}\n");
  EXPECT_EQ(std::count(compare.out.begin(), compare.out.end(), '\n'), 1);
  for (int code = 0; code <= 8; ++code) {
    SCOPED_TRACE(code);
    const Outcome results = Run(Sample("--results", [&](std::string& plan) {
      Replace(plan, "Priority=\"0\"", "Priority=\"" + std::to_string(code) + "\"");
    }));
    ASSERT_EQ(results.status, 0) << results.err;
    const std::string& r = results.out;
    const std::size_t proposed = r.find("\"proposed\": {");
    const std::string expected = "{\"priority\": " + std::to_string(code) + ", \"name\": \"" +
                                 std::string(PriorityCaption(code)) + "\", \"debt_free_months\": " +
                                 Field(r, "debt_free_months", proposed) +
                                 ", \"debt_free_date\": " + Field(r, "debt_free_date", proposed) +
                                 ", \"total_interest\": " + Field(r, "total_interest", proposed) +
                                 ", \"never_paid_off\": " + Field(r, "never_paid_off", proposed) +
                                 ", \"interest_saved\": " + Field(r, "interest_saved") +
                                 ", \"annual_return\": " + Field(r, "annual_return") +
                                 ", \"investment_value\": " + Field(r, "investment_value") + "}";
    EXPECT_TRUE(Has(compare.out, expected)) << expected << "\n" << compare.out;
  }
}

// The power payment found, saved into the plan, gives --results the months and date printed.
TEST_F(PlanModesTest, NeededPaymentAndItsResults) {
  std::vector<std::string> args = Sample("--needed");
  args.insert(args.end(), {"--by", "2031-06"});
  const Outcome found = Run(args);
  ASSERT_EQ(found.status, 0) << found.err;
  EXPECT_EQ(found.out.rfind("{\"by\": \"2031-06\", \"attainable\": true, \"power_payment\": ", 0),
            0u)
      << found.out;
  const std::string payment = Field(found.out, "power_payment");
  ASSERT_EQ(payment.size() - payment.find('.'), 3u) << payment;
  const Outcome results = Run(Sample("--results", [&](std::string& plan) {
    Replace(plan, "<Accelerator1 Monthly=\"150\"", "<Accelerator1 Monthly=\"" + payment + "\"");
  }));
  const std::size_t proposed = results.out.find("\"proposed\": {");
  EXPECT_EQ(Field(found.out, "debt_free_months"), Field(results.out, "debt_free_months", proposed));
  EXPECT_EQ(Field(found.out, "debt_free_date"), Field(results.out, "debt_free_date", proposed));
  EXPECT_LE(Field(found.out, "debt_free_date"), "\"2031-06-31\"");

  // Nothing is paid off in the plan's own month, December 2026.
  args.back() = "2026-12";
  const Outcome never = Run(args);
  ASSERT_EQ(never.status, 0) << never.err;
  EXPECT_EQ(never.out,
            "{\"by\": \"2026-12\", \"attainable\": false, \"power_payment\": null, "
            "\"debt_free_months\": null, \"debt_free_date\": null}\n");
}

// A plan without debts is debt free already, on its own date, whatever month is asked for.
TEST_F(CommandLineTest, NeededOnAPlanWithoutDebts) {
  const std::string plan = Plan("none.bvx",
                                "<Client FirstName=\"No\" LastName=\"Debts\">\r\n"
                                "  <Plan Date=\"39462\" ReturnRate=\"0\" Priority=\"0\"/>\r\n"
                                "</Client>\r\n");
  const Outcome r = Run({"--needed", plan, "--by", "2008-01"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "{\"by\": \"2008-01\", \"attainable\": true, \"power_payment\": 0.00, "
            "\"debt_free_months\": 0, \"debt_free_date\": \"2008-01-15\"}\n");
}

TEST_F(PlanModesTest, AMonthBeforeThePlansIsAnError) {
  const struct {
    const char* by;
    const char* message;
  } cases[] = {
      {"2026-11", "--by 2026-11 is before the plan's month, 2026-12."},
      {"1999-01", "--by 1999-01 is before the plan's month, 2026-12."},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = Sample("--needed");
    args.insert(args.end(), {"--by", c.by});
    const Outcome r = Run(args);
    EXPECT_EQ(r.status, 2) << c.by;
    EXPECT_EQ(r.out, "") << c.by;
    EXPECT_TRUE(Has(r.err, c.message)) << r.err;
  }
}

// The two-debt example's first month: A's 1,000 earns 10.00 at 1 % and pays 100.00.
TEST_F(PlanModesTest, CsvTablesOnStandardOutput) {
  const std::string plan = Plan("two.bvx", kTwoDebtPlan);
  const Outcome amortization = Run({"--csv", plan});
  ASSERT_EQ(amortization.status, 0) << amortization.err;
  EXPECT_EQ(amortization.out.rfind(
                "plan,loan,debt,year,month,beginning_balance,interest,payment,extra_payment,"
                "ending_balance\r\n"
                "current,0,\"A \"\"card\"\"\",2008,1,1000.00,10.00,100.00,0.00,910.00\r\n",
                0),
            0u)
      << amortization.out;
  // 11 + 22 months today, 7 + 16 under the plan, and the header.
  EXPECT_EQ(std::count(amortization.out.begin(), amortization.out.end(), '\n'), 57);
  EXPECT_EQ(std::count(amortization.out.begin(), amortization.out.end(), '\r'), 57);

  const Outcome investment = Run({"--csv", plan, "--table", "investment"});
  ASSERT_EQ(investment.status, 0) << investment.err;
  EXPECT_EQ(investment.out.rfind("year,month,beginning_value,growth,savings,ending_value\r\n"
                                 "2008,1,0.00,0.00,",
                                 0),
            0u)
      << investment.out;
  EXPECT_EQ(std::count(investment.out.begin(), investment.out.end(), '\n'), 23);
}

// Only the debt that is never paid off today carries the payments that would pay it off.
TEST_F(CommandLineTest, ResultsGiveThePaymentNeededForADebtNeverPaidOff) {
  const Outcome r =
      Run({"--results",
           Plan("never.bvx",
                "<Client><Plan Date=\"39462\"/>\r\n"
                "  <Debt Name=\"Big card\" Balance=\"50000\" InterestRate=\"30\" "
                "CurrentPayment=\"100\" MinimumPaymentAmount=\"100\" CompoundingPeriod=\"1\"/>\r\n"
                "  <Debt Name=\"Car\" Balance=\"5000\" InterestRate=\"6\" CurrentPayment=\"200\" "
                "MinimumPaymentAmount=\"200\" CompoundingPeriod=\"1\"/>\r\n"
                "</Client>\r\n")});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::size_t at = r.out.find("\"scheduled_payment\": 100, \"payment_needed\": {\"any\": ");
  ASSERT_NE(at, std::string::npos) << r.out;
  EXPECT_LT(at, r.out.find("\"name\": \"Car\""));
  EXPECT_EQ(r.out.find("payment_needed", at + 40), std::string::npos);
  // 50,000 at 2.5 % a month over 60 months: 1,250 / (1 - 1.025^-60) = 1,617.67 or a cent on.
  const double quick = std::atof(Field(r.out, "in_60_months").c_str());
  EXPECT_NEAR(quick, 1617.675, 0.015);
  EXPECT_LT(std::atof(Field(r.out, "any").c_str()), quick);
}

}  // namespace
}  // namespace ardvane
