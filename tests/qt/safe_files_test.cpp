// What the Qt platform does with files when things go wrong: a full disk, a link
// planted at a fixed name, names that are not UTF-8, a second copy of the program
// on the same folder, and where its messages show.
#include <sys/wait.h>
#include <unistd.h>

#include <QLockFile>
#include <QWidget>
#include <QWindow>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/program.h"
#include "shell_fixture.h"
#include "support/full_disk.h"

namespace quillo {
namespace {

namespace fs = std::filesystem;

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

Surface Picture(uint32_t colour) {
  Surface s;
  s.Resize(120, 90);
  for (int32_t y = 0; y < 90; ++y)
    for (int32_t x = 0; x < 120; ++x)
      s.SetPixel({x, y}, colour ^ static_cast<uint32_t>(x * 7 + y * 131));
  return s;
}

class SafeFilesTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
  std::string Dir() const { return dir_.path().toStdString() + "/"; }
  QTemporaryDir dir_;
};

// The old picture stays whole and the message says the disk is full, for SAVE's
// pictures of either kind and for the drawing kept for a restart.
TEST_F(SafeFilesTest, AFullDiskKeepsTheOldPictureAndSaysWhy) {
  testing::FullDisk disk;
  if (!disk.Unavailable().empty()) GTEST_SKIP() << disk.Unavailable();
  QtPlatform platform;
  for (const char* name : {"old.png", "old.bmp"})
    ASSERT_FALSE(platform.SavePicture(disk.Folder() + name, Picture(0x102030)));
  const std::string png = Contents(disk.Folder() + "old.png");
  const std::string bmp = Contents(disk.Folder() + "old.bmp");

  ScriptedPlatform kept;
  Program program(kept, disk.Folder());
  program.Create();
  program.autosave.Enable(1);
  program.startScreen.GoStraightToDrawing();
  program.main.FormMouseDown(MouseButton::kLeft, {}, {40, 40});
  program.main.FormMouseMove({}, {300, 200});
  program.main.FormMouseUp(MouseButton::kLeft, {}, {300, 200});

  ASSERT_TRUE(disk.Fill());
  for (const char* name : {"old.png", "old.bmp"}) {
    const auto fault = platform.SavePicture(disk.Folder() + name, Picture(0xA0B0C0));
    ASSERT_TRUE(fault.has_value()) << name;
    EXPECT_EQ(*fault, "Cannot write \"" + disk.Folder() + name + "\": Disk full.");
  }
  EXPECT_EQ(Contents(disk.Folder() + "old.png"), png);
  EXPECT_EQ(Contents(disk.Folder() + "old.bmp"), bmp);

  std::this_thread::sleep_for(std::chrono::milliseconds(5));  // a period of 1 ms has passed
  program.TimerTick(TimerId::autosavetimer);
  ASSERT_EQ(kept.errors.size(), 1u);
  EXPECT_NE(kept.errors[0].find("Disk full"), std::string::npos) << kept.errors[0];
  // Nothing half-written is left beside the files.
  for (const auto& entry : fs::directory_iterator(disk.Folder())) {
    const std::string name = entry.path().filename().string();
    EXPECT_TRUE(name == "old.png" || name == "old.bmp" || name == "filler" ||
                name == "autosave.lock")
        << name;
  }
}

// A fixed name in a shared folder may be a link planted by someone else: it is
// replaced, and what it points at stays as it was. File names are bytes: two names
// that differ only in bytes that are not UTF-8 are two files.
TEST_F(SafeFilesTest, LinksAtANameAreReplacedAndNamesAreBytes) {
  QtPlatform platform;
  const std::string victim = Dir() + "victim.txt";
  std::ofstream(victim) << "keep me";
  fs::create_symlink(victim, Dir() + "littlblu.bmp");
  ASSERT_FALSE(platform.SavePicture(Dir() + "littlblu.bmp", Picture(1)));
  EXPECT_TRUE(Contents(victim) == "keep me") << "the link's target was written";
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(Dir() + "littlblu.bmp")));

  const std::string a = Dir() + "a\xff.png";
  const std::string b = Dir() + "a\xfe.png";
  ASSERT_FALSE(platform.SavePicture(a, Picture(0x111111)));
  ASSERT_FALSE(platform.SavePicture(b, Picture(0x777777)));
  Surface back;
  ASSERT_FALSE(platform.LoadPicture(a, back));
  EXPECT_EQ(back.Pixel({0, 0}), 0x111111u);
  ASSERT_FALSE(platform.LoadPicture(b, back));
  EXPECT_EQ(back.Pixel({0, 0}), 0x777777u);
  fs::remove(a);  // Qt's own folder removal cannot name them
  fs::remove(b);
}

