#include "base/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

namespace ardvane {
namespace fs = std::filesystem;

namespace {

// The kernel's own limit on links followed in one path.
constexpr int kMaxLinkHops = 40;
constexpr std::string_view kTemporarySuffix = ".tmp";
constexpr std::size_t kTemporaryTagLength = 8;  // hexadecimal digits
// A temporary file left this long is no save's any more.
constexpr auto kTemporaryAbandonedAfter = std::chrono::minutes(10);

Status SystemFailure(int errorNumber) { return Status::IoError(std::strerror(errorNumber)); }

bool WriteAll(int fd, std::string_view content) {
  while (!content.empty()) {
    const ssize_t written = ::write(fd, content.data(), content.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    content.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

// The path a save through `path` writes: symbolic links at its end are followed, whether or
// not the last one names an existing file. Returns 0, or the errno of the failure.
int ResolveLinks(const fs::path& path, fs::path* target) {
  fs::path current = path;
  for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
    struct stat info {};
    if (::lstat(current.c_str(), &info) != 0) {
      if (errno != ENOENT) return errno;
      *target = current;  // nothing there yet (a missing folder fails when the file is made)
      return 0;
    }
    if (!S_ISLNK(info.st_mode)) {
      *target = current;
      return 0;
    }
    std::error_code ec;
    const fs::path next = fs::read_symlink(current, ec);
    if (ec) return ec.value();
    current = next.is_absolute() ? next : current.parent_path() / next;
  }
  return ELOOP;
}

fs::path FolderOf(const fs::path& target) {
  return target.parent_path().empty() ? fs::path(".") : target.parent_path();
}

// "<name>.<8 hexadecimal digits>.tmp": the temporary files of the target named `name`.
std::string TemporaryName(const std::string& name, unsigned tag) {
  char suffix[32];
  std::snprintf(suffix, sizeof suffix, ".%08x", tag);
  return name + suffix + std::string(kTemporarySuffix);
}

bool IsTemporaryOf(const std::string& candidate, const std::string& name) {
  const std::size_t length = name.size() + 1 + kTemporaryTagLength + kTemporarySuffix.size();
  if (candidate.size() != length || !candidate.starts_with(name) ||
      !candidate.ends_with(kTemporarySuffix) || candidate[name.size()] != '.') {
    return false;
  }
  for (std::size_t i = name.size() + 1; i < name.size() + 1 + kTemporaryTagLength; ++i) {
    if (!std::isxdigit(static_cast<unsigned char>(candidate[i]))) return false;
  }
  return true;
}

// Temporary files of `target` that a save killed before its rename left behind. A recent one
// may belong to a save of another process that is still running, and is left to it.
void RemoveStaleTemporaries(const fs::path& target) {
  const std::string name = target.filename().string();
  const auto now = fs::file_time_type::clock::now();
  std::error_code ec;
  for (fs::directory_iterator it(FolderOf(target), ec), end; !ec && it != end; it.increment(ec)) {
    if (!IsTemporaryOf(it->path().filename().string(), name)) continue;
    std::error_code ignored;  // one that cannot be removed costs nothing but space
    if (!it->is_regular_file(ignored) || it->is_symlink(ignored)) continue;
    const auto written = it->last_write_time(ignored);
    if (!ignored && now - written > kTemporaryAbandonedAfter) fs::remove(it->path(), ignored);
  }
}

// A file its owner may not write was made read-only on purpose; root could replace it
// anyway, so the mode bits are checked as well as the process's own access.
int CheckWritable(const fs::path& target, const struct stat& old) {
  if ((old.st_mode & S_IWUSR) == 0) return EACCES;
  if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) return errno;
  return 0;
}

// The old file's owner, group and access rights for the new one. Owner and group need
// privileges the process may lack; the group alone may still be allowed.
void CopyOwnerAndMode(int fd, const struct stat& old) {
  if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
    [[maybe_unused]] const int ignored = ::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
  }
  ::fchmod(fd, old.st_mode & 07777);  // after fchown, which may clear set-id bits
}

// Gives the unnamed file `fd` a fresh temporary name beside `target`. Returns 0 or errno.
int LinkUnnamedFile(int fd, const fs::path& target, std::random_device& random,
                    fs::path* temporary) {
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  for (int attempt = 0; attempt < 16; ++attempt) {
    *temporary = FolderOf(target) / TemporaryName(target.filename().string(), random());
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temporary->c_str(), AT_SYMLINK_FOLLOW) == 0) {
      return 0;
    }
    // Without /proc only a privileged process can link a descriptor directly.
    if (errno == ENOENT && ::linkat(fd, "", AT_FDCWD, temporary->c_str(), AT_EMPTY_PATH) == 0) {
      return 0;
    }
    if (errno != EEXIST) return errno;
  }
  return EEXIST;
}

}  // namespace

