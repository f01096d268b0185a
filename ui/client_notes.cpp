#include "ui/client_notes.h"

#include <algorithm>

#include "planfiles/atomic_file.h"

namespace ardvane {
namespace {

std::string TwoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

size_t RunLength(std::string_view text, size_t at) {
  size_t n = 1;
  while (at + n < text.size() && text[at + n] == text[at]) ++n;
  return n;
}

}  // namespace

std::string FormatTimeOfDay(const LocalDateTime& time, std::string_view pattern) {
  const bool twelveHour = pattern.find("AP") != std::string_view::npos ||
                          pattern.find("ap") != std::string_view::npos ||
                          pattern.find('A') != std::string_view::npos ||
                          pattern.find('a') != std::string_view::npos;
  std::string out;
  for (size_t i = 0; i < pattern.size();) {
    const char c = pattern[i];
    if (c == '\'') {
      const size_t close = pattern.find('\'', i + 1);
      const size_t end = close == std::string_view::npos ? pattern.size() : close;
      if (end == i + 1 && close != std::string_view::npos) {
        out += '\'';  // '' is a quote
      } else {
        out += pattern.substr(i + 1, end - i - 1);
      }
      i = end + 1;
      continue;
    }
    const size_t run = RunLength(pattern, i);
    const auto number = [&out, run](int value) {
      out += run >= 2 ? TwoDigits(value) : std::to_string(value);
    };
    switch (c) {
      case 'h': {
        int hour = time.hour;
        if (twelveHour) hour = hour % 12 == 0 ? 12 : hour % 12;
        number(hour);
        i += std::min<size_t>(run, 2);
        continue;
      }
      case 'H':
        number(time.hour);
        i += std::min<size_t>(run, 2);
        continue;
      case 'm':
        number(time.minute);
        i += std::min<size_t>(run, 2);
        continue;
      case 's':
        number(time.second);
        i += std::min<size_t>(run, 2);
        continue;
      case 'A':
      case 'a': {
        const bool pm = time.hour >= 12;
        const bool upper = c == 'A';
        out += pm ? (upper ? "PM" : "pm") : (upper ? "AM" : "am");
        const char next = c == 'A' ? 'P' : 'p';
        i += i + 1 < pattern.size() && pattern[i + 1] == next ? 2 : 1;
        continue;
      }
      default:
        out += c;
        ++i;
    }
  }
  return out;
}

std::string NotesHeading(const LocalDateTime& now, const RegionalSettings& regional) {
  return FormatShortDate(now.day, regional.shortDateFormat) + " " +
         FormatTimeOfDay(now, regional.longTimeFormat) + ":";
}

std::vector<std::string> NotesForEditing(const std::vector<std::string>& notes,
                                         const std::string& heading) {
  std::vector<std::string> lines = notes;
  if (!lines.empty()) {
    const std::string& last = lines.back();
    const bool blank = std::all_of(last.begin(), last.end(),
                                   [](char c) { return static_cast<unsigned char>(c) <= ' '; });
    if (!blank) lines.emplace_back();
  }
  lines.push_back(heading);
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
  std::string name = plan.LastName + ", " + plan.FirstName + " notes " +
                     FormatShortDate(plan.Date, regional.shortDateFormat) + ".rtf";
  std::replace(name.begin(), name.end(), '/', '.');
  return name;
}

std::filesystem::path ReportFilePath(const std::string& reportDirectory,
                                     const std::string& fileName) {
  if (reportDirectory.empty() || reportDirectory.back() == '/') {
    return std::filesystem::path(reportDirectory + fileName);
  }
  return std::filesystem::path(reportDirectory + "/" + fileName);
}

bool WriteNotesFile(const std::filesystem::path& path, const std::vector<std::string>& lines,
                    std::string* error) {
  std::string content;
  for (const std::string& line : lines) content += line + "\r\n";
  std::string reason;
  if (WriteFileAtomically(path, content, &reason)) return true;
  if (error) *error = "Cannot create file \"" + path.string() + "\". " + reason;
  return false;
}

}  // namespace ardvane
