#pragma once

#include <string>

#include "engine/language.h"

namespace ardvane {

// "st", "nd", "rd" or "th" for n, judged on its decimal text.
std::string GetOrdinalSuffix(long long n);
// Month names, month 1..12 (empty text otherwise), in `language`.
std::string GetMonthName(int month, Language language);
std::string GetShortMonthName(int month, Language language);

}  // namespace ardvane
