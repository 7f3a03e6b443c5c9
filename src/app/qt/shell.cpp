#include "app/qt/shell.h"

#include <QCoreApplication>
#include <utility>

#include "app/qt/cube_form_window.h"
#include "log/replay_film.h"

namespace quillo {

Shell::Shell(std::string programDir, std::unique_ptr<QtPlatform> platform)
    : platform_(std::move(platform)), program_(*platform_, std::move(programDir)) {
  const std::string& dir = program_.programDir;
  for (WindowState* state : program_.Windows()) {
    auto sink = [this, state](const ControlEvent& e) { return Dispatch(*state, e); };
    auto afterEvent = [this] { Sync(); };
    if (state == &program_.main.window) {
      auto window = std::make_unique<PaintLogWindow>(program_.main, sink, afterEvent, dir);
      main_window_ = window.get();
      windows_.push_back(std::move(window));
    } else if (state == &program_.cubeForm.window) {
      windows_.push_back(std::make_unique<CubeFormWindow>(program_.cubeForm, program_.log.Lines(),
                                                          sink, afterEvent, dir, main_window_));
    } else {
      // Every other window is a transient child of the main window, created first.
      windows_.push_back(std::make_unique<FormWindow>(*state, sink, afterEvent, dir, main_window_));
    }
  }
  video_export_ = std::make_unique<VideoExport>(
      main_window_, dir, program_.catalogue, [this](const ReplayVideoResult& result) {
        // A cancel is the user's own choice: information, as the saved file is.
        if (result.outcome == ReplayVideoResult::kFailed) {
          platform_->ShowError(result.message);
        } else {
          platform_->ShowInformation(result.message);
        }
      });
  platform_->SetCatalogue(&program_.catalogue);
  // Work that lets pending events run (the first-run rendering) shows its progress.
  platform_->SetPendingEventsHook([this] { Sync(); });

  for (size_t i = 0; i < timers_.size(); ++i) {
    const auto id = static_cast<TimerId>(i);
    connect(&timers_[i], &QTimer::timeout, this, [this, id] { OnTimer(id); });
  }
  qApp->installEventFilter(&key_preview_);
}

Shell::~Shell() {
  qApp->removeEventFilter(&key_preview_);
  platform_->SetPendingEventsHook(nullptr);
  // The export's progress window is the main window's, and the main window, first
  // made, goes last: Qt would take its transient children with it.
  video_export_.reset();
  while (!windows_.empty())
    windows_.pop_back();
}

void Shell::Start() {
  program_.StartUp();
  Sync();
}

bool Shell::Dispatch(WindowState& window, const ControlEvent& event) {
  const bool handled = window.form.Dispatch(event);
  Sync();
  return handled;
}

void Shell::Sync() {
  // Showing a window can deliver events whose handlers ask for another round; it
  // runs once this one is done.
  if (syncing_) {
    resync_ = true;
    return;
  }
  syncing_ = true;
  do {
    resync_ = false;
    for (auto& window : windows_)
      window->Sync();
    // Dialogs and messages are transient children of the window in front, which gets
    // the focus back when they go.
    platform_->SetDialogParent(FrontWindow());
    SyncTimers();
    SyncRequests();
  } while (resync_);
  syncing_ = false;
}

QWidget* Shell::FrontWindow() const {
  for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
    FormWindow& window = **it;
    if (window.isWindow() && window.isVisible() && !window.isMinimized()) return &window;
  }
  return main_window_;
}

void Shell::SyncTimers() {
  for (size_t i = 0; i < timers_.size(); ++i) {
    const Timer& t = program_.timers[static_cast<TimerId>(i)];
    QTimer& q = timers_[i];
    // An interval of 0 stops a timer, as it does on the platform the program was
    // made for.
    if (t.enabled && t.interval > 0) {
      if (!q.isActive() || q.interval() != t.interval) q.start(t.interval);
    } else if (q.isActive()) {
      q.stop();
    }
  }
}

void Shell::SyncRequests() {
  ShellRequests& r = program_.requests;
  if (r.minimize) {
    r.minimize = false;
    for (auto& window : windows_) {
      if (window->isVisible()) window->showMinimized();
    }
  }
  if (r.saveVideo) {
    const std::string path = *std::exchange(r.saveVideo, std::nullopt);
    const Surface& canvas = program_.main.images.canvas;
    if (!video_export_->Start(CopyOfLog(program_.log), {canvas.Width(), canvas.Height()}, path))
      platform_->ShowError("A video is being written already; \"" + path + "\" was not started");
  }
  if (r.quit) {
    r.quit = false;
    // The close question has been answered: leave the event loop without closing
    // the windows first, which would ask it again.
    QCoreApplication::exit(0);
  }
}

void Shell::OnTimer(TimerId id) {
  if (program_.timers.Enabled(id)) program_.TimerTick(id);
  Sync();
}

}  // namespace quillo
