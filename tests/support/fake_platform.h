#pragma once

#include <deque>
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
  std::deque<Answer> questionAnswers;  // empty: the user dismisses the box (No)
  uint64_t clock = 0;

  std::vector<FileDialogSpec> openDialogs;
  std::vector<FileDialogSpec> saveDialogs;
  std::vector<std::string> questions;
  std::vector<std::string> errors;
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

  std::optional<std::string> OpenFileName(const FileDialogSpec& spec) override {
    openDialogs.push_back(spec);
    return Pop(openAnswers);
  }
  std::optional<std::string> SaveFileName(const FileDialogSpec& spec) override {
    saveDialogs.push_back(spec);
    return Pop(saveAnswers);
  }
  Answer Ask(const std::string& text, QuestionButtons) override {
    questions.push_back(text);
    if (questionAnswers.empty()) return Answer::kNo;
    const Answer a = questionAnswers.front();
    questionAnswers.pop_front();
    return a;
  }
  void ShowError(const std::string& message) override { errors.push_back(message); }
  bool ClipboardHasPicture() override { return clipboardHasPicture; }
  bool GetClipboardPicture(Surface& out) override {
    return clipboardHasPicture && out.CopyFrom(clipboardPicture);
  }
  void SetClipboardPicture(const Surface& picture) override {
    clipboardHasPicture = clipboardPicture.CopyFrom(picture);
    ++clipboardWrites;
  }
  std::optional<std::string> LoadPicture(const std::string& path, Surface& out) override {
    const auto it = pictureFiles.find(path);
    if (it == pictureFiles.end() || !out.CopyFrom(it->second)) return "Cannot open " + path;
    return std::nullopt;
  }
  std::optional<std::string> SavePicture(const std::string& path, const Surface& picture) override {
    if (saveError) return *saveError;
    if (!pictureFiles[path].CopyFrom(picture)) return "Cannot write " + path;
    return std::nullopt;
  }
  void Beep() override { ++beeps; }
  void MovePointer(Point p) override { pointerMoves.push_back(p); }
  void ProcessPendingEvents() override { ++pendingEventRounds; }
  ScreenSize GetScreenSize() override { return screen; }
  uint64_t ClockMillis() override { return clock; }

 private:
  static std::optional<std::string> Pop(std::deque<std::optional<std::string>>& q) {
    if (q.empty()) return std::nullopt;
    auto v = q.front();
    q.pop_front();
    return v;
  }
};

}  // namespace quillo::testing
