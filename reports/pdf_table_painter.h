#pragma once

#include <QColor>
#include <QFont>
#include <QGlyphRun>
#include <QLineF>
#include <QPen>
#include <limits>
#include <memory>
#include <string_view>
#include <vector>

#include "reports/pdf_table_reader.h"

class QPainter;
class QPaintDevice;

namespace ardvane {

// Texts shaped once for drawing, shared by the tables of one PDF: a schedule repeats the same
// figures, months and years many times.
struct PdfShapedTexts;
struct PdfCellText;

// The look of the report's tables, read from the document's style sheet (the rules for `th`,
// `tr.total td` and the cells' borders); what the sheet leaves out keeps these values.
struct PdfTableStyle {
  QFont font;  // of the body text
  QColor text{0x22, 0x22, 0x22};
  QColor lines{0x9a, 0xa4, 0xbf};
  QColor headingBackground{0x1f, 0x38, 0x64};
  QColor headingText{Qt::white};
  QColor totalBackground{0xe8, 0xec, 0xf5};
  std::shared_ptr<PdfShapedTexts> shapes;  // made by ReadPdfTableStyle
  // The shaped texts kept for the tables still to come take about this many bytes at most.
  long long mostShapedTextBytes = 128 << 20;
};

// The style of the report's tables from the text of its <style> element, over `bodyFont`.
// Its tables must be drawn on one kind of paint device.
PdfTableStyle ReadPdfTableStyle(std::string_view css, const QFont& bodyFont);

// Lays a table out for a page `width` device pixels wide (of `device`, which lends its
// resolution) and draws it a row at a time.
//
// Cells whose text is a figure (a money amount, a date, a rate, a number: short text with a
// digit in it) stay on one line, and no word of any cell is broken: each column is at least
// as wide as its widest figure and its longest word (the columns a cell spans, together), and
// the room left goes to the columns that want it (the names and texts, which wrap between
// words). When even that is wider than the page, the table's type is made smaller until it fits.
class PdfTablePainter {
 public:
  PdfTablePainter(PdfTableContent content, const PdfTableStyle& style, double width,
                  QPaintDevice* device);
  ~PdfTablePainter();
  PdfTablePainter(const PdfTablePainter&) = delete;
  PdfTablePainter& operator=(const PdfTablePainter&) = delete;

  int Rows() const { return static_cast<int>(rows_.size()); }
  int HeadingRows() const { return headingRows_; }
  double RowHeight(int row) const { return rows_[row].height; }
  // The height of the heading rows together, drawn again at the top of every page the
  // table runs on to.
  double HeadingHeight() const;
  // Draws the part [from, to) of row `row` (down from its top; the whole row by default) at
  // `y`, from the left edge. Its ruling lines are added to `lines`, for the caller to draw
  // with LinePen() once the page is done: one stroke for the lines of a whole page keeps the
  // PDF small. A part of a row taller than a page ends where BreakBefore() says.
  void DrawRow(QPainter& painter, int row, double y, std::vector<QLineF>* lines, double from = 0,
               double to = std::numeric_limits<double>::infinity()) const;
  QPen LinePen() const { return QPen(style_.lines, lineWidth_); }
  // Where a row taller than a page may be cut at or above `limit` (from the row's top): the
  // top of the last line of its text that starts there, or 0 when none does.
  double BreakBefore(int row, double limit) const;

  // What the layout gave, for checks: the width of each column in device pixels, the size
  // the type was set at, and how many lines a cell takes (0 for a cell that is not there).
  const std::vector<double>& ColumnWidths() const { return columns_; }
  double FontPointSize() const { return font_.pointSizeF(); }
  int LineCount(int row, int cell) const;

 private:
  struct LaidCell;
  // The glyphs of a row's one-line cells in one colour, gathered to be drawn at once.
  struct RowGlyphs {
    QColor color;
    QGlyphRun glyphs;  // placed from the row's top left
  };
  struct LaidRow {
    std::vector<LaidCell> cells;
    std::vector<RowGlyphs> glyphs;
    double height = 0;
  };

  void LayOut(QPaintDevice* device);
  // Lays out row `r`, whose cells' texts are `texts`, on the columns whose left edges are
  // `left` (with the right edge of the last).
  void LayRow(std::size_t r, const std::vector<PdfCellText>& texts, const std::vector<double>& left,
              QPaintDevice* device);
  // Lays the text of `cell` out over lines `room` wide into `out`, or takes the lines laid out
  // for the same text and look before.
  void WrapCell(const PdfTableCell& cell, bool figure, const QColor& color, double room,
                LaidCell* out, QPaintDevice* device);
  // Where the text of `cell` begins, down from the top of its row.
  double TextTop(const LaidRow& laid, const LaidCell& cell) const;
  // Gathers the glyphs of the row's one-line cells into its glyph runs.
  void GatherGlyphs(LaidRow* laid) const;

  PdfTableContent content_;
  PdfTableStyle style_;
  QFont font_;
  QFont boldFont_;
  double width_;
  double padding_ = 0;
  double lineWidth_ = 0;
  double lineSpacing_ = 0;
  int headingRows_ = 0;
  std::vector<double> columns_;
  std::vector<LaidRow> rows_;
};

}  // namespace ardvane
