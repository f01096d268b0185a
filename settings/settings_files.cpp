#include "settings/settings_files.h"

#include <charconv>
#include <cmath>
#include <variant>

#include "base/atomic_file.h"
#include "base/number_text.h"
#include "settings/file_lock.h"
#include "settings/ini_text.h"
#include "settings/preferences_rules.h"

namespace ardvane {
namespace fs = std::filesystem;

namespace {

constexpr char kCompany[] = "Company";
constexpr char kSettings[] = "Settings";
constexpr char kPrint[] = "Print";
constexpr char kLastFile[] = "Last File";
constexpr char kUntitledName[] = "Untitled.bvx";

enum class FileState { Missing, Read, Unreadable };

struct FileContents {
  FileState state = FileState::Missing;
  std::string bytes;
  std::string problem;  // why the file is unreadable
};

FileContents ReadIniFile(const fs::path& path) {
  StatusOr<std::string> file = ReadRegularFile(path, kMaxIniFileSize);
  FileContents contents;
  contents.state = file.ok()                    ? FileState::Read
                   : file.status().IsNotFound() ? FileState::Missing
                                                : FileState::Unreadable;
  if (file.ok()) contents.bytes = std::move(file).value();
  contents.problem = file.status().message();
  return contents;
}

// Loads `file` for reading its values: an empty text for a missing file unless `required`;
// a file that is there but cannot be read, and a missing one when `required`, fail with
// "\"file\": reason".
StatusOr<IniText> LoadIniFile(const fs::path& file, bool required) {
  const FileContents contents = ReadIniFile(file);
  if (contents.state == FileState::Read) return IniText(contents.bytes);
  if (contents.state == FileState::Missing && !required) return IniText();
  // Built in place: g++ 12 warns falsely (-Wrestrict) about a literal plus a temporary.
  std::string message(1, '"');
  message.append(file.string()).append("\": ").append(contents.problem);
  if (contents.state == FileState::Missing) return Status::NotFound(std::move(message));
  return Status::IoError(std::move(message));
}

class IniValues {
 public:
  IniValues(const IniText& ini, std::string_view decimalSeparator)
      : ini_(ini), decimalSeparator_(decimalSeparator) {}

  std::string Text(const char* section, const char* key, const std::string& fallback) const {
    return ini_.Value(section, key).value_or(fallback);
  }

  int Integer(const char* section, const char* key, int fallback) const {
    const std::optional<std::string> value = ini_.Value(section, key);
    if (!value.has_value()) return fallback;
    return ParseIniInteger(*value).value_or(fallback);
  }

  bool Switch(const char* section, const char* key, bool fallback) const {
    const std::optional<std::string> value = ini_.Value(section, key);
    if (!value.has_value()) return fallback;
    const std::optional<int> number = ParseIniInteger(*value);
    return number.has_value() ? *number != 0 : fallback;
  }

