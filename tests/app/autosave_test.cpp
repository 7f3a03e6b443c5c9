#include "app/autosave.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "app/program.h"
#include "app/replay_document.h"
#include "log/log_files.h"
#include "support/fake_platform.h"

namespace quillo::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* kQuestion =
    "Quillo closed before it could save. Bring back the last drawing?";
constexpr uint64_t kPeriod = 30000;

// One run of the program in a program folder of its own, on a fake platform whose
// picture files are real files and whose clock the test sets.
struct Session {
  explicit Session(const std::string& dir) {
    platform.screen = {320, 240};
    platform.picturesOnDisk = true;
    program = std::make_unique<Program>(platform, dir);
    program->Create();
    program->autosave.Enable();
  }
  Program& P() { return *program; }
  PaintLog& Main() { return program->main; }
  // A stroke from a to b with the button released.
  void Stroke(Point a, Point b) {
    Main().FormMouseDown(MouseButton::kLeft, {}, a);
    Main().FormMouseMove({}, Point{(a.x + b.x) / 2, (a.y + b.y) / 2});
    Main().FormMouseMove({}, b);
    Main().FormMouseUp(MouseButton::kLeft, {}, b);
  }
  void TickAt(uint64_t millis) {
    platform.clock = millis;
    if (program->timers.Enabled(TimerId::autosavetimer)) program->TimerTick(TimerId::autosavetimer);
  }

  FakePlatform platform;
  std::unique_ptr<Program> program;
};

bool SamePixels(const Surface& a, const Surface& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int32_t y = 0; y < a.Height(); ++y)
    for (int32_t x = 0; x < a.Width(); ++x)
      if (a.Pixel({x, y}) != b.Pixel({x, y})) return false;
  return true;
}

// Public, so the damages the tests list can reach the files.
class AutosaveTest : public ::testing::Test {
 public:
  void SetUp() override {
    char pattern[] = "/tmp/quillo-autosave-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = std::string(pattern) + "/";
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string LogPath() const { return dir_ + Autosave::kLogName; }
  // What the whole-file writer leaves of the log when a write is cut short.
  std::string LeftPart() const { return dir_ + "." + Autosave::kLogName + ".part0"; }
  std::string PicturePath() const { return dir_ + Autosave::kPictureName; }
  bool Kept() const { return fs::exists(LogPath()) && fs::exists(PicturePath()); }
  bool NothingKept() const {
    for (const auto& entry : fs::directory_iterator(dir_))
      if (entry.path().filename().string().starts_with("autosave")) return false;
    return true;
  }
  static std::vector<char> Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), {});
  }
  static void Overwrite(const std::string& path, const std::vector<char>& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), bytes.size());
  }

  // A run that drew three strokes, was replaying them, kept the drawing at 30 s with
  // the replay half-way and was then killed.
  void KeepADrawing() {
    Session run(dir_);
    run.P().startScreen.GoStraightToDrawing();
    run.Stroke({40, 40}, {200, 120});
    run.Stroke({60, 200}, {280, 30});
    run.Stroke({300, 20}, {20, 220});
    run.P().replay.StartReplay();
    while (run.P().log.position < 15)
      run.P().TimerTick(TimerId::logplaytimer);
    ASSERT_TRUE(run.P().Replaying());
    run.TickAt(kPeriod);
    ASSERT_TRUE(Kept());
    keptCount_ = run.P().log.Count();
    keptPosition_ = run.P().log.position;
    ASSERT_LT(keptPosition_, keptCount_);
    keptPicture_.CopyFrom(run.Main().images.Backup());
    ASSERT_NE(keptPicture_.Pixel({120, 80}), 0u);
  }

  std::string dir_;
  int32_t keptCount_ = 0;
  int32_t keptPosition_ = 0;
  Surface keptPicture_;
};

