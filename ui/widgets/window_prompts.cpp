#include "ui/widgets/window_prompts.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "platform/desktop_open.h"
#include "ui/widgets/qt_text.h"

namespace ardvane {
namespace {

constexpr char kPlanFilter[] = "Ardvane File (*.bvx)";
constexpr char kTitle[] = "Ardvane";

}  // namespace

SaveAnswer MessageBoxPrompts::AskSaveChanges(const std::string& question) {
  const auto answer = QMessageBox::question(
      parent_, kTitle, Q(question), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
      QMessageBox::Yes);
  if (answer == QMessageBox::Yes) return SaveAnswer::Yes;
  if (answer == QMessageBox::No) return SaveAnswer::No;
  return SaveAnswer::Cancel;
}

bool MessageBoxPrompts::Confirm(const std::string& question) {
  return QMessageBox::question(parent_, "Confirm", Q(question), QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::No) == QMessageBox::Yes;
}

std::optional<std::filesystem::path> MessageBoxPrompts::ChooseOpenFile(
    const std::filesystem::path& startFolder) {
  const QString chosen =
      QFileDialog::getOpenFileName(parent_, "Open", Q(startFolder.string()), kPlanFilter);
  if (chosen.isEmpty()) return std::nullopt;
  return std::filesystem::path(chosen.toStdString());
}

std::optional<std::filesystem::path> MessageBoxPrompts::ChooseSaveFile(
    const std::filesystem::path& startFolder, const std::string& proposedName) {
  QFileDialog dialog(parent_, "Save As", Q(startFolder.string()), kPlanFilter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix("bvx");
  dialog.selectFile(Q(proposedName));
  // The dialog itself asks before an existing file is overwritten.
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return std::nullopt;
  }
  return std::filesystem::path(dialog.selectedFiles().first().toStdString());
}

void MessageBoxPrompts::ShowError(const std::string& message) {
  QMessageBox::critical(parent_, "Error", Q(message));
}

void MessageBoxPrompts::ShowInformation(const std::string& message) {
  QMessageBox::information(parent_, "Information", Q(message));
}

void MessageBoxPrompts::ShowWarning(const std::string& message) {
  QMessageBox::warning(parent_, "Warning", Q(message));
}

bool MessageBoxPrompts::ConfirmWarning(const std::string& message) {
  return QMessageBox::warning(parent_, "Warning", Q(message), QMessageBox::Ok | QMessageBox::Cancel,
                              QMessageBox::Ok) == QMessageBox::Ok;
}

FileExistsAnswer MessageBoxPrompts::AskFileExists(const std::string& path) {
  return askFileExists_(path, parent_);
}

void MessageBoxPrompts::OpenDocument(const std::string& path, DesktopOpenDone done) {
  OpenWithDesktop(path, opener_, parent_, std::move(done));
}

namespace {

std::optional<std::filesystem::path> ChooseFileToWrite(QWidget* parent, const char* title,
                                                       const char* filter, const char* suffix,
                                                       const std::filesystem::path& startFolder,
                                                       const std::string& proposedName) {
  QFileDialog dialog(parent, title, Q(startFolder.string()), filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(suffix);
  dialog.selectFile(Q(proposedName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return std::nullopt;
  }
  return std::filesystem::path(dialog.selectedFiles().first().toStdString());
}

}  // namespace

std::optional<std::filesystem::path> MessageBoxPrompts::ChoosePdfFile(
    const std::filesystem::path& startFolder, const std::string& proposedName) {
  return ChooseFileToWrite(parent_, "Export PDF", "PDF Document (*.pdf)", "pdf", startFolder,
                           proposedName);
}

std::optional<std::filesystem::path> MessageBoxPrompts::ChooseCsvFile(
    const std::filesystem::path& startFolder, const std::string& proposedName) {
  return ChooseFileToWrite(parent_, "Export CSV", "CSV File (*.csv)", "csv", startFolder,
                           proposedName);
}

}  // namespace ardvane
