#include "base/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstring>

#include "tests/planfiles/test_files.h"

namespace ardvane {
namespace {
namespace fs = std::filesystem;

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// A save killed half way (here by the file size limit, which ends the process while it
// writes) leaves the old file whole and no temporary file; the temporary files that an
// older program left are removed by the next save of the same file, and only those.
TEST(AtomicFileTest, AKilledSaveLeavesNothingBehind) {
  TempFolder folder;
  const fs::path plan = folder / "plan.bvx";
  WriteFile(plan, "old");
  const std::string large(1 << 20, 'x');
  const auto killedWhileWriting = [&] {
    const rlimit noCore{0, 0}, small{4096, 4096};
    ::setrlimit(RLIMIT_CORE, &noCore);
    ::setrlimit(RLIMIT_FSIZE, &small);
    WriteFileAtomically(plan, large).IgnoreError();
    std::_Exit(0);
  };
  EXPECT_EXIT(killedWhileWriting(), ::testing::KilledBySignal(SIGXFSZ), "");
  EXPECT_EQ(Names(folder.path()), std::vector<std::string>{"plan.bvx"});
  EXPECT_EQ(ReadFile(plan), "old");

  // Left by saves killed an hour ago, but for the newest: another process may be saving.
  for (const char* name : {"plan.bvx.0123abcd.tmp", "plan.bvx.0123abcd.tmp.keep",
                           "plan.bvx.nothex00.tmp", "other.bvx.0123abcd.tmp",
                           "plan.bvx.89abcdef.tmp"}) {
    WriteFile(folder / name, "left over");
    fs::last_write_time(folder / name, fs::file_time_type::clock::now() - std::chrono::hours(1));
  }
  fs::last_write_time(folder / "plan.bvx.89abcdef.tmp", fs::file_time_type::clock::now());
  ASSERT_TRUE(WriteFileAtomically(plan, "new").ok());
  EXPECT_EQ(ReadFile(plan), "new");
  EXPECT_EQ(Names(folder.path()),
            (std::vector<std::string>{"other.bvx.0123abcd.tmp", "plan.bvx",
                                      "plan.bvx.0123abcd.tmp.keep", "plan.bvx.89abcdef.tmp",
                                      "plan.bvx.nothex00.tmp"}));
}

TEST(AtomicFileTest, APreparedFileReplacesItsTargetOnlyWhenCommitted) {
  TempFolder folder;
  const fs::path report = folder / "report.pdf";
  WriteFile(report, "old");
  {
    PreparedFile dropped(report, "never");
    ASSERT_TRUE(dropped.status().ok());
    EXPECT_EQ(ReadFile(report), "old");
  }
  EXPECT_EQ(Names(folder.path()), std::vector<std::string>{"report.pdf"});

  PreparedFile pdf(report, "new");
  ASSERT_TRUE(pdf.status().ok());
  EXPECT_EQ(ReadFile(report), "old");
  const Status committed = pdf.Commit();
  ASSERT_TRUE(committed.ok()) << committed.message();
  EXPECT_EQ(ReadFile(report), "new");
  EXPECT_EQ(Names(folder.path()), std::vector<std::string>{"report.pdf"});

  PreparedFile nowhere(folder / "missing" / "report.pdf", "new");
  EXPECT_EQ(nowhere.status().message(), std::strerror(ENOENT));
  const Status notCommitted = nowhere.Commit();
  EXPECT_EQ(notCommitted.code(), Status::Code::kIoError);
  EXPECT_EQ(notCommitted.message(), std::strerror(ENOENT));
}

TEST(AtomicFileTest, SavesThroughLinksAndRefusesALoop) {
  TempFolder folder;
  fs::create_directory(folder / "real");
  fs::create_symlink("real/plan.bvx", folder / "dangling.bvx");
  ASSERT_TRUE(WriteFileAtomically(folder / "dangling.bvx", "through").ok());
  EXPECT_TRUE(fs::is_symlink(folder / "dangling.bvx"));
  EXPECT_EQ(ReadFile(folder / "real" / "plan.bvx"), "through");

  fs::create_symlink("b.bvx", folder / "a.bvx");
  fs::create_symlink("a.bvx", folder / "b.bvx");
  EXPECT_EQ(WriteFileAtomically(folder / "a.bvx", "loop").message(), std::strerror(ELOOP));
  EXPECT_TRUE(fs::is_symlink(folder / "a.bvx"));
  EXPECT_EQ(Names(folder.path()),
            (std::vector<std::string>{"a.bvx", "b.bvx", "dangling.bvx", "real"}));
}

// A plan another user owns, saved by an administrator, stays that user's and keeps its
// rights; one its owner made read-only is not replaced, even by an administrator.
TEST(AtomicFileTest, KeepsOwnerAndRightsAndRespectsReadOnlyFiles) {
  TempFolder folder;
  const fs::path plan = folder / "plan.bvx";
  WriteFile(plan, "old");
  ASSERT_EQ(::chmod(plan.c_str(), 0640), 0);
  const bool root = ::geteuid() == 0;
  if (root) {
    ASSERT_EQ(::chown(plan.c_str(), 4242, 4343), 0);
  }
  ASSERT_TRUE(WriteFileAtomically(plan, "new").ok());
  struct stat info {};
  ASSERT_EQ(::stat(plan.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  if (root) {
    EXPECT_EQ(info.st_uid, 4242u);
    EXPECT_EQ(info.st_gid, 4343u);
  }

  ASSERT_EQ(::chmod(plan.c_str(), 0444), 0);
  EXPECT_EQ(WriteFileAtomically(plan, "newer").message(), std::strerror(EACCES));
  EXPECT_EQ(ReadFile(plan), "new");
  EXPECT_EQ(Names(folder.path()), std::vector<std::string>{"plan.bvx"});
}

}  // namespace
}  // namespace ardvane
