// Replay videos written by quillo-render and by the encoder itself, read back with
// FFmpeg's own tools: what the file says it is, how long it runs, how its last frame
// compares with the finished picture, and what a cancel or a failure leaves behind.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/program_fixture.h"
#include "log/log_files.h"
#include "log/replay_film.h"
#include "log/replay_video.h"
#include "platform/video/video_encoder.h"

namespace quillo::testing {
namespace {

namespace fs = std::filesystem;

// An odd size: the video codecs need even sides and get one black pixel more.
constexpr int kWidth = 481;
constexpr int kHeight = 361;
const std::string kSize = "--size 481x361";

// Runs a shell command; its exit status.
int Shell(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class ReplayVideoTest : public ProgramTest {
 protected:
  // The tool buttons answer the mouse going down on them.
  void PickTool(const char* name) {
    ControlEvent e;
    e.control = MainForm().Find(name);
    ASSERT_NE(e.control, kNoControl) << name;
    e.kind = EventKind::kMouseDown;
    e.button = MouseButton::kLeft;
    MainForm().Dispatch(e);
  }
  void SetUp() override {
    char pattern[] = "/tmp/quillo-video-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Strokes of the given tools on a screen of w x h, saved as name; the entry count.
  int32_t SaveDrawing(const std::string& name, std::vector<const char*> tools, int moves,
                      int w = kWidth, int h = kHeight) {
    Start(w, h);
    program->startScreen.GoStraightToDrawing();
    for (const char* tool : tools) {
      PickTool(tool);
      Press({w / 5, h / 5});
      for (int i = 1; i <= moves; ++i)
        Move({w / 10 + (i * 97) % (w * 8 / 10), h / 10 + (i * 61) % (h * 8 / 10)});
      Release({w / 2, h / 2});
    }
    EXPECT_FALSE(WriteReplayFile(dir_ + "/" + name, program->log).has_value());
    return program->log.Count();
  }

  int Render(const std::string& args) {
    return Shell("cd '" + dir_ + "' && '" QUILLO_RENDER "' " + args + " 2> err.txt");
  }
  std::string Err() { return ReadFile(dir_ + "/err.txt"); }

  // ffprobe's view of a file's video stream and its duration, as key=value pairs.
  std::map<std::string, std::string> Probe(const std::string& name) {
    const std::string out = dir_ + "/probe.txt";
    EXPECT_EQ(Shell("'" FFPROBE "' -v error -count_frames -select_streams v:0 -show_entries "
                    "stream=codec_name,width,height,pix_fmt,nb_read_frames:format=duration "
                    "-of default=noprint_wrappers=1 '" +
                    dir_ + "/" + name + "' > '" + out + "'"),
              0);
    std::map<std::string, std::string> fields;
    std::istringstream lines(ReadFile(out));
    for (std::string line; std::getline(lines, line);) {
      const size_t eq = line.find('=');
      if (eq != std::string::npos) fields[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return fields;
  }

  // Every frame of a file decoded by ffmpeg to 8-bit RGB; the last w x h x 3 bytes.
  std::string LastFrameRgb(const std::string& name, int w, int h) {
    const std::string out = dir_ + "/" + name + ".rgb";
    EXPECT_EQ(Shell("'" FFMPEG "' -v error -i '" + dir_ + "/" + name +
                    "' -f rawvideo -pix_fmt rgb24 -y '" + out + "'"),
              0);
    const std::string all = ReadFile(out);
    const size_t size = static_cast<size_t>(w) * h * 3;
    EXPECT_GE(all.size(), size);
    return all.size() < size ? std::string() : all.substr(all.size() - size);
  }

  std::string dir_;
};

// Mean absolute difference per channel between the w x h top-left corners of two RGB
// pictures with rows of the given widths.
std::array<double, 3> MeanDifference(const std::string& a, int aWidth, const std::string& b,
                                     int bWidth, int w, int h) {
  std::array<double, 3> sum{};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (int c = 0; c < 3; ++c) {
        const int pa = static_cast<unsigned char>(a[(size_t(y) * aWidth + x) * 3 + c]);
        const int pb = static_cast<unsigned char>(b[(size_t(y) * bWidth + x) * 3 + c]);
        sum[c] += std::abs(pa - pb);
      }
  for (double& s : sum)
    s /= double(w) * h;
  return sum;
}

TEST_F(ReplayVideoTest, EachKindHasItsCodecSizeLengthAndEndsOnTheFinishedPicture) {
  const int32_t count = SaveDrawing("drawing.qlr", {"freebtn"}, 50);
  const int w = kWidth, h = kHeight;
  ASSERT_EQ(Render(kSize + " drawing.qlr finished.png"), 0) << Err();
  const std::string picture = LastFrameRgb("finished.png", w, h);
  ASSERT_FALSE(picture.empty());
  // Much is drawn, so the comparisons below compare a picture.
  ASSERT_GT(std::count_if(picture.begin(), picture.end(), [](char ch) { return ch != 0; }),
            static_cast<long>(picture.size() / 10));

  struct Case {
    const char* name;
    const char* args;
    const char* codec;
    int width, height, fps;
    double hold, limit;
  };
  for (const Case& c : {Case{"replay.mp4", "", "h264", w + 1, h + 1, 30, 2.0, 3.0},
                        Case{"replay.webm", "--fps 25 --hold 1", "vp9", w + 1, h + 1, 25, 1.0, 3.0},
                        Case{"replay.gif", "--fps 20 --hold 0.5", "gif", w, h, 20, 0.5, 6.0}}) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(Render(kSize + " " + c.args + " drawing.qlr " + c.name), 0) << Err();
    const auto probe = Probe(c.name);
    EXPECT_EQ(probe.at("codec_name"), c.codec);
    EXPECT_EQ(probe.at("width"), std::to_string(c.width));
    EXPECT_EQ(probe.at("height"), std::to_string(c.height));
    if (c.codec != std::string("gif")) {
      EXPECT_EQ(probe.at("pix_fmt"), "yuv420p");
    }
    const int64_t frames = FilmFrameCount(ReplayTickCount(count, 2), FilmTiming{c.fps, c.hold});
    EXPECT_EQ(probe.at("nb_read_frames"), std::to_string(frames));
    // GIF delays are whole hundredths of a second: allow one of them.
    EXPECT_NEAR(std::stod(probe.at("duration")), double(frames) / c.fps, 0.011);

    const std::string last = LastFrameRgb(c.name, c.width, c.height);
    ASSERT_FALSE(last.empty());
    const auto diff = MeanDifference(last, c.width, picture, w, w, h);
    for (int ch = 0; ch < 3; ++ch)
      EXPECT_LE(diff[ch], c.limit) << "channel " << ch;
  }
}

// A pattern tool's web of one-pixel lines in many colours is finer than yuv420p's
// colour, which has one sample for every two by two pixels: the format alone puts the
// picture further from the canvas than the stroke drawing's limit. There the videos
// are held to the format's own loss, worked out by ffmpeg on the picture itself, and
// the GIF to its limit.
TEST_F(ReplayVideoTest, APatternWebLosesLittleBeyondWhatYuv420pItselfLoses) {
  SaveDrawing("web.qlr", {"freebtn", "nuwavebtn"}, 30);
  ASSERT_EQ(program->tools.tool, dtNuwave);
  const int w = kWidth, h = kHeight;
  ASSERT_EQ(Render(kSize + " web.qlr web.png"), 0) << Err();
  const std::string picture = LastFrameRgb("web.png", w, h);
  ASSERT_EQ(Shell("'" FFMPEG "' -v error -i '" + dir_ + "/web.png' -vf format=yuv420p '" + dir_ +
                  "/web420.png'"),
            0);
  const std::string format = LastFrameRgb("web420.png", w, h);
  ASSERT_FALSE(picture.empty());
  ASSERT_FALSE(format.empty());
  const auto floor = MeanDifference(format, w, picture, w, w, h);

  for (const char* name : {"web.mp4", "web.webm", "web.gif"}) {
    SCOPED_TRACE(name);
    ASSERT_EQ(Render(kSize + " --hold 0.5 web.qlr " + name), 0) << Err();
    const bool gif = fs::path(name).extension() == ".gif";
    const int vw = gif ? w : w + 1, vh = gif ? h : h + 1;
    const std::string last = LastFrameRgb(name, vw, vh);
    ASSERT_FALSE(last.empty());
    const auto diff = MeanDifference(last, vw, picture, w, w, h);
    for (int ch = 0; ch < 3; ++ch)
      EXPECT_LE(diff[ch], gif ? 6.0 : floor[ch] + 1.5)
          << "channel " << ch << ", yuv420p alone " << floor[ch];
  }
}

TEST_F(ReplayVideoTest, ACancelledExportLeavesNoFile) {
  SaveDrawing("drawing.qlr", {"freebtn", "nuwavebtn"}, 40);
  auto read = ReadReplayFile(dir_ + "/drawing.qlr");
  ASSERT_TRUE(std::holds_alternative<LoadedLog>(read));
  for (const char* name : {"cancelled.mp4", "cancelled.gif"}) {
    Start(200, 150);
    program->startScreen.GoStraightToDrawing();
    StartLoadedReplay(*program, std::get<LoadedLog>(read), 2);
    std::atomic<bool> cancel = false;
    const std::string path = dir_ + "/" + name;
    VideoEncoder encoder;
    const ReplayVideoResult result = WriteReplayVideo(
        *program, encoder, FilmTiming{}, path, [&](double done) { cancel = done > 0.3; }, &cancel);
    EXPECT_EQ(result.outcome, ReplayVideoResult::kCancelled);
    EXPECT_NE(result.message.find(path), std::string::npos);
    EXPECT_FALSE(fs::exists(path));
  }
  // A GIF maps its frames to the palette after the last one: a cancel then still
  // drops it.
  Start(200, 150);
  program->startScreen.GoStraightToDrawing();
  StartLoadedReplay(*program, std::get<LoadedLog>(read), 2);
  std::atomic<bool> cancel = false;
  const std::string late = dir_ + "/late.gif";
  VideoEncoder encoder;
  const ReplayVideoResult result = WriteReplayVideo(
      *program, encoder, FilmTiming{}, late, [&](double done) { cancel = done >= 1.0; }, &cancel);
  EXPECT_EQ(result.outcome, ReplayVideoResult::kCancelled);
  EXPECT_FALSE(fs::exists(late));
  // Nothing else is left in the folder either: no temporary files.
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(dir_))
    left.push_back(entry.path().filename().string());
  EXPECT_EQ(left, std::vector<std::string>{"drawing.qlr"});
}

TEST_F(ReplayVideoTest, AnUnwritableFolderGivesAMessageAndNoFile) {
  SaveDrawing("drawing.qlr", {"freebtn"}, 10);
  fs::create_directory(dir_ + "/plain");
  std::ofstream(dir_ + "/plain/file") << "x";
  // A folder that is a file cannot hold a video whoever runs the test.
  for (const std::string target : {"missing/replay.mp4", "plain/file/replay.gif"}) {
    SCOPED_TRACE(target);
    EXPECT_EQ(Render("drawing.qlr " + target), 1);
    EXPECT_NE(Err().find(target), std::string::npos) << Err();
    EXPECT_FALSE(fs::exists(dir_ + "/" + target));

    VideoEncoder encoder;
    const auto error = encoder.Open(dir_ + "/" + target, *VideoKindOf(target), 64, 48, 30);
    ASSERT_TRUE(error.has_value());
    EXPECT_NE(error->find(target), std::string::npos) << *error;
  }
  // Refused input still writes nothing.
  EXPECT_EQ(Render("missing.qlr replay.mp4"), 1);
  EXPECT_NE(Err().find("missing.qlr"), std::string::npos);
  EXPECT_EQ(Render("--fps 0 drawing.qlr replay.mp4"), 1);
  EXPECT_EQ(Render("--hold -1 drawing.qlr replay.mp4"), 1);
  EXPECT_FALSE(fs::exists(dir_ + "/replay.mp4"));
}

TEST_F(ReplayVideoTest, TheEncoderRefusesAFrameOfTheWrongSizeAndDropsTheFile) {
  VideoEncoder encoder;
  const std::string path = dir_ + "/sized.webm";
  ASSERT_FALSE(encoder.Open(path, VideoKind::kWebm, 64, 48, 30).has_value());
  Surface right, wrong;
  ASSERT_TRUE(right.Resize(64, 48));
  ASSERT_TRUE(wrong.Resize(48, 64));
  EXPECT_FALSE(encoder.AddFrame(right).has_value());
  const auto error = encoder.AddFrame(wrong);
  ASSERT_TRUE(error.has_value());
  EXPECT_NE(error->find(path), std::string::npos);
  EXPECT_TRUE(encoder.Finish().has_value());
  EXPECT_TRUE(fs::is_empty(dir_));
}

// A killed export leaves its hidden temporary file; the next export beside it
// removes it (and not one of a program still running). The finished file has the
// modes the umask gives.
TEST_F(ReplayVideoTest, AKilledExportsFileGoesAtTheNextAndModesFollowTheUmask) {
  const pid_t gone = fork();
  if (gone == 0) _exit(0);
  ASSERT_EQ(waitpid(gone, nullptr, 0), gone);
  const std::string stale = dir_ + "/.old.mp4.quillo-video-" + std::to_string(gone) + "-0";
  const std::string running = dir_ + "/.old.mp4.quillo-video-" + std::to_string(getppid()) + "-0";
  std::ofstream(stale) << "half a video";
  std::ofstream(running) << "a video being written";

  const mode_t old = umask(077);
  VideoEncoder encoder;
  const std::string path = dir_ + "/new.gif";
  const auto opened = encoder.Open(path, VideoKind::kGif, 64, 48, 30);
  Surface frame;
  ASSERT_TRUE(frame.Resize(64, 48));
  const auto added = encoder.AddFrame(frame);
  const auto finished = encoder.Finish();
  umask(old);
  ASSERT_FALSE(opened || added || finished);
  EXPECT_FALSE(fs::exists(stale));
  EXPECT_TRUE(fs::exists(running));
  EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
}

}  // namespace
}  // namespace quillo::testing
