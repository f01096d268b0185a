#include "reports/pdf_export.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFont>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextFrame>
#include <QTextLayout>
#include <cmath>
#include <QTextImageFormat>
#include <system_error>
#include <vector>

#include "planfiles/atomic_file.h"

namespace ardvane {
namespace {

// Reports of long plans with every table run to tens of megabytes; this leaves room.
constexpr std::size_t kMaxReportBytes = std::size_t{1} << 30;

// Device pixels per inch of the PDF's drawing: fine enough for text positions; the pictures
// keep their own pixels.
constexpr int kResolution = 300;
constexpr double kMarginMillimetres = 20;
constexpr double kTopMarginMillimetres = 18;
constexpr double kBottomMarginMillimetres = 12;
// The band under the text that holds the page number.
constexpr double kFooterMillimetres = 10;

double MillimetresToPixels(double millimetres) { return millimetres / 25.4 * kResolution; }

// The rich-text engine's image sizes are screen pixels of this many per inch.
constexpr double kImagePixelsPerInch = 96;

// Scales down every picture wider than `maxWidth` (in image pixels), keeping its proportions:
// a chart sized for the screen would otherwise run off the right of the page.
void FitPicturesToWidth(QTextDocument& document, qreal maxWidth) {
  struct Picture {
    int position;
    int length;
    QTextImageFormat format;
  };
  std::vector<Picture> wide;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      const QTextImageFormat image = fragment.charFormat().toImageFormat();
      if (image.isValid() && image.width() > maxWidth) {
        wide.push_back({fragment.position(), fragment.length(), image});
      }
    }
  }
  for (Picture& picture : wide) {
    const qreal scale = maxWidth / picture.format.width();
    picture.format.setWidth(maxWidth);
    if (picture.format.height() > 0) picture.format.setHeight(picture.format.height() * scale);
    QTextCursor cursor(&document);
    cursor.setPosition(picture.position);
    cursor.setPosition(picture.position + picture.length, QTextCursor::KeepAnchor);
    cursor.setCharFormat(picture.format);
  }
}

// The engine moves a line that would cross the foot of a page to the next one, but not
// always after a table that ran over pages: such lines would be cut in two. Each paragraph
// (outside tables) that has one gets a page break before it, until none is left.
void KeepLinesWhole(QTextDocument& document, qreal pageHeight) {
  constexpr int kMaxPasses = 10;
  QAbstractTextDocumentLayout* layout = document.documentLayout();
  const QTextFrame* root = document.rootFrame();
  for (int pass = 0; pass < kMaxPasses; ++pass) {
    layout->pageCount();  // lays the document out
    std::vector<std::pair<QTextBlock, qreal>> cut;  // with how far it must move down
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
      const QTextLayout* lines = block.layout();
      if (lines == nullptr || lines->lineCount() == 0) continue;
      if (QTextCursor(block).currentFrame() != root) continue;
      const QRectF box = layout->blockBoundingRect(block);
      for (int i = 0; i < lines->lineCount(); ++i) {
        const QTextLine line = lines->lineAt(i);
        const qreal top = box.top() + line.y();
        const qreal bottom = top + line.height();
        if (std::floor((top + 1) / pageHeight) != std::floor((bottom - 1) / pageHeight)) {
          cut.emplace_back(block, std::ceil((top + 1) / pageHeight) * pageHeight - top);
          break;
        }
      }
    }
    if (cut.empty()) return;
    for (const auto& [block, distance] : cut) {
      QTextBlockFormat format = block.blockFormat();
      format.setTopMargin(format.topMargin() + distance);
      QTextCursor(block).setBlockFormat(format);
    }
  }
}

}  // namespace

