#include "reports/pdf_export.h"

#include <QAbstractTextDocumentLayout>
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
#include <QTextImageFormat>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <deque>
#include <memory>
#include <string_view>
#include <vector>

#include "base/atomic_file.h"
#include "base/text.h"
#include "reports/pdf_table_painter.h"

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
// The room above a table and below it, left out at the top of a page.
constexpr double kTableGapPoints = 4;
constexpr double kAfterTableGapPoints = 8;
// The room between two paragraphs of the text, where the document asks for less.
constexpr double kParagraphGapPoints = 5;
// The band under the text that holds the page number.
constexpr double kFooterMillimetres = 10;
// A heading keeps with the table after it when what lies between is no taller than this
// share of a page; and a table's first rows stay with its heading.
constexpr double kLeadInPageShare = 0.35;
constexpr int kRowsKeptWithHeading = 3;
// A row taller than a page starts on the page it comes to when this share of it is left.
constexpr double kTallRowRoomShare = 0.35;
// A table of this many rows or fewer is kept on one page when it fits.
constexpr int kShortTableRows = 8;

double MillimetresToPixels(double millimetres) { return millimetres / 25.4 * kResolution; }
double PointsToPixels(double points) { return points / 72.0 * kResolution; }

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

// Gives the paragraphs of the text (outside boxes and tables) at least `gap` below them:
// the engine takes no margins in points from the style sheet, and numbered clauses would
// run together.
void SpaceParagraphs(QTextDocument& document, qreal gap) {
  QTextCursor cursor(&document);
  const QTextFrame* root = document.rootFrame();
  for (QTextFrame::iterator it = root->begin(); !it.atEnd(); ++it) {
    const QTextBlock block = it.currentBlock();
    if (!block.isValid()) continue;
    QTextBlockFormat format = block.blockFormat();
    if (format.bottomMargin() >= gap) continue;
    format.setBottomMargin(gap);
    cursor.setPosition(block.position());
    cursor.setBlockFormat(format);
  }
}

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Whether `text` at `at` reads `lower` (in lower case), whatever the case of its letters.
bool StartsCaseless(std::string_view text, std::size_t at, std::string_view lower) {
  if (at > text.size() || text.size() - at < lower.size()) return false;
  for (std::size_t i = 0; i < lower.size(); ++i) {
    if (LowerAscii(text[at + i]) != lower[i]) return false;
  }
  return true;
}

// Where `lower` (in lower case, not empty) first stands in `text` from `from` on, whatever
// the case of its letters; npos when nowhere. A report is searched as it is rather than in a
// lower-case copy, which would take as much memory again.
std::size_t FindCaseless(std::string_view text, std::string_view lower, std::size_t from = 0) {
  const char first = lower.front();
  const bool letter = first >= 'a' && first <= 'z';
  for (std::size_t at = from; at < text.size(); ++at) {
    if (!letter) {
      at = text.find(first, at);
      if (at == std::string_view::npos) break;
    } else if (LowerAscii(text[at]) != first) {
      continue;
    }
    if (StartsCaseless(text, at, lower)) return at;
  }
  return std::string_view::npos;
}

// Where `lower` (in lower case, beginning with a character that is not a letter) last stands
// in `text`, whatever the case of its letters; npos when nowhere.
std::size_t RFindCaseless(std::string_view text, std::string_view lower) {
  for (std::size_t at = text.rfind(lower.front()); at != std::string_view::npos;
       at = at == 0 ? std::string_view::npos : text.rfind(lower.front(), at - 1)) {
    if (StartsCaseless(text, at, lower)) return at;
  }
  return std::string_view::npos;
}

// Whether a start tag's text asks for a page break before the element.
bool AsksForPageBreak(std::string_view tag) {
  constexpr std::string_view kProperty = "page-break-before";
  for (std::size_t at = FindCaseless(tag, kProperty); at != std::string_view::npos;
       at = FindCaseless(tag, kProperty, at + 1)) {
    std::size_t i = at + kProperty.size();
    while (i < tag.size() && tag[i] == ' ') ++i;
    if (i >= tag.size() || tag[i] != ':') continue;
    ++i;
    while (i < tag.size() && tag[i] == ' ') ++i;
    if (StartsCaseless(tag, i, "always")) return true;
  }
  return false;
}

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

