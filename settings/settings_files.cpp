#include "settings/settings_files.h"

#include <SimpleIni.h>

#include <charconv>
#include <cmath>
#include <vector>

#include "engine/vorn_util.h"
#include "planfiles/atomic_file.h"

namespace ardvane {
namespace fs = std::filesystem;

namespace {

constexpr char kCompany[] = "Company";
constexpr char kSettings[] = "Settings";
constexpr char kPrint[] = "Print";
constexpr char kLastFile[] = "Last File";
constexpr char kUntitledName[] = "Untitled.bvx";

bool IsBlankChar(char c) { return c == ' ' || c == '\t'; }
bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlankChar(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlankChar(text.back())) text.remove_suffix(1);
  return text;
}

enum class FileState { Missing, Read, Unreadable };

struct FileContents {
  FileState state = FileState::Missing;
  std::string bytes;
  std::string problem;  // why the file is unreadable
};

FileContents ReadIniFile(const fs::path& path) {
  FileBytes file = ReadRegularFile(path, kMaxIniFileSize);
  FileContents contents;
  contents.state = file.ok        ? FileState::Read
                   : file.missing ? FileState::Missing
                                  : FileState::Unreadable;
  contents.bytes = std::move(file.bytes);
  contents.problem = std::move(file.reason);
  return contents;
}

struct Line {
  std::string_view text;  // without its line end
  bool blank = false;
  bool comment = false;  // first non-blank character is ';' or '#'
};

std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = pos;
    while (end < text.size() && !IsLineEnd(text[end])) ++end;
    Line line{text.substr(pos, end - pos)};
    const std::string_view trimmed = TrimBlanks(line.text);
    line.blank = trimmed.empty();
    line.comment = !line.blank && (trimmed.front() == ';' || trimmed.front() == '#');
    lines.push_back(line);
    if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') {
      ++end;
    }
    pos = end + 1;
  }
  return lines;
}

// The parser drops some lines and merges others, so the text it gets is prepared first; a
// save puts the prepared lines back as they were:
// - A section line without "]" would run on over the following lines; it is closed.
// - A section line without a name ("[") would join the keys before the first section; it
//   becomes a section of a name no file uses, and is written back as it stood.
// - A line that is neither blank, comment, section nor "key=value" would be dropped; it is
//   carried as a marked comment.
// - Blank lines before the first line of text are left out: they decide whether a comment
//   that follows opens the file or belongs to the first section, and so would make a second
//   save differ from the first.
constexpr std::string_view kKeptLineMark = ";\x01\x02";
constexpr std::string_view kNamelessSectionMark = "\x01\x02";

struct PreparedIni {
  std::string text;
  std::vector<std::string> namelessSections;  // the original lines, by number
};

std::string NamelessSectionLine(size_t number) {
  return '[' + std::string(kNamelessSectionMark) + std::to_string(number) + "]";
}

PreparedIni PrepareIni(std::string_view text) {
  PreparedIni prepared;
  prepared.text.reserve(text.size() + 16);
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = pos;
    while (end < text.size() && !IsLineEnd(text[end])) ++end;
    const std::string_view line = text.substr(pos, end - pos);
    const std::string_view trimmed = TrimBlanks(line);
    if (trimmed.empty() && prepared.text.empty()) {
      while (end < text.size() && IsLineEnd(text[end])) ++end;
      pos = end;
      continue;
    }
    if (!trimmed.empty() && trimmed.front() == '[') {
      const size_t close = trimmed.find(']');
      if (TrimBlanks(trimmed.substr(1, close == std::string_view::npos ? close : close - 1))
              .empty()) {
        prepared.text += NamelessSectionLine(prepared.namelessSections.size());
        prepared.namelessSections.emplace_back(line);
      } else {
        prepared.text.append(line);
        if (close == std::string_view::npos) prepared.text += ']';
      }
    } else if (!trimmed.empty() && trimmed.front() != ';' && trimmed.front() != '#' &&
               (trimmed.find('=') == std::string_view::npos || trimmed.front() == '=')) {
      prepared.text.append(kKeptLineMark);
      prepared.text.append(line);
    } else if (!trimmed.empty()) {
      // Blanks before a comment would keep the parser from seeing one that opens the file.
      prepared.text.append(line.substr(line.find(trimmed.front())));
    }
    while (end < text.size() && IsLineEnd(text[end])) prepared.text += text[end++];
    pos = end;
  }
  return prepared;
}

