#include "planfiles/plan_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>

#include "planfiles/debt_text.h"
#include "test_files.h"
#include "tests/test_support.h"

namespace ardvane {
namespace {

// The text the plan file writer writes for field `attribute` of debt `row`.
std::string WrittenText(const DebtList& debts, int row, DebtAttribute attribute) {
  return DebtFileTexts(debts.At(row))[static_cast<int>(attribute)];
}

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;
using namespace std::string_literals;

using testing::M;
using testing::MakeDebt;

// The plan of the worked example (an invented client).
PlanDocument ZuzuZeved() {
  PlanDocument plan;
  plan.FirstName = "Zuzu";
  plan.LastName = "Zeved";
  plan.Accelerators[0] = {M(150), M(1200), 12};
  plan.Date = 39462;
  plan.ReturnRate = Percent(8);
  plan.SetupFee = M(995);
  plan.ManagementFee = M(25);
  plan.ConsolidationLoan.InterestRate = Percent(7);
  plan.ConsolidationLoan.Term = 30;
  plan.ConsolidationLoan.FeesRate = Percent(2);
  plan.Debts.AddDebt(MakeDebt("Car loan", 12500.5, 6.9, 310, 310));
  Debt card = MakeDebt("Store card \"Gold\"", 2340.75, 21.99, 75, 25);
  card.MinimumPaymentPercent = Percent(3);
  card.Compounding = CompoundingPeriod::Daily;
  card.Consolidate = true;
  card.UseMinimum = true;
  plan.Debts.AddDebt(card);
  plan.Notes = {"Review again in six months.", "Client & spouse both attended."};
  return plan;
}

const char kZuzuZevedFile[] =
    "<Client FirstName=\"Zuzu\" LastName=\"Zeved\">\r\n"
    "  <Accelerator1 Monthly=\"150\" Annual=\"1200\" Month=\"12\"/>\r\n"
    "  <Accelerator2 Monthly=\"0\" Annual=\"0\" Month=\"1\"/>\r\n"
    "  <Accelerator3 Monthly=\"0\" Annual=\"0\" Month=\"1\"/>\r\n"
    "  <Plan Date=\"39462\" ReturnRate=\"8\" Priority=\"0\" Consolidate=\"\" SetupFeeRate=\"0\" "
    "SetupFee=\"995\" ManagementFee=\"25\" DownPayment=\"0\" MinSetupFee=\"0\" MinSavings=\"0\" "
    "MinDownPayment=\"0\"/>\r\n"
    "  <ConsolidationLoan InterestRate=\"7\" Term=\"30\" InterestOnly=\"\" FeesRate=\"2\" "
    "FeesAmount=\"0\" CashOut=\"0\"/>\r\n"
    "  <Debt Name=\"Car loan\" Balance=\"12500.5\" InterestRate=\"6.9\" CurrentPayment=\"310\" "
    "MinimumPaymentAmount=\"310\" MinimumPaymentPercent=\"0\" Consolidate=\"\" Escrow=\"0\" "
    "UseMinimum=\"\" Negotiate=\"\" NegotiatedBalance=\"0\" NegotiatedInterestRate=\"0\" "
    "NegotiatedPayment=\"0\" CompoundingPeriod=\"1\"/>\r\n"
    "  <Debt Name=\"Store card &quot;Gold&quot;\" Balance=\"2340.75\" InterestRate=\"21.99\" "
    "CurrentPayment=\"75\" MinimumPaymentAmount=\"25\" MinimumPaymentPercent=\"3\" "
    "Consolidate=\"Consolidate\" Escrow=\"0\" UseMinimum=\"Use Minimum\" Negotiate=\"\" "
    "NegotiatedBalance=\"0\" NegotiatedInterestRate=\"0\" NegotiatedPayment=\"0\" "
    "CompoundingPeriod=\"0\"/>\r\n"
    "  <Note Content=\"Review again in six months.\"/>\r\n"
    "  <Note Content=\"Client &amp; spouse both attended.\"/>\r\n"
    "</Client>\r\n";

PlanReadContext Context(const RegionalSettings& regional = testing::kPointRegional) {
  PlanReadContext context{regional, {}, 0};
  context.today = 46000;
  context.params.DefaultReturnRate = 0.06;
  context.params.DefaultAccelerator1 = M(77);
  context.params.DefaultSetupFee = M(3000);
  return context;
}

PlanDocument ReadBack(const std::string& content, const PlanDocument& before = {},
                      const PlanReadContext& context = Context()) {
  PlanDocument plan = before;
  const Status status = ReadPlanContent(content, "test.bvx", plan, context);
  EXPECT_TRUE(status.ok()) << status.message();
  return plan;
}

TEST(PlanFileTest, WorkedExampleIsWrittenByteForByteAndReadsBack) {
  const PlanDocument plan = ZuzuZeved();
  EXPECT_EQ(PlanToXml(plan), kZuzuZevedFile);
  EXPECT_EQ(ReadBack(kZuzuZevedFile), plan);
}

TEST(PlanFileTest, SaveDataWritesTheFileAndReadDataOpensIt) {
  TempFolder folder;
  const auto path = folder / "Zeved.bvx";
  const Status saved = SaveData(ZuzuZeved(), path);
  ASSERT_TRUE(saved.ok()) << saved.message();
  EXPECT_EQ(ReadFile(path), kZuzuZevedFile);
  PlanDocument plan;
  ASSERT_TRUE(ReadData(path, plan, Context()).ok());
  EXPECT_EQ(plan, ZuzuZeved());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                          std::filesystem::directory_iterator()),
            1);  // no temporary file left behind
}

