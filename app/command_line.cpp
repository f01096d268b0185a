#include "app/command_line.h"

#include <cerrno>
#include <cstring>
#include <optional>

#include "app/results_json.h"
#include "engine/plan_calculation.h"
#include "planfiles/plan_file.h"
#include "ui/settings_files.h"

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
         "  ardvane [--program-folder DIR] PLAN -<p>NAME [--language English|Spanish] [--pdf]\n"
         "      Writes the client report of the plan file PLAN, with its charts, as NAME.doc\n"
         "      in the report directory (Settings.ini; by default Reports/ in the program\n"
         "      folder) and ends, without a window or a question: an existing NAME.doc is\n"
         "      replaced. The report is in English unless --language says Spanish. Quote the\n"
         "      argument in a shell: ardvane data/Smith.bvx '-<p>Smith report'. --pdf also\n"
         "      writes the report as NAME.pdf beside NAME.doc, on A4 or Letter paper as the\n"
         "      locale uses; no word processor is needed. Errors go to standard error with a\n"
         "      non-zero exit status; a plan that cannot be read writes no report, and a PDF\n"
         "      that cannot be written leaves NAME.doc in place.\n"
         "  ardvane --help\n"
         "      Prints this text.\n"
         "  ardvane --version\n"
         "      Prints the program's version: \"ardvane\" and the number.\n"
         "\n"
         "--program-folder DIR uses DIR instead of the program's own folder for Settings.ini,\n"
         "Params.ini, Help/, Templates/ and the other files kept beside the program.\n";
}

namespace {

struct ResultsArguments {
  std::filesystem::path plan;
  std::optional<std::filesystem::path> params;
  std::optional<std::filesystem::path> settings;
};

std::optional<ResultsArguments> ParseArguments(const std::vector<std::string>& args,
                                               std::string* problem) {
  ResultsArguments parsed;
  bool havePlan = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "--results" || arg == "--params" || arg == "--settings") {
      if (!hasValue) {
        *problem = arg + " needs a file name.";
        return std::nullopt;
      }
      const std::filesystem::path value = args[++i];
      if (arg == "--results") {
        if (havePlan) {
          *problem = "--results names one plan file.";
          return std::nullopt;
        }
        parsed.plan = value;
        havePlan = true;
      } else {
        std::optional<std::filesystem::path>& file =
            arg == "--params" ? parsed.params : parsed.settings;
        // A second value would silently win over the first.
        if (file) {
          *problem = arg + (arg == "--params" ? " names one parameters file."
                                              : " names one settings file.");
          return std::nullopt;
        }
        file = value;
      }
    } else {
      *problem = "unknown argument \"" + arg + "\".";
      return std::nullopt;
    }
  }
  if (!havePlan) {
    *problem = "--results PLAN is missing.";
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

int RunResultsCommand(const std::vector<std::string>& args, const CommandLineEnvironment& env,
                      std::ostream& out, std::ostream& err) {
  std::string problem;
  const std::optional<ResultsArguments> parsed = ParseArguments(args, &problem);
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
  const PlanResults results = Calculate(plan, params, settings, env.regional);
  if (!Deliver(out, ResultsToJson(plan, results) + "\n")) {
    const int failure = errno;
    err << "ardvane: cannot write the results" << (failure != 0 ? ": " : "")
        << (failure != 0 ? std::strerror(failure) : "") << ".\n";
    return 1;
  }
  return 0;
}

}  // namespace ardvane
