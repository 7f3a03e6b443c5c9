// The VIDEO button of the file panel: a save dialog, then the log filmed in a worker
// thread behind a progress dialog, with the user's program left as it was.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProgressDialog>
#include <QPushButton>
#include <QThread>
#include <deque>
#include <filesystem>

#include "shell_fixture.h"

namespace quillo {
namespace {

namespace fs = std::filesystem;

// Save dialogs answered from a list.
class SavingPlatform : public ScriptedPlatform {
 public:
  std::optional<std::string> SaveFileName(const FileDialogSpec& spec) override {
    saveFilters.push_back(spec.filter);
    if (saveAnswers.empty()) return std::nullopt;
    std::string name = saveAnswers.front();
    saveAnswers.pop_front();
    return name;
  }
  std::deque<std::string> saveAnswers;
  std::vector<std::string> saveFilters;
};

class VideoExportTest : public ShellTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    auto platform = std::make_unique<SavingPlatform>();
    saving_ = platform.get();
    platform_ = platform.get();
    shell_ = std::make_unique<Shell>(dir_.path().toStdString() + "/", std::move(platform));
    shell_->Start();
  }

  std::string Path(const char* name) { return dir_.path().toStdString() + "/" + name; }

  // Lets the window's events run until the export is over; false after a minute.
  bool WaitForExport() {
    QElapsedTimer clock;
    clock.start();
    while (shell_->Export().Running()) {
      if (clock.elapsed() > 60000) return false;
      QApplication::processEvents(QEventLoop::AllEvents, 20);
      QThread::msleep(5);
    }
    return true;
  }

  SavingPlatform* saving_ = nullptr;
};

TEST_F(VideoExportTest, TheButtonWritesTheReplayAndLeavesTheDrawingAsItWas) {
  Drag({{100, 100}, {180, 140}, {260, 120}, {300, 200}, {220, 260}});
  Click(Widget("SpeedButton53"));  // the file panel
  QWidget* button = Widget("VideoBtn");
  ASSERT_NE(button, nullptr);
  ASSERT_TRUE(button->isVisibleTo(&Window()));
  EXPECT_EQ(button->toolTip(), QStringLiteral("SAVE THE REPLAY AS A VIDEO OR GIF"));

  const Surface& canvas = Prog().main.images.canvas;
  const std::vector<uint32_t> before(canvas.Bits(),
                                     canvas.Bits() + size_t(canvas.Width()) * canvas.Height());
  const int32_t position = Prog().log.position;
  const int32_t count = Prog().log.Count();
  const int32_t length = Prog().replayState.length;
  const bool recording = Prog().drawing.recording;

  saving_->saveAnswers = {Path("replay.gif")};
  Click(button);
  ASSERT_EQ(saving_->saveFilters.size(), 1u);
  EXPECT_EQ(saving_->saveFilters[0],
            "MP4 video (*.mp4)|*.mp4|WebM video (*.webm)|*.webm|Animated GIF (*.gif)|*.gif");
  ASSERT_TRUE(shell_->Export().Running());
  EXPECT_TRUE(shell_->Export().Dialog().isVisible());
  EXPECT_EQ(shell_->Export().Dialog().windowModality(), Qt::WindowModal);

  // While it runs the window goes on working: a stroke drawn now is the user's own.
  Drag({{400, 300}, {450, 320}});
  const std::vector<uint32_t> drawn(canvas.Bits(),
                                    canvas.Bits() + size_t(canvas.Width()) * canvas.Height());
  const int32_t countAfterStroke = Prog().log.Count();
  EXPECT_GT(countAfterStroke, count);
  EXPECT_NE(drawn, before);

  ASSERT_TRUE(WaitForExport());
  EXPECT_FALSE(shell_->Export().Dialog().isVisible());
  EXPECT_TRUE(platform_->errors.empty()) << platform_->errors.front();
  // It ends saying where the file is.
  ASSERT_EQ(platform_->notes.size(), 1u);
  EXPECT_EQ(platform_->notes[0], "The video is saved as \"" + Path("replay.gif") + "\".");
  QFile gif(QString::fromStdString(Path("replay.gif")));
  ASSERT_TRUE(gif.open(QIODevice::ReadOnly));
  EXPECT_EQ(gif.read(6), QByteArray("GIF89a"));
  EXPECT_GT(gif.size(), 1000);

  // The export touched nothing of the user's program.
  EXPECT_EQ(std::vector<uint32_t>(canvas.Bits(),
                                  canvas.Bits() + size_t(canvas.Width()) * canvas.Height()),
            drawn);
  EXPECT_EQ(Prog().log.position, position + (countAfterStroke - count));
  EXPECT_EQ(Prog().log.Count(), countAfterStroke);
  EXPECT_EQ(Prog().replayState.length, length);
  EXPECT_EQ(Prog().drawing.recording, recording);
  EXPECT_FALSE(Prog().Replaying());
}

