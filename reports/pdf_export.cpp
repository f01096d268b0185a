#include "reports/pdf_export.h"

#include <QFont>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <string_view>
#include <vector>

#include "base/atomic_file.h"
#include "base/text.h"
#include "reports/pdf_layout.h"
#include "reports/pdf_page_composer.h"
#include "reports/pdf_table_reader.h"
#include "reports/report_tables.h"

namespace ardvane {
namespace {

using namespace pdf;

// Reports of long plans with every table run to tens of megabytes; this leaves room.
constexpr std::size_t kMaxReportBytes = std::size_t{1} << 30;

// Appends what is written to it to a string: the PDF is then held once, not in a buffer and
// again in the string returned.
class StringOutput : public QIODevice {
 public:
  explicit StringOutput(std::string* out) : out_(out) {}
  bool isSequential() const override { return true; }

 protected:
  qint64 readData(char* /*data*/, qint64 /*size*/) override { return -1; }
  qint64 writeData(const char* data, qint64 size) override {
    out_->append(data, static_cast<std::size_t>(size));
    return size;
  }

 private:
  std::string* out_;
};

// A PDF writer for A4 or Letter with the report's resolution and margins.
void SetUpWriter(QPdfWriter& writer, PaperSize paper) {
  writer.setResolution(kResolution);
  writer.setPageSize(QPageSize(paper == PaperSize::kLetter ? QPageSize::Letter : QPageSize::A4));
  writer.setPageMargins(QMarginsF(kMarginMillimetres, kTopMarginMillimetres, kMarginMillimetres,
                                  kBottomMarginMillimetres),
                        QPageLayout::Millimeter);
}

// The text of the <style> elements of a document's head.
std::string StyleSheet(const std::string& head) {
  const std::string lower = AsciiLower(head);
  std::string css;
  for (std::size_t at = lower.find("<style"); at != std::string::npos;
       at = lower.find("<style", at + 1)) {
    const std::size_t from = lower.find('>', at);
    const std::size_t to = lower.find("</style", at);
    if (from == std::string::npos || to == std::string::npos || to < from) break;
    css.append(head, from + 1, to - from - 1);
  }
  return css;
}

// The page look read from the head of the document: its title, the body's type and the
// tables' look.
struct HeadLook {
  QString title;
  QFont bodyFont;
  PdfTableStyle tableStyle;
};

HeadLook ReadHead(const std::string& head) {
  // Read from a document of the head alone.
  QTextDocument probe;
  probe.setHtml(QString::fromStdString(head + "<body><p>x</p></body></html>"));
  HeadLook look;
  look.title = probe.metaInformation(QTextDocument::DocumentTitle);
  QTextCursor first(&probe);
  first.movePosition(QTextCursor::NextCharacter);
  look.bodyFont = first.charFormat().font();
  look.bodyFont.setHintingPreference(QFont::PreferNoHinting);
  look.tableStyle = ReadPdfTableStyle(StyleSheet(head), look.bodyFont);
  return look;
}

// Lays the stretches out in one document, or in one each when the text holds the mark that
// parts them.
void LayOutAllTexts(const std::string& head, const std::vector<TextStretch>& stretches,
                    QSizeF body, QPaintDevice* device, std::vector<LaidOutText>* texts,
                    std::vector<std::vector<Unit>>* textUnits) {
  if (stretches.empty() || LayOutTexts(head, stretches, body.width(), body.height(), device, 0,
                                       &texts->emplace_back(), textUnits)) {
    return;
  }
  texts->clear();
  textUnits->clear();
  for (std::size_t k = 0; k < stretches.size(); ++k) {
    std::vector<std::vector<Unit>> one;
    LayOutTexts(head, {stretches[k]}, body.width(), body.height(), device, static_cast<int>(k),
                &texts->emplace_back(), &one);
    textUnits->push_back(std::move(one.front()));
  }
}

}  // namespace

std::vector<PdfPart> PdfPartsOf(const ReportBlocks& document) {
  if (!document.hasBody) {
    return {{PdfPart::Kind::kText, DropPageFooters(document.body.front().html), false}};
  }
  std::vector<PdfPart> parts;
  std::string text;
  bool newPage = false;
  const auto addText = [&] {
    std::string kept = DropPageFooters(text);
    if (!IsBlank(kept, kWhiteSpace)) {  // blanks only, no element
      parts.push_back({PdfPart::Kind::kText, std::move(kept), newPage});
      newPage = false;
    }
    text.clear();
  };
  for (const ReportBlock& block : document.body) {
    if (block.kind == ReportBlock::Kind::kTable) {
      addText();
      // The blanks after the table begin the text after it.
      const std::size_t end = block.html.rfind('>') + 1;
      newPage = newPage || block.newPage;
      parts.push_back({PdfPart::Kind::kTable, block.html.substr(0, end), newPage});
      newPage = false;
      text.assign(block.html, end);
      continue;
    }
    if (block.newPage) {
      addText();
      newPage = true;
    }
    text += block.html;
  }
  addText();
  return parts;
}

StatusOr<std::string> RenderReportPdf(const ReportBlocks& document, PaperSize paper) {
  std::string bytes;
  std::size_t size = document.head.size();
  for (const ReportBlock& block : document.body) size += block.html.size();
  bytes.reserve(std::min(size, kMaxReportBytes));
  StringOutput output(&bytes);
  output.open(QIODevice::WriteOnly);
  QPdfWriter writer(&output);
  SetUpWriter(writer, paper);
  writer.setCreator(QString::fromUtf8(kPdfCreator));
  const qreal footer = MillimetresToPixels(kFooterMillimetres);
  const QSizeF body(writer.width(), writer.height() - footer);

  const std::vector<PdfPart> parts = PdfPartsOf(document);
  const std::string head = DropPageFooters(
      document.hasBody ? document.head : std::string(TextBeforeBody(document.body.front().html)));
  const HeadLook look = ReadHead(head);
  writer.setTitle(look.title);

  // The tables the painter draws; the rest goes to the rich-text engine, in stretches.
  PageContent content;
  std::vector<TextStretch> stretches;
  for (std::size_t k = 0; k < parts.size(); ++k) {
    const PdfPart& part = parts[k];
    if (part.kind == PdfPart::Kind::kTable && IsPdfTable(part.html)) {
      content.items.push_back({true, content.tables.size(), part.newPage});
      content.tables.push_back(part.html);
      continue;
    }
    const bool leadsIn = k + 1 < parts.size() && parts[k + 1].kind == PdfPart::Kind::kTable &&
                         !parts[k + 1].newPage;
    content.items.push_back({false, stretches.size(), part.newPage});
    stretches.push_back({part.html, part.newPage, leadsIn});
  }
  std::vector<LaidOutText> texts;
  LayOutAllTexts(head, stretches, body, &writer, &texts, &content.textUnits);
  content.texts = &texts;
  content.style = &look.tableStyle;

  QPainter painter;
  if (!painter.begin(&writer)) return Status::IoError("The PDF could not be drawn.");
  QFont footerFont = look.tableStyle.font;
  footerFont.setPointSizeF(8);
  ComposePages(painter, writer, body, footer, footerFont, std::move(content));
  if (!painter.end()) return Status::IoError("The PDF could not be drawn.");
  output.close();
  return bytes;
}

StatusOr<std::string> RenderReportPdf(std::string_view html, PaperSize paper) {
  return RenderReportPdf(CutReportBlocks(JoinTableRuns(html)), paper);
}

PdfRequest PdfRequestFor(const std::filesystem::path& path, PaperSize paper) {
  return {path, [paper](const ReportBlocks& document) { return RenderReportPdf(document, paper); }};
}

Status WriteReportPdf(const std::filesystem::path& documentPath,
                      const std::filesystem::path& pdfPath, PaperSize paper) {
  const StatusOr<std::string> html = ReadWholeFile(documentPath, kMaxReportBytes);
  if (!html.ok()) return html.status().Prefixed("The report could not be read");
  const StatusOr<std::string> pdf = RenderReportPdf(std::string_view(*html), paper);
  if (!pdf.ok()) return pdf.status();
  const Status written = WriteFileAtomically(pdfPath, *pdf);
  if (written.ok()) return written;
  return written.WithMessage("The PDF could not be saved as \"" + pdfPath.string() +
                             "\": " + written.message() + ".");
}

std::string PdfSavedMessage(const std::filesystem::path& pdfPath) {
  return "The report was saved as a PDF:\n\n" + pdfPath.string();
}

namespace {

// Asks where the PDF of the report goes and writes it there; where it went, if anywhere.
std::optional<std::filesystem::path> WritePdfWhereChosen(const PdfExportJob& job,
                                                         PdfExportSurroundings& surroundings) {
  const std::optional<std::filesystem::path> target = surroundings.ChoosePdfFile(
      job.reportPath.parent_path(), PdfPathFor(job.reportPath).filename().string());
  if (!target) return std::nullopt;
  surroundings.ShowBusy(true);
  const Status written = WriteReportPdf(job.reportPath, *target, job.paper);
  surroundings.ShowBusy(false);
  if (!written.ok()) {
    surroundings.ShowError(written.message());
    return std::nullopt;
  }
  surroundings.ShowInformation(PdfSavedMessage(*target));
  return target;
}

}  // namespace

PdfExportOutcome ExportReportPdf(const PdfExportJob& job, PdfExportSurroundings& surroundings) {
  PdfExportOutcome outcome;
  const std::optional<bool> generated =
      WriteOrReuseReport(job.reportDirectory, job.reportPath, job.generate,
                         [&](const std::string& name) { return surroundings.AskFileExists(name); },
                         [&](const std::string& question) { return surroundings.Confirm(question); });
  if (!generated) return outcome;
  outcome.generated = *generated;
  outcome.pdf = WritePdfWhereChosen(job, surroundings);
  return outcome;
}

}  // namespace ardvane