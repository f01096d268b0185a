#include "reports/pdf_export.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QCoreApplication>
#include <QFont>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPointer>
#include <QScopeGuard>
#include <QSemaphore>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextFrame>
#include <QTextImageFormat>
#include <QTextLayout>
#include <QTextTable>
#include <QThreadPool>
#include <algorithm>
#include <atomic>
#include <cctype>
#include <cmath>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string_view>
#include <system_error>
#include <thread>
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
// The room between two pieces on a page.
constexpr double kPieceGapPoints = 8;
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

// The rich-text engine draws collapsed borders and borders of each cell of its own very slowly
// (a schedule of a long plan holds thousands of cells). The PDF's tables draw their lines as
// separate borders of the table, in the colour the cells asked for.
void UseTableBorders(QTextFrame* frame) {
  for (QTextFrame* child : frame->childFrames()) {
    UseTableBorders(child);
    auto* table = qobject_cast<QTextTable*>(child);
    if (table == nullptr) continue;
    QTextTableFormat format = table->format();
    QBrush lines = format.borderBrush();
    bool cellsHadLines = false;
    for (int row = 0; row < table->rows(); ++row) {
      for (int column = 0; column < table->columns(); ++column) {
        QTextTableCell cell = table->cellAt(row, column);
        if (cell.row() != row || cell.column() != column) continue;  // spanned
        QTextTableCellFormat cellFormat = cell.format().toTableCellFormat();
        if (!cellFormat.hasProperty(QTextFormat::TableCellTopBorder)) continue;
        if (cellFormat.topBorder() > 0 &&
            cellFormat.topBorderStyle() != QTextFrameFormat::BorderStyle_None) {
          lines = cellFormat.topBorderBrush();
          cellsHadLines = true;
        }
        for (int property :
             {QTextFormat::TableCellTopBorder, QTextFormat::TableCellBottomBorder,
              QTextFormat::TableCellLeftBorder, QTextFormat::TableCellRightBorder,
              QTextFormat::TableCellTopBorderStyle, QTextFormat::TableCellBottomBorderStyle,
              QTextFormat::TableCellLeftBorderStyle, QTextFormat::TableCellRightBorderStyle,
              QTextFormat::TableCellTopBorderBrush, QTextFormat::TableCellBottomBorderBrush,
              QTextFormat::TableCellLeftBorderBrush, QTextFormat::TableCellRightBorderBrush}) {
          cellFormat.clearProperty(property);
        }
        cell.setFormat(cellFormat);
      }
    }
    format.setBorderCollapse(false);
    if (cellsHadLines && format.border() <= 0) format.setBorder(1);
    if (format.border() > 0) {
      format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
      format.setBorderBrush(lines);
    }
    table->setFormat(format);
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
    layout->pageCount();                            // lays the document out
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
    // One edit for the whole pass: every change on its own would lay the document out again.
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    for (const auto& [block, distance] : cut) {
      QTextBlockFormat format = block.blockFormat();
      format.setTopMargin(format.topMargin() + distance);
      cursor.setPosition(block.position());
      cursor.setBlockFormat(format);
    }
    cursor.endEditBlock();
  }
}

}  // namespace

