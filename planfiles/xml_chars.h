#pragma once

namespace ardvane {

// The character classes the XML scanner cuts with. Bytes are Windows-1252.

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
