#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "engine/calendar.h"
#include "engine/plan_document.h"
#include "engine/regional_settings.h"

namespace ardvane {

// The heading that starts each opening of the notes: the short date, a blank, the long time
// and ":", e.g. "1/15/2008 2:30:00 PM:".
std::string NotesHeading(const LocalDateTime& now, const RegionalSettings& regional);

// The lines the notes window opens with: the plan's notes; then, when there is at least one
// line and the last is not blank, an empty line; then the heading; then an empty line, where
// the typing starts (so it never runs on after the heading's colon).
std::vector<std::string> NotesForEditing(const std::vector<std::string>& notes,
                                         const std::string& heading);

// The text of the notes field as lines: a break is CR LF, LF or CR (and the paragraph and
// line separators U+2029 and U+2028); a break at the very end adds no empty line.
std::vector<std::string> SplitNoteLines(std::string_view text);

// "Last, First notes M.d.yyyy.rtf": the file the notes are printed to, the plan date in the
// short date pattern. A name that is empty or blank is left out with its ", " ("Last notes
// ...", "First notes ...", "notes ..."). Made safe by SafeFileName, so the name never reaches
// into another folder nor holds what a file system refuses.
std::string NotesFileName(const PlanDocument& plan, const RegionalSettings& regional);
// `text` (UTF-8) as RTF body text: "\", "{" and "}" escaped, a tab as \tab, every character
// beyond ASCII as \uN? (UTF-16 units, N signed, a byte that is no valid UTF-8 as U+FFFD),
// other control characters left out. The result holds no group and no control word but
// \tab and \u, whatever `text` is.
std::string RtfText(std::string_view text);
// The notes file: an RTF document of the program's own (one group, its font table) holding the
// lines as RtfText, each ended by \par.
std::string NotesRtf(const std::vector<std::string>& lines);
// Writes NotesRtf(lines), replacing the file whole (the old file stays as it was when the
// write fails). A failure's message names the file and the reason.
Status WriteNotesFile(const std::filesystem::path& path, const std::vector<std::string>& lines);

}  // namespace ardvane
