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

namespace ardvane {
namespace {

// A cell's text is a figure (kept on one line) when it is this short and holds a digit.
constexpr int kMaxFigureLength = 24;
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

// The value of `property` in a list of CSS declarations ("color: red; border: 1px solid").
std::string DeclarationValue(std::string_view declarations, std::string_view property) {
  const std::string lower = AsciiLower(declarations);
  for (std::size_t at = lower.find(property); at != std::string::npos;
       at = lower.find(property, at + 1)) {
    const bool starts = at == 0 || lower[at - 1] == ';' || lower[at - 1] == '{' ||
                        std::isspace(static_cast<unsigned char>(lower[at - 1]));
    std::size_t colon = at + property.size();
    while (colon < lower.size() && lower[colon] == ' ') ++colon;
    if (!starts || colon >= lower.size() || lower[colon] != ':') continue;
    const std::size_t end = lower.find(';', colon);
    return std::string(Trim(
        std::string_view(declarations)
            .substr(colon + 1, end == std::string::npos ? std::string::npos : end - colon - 1),
        kWhiteSpace));
  }
  return {};
}

// The colour a CSS or HTML value names ("#1f3864", "white"); invalid when it names none.
QColor ColorOf(std::string_view value) {
  const std::string trimmed(Trim(value, kWhiteSpace));
  if (trimmed.empty()) return {};
  return QColor::fromString(QString::fromStdString(trimmed));
}

// The colour in a border declaration ("1px solid #9aa4bf").
QColor BorderColor(std::string_view value) {
  std::size_t from = 0;
  const std::string text(value);
  while (from < text.size()) {
    const std::size_t end = std::min(text.find(' ', from), text.size());
    if (const QColor color = ColorOf(std::string_view(text).substr(from, end - from));
        color.isValid() && text[from] != '0' &&
        !std::isdigit(static_cast<unsigned char>(text[from]))) {
      return color;
    }
    from = end + 1;
  }
  return {};
}

// The declarations of every rule of `css` whose selector list names `selector`, in order.
std::string RuleFor(std::string_view css, std::string_view selector) {
  std::string declarations;
  std::size_t from = 0;
  while (from < css.size()) {
    const std::size_t open = css.find('{', from);
    if (open == std::string_view::npos) break;
    const std::size_t close = css.find('}', open);
    if (close == std::string_view::npos) break;
    std::string_view selectors = css.substr(from, open - from);
    // Comments before the selectors.
    if (const std::size_t comment = selectors.rfind("*/"); comment != std::string_view::npos) {
      selectors.remove_prefix(comment + 2);
    }
    std::size_t start = 0;
    while (start <= selectors.size()) {
      const std::size_t comma = std::min(selectors.find(',', start), selectors.size());
      std::string one;
      for (const char c : Trim(selectors.substr(start, comma - start), kWhiteSpace)) {
        if (std::isspace(static_cast<unsigned char>(c))) {
          if (!one.empty() && one.back() != ' ') one += ' ';
        } else {
          one += AsciiLower(c);
        }
      }
      if (one == selector) {
        declarations.append(css.substr(open + 1, close - open - 1));
        declarations += ';';
        break;
      }
      start = comma + 1;
    }
    from = close + 1;
  }
  return declarations;
}

// Decodes the character references of HTML text.
void AppendDecoded(std::string_view text, QString* out) {
  std::size_t copied = 0;
  for (std::size_t amp = text.find('&'); amp != std::string_view::npos;
       amp = text.find('&', amp + 1)) {
    const std::size_t semicolon = text.find(';', amp);
    if (semicolon == std::string_view::npos || semicolon - amp > 10) continue;
    const std::string_view name = text.substr(amp + 1, semicolon - amp - 1);
    char32_t code = 0;
    if (name == "amp") {
      code = '&';
    } else if (name == "lt") {
      code = '<';
    } else if (name == "gt") {
      code = '>';
    } else if (name == "quot") {
      code = '"';
    } else if (name == "apos") {
      code = '\'';
    } else if (name == "nbsp") {
      code = 0xA0;
    } else if (name.size() > 1 && name[0] == '#') {
      const bool hex = name[1] == 'x' || name[1] == 'X';
      const std::string digits(name.substr(hex ? 2 : 1));
      char* end = nullptr;
      const unsigned long value = std::strtoul(digits.c_str(), &end, hex ? 16 : 10);
      if (!digits.empty() && end == digits.c_str() + digits.size() && value > 0 &&
          value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF)) {
        code = static_cast<char32_t>(value);
      }
    }
    if (code == 0) continue;
    out->append(QString::fromUtf8(text.data() + copied, static_cast<qsizetype>(amp - copied)));
    out->append(QString::fromUcs4(&code, 1));
    copied = semicolon + 1;
  }
  out->append(
      QString::fromUtf8(text.data() + copied, static_cast<qsizetype>(text.size() - copied)));
}

// The attributes of a start tag ("td width=\"8%\" align=right"), names in lower case.
struct Attributes {
  explicit Attributes(std::string_view tag) {
    std::size_t at = 0;
    while (at < tag.size() && !std::isspace(static_cast<unsigned char>(tag[at]))) ++at;
    while (at < tag.size()) {
      while (at < tag.size() &&
             (std::isspace(static_cast<unsigned char>(tag[at])) || tag[at] == '/')) {
        ++at;
      }
      const std::size_t nameStart = at;
      while (at < tag.size() && tag[at] != '=' &&
             !std::isspace(static_cast<unsigned char>(tag[at]))) {
        ++at;
      }
      std::string name = AsciiLower(tag.substr(nameStart, at - nameStart));
      while (at < tag.size() && std::isspace(static_cast<unsigned char>(tag[at]))) ++at;
      std::string value;
      if (at < tag.size() && tag[at] == '=') {
        ++at;
        while (at < tag.size() && std::isspace(static_cast<unsigned char>(tag[at]))) ++at;
        if (at < tag.size() && (tag[at] == '"' || tag[at] == '\'')) {
          const char quote = tag[at++];
          const std::size_t end = std::min(tag.find(quote, at), tag.size());
          value = tag.substr(at, end - at);
          at = end + 1;
        } else {
          const std::size_t start = at;
          while (at < tag.size() && !std::isspace(static_cast<unsigned char>(tag[at]))) ++at;
          value = tag.substr(start, at - start);
        }
      }
      if (!name.empty()) pairs.emplace_back(std::move(name), std::move(value));
    }
  }
  std::string Get(std::string_view name) const {
    for (const auto& [key, value] : pairs) {
      if (key == name) return value;
    }
    return {};
  }
  bool Has(std::string_view name) const {
    return std::any_of(pairs.begin(), pairs.end(),
                       [&](const auto& pair) { return pair.first == name; });
  }
  // The value of a CSS property of the style attribute.
  std::string Style(std::string_view property) const {
    return DeclarationValue(Get("style"), property);
  }
  bool HasClass(std::string_view name) const {
    const std::string classes = ' ' + AsciiLower(Get("class")) + ' ';
    return classes.find(" " + std::string(name) + " ") != std::string::npos;
  }

