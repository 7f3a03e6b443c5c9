#include "log/inspector_list.h"

#include <gtest/gtest.h>

namespace quillo {
namespace {

InspectorLine Numbered(int32_t n) {
  InspectorLine l;
  l.position = n;
  l.value = -n;
  return l;
}

TEST(InspectorListTest, LinesKeepTheirOrderAcrossBlocksAndTheOldestGoFirstWhenFull) {
  InspectorList list;
  const size_t extra = InspectorList::kBlockLines + 123;
  const size_t total = InspectorList::kMaxLines + extra;
  for (size_t i = 0; i < total; ++i) {
    list.push_back(Numbered(int32_t(i)));
    // Just before and after each block boundary, and at the bound.
    if (i == InspectorList::kBlockLines - 1 || i == InspectorList::kBlockLines ||
        i == InspectorList::kMaxLines - 1) {
      ASSERT_EQ(list.size(), i + 1);
      ASSERT_EQ(list[i].position, int32_t(i));
      ASSERT_EQ(list[0].position, 0);
    }
  }
  ASSERT_EQ(list.size(), InspectorList::kMaxLines);
  EXPECT_EQ(list.Dropped(), extra);
  EXPECT_EQ(list[0].position, int32_t(extra));
  EXPECT_EQ(list[0].value, -int32_t(extra));
  EXPECT_EQ(list[InspectorList::kMaxLines - 1].position, int32_t(total - 1));
  size_t seen = 0;
  int32_t expected = int32_t(extra);
  for (const InspectorLine& l : list) {
    if (l.position != expected++) break;
    ++seen;
  }
  EXPECT_EQ(seen, InspectorList::kMaxLines);

  const uint64_t clears = list.Clears();
  list.clear();
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(list.Clears(), clears + 1);
  EXPECT_EQ(list.Dropped(), 0u);
  list.push_back(Numbered(7));
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].position, 7);
}

TEST(InspectorListTest, ALineIsTenNumbersFourSpacesApart) {
  InspectorLine l;
  l.position = 60000;
  l.kind = 1;
  l.strokeType = 2;
  l.tool = 11;
  l.code = 15;
  l.x = -5;
  l.y = 1079;
  l.value = -2147483647 - 1;
  l.relX = 0;
  l.relY = -1;
  EXPECT_EQ(l.Format(), "60000    1    2    11    15    -5    1079    -2147483648    0    -1");
}

}  // namespace
}  // namespace quillo
