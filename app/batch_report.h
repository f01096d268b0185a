#pragma once

#include <ostream>

#include "app/command_line.h"
#include "ui/startup_arguments.h"

namespace ardvane {

// The command line's report request (an argument containing "-<p>"): reads the plan named by
// the other words, calculates it and writes its report in `language` (0 English, the
// request's own language; 1 Spanish, which the permission "Language" must allow), pictures
// included, as
// <report directory><report name>.doc. Nothing is shown and nothing is asked: the report
// directory is not made, an existing report is replaced, the report is not opened and no
// print is logged. Needs a QApplication, since the chart pictures are drawn by widgets.
//
// Returns the exit status: 0 when the report was written with its pictures; 1 when it was not
// (a plan that cannot be read, unreadable settings or parameters, a report directory that is
// missing or not writable) or lacks its pictures; 2 when the request names no report or asks
// for Spanish where it is not permitted. A plan
// that cannot be read gives "Could not open file " and its name on `err`, and no report:
// the report of an empty plan would pass for the client's.
int RunBatchReport(const StartupRequest& request, int language, const CommandLineEnvironment& env,
                   std::ostream& err);

}  // namespace ardvane
