#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ardvane {

// Strict number parse: optional blanks around, an optional sign, digits with at most one
// decimal separator (the given one) and an optional exponent ("E"/"e", optional sign,
// digits). At least one digit must precede or follow the separator. Anything else (a
// currency sign, a thousands separator, "%", letters) fails, and so does a value too large
// for a double.
std::optional<double> ParseStrictFloat(std::string_view text, std::string_view decimalSeparator);
// Strict integer parse: optional blanks around, an optional sign and decimal digits that fit
// an int.
std::optional<int> ParseStrictInt(std::string_view text);

// 0 for empty or blank text, else the strict parse, 0 when that fails.
double StrToFloatSafe(std::string_view text, std::string_view decimalSeparator);
// 0 for empty or blank text (the default is not used then), else the strict parse,
// `fallback` when that fails.
double StrToFloatDefault(std::string_view text, double fallback, std::string_view decimalSeparator);
// 0 for empty or blank text, else the strict integer parse, `fallback` when that fails.
int StrToIntDefault(std::string_view text, int fallback);

// General number text: at most 15 significant digits, no trailing zeros, no thousands
// separator, the given decimal separator; exponent form ("1E-5", "1.5E20") only for
// magnitudes below 0.0001 or with 16 or more integer digits. Non-finite values give "0".
std::string FormatGeneral(double value, std::string_view decimalSeparator);

}  // namespace ardvane
