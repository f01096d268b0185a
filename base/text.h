#pragma once

#include <string>
#include <string_view>

namespace ardvane {

// The blanks of a typed value: space and tab.
inline constexpr std::string_view kBlanks = " \t";
// White space as the C locale's isspace has it.
inline constexpr std::string_view kWhiteSpace = " \t\n\v\f\r";

// `text` without the characters of `blanks` at either end.
std::string_view Trim(std::string_view text, std::string_view blanks = kBlanks);
// Whether `text` holds nothing but characters of `blanks`.
bool IsBlank(std::string_view text, std::string_view blanks = kBlanks);

// ASCII letters in lower case; every other byte as it is.
constexpr char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
std::string AsciiLower(std::string_view text);

// `text` with every `from` replaced by `to`.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

// Every double quote becomes "&quot;", and back.
std::string EncodeQuotes(std::string_view text);
std::string DecodeQuotes(std::string_view text);

}  // namespace ardvane
