#include "platform/picture_embedding.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <QString>

namespace ardvane {

std::optional<EmbeddedPicture> EmbedPicture(const std::filesystem::path& file, std::string* error) {
  const QString name = QString::fromStdString(file.string());
  QImageReader reader(name);
  QImage image = reader.read();
  if (image.isNull()) {
    *error = "Could not read the picture \"" + file.string() +
             "\": " + reader.errorString().toStdString();
    return std::nullopt;
  }
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG")) {
    *error = "Could not convert the picture \"" + file.string() + "\" to PNG.";
    return std::nullopt;
  }
  EmbeddedPicture picture;
  picture.dataUri = "data:image/png;base64," + png.toBase64().toStdString();
  picture.width = image.width();
  picture.height = image.height();
  return picture;
}

}  // namespace ardvane
