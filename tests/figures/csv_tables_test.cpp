#include "figures/csv_tables.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <sstream>
#include <utility>

#include "figures/plan_figures.h"
#include "tests/figures/test_plans.h"

namespace ardvane {
namespace {

using testing::CalculateWith;
using testing::kPointRegional;
using testing::M;
using testing::MakeDebt;
using testing::SampleParams;
using testing::SamplePlan;
using testing::TwoDebtPlan;

using Records = std::vector<std::vector<std::string>>;

// Reads RFC 4180 text, written for these tests: records end with CR LF, fields are
// separated by commas and may be quoted, with "" for a quote inside. Fails the test on
// anything else (a bare LF, text after a closing quote, a missing final CR LF).
Records ParseCsv(const std::string& text) {
  Records records;
  std::vector<std::string> record;
  std::string field;
  std::size_t i = 0;
  const auto fail = [&](const char* what) {
    ADD_FAILURE() << what << " at byte " << i;
    return Records{};
  };
  while (i < text.size()) {
    if (text[i] == '"') {
      for (++i;; ++i) {
        if (i >= text.size()) return fail("unclosed quote");
        if (text[i] == '"') {
          if (i + 1 < text.size() && text[i + 1] == '"') {
            field += '"';
            ++i;
          } else {
            ++i;
            break;
          }
        } else {
          field += text[i];
        }
      }
    } else {
      while (i < text.size() && text[i] != ',' && text[i] != '\r' && text[i] != '\n' &&
             text[i] != '"') {
        field += text[i++];
      }
    }
    if (i >= text.size()) return fail("record without CR LF");
    record.push_back(std::move(field));
    field.clear();
    if (text[i] == ',') {
      ++i;
    } else if (text.compare(i, 2, "\r\n") == 0) {
      i += 2;
      records.push_back(std::move(record));
      record.clear();
    } else {
      return fail("unexpected character");
    }
  }
  return records;
}

// A CSV amount in cents: "-12.34" is -1234. Fails on anything but digits, a point and two
// decimals.
long long Cents(const std::string& amount) {
  const std::size_t point = amount.find('.');
  EXPECT_TRUE(point != std::string::npos && point + 3 == amount.size()) << amount;
  const bool negative = !amount.empty() && amount[0] == '-';
  const long long whole = std::atoll(amount.substr(negative ? 1 : 0, point).c_str());
  const long long cents = whole * 100 + std::atoll(amount.substr(point + 1).c_str());
  return negative ? -cents : cents;
}

TEST(CsvTablesTest, AmountsHaveTwoDecimalsRoundedHalfAwayFromZero) {
  const struct {
    long double units;
    const char* text;
  } cases[] = {
      {0, "0.00"},        {1234.565L, "1234.57"}, {1234.5649L, "1234.56"}, {-0.005L, "-0.01"},
      {-0.0049L, "0.00"}, {0.5L, "0.50"},         {-1890.1L, "-1890.10"},  {1000000, "1000000.00"}};
  for (const auto& c : cases) EXPECT_EQ(PlainCents(M(c.units)), c.text) << c.text;
  EXPECT_EQ(PlainCents(Money::FromCount(INT64_MIN)), "-922337203685477.58");
}

// The sample's tables read back: every loan of both plans that the window shows, month by
// month, and each loan's interest column adds up to its total interest (each entry is
// rounded to the cent, so within half a cent a row).
TEST(CsvTablesTest, SampleAmortizationReadsBackAndAddsUp) {
  const PlanDocument plan = SamplePlan();
  const PlanResults results = CalculateWith(plan, SampleParams());
  const std::string text = AmortizationCsv(plan, results, CsvFlavour::kPlain);
  ASSERT_EQ(text.rfind("plan,", 0), 0u) << "no byte-order mark";
  const Records records = ParseCsv(text);
  ASSERT_FALSE(records.empty());
  EXPECT_EQ(records[0],
            (std::vector<std::string>{"plan", "loan", "debt", "year", "month", "beginning_balance",
                                      "interest", "payment", "extra_payment", "ending_balance"}));
  struct Sum {
    long long interestCents = 0;
    int rows = 0;
    std::string name;
  };
  std::map<std::pair<std::string, int>, Sum> sums;
  for (std::size_t r = 1; r < records.size(); ++r) {
    const std::vector<std::string>& row = records[r];
    ASSERT_EQ(row.size(), 10u) << r;
    Sum& sum = sums[{row[0], std::atoi(row[1].c_str())}];
    sum.interestCents += Cents(row[6]);
    sum.name = row[2];
    const int month = std::atoi(row[4].c_str());
    EXPECT_TRUE(month >= 1 && month <= 12) << r;
    // Each month: beginning + interest - payment - extra = ending, to a cent per rounding.
    EXPECT_LE(
        std::llabs(Cents(row[5]) + Cents(row[6]) - Cents(row[7]) - Cents(row[8]) - Cents(row[9])),
        2)
        << r;
    if (sum.rows++ == 0) {
      EXPECT_EQ(row[3], "2026");  // month 0 is December 2026, the plan month
      EXPECT_EQ(row[4], "12");
    }
  }
  // Today: the six debts. Under the plan: the four not consolidated and the new loan.
  std::vector<std::pair<std::string, int>> loans;
  for (const auto& [key, sum] : sums) loans.push_back(key);
  const std::vector<std::pair<std::string, int>> expected = {
      {"current", 0},  {"current", 1},  {"current", 2},  {"current", 3},
      {"current", 4},  {"current", 5},  {"proposed", 0}, {"proposed", 1},
      {"proposed", 4}, {"proposed", 5}, {"proposed", 6}};
  EXPECT_EQ(loans, expected);
  for (const auto& [key, sum] : sums) {
    const LoanSchedule& loans = key.first == "current" ? results.CurrentPlan : results.ProposedPlan;
    const Loan& loan = *loans.GetLoan(key.second);
    SCOPED_TRACE(key.first + " " + sum.name);
    EXPECT_EQ(sum.name, GetDebtName(plan, results, key.second));
    EXPECT_EQ(sum.rows, loan.PayoffMonths());
    EXPECT_LE(std::llabs(sum.interestCents * 100 - loan.TotalInterest().Count()), 50LL * sum.rows);
  }
  EXPECT_EQ(sums[std::make_pair(std::string("proposed"), 6)].name, "Consolidation loan");
}

// A debt never paid off today is in the file with the rows the window shows it with: the
// 22 months both plans are compared over (NeverPaidOffTodayPlan), each loan's cells as the
// window's table holds them, and its interest column adds up to the 232.3577 it counts.
TEST(CsvTablesTest, ADebtNeverPaidOffHasTheRowsTheWindowShows) {
  const PlanDocument plan = testing::NeverPaidOffTodayPlan();
  const PlanResults results = CalculateWith(plan);
  const Records records = ParseCsv(AmortizationCsv(plan, results, CsvFlavour::kPlain));
  std::map<std::pair<std::string, int>, std::vector<std::vector<std::string>>> byLoan;
  for (std::size_t r = 1; r < records.size(); ++r) {
    byLoan[{records[r][0], std::atoi(records[r][1].c_str())}].push_back(records[r]);
  }
  ASSERT_EQ(byLoan.size(), 4u);  // A and B, today and under the plan
  for (const auto& [key, rows] : byLoan) {
    const bool current = key.first == "current";
    const MonthlyTable table = MonthlyTable::Amortization(results, plan.Date, current, key.second);
    SCOPED_TRACE(key.first + " " + std::to_string(key.second));
    ASSERT_EQ(static_cast<int>(rows.size()), table.RowCount());
    for (int m = 0; m < table.RowCount(); ++m) {
      for (int column = 2; column < 7; ++column) {
        EXPECT_EQ(rows[m][column + 3], PlainCents(table.Amount(m, column))) << m << "," << column;
      }
    }
  }
  const auto& a = byLoan[{"current", 0}];
  ASSERT_EQ(a.size(), 22u);
  long long interest = 0;
  for (const auto& row : a) interest += Cents(row[6]);
  // 232.3577, within half a cent a row of rounding.
  EXPECT_LE(std::llabs(interest * 100 - results.CurrentPlan.GetLoan(0)->TotalInterest().Count()),
            50LL * 22);
  EXPECT_EQ(results.CurrentPlan.GetLoan(0)->TotalInterest(), M(232.3577));
  EXPECT_EQ(a.back()[9], "1122.36");
}

// Names that RFC 4180 quotes come back whole; the spreadsheet flavour starts with a
// byte-order mark and keeps a name that looks like a formula from running.
TEST(CsvTablesTest, NamesAreQuotedAndFormulasDefused) {
  PlanDocument plan = TwoDebtPlan();
  plan.Debts.AddDebt(MakeDebt("Gold, \"premium\"\nline", 300, 0, 100, 100));
  plan.Debts.AddDebt(MakeDebt("=HYPERLINK(\"x\")", 300, 0, 100, 100));
  plan.Debts.AddDebt(MakeDebt("-Señora", 300, 0, 100, 100));
  plan.Debts.AddDebt(MakeDebt("Two\nlines", 300, 0, 100, 100));
  plan.Debts.AddDebt(MakeDebt("\t=1+2", 300, 0, 100, 100));
  plan.Debts.AddDebt(MakeDebt("\r=3+4", 300, 0, 100, 100));
  const PlanResults results = CalculateWith(plan);

  const Records plain = ParseCsv(AmortizationCsv(plan, results, CsvFlavour::kPlain));
  std::vector<std::string> names;
  for (const std::vector<std::string>& row : plain) {
    // Each debt's first January.
    if (row[0] == "current" && row[3] == "2008" && row[4] == "1") names.push_back(row[2]);
  }
  const std::vector<std::string> expected = {
      "A",      "B",     "Gold, \"premium\"\nline", "=HYPERLINK(\"x\")", "-Señora", "Two\nlines",
      "\t=1+2", "\r=3+4"};
  EXPECT_EQ(names, expected);

  const std::string sheet = AmortizationCsv(plan, results, CsvFlavour::kSpreadsheet);
  ASSERT_EQ(sheet.rfind("\xEF\xBB\xBF", 0), 0u);
  const Records records = ParseCsv(sheet.substr(3));
  bool formula = false;
  bool accent = false;
  int blanks = 0;
  for (const std::vector<std::string>& row : records) {
    formula = formula || row[2] == "'=HYPERLINK(\"x\")";
    accent = accent || row[2] == "'-Señora";
    blanks += row[2] == "'\t=1+2" || row[2] == "'\r=3+4";
    EXPECT_EQ(std::string_view("=\t\r").find(row[2].front()), std::string_view::npos) << row[2];
    if (row[0] == "proposed" && row[7].front() == '-') ADD_FAILURE() << "a number changed";
  }
  EXPECT_TRUE(formula);
  EXPECT_TRUE(accent);
  EXPECT_GE(blanks, 2);
}

// The investment table: one row a projection month, each ending value the beginning value
// with the month's growth and savings.
TEST(CsvTablesTest, InvestmentRowsAddUp) {
  const PlanDocument plan = SamplePlan();
  const PlanResults results = CalculateWith(plan, SampleParams());
  const Records records = ParseCsv(InvestmentCsv(results, plan.Date, CsvFlavour::kPlain));
  ASSERT_EQ(records.size(), static_cast<std::size_t>(results.ProjectionMonths) + 1);
  EXPECT_EQ(records[0], (std::vector<std::string>{"year", "month", "beginning_value", "growth",
                                                  "savings", "ending_value"}));
  for (std::size_t r = 1; r < records.size(); ++r) {
    const std::vector<std::string>& row = records[r];
    EXPECT_LE(std::llabs(Cents(row[2]) + Cents(row[3]) + Cents(row[4]) - Cents(row[5])), 2);
    if (r + 1 < records.size()) {
      EXPECT_EQ(row[5], records[r + 1][2]);
    }
  }
  EXPECT_EQ(records.back()[5], PlainCents(InvestmentValueAtHorizon(results)));
}

// Takes the first `room` bytes written to it, then fails as a full disk does.
class FillingBuffer : public std::streambuf {
 public:
  explicit FillingBuffer(std::size_t room) : room_(room) {}
  std::string text;