  std::vector<std::pair<std::string, std::string>> pairs;
};

std::optional<Qt::Alignment> AlignmentOf(std::string_view value) {
  const std::string lower = AsciiLower(Trim(value, kWhiteSpace));
  if (lower == "right") return Qt::AlignRight;
  if (lower == "center" || lower == "middle") return Qt::AlignHCenter;
  if (lower == "left" || lower == "justify") return Qt::AlignLeft;
  return std::nullopt;
}

// A length of a "width" attribute or property in percent; 0 when it is not a percentage.
double PercentOf(std::string_view value) {
  const std::string text(Trim(value, kWhiteSpace));
  if (text.empty() || text.back() != '%') return 0;
  return std::max(0.0, std::atof(text.c_str()));
}

// Collapses runs of blanks, as HTML shows text; no-break spaces stay. A line or paragraph
// separator (U+2028, U+2029) breaks the line, as <br> does: a cell laid out as one line would
// lose the text after it.
QString Collapse(const QString& text, bool* lastWasSpace) {
  QString out;
  out.reserve(text.size());
  for (const QChar c : text) {
    const char16_t u = c.unicode();
    if (u == QChar::LineSeparator || u == QChar::ParagraphSeparator) {
      out += QLatin1Char('\n');
      *lastWasSpace = true;
    } else if (u == ' ' || u == '\t' || u == '\n' || u == '\r' || u == '\f') {
      if (!*lastWasSpace) out += QLatin1Char(' ');
      *lastWasSpace = true;
    } else if (u < 0x20 || u == 0x7F) {
      // Control characters show nothing.
    } else {
      out += c;
      *lastWasSpace = false;
    }
  }
  return out;
}

bool IsFigure(const QString& text) {
  if (text.size() > kMaxFigureLength) return false;
  return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
}

// Removes blanks at the start and end of the cell and around its line breaks.
void TidyRuns(std::vector<PdfTableRun>* runs) {
  for (PdfTableRun& run : *runs) {
    run.text.replace(QLatin1String(" \n"), QLatin1String("\n"));
    run.text.replace(QLatin1String("\n "), QLatin1String("\n"));
  }
  while (!runs->empty() && runs->front().text.trimmed().isEmpty() &&
         !runs->front().text.contains(QLatin1Char('\n'))) {
    runs->erase(runs->begin());
  }
  while (!runs->empty() && runs->back().text.trimmed().isEmpty() &&
         !runs->back().text.contains(QLatin1Char('\n'))) {
    runs->pop_back();
  }
  if (runs->empty()) return;
  while (runs->front().text.startsWith(QLatin1Char(' '))) runs->front().text.remove(0, 1);
  while (runs->back().text.endsWith(QLatin1Char(' '))) runs->back().text.chop(1);
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
                                                    double width, QPaintDevice* device) {
    QTextLayout layout(text, font, device);
    layout.setTextOption(option);
    layout.setFormats(formats);
    layout.setCacheEnabled(true);
    layout.beginLayout();
    double y = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
      line.setLineWidth(width);
      line.setPosition(QPointF(0, y));
      y += line.height();
    }
    layout.endLayout();
    auto out = std::make_shared<PdfWrappedText>();
    out->height = y;
    const auto lines = static_cast<std::size_t>(layout.lineCount());
    out->lineTops.reserve(lines);
    for (std::size_t i = 0; i < lines; ++i) {
      const QTextLine line = layout.lineAt(static_cast<int>(i));
      out->lineTops.push_back(line.y());
      const int start = line.textStart();
      const int end = start + line.textLength();
      for (const QTextLayout::FormatRange& range : formats) {
        const int from = std::max(start, range.start);
        const int to = std::min(end, range.start + range.length);
        if (from >= to) continue;
        const QColor color = range.format.foreground().color();
        for (const QGlyphRun& run : line.glyphRuns(from, to - from)) {
          auto look = std::find_if(out->looks.begin(), out->looks.end(), [&](const Look& l) {
            return l.color == color && l.run.rawFont() == run.rawFont() &&
                   l.run.flags() == run.flags();
          });
          if (look == out->looks.end()) {
            look = out->looks.insert(out->looks.end(), Look{color, QGlyphRun(), {}, {}, {}});
            look->run.setRawFont(run.rawFont());
            look->run.setFlags(run.flags());
          }
          look->lineStarts.resize(i + 1, look->indexes.size());
          look->indexes.append(run.glyphIndexes());
          look->positions.append(run.positions());
        }
      }
    }
    for (Look& look : out->looks) look.lineStarts.resize(lines + 1, look.indexes.size());
    return out;
  }

  // Draws the lines [first, last) at `at`.
  void Draw(QPainter& painter, QPointF at, std::size_t first, std::size_t last) const {
    for (const Look& look : looks) {
      const qsizetype from = look.lineStarts[first];
      const qsizetype to = look.lineStarts[last];
      if (from >= to) continue;
      QGlyphRun run = look.run;
      run.setGlyphIndexes(look.indexes.mid(from, to - from));
      run.setPositions(look.positions.mid(from, to - from));
      painter.setPen(look.color);
      painter.drawGlyphRun(at, run);
    }
  }
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
  void StartTable(long long most) {
    ++table;
    for (auto& font : fonts) font.second.table = table;
    if (Bytes() <= most) return;
    for (auto& font : fonts) {
      std::erase_if(font.second.texts, [&](const auto& text) {
        if (text.second.used >= table - 1) return false;
        font.second.bytes -= Bytes(text.first.size(), !text.second.glyphs.isEmpty());
        return true;
      });
    }
    std::erase_if(layouts, [&](const auto& text) {
      if (text.second.used >= table - 1) return false;
      layoutBytes -= Bytes(text.second.characters);
      return true;
    });
    if (Bytes() <= most) return;
    fonts.clear();
    layouts.clear();
    layoutBytes = 0;
  }

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

  static PdfShapedText LayOutLine(const QString& text, const QFont& font, QPaintDevice* device) {
    QTextLayout layout(text, font, device);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (line.isValid()) line.setLineWidth(1e9);
    layout.endLayout();
    PdfShapedText shaped;
    shaped.glyphs = layout.glyphRuns();
    shaped.width = line.isValid() ? line.naturalTextWidth() : 0;
    return shaped;
  }

  static const FigureGlyphs& FigureGlyphsOf(Font& cache, const QFont& font, QPaintDevice* device) {
    if (cache.figures) return *cache.figures;
    FigureGlyphs& out = cache.figures.emplace();
    const QString characters = QString::fromUtf16(kFigureCharacters.data(),
                                                  static_cast<qsizetype>(kFigureCharacters.size()));
    const PdfShapedText all = LayOutLine(characters, font, device);
    if (all.glyphs.size() != 1 || all.glyphs.front().glyphIndexes().size() != characters.size()) {
      return out;
    }
    out.font = all.glyphs.front().rawFont();
    out.baseline = all.glyphs.front().positions().front().y();
    const QList<quint32> glyphs = all.glyphs.front().glyphIndexes();
    const QList<QPointF> positions = all.glyphs.front().positions();
    for (qsizetype i = 0; i < characters.size(); ++i) {
      if (glyphs[i] == 0) return out;
      const char16_t c = characters[i].unicode();
      out.glyphs[c] = glyphs[i];
      out.advances[c] =
          (i + 1 < characters.size() ? positions[i + 1].x() : all.width) - positions[i].x();
    }
    out.usable = true;
    return out;
  }

  // `text` shaped in `font`, whose texts `cache` holds (ForFont). A text wider than `widest`
  // that cannot be a figure keeps only its width: no cell shows it on one line.
  static const PdfShapedText& Shape(Font& cache, const QString& text, const QFont& font,
                                    QPaintDevice* device, double widest) {
    const auto found = cache.texts.find(text);
    if (found != cache.texts.end()) {
      found->second.used = cache.table;
      return found->second;
    }
    const bool figure = !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) {
      return kFigureCharacters.find(c.unicode()) != std::u16string_view::npos;
    });
    if (figure) {
      if (const FigureGlyphs& glyphs = FigureGlyphsOf(cache, font, device); glyphs.usable) {
        QList<quint32> indexes;
        QList<QPointF> positions;
        indexes.reserve(text.size());
        positions.reserve(text.size());
        double x = 0;
        for (const QChar c : text) {
          indexes.append(glyphs.glyphs[c.unicode()]);
          positions.append(QPointF(x, glyphs.baseline));
          x += glyphs.advances[c.unicode()];
        }
        PdfShapedText shaped;
        QGlyphRun run;
        run.setRawFont(glyphs.font);
        run.setGlyphIndexes(indexes);
        run.setPositions(positions);
        shaped.glyphs.append(run);
        shaped.width = x;
        shaped.used = cache.table;
        cache.bytes += Bytes(text.size());
        return cache.texts.emplace(text, std::move(shaped)).first->second;
      }
    }
    PdfShapedText shaped = LayOutLine(text, font, device);
    if (shaped.width > widest && text.size() > kMaxFigureLength) shaped.glyphs.clear();
    shaped.used = cache.table;
    cache.bytes += Bytes(text.size(), !shaped.glyphs.isEmpty());
    return cache.texts.emplace(text, std::move(shaped)).first->second;
  }
};