// The saved text with the prepared lines as they were in the file.
std::string RestoreLines(std::string text, const PreparedIni& prepared) {
  const auto replaceAll = [&text](std::string_view from, std::string_view to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
      text.replace(at, from.size(), to);
      at += to.size();
    }
  };
  replaceAll(kKeptLineMark, "");
  for (size_t i = 0; i < prepared.namelessSections.size(); ++i) {
    replaceAll(NamelessSectionLine(i), prepared.namelessSections[i]);
  }
  return text;
}

// The parser keeps a comment only with the section or key that follows it, and the comment
// block that opens the file; comments after the last entry are taken here so that a save can
// put them back.
std::string TrailingComments(std::string_view text) {
  const std::vector<Line> lines = SplitLines(text);
  size_t start = 0;
  // The opening comment block: comment lines from the very first character of the file.
  if (!lines.empty() && !lines[0].text.empty() &&
      (lines[0].text.front() == ';' || lines[0].text.front() == '#')) {
    while (start < lines.size() && lines[start].comment) ++start;
  }
  for (size_t i = lines.size(); i > start; --i) {
    if (!lines[i - 1].blank && !lines[i - 1].comment) {
      start = i;
      break;
    }
  }
  std::string comments;
  size_t pendingBlanks = 0;
  for (size_t i = start; i < lines.size(); ++i) {
    if (lines[i].blank) {
      if (!comments.empty()) ++pendingBlanks;
      continue;
    }
    comments.append(pendingBlanks, '\n');
    pendingBlanks = 0;
    comments.append(lines[i].text);
    comments += '\n';
  }
  return comments;
}

constexpr std::string_view kUtf8Signature = "\xEF\xBB\xBF";

// The text of the file: without a leading UTF-8 signature, and cut at a NUL byte, where the
// parser would stop anyway.
std::string_view IniText(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Signature)) bytes.remove_prefix(kUtf8Signature.size());
  return bytes.substr(0, bytes.find('\0'));
}

PreparedIni LoadIni(CSimpleIniA& ini, std::string_view bytes) {
  // Remembered so that a save writes the signature again.
  if (bytes.starts_with(kUtf8Signature)) ini.SetUnicode(true);
  PreparedIni prepared = PrepareIni(IniText(bytes));
  ini.LoadData(prepared.text.data(), prepared.text.size());
  return prepared;
}

// Loads `file` for reading its values. A file that is there but cannot be read, and a
// missing one when `required`, set `error`; the values are then every default.
void LoadIniFile(CSimpleIniA& ini, const fs::path& file, bool required, std::string* error) {
  const FileContents contents = ReadIniFile(file);
  if (contents.state == FileState::Read) {
    LoadIni(ini, contents.bytes);
  } else if (error != nullptr && (required || contents.state == FileState::Unreadable)) {
    // Built in place: g++ 12 warns falsely (-Wrestrict) about a literal plus a temporary.
    error->assign(1, '"').append(file.string()).append("\": ").append(contents.problem);
  }
}

class IniValues {
 public:
  IniValues(const CSimpleIniA& ini, std::string_view decimalSeparator)
      : ini_(ini), decimalSeparator_(decimalSeparator) {}

  const char* Raw(const char* section, const char* key) const {
    return ini_.GetValue(section, key, nullptr);
  }

  std::string Text(const char* section, const char* key, const std::string& fallback) const {
    const char* value = Raw(section, key);
    return value != nullptr ? std::string(value) : fallback;
  }

  int Integer(const char* section, const char* key, int fallback) const {
    const char* value = Raw(section, key);
    if (value == nullptr) return fallback;
    return ParseIniInteger(value).value_or(fallback);
  }

  bool Switch(const char* section, const char* key, bool fallback) const {
    const char* value = Raw(section, key);
    if (value == nullptr) return fallback;
    const std::optional<int> number = ParseIniInteger(value);
    return number.has_value() ? *number != 0 : fallback;
  }