// A stretch of the PDF's content that goes on a page whole: a line or a box of the text, or
// a row of a table.
struct Unit {
  int source = 0;  // the text or the table it belongs to
  bool table = false;
  int row = 0;           // of a table
  qreal top = 0;         // of a text, in its own coordinates: from the unit before
  qreal contentTop = 0;  // where what it shows begins (the top of a page starts here)
  qreal bottom = 0;
  qreal spaceBefore = 0;      // left out at the top of a page
  bool keepWithNext = false;  // goes on the page of the unit after it
  bool newPage = false;
  qreal Height(bool pageTop) const { return bottom - (pageTop ? contentTop : top); }
};

// The text of the report between tables, laid out as one column as long as it needs.
struct LaidOutText {
  std::unique_ptr<QTextDocument> document;
};

// A stretch of the body's text, as the PDF lays it out.
struct TextStretch {
  std::string_view html;
  bool newPage = false;
  // What follows it on the same page is a table: its last heading and what comes after it
  // (or else its last line) keep with that table.
  bool leadsIn = false;
};

// The paragraph that parts the stretches in the one document they are laid out in: a
// character of the private use area, alone (the engine may add a blank from the source).
constexpr char16_t kStretchMark = 0xE000;

// Clears the page breaks the blocks and frames of `frame` ask for: the composer makes the
// pages, and a column without pages would put each of them as far down as the engine can
// reach.
void ClearPageBreaks(QTextFrame* frame, QTextCursor& cursor) {
  for (QTextFrame::iterator it = frame->begin(); !it.atEnd(); ++it) {
    if (QTextFrame* child = it.currentFrame()) {
      QTextFrameFormat format = child->frameFormat();
      if (format.pageBreakPolicy() != QTextFormat::PageBreak_Auto) {
        format.setPageBreakPolicy(QTextFormat::PageBreak_Auto);
        child->setFrameFormat(format);
      }
      ClearPageBreaks(child, cursor);
      continue;
    }
    const QTextBlock block = it.currentBlock();
    QTextBlockFormat format = block.blockFormat();
    if (format.pageBreakPolicy() == QTextFormat::PageBreak_Auto) continue;
    format.setPageBreakPolicy(QTextFormat::PageBreak_Auto);
    cursor.setPosition(block.position());
    cursor.setBlockFormat(format);
  }
}

// Lays `stretches` out one after another in one document under `head` (so that its style
// sheet is read once), `width` device pixels wide (of `device`), and gives the units of
// each, in order, drawn from `out`. False, with nothing laid out, when the text itself holds
// the mark that parts the stretches.
// Words of more characters than this (a name without spaces) are offered a break every
// kWordBreakEvery characters: the layout looks for a break in the whole of a word that
// does not fit a line, again for each line, which costs it time in the square of the
// word's length.
constexpr int kLongWord = 48;
constexpr int kWordBreakEvery = 8;
// Paragraphs of more characters than this keep their shaped text between drawings.
constexpr int kLongBlock = 2000;

}  // namespace

QString OfferBreaksInLongWords(const QString& html) {
  QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, html);
  QString out;
  qsizetype copied = 0;
  int characters = 0;  // of the word so far
  for (qsizetype i = 0; i < html.size(); ++i) {
    const QChar c = html[i];
    if (c == QLatin1Char('<')) {
      const qsizetype close = html.indexOf(QLatin1Char('>'), i);
      if (close < 0) break;
      i = close;
      continue;
    }
    if (c.isSpace()) {
      characters = 0;
      continue;
    }
    graphemes.setPosition(i);
    if (!graphemes.isAtBoundary() && c != QLatin1Char('&')) continue;
    if (characters >= kLongWord && characters % kWordBreakEvery == 0) {
      out += QStringView(html).mid(copied, i - copied);
      out += QChar(0x200B);
      copied = i;
    }
    ++characters;
    if (c == QLatin1Char('&')) {
      // An entity's name holds no tag: a stray "&" before a tag leaves the tag to be skipped.
      const qsizetype end = html.indexOf(QLatin1Char(';'), i);
      if (end > i && end - i <= 10 &&
          !QStringView(html).mid(i, end - i).contains(QLatin1Char('<'))) {
        i = end;
      }
    }
  }
  if (copied == 0) return html;
  out += QStringView(html).mid(copied);
  return out;
}

