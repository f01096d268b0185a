#include "base/status.h"

namespace ardvane {

Status::Status(Code code, std::string message) : code_(code), message_(std::move(message)) {
  if (code_ != Code::kOk && message_.empty()) message_ = "failed for an unknown reason";
}

Status Status::Prefixed(std::string_view context) const {
  if (ok()) return *this;
  std::string message(context);
  message += ": ";
  message += message_;
  return Status(code_, std::move(message));
}

Status Status::WithMessage(std::string message) const {
  if (ok()) return *this;
  return Status(code_, std::move(message));
}

}  // namespace ardvane