  std::optional<double> Number(const char* section, const char* key) const {
    const char* value = Raw(section, key);
    if (value == nullptr) return std::nullopt;
    return ParseStrictFloat(value, decimalSeparator_);
  }

  // An amount in currency units.
  Money Amount(const char* section, const char* key, double fallbackUnits) const {
    const std::optional<double> units = Number(section, key);
    if (!units.has_value() || !FitsMoney(*units)) return Money::FromUnits(fallbackUnits);
    return Money::FromUnits(*units);
  }

  // A percent in the file, a fraction in the result.
  double Percent(const char* section, const char* key, double fallbackPercent) const {
    return Number(section, key).value_or(fallbackPercent) / 100.0;
  }

  static bool FitsMoney(double units) {
    return std::fabs(static_cast<long double>(units)) * 10000.0L < 9223372036854775807.0L;
  }

 private:
  const CSimpleIniA& ini_;
  std::string decimalSeparator_;
};

// Values are written on one line; a line break would start a new key or section.
std::string OneLine(std::string value) {
  for (char& c : value) {
    if (IsLineEnd(c)) c = ' ';
  }
  return value;
}

void PutText(CSimpleIniA& ini, const char* section, const char* key, const std::string& value) {
  ini.SetValue(section, key, OneLine(value).c_str());
}

void PutInteger(CSimpleIniA& ini, const char* section, const char* key, int value) {
  ini.SetValue(section, key, std::to_string(value).c_str());
}

void PutSwitch(CSimpleIniA& ini, const char* section, const char* key, bool value) {
  ini.SetValue(section, key, value ? "1" : "0");
}

}  // namespace

std::optional<int> ParseIniInteger(std::string_view text) {
  text = TrimBlanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (!text.empty() && text.front() == '$') {
    base = 16;
    text.remove_prefix(1);
  } else if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  // from_chars would take a sign of its own; only digits may follow here.
  if (text.empty() || text.front() == '+' || text.front() == '-') return std::nullopt;
  unsigned long long magnitude = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  constexpr unsigned long long kMaxMagnitude = 2147483647ULL;
  if (magnitude > kMaxMagnitude + (negative ? 1 : 0)) return std::nullopt;
  const long long value =
      negative ? -static_cast<long long>(magnitude) : static_cast<long long>(magnitude);
  return static_cast<int>(value);
}

namespace {

AppSettings PreferencesFrom(const CSimpleIniA& ini, const fs::path& programFolder) {
  const IniValues values(ini, ".");

  AppSettings s;
  s.CompanyName = values.Text(kCompany, "Name", "");
  s.CompanyAddress = values.Text(kCompany, "Address", "");
  s.CompanyCityStateZip = values.Text(kCompany, "CityStateZip", "");
  s.CompanyPhone = values.Text(kCompany, "Phone", "");
  s.CompanyFax = values.Text(kCompany, "Fax", "");
  s.CompanyWebSite = values.Text(kCompany, "WebSite", "");
  s.CompanyEMail = values.Text(kCompany, "EMail", "");
  s.DefaultCompoundingPeriod = values.Integer(kSettings, "Compounding Period", 1);
  s.ReportDirectory =
      values.Text(kSettings, "Report Directory", (programFolder / "Reports").string() + "/");
  s.LastFile = values.Text(kSettings, kLastFile, "");
  s.PrintCurrentDebts = values.Switch(kPrint, "Current Debts", true);
  s.PrintPlanStrategy = values.Switch(kPrint, "Plan Strategy", true);
  s.PrintPayoffProjections = values.Switch(kPrint, "Payoff Projections", true);
  s.PrintOptions = values.Switch(kPrint, "Options", true);
  s.PrintNewLoan = values.Switch(kPrint, "New Loan", true);
  s.PrintReturnOnInvestment = values.Switch(kPrint, "Return On Investment", true);
  s.PrintPayoffSchedule = values.Switch(kPrint, "Payoff Schedule", true);
  s.PrintImmediateResults = values.Switch(kPrint, "Immediate Results", true);
  s.PrintPaymentSchedule = values.Switch(kPrint, "Payment Schedule", true);
  s.PrintMonthlyPaymentTables = values.Switch(kPrint, "Monthly Payment Tables", true);
  s.PrintAmortizationTables = values.Switch(kPrint, "Amortization Tables", true);
  s.PrintInvestmentProjections = values.Switch(kPrint, "Investment Projections", true);
  s.PrintPlanFees = values.Switch(kPrint, "Plan Fees", true);
  s.PrintContract = values.Switch(kPrint, "Contract", true);
  s.PrintStrategiesCompared = values.Switch(kPrint, "Strategies Compared", false);
  s.PrintLanguage = values.Integer(kPrint, "Language", 0);
  return s;
}

}  // namespace

