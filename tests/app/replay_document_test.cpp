#include "app/replay_document.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "log/log_files.h"
#include "log/open_log.h"
#include "program_fixture.h"

namespace quillo::testing {
namespace {

namespace fs = std::filesystem;

// A drawing recorded by hand, saved as a replay file and opened as a document by a
// second program.
class ReplayDocumentTest : public ProgramTest {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/quillo-document-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    // The opening program's first start keeps its field cache in the folder.
    platform.picturesOnDisk = true;
    Start();
    program->startScreen.GoStraightToDrawing();
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Two freehand drags; the padding covers the replay's end rule, which leaves out
  // up to a batch of last entries.
  void Draw() {
    Press({200, 150});
    for (int i = 1; i <= 8; ++i)
      Move({200 + 60 * i, 150 + 35 * i});
    Release({680, 430});
    Press({900, 100});
    Move({120, 600});
    Release({120, 600});
    for (int i = 0; i < 3; ++i)
      program->RecordAction({}, lglinew, Main().images.canvas.PenWidth());
  }
  std::string Save(const std::string& name) {
    const std::string path = dir_ + "/" + name;
    EXPECT_FALSE(WriteReplayFile(path, program->log).has_value());
    return path;
  }
  std::unique_ptr<Program> Opened(const std::string& path) {
    auto other = std::make_unique<Program>(platform, dir_ + "/");
    other->StartUp();
    platform.errors.clear();  // only what opening the document says counts here
    OpenReplayDocument(*other, path);
    return other;
  }
  static int DifferingPixels(const Surface& a, const Surface& b) {
    int differ = 0;
    for (int32_t y = 0; y < a.Height(); ++y)
      for (int32_t x = 0; x < a.Width(); ++x)
        differ += a.Pixel({x, y}) != b.Pixel({x, y});
    return differ;
  }
  static int LitPixels(const Surface& s) {
    int lit = 0;
    for (int32_t y = 0; y < s.Height(); ++y)
      for (int32_t x = 0; x < s.Width(); ++x)
        lit += (s.Pixel({x, y}) & 0xFFFFFF) != 0;
    return lit;
  }
  static std::string Caption(Program& p, ControlId id) { return p.main.window.form[id].caption; }

  std::string dir_;
};

TEST_F(ReplayDocumentTest, OpenedFileReplaysToTheDrawingThatRecordedIt) {
  Draw();
  const int32_t count = Count();
  const std::string path = Save("drawing.qlr");
  Surface live;
  ASSERT_TRUE(live.CopyFrom(Main().images.canvas));
  ASSERT_GT(LitPixels(live), 1000);

  auto other = Opened(path);
  EXPECT_TRUE(other->Replaying());
  EXPECT_FALSE(other->drawing.recording);
  EXPECT_EQ(Caption(*other, other->main.c.Label2), path);
  EXPECT_EQ(Caption(*other, other->main.c.lblj), std::to_string(count));
  EXPECT_EQ(other->replayState.length, count);
  for (int tick = 0; tick < 10000 && other->Replaying(); ++tick)
    other->replay.ReplayTick();
  EXPECT_FALSE(other->Replaying());
  EXPECT_TRUE(other->drawing.recording);  // a finished replay records again
  EXPECT_EQ(DifferingPixels(live, other->main.images.canvas), 0);
  EXPECT_TRUE(platform.errors.empty());
}

TEST_F(ReplayDocumentTest, BadFileShowsItsFaultAndLeavesAFreshDrawing) {
  Draw();
  std::vector<uint32_t> words = {400, 1, 2, 3};  // far fewer entries than promised
  const std::string shortFile = dir_ + "/short.qlr";
  {
    std::ofstream out(shortFile, std::ios::binary);
    for (uint32_t w : words)
      for (int i = 0; i < 4; ++i)
        out.put(static_cast<char>(w >> (8 * i)));
  }
  struct Bad {
    std::string path;
    const char* fault;
  };
  for (const Bad& bad :
       {Bad{dir_ + "/missing.qlr", "File not found"}, Bad{shortFile, "Read beyond end of file"}}) {
    auto other = Opened(bad.path);
    ASSERT_EQ(platform.errors.size(), 1u) << bad.path;
    EXPECT_NE(platform.errors[0].find(bad.path), std::string::npos) << platform.errors[0];
    EXPECT_NE(platform.errors[0].find(bad.fault), std::string::npos) << platform.errors[0];
    EXPECT_FALSE(other->Replaying());
    EXPECT_TRUE(other->drawing.recording);
    EXPECT_EQ(other->log.Count(), 8);  // the fresh drawing's header and nothing else
    EXPECT_EQ(LitPixels(other->main.images.canvas), 0);
  }
}

TEST_F(ReplayDocumentTest, OpenLogLoadsWithoutTouchingPositionRecordingOrCanvas) {
  Draw();
  const std::string path = Save("first.qlr");
  const int32_t savedCount = Count();
  Press({50, 50});
  Move({400, 90});
  Release({400, 90});
  const int32_t position = program->log.position;
  Surface before;
  ASSERT_TRUE(before.CopyFrom(Main().images.canvas));

  ASSERT_TRUE(OpenLogFile(*program, path));
  EXPECT_EQ(program->log.position, position);
  EXPECT_TRUE(program->drawing.recording);
  EXPECT_EQ(program->replayState.length, savedCount);
  EXPECT_EQ(Count(), savedCount);
  EXPECT_EQ(DifferingPixels(before, Main().images.canvas), 0);
  EXPECT_FALSE(program->Replaying());
}

}  // namespace
}  // namespace quillo::testing
