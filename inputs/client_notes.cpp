#include "inputs/client_notes.h"

#include <algorithm>

#include "planfiles/atomic_file.h"

namespace ardvane {
namespace {

bool IsBlank(const std::string& text) {
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
  if (!lines.empty() && !IsBlank(lines.back())) lines.emplace_back();
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
    if (IsBlank(*part)) continue;
    if (!name.empty()) name += ", ";
    name += *part;
  }
  if (!name.empty()) name += ' ';
  name += "notes ";
  name += FormatShortDate(plan.Date, regional.shortDateFormat);
  name += ".rtf";
  std::replace(name.begin(), name.end(), '/', '.');
  return name;
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
