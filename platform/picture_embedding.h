#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace ardvane {

// A picture ready to be stored inside an HTML document.
struct EmbeddedPicture {
  std::string dataUri;  // "data:image/png;base64,..."
  int width = 0;        // pixels
  int height = 0;
};

// Reads a picture file (a Windows bitmap, or any format the toolkit reads) and converts it to
// a PNG in a data: address, which word processors' HTML import and web browsers both show.
// On failure returns nothing and sets `error` to a message naming the file.
std::optional<EmbeddedPicture> EmbedPicture(const std::filesystem::path& file, std::string* error);

}  // namespace ardvane