TEST(PlanFileTest, APlanWithoutDebtsOrNotesIsSevenLines) {
  const std::string text = PlanToXml(PlanDocument{});
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 7);
  EXPECT_EQ(text.substr(0, 34), "<Client FirstName=\"\" LastName=\"\">\r");
  EXPECT_EQ(text.substr(text.size() - 11), "</Client>\r\n");
}

TEST(PlanFileTest, TextsComeBackExactlyAsTyped) {
  const char* texts[] = {"Jo \"JJ\"",     "R&D",    "R&amp;D",      "Pay <b>first</b>",
                         "a > b & c < d", "&quot;", "Peña Ñandú €", "it's",
                         "   padded   ",  "&#65;"};
  for (const char* text : texts) {
    PlanDocument plan;
    plan.FirstName = text;
    plan.Notes = {text};
    plan.Debts.AddDebt(MakeDebt(text, 1, 1, 1, 1));
    const PlanDocument back = ReadBack(PlanToXml(plan));
    EXPECT_EQ(back.FirstName, text);
    EXPECT_EQ(back.Notes, plan.Notes) << text;
    EXPECT_EQ(WrittenText(back.Debts, 0, DebtAttribute::Name), text);
  }
  PlanDocument plan;
  plan.FirstName = "Jo \"JJ\"";
  EXPECT_NE(PlanToXml(plan).find("FirstName=\"Jo &quot;JJ&quot;\""), std::string::npos);
}

TEST(PlanFileTest, ControlCharactersComeBackToo) {
  const std::string texts[] = {"tab\there",      "form\ffeed", "line\r\nbreak\rcr\nlf",
                               "\x01\x1B\x7F\x1F", "\t",        " \t lead and trail \t "};
  PlanDocument plan;
  for (const std::string& text : texts) {
    plan.Notes.push_back(text);
    plan.Debts.AddDebt(MakeDebt(text, 1, 1, 1, 1));
  }
  plan.FirstName = texts[0];
  plan.LastName = texts[2];
  const std::string file = PlanToXml(plan);
  // Still one element per line.
  EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 7 + 2 * std::size(texts));
  EXPECT_EQ(ReadBack(file), plan);
  // A zero character cannot be kept: it comes back as a blank, and the file stays whole.
  plan = {};
  plan.FirstName = std::string("zero\0byte", 9);
  plan.Notes = {"after"};
  const PlanDocument back = ReadBack(PlanToXml(plan));
  EXPECT_EQ(back.FirstName, "zero byte");
  EXPECT_EQ(back.Notes, plan.Notes);
}

