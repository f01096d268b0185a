#include "engine/calendar.h"

#include <gtest/gtest.h>

#include <limits>

namespace ardvane {
namespace {

TEST(CalendarTest, DayNumbersCountFromTheEndOf1899) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
  EXPECT_EQ(EncodeDate(1900, 1, 1), 2);
  EXPECT_EQ(EncodeDate(2008, 1, 15), 39462);
  EXPECT_EQ(EncodeDate(1899, 12, 29), -1);
  for (DayNumber day : {-700000, -1, 0, 1, 39462, 60000, 2958465}) {
    const CivilDate date = DecodeDate(day);
    EXPECT_EQ(EncodeDate(date.year, date.month, date.day), day) << day;
  }
  const CivilDate date = DecodeDate(39462);
  EXPECT_EQ(date.year, 2008);
  EXPECT_EQ(date.month, 1);
  EXPECT_EQ(date.day, 15);
}

TEST(CalendarTest, AddingMonthsKeepsTheDayOrTakesTheLastOne) {
  struct Case {
    CivilDate from;
    int months;
    CivilDate to;
  } cases[] = {
      {{2008, 1, 15}, 11, {2008, 12, 15}}, {{2008, 1, 31}, 1, {2008, 2, 29}},
      {{2009, 1, 31}, 1, {2009, 2, 28}},   {{2008, 2, 29}, 12, {2009, 2, 28}},
      {{2008, 3, 31}, -1, {2008, 2, 29}},  {{2008, 1, 15}, -13, {2006, 12, 15}},
      {{2008, 5, 31}, 1, {2008, 6, 30}},   {{2000, 2, 29}, 1200, {2100, 2, 28}},
      {{2008, 12, 15}, 1, {2009, 1, 15}},  {{2008, 1, 15}, 0, {2008, 1, 15}},
  };
  for (const Case& c : cases) {
    const CivilDate got =
        DecodeDate(AddMonths(EncodeDate(c.from.year, c.from.month, c.from.day), c.months));
    EXPECT_EQ(got.year, c.to.year)
        << c.from.year << "-" << c.from.month << "-" << c.from.day << " + " << c.months;
    EXPECT_EQ(got.month, c.to.month)
        << c.from.year << "-" << c.from.month << "-" << c.from.day << " + " << c.months;
    EXPECT_EQ(got.day, c.to.day) << c.from.year << "-" << c.from.month << "-" << c.from.day << " + "
                                 << c.months;
  }
  EXPECT_EQ(MonthOf(EncodeDate(2010, 3, 1)), 3);
}

TEST(CalendarTest, OnlyTheTwelveMonthsHaveDays) {
  EXPECT_EQ(DaysInMonth(2008, 2), 29);
  EXPECT_EQ(DaysInMonth(2009, 2), 28);
  EXPECT_EQ(DaysInMonth(2009, 12), 31);
  // A month read from a file can be anything.
  for (int month :
       {0, -1, -11, -12, 13, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()}) {
    EXPECT_EQ(DaysInMonth(2008, month), 0) << month;
  }
}

}  // namespace
}  // namespace ardvane

namespace ardvane {
namespace {

TEST(CalendarTest, ShortDatePatterns) {
  const DayNumber day = EncodeDate(2008, 1, 15);
  EXPECT_EQ(FormatShortDate(day, "M/d/yyyy"), "1/15/2008");
  EXPECT_EQ(FormatShortDate(day, "dd.MM.yy"), "15.01.08");
  EXPECT_EQ(FormatShortDate(EncodeDate(2009, 3, 5), "yyyy-MM-dd"), "2009-03-05");
  EXPECT_EQ(FormatShortDate(day, "d MMM"), "15 MMM");  // month names are not short-date fields
}

TEST(FormatTimeOfDayTest, PatternLettersAndQuotedText) {
  // Midnight and noon on a twelve-hour clock are in the client notes tests.
  const struct {
    LocalDateTime time;
    const char* pattern;
    const char* expected;
  } cases[] = {
      {{0, 15, 7, 9}, "h:mm:ss AP", "3:07:09 PM"},
      {{0, 9, 5, 3}, "H.m.s", "9.5.3"},
      {{0, 21, 30, 0}, "h:mm", "21:30"},  // no AM/PM field: a 24-hour clock
      {{0, 9, 5, 0}, "HH 'h' mm", "09 h 05"},
      {{0, 9, 0, 0}, "h 'o''clock'", "9 o'clock"},
      {{0, 21, 0, 0}, "H 'heures' ''", "21 heures '"},  // an "a" inside quotes is no field
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatTimeOfDay(c.time, c.pattern), c.expected) << c.pattern;
  }
}

}  // namespace
}  // namespace ardvane
