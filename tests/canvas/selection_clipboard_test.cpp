#include <gtest/gtest.h>

#include "canvas_fixture.h"

namespace quillo::testing {
namespace {

// Paints a 4 x 2 picture of distinct colours into the fake clipboard.
void PutPictureOnClipboard(FakePlatform& platform) {
  Surface& pic = platform.clipboardPicture;
  ASSERT_TRUE(pic.Resize(4, 2));
  for (int32_t y = 0; y < 2; ++y)
    for (int32_t x = 0; x < 4; ++x)
      pic.SetPixel({x, y}, Rgb(10 + 40 * x, 100 + 50 * y, 7));
  platform.clipboardHasPicture = true;
}

TEST_F(CanvasTest, SelectButtonDragsARectangleWithoutCommittingIt) {
  Click("SpeedButton34");
  ASSERT_TRUE(Ctl("SpeedButton34").down);
  EXPECT_TRUE(program->drawing.selecting);
  EXPECT_EQ(Code(Count()), uint32_t{lgZoom});
  const int32_t entries = Count();
  const Surface undo = Copy(UndoImage());
  // Dragged from bottom right to top left: the corners stay as dragged.
  Press({600, 500});
  Move({400, 300});
  Move({200, 100});
  Release({200, 100});
  EXPECT_EQ(program->drawing.selectionStart, (Point{600, 500}));
  EXPECT_EQ(program->drawing.selectionEnd, (Point{200, 100}));
  EXPECT_EQ(Count(), entries + 1) << "only the press is logged";
  EXPECT_EQ(Differ(undo, UndoImage()), 0);
  // The band shows over the canvas, which it leaves as it was.
  EXPECT_EQ(program->drawing.shownFrame, (Rect{600, 500, 200, 100}));
  EXPECT_EQ(Canvas().Pixel({200, 300}), 0u);

  // Raising the button does not leave selection mode.
  Click("SpeedButton34");
  EXPECT_FALSE(Ctl("SpeedButton34").down);
  EXPECT_TRUE(program->drawing.selecting);
  EXPECT_EQ(Count(), entries + 1);
  // Ending it takes the band away.
  KeyDown(kHome);
  EXPECT_FALSE(program->drawing.shownFrame.has_value());
}

TEST_F(CanvasTest, SelectAllTakesTheVisibleCanvasQuietly) {
  const int32_t entries = Count();
  Main().ShowSettingsPanel();
  CtrlKeyUp(kKeyA);
  EXPECT_EQ(program->drawing.selectionStart, (Point{0, 0}));
  EXPECT_EQ(program->drawing.selectionEnd, (Point{1024, program->VisibleHeight()}));
  Main().HideBottomPanels();
  Click("SpeedButton37");
  EXPECT_EQ(program->drawing.selectionEnd, (Point{1024, 768}));
  EXPECT_FALSE(program->drawing.selecting);
  EXPECT_EQ(Count(), entries);
}

TEST_F(CanvasTest, CopyTakesTheFramedAreaWhicheverWayItWasDragged) {
  for (int32_t x = 0; x < 8; ++x)
    Canvas().SetPixel({100 + x, 50}, Rgb(x, 0, 0));
  Canvas().SetPixel({100, 51}, Rgb(0, 9, 0));
  program->SaveUndo();  // as a finished stroke would
  const int32_t entries = Count();
  KeyDown(kEnd);
  Press({108, 52});
  Move({104, 51});
  Move({100, 50});
  Release({100, 50});
  CtrlKeyUp(kKeyC);
  EXPECT_FALSE(program->drawing.selecting) << "copying ends the selection";
  ASSERT_TRUE(platform.clipboardHasPicture);
  const Surface& pic = platform.clipboardPicture;
  ASSERT_EQ(pic.Width(), 8);
  ASSERT_EQ(pic.Height(), 2);
  for (int32_t x = 0; x < 8; ++x)
    EXPECT_EQ(pic.Pixel({x, 0}), Rgb(x, 0, 0)) << x;
  EXPECT_EQ(pic.Pixel({0, 1}), Rgb(0, 9, 0));
  EXPECT_EQ(program->selectionOps.clipboardWidth, 8);
  // Selection on, the press, and the selection's end; the copy is not logged.
  EXPECT_EQ(Count(), entries + 3);
}

TEST_F(CanvasTest, CopyOfAnEmptyRectangleLeavesTheClipboard) {
  PutPictureOnClipboard(platform);
  program->drawing.selectionStart = {100, 50};
  program->drawing.selectionEnd = {100, 80};
  Click("SpeedButton38");
  program->drawing.selectionEnd = {300, 50};
  CtrlKeyUp(kKeyC);
  EXPECT_EQ(platform.clipboardWrites, 0);
  EXPECT_EQ(platform.clipboardPicture.Width(), 4);
}

TEST_F(CanvasTest, PasteStretchesTheClipboardIntoTheSelection) {
  PutPictureOnClipboard(platform);
  const int32_t entries = Count();
  program->drawing.selectionStart = {140, 70};  // dragged up and left
  program->drawing.selectionEnd = {100, 50};
  Click("SpeedButton39");
  // Each clipboard pixel covers 10 x 10 canvas pixels, in their own order.
  for (int32_t y = 0; y < 2; ++y)
    for (int32_t x = 0; x < 4; ++x)
      EXPECT_TRUE(Filled(Canvas(), {100 + 10 * x, 50 + 10 * y, 110 + 10 * x, 60 + 10 * y},
                         Rgb(10 + 40 * x, 100 + 50 * y, 7)))
          << x << "," << y;
  EXPECT_EQ(Canvas().Pixel({99, 50}), 0u);
  EXPECT_EQ(Canvas().Pixel({140, 60}), 0u);
  EXPECT_EQ(Differ(Canvas(), Backup()), 0);
  EXPECT_EQ(Count(), entries);
  EXPECT_EQ(program->selectionOps.clipboardHeight, 2);

  CtrlKeyUp(kKeyZ);
  EXPECT_TRUE(Filled(Canvas(), {0, 0, 256, 384}, Rgb(10, 100, 7)));
  EXPECT_TRUE(Filled(Canvas(), {768, 384, 1024, 768}, Rgb(130, 150, 7)));

  program->drawing.selectionStart = {0, 0};
  program->drawing.selectionEnd = {4, 2};
  Canvas().FillRect({0, 0, 8, 8}, 0);
  CtrlKeyUp(kKeyV);
  EXPECT_EQ(Canvas().Pixel({3, 1}), Rgb(130, 150, 7));
}

TEST_F(CanvasTest, PasteWithNothingOnTheClipboardDoesNothing) {
  Stroke({100, 100}, {400, 300});
  const Surface drawn = Copy(Canvas());
  const Surface undo = Copy(UndoImage());
  Canvas().FillRect({0, 0, 10, 10}, Rgb(1, 1, 1));  // not yet committed
  CtrlKeyUp(kKeyZ);
  Click("SpeedButton39");
  EXPECT_EQ(Differ(undo, UndoImage()), 0);
  EXPECT_EQ(Differ(drawn, Backup()), 0);
  EXPECT_EQ(Canvas().Pixel({5, 5}), Rgb(1, 1, 1));
}

TEST_F(CanvasTest, KeysWithoutCtrlDoNotTouchTheClipboard) {
  PutPictureOnClipboard(platform);
  Main().FormKeyUp(kKeyZ, Modifiers{});
  Main().FormKeyUp(kKeyC, Modifiers{});
  EXPECT_EQ(Canvas().Pixel({5, 5}), 0u);
  EXPECT_EQ(platform.clipboardWrites, 0);
}

}  // namespace
}  // namespace quillo::testing
