#include "platform/program_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <set>
#include <string_view>

#include "base/atomic_file.h"

namespace ardvane {

namespace fs = std::filesystem;

namespace {

constexpr char kParamsFileName[] = "Params.ini";
constexpr char kSeedSuffix[] = ".ardvane-seed";
constexpr char kOfferSuffix[] = ".new";
// Far above a list of a few hundred files; anything larger is not ours and counts as no list.
constexpr std::size_t kManifestMaxBytes = 16u << 20;
// The files a notice names; any more are counted.
constexpr std::size_t kNoticeMaxNames = 12;

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

// The message that files the user changed were kept and their new versions put beside them.
std::string KeptFilesNotice(const fs::path& folder, std::vector<fs::path> kept) {
  if (kept.empty()) return {};
  std::sort(kept.begin(), kept.end());
  std::string notice =
      "This version of Ardvane brings new versions of files that were changed in " +
      folder.string() +
      ". Your copies were kept and are still used; each new version is beside "
      "its file, with \"" +
      kOfferSuffix + "\" added to its name:\n";
  for (std::size_t i = 0; i < kept.size() && i < kNoticeMaxNames; ++i) {
    notice += '\n' + kept[i].string();
  }
  if (kept.size() > kNoticeMaxNames) {
    notice += "\n... and " + std::to_string(kept.size() - kNoticeMaxNames) + " more.";
  }
  return notice +
         "\n\nTo take up a new version, compare the two files, then edit your copy or replace "
         "it by the " +
         kOfferSuffix + " file.";
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

namespace {

// Brings one installed file `source` to `target` (`relative` to the folder, `key` in the
// record): copies a missing file, replaces one the user left as it was given, and offers the
// new version beside one the user changed. `recorded` is the record as found, `record` the one
// being written.
Status SeedFile(const fs::path& source, const fs::path& target, const fs::path& relative,
                const std::string& key, const SeedManifest& recorded, SeedManifest& record,
                SeedOutcome& outcome) {
  std::error_code statError;
  // Anything but a regular file under the name is the user's, even a dangling link.
  const fs::file_type held = fs::symlink_status(target, statError).type();
  if (held != fs::file_type::not_found && held != fs::file_type::regular) return Status::Ok();
  std::string content;
  mode_t mode = 0644;
  if (const int error = ReadWhole(source, &content, &mode)) {
    return Status::IoError("Could not read the installed file " + source.string() + ": " +
                           Reason(error) + ".");
  }
  if (held == fs::file_type::not_found) {
    const int error = CreateWhole(target, content, mode | S_IRUSR | S_IWUSR);
    if (error == EEXIST) return Status::Ok();  // made meanwhile, by another start
    if (error != 0) {
      return Status::IoError("Could not copy " + target.string() + ": " + Reason(error) + ".");
    }
    outcome.copied.push_back(relative);
    record[key] = SeedContentHash(content);
    return Status::Ok();
  }

  std::string current;
  mode_t currentMode = 0;
  // A file the user made unreadable cannot be compared; it stays as it is, like its record.
  if (ReadWhole(target, &current, &currentMode) != 0) return Status::Ok();
  const std::string shipped = SeedContentHash(content);
  const std::string currentHash = SeedContentHash(current);
  const auto entry = recorded.find(key);
  const bool offeredBefore = entry != recorded.end() && entry->second == shipped;
  if (currentHash == shipped || offeredBefore) {
    record[key] = shipped;
    return Status::Ok();
  }
  // Without an entry (a folder seeded before the record existed, or a record damaged or
  // deleted) nobody can tell whether the user changed the file, so it is treated as changed:
  // kept, with the new version offered beside it. A file its owner made read-only is kept too.
  const bool unchanged =
      entry != recorded.end() && entry->second == currentHash && (currentMode & S_IWUSR);
  if (unchanged) {
    if (const Status written = WriteFileAtomically(target, content); !written.ok()) {
      return written.WithMessage("Could not replace " + target.string() + ": " + written.message() +
                                 ".");
    }
    outcome.replaced.push_back(relative);
  } else {
    const fs::path offer = target.string() + kOfferSuffix;
    // Something else under the offer's name is the user's too; the offer waits until it is
    // gone, and the record keeps the version offered before.
    const fs::file_type there = fs::symlink_status(offer, statError).type();
    if (there != fs::file_type::not_found && there != fs::file_type::regular) return Status::Ok();
    if (const Status written = WriteFileAtomically(offer, content); !written.ok()) {
      return written.WithMessage("Could not write " + offer.string() + ": " + written.message() +
                                 ".");
    }
    outcome.kept.push_back(relative);
  }
  record[key] = shipped;
  return Status::Ok();
}

}  // namespace

SeedOutcome SeedProgramFolder(const fs::path& payload, const fs::path& folder) {
  SeedOutcome outcome;
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec || !fs::is_directory(folder)) {
    outcome.status = Status::IoError("Could not make the folder " + folder.string() + ": " +
                                     (ec ? ec.message() : Reason(ENOTDIR)) + ".");
    return outcome;
  }
  fs::recursive_directory_iterator walk(payload, ec);
  if (ec) {
    outcome.status = Status::IoError("Could not read the installed files in " + payload.string() +
                                     ": " + ec.message() + ".");
    return outcome;
  }
  const fs::path manifestPath = folder / kSeedManifestName;
  // A record that cannot be read is no record: every file then counts as not recorded.
  const StatusOr<std::string> manifestFile = ReadRegularFile(manifestPath, kManifestMaxBytes);
  const SeedManifest recorded = ParseSeedManifest(manifestFile.value_or(""));
  // Entries of files not looked at (a seeding cut short) stay as they were.
  SeedManifest record = recorded;
  std::set<std::string> seen;

  for (const fs::recursive_directory_iterator end; walk != end; walk.increment(ec)) {
    if (ec) break;
    const fs::path relative = walk->path().lexically_relative(payload);
    const fs::path target = folder / relative;
    std::error_code statError;
    if (walk->is_directory(statError)) {
      if (!fs::is_directory(target, statError)) {
        fs::create_directory(target, statError);
        if (statError) {
          outcome.status = Status::IoError("Could not make the folder " + target.string() + ": " +
                                           statError.message() + ".");
          break;
        }
      }
      continue;
    }
    if (!walk->is_regular_file(statError)) continue;
    const std::string key = relative.generic_string();
    seen.insert(key);
    const Status status = SeedFile(walk->path(), target, relative, key, recorded, record, outcome);
    if (!status.ok()) {
      outcome.status = status;
      break;
    }
  }
  if (ec && outcome.status.ok()) {
    outcome.status = Status::IoError("Could not read the installed files in " + payload.string() +
                                     ": " + ec.message() + ".");
  }
  // Files the payload no longer has are forgotten, once the whole payload has been seen.
  if (outcome.status.ok()) {
    std::erase_if(record, [&seen](const auto& entry) { return !seen.contains(entry.first); });
  }
  const std::string text = SeedManifestText(record);
  if (!manifestFile.ok() || text != *manifestFile) {
    const Status written = WriteFileAtomically(manifestPath, text);
    if (!written.ok() && outcome.status.ok()) {
      outcome.status = written.WithMessage("Could not write the list of copied files " +
                                           manifestPath.string() + ": " + written.message() + ".");
    }
  }
  return outcome;
}

PreparedProgramFolder PrepareProgramFolder(const ProgramFolderInputs& inputs) {
  const ProgramFolderChoice choice = ChooseProgramFolder(inputs);
  if (choice.payload.empty()) return {choice.folder, {}, {}};
  std::string problem;
  std::vector<fs::path> kept;
  if (choice.folder.empty()) {
    problem = "Neither XDG_DATA_HOME nor HOME names a folder for the program's files.";
  } else {
    SeedOutcome seeded = SeedProgramFolder(choice.payload, choice.folder);
    problem = seeded.status.message();
    kept = std::move(seeded.kept);
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
  const std::string notice = KeptFilesNotice(choice.folder, std::move(kept));
  if (problem.empty()) return {choice.folder, {}, notice};
  const bool usable = !choice.folder.empty() && HasFile(choice.folder / kParamsFileName);
  return {usable ? choice.folder : choice.payload,
          "Ardvane could not prepare its folder for your files.\n\n" + problem +
              "\n\nPlans can still be opened and shown, but settings, reports and the print "
              "log cannot be saved until the folder can be written.",
          notice};
}

}  // namespace ardvane
