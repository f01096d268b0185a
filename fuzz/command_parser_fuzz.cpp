// The command line from arbitrary arguments (the input's NUL-separated pieces). Checks that
// each reading ends in one outcome, the same every time, and that the outcome holds what it
// promises: an error has a message (a sentence) and no program folder, a report request names
// its report, a plan query names its plan (unless given an empty word) and takes --by only with
// --needed and --table investment only with --csv, help and version come only when asked for.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "app/command_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> args;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (std::size_t start = 0; start <= text.size() && args.size() < 32;) {
    const std::size_t end = std::min(text.find('\0', start), text.size());
    args.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  if (size == 0) args.clear();

  const ardvane::Command command = ardvane::ParseCommandLine(args);
  if (command.action.valueless_by_exception()) __builtin_trap();
  if (ardvane::ParseCommandLine(args).action.index() != command.action.index()) __builtin_trap();
  const auto has = [&](std::string_view word) {
    return std::find(args.begin(), args.end(), word) != args.end();
  };

  if (const auto* error = std::get_if<ardvane::CommandError>(&command.action)) {
    if (error->message.empty() || error->message.back() != '.') __builtin_trap();
    if (command.programFolder) __builtin_trap();
    std::ostringstream err;
    if (ardvane::ReportCommandError(*error, err) == 0) __builtin_trap();
  } else if (const auto* report = std::get_if<ardvane::ReportRequest>(&command.action)) {
    if (report->reportName.empty()) __builtin_trap();
  } else if (const auto* query = std::get_if<ardvane::PlanQuery>(&command.action)) {
    if (query->plan.empty() && !has("")) __builtin_trap();  // an empty word names no file
    if (query->by && query->mode != ardvane::PlanQueryMode::kNeeded) __builtin_trap();
    if (query->investmentTable && query->mode != ardvane::PlanQueryMode::kCsv) __builtin_trap();
  } else if (std::holds_alternative<ardvane::ShowHelp>(command.action)) {
    if (!has("--help") && !has("-h")) __builtin_trap();
  } else if (std::holds_alternative<ardvane::ShowVersion>(command.action)) {
    if (!has("--version")) __builtin_trap();
  }
  return 0;
}
