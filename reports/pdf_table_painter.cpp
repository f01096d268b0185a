#include "reports/pdf_table_painter.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QLineF>
#include <QPaintDevice>
#include <QPainter>
#include <QRawFont>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <numeric>
#include <string_view>
#include <unordered_map>

#include "base/text.h"
#include "reports/pdf_shaped_texts.h"

namespace ardvane {
namespace {

// A word longer than this share of the table's width may be broken: a name without spaces
// must not push the figures off the page.
constexpr double kMaxWordShare = 0.4;
// The table's type is made smaller, down to this share of the body size, before the
// figures would have to break.
// When even that is too wide, the table runs into the margin rather than break a figure.
constexpr double kSmallestFontShare = 0.6;
constexpr int kFontAttempts = 4;
// Rows up to this many lines high have their cells' text in the middle, taller ones at the top.
constexpr double kMaxMiddleLines = 6;

// Offers a break (a zero-width space) inside each word wider than `room` (a name without
// spaces) where the part before fits, so that the layout never has to find the break in a
// long word itself: that costs it time in the square of the word's length. The part is
// measured a character (grapheme) at a time, each character's width looked up once, so the
// text is read once; the slack keeps a part that kerning makes a little wider than the sum
// of its characters within the line, and the layout still breaks a part that would not fit.
QString BreakLongWords(const QString& text, const QFont& font, double room, QPaintDevice* device) {
  constexpr double kSlack = 0.97;
  const double fits = std::max(1.0, room * kSlack);
  const QFontMetricsF metrics(font, device);
  std::unordered_map<QString, double> widths;
  const auto isBlank = [](QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\n') || c == QChar::LineSeparator;
  };
  QString out;
  QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
  qsizetype start = 0;      // of the part of the word on this line
  double width = 0;         // of that part
  qsizetype copied = 0;     // the text up to here is in `out`
  qsizetype from = 0;
  for (qsizetype to = graphemes.toNextBoundary(); to > 0; to = graphemes.toNextBoundary()) {
    if (isBlank(text[from])) {
      start = to;
      width = 0;
    } else {
      const QString character = text.mid(from, to - from);
      auto known = widths.find(character);
      if (known == widths.end()) {
        known = widths.emplace(character, metrics.horizontalAdvance(character)).first;
      }
      if (width + known->second > fits && from > start) {
        out += QStringView(text).mid(copied, from - copied);
        out += QChar(0x200B);
        copied = from;
        start = from;
        width = 0;
      }
      width += known->second;
    }
    from = to;
  }
  if (copied == 0) return text;
  out += QStringView(text).mid(copied);
  return out;
}

bool IsFigure(const QString& text) {
  if (text.size() > kMaxFigureLength) return false;
  return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
}

// The plain text of a cell.
QString PlainText(const PdfTableCell& cell) {
  QString text;
  for (const PdfTableRun& run : cell.runs) text += run.text;
  return text;
}

// The widths of the columns: each its narrowest width, then the room left shared out as the
// columns ask for it: their width attribute, and those without one the width the others
// leave, in proportion to their widest text. All widths include the cells' padding.
std::vector<double> ShareColumnWidths(const std::vector<double>& narrowest,
                                      const std::vector<double>& widest,
                                      const std::vector<double>& asked, double tableWidth) {
  const std::size_t n = narrowest.size();
  std::vector<double> wanted(n);
  const double sumAsked = std::accumulate(asked.begin(), asked.end(), 0.0);
  double unaskedWidest = 0;
  for (std::size_t c = 0; c < n; ++c) unaskedWidest += asked[c] > 0 ? 0 : widest[c];
  const double leftOver = std::max(0.0, tableWidth - sumAsked);
  for (std::size_t c = 0; c < n; ++c) {
    double share = asked[c];
    if (share == 0) {
      share = sumAsked > 0 && unaskedWidest > 0 ? leftOver * widest[c] / unaskedWidest : widest[c];
    }
    wanted[c] = std::max(narrowest[c], share);
  }
  const double sumNarrowest = std::accumulate(narrowest.begin(), narrowest.end(), 0.0);
  const double sumWanted = std::accumulate(wanted.begin(), wanted.end(), 0.0);
  std::vector<double> columns(n, 0.0);
  if (sumWanted <= tableWidth) {
    // Everything fits: the room over goes to the columns in proportion to what they asked.
    const double scale = sumWanted > 0 ? tableWidth / sumWanted : 1;
    for (std::size_t c = 0; c < n; ++c) columns[c] = wanted[c] * scale;
  } else if (sumNarrowest < tableWidth && sumWanted > sumNarrowest) {
    const double share = (tableWidth - sumNarrowest) / (sumWanted - sumNarrowest);
    for (std::size_t c = 0; c < n; ++c) {
      columns[c] = narrowest[c] + (wanted[c] - narrowest[c]) * share;
    }
  } else {
    columns = narrowest;
  }
  return columns;
}

}  // namespace

PdfTableStyle ReadPdfTableStyle(std::string_view css, const QFont& bodyFont) {
  PdfTableStyle style;
  style.font = bodyFont;
  style.shapes = std::make_shared<PdfShapedTexts>();
  if (const QColor color = CssColor(CssValue(CssRuleFor(css, "body"), "color"));
      color.isValid()) {
    style.text = color;
  }
  const std::string heading = CssRuleFor(css, "th");
  if (const QColor color = CssColor(CssValue(heading, "background-color"));
      color.isValid()) {
    style.headingBackground = color;
  }
  if (const QColor color = CssColor(CssValue(heading, "color")); color.isValid()) {
    style.headingText = color;
  }
  const std::string total = CssRuleFor(css, "tr.total td");
  if (const QColor color = CssColor(CssValue(total, "background-color")); color.isValid()) {
    style.totalBackground = color;
  }
  for (const char* cells : {"table.grid td", "table.rows td", "td"}) {
    if (const QColor color = CssBorderColor(CssValue(CssRuleFor(css, cells), "border"));
        color.isValid()) {
      style.lines = color;
      break;
    }
  }
  return style;
}

struct PdfTablePainter::LaidCell {
  int column = 0;
  int span = 1;
  double x = 0;
  double width = 0;
  // One line in one look: drawn as a string, `textWidth` wide. Anything else is wrapped.
  const PdfShapedText* text = nullptr;
  QColor color;
  std::shared_ptr<const PdfWrappedText> wrapped;
  int lines = 0;
  double textHeight = 0;
  Qt::Alignment align = Qt::AlignLeft;
  QColor background;
};

PdfTablePainter::PdfTablePainter(PdfTableContent content, const PdfTableStyle& style, double width,
                                 QPaintDevice* device)
    : content_(std::move(content)), style_(style), width_(width) {
  headingRows_ = content_.headingRows;
  LayOut(device);
}

PdfTablePainter::~PdfTablePainter() = default;

double PdfTablePainter::HeadingHeight() const {
  double height = 0;
  for (int row = 0; row < headingRows_; ++row)
    height += rows_[static_cast<std::size_t>(row)].height;
  return height;
}

int PdfTablePainter::LineCount(int row, int cell) const {
  if (row < 0 || row >= Rows()) return 0;
  const auto& cells = rows_[static_cast<std::size_t>(row)].cells;
  if (cell < 0 || cell >= static_cast<int>(cells.size())) return 0;
  return cells[static_cast<std::size_t>(cell)].lines;
}

// A cell's plain text, and what kind of text it is.
struct PdfCellText {
  QString plain;
  bool figure = false;
  bool simple = false;                    // one run, one line
  const PdfShapedText* shaped = nullptr;  // of a one-line text, in the type it is set in
};

namespace {

using CellText = PdfCellText;
using CellTexts = std::vector<std::vector<CellText>>;

CellTexts ReadCellTexts(const PdfTableContent& content) {
  CellTexts texts;
  for (const PdfTableRow& row : content.rows) {
    auto& line = texts.emplace_back();
    for (const PdfTableCell& cell : row.cells) {
      CellText text;
      text.plain = PlainText(cell);
      text.figure = IsFigure(text.plain) && !text.plain.contains(QLatin1Char('\n'));
      text.simple = cell.runs.size() == 1 && !text.plain.contains(QLatin1Char('\n'));
      line.push_back(std::move(text));
    }
  }
  return texts;
}

bool RunsBold(const PdfTableCell& cell, const PdfTableRun& run) { return cell.bold || run.bold; }

// The type a table is tried in, with the texts shaped in it.
struct TableType {
  QFont regular;
  QFont bold;
  PdfShapedTexts::Font* regularTexts = nullptr;
  PdfShapedTexts::Font* boldTexts = nullptr;
  QPaintDevice* device = nullptr;
  double widest = 0;  // a text wider than this that is no figure is only measured

