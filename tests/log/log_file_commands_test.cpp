#include "log/log_file_commands.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "app/program_fixture.h"
#include "log/log_files.h"

namespace quillo::testing {
namespace {

namespace fs = std::filesystem;

uint32_t Le32At(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t{b[at]} | uint32_t{b[at + 1]} << 8 | uint32_t{b[at + 2]} << 16 |
         uint32_t{b[at + 3]} << 24;
}

// A program drawing in a fresh temporary folder, which is also its program folder.
class LogFileCommandsTest : public ProgramTest {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/quillo-logcmd-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = std::string(pattern) + "/";
    program = std::make_unique<Program>(platform, dir_);
    program->Create();
    program->startScreen.GoStraightToDrawing();
  }
  void TearDown() override {
    program.reset();
    fs::remove_all(dir_);
  }

  LogFileCommands& Files() { return program->logFiles; }
  std::vector<uint8_t> Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
  }
  void WriteWords(const std::string& path, const std::vector<uint32_t>& words) {
    std::ofstream out(path, std::ios::binary);
    for (uint32_t w : words)
      for (int i = 0; i < 4; ++i)
        out.put(static_cast<char>(w >> (8 * i)));
  }
  void Draw() {
    Press({100, 120});
    for (int i = 1; i <= 12; ++i)
      Move({100 + 30 * i, 120 + 17 * i});
    Release({460, 324});
  }
  void SaveAs(const std::string& path) {
    platform.saveAnswers.push_back(path);
    Click("SpeedButton3");
  }
  void OpenFrom(const std::string& path) {
    platform.openAnswers.push_back(path);
    Click("SpeedButton33");
  }

  std::string dir_;
};

TEST_F(LogFileCommandsTest, AHeaderOnlyLogSavesAs72BytesAndItsSizeThenOpensAsEight) {
  ASSERT_EQ(Count(), 8);
  const std::string path = dir_ + "header.qlr";
  SaveAs(path);
  ASSERT_EQ(platform.saveDialogs.size(), 1u);
  const FileDialogSpec& spec = platform.saveDialogs[0];
  EXPECT_EQ(spec.filter, "Quilloplay(*.qlr)|*.qlr|Palette(*.plt)|*.plt|Log(*.log)|*.log");
  EXPECT_EQ(spec.defaultExtension, "qlr");
  EXPECT_TRUE(spec.confirmOverwrite);
  EXPECT_EQ(spec.kind, FileKind::kDocuments);

  const std::vector<uint8_t> b = Bytes(path);
  // The 72 bytes of the log, then the size record: magic word, version, the size.
  ASSERT_EQ(b.size(), 72u + kSizeTrailerBytes);
  EXPECT_EQ(Le32At(b, 72), kSizeTrailerMagic);
  EXPECT_EQ(Le32At(b, 76), kSizeTrailerVersion);
  EXPECT_EQ(Le32At(b, 80), 1024u);
  EXPECT_EQ(Le32At(b, 84), 768u);
  EXPECT_EQ(Le32At(b, 0), 8u);
  for (int i = 1; i <= 8; ++i) {
    EXPECT_EQ(Le32At(b, 4 * i), Code(i)) << "code word " << i;
    EXPECT_EQ(static_cast<int32_t>(Le32At(b, 36 + 4 * i)), Value(i)) << "value " << i;
  }
  EXPECT_EQ(Le32At(b, 4), uint32_t{lgshape});
  EXPECT_EQ(Le32At(b, 32), uint32_t{lgfieldcolor});
  EXPECT_EQ(Le32At(b, 36 + 4 * 3), 0x00CC0020u);  // the copy mode's value

  program->replayState.length = 0;
  MainForm().SetCaption(program->main.c.lblj, "?");
  OpenFrom(path);
  ASSERT_EQ(platform.openDialogs.size(), 1u);
  EXPECT_EQ(platform.openDialogs[0].filter,
            "quilloplay(*.qlr)|*.qlr|palette(*.plt)|*.plt|log(*.log)|*.log");
  EXPECT_EQ(platform.openDialogs[0].defaultExtension, "qlr");
  EXPECT_TRUE(platform.openDialogs[0].mustExist);
  EXPECT_EQ(program->replayState.length, 8);
  EXPECT_EQ(Ctl("lblj").caption, "8");
  EXPECT_EQ(Ctl("Label2").caption, path);
  EXPECT_TRUE(platform.errors.empty());
}

