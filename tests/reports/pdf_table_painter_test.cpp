#include "reports/pdf_table_painter.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <numeric>

namespace ardvane {
namespace {

// The report's tables as its templates write them (border, padding and widths).
constexpr const char* kRowsTable =
    "<table class=\"rows\" width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\">";

std::string Cells(const std::vector<std::string>& texts, const char* tag = "td") {
  std::string row = "<tr>";
  for (const std::string& text : texts) {
    row += std::string("<") + tag + " align=\"right\">" + text + "</" + tag + ">";
  }
  return row + "</tr>";
}

QString TextOf(const PdfTableCell& cell) {
  QString text;
  for (const PdfTableRun& run : cell.runs) text += run.text;
  return text;
}

TEST(PdfTablePainterTest, ReadsTheOldAndTheNewFormOfATable) {
  // The old form: a heading row of <th> cells (colours in <font>), rows straight in the
  // table, a total row; the new form: <thead> and <tbody>.
  const std::string headings =
      "<tr><th width=\"30%\" bgcolor=\"#1f3864\"><font color=\"#ffffff\">Debt</font></th>"
      "<th align=\"right\">Beginning<br>balance</th></tr>";
  const std::string rows =
      "<tr><td>Ana &amp; Luis&#39;s  \n card</td><td align=right>$1,390.00</td></tr>"
      "<tr class=\"total\"><td><b>Total</b></td><td class=\"num\">&nbsp;</td></tr>";
  for (const std::string& html : {std::string(kRowsTable) + headings + rows + "</table>",
                                  std::string(kRowsTable) + "<thead>" + headings +
                                      "</thead><tbody>" + rows + "</tbody></table>"}) {
    SCOPED_TRACE(html);
    const std::optional<PdfTableContent> table = ReadPdfTable(html);
    ASSERT_TRUE(table);
    EXPECT_EQ(table->headingRows, 1);
    EXPECT_TRUE(table->borders);
    EXPECT_EQ(table->paddingPixels, 3);
    ASSERT_EQ(table->rows.size(), 3u);
    const PdfTableCell& debt = table->rows[0].cells[0];
    EXPECT_TRUE(debt.heading);
    EXPECT_EQ(debt.widthPercent, 30);
    EXPECT_EQ(debt.background, QColor(0x1f, 0x38, 0x64));
    EXPECT_EQ(debt.runs.at(0).color, QColor(Qt::white));
    EXPECT_EQ(debt.align, Qt::AlignHCenter);  // as browsers show <th>
    EXPECT_EQ(TextOf(table->rows[0].cells[1]), "Beginning\nbalance");
    EXPECT_EQ(TextOf(table->rows[1].cells[0]), "Ana & Luis's card");
    EXPECT_EQ(table->rows[1].cells[1].align, Qt::AlignRight);
    const PdfTableCell& total = table->rows[2].cells[0];
    EXPECT_TRUE(total.bold);
    EXPECT_EQ(TextOf(total), "Total");
    EXPECT_EQ(table->rows[2].cells[1].align, Qt::AlignRight);
    EXPECT_EQ(TextOf(table->rows[2].cells[1]), "");  // a blank cell
  }

  // Lines for signatures: no ruled cells.
  EXPECT_FALSE(
      ReadPdfTable("<table border=\"0\"><tr><td>____<br>Client</td></tr></table>")->borders);
  // Only headings: nothing to repeat them for.
  EXPECT_EQ(ReadPdfTable("<table><tr><th>A</th></tr></table>")->headingRows, 0);
  // What the painter leaves to the rich-text engine, and what it reads, told apart without
  // reading it as well: the PDF decides that for every table before it reads one at a time.
  for (const std::string html :
       {"<table><tr><td><table><tr><td>1</td></tr></table></td></tr></table>",
        "<TABLE><tr><td><IMG src=\"x.png\"></td></tr></TABLE>",
        "<table><tr><td><svg></svg></td></tr></table><table>",
        "<table><tr><td><!-- a > <img> --> 1</td></tr></table>",
        "<table><tr><td>1</td></tr></table><img src=\"after.png\">",
        "</table><table><tr><td><table>", "<table><tr><td>1<td><object",
        "<table><tr><td>cut short <img"}) {
    EXPECT_EQ(IsPdfTable(html), ReadPdfTable(html).has_value()) << html;
  }
  EXPECT_FALSE(ReadPdfTable("<table><tr><td><table><tr><td>1</td></tr></table></td></tr></table>"));
  EXPECT_FALSE(ReadPdfTable("<table><tr><td><img src=\"x.png\"></td></tr></table>"));
}

TEST(PdfTablePainterTest, TheStyleSheetGivesTheLook) {
  const PdfTableStyle style = ReadPdfTableStyle(
      "body { color: #101010; }\n/* tables */ table.grid td, table.rows td { border: 1px solid "
      "#aabbcc; }"
      " th { background-color: #123456; color: #fedcba; } tr.total td { background-color: #eeeeee; "
      "}",
      QFont("DejaVu Sans", 10));
  EXPECT_EQ(style.text, QColor(0x10, 0x10, 0x10));
  EXPECT_EQ(style.lines, QColor(0xaa, 0xbb, 0xcc));
  EXPECT_EQ(style.headingBackground, QColor(0x12, 0x34, 0x56));
  EXPECT_EQ(style.headingText, QColor(0xfe, 0xdc, 0xba));
  EXPECT_EQ(style.totalBackground, QColor(0xee, 0xee, 0xee));
}

// Lays tables out for the page of a PDF writer, as the report's PDF does.
class PdfTableLayoutTest : public ::testing::Test {
 protected:
  PdfTableLayoutTest() : writer_(&buffer_) { writer_.setResolution(300); }

