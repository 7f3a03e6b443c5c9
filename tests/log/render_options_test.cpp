// The replay renderer's command line: what it takes and what it refuses.
#include <gtest/gtest.h>

#include "render_options.h"

namespace quillo {
namespace {

std::optional<RenderOptions> Parse(std::vector<std::string> args) {
  return ParseRenderArgs(args);
}

TEST(RenderOptionsTest, DefaultsAndEveryOptionTakeEffect) {
  const auto plain = Parse({"in.qlr", "out.png"});
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->size.width, 1024);
  EXPECT_EQ(plain->size.height, 768);
  EXPECT_EQ(plain->speed, 2);
  EXPECT_EQ(plain->fps, 30);
  EXPECT_DOUBLE_EQ(plain->holdSeconds, 2.0);
  EXPECT_FALSE(plain->demo);
  EXPECT_FALSE(plain->frames);

  const auto all = Parse({"--size", "801x601", "--speed", "32", "--fps", "12", "--hold", "0.25",
                          "--demo", "Newonee.log", "--frames", "demo.gif"});
  ASSERT_TRUE(all);
  EXPECT_EQ(all->size.width, 801);
  EXPECT_EQ(all->size.height, 601);
  EXPECT_EQ(all->speed, 32);
  EXPECT_EQ(all->fps, 12);
  EXPECT_DOUBLE_EQ(all->holdSeconds, 0.25);
  EXPECT_TRUE(all->demo);
  EXPECT_TRUE(all->frames);
  EXPECT_EQ(all->input, "Newonee.log");
  EXPECT_EQ(all->output, "demo.gif");
  EXPECT_DOUBLE_EQ(Parse({"--hold", "0", "a", "b.mp4"})->holdSeconds, 0.0);
  // Pictures by their ending in either case, BMP or PNG.
  for (const char* out : {"b.bmp", "b.BMP", "b.Png", "b.webm", "b.gif"})
    EXPECT_TRUE(Parse({"a", out})) << out;
}

TEST(RenderOptionsTest, BadValuesMissingValuesAndStrayArgumentsAreRefused) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {},
           {"in.qlr"},
           {"in.qlr", "out.png", "extra.png"},
           {"--size", "15x600", "a", "b.bmp"},
           {"--size", "800x", "a", "b.bmp"},
           {"--size", "800x600x2", "a", "b.bmp"},
           {"--size", "-800x600", "a", "b.bmp"},
           {"--size", "99999999999x600", "a", "b.bmp"},
           {"--speed", "33", "a", "b.bmp"},
           {"--speed", "2x", "a", "b.bmp"},
           {"--fps", "0", "a", "b.bmp"},
           {"--fps", "61", "a", "b.bmp"},
           {"--fps", "", "a", "b.bmp"},
           {"--hold", "-1", "a", "b.bmp"},
           {"--hold", "61", "a", "b.bmp"},
           {"--hold", "nan", "a", "b.bmp"},
           {"--hold", "inf", "a", "b.bmp"},
           {"--hold", "1e3", "a", "b.bmp"},
           {"--hold", "2s", "a", "b.bmp"},
           {"--scale", "0.2", "a", "b.bmp"},
           {"--scale", "-2", "a", "b.bmp"},
           {"--scale", "two", "a", "b.bmp"},
           {"--scale", "2", "--size", "800x600", "a", "b.bmp"},
           {"--size", "800x600", "--scale", "2", "a", "b.bmp"},
           {"a", "b.bmp", "--fps"},
           {"--loop", "a", "b.bmp"},
           // Only the kinds it writes: never a bitmap under another kind's name.
           {"in.qlr", "out.jpg"},
           {"in.qlr", "out"},
           {"in.qlr", "out.png.txt"},
           {"in.qlr", ".bmp/x"},
       }) {
    std::string line;
    for (const auto& a : args)
      line += a + " ";
    EXPECT_FALSE(Parse(args)) << line;
  }
}

TEST(RenderOptionsTest, TheScreenIsTheRecordedSizeScaledOrTheSizeGiven) {
  struct Case {
    std::vector<std::string> args;
    CanvasSize recorded;
    std::optional<ScreenSize> screen;
  };
  using S = ScreenSize;
  for (const Case& c : std::vector<Case>{
           {{"a", "b.png"}, {1024, 768}, S{1024, 768}},
           {{"a", "b.png"}, {1920, 1080}, S{1920, 1080}},
           {{"a", "b.png"}, {}, S{1024, 768}},  // a file that does not say: as before
           {{"--scale", "4", "a", "b.png"}, {1024, 768}, S{4096, 3072}},
           {{"--scale", "0.25", "a", "b.png"}, {1024, 768}, S{256, 192}},
           {{"--scale", "1.5", "a", "b.png"}, {801, 601}, S{1202, 902}},
           {{"--scale", "2", "a", "b.png"}, {}, S{1024, 768}},
           {{"--size", "1920x1080", "a", "b.png"}, {1024, 768}, S{1920, 1080}},
           {{"--scale", "64", "a", "b.png"}, {1024, 768}, std::nullopt},  // beyond a canvas
       }) {
    const auto o = Parse(c.args);
    ASSERT_TRUE(o) << c.args[0];
    const auto screen = RenderScreen(*o, c.recorded);
    ASSERT_EQ(screen.has_value(), c.screen.has_value()) << c.args[0] << " " << c.args[1];
    if (screen) {
      EXPECT_EQ(screen->width, c.screen->width) << c.args[1];
      EXPECT_EQ(screen->height, c.screen->height) << c.args[1];
    }
  }
}

}  // namespace
}  // namespace quillo
