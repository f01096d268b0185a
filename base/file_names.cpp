#include "base/file_names.h"

#include "base/utf8.h"

namespace ardvane {

std::size_t ControlCharacterLength(std::string_view text, std::size_t at) {
  const auto byte = static_cast<unsigned char>(text[at]);
  if (byte < 0x20 || byte == 0x7F) return 1;
  if (byte == 0xC2 && at + 1 < text.size()) {
    const auto next = static_cast<unsigned char>(text[at + 1]);
    if (next >= 0x80 && next <= 0x9F) return 2;  // U+0080 to U+009F, NEL among them
  }
  return 0;
}

std::string SafeFileName(std::string_view stem, std::string_view extension) {
  std::string name;
  name.reserve(stem.size());
  for (std::size_t i = 0; i < stem.size(); ++i) {
    const auto byte = static_cast<unsigned char>(stem[i]);
    if (const std::size_t control = ControlCharacterLength(stem, i); control > 0) {
      name += ' ';
      i += control - 1;
    } else if (byte == '/') {
      name += '.';
    } else if (std::string_view("\\:*?\"<>|").find(static_cast<char>(byte)) !=
               std::string_view::npos) {
      name += '_';
    } else {
      name += static_cast<char>(byte);
    }
  }
  for (char& c : name) {
    if (c != '.') break;
    c = '_';
  }
  const std::size_t room =
      extension.size() < kMaxFileNameBytes ? kMaxFileNameBytes - extension.size() : 0;
  if (name.size() > room) {
    std::size_t cut = room;
    while (cut > 0 && IsUtf8Continuation(static_cast<unsigned char>(name[cut]))) --cut;
    name.resize(cut);
  }
  if (name.empty() && !extension.empty()) name.push_back('_');  // a bare ".rtf" would be hidden
  name += extension;
  for (auto it = name.rbegin(); it != name.rend() && (*it == ' ' || *it == '.'); ++it) *it = '_';
  if (name.empty()) name.push_back('_');
  return name;
}

}  // namespace ardvane