TEST_F(LogFileCommandsTest, SaveThenOpenRestoresEverySlotAndLeavesPositionAndCanvas) {
  Draw();
  const int32_t n = Count();
  ASSERT_GT(n, 20);
  std::vector<uint32_t> codes(program->log.Codes().begin(), program->log.Codes().begin() + n + 1);
  std::vector<int32_t> values(program->log.Values().begin(), program->log.Values().begin() + n + 1);
  const std::string path = dir_ + "drawing.qlr";
  SaveAs(path);
  EXPECT_EQ(fs::file_size(path), 8u * (n + 1) + kSizeTrailerBytes);
  EXPECT_TRUE(program->drawing.recording);

  // Something else in the log, and a slot past the count that the file does not hold.
  Click("Label27");
  for (int i = 1; i <= n + 5; ++i) {
    program->log.Codes()[i] = 3;
    program->log.Values()[i] = -1;
  }
  program->log.Codes()[0] = 3;
  program->log.position = 3;
  program->drawing.recording = false;
  Surface before;
  ASSERT_TRUE(before.CopyFrom(Main().images.canvas));

  OpenFrom(path);
  for (int i = 0; i <= n; ++i)
    EXPECT_EQ(Code(i), codes[i]) << i;
  for (int i = 1; i <= n; ++i)
    EXPECT_EQ(Value(i), values[i]) << i;
  EXPECT_EQ(Code(n + 1), 3u);
  EXPECT_EQ(program->log.position, 3);
  EXPECT_FALSE(program->drawing.recording);
  EXPECT_EQ(program->replayState.length, n);
  const Surface& after = Main().images.canvas;
  EXPECT_TRUE(std::equal(before.Bits(), before.Bits() + size_t(before.Width()) * before.Height(),
                         after.Bits()));
}

TEST_F(LogFileCommandsTest, SavingPausesRecordingAndTheColourTimerThenResumesWhateverHappens) {
  // Cancelled with "#" down (as at start): recording comes back, Timer4 stays off.
  program->drawing.recording = false;
  program->replayState.length = 0;
  program->timers.Enable(TimerId::Timer4, true);
  Click("SpeedButton3");
  EXPECT_TRUE(program->drawing.recording);
  EXPECT_FALSE(program->timers.Enabled(TimerId::Timer4));
  EXPECT_EQ(program->replayState.length, 8);

  // With "#" up the random colours run again afterwards.
  MainForm().SetDown(program->main.c.SpeedButton21, false);
  Click("SpeedButton3");
  EXPECT_TRUE(program->timers.Enabled(TimerId::Timer4));
  EXPECT_TRUE(platform.errors.empty());

  // A failed write: the old file stays, the fault is named, recording is back on.
  const std::string path = dir_ + std::string(250, 'q') + ".qlr";
  std::ofstream(path) << "old";
  program->drawing.recording = false;
  SaveAs(path);
  ASSERT_EQ(platform.errors.size(), 1u);
  EXPECT_EQ(platform.errors[0].rfind("Cannot save \"" + path + "\": ", 0), 0u);
  EXPECT_EQ(fs::file_size(path), 3u);
  EXPECT_TRUE(program->drawing.recording);
}

