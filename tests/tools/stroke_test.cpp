#include "tools/stroke.h"

#include <gtest/gtest.h>

#include <limits>
#include <set>
#include <vector>

#include "platform/raster/surface.h"
#include "tools/figures.h"

namespace quillo {
namespace {

constexpr Color kWhite = 0xFFFFFF;
constexpr Color kInk = 0x00ABCDEF;  // a pen colour the field never gives

class RecordingSink final : public FigureSink {
 public:
  void Step(const FigureStep& step) override { steps.push_back(step); }
  std::vector<FigureStep> steps;
};

class StrokeTest : public ::testing::Test {
 protected:
  void SetUp() override { Reset(200, 150); }

  void Reset(int32_t w, int32_t h) {
    ASSERT_TRUE(surface.Resize(w, h));
    surface.SetPenWidth(1);
    surface.SetPenColor(kWhite);
    surface.SetBrushStyle(BrushStyle::kClear);
    field.SetEditorSize(w, h);
  }

  StrokeContext Context(Point start) { return StrokeContext{surface, tools, field, start}; }

  // The colours of the pixels that are not black inside box (right and bottom outside).
  std::set<Color> InkIn(const Rect& box) const {
    std::set<Color> colours;
    for (int32_t y = box.top; y < box.bottom; ++y) {
      for (int32_t x = box.left; x < box.right; ++x) {
        const Color c = surface.Pixel({x, y});
        if (c != 0) colours.insert(c);
      }
    }
    return colours;
  }
  std::set<Color> Ink() const { return InkIn(surface.Bounds()); }
  int CountInk() const {
    int n = 0;
    for (int32_t y = 0; y < surface.Height(); ++y)
      for (int32_t x = 0; x < surface.Width(); ++x)
        n += surface.Pixel({x, y}) != 0;
    return n;
  }

