#include "platform/qt/qt_platform.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QCursor>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QStringList>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <utility>

namespace quillo {
namespace {

QString Utf8(const std::string& s) {
  return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

QString BareExtension(const std::string& ext) {
  QString e = Utf8(ext);
  while (e.startsWith('.'))
    e.remove(0, 1);
  return e;
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

// The largest picture the program decodes, from a file or the clipboard.
constexpr int kMaxPictureSide = 16384;
constexpr qint64 kMaxPictureBytes = qint64{256} << 20;
constexpr int kMaxPictureMegabytes = 256;

// Why a picture of this size is refused, or nothing when it may be decoded.
std::optional<std::string> RefuseSize(const QSize& size, const std::string& name) {
  if (!size.isValid()) return std::nullopt;  // the reader tells only by decoding
  // The sides first: within them the byte count cannot overflow.
  if (size.width() <= kMaxPictureSide && size.height() <= kMaxPictureSide &&
      qint64{size.width()} * size.height() * 4 <= kMaxPictureBytes) {
    return std::nullopt;
  }
  return "The picture " + name + " is " + std::to_string(size.width()) + " x " +
         std::to_string(size.height()) + " pixels, more than Quillo opens (16384 x 16384 " +
         "pixels and 256 MiB).";
}

// Whether every chunk of a PNG file lies within the file. The PNG reader allocates what
// a chunk's length claims before it finds the file too short, so a few hundred bytes
// could cost gigabytes. Other files pass; the device is left where it was.
bool PngChunksFit(QIODevice& device) {
  static constexpr char kSignature[] = "\x89PNG\r\n\x1a\n";
  if (device.isSequential() || device.peek(8) != QByteArray(kSignature, 8)) return true;
  const qint64 start = device.pos();
  const qint64 size = device.size();
  bool fits = true;
  for (qint64 at = start + 8; at + 8 <= size;) {
    uchar head[8];
    if (!device.seek(at) || device.read(reinterpret_cast<char*>(head), 8) != 8) break;
    const qint64 length = qint64{head[0]} << 24 | qint64{head[1]} << 16 | head[2] << 8 | head[3];
    if (at + 12 + length > size) {
      fits = false;
      break;
    }
    if (std::memcmp(head + 4, "IEND", 4) == 0) break;
    at += 12 + length;
  }
  device.seek(start);
  return fits;
}

// The size in a BMP file's header. Qt's reader reports no size for a bitmap much
// larger than the limits and calls it unreadable; this says what it is.
QSize BmpHeaderSize(QIODevice& device) {
  const QByteArray head = device.peek(26);
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

// Decodes one picture from a reader, refusing it by its size before decoding.
std::optional<std::string> ReadPicture(QImageReader& reader, const std::string& name,
                                       QImage& image) {
  reader.setAllocationLimit(kMaxPictureMegabytes);
  if (QIODevice* device = reader.device();
      device && (device->isOpen() || device->open(QIODevice::ReadOnly))) {
    if (auto refused = RefuseSize(BmpHeaderSize(*device), name)) return refused;
  }
  if (!reader.canRead()) return name + " is not a picture Quillo can read.";
  if (QIODevice* device = reader.device(); device && !PngChunksFit(*device))
    return "Cannot read the picture " + name + ": it is damaged, a part of it is longer " +
           "than the file.";
  if (auto refused = RefuseSize(reader.size(), name)) return refused;
  image = reader.read();
  if (image.isNull()) {
    return "Cannot read the picture " + name + ": " + reader.errorString().toStdString() + ".";
  }
  return std::nullopt;
}

// The image formats the reader knows, as MIME types.
bool ReadableMimeType(const QString& format) {
  static const QList<QByteArray> types = QImageReader::supportedMimeTypes();
  return types.contains(format.toLatin1());
}

// A picture in one file format, in memory.
QByteArray Encode(const QImage& image, const char* format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter(&buffer, format).write(image);
  return bytes;
}

}  // namespace

QString QtFileFilter(const std::string& filter) {
  const QStringList parts = Utf8(filter).split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(';', ' ');
    const QString label = parts[i].trimmed();
    // A label that already ends in its patterns shows them once.
    if (label.endsWith('(' + patterns.trimmed() + ')')) {
      filters << label;
    } else {
      filters << QStringLiteral("%1 (%2)").arg(label, patterns.trimmed());
    }
  }
  return filters.join(QStringLiteral(";;"));
}

QString WithDefaultExtension(const QString& path, const std::string& defaultExtension) {
  const QString ext = BareExtension(defaultExtension);
  if (ext.isEmpty() || path.isEmpty() || !QFileInfo(path).suffix().isEmpty()) return path;
  return path + '.' + ext;
}

std::optional<std::string> QtPlatform::RunFileDialog(const FileDialogSpec& spec, bool save) {
  QFileDialog dialog(dialog_parent_, QString(), QDir::currentPath(), QtFileFilter(spec.filter));
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(spec.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  // The dialog appends the extension itself, so its overwrite question sees the full name.
  dialog.setDefaultSuffix(BareExtension(spec.defaultExtension));
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !spec.confirmOverwrite);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return WithDefaultExtension(dialog.selectedFiles().front(), spec.defaultExtension).toStdString();
}

std::optional<std::string> QtPlatform::OpenFileName(const FileDialogSpec& spec) {
  return RunFileDialog(spec, false);
}

std::optional<std::string> QtPlatform::SaveFileName(const FileDialogSpec& spec) {
  return RunFileDialog(spec, true);
}

// kNoOk is the only set of buttons the program asks with.
Answer QtPlatform::Ask(const std::string& text, QuestionButtons) {
  QMessageBox box(QMessageBox::Information, QApplication::applicationName(), Utf8(text),
                  QMessageBox::NoButton, dialog_parent_);
  // Action roles keep the buttons in the order added, whatever the desktop's layout.
  QPushButton* no = box.addButton(QStringLiteral("No"), QMessageBox::ActionRole);
  QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::ActionRole);
  box.setDefaultButton(ok);
  box.setEscapeButton(no);
  box.exec();
  return box.clickedButton() == ok ? Answer::kOk : Answer::kNo;
}

void QtPlatform::ShowError(const std::string& message) {
  QMessageBox::critical(dialog_parent_, QApplication::applicationName(), Utf8(message));
}

bool QtPlatform::ClipboardHasPicture() {
  const QMimeData* data = QApplication::clipboard()->mimeData();
  if (data == nullptr) return false;
  if (data->hasImage()) return true;
  const QStringList formats = data->formats();
  return std::any_of(formats.begin(), formats.end(), ReadableMimeType);
}

bool QtPlatform::GetClipboardPicture(Surface& out) {
  const QMimeData* data = QApplication::clipboard()->mimeData();
  if (data == nullptr) return false;
  if (data->hasImage()) {
    const QImage image = qvariant_cast<QImage>(data->imageData());
    return !image.isNull() && ImageToSurface(image, out);
  }
  // The first format offered that decodes, as another program ordered them.
  for (const QString& format : data->formats()) {
    if (!ReadableMimeType(format)) continue;
    QByteArray bytes = data->data(format);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    QImage image;
    if (!ReadPicture(reader, "on the clipboard", image)) return ImageToSurface(image, out);
  }
  return false;
}

void QtPlatform::SetClipboardPicture(const Surface& picture) {
  const QImage image = SurfaceView(picture);
  // PNG first for image editors, BMP (24-bit) for the programs that want a bitmap.
  auto data = std::make_unique<QMimeData>();
  data->setData(QStringLiteral("image/png"), Encode(image, "PNG"));
  data->setData(QStringLiteral("image/bmp"), Encode(image, "BMP"));
  QApplication::clipboard()->setMimeData(data.release());
}

std::optional<std::string> QtPlatform::LoadPicture(const std::string& path, Surface& out) {
  const QString name = Utf8(path);
  const std::string quoted = "\"" + path + "\"";
  if (!QFileInfo::exists(name)) return "Cannot open " + quoted + ": there is no such file.";
  QImageReader reader(name);
  QImage image;
  if (auto error = ReadPicture(reader, quoted, image)) return error;
  if (!ImageToSurface(image, out)) return "Not enough memory to open " + quoted + ".";
  return std::nullopt;
}

std::optional<std::string> QtPlatform::SavePicture(const std::string& path,
                                                   const Surface& picture) {
  const QString name = Utf8(path);
  const std::string failed = "Cannot write \"" + path + "\": ";
  const char* format = name.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive) ? "PNG" : "BMP";
  // The old file stays until the new one is complete.
  QSaveFile file(name);
  if (!file.open(QIODevice::WriteOnly)) return failed + file.errorString().toStdString() + ".";
  QImageWriter writer(&file, format);
  if (!writer.write(SurfaceView(picture))) {
    file.cancelWriting();
    return failed + writer.errorString().toStdString() + ".";
  }
  if (!file.commit()) return failed + file.errorString().toStdString() + ".";
  return std::nullopt;
}

void QtPlatform::Beep() {
  QApplication::beep();
}

void QtPlatform::MovePointer(Point screenPoint) {
  QCursor::setPos(screenPoint.x, screenPoint.y);
}

void QtPlatform::ProcessPendingEvents() {
  if (pending_events_hook_) pending_events_hook_();
  QCoreApplication::processEvents();
}

ScreenSize QtPlatform::GetScreenSize() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return ScreenSize{1024, 768};
  const QRect g = screen->geometry();
  return ScreenSize{g.width(), g.height()};
}

uint64_t QtPlatform::ClockMillis() {
  return static_cast<uint64_t>(QDateTime::currentMSecsSinceEpoch());
}

}  // namespace quillo
