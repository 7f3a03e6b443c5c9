#include "headless_platform.h"

#include <QImage>
#include <QSaveFile>
#include <QString>

#include "platform/raster/surface.h"

namespace quillo {

std::optional<std::string> HeadlessPlatform::LoadPicture(const std::string& path, Surface& out) {
  QImage image(QString::fromStdString(path));
  if (image.isNull()) return "Cannot read the picture \"" + path + "\"";
  image = image.convertToFormat(QImage::Format_RGB32);
  Surface loaded;
  if (!loaded.Resize(image.width(), image.height())) return std::string("Out of memory");
  for (int y = 0; y < image.height(); ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
    std::copy(row, row + image.width(), loaded.Bits() + static_cast<size_t>(y) * image.width());
  }
  out = std::move(loaded);
  return std::nullopt;
}

std::optional<std::string> HeadlessPlatform::SavePicture(const std::string& path,
                                                         const Surface& picture) {
  const QImage view(reinterpret_cast<const uchar*>(picture.Bits()), picture.Width(),
                    picture.Height(), picture.Stride(), QImage::Format_RGB32);
  const QString name = QString::fromStdString(path);
  const char* format = name.endsWith(".png", Qt::CaseInsensitive) ? "PNG" : "BMP";
  QSaveFile file(name);
  if (!file.open(QIODevice::WriteOnly) || !view.save(&file, format) || !file.commit())
    return "Cannot create file \"" + path + "\": " + file.errorString().toStdString();
  return std::nullopt;
}

}  // namespace quillo
