#include <QAbstractTextDocumentLayout>
#include <QFont>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextFrame>
#include <QTextImageFormat>
#include <QTextLayout>
#include <algorithm>
#include <string>

#include "reports/pdf_layout.h"

namespace ardvane {
namespace pdf {
namespace {

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

// Words of more characters than this (a name without spaces) are offered a break every
// kWordBreakEvery characters: the layout looks for a break in the whole of a word that
// does not fit a line, again for each line, which costs it time in the square of the
// word's length.
constexpr int kLongWord = 48;
constexpr int kWordBreakEvery = 8;
// Paragraphs of more characters than this keep their shaped text between drawings.
constexpr int kLongBlock = 2000;

// The stretches in one document under `head`, laid out `width` device pixels wide on `device`.
std::unique_ptr<QTextDocument> MakeTextDocument(const std::string& head,
                                                const std::vector<TextStretch>& stretches,
                                                qreal width, QPaintDevice* device) {
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
  document->setHtml(
      QString::fromUtf8(head.data(), static_cast<qsizetype>(head.size())) +
      OfferBreaksInLongWords(QString::fromUtf8(body.data(), static_cast<qsizetype>(body.size()))));
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
  document->documentLayout()->setPaintDevice(device);
  document->setTextWidth(width);
  return document;
}

// The stretches that lead into a table keep their last heading and what follows it (or else
// their last line) with it.
void KeepLeadInsWithTables(const std::vector<TextStretch>& stretches,
                           const std::vector<std::size_t>& lastHeading,
                           const std::vector<qreal>& ends, qreal pageHeight,
                           std::vector<std::vector<Unit>>* units) {
  for (std::size_t k = 0; k < stretches.size(); ++k) {
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
}

// The units of each stretch of the laid-out `document`, in order; false when the parting
// paragraphs do not part it into `stretches`.
bool CollectUnits(QTextDocument& document, const std::vector<TextStretch>& stretches,
                  qreal pageHeight, int source, std::vector<std::vector<Unit>>* units) {
  QAbstractTextDocumentLayout* layout = document.documentLayout();
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
  for (QTextFrame::iterator it = document.rootFrame()->begin(); !it.atEnd(); ++it) {
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
  KeepLeadInsWithTables(stretches, lastHeading, ends, pageHeight, units);
  return true;
}

}  // namespace

bool LayOutTexts(const std::string& head, const std::vector<TextStretch>& stretches, qreal width,
                 qreal pageHeight, QPaintDevice* device, int source, LaidOutText* out,
                 std::vector<std::vector<Unit>>* units) {
  std::unique_ptr<QTextDocument> document = MakeTextDocument(head, stretches, width, device);
  if (!CollectUnits(*document, stretches, pageHeight, source, units)) return false;
  out->document = std::move(document);
  return true;
}

}  // namespace pdf

using pdf::kLongWord;
using pdf::kWordBreakEvery;

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

}  // namespace ardvane