TEST(PlanFileTest, Utf8FilesKeepTheirLetters) {
  const std::string body =
      "<Client FirstName=\"Kołodziej\" LastName=\"&#322;&#x17C;&#8364;\">\r\n"
      "  <Debt Name=\"Kredyt żółw €\"/>\r\n</Client>\r\n";
  for (const std::string prolog :
       {"", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n", "<?xml version=\"1.0\"?>"}) {
    const PlanDocument plan = ReadBack(prolog + body);
    EXPECT_EQ(plan.FirstName, "Kołodziej") << prolog;
    EXPECT_EQ(plan.LastName, "łż€") << prolog;
    ASSERT_EQ(plan.Debts.GetDebtCount(), 1);
    EXPECT_EQ(WrittenText(plan.Debts, 0, DebtAttribute::Name), "Kredyt żółw €") << prolog;
  }
  // A file that says it is UTF-8 stays UTF-8 with a damaged byte in it; only that byte is lost.
  const PlanDocument damaged = ReadBack(
      "<?xml version=\"1.0\" encoding=\"utf-8\"?><Client FirstName=\"Ko\xB3odziej\" "
      "LastName=\"żółw\"/>");
  EXPECT_EQ(damaged.FirstName, "Ko\uFFFDodziej");
  EXPECT_EQ(damaged.LastName, "żółw");
  // Any other file that is not UTF-8 throughout is Windows-1252 throughout.
  const PlanDocument old = ReadBack("<Client FirstName=\"\xC3\xA9\" LastName=\"\xE9\"/>");
  EXPECT_EQ(old.FirstName, "Ã©");
  EXPECT_EQ(old.LastName, "é");
  // What is written is read back the same, letters and all.
  PlanDocument plan;
  plan.FirstName = "Kołodziej";
  plan.Notes = {"Kredyt żółw €", "Peña"};
  EXPECT_EQ(ReadBack(PlanToXml(plan)), plan);
}

TEST(PlanFileTest, AZeroByteMarksTheFileDamaged) {
  PlanDocument before;
  before.FirstName = "Open";
  std::string xml = kZuzuZevedFile;
  xml.insert(xml.find("  <Debt"), 1, '\0');
  const std::string legacy = std::string("16\r\nZuzu\r\nZe\0ved\r\n39462\r\n", 25);
  for (const auto& [content, error] : {
           std::pair{xml, "zero.bvx, line 7: the file is damaged: byte " +
                              std::to_string(xml.find('\0') + 1) + " is a zero byte."},
           std::pair{legacy, std::string("zero.bvx, line 3: the file is damaged: byte 13 is a "
                                         "zero byte.")}}) {
    PlanDocument plan = before;
    const Status status = ReadPlanContent(content, "zero.bvx", plan, Context());
    EXPECT_EQ(status.message(), error);
    EXPECT_EQ(plan, before);
  }
}

TEST(PlanFileTest, AnyPowerPaymentMonthIsKeptAsRead) {
  for (const char* month : {"-2147483648", "2147483647", "0", "13"}) {
    const PlanDocument plan =
        ReadBack(std::string("<Client><Accelerator2 Annual=\"500\" Month=\"") + month + "\"/>");
    EXPECT_EQ(std::to_string(plan.Accelerators[1].Month), month);
  }
}

TEST(PlanFileTest, NumbersAreWrittenWithAPointAndReadWithEitherSeparator) {
  PlanDocument plan;
  plan.ReturnRate = Percent(6.5);
  plan.SetupFee = M(1500.5);
  Debt debt = MakeDebt("A", 12.5, 18.9, 100, 25);
  debt.MinimumPaymentPercent = Percent(2.5);
  plan.Debts.AddDebt(debt);
  const std::string text = PlanToXml(plan);
  EXPECT_NE(text.find("ReturnRate=\"6.5\""), std::string::npos);
  EXPECT_NE(text.find("Balance=\"12.5\" InterestRate=\"18.9\""), std::string::npos);
  EXPECT_EQ(text.find(','), std::string::npos);

  const PlanDocument comma = ReadBack(text, {}, Context(testing::kCommaRegional));
  EXPECT_EQ(comma.Debts.At(0), debt);
  EXPECT_EQ(comma.ReturnRate, Percent(6.5));
  EXPECT_EQ(comma.SetupFee, M(1500.5));
  const PlanDocument point = ReadBack(text, {}, Context(testing::kPointRegional));
  EXPECT_EQ(point.Debts.At(0), debt);
  // A file written by a comma machine of an older release opens on a comma machine.
  const PlanDocument old =
      ReadBack("<Client><Plan ReturnRate=\"6,5\"/></Client>", {}, Context(testing::kCommaRegional));
  EXPECT_EQ(old.ReturnRate, Percent(6.5));
}

