#include "planfiles/code_page.h"

#include <array>
#include <cstddef>
#include <optional>

#include "base/utf8.h"

namespace ardvane {
namespace {

// The code points of Windows-1252 bytes 0x80 to 0x9F; every other byte is its own code point.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

std::string FileTextToUtf8(std::string_view bytes, bool saysUtf8) {
  if (IsValidUtf8(bytes)) return std::string(bytes);
  std::string out;
  out.reserve(bytes.size() * 2);
  if (saysUtf8) {
    for (std::size_t i = 0; i < bytes.size();) {
      if (const std::optional<Utf8Character> character = DecodeUtf8(bytes, i)) {
        out.append(bytes, i, character->length);
        i += character->length;
        continue;
      }
      // One replacement for the damaged sequence: its first byte and the continuation bytes
      // that follow it, but never a byte that could start something else.
      AppendUtf8(out, kReplacementCharacter);
      ++i;
      for (int k = 1;
           k < 4 && i < bytes.size() && IsUtf8Continuation(static_cast<unsigned char>(bytes[i])); ++k) {
        ++i;
      }
    }
    return out;
  }
  for (const char ch : bytes) {
    const unsigned char byte = static_cast<unsigned char>(ch);
    AppendUtf8(out, byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : char32_t{byte});
  }
  return out;
}

}  // namespace ardvane
