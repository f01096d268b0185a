#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

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
  std::vector<std::filesystem::path> copied;  // relative to the folder
  std::string problem;                        // empty when the folder is complete
};

// Makes `folder` (and its parents) and copies into it every file of `payload` that it lacks,
// keeping the payload's folder structure. A file already there is never touched, whatever it
// holds: the office and the adviser may have changed it. Each file appears whole or not at all
// (an interrupted copy leaves nothing behind), so a seeding cut short is completed at the next
// call. Copies are made writable by their owner, so templates can be edited. On failure
// `problem` says, in the program's words, which file or folder could not be made and why; the
// files copied before it stay.
SeedOutcome SeedProgramFolder(const std::filesystem::path& payload,
                              const std::filesystem::path& folder);

// The folder a run uses, and what to tell the user about it.
struct PreparedProgramFolder {
  std::filesystem::path folder;
  // Empty, or the message shown at start: the per-user folder could not be made complete.
  // The run then still works, from the per-user folder when it holds the parameters, else
  // from the installed payload itself; what needs to write there fails with its own message.
  std::string warning;
};

// ChooseProgramFolder, then, when the choice is a per-user folder, SeedProgramFolder and the
// empty folders Reports/ and data/ that reports and plans are saved in.
PreparedProgramFolder PrepareProgramFolder(const ProgramFolderInputs& inputs);

}  // namespace ardvane