namespace {

// Whether a start tag's text asks for a page break before the element.
bool AsksForPageBreak(std::string_view tag) {
  constexpr std::string_view kProperty = "page-break-before";
  for (std::size_t at = tag.find(kProperty); at != std::string_view::npos;
       at = tag.find(kProperty, at + 1)) {
    std::size_t i = at + kProperty.size();
    while (i < tag.size() && tag[i] == ' ') ++i;
    if (i >= tag.size() || tag[i] != ':') continue;
    ++i;
    while (i < tag.size() && tag[i] == ' ') ++i;
    if (tag.substr(i, 6) == "always") return true;
  }
  return false;
}

bool IsHeading(std::string_view name) {
  return name.size() == 2 && name[0] == 'h' && name[1] >= '1' && name[1] <= '6';
}

// A piece laid out on its own, ready to be drawn.
struct LaidOutPiece {
  std::unique_ptr<QTextDocument> document;
  bool newPage = false;
  bool empty = false;
  qreal height = 0;
  int pages = 0;
};

// Lays one piece out on pages of `body` (device pixels of `device`, which only lends its
// resolution).
void LayOutPiece(const std::string& html, const QSizeF& body, QPagedPaintDevice* device,
                 LaidOutPiece* out) {
  // Every change to a document that has its layout lays it out again: the layout is made
  // (by documentLayout()) only once the document is ready.
  auto document = std::make_unique<QTextDocument>();
  document->setHtml(QString::fromUtf8(html.data(), static_cast<qsizetype>(html.size())));
  document->setDocumentMargin(0);
  out->empty =
      document->toPlainText().trimmed().isEmpty() && document->rootFrame()->childFrames().isEmpty();
  {
    QTextCursor edit(document.get());
    edit.beginEditBlock();
    // The page break that begins a piece is the new page it is drawn on.
    if (QTextTable* table = edit.currentTable()) {
      QTextTableFormat format = table->format();
      format.setPageBreakPolicy(QTextFormat::PageBreak_Auto);
      table->setFormat(format);
    } else {
      QTextBlockFormat format = edit.blockFormat();
      format.setPageBreakPolicy(QTextFormat::PageBreak_Auto);
      edit.setBlockFormat(format);
    }
    UseTableBorders(document->rootFrame());
    edit.endEditBlock();
  }
  // Room for the frame and padding of the box a picture sits in.
  FitPicturesToWidth(*document, 0.92 * body.width() * kImagePixelsPerInch / kResolution);
  // The page size lays the document out, for the paint device already in place.
  document->documentLayout()->setPaintDevice(device);
  document->setPageSize(body);
  out->pages = document->pageCount();
  if (out->pages > 1) {
    KeepLinesWhole(*document, body.height());
    out->pages = document->pageCount();
  }
  out->height = document->documentLayout()->documentSize().height();
  out->document = std::move(document);
}

// The threads that lay report pieces out. They stay for the life of the application: each
// thread keeps the fonts it has loaded, so later exports start warm.
QThreadPool& LayoutThreads() {
  static QPointer<QThreadPool> pool;
  if (pool == nullptr) {
    pool = new QThreadPool(QCoreApplication::instance());
    pool->setExpiryTimeout(-1);
    // This thread lays out too, when it has nothing to draw.
    pool->setMaxThreadCount(
        static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 2u, 4u)) - 1);
  }
  return *pool;
}

// A PDF writer for A4 or Letter with the report's resolution and margins.
void SetUpWriter(QPdfWriter& writer, PaperSize paper) {
  writer.setResolution(kResolution);
  writer.setPageSize(QPageSize(paper == PaperSize::kLetter ? QPageSize::Letter : QPageSize::A4));
  writer.setPageMargins(QMarginsF(kMarginMillimetres, kTopMarginMillimetres, kMarginMillimetres,
                                  kBottomMarginMillimetres),
                        QPageLayout::Millimeter);
}

}  // namespace

std::string JoinRowTables(const std::string& html) {
  constexpr std::string_view kEnd = "</table>";
  std::string joined;
  joined.reserve(html.size());
  std::size_t copied = 0;
  // The start tag of the table being closed, once a join has removed the one nearer to it.
  std::size_t runStart = std::string::npos;
  for (std::size_t end = html.find(kEnd); end != std::string::npos;
       end = html.find(kEnd, end + kEnd.size())) {
    std::size_t start = html.rfind("<table", end);
    if (start != std::string::npos && start < copied) start = runStart;
    runStart = std::string::npos;
    std::size_t next = end + kEnd.size();
    while (next < html.size() && std::isspace(static_cast<unsigned char>(html[next]))) ++next;
    if (start == std::string::npos || html.compare(next, 6, "<table") != 0) continue;
    const std::size_t nextClose = html.find('>', next);
    const std::size_t startClose = html.find('>', start);
    if (nextClose == std::string::npos ||
        html.compare(start, startClose + 1 - start, html, next, nextClose + 1 - next) != 0) {
      continue;
    }
    joined.append(html, copied, end - copied);
    copied = nextClose + 1;
    runStart = start;
    end = nextClose + 1 - kEnd.size();
  }
  joined.append(html, copied, std::string::npos);
  return joined;
}

