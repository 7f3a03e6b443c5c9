// The program killed while it draws: the installed program, started on a replay
// file, keeps the drawing in its per-user folder and gets SIGKILL half-way through
// the replay; the next start brings back the drawing and the log as they were kept.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QThread>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "app/program_folder.h"
#include "app/replay_document.h"
#include "log/log_files.h"
#include "shell_fixture.h"
#include "support/fake_platform.h"

namespace quillo {
namespace {

namespace fs = std::filesystem;

constexpr const char* kQuestion =
    "Quillo closed before it could save. Bring back the last drawing?";

// A recording of many short strokes, long enough for its replay to take seconds.
void WriteRecording(const std::string& path, ScreenSize screen) {
  testing::FakePlatform platform;
  platform.screen = screen;
  Program program(platform, "");
  program.Create();
  program.startScreen.GoStraightToDrawing();
  PaintLog& m = program.main;
  for (int stroke = 0; stroke < 90; ++stroke) {
    const Point start{40 + (stroke * 37) % (screen.width - 120),
                      40 + (stroke * 53) % (screen.height - 120)};
    m.FormMouseDown(MouseButton::kLeft, {}, start);
    for (int i = 1; i <= 30; ++i)
      m.FormMouseMove({}, Point{start.x + 3 * i, start.y + (i * i) % 60});
    m.FormMouseUp(MouseButton::kLeft, {}, Point{start.x + 90, start.y});
  }
  ASSERT_FALSE(WriteReplayFile(path, program.log));
}

std::vector<uint8_t> FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

uint32_t Le32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

// The count and position of a kept log: the replay file's count, and the position
// in the second of the seven words that follow its entries.
struct KeptLog {
  LoadedLog log;
  int32_t position = 0;
};
std::optional<KeptLog> ReadKeptLog(const std::string& path) {
  const std::vector<uint8_t> bytes = FileBytes(path);
  LogReadResult read = DecodeReplayFile(bytes);
  auto* log = std::get_if<LoadedLog>(&read);
  // The entries, the size record when there is one, and the autosave's 28 bytes.
  const size_t sizeRecord = log != nullptr && log->recordedSize.Known() ? kSizeTrailerBytes : 0;
  if (log == nullptr || bytes.size() != 8 * (size_t(log->count) + 1) + sizeRecord + 28)
    return std::nullopt;
  return KeptLog{std::move(*log), static_cast<int32_t>(Le32(bytes.data() + bytes.size() - 24))};
}

// The backup Image1 of the recording replayed to a position, as the program replays
// a file it is started on.
bool ReplayedTo(const std::string& dir, const std::string& recording, ScreenSize screen,
                int32_t position, Surface& out) {
  testing::FakePlatform platform;
  platform.screen = screen;
  Program program(platform, dir);
  program.Create();
  program.startScreen.Initialise();
  OpenReplayDocument(program, recording);
  while (program.Replaying() && program.log.position < position)
    program.TimerTick(TimerId::logplaytimer);
  return program.log.position == position && out.CopyFrom(program.main.images.Backup());
}

void Click(QWidget* target) {
  const QPointF at = QRectF(target->rect()).center();
  const QPointF global = target->mapToGlobal(at);
  QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(target, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(target, &release);
}

TEST(AutosaveKillTest, AProgramKilledWhileItDrawsComesBackWithTheDrawingAndTheLogItKept) {
  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  const fs::path root = tmp.path().toStdString();
  // The program installed as its install rules lay it out: the binary, and the
  // program folder's files at the installed files' place relative to it.
  const fs::path bin = root / "usr/bin";
  const fs::path installed = bin / QUILLO_INSTALLED_FILES;
  fs::create_directories(bin);
  fs::create_directories(installed);
  fs::copy_file(QUILLO_BINARY, bin / "quillo");
  for (const fs::directory_entry& entry : fs::directory_iterator(QUILLO_PROGRAM_DIR)) {
    const std::string name = entry.path().filename().string();
    if (!entry.is_regular_file() || name.starts_with("quillo") || name.starts_with("autosave") ||
        name.starts_with("clip") || name == "littlblu.bmp")
      continue;
    fs::copy_file(entry.path(), installed / name);
  }
  for (const char* folder : {"work", "home", "data"})
    fs::create_directories(root / folder);

  const QRect screenArea = QGuiApplication::primaryScreen()->geometry();
  const ScreenSize screen{screenArea.width(), screenArea.height()};
  // A name that is not UTF-8: the program opens the file it names all the same.
  const std::string recording = (root / "drawing\xff.qlr").string();
  // QTemporaryDir cannot name it to remove it.
  const std::unique_ptr<const std::string, void (*)(const std::string*)> removeRecording(
      &recording, [](const std::string* path) { std::remove(path->c_str()); });
  WriteRecording(recording, screen);
  const LogReadResult recorded = ReadReplayFile(recording);
  ASSERT_TRUE(std::holds_alternative<LoadedLog>(recorded));
  const int32_t count = std::get<LoadedLog>(recorded).count;

  // The first run replays the file and keeps the drawing every second.
  const FolderEnvironment env{(root / "work").string(), fs::canonical(installed).string(),
                              (root / "data").string(), (root / "home").string()};
  const std::string own = PerUserFolder(env.xdgDataHome, env.home);
  // Started with the name's bytes as they are, which a QString would not keep.
  // The program runs where these tests run, on a screen of the same size.
  std::vector<std::string> childEnv = {
      "QT_QPA_PLATFORM=" + QGuiApplication::platformName().toStdString(), "HOME=" + env.home,
      "XDG_DATA_HOME=" + env.xdgDataHome, "QUILLO_AUTOSAVE_SECONDS=1"};
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string var = *e;
    if (var.find("QT_QPA_PLATFORM=") && var.find("HOME=") && var.find("XDG_DATA_HOME=") &&
        var.find("QUILLO_AUTOSAVE_SECONDS="))
      childEnv.push_back(var);  // the rest of the test's own environment
  }
  std::vector<char*> envp;
  for (std::string& var : childEnv)
    envp.push_back(var.data());
  envp.push_back(nullptr);
  std::string binary = (bin / "quillo").string();
  std::string argument = recording;
  char* argv[] = {binary.data(), argument.data(), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, env.workingDir.c_str());
  pid_t child = 0;
  ASSERT_EQ(posix_spawn(&child, binary.c_str(), &actions, nullptr, argv, envp.data()), 0);
  posix_spawn_file_actions_destroy(&actions);

  // Killed as soon as a kept drawing shows the replay under way.
  const std::string keptLog = own + Autosave::kLogName;
  const std::string keptPicture = own + Autosave::kPictureName;
  QElapsedTimer clock;
  clock.start();
  int status = 0;
  for (;;) {
    const std::optional<KeptLog> kept = ReadKeptLog(keptLog);
    if (kept && kept->log.count == count && kept->position > 8 && fs::exists(keptPicture)) break;
    if (clock.elapsed() > 15000) kill(child, SIGKILL);
    ASSERT_EQ(waitpid(child, &status, WNOHANG), 0) << "the program ended, or kept no drawing";
    QThread::msleep(20);
  }
  kill(child, SIGKILL);
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFSIGNALED(status));

