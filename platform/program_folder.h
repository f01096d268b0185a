#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/status.h"
#include "platform/seed_manifest.h"

namespace ardvane {

// The program folder holds Settings.ini, Params.ini, Templates/, Help/, Language.kdf,
// PrintLog.kdf, the chart pictures, Reports/ and data/.
//
// A program run from its build folder (or any folder it may write that holds its payload) uses
// the executable's own folder. An installed program keeps its payload read-only in
// <prefix>/share/ardvane/ beside <prefix>/bin/ and uses a folder of each user's own,
// $XDG_DATA_HOME/ardvane/ (by default ~/.local/share/ardvane/), seeded from that payload.
// An explicit folder (--program-folder) wins over both and is never seeded.

// What the choice depends on, gathered by the caller so that tests can set every part.
struct ProgramFolderInputs {
  std::filesystem::path executableFolder;
  std::optional<std::filesystem::path> explicitFolder;  // --program-folder
  std::string xdgDataHome;                              // $XDG_DATA_HOME, may be empty
  std::string home;                                     // $HOME, or the password entry's
};

struct ProgramFolderChoice {
  std::filesystem::path folder;
  // The installed payload to seed `folder` from; empty when the folder is not a per-user one.
  std::filesystem::path payload;
};

// The installed payload of an executable in `executableFolder`: ../share/ardvane.
std::filesystem::path InstalledPayloadFolder(const std::filesystem::path& executableFolder);

// Picks the program folder. The executable's folder is used when the program may write it and
// it holds the payload (Params.ini), or when there is no installed payload to seed another
// folder from; otherwise the per-user folder. Running an installed program as root therefore
// still uses root's own folder, never /usr/bin.
ProgramFolderChoice ChooseProgramFolder(const ProgramFolderInputs& inputs);

// The per-user folder: $XDG_DATA_HOME/ardvane when XDG_DATA_HOME is an absolute path, else
// <home>/.local/share/ardvane. Empty when neither gives an absolute path.
std::filesystem::path PerUserProgramFolder(const std::string& xdgDataHome, const std::string& home);

struct SeedOutcome {
  // Relative to the folder, in the order the payload was read.
  std::vector<std::filesystem::path> copied;    // were missing
  std::vector<std::filesystem::path> replaced;  // unchanged by the user, now the new version
  std::vector<std::filesystem::path> kept;      // changed by the user; NAME.new beside them
  Status status;                                // ok when the folder is complete
};

// Makes `folder` (and its parents) and brings it up to date with every file of `payload`,
// keeping the payload's folder structure. A record in the folder (kSeedManifestName) holds the
// hash of the version each file was last given; against it, for each file of the payload:
// - missing from the folder: copied, whole or not at all (an interrupted copy leaves nothing
//   behind), so a seeding cut short is completed at the next call; made writable by its owner,
//   so templates can be edited;
// - the same as the payload's: only recorded;
// - as recorded, so not changed by the user (and writable by its owner): replaced by the
//   payload's version;
// - changed by the user (or made read-only by its owner, or not recorded at all, as in a folder
//   seeded before the record existed) while the payload brings a version not offered before:
//   kept as it is, and the payload's version is written beside it as NAME.new (replacing an
//   older one) and listed in `kept`. The record then holds the version offered, so a later
//   call with the same payload does nothing;
// - anything but a regular file (a link, even a dangling one, a folder): never touched.
// Files are replaced and the record is written atomically. On failure `status` says, in the
// program's words, which file or folder could not be made and why; what was done before it
// stays, and is recorded; the lists then say what was done.
SeedOutcome SeedProgramFolder(const std::filesystem::path& payload,
                              const std::filesystem::path& folder);

// The folder a run uses, and what to tell the user about it.
struct PreparedProgramFolder {
  std::filesystem::path folder;
  // Empty, or the message shown at start: the per-user folder could not be made complete.
  // The run then still works, from the per-user folder when it holds the parameters, else
  // from the installed payload itself; what needs to write there fails with its own message.
  std::string warning;
  // Empty, or a message shown once at start: files the user changed were kept and the new
  // versions written beside them (SeedOutcome::kept). Information, not a failure.
  std::string notice;
};

// ChooseProgramFolder, then, when the choice is a per-user folder, SeedProgramFolder and the
// empty folders Reports/ and data/ that reports and plans are saved in. An explicit folder and
// the executable's own folder are never seeded.
PreparedProgramFolder PrepareProgramFolder(const ProgramFolderInputs& inputs);

}  // namespace ardvane