  const PdfShapedText& Shape(const QString& text, bool isBold) const {
    return PdfShapedTexts::Shape(isBold ? *boldTexts : *regularTexts, text,
                                 isBold ? bold : regular, device, widest);
  }
  double Measure(const QString& text, bool isBold) const { return Shape(text, isBold).width; }
};

// How wide a cell's text is on one line (`wide`) and at its narrowest (`narrow`: a figure
// whole, else its longest word, up to `longestWord`). A one-line text is shaped for drawing.
void MeasureCell(const PdfTableCell& cell, CellText& text, const TableType& type,
                 double longestWord, double* narrow, double* wide) {
  *narrow = 0;
  *wide = 0;
  if (text.simple || text.figure) {
    const bool isBold = cell.bold || (!cell.runs.empty() && cell.runs.front().bold);
    text.shaped = &type.Shape(text.plain, isBold);
    *wide = text.shaped->width;
  } else {
    // Each line's runs, one after another.
    double line = 0;
    for (const PdfTableRun& run : cell.runs) {
      const QStringList parts = run.text.split(QLatin1Char('\n'));
      for (qsizetype p = 0; p < parts.size(); ++p) {
        if (p > 0) line = 0;
        line += type.Measure(parts[p], RunsBold(cell, run));
        *wide = std::max(*wide, line);
      }
    }
  }
  if (text.figure) {
    *narrow = *wide;
    return;
  }
  for (const PdfTableRun& run : cell.runs) {
    qsizetype start = 0;
    for (qsizetype end = 0; end <= run.text.size(); ++end) {
      if (end < run.text.size() && run.text[end] != QLatin1Char(' ') &&
          run.text[end] != QLatin1Char('\n')) {
        continue;
      }
      if (end > start) {
        *narrow = std::max(*narrow, std::min(longestWord, type.Measure(run.text.mid(start, end - start),
                                                                       RunsBold(cell, run))));
      }
      start = end + 1;
    }
  }
}

// What each column needs, padding included: its narrowest and widest width, and the width
// its cells ask for.
struct ColumnNeeds {
  std::vector<double> narrowest;
  std::vector<double> widest;
  std::vector<double> asked;
};

// A cell over several columns: its first column, how many, and its narrowest and widest
// widths.
struct SpanningCell {
  std::size_t column, span;
  double narrow, wide;
};

// A cell over several columns needs their widths together: what they lack is shared out
// equally among them. (Columns that only such cells hold would otherwise get no width, and
// their text a line for each character.)
void WidenForSpans(const std::vector<SpanningCell>& spanning, ColumnNeeds* needs) {
  for (const SpanningCell& cell : spanning) {
    const auto widen = [&](std::vector<double>& widths, double needed) {
      const auto first = widths.begin() + static_cast<std::ptrdiff_t>(cell.column);
      const auto last = first + static_cast<std::ptrdiff_t>(cell.span);
      const double have = std::accumulate(first, last, 0.0);
      if (needed <= have) return;
      for (auto it = first; it != last; ++it)
        *it += (needed - have) / static_cast<double>(cell.span);
    };
    widen(needs->narrowest, cell.narrow);
    widen(needs->widest, cell.wide);
  }
}

// The needs of the `n` columns of `content` in `type`, each cell's width plus `extra`.
ColumnNeeds MeasureColumns(const PdfTableContent& content, CellTexts& texts,
                           const TableType& type, std::size_t n, double tableWidth,
                           double extra) {
  ColumnNeeds needs{std::vector<double>(n, 0.0), std::vector<double>(n, 0.0),
                    std::vector<double>(n, 0.0)};
  const double longestWord = kMaxWordShare * tableWidth;
  std::vector<SpanningCell> spanning;
  for (std::size_t r = 0; r < content.rows.size(); ++r) {
    std::size_t column = 0;
    const auto& cells = content.rows[r].cells;
    for (std::size_t c = 0; c < cells.size() && column < n; ++c) {
      const PdfTableCell& cell = cells[c];
      double narrow = 0;
      double wide = 0;
      MeasureCell(cell, texts[r][c], type, longestWord, &narrow, &wide);
      if (cell.span == 1) {
        needs.narrowest[column] = std::max(needs.narrowest[column], narrow + extra);
        needs.widest[column] = std::max(needs.widest[column], wide + extra);
        if (cell.widthPercent > 0 && needs.asked[column] == 0) {
          needs.asked[column] = cell.widthPercent * tableWidth / 100;
        }
      } else {
        spanning.push_back({column, std::min(static_cast<std::size_t>(cell.span), n - column),
                            narrow + extra, wide + extra});
      }
      column += static_cast<std::size_t>(cell.span);
    }
  }
  WidenForSpans(spanning, &needs);
  return needs;
}

std::size_t ColumnCount(const PdfTableContent& content) {
  int columnCount = 0;
  for (const PdfTableRow& row : content.rows) {
    int columns = 0;
    for (const PdfTableCell& cell : row.cells) columns += cell.span;
    columnCount = std::max(columnCount, columns);
  }
  return static_cast<std::size_t>(columnCount);
}

}  // namespace

void PdfTablePainter::LayOut(QPaintDevice* device) {
  const double pixelsPerCssPixel = device->logicalDpiX() / 96.0;
  padding_ = content_.paddingPixels * pixelsPerCssPixel;
  lineWidth_ = content_.borders ? 0.8 * pixelsPerCssPixel : 0;
  const double tableWidth = width_ * content_.widthPercent / 100;
  const std::size_t n = ColumnCount(content_);
  CellTexts texts = ReadCellTexts(content_);

  if (!style_.shapes) style_.shapes = std::make_shared<PdfShapedTexts>();
  style_.shapes->StartTable(style_.mostShapedTextBytes);
  // Type that fits: the columns' narrowest widths must fit across the table.
  ColumnNeeds needs;
  font_ = style_.font;
  for (int attempt = 0; attempt < kFontAttempts; ++attempt) {
    boldFont_ = font_;
    boldFont_.setBold(true);
    const TableType type{font_, boldFont_, &style_.shapes->ForFont(font_),
                         &style_.shapes->ForFont(boldFont_), device, width_};
    // A pixel to spare, so that sums of widths that round down still hold the text.
    const double extra = 2 * padding_ + lineWidth_ + 1;
    needs = MeasureColumns(content_, texts, type, n, tableWidth, extra);
    const double needed = std::accumulate(needs.narrowest.begin(), needs.narrowest.end(), 0.0);
    if (needed <= tableWidth || attempt == kFontAttempts - 1 ||
        font_.pointSizeF() <= style_.font.pointSizeF() * kSmallestFontShare) {
      break;
    }
    font_.setPointSizeF(std::max(style_.font.pointSizeF() * kSmallestFontShare,
                                 font_.pointSizeF() * tableWidth / needed * 0.98));
  }

  columns_ = ShareColumnWidths(needs.narrowest, needs.widest, needs.asked, tableWidth);
  std::vector<double> left(n + 1, 0.0);
  for (std::size_t c = 0; c < n; ++c) left[c + 1] = left[c] + columns_[c];

  // The cells, with their lines.
  lineSpacing_ = QFontMetricsF(font_, device).lineSpacing();
  rows_.clear();
  rows_.resize(content_.rows.size());
  for (std::size_t r = 0; r < content_.rows.size(); ++r) {
    LayRow(r, texts[r], left, device);
  }
}

void PdfTablePainter::LayRow(std::size_t r, const std::vector<PdfCellText>& texts,
                             const std::vector<double>& left, QPaintDevice* device) {
  const std::size_t n = left.size() - 1;
  const PdfTableRow& row = content_.rows[r];
  LaidRow& laid = rows_[r];
  double textHeight = 0;
  std::size_t column = 0;
  for (std::size_t c = 0; c < row.cells.size() && column < n; ++c) {
    const PdfTableCell& cell = row.cells[c];
    const PdfCellText& text = texts[c];
    LaidCell& out = laid.cells.emplace_back();
    out.column = static_cast<int>(column);
    out.span =
        static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(cell.span), n - column));
    out.x = left[column];
    out.width = left[column + static_cast<std::size_t>(out.span)] - out.x;
    out.align = cell.align;
    out.background = cell.background;
    if (!out.background.isValid() && cell.heading) out.background = style_.headingBackground;
    QColor color = cell.color;
    if (!color.isValid()) color = cell.heading ? style_.headingText : style_.text;
    column += static_cast<std::size_t>(out.span);
    if (text.plain.isEmpty()) continue;
    const double room = out.width - 2 * padding_ - lineWidth_;
    if (text.simple && (text.figure || text.shaped->width <= room)) {
      out.text = text.shaped;
      out.color = cell.runs.front().color.isValid() ? cell.runs.front().color : color;
      out.lines = 1;
      out.textHeight = lineSpacing_;
    } else {
      WrapCell(cell, text.figure, color, room, &out, device);
    }
    textHeight = std::max(textHeight, out.textHeight);
  }
  laid.height = std::max(textHeight, lineSpacing_) + 2 * padding_ + lineWidth_;

  GatherGlyphs(&laid);
}

