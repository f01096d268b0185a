#pragma once

#include <string>

namespace ardvane {

// "st", "nd", "rd" or "th" for n, judged on its decimal text.
std::string GetOrdinalSuffix(long long n);
// Month names, month 1..12; language 0 English, 1 Spanish; empty text otherwise.
std::string GetMonthName(int month, int language);
std::string GetShortMonthName(int month, int language);

}  // namespace ardvane
