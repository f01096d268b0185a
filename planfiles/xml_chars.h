#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace ardvane {

// The display name of an enumerator from its table of names; empty for a value beyond it.
template <typename Enum, std::size_t N>
std::string_view NameOf(const std::array<std::string_view, N>& names, Enum value) {
  const auto index = static_cast<std::size_t>(value);
  return index < N ? names[index] : std::string_view();
}

// The character classes the XML scanner cuts with, byte by byte over UTF-8 text (a byte of
// 192 or more that may start a name is the lead byte of a letter beyond ASCII).

inline constexpr std::string_view kXmlWhiteSpace = " \t\n\r";
inline bool IsXmlWhitespace(char c) { return c == '\t' || c == '\n' || c == '\r' || c == ' '; }

inline bool IsAttrNameStart(char c) {
  const auto b = static_cast<unsigned char>(c);
  return b == ':' || (b >= 'A' && b <= 'Z') || b == '_' || (b >= 'a' && b <= 'z') ||
         (b >= 192 && b <= 214) || (b >= 216 && b <= 246) || b >= 248;
}

inline bool IsAttrNameEnd(char c) {
  return IsXmlWhitespace(c) || c == '/' || c == '=' || c == '>' || c == '\0';
}

inline bool IsTagNameEnd(char c) { return IsXmlWhitespace(c) || c == '/' || c == '>' || c == '\0'; }

inline bool IsPiTargetEnd(char c) {
  return IsXmlWhitespace(c) || c == '>' || c == '?' || c == '\0';
}

}  // namespace ardvane
