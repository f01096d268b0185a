#include "base/status.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace ardvane {
namespace {

TEST(StatusTest, FailuresKeepTheirKindAndMessage) {
  struct Case {
    Status status;
    Status::Code code;
  };
  const std::vector<Case> cases = {
      {Status::NotFound("no file"), Status::Code::kNotFound},
      {Status::InvalidData("line 3: not a number"), Status::Code::kInvalidData},
      {Status::IoError("permission denied"), Status::Code::kIoError},
      {Status::Busy("held by 12 host"), Status::Code::kBusy},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(c.status.ok()) << c.status.message();
    EXPECT_EQ(c.status.code(), c.code) << c.status.message();
    EXPECT_EQ(c.status.IsNotFound(), c.code == Status::Code::kNotFound) << c.status.message();
    EXPECT_FALSE(c.status.message().empty());
    // The context goes in front; the kind stays, so a caller can still branch on it.
    const Status prefixed = c.status.Prefixed("\"Settings.ini\"");
    EXPECT_EQ(prefixed.code(), c.code);
    EXPECT_EQ(prefixed.message(), "\"Settings.ini\": " + c.status.message());
    const Status reworded = c.status.WithMessage("Cannot open \"a.bvx\": " + c.status.message());
    EXPECT_EQ(reworded.code(), c.code);
    EXPECT_EQ(reworded.message(), "Cannot open \"a.bvx\": " + c.status.message());
  }
  // A failure without a message still tells the user that something failed.
  EXPECT_FALSE(Status::IoError("").ok());
  EXPECT_FALSE(Status::IoError("").message().empty());
}

TEST(StatusTest, SuccessIsEmptyAndStaysSuccessWhenPrefixed) {
  const Status ok;
  EXPECT_TRUE(ok.ok());
  EXPECT_TRUE(ok.message().empty());
  EXPECT_EQ(ok, Status::Ok());
  EXPECT_TRUE(ok.Prefixed("\"Params.ini\"").ok());
  EXPECT_TRUE(ok.Prefixed("\"Params.ini\"").message().empty());
  EXPECT_TRUE(ok.WithMessage("Cannot open").ok());
  EXPECT_NE(Status::NotFound("a"), Status::IoError("a"));
}

TEST(StatusOrTest, HoldsAValueOrTheReasonForNone) {
  StatusOr<std::string> value = std::string("bytes");
  ASSERT_TRUE(value.ok());
  EXPECT_TRUE(value.status().ok());
  EXPECT_EQ(*value, "bytes");
  EXPECT_EQ(value->size(), 5u);
  EXPECT_EQ(value.value_or("other"), "bytes");

  const StatusOr<std::string> failed = Status::NotFound("\"a.kdf\": no such file");
  EXPECT_FALSE(failed.ok());
  EXPECT_TRUE(failed.status().IsNotFound());
  EXPECT_EQ(failed.status().message(), "\"a.kdf\": no such file");
  EXPECT_EQ(failed.value_or("other"), "other");
  EXPECT_THROW(static_cast<void>(failed.value()), std::bad_optional_access);
}

TEST(StatusOrTest, AnOkStatusWithoutAValueIsAFailure) {
  const StatusOr<int> broken = Status::Ok();
  EXPECT_FALSE(broken.ok());
  EXPECT_FALSE(broken.status().ok());
  EXPECT_FALSE(broken.status().message().empty());
}

TEST(StatusOrTest, MoveOnlyValuesMoveOut) {
  StatusOr<std::unique_ptr<int>> held = std::make_unique<int>(7);
  ASSERT_TRUE(held.ok());
  const std::unique_ptr<int> taken = std::move(held).value();
  ASSERT_NE(taken, nullptr);
  EXPECT_EQ(*taken, 7);
}

}  // namespace
}  // namespace ardvane
