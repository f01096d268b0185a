#include "platform/program_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <functional>
#include <map>

#include "tests/planfiles/test_files.h"

namespace ardvane {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

// An installed program: <prefix>/bin/ardvane and its payload in <prefix>/share/ardvane.
struct Installation {
  TempFolder root;
  fs::path bin = root / "usr/bin";
  fs::path payload = root / "usr/share/ardvane";
  fs::path home = root / "home/adviser";

  Installation() {
    fs::create_directories(bin);
    fs::create_directories(payload / "Templates/English");
    fs::create_directories(home);
    WriteFile(payload / "Params.ini", "[Permissions]\n");
    WriteFile(payload / "Sample.bvx", "<Plan/>");
    WriteFile(payload / "Templates/English/Closer.ktf", "<p>Thank you.</p>");
  }
  ProgramFolderInputs Inputs() const { return {bin, std::nullopt, "", home.string()}; }
  fs::path Folder() const { return home / ".local/share/ardvane"; }
  // A newer release: the payload's files get new contents.
  void Release(const std::string& closer, const std::string& sample) const {
    WriteFile(payload / "Templates/English/Closer.ktf", closer);
    WriteFile(payload / "Sample.bvx", sample);
  }
};

// Every file below `folder` with its content and inode: a file rewritten, even with the same
// bytes, gets a new inode.
std::map<fs::path, std::pair<std::string, ino_t>> Snapshot(const fs::path& folder) {
  std::map<fs::path, std::pair<std::string, ino_t>> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    struct stat info {};
    if (entry.is_regular_file() && lstat(entry.path().c_str(), &info) == 0) {
      files[entry.path().lexically_relative(folder)] = {ReadFile(entry.path()), info.st_ino};
    }
  }
  return files;
}

TEST(ProgramFolderTest, TheFolderFollowsWhereTheProgramRunsFrom) {
  Installation installed;
  const fs::path perUser = installed.home / ".local/share/ardvane";
  // Installed: the payload is not beside the program, so each user gets a folder of their own
  // (also for root, who may write /usr/bin).
  EXPECT_EQ(ChooseProgramFolder(installed.Inputs()).folder, perUser);
  EXPECT_EQ(ChooseProgramFolder(installed.Inputs()).payload, installed.payload);

  ProgramFolderInputs xdg = installed.Inputs();
  xdg.xdgDataHome = (installed.root / "data").string();
  EXPECT_EQ(ChooseProgramFolder(xdg).folder, installed.root / "data/ardvane");
  xdg.xdgDataHome = "relative/data";  // not absolute: ignored
  EXPECT_EQ(ChooseProgramFolder(xdg).folder, perUser);

  ProgramFolderInputs given = installed.Inputs();
  given.explicitFolder = installed.root / "chosen";
  EXPECT_EQ(ChooseProgramFolder(given).folder, installed.root / "chosen");
  EXPECT_TRUE(ChooseProgramFolder(given).payload.empty());

  // A build folder: the payload lies beside the program, which may write there.
  WriteFile(installed.bin / "Params.ini", "");
  EXPECT_EQ(ChooseProgramFolder(installed.Inputs()).folder, installed.bin);
  EXPECT_TRUE(ChooseProgramFolder(installed.Inputs()).payload.empty());

  // A program copied anywhere without an installed payload keeps its own folder.
  TempFolder loose;
  EXPECT_EQ(ChooseProgramFolder({loose.path(), std::nullopt, "", installed.home.string()}).folder,
            loose.path());
}

