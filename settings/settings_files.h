#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "engine/regional_settings.h"
#include "engine/settings.h"

namespace ardvane {

// Settings.ini (the adviser's preferences, read at start and written at close) and Params.ini
// (the installation's defaults and permissions, only ever read) lie in the program folder.
//
// Both are initialisation files: a "[Section]" line opens a section, "Key=Value" lines follow.
// Section and key names match without regard to (ASCII) case, blanks around a value are
// ignored, and LF as well as CR LF line ends are read. A section line that lacks its closing
// "]" still opens a section of that name. Values convert as follows; whatever cannot be read
// gives the key's default, silently:
//   text     the value as it stands
//   integer  optional sign and decimal digits, or hexadecimal digits after "0x" or "$"
//            ("0x0F" and "$F" are 15); it must fit an int
//   switch   an integer; any value but 0 is on
//   number   a decimal number with the user's decimal separator (see ParseStrictFloat); an
//            empty value counts as absent
// A file larger than kMaxIniFileSize, or one that is not a regular file, cannot be read; a
// file containing a NUL byte is read up to that byte.
//
// The loaders below give every default for a file that cannot be read and then, when
// `error` is given, set it to "\"file\": reason". A missing file in the program folder is no
// error (its defaults apply); a file named elsewhere (the ...File forms) must be there.

inline constexpr char kSettingsFileName[] = "Settings.ini";
inline constexpr char kParamsFileName[] = "Params.ini";
inline constexpr std::uintmax_t kMaxIniFileSize = 1024 * 1024;

// The integer conversion above, on the value text (blanks around are allowed).
std::optional<int> ParseIniInteger(std::string_view text);

// Reads Settings.ini from `programFolder`. A missing file gives every default; the default
// "Report Directory" is the program folder followed by "Reports/". A "Report Directory" key
// that is present but empty gives the empty text.
AppSettings LoadPreferences(const std::filesystem::path& programFolder,
                            std::string* error = nullptr);
// The same from a settings file elsewhere (the command line's --settings).
AppSettings LoadPreferencesFile(const std::filesystem::path& file,
                                const std::filesystem::path& programFolder,
                                std::string* error = nullptr);

// True when something is there under the name Params.ini in `programFolder`; only then is
// LoadParams run, so a missing file leaves every parameter at zero, off or empty, while a
// folder or pipe in its place is reported by LoadParams as a file that cannot be read.
bool ParamsFileExists(const std::filesystem::path& programFolder);

// Reads Params.ini from `programFolder`, taking each absent or unreadable key's default.
// Amounts are currency units in the file and become Money rounded to ten-thousandths; an
// amount too large for Money counts as unreadable. "Return Rate", "Setup Fee Rate", "Fees"
// and "Interest Rate" are percents in the file and fractions in the result (6 gives 0.06).
// "New Loan Payment" that is empty or no number gives 0, which means no override.
PlanParameters LoadParams(const std::filesystem::path& programFolder,
                          const RegionalSettings& regional, std::string* error = nullptr);
// The same from a parameters file elsewhere (the command line's --params).
PlanParameters LoadParamsFile(const std::filesystem::path& file, const RegionalSettings& regional,
                              std::string* error = nullptr);

// Writes `settings` into Settings.ini in `programFolder`, creating the file when missing.
// "Last File" becomes planDirectory + planFileName, but only when planFileName is not empty
// and does not contain "Untitled.bvx"; otherwise the key keeps its earlier value. "Plan Fees"
// is never written. Sections, keys and comments the program does not write stay as they are.
// Line breaks inside a value are written as blanks, so a value cannot add lines to the file.
//
// The new content goes to a temporary file in the same folder that is then renamed over
// Settings.ini, so the old file is either replaced whole or left untouched. An existing file
// that cannot be read, is larger than kMaxIniFileSize or holds a NUL byte is not overwritten,
// since its contents could not be carried over. On failure returns false and, when `error` is
// given, sets it to a message naming the file and the reason.
bool SavePreferences(const AppSettings& settings, const std::filesystem::path& programFolder,
                     const std::string& planDirectory, const std::string& planFileName,
                     std::string* error);

// The start-up permission rule: without the permission "Language" the print language is
// English (0).
void ApplyPermissions(AppSettings& settings, const PlanParameters& params);

}  // namespace ardvane