TEST(PlanFileTest, MissingAndUnreadableAttributesTakeTheirRules) {
  PlanDocument before;
  before.ReturnRate = Percent(3);
  before.ConsolidationLoan.CashOut = M(5000);
  const PlanDocument missing =
      ReadBack("<Client><Plan Priority=\"2\"/><Accelerator1 Month=\"\"/></Client>", before);
  EXPECT_EQ(missing.ReturnRate, Percent(0));  // absent: 0, not the default
  EXPECT_EQ(missing.Priority, PaydownPriority::HighestPayment);
  EXPECT_EQ(missing.Date, 0);
  EXPECT_EQ(missing.Accelerators[0].Month, 0);
  EXPECT_EQ(missing.ConsolidationLoan.CashOut, M(5000));  // no element: unchanged

  const PlanDocument bad = ReadBack(
      "<Client><Plan ReturnRate=\"abc\" Date=\"x\" SetupFee=\"?\"/><Accelerator1 Monthly=\"q\" "
      "Month=\"x\"/></Client>");
  EXPECT_DOUBLE_EQ(bad.ReturnRate.Value(), 6);  // the parameter default, as a percentage
  EXPECT_EQ(bad.Date, 46000);           // today
  EXPECT_EQ(bad.SetupFee, M(3000));
  EXPECT_EQ(bad.Accelerators[0].Monthly, M(77));
  EXPECT_EQ(bad.Accelerators[0].Month, 1);

  const PlanDocument fraction =
      ReadBack("<Client><Plan Date=\"39462.75\" Consolidate=\"0\"/></Client>");
  EXPECT_EQ(fraction.Date, 39462);
  EXPECT_EQ(ReadBack("<Client/><Plan Date=\"1e12\"/>").Date, 46000);  // beyond the year 9999: today
  EXPECT_TRUE(fraction.Consolidate);  // any text sets a flag
}

TEST(PlanFileTest, ElementNamesAreCaseSensitiveAndMayRepeatInAnyOrder) {
  PlanDocument before;
  before.ReturnRate = Percent(3);
  const PlanDocument lower = ReadBack("<Client><plan ReturnRate=\"9\"/></Client>", before);
  EXPECT_EQ(lower.ReturnRate, Percent(3));

  const PlanDocument repeated = ReadBack(
      "<Note Content=\"one\"/><Plan ReturnRate=\"1\"/><Debt Name=\"A\"/>"
      "<Plan ReturnRate=\"2\"/><Note Content=\"two\"/><Debt Name=\"B\" Balance=\"x\" "
      "CompoundingPeriod=\"\"/><Foo Bar=\"1\"/><Client/>");
  EXPECT_EQ(repeated.ReturnRate, Percent(2));
  EXPECT_EQ(repeated.Notes, (std::vector<std::string>{"one", "two"}));
  ASSERT_EQ(repeated.Debts.GetDebtCount(), 2);
  EXPECT_EQ(WrittenText(repeated.Debts, 1, DebtAttribute::Balance), "0");
  EXPECT_EQ(WrittenText(repeated.Debts, 1, DebtAttribute::CompoundingPeriod), "0");
  EXPECT_EQ(WrittenText(repeated.Debts, 0, DebtAttribute::CompoundingPeriod), "0");
}

// Every rate is written in percent, whatever unit the plan holds it in: the setup fee rate, a
// fraction of the interest saved, is written times 100.
TEST(PlanFileTest, RatesAreWrittenInPercentAndComeBackAsTheyWere) {
  PlanDocument plan = ZuzuZeved();
  plan.SetupFeeRate = Ratio(0.25);
  plan.ReturnRate = Percent(6.5);
  plan.ConsolidationLoan.InterestRate = Percent(7.25);
  plan.ConsolidationLoan.FeesRate = Percent(1.5);
  const std::string text = PlanToXml(plan);
  for (const char* attribute :
       {"SetupFeeRate=\"25\"", "ReturnRate=\"6.5\"", "InterestRate=\"7.25\"", "FeesRate=\"1.5\""}) {
    EXPECT_NE(text.find(attribute), std::string::npos) << attribute;
  }
  const PlanDocument back = ReadBack(text);
  EXPECT_EQ(back.SetupFeeRate, Ratio(0.25));
  EXPECT_EQ(back, plan);
}

