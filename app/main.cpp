// Ardvane's entry point: the command line. Until the main window arrives, starting without
// arguments prints the usage text.
#include <unistd.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "engine/calendar.h"

namespace {

using namespace ardvane;

// The folder of the running executable: the program folder.
std::filesystem::path ProgramFolder(const char* argv0) {
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec) return self.parent_path();
  return std::filesystem::absolute(argv0, ec).parent_path();
}

DayNumber Today() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&seconds, &local);
  return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty() || (args.size() == 1 && (args[0] == "--help" || args[0] == "-h"))) {
    std::cout << ardvane::UsageText();
    return 0;
  }
  ardvane::CommandLineEnvironment env;
  env.programFolder = ProgramFolder(argv[0]);
  env.today = Today();
  return ardvane::RunResultsCommand(args, env, std::cout, std::cerr);
}
