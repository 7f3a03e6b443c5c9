#include "platform/qt/qt_platform.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QCursor>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageWriter>
#include <QLockFile>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QStringList>
#include <QWindow>
#include <memory>

#include "platform/qt/picture_codec.h"

#include "platform/qt/device_pixels.h"

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

// A picture in one file format, in memory.
QByteArray Encode(const QImage& image, const char* format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter(&buffer, format).write(image);
  return bytes;
}

}  // namespace

QString QtFileFilter(const std::string& filter, const Catalogue* words) {
  const QStringList parts = Utf8(filter).split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(';', ' ');
    patterns = patterns.trimmed();
    QString label = parts[i].trimmed();
    if (label.endsWith('(' + patterns + ')')) label.chop(patterns.size() + 2);
    label = label.trimmed();
    if (words != nullptr) label = Utf8(words->Text(label.toStdString()));
    filters << QStringLiteral("%1 (%2)").arg(label, patterns);
  }
  return filters.join(QStringLiteral(";;"));
}

QString FilterExtension(const QString& qtFilter) {
  const qsizetype open = qtFilter.lastIndexOf('(');
  const QString first = qtFilter.mid(open + 1).section(' ', 0, 0).remove(')');
  const qsizetype dot = first.lastIndexOf('.');
  if (dot < 0) return QString();
  const QString ext = first.mid(dot + 1);
  return ext.contains('*') || ext.contains('?') ? QString() : ext;
}

QString StartFolder(FileKind kind) {
  const QStandardPaths::StandardLocation where =
      kind == FileKind::kPictures ? QStandardPaths::PicturesLocation
      : kind == FileKind::kVideos ? QStandardPaths::MoviesLocation
                                  : QStandardPaths::DocumentsLocation;
  const QString folder = QStandardPaths::writableLocation(where);
  if (!folder.isEmpty() && QFileInfo(folder).isDir()) return folder;
  return QDir::homePath();
}

QString WithDefaultExtension(const QString& path, const std::string& defaultExtension) {
  const QString ext = BareExtension(defaultExtension);
  if (ext.isEmpty() || path.isEmpty() || !QFileInfo(path).suffix().isEmpty()) return path;
  return path + '.' + ext;
}

QWidget* QtPlatform::DialogParent() const {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  if (QWidget* active = QApplication::activeWindow()) return active;
  // Without a window manager nothing may be active: a shown secondary window (it has
  // a transient parent) sits above the window it belongs to.
  QWidget* top = dialog_parent_;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    const QWindow* handle = w->windowHandle();
    if (w->isVisible() && handle && handle->transientParent() && w->windowType() != Qt::ToolTip)
      top = w;
  }
  return top;
}

std::optional<std::string> QtPlatform::RunFileDialog(const FileDialogSpec& spec, bool save) {
  QString folder = QDir::currentPath();
  if (spec.kind != FileKind::kProgramFiles) {
    const auto last = last_folder_.find(spec.kind);
    folder = last != last_folder_.end() && QFileInfo(last->second).isDir() ? last->second
                                                                           : StartFolder(spec.kind);
  }
  QFileDialog dialog(DialogParent(), QString(), folder, QtFileFilter(spec.filter, words_));
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(spec.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  // The dialog appends the extension itself, so its overwrite question sees the full
  // name; the filter chosen decides which.
  dialog.setDefaultSuffix(BareExtension(spec.defaultExtension));
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& f) {
    const QString ext = FilterExtension(f);
    if (!ext.isEmpty()) dialog.setDefaultSuffix(ext);
  });
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !spec.confirmOverwrite);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  const QString chosen = dialog.selectedFiles().front();
  if (spec.kind != FileKind::kProgramFiles)
    last_folder_[spec.kind] = QFileInfo(chosen).absolutePath();
  // The name as the system's bytes: a name that is not UTF-8 stays the file it names.
  return QFile::encodeName(WithDefaultExtension(chosen, dialog.defaultSuffix().toStdString()))
      .toStdString();
}

std::optional<std::string> QtPlatform::OpenFileName(const FileDialogSpec& spec) {
  return RunFileDialog(spec, false);
}

std::optional<std::string> QtPlatform::SaveFileName(const FileDialogSpec& spec) {
  return RunFileDialog(spec, true);
}