TEST(PlanFileTest, ReadingReplacesDebtsAndNotesButKeepsWhatTheFileLacks) {
  PlanDocument before = ZuzuZeved();
  before.ConsolidationLoan.CashOut = M(5000);
  const PlanDocument after = ReadBack("<Client FirstName=\"New\"/>", before);
  EXPECT_EQ(after.FirstName, "New");
  EXPECT_EQ(after.Debts.GetDebtCount(), 0);
  EXPECT_TRUE(after.Notes.empty());
  EXPECT_EQ(after.ReturnRate, Percent(8));
  EXPECT_EQ(after.ConsolidationLoan.CashOut, M(5000));
}

TEST(PlanFileTest, OldWindowsTextIsReadAsUtf8) {
  const PlanDocument plan = ReadBack(
      "<Client FirstName=\"Pe\xF1"
      "a\" LastName=\"\x80\"/>");
  EXPECT_EQ(plan.FirstName, "Peña");
  EXPECT_EQ(plan.LastName, "€");
}

TEST(PlanFileTest, ExternalEntitiesNeverReachTheFileSystem) {
  TempFolder folder;
  WriteFile(folder / "secret.txt", "private text");
  const std::string plan =
      "<!DOCTYPE Client [<!ENTITY secret SYSTEM \"" + (folder / "secret.txt").string() +
      "\"><!ENTITY inner \"kept\">]>\r\n<Client FirstName=\"&secret;\" LastName=\"&inner;\"/>\r\n";
  WriteFile(folder / "hostile.bvx", plan);
  PlanDocument read;
  ASSERT_TRUE(ReadData(folder / "hostile.bvx", read, Context()).ok());
  EXPECT_EQ(read.FirstName, "");
  EXPECT_EQ(read.LastName, "kept");  // internal entities still expand
}

TEST(PlanFileTest, AFileThatCannotBeReadLeavesThePlanAsItWas) {
  TempFolder folder;
  PlanDocument plan = ZuzuZeved();
  // A named pipe would block a reader that opens before it checks.
  ASSERT_EQ(::mkfifo((folder / "pipe.bvx").c_str(), 0600), 0);
  // Only a missing file is NotFound, which a caller may take for "nothing saved yet".
  for (const auto& [path, code] : {std::pair{folder / "missing.bvx", Status::Code::kNotFound},
                                   std::pair{folder.path(), Status::Code::kIoError},
                                   std::pair{folder / "pipe.bvx", Status::Code::kIoError}}) {
    const Status status = ReadData(path, plan, Context());
    EXPECT_EQ(status.code(), code) << path;
    EXPECT_TRUE(status.message().starts_with("Cannot open \"" + path.string() + "\": "))
        << status.message();
    EXPECT_EQ(plan, ZuzuZeved());
  }
}

TEST(PlanFileTest, AFailedSaveLeavesTheOldFileIntact) {
  TempFolder folder;
  const auto path = folder / "plan.bvx";
  WriteFile(path, "old contents");
  // A target that is a folder cannot be replaced by a file.
  std::filesystem::create_directory(folder / "taken.bvx");
  const Status taken = SaveData(ZuzuZeved(), folder / "taken.bvx");
  EXPECT_EQ(taken.code(), Status::Code::kIoError);
  EXPECT_EQ(taken.message(), "Cannot save \"" + (folder / "taken.bvx").string() +
                                 "\": " + std::strerror(EISDIR) + ".");
  EXPECT_FALSE(SaveData(ZuzuZeved(), folder / "no such folder" / "plan.bvx").ok());
  EXPECT_EQ(ReadFile(path), "old contents");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                          std::filesystem::directory_iterator()),
            2);
}

