#pragma once

// Texts shaped for the table painter, kept between the tables of one PDF. Used inside the PDF
// library only.

#include <QColor>
#include <QFont>
#include <QGlyphRun>
#include <QPointF>
#include <QRawFont>
#include <QString>
#include <QTextLayout>
#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

class QPaintDevice;
class QPainter;

namespace ardvane {

// A cell's text is a figure (kept on one line) when it is this short and holds a digit.
inline constexpr int kMaxFigureLength = 24;

// One line of text in one font, shaped: its glyphs and its width.
struct PdfShapedText {
  QList<QGlyphRun> glyphs;
  double width = 0;
  int used = 0;  // the last table that used it, kept (PdfShapedTexts::table)
};

// A cell's text of more than one line, laid out, kept as its glyphs: drawing some of its
// lines is then a call for each of its looks, with nothing shaped or laid out again (a name
// without spaces may run to thousands of lines over hundreds of pages, and is drawn again in
// every month's table).
struct PdfWrappedText {
  // The glyphs of the text in one colour, font and decoration, line after line, placed from
  // the text's top left.
  struct Look {
    QColor color;
    QGlyphRun run;  // its font and decoration
    QList<quint32> indexes;
    QList<QPointF> positions;
    std::vector<qsizetype> lineStarts;  // where each line's glyphs begin; one more at the end
  };
  std::vector<double> lineTops;  // from the top down
  std::vector<Look> looks;
  double height = 0;

  // The index of the first line whose top, `offset` lower, is at or below `y`.
  std::size_t FirstLineFrom(double y, double offset) const {
    return static_cast<std::size_t>(
        std::partition_point(lineTops.begin(), lineTops.end(),
                             [&](double top) { return offset + top < y; }) -
        lineTops.begin());
  }

  // Lays `text` out `width` wide and keeps its glyphs, in the colours `formats` give.
  static std::shared_ptr<const PdfWrappedText> Make(const QString& text,
                                                    const QList<QTextLayout::FormatRange>& formats,
                                                    const QFont& font, const QTextOption& option,
                                                    double width, QPaintDevice* device);

  // Draws the lines [first, last) at `at`.
  void Draw(QPainter& painter, QPointF at, std::size_t first, std::size_t last) const;
};

// The glyphs of a font's figures, indexed by character. Declared outside PdfShapedTexts: nested
// there, its default member initializers are not yet usable where the std::optional member is
// declared, and clang 14 then finds it not default-constructible for emplace().
struct PdfFigureGlyphs {
  bool usable = false;
  QRawFont font;
  double baseline = 0;
  std::array<quint32, 128> glyphs{};
  std::array<double, 128> advances{};
};

struct PdfShapedTexts {
  // The characters of figures: their glyphs stand side by side, unchanged by their
  // neighbours (no ligatures, no kerning), so a figure is put together from them without
  // shaping it.
  static constexpr std::u16string_view kFigureCharacters = u"0123456789$.,()%-+/: ";

  using FigureGlyphs = PdfFigureGlyphs;

  // The texts shaped in one font (size and weight), and the glyphs of its figures.
  struct Font {
    std::unordered_map<QString, PdfShapedText> texts;
    std::optional<FigureGlyphs> figures;
    int table = 0;        // the table being laid out
    long long bytes = 0;  // about what `texts` take
  };
  std::unordered_map<QString, Font> fonts;
  // The laid-out texts of cells of more than one line, by text, look and width: a schedule
  // repeats a debt's name in every month's row, and laying out a long one again each time is
  // the most of a report's time.
  struct Wrapped {
    std::shared_ptr<const PdfWrappedText> text;
    qsizetype characters = 0;
    int used = 0;
  };
  std::unordered_map<QString, Wrapped> layouts;
  long long layoutBytes = 0;  // about what `layouts` take
  // Counts the tables laid out with these texts.
  int table = 0;

  // About what a text of `characters` takes kept here: its key, and its glyphs and their
  // places if it keeps them.
  static long long Bytes(qsizetype characters, bool glyphs = true) {
    return 400 + (glyphs ? 24 : 2) * static_cast<long long>(characters);
  }

  // Called before each table, while no cell points here. When the texts take more than
  // `most` bytes, those the table before did not use are forgotten (a report of many long
  // schedules shows hundreds of thousands of figures a few times each, and keeping them all
  // would take gigabytes, while a name or a month comes again in every month's table), and
  // if that is not enough, all of them.
  void StartTable(long long most);

  long long Bytes() const {
    long long bytes = layoutBytes;
    for (const auto& font : fonts) bytes += font.second.bytes;
    return bytes;
  }

  Font& ForFont(const QFont& font) {
    Font& cache = fonts[QString::number(font.pointSizeF()) + (font.bold() ? u'b' : u'r')];
    cache.table = table;
    return cache;
  }

  static PdfShapedText LayOutLine(const QString& text, const QFont& font, QPaintDevice* device);

  static const FigureGlyphs& FigureGlyphsOf(Font& cache, const QFont& font, QPaintDevice* device);

  // `text` shaped in `font`, whose texts `cache` holds (ForFont). A text wider than `widest`
  // that cannot be a figure keeps only its width: no cell shows it on one line.
  static const PdfShapedText& Shape(Font& cache, const QString& text, const QFont& font,
                                    QPaintDevice* device, double widest);
};

}  // namespace ardvane
