#include "platform/picture_embedding.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>

namespace ardvane {
namespace {

// The bytes of `image` in `format`, or nothing when it cannot be encoded.
std::optional<QByteArray> Encode(const QImage& image, const char* format, std::string* error) {
  if (image.isNull()) {
    *error = "the picture is empty";
    return std::nullopt;
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, format)) {
    *error = "the picture could not be encoded as " + std::string(format);
    return std::nullopt;
  }
  return bytes;
}

}  // namespace

std::optional<EmbeddedPicture> EmbedImage(const QImage& image, std::string* error) {
  const std::optional<QByteArray> png = Encode(image, "PNG", error);
  if (!png) return std::nullopt;
  EmbeddedPicture picture;
  picture.dataUri = "data:image/png;base64," + png->toBase64().toStdString();
  picture.width = image.width();
  picture.height = image.height();
  return picture;
}

std::optional<std::string> BitmapFileBytes(const QImage& image, std::string* error) {
  const std::optional<QByteArray> bitmap = Encode(image, "BMP", error);
  if (!bitmap) return std::nullopt;
  return bitmap->toStdString();
}

}  // namespace ardvane
