// The report document as the PDF writer reads it: its row tables joined, its body cut into
// blocks and gathered into parts without footers, its tables read and laid out, long words
// offered breaks. The input's first byte chooses:
// - even: the rest is the document, any bytes. Checks that dropping footers only takes text
//   out (what is left is the document's bytes in order) and changes nothing where there is
//   nothing to drop; that joining tables changes nothing without a table; that the blocks
//   write back the very bytes they were cut from; that the tables come from the body in
//   order, each one whole <table> element, and a part of text is never blank; that
//   offering breaks only adds U+200B, never inside a tag, at most one every eight characters;
//   and the checks of each table below.
// - odd: a table built from the input, each cell's text any bytes put in as the report puts
//   a value (ReportHtmlText, KeepFiguresWhole), in <b>, <i> or <font> or not, lines parted by
//   <br>. Checks that it reads back with its rows and cells, each cell showing the value's
//   characters (blanks aside) in order, and the checks below.
// For every table read: rows, cells, spans, widths and padding within their bounds, and laid
// out on a page of any width: each column width and row height finite and not negative, the
// type no smaller than 60 % of the body's, a cell of text on at least one line and on no more
// lines than twice its characters (a column too narrow for one is offered a break after each), a
// figure (a short text with a digit) on exactly one line, a row's break inside it, and every row
// drawn with its ruling lines.

#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <QBuffer>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/text.h"
#include "reports/pdf_export.h"
#include "reports/pdf_layout.h"
#include "reports/pdf_table_painter.h"
#include "reports/report_blocks.h"
#include "reports/report_tables.h"
#include "reports/report_text.h"

