#include <gtest/gtest.h>

#include "canvas_fixture.h"

namespace quillo::testing {
namespace {

constexpr Color kWhite = Rgb(255, 255, 255);
const Rect kAll{0, 0, 1024, 768};

TEST_F(CanvasTest, RecallFromAnEmptyStoreInSourceCopyAndSourceAnd) {
  Stroke({100, 100}, {400, 300});
  const Surface drawn = Copy(Canvas());
  const int32_t entries = Count();
  Type('n');
  EXPECT_TRUE(Filled(Canvas(), kAll, kWhite));
  EXPECT_TRUE(Filled(Backup(), kAll, kWhite));
  EXPECT_EQ(Differ(drawn, UndoImage()), 0);
  EXPECT_EQ(Count(), entries) << "a recall by n is not logged";

  Click("SpeedButton25");
  ASSERT_EQ(Differ(drawn, Canvas()), 0);
  program->drawing.copyMode = kSrcAnd;
  Type('m');
  EXPECT_EQ(Differ(drawn, Canvas()), 0) << "white AND the drawing is the drawing";
  EXPECT_EQ(Canvas().CopyMode(), kSrcCopy);
}

TEST_F(CanvasTest, StoreAndRecallCombineInTheCopyMode) {
  Stroke({100, 100}, {400, 300});
  const Surface drawn = Copy(Canvas());
  Type('M');
  EXPECT_EQ(Differ(drawn, Main().images.Store(Main().images.image4)), 0);
  Click("Label18");
  program->drawing.copyMode = kSrcInvert;
  Canvas().FillRect({0, 0, 1024, 768}, kWhite);
  Type('m');
  // White XOR the stored drawing: its inverse.
  EXPECT_EQ(Canvas().Pixel({250, 200}), drawn.Pixel({250, 200}) ^ 0xFFFFFFu);
  EXPECT_EQ(Canvas().Pixel({900, 700}), kWhite);
}

TEST_F(CanvasTest, WhiteClearAfterNShowsTheStoreAndBacksItUp) {
  Stroke({100, 100}, {400, 300});
  const Surface drawn = Copy(Canvas());
  Type('N');
  Stroke({600, 400}, {900, 600});
  const int32_t entries = Count();
  Click("Label5");
  EXPECT_EQ(Differ(drawn, Canvas()), 0);
  ASSERT_EQ(Count(), entries + 1);
  EXPECT_EQ(Code(Count()), lgcanvasop + 4096u * kCanvasOpWhiteClear);
  // The canvas and the backup agree: the next press does not change the picture.
  EXPECT_EQ(Differ(Canvas(), Backup()), 0);
  Press({10, 10});
  EXPECT_EQ(Differ(drawn, Canvas()), 0);
}

TEST_F(CanvasTest, BackgroundRecallIsLoggedWithTheCopyModeAndStoringIsNot) {
  program->fieldPicture.FillRect({0, 0, 1024, 768}, Rgb(10, 20, 30));
  Stroke({100, 100}, {400, 300});
  const Surface drawn = Copy(Canvas());
  const int32_t entries = Count();
  Type('B');
  EXPECT_EQ(Count(), entries);
  EXPECT_EQ(Differ(drawn, program->fieldPicture), 0);

  program->fieldPicture.FillRect({0, 0, 1024, 768}, Rgb(10, 20, 30));
  program->drawing.copyMode = kSrcPaint;
  Type('b');
  ASSERT_EQ(Count(), entries + 1);
  EXPECT_EQ(Code(Count()), uint32_t{lgbackfield});
  EXPECT_EQ(Value(Count()), static_cast<int32_t>(kSrcPaint.code));
  EXPECT_EQ(Canvas().Pixel({900, 700}), Rgb(10, 20, 30));
  EXPECT_EQ(Canvas().Pixel({250, 200}), drawn.Pixel({250, 200}) | Rgb(10, 20, 30));
  EXPECT_EQ(Differ(Canvas(), Backup()), 0);

  for (const char* button : {"AVI_btn", "SpeedButton2", "SpeedButton45"}) {
    Click(button);
    EXPECT_EQ(Code(Count()), uint32_t{lgbackfield}) << button;
  }
  EXPECT_EQ(Count(), entries + 4);
}

TEST_F(CanvasTest, PageStoresKeepTheVisibleCanvas) {
  Stroke({100, 100}, {400, 300});
  const Surface drawn = Copy(Canvas());
  KeyDown(kPageUp, true);
  Click("Label18");
  Stroke({600, 400}, {900, 600});
  KeyDown(kPageDown, true);
  const Surface second = Copy(Canvas());
  Click("Label18");
  const int32_t entries = Count();

  KeyDown(kPageUp);
  EXPECT_EQ(Differ(drawn, Canvas()), 0);
  EXPECT_EQ(Differ(drawn, Backup()), 0) << "the recall is the new backup";
  KeyDown(kPageDown);
  EXPECT_EQ(Differ(second, Canvas()), 0);
  EXPECT_EQ(Count(), entries);

  // With a strip shown only the part above it is kept and brought back.
  Main().ShowFilePanel();
  const int32_t visible = program->VisibleHeight();
  ASSERT_LT(visible, 768);
  Canvas().FillRect(kAll, Rgb(1, 2, 3));
  KeyDown(kPageUp, true);
  Canvas().FillRect(kAll, 0);
  KeyDown(kPageUp);
  EXPECT_TRUE(Filled(Canvas(), {0, 0, 1024, visible}, Rgb(1, 2, 3)));
  EXPECT_TRUE(Filled(Canvas(), {0, visible, 1024, 768}, 0));
}

}  // namespace
}  // namespace quillo::testing