TEST_F(AutosaveTest, KeepsTheDrawingAtMostEveryPeriodAndOnlyWhenItChanged) {
  Session run(dir_);
  run.P().startScreen.GoStraightToDrawing();
  ASSERT_TRUE(run.P().timers.Enabled(TimerId::autosavetimer));
  // A fresh drawing nobody touched is not kept.
  run.TickAt(kPeriod);
  EXPECT_TRUE(NothingKept());

  run.Stroke({40, 40}, {200, 120});
  run.TickAt(2 * kPeriod - 1);
  EXPECT_TRUE(NothingKept());
  run.TickAt(2 * kPeriod);
  ASSERT_TRUE(Kept());
  EXPECT_EQ(run.platform.savedPictures.size(), 1u);

  // Unchanged: looked at, not written again.
  run.TickAt(3 * kPeriod);
  EXPECT_EQ(run.platform.savedPictures.size(), 1u);
  // A change right after a look waits for the period to pass since that look.
  run.Stroke({100, 100}, {10, 200});
  run.TickAt(4 * kPeriod - 1);
  EXPECT_EQ(run.platform.savedPictures.size(), 1u);
  run.TickAt(4 * kPeriod);
  EXPECT_EQ(run.platform.savedPictures.size(), 2u);
  // A clock set back does not hold the writes off.
  run.Stroke({10, 10}, {300, 220});
  run.TickAt(kPeriod);
  EXPECT_EQ(run.platform.savedPictures.size(), 3u);
  EXPECT_TRUE(run.platform.errors.empty());
}

TEST_F(AutosaveTest, WritesNothingWhileAStrokeIsDrawnAndLooksAgainAtTheNextTick) {
  Session run(dir_);
  run.P().startScreen.GoStraightToDrawing();
  PaintLog& m = run.Main();
  m.FormMouseDown(MouseButton::kLeft, {}, {50, 50});
  m.FormMouseMove({}, {150, 90});
  run.TickAt(kPeriod);
  m.FormMouseMove({}, {250, 180});
  run.TickAt(kPeriod + 1000);
  EXPECT_TRUE(NothingKept());
  m.FormMouseUp(MouseButton::kLeft, {}, {250, 180});
  run.TickAt(kPeriod + 2000);
  ASSERT_TRUE(Kept());
  // What was kept is the stroke as released: the log holds its press and moves.
  const LogReadResult read = ReadReplayFile(LogPath());
  ASSERT_TRUE(std::holds_alternative<LoadedLog>(read));
  EXPECT_EQ(std::get<LoadedLog>(read).count, run.P().log.Count());
}

TEST_F(AutosaveTest, TheFilesAreAReplayFileAndThePictureOfTheBackup) {
  Session run(dir_);
  run.P().startScreen.GoStraightToDrawing();
  run.Stroke({40, 40}, {200, 120});
  run.TickAt(kPeriod);
  ASSERT_TRUE(Kept());
  const LogReadResult read = ReadReplayFile(LogPath());
  ASSERT_TRUE(std::holds_alternative<LoadedLog>(read));
  const LoadedLog& log = std::get<LoadedLog>(read);
  ASSERT_EQ(log.count, run.P().log.Count());
  ASSERT_GT(log.count, 8);
  for (int32_t i = 0; i <= log.count; ++i) {
    EXPECT_EQ(log.codes[i], run.P().log.Codes()[i]) << i;
    EXPECT_EQ(log.values[i], run.P().log.Values()[i]) << i;
  }
  Surface picture;
  ASSERT_FALSE(run.platform.LoadPicture(PicturePath(), picture));
  EXPECT_TRUE(SamePixels(picture, run.Main().images.Backup()));
  EXPECT_NE(picture.Pixel({120, 80}), 0u);
  // The picture was written under another name and renamed into place.
  EXPECT_EQ(run.platform.savedPictures,
            std::vector<std::string>{dir_ + Autosave::kPicturePartName});
}

