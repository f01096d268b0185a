#include "planfiles/plan_file.h"

#include <cmath>

#include "base/atomic_file.h"
#include "base/number_text.h"
#include "planfiles/debt_text.h"
#include "planfiles/legacy_reader.h"
#include "planfiles/xml_parser.h"

namespace ardvane {
namespace {

// Attribute text: quotes as "&quot;" as always, and the three markup characters too. The
// reader resolves named references before character references, so an "&" that comes
// before "#" is written as a character reference itself: "&amp;#65;" would read as "A".
// Control characters are written as character references: the reader turns a tab or a
// line break written as such into a blank, and the file keeps one element per line.
std::string EscapeText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    switch (c) {
      case '&':
        out += i + 1 < text.size() && text[i + 1] == '#' ? "&#38;" : "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          out += "&#" + std::to_string(static_cast<int>(c)) + ';';
        } else {
          out += c;
        }
    }
  }
  return out;
}

std::string NumberText(double value) { return FormatGeneral(value, "."); }
std::string NumberText(Money value) { return NumberText(static_cast<double>(value.Units())); }
std::string NumberText(Percent value) { return NumberText(value.Value()); }
std::string FlagText(bool set) { return set ? "1" : ""; }

class LineWriter {
 public:
  explicit LineWriter(std::string& out) : out_(out) {}
  LineWriter& Open(std::string_view indent, std::string_view element) {
    out_.append(indent);
    out_ += '<';
    out_.append(element);
    return *this;
  }
  LineWriter& Attr(std::string_view name, std::string_view value) {
    out_ += ' ';
    out_.append(name);
    out_ += "=\"";
    out_.append(value);
    out_ += '"';
    return *this;
  }
  void CloseEmpty() { out_ += "/>\r\n"; }
  void Close() { out_ += ">\r\n"; }

 private:
  std::string& out_;
};

int RoundHalfEven(double value) {
  const double rounded = std::nearbyint(value);
  if (!(rounded > -2e9)) return rounded != rounded ? 0 : -2000000000;
  return rounded > 2e9 ? 2000000000 : static_cast<int>(rounded);
}

}  // namespace

std::string PlanToXml(const PlanDocument& plan) {
  std::string out;
  LineWriter w(out);
  w.Open("", "Client")
      .Attr("FirstName", EscapeText(plan.FirstName))
      .Attr("LastName", EscapeText(plan.LastName))
      .Close();
  const char* accelerators[] = {"Accelerator1", "Accelerator2", "Accelerator3"};
  for (int i = 0; i < 3; ++i) {
    const Accelerator& a = plan.Accelerators[i];
    w.Open("  ", accelerators[i])
        .Attr("Monthly", NumberText(a.Monthly))
        .Attr("Annual", NumberText(a.Annual))
        .Attr("Month", std::to_string(a.Month))
        .CloseEmpty();
  }
  w.Open("  ", "Plan")
      .Attr("Date", std::to_string(plan.Date))
      .Attr("ReturnRate", NumberText(plan.ReturnRate))
      .Attr("Priority", std::to_string(PriorityCode(plan.Priority)))
      .Attr("Consolidate", FlagText(plan.Consolidate))
      .Attr("SetupFeeRate", NumberText(plan.SetupFeeRate.InPercent()))
      .Attr("SetupFee", NumberText(plan.SetupFee))
      .Attr("ManagementFee", NumberText(plan.ManagementFee))
      .Attr("DownPayment", NumberText(plan.DownPayment))
      .Attr("MinSetupFee", NumberText(plan.MinSetupFee))
      .Attr("MinSavings", NumberText(plan.MinSavings))
      .Attr("MinDownPayment", NumberText(plan.MinDownPayment))
      .CloseEmpty();
  const ConsolidationLoanTerms& loan = plan.ConsolidationLoan;
  w.Open("  ", "ConsolidationLoan")
      .Attr("InterestRate", NumberText(loan.InterestRate))
      .Attr("Term", std::to_string(RoundHalfEven(loan.Term)))
      .Attr("InterestOnly", FlagText(loan.InterestOnly))
      .Attr("FeesRate", NumberText(loan.FeesRate))
      .Attr("FeesAmount", NumberText(loan.FeesAmount))
      .Attr("CashOut", NumberText(loan.CashOut))
      .CloseEmpty();

  for (const Debt& debt : plan.Debts) {
    w.Open("  ", "Debt");
    const DebtTexts texts = DebtFileTexts(debt);
    for (int i = 0; i < kDebtAttributeCount; ++i) {
      w.Attr(kDebtAttributeNames[i], EscapeText(texts[i]));
    }
    w.CloseEmpty();
  }
  for (const std::string& note : plan.Notes)
    w.Open("  ", "Note").Attr("Content", EscapeText(note)).CloseEmpty();
  out += "</Client>\r\n";
  return out;
}

