#pragma once

#include <QObject>
#include <QTimer>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
#include "app/qt/form_window.h"
#include "app/qt/paint_log_window.h"
#include "app/qt/video_export.h"
#include "platform/qt/qt_platform.h"

namespace quillo {

// The application: the Qt platform, the program and its six windows. Every event
// handed to the engine and every timer tick is followed by Sync, which shows what
// the engine changed: windows, controls, the canvas, the timers and the requests to
// quit, minimise or write a replay video.
class Shell : public QObject {
  Q_OBJECT

 public:
  // The program's files live in programDir (ending in a separator). The platform
  // defaults to the plain Qt one; tests pass one with scripted answers.
  explicit Shell(std::string programDir,
                 std::unique_ptr<QtPlatform> platform = std::make_unique<QtPlatform>());
  ~Shell() override;

  // Creates the program's windows in order and shows the ones the engine shows.
  void Start();

  Program& program() { return program_; }
  VideoExport& Export() { return *video_export_; }
  PaintLogWindow& MainWindow() { return *main_window_; }
  FormWindow& Window(WindowId id) { return *windows_[static_cast<size_t>(id)]; }

  // Brings every window, the canvas and the timers up to date with the engine and
  // acts on its requests.
  void Sync();

 private:
  bool Dispatch(WindowState& window, const ControlEvent& event);
  // The last made of the windows shown, which lies over the others.
  QWidget* FrontWindow() const;
  void SyncTimers();
  void SyncRequests();
  void OnTimer(TimerId id);

  std::unique_ptr<QtPlatform> platform_;
  Program program_;
  std::vector<std::unique_ptr<FormWindow>> windows_;  // in creation order
  PaintLogWindow* main_window_ = nullptr;
  std::unique_ptr<VideoExport> video_export_;
  std::array<QTimer, static_cast<size_t>(TimerId::kCount)> timers_;
  KeyPreview key_preview_;
  bool syncing_ = false;
  bool resync_ = false;
};

}  // namespace quillo