void PdfTablePainter::WrapCell(const PdfTableCell& cell, bool figure, const QColor& color,
                               double room, LaidCell* out, QPaintDevice* device) {
  // Wraps between words; a word wider than the column (a name without spaces) breaks.
  // What the layout depends on besides the text.
  QString key = QString::number(font_.pointSizeF()) + u' ' + QString::number(room) + u' ' +
                QString::number(out->align.toInt()) + (figure ? u'f' : u't');
  for (const PdfTableRun& run : cell.runs) {
    key += QString::number(run.text.size()) + (RunsBold(cell, run) ? u'b' : u'r') +
           (run.italic ? u'i' : u'n') + (run.color.isValid() ? run.color : color).name(QColor::HexArgb);
  }
  key += u'|';
  for (const PdfTableRun& run : cell.runs) key += run.text;
  if (const auto known = style_.shapes->layouts.find(key); known != style_.shapes->layouts.end()) {
    known->second.used = style_.shapes->table;
    out->wrapped = known->second.text;
    out->lines = static_cast<int>(out->wrapped->lineTops.size());
    out->textHeight = out->wrapped->height;
    return;
  }
  QString whole;
  QList<QTextLayout::FormatRange> formats;
  for (const PdfTableRun& run : cell.runs) {
    QTextCharFormat format;
    format.setFontWeight(RunsBold(cell, run) ? QFont::Bold : QFont::Normal);
    format.setFontItalic(run.italic);
    format.setForeground(run.color.isValid() ? run.color : color);
    QString part = run.text;
    part.replace(QLatin1Char('\n'), QChar::LineSeparator);
    if (!figure) {
      QFont runFont = font_;
      runFont.setBold(RunsBold(cell, run));
      runFont.setItalic(run.italic);
      part = BreakLongWords(part, runFont, room, device);
    }
    formats.append({static_cast<int>(whole.size()), static_cast<int>(part.size()), format});
    whole += part;
  }
  QTextOption option(out->align);
  option.setWrapMode(figure ? QTextOption::NoWrap : QTextOption::WrapAtWordBoundaryOrAnywhere);
  auto wrapped = PdfWrappedText::Make(whole, formats, font_, option, std::max(1.0, room), device);
  out->lines = static_cast<int>(wrapped->lineTops.size());
  out->textHeight = wrapped->height;
  out->wrapped = wrapped;
  const qsizetype characters = key.size();
  style_.shapes->layoutBytes += PdfShapedTexts::Bytes(characters);
  style_.shapes->layouts.emplace(
      std::move(key),
      PdfShapedTexts::Wrapped{std::move(wrapped), characters, style_.shapes->table});
}

