#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "engine/plan_document.h"
#include "engine/regional_settings.h"
#include "engine/settings.h"
#include "platform/desktop_open.h"
#include "reports/print_log.h"
#include "reports/report_blocks.h"
#include "reports/report_generator.h"

namespace ardvane {

// The office's copies of the last report's pictures, in the program folder.
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

// Puts the chart pictures into the text boxes of the report document `html` (the word
// processor's part, done here on the HTML text): each picture replaces its box's content as a
// PNG stored in the document. A null picture leaves its box as it is. Fails with InvalidData
// naming the box when a box of the needed number is missing; `html` is then unchanged.
Status PlaceGraphics(std::string* html, const AppSettings& settings, const EmbeddedPicture* payoff,
                     const EmbeddedPicture* balances);

// The report document finished in memory: assembled, its pictures drawn and placed, cut into
// its blocks.
struct FinishedReport {
  Status status;  // why it could not be finished, in the system's words
  ReportBlocks document;
  // As AssembledReport's: named by the caller whether or not the report was finished.
  std::vector<std::filesystem::path> missingParagraphs;
  // The payoff and balances pictures, for the office's copies; empty without pictures.
  std::vector<DrawnPicture> pictures;
};

// Assembles the report and draws its two pictures for it. A picture that cannot be drawn
// fails the report, with the picture's own cause.
FinishedReport FinishReport(const ReportContext& context);

// Draws the PDF of a finished report document: its bytes, or why it cannot.
using PdfRenderer = std::function<StatusOr<std::string>(const ReportBlocks& document)>;

// The PDF that WriteReportDocument writes beside the document, and what draws it (the PDF
// library's PdfRequestFor gives both).
struct PdfRequest {
  std::filesystem::path path;
  PdfRenderer render;
};

// What WriteReportDocument did.
struct ReportDocumentOutcome {
  bool saved = false;     // the report file was written, with its pictures
  bool complete = false;  // ... and so were the PDF asked for and the office's chart copies
  // The paragraphs that could not be found, each once (AssembleReport); the caller names
  // them, whether or not the report was saved.
  std::vector<std::filesystem::path> missingParagraphs;
  // The older PDF of this program taken away (with `dropStalePdf`), for the caller to say.
  std::optional<std::filesystem::path> removedPdf;
};

// The finished report (FinishReport) written to `path` in one atomic write: a run killed at
// any moment leaves the old complete file or the new one. With `pdf`, the PDF is drawn from
// the same document and written to a temporary file first, then the document and then the PDF
// replace their files, so neither is ever half written. A report that cannot be finished or a
// PDF that cannot be drawn replaces neither file. An older file under the PDF's name is moved
// aside (SetAsidePathFor) before the document is replaced, put back when the document cannot
// be written, and removed once the new PDF is in place or has failed: a run killed between the
// two replacements leaves the new document without a PDF, never beside the older one.
// Without `pdf` but with `dropStalePdf`, a PDF of this program beside the document
// (StalePdfBeside) is taken away in the same way: moved aside before the document is replaced
// and removed after, or left where it is with the older document when that cannot be done. Last,
// the pictures are copied to "Paydown.bmp" and "Balances.bmp" in the program folder for the
// office's own use; no report reads them. A failure is shown through `context.showError`; the
// missing paragraphs are left to the caller.
ReportDocumentOutcome WriteReportDocument(const ReportContext& context,
                                          const std::filesystem::path& path,
                                          const PdfRequest* pdf = nullptr,
                                          bool dropStalePdf = false);

// Where WriteReportDocument keeps the older PDF `pdfPath` while the new pair replaces the old:
// a hidden file beside it, which the next run of the same report replaces and removes when a
// run was killed meanwhile.
std::filesystem::path SetAsidePathFor(const std::filesystem::path& pdfPath);

// For tests: `hook` (when set) is called by WriteReportDocument with the name of each step of
// replacing the files as it is done ("pdf set aside", "document written", "pdf written"); one
// that throws stops the run there, as a crash would.
void SetReportWriteStepHook(std::function<void(std::string_view step)> hook);

// The PDF beside the report at `reportPath` (PdfPathFor) when this program wrote it: a report
// written now without a PDF would leave it showing other figures under the same name. Nothing
// when there is none, or another program made it.
std::optional<std::filesystem::path> StalePdfBeside(const std::filesystem::path& reportPath);

// Whether the PDF at `path` says in its creator field that this program made it.
bool PdfMadeByThisProgram(const std::filesystem::path& path);

// The creator field of the PDFs this program writes.
inline constexpr char kPdfCreator[] = "Ardvane";

// `reportPath` with ".pdf" in place of its extension.
std::filesystem::path PdfPathFor(const std::filesystem::path& reportPath);

// The report's file name: last name, ", ", first name, a blank, the plan date in the short
// date format, then a blank and `languageWord` when the permission "Language" is on, and
// ".doc"; made safe by SafeFileName (a "/", the date's separator or typed into a name,
// becomes ".").
std::string ReportFileName(const PlanDocument& plan, bool languagePermitted,
                           const std::string& languageWord, const RegionalSettings& regional);

// The folder reports and notes are written to, from the "Report Directory" setting: always an
// absolute path ending in "/". An empty (or blank) setting is the program folder's "Reports"
// folder, the installer's default; a relative one lies in the program folder.
std::string ReportFolder(const std::string& reportDirectory,
                         const std::filesystem::path& programFolder);

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
  // The desktop's "Open" action: `done` receives its result, at once or later from the event
  // loop.
  virtual void OpenDocument(const std::string& path, DesktopOpenDone done) = 0;
  virtual void ShowInformation(const std::string& message) = 0;
  // A question to answer yes (true) or no.
  virtual bool Confirm(const std::string& question) = 0;
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
  // Writes the report document (WriteReportDocument, taking away the stale PDF beside it when
  // `dropStalePdf`); false when the report was not saved, after it has said why.
  std::function<bool(const std::filesystem::path&, bool dropStalePdf)> generate;
};

