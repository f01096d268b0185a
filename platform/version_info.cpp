#include "platform/version_info.h"

#include <elf.h>

#include <bit>
#include <cstring>
#include <fstream>
#include <string_view>
#include <vector>

namespace ardvane {
namespace {

// A resource larger than this is not one the build wrote.
constexpr std::uint64_t kMaxResourceBytes = 64 * 1024;

bool ReadAt(std::ifstream& in, std::uint64_t offset, void* out, std::size_t size) {
  in.clear();
  in.seekg(static_cast<std::streamoff>(offset));
  in.read(static_cast<char*>(out), static_cast<std::streamsize>(size));
  return in.gcount() == static_cast<std::streamsize>(size);
}

// The bytes of the version section of a 64-bit ELF file of this machine's byte order, or
// nothing when the file is anything else or damaged. Every offset read from the file is
// checked against its size before it is followed.
std::string ReadVersionSection(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  if (!in) return {};
  in.seekg(0, std::ios::end);
  const auto end = in.tellg();
  if (end <= 0) return {};
  const auto fileSize = static_cast<std::uint64_t>(end);

  Elf64_Ehdr header{};
  if (!ReadAt(in, 0, &header, sizeof header)) return {};
  if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 || header.e_ident[EI_CLASS] != ELFCLASS64)
    return {};
  const bool littleEndian = std::endian::native == std::endian::little;
  if (header.e_ident[EI_DATA] != (littleEndian ? ELFDATA2LSB : ELFDATA2MSB)) return {};
  // e_shnum is 16 bits, so the section table is at most 65,535 entries (4 MiB); it must also
  // lie inside the file (below).
  if (header.e_shentsize != sizeof(Elf64_Shdr) || header.e_shnum == 0 ||
      header.e_shstrndx >= header.e_shnum)
    return {};
  const std::uint64_t tableBytes = std::uint64_t{header.e_shnum} * sizeof(Elf64_Shdr);
  if (header.e_shoff > fileSize || tableBytes > fileSize - header.e_shoff) return {};

  std::vector<Elf64_Shdr> sections(header.e_shnum);
  if (!ReadAt(in, header.e_shoff, sections.data(), tableBytes)) return {};
  const auto contents = [&](const Elf64_Shdr& section, std::uint64_t limit) -> std::string {
    if (section.sh_type == SHT_NOBITS || section.sh_size > limit || section.sh_offset > fileSize ||
        section.sh_size > fileSize - section.sh_offset)
      return {};
    std::string bytes(section.sh_size, '\0');
    if (!ReadAt(in, section.sh_offset, bytes.data(), bytes.size())) return {};
    return bytes;
  };
  const std::string names = contents(sections[header.e_shstrndx], fileSize);
  const std::string_view wanted = ARDVANE_VERSION_SECTION;
  for (const Elf64_Shdr& section : sections) {
    if (section.sh_name >= names.size()) continue;
    const char* name = names.c_str() + section.sh_name;
    if (std::string_view(name) == wanted) return contents(section, kMaxResourceBytes);
  }
  return {};
}

}  // namespace

void tFileVersionInformation::SetFileName(const std::string& fileName) {
  fileName_ = fileName;
  resource_ = fileName.empty() ? std::string() : ReadVersionSection(fileName);
}

std::string tFileVersionInformation::GetVersionValue(const std::string& key) const {
  if (fileName_.empty()) return "<no file>";
  if (resource_.empty()) return "<no ver info>";
  const std::string wanted = "StringFileInfo\\040904E4\\" + key;
  // NUL-ended texts in pairs: a name, then its value. A damaged table ends the search.
  std::size_t at = 0;
  while (at < resource_.size()) {
    const std::size_t nameEnd = resource_.find('\0', at);
    if (nameEnd == std::string::npos || nameEnd == at) break;
    const std::size_t valueEnd = resource_.find('\0', nameEnd + 1);
    if (valueEnd == std::string::npos) break;
    if (std::string_view(resource_).substr(at, nameEnd - at) == wanted) {
      return resource_.substr(nameEnd + 1, valueEnd - nameEnd - 1);
    }
    at = valueEnd + 1;
  }
  return {};
}

}  // namespace ardvane
