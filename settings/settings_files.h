#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "engine/regional_settings.h"
#include "engine/settings.h"
#include "settings/recent_plans.h"

namespace ardvane {

// Settings.ini (the adviser's preferences and recent plans, read at start and written by the
// window through SettingsStore) and Params.ini (the installation's defaults and permissions,
// only ever read) lie in the program folder.
//
// Both are initialisation files, read as IniText describes: a "[Section]" line opens a
// section, "Key=Value" lines follow. Section and key names match without regard to (ASCII)
// case, blanks around a value are ignored, and LF as well as CR LF line ends are read. A
// section line that lacks its closing "]" still opens a section of that name. Values convert
// as follows; whatever cannot be read gives the key's default, silently:
//   text     the value as it stands
//   integer  optional sign and decimal digits, or hexadecimal digits after "0x" or "$"
//            ("0x0F" and "$F" are 15); it must fit an int
//   switch   an integer; any value but 0 is on
//   number   a decimal number with the user's decimal separator (see ParseStrictFloat); an
//            empty value counts as absent
// A file larger than kMaxIniFileSize, or one that is not a regular file, cannot be read; a
// file containing a NUL byte is read up to that byte.
//
// The loaders below fail for a file that is there but cannot be read (an I/O error) with
// "\"file\": reason". A missing file in the program folder is no error (its defaults apply);
// a file named elsewhere (the ...File forms) must be there (NotFound otherwise). Start-up reads
// both files through LoadStartupSettings, which holds the policy for failures.

inline constexpr char kSettingsFileName[] = "Settings.ini";
inline constexpr char kParamsFileName[] = "Params.ini";
inline constexpr std::uintmax_t kMaxIniFileSize = 1024 * 1024;
// How long a save waits for another's save of Settings.ini; one takes milliseconds.
inline constexpr std::chrono::milliseconds kSettingsLockWait{5000};

// The integer conversion above, on the value text (blanks around are allowed).
std::optional<int> ParseIniInteger(std::string_view text);

// Every preference's default, as a first start (no Settings.ini) has them: the default
// "Report Directory" is the program folder followed by "Reports/".
AppSettings DefaultPreferences(const std::filesystem::path& programFolder);

// Reads Settings.ini from `programFolder`. A missing file gives DefaultPreferences. A "Report
// Directory" key that is present but empty gives the empty text.
StatusOr<AppSettings> LoadPreferences(const std::filesystem::path& programFolder);
// The same from a settings file elsewhere (the command line's --settings).
StatusOr<AppSettings> LoadPreferencesFile(const std::filesystem::path& file,
                                          const std::filesystem::path& programFolder);

// True when something is there under the name Params.ini in `programFolder`; only then is
// LoadParams run, so a missing file leaves every parameter at zero, off or empty, while a
// folder or pipe in its place is reported by LoadParams as a file that cannot be read.
bool ParamsFileExists(const std::filesystem::path& programFolder);

// Reads Params.ini from `programFolder`, taking each absent or unreadable key's default.
// Amounts are currency units in the file and become Money rounded to ten-thousandths; an
// amount too large for Money counts as unreadable. "Return Rate", "Setup Fee Rate", "Fees"
// and "Interest Rate" are percents in the file and fractions in the result (6 gives 0.06).
// "New Loan Payment" that is empty or no number gives 0, which means no override.
StatusOr<PlanParameters> LoadParams(const std::filesystem::path& programFolder,
                                    const RegionalSettings& regional);
// The same from a parameters file elsewhere (the command line's --params).
StatusOr<PlanParameters> LoadParamsFile(const std::filesystem::path& file,
                                        const RegionalSettings& regional);
// What LoadParams gives for an empty file: each key's default (a Term of 30, ...). Not the
// same as no Params.ini at all, which leaves every parameter at zero, off or empty.
PlanParameters DefaultParams(const RegionalSettings& regional);

// The recent plans kept in Settings.ini in `programFolder` (none when it cannot be read).
std::vector<std::string> LoadRecentPlans(const std::filesystem::path& programFolder);

// Writes into Settings.ini in `programFolder`, creating the file when missing, what this
// window changed. Another window on the same program folder may have saved meanwhile, so the
// file is read again just before and only these keys are set:
// - each key whose value in `current` differs from `baseline` (the settings as this window
//   last loaded or saved them), and each key the file lacks;
// - "Last File", as planDirectory + planFileName, when planFileName is not empty and does not
//   contain "Untitled.bvx"; otherwise the key keeps its value;
// - when `recentPlans` is given and holds changes, the list as stored now with those changes
//   made again on it (see RecentPlans::Rebase). On success `recentPlans` becomes the list as
//   stored, also when this window changed nothing in it.
// "Plan Fees" is never written. Every other byte of the file stays as it was: sections, keys,
// comments, blank lines and line ends the program does not write. Line breaks and NUL bytes
// inside a value are written as blanks, so a value cannot add lines to the file.
//
// The whole read, change and write happens under the lock of Settings.ini (FileLock, the file
// "Settings.ini.lock" beside it), so saves of two windows or programs on one folder follow one
// another and none loses the other's changes. A lock that another holds for longer than
// `lockWait` fails the save with nothing written.
//
// The new content goes to a temporary file in the same folder that is then renamed over
// Settings.ini, so the old file is either replaced whole or left untouched; content that is
// unchanged is not written again. An existing file that cannot be read, is larger than
// kMaxIniFileSize or holds a NUL byte is not overwritten, since its contents could not be
// carried over. On failure nothing is changed and the status says
// "Could not save the settings in "<file>": <reason>." (Busy when another held the lock).
Status SavePreferences(const AppSettings& baseline, const AppSettings& current,
                       const std::filesystem::path& programFolder, const std::string& planDirectory,
                       const std::string& planFileName, RecentPlans* recentPlans = nullptr,
                       std::chrono::milliseconds lockWait = kSettingsLockWait);

}  // namespace ardvane
