#include "app/qt/video_export.h"

#include <QFileInfo>
#include <QWidget>
#include <utility>

#include "app/program.h"
#include "log/replay_film.h"
#include "platform/qt/picture_screen_platform.h"
#include "platform/video/video_encoder.h"

namespace quillo {
namespace {

constexpr int kScale = 1000;
constexpr int kPollMillis = 50;
// The speed of "REPLAY".
constexpr int32_t kReplayBatch = 2;

}  // namespace

VideoExport::VideoExport(QWidget* parent, std::string programDir, const Catalogue& words,
                         std::function<void(const ReplayVideoResult&)> done)
    : program_dir_(std::move(programDir)), words_(words), done_(std::move(done)), dialog_(parent) {
  dialog_.setRange(0, kScale);
  dialog_.setWindowModality(Qt::WindowModal);
  dialog_.setMinimumDuration(0);
  dialog_.setAutoClose(false);
  dialog_.setAutoReset(false);
  dialog_.setMinimumWidth(360);
  // A new progress dialog shows itself after a while unless it is reset.
  dialog_.reset();
  dialog_.hide();
  connect(&dialog_, &QProgressDialog::canceled, this, [this] { cancel_ = true; });
  connect(&poll_, &QTimer::timeout, this, &VideoExport::Poll);
}

VideoExport::~VideoExport() {
  cancel_ = true;
  if (worker_.joinable()) worker_.join();
}

bool VideoExport::Start(const LoadedLog& log, ScreenSize screen, const std::string& path) {
  if (Running()) return false;
  cancel_ = false;
  finished_ = false;
  permille_ = 0;
  dialog_.setWindowTitle(QString::fromStdString(words_.Text("VIDEO")));
  dialog_.setCancelButtonText(QString::fromStdString(words_.Text("Cancel")));
  const std::string name = QFileInfo(QString::fromStdString(path)).fileName().toStdString();
  dialog_.setLabelText(
      QString::fromStdString(Arg(words_.Text("Writing the replay to %1"), {name})));
  dialog_.setValue(0);
  dialog_.show();
  worker_ = std::thread([this, log, screen, path, words = words_] {
    PictureScreenPlatform platform(screen);
    auto program = std::make_unique<Program>(platform, program_dir_);
    // Its messages in the user's language.
    program->SetLanguage("", words);
    program->StartUp();
    program->main.HideBottomPanels();
    StartLoadedReplay(*program, log, kReplayBatch);
    VideoEncoder encoder;
    result_ = WriteReplayVideo(
        *program, encoder, FilmTiming{}, path,
        [this](double done) { permille_ = static_cast<int>(done * kScale); }, &cancel_);
    finished_ = true;
  });
  poll_.start(kPollMillis);
  return true;
}

void VideoExport::Poll() {
  dialog_.setValue(permille_);
  if (!finished_) return;
  worker_.join();
  poll_.stop();
  dialog_.hide();
  done_(result_);
}

}  // namespace quillo
