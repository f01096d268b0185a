#pragma once

#include <filesystem>
#include <string>
#include <string_view>

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
// On failure returns false, leaves no temporary file and any old file untouched, and sets
// `error` (when given) to the system's reason.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view content,
                         std::string* error);

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

  // Whether the bytes are written and wait for Commit; otherwise error() says why not.
  bool ready() const { return fd_ >= 0; }
  const std::string& error() const { return error_; }
  // Replaces the target; false with `error` set (when given) when the file was not ready or
  // could not be put in place, which leaves the target as it was.
  bool Commit(std::string* error);

 private:
  void Discard();

  std::filesystem::path target_;     // the path with its links followed
  std::filesystem::path temporary_;  // the temporary file's name, once it has one
  int fd_ = -1;
  std::string error_;
};

// The outcome of ReadRegularFile.
struct FileBytes {
  bool ok = false;
  bool missing = false;  // nothing at the path (or a link to nothing)
  std::string bytes;     // the whole file when ok
  std::string reason;    // why it was not read, without the path
};

// Reads a whole regular file of at most `maxBytes` bytes. The file is opened without waiting,
// then checked, so a named pipe or a device in its place fails at once instead of blocking.
FileBytes ReadRegularFile(const std::filesystem::path& path, std::size_t maxBytes);

// The same, with the failure described as "\"path\": reason" in `error`.
bool ReadWholeFile(const std::filesystem::path& path, std::size_t maxBytes, std::string* content,
                   std::string* error);

}  // namespace ardvane
