#include "settings/ini_text.h"

#include <algorithm>

#include "base/text.h"

namespace ardvane {

namespace {

constexpr std::string_view kUtf8Signature = "\xEF\xBB\xBF";

bool IsBlankChar(char c) { return c == ' ' || c == '\t'; }
bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

}  // namespace

IniText::IniText(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Signature)) {
    signature_ = kUtf8Signature;
    bytes.remove_prefix(kUtf8Signature.size());
  }
  bytes = bytes.substr(0, bytes.find('\0'));
  std::optional<std::string> section = std::string();  // keys before any section line
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t end = pos;
    while (end < bytes.size() && !IsLineEnd(bytes[end])) ++end;
    size_t next = end;
    if (next < bytes.size()) {
      next += bytes.compare(next, 2, "\r\n") == 0 ? 2 : 1;
    }
    Line line = ParseLine(std::string(bytes.substr(pos, end - pos)),
                          std::string(bytes.substr(end, next - end)), section);
    section = line.section;
    lines_.push_back(std::move(line));
    pos = next;
  }
}

IniText::Line IniText::ParseLine(std::string text, std::string end,
                                 const std::optional<std::string>& section) {
  Line line;
  line.text = std::move(text);
  line.end = std::move(end);
  line.section = section;
  const std::string_view trimmed = Trim(line.text);
  if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#') return line;
  if (trimmed.front() == '[') {
    const std::string_view name = Trim(trimmed.substr(1, trimmed.find(']') - 1));
    line.opensSection = true;
    line.section = name.empty() ? std::nullopt : std::optional<std::string>(name);
    return line;
  }
  const size_t equals = line.text.find('=');
  if (equals == std::string::npos) return line;
  const std::string_view key = Trim(std::string_view(line.text).substr(0, equals));
  if (key.empty()) return line;
  line.entry = true;
  line.key = key;
  line.valueBegin = equals + 1;
  while (line.valueBegin < line.text.size() && IsBlankChar(line.text[line.valueBegin])) {
    ++line.valueBegin;
  }
  return line;
}

bool IniText::Matches(const Line& line, std::string_view section, std::string_view key) const {
  return line.entry && line.section.has_value() && SameName(*line.section, section) &&
         SameName(line.key, key);
}

std::optional<std::string> IniText::Value(std::string_view section, std::string_view key) const {
  for (auto line = lines_.rbegin(); line != lines_.rend(); ++line) {
    if (Matches(*line, section, key)) {
      return std::string(Trim(std::string_view(line->text).substr(line->valueBegin)));
    }
  }
  return std::nullopt;
}

void IniText::Set(std::string_view section, std::string_view key, std::string_view value) {
  bool found = false;
  for (Line& line : lines_) {
    if (Matches(line, section, key)) {
      line.text.replace(line.valueBegin, std::string::npos, value);
      found = true;
    }
  }
  if (found) return;

  const std::string end = LineEnd();
  std::string text(key);
  text += '=';
  text.append(value);
  if (section.empty()) {
    // The keys before any section line: after the last of them, else at the very start (a
    // section line without a name would open a section that no name reaches).
    size_t insertAt = 0;
    for (size_t j = 0; j < lines_.size() && !lines_[j].opensSection; ++j) {
      if (lines_[j].entry) insertAt = j + 1;
    }
    if (insertAt > 0 && lines_[insertAt - 1].end.empty()) lines_[insertAt - 1].end = end;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt),
                  ParseLine(std::move(text), end, std::string()));
    return;
  }

  std::optional<size_t> header;
  for (size_t i = lines_.size(); i > 0 && !header; --i) {
    const Line& line = lines_[i - 1];
    if (line.opensSection && line.section.has_value() && SameName(*line.section, section)) {
      header = i - 1;
    }
  }
  if (!header) {
    if (!lines_.empty() && lines_.back().end.empty()) lines_.back().end = end;
    if (!lines_.empty() && !Trim(lines_.back().text).empty()) {
      // Ended as the line before: after a lone CR, an LF would join it as one CR LF.
      lines_.push_back(ParseLine("", lines_.back().end, lines_.back().section));
    }
    std::string headerText = "[";
    headerText.append(section);
    headerText += ']';
    lines_.push_back(ParseLine(std::move(headerText), end, std::nullopt));
    header = lines_.size() - 1;
  }
  // After the last entry of the section's last occurrence, or right after its section line.
  size_t insertAt = *header + 1;
  for (size_t j = insertAt; j < lines_.size() && !lines_[j].opensSection; ++j) {
    if (lines_[j].entry) insertAt = j + 1;
  }
  if (lines_[insertAt - 1].end.empty()) lines_[insertAt - 1].end = end;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt),
                ParseLine(std::move(text), end, lines_[*header].section));
}

void IniText::Erase(std::string_view section, std::string_view key) {
  std::erase_if(lines_, [&](const Line& line) { return Matches(line, section, key); });
}

std::string IniText::LineEnd() const {
  for (const Line& line : lines_) {
    if (!line.end.empty()) return line.end == "\r\n" ? "\r\n" : "\n";
  }
  return "\n";
}

std::string IniText::Bytes() const {
  std::string bytes = signature_;
  for (const Line& line : lines_) {
    bytes += line.text;
    bytes += line.end;
  }
  return bytes;
}

}  // namespace ardvane
