#include "platform/picture_embedding.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>

namespace ardvane {
namespace {

// The bytes of `image` in `format`.
StatusOr<QByteArray> Encode(const QImage& image, const char* format) {
  if (image.isNull()) return Status::InvalidData("the picture is empty");
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, format)) {
    std::string message("the picture could not be encoded as ");
    message += format;
    return Status::InvalidData(std::move(message));
  }
  return bytes;
}

}  // namespace

StatusOr<EmbeddedPicture> EmbedImage(const QImage& image) {
  const StatusOr<QByteArray> png = Encode(image, "PNG");
  if (!png.ok()) return png.status();
  EmbeddedPicture picture;
  picture.dataUri = "data:image/png;base64," + png->toBase64().toStdString();
  picture.width = image.width();
  picture.height = image.height();
  return picture;
}

StatusOr<std::string> BitmapFileBytes(const QImage& image) {
  const StatusOr<QByteArray> bitmap = Encode(image, "BMP");
  if (!bitmap.ok()) return bitmap.status();
  return bitmap->toStdString();
}

}  // namespace ardvane