// What a print command did.
struct PrintOutcome {
  bool generated = false;
  bool opened = false;  // the open action was called (with openResult)
  DesktopOpenResult openResult = DesktopOpenResult::kFailed;
  bool logged = false;
};

inline constexpr char kWordProcessorMissing[] =
    "A word processor is required to generate printed reports.\n\n"
    "Please make sure it is properly installed.";
inline constexpr char kCouldNotLogPrint[] = "Could not log print job";
// When the desktop cannot open the blank data collection form.
inline constexpr char kDataFormNeedsWordProcessor[] =
    "A word processor is required to open the data collection form.\n\n"
    "Please make sure it is properly installed.";

// Makes the report directory when it is missing, one level only: a deeper missing path is left
// to fail when the report is written, with its reason.
void MakeReportDirectory(const std::string& reportDirectory);

// What the print and PDF commands do first: make the report directory when it is missing (one
// level), ask about an existing report file (overwrite it, use it as it is, or stop) and write
// the report unless the old one is to be used. Before the report is written, a stale PDF of
// this program beside it (StalePdfBeside) is named in a question (`confirm`); told yes,
// `generate` takes it away as it replaces the document, so that the new document never stands
// beside it, not even after a crash. Nothing when the user stopped or the report was not
// written (`generate` has said why); otherwise whether the report was written now.
std::optional<bool> WriteOrReuseReport(
    const std::string& reportDirectory, const std::filesystem::path& reportPath,
    const std::function<bool(const std::filesystem::path&, bool dropStalePdf)>& generate,
    const std::function<FileExistsAnswer(const std::string&)>& askFileExists,
    const std::function<bool(const std::string&)>& confirm);

// The question WriteOrReuseReport asks about the stale PDF at `pdf`.
std::string StalePdfQuestion(const std::filesystem::path& pdf);

// PrepareReportFile: makes the report directory when it is missing (one level), asks about an
// existing report file (overwrite it, open it as it is, or stop), asks whether to remove a
// stale PDF of this program beside it (StalePdfBeside), generates the report and opens it
// through the desktop. Once the desktop has said whether it could open it, a failure shows the word
// processor message and, when the print log is on, the print is logged with the result code.
// A print whose old file is opened as it is, is not logged. `finished` (when given) receives
// what the command did, once: at once when it stopped before the open, otherwise when the
// open's outcome is known. `surroundings` is kept until then.
void PrepareReportFile(const PrintJob& job, std::shared_ptr<PrintSurroundings> surroundings,
                       std::function<void(const PrintOutcome&)> finished = {});

}  // namespace ardvane