// A file with its Client element whole is read however damaged the rest is; without that
// element it is refused as no plan file, and the open plan stays as it was.
TEST(PlanFileTest, DamagedFilesNeverFailWhileTheirClientElementIsWhole) {
  const std::string text = kZuzuZevedFile;
  const size_t firstLineEnd = text.find('\n') + 1;
  const auto check = [](const std::string& content, bool clientWhole) {
    PlanDocument plan = ZuzuZeved();
    const Status status = ReadPlanContent(content, "damaged.bvx", plan, Context());
    if (clientWhole || !status.ok()) {
      EXPECT_EQ(status.message(), clientWhole ? "" : "damaged.bvx is not an Ardvane plan file.")
          << content;
    }
    if (!status.ok()) {
      EXPECT_EQ(plan, ZuzuZeved());
    }
  };
  for (size_t cut = 0; cut < text.size(); cut += 7) {
    check(text.substr(0, cut), cut >= firstLineEnd);
  }
  std::mt19937 random(7);
  for (int i = 0; i < 200; ++i) {
    std::string damaged = text;
    for (int k = 0; k < 5; ++k) damaged[random() % damaged.size()] = static_cast<char>(random());
    if (!damaged.empty() && damaged[0] >= '0' && damaged[0] <= '9') damaged[0] = '<';
    if (damaged.find('\0') != std::string::npos) {
      // A zero byte is damage that is reported whatever else survives.
      PlanDocument plan = ZuzuZeved();
      EXPECT_FALSE(ReadPlanContent(damaged, "damaged.bvx", plan, Context()).ok());
      EXPECT_EQ(plan, ZuzuZeved());
      continue;
    }
    check(damaged, damaged.compare(0, firstLineEnd, text, 0, firstLineEnd) == 0);
  }
}

// How many `tag` elements start in text[0, end) (a cut right after the name counts), and how
// many of them also close there.
std::pair<int, int> ElementsBefore(const std::string& text, std::size_t end,
                                   const std::string& tag) {
  const std::string open = "<" + tag;
  int started = 0, whole = 0;
  for (std::size_t at = text.find(open); at < end && at + open.size() <= end;
       at = text.find(open, at + 1)) {
    if (at + open.size() < end && text[at + open.size()] != ' ') continue;
    ++started;
    const std::size_t close = text.find("/>", at);
    if (close != std::string::npos && close + 2 <= end) ++whole;
  }
  return {started, whole};
}

// The worked example's debts and notes whose elements lie whole before `end` come back as
// they were.
void ExpectWholeElementsKept(const PlanDocument& read, const std::string& text, std::size_t end) {
  const PlanDocument original = ZuzuZeved();
  const int debts = ElementsBefore(text, end, "Debt").second;
  ASSERT_GE(read.Debts.GetDebtCount(), debts);
  for (int row = 0; row < debts; ++row) {
    EXPECT_EQ(read.Debts.At(row), original.Debts.At(row)) << "debt " << row;
  }
  const auto notes = static_cast<std::size_t>(ElementsBefore(text, end, "Note").second);
  ASSERT_GE(read.Notes.size(), notes);
  for (std::size_t i = 0; i < notes; ++i) EXPECT_EQ(read.Notes[i], original.Notes[i]);
  EXPECT_EQ(read.FirstName, "Zuzu");
  EXPECT_EQ(read.LastName, "Zeved");
}

// Damage after the Client start tag: the file still opens, and whatever lies before the damage
// comes back unchanged.
TEST(PlanFileTest, DamagedFilesKeepWhatPrecedesTheDamage) {
  const std::string text = kZuzuZevedFile;
  const std::size_t body = text.find('\n') + 1;
  for (std::size_t cut = body; cut <= text.size(); ++cut) {
    const std::string cutText = text.substr(0, cut);
    PlanDocument plan;
    const Status status = ReadPlanContent(cutText, "cut.bvx", plan, Context());
    ASSERT_TRUE(status.ok()) << cut << ": " << status.message();
    // A debt or note cut inside its element still counts, with what it has.
    EXPECT_EQ(plan.Debts.GetDebtCount(), ElementsBefore(cutText, cut, "Debt").first) << cut;
    EXPECT_EQ(plan.Notes.size(),
              static_cast<std::size_t>(ElementsBefore(cutText, cut, "Note").first))
        << cut;
    ExpectWholeElementsKept(plan, cutText, cut);
  }
  EXPECT_EQ(ReadBack(text), ZuzuZeved());

  std::mt19937 random(7);
  for (int round = 0; round < 300; ++round) {
    std::string damaged = text;
    std::size_t first = damaged.size();
    for (int k = 0; k < 5; ++k) {
      const std::size_t at = body + random() % (damaged.size() - body);
      damaged[at] = static_cast<char>(1 + random() % 255);
      first = std::min(first, at);
    }
    PlanDocument plan;
    const Status status = ReadPlanContent(damaged, "damaged.bvx", plan, Context());
    ASSERT_TRUE(status.ok()) << damaged << ": " << status.message();
    ExpectWholeElementsKept(plan, damaged, first);
    EXPECT_LE(plan.Debts.GetDebtCount(), ElementsBefore(damaged, damaged.size(), "Debt").first)
        << damaged;
  }
}

