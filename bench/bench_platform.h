#pragma once

#include <optional>
#include <string>

#include "platform/platform.h"

namespace quillo {

// A screen of a given size and nothing else: no dialogs, no sound, no clipboard, no
// picture files, and a clock that stands still.
class BenchPlatform : public Platform {
 public:
  explicit BenchPlatform(ScreenSize screen) : screen_(screen) {}

  std::optional<std::string> OpenFileName(const FileDialogSpec&) override { return {}; }
  std::optional<std::string> SaveFileName(const FileDialogSpec&) override { return {}; }
  Answer Ask(const std::string&, QuestionButtons) override { return Answer::kNo; }
  void ShowError(const std::string&) override {}
  void ShowInformation(const std::string&) override {}
  bool ClipboardHasPicture() override { return false; }
  bool GetClipboardPicture(Surface&) override { return false; }
  void SetClipboardPicture(const Surface&) override {}
  std::optional<std::string> LoadPicture(const std::string&, Surface&) override { return "no"; }
  std::optional<std::string> SavePicture(const std::string&, const Surface&) override {
    return "no";
  }
  void Beep() override {}
  void MovePointer(Point) override {}
  void ProcessPendingEvents() override {}
  ScreenSize GetScreenSize() override { return screen_; }
  uint64_t ClockMillis() override { return 42; }

 private:
  ScreenSize screen_;
};

}  // namespace quillo
