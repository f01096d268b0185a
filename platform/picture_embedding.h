#pragma once

#include <optional>
#include <string>

class QImage;

namespace ardvane {

// A picture ready to be stored inside an HTML document.
struct EmbeddedPicture {
  std::string dataUri;  // "data:image/png;base64,..."
  int width = 0;        // pixels
  int height = 0;
};

// Converts a drawn picture to a PNG in a data: address, which word processors' HTML import and
// web browsers both show. On failure (a null picture, or one the encoder refuses) returns
// nothing and sets `error` to the reason, without naming the picture.
std::optional<EmbeddedPicture> EmbedImage(const QImage& image, std::string* error);

// The bytes of a Windows bitmap file of `image`; nothing, with `error` set, on failure.
std::optional<std::string> BitmapFileBytes(const QImage& image, std::string* error);

}  // namespace ardvane
