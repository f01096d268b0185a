#include "platform/program_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string_view>

namespace ardvane {

namespace fs = std::filesystem;

namespace {

constexpr char kParamsFileName[] = "Params.ini";
constexpr char kSeedSuffix[] = ".ardvane-seed";

std::string Reason(int error) { return std::strerror(error); }

bool IsWritableFolder(const fs::path& folder) {
  return !folder.empty() && access(folder.c_str(), W_OK | X_OK) == 0;
}

bool HasFile(const fs::path& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

// Closes a descriptor on every path out.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// The whole content of a file, or an error number.
int ReadWhole(const fs::path& path, std::string* content, mode_t* mode) {
  FileDescriptor in(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (in.get() < 0) return errno;
  struct stat info {};
  if (fstat(in.get(), &info) != 0) return errno;
  if (!S_ISREG(info.st_mode)) return EINVAL;
  *mode = info.st_mode & 0777;
  content->clear();
  char buffer[65536];
  for (;;) {
    const ssize_t got = read(in.get(), buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (got == 0) return 0;
    content->append(buffer, static_cast<std::size_t>(got));
  }
}

// Creates `target` with `content` unless something already has its name. The file appears
// under its name only once it is whole: it is written unnamed (or under a scratch name where
// the file system cannot hold unnamed files) and then linked, and a link never replaces an
// existing name. Returns 0, EEXIST when the name was taken meanwhile, or an error number.
int CreateWhole(const fs::path& target, const std::string& content, mode_t mode) {
  FileDescriptor unnamed(
      open(target.parent_path().c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode));
  if (unnamed.get() >= 0) {
    if (!WriteAll(unnamed.get(), content) || fsync(unnamed.get()) != 0) return errno;
    const std::string self = "/proc/self/fd/" + std::to_string(unnamed.get());
    if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, target.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      return 0;
    }
    return errno;
  }
  if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return errno;

  // A scratch file left by an interrupted run is simply written over.
  const fs::path scratch = target.string() + kSeedSuffix;
  int result = 0;
  {
    FileDescriptor named(
        open(scratch.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, mode));
    if (named.get() < 0) return errno;
    if (!WriteAll(named.get(), content) || fsync(named.get()) != 0) result = errno;
  }
  if (result == 0 && link(scratch.c_str(), target.c_str()) != 0) result = errno;
  unlink(scratch.c_str());
  return result;
}

}  // namespace

fs::path InstalledPayloadFolder(const fs::path& executableFolder) {
  return executableFolder.parent_path() / "share" / "ardvane";
}

fs::path PerUserProgramFolder(const std::string& xdgDataHome, const std::string& home) {
  // An XDG variable that is not an absolute path is to be ignored.
  if (!xdgDataHome.empty() && xdgDataHome.front() == '/') return fs::path(xdgDataHome) / "ardvane";
  if (!home.empty() && home.front() == '/') return fs::path(home) / ".local" / "share" / "ardvane";
  return {};
}

ProgramFolderChoice ChooseProgramFolder(const ProgramFolderInputs& inputs) {
  if (inputs.explicitFolder) return {*inputs.explicitFolder, {}};
  const fs::path own = inputs.executableFolder;
  const fs::path payload = InstalledPayloadFolder(own);
  std::error_code ec;
  const bool installed = fs::is_directory(payload, ec);
  if (!installed || (IsWritableFolder(own) && HasFile(own / kParamsFileName))) return {own, {}};
  return {PerUserProgramFolder(inputs.xdgDataHome, inputs.home), payload};
}

SeedOutcome SeedProgramFolder(const fs::path& payload, const fs::path& folder) {
  SeedOutcome outcome;
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec || !fs::is_directory(folder)) {
    outcome.problem = "Could not make the folder " + folder.string() + ": " +
                      (ec ? ec.message() : Reason(ENOTDIR)) + ".";
    return outcome;
  }
  fs::recursive_directory_iterator walk(payload, ec);
  if (ec) {
    outcome.problem =
        "Could not read the installed files in " + payload.string() + ": " + ec.message() + ".";
    return outcome;
  }
  for (const fs::recursive_directory_iterator end; walk != end; walk.increment(ec)) {
    if (ec) break;
    const fs::path relative = walk->path().lexically_relative(payload);
    const fs::path target = folder / relative;
    std::error_code statError;
    if (walk->is_directory(statError)) {
      if (!fs::is_directory(target, statError)) {
        fs::create_directory(target, statError);
        if (statError) {
          outcome.problem =
              "Could not make the folder " + target.string() + ": " + statError.message() + ".";
          return outcome;
        }
      }
      continue;
    }
    if (!walk->is_regular_file(statError)) continue;
    // Anything already under the name is the user's, even a dangling link.
    if (fs::symlink_status(target, statError).type() != fs::file_type::not_found) continue;
    std::string content;
    mode_t mode = 0644;
    int error = ReadWhole(walk->path(), &content, &mode);
    if (error == 0) error = CreateWhole(target, content, mode | S_IRUSR | S_IWUSR);
    if (error == EEXIST) continue;
    if (error != 0) {
      outcome.problem = "Could not copy " + target.string() + ": " + Reason(error) + ".";
      return outcome;
    }
    outcome.copied.push_back(relative);
  }
  if (ec) {
    outcome.problem =
        "Could not read the installed files in " + payload.string() + ": " + ec.message() + ".";
  }
  return outcome;
}

PreparedProgramFolder PrepareProgramFolder(const ProgramFolderInputs& inputs) {
  const ProgramFolderChoice choice = ChooseProgramFolder(inputs);
  if (choice.payload.empty()) return {choice.folder, {}};
  std::string problem;
  if (choice.folder.empty()) {
    problem = "Neither XDG_DATA_HOME nor HOME names a folder for the program's files.";
  } else {
    problem = SeedProgramFolder(choice.payload, choice.folder).problem;
  }
  // The folders the program writes into: reports, and plans saved where it proposes.
  for (const char* name : {"Reports", "data"}) {
    std::error_code ec;
    if (problem.empty() && !fs::is_directory(choice.folder / name, ec) &&
        !fs::create_directory(choice.folder / name, ec)) {
      problem = "Could not make the folder " + (choice.folder / name).string() + ": " +
                ec.message() + ".";
    }
  }
  if (problem.empty()) return {choice.folder, {}};
  const bool usable = !choice.folder.empty() && HasFile(choice.folder / kParamsFileName);
  return {usable ? choice.folder : choice.payload,
          "Ardvane could not prepare its folder for your files.\n\n" + problem +
              "\n\nPlans can still be opened and shown, but settings, reports and the print "
              "log cannot be saved until the folder can be written."};
}

}  // namespace ardvane
