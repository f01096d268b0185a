#pragma once

#include <string>

#include "base/status.h"

class QImage;

namespace ardvane {

// A picture ready to be stored inside an HTML document.
struct EmbeddedPicture {
  std::string dataUri;  // "data:image/png;base64,..."
  int width = 0;        // pixels
  int height = 0;
};

// Converts a drawn picture to a PNG in a data: address, which word processors' HTML import and
// web browsers both show. Fails for a null picture, or one the encoder refuses, with the
// reason, without naming the picture.
StatusOr<EmbeddedPicture> EmbedImage(const QImage& image);

// The bytes of a Windows bitmap file of `image`, or why there are none.
StatusOr<std::string> BitmapFileBytes(const QImage& image);

}  // namespace ardvane
