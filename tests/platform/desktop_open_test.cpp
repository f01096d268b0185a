#include "platform/desktop_open.h"

#include <gtest/gtest.h>

#include <QObject>
#include <memory>
#include <optional>

#include "tests/fake_opener.h"
#include "tests/planfiles/test_files.h"

namespace ardvane {
namespace {

using namespace std::chrono_literals;
using testing::FakeOpener;
using testing::ReadFile;
using testing::TempFolder;
using testing::WaitUntil;

class DesktopOpenTest : public ::testing::Test {
 protected:
  // Opens `document` with `opener` and waits for the verdict; nothing when none came.
  std::optional<DesktopOpenResult> Open(const DesktopOpener& opener,
                                        const std::string& document = "/r/a b.doc") {
    std::optional<DesktopOpenResult> result;
    int calls = 0;
    OpenWithDesktop(document, opener, nullptr, [&](DesktopOpenResult verdict) {
      result = verdict;
      ++calls;
    });
    // Never before the call returns, so a caller's state is settled when the verdict comes.
    EXPECT_EQ(calls, 0);
    WaitUntil([&] { return result.has_value(); });
    QCoreApplication::processEvents();
    EXPECT_LE(calls, 1);
    return result;
  }

  TempFolder folder;
};

TEST_F(DesktopOpenTest, TheOpenersExitStatusDecides) {
  const struct {
    const char* name;
    const char* script;
    DesktopOpenResult expected;
  } cases[] = {
      {"opens", "exit 0", DesktopOpenResult::kOpened},
      {"no-program", "exit 3", DesktopOpenResult::kFailed},
      {"bad-arguments", "exit 1", DesktopOpenResult::kFailed},
      {"crashes", "kill -SEGV $$", DesktopOpenResult::kFailed},
      // Still running after its patience: the document counts as opened.
      {"lingers", "sleep 3; exit 1", DesktopOpenResult::kOpened},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Open(FakeOpener(folder.path(), c.name, c.script, 300ms)), c.expected) << c.name;
  }
}

TEST_F(DesktopOpenTest, AnOpenerThatCannotStartOrIsMissingFails) {
  DesktopOpener missing;
  missing.program = (folder / "no such opener").string();
  EXPECT_EQ(Open(missing), DesktopOpenResult::kFailed);
  EXPECT_EQ(Open(DesktopOpener{}), DesktopOpenResult::kFailed);
}

TEST_F(DesktopOpenTest, TheOpenerGetsItsArgumentsAndTheDocument) {
  const auto record = folder / "arguments";
  DesktopOpener opener =
      FakeOpener(folder.path(), "records",
                 std::string("printf '%s|' \"$@\" > '").append(record.string()).append("'"));
  opener.arguments = {"open"};
  ASSERT_EQ(Open(opener, "/r/Smith, John 6.15.2024.doc"), DesktopOpenResult::kOpened);
  EXPECT_EQ(ReadFile(record), "open|/r/Smith, John 6.15.2024.doc|");
  // The opener always gets an absolute local path: a relative name that reads as an address,
  // or starts with "-", is a file in the current folder.
  for (const std::string name : {"https:127.0.0.1:8767, John 1.15.2008.doc", "-x.doc"}) {
    ASSERT_EQ(Open(opener, name), DesktopOpenResult::kOpened);
    EXPECT_EQ(ReadFile(record), "open|" + (std::filesystem::current_path() / name).string() + "|");
  }
}

TEST_F(DesktopOpenTest, NoVerdictReachesAContextThatIsGone) {
  const DesktopOpener opener = FakeOpener(folder.path(), "fails", "exit 1");
  auto context = std::make_unique<QObject>();
  bool called = false;
  OpenWithDesktop("/r/a.doc", opener, context.get(), [&](DesktopOpenResult) { called = true; });
  context.reset();
  // The opener exits at once; its verdict would come well within a second.
  EXPECT_FALSE(WaitUntil([&] { return called; }, 1s));
}

}  // namespace
}  // namespace ardvane