TEST_F(LogFileCommandsTest, MalformedReplayFilesAreRefusedWholeAndLongOnesReadToTheirCount) {
  Draw();
  const int32_t n = Count();
  program->replayState.length = n;
  MainForm().SetCaption(program->main.c.lblj, "kept");
  MainForm().SetCaption(program->main.c.Label2, "kept");
  const uint32_t code9 = Code(9);

  WriteWords(dir_ + "huge.qlr", {60001, 5, 5, 5, 5});
  // Ten entries promised, nineteen words where twenty-two are needed.
  std::vector<uint32_t> short10(19, 3);
  short10[0] = 10;
  WriteWords(dir_ + "short.qlr", short10);
  WriteWords(dir_ + "tiny.qlr", {});
  for (const char* name : {"huge.qlr", "short.qlr", "tiny.qlr", "missing.qlr"})
    OpenFrom(dir_ + name);
  ASSERT_EQ(platform.errors.size(), 4u);
  EXPECT_EQ(platform.errors[0], "Cannot open \"" + dir_ +
                                    "huge.qlr\": The recording holds 60001 entries; at most "
                                    "60000 fit.");
  EXPECT_EQ(platform.errors[1], "Cannot open \"" + dir_ + "short.qlr\": Read beyond end of file.");
  EXPECT_EQ(platform.errors[2], "Cannot open \"" + dir_ + "tiny.qlr\": Read beyond end of file.");
  EXPECT_EQ(platform.errors[3], "Cannot open \"" + dir_ + "missing.qlr\": File not found.");
  EXPECT_EQ(Count(), n);
  EXPECT_EQ(Code(9), code9);
  EXPECT_EQ(program->replayState.length, n);
  EXPECT_EQ(Ctl("lblj").caption, "kept");
  EXPECT_EQ(Ctl("Label2").caption, "kept");

  // Two entries and then more words than they need: read to the count.
  WriteWords(dir_ + "long.qlr", {2, 7, 3, 0, 11, 12, 99, 99, 99});
  OpenFrom(dir_ + "long.qlr");
  EXPECT_EQ(platform.errors.size(), 4u);
  EXPECT_EQ(Count(), 2);
  EXPECT_EQ(Code(1), 7u);
  EXPECT_EQ(Code(2), 3u);
  EXPECT_EQ(Value(1), 11);
  EXPECT_EQ(Value(2), 12);
  EXPECT_EQ(Ctl("lblj").caption, "2");
  EXPECT_FALSE(program->log.recordedSize.Known());

  // A size record whose check word does not match: named, and the entries still read.
  WriteWords(dir_ + "damaged.qlr",
             {3, 7, 3, 2, 0, 11, 12, 13, kSizeTrailerMagic, kSizeTrailerVersion, 800, 600, 0});
  OpenFrom(dir_ + "damaged.qlr");
  ASSERT_EQ(platform.errors.size(), 5u);
  EXPECT_EQ(platform.errors[4], "\"" + dir_ +
                                    "damaged.qlr\": its size record is damaged; the recording is "
                                    "replayed as made at this screen's size.");
  EXPECT_EQ(Count(), 3);
  EXPECT_EQ(Value(3), 13);
  EXPECT_EQ(Ctl("lblj").caption, "3");
  EXPECT_FALSE(program->log.recordedSize.Known());
}

TEST_F(LogFileCommandsTest, F2ExportsFramesOneToAHundredThenFallsSilent) {
  while (Count() < 140)
    program->RecordAction({}, lglinew, 5);
  Main().FormKeyDown(113, {});
  EXPECT_TRUE(program->replayState.frameExport);
  EXPECT_EQ(program->replayState.frameNumber, 1);
  EXPECT_TRUE(Ctl("AVI_btn").down);

  program->replay.StartReplay();
  for (int tick = 0; tick < 33; ++tick)  // 99 steps: entries 1 to 99
    program->replay.ReplayTick();
  EXPECT_EQ(platform.pictureFiles.size(), 99u);
  EXPECT_EQ(platform.beeps, 99);
  program->replay.ReplayTick();  // entries 100 to 102: one frame, two silent steps
  ASSERT_EQ(platform.pictureFiles.size(), 100u);
  EXPECT_EQ(platform.beeps, 100);
  char name[32];
  for (int frame = 1; frame <= 100; ++frame) {
    std::snprintf(name, sizeof name, "clip%04d.bmp", frame);
    ASSERT_TRUE(platform.pictureFiles.count(dir_ + name)) << name;
    EXPECT_EQ(platform.pictureFiles[dir_ + name].Width(), 64) << name;
    EXPECT_EQ(platform.pictureFiles[dir_ + name].Height(), 48) << name;
  }
  EXPECT_EQ(program->replayState.frameNumber, 101);

  // F2 again: off, shown up, and the next series would start at 1.
  Main().FormKeyDown(113, {});
  EXPECT_FALSE(program->replayState.frameExport);
  EXPECT_FALSE(Ctl("AVI_btn").down);
  EXPECT_EQ(program->replayState.frameNumber, 1);
}

TEST_F(LogFileCommandsTest, AFrameThatCannotBeWrittenIsReportedOnce) {
  platform.saveError = "Cannot write clip0001.bmp";
  while (Count() < 60)
    program->RecordAction({}, lglinew, 5);
  Main().FormKeyDown(113, {});
  program->replay.StartReplay();
  for (int tick = 0; tick < 30 && program->Replaying(); ++tick)
    program->replay.ReplayTick();
  ASSERT_EQ(platform.errors.size(), 1u);
  EXPECT_EQ(platform.errors[0], "Cannot write clip0001.bmp");
}

