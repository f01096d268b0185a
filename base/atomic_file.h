#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "base/status.h"

namespace ardvane {

// Replaces the file at `path` with `content`, so that the old file stays whole until the new
// one is complete:
// - The bytes go to an unnamed file in the target's folder, which is flushed to disk, given
//   a name and renamed over the target; a process killed before the rename leaves nothing
//   behind. Where the file system has no unnamed files a named temporary file is used, and
//   temporary files that an earlier, interrupted save of the same target left (ten minutes
//   ago or more: a newer one may be another process's save under way) are removed.
// - A symbolic link is kept and the path it names is written, even when nothing is there
//   yet; a loop of links is refused.
// - The new file keeps the old one's access rights and, where the process may set them, its
//   owner and group.
// - A file that its owner may not write (or the process may not) is not replaced.
// On failure returns an IoError whose message is the system's reason (without the path),
// and leaves no temporary file and any old file untouched.
Status WriteFileAtomically(const std::filesystem::path& path, std::string_view content);

// WriteFileAtomically in two steps, for files that must replace their targets in a set order:
// the constructor writes and flushes the bytes to a temporary file (an unnamed one where the
// file system has them), Commit puts it in place. Dropped without Commit, it leaves nothing
// behind and the target untouched.
class PreparedFile {
 public:
  PreparedFile(const std::filesystem::path& path, std::string_view content);
  ~PreparedFile();
  PreparedFile(const PreparedFile&) = delete;
  PreparedFile& operator=(const PreparedFile&) = delete;

  // Ok when the bytes are written and wait for Commit; otherwise the IoError that says why
  // they do not (the system's reason).
  const Status& status() const { return status_; }
  // Replaces the target. Fails, leaving the target as it was, when the file was not ready
  // (with status()) or could not be put in place (an IoError with the system's reason).
  Status Commit();

 private:
  void Discard();

  std::filesystem::path target_;     // the path with its links followed
  std::filesystem::path temporary_;  // the temporary file's name, once it has one
  int fd_ = -1;
  Status status_;
};

// Reads a whole regular file of at most `maxBytes` bytes. The file is opened without waiting,
// then checked, so a named pipe or a device in its place fails at once instead of blocking.
// Fails with NotFound when nothing is at the path (or a link to nothing), InvalidData for a
// file larger than `maxBytes`, and an IoError otherwise; the message is the reason, without
// the path.
StatusOr<std::string> ReadRegularFile(const std::filesystem::path& path, std::size_t maxBytes);

// The same, with the failure described as "\"path\": reason".
StatusOr<std::string> ReadWholeFile(const std::filesystem::path& path, std::size_t maxBytes);

}  // namespace ardvane