PreparedFile::PreparedFile(const fs::path& path, std::string_view content) {
  const auto fail = [this](int errorNumber) { status_ = SystemFailure(errorNumber); };
  if (const int failure = ResolveLinks(path, &target_)) {
    fail(failure);
    return;
  }
  struct stat old {};
  const bool replacing = ::stat(target_.c_str(), &old) == 0;
  if (replacing) {
    // Found now rather than by the rename: a prepared file must be able to take its place.
    if (const int failure = S_ISDIR(old.st_mode) ? EISDIR : CheckWritable(target_, old)) {
      fail(failure);
      return;
    }
  }
  RemoveStaleTemporaries(target_);

  int fd = ::open(FolderOf(target_).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  // File systems without unnamed files answer one of these; write a named file instead.
  if (fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
    std::random_device random;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
      temporary_ = FolderOf(target_) / TemporaryName(target_.filename().string(), random());
      fd = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) temporary_.clear();
  }
  if (fd < 0) {
    fail(errno);
    return;
  }
  if (replacing) CopyOwnerAndMode(fd, old);
  fd_ = fd;
  if (!WriteAll(fd_, content) || ::fsync(fd_) != 0) {
    fail(errno);
    Discard();
  }
}

PreparedFile::~PreparedFile() { Discard(); }

void PreparedFile::Discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
}

Status PreparedFile::Commit() {
  if (fd_ < 0) return status_.ok() ? SystemFailure(EBADF) : status_;
  int failure = 0;
  if (temporary_.empty()) {
    std::random_device random;
    failure = LinkUnnamedFile(fd_, target_, random, &temporary_);
  }
  if (::close(fd_) != 0 && failure == 0) failure = errno;
  fd_ = -1;
  if (failure == 0 && ::rename(temporary_.c_str(), target_.c_str()) != 0) failure = errno;
  if (failure != 0) {
    status_ = SystemFailure(failure);
    Discard();
    return status_;
  }
  temporary_.clear();  // it is the target now
  // Make the rename itself durable; the file is already complete either way.
  const int folder = ::open(FolderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
  return Status::Ok();
}

Status WriteFileAtomically(const fs::path& path, std::string_view content) {
  PreparedFile file(path, content);
  return file.Commit();
}

StatusOr<std::string> ReadRegularFile(const fs::path& path, std::size_t maxBytes) {
  // Without O_NONBLOCK, opening a named pipe waits for a writer, possibly for ever.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return Status::NotFound(std::strerror(errno));
    return SystemFailure(errno);
  }
  const auto fail = [fd](Status why) {
    ::close(fd);
    return why;
  };
  struct stat info {};
  if (::fstat(fd, &info) != 0) return fail(SystemFailure(errno));
  if (S_ISDIR(info.st_mode)) return fail(SystemFailure(EISDIR));
  if (!S_ISREG(info.st_mode)) return fail(Status::IoError("not a regular file"));
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);

  std::string data;
  char buffer[65536];
  while (true) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      return fail(SystemFailure(errno));
    }
    if (got == 0) break;
    // Whatever size the file claims, at most one buffer beyond the limit is read.
    if (data.size() + static_cast<size_t>(got) > maxBytes) {
      return fail(Status::InvalidData("larger than " + std::to_string(maxBytes) + " bytes"));
    }
    data.append(buffer, static_cast<size_t>(got));
  }
  ::close(fd);
  return data;
}

StatusOr<std::string> ReadWholeFile(const fs::path& path, std::size_t maxBytes) {
  StatusOr<std::string> file = ReadRegularFile(path, maxBytes);
  // A one-letter prefix is added as a char: g++ 12 warns -Wrestrict, wrongly, on a one-letter
  // string literal + std::string&& (it is done so throughout the program).
  if (!file.ok()) return file.status().Prefixed('"' + path.string() + '"');
  return file;
}

}  // namespace ardvane
