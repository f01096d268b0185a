#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/plan_document.h"
#include "engine/regional_settings.h"
#include "engine/settings.h"
#include "reports/print_log.h"
#include "reports/report_generator.h"

namespace ardvane {

inline constexpr char kPayoffPictureName[] = "Paydown.bmp";
inline constexpr char kBalancesPictureName[] = "Balances.bmp";

// The numbers of the text boxes that receive the two chart pictures, 0 for a picture that the
// report's sections leave out. The plan strategy paragraphs hold six boxes ahead of both; the
// balances box comes first and is left out with the payoff projections page.
struct PictureBoxNumbers {
  int payoffDates = 0;
  int balances = 0;
};
PictureBoxNumbers PictureBoxesFor(const AppSettings& settings);

// Puts the chart pictures of the program folder ("Paydown.bmp", "Balances.bmp") into the
// text boxes of the report document at `path` (the word processor's part, done here on the
// HTML document): each picture replaces its box's content as a PNG stored in the document.
// A picture file that does not exist leaves its box as it is. The document is written back
// atomically. Fails when the document cannot be read or written, a picture cannot be read,
// or a box of the needed number is missing; the document is then unchanged and `error` says
// why.
bool PlaceGraphics(const std::filesystem::path& path, const AppSettings& settings,
                   const std::filesystem::path& programFolder, std::string* error);

// The message shown when PlaceGraphics fails.
inline constexpr char kPlaceGraphicsFailed[] =
    "Could not place graphics on report.\n\nA word processor is required for printing.  "
    "Please make sure it is properly installed.";

// What WriteReportDocument did.
struct ReportDocumentOutcome {
  bool saved = false;     // the report file was written
  bool complete = false;  // ... and its pictures are in place
  // The paragraphs that could not be found, each once (GenerateReport); the caller names
  // them, whether or not the report was saved.
  std::vector<std::filesystem::path> missingParagraphs;
};

// GenerateReport followed by PlaceGraphics: the finished report document at `path`. A failure
// is shown through `context.showError` (the failed write, a picture that could not be drawn,
// or kPlaceGraphicsFailed); the missing paragraphs are left to the caller.
ReportDocumentOutcome WriteReportDocument(const ReportContext& context,
                                          const std::filesystem::path& path);

// The report's file name: last name, ", ", first name, a blank, the plan date in the short
// date format, then a blank and `languageWord` when the permission "Language" is on, and
// ".doc". A "/" (the date's separator, or one typed into a name) becomes ".", since a file
// name cannot hold it.
std::string ReportFileName(const PlanDocument& plan, bool languagePermitted,
                           const std::string& languageWord, const RegionalSettings& regional);

// The report directory setting joined with a file name. The setting normally ends in a
// separator; one is put in between when it does not.
std::filesystem::path ReportFilePath(const std::string& reportDirectory, const std::string& name);

// The answer to the question about an existing report file.
enum class FileExistsAnswer { Overwrite, Open, Cancel };

// What the print command needs from the window around it.
class PrintSurroundings {
 public:
  virtual ~PrintSurroundings() = default;
  // The question about an existing report file at `path`.
  virtual FileExistsAnswer AskFileExists(const std::string& path) = 0;
  // The desktop's "Open" action; a code below 32 means it failed.
  virtual int OpenDocument(const std::string& path) = 0;
  virtual void ShowInformation(const std::string& message) = 0;
  // The moment a print is logged.
  virtual LocalDateTime Now() = 0;
};

// One print command after its language is chosen.
struct PrintJob {
  std::string reportDirectory;
  std::filesystem::path reportPath;
  std::filesystem::path programFolder;
  bool printLog = false;  // the permission "Print Log"
  RegionalSettings regional;
  // Writes the report document (WriteReportDocument); false when the report was not saved,
  // after it has said why.
  std::function<bool(const std::filesystem::path&)> generate;
};

// What a print command did.
struct PrintOutcome {
  bool generated = false;
  bool opened = false;  // the open action was called (with openResult)
  int openResult = 0;
  bool logged = false;
};

inline constexpr char kWordProcessorMissing[] =
    "A word processor is required to generate printed reports.\n\n"
    "Please make sure it is properly installed.";
inline constexpr char kCouldNotLogPrint[] = "Could not log print job";

// What the print and PDF commands do first: make the report directory when it is missing (one
// level), ask about an existing report file (overwrite it, use it as it is, or stop) and write
// the report unless the old one is to be used. Nothing when the user stopped or the report was
// not written (`generate` has said why); otherwise whether the report was written now.
std::optional<bool> WriteOrReuseReport(
    const std::string& reportDirectory, const std::filesystem::path& reportPath,
    const std::function<bool(const std::filesystem::path&)>& generate,
    const std::function<FileExistsAnswer(const std::string&)>& askFileExists);

// PrepareReportFile: makes the report directory when it is missing (one level), asks about an
// existing report file (overwrite it, open it as it is, or stop), generates the report,
// opens it through the desktop and, when the print log is on, logs the print. A print whose
// old file is opened as it is, is not logged.
PrintOutcome PrepareReportFile(const PrintJob& job, PrintSurroundings& surroundings);

}  // namespace ardvane