TEST_F(AutosaveTest, OkBringsBackThePictureAndTheLogWithItsCountAndPosition) {
  KeepADrawing();
  // What a write cut short by the kill left.
  Overwrite(dir_ + Autosave::kPicturePartName, {'x'});
  Overwrite(LeftPart(), {'x'});
  Session run(dir_);
  run.platform.questionAnswers = {Answer::kOk};
  run.P().startScreen.GoStraightToDrawing();
  EXPECT_EQ(run.platform.questions, std::vector<std::string>{kQuestion});
  EXPECT_TRUE(run.platform.errors.empty());
  EXPECT_TRUE(run.P().autosave.Restored());
  EXPECT_FALSE(fs::exists(dir_ + Autosave::kPicturePartName));
  EXPECT_FALSE(fs::exists(LeftPart()));
  CanvasImages& images = run.Main().images;
  EXPECT_TRUE(SamePixels(images.Backup(), keptPicture_));
  EXPECT_TRUE(SamePixels(images.canvas, keptPicture_));
  // An undo straight away keeps the drawing.
  EXPECT_TRUE(SamePixels(images.UndoImage(), keptPicture_));
  EXPECT_EQ(run.P().log.Count(), keptCount_);
  EXPECT_EQ(run.P().log.position, keptPosition_);
  EXPECT_EQ(run.P().replayState.length, keptCount_);
  const Form& f = run.Main().window.form;
  EXPECT_EQ(f[run.Main().c.lblj].caption, std::to_string(keptPosition_));

  // The files stay as they are until the drawing changes.
  EXPECT_TRUE(Kept());
  run.TickAt(5 * kPeriod);
  EXPECT_TRUE(run.platform.savedPictures.empty());
  // Drawing on goes on after the last entry, whatever the position.
  run.Stroke({10, 10}, {30, 30});
  EXPECT_EQ(run.P().log.Count(), keptCount_ + 3);
  run.TickAt(6 * kPeriod);
  EXPECT_EQ(run.platform.savedPictures.size(), 1u);
}

// A replay that ran to its end leaves its cursor one past the last entry, and "Go
// to" or a step can send it anywhere; the drawing kept then comes back, with the
// cursor where it acts the same.
TEST_F(AutosaveTest, ADrawingKeptWithItsCursorAnywhereComesBack) {
  const auto keptCursor = [&](bool endReplay, int32_t sentTo) {
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    Session run(dir_);
    run.P().startScreen.GoStraightToDrawing();
    run.Stroke({40, 40}, {200, 120});
    if (endReplay) {
      run.P().replay.StartReplay();
      for (int tick = 0; tick < 1000 && run.P().Replaying(); ++tick)
        run.P().TimerTick(TimerId::logplaytimer);
      EXPECT_FALSE(run.P().Replaying());
    } else {
      run.P().log.position = sentTo;
    }
    run.TickAt(kPeriod);
    EXPECT_TRUE(Kept());
    return std::pair{run.P().log.Count(), run.P().log.position};
  };
  for (const int32_t sentTo : {-1, 0, 1000, std::numeric_limits<int32_t>::max()}) {
    for (const bool endReplay : {true, false}) {
      SCOPED_TRACE(::testing::Message() << (endReplay ? "replay ended" : "sent to ") << sentTo);
      const auto [count, live] = keptCursor(endReplay, sentTo);
      if (endReplay) {
        EXPECT_EQ(live, count + 1);
      }
      Session run(dir_);
      run.platform.questionAnswers = {Answer::kOk};
      run.P().startScreen.GoStraightToDrawing();
      EXPECT_TRUE(run.platform.errors.empty());
      EXPECT_TRUE(run.P().autosave.Restored());
      EXPECT_EQ(run.P().log.Count(), count);
      EXPECT_EQ(run.P().log.position, std::clamp(live, 0, count + 1));
    }
  }
}

