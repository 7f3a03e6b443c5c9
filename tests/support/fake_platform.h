#pragma once

#include <cstdint>
#include <deque>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/raster/surface.h"

namespace quillo::testing {

// A scripted platform: answers come from queues the test fills, and every request
// is recorded for the test to check.
class FakePlatform : public Platform {
 public:
  ScreenSize screen{1024, 768};
  std::deque<std::optional<std::string>> openAnswers;
  std::deque<std::optional<std::string>> saveAnswers;
  // Empty: the user dismisses the box (No, or Cancel where there is one).
  std::deque<Answer> questionAnswers;
  uint64_t clock = 0;

  std::vector<FileDialogSpec> openDialogs;
  std::vector<FileDialogSpec> saveDialogs;
  std::vector<std::string> questions;
  std::vector<std::string> errors;
  std::vector<std::string> notes;  // information messages
  int beeps = 0;
  int pendingEventRounds = 0;
  std::vector<Point> pointerMoves;
  bool clipboardHasPicture = false;
  Surface clipboardPicture;  // what the clipboard holds while it has a picture
  int clipboardWrites = 0;
  // Picture files by path: LoadPicture reads them, SavePicture writes them unless
  // saveError is set, in which case it fails with that message.
  std::map<std::string, Surface> pictureFiles;
  std::optional<std::string> saveError;
  // With picturesOnDisk, picture files are real files of the fake's own raw format
  // instead, so the program's checks for files see them.
  bool picturesOnDisk = false;
  std::vector<std::string> savedPictures;
  // Runs at each round of pending events, as a window system's events would.
  std::function<void()> onPendingEvents;

  std::optional<std::string> OpenFileName(const FileDialogSpec& spec) override {
    openDialogs.push_back(spec);
    return Pop(openAnswers);
  }
  std::optional<std::string> SaveFileName(const FileDialogSpec& spec) override {
    saveDialogs.push_back(spec);
    return Pop(saveAnswers);
  }
  Answer Ask(const std::string& text, QuestionButtons buttons) override {
    questions.push_back(text);
    if (questionAnswers.empty())
      return buttons == QuestionButtons::kSaveDiscardCancel ? Answer::kCancel : Answer::kNo;
    const Answer a = questionAnswers.front();
    questionAnswers.pop_front();
    return a;
  }
  void ShowError(const std::string& message) override { errors.push_back(message); }
  void ShowInformation(const std::string& message) override { notes.push_back(message); }
  bool ClipboardHasPicture() override { return clipboardHasPicture; }
  bool GetClipboardPicture(Surface& out) override {
    return clipboardHasPicture && out.CopyFrom(clipboardPicture);
  }
  void SetClipboardPicture(const Surface& picture) override {
    clipboardHasPicture = clipboardPicture.CopyFrom(picture);
    ++clipboardWrites;
  }
  std::optional<std::string> LoadPicture(const std::string& path, Surface& out) override {
    if (picturesOnDisk) return LoadFromDisk(path, out);
    const auto it = pictureFiles.find(path);
    if (it == pictureFiles.end() || !out.CopyFrom(it->second)) return "Cannot open " + path;
    return std::nullopt;
  }
  std::optional<std::string> SavePicture(const std::string& path, const Surface& picture) override {
    if (saveError) return *saveError;
    if (picturesOnDisk) return SaveToDisk(path, picture);
    if (!pictureFiles[path].CopyFrom(picture)) return "Cannot write " + path;
    return std::nullopt;
  }
  void Beep() override { ++beeps; }
  void MovePointer(Point p) override { pointerMoves.push_back(p); }
  void ProcessPendingEvents() override {
    ++pendingEventRounds;
    if (onPendingEvents) onPendingEvents();
  }
  ScreenSize GetScreenSize() override { return screen; }
  LockOutcome TakeLock(const std::string&) override { return lockOutcome; }
  LockOutcome lockOutcome = LockOutcome::kTaken;
  uint64_t ClockMillis() override { return clock; }

 private:
  std::optional<std::string> LoadFromDisk(const std::string& path, Surface& out) {
    std::ifstream in(path, std::ios::binary);
    int32_t size[2] = {0, 0};
    if (!in.read(reinterpret_cast<char*>(size), sizeof size)) return "Cannot open " + path;
    Surface loaded;
    if (!loaded.Resize(size[0], size[1]) ||
        !in.read(reinterpret_cast<char*>(loaded.Bits()),
                 static_cast<std::streamsize>(size[0]) * size[1] * 4))
      return "Cannot read " + path;
    out = std::move(loaded);
    return std::nullopt;
  }
  std::optional<std::string> SaveToDisk(const std::string& path, const Surface& p) {
    std::ofstream file(path, std::ios::binary);
    const int32_t size[2] = {p.Width(), p.Height()};
    file.write(reinterpret_cast<const char*>(size), sizeof size);
    file.write(reinterpret_cast<const char*>(p.Bits()),
               static_cast<std::streamsize>(p.Width()) * p.Height() * 4);
    if (!file.flush()) return "Cannot write " + path;
    savedPictures.push_back(path);
    return std::nullopt;
  }
  static std::optional<std::string> Pop(std::deque<std::optional<std::string>>& q) {
    if (q.empty()) return std::nullopt;
    auto v = q.front();
    q.pop_front();
    return v;
  }
};

}  // namespace quillo::testing
