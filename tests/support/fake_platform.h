#pragma once

#include <deque>
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
  bool GetClipboardPicture(Surface&) override { return false; }
  void SetClipboardPicture(const Surface&) override { clipboardHasPicture = true; }
  std::optional<std::string> LoadPicture(const std::string& path, Surface&) override {
    return "Cannot open " + path;
  }
  std::optional<std::string> SavePicture(const std::string& path, const Surface&) override {
    return "Cannot write " + path;
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
