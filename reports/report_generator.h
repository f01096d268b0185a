#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "engine/plan_calculation.h"
#include "engine/plan_document.h"
#include "engine/regional_settings.h"
#include "engine/settings.h"

namespace ardvane {

// The two chart pictures of a report.
enum class ReportPicture { kPayoffDates, kBalances };

// Draws the report's chart pictures. The windowed program draws them from its chart forms
// (the Spanish forms for language 1); tests record the calls.
class ReportPictures {
 public:
  virtual ~ReportPictures() = default;
  // Writes `kind` for report language `language` (0 English, 1 Spanish) as a Windows bitmap
  // at `path`, replacing an older file. On failure returns false and sets `error` to a
  // message naming the file.
  virtual bool Save(ReportPicture kind, int language, const std::filesystem::path& path,
                    std::string* error) = 0;
};

// What one report is made from. The plan has been calculated into `results` just before
// (the report reads the figures the window shows).
struct ReportContext {
  const PlanDocument* plan = nullptr;
  // The Options section re-runs the proposed plan on these results and then replaces them by
  // a fresh calculation of the plan, which gives the same figures as before.
  PlanResults* results = nullptr;
  const PlanParameters* params = nullptr;
  const AppSettings* settings = nullptr;  // company details and the "Print" switches
  const RegionalSettings* regional = nullptr;
  std::filesystem::path programFolder;  // Templates/, Language.kdf, the chart pictures
  int language = 0;                     // 0 English, 1 Spanish
  // Shows an error message box of WriteReportDocument (a failed write, a picture). May be
  // empty: nothing is shown.
  std::function<void(const std::string&)> showError;
  // May be null: no pictures are drawn.
  ReportPictures* pictures = nullptr;
};

// The assembled report.
struct AssembledReport {
  // The report document: kReportDocumentStart, then every filled paragraph in report order,
  // each line followed by CR LF, with the schedules' tables joined (JoinTableRuns). Values
  // are put in as ReportHtmlText gives them.
  std::string text;
  // The paragraphs that were missing, unreadable or empty and added nothing, each path once
  // however often it was asked for (a row paragraph is asked for once per row), in report
  // order. The caller names them (MissingParagraphMessage).
  std::vector<std::filesystem::path> missingParagraphs;
};

// Assembles the report. Paragraph files and Language.kdf are read once per call.
AssembledReport AssembleReport(const ReportContext& context);

// The outcome of GenerateReport.
struct ReportOutcome {
  bool saved = false;       // the report file was written
  std::string error;        // why it was not, in the system's words
  std::string pictureError; // a picture that could not be drawn (the report stands)
  std::vector<std::filesystem::path> missingParagraphs;  // as AssembledReport's
};

// Assembles the report, writes it to `path` (atomically: an older file stays whole until
// the new one is complete), then draws "Paydown.bmp" (payoff dates) and "Balances.bmp" (the
// balances chart) into the program folder. When the write fails nothing else happens and
// the outcome says why. Placing the pictures into the document is the caller's next step.
ReportOutcome GenerateReport(const ReportContext& context, const std::filesystem::path& path);

}  // namespace ardvane
