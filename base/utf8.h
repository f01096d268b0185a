#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace ardvane {

// Text in this program is UTF-8; these are its one reader and writer.

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// Whether `byte` continues a UTF-8 sequence rather than starting one.
constexpr bool IsUtf8Continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// One character of UTF-8 text: its code point and the bytes it takes.
struct Utf8Character {
  char32_t code = 0;
  std::size_t length = 0;
};

// The character of the well-formed sequence at `text[at]`; nothing for a byte that starts
// none (a continuation byte, a sequence cut short, an over-long form, a surrogate, a value
// beyond U+10FFFF). `at` must lie inside `text`.
std::optional<Utf8Character> DecodeUtf8(std::string_view text, std::size_t at);

// The character at `*at`, moving `*at` past it; a byte that starts no well-formed sequence
// gives kReplacementCharacter and moves past that byte alone.
char32_t NextUtf8Character(std::string_view text, std::size_t* at);

bool IsValidUtf8(std::string_view bytes);

// The first `characters` characters of `text` (all of it when it has no more), never ending
// inside a character; an ill-formed byte counts as one character.
std::string_view Utf8Prefix(std::string_view text, std::size_t characters);

// Appends the UTF-8 form of `code`, a code point up to U+10FFFF.
void AppendUtf8(std::string& out, char32_t code);

}  // namespace ardvane
