#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "settings/file_lock.h"
#include "settings/settings_files.h"
#include "settings/settings_store.h"
#include "settings/startup_settings.h"
#include "tests/planfiles/test_files.h"

namespace ardvane {
namespace {
namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

// The exit status of the child `pid`, or -1 when it did not exit normally.
int ExitCodeOf(pid_t pid) {
  int status = 0;
  if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

// One window's saves in a process of its own: `saves` times, sets its own company field to
// "<tag><n>" and saves. Before each save it checks that its previous value is still in the
// file, which a save of the other process made from an older reading would have undone.
// Exits with the number of values lost (at most 100), or 101 when a save failed.
[[noreturn]] void SaveOwnKeyRepeatedly(const fs::path& folder, std::string AppSettings::*key,
                                       const std::string& tag, int saves) {
  SettingsStore store(folder, LoadStartupSettings({folder, {}, {}, {}}));
  int lost = 0;
  for (int n = 1; n <= saves; ++n) {
    if (n > 1 && LoadPreferences(folder).value().*key != tag + std::to_string(n - 1)) ++lost;
    AppSettings current = store.Baseline();
    current.*key = tag + std::to_string(n);
    if (!store.Save(current, "", "").ok()) ::_exit(101);
  }
  ::_exit(lost > 100 ? 100 : lost);
}

// A folder in memory where there is one: each save flushes the file to disk, which on a disk
// would make 4,000 saves take most of a minute.
class MemoryFolder {
 public:
  MemoryFolder() {
    std::error_code ec;
    const fs::path base = fs::is_directory("/dev/shm", ec) ? "/dev/shm" : fs::temp_directory_path();
    path_ = base / ("ardvane-lock-" + std::to_string(::getpid()));
    fs::create_directories(path_);
  }
  ~MemoryFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  const fs::path& path() const { return path_; }
  fs::path operator/(const std::string& name) const { return path_ / name; }

 private:
  fs::path path_;
};

TEST(SettingsLockTest, TwoProcessesSavingTheirOwnKeysLoseNothing) {
  MemoryFolder folder;
  WriteFile(folder / kSettingsFileName, "[Company]\nName=Acme\n");
  constexpr int kSaves = 2000;
  const pid_t phone = ::fork();
  ASSERT_GE(phone, 0);
  if (phone == 0) SaveOwnKeyRepeatedly(folder.path(), &AppSettings::CompanyPhone, "p", kSaves);
  const pid_t fax = ::fork();
  if (fax == 0) SaveOwnKeyRepeatedly(folder.path(), &AppSettings::CompanyFax, "f", kSaves);
  EXPECT_EQ(ExitCodeOf(phone), 0) << "values lost by the first process";
  ASSERT_GE(fax, 0);
  EXPECT_EQ(ExitCodeOf(fax), 0) << "values lost by the second process";

  const AppSettings stored = LoadPreferences(folder.path()).value();
  EXPECT_EQ(stored.CompanyPhone, "p2000");
  EXPECT_EQ(stored.CompanyFax, "f2000");
  EXPECT_EQ(stored.CompanyName, "Acme");
  EXPECT_FALSE(fs::exists(FileLock::LockPathFor(folder / kSettingsFileName)));
}

TEST(SettingsLockTest, TheLockOfAProcessThatDiedIsTakenOver) {
  TempFolder folder;
  const fs::path settings = folder / kSettingsFileName;
  const fs::path lockFile = FileLock::LockPathFor(settings);
  // A process that dies holding the lock leaves its lock file behind.
  const pid_t holder = ::fork();
  ASSERT_GE(holder, 0);
  if (holder == 0) {
    const StatusOr<FileLock> lock = FileLock::Acquire(settings, std::chrono::seconds(1));
    ::_exit(lock.ok() ? 0 : 1);
  }
  ASSERT_EQ(ExitCodeOf(holder), 0);
  ASSERT_TRUE(fs::exists(lockFile));
  EXPECT_EQ(ReadFile(lockFile).rfind(std::to_string(holder) + " ", 0), 0u) << ReadFile(lockFile);

  AppSettings changed;
  changed.CompanyName = "Acme";
  const auto start = std::chrono::steady_clock::now();
  const Status saved = SavePreferences(AppSettings(), changed, folder.path(), "", "", nullptr,
                                       std::chrono::seconds(5));
  ASSERT_TRUE(saved.ok()) << saved.message();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  EXPECT_EQ(LoadPreferences(folder.path()).value().CompanyName, "Acme");
  EXPECT_FALSE(fs::exists(lockFile));
}

TEST(SettingsLockTest, ALockHeldByAnotherProcessFailsTheSaveWithNothingWritten) {
  TempFolder folder;
  const fs::path settings = folder / kSettingsFileName;
  WriteFile(settings, "[Company]\nName=Old\n");
  int toHolder[2], fromHolder[2];
  ASSERT_EQ(::pipe(toHolder), 0);
  ASSERT_EQ(::pipe(fromHolder), 0);
  const pid_t holder = ::fork();
  ASSERT_GE(holder, 0);
  if (holder == 0) {
    const StatusOr<FileLock> lock = FileLock::Acquire(settings, std::chrono::seconds(1));
    char byte = lock.ok() ? 'y' : 'n';
    if (::write(fromHolder[1], &byte, 1) != 1 || ::read(toHolder[0], &byte, 1) != 1) {
      ::_exit(2);
    }
    ::_exit(0);  // lets go by ending, as a window does when it closes
  }
  char held = 0;
  ASSERT_EQ(::read(fromHolder[0], &held, 1), 1);
  ASSERT_EQ(held, 'y');

  AppSettings changed;
  changed.CompanyName = "New";
  const Status refused = SavePreferences(AppSettings(), changed, folder.path(), "", "", nullptr,
                                         std::chrono::milliseconds(300));
  // Busy, so that a caller may try again later.
  EXPECT_EQ(refused.code(), Status::Code::kBusy);
  char host[256] = {};
  ASSERT_EQ(::gethostname(host, sizeof host - 1), 0);
  EXPECT_EQ(refused.message(), "Could not save the settings in \"" + settings.string() +
                                   "\": another program (process " + std::to_string(holder) +
                                   " on " + host + ") held the lock file \"" +
                                   FileLock::LockPathFor(settings).string() +
                                   "\" for more than 1 second.");
  EXPECT_EQ(ReadFile(settings), "[Company]\nName=Old\n");

  // Once the holder has ended, the same save goes through.
  ASSERT_EQ(::write(toHolder[1], "x", 1), 1);
  EXPECT_EQ(ExitCodeOf(holder), 0);
  const Status saved = SavePreferences(AppSettings(), changed, folder.path(), "", "", nullptr,
                                       std::chrono::milliseconds(300));
  EXPECT_TRUE(saved.ok()) << saved.message();
  EXPECT_EQ(LoadPreferences(folder.path()).value().CompanyName, "New");
  for (const int fd : {toHolder[0], toHolder[1], fromHolder[0], fromHolder[1]}) ::close(fd);
}

}  // namespace
}  // namespace ardvane
