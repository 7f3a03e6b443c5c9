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
}

TEST(RenderOptionsTest, BadValuesMissingValuesAndStrayArgumentsAreRefused) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {},
           {"in.qlr"},
           {"in.qlr", "out.png", "extra"},
           {"--size", "15x600", "a", "b"},
           {"--size", "800x", "a", "b"},
           {"--size", "800x600x2", "a", "b"},
           {"--size", "-800x600", "a", "b"},
           {"--size", "99999999999x600", "a", "b"},
           {"--speed", "33", "a", "b"},
           {"--speed", "2x", "a", "b"},
           {"--fps", "0", "a", "b"},
           {"--fps", "61", "a", "b"},
           {"--fps", "", "a", "b"},
           {"--hold", "-1", "a", "b"},
           {"--hold", "61", "a", "b"},
           {"--hold", "nan", "a", "b"},
           {"--hold", "inf", "a", "b"},
           {"--hold", "1e3", "a", "b"},
           {"--hold", "2s", "a", "b"},
           {"a", "b", "--fps"},
           {"--loop", "a", "b"},
       }) {
    std::string line;
    for (const auto& a : args)
      line += a + " ";
    EXPECT_FALSE(Parse(args)) << line;
  }
}

}  // namespace
}  // namespace quillo
