#include "planfiles/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

namespace ardvane {
namespace {

std::string Describe(const std::filesystem::path& path, int errorNumber) {
  return "\"" + path.string() + "\": " + std::strerror(errorNumber);
}

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

}  // namespace

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view content,
                         std::string* error) {
  const auto fail = [error](int errorNumber) {
    if (error != nullptr) *error = std::strerror(errorNumber);
    return false;
  };
  // Through a symbolic link, replace the file it points to, not the link.
  std::filesystem::path target = path;
  std::error_code ec;
  if (std::filesystem::is_symlink(target, ec)) {
    const std::filesystem::path resolved = std::filesystem::canonical(target, ec);
    if (!ec) target = resolved;
  }

  std::random_device random;
  std::filesystem::path temporary;
  int fd = -1;
  for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(random()));
    temporary = target;
    temporary += suffix;
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) return fail(errno);
  // The replacement keeps the access rights of the file it replaces.
  struct stat old {};
  if (::stat(target.c_str(), &old) == 0) ::fchmod(fd, old.st_mode & 07777);

  bool ok = WriteAll(fd, content) && ::fsync(fd) == 0;
  int failure = ok ? 0 : errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    failure = errno;
  }
  if (ok && ::rename(temporary.c_str(), target.c_str()) != 0) {
    ok = false;
    failure = errno;
  }
  if (!ok) {
    ::unlink(temporary.c_str());
    return fail(failure);
  }
  // Make the rename itself durable; the file is already complete either way.
  const int folder = ::open(target.parent_path().empty() ? "." : target.parent_path().c_str(),
                            O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
  return true;
}

bool ReadWholeFile(const std::filesystem::path& path, std::size_t maxBytes, std::string* content,
                   std::string* error) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (error) *error = Describe(path, errno);
    return false;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    const int failure = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
    ::close(fd);
    if (error) *error = Describe(path, failure);
    return false;
  }
  std::string data;
  char buffer[65536];
  while (true) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      const int failure = errno;
      ::close(fd);
      if (error) *error = Describe(path, failure);
      return false;
    }
    if (got == 0) break;
    if (data.size() + static_cast<size_t>(got) > maxBytes) {
      ::close(fd);
      if (error) *error = "\"" + path.string() + "\": the file is too large.";
      return false;
    }
    data.append(buffer, static_cast<size_t>(got));
  }
  ::close(fd);
  *content = std::move(data);
  return true;
}

}  // namespace ardvane