  std::optional<double> Number(const char* section, const char* key) const {
    const std::optional<std::string> value = ini_.Value(section, key);
    if (!value.has_value()) return std::nullopt;
    return ParseStrictFloat(*value, decimalSeparator_);
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
  const IniText& ini_;
  std::string decimalSeparator_;
};

}  // namespace

std::optional<int> ParseIniInteger(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
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

// The keys of Settings.ini in the order they are written; "Last File" and "Plan Fees" have
// rules of their own and are read apart.
using TextMember = std::string AppSettings::*;
using IntegerMember = int AppSettings::*;
using SwitchMember = bool AppSettings::*;

struct PreferenceKey {
  const char* section;
  const char* key;
  std::variant<TextMember, IntegerMember, SwitchMember> member;
};

const PreferenceKey kPreferenceKeys[] = {
    {kCompany, "Name", &AppSettings::CompanyName},
    {kCompany, "Address", &AppSettings::CompanyAddress},
    {kCompany, "CityStateZip", &AppSettings::CompanyCityStateZip},
    {kCompany, "Phone", &AppSettings::CompanyPhone},
    {kCompany, "Fax", &AppSettings::CompanyFax},
    {kCompany, "WebSite", &AppSettings::CompanyWebSite},
    {kCompany, "EMail", &AppSettings::CompanyEMail},
    {kSettings, "Compounding Period", &AppSettings::DefaultCompoundingPeriod},
    {kSettings, "Report Directory", &AppSettings::ReportDirectory},
    {kPrint, "Current Debts", &AppSettings::PrintCurrentDebts},
    {kPrint, "Plan Strategy", &AppSettings::PrintPlanStrategy},
    {kPrint, "Payoff Projections", &AppSettings::PrintPayoffProjections},
    {kPrint, "Options", &AppSettings::PrintOptions},
    {kPrint, "New Loan", &AppSettings::PrintNewLoan},
    {kPrint, "Return On Investment", &AppSettings::PrintReturnOnInvestment},
    {kPrint, "Payoff Schedule", &AppSettings::PrintPayoffSchedule},
    {kPrint, "Immediate Results", &AppSettings::PrintImmediateResults},
    {kPrint, "Payment Schedule", &AppSettings::PrintPaymentSchedule},
    {kPrint, "Monthly Payment Tables", &AppSettings::PrintMonthlyPaymentTables},
    {kPrint, "Amortization Tables", &AppSettings::PrintAmortizationTables},
    {kPrint, "Investment Projections", &AppSettings::PrintInvestmentProjections},
    {kPrint, "Contract", &AppSettings::PrintContract},
    {kPrint, "Strategies Compared", &AppSettings::PrintStrategiesCompared},
    {kPrint, "Language", &AppSettings::PrintLanguage},
};

AppSettings PreferencesFrom(const IniText& ini, const fs::path& programFolder) {
  const IniValues values(ini, ".");
  AppSettings s;  // its members hold each key's default
  s.ReportDirectory = (programFolder / "Reports").string() + "/";
  for (const PreferenceKey& k : kPreferenceKeys) {
    if (const auto* text = std::get_if<TextMember>(&k.member)) {
      s.**text = values.Text(k.section, k.key, s.**text);
    } else if (const auto* integer = std::get_if<IntegerMember>(&k.member)) {
      s.**integer = values.Integer(k.section, k.key, s.**integer);
    } else {
      const SwitchMember on = std::get<SwitchMember>(k.member);
      s.*on = values.Switch(k.section, k.key, s.*on);
    }
  }
  s.LastFile = values.Text(kSettings, kLastFile, "");
  s.PrintPlanFees = values.Switch(kPrint, "Plan Fees", true);
  return s;
}

// Values are written on one line; a line break would start a new key or section, and a NUL
// would end the file for a reader.
std::string OneLine(std::string value) {
  for (char& c : value) {
    if (c == '\n' || c == '\r' || c == '\0') c = ' ';
  }
  return value;
}

// Sets in `ini` each key whose value differs between `baseline` and `current`, and each key
// the file lacks.
void PutChangedPreferences(IniText& ini, const AppSettings& baseline, const AppSettings& current) {
  for (const PreferenceKey& k : kPreferenceKeys) {
    std::string value;
    bool changed = false;
    if (const auto* text = std::get_if<TextMember>(&k.member)) {
      value = OneLine(current.**text);
      changed = current.**text != baseline.**text;
    } else if (const auto* integer = std::get_if<IntegerMember>(&k.member)) {
      value = std::to_string(current.**integer);
      changed = current.**integer != baseline.**integer;
    } else {
      const SwitchMember on = std::get<SwitchMember>(k.member);
      value.assign(1, current.*on ? '1' : '0');
      changed = current.*on != baseline.*on;
    }
    if (changed || !ini.Value(k.section, k.key).has_value()) ini.Set(k.section, k.key, value);
  }
}

}  // namespace

AppSettings DefaultPreferences(const fs::path& programFolder) {
  return PreferencesFrom(IniText(), programFolder);
}

namespace {

StatusOr<AppSettings> PreferencesIn(const fs::path& file, const fs::path& programFolder,
                                    bool required) {
  const StatusOr<IniText> ini = LoadIniFile(file, required);
  if (!ini.ok()) return ini.status();
  return PreferencesFrom(*ini, programFolder);
}

}  // namespace

StatusOr<AppSettings> LoadPreferences(const fs::path& programFolder) {
  return PreferencesIn(programFolder / kSettingsFileName, programFolder, false);
}

StatusOr<AppSettings> LoadPreferencesFile(const fs::path& file, const fs::path& programFolder) {
  return PreferencesIn(file, programFolder, true);
}

std::vector<std::string> LoadRecentPlans(const fs::path& programFolder) {
  const StatusOr<IniText> ini = LoadIniFile(programFolder / kSettingsFileName, false);
  return ini.ok() ? ReadRecentPlans(*ini) : std::vector<std::string>();
}

bool ParamsFileExists(const fs::path& programFolder) {
  std::error_code ec;
  return fs::exists(programFolder / kParamsFileName, ec);
}

namespace {

PlanParameters ParamsFrom(const IniText& ini, const RegionalSettings& regional) {
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

StatusOr<PlanParameters> ParamsIn(const fs::path& file, const RegionalSettings& regional,
                                  bool required) {
  const StatusOr<IniText> ini = LoadIniFile(file, required);
  if (!ini.ok()) return ini.status();
  return ParamsFrom(*ini, regional);
}

}  // namespace

PlanParameters DefaultParams(const RegionalSettings& regional) {
  return ParamsFrom(IniText(), regional);
}

StatusOr<PlanParameters> LoadParams(const fs::path& programFolder,
                                    const RegionalSettings& regional) {
  return ParamsIn(programFolder / kParamsFileName, regional, false);
}

StatusOr<PlanParameters> LoadParamsFile(const fs::path& file, const RegionalSettings& regional) {
  return ParamsIn(file, regional, true);
}

Status SavePreferences(const AppSettings& baseline, const AppSettings& current,
                       const fs::path& programFolder, const std::string& planDirectory,
                       const std::string& planFileName, RecentPlans* recentPlans,
                       std::chrono::milliseconds lockWait) {
  // Read and written through a symbolic link; the writer keeps the link.
  const fs::path target = programFolder / kSettingsFileName;
  const auto failure = [&](const std::string& problem) {
    std::string message("Could not save the settings in \"");
    message.append(target.string()).append("\": ").append(problem).append(".");
    return message;
  };
  const auto fail = [&](const std::string& problem) { return Status::IoError(failure(problem)); };

  // The lock lies beside the file the link names, which every window's save reaches.
  std::error_code ec;
  fs::path lockedFile = fs::weakly_canonical(target, ec);
  if (ec) lockedFile = target;
  const StatusOr<FileLock> lock = FileLock::Acquire(lockedFile, lockWait);
  if (!lock.ok()) {
    // The kind stays: a lock another program holds is worth trying again later.
    const Status& why = lock.status();
    return why.code() == Status::Code::kBusy ? Status::Busy(failure(why.message()))
                                             : fail(why.message());
  }

  const FileContents old = ReadIniFile(target);
  if (old.state == FileState::Unreadable) {
    return fail("the existing file cannot be read (" + old.problem + ")");
  }
  if (old.bytes.find('\0') != std::string::npos) {
    return fail("the existing file is not a text file");
  }

  IniText ini(old.bytes);
  PutChangedPreferences(ini, baseline, current);
  // Without a saved plan there is no file to reopen; the previous one stays.
  if (!planFileName.empty() && planFileName.find(kUntitledName) == std::string::npos) {
    ini.Set(kSettings, kLastFile, OneLine(planDirectory + planFileName));
  }
  std::optional<RecentPlans> recent;
  if (recentPlans != nullptr) {
    recent = *recentPlans;
    const bool changed = recent->HasChanges();
    recent->Rebase(ReadRecentPlans(ini));
    if (changed) WriteRecentPlans(ini, recent->Paths());
  }

  const std::string text = ini.Bytes();
  if (old.state == FileState::Missing || text != old.bytes) {
    if (const Status written = WriteFileAtomically(target, text); !written.ok()) {
      return fail(written.message());
    }
  }
  if (recent.has_value()) *recentPlans = std::move(*recent);
  return Status::Ok();
}

}  // namespace ardvane