  Surface surface;
  ToolState tools;
  ColourField field;
};

TEST_F(StrokeTest, RadialDrawsThroughThePressPointAndTheReplayDrawsTheSameLine) {
  // Press at (100, 100), move to (130, 120): the mirror point is (70, 80).
  tools.tool = dtline;
  StrokeContext ctx = Context({100, 100});
  DrawToolStroke(ctx, {70, 80}, {130, 120}, PenMode::kCopy);
  EXPECT_EQ(surface.Pixel({70, 80}), kWhite);
  EXPECT_EQ(surface.Pixel({100, 100}), kWhite);
  EXPECT_EQ(surface.Pixel({130, 120}), 0u) << "a one-pixel line leaves out its end";
  EXPECT_EQ(CountInk(), 60);
  EXPECT_EQ(surface.PenPos(), (Point{130, 120}));
  std::vector<Color> live(surface.Bits(), surface.Bits() + 200 * 150);

  Reset(200, 150);
  Point current{}, mirror{};
  SymmetricStrokeState replay{false, true, current, mirror};
  DrawSymmetricStroke(ctx, replay, 2, {130, 120});
  EXPECT_EQ(current, (Point{130, 120}));
  EXPECT_EQ(mirror, (Point{70, 80}));
  EXPECT_EQ(std::vector<Color>(surface.Bits(), surface.Bits() + 200 * 150), live);
}

TEST_F(StrokeTest, FingerpaintDrawsFromThePenPositionAndIgnoresTheAnchor) {
  tools.tool = dtfree;
  StrokeContext ctx = Context({0, 0});
  surface.MoveTo({10, 10});
  DrawToolStroke(ctx, {190, 140}, {20, 10}, PenMode::kCopy);
  EXPECT_EQ(InkIn({10, 10, 20, 11}), std::set<Color>{kWhite});
  EXPECT_EQ(CountInk(), 10);
  EXPECT_EQ(surface.PenPos(), (Point{20, 10}));
}

TEST_F(StrokeTest, ShapeToolsSpanTheirCornersInThePenModeGiven) {
  StrokeContext ctx = Context({100, 100});
  tools.tool = dtrectangle;
  DrawToolStroke(ctx, {70, 80}, {130, 120}, PenMode::kCopy);
  EXPECT_EQ(surface.Pixel({70, 80}), kWhite);
  EXPECT_EQ(surface.Pixel({129, 119}), kWhite);
  EXPECT_EQ(surface.Pixel({100, 100}), 0u) << "hollow brush";
  DrawToolStroke(ctx, {70, 80}, {130, 120}, PenMode::kXor);
  EXPECT_EQ(surface.GetPenMode(), PenMode::kXor);
  EXPECT_EQ(CountInk(), 0) << "the same frame in xor takes itself away";

  tools.tool = dtellipse;
  DrawToolStroke(ctx, {70, 80}, {130, 120}, PenMode::kCopy);
  EXPECT_EQ(surface.Pixel({70, 80}), 0u);
  EXPECT_EQ(surface.Pixel({70, 100}), kWhite);
  EXPECT_EQ(surface.Pixel({100, 80}), kWhite);
}

TEST_F(StrokeTest, ScreenHalvesTheCornerDifferencesTowardZero) {
  // (71 - 130) / 2 is -29 (not -30) and (80 - 121) / 2 is -20.
  tools.tool = dtroundrect;
  StrokeContext ctx = Context({100, 100});
  DrawToolStroke(ctx, {71, 80}, {130, 121}, PenMode::kCopy);
  const std::vector<Color> drawn(surface.Bits(), surface.Bits() + 200 * 150);
  auto reference = [&](int32_t cornerW) {
    Surface s;
    EXPECT_TRUE(s.Resize(200, 150));
    s.SetPenColor(kWhite);
    s.SetBrushStyle(BrushStyle::kClear);
    s.RoundRect({71, 80, 130, 121}, cornerW, 20);
    return std::vector<Color>(s.Bits(), s.Bits() + 200 * 150);
  };
  EXPECT_EQ(drawn, reference(29));
  EXPECT_NE(drawn, reference(30)) << "the two corner sizes must be told apart";
}

TEST_F(StrokeTest, ReplayedStrokesFollowTheirSymmetryType) {
  struct Case {
    uint8_t tool;
    int32_t type;
    bool mirrorAnchor;  // the anchor of the last stroke drawn
  };
  // Press (100, 100), point (130, 120), mirror (70, 80).
  const Case cases[] = {
      {dtline, 2, true},  {dtline, 0, false},   {dtline, 1, false},   {dtline, 3, false},
      {dtBios, 2, true},  {dtBios, 0, false},   {dtNuwave, 2, false}, {dtNuwave, 0, true},
      {dtwave4, 1, true}, {dtTwister, 3, true},
  };
  for (const Case& c : cases) {
    Reset(200, 150);
    tools.tool = c.tool;
    tools.strokeAnchor = {-1, -1};
    StrokeContext ctx = Context({100, 100});
    Point current{}, mirror{};
    SymmetricStrokeState replay{false, true, current, mirror};
    DrawSymmetricStroke(ctx, replay, c.type, {130, 120});
    const Point anchor = c.mirrorAnchor ? Point{70, 80} : Point{100, 100};
    EXPECT_EQ(tools.strokeAnchor, anchor) << int{c.tool} << " type " << c.type;
    EXPECT_EQ(tools.strokeTarget, (Point{130, 120}));
    const bool filled = c.type == 1 || c.type == 3;
    EXPECT_EQ(surface.GetBrushStyle(), filled ? BrushStyle::kSolid : BrushStyle::kClear);
    if (filled) {
      EXPECT_EQ(surface.BrushColor(), 0u);
    }
  }

  // Type 3 draws both strokes: RADIAL's mirrored line and the one from the press point.
  Reset(200, 150);
  tools.tool = dtline;
  StrokeContext ctx = Context({100, 100});
  Point current{}, mirror{};
  SymmetricStrokeState replay{false, true, current, mirror};
  DrawSymmetricStroke(ctx, replay, 0, {130, 120});
  EXPECT_EQ(surface.Pixel({70, 80}), 0u);
  EXPECT_EQ(surface.Pixel({100, 100}), kWhite);
  DrawSymmetricStroke(ctx, replay, 3, {130, 80});
  EXPECT_EQ(surface.Pixel({70, 120}), kWhite);
}

TEST_F(StrokeTest, ReplayedStrokesDrawNothingWhileSelectingBeforeAPressOrAboveType3) {
  tools.tool = dtline;
  StrokeContext ctx = Context({100, 100});
  Point current{5, 5}, mirror{6, 6};
  SymmetricStrokeState selecting{true, true, current, mirror};
  DrawSymmetricStroke(ctx, selecting, 2, {130, 120});
  SymmetricStrokeState noPress{false, false, current, mirror};
  DrawSymmetricStroke(ctx, noPress, 2, {130, 120});
  EXPECT_EQ(current, (Point{5, 5}));
  EXPECT_EQ(mirror, (Point{6, 6}));
  EXPECT_EQ(CountInk(), 0);

  surface.SetBrushStyle(BrushStyle::kSolid);
  SymmetricStrokeState drawing{false, true, current, mirror};
  DrawSymmetricStroke(ctx, drawing, 4, {130, 120});
  EXPECT_EQ(CountInk(), 0);
  EXPECT_EQ(surface.GetBrushStyle(), BrushStyle::kClear);
  EXPECT_EQ(current, (Point{130, 120}));
  EXPECT_EQ(mirror, (Point{70, 80}));
}

TEST_F(StrokeTest, WithoutWildOrInPaletteModeAFigureHasOneColour) {
  tools.tool = dtwave3;
  tools.specA = 7;
  tools.specB = 5;
  StrokeContext ctx = Context({100, 75});
  for (const bool wild : {false, true}) {
    Reset(200, 150);
    tools.wild = wild;
    tools.colorMode = wild ? kColorPalette : kColorField;
    surface.SetPenColor(kInk);
    DrawToolStroke(ctx, {100, 75}, {140, 100}, PenMode::kCopy);
    EXPECT_EQ(Ink(), std::set<Color>{kInk}) << "wild " << wild;
    EXPECT_EQ(surface.PenColor(), kInk);
  }
}

TEST_F(StrokeTest, WildFiguresTakeEachSegmentsColourFromThePointBefore) {
  tools.tool = dtwave3;
  tools.specA = 7;
  tools.specB = 5;
  tools.wild = true;
  tools.colorMode = kColorField;
  surface.SetPenColor(kInk);
  StrokeContext ctx = Context({100, 75});
  DrawToolStroke(ctx, {100, 75}, {140, 100}, PenMode::kCopy);

  RecordingSink sink;
  CpuFigure({100, 75}, {140, 100}, {7, 5}, sink);
  std::set<Color> allowed;
  for (const FigureStep& s : sink.steps)
    allowed.insert(field.FieldColorAt(s.p.x, s.p.y));
  const std::set<Color> drawn = Ink();
  EXPECT_GT(drawn.size(), 10u);
  EXPECT_EQ(drawn.count(kInk), 0u) << "the first move already picks a field colour";
  for (const Color c : drawn)
    EXPECT_EQ(allowed.count(c), 1u) << std::hex << c;
  const Point last = sink.steps.back().p;
  EXPECT_EQ(surface.PenColor(), field.FieldColorAt(last.x, last.y));
  EXPECT_EQ(tools.generated, last);
  EXPECT_TRUE(tools.penDown);

  // The cube colour is measured from the press point, DO LOOP's from its own anchor.
  tools.colorMode = kColorCube;
  ctx.startPoint = {10, 20};
  DrawToolStroke(ctx, {100, 75}, {140, 100}, PenMode::kCopy);
  EXPECT_EQ(surface.PenColor(), CubeColorAt(ctx, 10, 20, last.x, last.y));
  tools.tool = dtwave4;
  RecordingSink loop;
  DoLoopFigure({100, 75}, {140, 100}, {7, 5}, loop);
  const Point lastP = loop.steps.back().p;
  DrawToolStroke(ctx, {100, 75}, {140, 100}, PenMode::kCopy);
  EXPECT_EQ(surface.PenColor(), CubeColorAt(ctx, 100, 75, lastP.x, lastP.y));
}

// The traced figures hand their lines over in runs; the picture and every piece of
// state they leave must be those of their steps drawn one by one, in each colour mode,
// pen width and mode, with parts of the figure off the canvas.
TEST_F(StrokeTest, FiguresDrawnInRunsLeaveWhatTheirStepsLeave) {
  const uint8_t kTraced[] = {dtNuwave, dtNuWaveSpecial, dtwave3, dtTwister, dtBios};
  const uint8_t kModes[] = {kColorField, kColorCube, kColorPalette};
  int round = 0;
  for (const uint8_t tool : kTraced) {
    for (const uint8_t colorMode : kModes) {
      for (const int32_t width : {1, 2}) {
        SCOPED_TRACE(::testing::Message()
                     << "tool " << int{tool} << " mode " << int{colorMode} << " width " << width);
        const Point anchor{150 - 7 * round % 60, 40 + 5 * round % 70};
        const Point target{anchor.x + 30 + round % 50, anchor.y - 20 + round % 45};
        const PenMode penMode = round % 3 == 2 ? PenMode::kXor : PenMode::kCopy;
        ++round;
        Reset(200, 150);
        surface.SetPenWidth(width);
        surface.SetPenColor(kInk);
        surface.MoveTo({3, 4});
        tools = ToolState{};
        tools.tool = tool;
        tools.specA = 7;
        tools.specB = 5;
        tools.wild = true;
        tools.colorMode = colorMode;
        Surface reference;
        ASSERT_TRUE(reference.CopyFrom(surface));
        ToolState refTools = tools;
        ColourField refField = field;

        StrokeContext ctx = Context({60, 50});
        DrawToolStroke(ctx, anchor, target, penMode);

        RecordingSink sink;
        const SpecPair ab{7, 5};
        switch (tool) {
          case dtNuwave:
            WebFigure(anchor, target, sink);
            break;
          case dtNuWaveSpecial:
            AliensFigure(anchor, target, ab, sink);
            break;
          case dtwave3:
            CpuFigure(anchor, target, ab, sink);
            break;
          case dtTwister:
            TwisterFigure(anchor, target, ab, sink);
            break;
          default:
            BiosFigure(anchor, target, ab, sink);
            break;
        }
        StrokeContext refCtx{reference, refTools, refField, {60, 50}};
        reference.SetPenMode(penMode);
        for (const FigureStep& step : sink.steps)
          DrawFigureStep(refCtx, refCtx.startPoint, step);

        for (int32_t y = 0; y < 150; ++y)
          for (int32_t x = 0; x < 200; ++x)
            ASSERT_EQ(surface.Pixel({x, y}), reference.Pixel({x, y})) << x << "," << y;
        EXPECT_EQ(surface.TakeDirty(), reference.TakeDirty());
        EXPECT_EQ(surface.PenColor(), reference.PenColor());
        EXPECT_EQ(surface.PenPos(), reference.PenPos());
        EXPECT_EQ(tools.generated, refTools.generated);
        EXPECT_EQ(tools.penDown, refTools.penDown);
        EXPECT_EQ(field.lastFieldColor, refField.lastFieldColor);
      }
    }
  }
}

TEST_F(StrokeTest, AnEllipseIsDrawnInTheColourChosenAfterThePreviousOne) {
  tools.wild = true;
  tools.colorMode = kColorField;
  tools.generated = {3, 4};
  surface.SetPenColor(kInk);
  StrokeContext ctx = Context({0, 0});
  const Color first = field.FieldColorAt(150, 20);
  const Color second = field.FieldColorAt(30, 120);
  ASSERT_NE(first, second);
  DrawFigureStep(ctx, {}, {FigureOp::kEllipse, {10, 10}, {30, 30}, {150, 20}});
  EXPECT_EQ(surface.PenColor(), first);
  DrawFigureStep(ctx, {}, {FigureOp::kEllipse, {40, 10}, {60, 30}, {30, 120}});
  EXPECT_EQ(InkIn({10, 10, 30, 30}), std::set<Color>{kInk});
  EXPECT_EQ(InkIn({40, 10, 60, 30}), std::set<Color>{first});
  EXPECT_EQ(surface.PenColor(), second);
  EXPECT_EQ(tools.generated, (Point{3, 4})) << "ellipses leave the generated point alone";

  // A whole DO LOOP keeps the generated point too.
  tools.tool = dtwave4;
  tools.specA = 7;
  tools.specB = 5;
  DrawToolStroke(ctx, {100, 75}, {140, 100}, PenMode::kCopy);
  EXPECT_EQ(tools.generated, (Point{3, 4}));
}

TEST_F(StrokeTest, WavesAtTheFieldCentreDrawsTheMiddleRowAndKeepsThePhase) {
  Reset(256, 100);
  tools.tool = dtwave;
  tools.waveFrequency = 5;
  StrokeContext ctx = Context({7, 7});
  DrawToolStroke(ctx, {7, 7}, {128, 50}, PenMode::kCopy);
  EXPECT_EQ(InkIn({0, 50, 256, 51}), std::set<Color>{kWhite});
  EXPECT_EQ(CountInk(), 256);
  EXPECT_EQ(tools.generated, (Point{256, 50}));
  EXPECT_NEAR(tools.wavePhase, 2 * 3.14159265358979, 1e-12);
}

TEST(CubeColour, PeaksAtTheCentreLinesAndHalfACanvasFromTheOrigin) {
  Surface surface;
  ToolState tools;
  ColourField field;
  field.SetEditorSize(1024, 768);
  const StrokeContext ctx{surface, tools, field, {}, 1024, 768};
  EXPECT_EQ(CubeColorAt(ctx, 512, 384, 512, 384), 0x00FFFFu);
  EXPECT_EQ(CubeColorAt(ctx, 512, 384, 0, 0), 0xFF0000u);
  EXPECT_EQ(CubeColorAt(ctx, 0, 0, 256, 192), 0x808080u) << "127.5 rounds to 128";
  // Points are clamped to the field; the origin is not.
  EXPECT_EQ(CubeColorAt(ctx, 0, 0, 5000, -5000), CubeColorAt(ctx, 0, 0, 1024, 0));
  EXPECT_EQ(CubeColorAt(ctx, -5000, -5000, 512, 384), 0x00FFFFu) << "negative blue is 0";
}

TEST_F(StrokeTest, HostileStrokesStayOnTheCanvas) {
  Reset(64, 48);
  surface.SetPenWidth(3);
  tools.specA = 65535;
  tools.specB = 65535;
  tools.wild = true;
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  const Point corners[] = {{kMin, kMin}, {kMax, kMax}, {kMax, kMin}, {30, 20}};
  for (uint8_t tool = 0; tool < kToolCount; ++tool) {
    tools.tool = tool;
    tools.colorMode = tool % 2 ? kColorField : kColorCube;
    for (const Point a : corners) {
      for (const Point b : corners) {
        StrokeContext ctx = Context(a);
        DrawToolStroke(ctx, a, b, PenMode::kXor);
        const Rect dirty = surface.TakeDirty();
        EXPECT_EQ(Intersect(dirty, surface.Bounds()), dirty) << int{tool};
      }
    }
  }
}

}  // namespace
}  // namespace quillo
