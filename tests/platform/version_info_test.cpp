#include "platform/version_info.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/planfiles/test_files.h"

namespace ardvane {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

const std::string kSelf = std::filesystem::read_symlink("/proc/self/exe").string();

TEST(VersionInfoTest, ReadsTheStampOfAProgramFile) {
  const tFileVersionInformation info(kSelf);  // stamped by version_stamp_for_test.cpp
  EXPECT_EQ(info.GetVersionValue("FileVersion"), "9.8.7.6");
  EXPECT_EQ(info.GetVersionValue("ProductName"), "Ardvane test");
  EXPECT_EQ(info.GetVersionValue("CompanyName"), "");  // not in the table
  EXPECT_EQ(info.GetVersionValue("Version"), "");      // no partial match
}

TEST(VersionInfoTest, FilesWithoutAStampAndNoFile) {
  TempFolder folder;
  EXPECT_EQ(tFileVersionInformation().GetVersionValue("FileVersion"), "<no file>");
  EXPECT_EQ(tFileVersionInformation(kSelf + ".missing").GetVersionValue("FileVersion"),
            "<no ver info>");
  WriteFile(folder / "text.exe", "FileVersion 1.0");
  EXPECT_EQ(tFileVersionInformation((folder / "text.exe").string()).GetVersionValue("FileVersion"),
            "<no ver info>");

  // The same program with its section renamed: a program file without a version resource.
  std::string program = ReadFile(kSelf);
  std::size_t name = program.find(ARDVANE_VERSION_SECTION);
  ASSERT_NE(name, std::string::npos);
  for (; name != std::string::npos; name = program.find(ARDVANE_VERSION_SECTION, name)) {
    program[name + 1] = 'X';
  }
  WriteFile(folder / "unstamped", program);
  EXPECT_EQ(tFileVersionInformation((folder / "unstamped").string()).GetVersionValue("FileVersion"),
            "<no ver info>");
}

TEST(VersionInfoTest, DamagedProgramFilesGiveNoVersion) {
  TempFolder folder;
  const std::string program = ReadFile(kSelf);
  // Cut off before the section table, and with the table's offset pointing past the end.
  for (const std::size_t size : {std::size_t{10}, std::size_t{64}, program.size() / 2}) {
    WriteFile(folder / "cut", program.substr(0, size));
    EXPECT_EQ(tFileVersionInformation((folder / "cut").string()).GetVersionValue("FileVersion"),
              "<no ver info>")
        << size;
  }
  std::string wild = program;
  for (int i = 0; i < 8; ++i) wild[0x28 + i] = '\xff';  // e_shoff of a 64-bit header
  WriteFile(folder / "wild", wild);
  EXPECT_EQ(tFileVersionInformation((folder / "wild").string()).GetVersionValue("FileVersion"),
            "<no ver info>");
}

}  // namespace
}  // namespace ardvane
