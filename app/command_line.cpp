#include "app/command_line.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <optional>

#include "app/results_json.h"
#include "engine/plan_calculation.h"
#include "figures/csv_tables.h"
#include "figures/power_payment_goal.h"
#include "figures/strategies.h"
#include "planfiles/plan_file.h"
#include "settings/settings_files.h"

namespace ardvane {

std::string UsageText() {
  return "Usage:\n"
         "  ardvane [--program-folder DIR] [PLAN]\n"
         "      Starts the program with the plan file PLAN open (words of a path with blanks\n"
         "      may be given unquoted), or with the last plan used, or with a new plan.\n"
         "  ardvane [--program-folder DIR] --results PLAN [--params FILE] [--settings FILE]\n"
         "      Calculates the plan file PLAN (.bvx, or a plan file of an older release) and\n"
         "      prints its current and proposed figures as one JSON object. The installation's\n"
         "      parameters and the adviser's settings come from Params.ini and Settings.ini in\n"
         "      the program folder unless --params or --settings name other files.\n"
         "  ardvane [--program-folder DIR] --compare PLAN [--params FILE] [--settings FILE]\n"
         "      Calculates the plan once for each debt paydown priority (codes 0 to 8) and\n"
         "      prints one JSON object: \"chosen\", the plan's own code (null when it is none\n"
         "      of them), and \"strategies\", one entry per code with its name, the proposed\n"
         "      plan's debt-free months and date, total interest and debts never paid off,\n"
         "      the interest saved, the annual return on the fees and the investment value,\n"
         "      each as --results gives it for the plan with that priority.\n"
         "  ardvane [--program-folder DIR] --needed PLAN --by YYYY-MM [--params FILE] "
         "[--settings FILE]\n"
         "      Finds the smallest monthly power payment, in whole cents from 0 to\n"
         "      1,000,000.00, with which the plan pays off every debt by the month YYYY-MM\n"
         "      (the yearly power payment unchanged), and prints {\"by\", \"attainable\",\n"
         "      \"power_payment\", \"debt_free_months\", \"debt_free_date\"}; the last three are\n"
         "      null when no such payment is found. A --by that is not a month, or is before\n"
         "      the plan's month, is an error (exit status 2).\n"
         "  ardvane [--program-folder DIR] --csv PLAN [--table amortization|investment] "
         "[--params FILE] [--settings FILE]\n"
         "      Writes a table of the plan as CSV (RFC 4180, UTF-8, CR LF, a header row) on\n"
         "      standard output. amortization (the default): plan,loan,debt,year,month,\n"
         "      beginning_balance,interest,payment,extra_payment,ending_balance for every\n"
         "      month of every loan of the current and proposed plans, as the monthly tables\n"
         "      show them; investment: year,month,beginning_value,growth,savings,\n"
         "      ending_value. Amounts have two decimals and no currency sign.\n"
         "  ardvane [--program-folder DIR] PLAN -<p>NAME [--language English|Spanish] [--pdf]\n"
         "      Writes the client report of the plan file PLAN, with its charts, as NAME.doc\n"
         "      in the report directory (Settings.ini; by default Reports/ in the program\n"
         "      folder, made when missing) and ends, without a window or a question: an\n"
         "      existing NAME.doc is replaced in one step. The report is in English unless\n"
         "      --language says Spanish. Quote the argument in a shell: ardvane\n"
         "      data/Smith.bvx '-<p>Smith report'. --pdf also writes the report as NAME.pdf\n"
         "      beside NAME.doc, on A4 or Letter paper as the locale uses; no word processor\n"
         "      is needed.\n"
         "      Without --pdf, an older NAME.pdf that this program made is removed, as it\n"
         "      would show other figures. Errors go to standard error with a non-zero exit\n"
         "      status; a plan that cannot be read writes no report, and a PDF that cannot\n"
         "      be written leaves the older NAME.doc and NAME.pdf as they were.\n"
         "  ardvane --help\n"
         "      Prints this text.\n"
         "  ardvane --version\n"
         "      Prints the program's version: \"ardvane\" and the number.\n"
         "\n"
         "--program-folder DIR uses DIR instead of the program's own folder for Settings.ini,\n"
         "Params.ini, Help/, Templates/ and the other files kept beside the program.\n";
}

namespace {

enum class Mode { kResults, kCompare, kNeeded, kCsv };

// One plan command, as the arguments ask for it.
struct PlanCommand {
  Mode mode = Mode::kResults;
  std::filesystem::path plan;
  std::optional<std::filesystem::path> params;
  std::optional<std::filesystem::path> settings;
  std::optional<YearMonth> by;  // with the text it was given as
  std::string byText;
  bool investmentTable = false;
};

constexpr const char* kModeOptions[] = {"--results", "--compare", "--needed", "--csv"};
constexpr const char* kOtherOptions[] = {"--params", "--settings", "--by", "--table"};

// A month written YYYY-MM, or none (with the reason in *problem).
std::optional<YearMonth> ParseMonth(const std::string& text, std::string* problem) {
  const auto digits = [&](std::size_t from, std::size_t count) {
    for (std::size_t i = from; i < from + count; ++i) {
      if (text[i] < '0' || text[i] > '9') return false;
    }
    return true;
  };
  if (text.size() != 7 || text[4] != '-' || !digits(0, 4) || !digits(5, 2)) {
    *problem = "--by \"" + text + "\" is not a month: write it as YYYY-MM, e.g. 2030-06.";
    return std::nullopt;
  }
  const YearMonth month{std::stoi(text.substr(0, 4)), std::stoi(text.substr(5, 2))};
  if (month.month < 1 || month.month > 12) {
    *problem = "--by " + text + " is not a month: months run from 01 to 12.";
    return std::nullopt;
  }
  return month;
}

std::optional<PlanCommand> ParseArguments(const std::vector<std::string>& args,
                                          std::string* problem) {
  PlanCommand parsed;
  std::optional<std::string> mode;
  std::optional<std::string> table;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool isMode =
        std::find(std::begin(kModeOptions), std::end(kModeOptions), arg) != std::end(kModeOptions);
    const bool isOther = std::find(std::begin(kOtherOptions), std::end(kOtherOptions), arg) !=
                         std::end(kOtherOptions);
    if (!isMode && !isOther) {
      *problem = "unknown argument \"" + arg + "\".";
      return std::nullopt;
    }
    if (i + 1 >= args.size()) {
      *problem = arg + (arg == "--by"      ? " needs a month, YYYY-MM."
                        : arg == "--table" ? " needs amortization or investment."
                                           : " needs a file name.");
      return std::nullopt;
    }
    const std::string& value = args[++i];
    if (isMode) {
      if (mode) {
        *problem = *mode == arg ? arg + " names one plan file."
                                : *mode + " and " + arg + " cannot be combined.";
        return std::nullopt;
      }
      mode = arg;
      parsed.plan = value;
      parsed.mode = arg == "--compare"  ? Mode::kCompare
                    : arg == "--needed" ? Mode::kNeeded
                    : arg == "--csv"    ? Mode::kCsv
                                        : Mode::kResults;
    } else if (arg == "--params" || arg == "--settings") {
      std::optional<std::filesystem::path>& file =
          arg == "--params" ? parsed.params : parsed.settings;
      // A second value would silently win over the first.
      if (file) {
        *problem =
            arg + (arg == "--params" ? " names one parameters file." : " names one settings file.");
        return std::nullopt;
      }
      file = value;
    } else if (arg == "--by") {
      if (parsed.by) {
        *problem = "--by names one month.";
        return std::nullopt;
      }
      parsed.by = ParseMonth(value, problem);
      if (!parsed.by) return std::nullopt;
      parsed.byText = value;
    } else {
      if (table) {
        *problem = "--table names one table.";
        return std::nullopt;
      }
      if (value != "amortization" && value != "investment") {
        *problem = "--table needs amortization or investment, not \"" + value + "\".";
        return std::nullopt;
      }
      table = value;
      parsed.investmentTable = value == "investment";
    }
  }
  if (!mode) {
    *problem = "--results, --compare, --needed or --csv PLAN is missing.";
    return std::nullopt;
  }
  if (parsed.mode == Mode::kNeeded && !parsed.by) {
    *problem = "--needed needs --by YYYY-MM, the month to be debt free by.";
    return std::nullopt;
  }
  if (parsed.mode != Mode::kNeeded && parsed.by) {
    *problem = "--by goes with --needed.";
    return std::nullopt;
  }
  if (parsed.mode != Mode::kCsv && table) {
    *problem = "--table goes with --csv.";
    return std::nullopt;
  }
  return parsed;
}

// Writes `text` to `out`, flushed. False, with errno telling why where the stream's buffer
// says, when not all of it reached its destination (a full disk, a closed output).
bool Deliver(std::ostream& out, const std::string& text) {
  errno = 0;
  out << text;
  out.flush();
  return out.good();
}

}  // namespace