std::optional<std::string> RenderReportPdf(const std::string& html, PaperSize paper,
                                           std::string* error) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QPdfWriter writer(&buffer);
  writer.setResolution(kResolution);
  writer.setPageSize(QPageSize(paper == PaperSize::kLetter ? QPageSize::Letter : QPageSize::A4));
  writer.setPageMargins(QMarginsF(kMarginMillimetres, kTopMarginMillimetres, kMarginMillimetres,
                                  kBottomMarginMillimetres),
                        QPageLayout::Millimeter);
  writer.setCreator(QStringLiteral("Ardvane"));
  const qreal footer = MillimetresToPixels(kFooterMillimetres);
  const QSizeF body(writer.width(), writer.height() - footer);

  // Laid out for the PDF itself, so that point sizes and picture sizes come out as on paper.
  QTextDocument document;
  document.documentLayout()->setPaintDevice(&writer);
  document.setHtml(QString::fromUtf8(html.data(), static_cast<qsizetype>(html.size())));
  document.setDocumentMargin(0);
  writer.setTitle(document.metaInformation(QTextDocument::DocumentTitle));
  // Room for the frame and padding of the box a picture sits in.
  FitPicturesToWidth(document, 0.92 * body.width() * kImagePixelsPerInch / kResolution);
  document.setPageSize(body);
  KeepLinesWhole(document, body.height());
  const int pages = document.pageCount();

  QPainter painter;
  if (!painter.begin(&writer)) {
    *error = "The PDF could not be drawn.";
    return std::nullopt;
  }
  QFont footerFont = document.defaultFont();
  footerFont.setPointSizeF(8);
  for (int page = 0; page < pages; ++page) {
    if (page > 0) writer.newPage();
    painter.save();
    painter.translate(0, -page * body.height());
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = QRectF(0, page * body.height(), body.width(), body.height());
    // Blocks that cross the page's foot are drawn whole; what falls below it belongs to the
    // next page.
    painter.setClipRect(context.clip);
    document.documentLayout()->draw(&painter, context);
    painter.restore();
    painter.setFont(footerFont);
    painter.setPen(Qt::darkGray);
    painter.drawText(QRectF(0, body.height(), body.width(), footer),
                     Qt::AlignHCenter | Qt::AlignBottom, QString::number(page + 1));
  }
  if (!painter.end()) {
    *error = "The PDF could not be drawn.";
    return std::nullopt;
  }
  return bytes.toStdString();
}

bool WriteReportPdf(const std::filesystem::path& documentPath,
                    const std::filesystem::path& pdfPath, PaperSize paper, std::string* error) {
  std::string html;
  if (!ReadWholeFile(documentPath, kMaxReportBytes, &html, error)) {
    *error = "The report could not be read: " + *error;
    return false;
  }
  const std::optional<std::string> pdf = RenderReportPdf(html, paper, error);
  if (!pdf) return false;
  std::string reason;
  if (!WriteFileAtomically(pdfPath, *pdf, &reason)) {
    *error = "The PDF could not be saved as \"" + pdfPath.string() + "\": " + reason + ".";
    return false;
  }
  return true;
}

std::filesystem::path PdfPathFor(const std::filesystem::path& reportPath) {
  std::filesystem::path pdf = reportPath;
  pdf.replace_extension(".pdf");
  return pdf;
}

std::string PdfSavedMessage(const std::filesystem::path& pdfPath) {
  return "The report was saved as a PDF:\n\n" + pdfPath.string();
}

PdfExportOutcome ExportReportPdf(const PdfExportJob& job, PdfExportSurroundings& surroundings) {
  PdfExportOutcome outcome;
  std::error_code ec;
  if (!job.reportDirectory.empty() && !std::filesystem::exists(job.reportDirectory, ec)) {
    std::filesystem::create_directory(job.reportDirectory, ec);  // a failure shows when saving
  }
  bool generate = true;
  if (std::filesystem::exists(job.reportPath, ec)) {
    switch (surroundings.AskFileExists(job.reportPath.string())) {
      case FileExistsAnswer::Cancel:
        return outcome;
      case FileExistsAnswer::Open:
        generate = false;
        break;
      case FileExistsAnswer::Overwrite:
        break;
    }
  }
  if (generate) {
    if (!job.generate(job.reportPath)) return outcome;
    outcome.generated = true;
  }
  const std::optional<std::filesystem::path> target = surroundings.ChoosePdfFile(
      job.reportPath.parent_path(), PdfPathFor(job.reportPath).filename().string());
  if (!target) return outcome;
  std::string error;
  if (!WriteReportPdf(job.reportPath, *target, job.paper, &error)) {
    surroundings.ShowError(error);
    return outcome;
  }
  outcome.pdf = *target;
  surroundings.ShowInformation(PdfSavedMessage(*target));
  return outcome;
}

}  // namespace ardvane
