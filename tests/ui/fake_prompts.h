#pragma once

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "ui/widgets/window_prompts.h"

namespace ardvane::testing {

// Answers every question a window asks as the test set it up, and records what was asked and
// shown. Unset answers: No to saving changes, Yes to confirmations, Cancel to an existing file,
// a cancelled file dialog (unless `openFile`, `pdfFile` or `csvFile` is set), and a document that
// the desktop opens.
class FakePrompts : public WindowPrompts {
 public:
  SaveAnswer AskSaveChanges(const std::string& question) override {
    questions.push_back(question);
    if (saveAnswers.empty()) return SaveAnswer::No;
    const SaveAnswer answer = saveAnswers.front();
    saveAnswers.pop_front();
    return answer;
  }
  bool Confirm(const std::string& question) override {
    questions.push_back(question);
    return confirm;
  }
  std::optional<std::filesystem::path> ChooseOpenFile(const std::filesystem::path&) override {
    return openFile;
  }
  std::optional<std::filesystem::path> ChooseSaveFile(const std::filesystem::path&,
                                                      const std::string&) override {
    return std::nullopt;
  }
  void ShowError(const std::string& message) override { errors.push_back(message); }
  void ShowInformation(const std::string& message) override { information.push_back(message); }
  void ShowWarning(const std::string& message) override { warnings.push_back(message); }
  bool ConfirmWarning(const std::string& message) override {
    warnings.push_back(message);
    return true;
  }
  FileExistsAnswer AskFileExists(const std::string& path) override {
    asked.push_back(path);
    return fileExists;
  }
  // Answers at once, as a desktop that has already decided.
  void OpenDocument(const std::string& path, DesktopOpenDone done) override {
    opened.push_back(path);
    done(openResult);
  }
  std::optional<std::filesystem::path> ChoosePdfFile(const std::filesystem::path& folder,
                                                     const std::string& proposedName) override {
    pdfProposed = folder / proposedName;
    return pdfFile;
  }
  std::optional<std::filesystem::path> ChooseCsvFile(const std::filesystem::path& folder,
                                                     const std::string& proposedName) override {
    csvProposed = folder / proposedName;
    return csvFile;
  }

  std::deque<SaveAnswer> saveAnswers;
  bool confirm = true;
  FileExistsAnswer fileExists = FileExistsAnswer::Cancel;
  DesktopOpenResult openResult = DesktopOpenResult::kOpened;
  std::vector<std::string> opened;
  std::optional<std::filesystem::path> openFile;     // the answer of the open file dialog
  std::optional<std::filesystem::path> pdfFile;      // the answer of the PDF file dialog
  std::optional<std::filesystem::path> pdfProposed;  // what the PDF file dialog proposed
  std::optional<std::filesystem::path> csvFile;      // the answer of the CSV file dialog
  std::optional<std::filesystem::path> csvProposed;  // what the CSV file dialog proposed
  std::vector<std::string> questions, errors, information, warnings, asked;
};

}  // namespace ardvane::testing
