#pragma once

// Puts the laid-out texts and the tables of a report's PDF on pages. Used inside the PDF
// library only.

#include <QFont>
#include <QSizeF>
#include <string_view>
#include <vector>

#include "reports/pdf_layout.h"
#include "reports/pdf_table_painter.h"

class QPainter;
class QPdfWriter;

namespace ardvane::pdf {

// One part of the report's body in order: a table the painter draws (`index` counts those
// tables), or a stretch of text (`index` counts the stretches).
struct ReportItem {
  bool table = false;
  std::size_t index = 0;
  bool newPage = false;
};

// What the pages are made of: the parts in order, the tables' HTML, the laid-out texts and the
// units of each stretch of text (LayOutTexts), and the tables' look.
struct PageContent {
  std::vector<ReportItem> items;
  std::vector<std::string_view> tables;
  const std::vector<LaidOutText>* texts = nullptr;
  std::vector<std::vector<Unit>> textUnits;
  const PdfTableStyle* style = nullptr;
};

// Draws `content` with `painter` on the pages of `writer`, `body` device pixels of text on each,
// and the page number in `footerFont` in the band `footer` high beneath: a stretch of units that
// keep together starts a new page when it does not fit on this one, and a table that goes on
// to a new page draws its heading rows there first.
void ComposePages(QPainter& painter, QPdfWriter& writer, QSizeF body, qreal footer,
                  const QFont& footerFont, PageContent content);

}  // namespace ardvane::pdf