// The undo steps come back with the drawing, forward steps too; steps that are
// damaged or end in another picture are left out, and the picture comes back alone.
TEST_F(AutosaveTest, TheUndoStepsComeBackWhenTheyEndInThePicture) {
  Surface strokes;
  std::vector<char> otherSteps;
  {
    const std::string other = dir_ + "other/";
    fs::create_directory(other);
    Session run(other);
    run.P().startScreen.GoStraightToDrawing();
    run.Stroke({40, 40}, {200, 120});
    run.TickAt(kPeriod);
    otherSteps = Bytes(other + Autosave::kHistoryName);
  }
  {
    Session run(dir_);
    run.P().startScreen.GoStraightToDrawing();
    run.Stroke({40, 40}, {200, 120});
    run.Stroke({60, 200}, {280, 30});
    run.Stroke({300, 20}, {20, 220});
    strokes.CopyFrom(run.Main().images.Backup());
    run.P().canvasOps.StepBack();
    run.TickAt(kPeriod);
  }
  const std::vector<char> steps = Bytes(dir_ + Autosave::kHistoryName);
  ASSERT_FALSE(steps.empty());
  std::vector<char> damaged = steps;
  damaged[damaged.size() / 3] ^= 1;
  for (const auto& [what, bytes] :
       {std::pair{"the steps kept", steps}, std::pair{"damaged steps", damaged},
        std::pair{"another picture's steps", otherSteps}}) {
    SCOPED_TRACE(what);
    Overwrite(dir_ + Autosave::kHistoryName, bytes);
    Session run(dir_);
    run.platform.questionAnswers = {Answer::kOk};
    run.P().startScreen.GoStraightToDrawing();
    ASSERT_TRUE(run.P().autosave.Restored());
    CanvasImages& images = run.Main().images;
    if (bytes != steps) {
      EXPECT_EQ(images.history.StepsBack() + images.history.StepsForward(), 0u);
      continue;
    }
    EXPECT_EQ(images.history.StepsBack(), 2u);
    EXPECT_EQ(images.history.StepsForward(), 1u);
    run.P().canvasOps.StepBack();
    run.P().canvasOps.StepBack();
    EXPECT_EQ(images.canvas.Pixel({120, 80}), 0u);
    for (int i = 0; i < 3; ++i)
      EXPECT_TRUE(images.StepForward());
    EXPECT_TRUE(SamePixels(images.canvas, strokes));
  }
}

TEST_F(AutosaveTest, NoDeletesTheKeptDrawingAndLeavesTheFreshOne) {
  KeepADrawing();
  Session run(dir_);
  run.platform.questionAnswers = {Answer::kNo};
  run.P().startScreen.GoStraightToDrawing();
  EXPECT_EQ(run.platform.questions, std::vector<std::string>{kQuestion});
  EXPECT_FALSE(run.P().autosave.Restored());
  EXPECT_TRUE(NothingKept());
  EXPECT_EQ(run.P().log.Count(), 8);
  EXPECT_EQ(run.Main().images.Backup().Pixel({120, 80}), 0u);
}

TEST_F(AutosaveTest, AReplayFileOpenedAtStartIsNotReplayedOverADrawingBroughtBack) {
  KeepADrawing();
  {
    Session run(dir_);
    run.platform.questionAnswers = {Answer::kOk};
    OpenReplayDocument(run.P(), LogPath());
    EXPECT_TRUE(run.P().autosave.Restored());
    EXPECT_FALSE(run.P().Replaying());
    EXPECT_TRUE(SamePixels(run.Main().images.canvas, keptPicture_));
  }
  // Answered No, the file is replayed on the fresh canvas as ever.
  const fs::path document = dir_ + "drawing.qlr";
  fs::copy_file(LogPath(), document);
  Session run(dir_);
  run.platform.questionAnswers = {Answer::kNo};
  OpenReplayDocument(run.P(), document.string());
  EXPECT_TRUE(run.P().Replaying());
  EXPECT_EQ(run.P().log.Count(), keptCount_);
}