AppSettings LoadPreferences(const fs::path& programFolder, std::string* error) {
  CSimpleIniA ini;
  LoadIniFile(ini, programFolder / kSettingsFileName, false, error);
  return PreferencesFrom(ini, programFolder);
}

AppSettings LoadPreferencesFile(const fs::path& file, const fs::path& programFolder,
                                std::string* error) {
  CSimpleIniA ini;
  LoadIniFile(ini, file, true, error);
  return PreferencesFrom(ini, programFolder);
}

bool ParamsFileExists(const fs::path& programFolder) {
  std::error_code ec;
  return fs::exists(programFolder / kParamsFileName, ec);
}

namespace {

PlanParameters ParamsFrom(const CSimpleIniA& ini, const RegionalSettings& regional) {
  const std::string& decimalSeparator = regional.decimalSeparator;
  const IniValues values(ini, decimalSeparator);

  PlanParameters p;
  p.VersionName = values.Text("Version", "Name", "");
  // Read as text and converted strictly: anything but a number means no override.
  const std::string payment = values.Text("Override", "New Loan Payment", "0");
  const std::optional<double> paymentUnits = ParseStrictFloat(payment, decimalSeparator);
  if (paymentUnits.has_value() && IniValues::FitsMoney(*paymentUnits)) {
    p.NewLoanPaymentOverride = Money::FromUnits(*paymentUnits);
  }
  constexpr char kDefault[] = "Default";
  p.DefaultPaydownPriority = values.Integer(kDefault, "Paydown Priority", 0);
  p.DefaultTerm = values.Integer(kDefault, "Term", 30);
  p.DefaultAccelerator1 = values.Amount(kDefault, "Accelerator 1", 0);
  p.DefaultAccelerator2 = values.Amount(kDefault, "Accelerator 2", 0);
  p.DefaultAccelerator3 = values.Amount(kDefault, "Accelerator 3", 0);
  p.DefaultSetupFee = values.Amount(kDefault, "Setup Fee", 3000);
  p.DefaultDownPayment = values.Amount(kDefault, "Down Payment", 0);
  p.DefaultMonthlyFee = values.Amount(kDefault, "Monthly Fee", 25);
  p.DefaultReturnRate = values.Percent(kDefault, "Return Rate", 0);
  p.DefaultSetupFeeRate = values.Percent(kDefault, "Setup Fee Rate", 0);
  p.DefaultFees = values.Percent(kDefault, "Fees", 2);
  p.DefaultInterestRate = values.Percent(kDefault, "Interest Rate", 7);
  p.DefaultConsolidate = values.Switch(kDefault, "Consolidate", false);
  p.DefaultMinSetupFee = values.Amount(kDefault, "Minimum Setup Fee", 0);
  p.DefaultMinSavings = values.Amount(kDefault, "Minimum Savings", 0);
  p.DefaultMinDownPayment = values.Amount(kDefault, "Minimum Down Payment", 0);
  constexpr char kPermissions[] = "Permissions";
  p.PermitConsolidate = values.Switch(kPermissions, "Consolidate", false);
  p.PermitNegotiate = values.Switch(kPermissions, "Negotiate", false);
  p.PermitCashOut = values.Switch(kPermissions, "CashOut", false);
  p.PermitLanguage = values.Switch(kPermissions, "Language", false);
  p.PermitPrintLog = values.Switch(kPermissions, "Print Log", false);
  p.DisableMinimumPaymentRate = values.Switch("Disable", "Minimum Payment Rate", false);
  return p;
}

}  // namespace

PlanParameters LoadParams(const fs::path& programFolder, const RegionalSettings& regional,
                          std::string* error) {
  CSimpleIniA ini;
  LoadIniFile(ini, programFolder / kParamsFileName, false, error);
  return ParamsFrom(ini, regional);
}