namespace {

bool LayOutTexts(const std::string& head, const std::vector<TextStretch>& stretches, qreal width,
                 qreal pageHeight, QPaintDevice* device, int source, LaidOutText* out,
                 std::vector<std::vector<Unit>>* units) {
  std::string html = head;
  html += "<body>";
  bool pictures = false;
  for (std::size_t k = 0; k < stretches.size(); ++k) {
    if (k > 0) html += "<p>&#xE000;</p>";
    html += stretches[k].html;
    pictures = pictures || stretches[k].html.find("<img") != std::string_view::npos;
  }
  html += "</body></html>";
  // Every change to a document that has its layout lays it out again: the layout is made
  // (by documentLayout()) only once the document is ready.
  auto document = std::make_unique<QTextDocument>();
  document->setUndoRedoEnabled(false);
  // Outlines for a PDF: hinting them for the pixels of a screen is wasted time.
  QFont font = document->defaultFont();
  font.setHintingPreference(QFont::PreferNoHinting);
  document->setDefaultFont(font);
  // The head's style sheet is left as it is.
  const std::string_view body = std::string_view(html).substr(head.size());
  document->setHtml(QString::fromUtf8(head.data(), static_cast<qsizetype>(head.size())) +
                    OfferBreaksInLongWords(
                        QString::fromUtf8(body.data(), static_cast<qsizetype>(body.size()))));
  document->setDocumentMargin(0);
  {
    QTextCursor edit(document.get());
    edit.beginEditBlock();
    ClearPageBreaks(document->rootFrame(), edit);
    SpaceParagraphs(*document, PointsToPixels(kParagraphGapPoints));
    edit.endEditBlock();
  }
  if (pictures) {
    // Room for the frame and padding of the box a picture sits in.
    FitPicturesToWidth(*document, 0.92 * width * kImagePixelsPerInch / kResolution);
  }
  // A long paragraph (a heading with a name of many thousand characters) keeps its shaped
  // text: drawn a page at a time, it would otherwise be analysed and shaped whole again for
  // each page it runs over.
  for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
    if (block.length() > kLongBlock) block.layout()->setCacheEnabled(true);
  }
  QAbstractTextDocumentLayout* layout = document->documentLayout();
  layout->setPaintDevice(device);
  document->setTextWidth(width);

  units->assign(stretches.size(), {});
  std::size_t k = 0;
  std::vector<std::size_t> lastHeading(stretches.size(), std::string::npos);
  std::vector<qreal> ends(stretches.size(), 0);
  qreal boundary = 0;
  bool stretchStart = true;
  const auto add = [&](qreal contentTop, qreal bottom, bool heading) {
    if (bottom <= boundary) return;
    if (stretchStart) boundary = std::min(contentTop, bottom);
    stretchStart = false;
    std::vector<Unit>& into = (*units)[k];
    // A box taller than a page goes on in pieces of a page.
    for (qreal from = std::max(boundary, contentTop); bottom - from > pageHeight;
         from += pageHeight) {
      into.push_back({source, false, 0, boundary, from, from + pageHeight, 0, heading, false});
      boundary = from + pageHeight;
    }
    into.push_back(
        {source, false, 0, boundary, std::max(boundary, contentTop), bottom, 0, heading, false});
    boundary = bottom;
  };
  for (QTextFrame::iterator it = document->rootFrame()->begin(); !it.atEnd(); ++it) {
    if (QTextFrame* frame = it.currentFrame()) {
      const QRectF box = layout->frameBoundingRect(frame);
      add(box.top(), box.bottom(), false);
      ends[k] = box.bottom();
      continue;
    }
    const QTextBlock block = it.currentBlock();
    const QRectF box = layout->blockBoundingRect(block);
    if (stretches.size() > 1 && block.length() <= 4 &&
        block.text().trimmed() == QChar(kStretchMark)) {
      if (++k == stretches.size()) return false;
      boundary = box.bottom();
      stretchStart = true;
      continue;
    }
    const QTextLayout* lines = block.layout();
    if (lines == nullptr || lines->lineCount() == 0) continue;
    const bool heading = block.blockFormat().headingLevel() > 0;
    if (heading) lastHeading[k] = (*units)[k].size();
    for (int i = 0; i < lines->lineCount(); ++i) {
      const QTextLine line = lines->lineAt(i);
      add(box.top() + line.y(), box.top() + line.y() + line.height(), heading);
    }
    ends[k] = box.bottom() + block.blockFormat().bottomMargin();
  }
  if (k + 1 != stretches.size()) return false;