TEST_F(AutosaveTest, ADamagedKeptDrawingIsRefusedWholeAndTheProgramStartsClean) {
  struct Damage {
    const char* what;
    std::function<void(AutosaveTest&)> apply;
  };
  const std::vector<Damage> damages = {
      {"only the log", [](AutosaveTest& t) { fs::remove(t.PicturePath()); }},
      {"only the picture", [](AutosaveTest& t) { fs::remove(t.LogPath()); }},
      {"a log cut short",
       [](AutosaveTest& t) {
         std::vector<char> bytes = Bytes(t.LogPath());
         bytes.resize(bytes.size() / 2);
         Overwrite(t.LogPath(), bytes);
       }},
      {"a log without its last word",
       [](AutosaveTest& t) {
         std::vector<char> bytes = Bytes(t.LogPath());
         bytes.resize(bytes.size() - 4);
         Overwrite(t.LogPath(), bytes);
       }},
      {"a log with a changed entry",
       [](AutosaveTest& t) {
         std::vector<char> bytes = Bytes(t.LogPath());
         bytes[40] ^= 1;
         Overwrite(t.LogPath(), bytes);
       }},
      {"a log that is not one",
       [](AutosaveTest& t) {
         Overwrite(t.LogPath(), {'q', 'l'});
       }},
      {"a picture cut short",
       [](AutosaveTest& t) {
         std::vector<char> bytes = Bytes(t.PicturePath());
         bytes.resize(bytes.size() / 2);
         Overwrite(t.PicturePath(), bytes);
       }},
      {"a picture of another size",
       [](AutosaveTest& t) {
         FakePlatform files;
         files.picturesOnDisk = true;
         Surface other;
         other.Resize(200, 100);
         ASSERT_FALSE(files.SavePicture(t.PicturePath(), other));
       }},
      {"a picture with a changed pixel",
       [](AutosaveTest& t) {
         std::vector<char> bytes = Bytes(t.PicturePath());
         bytes[8 + 4 * 1000] ^= 1;
         Overwrite(t.PicturePath(), bytes);
       }},
      {"the picture of a later write than the log",
       [](AutosaveTest& t) {
         const std::vector<char> earlierLog = Bytes(t.LogPath());
         Session run(t.dir_);
         run.platform.questionAnswers = {Answer::kOk};
         run.P().startScreen.GoStraightToDrawing();
         run.Stroke({5, 5}, {300, 5});
         run.TickAt(kPeriod);
         Overwrite(t.LogPath(), earlierLog);
       }},
  };
  for (const Damage& damage : damages) {
    SCOPED_TRACE(damage.what);
    KeepADrawing();
    damage.apply(*this);
    // What a write cut short leaves goes too.
    Overwrite(dir_ + Autosave::kPicturePartName, {'x'});
    Overwrite(LeftPart(), {'x'});
    const std::vector<char> keptLog = Bytes(LogPath());

    Session run(dir_);
    run.platform.questionAnswers = {Answer::kOk};
    run.P().startScreen.GoStraightToDrawing();
    EXPECT_TRUE(run.platform.questions.empty());
    ASSERT_EQ(run.platform.errors.size(), 1u);
    EXPECT_TRUE(run.platform.errors[0].starts_with(
        "Quillo closed before it could save, and the drawing it kept cannot be brought back: "))
        << run.platform.errors[0];
    EXPECT_FALSE(run.P().autosave.Restored());
    // Set aside under a dated name, and the message says where.
    const std::string aside = "autosave-damaged-1970-01-01-000000";
    EXPECT_NE(run.platform.errors[0].find("set aside in \"" + dir_ + "\" as \"" + aside),
              std::string::npos)
        << run.platform.errors[0];
    EXPECT_FALSE(fs::exists(LogPath()));
    EXPECT_FALSE(fs::exists(PicturePath()));
    EXPECT_FALSE(fs::exists(LeftPart()));
    if (!keptLog.empty()) {
      EXPECT_EQ(Bytes(dir_ + aside + ".qlr"), keptLog);
    }
    EXPECT_EQ(run.P().log.Count(), 8);
    // The run goes on keeping its own drawing.
    run.Stroke({40, 40}, {200, 120});
    run.TickAt(kPeriod);
    EXPECT_TRUE(Kept());
    fs::remove(LogPath());
    fs::remove(PicturePath());
    for (const char* left : {".qlr", ".png", ".part.png", ".history"})
      fs::remove(dir_ + aside + left);
  }
}

