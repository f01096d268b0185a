#include "app/command_parser.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "base/status.h"

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
         "      null when no such payment is found. A plan with nothing to pay off is debt\n"
         "      free already: attainable, power payment 0.00, 0 months and the plan's date.\n"
         "      A --by that is not a month, or is before the plan's month, is an error (exit\n"
         "      status 2).\n"
         "  ardvane [--program-folder DIR] --csv PLAN [--table amortization|investment] "
         "[--params FILE] [--settings FILE]\n"
         "      Writes a table of the plan as CSV (RFC 4180, UTF-8, CR LF, a header row) on\n"
         "      standard output. amortization (the default): plan,loan,debt,year,month,\n"
         "      beginning_balance,interest,payment,extra_payment,ending_balance for every\n"
         "      month of every loan of the current and proposed plans, as the monthly tables\n"
         "      show them; investment: year,month,beginning_value,growth,savings,\n"
         "      ending_value. Amounts have two decimals and no currency sign.\n"
         "      A plan of more debts than a mode can hold (17,000 for --results and --csv,\n"
         "      4,000 for --compare, 1,500 for --needed) is refused before it is calculated,\n"
         "      and amortization tables beyond 200 MB before they are written (exit status 1).\n"
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

int ReportCommandError(const CommandError& error, std::ostream& err) {
  err << "ardvane: " << error.message << "\n\n" << UsageText();
  return 2;
}

