#pragma once

#include <string>
#include <vector>

namespace ardvane {

// What the command line and the "Last File" setting ask the window to do at start-up.
struct StartupRequest {
  // The plan file to open, or empty when a new plan is started.
  std::string fileToOpen;
  // True when the words name a plan to open (even when they join to an empty name, as for
  // a report request alone); then a failed open is reported.
  bool openRequested = false;
  // A report request: an argument containing "-<p>"; the name is what follows its first four
  // characters.
  bool batch = false;
  std::string batchReportName;
};

// Reads the program's plan-path words: every word that is not a report request is appended
// to the file to open with one blank between, so a path with blanks may come in pieces.
// Without words, `lastFile` is opened when `lastFileExists`.
StartupRequest ReadStartupArguments(const std::vector<std::string>& words,
                                    const std::string& lastFile, bool lastFileExists);

}  // namespace ardvane