Status SaveData(const PlanDocument& plan, const std::filesystem::path& path) {
  const Status written = WriteFileAtomically(path, PlanToXml(plan));
  if (written.ok()) return written;
  return written.WithMessage("Cannot save \"" + path.string() + "\": " + written.message() + ".");
}

namespace {

// Looks up and converts the attributes of one element. An amount beyond what money holds is
// not made the nearest amount that it does: the first one is described in *problem.
class ElementReader {
 public:
  ElementReader(const XmlParser& parser, const PlanReadContext& context, std::string* problem)
      : parser_(parser), context_(context), problem_(problem) {}

  std::string Raw(const char* name) const { return parser_.PartAttributes().ValueOf(name); }
  std::string Text(const char* name) const { return Raw(name); }
  bool FlagText(const char* name) const { return !Raw(name).empty(); }
  double NumberText(const char* name, double fallback) const {
    return PlanStrToFloatDefault(Raw(name), fallback, context_.regional);
  }
  Money Amount(const char* name, Money fallback) const {
    return Money::FromUnits(
        CheckedAmount(name, NumberText(name, static_cast<double>(fallback.Units()))));
  }
  int Integer(const char* name, int fallback) const { return StrToIntDefault(Raw(name), fallback); }
  // The debt of a Debt element. Its amounts are checked against what money holds; a number
  // field that is blank or no number reads 0 and is written as 0 again.
  Debt ReadDebt() const {
    DebtTexts texts;
    for (int i = 0; i < kDebtAttributeCount; ++i) {
      const char* name = kDebtAttributeNames[i];
      texts[i] = Raw(name);
      if (IsDebtAmount(static_cast<DebtAttribute>(i))) CheckedAmount(name, NumberText(name, 0));
    }
    Debt debt = ParseDebt(texts, context_.regional);
    debt.UnreadTexts.clear();
    return debt;
  }

 private:
  double CheckedAmount(const char* name, double units) const {
    if (Money::HoldsUnits(units) || !problem_->empty()) return units;
    std::string text = Raw(name);
    if (text.size() > 40) text = text.substr(0, 40) + "...";
    const std::size_t line = parser_.PartEndLine();
    *problem_ = (line > 0 ? "line " + std::to_string(line) + ": " : std::string()) + "the " +
                parser_.PartName() + " " + name + " \"" + text + "\" is beyond " + kMoneyLimits;
    return units;
  }

