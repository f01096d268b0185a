#include "reports/pdf_table_reader.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "base/text.h"

namespace ardvane {

std::string CssValue(std::string_view declarations, std::string_view property) {
  const std::string lower = AsciiLower(declarations);
  for (std::size_t at = lower.find(property); at != std::string::npos;
       at = lower.find(property, at + 1)) {
    const bool starts = at == 0 || lower[at - 1] == ';' || lower[at - 1] == '{' ||
                        std::isspace(static_cast<unsigned char>(lower[at - 1]));
    std::size_t colon = at + property.size();
    while (colon < lower.size() && lower[colon] == ' ') ++colon;
    if (!starts || colon >= lower.size() || lower[colon] != ':') continue;
    const std::size_t end = lower.find(';', colon);
    return std::string(
        Trim(std::string_view(declarations)
                 .substr(colon + 1, end == std::string::npos ? std::string::npos : end - colon - 1),
             kWhiteSpace));
  }
  return {};
}

QColor CssColor(std::string_view value) {
  const std::string trimmed(Trim(value, kWhiteSpace));
  if (trimmed.empty()) return {};
  return QColor::fromString(QString::fromStdString(trimmed));
}

QColor CssBorderColor(std::string_view value) {
  std::size_t from = 0;
  const std::string text(value);
  while (from < text.size()) {
    const std::size_t end = std::min(text.find(' ', from), text.size());
    if (const QColor color = CssColor(std::string_view(text).substr(from, end - from));
        color.isValid() && text[from] != '0' &&
        !std::isdigit(static_cast<unsigned char>(text[from]))) {
      return color;
    }
    from = end + 1;
  }
  return {};
}

std::string CssRuleFor(std::string_view css, std::string_view selector) {
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

namespace {

// The tag that starts at html[open], a '<', and `*at` moved past it: a comment (skipped
// whole), or a tag with its text between the brackets, whether it closes an element, and its
// name in lower case. Nothing when the tag never ends.
struct TagAt {
  bool comment = false;
  bool closing = false;
  std::string name;
  std::string_view text;
};

std::optional<TagAt> ReadTagAt(std::string_view html, std::size_t open, std::size_t* at) {
  TagAt tag;
  if (html.substr(open, 4) == "<!--") {
    const std::size_t end = html.find("-->", open);
    *at = end == std::string_view::npos ? html.size() : end + 3;
    tag.comment = true;
    return tag;
  }
  const std::size_t close = html.find('>', open);
  if (close == std::string_view::npos) return std::nullopt;
  tag.text = html.substr(open + 1, close - open - 1);
  *at = close + 1;
  tag.closing = !tag.text.empty() && tag.text[0] == '/';
  const std::size_t nameStart = tag.closing ? 1 : 0;
  std::size_t nameEnd = nameStart;
  while (nameEnd < tag.text.size() &&
         std::isalnum(static_cast<unsigned char>(tag.text[nameEnd]))) {
    ++nameEnd;
  }
  tag.name = AsciiLower(tag.text.substr(nameStart, nameEnd - nameStart));
  return tag;
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
  std::string Style(std::string_view property) const { return CssValue(Get("style"), property); }
  bool HasClass(std::string_view name) const {
    std::string classes(1, ' ');
    classes += AsciiLower(Get("class"));
    classes += ' ';
    std::string wanted(1, ' ');
    wanted += name;
    wanted += ' ';
    return classes.find(wanted) != std::string::npos;
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

// Reads one table, a tag at a time.
class TableReader {
 public:
  std::optional<PdfTableContent> Read(std::string_view html);

 private:
  enum class Step { kGoOn, kEnd, kRefuse };
  Step OnTag(const std::string& name, bool closing, std::string_view tag);
  Step OnTable(bool closing, std::string_view tag);
  void OnRow(bool closing, std::string_view tag);
  void OnCell(const std::string& name, bool closing, std::string_view tag);
  void OnText(const std::string& name, bool closing, std::string_view tag);
  void AddText(const QString& text);
  void EndCell();
  void StartRow(bool total, QColor background);
  // The heading rows and the widths of <col> elements, once every row is read.
  void Finish();

  PdfTableContent table_;
  std::vector<double> columnPercents_;
  bool inHead_ = false;
  bool sawHead_ = false;
  bool inCaption_ = false;
  PdfTableRow* row_ = nullptr;
  PdfTableCell* cell_ = nullptr;
  bool rowTotal_ = false;
  QColor rowBackground_;
  int bold_ = 0;
  int italic_ = 0;
  std::vector<QColor> colors_;  // of nested <font> and <span>
  bool lastWasSpace_ = true;
  int tables_ = 0;
  std::vector<bool> rowIsHeading_;
};

void TableReader::AddText(const QString& text) {
  if (cell_ == nullptr || text.isEmpty()) return;
  QColor color;
  for (auto it = colors_.rbegin(); it != colors_.rend(); ++it) {
    if (it->isValid()) {
      color = *it;
      break;
    }
  }
  if (!cell_->runs.empty()) {
    PdfTableRun& last = cell_->runs.back();
    if (last.bold == (bold_ > 0) && last.italic == (italic_ > 0) && last.color == color) {
      last.text += text;
      return;
    }
  }
  cell_->runs.push_back({text, bold_ > 0, italic_ > 0, color});
}

void TableReader::EndCell() {
  if (cell_ != nullptr) TidyRuns(&cell_->runs);
  cell_ = nullptr;
}

std::optional<PdfTableContent> TableReader::Read(std::string_view html) {
  std::size_t at = 0;
  while (at < html.size()) {
    const std::size_t open = html.find('<', at);
    const std::size_t textEnd = open == std::string_view::npos ? html.size() : open;
    if (textEnd > at && cell_ != nullptr && !inCaption_) {
      QString decoded;
      AppendDecoded(html.substr(at, textEnd - at), &decoded);
      AddText(Collapse(decoded, &lastWasSpace_));
    }
    if (open == std::string_view::npos) break;
    const std::optional<TagAt> tag = ReadTagAt(html, open, &at);
    if (!tag) break;
    if (tag->comment) continue;
    const Step step = OnTag(tag->name, tag->closing, tag->text);
    if (step == Step::kRefuse) return std::nullopt;
    if (step == Step::kEnd) break;
  }
  EndCell();
  Finish();
  return std::move(table_);
}

TableReader::Step TableReader::OnTag(const std::string& name, bool closing, std::string_view tag) {
  if (name == "table") return OnTable(closing, tag);
  if (name == "img" || name == "object" || name == "svg") return Step::kRefuse;
  if (name == "caption") {
    inCaption_ = !closing;
  } else if (name == "thead") {
    inHead_ = !closing;
    sawHead_ = true;
  } else if (name == "col" && !closing) {
    columnPercents_.push_back(PercentOf(Attributes(tag).Get("width")));
  } else if (name == "tr") {
    OnRow(closing, tag);
  } else if (name == "td" || name == "th") {
    OnCell(name, closing, tag);
  } else if (cell_ != nullptr) {
    OnText(name, closing, tag);
  }
  return Step::kGoOn;
}

TableReader::Step TableReader::OnTable(bool closing, std::string_view tag) {
  if (closing) return --tables_ == 0 ? Step::kEnd : Step::kGoOn;
  if (++tables_ > 1) return Step::kRefuse;  // a table in a table
  const Attributes attributes(tag);
  if (attributes.Has("border")) {
    table_.borders = std::atof(attributes.Get("border").c_str()) > 0 ||
                     Trim(attributes.Get("border"), kWhiteSpace).empty();
  }
  if (AsciiLower(attributes.Style("border")) == "none") table_.borders = false;
  if (const double percent = PercentOf(attributes.Get("width")); percent > 0) {
    table_.widthPercent = std::min(percent, 100.0);
  }
  if (attributes.Has("cellpadding")) {
    table_.paddingPixels = std::clamp(std::atof(attributes.Get("cellpadding").c_str()), 0.0, 50.0);
  }
  return Step::kGoOn;
}

void TableReader::StartRow(bool total, QColor background) {
  table_.rows.emplace_back();
  row_ = &table_.rows.back();
  rowIsHeading_.push_back(inHead_);
  rowTotal_ = total;
  rowBackground_ = background;
}

void TableReader::OnRow(bool closing, std::string_view tag) {
  EndCell();
  if (closing) {
    row_ = nullptr;
    return;
  }
  const Attributes attributes(tag);
  QColor background = CssColor(attributes.Get("bgcolor"));
  if (const QColor color = CssColor(attributes.Style("background-color")); color.isValid()) {
    background = color;
  }
  StartRow(attributes.HasClass("total"), background);
}

void TableReader::OnCell(const std::string& name, bool closing, std::string_view tag) {
  EndCell();
  if (closing) return;
  if (row_ == nullptr) StartRow(false, QColor());  // a cell without its row
  const Attributes attributes(tag);
  row_->cells.emplace_back();
  cell_ = &row_->cells.back();
  PdfTableCell& cell = *cell_;
  cell.heading = name == "th";
  cell.bold = cell.heading || rowTotal_;
  cell.align = cell.heading ? Qt::AlignHCenter : Qt::AlignLeft;
  if (attributes.HasClass("num")) cell.align = Qt::AlignRight;
  if (const auto align = AlignmentOf(attributes.Get("align"))) cell.align = *align;
  if (const auto align = AlignmentOf(attributes.Style("text-align"))) cell.align = *align;
  cell.background = rowBackground_;
  if (const QColor color = CssColor(attributes.Get("bgcolor")); color.isValid()) {
    cell.background = color;
  }
  if (const QColor color = CssColor(attributes.Style("background-color")); color.isValid()) {
    cell.background = color;
  }
  cell.color = CssColor(attributes.Style("color"));
  if (AsciiLower(attributes.Style("font-weight")) == "bold") cell.bold = true;
  cell.span = std::clamp(std::atoi(attributes.Get("colspan").c_str()), 1, 100);
  cell.widthPercent = PercentOf(attributes.Get("width"));
  if (cell.widthPercent == 0) cell.widthPercent = PercentOf(attributes.Style("width"));
  bold_ = 0;
  italic_ = 0;
  colors_.clear();
  lastWasSpace_ = true;
}

void TableReader::OnText(const std::string& name, bool closing, std::string_view tag) {
  if (name == "b" || name == "strong") {
    bold_ += closing ? (bold_ > 0 ? -1 : 0) : 1;
  } else if (name == "i" || name == "em") {
    italic_ += closing ? (italic_ > 0 ? -1 : 0) : 1;
  } else if (name == "font" || name == "span") {
    if (closing) {
      if (!colors_.empty()) colors_.pop_back();
    } else {
      const Attributes attributes(tag);
      QColor color = CssColor(attributes.Get("color"));
      if (const QColor styled = CssColor(attributes.Style("color")); styled.isValid())
        color = styled;
      colors_.push_back(color);
      if (AsciiLower(attributes.Style("font-weight")) == "bold") ++bold_;
    }
  } else if (name == "br" || ((name == "p" || name == "div") && closing)) {
    AddText(QStringLiteral("\n"));
    lastWasSpace_ = true;
  }
}

void TableReader::Finish() {
  PdfTableContent& table = table_;
  // The heading rows: those of <thead>, or else the leading rows that hold only headings.
  if (sawHead_) {
    while (table.headingRows < static_cast<int>(table.rows.size()) &&
           rowIsHeading_[static_cast<std::size_t>(table.headingRows)]) {
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
  if (!columnPercents_.empty() && !table.rows.empty()) {
    std::size_t column = 0;
    for (PdfTableCell& c : table.rows.front().cells) {
      if (column < columnPercents_.size() && c.widthPercent == 0 && c.span == 1) {
        c.widthPercent = columnPercents_[column];
      }
      column += static_cast<std::size_t>(c.span);
    }
  }
}

}  // namespace

bool IsPdfTable(std::string_view html) {
  // The tags as ReadPdfTable walks them, to where it gives up or to the table's end.
  int tables = 0;
  std::size_t at = 0;
  while (at < html.size()) {
    const std::size_t open = html.find('<', at);
    if (open == std::string_view::npos) break;
    const std::optional<TagAt> tag = ReadTagAt(html, open, &at);
    if (!tag) break;
    if (tag->comment) continue;
    const std::string& name = tag->name;
    if (name == "table") {
      if (tag->closing) {
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
  return TableReader().Read(html);
}

}  // namespace ardvane
