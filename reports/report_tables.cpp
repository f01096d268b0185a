#include "reports/report_tables.h"

#include <optional>
#include <vector>

namespace ardvane {
namespace {

constexpr std::string_view kTableStart = "<table";
constexpr std::string_view kTableEnd = "</table>";

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

std::size_t SkipSpace(std::string_view text, std::size_t at) {
  while (at < text.size() && IsSpace(text[at])) ++at;
  return at;
}

// Whether a tag named `name` starts at `at` ("<tr>" or "<tr ...>", not "<track>").
bool TagAt(std::string_view text, std::size_t at, std::string_view name) {
  if (text.compare(at, name.size(), name) != 0) return false;
  const std::size_t after = at + name.size();
  return after < text.size() && (text[after] == '>' || IsSpace(text[after]));
}

struct Table {
  std::string_view startTag;
  std::size_t end = 0;  // just after its "</table>"
  bool joinable = false;
  std::vector<std::string_view> rows;
};

// The table whose start tag begins at `at`; nothing when it is not finished.
std::optional<Table> ReadTable(std::string_view html, std::size_t at) {
  const std::size_t tagEnd = html.find('>', at);
  if (tagEnd == std::string_view::npos) return std::nullopt;
  Table table;
  table.startTag = html.substr(at, tagEnd + 1 - at);
  // Its end, past any tables nested in it.
  int depth = 1;
  std::size_t scan = tagEnd + 1;
  std::size_t innerEnd = 0;
  bool nested = false;
  while (depth > 0) {
    const std::size_t open = html.find(kTableStart, scan);
    const std::size_t close = html.find(kTableEnd, scan);
    if (close == std::string_view::npos) return std::nullopt;
    if (open < close && TagAt(html, open, kTableStart)) {
      ++depth;
      nested = true;
      scan = open + kTableStart.size();
    } else if (open < close) {
      scan = open + kTableStart.size();
    } else {
      --depth;
      innerEnd = close;
      scan = close + kTableEnd.size();
    }
  }
  table.end = scan;
  if (nested) return table;
  for (std::size_t row = SkipSpace(html, tagEnd + 1); row < innerEnd; row = SkipSpace(html, row)) {
    if (!TagAt(html, row, "<tr")) return table;
    const std::size_t rowEnd = html.find("</tr>", row);
    if (rowEnd == std::string_view::npos || rowEnd > innerEnd) return table;
    table.rows.push_back(html.substr(row, rowEnd + 5 - row));
    row = rowEnd + 5;
  }
  table.joinable = true;
  return table;
}

bool IsHeadingRow(std::string_view row) {
  return row.find("<td") == std::string_view::npos && row.find("<th") != std::string_view::npos;
}

// The next table start tag at or after `from`.
std::size_t FindTable(std::string_view html, std::size_t from) {
  for (std::size_t at = html.find(kTableStart, from); at != std::string_view::npos;
       at = html.find(kTableStart, at + 1)) {
    if (TagAt(html, at, kTableStart)) return at;
  }
  return std::string_view::npos;
}

}  // namespace

std::string JoinTableRuns(std::string_view html) {
  std::string out;
  out.reserve(html.size());
  std::size_t copied = 0;
  for (std::size_t at = FindTable(html, 0); at != std::string_view::npos;
       at = FindTable(html, at)) {
    std::optional<Table> first = ReadTable(html, at);
    if (!first) break;
    if (!first->joinable) {
      at = first->end;
      continue;
    }
    out.append(html, copied, at - copied);
    out += first->startTag;
    // LibreOffice reads white space just inside <thead> or <tbody> as an empty row, so rows
    // follow their group's tag directly; between rows a line break keeps the text readable.
    bool firstOfGroup = true;
    const auto addRow = [&](std::string_view r) {
      if (!firstOfGroup) out += "\r\n";
      firstOfGroup = false;
      out += r;
    };
    std::size_t row = 0;
    const std::vector<std::string_view>& firstRows = first->rows;
    if (row < firstRows.size() && IsHeadingRow(firstRows[row])) {
      out += "<thead>";
      for (; row < firstRows.size() && IsHeadingRow(firstRows[row]); ++row) addRow(firstRows[row]);
      out += "</thead>";
      firstOfGroup = true;
    }
    out += "<tbody>";
    for (; row < firstRows.size(); ++row) addRow(firstRows[row]);
    std::size_t end = first->end;
    for (;;) {
      const std::size_t next = SkipSpace(html, end);
      if (next >= html.size() || html.compare(next, first->startTag.size(), first->startTag) != 0) {
        break;
      }
      const std::optional<Table> more = ReadTable(html, next);
      if (!more || !more->joinable) break;
      for (const std::string_view r : more->rows) addRow(r);
      end = more->end;
    }
    out += "</tbody></table>";
    copied = end;
    at = end;
  }
  out.append(html, copied, std::string_view::npos);
  return out;
}

}  // namespace ardvane
