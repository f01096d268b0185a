#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "engine/calendar.h"
#include "engine/plan_document.h"
#include "engine/regional_settings.h"

namespace ardvane {

// A moment on the local clock, as the program's entry point reads it; tests make their own.
struct LocalDateTime {
  DayNumber day = 0;
  int hour = 0;  // 0..23
  int minute = 0;
  int second = 0;
};

// The time of day written with a time pattern of the regional settings: "h"/"hh" the hour
// (1..12 when the pattern has "AP" or "ap", else 0..23), "H"/"HH" the hour 0..23, "m"/"mm",
// "s"/"ss", "AP"/"A" for AM or PM and "ap"/"a" for am or pm; text in single quotes and every
// other character are copied. "h:mm:ss AP" gives 2:30:00 PM.
std::string FormatTimeOfDay(const LocalDateTime& time, std::string_view pattern);

// The heading that starts each opening of the notes: the short date, a blank, the long time
// and ":", e.g. "1/15/2008 2:30:00 PM:".
std::string NotesHeading(const LocalDateTime& now, const RegionalSettings& regional);

// The lines the notes window opens with: the plan's notes; then, when there is at least one
// line and the last is not blank, an empty line; then the heading.
std::vector<std::string> NotesForEditing(const std::vector<std::string>& notes,
                                         const std::string& heading);

// The text of the notes field as lines: a break is CR LF, LF or CR (and the paragraph and
// line separators U+2029 and U+2028); a break at the very end adds no empty line.
std::vector<std::string> SplitNoteLines(std::string_view text);

// "Last, First notes M.d.yyyy.rtf": the file the notes are printed to, the plan date in the
// short date pattern. Every "/" of the name becomes ".", so the name never reaches into
// another folder.
std::string NotesFileName(const PlanDocument& plan, const RegionalSettings& regional);
// The report folder joined with a file name; a "/" is put between them when the folder
// lacks one at its end.
std::filesystem::path ReportFilePath(const std::string& reportDirectory,
                                     const std::string& fileName);

// Writes the lines, each followed by CR LF, as UTF-8 plain text, replacing the file whole
// (the old file stays as it was when the write fails). On failure returns false and sets
// `error` to a message naming the file and the reason.
bool WriteNotesFile(const std::filesystem::path& path, const std::vector<std::string>& lines,
                    std::string* error);

}  // namespace ardvane
