// Ardvane's entry point: the main window, or one of the command-line modes.
#include <pwd.h>
#include <unistd.h>

#include <QApplication>
#include <QIcon>
#include <QLocale>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "app/batch_report.h"
#include "app/command_line.h"
#include "engine/calendar.h"
#include "platform/desktop_locale.h"
#include "platform/paper_size.h"
#include "platform/program_folder.h"
#include "platform/version_info.h"
#include "inputs/client_notes.h"
#include "ui/main/main_window.h"
#include "ui/startup_arguments.h"
#include "ui/main/window_prompts.h"

namespace {

using namespace ardvane;

// The running executable's file.
std::filesystem::path ExecutablePath(const char* argv0) {
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec) return self;
  return std::filesystem::absolute(argv0, ec);
}

// The folder of the running executable: the program folder.
std::filesystem::path ExecutableFolder(const char* argv0) {
  return ExecutablePath(argv0).parent_path();
}

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// The program folder of this run: the executable's folder, --program-folder, or the user's own
// folder of an installed program, seeded from the installed payload.
PreparedProgramFolder ProgramFolderOfRun(const char* argv0,
                                         const std::optional<std::filesystem::path>& given) {
  ProgramFolderInputs inputs;
  inputs.executableFolder = ExecutableFolder(argv0);
  inputs.explicitFolder = given;
  inputs.xdgDataHome = Environment("XDG_DATA_HOME");
  inputs.home = Environment("HOME");
  if (inputs.home.empty()) {
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir)
      inputs.home = entry->pw_dir;
  }
  return PrepareProgramFolder(inputs);
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

// The report request runs without a window, so it needs no display: the charts are drawn on
// the offscreen platform.
int RunBatch(int argc, char** argv, const StartupRequest& request, BatchReportOptions options,
             const std::filesystem::path& programFolder) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    qputenv("XDG_RUNTIME_DIR", QByteArray("/tmp/ardvane-runtime-") + QByteArray::number(getuid()));
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName("Ardvane");
  CommandLineEnvironment env;
  env.programFolder = programFolder;
  env.regional = RegionalSettingsFromLocale(QLocale::system());
  env.today = Today();
  options.paper = PaperSizeForLocale(QLocale::system());
  return RunBatchReport(request, options, env, std::cerr);
}

// The program's icon: the desktop theme's, else the one installed beside the program.
QIcon ProgramIcon(const char* argv0) {
  QIcon icon = QIcon::fromTheme("ardvane");
  if (!icon.isNull()) return icon;
  const std::filesystem::path icons =
      ExecutableFolder(argv0).parent_path() / "share" / "icons" / "hicolor";
  for (const char* size : {"16x16", "24x24", "32x32", "48x48", "64x64", "128x128", "256x256"}) {
    const std::filesystem::path png = icons / size / "apps" / "ardvane.png";
    std::error_code ec;
    if (std::filesystem::is_regular_file(png, ec))
      icon.addFile(QString::fromStdString(png.string()));
  }
  return icon;
}

int RunWindow(int argc, char** argv, const std::vector<std::string>& words,
              const PreparedProgramFolder& prepared) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Ardvane");
  QGuiApplication::setDesktopFileName("ardvane");
  QApplication::setWindowIcon(ProgramIcon(argv[0]));
  MainWindowOptions options;
  options.programFolder = prepared.folder;
  options.regional = RegionalSettingsFromLocale(QLocale::system());
  options.today = Today();
  options.arguments = words;
  options.versionText =
      tFileVersionInformation(ExecutablePath(argv[0]).string()).GetVersionValue("FileVersion");
  options.now = Now;
  options.paper = PaperSizeForLocale(QLocale::system());
  MessageBoxPrompts prompts;
  TfrmMain window(options, prompts);
  prompts.SetParent(&window);
  window.show();
  // One after the other: each message box waits for its click before the next appears.
  if (!prepared.warning.empty() || !prepared.notice.empty()) {
    QTimer::singleShot(0, &window, [&prompts, &prepared] {
      if (!prepared.warning.empty()) prompts.ShowWarning(prepared.warning);
      if (!prepared.notice.empty()) prompts.ShowInformation(prepared.notice);
    });
  }
  return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::optional<std::filesystem::path> givenFolder;
  if (args.size() >= 1 && args[0] == "--program-folder") {
    if (args.size() < 2) {
      std::cerr << "ardvane: --program-folder needs a folder.\n\n" << UsageText();
      return 2;
    }
    givenFolder = std::filesystem::absolute(args[1]);
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    std::cout << UsageText() << std::flush;
    return std::cout.good() ? 0 : 1;
  }
  if (args.size() == 1 && args[0] == "--version") {
    std::cout << "ardvane " << ARDVANE_VERSION << "\n" << std::flush;
    return std::cout.good() ? 0 : 1;
  }
  const PreparedProgramFolder prepared = ProgramFolderOfRun(argv[0], givenFolder);
  const std::filesystem::path& programFolder = prepared.folder;
  const bool windowed = !IsPlanCommand(args) && !ReadStartupArguments(args, "", false).batch;
  if (!windowed) {
    if (!prepared.warning.empty()) std::cerr << "ardvane: " << prepared.warning << "\n";
    if (!prepared.notice.empty()) std::cerr << "ardvane: " << prepared.notice << "\n";
  }
  if (IsPlanCommand(args)) {
    CommandLineEnvironment env;
    env.programFolder = programFolder;
    env.today = Today();
    return RunPlanCommand(args, env, std::cout, std::cerr);
  }
  // The report request's language: English unless asked otherwise.
  int language = 0;
  bool languageGiven = false;
  for (std::size_t i = 0; i < args.size();) {
    if (args[i] != "--language") {
      ++i;
      continue;
    }
    const bool known =
        i + 1 < args.size() && (args[i + 1] == "English" || args[i + 1] == "Spanish");
    if (languageGiven || !known) {
      std::cerr << "ardvane: --language needs English or Spanish, once.\n\n" << UsageText();
      return 2;
    }
    language = args[i + 1] == "Spanish" ? 1 : 0;
    languageGiven = true;
    args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
               args.begin() + static_cast<std::ptrdiff_t>(i + 2));
  }
  // A PDF beside the report's .doc.
  const bool pdf = std::erase(args, std::string("--pdf")) > 0;
  for (const std::string& word : args) {
    if (word.rfind("--", 0) == 0) {
      std::cerr << "ardvane: unknown option \"" << word << "\".\n\n" << UsageText();
      return 2;
    }
  }
  const StartupRequest request = ReadStartupArguments(args, "", false);
  if (request.batch) return RunBatch(argc, argv, request, {language, pdf}, programFolder);
  if (languageGiven || pdf) {
    std::cerr << "ardvane: " << (pdf ? "--pdf" : "--language")
              << " goes with a report request (-<p>NAME).\n\n"
              << UsageText();
    return 2;
  }
  return RunWindow(argc, argv, args, prepared);
}
