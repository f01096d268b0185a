#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ardvane {

// Text in this program is UTF-8. The bytes of a file are taken as UTF-8 when they are valid
// UTF-8 or the file says it is UTF-8, and as Windows-1252 otherwise: the code page of the
// files older releases wrote. Every reader turns a file's bytes into text once, as they come
// in, with FileTextToUtf8; nothing after that converts again.

bool IsValidUtf8(std::string_view bytes);

// The length of the well-formed UTF-8 sequence that starts at `text[i]`, or 0 when the byte
// there starts none (a stray continuation byte, a sequence cut short, an over-long form, a
// surrogate, a code point above U+10FFFF).
std::size_t Utf8SequenceAt(std::string_view text, std::size_t i);

// The text of a file's bytes by the rule above; `saysUtf8` is whether the file declares
// itself UTF-8. Bytes that say UTF-8 but are not valid keep every well-formed sequence, and
// each ill-formed one (a stray or missing continuation byte, an over-long form, a surrogate)
// becomes U+FFFD. Windows-1252 bytes become their characters; the five bytes the code page
// leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the code points of the same value.
std::string FileTextToUtf8(std::string_view bytes, bool saysUtf8);

// Appends the UTF-8 form of `code`, a code point up to U+10FFFF.
void AppendUtf8(std::string& out, char32_t code);

}  // namespace ardvane
