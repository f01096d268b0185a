#include "inputs/client_notes.h"

#include <gtest/gtest.h>

#include "tests/planfiles/test_files.h"
#include "tests/test_regional.h"
#include "settings/preferences_rules.h"

namespace ardvane {
namespace {

using testing::TempFolder;
using Lines = std::vector<std::string>;

// 15 January 2008, 2:30:00 PM.
const LocalDateTime kAfternoon{EncodeDate(2008, 1, 15), 14, 30, 0};

TEST(ClientNotesTest, TheHeadingIsTheRegionalDateAndTimeWithAColon) {
  EXPECT_EQ(NotesHeading(kAfternoon, testing::kPointRegional), "1/15/2008 2:30:00 PM:");
  EXPECT_EQ(NotesHeading(kAfternoon, testing::kCommaRegional), "15.01.2008 14:30:00:");
  // Twelve-hour clocks have no hour 0: midnight and noon are 12.
  const struct {
    LocalDateTime time;
    const char* pattern;
    const char* expected;
  } cases[] = {
      {{0, 0, 5, 9}, "h:mm:ss AP", "12:05:09 AM"},
      {{0, 12, 0, 0}, "hh:mm ap", "12:00 pm"},
      {{0, 9, 7, 3}, "HH:mm:ss", "09:07:03"},
      {{0, 23, 59, 59}, "H'h'mm", "23h59"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatTimeOfDay(c.time, c.pattern), c.expected) << c.pattern;
  }
}

TEST(ClientNotesTest, EachOpeningStartsANewEntryBelowTheNotes) {
  const std::string heading = "1/15/2008 2:30:00 PM:";
  // The heading is followed by an empty line to type on, so typing never runs on after the
  // colon. No notes: the heading alone.
  EXPECT_EQ(NotesForEditing({}, heading), (Lines{heading, ""}));
  // Notes ending in text get one blank separator line.
  EXPECT_EQ(NotesForEditing({"Called the bank."}, heading),
            (Lines{"Called the bank.", "", heading, ""}));
  // Notes already ending in a blank (or blanks-only) line get none.
  EXPECT_EQ(NotesForEditing({"Called.", ""}, heading), (Lines{"Called.", "", heading, ""}));
  EXPECT_EQ(NotesForEditing({"Called.", "  \t"}, heading),
            (Lines{"Called.", "  \t", heading, ""}));
}

TEST(ClientNotesTest, TextSplitsAtEveryKindOfLineBreak) {
  EXPECT_EQ(SplitNoteLines(""), Lines{});
  EXPECT_EQ(SplitNoteLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
  // A break at the end adds no line; two do.
  EXPECT_EQ(SplitNoteLines("a\n"), Lines{"a"});
  EXPECT_EQ(SplitNoteLines("a\n\n"), (Lines{"a", ""}));
  EXPECT_EQ(SplitNoteLines("\n"), Lines{""});
  // The editor's paragraph and line separators; other characters stay as they are.
  EXPECT_EQ(SplitNoteLines("Peña \"x\"\xE2\x80\xA9żółw\xE2\x80\xA8\xC2\xA0"),
            (Lines{"Peña \"x\"", "żółw", "\xC2\xA0"}));
}

TEST(ClientNotesTest, TheNotesFileIsNamedAfterTheClientAndPlanDate) {
  PlanDocument plan;
  plan.FirstName = "Zuzu";
  plan.LastName = "Zeved";
  plan.Date = EncodeDate(2008, 1, 15);
  EXPECT_EQ(NotesFileName(plan, testing::kPointRegional), "Zeved, Zuzu notes 1.15.2008.rtf");
  plan.LastName = "Smith/Jones";
  EXPECT_EQ(NotesFileName(plan, testing::kPointRegional), "Smith.Jones, Zuzu notes 1.15.2008.rtf");
  // A missing name is left out with its separator, never leaving a leading ", ".
  const struct {
    const char* last;
    const char* first;
    const char* expected;
  } partial[] = {
      {"", "", "notes 1.15.2008.rtf"},
      {" ", "\t", "notes 1.15.2008.rtf"},
      {"Zeved", "", "Zeved notes 1.15.2008.rtf"},
      {"", "Zuzu", "Zuzu notes 1.15.2008.rtf"},
  };
  for (const auto& c : partial) {
    plan.LastName = c.last;
    plan.FirstName = c.first;
    EXPECT_EQ(NotesFileName(plan, testing::kPointRegional), c.expected)
        << '"' << c.last << "\", \"" << c.first << '"';
  }
  EXPECT_EQ(ReportFilePath("/r/", "n.rtf"), std::filesystem::path("/r/n.rtf"));
  EXPECT_EQ(ReportFilePath("/r", "n.rtf"), std::filesystem::path("/r/n.rtf"));
}

TEST(ClientNotesTest, TheNotesFileIsUtf8WithCrLfAndAFailureKeepsTheOldFile) {
  TempFolder folder;
  const auto path = folder / "n.rtf";
  std::string error;
  ASSERT_TRUE(WriteNotesFile(path, {"Peña \"quoted\"", "", "żółw"}, &error)) << error;
  EXPECT_EQ(testing::ReadFile(path), "Peña \"quoted\"\r\n\r\nżółw\r\n");

  const auto missing = folder / "no such folder" / "n.rtf";
  EXPECT_FALSE(WriteNotesFile(missing, {"x"}, &error));
  EXPECT_NE(error.find(missing.string()), std::string::npos) << error;
}

TEST(PreferencesRulesTest, TheReportFolderEndsInOneSlash) {
  const std::filesystem::path program = "/opt/ardvane";
  const struct {
    const char* text;
    const char* expected;
  } cases[] = {
      {"/home/a/Reports", "/home/a/Reports/"},
      {"/home/a/Reports/", "/home/a/Reports/"},
      {"  /home/a/Reports  ", "/home/a/Reports/"},
      {"/home/a/Reports/ ", "/home/a/Reports/"},
      {"", "/opt/ardvane/Reports/"},
      {"   ", "/opt/ardvane/Reports/"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReportFolderSetting(c.text, program), c.expected) << '"' << c.text << '"';
  }
  EXPECT_EQ(ReportFolderSetting("", "/opt/ardvane/"), "/opt/ardvane/Reports/");
}

}  // namespace
}  // namespace ardvane