namespace {

QPaintDevice* Device() {
  static QBuffer buffer;
  static QPdfWriter writer(&buffer);
  static const bool ready = [] {
    writer.setResolution(300);
    return true;
  }();
  (void)ready;
  return &writer;
}

QImage& Canvas() {
  static QImage canvas(400, 400, QImage::Format_ARGB32_Premultiplied);
  return canvas;
}

bool IsSubsequence(std::string_view part, std::string_view whole) {
  std::size_t at = 0;
  for (const char c : part) {
    at = whole.find(c, at);
    if (at == std::string_view::npos) return false;
    ++at;
  }
  return true;
}

QString PlainText(const ardvane::PdfTableCell& cell) {
  QString text;
  for (const ardvane::PdfTableRun& run : cell.runs) text += run.text;
  return text;
}

// The characters of `text` that are not blanks, line breaks nor formatting.
QString Visible(const QString& text) {
  QString out;
  for (const QChar c : text) {
    if (!c.isSpace()) out += c;
  }
  return out;
}

bool IsFigure(const QString& text) {
  return text.size() <= 24 && !text.contains(QLatin1Char('\n')) &&
         std::any_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
}

void CheckContent(const ardvane::PdfTableContent& table, std::size_t tags) {
  if (table.rows.size() > tags) __builtin_trap();
  if (table.headingRows < 0 || table.headingRows > static_cast<int>(table.rows.size()) ||
      (table.headingRows > 0 && table.headingRows == static_cast<int>(table.rows.size()))) {
    __builtin_trap();
  }
  if (!(table.widthPercent > 0 && table.widthPercent <= 100)) __builtin_trap();
  if (!(table.paddingPixels >= 0 && table.paddingPixels <= 50)) __builtin_trap();
  std::size_t cells = 0;
  for (const ardvane::PdfTableRow& row : table.rows) {
    cells += row.cells.size();
    for (const ardvane::PdfTableCell& cell : row.cells) {
      if (cell.span < 1 || cell.span > 100) __builtin_trap();
      if (!(cell.widthPercent >= 0) || !std::isfinite(cell.widthPercent)) __builtin_trap();
      const QString text = PlainText(cell);
      if (text.startsWith(QLatin1Char(' ')) || text.endsWith(QLatin1Char(' ')) ||
          text.contains(QLatin1String("  "))) {
        __builtin_trap();  // blanks collapse and are trimmed
      }
      for (const QChar c : text) {
        if (c.unicode() != '\n' && (c.unicode() < 0x20 || c.unicode() == 0x7F)) __builtin_trap();
      }
    }
  }
  if (cells > tags) __builtin_trap();
}

void CheckLayout(const ardvane::PdfTableContent& content, double inches) {
  std::size_t characters = 0;
  std::size_t cells = 0;
  for (const ardvane::PdfTableRow& row : content.rows) {
    cells += row.cells.size();
    for (const ardvane::PdfTableCell& cell : row.cells) {
      for (const ardvane::PdfTableRun& run : cell.runs) characters += run.text.size();
    }
  }
  if (cells > 16 || characters > 400) return;  // to keep runs quick

  // One style for many runs, as for all the tables of one PDF: it keeps the texts it shaped.
  static int uses = 0;
  static ardvane::PdfTableStyle style;
  if (uses++ % 1000 == 0) {
    QFont body("DejaVu Sans");
    body.setPointSizeF(10);
    style = ardvane::ReadPdfTableStyle("", body);
  }
  const ardvane::PdfTablePainter table(content, style, inches * 300, Device());
  if (table.Rows() != static_cast<int>(content.rows.size())) __builtin_trap();
  if (table.HeadingRows() != content.headingRows) __builtin_trap();
  for (const double width : table.ColumnWidths()) {
    if (!std::isfinite(width) || width < 0) __builtin_trap();
  }
  if (!(table.FontPointSize() >= 6 - 1e-9 && table.FontPointSize() <= 10)) __builtin_trap();

  QPainter painter(&Canvas());
  double y = 0;
  for (int r = 0; r < table.Rows(); ++r) {
    const double height = table.RowHeight(r);
    if (!std::isfinite(height) || height <= 0) __builtin_trap();
    const auto& row = content.rows[static_cast<std::size_t>(r)];
    for (std::size_t c = 0; c < row.cells.size(); ++c) {
      const QString text = PlainText(row.cells[c]);
      const int lines = table.LineCount(r, static_cast<int>(c));
      if (text.isEmpty()) continue;
      if (lines < 1 || lines > 2 * text.size() + 1) __builtin_trap();
      if (IsFigure(text) && lines != 1) __builtin_trap();  // a figure never breaks
    }
    const double cut = table.BreakBefore(r, height / 2);
    if (!(cut >= 0 && cut <= height / 2)) __builtin_trap();
    if (r < 4) {
      std::vector<QLineF> lines;
      table.DrawRow(painter, r, y, &lines);
      const std::size_t ruled = content.borders && !row.cells.empty() ? 3 + row.cells.size() : 0;
      if (lines.size() != ruled) __builtin_trap();
      if (cut > 0) {  // the row cut in two, as at the foot of a page
        table.DrawRow(painter, r, y, &lines, 0, cut);
        table.DrawRow(painter, r, y, &lines, cut);
      }
    }
    y += height;
  }
  if (table.HeadingHeight() < 0 || table.HeadingHeight() > y + 1e-6) __builtin_trap();
}

void CheckTable(std::string_view html, double inches) {
  const std::optional<ardvane::PdfTableContent> content = ardvane::ReadPdfTable(html);
  if (!content) return;
  CheckContent(*content, static_cast<std::size_t>(std::count(html.begin(), html.end(), '<')));
  CheckLayout(*content, inches);
}

void CheckDocument(std::string_view html, double inches) {
  const std::string lower = ardvane::AsciiLower(html);
  const std::string document = ardvane::DropPageFooters(std::string(html));
  if (document.size() > html.size() || !IsSubsequence(document, html)) __builtin_trap();
  if (lower.find("<div") == std::string::npos && document != html) __builtin_trap();
  const std::string joined = ardvane::JoinTableRuns(html);
  if (lower.find("</table>") == std::string::npos && joined != html) __builtin_trap();

  const ardvane::ReportBlocks cut = ardvane::CutReportBlocks(joined);
  if (cut.Text() != joined) __builtin_trap();  // written back, the same bytes
  const std::vector<ardvane::PdfPart> parts = ardvane::PdfPartsOf(cut);
  std::size_t from = 0;
  for (const ardvane::PdfPart& part : parts) {
    if (part.kind == ardvane::PdfPart::Kind::kTable) {
      const std::size_t at = joined.find(part.html, from);
      if (at == std::string::npos) __builtin_trap();  // not from the body, or out of order
      from = at + part.html.size();
      const std::string tag = ardvane::AsciiLower(std::string_view(part.html).substr(0, 6));
      if (tag != "<table" || !part.html.ends_with('>')) __builtin_trap();
      CheckTable(part.html, inches);
    } else if (std::all_of(part.html.begin(), part.html.end(),
                           [](unsigned char c) { return std::isspace(c) != 0; })) {
      if (parts.size() > 1 || cut.hasBody) __builtin_trap();
    }
  }
  if (parts.empty() && !cut.hasBody) __builtin_trap();
  // The style of the tables from whatever the head holds.
  QFont font("DejaVu Sans");
  font.setPointSizeF(10);
  const ardvane::PdfTableStyle style =
      ardvane::ReadPdfTableStyle(ardvane::TextBeforeBody(joined), font);
  if (!style.text.isValid() || !style.lines.isValid() || !style.headingBackground.isValid()) {
    __builtin_trap();
  }
  if (parts.empty()) CheckTable(html, inches);

  // Breaks in long words: only U+200B added, outside tags, at most one in eight characters.
  const QString text = QString::fromUtf8(html.data(), static_cast<qsizetype>(html.size()));
  const QString offered = ardvane::OfferBreaksInLongWords(text);
  const auto tagMarks = [](const QString& s) {
    std::size_t marks = 0;
    bool inTag = false;
    for (const QChar c : s) {
      if (c == QLatin1Char('<')) inTag = true;
      if (c == QLatin1Char('>')) inTag = false;
      if (inTag && c.unicode() == 0x200B) ++marks;
    }
    return marks;
  };
  const qsizetype added = offered.size() - text.size();
  if (added < 0 || added > text.size() / 8 + 1) __builtin_trap();
  QString without = offered;
  without.remove(QChar(0x200B));
  QString original = text;
  original.remove(QChar(0x200B));
  if (without != original || tagMarks(offered) != tagMarks(text)) __builtin_trap();
}

void CheckBuiltTable(FuzzedDataProvider& input, double inches) {
  std::string html = input.ConsumeBool() ? "<table border=\"0\" cellpadding=\"1\">"
                                         : "<table class=\"rows\" width=\"100%\" border=\"1\" "
                                           "cellspacing=\"0\" cellpadding=\"3\">";
  const bool head = input.ConsumeBool();
  if (head) html += "<thead>";
  std::vector<std::vector<QString>> expected;
  const int rows = input.ConsumeIntegralInRange(1, 6);
  for (int r = 0; r < rows; ++r) {
    if (head && r == 1) html += "</thead><tbody>";
    html += input.ConsumeBool() ? "<tr class=\"total\">" : "<tr>";
    auto& cells = expected.emplace_back();
    const int count = input.ConsumeIntegralInRange(1, 5);
    for (int c = 0; c < count; ++c) {
      static constexpr const char* kCells[] = {"<td>",
                                               "<th>",
                                               "<td align=\"right\">",
                                               "<td class=\"num\" width=\"12%\">",
                                               "<td colspan=\"2\" bgcolor=\"#e8ecf5\">",
                                               "<th width=\"30%\" bgcolor=\"#1f3864\">"};
      const int kind = input.ConsumeIntegralInRange(0, 5);
      html += kCells[kind];
      QString shown;
      for (int part = input.ConsumeIntegralInRange(1, 3); part > 0; --part) {
        const std::string value = input.ConsumeRandomLengthString(40);
        std::string text = ardvane::ReportHtmlText(value);
        if (input.ConsumeBool()) text = ardvane::KeepFiguresWhole(text);
        // The value's characters as the table must show them: references decoded.
        std::string decoded;
        for (std::size_t i = 0; i < text.size(); ++i) {
          static constexpr std::pair<std::string_view, char> kReferences[] = {
              {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&#39;", '\''}};
          bool done = false;
          for (const auto& [reference, character] : kReferences) {
            if (std::string_view(text).substr(i, reference.size()) == reference) {
              decoded += character;
              i += reference.size() - 1;
              done = true;
              break;
            }
          }
          if (!done) decoded += text[i];
        }
        shown += QString::fromUtf8(decoded.data(), static_cast<qsizetype>(decoded.size()));
        switch (input.ConsumeIntegralInRange(0, 3)) {
          case 0:
            html += text;
            break;
          case 1:
            html += "<b>" + text + "</b>";
            break;
          case 2:
            html += "<i>" + text + "</i>";
            break;
          default:
            html += "<font color=\"#ffffff\">" + text + "</font>";
        }
        if (part > 1) html += input.ConsumeBool() ? "<br>" : " ";
      }
      html += kind == 1 || kind == 5 ? "</th>" : "</td>";
      cells.push_back(Visible(shown));
    }
    html += "</tr>";
  }
  html += head ? (rows > 1 ? "</tbody></table>" : "</thead></table>") : "</table>";

  const std::optional<ardvane::PdfTableContent> content = ardvane::ReadPdfTable(html);
  if (!content || content->rows.size() != expected.size()) __builtin_trap();
  for (std::size_t r = 0; r < expected.size(); ++r) {
    const auto& cells = content->rows[r].cells;
    if (cells.size() != expected[r].size()) __builtin_trap();
    for (std::size_t c = 0; c < cells.size(); ++c) {
      if (Visible(PlainText(cells[c])) != expected[r][c]) __builtin_trap();  // text lost
    }
  }
  CheckContent(*content, static_cast<std::size_t>(std::count(html.begin(), html.end(), '<')));
  CheckLayout(*content, inches);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    qputenv("XDG_RUNTIME_DIR",
            QByteArray("/tmp/ardvane-fuzz-runtime-") + QByteArray::number(getuid()));
  }
  // Fonts need the application; it lives as long as the process.
  new QGuiApplication(*argc, *argv);
  // Qt warns of each font that lacks what a script needs: a line a run, which fills the log.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString&) {
    if (type == QtFatalMsg) std::abort();
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2 || size > 4096) return 0;
  const double inches = 0.5 + data[1] / 25.0;  // pages from half an inch to ten inches wide
  if ((data[0] & 1) == 0) {
    CheckDocument(std::string_view(reinterpret_cast<const char*>(data) + 2, size - 2), inches);
  } else {
    FuzzedDataProvider input(data + 2, size - 2);
    CheckBuiltTable(input, inches);
  }
  return 0;
}

// Fontconfig keeps some of what it reads at start where LeakSanitizer cannot see it.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
// Qt's text layout allocates much, and over a long run storing a stack for each allocation
// took a third of the time: none is kept. ASAN_OPTIONS=malloc_context_size=30 gives whole
// stacks when rerunning an input.
extern "C" const char* __asan_default_options() { return "malloc_context_size=0"; }