// Two copies of the program on one folder: the first keeps its drawing, also when it
// closes; the second says so once, offers nothing, writes nothing and deletes
// nothing, also when it closes. A lock left by a killed program is taken over.
TEST_F(SafeFilesTest, TwoCopiesOnOneFolderKeepOneDrawing) {
  auto copy = [this](ScriptedPlatform& platform) {
    auto program = std::make_unique<Program>(platform, Dir());
    program->Create();
    program->autosave.Enable(1);
    program->startScreen.GoStraightToDrawing();
    PaintLog& m = program->main;
    m.FormMouseDown(MouseButton::kLeft, {}, {40, 40});
    m.FormMouseMove({}, {300, 200});
    m.FormMouseUp(MouseButton::kLeft, {}, {300, 200});
    std::this_thread::sleep_for(std::chrono::milliseconds(5));  // a period of 1 ms has passed
    program->TimerTick(TimerId::autosavetimer);
    return program;
  };
  ScriptedPlatform first;
  std::unique_ptr<Program> one = copy(first);
  const std::string log = Contents(Dir() + Autosave::kLogName);
  ASSERT_FALSE(log.empty());
  EXPECT_TRUE(first.errors.empty());
  {
    ScriptedPlatform second;
    second.answer = Answer::kOk;
    std::unique_ptr<Program> two = copy(second);
    EXPECT_TRUE(second.questions.empty());
    ASSERT_EQ(second.errors.size(), 1u);
    EXPECT_NE(second.errors[0].find("Another Quillo is running"), std::string::npos);
    EXPECT_TRUE(two->main.FormCloseQuery());
    EXPECT_EQ(Contents(Dir() + Autosave::kLogName), log);
  }
  EXPECT_TRUE(first.errors.empty());
  EXPECT_TRUE(fs::exists(Dir() + Autosave::kPictureName));
  first.answer = Answer::kOk;
  EXPECT_TRUE(one->main.FormCloseQuery());
  EXPECT_EQ(Contents(Dir() + Autosave::kLogName), log);
  EXPECT_TRUE(fs::exists(Dir() + Autosave::kClosedName));

  // A program killed while it held the lock: its lock is stale, and taken over.
  const QString lockName = QString::fromStdString(Dir() + "killed.lock");
  const pid_t child = fork();
  if (child == 0) {
    QLockFile lock(lockName);
    _exit(lock.tryLock(0) ? 0 : 1);  // leaves without giving the lock up
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  ASSERT_TRUE(fs::exists(lockName.toStdString()));
  QtPlatform later;
  EXPECT_EQ(later.TakeLock(lockName.toStdString()), LockOutcome::kTaken);
  QtPlatform another;
  EXPECT_EQ(another.TakeLock(lockName.toStdString()), LockOutcome::kHeldElsewhere);
}

// A message shows over the window on top: a shown secondary window rather than the
// main window the dialogs were parented to.
TEST_F(SafeFilesTest, MessagesBelongToTheWindowOnTop) {
  QWidget main;
  main.resize(400, 300);
  main.show();
  QWidget start;
  start.resize(200, 100);
  start.winId();
  start.windowHandle()->setTransientParent(main.windowHandle());
  start.show();
  QApplication::processEvents();
  QtPlatform platform;
  platform.SetDialogParent(&main);
  EXPECT_EQ(platform.DialogParent(), &start);
  start.hide();
  QApplication::processEvents();
  EXPECT_NE(platform.DialogParent(), &start);
}

}  // namespace
}  // namespace quillo