 protected:
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    const std::size_t taken = std::min(static_cast<std::size_t>(n), room_ - text.size());
    text.append(s, taken);
    return static_cast<std::streamsize>(taken);
  }
  int overflow(int c) override {
    if (c == traits_type::eof()) return 0;
    const char one = static_cast<char>(c);
    return xsputn(&one, 1) == 1 ? c : traits_type::eof();
  }

 private:
  std::size_t room_;
};

// 300 debts of 5,000 at 18 % paying 80, seven years each: about 3 MB of tables, handed over
// in several pieces.
PlanDocument ManyDebtsPlan() {
  PlanDocument plan = TwoDebtPlan();
  for (int i = 0; i < 300; ++i) {
    const std::string name =
        i % 50 == 0 ? "Card \"" + std::to_string(i) + "\", gold" : "Card " + std::to_string(i);
    plan.Debts.AddDebt(MakeDebt(name, 5000, 18, 80, 80));
  }
  return plan;
}

// Written to a stream the tables are the text AmortizationCsv makes, byte for byte, and
// AmortizationCsvBytes foresees their size: never a tenth below, at most 30 % above for
// amounts of a few characters (5.00).
TEST(CsvTablesTest, TablesWrittenToAStreamAreTheSameAndTheirSizeIsForeseen) {
  const struct {
    const char* label;
    PlanDocument plan;
    PlanParameters params;
  } cases[] = {
      {"sample", SamplePlan(), SampleParams()},
      {"never paid off today", testing::NeverPaidOffTodayPlan(), {}},
      {"300 debts", ManyDebtsPlan(), {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    const PlanResults results = CalculateWith(c.plan, c.params);
    for (const CsvFlavour flavour : {CsvFlavour::kPlain, CsvFlavour::kSpreadsheet}) {
      const std::string text = AmortizationCsv(c.plan, results, flavour);
      std::ostringstream out;
      EXPECT_TRUE(WriteAmortizationCsv(c.plan, results, flavour, out));
      EXPECT_EQ(out.str(), text);
    }
    const double size = AmortizationCsv(c.plan, results, CsvFlavour::kPlain).size();
    const double foreseen = AmortizationCsvBytes(c.plan, results) / size;
    EXPECT_GE(foreseen, 0.9) << size;
    EXPECT_LE(foreseen, 1.3) << size;
    EXPECT_EQ(CsvSizeRefusal(c.plan, results), "");
  }
}

// A stream that fails half way is told: what it took is the start of the tables.
TEST(CsvTablesTest, AStreamThatFailsHalfWayIsTold) {
  const PlanDocument plan = ManyDebtsPlan();
  const PlanResults results = CalculateWith(plan);
  const std::string text = AmortizationCsv(plan, results, CsvFlavour::kPlain);
  ASSERT_GT(text.size(), 3'000'000u);
  FillingBuffer full(1'500'000);
  std::ostream out(&full);
  EXPECT_FALSE(WriteAmortizationCsv(plan, results, CsvFlavour::kPlain, out));
  EXPECT_EQ(full.text, text.substr(0, full.text.size()));
  EXPECT_EQ(full.text.size(), 1'500'000u);
}

TEST(CsvTablesTest, TabSeparatedRowsStayOneLineEach) {
  EXPECT_EQ(TabSeparatedRows({{"Visa", "$8,420.55", "21.990%"}, {"Two\tlines\r\nhere", ""}}),
            "Visa\t$8,420.55\t21.990%\nTwo lines  here\t\n");
}

}  // namespace
}  // namespace ardvane
