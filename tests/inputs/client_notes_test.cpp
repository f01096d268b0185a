#include "inputs/client_notes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>

#include "base/utf8.h"
#include "settings/preferences_rules.h"
#include "tests/planfiles/test_files.h"
#include "tests/test_regional.h"

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
}

// RTF as a reader takes it: the groups opened (each by the control word that starts it), the
// control words of the body, and the body's text with \par as a line end, \tab as a tab and
// \uN? as its character.
struct RtfReading {
  std::vector<std::string> groups;
  std::set<std::string> bodyWords;
  std::string text;
  bool balanced = true;  // no "}" without its "{", all closed, nothing after the last "}"
};

RtfReading ReadRtf(const std::string& rtf) {
  RtfReading reading;
  int depth = 0;
  char32_t highSurrogate = 0;
  for (std::size_t i = 0; i < rtf.size(); ++i) {
    const char c = rtf[i];
    if (depth == 0 && c != '{' && c != '\r' && c != '\n') reading.balanced = false;
    if (c == '{') {
      if (depth == 0 && !reading.groups.empty()) reading.balanced = false;
      ++depth;
      std::size_t end = i + 2;
      while (end < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[end]))) ++end;
      while (end < rtf.size() && std::isdigit(static_cast<unsigned char>(rtf[end]))) ++end;
      reading.groups.push_back(rtf[i + 1] == '\\' ? rtf.substr(i + 2, end - i - 2) : "");
    } else if (c == '}') {
      if (--depth < 0) reading.balanced = false;
    } else if (c == '\\' && i + 1 < rtf.size() &&
               !std::isalpha(static_cast<unsigned char>(rtf[i + 1]))) {
      if (depth == 1) reading.text += rtf[i + 1];
      ++i;
    } else if (c == '\\') {
      std::size_t end = i + 1;
      while (end < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[end]))) ++end;
      const std::string word = rtf.substr(i + 1, end - i - 1);
      std::size_t digits = end;
      if (digits < rtf.size() && rtf[digits] == '-') ++digits;
      while (digits < rtf.size() && std::isdigit(static_cast<unsigned char>(rtf[digits]))) ++digits;
      const int number = digits > end ? std::stoi(rtf.substr(end, digits - end)) : 0;
      i = digits < rtf.size() && rtf[digits] == ' ' ? digits : digits - 1;
      if (depth != 1) continue;
      reading.bodyWords.insert(word);
      if (word == "par") reading.text += '\n';
      if (word == "tab") reading.text += '\t';
      if (word == "u") {
        ++i;  // the stand-in character after \uN
        const char32_t unit = static_cast<char32_t>(number < 0 ? number + 0x10000 : number);
        if (unit >= 0xD800 && unit <= 0xDBFF) {
          highSurrogate = unit;
        } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
          AppendUtf8(reading.text, 0x10000 + ((highSurrogate - 0xD800) << 10) + (unit - 0xDC00));
        } else {
          AppendUtf8(reading.text, unit);
        }
      }
    } else if (depth == 1 && c != '\r' && c != '\n') {
      reading.text += c;
    }
  }
  if (depth != 0) reading.balanced = false;
  return reading;
}

TEST(ClientNotesTest, NotesThatAreRtfThemselvesStayTextInTheProgramsOwnDocument) {
  const Lines notes = {
      "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\b Heading\\b0\\par",
      "{\\field{\\*\\fldinst HYPERLINK \"http://evil.example/\"}{\\fldrslt click}}}}}",
      "Peña paid 12\xE2\x82\xAC \xF0\x9F\x98\x80 \\u-3? \xEF\xBF\xBD{{",
      "\tindented",
      "",
      " 5 left",
  };
  const RtfReading reading = ReadRtf(NotesRtf(notes));
  EXPECT_TRUE(reading.balanced);
  EXPECT_EQ(reading.groups, (Lines{"rtf1", "fonttbl", "f0"}));
  EXPECT_EQ(reading.bodyWords, (std::set<std::string>{"rtf", "ansi", "ansicpg", "deff", "uc", "f",
                                                      "fs", "par", "tab", "u"}));
  std::string expected;
  for (const std::string& line : notes) expected += line + "\n";
  EXPECT_EQ(reading.text, expected);
  // Only ASCII goes into the file, whatever the notes hold.
  const std::string rtf = NotesRtf({"\xFF\xC3(\x01\x7F\xC2\x85}\\"});
  EXPECT_TRUE(std::all_of(rtf.begin(), rtf.end(),
                          [](char c) { return static_cast<unsigned char>(c) < 0x80; }));
  EXPECT_EQ(RtfText("\xFF\xC3(\x01\x7F\xC2\x85}\\"), "\\u-3?\\u-3?(\\}\\\\");
  EXPECT_TRUE(ReadRtf(rtf).balanced);
}

TEST(ClientNotesTest, TheNotesFileIsTheRtfAndAFailureKeepsTheOldFile) {
  TempFolder folder;
  const auto path = folder / "n.rtf";
  ASSERT_TRUE(WriteNotesFile(path, {"Peña \"quoted\"", "", "żółw"}).ok());
  EXPECT_EQ(testing::ReadFile(path), NotesRtf({"Peña \"quoted\"", "", "żółw"}));

  const auto missing = folder / "no such folder" / "n.rtf";
  const Status failed = WriteNotesFile(missing, {"x"});
  EXPECT_FALSE(failed.ok());
  EXPECT_NE(failed.message().find(missing.string()), std::string::npos) << failed.message();
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
