#include "reports/pdf_shaped_texts.h"

#include <QFontMetricsF>
#include <QPainter>

namespace ardvane {

std::shared_ptr<const PdfWrappedText> PdfWrappedText::Make(
    const QString& text, const QList<QTextLayout::FormatRange>& formats, const QFont& font,
    const QTextOption& option, double width, QPaintDevice* device) {
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

void PdfWrappedText::Draw(QPainter& painter, QPointF at, std::size_t first,
                          std::size_t last) const {
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

void PdfShapedTexts::StartTable(long long most) {
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

PdfShapedText PdfShapedTexts::LayOutLine(const QString& text, const QFont& font,
                                         QPaintDevice* device) {
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

const PdfShapedTexts::FigureGlyphs& PdfShapedTexts::FigureGlyphsOf(PdfShapedTexts::Font& cache,
                                                                   const QFont& font,
                                                                   QPaintDevice* device) {
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

const PdfShapedText& PdfShapedTexts::Shape(PdfShapedTexts::Font& cache, const QString& text,
                                           const QFont& font, QPaintDevice* device, double widest) {
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

}  // namespace ardvane
