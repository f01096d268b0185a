#pragma once

#include <ostream>

#include "app/command_line.h"
#include "platform/paper_size.h"

namespace ardvane {

// The command line's report request (an argument containing "-<p>"): reads the plan named by
// the other words, calculates it and writes its report in `request.language` (English, the
// request's own language, or Spanish, which the permission "Language" must allow), pictures
// included, as <report directory><report name>.doc, and with `request.pdf` its PDF as
// <report name>.pdf beside it on `paper`. Nothing is shown and nothing is asked: the report
// directory is not made, an existing report is replaced, the report is not opened and no print is
// logged. Needs a QApplication, since the chart pictures are drawn by widgets.
//
// Returns the exit status: 0 when the report was written with its pictures (and its PDF); 1
// when it was not (a plan that cannot be read, unreadable settings or parameters, a report
// directory that is missing or not writable), lacks its pictures, or its PDF could not be
// written (the .doc then stays); 2 when it asks for Spanish where it is not permitted. A plan that
// cannot be read gives "Could not open file " and its name on `err`, and no report: the report of
// an empty plan would pass for the client's.
int RunBatchReport(const ReportRequest& request, PaperSize paper, const CommandLineEnvironment& env,
                   std::ostream& err);

}  // namespace ardvane
