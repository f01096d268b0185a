#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "base/status.h"
#include "engine/language.h"
#include "engine/plan_calculation.h"
#include "engine/plan_document.h"
#include "engine/regional_settings.h"
#include "engine/settings.h"
#include "platform/picture_embedding.h"

namespace ardvane {

// The two chart pictures of a report.
enum class ReportPicture { kPayoffDates, kBalances };

// A chart picture drawn for one report.
struct DrawnPicture {
  EmbeddedPicture embedded;  // as the document stores it
  std::string bitmap;        // the same picture as a Windows bitmap file, for the office's copy
};

// Draws the report's chart pictures in memory, so that no report reads a picture that another
// run could be writing. The windowed program draws them from its chart forms (the Spanish forms
// for a Spanish report); tests give pictures of their own.
class ReportPictures {
 public:
  virtual ~ReportPictures() = default;
  // Draws `kind` for a report in `language`; a failure's message says which picture and why.
  virtual StatusOr<DrawnPicture> Draw(ReportPicture kind, Language language) = 0;
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
  std::filesystem::path programFolder;  // Templates/, Language.kdf, the office's chart copies
  Language language = Language::kEnglish;
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
  // InvalidData when the report cannot be made at all (the paragraphs' folder is refused).
  Status status;
};

// Assembles the report. Paragraph files and Language.kdf are read once per call.
AssembledReport AssembleReport(const ReportContext& context);

}  // namespace ardvane
