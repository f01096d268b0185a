#pragma once

#include <chrono>
#include <filesystem>
#include <string>

#include "base/status.h"

namespace ardvane {

// An exclusive lock between processes (and between FileLocks within one process), held on a
// lock file of its own: `<file>.lock` beside the file it guards.
//
// The lock is the kernel's lock on that open file (flock), so it ends with its holder however
// the holder ends, killed or crashed included. A lock file left by a holder that died is
// therefore simply taken over: no process id has to be judged alive or dead (ids are reused,
// and mean nothing on another host sharing the folder), and two processes cannot both take
// over the same stale file. The holder writes its process id and host name into the file for
// the message of a process that cannot get the lock, and removes the file when it lets go.
class FileLock {
 public:
  // Takes the lock for `file`, trying for at most `wait`. Fails Busy when another holds the
  // lock for that long (the message names the holder when it is known), with an I/O error
  // when the lock file cannot be made or locked.
  static StatusOr<FileLock> Acquire(const std::filesystem::path& file,
                                    std::chrono::milliseconds wait);

  FileLock(FileLock&& other) noexcept;
  FileLock& operator=(FileLock&& other) noexcept;
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  ~FileLock();

  // The lock file of `file`.
  static std::filesystem::path LockPathFor(const std::filesystem::path& file);

 private:
  FileLock(std::filesystem::path lockPath, int fd) : lockPath_(std::move(lockPath)), fd_(fd) {}
  void Release();

  std::filesystem::path lockPath_;
  int fd_ = -1;
};

}  // namespace ardvane