  const XmlParser& parser_;
  const PlanReadContext& context_;
  std::string* problem_;
};

// A plan date in whole days; a day outside the years 1 to 9999 counts as unreadable.
DayNumber TruncatedDay(double value, DayNumber fallback) {
  constexpr double kFirstDay = -693593;  // 1 January 0001
  constexpr double kLastDay = 2958465;   // 31 December 9999
  if (!(value >= kFirstDay && value < kLastDay + 1)) return fallback;
  return static_cast<DayNumber>(std::trunc(value));
}

void ApplyElement(const XmlParser& parser, PlanDocument& plan, const PlanReadContext& context,
                  std::string* problem) {
  const ElementReader e(parser, context, problem);
  const PlanParameters& defaults = context.params;
  const std::string& name = parser.PartName();
  if (name == "Client") {
    plan.FirstName = e.Text("FirstName");
    plan.LastName = e.Text("LastName");
  } else if (name == "Accelerator1" || name == "Accelerator2" || name == "Accelerator3") {
    const int index = name.back() - '1';
    const Money monthlyDefaults[] = {defaults.DefaultAccelerator1, defaults.DefaultAccelerator2,
                                     defaults.DefaultAccelerator3};
    Accelerator& a = plan.Accelerators[index];
    a.Monthly = e.Amount("Monthly", monthlyDefaults[index]);
    a.Annual = e.Amount("Annual", Money());
    a.Month = e.Integer("Month", 1);
  } else if (name == "Plan") {
    plan.Date = TruncatedDay(e.NumberText("Date", context.today), context.today);
    plan.ReturnRate = Percent(e.NumberText("ReturnRate", defaults.DefaultReturnRate * 100));
    plan.Priority = PriorityFromCode(e.Integer("Priority", defaults.DefaultPaydownPriority));
    plan.Consolidate = e.FlagText("Consolidate");
    plan.SetupFee = e.Amount("SetupFee", defaults.DefaultSetupFee);
    plan.SetupFeeRate =
        Ratio(e.NumberText("SetupFeeRate", defaults.DefaultSetupFeeRate * 100) / 100);
    plan.ManagementFee = e.Amount("ManagementFee", defaults.DefaultMonthlyFee);
    plan.DownPayment = e.Amount("DownPayment", defaults.DefaultDownPayment);
    plan.MinSetupFee = e.Amount("MinSetupFee", defaults.DefaultMinSetupFee);
    plan.MinSavings = e.Amount("MinSavings", defaults.DefaultMinSavings);
    plan.MinDownPayment = e.Amount("MinDownPayment", defaults.DefaultMinDownPayment);
  } else if (name == "ConsolidationLoan") {
    ConsolidationLoanTerms& loan = plan.ConsolidationLoan;
    loan.FeesRate = Percent(e.NumberText("FeesRate", defaults.DefaultFees * 100));
    loan.FeesAmount = e.Amount("FeesAmount", Money());
    loan.InterestRate = Percent(e.NumberText("InterestRate", defaults.DefaultInterestRate * 100));
    loan.Term = e.Integer("Term", defaults.DefaultTerm);
    loan.InterestOnly = e.FlagText("InterestOnly");
    loan.CashOut = e.Amount("CashOut", Money());
  } else if (name == "Debt") {
    plan.Debts.AddDebt(e.ReadDebt());
  } else if (name == "Note") {
    plan.Notes.push_back(e.Text("Content"));
  }
}

// Plan files never use entities of their own. One that declares an external entity could
// otherwise pull any file the adviser can read into a name or note, and from there into a
// client's report, so the plan reader never opens them.
class PlanScanner : public XmlParser {
 protected:
  std::unique_ptr<XmlParser> OpenExternal(const std::string&, const std::string&,
                                          const std::string&) override {
    return nullptr;
  }
};

bool StartsLegacyFile(std::string_view content) {
  return !content.empty() && content.front() >= '0' && content.front() <= '9';
}

// The refusal of a file holding a zero byte, saying where the first one is; Ok without one.
// The scanner would end the file there and the legacy reader would keep it in a text, so a
// file that holds one is refused whole rather than read in part.
Status CheckForZeroByte(std::string_view content, const std::string& fileName) {
  const std::size_t zero = content.find('\0');
  if (zero == std::string_view::npos) return Status::Ok();
  std::size_t line = 1;
  for (std::size_t i = 0; i < zero; ++i) {
    // CR LF, LF and a lone CR each end a line.
    if (content[i] == '\n' || (content[i] == '\r' && content[i + 1] != '\n')) ++line;
  }
  return Status::InvalidData(fileName + ", line " + std::to_string(line) +
                             ": the file is damaged: byte " + std::to_string(zero + 1) +
                             " is a zero byte.");
}

// The plan as a reader starts from: what was open, without its debts and notes.
PlanDocument EmptiedCopy(const PlanDocument& plan) {
  PlanDocument fresh = plan;
  fresh.Debts.ClearDebts();
  fresh.Notes.clear();
  return fresh;
}

}  // namespace

Status ApplyXmlPlan(XmlParser& parser, PlanDocument& plan, const PlanReadContext& context,
                    const std::string& fileName) {
  std::string problem;
  bool client = false;
  parser.BeginScan();
  while (parser.NextPart()) {
    const XmlPartKind type = parser.PartType();
    if (type == XmlPartKind::StartTag || type == XmlPartKind::EmptyTag) {
      ApplyElement(parser, plan, context, &problem);
      client = client || parser.PartName() == "Client";
    }
  }
  // Without a Client element nothing marks the file as a plan: an empty file, an ini file or
  // random bytes would open as an empty plan that a later save writes over the file.
  if (!client) return Status::InvalidData(fileName + " is not an Ardvane plan file.");
  if (!problem.empty()) return Status::InvalidData(fileName + ", " + problem);
  return Status::Ok();
}

Status ReadPlanContent(std::string_view content, const std::string& fileName, PlanDocument& plan,
                       const PlanReadContext& context) {
  if (Status damaged = CheckForZeroByte(content, fileName); !damaged.ok()) return damaged;
  PlanDocument fresh = EmptiedCopy(plan);
  Status status;
  if (StartsLegacyFile(content)) {
    status = ReadTextFile(content, fileName, fresh, context);
  } else {
    PlanScanner parser;
    parser.LoadFromBuffer(content);
    status = ApplyXmlPlan(parser, fresh, context, fileName);
  }
  if (status.ok()) plan = std::move(fresh);
  return status;
}

Status ReadData(const std::filesystem::path& path, PlanDocument& plan,
                const PlanReadContext& context) {
  const StatusOr<std::string> content = ReadWholeFile(path, kMaxPlanFileBytes);
  if (!content.ok()) {
    return content.status().WithMessage("Cannot open " + content.status().message());
  }
  return ReadPlanContent(*content, path.filename().string(), plan, context);
}

}  // namespace ardvane
