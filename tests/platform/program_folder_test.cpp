#include "platform/program_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>

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
};

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
  ASSERT_EQ(first.problem, "");
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
  fs::create_directories(installed.payload / "Help");
  WriteFile(installed.payload / "Help/Balance.txt", "help");

  SeedOutcome second = SeedProgramFolder(installed.payload, folder);
  ASSERT_EQ(second.problem, "");
  std::sort(second.copied.begin(), second.copied.end());
  EXPECT_EQ(second.copied, (std::vector<fs::path>{"Help/Balance.txt", "Sample.bvx"}));
  EXPECT_EQ(ReadFile(folder / "Templates/English/Closer.ktf"), "<p>Our own closing words.</p>");
  EXPECT_TRUE(fs::is_symlink(folder / "Params.ini"));
  EXPECT_EQ(ReadFile(folder / "Help/Balance.txt"), "help");
  EXPECT_TRUE(SeedProgramFolder(installed.payload, folder).copied.empty());

  // Nothing but the payload's own files: no scratch files are left behind.
  std::size_t files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (!entry.is_directory()) ++files;
  }
  EXPECT_EQ(files, 4u);
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
