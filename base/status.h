#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace ardvane {

// The outcome of an operation that can fail: ok, or what failed, said in the program's own
// words so that the message can be shown to the user as it is ("\"Settings.ini\": line 4:
// ..."). The code is there for the few callers that act differently on a kind of failure
// (a missing file that is no error, a lock held by another program); everyone else passes
// the message on.
//
// Every fallible function returns a Status (or a StatusOr<T> when it also gives a value); the
// type is [[nodiscard]], so a dropped failure is a compiler warning. Where dropping one is
// right, say so with IgnoreError().
class [[nodiscard]] Status {
 public:
  enum class Code {
    kOk,
    kNotFound,     // nothing at the path or key asked for
    kInvalidData,  // read, but the content is refused
    kIoError,      // the system could not read, write, start or open something
    kBusy,         // another holder kept what was needed for longer than the wait
  };

  // Success.
  Status() = default;
  static Status Ok() { return Status(); }

  // Failures; `message` must not be empty (it is what the user is told).
  static Status NotFound(std::string message) { return {Code::kNotFound, std::move(message)}; }
  static Status InvalidData(std::string message) {
    return {Code::kInvalidData, std::move(message)};
  }
  static Status IoError(std::string message) { return {Code::kIoError, std::move(message)}; }
  static Status Busy(std::string message) { return {Code::kBusy, std::move(message)}; }

  bool ok() const { return code_ == Code::kOk; }
  bool IsNotFound() const { return code_ == Code::kNotFound; }
  Code code() const { return code_; }
  // Empty for success.
  const std::string& message() const { return message_; }

  // The same failure with `context` put in front: "context: message". Success stays success.
  Status Prefixed(std::string_view context) const;
  // The same kind of failure told in other words (`message`, not empty). Success stays success.
  Status WithMessage(std::string message) const;

  // Drops the status on purpose (a best-effort step whose failure changes nothing).
  void IgnoreError() const {}

  bool operator==(const Status& other) const = default;

 private:
  Status(Code code, std::string message);

  Code code_ = Code::kOk;
  std::string message_;
};

// A value, or the Status that says why there is none. Built from a T (success) or from a
// failed Status; building it from Status::Ok() is a programming error and gives a failure
// whose message says so, never a value-less success.
template <typename T>
class [[nodiscard]] StatusOr {
 public:
  StatusOr(T value) : value_(std::move(value)) {}  // NOLINT(google-explicit-constructor)
  StatusOr(Status status)                          // NOLINT(google-explicit-constructor)
      : status_(status.ok() ? Status::InvalidData("no value and no reason given")
                            : std::move(status)) {}

  bool ok() const { return value_.has_value(); }
  const Status& status() const { return status_; }

  // The value; only when ok() (otherwise throws std::bad_optional_access).
  T& value() & { return value_.value(); }
  const T& value() const& { return value_.value(); }
  T&& value() && { return std::move(value_).value(); }
  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }
  T&& operator*() && { return std::move(*this).value(); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }

  // The value when ok(), else `fallback`.
  T value_or(T fallback) const& { return value_ ? *value_ : std::move(fallback); }

 private:
  Status status_;
  std::optional<T> value_;
};

}  // namespace ardvane
