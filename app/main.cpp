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
#include <variant>
#include <vector>

#include "app/batch_report.h"
#include "app/command_line.h"
#include "app/command_parser.h"
#include "engine/calendar.h"
#include "inputs/client_notes.h"
#include "platform/desktop_locale.h"
#include "platform/paper_size.h"
#include "platform/program_folder.h"
#include "platform/version_info.h"
#include "ui/dialogs/file_exists_dialog.h"
#include "ui/main/main_window.h"
#include "ui/widgets/window_prompts.h"

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
int RunBatch(int argc, char** argv, const ReportRequest& request,
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
  return RunBatchReport(request, PaperSizeForLocale(QLocale::system()), env, std::cerr);
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
  MessageBoxPrompts prompts(&FileExistsDialog::Ask);
  MainWindow window(options, prompts);
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
  const Command command = ParseCommandLine({argv + 1, argv + argc});
  if (const auto* error = std::get_if<CommandError>(&command.action)) {
    return ReportCommandError(*error, std::cerr);
  }
  if (std::holds_alternative<ShowHelp>(command.action)) {
    std::cout << UsageText() << std::flush;
    return std::cout.good() ? 0 : 1;
  }
  if (std::holds_alternative<ShowVersion>(command.action)) {
    std::cout << "ardvane " << ARDVANE_VERSION << "\n" << std::flush;
    return std::cout.good() ? 0 : 1;
  }
  std::optional<std::filesystem::path> givenFolder;
  if (command.programFolder) givenFolder = std::filesystem::absolute(*command.programFolder);
  const PreparedProgramFolder prepared = ProgramFolderOfRun(argv[0], givenFolder);
  if (const auto* start = std::get_if<WindowStart>(&command.action)) {
    return RunWindow(argc, argv, start->planWords, prepared);
  }
  // Without a window, what the window would show goes to standard error.
  if (!prepared.warning.empty()) std::cerr << "ardvane: " << prepared.warning << "\n";
  if (!prepared.notice.empty()) std::cerr << "ardvane: " << prepared.notice << "\n";
  if (const auto* query = std::get_if<PlanQuery>(&command.action)) {
    CommandLineEnvironment env;
    env.programFolder = prepared.folder;
    env.today = Today();
    return RunPlanCommand(*query, env, std::cout, std::cerr);
  }
  return RunBatch(argc, argv, std::get<ReportRequest>(command.action), prepared.folder);
}
