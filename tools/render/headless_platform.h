#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace quillo {

// The platform of a program without windows: a screen of a given size, no dialogs
// (every dialog is cancelled, every question answered "No"), no clipboard, and
// pictures read and written as the program does. Error messages are collected.
class HeadlessPlatform : public Platform {
 public:
  explicit HeadlessPlatform(ScreenSize screen) : screen_(screen) {}

  std::vector<std::string> errors;
  // The picture writes that failed: the output or a frame.
  int failedWrites = 0;

  std::optional<std::string> OpenFileName(const FileDialogSpec&) override { return std::nullopt; }
  std::optional<std::string> SaveFileName(const FileDialogSpec&) override { return std::nullopt; }
  Answer Ask(const std::string&, QuestionButtons) override { return Answer::kNo; }
  void ShowError(const std::string& message) override { errors.push_back(message); }
  void ShowInformation(const std::string&) override {}
  bool ClipboardHasPicture() override { return false; }
  bool GetClipboardPicture(Surface&) override { return false; }
  void SetClipboardPicture(const Surface&) override {}
  std::optional<std::string> LoadPicture(const std::string& path, Surface& out) override;
  std::optional<std::string> SavePicture(const std::string& path, const Surface& picture) override;
  void Beep() override {}
  void MovePointer(Point) override {}
  void ProcessPendingEvents() override {}
  ScreenSize GetScreenSize() override { return screen_; }
  uint64_t ClockMillis() override { return 0; }

 private:
  ScreenSize screen_;
};

}  // namespace quillo
