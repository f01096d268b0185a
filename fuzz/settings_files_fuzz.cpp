// Settings.ini and Params.ini through the program's own loaders and its save, in a scratch
// program folder. The input's first byte chooses the file:
// - even, Settings.ini: a file of any text is read (an integer or switch that is no integer by
//   the file's rules gives its default), the adviser's settings are changed to values of any
//   bytes and any number and saved with a few recent plans added or removed. Read back, each
//   setting is what was saved (a text without its line breaks, written as blanks, and without
//   the blanks around it, which the file cannot keep), "Last File" is the plan saved, the
//   recent plans are the list as stored, and saving what was read changes no byte. A file that
//   holds a NUL byte is refused and left as it was.
// - odd, Params.ini: a file of any text has each key left as it is, removed, or set to a
//   well-formed value of its kind (text, an integer in decimal or hexadecimal, a switch, an
//   amount or a percent with the user's decimal separator, the key in any case) or to
//   garbage. Read back, a well-formed value is what was written (an amount to the
//   ten-thousandth, a percent as a fraction), a removed key gives its default, and garbage
//   gives the default unless it is a number after all.

#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "settings/ini_text.h"
#include "settings/recent_plans.h"
#include "settings/settings_files.h"

namespace {

namespace fs = std::filesystem;
using ardvane::AppSettings;
using ardvane::PlanParameters;

const fs::path& Folder() {
  static const fs::path folder = [] {
    std::string pattern =
        (fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path()).string();
    pattern += "/ardvane-settings-fuzz-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    std::atexit([] {
      std::error_code ec;
      fs::remove_all(Folder(), ec);
    });
    return fs::path(pattern);
  }();
  return folder;
}

void Write(const fs::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) std::abort();
}

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Blank(char c) { return c == ' ' || c == '\t'; }

std::string Trim(std::string_view text) {
  while (!text.empty() && Blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && Blank(text.back())) text.remove_suffix(1);
  return std::string(text);
}

// A text as the file gives it back: line breaks and NUL bytes as blanks, no blanks around.
std::string Stored(std::string text) {
  for (char& c : text) {
    if (c == '\r' || c == '\n' || c == '\0') c = ' ';
  }
  return Trim(text);
}

