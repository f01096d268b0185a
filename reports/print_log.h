#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "base/status.h"
#include "engine/calendar.h"
#include "engine/regional_settings.h"
#include "platform/desktop_open.h"

namespace ardvane {

inline constexpr char kPrintLogName[] = "PrintLog.kdf";
inline constexpr char kPrintLogHeader[] = "Date/Time\tPath\tFile Name\tResult";

// A value as the log holds it: every control character (CR, LF, TAB and the rest of C0, DEL,
// the C1 controls) becomes a blank, so no value can end a line or start a field; other
// bytes stay as they are.
std::string PrintLogField(std::string_view value);

// The log line of one print (without its line end): the moment in the short date format, a
// blank and the long time format (the date alone at exactly midnight), the report's folder
// with its trailing separator, its file name, and the result of opening it as the log's code
// (42 opened, 2 failed), joined by tabs (folder and file name as PrintLogField writes them).
std::string PrintLogLine(const std::string& reportPath, DesktopOpenResult result,
                         const LocalDateTime& moment, const RegionalSettings& regional);

// Adds the line of one print to PrintLog.kdf in `programFolder`, creating the file with its
// header line when it does not exist. Lines end in CR LF. The line is appended: the lines
// already there are never rewritten, and a failed write is cut off again, so a failure
// leaves the old log as it was. A failure is an IoError: "\"path of the log\": reason".
Status LogPrint(const std::filesystem::path& programFolder, const std::string& reportPath,
                DesktopOpenResult result, const LocalDateTime& moment,
                const RegionalSettings& regional);

}  // namespace ardvane
