#pragma once

#include <QObject>
#include <QProgressDialog>
#include <QTimer>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "form/catalogue.h"
#include "log/log_files.h"
#include "log/replay_video.h"
#include "platform/platform.h"

class QWidget;

namespace quillo {

// The video button's export: films a copy of the log on a program of its own, in a
// worker thread, while a progress dialog with "Cancel" keeps the window responsive.
// The program the user draws on is never touched.
class VideoExport : public QObject {
  Q_OBJECT

 public:
  // done is told how each export ended; parent holds the progress dialog. The export
  // speaks the language of words, which outlives it.
  VideoExport(QWidget* parent, std::string programDir, const Catalogue& words,
              std::function<void(const ReplayVideoResult&)> done);
  ~VideoExport() override;  // cancels a running export and waits for it

  // Starts filming log, replayed as "REPLAY" plays it on a screen of the given size,
  // into path. False while another export runs.
  bool Start(const LoadedLog& log, ScreenSize screen, const std::string& path);
  bool Running() const { return worker_.joinable(); }
  QProgressDialog& Dialog() { return dialog_; }

 private:
  void Poll();

  std::string program_dir_;
  const Catalogue& words_;
  std::function<void(const ReplayVideoResult&)> done_;
  QProgressDialog dialog_;
  QTimer poll_;
  std::thread worker_;
  std::atomic<bool> cancel_ = false;
  std::atomic<bool> finished_ = false;
  std::atomic<int> permille_ = 0;
  ReplayVideoResult result_;  // written by the worker before finished_
};

}  // namespace quillo
