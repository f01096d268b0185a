#include "reports/report_text.h"

#include <cstdint>

namespace ardvane {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kFirstStrongIsolate = 0x2068;
constexpr char32_t kPopDirectionalIsolate = 0x2069;

// Decodes the character at `*at` and moves past it; an ill-formed sequence gives
// kReplacement for its first byte.
char32_t NextCharacter(std::string_view text, std::size_t* at) {
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
  const std::uint8_t lead = byte(*at);
  ++*at;
  if (lead < 0x80) return lead;
  int length = 0;
  char32_t c = 0;
  char32_t least = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 1, c = lead & 0x1F, least = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 2, c = lead & 0x0F, least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 3, c = lead & 0x07, least = 0x10000;
  } else {
    return kReplacement;
  }
  if (*at + length > text.size()) return kReplacement;
  for (int k = 0; k < length; ++k) {
    const std::uint8_t next = byte(*at + k);
    if ((next & 0xC0) != 0x80) return kReplacement;
    c = (c << 6) | (next & 0x3F);
  }
  if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return kReplacement;
  *at += length;
  return c;
}

void AppendUtf8(char32_t c, std::string* out) {
  if (c < 0x80) {
    *out += static_cast<char>(c);
  } else if (c < 0x800) {
    *out += static_cast<char>(0xC0 | (c >> 6));
    *out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    *out += static_cast<char>(0xE0 | (c >> 12));
    *out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    *out += static_cast<char>(0xF0 | (c >> 18));
    *out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    *out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

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
    char32_t c = NextCharacter(value, &at);
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
        AppendUtf8(c, &text);
    }
  }
  if (!fenced) return text;
  // Closing an isolate closes the embeddings and overrides opened inside it.
  std::string isolated;
  AppendUtf8(kFirstStrongIsolate, &isolated);
  isolated += text;
  for (int k = 0; k <= openIsolates; ++k) AppendUtf8(kPopDirectionalIsolate, &isolated);
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
