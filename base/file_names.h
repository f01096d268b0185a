#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ardvane {

// The longest file name, in bytes, that Linux, Windows and macOS file systems all take.
inline constexpr std::size_t kMaxFileNameBytes = 255;

// The length in bytes of the control character (C0, DEL, or a C1 control in UTF-8) at
// `text[at]`; 0 when there is none.
std::size_t ControlCharacterLength(std::string_view text, std::size_t at);

// A file name made from `stem` (text from a plan: names, a date) and `extension` (".doc",
// ".rtf") that every desktop system can hold and that stays in its folder:
// - "/" becomes "." (the date's separator);
// - `\ : * ? " < > |` become "_";
// - control characters (C0, DEL and C1) become a blank, so no name can hold a line break or a
//   tab;
// - dots at the start become "_", so the file is neither hidden nor "." or "..";
// - blanks and dots at the very end become "_" (only when `extension` is empty);
// - the stem is cut to keep the whole name within kMaxFileNameBytes, never inside a UTF-8
//   character.
std::string SafeFileName(std::string_view stem, std::string_view extension);

}  // namespace ardvane
