#pragma once

#include "ui/message_sink.h"

class QWidget;

namespace ardvane {

// Messages as real message boxes over `parent`, captioned with the application's name.
class MessageBoxSink : public MessageSink {
 public:
  explicit MessageBoxSink(QWidget* parent) : parent_(parent) {}
  void ShowInformation(const std::string& text) override;
  void ShowWarning(const std::string& text) override;
  bool ConfirmWarning(const std::string& text) override;

 private:
  QWidget* parent_;
};

}  // namespace ardvane
