#include "app/command_line.h"

#include <optional>
#include <system_error>

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
         "  ardvane --help\n"
         "      Prints this text.\n"
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
      } else if (arg == "--params") {
        parsed.params = value;
      } else {
        parsed.settings = value;
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

bool IsReadableFile(const std::filesystem::path& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
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

  // Named files must exist; the program folder's own may be absent (their defaults apply).
  for (const auto& named : {parsed->params, parsed->settings}) {
    if (named && !IsReadableFile(*named)) {
      err << "ardvane: cannot read \"" << named->string() << "\".\n";
      return 1;
    }
  }
  PlanParameters params;
  if (parsed->params) {
    params = LoadParamsFile(*parsed->params, env.regional);
  } else if (ParamsFileExists(env.programFolder)) {
    params = LoadParams(env.programFolder, env.regional);
  }
  AppSettings settings = parsed->settings
                             ? LoadPreferencesFile(*parsed->settings, env.programFolder)
                             : LoadPreferences(env.programFolder);
  ApplyPermissions(settings, params);

  const PlanReadContext context{env.regional, params, env.today};
  PlanDocument plan;
  const ReadStatus status = ReadData(parsed->plan, plan, context);
  if (!status.ok()) {
    err << "ardvane: cannot read the plan: " << status.error << "\n";
    return 1;
  }
  const PlanResults results = Calculate(plan, params, settings, env.regional);
  out << ResultsToJson(plan, results) << "\n";
  return out.good() ? 0 : 1;
}

}  // namespace ardvane
