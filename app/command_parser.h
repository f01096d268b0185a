#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <variant>
#include <vector>

#include "engine/calendar.h"
#include "engine/language.h"

namespace ardvane {

// Start the window. `planWords` are the words that name the plan to open, joined with one
// blank between (a path with blanks may come unquoted in pieces); without words the window
// opens the last plan used, or a new one.
struct WindowStart {
  std::vector<std::string> planWords;
};

// Write the client report of a plan without a window (an argument containing "-<p>").
struct ReportRequest {
  // The plan path words joined with one blank between; empty when none were given.
  std::string planPath;
  // What follows the first four characters of the last argument containing "-<p>"; never
  // empty.
  std::string reportName;
  Language language = Language::kEnglish;
  bool pdf = false;  // also write <report name>.pdf beside the .doc
};

enum class PlanQueryMode { kResults, kCompare, kNeeded, kCsv };

// Read a plan and print what it works out: --results, --compare, --needed or --csv.
struct PlanQuery {
  PlanQueryMode mode = PlanQueryMode::kResults;
  std::filesystem::path plan;
  std::optional<std::filesystem::path> params;    // --params, else the program folder's
  std::optional<std::filesystem::path> settings;  // --settings, else the program folder's
  std::optional<YearMonth> by;                    // --by, with --needed only
  std::string byText;                             // --by as it was written
  bool investmentTable = false;                   // --table investment, with --csv only
};

struct ShowHelp {};
struct ShowVersion {};

// Arguments that ask for nothing the program can do. `message` says what is wrong, in one
// sentence, without the program's name.
struct CommandError {
  std::string message;
};

// What one run of the program is asked to do.
struct Command {
  // --program-folder DIR, wherever it stands, as it was written; none with a CommandError.
  std::optional<std::filesystem::path> programFolder;
  std::variant<WindowStart, ReportRequest, PlanQuery, ShowHelp, ShowVersion, CommandError> action;
};

// Reads the arguments after the program name. --program-folder DIR may stand anywhere; an
// option that takes a value takes the next word, whatever it is. Any of --results, --compare,
// --needed, --csv, --params, --settings, --by and --table makes the run a plan query; else an
// argument containing "-<p>" makes it a report request; else the words start the window.
// --help (or -h) and --version stand alone. Each mistake gives one message, whichever mode it
// is made in. Of several mistakes one is reported: a mistake with --program-folder, else the
// first from the left, else one of the whole (a plan query without its plan, say).
Command ParseCommandLine(const std::vector<std::string>& args);

// The text `ardvane --help` prints.
std::string UsageText();

// Writes "ardvane: ", the error's message, a blank line and the usage text on `err`; returns
// the exit status of bad arguments, 2.
int ReportCommandError(const CommandError& error, std::ostream& err);

}  // namespace ardvane
