#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace ardvane {

// Replaces the file at `path` with `content`: the bytes go to a new temporary file in the
// same folder, which is flushed to disk and then renamed over the target, so the old file
// stays whole until the new one is complete. The new file keeps the old one's access rights;
// a symbolic link is kept and the file it points to replaced. On failure returns false,
// removes the temporary file, leaves any old file untouched, and sets `error` (when given)
// to the system's reason.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view content,
                         std::string* error);

// Reads a whole file of at most `maxBytes` bytes. On failure returns false with a
// description in `error`.
bool ReadWholeFile(const std::filesystem::path& path, std::size_t maxBytes, std::string* content,
                   std::string* error);

}  // namespace ardvane
