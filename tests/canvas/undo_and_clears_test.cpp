#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <utility>

#include "canvas_fixture.h"

namespace quillo::testing {
namespace {

constexpr Color kBlue = Rgb(0, 0, 255);
constexpr Color kWhite = Rgb(255, 255, 255);
const Rect kAll{0, 0, 1024, 768};

constexpr uint32_t kStepBackCode = lgcanvasop + 4096u * kCanvasOpStepBack;

TEST_F(CanvasTest, UndoStepsBackOneStrokeAClickAndLogsEachStep) {
  const Surface blank = Copy(Canvas());
  Stroke({100, 100}, {400, 300});
  const Surface before = Copy(Canvas());
  Stroke({600, 100}, {900, 500});
  ASSERT_GT(Differ(before, Canvas()), 0);
  const int32_t entries = Count();

  Click("SpeedButton25");
  EXPECT_EQ(Differ(before, Canvas()), 0);
  EXPECT_EQ(Differ(before, Backup()), 0);
  ASSERT_EQ(Count(), entries + 1);
  EXPECT_EQ(Code(Count()), kStepBackCode);

  Click("SpeedButton25");
  EXPECT_EQ(Differ(blank, Canvas()), 0);
  EXPECT_EQ(Differ(blank, Backup()), 0);
  ASSERT_EQ(Count(), entries + 2);
  EXPECT_EQ(Code(Count()), kStepBackCode);
}

TEST_F(CanvasTest, UndoWhileSelectingOnlyEndsTheSelection) {
  Stroke({100, 100}, {400, 300});
  const Surface drawn = Copy(Canvas());
  Click("SpeedButton34");
  ASSERT_TRUE(program->drawing.selecting);
  EXPECT_EQ(program->main.window.pointer, PointerShape::kCross);
  Press({500, 500});
  Move({560, 540});
  Move({620, 600});
  Release({620, 600});
  ASSERT_TRUE(program->drawing.shownFrame.has_value()) << "the rubber band shows";
  EXPECT_EQ(Differ(drawn, Canvas()), 0) << "over the canvas, not in it";
  const int32_t entries = Count();

  Click("SpeedButton25");
  EXPECT_FALSE(program->drawing.selecting);
  EXPECT_FALSE(Ctl("SpeedButton34").down);
  EXPECT_EQ(program->main.window.pointer, PointerShape::kDefault);
  // Only the selection's end is logged, and the band is gone with the drawing kept.
  ASSERT_EQ(Count(), entries + 1);
  EXPECT_EQ(Code(Count()) & 15u, uint32_t{lgspacecolor});
  EXPECT_EQ(UnpackPoint(Value(Count())).x, 620);
  EXPECT_EQ(UnpackPoint(Value(Count())).y, 600);
  EXPECT_EQ(Differ(drawn, Canvas()), 0);
  EXPECT_FALSE(program->drawing.shownFrame.has_value());
}

TEST_F(CanvasTest, HomeUndoesAsUndoDoesAndEndsASelection) {
  Stroke({100, 100}, {400, 300});
  Surface before = Copy(Canvas());
  Stroke({600, 100}, {900, 500});
  const int32_t entries = Count();
  KeyDown(kHome);
  EXPECT_EQ(Differ(before, Canvas()), 0);
  EXPECT_EQ(Differ(before, Backup()), 0);
  // Logged as UNDO is, so that a replay brings back the same picture.
  EXPECT_EQ(Count(), entries + 1);
  EXPECT_EQ(Code(Count()), kStepBackCode);

  KeyDown(kEnd);
  EXPECT_TRUE(program->drawing.selecting);
  EXPECT_EQ(program->main.window.pointer, PointerShape::kDefault);
  EXPECT_EQ(Code(Count()), uint32_t{lgZoom});
  EXPECT_EQ(Value(Count()), 0);
  Stroke({200, 200}, {300, 300});  // a selection drag, committing nothing
  before = Copy(Canvas());
  Canvas().FillRect({0, 0, 10, 10}, kBlue);
  KeyDown(kHome);
  EXPECT_FALSE(program->drawing.selecting);
  EXPECT_EQ(Canvas().Pixel({5, 5}), kBlue) << "ending the selection restores nothing";
}

TEST_F(CanvasTest, ClearInANonBlackBackgroundKeepsItAfterThePress) {
  Stroke({100, 100}, {400, 300});
  const Surface drawn = Copy(Canvas());
  program->drawing.backgroundColor = kBlue;
  Main().ShowFilePanel();
  Click("Label14");
  const int32_t visible = program->VisibleHeight();
  EXPECT_TRUE(Filled(Canvas(), kAll, kBlue));
  EXPECT_EQ(Main().window.color, kBlue);
  EXPECT_EQ(Code(Count()), uint32_t{lggroundcolor});
  EXPECT_EQ(Value(Count()), static_cast<int32_t>(kBlue));
  // The backup agrees with the canvas, so the next press changes nothing.
  EXPECT_TRUE(Filled(Backup(), kAll, kBlue));
  // The undo image keeps the visible part of the drawing.
  EXPECT_EQ(UndoImage().Pixel({250, 200}), drawn.Pixel({250, 200}));
  EXPECT_NE(drawn.Pixel({250, 200}), 0u);

  Press({700, 100});
  EXPECT_TRUE(Filled(Canvas(), {0, 0, 1024, visible}, kBlue));
}

// "CLEAR SCREEN TO BLACK" clears to black whatever the background colour, canvas and
// backup alike, and its entry carries the black.
TEST_F(CanvasTest, BlackClearIsBlackOnCanvasAndBackup) {
  Stroke({100, 100}, {400, 300});
  program->drawing.backgroundColor = kBlue;
  Click("Label18");
  EXPECT_TRUE(Filled(Canvas(), kAll, 0));
  EXPECT_TRUE(Filled(Backup(), kAll, 0));
  EXPECT_EQ(CountOf(lggroundcolor), 1);
  EXPECT_EQ(Value(Count()), 0);
}

TEST_F(CanvasTest, NegativeTwiceGivesThePixelsBackAndLogsBoth) {
  Stroke({100, 100}, {400, 300});
  const Surface drawn = Copy(Canvas());
  program->drawing.selectionStart = {150, 120};
  program->drawing.selectionEnd = {350, 260};
  Click("SpeedButton29");
  EXPECT_EQ(Canvas().Pixel({150, 120}), drawn.Pixel({150, 120}) ^ 0xFFFFFFu);
  EXPECT_EQ(Canvas().Pixel({349, 259}), drawn.Pixel({349, 259}) ^ 0xFFFFFFu);
  EXPECT_EQ(Canvas().Pixel({350, 260}), drawn.Pixel({350, 260}));
  EXPECT_EQ(Canvas().Pixel({149, 200}), drawn.Pixel({149, 200}));
  EXPECT_EQ(Differ(Canvas(), Backup()), 0) << "a negative is committed";
  EXPECT_EQ(Differ(drawn, UndoImage()), 0);
  EXPECT_EQ(Code(Count()), lgcanvasop + 4096u);

  KeyDown(kNumpadMinus);
  EXPECT_EQ(Differ(drawn, Canvas()), 0);
  // Each negative comes after the corners of its rectangle.
  const uint32_t corner = lgcanvasop + 4096u * kCanvasOpCorner;
  for (int32_t back : {0, 3}) {
    EXPECT_EQ(Code(Count() - back), lgcanvasop + 4096u);
    EXPECT_EQ(Code(Count() - back - 1), corner);
    EXPECT_EQ(Code(Count() - back - 2), corner);
  }
  EXPECT_EQ(UnpackPoint(Value(Count() - 2)).x, 150);
  EXPECT_EQ(UnpackPoint(Value(Count() - 1)).y, 260);
  // Later copies onto the canvas use the copy mode, not source copy.
  EXPECT_EQ(Canvas().CopyMode(), program->drawing.copyMode);
}

TEST_F(CanvasTest, NegativeOfAnUpLeftRectangleInvertsTheSameArea) {
  program->drawing.selectionStart = {300, 200};
  program->drawing.selectionEnd = {100, 50};
  KeyDown(kNumpadMinus);
  EXPECT_TRUE(Filled(Canvas(), {100, 50, 300, 200}, kWhite));
  EXPECT_EQ(Canvas().Pixel({300, 200}), 0u);
  EXPECT_EQ(Canvas().Pixel({99, 49}), 0u);
}

// The snapshot makes the whole old backup the undo image and the visible canvas the
// backup; under a strip the backup keeps what it held. Both at the images' own size
// and with a reference size smaller than the images.
TEST(CanvasImagesTest, SaveUndoKeepsTheBackupUnderTheStrip) {
  for (const auto& [w, h] : {std::pair{64, 48}, std::pair{40, 30}}) {
    CanvasImages im;
    ASSERT_TRUE(im.Resize(64, 48));
    im.canvas.FillRect({0, 0, 64, 48}, Rgb(1, 1, 1));
    im.Backup().FillRect({0, 0, 64, 48}, Rgb(2, 2, 2));
    im.UndoImage().FillRect({0, 0, 64, 48}, Rgb(3, 3, 3));
    const int32_t visible = h - 10;
    im.SaveUndo(w, h, visible);
    EXPECT_TRUE(Filled(im.UndoImage(), {0, 0, w, h}, Rgb(2, 2, 2))) << w;
    EXPECT_TRUE(Filled(im.Backup(), {0, 0, w, visible}, Rgb(1, 1, 1))) << w;
    EXPECT_TRUE(Filled(im.Backup(), {0, visible, w, h}, Rgb(2, 2, 2))) << w;
    if (w < 64) {
      EXPECT_EQ(im.UndoImage().Pixel({w, 0}), Rgb(3, 3, 3)) << "outside the reference size";
      EXPECT_EQ(im.Backup().Pixel({w, 0}), Rgb(2, 2, 2));
    }
    EXPECT_EQ(im.canvas.Pixel({0, 0}), Rgb(1, 1, 1));
  }
}

// The negative reads the visible part of its rectangle once for the canvas and the
// backup; the images end as an inversion followed by the undo snapshot leaves them,
// changed areas included: rectangles inside, across and off the canvas, reversed,
// partly or wholly under the strip, at the images' size and at a smaller one.
TEST(CanvasImagesTest, InvertAndSaveUndoEqualsAnInversionThenTheSnapshot) {
  std::mt19937 random(11);
  auto fill = [&](Surface& s) {
    for (int32_t i = 0; i < s.Width() * s.Height(); ++i)
      s.Bits()[i] = 0xFF000000u | static_cast<uint32_t>(random());
    s.MarkDirty(s.Bounds());
  };
  auto same = [](const Surface& a, const Surface& b) {
    return std::equal(a.Bits(), a.Bits() + a.Width() * a.Height(), b.Bits()) &&
           a.Dirty() == b.Dirty();
  };
  for (int round = 0; round < 200; ++round) {
    const bool smaller = round % 5 == 4;
    const int32_t w = smaller ? 50 : 64, h = smaller ? 40 : 48;
    const int32_t visible = static_cast<int32_t>(random() % (h + 6)) - 3;
    auto coord = [&](int32_t side) { return static_cast<int32_t>(random() % (side + 20)) - 10; };
    const Rect r{coord(w), coord(h), coord(w), coord(h)};
    SCOPED_TRACE(::testing::Message() << "round " << round << ", visible " << visible);

    CanvasImages fused, reference;
    ASSERT_TRUE(fused.Resize(64, 48) && reference.Resize(64, 48));
    for (Surface* s : {&fused.canvas, &fused.Backup(), &fused.UndoImage()}) {
      fill(*s);
      s->TakeDirty();
    }
    for (auto [from, to] : {std::pair{&fused.canvas, &reference.canvas},
                            std::pair{&fused.Backup(), &reference.Backup()},
                            std::pair{&fused.UndoImage(), &reference.UndoImage()}}) {
      std::copy_n(from->Bits(), 64 * 48, to->Bits());
      to->MarkDirty(to->Bounds());
      to->TakeDirty();
    }
    // The plain sequence: invert, then the backup into the undo image and the
    // visible canvas into the backup, as two copies.
    CanvasImages plain;
    ASSERT_TRUE(plain.Resize(64, 48));
    for (auto [from, to] :
         {std::pair{&fused.canvas, &plain.canvas}, std::pair{&fused.Backup(), &plain.Backup()},
          std::pair{&fused.UndoImage(), &plain.UndoImage()}})
      std::copy_n(from->Bits(), 64 * 48, to->Bits());
    plain.canvas.CopyRect(r, plain.canvas, r, kDstInvert);
    plain.UndoImage().CopyRect({0, 0, w, h}, plain.Backup(), {0, 0, w, h}, kSrcCopy);
    plain.Backup().CopyRect({0, 0, w, visible}, plain.canvas, {0, 0, w, visible}, kSrcCopy);

    reference.canvas.CopyRect(r, reference.canvas, r, kDstInvert);
    reference.SaveUndo(w, h, visible);
    fused.InvertAndSaveUndo(r, w, h, visible);
    EXPECT_TRUE(same(fused.canvas, reference.canvas));
    EXPECT_TRUE(same(fused.Backup(), reference.Backup()));
    EXPECT_TRUE(same(fused.UndoImage(), reference.UndoImage()));
    for (auto [a, b] :
         {std::pair{&fused.canvas, &plain.canvas}, std::pair{&fused.Backup(), &plain.Backup()},
          std::pair{&fused.UndoImage(), &plain.UndoImage()}})
      EXPECT_TRUE(std::equal(a->Bits(), a->Bits() + 64 * 48, b->Bits()));
  }
}

// The one-level undo of older recordings brings the undo image back onto the canvas,
// combined by the canvas's copy mode, and into the backup, as two plain copies would:
// over canvases, backups and undo images that all differ.
TEST_F(CanvasTest, UndoEqualsTwoPlainCopiesWhateverTheImagesHold) {
  std::mt19937 random(5);
  const RasterOp modes[] = {kSrcCopy, RasterOp{0x00660046}, RasterOp{0x008800C6},
                            RasterOp{0x00EE0086}};
  for (int round = 0; round < 8; ++round) {
    for (Surface* s : {&Canvas(), &Backup(), &UndoImage()})
      for (int32_t i = 0; i < s->Width() * s->Height(); i += 7)
        s->Bits()[i] = 0xFF000000u | static_cast<uint32_t>(random());
    Canvas().SetCopyMode(modes[round % 4]);
    Surface canvas = Copy(Canvas()), backup = Copy(Backup());
    canvas.SetCopyMode(modes[round % 4]);
    canvas.CopyRect({0, 0, 1024, 768}, UndoImage(), {0, 0, 1024, 768});
    backup.CopyRect({0, 0, 1024, 768}, UndoImage(), {0, 0, 1024, 768});
    program->canvasOps.Undo();
    EXPECT_EQ(Differ(canvas, Canvas()), 0) << round;
    EXPECT_EQ(Differ(backup, Backup()), 0) << round;
  }
}

}  // namespace
}  // namespace quillo::testing
