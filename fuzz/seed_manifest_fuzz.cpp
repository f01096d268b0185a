// The record of a seeded program folder (.seeded). The first byte chooses what the rest is:
// - even: the text of a record as found in a folder, damaged or hand-edited. Every entry read
//   has a hash of 64 lowercase hexadecimal digits and a path, comes from a line of its own (no
//   more entries than line breaks), and the record written of them reads back the same;
// - odd: a record made of the input's pieces (paths of any bytes but empty, hashes of the
//   pieces or hexadecimal digits from the input). Its text reads back as the same record, and
//   any beginning of that text (a write cut short) reads as some of its entries, each with
//   its own hash, never as another entry.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/seed_manifest.h"

namespace {

bool IsHash(std::string_view text) {
  return text.size() == 64 && std::all_of(text.begin(), text.end(), [](char c) {
           return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
         });
}

void CheckEntries(const ardvane::SeedManifest& manifest) {
  for (const auto& [path, hash] : manifest) {
    if (path.empty() || !IsHash(hash)) __builtin_trap();
  }
}

// A record that reads back as itself, and whose beginnings read as parts of it.
void CheckRoundTrip(const ardvane::SeedManifest& manifest, std::size_t cut) {
  const std::string text = ardvane::SeedManifestText(manifest);
  if (ardvane::ParseSeedManifest(text) != manifest) __builtin_trap();
  std::size_t bound = 512;  // the comment lines
  for (const auto& [path, hash] : manifest) bound += hash.size() + 2 + 2 * path.size();
  if (text.size() > bound) __builtin_trap();
  const ardvane::SeedManifest part =
      ardvane::ParseSeedManifest(text.substr(0, cut % (text.size() + 1)));
  for (const auto& [path, hash] : part) {
    const auto whole = manifest.find(path);
    if (whole == manifest.end() || whole->second != hash) __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  FuzzedDataProvider input(data + 1, size - 1);
  if ((data[0] & 1) == 0) {
    const std::string text = input.ConsumeRemainingBytesAsString();
    const ardvane::SeedManifest manifest = ardvane::ParseSeedManifest(text);
    CheckEntries(manifest);
    if (manifest.size() > static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'))) {
      __builtin_trap();
    }
    CheckRoundTrip(manifest, text.size());
    return 0;
  }
  ardvane::SeedManifest manifest;
  const std::size_t cut = input.ConsumeIntegral<std::uint16_t>();
  while (input.remaining_bytes() > 0 && manifest.size() < 16) {
    std::string path = input.ConsumeRandomLengthString(64);
    if (path.empty()) path = "x";  // a file's path is never empty
    std::string hash;
    if (input.ConsumeBool()) {
      hash = ardvane::SeedContentHash(input.ConsumeRandomLengthString(64));
    } else {
      static constexpr char kHex[] = "0123456789abcdef";
      for (int k = 0; k < 64; ++k) hash += kHex[input.ConsumeIntegralInRange(0, 15)];
    }
    if (!IsHash(hash)) __builtin_trap();
    manifest[path] = hash;
  }
  CheckRoundTrip(manifest, cut);
  return 0;
}
