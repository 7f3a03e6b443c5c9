#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/raster/geometry.h"

namespace quillo {

class Surface;

// The kinds of file a dialog looks for: the dialog opens where the user keeps them,
// then where the last one of that kind was, and the program's own files in the
// program's folder.
enum class FileKind : uint8_t { kProgramFiles, kPictures, kVideos, kDocuments };

// What a file dialog shows and demands. The filter is the pairs of name and
// pattern separated by vertical bars, e.g. "Bitmap|*.bmp".
struct FileDialogSpec {
  std::string filter;
  std::string defaultExtension;
  bool mustExist = false;         // open dialogs: only an existing file may be chosen
  bool confirmOverwrite = false;  // save dialogs: ask before replacing a file
  FileKind kind = FileKind::kProgramFiles;
};

// A question's buttons, left to right, and the answer given. A question with
// "Cancel" that is dismissed is answered kCancel.
enum class QuestionButtons : uint8_t { kNoOk, kSaveDiscardCancel };
enum class Answer : uint8_t { kNo, kOk, kSave, kDiscard, kCancel };

// What came of asking for a lock file.
enum class LockOutcome : uint8_t {
  kTaken,          // this program holds it now
  kHeldElsewhere,  // another running program holds it
  kFailed,         // it cannot be made (a read-only folder, say)
};

struct ScreenSize {
  int32_t width = 0;
  int32_t height = 0;
};

// The narrow interface the engine asks of the window system. The Qt shell
// implements it; tests use a scripted fake that records every request.
class Platform {
 public:
  virtual ~Platform() = default;

  // The chosen path, or nothing when the user cancels.
  virtual std::optional<std::string> OpenFileName(const FileDialogSpec& spec) = 0;
  virtual std::optional<std::string> SaveFileName(const FileDialogSpec& spec) = 0;

  // A message box with the information icon and the given buttons.
  virtual Answer Ask(const std::string& text, QuestionButtons buttons) = 0;
  // Reports a failure to the user.
  virtual void ShowError(const std::string& message) = 0;
  // Tells the user something that is no failure, with the information icon.
  virtual void ShowInformation(const std::string& message) = 0;

  // Clipboard in picture form.
  virtual bool ClipboardHasPicture() = 0;
  // Loads the clipboard picture into out (resized to fit, or filled in place when it
  // has the picture's size already); false when there is none.
  virtual bool GetClipboardPicture(Surface& out) = 0;
  virtual void SetClipboardPicture(const Surface& picture) = 0;

  // Reads a picture file into out (resized to the picture). On failure returns the
  // message to show and leaves out as it was.
  virtual std::optional<std::string> LoadPicture(const std::string& path, Surface& out) = 0;
  // Writes picture to path (BMP, or PNG for a ".png" name); the message on failure.
  virtual std::optional<std::string> SavePicture(const std::string& path,
                                                 const Surface& picture) = 0;

  // The default beep.
  virtual void Beep() = 0;
  // Moves the mouse pointer to a screen point.
  virtual void MovePointer(Point screenPoint) = 0;
  // Lets the window system handle what is pending, once.
  virtual void ProcessPendingEvents() = 0;
  virtual ScreenSize GetScreenSize() = 0;
  // Milliseconds since 1970 UTC; seeds random choices and dates files set aside.
  virtual uint64_t ClockMillis() = 0;

  // Takes the lock file at path for as long as the platform lives; one left by a
  // program that no longer runs is taken over. The programs that keep no drawing
  // for a restart (tools, tests) take no real lock.
  virtual LockOutcome TakeLock(const std::string& /*path*/) { return LockOutcome::kTaken; }
};

}  // namespace quillo
