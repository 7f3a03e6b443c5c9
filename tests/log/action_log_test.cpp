#include "log/action_log.h"

#include <gtest/gtest.h>

namespace quillo {
namespace {

RecordContext At(int32_t x, int32_t y) {
  RecordContext ctx;
  ctx.reference = {x, y};
  ctx.currentPoint = {x, y};
  return ctx;
}

TEST(ActionLogTest, CodeWordsCarryTheirHalfBytes) {
  ActionLog log;
  RecordContext ctx = At(0, 0);
  ctx.tool = 8;
  log.Record(true, lgshape, 0, ctx);
  EXPECT_EQ(log.Codes()[1], 132u);

  ctx.colorMode = 0;
  log.Record(true, lgmousem, 2, ctx);
  EXPECT_EQ(log.Codes()[2], 518u);
  ctx.colorMode = 2;
  log.Record(true, lgmousem, 2, ctx);
  EXPECT_EQ(log.Codes()[3], 523u);
  ctx.colorMode = 1;
  log.Record(true, lgmousem, 2, ctx);
  EXPECT_EQ(log.Codes()[4], 517u);

  log.Record(true, lgcanvasop, 0, ctx);
  log.Record(true, lgcanvasop, 1, ctx);
  EXPECT_EQ(log.Codes()[5], 15u);
  EXPECT_EQ(log.Codes()[6], 4111u);

  const CodeFields f = SplitCode(4111u);
  EXPECT_EQ(f.code, 15);
  EXPECT_EQ(f.kind, 1);
  EXPECT_EQ(SplitCode(132u).tool, 8);
  EXPECT_EQ(SplitCode(523u).strokeType, 2);
}

TEST(ActionLogTest, ShapeAndCanvasEntriesLeaveTheValueSlot) {
  ActionLog log;
  log.Values()[1] = 777;
  log.Values()[2] = 888;
  log.Record(true, lgshape, 5, At(0, 0));
  log.Record(true, lgcanvasop, 1, At(0, 0));
  EXPECT_EQ(log.Values()[1], 777);
  EXPECT_EQ(log.Values()[2], 888);
}

TEST(ActionLogTest, PointsPackWithTheirFlag) {
  EXPECT_EQ(PackPoint(100, 200, false), 100 * 65536 + 200);
  EXPECT_EQ(PackPoint(100, 200, true), -(100 * 65536 + 200));
  const UnpackedPoint u = UnpackPoint(-(100 * 65536 + 200));
  EXPECT_TRUE(u.flag);
  EXPECT_EQ(u.x, 100);
  EXPECT_EQ(u.y, 200);
  // The widest x that survives the round trip, and one that does not.
  EXPECT_EQ(UnpackPoint(PackPoint(32767, 65535, false)).x, 32767);
  EXPECT_NE(UnpackPoint(PackPoint(40000, 10, false)).x, 40000);

  ActionLog log;
  RecordContext ctx = At(100, 200);
  ctx.wild = true;
  log.Record(true, lgmoused, 0, ctx);
  ctx.wild = false;
  ctx.centerMode = true;
  log.Record(true, lgmousem, 2, ctx);
  EXPECT_EQ(log.Values()[1], -(100 * 65536 + 200));
  EXPECT_EQ(log.Values()[2], -(100 * 65536 + 200));
}

TEST(ActionLogTest, CountInSlotZeroAndNothingWhileNotRecording) {
  ActionLog log;
  EXPECT_FALSE(log.Record(false, lgcolor, 5, At(0, 0)).stored);
  EXPECT_EQ(log.position, 0);
  for (int i = 1; i <= 5; ++i) {
    EXPECT_TRUE(log.Record(true, lgcolor, i, At(0, 0)).stored);
    EXPECT_EQ(log.Codes()[0], static_cast<uint32_t>(log.position));
  }
  EXPECT_EQ(log.Count(), 5);
}

TEST(ActionLogTest, FullAtCapacity) {
  ActionLog log;
  log.Codes()[0] = kLogCapacity - 1;
  RecordOutcome out = log.Record(true, lglinew, 4, At(0, 0));
  EXPECT_TRUE(out.stored);
  EXPECT_TRUE(out.full);
  EXPECT_EQ(log.Values()[kLogCapacity], 4);
  out = log.Record(true, lglinew, 9, At(0, 0));
  EXPECT_FALSE(out.stored);
  EXPECT_TRUE(out.full);
  EXPECT_EQ(log.position, kLogCapacity);
  EXPECT_EQ(log.Values()[kLogCapacity], 4);
}

TEST(ActionLogTest, InspectorLineShowsOldSlotForPressColourAndBackgrounds) {
  ActionLog log;
  for (int i = 1; i <= 4; ++i)
    log.Values()[i] = 1000 + i;
  RecordContext ctx = At(10, 20);
  ctx.startPoint = {4, 30};
  log.Record(true, lgmoused, 0, ctx);
  log.Record(true, lgcolor, 55, ctx);
  log.Record(true, lglinew, 66, ctx);
  log.Record(true, lgbackfield, 77, ctx);
  ASSERT_EQ(log.Lines().size(), 4u);
  EXPECT_EQ(log.Lines()[0].value, 1001);
  EXPECT_EQ(log.Lines()[1].value, 1002);
  EXPECT_EQ(log.Lines()[2].value, 66);
  EXPECT_EQ(log.Lines()[3].value, 1004);
  EXPECT_EQ(log.Lines()[1].Format(), "2    0    0    0    2    10    20    1002    6    -10");
}

}  // namespace
}  // namespace quillo
