#pragma once

// The PDF's page geometry and what its text layout and page composer share. Used inside the
// PDF library only.

#include <QString>
#include <QTextDocument>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QPaintDevice;

namespace ardvane {

// The HTML with a zero-width space offered as a break every few characters of each word of
// its text longer than a line could hold (a name without spaces), never inside a character
// (with its marks), a tag or an entity.
QString OfferBreaksInLongWords(const QString& html);

namespace pdf {

// Device pixels per inch of the PDF's drawing: fine enough for text positions; the pictures
// keep their own pixels.
inline constexpr int kResolution = 300;
inline constexpr double kMarginMillimetres = 20;
inline constexpr double kTopMarginMillimetres = 18;
inline constexpr double kBottomMarginMillimetres = 12;
// The room above a table and below it, left out at the top of a page.
inline constexpr double kTableGapPoints = 4;
inline constexpr double kAfterTableGapPoints = 8;
// The room between two paragraphs of the text, where the document asks for less.
inline constexpr double kParagraphGapPoints = 5;
// The band under the text that holds the page number.
inline constexpr double kFooterMillimetres = 10;
// A heading keeps with the table after it when what lies between is no taller than this
// share of a page; and a table's first rows stay with its heading.
inline constexpr double kLeadInPageShare = 0.35;
inline constexpr int kRowsKeptWithHeading = 3;
// A row taller than a page starts on the page it comes to when this share of it is left.
inline constexpr double kTallRowRoomShare = 0.35;
// A table of this many rows or fewer is kept on one page when it fits.
inline constexpr int kShortTableRows = 8;

inline double MillimetresToPixels(double millimetres) { return millimetres / 25.4 * kResolution; }
inline double PointsToPixels(double points) { return points / 72.0 * kResolution; }

// The rich-text engine's image sizes are screen pixels of this many per inch.
inline constexpr double kImagePixelsPerInch = 96;

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

// Lays `stretches` out one after another in one document under `head` (so that its style
// sheet is read once), `width` device pixels wide (of `device`), and gives the units of
// each, in order, drawn from `out`. False, with nothing laid out, when the text itself holds
// the mark that parts the stretches.
bool LayOutTexts(const std::string& head, const std::vector<TextStretch>& stretches, qreal width,
                 qreal pageHeight, QPaintDevice* device, int source, LaidOutText* out,
                 std::vector<std::vector<Unit>>* units);

}  // namespace pdf
}  // namespace ardvane
