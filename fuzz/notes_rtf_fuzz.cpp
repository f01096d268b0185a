// The notes file from arbitrary note text. Checks that
// - RtfText of any bytes is 7-bit text holding no group and no control word but \tab and \u,
//   and reads back as the text's characters (controls left out, a byte that is no UTF-8 as
//   U+FFFD);
// - the whole notes file is one group with the font table inside it, uses only the program's
//   own control words, and holds one \par a line.

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_utf8.h"
#include "inputs/client_notes.h"

namespace {

// The characters RtfText should keep of `text`, as code points.
std::u32string Expected(std::string_view text) {
  std::u32string out;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t length = 0;
    const long code = fuzzcheck::ReadCodePoint(text, i, &length);
    i += length;
    if (code < 0) {
      out += U'\uFFFD';
    } else if (code == '\t' || (code >= 0x20 && code != 0x7F && (code < 0x80 || code > 0x9F))) {
      out += static_cast<char32_t>(code);
    }
  }
  return out;
}

// Reads RtfText's output back; traps on anything it should not hold.
std::u32string ReadBack(std::string_view rtf) {
  std::u32string units;
  for (std::size_t i = 0; i < rtf.size();) {
    const char c = rtf[i];
    if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F) {
      __builtin_trap();  // the body is printable ASCII only
    }
    if (c == '{' || c == '}') __builtin_trap();  // a group the text opened or closed
    if (c != '\\') {
      units += static_cast<char32_t>(c);
      ++i;
      continue;
    }
    if (i + 1 >= rtf.size()) __builtin_trap();
    const char next = rtf[i + 1];
    if (next == '\\' || next == '{' || next == '}') {
      units += static_cast<char32_t>(next);
      i += 2;
    } else if (rtf.substr(i, 5) == "\\tab ") {
      units += U'\t';
      i += 5;
    } else if (next == 'u') {
      std::size_t j = i + 2;
      bool negative = false;
      if (j < rtf.size() && rtf[j] == '-') negative = true, ++j;
      long value = 0;
      const std::size_t digits = j;
      while (j < rtf.size() && rtf[j] >= '0' && rtf[j] <= '9' && j - digits < 6) {
        value = value * 10 + (rtf[j] - '0');
        ++j;
      }
      if (j == digits || j >= rtf.size() || rtf[j] != '?') __builtin_trap();
      if (negative) value = -value;
      if (value < -32768 || value > 32767) __builtin_trap();
      units += static_cast<char32_t>(value < 0 ? value + 0x10000 : value);
      i = j + 1;
    } else {
      __builtin_trap();  // another control word or symbol
    }
  }
  // UTF-16 units to code points.
  std::u32string text;
  for (std::size_t k = 0; k < units.size(); ++k) {
    const char32_t u = units[k];
    if (u >= 0xD800 && u <= 0xDBFF) {
      if (k + 1 >= units.size() || units[k + 1] < 0xDC00 || units[k + 1] > 0xDFFF) {
        __builtin_trap();
      }
      text += 0x10000 + ((u - 0xD800) << 10) + (units[k + 1] - 0xDC00);
      ++k;
    } else if (u >= 0xDC00 && u <= 0xDFFF) {
      __builtin_trap();
    } else {
      text += u;
    }
  }
  return text;
}

// The structure of a whole notes file.
void CheckDocument(std::string_view rtf, std::size_t lineCount) {
  static const std::set<std::string, std::less<>> kWords = {
      "rtf", "ansi", "ansicpg", "deff", "uc", "fonttbl", "f", "fmodern", "fs", "par", "tab", "u"};
  int depth = 0;
  int groups = 0;
  std::size_t pars = 0;
  for (std::size_t i = 0; i < rtf.size(); ++i) {
    const char c = rtf[i];
    if (depth == 0 && i > 0) {
      if (rtf.substr(i) != "\r\n") __builtin_trap();  // text after the document's group
      break;
    }
    if (c == '{') {
      ++depth, ++groups;
      if (depth > 3) __builtin_trap();
    } else if (c == '}') {
      --depth;
    } else if (c == '\\') {
      if (i + 1 >= rtf.size()) __builtin_trap();
      const char next = rtf[i + 1];
      if (next == '\\' || next == '{' || next == '}') {
        ++i;
        continue;
      }
      std::size_t j = i + 1;
      while (j < rtf.size() && rtf[j] >= 'a' && rtf[j] <= 'z') ++j;
      const std::string_view word = rtf.substr(i + 1, j - i - 1);
      if (kWords.find(word) == kWords.end()) __builtin_trap();
      if (word == "par") ++pars;
      i = j - 1;
    } else if (depth == 0) {
      __builtin_trap();  // text before the group
    }
  }
  if (depth != 0 || groups != 3 || pars != lineCount) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (ReadBack(ardvane::RtfText(text)) != Expected(text)) __builtin_trap();
  const std::vector<std::string> lines = ardvane::SplitNoteLines(text);
  CheckDocument(ardvane::NotesRtf(lines), lines.size());
  return 0;
}