void PdfTablePainter::GatherGlyphs(LaidRow* laid) const {
  for (LaidCell& cell : laid->cells) {
    if (cell.text == nullptr) continue;
    const double room = cell.width - 2 * padding_ - lineWidth_;
    double x = cell.x + lineWidth_ / 2 + padding_;
    if (cell.align & Qt::AlignRight) {
      x += room - cell.text->width;
    } else if (cell.align & Qt::AlignHCenter) {
      x += (room - cell.text->width) / 2;
    }
    const double top = TextTop(*laid, cell);
    for (const QGlyphRun& run : cell.text->glyphs) {
      auto group = std::find_if(laid->glyphs.begin(), laid->glyphs.end(), [&](const RowGlyphs& g) {
        return g.color == cell.color && g.glyphs.rawFont() == run.rawFont();
      });
      if (group == laid->glyphs.end()) {
        group = laid->glyphs.insert(laid->glyphs.end(), RowGlyphs{cell.color, QGlyphRun()});
        group->glyphs.setRawFont(run.rawFont());
      }
      QList<quint32> indexes = group->glyphs.glyphIndexes();
      QList<QPointF> positions = group->glyphs.positions();
      indexes.append(run.glyphIndexes());
      for (const QPointF& at : run.positions()) positions.append(at + QPointF(x, top));
      group->glyphs.setGlyphIndexes(indexes);
      group->glyphs.setPositions(positions);
    }
    cell.text = nullptr;
  }
}

