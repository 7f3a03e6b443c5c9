// The key table: every key of the main window once, with the words the chart shows.
#include "app/key_table.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <tuple>

namespace quillo {
namespace {

// The table holds each key of the main window once, for exactly one handler.
TEST(KeyTableTest, EveryKeyOnceWithItsWords) {
  std::set<std::tuple<KeyHandler, int32_t, ShiftRule>> seen;
  int press = 0, down = 0, ctrl = 0, alt = 0;
  for (const KeyRow& row : KeyTable()) {
    EXPECT_TRUE(seen.emplace(row.handler, row.key, row.shift).second) << KeyName(row);
    EXPECT_FALSE(KeyName(row).empty());
    EXPECT_NE(std::string(row.what), "");
    press += row.handler == KeyHandler::kPress;
    down += row.handler == KeyHandler::kDown;
    ctrl += row.handler == KeyHandler::kCtrlUp;
    alt += row.handler == KeyHandler::kAltUp;
  }
  // 12 tools, "<" ">", 12 key colours, 6 tweaks, 6 stores, c v x z.
  EXPECT_EQ(press, 12 + 2 + 12 + 6 + 6 + 4);
  // Enter Space PgUp×2 PgDn×2 End Home four arrows, the pad's 0-9 * + - . /, F1 F2 F11 F12.
  EXPECT_EQ(down, 2 + 4 + 2 + 4 + 15 + 4);
  EXPECT_EQ(ctrl, 5);  // A C V Z, and Y
  EXPECT_EQ(alt, 2);
  const std::string md = KeyTableMarkdown();
  for (int g = 0; g < kKeyGroupCount; ++g)
    EXPECT_NE(md.find(KeyGroupTitle(static_cast<KeyGroup>(g))), std::string::npos);
  EXPECT_NE(md.find("| `Shift+Page Up` |"), std::string::npos);
}

// The README's list of keys is the table's own Markdown, between its markers.
TEST(KeyTableTest, ReadmeListsTheTable) {
  std::ifstream in(QUILLO_SOURCE_DIR "/README.md");
  ASSERT_TRUE(in);
  const std::string readme(std::istreambuf_iterator<char>(in), {});
  const std::string begin = "<!-- keys:begin -->\n", end = "<!-- keys:end -->";
  const size_t from = readme.find(begin);
  const size_t to = readme.find(end);
  ASSERT_NE(from, std::string::npos);
  ASSERT_NE(to, std::string::npos);
  EXPECT_EQ(readme.substr(from + begin.size(), to - from - begin.size()), KeyTableMarkdown())
      << "Put the table's Markdown between the markers in README.md.";
}

}  // namespace
}  // namespace quillo