  for (k = 0; k < stretches.size(); ++k) {
    std::vector<Unit>& into = (*units)[k];
    if (into.empty()) continue;
    into.back().bottom = std::max(into.back().bottom, ends[k]);
    into.front().newPage = stretches[k].newPage;
    if (stretches[k].leadsIn) {
      std::size_t from = into.size() - 1;
      if (lastHeading[k] != std::string::npos &&
          into.back().bottom - into[lastHeading[k]].top <= kLeadInPageShare * pageHeight) {
        from = lastHeading[k];
      }
      for (std::size_t u = from; u < into.size(); ++u) into[u].keepWithNext = true;
    }
  }
  out->document = std::move(document);
  return true;
}

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

// One part of the report's body in order: a table the painter draws (`index` counts those
// tables), or a stretch of text (`index` counts the stretches).
struct ReportItem {
  bool table = false;
  std::size_t index = 0;
  bool newPage = false;
};

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

// The end of the element whose start tag begins at `start` in `html` (a `name` element, in
// lower case, matched with the ones it holds); npos when it is not closed.
std::size_t ElementEnd(std::string_view html, std::size_t start, std::string_view name) {
  // Built from chars and appends: g++ 12 warns -Wrestrict, wrongly, on a short string
  // literal + std::string&&.
  std::string open(1, '<');
  open += name;
  std::string close = "</";
  close += name;
  int depth = 0;
  std::size_t at = start;
  std::size_t nextOpen = std::string_view::npos;  // the next start tag from `at` on, once found
  while (at < html.size()) {
    if (nextOpen == std::string_view::npos || nextOpen < at) nextOpen = FindCaseless(html, open, at);
    const std::size_t nextClose = FindCaseless(html, close, at);
    if (nextClose == std::string_view::npos) return std::string_view::npos;
    if (nextOpen < nextClose) {
      const char after = nextOpen + open.size() < html.size() ? html[nextOpen + open.size()] : ' ';
      if (!std::isalnum(static_cast<unsigned char>(after))) ++depth;
      at = nextOpen + open.size();
      continue;
    }
    const std::size_t end = html.find('>', nextClose);
    if (end == std::string_view::npos) return std::string_view::npos;
    if (--depth == 0) return end + 1;
    at = end + 1;
  }
  return std::string_view::npos;
}

// The value of attribute `name` in the text of a start tag, without its quotes.
std::string AttributeValue(std::string_view tag, std::string_view name) {
  for (std::size_t at = tag.find(name); at != std::string_view::npos; at = tag.find(name, at + 1)) {
    if (at == 0 || !std::isspace(static_cast<unsigned char>(tag[at - 1]))) continue;
    std::size_t i = at + name.size();
    while (i < tag.size() && std::isspace(static_cast<unsigned char>(tag[i]))) ++i;
    if (i >= tag.size() || tag[i] != '=') continue;
    ++i;
    while (i < tag.size() && std::isspace(static_cast<unsigned char>(tag[i]))) ++i;
    if (i < tag.size() && (tag[i] == '"' || tag[i] == '\'')) {
      const std::size_t end = tag.find(tag[i], i + 1);
      return std::string(tag.substr(i + 1, end == std::string_view::npos ? end : end - i - 1));
    }
    std::size_t end = i;
    while (end < tag.size() && !std::isspace(static_cast<unsigned char>(tag[end])) &&
           tag[end] != '/') {
      ++end;
    }
    return std::string(tag.substr(i, end - i));
  }
  return {};
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

}  // namespace