bool IsPlanCommand(const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    for (const char* option : kModeOptions) {
      if (arg == option) return true;
    }
    for (const char* option : kOtherOptions) {
      if (arg == option) return true;
    }
  }
  return false;
}

int RunPlanCommand(const std::vector<std::string>& args, const CommandLineEnvironment& env,
                   std::ostream& out, std::ostream& err) {
  std::string problem;
  const std::optional<PlanCommand> parsed = ParseArguments(args, &problem);
  if (!parsed) {
    err << "ardvane: " << problem << "\n\n" << UsageText();
    return 2;
  }

  // A file named here must be there and readable; the program folder's own may be absent
  // (their defaults apply) but, when there, must be readable too: defaults in place of an
  // unreadable file would give other figures without a word.
  std::string unreadable;
  PlanParameters params;
  if (parsed->params) {
    params = LoadParamsFile(*parsed->params, env.regional, &unreadable);
  } else if (ParamsFileExists(env.programFolder)) {
    params = LoadParams(env.programFolder, env.regional, &unreadable);
  }
  AppSettings settings;
  if (unreadable.empty()) {
    settings = parsed->settings
                   ? LoadPreferencesFile(*parsed->settings, env.programFolder, &unreadable)
                   : LoadPreferences(env.programFolder, &unreadable);
  }
  if (!unreadable.empty()) {
    err << "ardvane: cannot read " << unreadable << ".\n";
    return 1;
  }
  ApplyPermissions(settings, params);

  const PlanReadContext context{env.regional, params, env.today};
  PlanDocument plan;
  const ReadStatus status = ReadData(parsed->plan, plan, context);
  if (!status.ok()) {
    err << "ardvane: cannot read the plan: " << status.error << "\n";
    return 1;
  }

  std::string text;
  switch (parsed->mode) {
    case Mode::kResults:
      text = ResultsToJson(plan, Calculate(plan, params, settings, env.regional)) + "\n";
      break;
    case Mode::kCompare:
      text = StrategiesToJson(CompareStrategies(plan, params, settings, env.regional)) + "\n";
      break;
    case Mode::kNeeded: {
      const YearMonth planMonth = YearMonthOf(plan.Date);
      if (*parsed->by < planMonth) {
        char month[16];
        std::snprintf(month, sizeof month, "%04d-%02d", planMonth.year, planMonth.month);
        err << "ardvane: --by " << parsed->byText << " is before the plan's month, " << month
            << ".\n";
        return 2;
      }
      const PowerPaymentGoal found =
          FindPowerPaymentForGoal(plan, params, settings, env.regional, *parsed->by);
      text = PowerPaymentGoalToJson(*parsed->by, found) + "\n";
      break;
    }
    case Mode::kCsv: {
      const PlanResults results = Calculate(plan, params, settings, env.regional);
      text = parsed->investmentTable ? InvestmentCsv(results, plan.Date, CsvFlavour::kPlain)
                                     : AmortizationCsv(plan, results, CsvFlavour::kPlain);
      break;
    }
  }
  if (!Deliver(out, text)) {
    const int failure = errno;
    err << "ardvane: cannot write the " << (parsed->mode == Mode::kCsv ? "table" : "results")
        << (failure != 0 ? ": " : "") << (failure != 0 ? std::strerror(failure) : "") << ".\n";
    return 1;
  }
  return 0;
}

}  // namespace ardvane
