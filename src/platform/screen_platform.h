#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace quillo {

// The platform of a program that runs without windows (the renderer, the video
// export, the asset and picture generators, the benchmarks and the fuzz targets): a
// screen of a given size and nobody there. Every file dialog is cancelled; a question
// is answered "No", or "Cancel" where it has one, so nothing is lost; there is no
// clipboard, sound or pointer; messages are kept; picture files are refused. The
// clock stands still, or steps on by a fixed amount at every look, so that random
// choices come out the same at every run. Each user overrides only what it must.
class ScreenPlatform : public Platform {
 public:
  explicit ScreenPlatform(ScreenSize screen, uint64_t clockStep = 0)
      : screen_(screen), clock_step_(clockStep) {}

  std::vector<std::string> errors;  // the failures reported, in order
  std::vector<std::string> notes;   // the information given, in order

  std::optional<std::string> OpenFileName(const FileDialogSpec&) override { return std::nullopt; }
  std::optional<std::string> SaveFileName(const FileDialogSpec&) override { return std::nullopt; }
  Answer Ask(const std::string&, QuestionButtons buttons) override {
    return buttons == QuestionButtons::kSaveDiscardCancel ? Answer::kCancel : Answer::kNo;
  }
  void ShowError(const std::string& message) override { errors.push_back(message); }
  void ShowInformation(const std::string& message) override { notes.push_back(message); }
  bool ClipboardHasPicture() override { return false; }
  bool GetClipboardPicture(Surface&) override { return false; }
  void SetClipboardPicture(const Surface&) override {}
  std::optional<std::string> LoadPicture(const std::string& path, Surface&) override {
    return "No picture files are read here: " + path;
  }
  std::optional<std::string> SavePicture(const std::string& path, const Surface&) override {
    return "No picture files are written here: " + path;
  }
  void Beep() override {}
  void MovePointer(Point) override {}
  void ProcessPendingEvents() override {}
  ScreenSize GetScreenSize() override { return screen_; }
  uint64_t ClockMillis() override { return clock_ += clock_step_; }

 private:
  ScreenSize screen_;
  uint64_t clock_step_;
  uint64_t clock_ = 0;
};

}  // namespace quillo
