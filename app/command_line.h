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

// Runs `ardvane --results PLAN [--params FILE] [--settings FILE]` (arguments after the
// program name): reads the plan (either file form), the parameters and the settings (by
// default those of the program folder), calculates and prints the results as one JSON object
// on `out`, flushed. Errors go to `err`. Returns the exit status: 0 on success, 1 when a file
// cannot be read or the results cannot be written, 2 for bad arguments.
int RunResultsCommand(const std::vector<std::string>& args, const CommandLineEnvironment& env,
                      std::ostream& out, std::ostream& err);

}  // namespace ardvane