Answer QtPlatform::Ask(const std::string& text, QuestionButtons buttons) {
  QMessageBox box(QMessageBox::Information, QApplication::applicationName(), Utf8(text),
                  QMessageBox::NoButton, DialogParent());
  // Action roles keep the buttons in the order added, whatever the desktop's layout.
  if (buttons == QuestionButtons::kSaveDiscardCancel) {
    QPushButton* save = box.addButton(Words("Save\u2026"), QMessageBox::ActionRole);
    QPushButton* discard = box.addButton(Words("Discard"), QMessageBox::ActionRole);
    QPushButton* cancel = box.addButton(Words("Cancel"), QMessageBox::ActionRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == save      ? Answer::kSave
           : box.clickedButton() == discard ? Answer::kDiscard
                                            : Answer::kCancel;
  }
  QPushButton* no = box.addButton(Words("No"), QMessageBox::ActionRole);
  QPushButton* ok = box.addButton(Words("OK"), QMessageBox::ActionRole);
  box.setDefaultButton(ok);
  box.setEscapeButton(no);
  box.exec();
  return box.clickedButton() == ok ? Answer::kOk : Answer::kNo;
}

void QtPlatform::ShowError(const std::string& message) {
  QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), Utf8(message),
                  QMessageBox::NoButton, DialogParent());
  box.setEscapeButton(box.addButton(Words("OK"), QMessageBox::AcceptRole));
  box.exec();
}

void QtPlatform::ShowInformation(const std::string& message) {
  QMessageBox box(QMessageBox::Information, QApplication::applicationName(), Utf8(message),
                  QMessageBox::NoButton, dialog_parent_);
  box.setEscapeButton(box.addButton(Words("OK"), QMessageBox::AcceptRole));
  box.exec();
}

QString QtPlatform::Words(std::string_view english) const {
  return Utf8(words_ == nullptr ? std::string(english) : words_->Text(english));
}

bool QtPlatform::ClipboardHasPicture() {
  const QMimeData* data = QApplication::clipboard()->mimeData();
  return data != nullptr && OffersPicture(*data);
}

bool QtPlatform::GetClipboardPicture(Surface& out) {
  const QMimeData* data = QApplication::clipboard()->mimeData();
  return data != nullptr && DecodeOfferedPicture(*data, out);
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
  return LoadPictureFile(path, out, words_);
}

std::optional<std::string> QtPlatform::SavePicture(const std::string& path,
                                                   const Surface& picture) {
  return SavePictureFile(path, picture, words_);
}

void QtPlatform::Beep() {
  QApplication::beep();
}

void QtPlatform::MovePointer(Point screenPoint) {
  // Wayland leaves the pointer to the user: a program may not move it, and asking
  // only earns a warning.
  if (QGuiApplication::platformName().startsWith(QStringLiteral("wayland"))) return;
  QCursor::setPos(qRound(ToLogical(screenPoint.x)), qRound(ToLogical(screenPoint.y)));
}

void QtPlatform::ProcessPendingEvents() {
  if (pending_events_hook_) pending_events_hook_();
  QCoreApplication::processEvents();
}

ScreenSize QtPlatform::GetScreenSize() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return ScreenSize{1024, 768};
  // In device pixels: the canvas has one pixel for each of the screen's.
  const QRect g = screen->geometry();
  return ScreenSize{ToEngine(g.width()), ToEngine(g.height())};
}

uint64_t QtPlatform::ClockMillis() {
  return static_cast<uint64_t>(QDateTime::currentMSecsSinceEpoch());
}

QtPlatform::QtPlatform() = default;
QtPlatform::~QtPlatform() = default;

LockOutcome QtPlatform::TakeLock(const std::string& path) {
  auto lock = std::make_unique<QLockFile>(QFile::decodeName(path.c_str()));
  // Held for the whole run: only a lock whose program has gone is stale, however old.
  lock->setStaleLockTime(0);
  if (!lock->tryLock(0)) {
    return lock->error() == QLockFile::LockFailedError ? LockOutcome::kHeldElsewhere
                                                       : LockOutcome::kFailed;
  }
  locks_.push_back(std::move(lock));
  return LockOutcome::kTaken;
}

}  // namespace quillo
