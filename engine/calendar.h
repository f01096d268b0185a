#pragma once

#include <string>
#include <string_view>

namespace ardvane {

// Calendar days are counted from 30 December 1899 (day 0), so 15 January 2008 is day 39462.
// Day 0 also stands for "no date" wherever a result can be missing (a debt never paid off).
using DayNumber = int;

struct CivilDate {
  int year = 1899;
  int month = 12;  // 1..12
  int day = 30;    // 1..31
};

DayNumber EncodeDate(int year, int month, int day);
CivilDate DecodeDate(DayNumber day);
// 28 to 31 for the months 1 to 12; 0 for any other number, which names no month.
int DaysInMonth(int year, int month);
// The same day of the month `months` calendar months later (earlier when negative), or the
// last day of the target month when it is shorter.
DayNumber AddMonths(DayNumber day, int months);
// Calendar month 1..12 of a day.
int MonthOf(DayNumber day);

// A calendar month, ordered by time.
struct YearMonth {
  int year = 0;
  int month = 0;  // 1..12
  friend auto operator<=>(const YearMonth&, const YearMonth&) = default;
};

// The calendar year and month of a day.
YearMonth YearMonthOf(DayNumber day);

}  // namespace ardvane

namespace ardvane {

// A day written with a short date pattern of the regional settings: "d" and "dd" for the
// day, "M" and "MM" for the month, "yy" and "yyyy" for the year; other characters are
// copied. For example "M/d/yyyy" gives 1/15/2008.
std::string FormatShortDate(DayNumber day, std::string_view pattern);

// A moment on the local clock, as the program's entry point reads it; tests make their own.
struct LocalDateTime {
  DayNumber day = 0;
  int hour = 0;  // 0..23
  int minute = 0;
  int second = 0;
};

// The time of day written with a time pattern of the regional settings: "h"/"hh" the hour
// (1..12 when the pattern has an AM/PM field, else 0..23), "H"/"HH" the hour 0..23, "m"/"mm",
// "s"/"ss", "AP"/"A" for AM or PM and "ap"/"a" for am or pm; text in single quotes is copied
// ("''" is a quote, inside quotes or out), as is every other character. "h:mm:ss AP" gives
// 2:30:00 PM.
std::string FormatTimeOfDay(const LocalDateTime& time, std::string_view pattern);

}  // namespace ardvane
