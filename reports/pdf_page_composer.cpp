#include "reports/pdf_page_composer.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>
#include <algorithm>
#include <deque>
#include <memory>
#include <optional>

namespace ardvane::pdf {
namespace {

// Adds the units of a table: its heading rows and first rows keep together, and so do its
// last two rows; a short table is kept whole.
void AddTableUnits(const PdfTablePainter& table, int source, bool newPage,
                   std::deque<Unit>* units) {
  const int rows = table.Rows();
  const int headings = table.HeadingRows();
  const bool whole = rows - headings <= kShortTableRows;
  for (int row = 0; row < rows; ++row) {
    Unit unit;
    unit.source = source;
    unit.table = true;
    unit.row = row;
    unit.bottom = table.RowHeight(row);
    unit.spaceBefore = row == 0 ? PointsToPixels(kTableGapPoints) : 0;
    unit.newPage = row == 0 && newPage;
    unit.keepWithNext =
        row + 1 < rows && (whole || row < headings + kRowsKeptWithHeading - 1 || row == rows - 2);
    units->push_back(unit);
  }
}

// The units of the report in order, made as the composer comes to them: a table is read and
// laid out when its first unit is asked for, and let go once its last row is drawn. The
// composer looks no further ahead than the stretch that keeps together (at most the text
// before a table and that table), so a report of thousands of long tables holds one or two
// of them at a time, not all.
class ReportUnits {
 public:
  // `tables` are the HTML of the tables the painter draws; `texts` the units of each stretch
  // of text; `style` and `width` what the tables are laid out with, on `device`.
  ReportUnits(std::vector<ReportItem> items, std::vector<std::string_view> tables,
              std::vector<std::vector<Unit>> texts, const PdfTableStyle& style, qreal width,
              QPaintDevice* device)
      : items_(std::move(items)),
        tableHtml_(std::move(tables)),
        texts_(std::move(texts)),
        tables_(tableHtml_.size()),
        style_(style),
        width_(width),
        device_(device) {}

  bool Has(std::size_t i) {
    Fill(i);
    return i < base_ + units_.size();
  }
  // Unit `i`, which Has(i); it stays where it is until Forget() passes it.
  const Unit& operator[](std::size_t i) {
    Fill(i);
    return units_[i - base_];
  }
  // The units before `i` are drawn.
  void Forget(std::size_t i) {
    for (; base_ < i && !units_.empty(); ++base_) units_.pop_front();
  }
  const PdfTablePainter& Table(int source) const {
    return *tables_[static_cast<std::size_t>(source)];
  }
  // The last row of table `source` is drawn.
  void DoneWithTable(int source) { tables_[static_cast<std::size_t>(source)].reset(); }

 private:
  void Fill(std::size_t i) {
    while (base_ + units_.size() <= i && next_ < items_.size()) {
      const ReportItem& item = items_[next_++];
      if (!item.table) {
        std::vector<Unit>& text = texts_[item.index];
        units_.insert(units_.end(), text.begin(), text.end());
        std::vector<Unit>().swap(text);
        continue;
      }
      std::optional<PdfTableContent> content = ReadPdfTable(tableHtml_[item.index]);
      auto& table = tables_[item.index];
      table = std::make_unique<PdfTablePainter>(std::move(*content), style_, width_, device_);
      AddTableUnits(*table, static_cast<int>(item.index), item.newPage, &units_);
      if (table->Rows() == 0) table.reset();
    }
  }

  const std::vector<ReportItem> items_;
  const std::vector<std::string_view> tableHtml_;
  std::vector<std::vector<Unit>> texts_;
  std::vector<std::unique_ptr<PdfTablePainter>> tables_;
  const PdfTableStyle& style_;
  const qreal width_;
  QPaintDevice* const device_;
  std::size_t next_ = 0;  // the item whose units come next
  std::size_t base_ = 0;  // the index of the first unit held
  std::deque<Unit> units_;
};

// Draws the units on pages, a page at a time: a stretch of units that keep together starts
// a new page when it does not fit on this one, and a table that goes on to a new page draws
// its heading rows there first.
class PageComposer {
 public:
  PageComposer(QPainter& painter, QPdfWriter& writer, QSizeF body, qreal footer, QFont footerFont,
               const std::vector<LaidOutText>& texts, ReportUnits& units)
      : painter_(painter),
        writer_(writer),
        body_(body),
        footer_(footer),
        footerFont_(std::move(footerFont)),
        texts_(texts),
        units_(units) {}

  void Compose() {
    ReportUnits& units = units_;
    for (std::size_t i = 0; units.Has(i);) {
      if (units[i].newPage && y_ > 0) FinishPage();
      // The stretch that keeps together, if it fits on a page at all.
      std::size_t end = i;
      qreal height = Space(units[i]) + units[i].Height(y_ == 0);
      while (units.Has(end + 1) && units[end].keepWithNext && !units[end + 1].newPage) {
        ++end;
        height += Space(units[end]) + units[end].Height(false);
      }
      if (y_ > 0 && y_ + height > body_.height() && height <= body_.height()) FinishPage();
      for (; i <= end; ++i) Place(units[i]);
      units.Forget(i);
    }
    FlushText();
    DrawLines();
    DrawPageNumber();
  }