std::vector<ReportPiece> SplitReportPieces(const std::string& html) {
  const std::size_t bodyTag = html.find("<body");
  const std::size_t bodyStart = bodyTag == std::string::npos ? bodyTag : html.find('>', bodyTag);
  const std::size_t bodyEnd = html.rfind("</body>");
  if (bodyStart == std::string::npos || bodyEnd == std::string::npos || bodyEnd < bodyStart) {
    return {{html, false}};
  }
  const std::string head = html.substr(0, bodyStart + 1);
  const std::string tail = html.substr(bodyEnd);
  std::vector<ReportPiece> pieces;
  std::size_t from = bodyStart + 1;
  bool newPage = false;
  int depth = 0;
  for (std::size_t at = html.find('<', from); at < bodyEnd; at = html.find('<', at + 1)) {
    const std::size_t close = html.find('>', at);
    if (close == std::string::npos || close > bodyEnd) break;
    const bool closing = html[at + 1] == '/';
    const std::size_t nameStart = at + (closing ? 2 : 1);
    std::size_t nameEnd = nameStart;
    while (nameEnd < close && std::isalnum(static_cast<unsigned char>(html[nameEnd]))) ++nameEnd;
    std::string name = html.substr(nameStart, nameEnd - nameStart);
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (name == "div" || name == "table" || name == "ul" || name == "ol" || name == "blockquote" ||
        name == "center") {
      depth += closing ? -1 : 1;
    } else if (!closing && depth == 0) {
      // Only what stands outside boxes and tables starts a piece.
      const bool pageBreak = AsksForPageBreak(std::string_view(html).substr(at, close - at));
      if (pageBreak || IsHeading(name)) {
        if (at != from) pieces.push_back({head + html.substr(from, at - from) + tail, newPage});
        newPage = pageBreak || (at == from && newPage);
        from = at;
      }
    }
    at = close;
  }
  pieces.push_back({head + html.substr(from, bodyEnd - from) + tail, newPage});
  return pieces;
}