TEST(ProgramFolderTest, SeedingCopiesWhatIsMissingAndNeverTouchesWhatIsThere) {
  Installation installed;
  const fs::path folder = installed.home / ".local/share/ardvane";
  chmod((installed.payload / "Params.ini").c_str(), 0444);

  SeedOutcome first = SeedProgramFolder(installed.payload, folder);
  ASSERT_EQ(first.status.message(), "");
  EXPECT_EQ(first.copied.size(), 3u);
  EXPECT_EQ(ReadFile(folder / "Templates/English/Closer.ktf"), "<p>Thank you.</p>");
  struct stat info {};
  ASSERT_EQ(stat((folder / "Params.ini").c_str(), &info), 0);
  EXPECT_TRUE(info.st_mode & S_IWUSR) << "the office must be able to edit its copies";

  // The adviser edits a template, deletes the sample plan and links the parameters elsewhere;
  // a newer release changes the template and adds a file.
  WriteFile(folder / "Templates/English/Closer.ktf", "<p>Our own closing words.</p>");
  fs::remove(folder / "Sample.bvx");
  fs::remove(folder / "Params.ini");
  fs::create_symlink(installed.root / "missing.ini", folder / "Params.ini");
  WriteFile(installed.payload / "Templates/English/Closer.ktf", "<p>New wording.</p>");
  fs::remove(installed.payload / "Params.ini");
  WriteFile(installed.payload / "Params.ini", "[Permissions]\nLanguage=1\n");
  fs::create_directories(installed.payload / "Help");
  WriteFile(installed.payload / "Help/Balance.txt", "help");

  SeedOutcome second = SeedProgramFolder(installed.payload, folder);
  ASSERT_EQ(second.status.message(), "");
  std::sort(second.copied.begin(), second.copied.end());
  EXPECT_EQ(second.copied, (std::vector<fs::path>{"Help/Balance.txt", "Sample.bvx"}));
  EXPECT_EQ(ReadFile(folder / "Templates/English/Closer.ktf"), "<p>Our own closing words.</p>");
  EXPECT_EQ(second.kept, (std::vector<fs::path>{"Templates/English/Closer.ktf"}));
  EXPECT_TRUE(fs::is_symlink(folder / "Params.ini"));
  EXPECT_FALSE(fs::exists(fs::symlink_status(folder / "Params.ini.new")));
  EXPECT_EQ(ReadFile(folder / "Help/Balance.txt"), "help");
  EXPECT_TRUE(SeedProgramFolder(installed.payload, folder).copied.empty());

  // Nothing but the payload's own files, the record and the one new version: no scratch files
  // are left behind.
  std::size_t files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (!entry.is_directory()) ++files;
  }
  EXPECT_EQ(files, 6u);
}

TEST(ProgramFolderTest, ANewReleaseReplacesUnchangedFilesAndOffersEditedOnesOnce) {
  Installation installed;
  const fs::path folder = installed.Folder();
  const fs::path closer = folder / "Templates/English/Closer.ktf";
  ASSERT_EQ(PrepareProgramFolder(installed.Inputs()).notice, "");
  WriteFile(closer, "<p>Our own closing words.</p>");

  installed.Release("<p>Mended wording.</p>", "<Plan version=\"2\"/>");
  const PreparedProgramFolder upgraded = PrepareProgramFolder(installed.Inputs());
  EXPECT_EQ(upgraded.warning, "");
  EXPECT_EQ(ReadFile(folder / "Sample.bvx"), "<Plan version=\"2\"/>") << "never edited: replaced";
  EXPECT_FALSE(fs::exists(folder / "Sample.bvx.new"));
  EXPECT_EQ(ReadFile(closer), "<p>Our own closing words.</p>");
  EXPECT_EQ(ReadFile(closer.string() + ".new"), "<p>Mended wording.</p>");
  EXPECT_NE(upgraded.notice.find("Templates/English/Closer.ktf"), std::string::npos)
      << upgraded.notice;
  EXPECT_EQ(upgraded.notice.find("Sample.bvx"), std::string::npos) << upgraded.notice;

  // Started again with the same payload: not a word, not a file rewritten.
  const auto before = Snapshot(folder);
  const PreparedProgramFolder again = PrepareProgramFolder(installed.Inputs());
  EXPECT_EQ(again.notice, "");
  EXPECT_EQ(again.warning, "");
  EXPECT_EQ(Snapshot(folder), before);

  // The release after that offers its own version in place of the older offer; a template the
  // adviser made read-only counts as theirs even though it was never edited.
  installed.Release("<p>Wording, third take.</p>", "<Plan version=\"3\"/>");
  chmod((folder / "Sample.bvx").c_str(), 0444);
  const PreparedProgramFolder third = PrepareProgramFolder(installed.Inputs());
  EXPECT_EQ(ReadFile(closer.string() + ".new"), "<p>Wording, third take.</p>");
  EXPECT_EQ(ReadFile(closer), "<p>Our own closing words.</p>");
  EXPECT_EQ(ReadFile(folder / "Sample.bvx"), "<Plan version=\"2\"/>");
  EXPECT_EQ(ReadFile(folder / "Sample.bvx.new"), "<Plan version=\"3\"/>");
  EXPECT_NE(third.notice.find("Sample.bvx"), std::string::npos) << third.notice;
}

