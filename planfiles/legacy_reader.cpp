#include "planfiles/legacy_reader.h"

#include <cmath>
#include <optional>

#include "base/number_text.h"
#include "planfiles/code_page.h"
#include "planfiles/debt_text.h"

namespace ardvane {
namespace {

// Plan dates the date field can show: 1 January 0001 to 31 December 9999. Anything outside
// would also overflow the day count.
constexpr double kFirstPlanDay = -693593;
constexpr double kLastPlanDay = 2958465;

// Longest stretch of an offending line quoted in a message, in characters.
constexpr std::size_t kQuotedChars = 40;

// The offending text as a message shows it: control characters as '?', long lines cut.
std::string Quoted(std::string_view utf8) {
  std::string out = "\"";
  std::size_t chars = 0;
  for (std::size_t i = 0; i < utf8.size(); ++chars) {
    if (chars == kQuotedChars) {
      out += "...";
      break;
    }
    const unsigned char lead = static_cast<unsigned char>(utf8[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (lead < 0x20 || lead == 0x7F) {
      out += '?';
    } else {
      out.append(utf8, i, length);
    }
    i += length;
  }
  out += '"';
  return out;
}

// Lines of one legacy file, read in order and converted as the caller asks. The first failure
// is kept; every read after it returns a neutral value without reading, so the caller can
// check once at the end (and inside loops that would otherwise run on).
class LegacyLines {
 public:
  LegacyLines(std::string_view content, const std::string& fileName,
              const RegionalSettings& regional)
      : rest_(content), fileName_(fileName), regional_(regional) {}

  bool ok() const { return status_.ok(); }
  const Status& status() const { return status_; }

  // The next line without its line end, or nothing once the file has ended.
  std::optional<std::string_view> NextLine() {
    if (atEnd_) return std::nullopt;
    const std::size_t end = rest_.find_first_of("\r\n");
    const std::string_view line = rest_.substr(0, end);
    if (end == std::string_view::npos) {
      atEnd_ = true;
      // After the last line end there is no further, empty line.
      if (line.empty()) return std::nullopt;
    } else {
      const bool crlf = rest_[end] == '\r' && end + 1 < rest_.size() && rest_[end + 1] == '\n';
      rest_.remove_prefix(end + (crlf ? 2 : 1));
    }
    ++lineNumber_;
    return line;
  }

  double Number() {
    const auto line = Required("a number");
    if (!line) return 0;
    lastQuoted_ = Quoted(*line);
    const auto value = ParsePlanNumber(*line, regional_);
    if (!value) Fail(Quoted(*line) + " is not a number.");
    return value.value_or(0);
  }

  Money Amount() {
    const double units = Number();
    if (!Money::HoldsUnits(units)) Fail(lastQuoted_ + " is beyond " + kMoneyLimits);
    return Money::FromUnits(units);
  }

  int WholeNumber() {
    const auto line = Required("a whole number");
    if (!line) return 0;
    const auto value = ParseStrictInt(*line);
    if (!value) Fail(Quoted(*line) + " is not a whole number.");
    return value.value_or(0);
  }

  // A day number; a time of day in the fraction is dropped.
  DayNumber Date() {
    const auto line = Required("a date");
    if (!line) return 0;
    const auto value = ParsePlanNumber(*line, regional_);
    if (!value) {
      Fail(Quoted(*line) + " is not a number.");
      return 0;
    }
    if (!(*value > kFirstPlanDay - 1 && *value < kLastPlanDay + 1)) {
      Fail(Quoted(*line) + " is not a date a plan can have.");
      return 0;
    }
    return static_cast<DayNumber>(std::trunc(*value));
  }

  // Raw text, for flags whose only meaning is whether the line is empty.
  std::string_view Flag(std::string_view what) { return Required(what).value_or(""); }

  std::string Text(std::string_view what) { return std::string(Required(what).value_or("")); }

  // One line of debt `debt` (1-based) of `debtCount`. A line that holds money (`amount`) and
  // is a number beyond what money holds fails; other text stays as written.
  std::string DebtLine(int debt, int debtCount, bool amount) {
    if (!ok()) return {};
    const auto line = NextLine();
    if (!line) {
      FailAtEnd("the file ends before debt " + std::to_string(debt) + " of " +
                std::to_string(debtCount) + " is complete.");
      return {};
    }
    if (amount) {
      const auto value = ParsePlanNumber(*line, regional_);
      if (value && !Money::HoldsUnits(*value)) {
        Fail("debt " + std::to_string(debt) + ": " + Quoted(*line) + " is beyond " + kMoneyLimits);
      }
    }
    return std::string(*line);
  }

 private:
  std::optional<std::string_view> Required(std::string_view what) {
    if (!ok()) return std::nullopt;
    auto line = NextLine();
    if (!line) FailAtEnd("the file ends where " + std::string(what) + " was expected.");
    return line;
  }

  void Fail(const std::string& message) { FailOnLine(lineNumber_, message); }
  // The line that was expected is the one after the last line read.
  void FailAtEnd(const std::string& message) { FailOnLine(lineNumber_ + 1, message); }
  void FailOnLine(std::size_t line, const std::string& message) {
    status_ = Status::InvalidData(fileName_ + ", line " + std::to_string(line) + ": " + message);
  }

  std::string_view rest_;
  bool atEnd_ = false;
  std::size_t lineNumber_ = 0;  // of the last line returned
  const std::string& fileName_;
  const RegionalSettings& regional_;
  Status status_;
  std::string lastQuoted_;  // the last number read, as a message quotes it
};

// Lines per debt: each version added columns in the order of the debt table.
int DebtLinesOf(double version) {
  if (version < 3) return 6;    // Name .. MinimumPaymentPercent
  if (version < 5) return 7;    // .. Consolidate
  if (version < 8) return 8;    // .. Escrow
  if (version < 10) return 9;   // .. UseMinimum
  if (version < 16) return 13;  // .. NegotiatedPayment
  return kDebtAttributeCount;   // .. CompoundingPeriod
}

}  // namespace

Status ReadTextFile(std::string_view content, const std::string& fileName, PlanDocument& plan,
                    const PlanReadContext& context) {
  // Work on a copy so that a file that fails half way leaves the caller's plan as it was.
  PlanDocument result = plan;
  result.Debts.ClearDebts();
  result.Notes.clear();
  const PlanParameters& params = context.params;
  // Older releases wrote these files in Windows-1252; the rule of code_page.h decides.
  const std::string text = FileTextToUtf8(content, false);
  LegacyLines in(text, fileName, context.regional);

  const double version = in.Number();
  if (!in.ok()) return in.status();
  result.FirstName = in.Text("the first name");
  result.LastName = in.Text("the last name");
  result.Date = in.Date();

  auto& accelerators = result.Accelerators;
  accelerators[0].Monthly = in.Amount();
  accelerators[1].Monthly = version >= 6 ? in.Amount() : params.DefaultAccelerator2;
  accelerators[2].Monthly = version >= 6 ? in.Amount() : params.DefaultAccelerator3;
  for (Accelerator& a : accelerators) a.Annual = version >= 13 ? in.Amount() : Money();
  for (Accelerator& a : accelerators) a.Month = version >= 13 ? in.WholeNumber() : 1;

  result.ReturnRate = Percent(in.Number());
  result.Priority =
      PriorityFromCode(version >= 2 ? in.WholeNumber() : params.DefaultPaydownPriority);

  // Fees and the new loan came with version 3; older files leave them as they were.
  if (version >= 3) {
    ConsolidationLoanTerms& loan = result.ConsolidationLoan;
    result.Consolidate = !in.Flag("the consolidate flag").empty();
    loan.FeesRate = Percent(in.Number());
    result.SetupFee = in.Amount();
    loan.FeesAmount = version >= 14 ? in.Amount() : Money();
    result.SetupFeeRate = Ratio(version >= 7 ? in.Number() / 100 : params.DefaultSetupFeeRate);
    result.DownPayment = version >= 9 ? in.Amount() : params.DefaultDownPayment;
    loan.CashOut = version >= 15 ? in.Amount() : Money();
    result.MinSetupFee = version >= 11 ? in.Amount() : params.DefaultMinSetupFee;
    result.MinSavings = version >= 11 ? in.Amount() : params.DefaultMinSavings;
    result.MinDownPayment = version >= 11 ? in.Amount() : params.DefaultMinDownPayment;
    if (version >= 4) result.ManagementFee = in.Amount();
    loan.InterestRate = Percent(in.Number());
    loan.Term = in.Number();
    if (version >= 12) loan.InterestOnly = !in.Flag("the interest-only flag").empty();
  }

  const int debtCount = in.WholeNumber();
  const int linesPerDebt = DebtLinesOf(version);
  // Fields a file's version did not have yet stay blank: their numbers read 0 and a save
  // writes them blank again (Debt::UnreadTexts); the compounding is monthly.
  for (int debt = 0; debt < debtCount && in.ok(); ++debt) {
    DebtTexts texts;
    for (int i = 0; i < linesPerDebt; ++i) {
      texts[i] = in.DebtLine(debt + 1, debtCount, IsDebtAmount(static_cast<DebtAttribute>(i)));
    }
    std::string& compounding = texts[static_cast<int>(DebtAttribute::CompoundingPeriod)];
    if (compounding.empty()) compounding.push_back('1');
    if (in.ok()) result.Debts.AddDebt(ParseDebt(texts, context.regional));
  }
  if (!in.ok()) return in.status();

  if (version >= 5) {
    while (const auto line = in.NextLine()) result.Notes.emplace_back(*line);
  }
  plan = std::move(result);
  return Status::Ok();
}

}  // namespace ardvane
