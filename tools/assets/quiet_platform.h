#pragma once

#include <optional>
#include <string>

#include "platform/platform.h"

namespace quillo {

// The platform the asset generator drives the program on: a 1024 x 768 screen, no
// dialogs, no pictures, and a clock that moves on by a fixed step at every look, so
// that random picks come out the same at every build. Messages are kept.
class QuietPlatform : public Platform {
 public:
  std::string firstError;

  std::optional<std::string> OpenFileName(const FileDialogSpec&) override { return std::nullopt; }
  std::optional<std::string> SaveFileName(const FileDialogSpec&) override { return std::nullopt; }
  Answer Ask(const std::string&, QuestionButtons) override { return Answer::kNo; }
  void ShowError(const std::string& message) override {
    if (firstError.empty()) firstError = message;
  }
  void ShowInformation(const std::string&) override {}
  bool ClipboardHasPicture() override { return false; }
  bool GetClipboardPicture(Surface&) override { return false; }
  void SetClipboardPicture(const Surface&) override {}
  std::optional<std::string> LoadPicture(const std::string& path, Surface&) override {
    return "no pictures are read while making assets: " + path;
  }
  std::optional<std::string> SavePicture(const std::string& path, const Surface&) override {
    return "no pictures are written while making assets: " + path;
  }
  void Beep() override {}
  void MovePointer(Point) override {}
  void ProcessPendingEvents() override {}
  ScreenSize GetScreenSize() override { return ScreenSize{1024, 768}; }
  uint64_t ClockMillis() override { return clock_ += 7919; }

 private:
  uint64_t clock_ = 0;
};

}  // namespace quillo
