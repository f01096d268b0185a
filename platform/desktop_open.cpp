#include "platform/desktop_open.h"

#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QTimer>
#include <filesystem>
#include <system_error>
#include <utility>

namespace ardvane {
namespace {

// Watches one opener process until its verdict is reported and the process has ended. It has
// no parent and deletes itself when both are done; a process still running when the program
// ends is left to run (deleting the QProcess would kill it).
class OpenWatch : public QObject {
 public:
  OpenWatch(QObject* context, DesktopOpenDone done)
      : context_(context), hasContext_(context != nullptr), done_(std::move(done)) {
    patience_.setSingleShot(true);
    connect(&patience_, &QTimer::timeout, this, [this] { Report(DesktopOpenResult::kOpened); });
    connect(&process_, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
      ended_ = true;
      Report(status == QProcess::NormalExit && code == 0 ? DesktopOpenResult::kOpened
                                                         : DesktopOpenResult::kFailed);
    });
    connect(&process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
      // A crash is followed by finished(); a failed start ends the watch here.
      if (error != QProcess::FailedToStart) return;
      ended_ = true;
      Report(DesktopOpenResult::kFailed);
    });
  }

  void Start(const QString& program, const QStringList& arguments,
             std::chrono::milliseconds patience) {
    if (program.isEmpty()) {
      ended_ = true;
      Report(DesktopOpenResult::kFailed);
      return;
    }
    process_.setStandardInputFile(QProcess::nullDevice());
    process_.setProcessChannelMode(QProcess::ForwardedChannels);
    patience_.start(patience);
    process_.start(program, arguments);
  }

 private:
  // Hands the verdict on from the event loop, once.
  void Report(DesktopOpenResult result) {
    if (reported_) return;
    reported_ = true;
    patience_.stop();
    QTimer::singleShot(0, this, [this, result] {
      if (!hasContext_ || context_) done_(result);
      done_ = nullptr;
      if (ended_) {
        deleteLater();
      } else {
        connect(&process_, &QProcess::finished, this, &QObject::deleteLater);
      }
    });
  }

  QProcess process_{this};
  QTimer patience_{this};
  QPointer<QObject> context_;
  bool hasContext_;
  DesktopOpenDone done_;
  bool reported_ = false;
  bool ended_ = false;
};

}  // namespace

DesktopOpener SystemDesktopOpener() {
  DesktopOpener opener;
  if (const QString xdg = QStandardPaths::findExecutable("xdg-open"); !xdg.isEmpty()) {
    opener.program = xdg.toStdString();
  } else if (const QString gio = QStandardPaths::findExecutable("gio"); !gio.isEmpty()) {
    opener.program = gio.toStdString();
    opener.arguments = {"open"};
  }
  return opener;
}

void OpenWithDesktop(const std::string& path, const DesktopOpener& opener, QObject* context,
                     DesktopOpenDone done) {
  QStringList arguments;
  for (const std::string& argument : opener.arguments) {
    arguments << QString::fromStdString(argument);
  }
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
  arguments << QString::fromStdString(absolute.string());
  auto* watch = new OpenWatch(context, std::move(done));
  // Without a current folder a relative path has no place: the open fails.
  const bool placed = !ec && absolute.is_absolute();
  watch->Start(placed ? QString::fromStdString(opener.program) : QString(), arguments,
               opener.patience);
}

}  // namespace ardvane
