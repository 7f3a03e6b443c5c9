#pragma once

#include <QImage>
#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "form/catalogue.h"
#include "platform/platform.h"
#include "platform/qt/picture_codec.h"
#include "platform/raster/surface.h"

class QLockFile;
class QWidget;

namespace quillo {

// Turns a filter of "name|pattern" pairs into Qt's "name (pattern);;..." form; a name
// that ends in its patterns already shows them once. The names are translated with
// words when given.
QString QtFileFilter(const std::string& filter, const Catalogue* words = nullptr);

// Adds the default extension to a chosen name whose last part has none.
QString WithDefaultExtension(const QString& path, const std::string& defaultExtension);

// The extension of a Qt filter's first pattern ("GIF (*.gif)" gives "gif"), or the
// empty string for a pattern without one.
QString FilterExtension(const QString& qtFilter);

// Where the dialogs for a kind of file open when none has been used yet: the user's
// pictures, videos or documents folder, or home when that folder is not there.
QString StartFolder(FileKind kind);

// The platform interface done with Qt widgets, the clipboard and QImage files.
class QtPlatform : public Platform {
 public:
  QtPlatform();
  ~QtPlatform() override;  // gives up the locks it holds

  // Dialogs and message boxes are centred on the dialog parent once it is set.
  void SetDialogParent(QWidget* parent) { dialog_parent_ = parent; }
  // The words of the dialogs' buttons and filter names, from the program's catalogue
  // (which outlives the platform's dialogs); English while none is set.
  void SetCatalogue(const Catalogue* words) { words_ = words; }
  // The window a dialog or message box opened now belongs to: the one on top (an
  // open dialog, the active window, a shown secondary window), else the dialog parent,
  // so a message at start or from a start screen button is not hidden behind the canvas.
  QWidget* DialogParent() const;
  // Runs before each round of pending events, so the windows can show what the
  // engine changed while it keeps working.
  void SetPendingEventsHook(std::function<void()> hook) { pending_events_hook_ = std::move(hook); }

  std::optional<std::string> OpenFileName(const FileDialogSpec& spec) override;
  std::optional<std::string> SaveFileName(const FileDialogSpec& spec) override;
  Answer Ask(const std::string& text, QuestionButtons buttons) override;
  void ShowError(const std::string& message) override;
  void ShowInformation(const std::string& message) override;
  bool ClipboardHasPicture() override;
  bool GetClipboardPicture(Surface& out) override;
  void SetClipboardPicture(const Surface& picture) override;
  std::optional<std::string> LoadPicture(const std::string& path, Surface& out) override;
  std::optional<std::string> SavePicture(const std::string& path, const Surface& picture) override;
  void Beep() override;
  void MovePointer(Point screenPoint) override;
  void ProcessPendingEvents() override;
  ScreenSize GetScreenSize() override;
  uint64_t ClockMillis() override;
  LockOutcome TakeLock(const std::string& path) override;

 private:
  // A button's or a dialog's words in the program's language.
  QString Words(std::string_view english) const;
  std::optional<std::string> RunFileDialog(const FileDialogSpec& spec, bool save);

  QWidget* dialog_parent_ = nullptr;
  const Catalogue* words_ = nullptr;
  std::vector<std::unique_ptr<QLockFile>> locks_;
  std::function<void()> pending_events_hook_;
  // The folder of the last file chosen, by kind.
  std::map<FileKind, QString> last_folder_;
};

}  // namespace quillo