std::optional<std::string> RenderReportPdf(const std::string& html, PaperSize paper,
                                           std::string* error) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QPdfWriter writer(&buffer);
  SetUpWriter(writer, paper);
  writer.setCreator(QStringLiteral("Ardvane"));
  const qreal footer = MillimetresToPixels(kFooterMillimetres);
  const QSizeF body(writer.width(), writer.height() - footer);

  // Helper threads lay the pieces out, each with a writer of its own that lends the same
  // resolution, while this thread draws them in order with the real writer as they become
  // ready, and lays out pieces itself while the next one to draw is not. A layout refers to
  // font engines of the thread that made it, which live only as long as that thread's font
  // cache: each helper waits until the drawing is done and then deletes the documents it made.
  const std::vector<ReportPiece> pieces = SplitReportPieces(JoinRowTables(html));
  std::vector<LaidOutPiece> laidOut(pieces.size());
  constexpr int kNotYet = -2;
  constexpr int kThisThread = -1;
  std::vector<int> maker(pieces.size(), kNotYet);
  std::mutex mutex;
  std::condition_variable ready;
  std::atomic<std::size_t> next{0};
  QSemaphore drawn;
  QThreadPool& pool = LayoutThreads();
  const int helpers = pool.maxThreadCount();
  std::vector<std::unique_ptr<QBuffer>> scratch;
  std::vector<std::unique_ptr<QPdfWriter>> lenders;
  QSemaphore finished;
  for (int helper = 0; helper < helpers; ++helper) {
    scratch.push_back(std::make_unique<QBuffer>());
    lenders.push_back(std::make_unique<QPdfWriter>(scratch.back().get()));
    SetUpWriter(*lenders.back(), paper);
    QPdfWriter* lender = lenders.back().get();
    pool.start([&, helper, lender] {
      for (std::size_t k = next++; k < pieces.size(); k = next++) {
        LaidOutPiece piece;
        piece.newPage = pieces[k].newPage;
        LayOutPiece(pieces[k].html, body, lender, &piece);
        std::lock_guard lock(mutex);
        laidOut[k] = std::move(piece);
        maker[k] = helper;
        ready.notify_all();
      }
      drawn.acquire();
      for (std::size_t k = 0; k < pieces.size(); ++k) {
        if (maker[k] == helper) laidOut[k].document.reset();
      }
      finished.release();
    });
  }
  // However this ends, the helpers are let go and waited for.
  const auto releaseHelpers = qScopeGuard([&] {
    drawn.release(helpers);
    finished.acquire(helpers);
  });
  // While the piece to draw next is not ready, this thread lays out pieces too.
  const auto waitFor = [&](std::size_t k) -> LaidOutPiece& {
    for (;;) {
      {
        std::unique_lock lock(mutex);
        if (maker[k] != kNotYet) return laidOut[k];
      }
      const std::size_t own = next++;
      if (own >= pieces.size()) break;
      LaidOutPiece piece;
      piece.newPage = pieces[own].newPage;
      LayOutPiece(pieces[own].html, body, &writer, &piece);
      std::lock_guard lock(mutex);
      laidOut[own] = std::move(piece);
      maker[own] = kThisThread;
    }
    std::unique_lock lock(mutex);
    ready.wait(lock, [&] { return maker[k] != kNotYet; });
    return laidOut[k];
  };

  // The title goes into the PDF when drawing begins.
  writer.setTitle(waitFor(0).document->metaInformation(QTextDocument::DocumentTitle));
  QPainter painter;
  if (!painter.begin(&writer)) {
    *error = "The PDF could not be drawn.";
    return std::nullopt;
  }
  QFont footerFont = waitFor(0).document->defaultFont();
  footerFont.setPointSizeF(8);
  int page = 0;
  qreal y = 0;  // how far down the current page is filled
  const auto finishPage = [&] {
    painter.setFont(footerFont);
    painter.setPen(Qt::darkGray);
    painter.drawText(QRectF(0, body.height(), body.width(), footer),
                     Qt::AlignHCenter | Qt::AlignBottom, QString::number(page + 1));
    writer.newPage();
    ++page;
    y = 0;
  };
  // Draws the stretch [top, top + height) of a laid-out document at `at` on the current page.
  const auto draw = [&](QTextDocument& document, qreal top, qreal height, qreal at) {
    painter.save();
    painter.translate(0, at - top);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = QRectF(0, top, body.width(), height);
    // Blocks that cross the page's foot are drawn whole; what falls below it belongs to the
    // next page.
    painter.setClipRect(context.clip);
    document.documentLayout()->draw(&painter, context);
    painter.restore();
  };
  for (std::size_t k = 0; k < pieces.size(); ++k) {
    LaidOutPiece& piece = waitFor(k);
    if (piece.empty) continue;
    // The engine leaves no room above a heading that follows a table: the pieces get some.
    const qreal gap = y > 0 ? kPieceGapPoints / 72.0 * kResolution : 0;
    if (y > 0 && (piece.newPage || y + gap + piece.height > body.height())) {
      finishPage();
    } else {
      y += gap;
    }
    if (piece.pages <= 1) {
      draw(*piece.document, 0, piece.height, y);
      y += piece.height;
      continue;
    }
    // Taller than a page: its own pages, as the engine broke it.
    for (int i = 0; i < piece.pages; ++i) {
      if (i > 0) finishPage();
      draw(*piece.document, i * body.height(), body.height(), 0);
    }
    y = std::max<qreal>(1, piece.height - (piece.pages - 1) * body.height());
  }
  painter.setFont(footerFont);
  painter.setPen(Qt::darkGray);
  painter.drawText(QRectF(0, body.height(), body.width(), footer),
                   Qt::AlignHCenter | Qt::AlignBottom, QString::number(page + 1));
  if (!painter.end()) {
    *error = "The PDF could not be drawn.";
    return std::nullopt;
  }
  return bytes.toStdString();
}

bool WriteReportPdf(const std::filesystem::path& documentPath, const std::filesystem::path& pdfPath,
                    PaperSize paper, std::string* error) {
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
  std::string error;
  surroundings.ShowBusy(true);
  const bool written = WriteReportPdf(job.reportPath, *target, job.paper, &error);
  surroundings.ShowBusy(false);
  if (!written) {
    surroundings.ShowError(error);
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
                         [&](const std::string& name) { return surroundings.AskFileExists(name); });
  if (!generated) return outcome;
  outcome.generated = *generated;
  outcome.pdf = WritePdfWhereChosen(job, surroundings);
  // A PDF of this program left beside a report written now shows the older figures.
  if (outcome.generated && outcome.pdf != PdfPathFor(job.reportPath)) {
    if (const auto stale = StalePdfBeside(job.reportPath);
        stale && surroundings.Confirm(StalePdfQuestion(*stale))) {
      std::error_code ec;
      if (!std::filesystem::remove(*stale, ec) && ec) {
        surroundings.ShowError("Could not remove " + stale->string() + ": " + ec.message());
      }
    }
  }
  return outcome;
}

}  // namespace ardvane