TEST(ProgramFolderTest, AFolderSeededBeforeTheRecordKeepsEveryFileThatDiffers) {
  Installation installed;
  const fs::path folder = installed.Folder();
  // What an earlier release left: no record, a template that differs from this payload (its
  // own version or the adviser's, nobody can tell) and the parameters as shipped.
  fs::create_directories(folder / "Templates/English");
  WriteFile(folder / "Templates/English/Closer.ktf", "<p>Thanks.</p>");
  WriteFile(folder / "Params.ini", "[Permissions]\n");

  SeedOutcome first = SeedProgramFolder(installed.payload, folder);
  ASSERT_EQ(first.status.message(), "");
  EXPECT_EQ(first.copied, (std::vector<fs::path>{"Sample.bvx"}));
  EXPECT_EQ(first.kept, (std::vector<fs::path>{"Templates/English/Closer.ktf"}));
  EXPECT_TRUE(first.replaced.empty());
  EXPECT_EQ(ReadFile(folder / "Templates/English/Closer.ktf"), "<p>Thanks.</p>");
  EXPECT_EQ(ReadFile(folder / "Templates/English/Closer.ktf.new"), "<p>Thank you.</p>");
  EXPECT_FALSE(fs::exists(folder / "Params.ini.new"));
  EXPECT_TRUE(SeedProgramFolder(installed.payload, folder).kept.empty());

  // The parameters matched and were recorded, so the next release replaces them.
  WriteFile(installed.payload / "Params.ini", "[Permissions]\nLanguage=1\n");
  SeedOutcome next = SeedProgramFolder(installed.payload, folder);
  EXPECT_EQ(next.replaced, (std::vector<fs::path>{"Params.ini"}));
  EXPECT_EQ(ReadFile(folder / "Params.ini"), "[Permissions]\nLanguage=1\n");
}

TEST(ProgramFolderTest, ADamagedRecordLosesNoFile) {
  const auto cutInHalf = [](const std::string& text) { return text.substr(0, text.size() / 2); };
  const auto garbage = [](const std::string&) { return std::string("\0\xff\n\\q\n#\n\n", 9); };
  const auto badHashes = [](std::string text) {
    for (char& c : text) {
      if (c == 'a') c = 'A';  // a hash in capitals is not one the program wrote
    }
    return text + std::string(64, 'f') + " Sample.bvx";  // and no line break: cut short
  };
  const std::vector<std::pair<const char*, std::function<std::string(const std::string&)>>>
      damages = {{"cut in half", cutInHalf}, {"garbage", garbage}, {"bad hashes", badHashes}};
  for (const auto& [name, damage] : damages) {
    Installation installed;
    const fs::path folder = installed.Folder();
    const fs::path closer = folder / "Templates/English/Closer.ktf";
    ASSERT_EQ(SeedProgramFolder(installed.payload, folder).status.message(), "") << name;
    WriteFile(closer, "<p>Our own closing words.</p>");
    const fs::path record = folder / kSeedManifestName;
    WriteFile(record, damage(ReadFile(record)));

    installed.Release("<p>Mended wording.</p>", "<Plan version=\"2\"/>");
    const SeedOutcome seeded = SeedProgramFolder(installed.payload, folder);
    EXPECT_EQ(seeded.status.message(), "") << name;
    EXPECT_EQ(ReadFile(closer), "<p>Our own closing words.</p>") << name;
    EXPECT_EQ(ReadFile(closer.string() + ".new"), "<p>Mended wording.</p>") << name;
    // The sample plan's entry may have survived; either way no version of it is lost.
    if (fs::exists(folder / "Sample.bvx.new")) {
      EXPECT_EQ(ReadFile(folder / "Sample.bvx"), "<Plan/>") << name;
    } else {
      EXPECT_EQ(ReadFile(folder / "Sample.bvx"), "<Plan version=\"2\"/>") << name;
    }
    // The record is whole again.
    EXPECT_TRUE(SeedProgramFolder(installed.payload, folder).kept.empty()) << name;
  }
}

TEST(ProgramFolderTest, AFolderThatCannotBeMadeFallsBackToTheInstalledFilesWithAWarning) {
  Installation installed;
  // A file where the user's data folder should be: nothing can be made below it.
  WriteFile(installed.home / ".local", "not a folder");
  const PreparedProgramFolder prepared = PrepareProgramFolder(installed.Inputs());
  EXPECT_EQ(prepared.folder, installed.payload);
  EXPECT_NE(prepared.warning.find("Could not make the folder " +
                                  (installed.home / ".local/share/ardvane").string()),
            std::string::npos)
      << prepared.warning;
  EXPECT_NE(prepared.warning.find("cannot be saved"), std::string::npos);

  // A folder that was seeded once and then fails part-way keeps being used.
  fs::remove(installed.home / ".local");
  ASSERT_EQ(PrepareProgramFolder(installed.Inputs()).warning, "");
  const fs::path folder = installed.home / ".local/share/ardvane";
  EXPECT_TRUE(fs::is_directory(folder / "Reports"));
  EXPECT_TRUE(fs::is_directory(folder / "data"));
  fs::remove_all(folder / "Templates");
  WriteFile(folder / "Templates", "in the way");
  const PreparedProgramFolder partial = PrepareProgramFolder(installed.Inputs());
  EXPECT_EQ(partial.folder, folder);
  EXPECT_NE(partial.warning, "");

  ProgramFolderInputs homeless = installed.Inputs();
  homeless.home.clear();
  EXPECT_EQ(PrepareProgramFolder(homeless).folder, installed.payload);
}

}  // namespace
}  // namespace ardvane
