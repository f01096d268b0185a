#pragma once

#include <QColor>
#include <QString>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ardvane {

// A stretch of a cell's text in one look. A line break (<br>, or a line or paragraph separator
// character) is a '\n' in the text.
struct PdfTableRun {
  QString text;
  bool bold = false;
  bool italic = false;
  QColor color;  // invalid: the cell's colour
};

struct PdfTableCell {
  std::vector<PdfTableRun> runs;
  Qt::Alignment align = Qt::AlignLeft;
  QColor background;  // invalid: none of its own
  QColor color;       // invalid: the table's text colour
  bool heading = false;
  bool bold = false;
  int span = 1;
  double widthPercent = 0;  // 0: none asked
};

struct PdfTableRow {
  std::vector<PdfTableCell> cells;
};

// A table of the report document as its HTML states it.
struct PdfTableContent {
  std::vector<PdfTableRow> rows;
  int headingRows = 0;  // the rows of <thead>, or else the leading rows made only of <th> cells
  bool borders = true;  // false for border="0": text laid out in columns, no ruled cells
  double widthPercent = 100;
  double paddingPixels = 3;  // cellpadding, in the document's pixels (96 an inch)
};

// Reads `html`, one <table> element with its end tag (rows in <thead>/<tbody> or straight
// in the table; cells holding text, <b>, <i>, <font>, <span> and <br>). Nothing when the
// table holds what only the rich-text engine draws (a picture or another table), so that
// the caller can leave the table to it.
std::optional<PdfTableContent> ReadPdfTable(std::string_view html);

// Whether ReadPdfTable reads `html`, without keeping what it holds.
bool IsPdfTable(std::string_view html);

// The declarations of every rule of the style sheet `css` whose selector list names
// `selector` (in lower case, blanks as single spaces), in order, each ended by ';'.
std::string CssRuleFor(std::string_view css, std::string_view selector);

// The value of `property` in a list of CSS declarations ("color: red; border: 1px solid").
std::string CssValue(std::string_view declarations, std::string_view property);

// The colour a CSS or HTML value names ("#1f3864", "white"); invalid when it names none.
QColor CssColor(std::string_view value);

// The colour in a border declaration ("1px solid #9aa4bf"); invalid when it names none.
QColor CssBorderColor(std::string_view value);

}  // namespace ardvane
