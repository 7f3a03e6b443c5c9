// The replay renderer run as a program: what it refuses and what it writes.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/program_fixture.h"
#include "log/log_files.h"
#include "support/full_disk.h"

namespace quillo::testing {
namespace {

namespace fs = std::filesystem;

class RenderCliTest : public ProgramTest {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/quillo-render-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Runs the renderer in the temporary folder, or in the folder given; returns its
  // exit status.
  int Run(const std::string& args, const std::string& folder = "") {
    const std::string cmd = "cd '" + (folder.empty() ? dir_ : folder) +
                            "' && '" QUILLO_RENDER "' " + args + " 2> '" + dir_ + "/err.txt'";
    const int status = std::system(cmd.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string Err() {
    std::ifstream in(dir_ + "/err.txt");
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  void WriteWords(const std::string& name, const std::vector<uint32_t>& words) {
    std::ofstream out(dir_ + "/" + name, std::ios::binary);
    for (uint32_t w : words)
      for (int i = 0; i < 4; ++i)
        out.put(static_cast<char>(w >> (8 * i)));
  }
  std::string dir_;
};

TEST_F(RenderCliTest, RefusesMissingOversizedAndShortFiles) {
  EXPECT_EQ(Run("nothing.qlr out.bmp"), 1);
  EXPECT_NE(Err().find("nothing.qlr"), std::string::npos);
  EXPECT_NE(Err().find("File not found"), std::string::npos);

  WriteWords("huge.qlr", {60001, 1, 2, 3});
  EXPECT_EQ(Run("huge.qlr out.bmp"), 1);
  EXPECT_NE(Err().find("huge.qlr"), std::string::npos);

  WriteWords("short.qlr", {10, 4, 4, 4});  // ten entries promised, far fewer there
  EXPECT_EQ(Run("short.qlr out.bmp"), 1);
  EXPECT_NE(Err().find("Read beyond end of file"), std::string::npos);

  EXPECT_EQ(Run("--demo short.qlr out.bmp"), 1);
  EXPECT_EQ(Run("--size 10 short.qlr out.bmp"), 1);
  EXPECT_FALSE(fs::exists(dir_ + "/out.bmp"));
}

// A folder is named as such, not read as an empty file; sizes are decimal digits
// alone, within the surface's limits, however far out of range the number.
TEST_F(RenderCliTest, RefusesFoldersAndMalformedSizes) {
  fs::create_directory(dir_ + "/folder.qlr");
  EXPECT_EQ(Run("folder.qlr out.bmp"), 1);
  EXPECT_NE(Err().find("folder.qlr: Is a folder, not a file"), std::string::npos) << Err();
  EXPECT_EQ(Run("--demo folder.qlr out.bmp"), 1);
  EXPECT_NE(Err().find("Is a folder, not a file"), std::string::npos) << Err();

  WriteWords("empty.qlr", {0, 0});
  for (const char* size :
       {"99999999999999999999x100", "4294967312x100", "100x4294967312", "100x-100", "+100x100",
        "100x100x", "100x100x7", "100X100", "x100", "100x", "15x100", "100x32769", "1e3x100"}) {
    EXPECT_EQ(Run(std::string("--size '") + size + "' empty.qlr out.bmp"), 1) << size;
    EXPECT_NE(Err().find("usage: quillo-render"), std::string::npos) << size;
  }
  EXPECT_EQ(Run("empty.qlr ''"), 1);
  EXPECT_NE(Err().find("usage: quillo-render"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir_ + "/out.bmp"));
  EXPECT_EQ(Run("--size 16x32768 empty.qlr out.bmp"), 0) << Err();
  EXPECT_TRUE(fs::exists(dir_ + "/out.bmp"));
}

TEST_F(RenderCliTest, RendersADrawingAndItsFrames) {
  Start();
  program->startScreen.GoStraightToDrawing();
  Press({100, 100});
  for (int i = 1; i <= 20; ++i)
    Move({100 + 20 * i, 100 + 10 * i});
  Release({500, 300});
  program->RecordAction({}, lglinew, 32);
  program->RecordAction({}, lglinew, 32);
  ASSERT_FALSE(WriteReplayFile(dir_ + "/drawing.qlr", program->log).has_value());

  EXPECT_EQ(Run("--size 800x600 --speed 0 drawing.qlr out.png"), 0) << Err();
  EXPECT_GT(fs::file_size(dir_ + "/out.png"), 100u);
  EXPECT_EQ(Run("--frames drawing.qlr out.bmp"), 0) << Err();
  EXPECT_GT(fs::file_size(dir_ + "/out.bmp"), 1024u * 768u * 3u);
  EXPECT_TRUE(fs::exists(dir_ + "/clip0001.bmp"));
  EXPECT_TRUE(fs::exists(dir_ + "/clip0020.bmp"));
  EXPECT_FALSE(fs::exists(dir_ + "/clip0101.bmp"));
}

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// On a full disk the old picture stays whole and the run fails, for the output and
// for every frame; nothing half-written is left. Any other ending is refused before
// anything is written.
TEST_F(RenderCliTest, AFailedWriteKeepsTheOldPictureAndFailsTheRun) {
  FullDisk disk;
  if (!disk.Unavailable().empty()) GTEST_SKIP() << disk.Unavailable();
  Start();
  program->startScreen.GoStraightToDrawing();
  Press({100, 100});
  Release({500, 300});
  ASSERT_FALSE(WriteReplayFile(disk.Folder() + "drawing.qlr", program->log).has_value());
  ASSERT_EQ(Run("--size 64x48 drawing.qlr out.png", disk.Folder()), 0) << Err();
  ASSERT_EQ(Run("--size 64x48 drawing.qlr out.bmp", disk.Folder()), 0) << Err();
  const std::string oldPng = Contents(disk.Folder() + "out.png");
  const std::string oldBmp = Contents(disk.Folder() + "out.bmp");
  ASSERT_GT(oldPng.size(), 50u);
  ASSERT_TRUE(disk.Fill());

  for (const char* out : {"out.png", "out.bmp"}) {
    EXPECT_EQ(Run(std::string("drawing.qlr ") + out, disk.Folder()), 1) << out;
    EXPECT_NE(Err().find("Disk full"), std::string::npos) << Err();
  }
  EXPECT_EQ(Contents(disk.Folder() + "out.png"), oldPng);
  EXPECT_EQ(Contents(disk.Folder() + "out.bmp"), oldBmp);

  EXPECT_EQ(Run("--frames --size 64x48 drawing.qlr frames.png", disk.Folder()), 1);
  EXPECT_NE(Err().find("Disk full"), std::string::npos) << Err();
  for (const auto& entry : fs::directory_iterator(disk.Folder())) {
    const std::string name = entry.path().filename().string();
    EXPECT_TRUE(name == "drawing.qlr" || name == "out.png" || name == "out.bmp" || name == "filler")
        << name << " was left behind";
  }

  EXPECT_EQ(Run("drawing.qlr " + dir_ + "/out.jpg", disk.Folder()), 1);
  EXPECT_NE(Err().find(".bmp or .png"), std::string::npos) << Err();
  EXPECT_FALSE(fs::exists(dir_ + "/out.jpg"));
}

// The pixels of a 24-bit bottom-up BMP as the renderer writes it, top row first.
std::vector<uint32_t> BmpPixels(const std::string& path, int& width, int& height) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes(std::istreambuf_iterator<char>(in), {});
  auto u32 = [&](size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
      v = v << 8 | static_cast<uint8_t>(bytes.at(at + i));
    return v;
  };
  const uint32_t offset = u32(10);
  width = static_cast<int>(u32(18));
  height = static_cast<int>(u32(22));
  EXPECT_EQ(u32(28) & 0xFFFF, 24u);
  const size_t stride = (size_t(width) * 3 + 3) / 4 * 4;
  std::vector<uint32_t> pixels;
  for (int y = height - 1; y >= 0; --y)
    for (int x = 0; x < width; ++x) {
      const size_t at = offset + size_t(y) * stride + size_t(x) * 3;
      pixels.push_back(uint32_t(uint8_t(bytes.at(at))) | uint32_t(uint8_t(bytes.at(at + 1))) << 8 |
                       uint32_t(uint8_t(bytes.at(at + 2))) << 16);
    }
  return pixels;
}

// Every speed plays the whole drawing: the end rule leaves out at most a batch of
// last entries, so a log ending in more harmless entries than the fastest batch
// gives one picture at every speed.
TEST_F(RenderCliTest, EverySpeedDrawsTheSamePicture) {
  Start();
  program->startScreen.GoStraightToDrawing();
  Press({100, 100});
  for (int i = 1; i <= 30; ++i)
    Move({100 + 25 * i, 100 + 15 * i});
  Release({850, 550});
  for (int i = 0; i < 40; ++i)
    program->RecordAction({}, lglinew, 32);
  ASSERT_FALSE(WriteReplayFile(dir_ + "/drawing.qlr", program->log).has_value());

  std::vector<uint32_t> first;
  for (int speed : {0, 2, 8, 32}) {
    const std::string out = "speed" + std::to_string(speed) + ".bmp";
    ASSERT_EQ(Run("--speed " + std::to_string(speed) + " drawing.qlr " + out), 0) << Err();
    int w = 0, h = 0;
    const std::vector<uint32_t> pixels = BmpPixels(dir_ + "/" + out, w, h);
    ASSERT_EQ(w, 1024);
    ASSERT_EQ(h, 768);
    if (first.empty()) {
      first = pixels;
      const auto painted = std::count_if(first.begin(), first.end(), [](uint32_t p) { return p; });
      EXPECT_GT(painted, 20000) << "the drawing is missing";
    } else {
      EXPECT_TRUE(pixels == first) << "speed " << speed << " drew another picture";
    }
  }
}

TEST(LogFilesTest, RefusedFilesLoadNothingAndGoodOnesRoundTrip) {
  ActionLog log;
  for (int i = 1; i <= 8; ++i) {
    log.Codes()[i] = static_cast<uint32_t>(i);
    log.Values()[i] = -i * 1000;
  }
  log.Codes()[0] = 8;
  const std::string path = "/tmp/quillo-logfiles-test.qlr";
  ASSERT_FALSE(WriteReplayFile(path, log).has_value());
  EXPECT_EQ(fs::file_size(path), 72u);
  LogReadResult read = ReadReplayFile(path);
  ASSERT_TRUE(std::holds_alternative<LoadedLog>(read));
  ActionLog back;
  back.Codes()[20] = 99;
  ApplyLoadedLog(back, std::get<LoadedLog>(read));
  for (int i = 0; i <= 8; ++i) {
    EXPECT_EQ(back.Codes()[i], log.Codes()[i]);
    EXPECT_EQ(back.Values()[i], log.Values()[i]);
  }
  EXPECT_EQ(back.Codes()[20], 99u);  // slots past the count stay

  fs::resize_file(path, 71);
  read = ReadReplayFile(path);
  ASSERT_TRUE(std::holds_alternative<std::string>(read));
  EXPECT_EQ(std::get<std::string>(read), "Read beyond end of file");
  fs::remove(path);
}

}  // namespace
}  // namespace quillo::testing
