#include "engine/calendar.h"

namespace ardvane {
namespace {

// Days from 1 January 1970 of a proleptic Gregorian date, and back (H. Hinnant's algorithms).
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

CivilDate CivilFromDays(long long z) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long y = static_cast<long long>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  return CivilDate{static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

// 30 December 1899 counted from 1 January 1970.
constexpr long long kEpochOffset = -25569;

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

}  // namespace

DayNumber EncodeDate(int year, int month, int day) {
  return static_cast<DayNumber>(
      DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kEpochOffset);
}

CivilDate DecodeDate(DayNumber day) {
  return CivilFromDays(static_cast<long long>(day) + kEpochOffset);
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  if (month == 2 && IsLeapYear(year)) return 29;
  return kDays[month - 1];
}

DayNumber AddMonths(DayNumber day, int months) {
  const CivilDate date = DecodeDate(day);
  const long long index = static_cast<long long>(date.year) * 12 + (date.month - 1) + months;
  const long long year = index >= 0 ? index / 12 : (index - 11) / 12;
  const int month = static_cast<int>(index - year * 12) + 1;
  const int lastDay = DaysInMonth(static_cast<int>(year), month);
  return EncodeDate(static_cast<int>(year), month, date.day < lastDay ? date.day : lastDay);
}

int MonthOf(DayNumber day) { return DecodeDate(day).month; }

YearMonth YearMonthOf(DayNumber day) {
  const CivilDate date = DecodeDate(day);
  return {date.year, date.month};
}

}  // namespace ardvane

namespace ardvane {

std::string FormatShortDate(DayNumber day, std::string_view pattern) {
  const CivilDate date = DecodeDate(day);
  std::string out;
  size_t i = 0;
  while (i < pattern.size()) {
    const char c = pattern[i];
    size_t run = 1;
    while (i + run < pattern.size() && pattern[i + run] == c) ++run;
    const auto padded = [](int value, size_t width) {
      std::string text = std::to_string(value);
      return text.size() < width ? std::string(width - text.size(), '0') + text : text;
    };
    if (c == 'd' && run <= 2) {
      out += padded(date.day, run);
    } else if (c == 'M' && run <= 2) {
      out += padded(date.month, run);
    } else if (c == 'y' && (run == 2 || run == 4)) {
      out += run == 2 ? padded(date.year % 100, 2) : padded(date.year, 4);
    } else {
      out.append(pattern.substr(i, run));
    }
    i += run;
  }
  return out;
}

namespace {

std::string Padded(int value, std::size_t width) {
  std::string text = std::to_string(value);
  return text.size() < width ? std::string(width - text.size(), '0') + text : text;
}

}  // namespace

std::string FormatTimeOfDay(const LocalDateTime& time, std::string_view pattern) {
  const int hour = time.hour;
  // Quoted text is copied ("''" is a quote, inside quotes or out), so only letters outside
  // quotes are fields; an AM/PM field anywhere makes "h" a 12-hour clock.
  bool twelveHour = false;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '\'') {
      const std::size_t close = pattern.find('\'', i + 1);
      if (close == std::string_view::npos) break;
      i = close;
    } else if (pattern[i] == 'A' || pattern[i] == 'a') {
      twelveHour = true;
    }
  }
  std::string out;
  std::size_t i = 0;
  while (i < pattern.size()) {
    const char c = pattern[i];
    if (c == '\'' && i + 1 < pattern.size() && pattern[i + 1] == '\'') {
      out += '\'';
      i += 2;
      continue;
    }
    if (c == '\'') {
      for (++i; i < pattern.size(); ++i) {
        if (pattern[i] != '\'') {
          out += pattern[i];
        } else if (i + 1 < pattern.size() && pattern[i + 1] == '\'') {
          out += '\'';
          ++i;
        } else {
          break;
        }
      }
      ++i;  // past the closing quote
      continue;
    }
    std::size_t run = 1;
    while (i + run < pattern.size() && pattern[i + run] == c) ++run;
    if (c == 'h' && run <= 2) {
      const int shown = twelveHour ? (hour % 12 == 0 ? 12 : hour % 12) : hour;
      out += Padded(shown, run);
    } else if (c == 'H' && run <= 2) {
      out += Padded(hour, run);
    } else if (c == 'm' && run <= 2) {
      out += Padded(time.minute, run);
    } else if (c == 's' && run <= 2) {
      out += Padded(time.second, run);
    } else if (c == 'A' || c == 'a') {
      // "AP", "A", "ap" and "a" all name the marker; the letter's case gives its case.
      const bool pm = hour >= 12;
      out += c == 'A' ? (pm ? "PM" : "AM") : (pm ? "pm" : "am");
      run = (i + 1 < pattern.size() && (pattern[i + 1] == 'P' || pattern[i + 1] == 'p')) ? 2 : 1;
    } else {
      out.append(pattern.substr(i, run));
    }
    i += run;
  }
  return out;
}

}  // namespace ardvane