PlanParameters LoadParamsFile(const fs::path& file, const RegionalSettings& regional,
                              std::string* error) {
  CSimpleIniA ini;
  LoadIniFile(ini, file, true, error);
  return ParamsFrom(ini, regional);
}

bool SavePreferences(const AppSettings& s, const fs::path& programFolder,
                     const std::string& planDirectory, const std::string& planFileName,
                     std::string* error) {
  // Read and written through a symbolic link; the writer keeps the link.
  const fs::path target = programFolder / kSettingsFileName;
  const auto fail = [&](const std::string& problem) {
    if (error != nullptr) *error = "Cannot save \"" + target.string() + "\": " + problem + ".";
    return false;
  };

  const FileContents old = ReadIniFile(target);
  if (old.state == FileState::Unreadable) {
    return fail("the existing file cannot be read (" + old.problem + ")");
  }
  if (old.bytes.find('\0') != std::string::npos) {
    return fail("the existing file is not a text file");
  }

  CSimpleIniA ini;
  ini.SetSpaces(false);
  const PreparedIni prepared = LoadIni(ini, old.bytes);

  PutText(ini, kCompany, "Name", s.CompanyName);
  PutText(ini, kCompany, "Address", s.CompanyAddress);
  PutText(ini, kCompany, "CityStateZip", s.CompanyCityStateZip);
  PutText(ini, kCompany, "Phone", s.CompanyPhone);
  PutText(ini, kCompany, "Fax", s.CompanyFax);
  PutText(ini, kCompany, "WebSite", s.CompanyWebSite);
  PutText(ini, kCompany, "EMail", s.CompanyEMail);
  PutInteger(ini, kSettings, "Compounding Period", s.DefaultCompoundingPeriod);
  PutText(ini, kSettings, "Report Directory", s.ReportDirectory);
  // Without a saved plan there is no file to reopen; the previous one stays.
  if (!planFileName.empty() && planFileName.find(kUntitledName) == std::string::npos) {
    PutText(ini, kSettings, kLastFile, planDirectory + planFileName);
  }
  PutSwitch(ini, kPrint, "Current Debts", s.PrintCurrentDebts);
  PutSwitch(ini, kPrint, "Plan Strategy", s.PrintPlanStrategy);
  PutSwitch(ini, kPrint, "Payoff Projections", s.PrintPayoffProjections);
  PutSwitch(ini, kPrint, "Options", s.PrintOptions);
  PutSwitch(ini, kPrint, "New Loan", s.PrintNewLoan);
  PutSwitch(ini, kPrint, "Return On Investment", s.PrintReturnOnInvestment);
  PutSwitch(ini, kPrint, "Payoff Schedule", s.PrintPayoffSchedule);
  PutSwitch(ini, kPrint, "Immediate Results", s.PrintImmediateResults);
  PutSwitch(ini, kPrint, "Payment Schedule", s.PrintPaymentSchedule);
  PutSwitch(ini, kPrint, "Monthly Payment Tables", s.PrintMonthlyPaymentTables);
  PutSwitch(ini, kPrint, "Amortization Tables", s.PrintAmortizationTables);
  PutSwitch(ini, kPrint, "Investment Projections", s.PrintInvestmentProjections);
  PutSwitch(ini, kPrint, "Contract", s.PrintContract);
  PutSwitch(ini, kPrint, "Strategies Compared", s.PrintStrategiesCompared);
  PutInteger(ini, kPrint, "Language", s.PrintLanguage);

  std::string text;
  // The signature is written only when the old file began with one.
  if (ini.Save(text, /*a_bAddSignature=*/true) < 0) return fail("the settings cannot be encoded");
  const std::string trailing = TrailingComments(prepared.text);
  if (!trailing.empty()) text += "\n" + trailing;
  text = RestoreLines(std::move(text), prepared);

  std::string problem;
  if (!WriteFileAtomically(target, text, &problem)) return fail(problem);
  return true;
}

void ApplyPermissions(AppSettings& settings, const PlanParameters& params) {
  if (!params.PermitLanguage) settings.PrintLanguage = 0;
}

}  // namespace ardvane
