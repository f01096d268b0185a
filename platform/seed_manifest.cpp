#include "platform/seed_manifest.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <optional>
#include <string_view>

namespace ardvane {

namespace {

constexpr std::size_t kHashDigits = 64;

constexpr char kHeader[] =
    "# The files Ardvane copied into this folder from its installation: the SHA-256 of the\n"
    "# version last copied or offered as NAME.new, then the file. Ardvane keeps this list; a\n"
    "# file missing from it is treated as changed by you.\n";

bool IsHash(std::string_view text) {
  if (text.size() != kHashDigits) return false;
  for (const char c : text) {
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  }
  return true;
}

std::string EscapePath(const std::string& path) {
  std::string escaped;
  for (const char c : path) {
    if (c == '\\') {
      escaped += "\\\\";
    } else if (c == '\n') {
      escaped += "\\n";
    } else {
      escaped += c;
    }
  }
  return escaped;
}

std::optional<std::string> UnescapePath(std::string_view escaped) {
  std::string path;
  for (std::size_t i = 0; i < escaped.size(); ++i) {
    if (escaped[i] != '\\') {
      path += escaped[i];
      continue;
    }
    if (++i == escaped.size()) return std::nullopt;
    if (escaped[i] == '\\') {
      path += '\\';
    } else if (escaped[i] == 'n') {
      path += '\n';
    } else {
      return std::nullopt;
    }
  }
  return path;
}

}  // namespace

std::string SeedContentHash(const std::string& bytes) {
  const QByteArray digest = QCryptographicHash::hash(
      QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size())),
      QCryptographicHash::Sha256);
  return digest.toHex().toStdString();
}

std::string SeedManifestText(const SeedManifest& manifest) {
  std::string text = kHeader;
  for (const auto& [path, hash] : manifest) text += hash + " " + EscapePath(path) + "\n";
  return text;
}

SeedManifest ParseSeedManifest(const std::string& text) {
  SeedManifest manifest;
  std::string_view rest = text;
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    // A last line without its line break was cut short: its path may be incomplete.
    if (end == std::string_view::npos) break;
    const std::string_view line = rest.substr(0, end);
    rest.remove_prefix(end + 1);
    if (line.size() < kHashDigits + 2 || line[kHashDigits] != ' ') continue;
    const std::string_view hash = line.substr(0, kHashDigits);
    if (!IsHash(hash)) continue;
    const std::optional<std::string> path = UnescapePath(line.substr(kHashDigits + 1));
    if (path) manifest[*path] = std::string(hash);
  }
  return manifest;
}

}  // namespace ardvane