PdfTableStyle ReadPdfTableStyle(std::string_view css, const QFont& bodyFont) {
  PdfTableStyle style;
  style.font = bodyFont;
  style.shapes = std::make_shared<PdfShapedTexts>();
  if (const QColor color = ColorOf(DeclarationValue(RuleFor(css, "body"), "color"));
      color.isValid()) {
    style.text = color;
  }
  const std::string heading = RuleFor(css, "th");
  if (const QColor color = ColorOf(DeclarationValue(heading, "background-color"));
      color.isValid()) {
    style.headingBackground = color;
  }
  if (const QColor color = ColorOf(DeclarationValue(heading, "color")); color.isValid()) {
    style.headingText = color;
  }
  const std::string total = RuleFor(css, "tr.total td");
  if (const QColor color = ColorOf(DeclarationValue(total, "background-color")); color.isValid()) {
    style.totalBackground = color;
  }
  for (const char* cells : {"table.grid td", "table.rows td", "td"}) {
    if (const QColor color = BorderColor(DeclarationValue(RuleFor(css, cells), "border"));
        color.isValid()) {
      style.lines = color;
      break;
    }
  }
  return style;
}

bool IsPdfTable(std::string_view html) {
  // The tags as ReadPdfTable walks them, to where it gives up or to the table's end.
  int tables = 0;
  std::size_t at = 0;
  while (at < html.size()) {
    const std::size_t open = html.find('<', at);
    if (open == std::string_view::npos) break;
    if (html.substr(open, 4) == "<!--") {
      const std::size_t end = html.find("-->", open);
      at = end == std::string_view::npos ? html.size() : end + 3;
      continue;
    }
    const std::size_t close = html.find('>', open);
    if (close == std::string_view::npos) break;
    const std::string_view tag = html.substr(open + 1, close - open - 1);
    at = close + 1;
    const bool closing = !tag.empty() && tag[0] == '/';
    std::size_t nameEnd = closing ? 1 : 0;
    while (nameEnd < tag.size() && std::isalnum(static_cast<unsigned char>(tag[nameEnd])))
      ++nameEnd;
    const std::string name = AsciiLower(tag.substr(closing ? 1 : 0, nameEnd - (closing ? 1 : 0)));
    if (name == "table") {
      if (closing) {
        if (--tables == 0) break;
      } else if (++tables > 1) {
        return false;
      }
    } else if (name == "img" || name == "object" || name == "svg") {
      return false;
    }
  }
  return true;
}