// A normal close keeps the drawing, strokes since the last write included, and the
// next start offers it on the start screen: "Continue drawing" puts it back without a
// question; another choice starts a new one, after a question only when the last run
// crashed. A copy that does not hold the folder's lock neither sees nor takes it.
TEST_F(AutosaveTest, TheStartScreenOffersTheKeptDrawingToContinue) {
  struct Case {
    const char* name;
    bool closedNormally;
    bool continueDrawing;
    LockOutcome lock;
    bool questionAsked;
    bool broughtBack;
  };
  const Case cases[] = {
      {"close, continue", true, true, LockOutcome::kTaken, false, true},
      {"close, straight to drawing", true, false, LockOutcome::kTaken, false, false},
      {"crash, continue", false, true, LockOutcome::kTaken, false, true},
      {"crash, straight to drawing", false, false, LockOutcome::kTaken, true, false},
      {"close, folder held by another copy", true, false, LockOutcome::kHeldElsewhere, false,
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    std::ofstream(dir_ + "littlblu.bmp") << "a miniature";
    Surface drawn;
    int32_t count = 0;
    {
      Session run(dir_);
      run.P().startScreen.GoStraightToDrawing();
      run.Stroke({40, 40}, {200, 120});
      run.TickAt(kPeriod);
      run.Stroke({60, 200}, {280, 30});
      if (!c.closedNormally) run.TickAt(2 * kPeriod);
      drawn.CopyFrom(run.Main().images.Backup());
      count = run.P().log.Count();
      if (c.closedNormally) {
        run.platform.questionAnswers = {Answer::kNo, Answer::kOk};
        EXPECT_FALSE(run.Main().FormCloseQuery());
        EXPECT_TRUE(run.Main().FormCloseQuery());
        // Ticks that still come write nothing more.
        run.Stroke({5, 5}, {300, 200});
        run.TickAt(3 * kPeriod);
      }
    }
    ASSERT_TRUE(Kept());
    EXPECT_EQ(fs::exists(dir_ + Autosave::kClosedName), c.closedNormally);

    Session run(dir_);
    run.platform.lockOutcome = c.lock;
    run.platform.questionAnswers = {Answer::kNo};
    run.P().startScreen.Initialise();
    const StartScreen& screen = run.P().startScreen;
    const bool offered = c.lock == LockOutcome::kTaken;
    ASSERT_TRUE(screen.window.visible);
    EXPECT_EQ(screen.window.form[screen.c.Label5].visible, offered);
    EXPECT_EQ(screen.window.form[screen.c.Image3].visible, offered);
    if (offered) {
      // The miniature is the drawing in small: black where nothing is drawn, not
      // black on the first stroke.
      const Surface* miniature = screen.window.form[screen.c.Image3].picture;
      ASSERT_NE(miniature, nullptr);
      EXPECT_EQ(miniature->Pixel({1, miniature->Height() - 2}), 0u);
      EXPECT_NE(miniature->Pixel({miniature->Width() * 120 / 320, miniature->Height() * 80 / 240}),
                0u);
    }
    if (c.continueDrawing) {
      run.P().startScreen.ContinueDrawing();
    } else {
      run.P().startScreen.GoStraightToDrawing();
    }
    EXPECT_EQ(run.platform.questions.size(), c.questionAsked ? 1u : 0u);
    EXPECT_EQ(run.P().autosave.Restored(), c.broughtBack);
    EXPECT_EQ(SamePixels(run.Main().images.canvas, drawn), c.broughtBack);
    EXPECT_EQ(run.P().log.Count(), c.broughtBack ? count : 8);
    // Kept while continued or another copy's; gone when a new drawing started here.
    EXPECT_EQ(Kept(), c.broughtBack || !offered);
    EXPECT_EQ(run.platform.errors.size(), offered ? 0u : 1u);
    EXPECT_FALSE(fs::exists(dir_ + Autosave::kClosedName) && offered);
  }
}

TEST_F(AutosaveTest, AnEarlierRunsDrawingStaysUntilItIsOffered) {
  KeepADrawing();
  // A run closed before the start screen's choice never offered it.
  {
    Session run(dir_);
    run.platform.questionAnswers = {Answer::kOk};
    EXPECT_TRUE(run.Main().FormCloseQuery());
    EXPECT_TRUE(Kept());
  }
  // Nor does a program that does not keep drawings.
  FakePlatform platform;
  platform.picturesOnDisk = true;
  Program tool(platform, dir_);
  tool.Create();
  tool.startScreen.GoStraightToDrawing();
  EXPECT_TRUE(platform.questions.empty());
  EXPECT_FALSE(tool.timers.Enabled(TimerId::autosavetimer));
  EXPECT_TRUE(Kept());
}

TEST_F(AutosaveTest, AFailedWriteIsShownOnceAndTriedAgain) {
  Session run(dir_);
  run.P().startScreen.GoStraightToDrawing();
  run.Stroke({40, 40}, {200, 120});
  run.platform.saveError = "Cannot write: disk full";
  run.TickAt(kPeriod);
  run.Stroke({60, 200}, {280, 30});
  run.TickAt(2 * kPeriod);
  ASSERT_EQ(run.platform.errors.size(), 1u);
  EXPECT_EQ(run.platform.errors[0],
            "Quillo cannot keep the drawing for a restart. Cannot write: disk full");
  EXPECT_TRUE(NothingKept());
  run.platform.saveError.reset();
  run.TickAt(3 * kPeriod);
  EXPECT_TRUE(Kept());
  EXPECT_EQ(run.platform.errors.size(), 1u);
}

// Killed after the log was replaced and before the new picture was renamed over the
// old one, the new log and the part file are a pair and are brought back.
TEST_F(AutosaveTest, AKillBetweenTheLogAndTheRenameLeavesAPairToBringBack) {
  KeepADrawing();
  const std::vector<char> earlierPicture = Bytes(PicturePath());
  Surface later;
  {
    Session run(dir_);
    run.platform.questionAnswers = {Answer::kOk};
    run.P().startScreen.GoStraightToDrawing();
    run.Stroke({5, 5}, {300, 200});
    run.TickAt(kPeriod);
    later.CopyFrom(run.Main().images.Backup());
  }
  fs::rename(PicturePath(), dir_ + Autosave::kPicturePartName);
  Overwrite(PicturePath(), earlierPicture);

  Session run(dir_);
  run.platform.questionAnswers = {Answer::kOk};
  run.P().startScreen.GoStraightToDrawing();
  EXPECT_TRUE(run.platform.errors.empty()) << run.platform.errors[0];
  ASSERT_TRUE(run.P().autosave.Restored());
  EXPECT_TRUE(SamePixels(run.Main().images.Backup(), later));
  EXPECT_EQ(run.P().log.Count(), keptCount_ + 3);
  // The pair is under its usual names again.
  EXPECT_FALSE(fs::exists(dir_ + Autosave::kPicturePartName));
  EXPECT_TRUE(Kept());
}

// The start screen closed by the window system, or never shown, still starts the
// keeping of the drawing, with the offer first.
TEST_F(AutosaveTest, TheDrawingIsKeptHoweverTheStartScreenEnds) {
  for (const bool screenShown : {false, true}) {
    SCOPED_TRACE(screenShown ? "closed by the window system" : "never shown");
    KeepADrawing();
    if (screenShown) std::ofstream(dir_ + "littlblu.bmp") << "a miniature";
    Session run(dir_);
    run.platform.questionAnswers = {Answer::kNo};
    run.P().startScreen.Initialise();
    if (screenShown) {
      ASSERT_TRUE(run.P().startScreen.window.visible);
      run.TickAt(1000);
      EXPECT_TRUE(run.platform.questions.empty());
      run.P().startScreen.window.Show(false);  // as the window system's close does
    }
    run.TickAt(2000);
    EXPECT_EQ(run.platform.questions, std::vector<std::string>{kQuestion});
    EXPECT_TRUE(NothingKept());
    run.Stroke({40, 40}, {200, 120});
    run.TickAt(2000 + kPeriod);
    EXPECT_TRUE(Kept());
    EXPECT_TRUE(run.platform.errors.empty());
  }
}

}  // namespace
}  // namespace quillo::testing