// The integer rule of the files, read here on its own: blanks around, an optional sign,
// then decimal digits, or hexadecimal ones after "0x" or "$"; it must fit an int.
std::optional<int> IniInteger(std::string_view text) {
  const std::string trimmed = Trim(text);
  std::string_view rest = trimmed;
  bool negative = false;
  if (!rest.empty() && (rest[0] == '+' || rest[0] == '-')) {
    negative = rest[0] == '-';
    rest.remove_prefix(1);
  }
  int base = 10;
  if (rest.starts_with("0x") || rest.starts_with("0X")) {
    base = 16;
    rest.remove_prefix(2);
  } else if (rest.starts_with("$")) {
    base = 16;
    rest.remove_prefix(1);
  }
  if (rest.empty()) return std::nullopt;
  long long magnitude = 0;
  for (const char c : rest) {
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (base == 16 && c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (base == 16 && c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      return std::nullopt;
    }
    magnitude = magnitude * base + digit;
    if (magnitude > 2147483648LL) return std::nullopt;
  }
  const long long value = negative ? -magnitude : magnitude;
  if (value > INT_MAX || value < INT_MIN) return std::nullopt;
  return static_cast<int>(value);
}

// An integer written in one of the forms the files allow.
std::string IntegerText(FuzzedDataProvider& input, int value) {
  const long long wide = value;
  const unsigned long long magnitude = static_cast<unsigned long long>(wide < 0 ? -wide : wide);
  char digits[32];
  std::string text;
  switch (input.ConsumeIntegralInRange(0, 3)) {
    case 0:
      return std::to_string(value);
    case 1:
      text = wide < 0 ? "-0x" : "0x";
      break;
    case 2:
      text = wide < 0 ? "-$" : "$";
      break;
    default:
      text = wide < 0 ? "-0X" : "+0X";
  }
  const auto end = std::to_chars(digits, digits + sizeof digits, magnitude, 16).ptr;
  text.append(digits, end);
  if (input.ConsumeBool()) {
    std::transform(text.begin(), text.end(), text.begin(), [](char c) {
      return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    });
  }
  return text;
}

// A name with its ASCII letters in any case: the files match names without regard to it.
std::string AnyCase(FuzzedDataProvider& input, std::string_view name) {
  std::string text(name);
  const auto mask = input.ConsumeIntegral<std::uint32_t>();
  for (std::size_t i = 0; i < text.size() && i < 32; ++i) {
    if ((mask >> i) & 1) {
      text[i] = static_cast<char>(std::islower(static_cast<unsigned char>(text[i]))
                                      ? std::toupper(static_cast<unsigned char>(text[i]))
                                      : std::tolower(static_cast<unsigned char>(text[i])));
    }
  }
  return text;
}

void CheckSettings(FuzzedDataProvider& input) {
  const fs::path file = Folder() / ardvane::kSettingsFileName;
  const std::string old = input.ConsumeRandomLengthString(400);
  Write(file, old);
  const ardvane::StatusOr<AppSettings> read = ardvane::LoadPreferences(Folder());
  if (!read.ok()) __builtin_trap();
  const AppSettings& loaded = *read;

  // Integers and switches that are no integer give their defaults.
  const ardvane::IniText ini(old);
  const AppSettings defaults;
  const auto integer = [&](const char* section, const char* key, int fallback) {
    const std::optional<std::string> value = ini.Value(section, key);
    return value ? IniInteger(*value).value_or(fallback) : fallback;
  };
  if (loaded.DefaultCompoundingPeriod !=
          integer("Settings", "Compounding Period", defaults.DefaultCompoundingPeriod) ||
      loaded.PrintLanguage != integer("Print", "Language", defaults.PrintLanguage) ||
      loaded.PrintContract != (integer("Print", "Contract", 1) != 0) ||
      loaded.PrintPlanFees != (integer("Print", "Plan Fees", 1) != 0)) {
    __builtin_trap();
  }

  AppSettings current = loaded;
  static constexpr std::string AppSettings::*kTexts[] = {
      &AppSettings::CompanyName,  &AppSettings::CompanyAddress, &AppSettings::CompanyCityStateZip,
      &AppSettings::CompanyPhone, &AppSettings::CompanyFax,     &AppSettings::CompanyWebSite,
      &AppSettings::CompanyEMail, &AppSettings::ReportDirectory};
  for (const auto text : kTexts) {
    if (input.ConsumeBool()) current.*text = input.ConsumeRandomLengthString(40);
  }
  bool* switches[] = {&current.PrintCurrentDebts,
                      &current.PrintPlanStrategy,
                      &current.PrintPayoffProjections,
                      &current.PrintOptions,
                      &current.PrintNewLoan,
                      &current.PrintReturnOnInvestment,
                      &current.PrintPayoffSchedule,
                      &current.PrintImmediateResults,
                      &current.PrintPaymentSchedule,
                      &current.PrintMonthlyPaymentTables,
                      &current.PrintAmortizationTables,
                      &current.PrintInvestmentProjections,
                      &current.PrintContract,
                      &current.PrintStrategiesCompared,
                      &current.PrintPlanFees};
  const auto flags = input.ConsumeIntegral<std::uint16_t>();
  for (std::size_t k = 0; k < std::size(switches); ++k) {
    if ((flags >> k) & 1) *switches[k] = !*switches[k];
  }
  if (input.ConsumeBool()) current.DefaultCompoundingPeriod = input.ConsumeIntegral<int>();
  if (input.ConsumeBool()) current.PrintLanguage = input.ConsumeIntegral<int>();
  const std::string planDirectory = input.ConsumeRandomLengthString(24);
  const std::string planFileName = input.ConsumeRandomLengthString(24);

  ardvane::RecentPlans recent(ardvane::LoadRecentPlans(Folder()));
  for (int k = input.ConsumeIntegralInRange(0, 3); k > 0; --k) {
    const std::string path = input.ConsumeRandomLengthString(24);
    if (input.ConsumeBool()) {
      recent.Add(path);
    } else {
      recent.Remove(path);
    }
  }

  const ardvane::Status saved =
      ardvane::SavePreferences(loaded, current, Folder(), planDirectory, planFileName, &recent);
  if (old.find('\0') != std::string::npos) {
    if (saved.ok() || saved.message().empty() || Read(file) != old) __builtin_trap();  // as it was
    return;
  }
  if (!saved.ok()) __builtin_trap();

  AppSettings expected = current;
  for (const auto text : kTexts) expected.*text = Stored(current.*text);
  expected.PrintPlanFees = loaded.PrintPlanFees;  // never written
  expected.LastFile =
      !planFileName.empty() && planFileName.find("Untitled.bvx") == std::string::npos
          ? Stored(planDirectory + planFileName)
          : loaded.LastFile;
  const ardvane::StatusOr<AppSettings> reread = ardvane::LoadPreferences(Folder());
  if (!reread.ok() || *reread != expected) __builtin_trap();
  const AppSettings& again = *reread;
  if (ardvane::LoadRecentPlans(Folder()) != recent.Paths()) __builtin_trap();

  const std::string bytes = Read(file);
  if (!ardvane::SavePreferences(again, again, Folder(), "", "").ok() || Read(file) != bytes) {
    __builtin_trap();
  }
}

// A value of Params.ini as compared here: a text, an integer (switches 0 or 1, amounts in
// ten-thousandths) or a fraction.
using Value = std::variant<std::string, long long, double>;

enum class Kind { kText, kInteger, kSwitch, kAmount, kPercent };

struct ParamsKey {
  const char* section;
  const char* key;
  Kind kind;
  Value fallback;
  std::function<Value(const PlanParameters&)> get;
};

Value Amount(ardvane::Money money) { return static_cast<long long>(money.Count()); }

const std::vector<ParamsKey>& ParamsKeys() {
  using P = PlanParameters;
  static const std::vector<ParamsKey> keys = {
      {"Version", "Name", Kind::kText, std::string(), [](const P& p) { return p.VersionName; }},
      {"Override", "New Loan Payment", Kind::kAmount, 0LL,
       [](const P& p) { return Amount(p.NewLoanPaymentOverride); }},
      {"Default", "Paydown Priority", Kind::kInteger, 0LL,
       [](const P& p) { return static_cast<long long>(p.DefaultPaydownPriority); }},
      {"Default", "Term", Kind::kInteger, 30LL,
       [](const P& p) { return static_cast<long long>(p.DefaultTerm); }},
      {"Default", "Accelerator 1", Kind::kAmount, 0LL,
       [](const P& p) { return Amount(p.DefaultAccelerator1); }},
      {"Default", "Accelerator 2", Kind::kAmount, 0LL,
       [](const P& p) { return Amount(p.DefaultAccelerator2); }},
      {"Default", "Accelerator 3", Kind::kAmount, 0LL,
       [](const P& p) { return Amount(p.DefaultAccelerator3); }},
      {"Default", "Setup Fee", Kind::kAmount, 30000000LL,
       [](const P& p) { return Amount(p.DefaultSetupFee); }},
      {"Default", "Down Payment", Kind::kAmount, 0LL,
       [](const P& p) { return Amount(p.DefaultDownPayment); }},
      {"Default", "Monthly Fee", Kind::kAmount, 250000LL,
       [](const P& p) { return Amount(p.DefaultMonthlyFee); }},
      {"Default", "Return Rate", Kind::kPercent, 0.0,
       [](const P& p) { return p.DefaultReturnRate; }},
      {"Default", "Setup Fee Rate", Kind::kPercent, 0.0,
       [](const P& p) { return p.DefaultSetupFeeRate; }},
      {"Default", "Fees", Kind::kPercent, 2 / 100.0, [](const P& p) { return p.DefaultFees; }},
      {"Default", "Interest Rate", Kind::kPercent, 7 / 100.0,
       [](const P& p) { return p.DefaultInterestRate; }},
      {"Default", "Consolidate", Kind::kSwitch, 0LL,
       [](const P& p) { return static_cast<long long>(p.DefaultConsolidate); }},
      {"Default", "Minimum Setup Fee", Kind::kAmount, 0LL,
       [](const P& p) { return Amount(p.DefaultMinSetupFee); }},
      {"Default", "Minimum Savings", Kind::kAmount, 0LL,
       [](const P& p) { return Amount(p.DefaultMinSavings); }},
      {"Default", "Minimum Down Payment", Kind::kAmount, 0LL,
       [](const P& p) { return Amount(p.DefaultMinDownPayment); }},
      {"Permissions", "Consolidate", Kind::kSwitch, 0LL,
       [](const P& p) { return static_cast<long long>(p.PermitConsolidate); }},
      {"Permissions", "Negotiate", Kind::kSwitch, 0LL,
       [](const P& p) { return static_cast<long long>(p.PermitNegotiate); }},
      {"Permissions", "CashOut", Kind::kSwitch, 0LL,
       [](const P& p) { return static_cast<long long>(p.PermitCashOut); }},
      {"Permissions", "Language", Kind::kSwitch, 0LL,
       [](const P& p) { return static_cast<long long>(p.PermitLanguage); }},
      {"Permissions", "Print Log", Kind::kSwitch, 0LL,
       [](const P& p) { return static_cast<long long>(p.PermitPrintLog); }},
      {"Disable", "Minimum Payment Rate", Kind::kSwitch, 0LL,
       [](const P& p) { return static_cast<long long>(p.DisableMinimumPaymentRate); }},
  };
  return keys;
}

// An amount of at most 10^11 units (so that a double holds it to the ten-thousandth) as
// decimal text with `separator`.
std::string AmountText(long long count, const std::string& separator) {
  const unsigned long long magnitude = static_cast<unsigned long long>(count < 0 ? -count : count);
  std::string fraction = std::to_string(magnitude % 10000);
  fraction.insert(0, 4 - fraction.size(), '0');
  std::string text = count < 0 ? "-" : "";
  text += std::to_string(magnitude / 10000);
  text += separator;
  text += fraction;
  return text;
}

void CheckParams(FuzzedDataProvider& input) {
  ardvane::RegionalSettings regional;
  regional.decimalSeparator = input.ConsumeBool() ? "," : ".";
  const std::string& separator = regional.decimalSeparator;
  ardvane::IniText ini(input.ConsumeRandomLengthString(300));

  std::vector<std::optional<Value>> expected;  // nothing: not checked
  for (const ParamsKey& key : ParamsKeys()) {
    const std::string name = AnyCase(input, key.key);
    const std::string section = AnyCase(input, key.section);
    const int choice = input.ConsumeIntegralInRange(0, 3);
    std::optional<Value>& value = expected.emplace_back();
    if (choice == 0) continue;  // as the file has it
    if (choice == 1) {
      ini.Erase(section, name);
      value = key.fallback;
      continue;
    }
    if (choice == 2) {
      std::string garbage = input.ConsumeRandomLengthString(16);
      std::erase_if(garbage, [](char c) { return c == '\r' || c == '\n' || c == '\0'; });
      ini.Set(section, name, garbage);
      const bool digits =
          std::any_of(garbage.begin(), garbage.end(), [](char c) { return c >= '0' && c <= '9'; });
      const bool emptyText = Trim(garbage).empty();
      switch (key.kind) {
        case Kind::kText:
          value = Trim(garbage);
          break;
        case Kind::kInteger:
          value = static_cast<long long>(
              IniInteger(garbage).value_or(static_cast<int>(std::get<long long>(key.fallback))));
          break;
        case Kind::kSwitch:
          value = IniInteger(garbage) ? static_cast<long long>(*IniInteger(garbage) != 0)
                                      : key.fallback;
          break;
        case Kind::kAmount:
        case Kind::kPercent:
          // No digit, no number; an empty value counts as absent.
          if (!digits || emptyText) value = key.fallback;
          break;
      }
      continue;
    }
    std::string text;
    switch (key.kind) {
      case Kind::kText:
        text = input.ConsumeRandomLengthString(24);
        std::erase_if(text, [](char c) { return c == '\r' || c == '\n' || c == '\0'; });
        value = Trim(text);
        break;
      case Kind::kInteger: {
        const int number = input.ConsumeIntegral<int>();
        text = IntegerText(input, number);
        value = static_cast<long long>(number);
        break;
      }
      case Kind::kSwitch: {
        const int number = input.ConsumeIntegral<int>();
        text = IntegerText(input, number);
        value = static_cast<long long>(number != 0);
        break;
      }
      case Kind::kAmount: {
        const long long count = input.ConsumeIntegralInRange<long long>(-1'000'000'000'000'000LL,
                                                                        1'000'000'000'000'000LL);
        text = AmountText(count, separator);
        value = count;
        break;
      }
      case Kind::kPercent: {
        double percent = input.ConsumeFloatingPoint<double>();
        if (!std::isfinite(percent) || std::fabs(percent) > 1e300 ||
            (percent != 0 && std::fabs(percent) < 1e-300)) {
          percent = 0;
        }
        char digits[40];
        text.assign(digits, std::to_chars(digits, digits + sizeof digits, percent).ptr);
        if (const std::size_t dot = text.find('.'); dot != std::string::npos) {
          text.replace(dot, 1, separator);
        }
        value = percent / 100.0;
        break;
      }
    }
    if (input.ConsumeBool()) text = " \t" + text + "\t ";  // blanks around are ignored
    ini.Set(section, name, text);
  }

  Write(Folder() / ardvane::kParamsFileName, ini.Bytes());
  const ardvane::StatusOr<PlanParameters> read = ardvane::LoadParams(Folder(), regional);
  if (!read.ok()) __builtin_trap();
  const PlanParameters& params = *read;
  for (std::size_t k = 0; k < expected.size(); ++k) {
    if (expected[k] && ParamsKeys()[k].get(params) != *expected[k]) __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  FuzzedDataProvider input(data + 1, size - 1);
  if ((data[0] & 1) == 0) {
    CheckSettings(input);
  } else {
    CheckParams(input);
  }
  return 0;
}
