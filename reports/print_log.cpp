#include "reports/print_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/file_names.h"

namespace ardvane {
namespace {

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

std::string Reason() { return std::strerror(errno); }

}  // namespace

std::string PrintLogField(std::string_view value) {
  std::string field;
  field.reserve(value.size());
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (const std::size_t control = ControlCharacterLength(value, i); control > 0) {
      field += ' ';
      i += control - 1;
    } else {
      field += value[i];
    }
  }
  return field;
}

std::string PrintLogLine(const std::string& reportPath, DesktopOpenResult result,
                         const LocalDateTime& moment, const RegionalSettings& regional) {
  // The codes the log has always held for the two outcomes.
  const int resultCode = result == DesktopOpenResult::kOpened ? 42 : 2;
  std::string when = FormatShortDate(moment.day, regional.shortDateFormat);
  if (moment.hour != 0 || moment.minute != 0 || moment.second != 0) {
    when += ' ' + FormatTimeOfDay(moment, regional.longTimeFormat);
  }
  const std::filesystem::path path(reportPath);
  std::string folder = path.parent_path().string();
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return when + "\t" + PrintLogField(folder) + "\t" + PrintLogField(path.filename().string()) +
         "\t" + std::to_string(resultCode);
}

bool LogPrint(const std::filesystem::path& programFolder, const std::string& reportPath,
              DesktopOpenResult result, const LocalDateTime& moment,
              const RegionalSettings& regional, std::string* error) {
  const std::filesystem::path logPath = programFolder / kPrintLogName;
  std::string text = PrintLogLine(reportPath, result, moment, regional) + "\r\n";

  // A new log is made exclusively, so two programs never both write the header.
  bool created = true;
  int fd = ::open(logPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0 && errno == EEXIST) {
    created = false;
    fd = ::open(logPath.c_str(), O_RDWR | O_APPEND | O_CLOEXEC);
  }
  if (fd < 0) {
    *error = '"' + logPath.string() + "\": " + Reason();
    return false;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    *error = '"' + logPath.string() + "\": not a regular file";
    ::close(fd);
    return false;
  }
  const off_t oldSize = info.st_size;
  if (created) {
    text = std::string(kPrintLogHeader) + "\r\n" + text;
  } else if (oldSize > 0) {
    // A log whose last line was left without its line end by hand still gets a line of its own.
    char last = '\n';
    if (::pread(fd, &last, 1, oldSize - 1) == 1 && last != '\n') text = "\r\n" + text;
  }
  bool ok = WriteAll(fd, text) && ::fsync(fd) == 0;
  if (!ok) {
    *error = '"' + logPath.string() + "\": " + Reason();
    // Whatever part of the line got in is cut off again; a new log goes altogether.
    if (created) {
      ::unlink(logPath.c_str());
    } else if (::ftruncate(fd, oldSize) != 0) {
      // Nothing more can be done; the lines before stay as they were either way.
    }
  }
  if (::close(fd) != 0 && ok) {
    *error = '"' + logPath.string() + "\": " + Reason();
    ok = false;
  }
  return ok;
}

}  // namespace ardvane
