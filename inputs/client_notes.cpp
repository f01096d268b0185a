#include "inputs/client_notes.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "base/atomic_file.h"
#include "base/file_names.h"
#include "base/utf8.h"

namespace ardvane {
namespace {

bool IsBlankLine(const std::string& text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

}  // namespace

std::string NotesHeading(const LocalDateTime& now, const RegionalSettings& regional) {
  return FormatShortDate(now.day, regional.shortDateFormat) + " " +
         FormatTimeOfDay(now, regional.longTimeFormat) + ":";
}

std::vector<std::string> NotesForEditing(const std::vector<std::string>& notes,
                                         const std::string& heading) {
  std::vector<std::string> lines = notes;
  if (!lines.empty() && !IsBlankLine(lines.back())) lines.emplace_back();
  lines.push_back(heading);
  lines.emplace_back();
  return lines;
}

std::vector<std::string> SplitNoteLines(std::string_view text) {
  std::vector<std::string> lines;
  std::string line;
  bool open = false;  // a line has begun that no break has ended yet
  for (size_t i = 0; i < text.size(); ++i) {
    size_t breakLength = 0;
    if (text[i] == '\r') {
      breakLength = i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1;
    } else if (text[i] == '\n') {
      breakLength = 1;
    } else if (text.compare(i, 3, "\xE2\x80\xA9") == 0 || text.compare(i, 3, "\xE2\x80\xA8") == 0) {
      breakLength = 3;  // U+2029 paragraph separator, U+2028 line separator
    }
    if (breakLength > 0) {
      lines.push_back(std::move(line));
      line.clear();
      open = false;
      i += breakLength - 1;
    } else {
      line += text[i];
      open = true;
    }
  }
  if (open) lines.push_back(std::move(line));
  return lines;
}

std::string NotesFileName(const PlanDocument& plan, const RegionalSettings& regional) {
  std::string name;
  for (const std::string* part : {&plan.LastName, &plan.FirstName}) {
    if (IsBlankLine(*part)) continue;
    if (!name.empty()) name += ", ";
    name += *part;
  }
  if (!name.empty()) name += ' ';
  name += "notes ";
  name += FormatShortDate(plan.Date, regional.shortDateFormat);
  return SafeFileName(name, ".rtf");
}

std::string RtfText(std::string_view text) {
  std::string rtf;
  rtf.reserve(text.size());
  const auto unit = [&rtf](int value) {
    if (value > 0x7FFF) value -= 0x10000;  // \u takes a signed 16-bit number
    rtf += "\\u" + std::to_string(value) + "?";
  };
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x80) {
      if (byte == '\\' || byte == '{' || byte == '}') {
        rtf += '\\';
        rtf += static_cast<char>(byte);
      } else if (byte == '\t') {
        rtf += "\\tab ";
      } else if (byte >= 0x20 && byte != 0x7F) {
        rtf += static_cast<char>(byte);
      }
      ++i;
      continue;
    }
    char32_t code = NextUtf8Character(text, &i);
    if (code >= 0x80 && code <= 0x9F) continue;  // C1 controls
    if (code > 0xFFFF) {
      code -= 0x10000;
      unit(static_cast<int>(0xD800 + (code >> 10)));
      unit(static_cast<int>(0xDC00 + (code & 0x3FF)));
    } else {
      unit(static_cast<int>(code));
    }
  }
  return rtf;
}

std::string NotesRtf(const std::vector<std::string>& lines) {
  std::string rtf =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fmodern Courier New;}}\r\n"
      "\\f0\\fs20\r\n";
  for (const std::string& line : lines) rtf += RtfText(line) + "\\par\r\n";
  rtf += "}\r\n";
  return rtf;
}

Status WriteNotesFile(const std::filesystem::path& path, const std::vector<std::string>& lines) {
  const std::string content = NotesRtf(lines);
  const Status written = WriteFileAtomically(path, content);
  if (written.ok()) return written;
  std::string message("Cannot create file \"");
  message.append(path.string()).append("\". ").append(written.message());
  return written.WithMessage(std::move(message));
}

}  // namespace ardvane
