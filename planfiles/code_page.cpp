#include "planfiles/code_page.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace ardvane {
namespace {

// The code points of bytes 0x80 to 0x9F; every other byte is its own code point.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

int LeadingOnes(unsigned char byte) {
  int count = 0;
  while (count < 8 && (byte & (0x80 >> count)) != 0) ++count;
  return count;
}

char ByteOrReplacement(char32_t code) {
  const int byte = Windows1252ByteOf(code);
  return byte < 0 ? kReplacementByte : static_cast<char>(byte);
}

}  // namespace

int Windows1252ByteOf(char32_t code) {
  if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return static_cast<int>(code);
  for (std::size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] == code) return static_cast<int>(0x80 + i);
  }
  return -1;
}

std::string DecodeUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  const std::size_t n = text.size();
  auto at = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  std::size_t i = 0;
  while (i < n) {
    const unsigned char lead = at(i);
    if (lead < 0x80) {
      out += static_cast<char>(lead);
      ++i;
      continue;
    }
    if ((lead & 0xE0) == 0xC0 && i + 1 < n && IsContinuation(at(i + 1))) {
      const char32_t code = (char32_t{lead & 0x1Fu} << 6) | (at(i + 1) & 0x3Fu);
      out += code >= 0x80 ? ByteOrReplacement(code) : kReplacementByte;
      i += 2;
      continue;
    }
    if ((lead & 0xF0) == 0xE0 && i + 2 < n && IsContinuation(at(i + 1)) &&
        IsContinuation(at(i + 2))) {
      const char32_t code =
          (char32_t{lead & 0x0Fu} << 12) | (char32_t{at(i + 1) & 0x3Fu} << 6) | (at(i + 2) & 0x3Fu);
      out += code >= 0x800 ? ByteOrReplacement(code) : kReplacementByte;
      i += 3;
      continue;
    }
    // A sequence we do not decode: skip the lead byte and the continuation bytes it
    // announces, but no byte that could start something else.
    out += kReplacementByte;
    const int announced = lead >= 0xC0 ? LeadingOnes(lead) : 1;
    ++i;
    for (int k = 1; k < announced && i < n && IsContinuation(at(i)); ++k) ++i;
  }
  return out;
}

}  // namespace ardvane