double PdfTablePainter::TextTop(const LaidRow& laid, const LaidCell& cell) const {
  // In the middle, as HTML has it; at the top of a row of many lines, which may run over
  // pages.
  if (laid.height > kMaxMiddleLines * lineSpacing_) return lineWidth_ / 2 + padding_;
  return lineWidth_ / 2 + (laid.height - lineWidth_ - cell.textHeight) / 2;
}

double PdfTablePainter::BreakBefore(int row, double limit) const {
  const LaidRow& laid = rows_[static_cast<std::size_t>(row)];
  double best = 0;
  for (const LaidCell& cell : laid.cells) {
    if (!cell.wrapped) continue;
    const double top = TextTop(laid, cell);
    // The last line that starts at or above the limit, if it is not the first.
    const auto& tops = cell.wrapped->lineTops;
    const auto below = std::partition_point(tops.begin(), tops.end(),
                                            [&](double line) { return top + line <= limit; });
    if (below - tops.begin() >= 2) best = std::max(best, top + *(below - 1));
  }
  return best;
}

void PdfTablePainter::DrawRow(QPainter& painter, int row, double y, std::vector<QLineF>* lines,
                              double from, double to) const {
  const LaidRow& laid = rows_[static_cast<std::size_t>(row)];
  from = std::max(0.0, from);
  to = std::min(to, laid.height);
  // The row's top is drawn at `y`: the part shown starts `from` below it.
  const double top = y - from;
  for (const LaidCell& cell : laid.cells) {
    if (cell.background.isValid()) {
      painter.fillRect(QRectF(cell.x, y, cell.width, to - from), cell.background);
    }
  }
  // The one-line cells sit at the row's top, or in the middle of a row too short to be cut.
  if (from == 0) {
    for (const RowGlyphs& group : laid.glyphs) {
      painter.setPen(group.color);
      painter.drawGlyphRun(QPointF(0, top), group.glyphs);
    }
  }
  for (const LaidCell& cell : laid.cells) {
    if (!cell.wrapped) continue;
    const double textTop = TextTop(laid, cell);
    const QPointF at(cell.x + lineWidth_ / 2 + padding_, top + textTop);
    // Only the lines that start in the part shown: those of a cut row are drawn once.
    const PdfWrappedText& wrapped = *cell.wrapped;
    wrapped.Draw(painter, at, wrapped.FirstLineFrom(from - 0.5, textTop),
                 wrapped.FirstLineFrom(to - 0.5, textTop));
  }
  if (lineWidth_ <= 0 || laid.cells.empty()) return;
  const double half = lineWidth_ / 2;
  const double right = laid.cells.back().x + laid.cells.back().width;
  const double bottom = y + to - from;
  if (from == 0) lines->emplace_back(half, y + half, right - half, y + half);
  if (to == laid.height) lines->emplace_back(half, bottom - half, right - half, bottom - half);
  for (const LaidCell& cell : laid.cells) {
    lines->emplace_back(cell.x + half, y, cell.x + half, bottom);
  }
  lines->emplace_back(right - half, y, right - half, bottom);
}

}  // namespace ardvane