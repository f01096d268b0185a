#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <utility>

#include "inputs/message_sink.h"
#include "planfiles/plan_session.h"
#include "platform/desktop_open.h"
#include "reports/document_output.h"

namespace ardvane {

// Everything a window asks or tells the user in a message box or file dialog: the plan's
// questions and the dialogs' messages. Windows take it by reference, so tests answer the
// questions and read the messages instead of a person.
class WindowPrompts : public PlanPrompts, public MessageSink {
 public:
  // Asks what to do about the existing file at `path` (shown in full).
  virtual FileExistsAnswer AskFileExists(const std::string& path) = 0;
  // The desktop's "Open" action for a document: `done` receives whether a program has taken
  // it, at once or later from the event loop. Tests record the call instead of starting a
  // program.
  virtual void OpenDocument(const std::string& path, DesktopOpenDone done) = 0;
  // Asks where to save a PDF, proposing `proposedName` in `startFolder`; nothing when the
  // user cancels. The dialog asks before an existing file is replaced.
  virtual std::optional<std::filesystem::path> ChoosePdfFile(
      const std::filesystem::path& startFolder, const std::string& proposedName) = 0;
  // Asks where to save a CSV file, as ChoosePdfFile does for a PDF.
  virtual std::optional<std::filesystem::path> ChooseCsvFile(
      const std::filesystem::path& startFolder, const std::string& proposedName) = 0;
};

// Shows the question about the existing file at `path` over `parent` and gives the answer.
using FileExistsQuestion =
    std::function<FileExistsAnswer(const std::string& path, QWidget* parent)>;

// The real message boxes and file dialogs, shown over `parent`. The question about an existing
// file is `askFileExists`, the dialog of the windows above this folder. Documents are opened
// with `opener`; the outcome of an open is dropped when `parent` is gone by then.
class MessageBoxPrompts : public WindowPrompts {
 public:
  explicit MessageBoxPrompts(FileExistsQuestion askFileExists, QWidget* parent = nullptr,
                             DesktopOpener opener = SystemDesktopOpener())
      : askFileExists_(std::move(askFileExists)), parent_(parent), opener_(std::move(opener)) {}
  void SetParent(QWidget* parent) { parent_ = parent; }

  SaveAnswer AskSaveChanges(const std::string& question) override;
  bool Confirm(const std::string& question) override;
  std::optional<std::filesystem::path> ChooseOpenFile(
      const std::filesystem::path& startFolder) override;
  std::optional<std::filesystem::path> ChooseSaveFile(const std::filesystem::path& startFolder,
                                                      const std::string& proposedName) override;
  void ShowError(const std::string& message) override;
  void ShowInformation(const std::string& message) override;
  void ShowWarning(const std::string& message) override;
  bool ConfirmWarning(const std::string& message) override;
  FileExistsAnswer AskFileExists(const std::string& path) override;
  void OpenDocument(const std::string& path, DesktopOpenDone done) override;
  std::optional<std::filesystem::path> ChoosePdfFile(const std::filesystem::path& startFolder,
                                                     const std::string& proposedName) override;
  std::optional<std::filesystem::path> ChooseCsvFile(const std::filesystem::path& startFolder,
                                                     const std::string& proposedName) override;

 private:
  FileExistsQuestion askFileExists_;
  QWidget* parent_;
  DesktopOpener opener_;
};

}  // namespace ardvane
