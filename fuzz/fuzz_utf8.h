// A strict UTF-8 reader for the fuzz targets' checks, written apart from the program's own so
// that the two can disagree.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace fuzzcheck {

// The code point at `text[at]` and its length in `*length`; -1 (length 1) for a byte that
// starts no well-formed sequence (Unicode's table 3-7).
inline long ReadCodePoint(std::string_view text, std::size_t at, std::size_t* length) {
  const auto b = [&](std::size_t k) { return static_cast<unsigned char>(text[at + k]); };
  const std::size_t left = text.size() - at;
  *length = 1;
  const unsigned char lead = b(0);
  if (lead < 0x80) return lead;
  const auto tail = [&](std::size_t k, unsigned char lo, unsigned char hi) {
    return k < left && b(k) >= lo && b(k) <= hi;
  };
  if (lead >= 0xC2 && lead <= 0xDF && tail(1, 0x80, 0xBF)) {
    *length = 2;
    return ((lead & 0x1F) << 6) | (b(1) & 0x3F);
  }
  if (lead >= 0xE0 && lead <= 0xEF) {
    const unsigned char lo = lead == 0xE0 ? 0xA0 : 0x80;
    const unsigned char hi = lead == 0xED ? 0x9F : 0xBF;
    if (tail(1, lo, hi) && tail(2, 0x80, 0xBF)) {
      *length = 3;
      return ((lead & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
    }
    return -1;
  }
  if (lead >= 0xF0 && lead <= 0xF4) {
    const unsigned char lo = lead == 0xF0 ? 0x90 : 0x80;
    const unsigned char hi = lead == 0xF4 ? 0x8F : 0xBF;
    if (tail(1, lo, hi) && tail(2, 0x80, 0xBF) && tail(3, 0x80, 0xBF)) {
      *length = 4;
      return (static_cast<long>(lead & 0x07) << 18) | ((b(1) & 0x3F) << 12) | ((b(2) & 0x3F) << 6) |
             (b(3) & 0x3F);
    }
  }
  return -1;
}

inline bool IsValidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    std::size_t length = 0;
    if (ReadCodePoint(text, i, &length) < 0) return false;
    i += length;
  }
  return true;
}

}  // namespace fuzzcheck
