// Ardvane's entry point: the main window, or one of the command-line modes.
#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include <QApplication>
#include <QLocale>

#include "app/command_line.h"
#include "engine/calendar.h"
#include "platform/desktop_locale.h"
#include "ui/client_notes.h"
#include "ui/main_window.h"
#include "ui/window_prompts.h"

namespace {

using namespace ardvane;

// The folder of the running executable: the program folder.
std::filesystem::path ExecutableFolder(const char* argv0) {
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec) return self.parent_path();
  return std::filesystem::absolute(argv0, ec).parent_path();
}

LocalDateTime Now() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&seconds, &local);
  return {EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday), local.tm_hour,
          local.tm_min, std::min(local.tm_sec, 59)};
}

DayNumber Today() { return Now().day; }

bool IsResultsCommand(const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    if (arg == "--results" || arg == "--params" || arg == "--settings") return true;
  }
  return false;
}

int RunWindow(int argc, char** argv, const std::vector<std::string>& words,
              const std::filesystem::path& programFolder) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Ardvane");
  MainWindowOptions options;
  options.programFolder = programFolder;
  options.regional = RegionalSettingsFromLocale(QLocale::system());
  options.today = Today();
  options.arguments = words;
  options.versionText = ARDVANE_VERSION;
  options.now = Now;
  MessageBoxPrompts prompts;
  TfrmMain window(options, prompts);
  prompts.SetParent(&window);
  window.show();
  return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::filesystem::path programFolder = ExecutableFolder(argv[0]);
  if (args.size() >= 1 && args[0] == "--program-folder") {
    if (args.size() < 2) {
      std::cerr << "ardvane: --program-folder needs a folder.\n\n" << UsageText();
      return 2;
    }
    programFolder = std::filesystem::absolute(args[1]);
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    std::cout << UsageText() << std::flush;
    return std::cout.good() ? 0 : 1;
  }
  if (IsResultsCommand(args)) {
    CommandLineEnvironment env;
    env.programFolder = programFolder;
    env.today = Today();
    return RunResultsCommand(args, env, std::cout, std::cerr);
  }
  for (const std::string& word : args) {
    if (word.rfind("--", 0) == 0) {
      std::cerr << "ardvane: unknown option \"" << word << "\".\n\n" << UsageText();
      return 2;
    }
  }
  return RunWindow(argc, argv, args, programFolder);
}
