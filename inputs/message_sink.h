#pragma once

#include <string>

namespace ardvane {

// The message boxes a dialog raises. Windows answer them with real message boxes
// (MessageBoxPrompts); tests answer them directly and record what was asked.
class MessageSink {
 public:
  virtual ~MessageSink() = default;
  // An information box with an OK button.
  virtual void ShowInformation(const std::string& text) = 0;
  // A warning box with an OK button.
  virtual void ShowWarning(const std::string& text) = 0;
  // A warning box with OK and Cancel; true for OK.
  virtual bool ConfirmWarning(const std::string& text) = 0;
};

}  // namespace ardvane
