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

// The failure of the last system call on the log at `logPath`.
Status LogFailure(const std::filesystem::path& logPath, const char* reason = nullptr) {
  // A one-letter prefix is added as a char: g++ 12 warns -Wrestrict, wrongly, on a one-letter
  // string literal + std::string&&.
  std::string message = '"' + logPath.string() + "\": ";
  message += reason != nullptr ? reason : std::strerror(errno);
  return Status::IoError(std::move(message));
}

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

Status LogPrint(const std::filesystem::path& programFolder, const std::string& reportPath,
                DesktopOpenResult result, const LocalDateTime& moment,
                const RegionalSettings& regional) {
  const std::filesystem::path logPath = programFolder / kPrintLogName;
  std::string text = PrintLogLine(reportPath, result, moment, regional) + "\r\n";

  // A new log is made exclusively, so two programs never both write the header.
  bool created = true;
  int fd = ::open(logPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0 && errno == EEXIST) {
    created = false;
    fd = ::open(logPath.c_str(), O_RDWR | O_APPEND | O_CLOEXEC);
  }
  if (fd < 0) return LogFailure(logPath);
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return LogFailure(logPath, "not a regular file");
  }
  const off_t oldSize = info.st_size;
  if (created) {
    text = std::string(kPrintLogHeader) + "\r\n" + text;
  } else if (oldSize > 0) {
    // A log whose last line was left without its line end by hand still gets a line of its own.
    char last = '\n';
    if (::pread(fd, &last, 1, oldSize - 1) == 1 && last != '\n') text = "\r\n" + text;
  }
  Status status;
  if (!WriteAll(fd, text) || ::fsync(fd) != 0) {
    status = LogFailure(logPath);
    // Whatever part of the line got in is cut off again; a new log goes altogether.
    if (created) {
      ::unlink(logPath.c_str());
    } else if (::ftruncate(fd, oldSize) != 0) {
      // Nothing more can be done; the lines before stay as they were either way.
    }
  }
  if (::close(fd) != 0 && status.ok()) status = LogFailure(logPath);
  return status;
}

}  // namespace ardvane