  // What the killed run left: the last drawing it kept.
  const std::optional<KeptLog> kept = ReadKeptLog(keptLog);
  ASSERT_TRUE(kept);
  EXPECT_EQ(kept->log.count, count);
  QImage keptImage(QString::fromStdString(keptPicture));
  ASSERT_FALSE(keptImage.isNull());
  keptImage = keptImage.convertToFormat(QImage::Format_RGB32);
  QImage black(keptImage.size(), QImage::Format_RGB32);
  black.fill(Qt::black);
  ASSERT_NE(keptImage, black) << "nothing drawn by position " << kept->position;
  Surface replayed;
  ASSERT_TRUE(ReplayedTo(own, recording, screen, kept->position, replayed));
  EXPECT_TRUE(SurfaceView(replayed) == keptImage) << "kept at position " << kept->position;

  // The next start, in the same per-user folder, after "Go straight to drawing".
  std::string folderError;
  const std::string dir = PrepareProgramFolder(env, folderError);
  ASSERT_EQ(dir, own);
  auto scripted = std::make_unique<ScriptedPlatform>();
  ScriptedPlatform& platform = *scripted;
  platform.answer = Answer::kOk;
  Shell shell(dir, std::move(scripted));
  shell.program().autosave.Enable();
  shell.Start();
  Click(shell.Window(WindowId::kForm2).findChild<QWidget*>("Label3"));
  EXPECT_EQ(platform.questions, std::vector<std::string>{kQuestion});
  EXPECT_TRUE(platform.errors.empty());

  Program& program = shell.program();
  EXPECT_TRUE(SurfaceView(program.main.images.Backup()) == keptImage);
  EXPECT_TRUE(SurfaceView(program.main.images.canvas) == keptImage);
  EXPECT_EQ(program.log.Count(), count);
  EXPECT_EQ(program.log.position, kept->position);
  const LoadedLog& log = std::get<LoadedLog>(recorded);
  for (int32_t i = 0; i <= count; ++i) {
    ASSERT_EQ(program.log.Codes()[i], log.codes[i]) << i;
    ASSERT_EQ(program.log.Values()[i], log.values[i]) << i;
  }
  // Closed normally, the program keeps the drawing for the next start, marked as no
  // crash.
  EXPECT_TRUE(shell.MainWindow().close());
  EXPECT_TRUE(fs::exists(keptLog));
  EXPECT_TRUE(fs::exists(keptPicture));
  EXPECT_TRUE(fs::exists(dir + Autosave::kClosedName));
}

}  // namespace
}  // namespace quillo
