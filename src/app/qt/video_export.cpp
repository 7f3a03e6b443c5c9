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

VideoExport::VideoExport(QWidget* parent, std::string programDir,
                         std::function<void(const ReplayVideoResult&)> done)
    : program_dir_(std::move(programDir)), done_(std::move(done)), dialog_(parent) {
  dialog_.setWindowTitle(QStringLiteral("VIDEO"));
  dialog_.setCancelButtonText(QStringLiteral("Cancel"));
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
  dialog_.setLabelText(QStringLiteral("Writing the replay to %1")
                           .arg(QFileInfo(QString::fromStdString(path)).fileName()));
  dialog_.setValue(0);
  dialog_.show();
  worker_ = std::thread([this, log, screen, path] {
    PictureScreenPlatform platform(screen);
    auto program = std::make_unique<Program>(platform, program_dir_);
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
