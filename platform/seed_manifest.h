#pragma once

#include <map>
#include <string>

namespace ardvane {

// The record a seeded program folder keeps of the installed files it was given: for each file,
// by its path relative to the folder (with "/" between names), the content hash of the version
// the installation last copied there or offered beside it. Comparing a file with its recorded
// hash tells whether the user changed it since.
using SeedManifest = std::map<std::string, std::string>;

// The name of the record in the program folder.
inline constexpr char kSeedManifestName[] = ".seeded";

// The content hash recorded for `bytes`: SHA-256 in 64 lowercase hexadecimal digits.
std::string SeedContentHash(const std::string& bytes);

// The record as text: comment lines starting with "#", then one line per file, "<hash> <path>",
// sorted by path. The path is everything after the first blank, so it may hold blanks; a
// backslash is written "\\" and a line break "\n".
std::string SeedManifestText(const SeedManifest& manifest);

// Reads what SeedManifestText wrote. Lines that are not whole entries (a damaged or truncated
// file, an edit by hand) are skipped: their files then count as not recorded. Never fails.
SeedManifest ParseSeedManifest(const std::string& text);

}  // namespace ardvane
