// The ini line editor on arbitrary file text. Checks that
// - the text read and written back unedited is the same bytes;
// - after Set the key reads back as the value, from the editor and from its bytes read anew,
//   and a key read before the edit (another one) reads the same;
// - setting an absent key only inserts bytes: what was there before stays, in order, around
//   one insertion; setting a present key changes no line count;
// - after Erase the key is gone.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "settings/ini_text.h"

namespace {

std::string Without(std::string text, std::string_view bytes) {
  std::erase_if(text, [&](char c) { return bytes.find(c) != std::string_view::npos; });
  return text;
}

std::string TrimBlanks(std::string text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.back())) text.pop_back();
  std::size_t start = 0;
  while (start < text.size() && blank(text[start])) ++start;
  return text.substr(start);
}

// A name the file can hold: no line end, NUL or "=" (keys) / "]" (sections), no blanks
// around; a key is never empty nor starts a comment, a section or a UTF-8 signature.
std::string Key(FuzzedDataProvider& input) {
  std::string key =
      TrimBlanks(Without(input.ConsumeRandomLengthString(16), std::string_view("\r\n\0=", 4)));
  if (key.empty() || key.front() == ';' || key.front() == '#' || key.front() == '[' ||
      key.starts_with("\xEF\xBB\xBF")) {  // a signature, were the key the file's first line
    key.insert(0, "k");
  }
  return key;
}
std::string Section(FuzzedDataProvider& input) {
  return TrimBlanks(Without(input.ConsumeRandomLengthString(16), std::string_view("\r\n\0]", 4)));
}

std::size_t LineEnds(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))) {
      ++count;
    }
  }
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string section = Section(input);
  const std::string key = Key(input);
  const std::string value =
      TrimBlanks(Without(input.ConsumeRandomLengthString(32), std::string_view("\r\n\0", 3)));
  const std::string otherSection = Section(input);
  const std::string otherKey = Key(input);
  const std::string file =
      Without(input.ConsumeRemainingBytesAsString(), std::string_view("\0", 1));

  ardvane::IniText ini(file);
  if (ini.Bytes() != file) __builtin_trap();
  const std::optional<std::string> before = ini.Value(section, key);
  const std::optional<std::string> otherBefore = ini.Value(otherSection, otherKey);

  ini.Set(section, key, value);
  const std::string edited = ini.Bytes();
  if (ini.Value(section, key) != value) __builtin_trap();
  if (ardvane::IniText(edited).Value(section, key) != value) __builtin_trap();
  const auto same = [](std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
             return std::tolower(static_cast<unsigned char>(x)) ==
                    std::tolower(static_cast<unsigned char>(y));
           });
  };
  if (!(same(section, otherSection) && same(key, otherKey)) &&
      ardvane::IniText(edited).Value(otherSection, otherKey) != otherBefore) {
    __builtin_trap();
  }
  if (before) {
    if (LineEnds(edited) != LineEnds(file)) __builtin_trap();
  } else {
    std::size_t prefix = 0;
    while (prefix < file.size() && prefix < edited.size() && file[prefix] == edited[prefix])
      ++prefix;
    std::size_t suffix = 0;
    while (suffix < file.size() - prefix && suffix < edited.size() - prefix &&
           file[file.size() - 1 - suffix] == edited[edited.size() - 1 - suffix]) {
      ++suffix;
    }
    if (prefix + suffix < file.size()) __builtin_trap();  // bytes of the file were changed
  }

  ini.Erase(section, key);
  if (ini.Value(section, key) || ardvane::IniText(ini.Bytes()).Value(section, key))
    __builtin_trap();
  return 0;
}