  std::unique_ptr<PdfTablePainter> LayOut(const std::string& html, double widthInches) {
    style_.font = QFont("DejaVu Sans");
    style_.font.setPointSizeF(10);
    if (!style_.shapes) style_ = ReadPdfTableStyle("", style_.font);
    std::optional<PdfTableContent> content = ReadPdfTable(html);
    EXPECT_TRUE(content) << html;
    if (!content) return nullptr;
    return std::make_unique<PdfTablePainter>(std::move(*content), style_, widthInches * 300,
                                             &writer_);
  }

  QBuffer buffer_;
  QPdfWriter writer_;
  PdfTableStyle style_;
};

TEST_F(PdfTableLayoutTest, FiguresAndWordsNeverBreakOnlyTextWraps) {
  // An amortization table of large balances whose widths ask too little for the figures, a
  // heading that cannot sit on one line, a long name and a date.
  std::string html = std::string(kRowsTable) +
                     "<tr><th width=\"8%\">Year</th><th width=\"8%\">Month</th>"
                     "<th width=\"14%\">Beginning balance</th><th width=\"30%\">Debt</th>"
                     "<th width=\"10%\">Interest</th><th width=\"10%\">Monthly payment</th>"
                     "<th width=\"10%\">Ending balance</th><th width=\"10%\">Rate</th>"
                     "<th width=\"1%\">Paid off</th></tr>";
  for (int i = 0; i < 20; ++i) {
    html +=
        "<tr><td>2026</td><td>Dec</td><td align=\"right\">$184,573,512.54</td>"
        "<td>The consolidation loan of the first mortgage, refinanced twice</td>"
        "<td align=\"right\">$1,914.39</td><td align=\"right\">$11,390.00</td>"
        "<td align=\"right\">($175,086,512.57)</td><td align=\"right\">26.990%</td>"
        "<td>December 2036</td></tr>";
  }
  html += "</table>";
  for (const double inches : {6.9, 5.5}) {
    SCOPED_TRACE(inches);
    const auto table = LayOut(html, inches);
    ASSERT_TRUE(table);
    for (int row = 1; row < table->Rows(); ++row) {
      for (int cell : {0, 1, 2, 4, 5, 6, 7, 8}) {
        EXPECT_EQ(table->LineCount(row, cell), 1) << "row " << row << ", cell " << cell;
      }
      EXPECT_GT(table->LineCount(row, 3), 1) << "the name wraps";
    }
    // Headings break between their words only.
    EXPECT_EQ(table->LineCount(0, 1), 1);
    EXPECT_LE(table->LineCount(0, 2), 2);
    const double total =
        std::accumulate(table->ColumnWidths().begin(), table->ColumnWidths().end(), 0.0);
    EXPECT_NEAR(total, inches * 300, 1) << "the table fills its width, and no more";
  }
  // The type is made smaller only when the figures need it.
  EXPECT_LT(LayOut(html, 5.5)->FontPointSize(), 10);
  EXPECT_EQ(LayOut(html, 10.0)->FontPointSize(), 10);
}

// The rows of `table` drawn one under another, with their lines, on a white picture.
QImage Drawn(const PdfTablePainter& table) {
  double height = 0;
  for (int row = 0; row < table.Rows(); ++row) height += table.RowHeight(row);
  QImage image(2000, static_cast<int>(height) + 2, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  std::vector<QLineF> lines;
  double y = 0;
  for (int row = 0; row < table.Rows(); ++row) {
    table.DrawRow(painter, row, y, &lines);
    y += table.RowHeight(row);
  }
  painter.setPen(table.LinePen());
  painter.drawLines(lines.data(), static_cast<int>(lines.size()));
  return image;
}

TEST_F(PdfTableLayoutTest, TextsForgottenBetweenTablesLeaveEveryTableAsItWas) {
  // The PDF lays a table out while the one before is still being drawn, and keeps the texts
  // shaped for the tables to come only up to a budget: here none at all.
  const auto table = [](const std::string& name, const std::string& figure) {
    std::string html = std::string(kRowsTable) + "<tr><th>Debt</th><th>Balance</th></tr>";
    for (int i = 0; i < 4; ++i) {
      html += "<tr><td>" + name + std::to_string(i) + "</td><td align=\"right\">" + figure +
              std::to_string(i) + "</td></tr>";
    }
    return html + "</table>";
  };
  const std::string first =
      table(std::string(700, 'W') + " card of the <b>first</b> <i>bank</i> ", "$1,234.5");
  const std::string second = table("Loan " + std::string(500, 'M'), "$98.7");
  const auto reference = LayOut(first, 6.5);
  const QImage expected = Drawn(*reference);
  ASSERT_GT(reference->LineCount(1, 0), 3);

  style_ = ReadPdfTableStyle("", style_.font);  // with texts of its own
  style_.mostShapedTextBytes = 0;
  const auto drawnLater = LayOut(first, 6.5);
  const auto next = LayOut(second, 6.5);  // forgets what the first one shaped
  EXPECT_TRUE(Drawn(*drawnLater) == expected);
  const auto again = LayOut(first, 6.5);  // shapes it all again
  EXPECT_TRUE(Drawn(*again) == expected);
  EXPECT_EQ(again->ColumnWidths(), reference->ColumnWidths());
  EXPECT_EQ(next->LineCount(1, 0), LayOut(second, 6.5)->LineCount(1, 0));
}

// A cell over several columns needs their widths together, also where no cell of its own
// sizes them: a table of one spanning cell, and columns only a spanning cell and a heading
// with an asked width hold, as an office's edited template may have them.
TEST_F(PdfTableLayoutTest, CellsOverSeveralColumnsGetTheRoomTheirTextNeeds) {
  const auto spanning = LayOut(std::string(kRowsTable) +
                                   "<tr><td colspan=\"2\">Fee waived for the first year</td></tr>"
                                   "<tr><td colspan=\"2\">1,234.56</td></tr></table>",
                               6.5);
  ASSERT_TRUE(spanning);
  EXPECT_EQ(spanning->LineCount(0, 0), 1);
  EXPECT_EQ(spanning->LineCount(1, 0), 1);
  const auto mixed =
      LayOut(std::string(kRowsTable) +
                 "<tr><th width=\"30%\">Debt</th><td colspan=\"2\">Visa<br>2011 March</td>"
                 "<td></td></tr></table>",
             4.34);
  ASSERT_TRUE(mixed);
  EXPECT_EQ(mixed->LineCount(0, 1), 2);
  EXPECT_GT(mixed->ColumnWidths()[1] + mixed->ColumnWidths()[2], 300);
}

// A line or paragraph separator (U+2028, U+2029) in a cell breaks the line as <br> does: laid
// out as one line, the text after it was lost.
TEST_F(PdfTableLayoutTest, LineSeparatorsInACellBreakItsLine) {
  const auto table = LayOut(std::string(kRowsTable) +
                                "<tr><td>2031 March\u2028Visa</td><td>Due\u2029soon</td>"
                                "<td><b>1</b> 2\u2028 3</td></tr></table>",
                            6.5);
  ASSERT_TRUE(table);
  const std::optional<PdfTableContent> content =
      ReadPdfTable("<table><tr><td>2031 March\u2028Visa</td><td>Due \u2029 soon</td></tr></table>");
  ASSERT_TRUE(content);
  EXPECT_EQ(TextOf(content->rows[0].cells[0]), "2031 March\nVisa");
  EXPECT_EQ(TextOf(content->rows[0].cells[1]), "Due\nsoon");
  for (int cell = 0; cell < 3; ++cell) EXPECT_EQ(table->LineCount(0, cell), 2) << cell;
}

TEST_F(PdfTableLayoutTest, HostileNamesAreLaidOutAndDrawn) {
  // Names as a plan may hold them: bidi overrides and marks, Arabic, Hebrew, emoji, raw
  // control characters, and one word far wider than the page.
  const std::vector<std::string> names = {"\u202EMaria \u200FSample\u202C",
                                          "\u0645\u0631\u064A\u0645 \u05E9\u05E8\u05D4",
                                          "\U0001F600\U0001F4B8 card",
                                          "tab\there\x01\x1f\x7f"
                                          "end",
                                          std::string(20000, 'W'),
                                          "\u202E" + std::string(3000, 'x') + " \u200F"};
  std::string html = std::string(kRowsTable) + Cells({"Debt", "Balance"}, "th");
  for (const std::string& name : names) {
    html += "<tr><td>" + name + "</td><td align=\"right\">$1,234.56</td></tr>";
  }
  html += "</table>";
  const auto table = LayOut(html, 6.5);
  ASSERT_TRUE(table);
  ASSERT_EQ(table->Rows(), 1 + static_cast<int>(names.size()));
  for (int row = 1; row < table->Rows(); ++row) EXPECT_EQ(table->LineCount(row, 1), 1) << row;
  // The long word breaks rather than pushing the balance off the page.
  EXPECT_GT(table->LineCount(5, 0), 1);
  EXPECT_GE(table->ColumnWidths()[1], table->ColumnWidths()[0] * 0.1);
  QPainter painter(&writer_);
  std::vector<QLineF> lines;
  double y = 0;
  for (int row = 0; row < table->Rows(); ++row) {
    table->DrawRow(painter, row, y, &lines);
    y += table->RowHeight(row);
  }
  EXPECT_TRUE(painter.end());
  EXPECT_EQ(lines.size(), static_cast<std::size_t>(table->Rows()) * 5);  // 2 across, 3 down
}

}  // namespace
}  // namespace ardvane