std::string JoinRowTables(std::string html) {
  constexpr std::string_view kEnd = "</table>";
  // What joins leave out: a table's end tag up to the end of the start tag of the table that
  // goes on with it. Found first, then cut out in place, so that a long report is not held
  // twice.
  std::vector<std::pair<std::size_t, std::size_t>> cuts;
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
    if (nextClose == std::string::npos || html.compare(start, html.find('>', start) + 1 - start,
                                                       html, next, nextClose + 1 - next) != 0) {
      continue;
    }
    std::size_t content = nextClose + 1;
    while (content < html.size() && std::isspace(static_cast<unsigned char>(html[content]))) {
      ++content;
    }
    if (AsciiLower(std::string_view(html).substr(content, 6)) == "<thead") continue;
    cuts.emplace_back(end, nextClose + 1);
    copied = nextClose + 1;
    runStart = start;
    end = nextClose + 1 - kEnd.size();
  }
  if (cuts.empty()) return html;
  std::size_t to = cuts.front().first;
  for (std::size_t k = 0; k < cuts.size(); ++k) {
    const std::size_t from = cuts[k].second;
    const std::size_t until = k + 1 < cuts.size() ? cuts[k + 1].first : html.size();
    // Forward, to a place before the text moved: the text still to move is left as it is.
    std::copy(html.begin() + static_cast<std::ptrdiff_t>(from),
              html.begin() + static_cast<std::ptrdiff_t>(until),
              html.begin() + static_cast<std::ptrdiff_t>(to));
    to += until - from;
  }
  html.resize(to);
  return html;
}

std::string DropPageFooters(const std::string& html) {
  std::string kept;
  std::size_t copied = 0;
  for (std::size_t at = FindCaseless(html, "<div"); at != std::string::npos;
       at = FindCaseless(html, "<div", at + 1)) {
    if (at < copied) continue;
    const std::size_t close = html.find('>', at);
    if (close == std::string::npos) break;
    const std::string title =
        AttributeValue(AsciiLower(std::string_view(html).substr(at, close - at)), "title");
    if (title != "footer" && title != "header") continue;
    const std::size_t end = ElementEnd(html, at, "div");
    kept.append(html, copied, at - copied);
    copied = end == std::string::npos ? html.size() : end;
  }
  if (copied == 0) return html;
  kept.append(html, std::min(copied, html.size()), std::string::npos);
  return kept;
}

std::vector<ReportBlock> SplitReportBlocks(const std::string& html) {
  const std::size_t bodyTag = FindCaseless(html, "<body");
  const std::size_t bodyStart = bodyTag == std::string::npos ? bodyTag : html.find('>', bodyTag);
  const std::size_t bodyEnd = RFindCaseless(html, "</body>");
  if (bodyStart == std::string::npos || bodyEnd == std::string::npos || bodyEnd < bodyStart) {
    return {{ReportBlock::Kind::kText, std::string_view(html), false}};
  }
  std::vector<ReportBlock> blocks;
  std::size_t from = bodyStart + 1;
  bool newPage = false;
  const auto addText = [&](std::size_t to) {
    const std::string_view text = std::string_view(html).substr(from, to - from);
    if (!IsBlank(text, kWhiteSpace)) {  // blanks only, no element
      blocks.push_back({ReportBlock::Kind::kText, text, newPage});
      newPage = false;
    }
  };
  int depth = 0;
  for (std::size_t at = html.find('<', from); at < bodyEnd; at = html.find('<', at + 1)) {
    const std::size_t close = html.find('>', at);
    if (close == std::string::npos || close > bodyEnd) break;
    const bool closing = html[at + 1] == '/';
    const std::size_t nameStart = at + (closing ? 2 : 1);
    std::size_t nameEnd = nameStart;
    while (nameEnd < close && std::isalnum(static_cast<unsigned char>(html[nameEnd]))) ++nameEnd;
    const std::string name = AsciiLower(std::string_view(html).substr(nameStart, nameEnd - nameStart));
    const bool pageBreak =
        !closing && depth == 0 && AsksForPageBreak(std::string_view(html).substr(at, close - at));
    if (name == "table" && !closing && depth == 0) {
      const std::size_t end = ElementEnd(html, at, "table");
      if (end != std::string::npos && end <= bodyEnd) {
        addText(at);
        newPage = newPage || pageBreak;
        blocks.push_back(
            {ReportBlock::Kind::kTable, std::string_view(html).substr(at, end - at), newPage});
        newPage = false;
        from = end;
        at = end - 1;
        continue;
      }
    }
    if (name == "div" || name == "table" || name == "ul" || name == "ol" || name == "blockquote" ||
        name == "center") {
      depth = std::max(0, depth + (closing ? -1 : 1));
    }
    if (pageBreak) {
      addText(at);
      newPage = true;
      from = at;
    }
    at = close;
  }
  addText(bodyEnd);
  return blocks;
}

