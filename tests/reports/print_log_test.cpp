#include "reports/print_log.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "tests/planfiles/test_files.h"
#include "tests/test_regional.h"

namespace ardvane {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

const DayNumber k15Jan2008 = EncodeDate(2008, 1, 15);

TEST(PrintLogTest, TheFirstPrintWritesTheHeaderAndLaterPrintsAppendLines) {
  TempFolder folder;
  const Status logged =
      LogPrint(folder.path(), "/data/Reports/Smith, John 1.15.2008 English.doc",
               DesktopOpenResult::kOpened, {k15Jan2008, 15, 7, 9}, testing::kPointRegional);
  ASSERT_TRUE(logged.ok()) << logged.message();
  EXPECT_EQ(ReadFile(folder / "PrintLog.kdf"),
            "Date/Time\tPath\tFile Name\tResult\r\n"
            "1/15/2008 3:07:09 PM\t/data/Reports/\tSmith, John 1.15.2008 English.doc\t42\r\n");

  // A failed open is logged with its code; a print at exactly midnight shows the date alone.
  ASSERT_TRUE(LogPrint(folder.path(), "/data/Reports/b.doc", DesktopOpenResult::kFailed,
                       {k15Jan2008 + 1, 0, 0, 0}, testing::kCommaRegional)
                  .ok());
  EXPECT_EQ(ReadFile(folder / "PrintLog.kdf"),
            "Date/Time\tPath\tFile Name\tResult\r\n"
            "1/15/2008 3:07:09 PM\t/data/Reports/\tSmith, John 1.15.2008 English.doc\t42\r\n"
            "16.01.2008\t/data/Reports/\tb.doc\t2\r\n");
}

TEST(PrintLogTest, NoNameOrFolderCanStartALineOrAField) {
  TempFolder folder;
  // The last name of a plan as it once reached the report's file name, and a hand-edited
  // report folder with a tab and a line break.
  const std::string forged =
      "/data/Re\tports\n/Smith\r\n1.1.2008 9:00:00 AM\tC:\\r\\\tOther, Client 1.1.2008.doc\t42"
      "\r\nX\xC2\x85, John 1.15.2008.doc";
  ASSERT_TRUE(LogPrint(folder.path(), forged, DesktopOpenResult::kOpened, {k15Jan2008, 15, 7, 9},
                       testing::kPointRegional)
                  .ok());
  EXPECT_EQ(
      ReadFile(folder / "PrintLog.kdf"),
      "Date/Time\tPath\tFile Name\tResult\r\n"
      "1/15/2008 3:07:09 PM\t/data/Re ports /\t"
      "Smith  1.1.2008 9:00:00 AM C:\\r\\ Other, Client 1.1.2008.doc 42  X , John 1.15.2008.doc"
      "\t42\r\n");
}

TEST(PrintLogTest, AHandEditedLogKeepsEveryByteAndGetsNoNewHeader) {
  TempFolder folder;
  // The header removed by hand, the last line left without its line end.
  const std::string old = "1/1/2008\t/old/\ta.doc\t42\r\nnote typed by hand";
  WriteFile(folder / "PrintLog.kdf", old);
  ASSERT_TRUE(LogPrint(folder.path(), "/r/x.doc", DesktopOpenResult::kOpened, {k15Jan2008, 0, 0, 1},
                       testing::kPointRegional)
                  .ok());
  EXPECT_EQ(ReadFile(folder / "PrintLog.kdf"),
            old + "\r\n1/15/2008 12:00:01 AM\t/r/\tx.doc\t42\r\n");
}

TEST(PrintLogTest, AFailureIsReportedAndLeavesNothingBehind) {
  TempFolder folder;
  // No program folder: nothing is made.
  const Status noFolder = LogPrint(folder / "missing", "/r/x.doc", DesktopOpenResult::kOpened,
                                   {k15Jan2008, 1, 0, 0}, testing::kPointRegional);
  EXPECT_EQ(noFolder.message(),
            "\"" + (folder / "missing" / "PrintLog.kdf").string() + "\": " + std::strerror(ENOENT));
  EXPECT_FALSE(std::filesystem::exists(folder / "missing"));

  // Something other than a file in its place stays as it is.
  std::filesystem::create_directory(folder / "PrintLog.kdf");
  const Status notAFile = LogPrint(folder.path(), "/r/x.doc", DesktopOpenResult::kOpened,
                                   {k15Jan2008, 1, 0, 0}, testing::kPointRegional);
  EXPECT_EQ(notAFile.code(), Status::Code::kIoError);
  EXPECT_EQ(notAFile.message(),
            "\"" + (folder / "PrintLog.kdf").string() + "\": " + std::strerror(EISDIR));
  EXPECT_TRUE(std::filesystem::is_directory(folder / "PrintLog.kdf"));
}

}  // namespace
}  // namespace ardvane