 private:
  qreal Space(const Unit& unit) const { return y_ > 0 ? unit.spaceBefore + pendingGap_ : 0; }

  void Place(const Unit& unit) {
    qreal height = unit.Height(y_ == 0);
    // A row taller than a page starts where it is, unless little of the page is left.
    const bool startsHere = unit.table && height > body_.height() &&
                            y_ + Space(unit) < (1 - kTallRowRoomShare) * body_.height();
    if (y_ > 0 && y_ + Space(unit) + height > body_.height() && !startsHere) {
      FinishPage();
      height = unit.Height(true);
    }
    y_ += Space(unit);
    pendingGap_ = 0;
    if (!unit.table) {
      const qreal from = y_ == 0 ? unit.contentTop : unit.top;
      if (textSource_ != unit.source || textTo_ != from) {
        FlushText();
        textSource_ = unit.source;
        textFrom_ = from;
        textAt_ = y_;
      }
      textTo_ = unit.bottom;
      y_ += height;
      return;
    }
    FlushText();
    const PdfTablePainter& table = units_.Table(unit.source);
    linePen_ = table.LinePen();
    // A row taller than what is left of the page (a name of thousands of characters) goes on
    // over the next pages, cut between the lines of its text.
    for (qreal drawn = 0; drawn < height;) {
      if (drawn > 0) FinishPage();
      if (y_ == 0 && unit.row >= table.HeadingRows()) {
        for (int row = 0; row < table.HeadingRows(); ++row) {
          table.DrawRow(painter_, row, y_, &lines_);
          y_ += table.RowHeight(row);
        }
      }
      qreal to = height;
      if (y_ + height - drawn > body_.height()) {
        to = table.BreakBefore(unit.row, drawn + body_.height() - y_);
        if (to <= drawn) to = drawn + body_.height() - y_;  // no line ends on this page
      }
      table.DrawRow(painter_, unit.row, y_, &lines_, drawn, to);
      y_ += to - drawn;
      drawn = to;
    }
    if (unit.row + 1 == table.Rows()) {
      pendingGap_ = PointsToPixels(kAfterTableGapPoints);
      units_.DoneWithTable(unit.source);
    }
  }

  // Draws the stretch of text gathered for this page.
  void FlushText() {
    if (textSource_ < 0) return;
    QTextDocument& document = *texts_[static_cast<std::size_t>(textSource_)].document;
    painter_.save();
    painter_.translate(0, textAt_ - textFrom_);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = QRectF(0, textFrom_, body_.width(), textTo_ - textFrom_);
    painter_.setClipRect(context.clip);
    document.documentLayout()->draw(&painter_, context);
    painter_.restore();
    textSource_ = -1;
  }

  // The ruling lines of the tables on this page, in one stroke.
  void DrawLines() {
    if (lines_.empty()) return;
    for (QLineF& line : lines_) {
      line.setP1({line.x1(), std::clamp(line.y1(), 0.0, body_.height())});
      line.setP2({line.x2(), std::clamp(line.y2(), 0.0, body_.height())});
    }
    painter_.setPen(linePen_);
    painter_.drawLines(lines_.data(), static_cast<int>(lines_.size()));
    lines_.clear();
  }

  void DrawPageNumber() {
    painter_.setFont(footerFont_);
    painter_.setPen(Qt::darkGray);
    painter_.drawText(QRectF(0, body_.height(), body_.width(), footer_),
                      Qt::AlignHCenter | Qt::AlignBottom, QString::number(page_ + 1));
  }

  void FinishPage() {
    FlushText();
    DrawLines();
    DrawPageNumber();
    writer_.newPage();
    ++page_;
    y_ = 0;
    pendingGap_ = 0;
  }

  QPainter& painter_;
  QPdfWriter& writer_;
  const QSizeF body_;
  const qreal footer_;
  const QFont footerFont_;
  const std::vector<LaidOutText>& texts_;
  ReportUnits& units_;
  int page_ = 0;
  qreal y_ = 0;  // how far down the current page is filled
  qreal pendingGap_ = 0;
  std::vector<QLineF> lines_;
  QPen linePen_;
  int textSource_ = -1;
  qreal textFrom_ = 0;
  qreal textTo_ = 0;
  qreal textAt_ = 0;
};

}  // namespace

void ComposePages(QPainter& painter, QPdfWriter& writer, QSizeF body, qreal footer,
                  const QFont& footerFont, PageContent content) {
  ReportUnits units(std::move(content.items), std::move(content.tables),
                    std::move(content.textUnits), *content.style, body.width(), &writer);
  PageComposer(painter, writer, body, footer, footerFont, *content.texts, units).Compose();
}

}  // namespace ardvane::pdf