std::optional<PdfTableContent> ReadPdfTable(std::string_view html) {
  PdfTableContent table;
  std::vector<double> columnPercents;
  bool inHead = false;
  bool sawHead = false;
  bool inCaption = false;
  PdfTableRow* row = nullptr;
  PdfTableCell* cell = nullptr;
  bool rowTotal = false;
  QColor rowBackground;
  int bold = 0;
  int italic = 0;
  std::vector<QColor> colors;  // of nested <font> and <span>
  bool lastWasSpace = true;
  int tables = 0;
  std::vector<bool> rowIsHeading;

  const auto addText = [&](const QString& text) {
    if (cell == nullptr || text.isEmpty()) return;
    QColor color;
    for (auto it = colors.rbegin(); it != colors.rend(); ++it) {
      if (it->isValid()) {
        color = *it;
        break;
      }
    }
    if (!cell->runs.empty()) {
      PdfTableRun& last = cell->runs.back();
      if (last.bold == (bold > 0) && last.italic == (italic > 0) && last.color == color) {
        last.text += text;
        return;
      }
    }
    cell->runs.push_back({text, bold > 0, italic > 0, color});
  };
  const auto endCell = [&] {
    if (cell != nullptr) TidyRuns(&cell->runs);
    cell = nullptr;
  };

  std::size_t at = 0;
  while (at < html.size()) {
    const std::size_t open = html.find('<', at);
    const std::size_t textEnd = open == std::string_view::npos ? html.size() : open;
    if (textEnd > at && cell != nullptr && !inCaption) {
      QString decoded;
      AppendDecoded(html.substr(at, textEnd - at), &decoded);
      addText(Collapse(decoded, &lastWasSpace));
    }
    if (open == std::string_view::npos) break;
    if (html.substr(open, 4) == "<!--") {
      const std::size_t end = html.find("-->", open);
      at = end == std::string_view::npos ? html.size() : end + 3;
      continue;
    }
    const std::size_t close = html.find('>', open);
    if (close == std::string_view::npos) break;
    const std::string_view tag = html.substr(open + 1, close - open - 1);
    at = close + 1;
    const bool closing = !tag.empty() && tag[0] == '/';
    std::size_t nameEnd = closing ? 1 : 0;
    while (nameEnd < tag.size() && std::isalnum(static_cast<unsigned char>(tag[nameEnd])))
      ++nameEnd;
    const std::string name = AsciiLower(tag.substr(closing ? 1 : 0, nameEnd - (closing ? 1 : 0)));

    if (name == "table") {
      if (closing) {
        if (--tables == 0) break;
        continue;
      }
      if (++tables > 1) return std::nullopt;  // a table in a table
      const Attributes attributes(tag);
      if (attributes.Has("border")) {
        table.borders = std::atof(attributes.Get("border").c_str()) > 0 ||
                        Trim(attributes.Get("border"), kWhiteSpace).empty();
      }
      if (AsciiLower(attributes.Style("border")) == "none") table.borders = false;
      if (const double percent = PercentOf(attributes.Get("width")); percent > 0) {
        table.widthPercent = std::min(percent, 100.0);
      }
      if (attributes.Has("cellpadding")) {
        table.paddingPixels =
            std::clamp(std::atof(attributes.Get("cellpadding").c_str()), 0.0, 50.0);
      }
    } else if (name == "img" || name == "object" || name == "svg") {
      return std::nullopt;
    } else if (name == "caption") {
      inCaption = !closing;
    } else if (name == "thead") {
      inHead = !closing;
      sawHead = true;
    } else if (name == "col" && !closing) {
      columnPercents.push_back(PercentOf(Attributes(tag).Get("width")));
    } else if (name == "tr") {
      endCell();
      if (closing) {
        row = nullptr;
        continue;
      }
      const Attributes attributes(tag);
      table.rows.emplace_back();
      row = &table.rows.back();
      rowIsHeading.push_back(inHead);
      rowTotal = attributes.HasClass("total");
      rowBackground = ColorOf(attributes.Get("bgcolor"));
      if (const QColor color = ColorOf(attributes.Style("background-color")); color.isValid()) {
        rowBackground = color;
      }
    } else if (name == "td" || name == "th") {
      endCell();
      if (closing) continue;
      if (row == nullptr) {  // a cell without its row
        table.rows.emplace_back();
        row = &table.rows.back();
        rowIsHeading.push_back(inHead);
        rowTotal = false;
        rowBackground = QColor();
      }
      const Attributes attributes(tag);
      row->cells.emplace_back();
      cell = &row->cells.back();
      cell->heading = name == "th";
      cell->bold = cell->heading || rowTotal;
      cell->align = cell->heading ? Qt::AlignHCenter : Qt::AlignLeft;
      if (attributes.HasClass("num")) cell->align = Qt::AlignRight;
      if (const auto align = AlignmentOf(attributes.Get("align"))) cell->align = *align;
      if (const auto align = AlignmentOf(attributes.Style("text-align"))) cell->align = *align;
      cell->background = rowBackground;
      if (const QColor color = ColorOf(attributes.Get("bgcolor")); color.isValid()) {
        cell->background = color;
      }
      if (const QColor color = ColorOf(attributes.Style("background-color")); color.isValid()) {
        cell->background = color;
      }
      cell->color = ColorOf(attributes.Style("color"));
      if (AsciiLower(attributes.Style("font-weight")) == "bold") cell->bold = true;
      cell->span = std::clamp(std::atoi(attributes.Get("colspan").c_str()), 1, 100);
      cell->widthPercent = PercentOf(attributes.Get("width"));
      if (cell->widthPercent == 0) cell->widthPercent = PercentOf(attributes.Style("width"));
      bold = 0;
      italic = 0;
      colors.clear();
      lastWasSpace = true;
    } else if (cell == nullptr) {
      continue;
    } else if (name == "b" || name == "strong") {
      bold += closing ? (bold > 0 ? -1 : 0) : 1;
    } else if (name == "i" || name == "em") {
      italic += closing ? (italic > 0 ? -1 : 0) : 1;
    } else if (name == "font" || name == "span") {
      if (closing) {
        if (!colors.empty()) colors.pop_back();
      } else {
        const Attributes attributes(tag);
        QColor color = ColorOf(attributes.Get("color"));
        if (const QColor styled = ColorOf(attributes.Style("color")); styled.isValid())
          color = styled;
        colors.push_back(color);
        if (AsciiLower(attributes.Style("font-weight")) == "bold") ++bold;
      }
    } else if (name == "br" || ((name == "p" || name == "div") && closing)) {
      addText(QStringLiteral("\n"));
      lastWasSpace = true;
    }
  }
  endCell();

  // The heading rows: those of <thead>, or else the leading rows that hold only headings.
  if (sawHead) {
    while (table.headingRows < static_cast<int>(table.rows.size()) &&
           rowIsHeading[static_cast<std::size_t>(table.headingRows)]) {
      ++table.headingRows;
    }
  } else {
    for (const PdfTableRow& r : table.rows) {
      if (r.cells.empty() ||
          !std::all_of(r.cells.begin(), r.cells.end(), [](const auto& c) { return c.heading; })) {
        break;
      }
      ++table.headingRows;
    }
  }
  // A table of headings only has nothing to repeat them for.
  if (table.headingRows == static_cast<int>(table.rows.size())) table.headingRows = 0;
  // Widths of <col> elements go to the first row's cells that ask for none.
  if (!columnPercents.empty() && !table.rows.empty()) {
    std::size_t column = 0;
    for (PdfTableCell& c : table.rows.front().cells) {
      if (column < columnPercents.size() && c.widthPercent == 0 && c.span == 1) {
        c.widthPercent = columnPercents[column];
      }
      column += static_cast<std::size_t>(c.span);
    }
  }
  return table;
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

void PdfTablePainter::LayOut(QPaintDevice* device) {
  const double pixelsPerCssPixel = device->logicalDpiX() / 96.0;
  padding_ = content_.paddingPixels * pixelsPerCssPixel;
  lineWidth_ = content_.borders ? 0.8 * pixelsPerCssPixel : 0;
  const double tableWidth = width_ * content_.widthPercent / 100;

  int columnCount = 0;
  for (const PdfTableRow& row : content_.rows) {
    int columns = 0;
    for (const PdfTableCell& cell : row.cells) columns += cell.span;
    columnCount = std::max(columnCount, columns);
  }
  const auto n = static_cast<std::size_t>(columnCount);

  // Each cell's plain text, and what kind of text it is.
  struct Text {
    QString plain;
    bool figure = false;
    bool simple = false;                    // one run, one line
    const PdfShapedText* shaped = nullptr;  // of a one-line text, in the type it is set in
  };
  std::vector<std::vector<Text>> texts;
  for (const PdfTableRow& row : content_.rows) {
    auto& line = texts.emplace_back();
    for (const PdfTableCell& cell : row.cells) {
      Text text;
      text.plain = PlainText(cell);
      text.figure = IsFigure(text.plain) && !text.plain.contains(QLatin1Char('\n'));
      text.simple = cell.runs.size() == 1 && !text.plain.contains(QLatin1Char('\n'));
      line.push_back(std::move(text));
    }
  }

  if (!style_.shapes) style_.shapes = std::make_shared<PdfShapedTexts>();
  style_.shapes->StartTable(style_.mostShapedTextBytes);
  std::optional<QFontMetricsF> regular;
  PdfShapedTexts::Font* regularTexts = nullptr;
  PdfShapedTexts::Font* boldTexts = nullptr;
  const auto shape = [&](const QString& text, bool isBold) -> const PdfShapedText& {
    return PdfShapedTexts::Shape(isBold ? *boldTexts : *regularTexts, text,
                                 isBold ? boldFont_ : font_, device, width_);
  };
  const auto measure = [&](const QString& text, bool isBold) { return shape(text, isBold).width; };
  const auto runsBold = [](const PdfTableCell& cell, const PdfTableRun& run) {
    return cell.bold || run.bold;
  };

  // Type that fits: the columns' narrowest widths must fit across the table.
  std::vector<double> narrowest(n), widest(n), asked(n);
  font_ = style_.font;
  for (int attempt = 0; attempt < kFontAttempts; ++attempt) {
    boldFont_ = font_;
    boldFont_.setBold(true);
    regular.emplace(font_, device);
    regularTexts = &style_.shapes->ForFont(font_);
    boldTexts = &style_.shapes->ForFont(boldFont_);
    std::fill(narrowest.begin(), narrowest.end(), 0.0);
    std::fill(widest.begin(), widest.end(), 0.0);
    std::fill(asked.begin(), asked.end(), 0.0);
    const double longestWord = kMaxWordShare * tableWidth;
    // The cells over several columns: their first column, how many, and their narrowest and
    // widest widths.
    struct Spanning {
      std::size_t column, span;
      double narrow, wide;
    };
    std::vector<Spanning> spanning;
    for (std::size_t r = 0; r < content_.rows.size(); ++r) {
      std::size_t column = 0;
      const auto& cells = content_.rows[r].cells;
      for (std::size_t c = 0; c < cells.size() && column < n; ++c) {
        const PdfTableCell& cell = cells[c];
        Text& text = texts[r][c];
        double narrow = 0;
        double wide = 0;
        if (text.simple || text.figure) {
          const bool isBold = cell.bold || (!cell.runs.empty() && cell.runs.front().bold);
          text.shaped = &shape(text.plain, isBold);
          wide = text.shaped->width;
        } else {
          // Each line's runs, one after another.
          double line = 0;
          for (const PdfTableRun& run : cell.runs) {
            const QStringList parts = run.text.split(QLatin1Char('\n'));
            for (qsizetype p = 0; p < parts.size(); ++p) {
              if (p > 0) line = 0;
              line += measure(parts[p], runsBold(cell, run));
              wide = std::max(wide, line);
            }
          }
        }
        if (text.figure) {
          narrow = wide;
        } else {
          for (const PdfTableRun& run : cell.runs) {
            qsizetype start = 0;
            for (qsizetype end = 0; end <= run.text.size(); ++end) {
              if (end < run.text.size() && run.text[end] != QLatin1Char(' ') &&
                  run.text[end] != QLatin1Char('\n')) {
                continue;
              }
              if (end > start) {
                narrow =
                    std::max(narrow, std::min(longestWord, measure(run.text.mid(start, end - start),
                                                                   runsBold(cell, run))));
              }
              start = end + 1;
            }
          }
        }
        // A pixel to spare, so that sums of widths that round down still hold the text.
        const double extra = 2 * padding_ + lineWidth_ + 1;
        if (cell.span == 1) {
          narrowest[column] = std::max(narrowest[column], narrow + extra);
          widest[column] = std::max(widest[column], wide + extra);
          if (cell.widthPercent > 0 && asked[column] == 0) {
            asked[column] = cell.widthPercent * tableWidth / 100;
          }
        } else {
          spanning.push_back({column, std::min(static_cast<std::size_t>(cell.span), n - column),
                              narrow + extra, wide + extra});
        }
        column += static_cast<std::size_t>(cell.span);
      }
    }
    // A cell over several columns needs their widths together: what they lack is shared out
    // equally among them. (Columns that only such cells hold would otherwise get no width,
    // and their text a line for each character.)
    for (const Spanning& cell : spanning) {
      const auto widen = [&](std::vector<double>& widths, double needed) {
        const auto first = widths.begin() + static_cast<std::ptrdiff_t>(cell.column);
        const auto last = first + static_cast<std::ptrdiff_t>(cell.span);
        const double have = std::accumulate(first, last, 0.0);
        if (needed <= have) return;
        for (auto it = first; it != last; ++it)
          *it += (needed - have) / static_cast<double>(cell.span);
      };
      widen(narrowest, cell.narrow);
      widen(widest, cell.wide);
    }
    const double needed = std::accumulate(narrowest.begin(), narrowest.end(), 0.0);
    if (needed <= tableWidth || attempt == kFontAttempts - 1 ||
        font_.pointSizeF() <= style_.font.pointSizeF() * kSmallestFontShare) {
      break;
    }
    font_.setPointSizeF(std::max(style_.font.pointSizeF() * kSmallestFontShare,
                                 font_.pointSizeF() * tableWidth / needed * 0.98));
  }

  columns_ = ShareColumnWidths(narrowest, widest, asked, tableWidth);
  std::vector<double> left(n + 1, 0.0);
  for (std::size_t c = 0; c < n; ++c) left[c + 1] = left[c] + columns_[c];

  // The cells, with their lines.
  lineSpacing_ = regular->lineSpacing();
  rows_.clear();
  rows_.resize(content_.rows.size());
  for (std::size_t r = 0; r < content_.rows.size(); ++r) {
    const PdfTableRow& row = content_.rows[r];
    LaidRow& laid = rows_[r];
    double textHeight = 0;
    std::size_t column = 0;
    for (std::size_t c = 0; c < row.cells.size() && column < n; ++c) {
      const PdfTableCell& cell = row.cells[c];
      const Text& text = texts[r][c];
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
        // Wraps between words; a word wider than the column (a name without spaces) breaks.
        QString whole;
        QList<QTextLayout::FormatRange> formats;
        // What the layout depends on besides the text.
        QString key = QString::number(font_.pointSizeF()) + u' ' + QString::number(room) + u' ' +
                      QString::number(out.align.toInt()) + (text.figure ? u'f' : u't');
        for (const PdfTableRun& run : cell.runs) {
          key += QString::number(run.text.size()) + (runsBold(cell, run) ? u'b' : u'r') +
                 (run.italic ? u'i' : u'n') +
                 (run.color.isValid() ? run.color : color).name(QColor::HexArgb);
        }
        key += u'|';
        for (const PdfTableRun& run : cell.runs) key += run.text;
        if (const auto known = style_.shapes->layouts.find(key);
            known != style_.shapes->layouts.end()) {
          known->second.used = style_.shapes->table;
          out.wrapped = known->second.text;
          out.lines = static_cast<int>(out.wrapped->lineTops.size());
          out.textHeight = out.wrapped->height;
          textHeight = std::max(textHeight, out.textHeight);
          continue;
        }
        for (const PdfTableRun& run : cell.runs) {
          QTextCharFormat format;
          format.setFontWeight(runsBold(cell, run) ? QFont::Bold : QFont::Normal);
          format.setFontItalic(run.italic);
          format.setForeground(run.color.isValid() ? run.color : color);
          QString part = run.text;
          part.replace(QLatin1Char('\n'), QChar::LineSeparator);
          if (!text.figure) {
            QFont runFont = font_;
            runFont.setBold(runsBold(cell, run));
            runFont.setItalic(run.italic);
            part = BreakLongWords(part, runFont, room, device);
          }
          formats.append({static_cast<int>(whole.size()), static_cast<int>(part.size()), format});
          whole += part;
        }
        QTextOption option(out.align);
        option.setWrapMode(text.figure ? QTextOption::NoWrap
                                       : QTextOption::WrapAtWordBoundaryOrAnywhere);
        auto wrapped =
            PdfWrappedText::Make(whole, formats, font_, option, std::max(1.0, room), device);
        out.lines = static_cast<int>(wrapped->lineTops.size());
        out.textHeight = wrapped->height;
        out.wrapped = wrapped;
        const qsizetype characters = key.size();
        style_.shapes->layoutBytes += PdfShapedTexts::Bytes(characters);
        style_.shapes->layouts.emplace(
            std::move(key), PdfShapedTexts::Wrapped{std::move(wrapped), characters,
                                                    style_.shapes->table});
      }
      textHeight = std::max(textHeight, out.textHeight);
    }
    laid.height = std::max(textHeight, lineSpacing_) + 2 * padding_ + lineWidth_;

    GatherGlyphs(&laid);
  }
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
