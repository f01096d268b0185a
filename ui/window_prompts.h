#pragma once

#include <QWidget>
#include <string>

#include "planfiles/plan_session.h"
#include "ui/message_sink.h"

namespace ardvane {

// Everything a window asks or tells the user in a message box or file dialog: the plan's
// questions and the dialogs' messages. Windows take it by reference, so tests answer the
// questions and read the messages instead of a person.
class WindowPrompts : public PlanPrompts, public MessageSink {};

// The real message boxes and file dialogs, shown over `parent`.
class MessageBoxPrompts : public WindowPrompts {
 public:
  explicit MessageBoxPrompts(QWidget* parent = nullptr) : parent_(parent) {}
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

 private:
  QWidget* parent_;
};

}  // namespace ardvane