// An amount beyond what money holds would read as the largest amount there is; the file is
// refused instead, naming the line, the element and the attribute. Rates are no money.
TEST(PlanFileTest, AmountsBeyondMoneyAreRefusedNamingWhere) {
  const std::string limits =
      " is beyond the amounts a plan can hold (at most 922,337,203,685,477.58 either way).";
  const struct {
    const char* from;
    const char* to;
    std::string error;
  } cases[] = {
      {"Balance=\"12500.5\"", "Balance=\"1e15\"", "line 7: the Debt Balance \"1e15\"" + limits},
      {"CurrentPayment=\"310\"", "CurrentPayment=\"-9.3e14\"",
       "line 7: the Debt CurrentPayment \"-9.3e14\"" + limits},
      {"Annual=\"1200\"", "Annual=\"1e300\"", "line 2: the Accelerator1 Annual \"1e300\"" + limits},
      {"SetupFee=\"995\"", "SetupFee=\"-1e16\"", "line 5: the Plan SetupFee \"-1e16\"" + limits},
      {"CashOut=\"0\"", "CashOut=\"9223372036854775807\"",
       "line 6: the ConsolidationLoan CashOut \"9223372036854775807\"" + limits},
  };
  for (const auto& c : cases) {
    std::string content = kZuzuZevedFile;
    content.replace(content.find(c.from), std::strlen(c.from), c.to);
    PlanDocument plan = ZuzuZeved();
    const Status status = ReadPlanContent(content, "x.bvx", plan, Context());
    EXPECT_EQ(status.message(), "x.bvx, " + c.error) << c.to;
    EXPECT_EQ(plan, ZuzuZeved()) << c.to;
  }
  std::string content = kZuzuZevedFile;
  content.replace(content.find("Balance=\"12500.5\""), 17, "Balance=\"922337203685477\"");
  content.replace(content.find("InterestRate=\"6.9\""), 18, "InterestRate=\"1e15\"");
  const PlanDocument plan = ReadBack(content);
  EXPECT_EQ(WrittenText(plan.Debts, 0, DebtAttribute::Balance), "922337203685477");
  EXPECT_EQ(WrittenText(plan.Debts, 0, DebtAttribute::InterestRate), "1E15");
}

TEST(PlanFileTest, AFileWithoutAPlanIsRefused) {
  const std::string noPlans[] = {
      "", "\r\n", "[Settings]\r\nLast File=x.bvx\r\n", "\x89PNG\r\n\x1a\n\x02\x01"s,
      "<?xml version=\"1.0\"?><client FirstName=\"lower case\"/>",
      "<Plan ReturnRate=\"9\"/><Debt Name=\"A\"/>"};
  for (const std::string& content : noPlans) {
    PlanDocument plan = ZuzuZeved();
    const Status status = ReadPlanContent(content, "x.ini", plan, Context());
    EXPECT_EQ(status.message(), "x.ini is not an Ardvane plan file.") << content;
    EXPECT_EQ(plan, ZuzuZeved()) << content;
  }
  // Foreign XML with a Client element, however malformed, still reads.
  EXPECT_EQ(ReadBack("<a><b><Client FirstName=\"Ann\"></b><Plan ReturnRate=").FirstName, "Ann");
}

}  // namespace
}  // namespace ardvane
