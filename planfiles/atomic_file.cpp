#include "planfiles/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
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
  const std::filesystem::path folder =
      path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
  std::random_device random;
  const std::filesystem::path temporary =
      folder / ("." + path.filename().string() + ".tmp" + std::to_string(random()));

  // A new file gets the permissions an ordinary save would give it; a replaced one keeps its own.
  mode_t mode = 0666;
  struct stat existing {};
  if (::stat(path.c_str(), &existing) == 0) mode = existing.st_mode & 07777;

  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
  if (fd < 0) {
    if (error) *error = Describe(path, errno);
    return false;
  }
  bool ok = WriteAll(fd, content) && ::fsync(fd) == 0;
  int failure = ok ? 0 : errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    failure = errno;
  }
  if (ok && ::rename(temporary.c_str(), path.c_str()) != 0) {
    ok = false;
    failure = errno;
  }
  if (!ok) {
    ::unlink(temporary.c_str());
    if (error) *error = Describe(path, failure);
  }
  return ok;
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