namespace {

constexpr const char* kModeOptions[] = {"--results", "--compare", "--needed", "--csv"};
constexpr const char* kPlanOptions[] = {"--params", "--settings", "--by", "--table"};

template <std::size_t n>
bool OneOf(const std::string& word, const char* const (&options)[n]) {
  return std::find(std::begin(options), std::end(options), word) != std::end(options);
}

bool IsPlanQueryOption(const std::string& word) {
  return OneOf(word, kModeOptions) || OneOf(word, kPlanOptions);
}

bool TakesValue(const std::string& word) {
  return IsPlanQueryOption(word) || word == "--program-folder" || word == "--language";
}

// One option with its value, or one word that is no option.
struct Token {
  std::string word;
  bool option = false;
  std::optional<std::string> value;  // for an option that takes one, when one follows
};

std::vector<Token> Tokens(const std::vector<std::string>& args) {
  std::vector<Token> tokens;
  for (std::size_t i = 0; i < args.size(); ++i) {
    Token token{args[i], args[i].rfind("--", 0) == 0, std::nullopt};
    if (token.option && TakesValue(token.word) && i + 1 < args.size()) token.value = args[++i];
    tokens.push_back(std::move(token));
  }
  return tokens;
}

bool IsReportRequest(const Token& token) {
  return !token.option && token.word.find("-<p>") != std::string::npos;
}

// `before`, `text` in double quotes, then `after`.
std::string WithQuoted(const char* before, const std::string& text, const char* after) {
  std::string said(before);
  said += '"';
  said += text;
  said += '"';
  said += after;
  return said;
}

// The mistakes that read the same in every mode, or an empty text.
std::string CommonMistake(const Token& token, std::size_t tokenCount) {
  if (token.word == "--help" || token.word == "--version") {
    return tokenCount == 1 ? std::string() : token.word + " stands alone.";
  }
  if (token.option && !TakesValue(token.word) && token.word != "--pdf") {
    return WithQuoted("unknown option ", token.word, ".");
  }
  return {};
}

// A month written YYYY-MM, or why the text is none.
StatusOr<YearMonth> ParseMonth(const std::string& text) {
  const auto digits = [&](std::size_t from, std::size_t count) {
    for (std::size_t i = from; i < from + count; ++i) {
      if (text[i] < '0' || text[i] > '9') return false;
    }
    return true;
  };
  if (text.size() != 7 || text[4] != '-' || !digits(0, 4) || !digits(5, 2)) {
    return Status::InvalidData(
        WithQuoted("--by ", text, " is not a month: write it as YYYY-MM, e.g. 2030-06."));
  }
  const YearMonth month{std::stoi(text.substr(0, 4)), std::stoi(text.substr(5, 2))};
  if (month.month < 1 || month.month > 12) {
    return Status::InvalidData("--by " + text + " is not a month: months run from 01 to 12.");
  }
  return month;
}

std::string ReportRequestOnly(const std::string& option) {
  return option + " goes with a report request (-<p>NAME).";
}

// --results, --compare, --needed or --csv and their options.
std::variant<PlanQuery, CommandError> ReadPlanQuery(const std::vector<Token>& tokens) {
  PlanQuery query;
  std::optional<std::string> mode;
  std::optional<std::string> table;
  const auto fail = [](std::string message) { return CommandError{std::move(message)}; };
  for (const Token& token : tokens) {
    const std::string& arg = token.word;
    if (std::string mistake = CommonMistake(token, tokens.size()); !mistake.empty()) {
      return fail(std::move(mistake));
    }
    if (arg == "--pdf" || arg == "--language") return fail(ReportRequestOnly(arg));
    if (!token.option) return fail(WithQuoted("unexpected argument ", arg, "."));
    if (!token.value) {
      return fail(arg + (arg == "--by"      ? " needs a month, YYYY-MM."
                         : arg == "--table" ? " needs amortization or investment."
                                            : " needs a file name."));
    }
    const std::string& value = *token.value;
    if (OneOf(arg, kModeOptions)) {
      if (mode) {
        return fail(*mode == arg ? arg + " names one plan file."
                                 : *mode + " and " + arg + " cannot be combined.");
      }
      mode = arg;
      query.plan = value;
      query.mode = arg == "--compare"  ? PlanQueryMode::kCompare
                   : arg == "--needed" ? PlanQueryMode::kNeeded
                   : arg == "--csv"    ? PlanQueryMode::kCsv
                                       : PlanQueryMode::kResults;
    } else if (arg == "--params" || arg == "--settings") {
      std::optional<std::filesystem::path>& file =
          arg == "--params" ? query.params : query.settings;
      // A second value would silently win over the first.
      if (file) {
        return fail(arg + (arg == "--params" ? " names one parameters file."
                                             : " names one settings file."));
      }
      file = value;
    } else if (arg == "--by") {
      if (query.by) return fail("--by names one month.");
      const StatusOr<YearMonth> month = ParseMonth(value);
      if (!month.ok()) return fail(month.status().message());
      query.by = *month;
      query.byText = value;
    } else {
      if (table) return fail("--table names one table.");
      if (value != "amortization" && value != "investment") {
        return fail(WithQuoted("--table needs amortization or investment, not ", value, "."));
      }
      table = value;
      query.investmentTable = value == "investment";
    }
  }
  if (!mode) return fail("--results, --compare, --needed or --csv PLAN is missing.");
  if (query.mode == PlanQueryMode::kNeeded && !query.by) {
    return fail("--needed needs --by YYYY-MM, the month to be debt free by.");
  }
  if (query.mode != PlanQueryMode::kNeeded && query.by) return fail("--by goes with --needed.");
  if (query.mode != PlanQueryMode::kCsv && table) return fail("--table goes with --csv.");
  return query;
}

// The plan path words, a report request among them, and the report's options.
std::variant<WindowStart, ReportRequest, CommandError> ReadStart(const std::vector<Token>& tokens) {
  WindowStart start;
  ReportRequest report;
  bool reportAsked = false;
  bool languageGiven = false;
  for (const Token& token : tokens) {
    if (std::string mistake = CommonMistake(token, tokens.size()); !mistake.empty()) {
      return CommandError{std::move(mistake)};
    }
    if (token.word == "--language") {
      if (languageGiven || (token.value != "English" && token.value != "Spanish")) {
        return CommandError{"--language needs English or Spanish, once."};
      }
      languageGiven = true;
      report.language = token.value == "Spanish" ? Language::kSpanish : Language::kEnglish;
    } else if (token.word == "--pdf") {
      report.pdf = true;
    } else if (IsReportRequest(token)) {
      reportAsked = true;
      report.reportName = token.word.size() > 4 ? token.word.substr(4) : std::string();
    } else {
      if (!report.planPath.empty()) report.planPath += ' ';
      report.planPath += token.word;
      start.planWords.push_back(token.word);
    }
  }
  if (!reportAsked) {
    if (report.pdf) return CommandError{ReportRequestOnly("--pdf")};
    if (languageGiven) return CommandError{ReportRequestOnly("--language")};
    return start;
  }
  if (report.reportName.empty()) {
    return CommandError{
        "the report request \"-<p>\" names no report; write the name after it, e.g. "
        "-<p>Report1."};
  }
  return report;
}

}  // namespace

Command ParseCommandLine(const std::vector<std::string>& args) {
  Command command;
  std::vector<Token> tokens;
  for (Token& token : Tokens(args)) {
    if (token.word != "--program-folder") {
      tokens.push_back(std::move(token));
    } else if (!token.value) {
      return {std::nullopt, CommandError{"--program-folder needs a folder."}};
    } else if (command.programFolder) {
      return {std::nullopt, CommandError{"--program-folder names one folder."}};
    } else {
      command.programFolder = *token.value;
    }
  }
  if (tokens.size() == 1 && (tokens[0].word == "--help" || tokens[0].word == "-h")) {
    command.action = ShowHelp{};
  } else if (tokens.size() == 1 && tokens[0].word == "--version") {
    command.action = ShowVersion{};
  } else if (std::any_of(tokens.begin(), tokens.end(), [](const Token& token) {
               return token.option && IsPlanQueryOption(token.word);
             })) {
    std::visit([&](auto&& value) { command.action = std::move(value); }, ReadPlanQuery(tokens));
  } else {
    std::visit([&](auto&& value) { command.action = std::move(value); }, ReadStart(tokens));
  }
  // Nothing is done with bad arguments, not even the folder's preparation.
  if (std::holds_alternative<CommandError>(command.action)) command.programFolder.reset();
  return command;
}

}  // namespace ardvane
