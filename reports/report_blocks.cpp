#include "reports/report_blocks.h"

#include <algorithm>
#include <cctype>

#include "base/text.h"

namespace ardvane {
namespace {

// Whether `text` at `at` reads `lower` (in lower case), whatever the case of its letters.
bool StartsCaseless(std::string_view text, std::size_t at, std::string_view lower) {
  if (at > text.size() || text.size() - at < lower.size()) return false;
  for (std::size_t i = 0; i < lower.size(); ++i) {
    if (AsciiLower(text[at + i]) != lower[i]) return false;
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
    } else if (AsciiLower(text[at]) != first) {
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
    if (nextOpen == std::string_view::npos || nextOpen < at)
      nextOpen = FindCaseless(html, open, at);
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

// Whether the start tag `tag` (from its '<' to before its '>') is a page's header or footer.
bool IsPageFooter(std::string_view tag) {
  const std::string title = AttributeValue(AsciiLower(tag), "title");
  return title == "footer" || title == "header";
}

// The elements that hold others: text inside them is not at the top level of the body.
bool IsContainer(std::string_view name) {
  return name == "div" || name == "table" || name == "ul" || name == "ol" || name == "blockquote" ||
         name == "center";
}

bool IsBlockElement(std::string_view name) {
  constexpr std::string_view kBlocks[] = {"p",  "h1",      "h2",         "h3",    "h4",  "h5",
                                          "h6", "div",     "ul",         "ol",    "pre", "hr",
                                          "dl", "address", "blockquote", "center"};
  return std::find(std::begin(kBlocks), std::end(kBlocks), name) != std::end(kBlocks);
}

// Gathers the blocks of a body as the cutter finds where each starts.
class BlockCutter {
 public:
  BlockCutter(std::string_view html, std::size_t from, std::vector<ReportBlock>* out)
      : html_(html), start_(from), out_(out) {}

  // A block of `kind` starts at `at` (the '<' of its start tag, a <div> when `div`). The
  // blanks since the start of a block not yet named by a tag join it, unless it starts a
  // page: a page starts at its tag.
  void Start(std::size_t at, ReportBlock::Kind kind, bool div, bool newPage) {
    if (named_ || newPage || !IsBlank(html_.substr(start_, at - start_), kWhiteSpace)) {
      if (at > start_) Emit(at);
      start_ = at;
    }
    kind_ = kind;
    div_ = div;
    newPage_ = newPage;
    named_ = true;
  }

  // The table whose start tag is at `at` ends just before `end`; the blanks after it are
  // its own.
  void Table(std::size_t at, std::size_t end, std::size_t limit, bool newPage) {
    if (at > start_) Emit(at);
    std::size_t after = end;
    while (after < limit && std::isspace(static_cast<unsigned char>(html_[after]))) ++after;
    out_->push_back(
        {ReportBlock::Kind::kTable, std::string(html_.substr(at, after - at)), newPage});
    start_ = after;
    kind_ = ReportBlock::Kind::kParagraph;
    div_ = false;
    newPage_ = false;
    named_ = false;
  }

  // The body ends at `end`.
  void Finish(std::size_t end) {
    if (end > start_) Emit(end);
  }

 private:
  void Emit(std::size_t end) {
    std::string text(html_.substr(start_, end - start_));
    ReportBlock::Kind kind = kind_;
    if (kind == ReportBlock::Kind::kParagraph && div_ &&
        FindCaseless(text, "<img") != std::string::npos) {
      kind = ReportBlock::Kind::kPicture;
    }
    out_->push_back({kind, std::move(text), newPage_});
  }

  std::string_view html_;
  std::size_t start_;
  std::vector<ReportBlock>* out_;
  ReportBlock::Kind kind_ = ReportBlock::Kind::kParagraph;
  bool div_ = false;
  bool newPage_ = false;
  bool named_ = false;
};

ReportBlock::Kind KindOf(std::string_view name, std::string_view tag) {
  if (name.size() == 2 && name[0] == 'h' && name[1] >= '1' && name[1] <= '6') {
    return ReportBlock::Kind::kHeading;
  }
  if (name == "div" && IsPageFooter(tag)) return ReportBlock::Kind::kPageFooter;
  return ReportBlock::Kind::kParagraph;
}

}  // namespace

std::string ReportBlocks::Text() const {
  std::size_t size = head.size() + bodyTag.size() + tail.size();
  for (const ReportBlock& block : body) size += block.html.size();
  std::string text;
  text.reserve(size);
  text += head;
  text += bodyTag;
  for (const ReportBlock& block : body) text += block.html;
  text += tail;
  return text;
}

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

ReportBlocks CutReportBlocks(std::string_view html) {
  ReportBlocks document;
  const std::size_t bodyTag = FindCaseless(html, "<body");
  const std::size_t bodyStart =
      bodyTag == std::string_view::npos ? bodyTag : html.find('>', bodyTag);
  const std::size_t bodyEnd = RFindCaseless(html, "</body>");
  if (bodyStart == std::string_view::npos || bodyEnd == std::string_view::npos ||
      bodyEnd < bodyStart) {
    document.hasBody = false;
    document.body.push_back({ReportBlock::Kind::kParagraph, std::string(html), false});
    return document;
  }
  document.head = html.substr(0, bodyTag);
  document.bodyTag = html.substr(bodyTag, bodyStart + 1 - bodyTag);
  document.tail = html.substr(bodyEnd);
  BlockCutter cutter(html, bodyStart + 1, &document.body);
  int depth = 0;
  for (std::size_t at = html.find('<', bodyStart + 1); at < bodyEnd; at = html.find('<', at + 1)) {
    const std::size_t close = html.find('>', at);
    if (close == std::string_view::npos || close > bodyEnd) break;
    const bool closing = html[at + 1] == '/';
    const std::size_t nameStart = at + (closing ? 2 : 1);
    std::size_t nameEnd = nameStart;
    while (nameEnd < close && std::isalnum(static_cast<unsigned char>(html[nameEnd]))) ++nameEnd;
    const std::string name = AsciiLower(html.substr(nameStart, nameEnd - nameStart));
    const std::string_view tag = html.substr(at, close - at);
    const bool topStart = !closing && depth == 0;
    const bool pageBreak = topStart && AsksForPageBreak(tag);
    if (name == "table" && topStart) {
      const std::size_t end = ElementEnd(html, at, "table");
      if (end != std::string_view::npos && end <= bodyEnd) {
        cutter.Table(at, end, bodyEnd, pageBreak);
        at = end - 1;
        continue;
      }
    }
    if (topStart && (IsBlockElement(name) || name == "table" || pageBreak)) {
      const ReportBlock::Kind kind = KindOf(name, tag);
      // The page's own header or footer asks nothing of the report's pages.
      cutter.Start(at, kind, name == "div", pageBreak && kind != ReportBlock::Kind::kPageFooter);
    }
    if (IsContainer(name)) depth = std::max(0, depth + (closing ? -1 : 1));
    at = close;
  }
  cutter.Finish(bodyEnd);
  return document;
}

std::string_view TextBeforeBody(std::string_view html) {
  const std::size_t bodyTag = FindCaseless(html, "<body");
  return html.substr(0, bodyTag == std::string_view::npos ? 0 : bodyTag);
}

std::string DropPageFooters(const std::string& html) {
  std::string kept;
  std::size_t copied = 0;
  for (std::size_t at = FindCaseless(html, "<div"); at != std::string::npos;
       at = FindCaseless(html, "<div", at + 1)) {
    if (at < copied) continue;
    const std::size_t close = html.find('>', at);
    if (close == std::string::npos) break;
    if (!IsPageFooter(std::string_view(html).substr(at, close - at))) continue;
    const std::size_t end = ElementEnd(html, at, "div");
    kept.append(html, copied, at - copied);
    copied = end == std::string::npos ? html.size() : end;
  }
  if (copied == 0) return html;
  kept.append(html, std::min(copied, html.size()), std::string::npos);
  return kept;
}

}  // namespace ardvane
