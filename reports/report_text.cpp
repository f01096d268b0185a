#include "reports/report_text.h"

#include <cstdint>

#include "base/utf8.h"

namespace ardvane {
namespace {

constexpr char32_t kFirstStrongIsolate = 0x2068;
constexpr char32_t kPopDirectionalIsolate = 0x2069;

bool IsIsolateStart(char32_t c) { return c >= 0x2066 && c <= 0x2068; }
bool IsDirectionControl(char32_t c) {
  return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

}  // namespace

std::string ReportHtmlText(std::string_view value) {
  std::string text;
  text.reserve(value.size() + 8);
  bool fenced = false;
  int openIsolates = 0;  // isolates opened inside the value and not yet closed
  for (std::size_t at = 0; at < value.size();) {
    char32_t c = NextUtf8Character(value, &at);
    if (c == '\r' && at < value.size() && value[at] == '\n') ++at;
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    if (c < 0x20 && c != ' ') continue;
    if (c >= 0x7F && c <= 0x9F) continue;
    if (IsDirectionControl(c)) {
      fenced = true;
      if (IsIsolateStart(c)) {
        ++openIsolates;
      } else if (c == kPopDirectionalIsolate) {
        // One that closes nothing of the value's own would close the fence early.
        if (openIsolates == 0) continue;
        --openIsolates;
      }
    }
    switch (c) {
      case '&':
        text += "&amp;";
        break;
      case '<':
        text += "&lt;";
        break;
      case '>':
        text += "&gt;";
        break;
      case '"':
        text += "&quot;";
        break;
      case '\'':
        text += "&#39;";
        break;
      default:
        AppendUtf8(text, c);
    }
  }
  if (!fenced) return text;
  // Closing an isolate closes the embeddings and overrides opened inside it.
  std::string isolated;
  AppendUtf8(isolated, kFirstStrongIsolate);
  isolated += text;
  for (int k = 0; k <= openIsolates; ++k) AppendUtf8(isolated, kPopDirectionalIsolate);
  return isolated;
}

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Whether `text` has a tag named `name` (e.g. "td" or "/td") at `at`.
bool TagAt(std::string_view text, std::size_t at, std::string_view name) {
  if (text.compare(at, 1, "<") != 0 || text.compare(at + 1, name.size(), name) != 0) return false;
  const std::size_t after = at + 1 + name.size();
  return after < text.size() &&
         (text[after] == '>' || text[after] == ' ' || text[after] == '\t' ||
          text[after] == '\r' || text[after] == '\n');
}

}  // namespace

std::string KeepFiguresWhole(std::string_view text) {
  static constexpr std::string_view kNoBreakSpace = "\u00A0";
  std::string kept;
  kept.reserve(text.size() + 8);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != ' ') {
      kept += text[i];
      continue;
    }
    const bool digitBefore = i > 0 && IsDigit(text[i - 1]);
    const bool digitAfter = i + 1 < text.size() && IsDigit(text[i + 1]);
    const bool deBeforeNumber =
        text.compare(i + 1, 3, "de ") == 0 && i + 4 < text.size() && IsDigit(text[i + 4]);
    if (digitBefore || digitAfter || deBeforeNumber) {
      kept += kNoBreakSpace;
    } else {
      kept += ' ';
    }
  }
  return kept;
}

std::set<std::string, std::less<>> PlaceholdersInCells(std::string_view html) {
  std::set<std::string, std::less<>> names;
  int cells = 0;  // open cells (a table in a cell opens more)
  for (std::size_t at = 0; at < html.size(); ++at) {
    if (html[at] == '<') {
      if (TagAt(html, at, "td") || TagAt(html, at, "th")) ++cells;
      if ((TagAt(html, at, "/td") || TagAt(html, at, "/th")) && cells > 0) --cells;
    } else if (html.compare(at, 2, "[$") == 0) {
      const std::size_t end = html.find("$]", at + 2);
      if (end == std::string_view::npos) break;
      if (cells > 0) names.emplace(html.substr(at + 2, end - at - 2));
      at = end + 1;
    }
  }
  return names;
}

}  // namespace ardvane
