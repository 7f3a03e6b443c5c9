#include "platform/qt/picture_codec.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QMimeData>
#include <QStringList>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <utility>
#include <variant>

#include "platform/whole_file.h"

namespace quillo {
namespace {

// The largest picture the program decodes, from a file or the clipboard.
constexpr int kMaxPictureSide = 16384;
constexpr qint64 kMaxPictureBytes = qint64{256} << 20;
constexpr int kMaxPictureMegabytes = 256;
// The largest picture file read: a bitmap of the largest picture and its header.
constexpr size_t kMaxPictureFileBytes = (size_t{256} + 1) << 20;

// Why a picture of this size is refused, or nothing when it may be decoded.
// A message in the language of words, with its values.
std::string Say(const Catalogue* words, std::string_view english,
                std::initializer_list<std::string_view> values) {
  return Arg(words == nullptr ? std::string(english) : words->Text(english), values);
}

std::optional<std::string> RefuseSize(const QSize& size, const std::string& name,
                                      const Catalogue* words) {
  if (!size.isValid()) return std::nullopt;  // the reader tells only by decoding
  // The sides first: within them the byte count cannot overflow.
  if (size.width() <= kMaxPictureSide && size.height() <= kMaxPictureSide &&
      qint64{size.width()} * size.height() * 4 <= kMaxPictureBytes) {
    return std::nullopt;
  }
  return Say(words,
             "The picture %1 is %2 x %3 pixels, more than Quillo opens (16384 x 16384 pixels "
             "and 256 MiB).",
             {name, std::to_string(size.width()), std::to_string(size.height())});
}

// Whether every chunk of a PNG file lies within the file. The PNG reader allocates what
// a chunk's length claims before it finds the file too short, so a few hundred bytes
// could cost gigabytes. Other files pass.
bool PngChunksFit(const QByteArray& bytes) {
  static constexpr char kSignature[] = "\x89PNG\r\n\x1a\n";
  if (!bytes.startsWith(QByteArray(kSignature, 8))) return true;
  const auto* data = reinterpret_cast<const uchar*>(bytes.constData());
  const qint64 size = bytes.size();
  for (qint64 at = 8; at + 8 <= size;) {
    const uchar* head = data + at;
    const qint64 length = qint64{head[0]} << 24 | qint64{head[1]} << 16 | head[2] << 8 | head[3];
    if (at + 12 + length > size) return false;
    if (std::memcmp(head + 4, "IEND", 4) == 0) break;
    at += 12 + length;
  }
  return true;
}

// The size in a BMP file's header. Qt's reader reports no size for a bitmap much
// larger than the limits and calls it unreadable; this says what it is.
QSize BmpHeaderSize(const QByteArray& head) {
  if (head.size() < 26 || !head.startsWith("BM")) return {};
  const auto le = [&head](int at, int bytes) {
    quint32 v = 0;
    for (int i = bytes - 1; i >= 0; --i)
      v = v << 8 | static_cast<uchar>(head[at + i]);
    return v;
  };
  if (le(14, 4) == 12) return QSize(int(le(18, 2)), int(le(20, 2)));  // the old OS/2 header
  const auto width = static_cast<qint32>(le(18, 4));
  const auto height = static_cast<qint32>(le(22, 4));  // negative for rows top down
  if (width <= 0 || height == 0 || height == std::numeric_limits<qint32>::min()) return {};
  return QSize(width, std::abs(height));
}

// Copies an image into a surface of its size; false when the surface cannot grow.
bool ImageToSurface(const QImage& image, Surface& out) {
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  if (out.Width() == rgb.width() && out.Height() == rgb.height()) {
    // A surface of the picture's size is filled in place, keeping its memory.
    const auto rowBytes = static_cast<size_t>(out.Stride());
    for (int y = 0; y < rgb.height(); ++y)
      std::memcpy(out.Bits() + size_t(y) * out.Width(), rgb.constScanLine(y), rowBytes);
    out.MarkDirty(out.Bounds());
    return true;
  }
  Surface loaded;
  if (!loaded.Resize(rgb.width(), rgb.height())) return false;
  const auto rowBytes = static_cast<size_t>(loaded.Stride());
  auto* dst = reinterpret_cast<uchar*>(loaded.Bits());
  for (int y = 0; y < rgb.height(); ++y) {
    std::memcpy(dst + size_t(y) * rowBytes, rgb.constScanLine(y), rowBytes);
  }
  // Keep the pen, brush and copy mode the engine set on the target.
  loaded.SetPenColor(out.PenColor());
  loaded.SetPenWidth(out.PenWidth());
  loaded.SetPenMode(out.GetPenMode());
  loaded.SetBrushColor(out.BrushColor());
  loaded.SetBrushStyle(out.GetBrushStyle());
  loaded.SetCopyMode(out.CopyMode());
  loaded.MoveTo(out.PenPos());
  loaded.MarkDirty(loaded.Bounds());
  out = std::move(loaded);
  return true;
}

// The image formats the reader knows, as MIME types.
bool ReadableMimeType(const QString& format) {
  static const QList<QByteArray> types = QImageReader::supportedMimeTypes();
  return types.contains(format.toLatin1());
}

}  // namespace

std::optional<std::string> DecodePicture(const QByteArray& bytes, const std::string& name,
                                         QImage& image, const Catalogue* words) {
  if (auto refused = RefuseSize(BmpHeaderSize(bytes), name, words)) return refused;
  if (!PngChunksFit(bytes))
    return Say(words,
               "Cannot read the picture %1: it is damaged, a part of it is longer than the file.",
               {name});
  QBuffer buffer;
  buffer.setData(bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  reader.setAllocationLimit(kMaxPictureMegabytes);
  if (!reader.canRead()) return Say(words, "%1 is not a picture Quillo can read.", {name});
  if (auto refused = RefuseSize(reader.size(), name, words)) return refused;
  image = reader.read();
  if (image.isNull()) {
    return Say(words, "Cannot read the picture %1: %2.",
               {name, reader.errorString().toStdString()});
  }
  return std::nullopt;
}

std::optional<std::string> ReadPictureFile(const std::string& path, QImage& image,
                                           const Catalogue* words) {
  const std::string quoted = "\"" + path + "\"";
  auto read = ReadFileStart(path, kMaxPictureFileBytes);
  if (const auto* fault = std::get_if<std::string>(&read))
    return Say(words, "Cannot open \"%1\": %2.", {path, *fault});
  const FileStart& file = std::get<FileStart>(read);
  if (file.size > kMaxPictureFileBytes)
    return Say(words, "The picture %1 is a file of %2 bytes, more than Quillo opens.",
               {quoted, std::to_string(file.size)});
  const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(file.bytes.data()),
                                                   qsizetype(file.bytes.size()));
  return DecodePicture(bytes, quoted, image, words);
}

std::optional<std::string> LoadPictureFile(const std::string& path, Surface& out,
                                           const Catalogue* words) {
  QImage image;
  if (auto error = ReadPictureFile(path, image, words)) return error;
  if (!ImageToSurface(image, out)) return Say(words, "Not enough memory to open \"%1\".", {path});
  return std::nullopt;
}

std::optional<std::string> SavePictureFile(const std::string& path, const Surface& picture,
                                           const Catalogue* words) {
  const auto failed = [&](const std::string& fault) {
    return Say(words, "Cannot write \"%1\": %2.", {path, fault});
  };
  const bool png = path.size() >= 4 && QByteArray::fromStdString(path.substr(path.size() - 4))
                                               .compare(".png", Qt::CaseInsensitive) == 0;
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, png ? "PNG" : "BMP");
  if (!writer.write(SurfaceView(picture))) return failed(writer.errorString().toStdString());
  const auto* data = reinterpret_cast<const uint8_t*>(bytes.constData());
  if (auto fault = WriteWholeFile(path, {data, static_cast<size_t>(bytes.size())}))
    return failed(*fault);
  return std::nullopt;
}

bool OffersPicture(const QMimeData& data) {
  const QStringList formats = data.formats();
  return std::any_of(formats.begin(), formats.end(), ReadableMimeType);
}

bool DecodeOfferedPicture(const QMimeData& data, Surface& out) {
  // The first format offered that decodes, as the other program ordered them.
  for (const QString& format : data.formats()) {
    if (!ReadableMimeType(format)) continue;
    QImage image;
    if (!DecodePicture(data.data(format), "on the clipboard", image))
      return ImageToSurface(image, out);
  }
  return false;
}

}  // namespace quillo
