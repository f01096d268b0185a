#pragma once

#include <string>
#include <string_view>

namespace ardvane {

// Text in this system is single-byte Windows-1252. These helpers bring Unicode into it.

// The byte whose Windows-1252 character is the code point `code`, or -1 when the code page
// has no such character. The five unassigned bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D stand
// for the code points of the same value.
int Windows1252ByteOf(char32_t code);

// The byte that replaces a character the code page cannot show: 191, the inverted
// question mark.
inline constexpr char kReplacementByte = static_cast<char>(191);

// UTF-8 to Windows-1252. Bytes below 128 are copied. Well-formed two- and three-byte
// sequences become the byte of their character, or the replacement byte when the code
// page lacks it. Everything else becomes one replacement byte per sequence: a longer
// sequence, a lead byte without its continuation bytes (the scan then resumes at the first
// byte that is not a continuation byte, so following text is never swallowed), a stray
// continuation byte, and an over-long form (which could otherwise smuggle in a zero byte).
std::string DecodeUtf8(std::string_view text);

}  // namespace ardvane
