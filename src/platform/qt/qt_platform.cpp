#include "platform/qt/qt_platform.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageReader>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QStringList>
#include <cstring>
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

}  // namespace

QString QtFileFilter(const std::string& filter) {
  const QStringList parts = Utf8(filter).split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(';', ' ');
    filters << QStringLiteral("%1 (%2)").arg(parts[i].trimmed(), patterns.trimmed());
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
  return data != nullptr && data->hasImage();
}

bool QtPlatform::GetClipboardPicture(Surface& out) {
  const QImage image = QApplication::clipboard()->image();
  return !image.isNull() && ImageToSurface(image, out);
}

void QtPlatform::SetClipboardPicture(const Surface& picture) {
  QApplication::clipboard()->setImage(SurfaceView(picture).copy());
}

std::optional<std::string> QtPlatform::LoadPicture(const std::string& path, Surface& out) {
  const QString name = Utf8(path);
  if (!QFileInfo::exists(name)) {
    return "Cannot open file \"" + path + "\". The system cannot find the file specified.";
  }
  QImageReader reader(name);
  const QImage image = reader.read();
  if (image.isNull()) return "Bitmap image is not valid: " + path;
  if (!ImageToSurface(image, out)) return "Not enough memory for " + path;
  return std::nullopt;
}

std::optional<std::string> QtPlatform::SavePicture(const std::string& path,
                                                   const Surface& picture) {
  const QString name = Utf8(path);
  const char* format = name.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive) ? "PNG" : "BMP";
  if (!SurfaceView(picture).save(name, format)) return "Cannot create file \"" + path + "\".";
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