std::optional<std::string> RenderReportPdf(const std::string& html, PaperSize paper,
                                           std::string* error) {
  std::string bytes;
  bytes.reserve(std::min(html.size(), kMaxReportBytes));
  StringOutput output(&bytes);
  output.open(QIODevice::WriteOnly);
  QPdfWriter writer(&output);
  SetUpWriter(writer, paper);
  writer.setCreator(QString::fromUtf8(kPdfCreator));
  const qreal footer = MillimetresToPixels(kFooterMillimetres);
  const QSizeF body(writer.width(), writer.height() - footer);

  const std::string document = JoinRowTables(DropPageFooters(html));
  const std::vector<ReportBlock> blocks = SplitReportBlocks(document);

  // The head's title, body type and table look, read from a document of the head alone.
  const std::size_t bodyTag = FindCaseless(document, "<body");
  const std::string head = document.substr(0, bodyTag == std::string::npos ? 0 : bodyTag);
  QTextDocument probe;
  probe.setHtml(QString::fromStdString(head + "<body><p>x</p></body></html>"));
  writer.setTitle(probe.metaInformation(QTextDocument::DocumentTitle));
  QTextCursor first(&probe);
  first.movePosition(QTextCursor::NextCharacter);
  QFont bodyFont = first.charFormat().font();
  bodyFont.setHintingPreference(QFont::PreferNoHinting);
  const PdfTableStyle style = ReadPdfTableStyle(StyleSheet(head), bodyFont);

  // The tables the painter draws; the rest goes to the rich-text engine, in stretches.
  std::vector<std::string_view> tables;
  std::vector<TextStretch> stretches;
  std::vector<ReportItem> items;
  for (std::size_t k = 0; k < blocks.size(); ++k) {
    const ReportBlock& block = blocks[k];
    if (block.kind == ReportBlock::Kind::kTable && IsPdfTable(block.html)) {
      items.push_back({true, tables.size(), block.newPage});
      tables.push_back(block.html);
      continue;
    }
    const bool leadsIn = k + 1 < blocks.size() && blocks[k + 1].kind == ReportBlock::Kind::kTable &&
                         !blocks[k + 1].newPage;
    items.push_back({false, stretches.size(), block.newPage});
    stretches.push_back({block.html, block.newPage, leadsIn});
  }
  std::vector<LaidOutText> texts;
  std::vector<std::vector<Unit>> textUnits;
  if (!stretches.empty() && !LayOutTexts(head, stretches, body.width(), body.height(), &writer, 0,
                                         &texts.emplace_back(), &textUnits)) {
    // The text holds the parting mark itself: a document for each stretch.
    texts.clear();
    textUnits.clear();
    for (std::size_t k = 0; k < stretches.size(); ++k) {
      std::vector<std::vector<Unit>> one;
      LayOutTexts(head, {stretches[k]}, body.width(), body.height(), &writer, static_cast<int>(k),
                  &texts.emplace_back(), &one);
      textUnits.push_back(std::move(one.front()));
    }
  }
  ReportUnits units(std::move(items), std::move(tables), std::move(textUnits), style, body.width(),
                    &writer);

  QPainter painter;
  if (!painter.begin(&writer)) {
    *error = "The PDF could not be drawn.";
    return std::nullopt;
  }
  QFont footerFont = style.font;
  footerFont.setPointSizeF(8);
  PageComposer(painter, writer, body, footer, footerFont, texts, units).Compose();
  if (!painter.end()) {
    *error = "The PDF could not be drawn.";
    return std::nullopt;
  }
  output.close();
  return bytes;
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
                         [&](const std::string& name) { return surroundings.AskFileExists(name); },
                         [&](const std::string& question) { return surroundings.Confirm(question); });
  if (!generated) return outcome;
  outcome.generated = *generated;
  outcome.pdf = WritePdfWhereChosen(job, surroundings);
  return outcome;
}

}  // namespace ardvane
