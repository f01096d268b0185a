#include "planfiles/legacy_reader.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <new>
#include <sstream>
#include <string>
#include <vector>

#include "base/number_text.h"
#include "planfiles/debt_text.h"
#include "tests/test_regional.h"

// Counts the bytes allocated while a test asks for it, to show that a file's claims do not
// turn into allocations. (GCC takes the malloc/free pair of a replaced operator new for a
// mismatch once it inlines them.)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
namespace {
std::atomic<bool> countAllocations{false};
std::atomic<std::size_t> allocatedBytes{0};
}  // namespace

namespace {
void* CountedAllocation(std::size_t size) noexcept {
  if (countAllocations.load(std::memory_order_relaxed)) allocatedBytes += size;
  return std::malloc(size == 0 ? 1 : size);
}
void* CountedAllocationOrThrow(std::size_t size) {
  if (void* p = CountedAllocation(size)) return p;
  throw std::bad_alloc();
}
}  // namespace

// Every plain form is replaced, so that whatever the library allocates with one form and
// frees with another (the sort's temporary buffer uses the nothrow form) stays a malloc/free
// pair.
void* operator new(std::size_t size) { return CountedAllocationOrThrow(size); }
void* operator new[](std::size_t size) { return CountedAllocationOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return CountedAllocation(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return CountedAllocation(size);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace ardvane {
namespace {

// The text the plan file writer writes for field `attribute` of debt `row`.
std::string WrittenText(const DebtList& debts, int row, DebtAttribute attribute) {
  return DebtFileTexts(debts.At(row))[static_cast<int>(attribute)];
}

// The seed files are hand-checked legacy plans of each version, with CR LF line ends.
std::string Seed(const std::string& version) {
  std::ifstream in(std::string(ARDVANE_PLAN_CORPUS_DIR) + "/legacy_v" + version + ".txt",
                   std::ios::binary);
  std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_FALSE(content.empty()) << "seed " << version;
  return content;
}

// Lines joined, each ended by CR LF.
std::string Lines(std::initializer_list<std::string_view> lines) {
  std::string out;
  for (std::string_view line : lines) (out += line) += "\r\n";
  return out;
}

std::string Replace(std::string text, std::string_view from, std::string_view to) {
  for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size()) {
    text.replace(at, from.size(), to);
  }
  return text;
}

std::string Units(Money m) { return FormatGeneral(static_cast<double>(m.Units()), "."); }
std::string Number(double d) { return FormatGeneral(d, "."); }

// Parameter defaults and a plan whose values all differ from each other and from the seeds,
// so a value taken from the wrong place shows.
PlanReadContext Context(const RegionalSettings& regional = testing::kPointRegional) {
  PlanReadContext c{regional, {}, 0};
  c.params.DefaultPaydownPriority = 4;
  c.params.DefaultTerm = 30;
  c.params.DefaultAccelerator1 = Money::FromUnits(11);
  c.params.DefaultAccelerator2 = Money::FromUnits(22);
  c.params.DefaultAccelerator3 = Money::FromUnits(33);
  c.params.DefaultSetupFee = Money::FromUnits(3000);
  c.params.DefaultDownPayment = Money::FromUnits(500);
  c.params.DefaultMonthlyFee = Money::FromUnits(26);
  c.params.DefaultReturnRate = 0.04;
  c.params.DefaultSetupFeeRate = 0.15;
  c.params.DefaultFees = 0.02;
  c.params.DefaultInterestRate = 0.07;
  c.params.DefaultMinSetupFee = Money::FromUnits(600);
  c.params.DefaultMinSavings = Money::FromUnits(700);
  c.params.DefaultMinDownPayment = Money::FromUnits(800);
  c.today = 45000;
  return c;
}

PlanDocument Before() {
  PlanDocument p;
  p.FirstName = "Old";
  p.LastName = "Client";
  p.Date = 1000;
  p.ReturnRate = Percent(1);
  p.Priority = PriorityFromCode(7);
  p.SetupFeeRate = Ratio(0.3);
  p.SetupFee = Money::FromUnits(1234);
  p.ManagementFee = Money::FromUnits(44);
  p.DownPayment = Money::FromUnits(99);
  p.MinSetupFee = Money::FromUnits(11);
  p.MinSavings = Money::FromUnits(12);
  p.MinDownPayment = Money::FromUnits(13);
  p.Accelerators = {{{Money::FromUnits(1), Money::FromUnits(5), 9},
                     {Money::FromUnits(2), Money::FromUnits(6), 10},
                     {Money::FromUnits(3), Money::FromUnits(7), 11}}};
  p.ConsolidationLoan = {Percent(8.25),       20, false, Percent(9.5), Money::FromUnits(77),
                         Money::FromUnits(55)};
  return p;
}

std::string Describe(const PlanDocument& p) {
  std::ostringstream out;
  out << p.FirstName << " | " << p.LastName << " | date " << p.Date << " | return "
      << Number(p.ReturnRate.Value()) << " | priority " << PriorityCode(p.Priority)
      << " | consolidate " << p.Consolidate << "\nfees " << Number(p.SetupFeeRate.Value()) << " "
      << Units(p.SetupFee) << " " << Units(p.ManagementFee) << " " << Units(p.DownPayment) << " "
      << Units(p.MinSetupFee) << " " << Units(p.MinSavings) << " " << Units(p.MinDownPayment)
      << "\n";
  for (const Accelerator& a : p.Accelerators) {
    out << "accelerator " << Units(a.Monthly) << " " << Units(a.Annual) << " " << a.Month << "\n";
  }
  const ConsolidationLoanTerms& l = p.ConsolidationLoan;
  out << "loan " << Number(l.InterestRate.Value()) << " " << Number(l.Term) << " " << l.InterestOnly
      << " " << Number(l.FeesRate.Value()) << " " << Units(l.FeesAmount) << " " << Units(l.CashOut)
      << "\n";
  for (int row = 0; row < p.Debts.GetDebtCount(); ++row) {
    out << "debt";
    for (const std::string& text : DebtFileTexts(p.Debts.At(row))) out << " |" << text;
    out << "\n";
  }
  for (const std::string& note : p.Notes) out << "note " << note << "\n";
  return out.str();
}

// Reads `content` into Before() and expects success.
PlanDocument Read(const std::string& content, const PlanReadContext& context = Context()) {
  PlanDocument plan = Before();
  const Status status = ReadTextFile(content, "Zeved.txt", plan, context);
  EXPECT_TRUE(status.ok()) << status.message() << "\n" << content;
  return plan;
}

const char* const kSeedVersions[] = {"1", "2_5", "3", "5", "8", "10", "12", "16"};

// Where each value comes from, per seed version in the order of kSeedVersions: F the file,
// D the parameter default or Z the fixed value (both `other`), U unchanged from Before().
TEST(LegacyReaderTest, EachVersionTakesItsValuesFromTheRightPlace) {
  struct Field {
    const char* name;
    std::function<std::string(const PlanDocument&)> get;
    const char* sources;
    const char* file;
    const char* other;
    const char* unchanged;
  };
  const auto acc = [](int i, auto member) {
    return [=](const PlanDocument& p) { return member(p.Accelerators[i]); };
  };
  const auto monthly = [](const Accelerator& a) { return Units(a.Monthly); };
  const auto annual = [](const Accelerator& a) { return Units(a.Annual); };
  const auto month = [](const Accelerator& a) { return std::to_string(a.Month); };
  const Field fields[] = {
      {"names", [](auto& p) { return p.FirstName + " " + p.LastName; }, "FFFFFFFF", "Zuzu Zeved",
       "", ""},
      {"Date", [](auto& p) { return std::to_string(p.Date); }, "FFFFFFFF", "39462", "", ""},
      {"Accelerator1.Monthly", acc(0, monthly), "FFFFFFFF", "150", "", ""},
      {"Accelerator2.Monthly", acc(1, monthly), "DDDDFFFF", "75", "22", ""},
      {"Accelerator3.Monthly", acc(2, monthly), "DDDDFFFF", "50", "33", ""},
      {"Accelerator1.Annual", acc(0, annual), "ZZZZZZZF", "1200", "0", ""},
      {"Accelerator2.Annual", acc(1, annual), "ZZZZZZZF", "600", "0", ""},
      {"Accelerator3.Annual", acc(2, annual), "ZZZZZZZF", "300", "0", ""},
      {"Accelerator1.Month", acc(0, month), "ZZZZZZZF", "12", "1", ""},
      {"Accelerator2.Month", acc(1, month), "ZZZZZZZF", "6", "1", ""},
      {"Accelerator3.Month", acc(2, month), "ZZZZZZZF", "3", "1", ""},
      {"ReturnRate", [](auto& p) { return Number(p.ReturnRate.Value()); }, "FFFFFFFF", "8", "", ""},
      {"Priority", [](auto& p) { return std::to_string(PriorityCode(p.Priority)); }, "DFFFFFFF",
       "6", "4", ""},
      {"Consolidate", [](auto& p) { return std::to_string(p.Consolidate); }, "UUFFFFFF", "1", "",
       "0"},
      {"FeesRate", [](auto& p) { return Number(p.ConsolidationLoan.FeesRate.Value()); }, "UUFFFFFF",
       "2.5", "", "9.5"},
      {"SetupFee", [](auto& p) { return Units(p.SetupFee); }, "UUFFFFFF", "995", "", "1234"},
      {"FeesAmount", [](auto& p) { return Units(p.ConsolidationLoan.FeesAmount); }, "UUZZZZZF",
       "150.75", "0", "77"},
      {"SetupFeeRate", [](auto& p) { return Number(p.SetupFeeRate.Value()); }, "UUDDFFFF", "0.25",
       "0.15", "0.3"},
      {"DownPayment", [](auto& p) { return Units(p.DownPayment); }, "UUDDDFFF", "250", "500", "99"},
      {"CashOut", [](auto& p) { return Units(p.ConsolidationLoan.CashOut); }, "UUZZZZZF", "1000",
       "0", "55"},
      {"MinSetupFee", [](auto& p) { return Units(p.MinSetupFee); }, "UUDDDDFF", "495", "600", "11"},
      {"MinSavings", [](auto& p) { return Units(p.MinSavings); }, "UUDDDDFF", "2000", "700", "12"},
      {"MinDownPayment", [](auto& p) { return Units(p.MinDownPayment); }, "UUDDDDFF", "100", "800",
       "13"},
      {"ManagementFee", [](auto& p) { return Units(p.ManagementFee); }, "UUUFFFFF", "35", "", "44"},
      {"InterestRate", [](auto& p) { return Number(p.ConsolidationLoan.InterestRate.Value()); },
       "UUFFFFFF", "7.125", "", "8.25"},
      {"Term", [](auto& p) { return Number(p.ConsolidationLoan.Term); }, "UUFFFFFF", "15", "",
       "20"},
      {"InterestOnly", [](auto& p) { return std::to_string(p.ConsolidationLoan.InterestOnly); },
       "UUUUUUFF", "1", "", "0"},
      {"Notes",
       [](auto& p) {
         std::string all;
         for (const std::string& note : p.Notes) all += note + "|";
         return all;
       },
       "ZZZFFFFF", "Review again in six months.|Client & spouse both attended.|", "", ""},
  };
  for (int v = 0; v < 8; ++v) {
    const PlanDocument plan = Read(Seed(kSeedVersions[v]));
    for (const Field& f : fields) {
      const char source = f.sources[v];
      const char* expected = source == 'F' ? f.file : source == 'U' ? f.unchanged : f.other;
      EXPECT_EQ(f.get(plan), expected) << f.name << " of version " << kSeedVersions[v];
    }
  }
}

TEST(LegacyReaderTest, DebtLinesFillTheirColumnsAsWritten) {
  const std::vector<std::vector<std::string>> written = {
      {"Car loan", "12500.5", "6.9", "310", "300", "2", "Consolidate", "45", "Use Minimum",
       "Negotiate", "11000", "4.5", "250", "3"},
      {"Store card", "2340.75", "21.99", "75", "25", "3", "", "0", "", "", "0", "0", "0", ""}};
  const int linesPerDebt[] = {6, 6, 7, 8, 9, 13, 13, 14};
  for (int v = 0; v < 8; ++v) {
    const PlanDocument plan = Read(Seed(kSeedVersions[v]));
    ASSERT_EQ(plan.Debts.GetDebtCount(), 2) << kSeedVersions[v];
    for (int row = 0; row < 2; ++row) {
      for (int col = 0; col < kDebtAttributeCount; ++col) {
        std::string expected = col < linesPerDebt[v] ? written[row][col] : "";
        // An empty compounding cell, missing or written, means monthly.
        if (col == kDebtAttributeCount - 1 && expected.empty()) expected = "1";
        EXPECT_EQ(WrittenText(plan.Debts, row, static_cast<DebtAttribute>(col)), expected)
            << "version " << kSeedVersions[v] << " debt " << row << " column " << col;
      }
    }
  }
}

// Version 1 holds version, names, date, accelerator, return rate, debt count and six lines per
// debt. Before version 5 nothing after the debts is read as notes.
TEST(LegacyReaderTest, VersionsBeforeFiveHaveNoNotes) {
  const std::string files[] = {
      Lines({"1", "A", "B", "2", "3", "4", "1", "n", "1", "2", "3", "4", "5", "after"}),
      Lines({"4", "A", "B", "2", "3", "4", "0", "", "2", "995", "25", "7", "30", "0", "after"}),
  };
  for (const std::string& content : files) {
    const PlanDocument plan = Read(content);
    EXPECT_TRUE(plan.Notes.empty()) << content;
    EXPECT_EQ(plan.Debts.GetDebtCount(), content[0] == '1' ? 1 : 0) << content;
  }
}

TEST(LegacyReaderTest, InterestOnlyLineSetsOrClearsAndIsAbsentBeforeVersion12) {
  // Twenty lines of a version 11 or 12 head, ending with the loan's rate and term; then come
  // the interest-only line (version 12 only) and the debt count.
  const auto file = [](std::string_view version, std::initializer_list<std::string_view> tail) {
    std::string out = Lines({version, "A",   "B",  "39462", "1", "2", "3", "8",  "0", "",
                             "2",     "995", "25", "0",     "0", "0", "0", "25", "7", "30"});
    for (std::string_view line : tail) (out += line) += "\r\n";
    return out;
  };
  struct Case {
    std::string content;
    bool before;
    bool expected;
  } cases[] = {
      {file("12", {"", "0"}), true, false},
      {file("12", {"x", "0"}), false, true},
      {file("11", {"0"}), true, true},
      {file("11", {"0"}), false, false},
  };
  for (const Case& c : cases) {
    PlanDocument plan = Before();
    plan.ConsolidationLoan.InterestOnly = c.before;
    const Status status = ReadTextFile(c.content, "Zeved.txt", plan, Context());
    ASSERT_TRUE(status.ok()) << status.message() << "\n" << c.content;
    EXPECT_EQ(plan.ConsolidationLoan.InterestOnly, c.expected) << c.content;
    EXPECT_EQ(plan.ConsolidationLoan.Term, 30) << c.content;
  }
}

TEST(LegacyReaderTest, NumbersTakeTheUsersSeparatorOrAPoint) {
  // Version 2.5: the priority line is there, the consolidate line is not.
  struct Case {
    const char* version;
    const char* amount;
    const RegionalSettings& regional;
  } cases[] = {{"2.5", "150.5", testing::kPointRegional},
               {"2,5", "150,5", testing::kCommaRegional},
               {"2.5", "150.5", testing::kCommaRegional}};
  for (const Case& c : cases) {
    const PlanDocument plan =
        Read(Lines({c.version, "A", "B", "39462", c.amount, "8", "6", "0"}), Context(c.regional));
    EXPECT_EQ(plan.Accelerators[0].Monthly, Money::FromUnits(150.5)) << c.version;
    EXPECT_EQ(plan.Priority, PaydownPriority::AsListed) << c.version;
    EXPECT_EQ(plan.Consolidate, Before().Consolidate) << c.version;
  }
}

TEST(LegacyReaderTest, DebtNumbersReadInEitherFormAndTextThatIsNoneIsKept) {
  // Version 1: six lines a debt, on a machine whose separator is a comma.
  const PlanDocument plan = Read(
      Lines({"1", "A", "B", "39462", "0", "0", "1", "Car 1.5", "12500.5", "6,9", "310", "x", "0"}),
      Context(testing::kCommaRegional));
  const Debt& debt = plan.Debts.At(0);
  EXPECT_EQ(debt.Name, "Car 1.5");
  EXPECT_EQ(debt.Balance, 12500.5);
  EXPECT_EQ(debt.InterestRate, Percent(6.9));
  EXPECT_EQ(debt.MinimumPaymentAmount, 0);
  // A save writes the numbers with a point and the text that is no number as it was.
  EXPECT_EQ(WrittenText(plan.Debts, 0, DebtAttribute::Balance), "12500.5");
  EXPECT_EQ(WrittenText(plan.Debts, 0, DebtAttribute::InterestRate), "6.9");
  EXPECT_EQ(WrittenText(plan.Debts, 0, DebtAttribute::MinimumPaymentAmount), "x");
}

TEST(LegacyReaderTest, BadOrMissingLinesFailNamingTheLineAndLeaveThePlan) {
  const std::string kBeyond =
      " is beyond the amounts a plan can hold (at most 922,337,203,685,477.58 either way).";
  const std::string head = Lines({"1", "A", "B", "39462", "150", "8"});
  struct Case {
    std::string content;
    std::string error;
  } cases[] = {
      {"", "line 1: the file ends where a number was expected."},
      {"\r\n", "line 1: \"\" is not a number."},
      {"abc", "line 1: \"abc\" is not a number."},
      {"2,5\r\n", "line 1: \"2,5\" is not a number."},  // comma under a point separator
      {"1\r\nA\r\n", "line 3: the file ends where the last name was expected."},
      {Lines({"1", "A", "B", "x"}), "line 4: \"x\" is not a number."},
      {Lines({"1", "A", "B", "1e12"}), "line 4: \"1e12\" is not a date a plan can have."},
      {Lines({"1", "A", "B", "39462", " "}), "line 5: \" \" is not a number."},
      {head, "line 7: the file ends where a whole number was expected."},
      {head + "3.0\r\n", "line 7: \"3.0\" is not a whole number."},
      {head + "99999999999\r\n", "line 7: \"99999999999\" is not a whole number."},
      {Lines({"2", "A", "B", "39462", "150", "8", "x"}), "line 7: \"x\" is not a whole number."},
      {head + Lines({"2", "n", "1", "2", "3", "4", "5", "m"}),
       "line 15: the file ends before debt 2 of 2 is complete."},
      {head + Lines({"1", "n", "1"}) + "2",
       "line 11: the file ends before debt 1 of 1 is complete."},
      {Lines({"1", "A", "B", "39462", std::string(100, '7') + "x"}),
       "line 5: \"" + std::string(40, '7') + "...\" is not a number."},
      {Lines({"1", "A", "B", "39462", "\xE9t\xE9\t"}),
       "line 5: \"\xC3\xA9t\xC3\xA9?\" is not a number."},
      // Amounts beyond what money holds, which would read as the largest there is.
      {Lines({"1", "A", "B", "39462", "1e15"}), "line 5: \"1e15\"" + kBeyond},
      {head + Lines({"1", "n", "1e15", "2", "3", "4", "5"}), "line 9: debt 1: \"1e15\"" + kBeyond},
      {head + Lines({"2", "n", "1", "2", "3", "4", "5", "m", "1", "1e15", "-9.3e14"}),
       "line 17: debt 2: \"-9.3e14\"" + kBeyond},
  };
  for (const Case& c : cases) {
    PlanDocument plan = Before();
    const Status status = ReadTextFile(c.content, "Zeved.txt", plan, Context());
    EXPECT_EQ(status.message(), "Zeved.txt, " + c.error) << c.content;
    EXPECT_EQ(Describe(plan), Describe(Before())) << c.content;
  }
}

TEST(LegacyReaderTest, HugeDebtCountFailsWithoutAllocatingForIt) {
  for (const char* count : {"10000000", "2147483647"}) {
    const std::string content =
        Lines({"1", "A", "B", "39462", "150", "8", count, "n", "1", "2", "3", "4", "5", "m"});
    PlanDocument plan = Before();
    allocatedBytes = 0;
    countAllocations = true;
    const Status status = ReadTextFile(content, "Zeved.txt", plan, Context());
    countAllocations = false;
    EXPECT_EQ(status.message(), "Zeved.txt, line 15: the file ends before debt 2 of " +
                                    std::string(count) + " is complete.");
    EXPECT_LT(allocatedBytes.load(), 64u * 1024) << count;
  }
}

TEST(LegacyReaderTest, NegativeDebtCountReadsAsNoDebts) {
  const PlanDocument plan = Read(Lines(
      {"5", "A", "B", "39462", "150", "8", "0", "", "2", "995", "25", "7", "30", "-2", "note"}));
  EXPECT_EQ(plan.Debts.GetDebtCount(), 0);
  EXPECT_EQ(plan.Notes, std::vector<std::string>{"note"});
}

TEST(LegacyReaderTest, LineEndsOfAnyKindReadTheSame) {
  const std::string crlf = Seed("16");
  const std::string expected = Describe(Read(crlf));
  const std::string variants[] = {
      Replace(crlf, "\r\n", "\n"),
      Replace(crlf, "\r\n", "\r"),
      crlf.substr(0, crlf.size() - 2),  // last line without its end
      Replace(crlf.substr(0, crlf.size() - 2), "\r\n", "\n"),
  };
  for (const std::string& content : variants) {
    EXPECT_EQ(Describe(Read(content)), expected) << content;
  }
  // An empty line before the end of the file is a line of its own.
  EXPECT_EQ(Read(crlf + "\r\n").Notes.back(), "");
  EXPECT_EQ(Read(crlf + "\r\n").Notes.size(), 3u);
}

TEST(LegacyReaderTest, Windows1252TextComesBackAsUtf8) {
  const PlanDocument plan = Read(Lines({"5",
                                        "Zo\xEB",
                                        "M\xFCller",
                                        "39462",
                                        "150",
                                        "8",
                                        "0",
                                        "",
                                        "2",
                                        "995",
                                        "25",
                                        "7",
                                        "30",
                                        "1",
                                        "Caf\xE9 \x80 card",
                                        "1",
                                        "2",
                                        "3",
                                        "4",
                                        "5",
                                        "",
                                        "0",
                                        "Gr\xFC\xDF Gott",
                                        "Zo\xC3\xAB (looks like UTF-8)"}));
  EXPECT_EQ(plan.FirstName, "Zoë");
  EXPECT_EQ(plan.LastName, "Müller");
  EXPECT_EQ(WrittenText(plan.Debts, 0, DebtAttribute::Name), "Café € card");
  // The file is not UTF-8 throughout, so none of it is.
  EXPECT_EQ(plan.Notes, (std::vector<std::string>{"Grüß Gott", "ZoÃ« (looks like UTF-8)"}));
  // A file that is UTF-8 throughout keeps its letters.
  const PlanDocument utf8 = Read(Lines({"1", "Kołodziej", "Zoë", "39462", "150", "8", "0"}));
  EXPECT_EQ(utf8.FirstName, "Kołodziej");
  EXPECT_EQ(utf8.LastName, "Zoë");
}

}  // namespace
}  // namespace ardvane
