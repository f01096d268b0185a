// File names and print log fields from arbitrary name text. Checks that a file name holds no
// control character, none of / \ : * ? " < > |, neither starts with a dot nor ends with a
// blank or a dot, is not empty, fits in 255 bytes, ends in its extension and stays valid
// UTF-8 when the text was; and that a log field holds no control character (so no CR, LF or
// TAB), keeps every other byte and is valid UTF-8 when the value was.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/file_names.h"
#include "fuzz/fuzz_utf8.h"
#include "reports/print_log.h"

namespace {

bool HoldsControl(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (ardvane::ControlCharacterLength(text, i) > 0) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  static constexpr std::string_view kExtensions[] = {"", ".rtf", ".doc", ".pdf"};
  const std::string_view extension = kExtensions[data[0] % 4];
  const std::string_view stem(reinterpret_cast<const char*>(data) + 1, size - 1);
  const bool valid = fuzzcheck::IsValidUtf8(stem);

  const std::string name = ardvane::SafeFileName(stem, extension);
  if (name.empty() || name.size() > ardvane::kMaxFileNameBytes) __builtin_trap();
  if (name.find_first_of("/\\:*?\"<>|") != std::string::npos) __builtin_trap();
  if (HoldsControl(name)) __builtin_trap();
  if (name.front() == '.' || name.back() == '.' || name.back() == ' ') __builtin_trap();
  if (!extension.empty() && !name.ends_with(extension)) __builtin_trap();
  if (valid && !fuzzcheck::IsValidUtf8(name)) __builtin_trap();

  const std::string field = ardvane::PrintLogField(stem);
  if (HoldsControl(field)) __builtin_trap();
  if (field.find_first_of("\r\n\t") != std::string::npos) __builtin_trap();
  if (field.size() > stem.size()) __builtin_trap();
  if (valid && !fuzzcheck::IsValidUtf8(field)) __builtin_trap();
  return 0;
}
