#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "engine/calendar.h"
#include "engine/regional_settings.h"

namespace ardvane {

// What the command line runs with: values the program takes from its surroundings once,
// at the top, so that tests can fix them.
struct CommandLineEnvironment {
  std::filesystem::path programFolder;
  RegionalSettings regional;
  DayNumber today = 0;
};

// The text `ardvane --help` prints.
std::string UsageText();

// Whether the arguments (after the program name and --program-folder) ask for one of the
// modes RunPlanCommand runs: any of its options appears.
bool IsPlanCommand(const std::vector<std::string>& args);

// Runs one of the modes that read a plan and print what it works out (arguments after the
// program name and --program-folder), each with [--params FILE] [--settings FILE]:
//   --results PLAN                  the plan's figures as one JSON object (ResultsToJson)
//   --compare PLAN                  every priority code side by side (StrategiesToJson)
//   --needed PLAN --by YYYY-MM      the power payment that makes the plan debt free by that
//                                   month (PowerPaymentGoalToJson)
//   --csv PLAN [--table amortization|investment]
//                                   a table as CSV (AmortizationCsv by default, or
//                                   InvestmentCsv), RFC 4180 without a byte-order mark
// It reads the plan (either file form), the parameters and the settings (by default those of
// the program folder), calculates and prints on `out`, flushed. Errors go to `err`. Returns
// the exit status: 0 on success, 1 when a file cannot be read or the output cannot be
// written, 2 for bad arguments (a --by that is no month, or one before the plan's month,
// among them).
int RunPlanCommand(const std::vector<std::string>& args, const CommandLineEnvironment& env,
                   std::ostream& out, std::ostream& err);

}  // namespace ardvane
