#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "platform/paper_size.h"
#include "reports/document_output.h"
#include "reports/report_blocks.h"

namespace ardvane {

// Lays out a finished report document (its pictures stored in it) on pages of `paper` and
// returns the bytes of a PDF of it: margins of about two centimetres, the page number at the
// foot of every page, a new page wherever the document asks for a page break. Tables are
// drawn by PdfTablePainter: no figure breaks over two lines, the heading rows of a table that
// runs over pages are drawn again at the top of each, and a heading stays with the first rows
// of the table after it. The rest goes through the toolkit's rich-text engine. A page footer
// of the document (`<div title="footer">`, as office suites mark it) is left out: the PDF
// numbers its pages itself. Needs a QGuiApplication (fonts). Fails with an IoError when the
// PDF cannot be drawn.
StatusOr<std::string> RenderReportPdf(const ReportBlocks& document, PaperSize paper);
// The same for a report document read as text: its row tables are joined first
// (JoinTableRuns), as the report's assembly joins them.
StatusOr<std::string> RenderReportPdf(std::string_view html, PaperSize paper);

// What WriteReportDocument needs to write the PDF at `path` on `paper` beside the document.
PdfRequest PdfRequestFor(const std::filesystem::path& path, PaperSize paper);

// A stretch of a report document's body as the PDF lays it out: a table standing outside any
// box (drawn by the table painter when it can read it), or the text between two such tables
// or page breaks (for the rich-text engine), without the page footers it holds.
struct PdfPart {
  enum class Kind { kText, kTable };
  Kind kind = Kind::kText;
  std::string html;
  bool newPage = false;  // it begins with a page break
};

// The document's body as the PDF lays it out, in order: its blocks with the text between
// tables and page breaks gathered. Text that is only blanks gives no part. A document without
// a body is one part of text.
std::vector<PdfPart> PdfPartsOf(const ReportBlocks& document);

// Reads the report document at `documentPath` and writes its PDF (RenderReportPdf) to
// `pdfPath`, atomically: an older PDF there stays whole until the new one is complete, and a
// PDF that cannot be written leaves it (and the document) untouched. A failure's message says
// what went wrong, naming the file: "The report could not be read: " and ReadWholeFile's
// message (with its kind), RenderReportPdf's failure, or an IoError naming the PDF.
Status WriteReportPdf(const std::filesystem::path& documentPath,
                      const std::filesystem::path& pdfPath, PaperSize paper);

// What the "Export PDF" command needs from the window around it.
class PdfExportSurroundings {
 public:
  virtual ~PdfExportSurroundings() = default;
  // The question about an existing report file at `path` (overwrite it, use it as it is, or
  // stop).
  virtual FileExistsAnswer AskFileExists(const std::string& path) = 0;
  // Asks where the PDF goes, proposing `proposedName` in `folder`; nothing when the user
  // cancels.
  virtual std::optional<std::filesystem::path> ChoosePdfFile(const std::filesystem::path& folder,
                                                             const std::string& proposedName) = 0;
  virtual void ShowInformation(const std::string& message) = 0;
  virtual void ShowError(const std::string& message) = 0;
  // The PDF is being made (a second or more for a long plan): on while it is, then off.
  virtual void ShowBusy(bool /*busy*/) {}
  // A question to answer yes (true) or no.
  virtual bool Confirm(const std::string& question) = 0;
};

// One "Export PDF" command after its language is chosen.
struct PdfExportJob {
  std::string reportDirectory;
  std::filesystem::path reportPath;
  PaperSize paper = PaperSize::kA4;
  // Writes the report document (WriteReportDocument, taking away the stale PDF beside it when
  // `dropStalePdf`); false when it was not saved, after it has said why.
  std::function<bool(const std::filesystem::path&, bool dropStalePdf)> generate;
};

// What an "Export PDF" command did.
struct PdfExportOutcome {
  bool generated = false;                    // the report document was written now
  std::optional<std::filesystem::path> pdf;  // where the PDF was written
};

// The message naming where the PDF went.
std::string PdfSavedMessage(const std::filesystem::path& pdfPath);

// ExportReportPdf: makes the report directory when it is missing (one level), asks about an
// existing report document (overwrite it, make the PDF of it as it is, or stop), asks whether
// to remove a stale PDF of this program beside it (StalePdfBeside) before the report is written
// over it, writes the report, asks where to save the PDF (the report's name with ".pdf", in the
// report's folder), writes the PDF and says where it went, or why it could not. The report is
// neither opened nor logged as printed.
PdfExportOutcome ExportReportPdf(const PdfExportJob& job, PdfExportSurroundings& surroundings);

}  // namespace ardvane
