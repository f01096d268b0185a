#include "settings/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>

namespace ardvane {
namespace {

std::string HostName() {
  char host[256] = {};
  if (::gethostname(host, sizeof host - 1) != 0) return "unknown host";
  return host;
}

// What the holder wrote into the lock file: "<pid> <host>", or nothing useful.
std::string HolderOf(const std::filesystem::path& lockPath) {
  const int fd = ::open(lockPath.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return {};
  char buffer[300] = {};
  const ssize_t n = ::read(fd, buffer, sizeof buffer - 1);
  ::close(fd);
  std::string text(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
  const std::size_t blank = text.find(' ');
  if (blank == std::string::npos || blank == 0) return {};
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  }
  while (text.ends_with(' ')) text.pop_back();
  return "process " + text.substr(0, blank) + " on " + text.substr(blank + 1);
}

// Whether `fd` is still the file under `path`: a holder that let go removed the file it
// locked, so a lock won on that file guards nothing.
bool StillAtPath(int fd, const std::filesystem::path& path) {
  struct stat open = {};
  struct stat named = {};
  return ::fstat(fd, &open) == 0 && ::lstat(path.c_str(), &named) == 0 &&
         open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

}  // namespace

std::filesystem::path FileLock::LockPathFor(const std::filesystem::path& file) {
  std::filesystem::path lock = file;
  lock += ".lock";
  return lock;
}

StatusOr<FileLock> FileLock::Acquire(const std::filesystem::path& file,
                                     std::chrono::milliseconds wait) {
  const std::filesystem::path lockPath = LockPathFor(file);
  const auto deadline = std::chrono::steady_clock::now() + wait;
  auto pause = std::chrono::milliseconds(1);
  for (;;) {
    bool writable = true;
    int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EACCES) {
      // Another user's lock file: locking needs no write access, naming the holder does.
      writable = false;
      fd = ::open(lockPath.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    }
    if (fd < 0) {
      return Status::IoError("the lock file \"" + lockPath.string() + "\" cannot be made (" +
                             std::strerror(errno) + ")");
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      if (StillAtPath(fd, lockPath)) {
        if (writable) {
          const std::string holder = std::to_string(::getpid()) + " " + HostName() + "\n";
          // A failure here only costs a waiting process the holder's name in its message.
          if (::ftruncate(fd, 0) == 0) {
            [[maybe_unused]] const ssize_t written = ::pwrite(fd, holder.data(), holder.size(), 0);
          }
        }
        return FileLock(lockPath, fd);
      }
      ::close(fd);  // removed by the holder before us; the next try makes a new one
      continue;
    }
    const int lockErrno = errno;
    ::close(fd);
    if (lockErrno != EWOULDBLOCK && lockErrno != EINTR) {
      return Status::IoError("the lock file \"" + lockPath.string() + "\" cannot be locked (" +
                             std::strerror(lockErrno) + ")");
    }
    const auto now = std::chrono::steady_clock::now();
    if (now >= deadline) {
      const std::string holder = HolderOf(lockPath);
      const long long seconds = (wait.count() + 999) / 1000;
      return Status::Busy("another program" +
                          (holder.empty() ? std::string() : " (" + holder + ")") +
                          " held the lock file \"" + lockPath.string() + "\" for more than " +
                          std::to_string(seconds) + (seconds == 1 ? " second" : " seconds"));
    }
    std::this_thread::sleep_for(
        std::min<std::chrono::steady_clock::duration>(pause, deadline - now));
    pause = std::min(pause * 2, std::chrono::milliseconds(20));
  }
}

FileLock::FileLock(FileLock&& other) noexcept
    : lockPath_(std::move(other.lockPath_)), fd_(other.fd_) {
  other.fd_ = -1;
}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
  if (this != &other) {
    Release();
    lockPath_ = std::move(other.lockPath_);
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

FileLock::~FileLock() { Release(); }

void FileLock::Release() {
  if (fd_ < 0) return;
  // Removed while still held, so a process that opened it meanwhile sees it gone and retries.
  ::unlink(lockPath_.c_str());
  ::close(fd_);
  fd_ = -1;
}

}  // namespace ardvane