// A demonstration log of count entries, each setting the pen width to its position.
ActionLog WidthDemo(int32_t count) {
  ActionLog log;
  log.Codes()[0] = static_cast<uint32_t>(count);
  for (int32_t i = 1; i < kDemoSlots; ++i) {
    log.Codes()[i] = lglinew;
    log.Values()[i] = i;
  }
  return log;
}

TEST_F(LogFileCommandsTest, DemoLogOfFiveHundredPlaysEveryEntry) {
  ASSERT_EQ(WriteDemoLog(dir_ + "Newonee.log", WidthDemo(500)), std::nullopt);
  ASSERT_TRUE(Files().ReadDemoLog());
  EXPECT_EQ(Count(), 500);
  EXPECT_EQ(Value(5999), 5999);
  program->log.ClearLines();
  program->replay.StartDemo(8);
  int ticks = 0;
  while (program->Replaying() && ticks < 1000) {
    program->replay.ReplayTick();
    ++ticks;
  }
  EXPECT_EQ(ticks, 56);  // nine entries a tick, then the step past entry 500
  EXPECT_EQ(Main().images.canvas.PenWidth(), 500);
  EXPECT_EQ(program->log.position, 501);
  const auto& lines = program->log.Lines();
  ASSERT_GT(lines.size(), 0u);
  EXPECT_EQ(lines[lines.size() - 1].position, 501);
  EXPECT_TRUE(program->drawing.recording);
}

TEST_F(LogFileCommandsTest, DemoLogLayoutAndRefusals) {
  ActionLog log = WidthDemo(3);
  log.Codes()[1] = 0xABCD;
  log.Values()[1] = -2;
  log.Values()[0] = 0x01020304;
  const auto image = EncodeDemoLog(log);
  ASSERT_TRUE(image.has_value());
  const std::vector<uint8_t>& b = *image;
  ASSERT_EQ(b.size(), 36000u);
  EXPECT_EQ(b[0], 3);
  EXPECT_EQ(b[1], 0);
  EXPECT_EQ(b[2], 0xCD);
  EXPECT_EQ(b[3], 0xAB);
  EXPECT_EQ(b[4], lglinew);
  EXPECT_EQ(b[2 * 5999], lglinew);
  EXPECT_EQ(Le32At(b, 12000), 0x01020304u);
  EXPECT_EQ(Le32At(b, 12004), 0xFFFFFFFEu);
  EXPECT_EQ(Le32At(b, 12000 + 4 * 5999), 5999u);

  // Written and read back: a code word comes back zero-extended.
  ASSERT_EQ(WriteDemoLog(dir_ + "Newonee.log", log), std::nullopt);
  ASSERT_TRUE(Files().ReadDemoLog());
  EXPECT_EQ(Code(1), 0xABCDu);
  EXPECT_EQ(Value(1), -2);

  // A log too long for the demonstration is not written.
  EXPECT_FALSE(EncodeDemoLog(WidthDemo(6000)).has_value());
  EXPECT_TRUE(WriteDemoLog(dir_ + "x.log", WidthDemo(6000)).has_value());
  EXPECT_FALSE(fs::exists(dir_ + "x.log"));

  // Refused: a count of 6000, a file one byte short, and no file. The log stays.
  std::vector<uint8_t> bytes = b;
  bytes[0] = 0x70;  // 6000
  bytes[1] = 0x17;
  for (const auto& [content, fault] :
       {std::pair{bytes, std::string("The demonstration holds 6000 entries; at most 5999 fit")},
        std::pair{std::vector<uint8_t>(b.begin(), b.end() - 1),
                  std::string("Read beyond end of file")}}) {
    {
      std::ofstream out(dir_ + "Newonee.log", std::ios::binary | std::ios::trunc);
      out.write(reinterpret_cast<const char*>(content.data()),
                static_cast<std::streamsize>(content.size()));
    }
    platform.errors.clear();
    EXPECT_FALSE(Files().ReadDemoLog());
    ASSERT_EQ(platform.errors.size(), 1u);
    EXPECT_EQ(platform.errors[0], "Cannot open \"" + dir_ + "Newonee.log\": " + fault + ".");
    EXPECT_EQ(Count(), 3);
    EXPECT_EQ(Code(1), 0xABCDu);
  }
  fs::remove(dir_ + "Newonee.log");
  EXPECT_FALSE(Files().ReadDemoLog());
}

}  // namespace
}  // namespace quillo::testing