TEST_F(VideoExportTest, CancelLeavesNoFileAndSaysSo) {
  Drag({{100, 100}, {500, 140}, {260, 420}, {700, 500}});
  Click(Widget("SpeedButton53"));
  saving_->saveAnswers = {Path("replay.mp4")};
  Click(Widget("VideoBtn"));
  ASSERT_TRUE(shell_->Export().Running());
  auto* cancel = shell_->Export().Dialog().findChild<QPushButton*>();
  ASSERT_NE(cancel, nullptr);
  EXPECT_EQ(cancel->text(), QStringLiteral("Cancel"));
  cancel->click();
  ASSERT_TRUE(WaitForExport());
  // A cancel is information, not an error.
  EXPECT_TRUE(platform_->errors.empty());
  ASSERT_EQ(platform_->notes.size(), 1u);
  EXPECT_NE(platform_->notes[0].find("Cancelled"), std::string::npos) << platform_->notes[0];
  EXPECT_NE(platform_->notes[0].find("replay.mp4"), std::string::npos);
  for (const auto& entry : fs::directory_iterator(dir_.path().toStdString()))
    EXPECT_EQ(entry.path().filename().string().find("replay.mp4"), std::string::npos)
        << entry.path();
}

// Every filter reads as its name and its patterns, once; the first pattern's
// extension is the one a name typed without one gets.
TEST(VideoDialogFilter, EveryFilterReadsAsANameAndItsPatterns) {
  EXPECT_EQ(
      QtFileFilter("MP4 video (*.mp4)|*.mp4|WebM video (*.webm)|*.webm|Animated GIF (*.gif)|*.gif"),
      QStringLiteral("MP4 video (*.mp4);;WebM video (*.webm);;Animated GIF (*.gif)"));
  EXPECT_EQ(QtFileFilter("bitmap|*.bmp|Pictures|*.bmp;*.png"),
            QStringLiteral("bitmap (*.bmp);;Pictures (*.bmp *.png)"));
  EXPECT_EQ(QtFileFilter("Quilloplay(*.qlr)|*.qlr|Specials|*.spl"),
            QStringLiteral("Quilloplay (*.qlr);;Specials (*.spl)"));
  const std::pair<const char*, const char*> extensions[] = {
      {"Animated GIF (*.gif)", "gif"}, {"Pictures (*.png *.jpg)", "png"}, {"All (*)", ""}};
  for (const auto& [filter, ext] : extensions)
    EXPECT_EQ(FilterExtension(QString::fromLatin1(filter)), QString::fromLatin1(ext)) << filter;
}

// The dialogs open in the user's own folders, as the desktop names them, and in
// home where such a folder is not there.
TEST(VideoDialogFilter, DialogsStartInTheUsersFoldersOrHome) {
  QTemporaryDir config;
  QTemporaryDir home;
  ASSERT_TRUE(QDir(home.path()).mkdir(QStringLiteral("Bilder")));
  QFile dirs(config.path() + QStringLiteral("/user-dirs.dirs"));
  ASSERT_TRUE(dirs.open(QIODevice::WriteOnly));
  dirs.write("XDG_PICTURES_DIR=\"$HOME/Bilder\"\nXDG_VIDEOS_DIR=\"$HOME/Filme\"\n");
  dirs.close();
  const QByteArray oldHome = qgetenv("HOME");
  const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
  qputenv("HOME", home.path().toUtf8());
  qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
  EXPECT_EQ(StartFolder(FileKind::kPictures), home.path() + QStringLiteral("/Bilder"));
  EXPECT_EQ(StartFolder(FileKind::kVideos), QDir::homePath());  // no Filme folder
  qputenv("HOME", oldHome);
  if (oldConfig.isNull()) {
    qunsetenv("XDG_CONFIG_HOME");
  } else {
    qputenv("XDG_CONFIG_HOME", oldConfig);
  }
}

}  // namespace
}  // namespace quillo
