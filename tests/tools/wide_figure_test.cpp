// Figures drawn with wide pens in one pass leave exactly what their steps drawn one by
// one leave: every pixel, the dirty area, the pen and the tool state.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "platform/raster/figure_check.h"
#include "platform/raster/figure_pass.h"
#include "platform/raster/surface.h"
#include "tools/figures.h"
#include "tools/stroke.h"

namespace quillo {
namespace {

constexpr int32_t kW = 96;
constexpr int32_t kH = 72;

class RecordingSink final : public FigureSink {
 public:
  void Step(const FigureStep& step) override { steps.push_back(step); }
  std::vector<FigureStep> steps;
};

// The steps of the tool's figure, generated as DrawToolStroke generates them.
std::vector<FigureStep> StepsOf(const ToolState& tools, const ColourField& field, Point anchor,
                                Point target, double& phase) {
  RecordingSink sink;
  const SpecPair ab{tools.specA, tools.specB};
  switch (tools.tool) {
    case dtwave:
      phase = WavesFigure(WaveParams{kW, kH, WrapSub(field.fieldHalfWidth, target.x),
                                     WrapSub(field.fieldHalfHeight, target.y), tools.waveFrequency,
                                     tools.waveFrequency2, tools.wavePhase, tools.generated},
                          sink);
      break;
    case dtNuwave:
      WebFigure(anchor, target, sink);
      break;
    case dtNuWaveSpecial:
      AliensFigure(anchor, target, ab, sink);
      break;
    case dtwave3:
      CpuFigure(anchor, target, ab, sink);
      break;
    case dtwave4:
      DoLoopFigure(anchor, target, ab, sink);
      break;
    case dtTwister:
      TwisterFigure(anchor, target, ab, sink);
      break;
    default:
      BiosFigure(anchor, target, ab, sink);
      break;
  }
  return sink.steps;
}

// A width from 1 to 1024, spread evenly over the powers of two.
int32_t RandomWidth(std::mt19937& rng) {
  const double e = std::uniform_real_distribution<double>(0.0, 10.0)(rng);
  return static_cast<int32_t>(std::lround(std::exp2(e)));
}

Point RandomPoint(std::mt19937& rng, int32_t spread) {
  std::uniform_int_distribution<int32_t> d(-spread, spread);
  return Point{kW / 2 + d(rng), kH / 2 + d(rng)};
}

// Over random figures, widths 1 to 1024, every pen mode, every colour mode, Wild on and
// off, hollow and filled shapes, on a canvas that already holds a pattern: the stroke
// leaves what its steps drawn one at a time through LineTo and Ellipse leave.
TEST(WideFigure, OnePassLeavesWhatTheStepsLeaveOneByOne) {
  std::mt19937 rng(20);
  const uint8_t kTools[] = {dtwave, dtNuwave, dtNuWaveSpecial, dtwave3, dtwave4, dtTwister, dtBios};
  int onePass = 0;
  for (int round = 0; round < 336; ++round) {
    const auto mode = static_cast<PenMode>(round % 16);
    const uint8_t colorMode = static_cast<uint8_t>(round / 16 % 3);
    const bool wild = round / 48 % 2 == 0;
    const uint8_t tool = kTools[round % 7];
    const int32_t width = round % 5 == 0 ? 1024 : RandomWidth(rng);
    // Mostly on the canvas, now and then reaching far beyond it.
    const int32_t spread = round % 4 == 3 ? 400 : 40;
    const Point anchor = RandomPoint(rng, spread);
    const Point target = RandomPoint(rng, spread);
    const Point start = RandomPoint(rng, spread);
    SCOPED_TRACE(::testing::Message()
                 << "round " << round << " tool " << int{tool} << " mode "
                 << int{static_cast<uint8_t>(mode)} << " colours " << int{colorMode} << " wild "
                 << wild << " width " << width << " anchor " << anchor.x << "," << anchor.y
                 << " target " << target.x << "," << target.y);

    Surface surface;
    ASSERT_TRUE(surface.Resize(kW, kH));
    uint32_t* bits = surface.Bits();
    for (int32_t i = 0; i < kW * kH; ++i)
      bits[i] = 0xFF000000u | (static_cast<uint32_t>(i) * 2654435761u >> 8);
    surface.SetPenWidth(width);
    surface.SetPenColor(rng() & 0xFFFFFF);
    surface.SetBrushColor(rng() & 0xFFFFFF);
    surface.SetBrushStyle(rng() % 2 == 0 ? BrushStyle::kClear : BrushStyle::kSolid);
    surface.MoveTo(RandomPoint(rng, spread));
    surface.TakeDirty();
    ToolState tools;
    tools.tool = tool;
    tools.wild = wild;
    tools.colorMode = colorMode;
    tools.specA = static_cast<int32_t>(rng() % 9);
    tools.specB = static_cast<int32_t>(rng() % 9);
    tools.waveFrequency = 1 + static_cast<int32_t>(rng() % 8);
    tools.wavePhase = 0.25 * (rng() % 8);
    ColourField field;
    field.SetEditorSize(kW, kH);

    Surface reference;
    ASSERT_TRUE(reference.CopyFrom(surface));
    reference.TakeDirty();
    ToolState refTools = tools;

    surface.SetPenMode(mode);
    onePass += surface.DrawsFiguresInOnePass();
    StrokeContext ctx{surface, tools, field, start, kW, kH};
    DrawToolStroke(ctx, anchor, target, mode);

    double phase = refTools.wavePhase;
    const std::vector<FigureStep> steps = StepsOf(refTools, field, anchor, target, phase);
    StrokeContext refCtx{reference, refTools, field, start, kW, kH};
    reference.SetPenMode(mode);
    const Point cubeOrigin = tool == dtwave4 ? anchor : start;
    for (const FigureStep& step : steps)
      DrawFigureStep(refCtx, cubeOrigin, step);
    if (tool == dtwave) refTools.wavePhase = phase;

    for (int32_t y = 0; y < kH; ++y) {
      for (int32_t x = 0; x < kW; ++x)
        ASSERT_EQ(surface.Bits()[y * kW + x], reference.Bits()[y * kW + x]) << x << "," << y;
    }
    EXPECT_EQ(surface.TakeDirty(), reference.TakeDirty());
    EXPECT_EQ(surface.PenPos(), reference.PenPos());
    EXPECT_EQ(surface.PenColor(), reference.PenColor());
    EXPECT_EQ(tools.generated, refTools.generated);
    EXPECT_EQ(tools.penDown, refTools.penDown);
    EXPECT_EQ(tools.wavePhase, refTools.wavePhase);
  }
  // A fifth of the rounds are at 1024, which takes the one pass in every mode.
  EXPECT_GE(onePass, 336 / 5);
}

// The pass itself, on lines and ellipses mixed, against the calls it stands for, where
// thin lines left an open end before it: the dirty area still counts that end.
TEST(WideFigure, PassDrawsMixedPartsAsTheCallsInTurn) {
  std::mt19937 rng(7);
  for (int ordinal = 0; ordinal < 16; ++ordinal) {
    const PenMode mode = PenModeOf(ordinal);
    const int32_t from = raster::OnePassPenWidth(mode);
    for (const int32_t width : {from, from + 1, from + 436}) {
      SCOPED_TRACE(::testing::Message()
                   << "mode " << int{static_cast<uint8_t>(mode)} << " width " << width);
      Surface one;
      ASSERT_TRUE(one.Resize(kW, kH));
      one.SetPenWidth(1);
      one.MoveTo({5, 5});
      one.LineTo({30, 9});  // a direct line: its last pixel is still open
      one.SetPenWidth(width);
      one.SetPenMode(mode);
      one.SetBrushStyle(width % 2 == 0 ? BrushStyle::kSolid : BrushStyle::kClear);
      one.SetBrushColor(0x123456);
      Surface steps;
      ASSERT_TRUE(steps.CopyFrom(one));
      one.TakeDirty();
      steps.TakeDirty();
      // CopyFrom counts every pixel as changed; draw the open line again on both.
      for (Surface* s : {&one, &steps}) {
        s->SetPenWidth(1);
        s->SetPenMode(PenMode::kCopy);
        s->MoveTo({5, 5});
        s->LineTo({30, 9});
        s->SetPenWidth(width);
        s->SetPenMode(mode);
      }
      std::vector<Surface::FigurePart> parts;
      for (int i = 0; i < 30; ++i) {
        parts.push_back(Surface::FigurePart{rng() % 3 == 0, RandomPoint(rng, 70),
                                            RandomPoint(rng, 70),
                                            static_cast<Color>(rng() & 0xFFFFFF)});
      }
      ASSERT_TRUE(one.DrawsFiguresInOnePass());
      one.DrawFigure(parts);
      for (const Surface::FigurePart& part : parts) {
        steps.SetPenColor(part.pen);
        if (part.ellipse) {
          steps.Ellipse(MakeRect(part.p, part.q));
        } else {
          steps.MoveTo(part.p);
          steps.LineTo(part.q);
        }
      }
      steps.SetPenColor(one.PenColor());
      for (int32_t i = 0; i < kW * kH; ++i)
        ASSERT_EQ(one.Bits()[i], steps.Bits()[i]) << i % kW << "," << i / kW;
      EXPECT_EQ(one.TakeDirty(), steps.TakeDirty());
      EXPECT_EQ(one.PenPos(), steps.PenPos());
    }
  }
}

// The pass at every width from 2 up, against the wide line and round shape drawn one
// after another: the same pixels and the same box of changed pixels.
TEST(WideFigure, PassMatchesTheCallsAtEveryWidth) {
  std::mt19937 rng(11);
  std::vector<uint32_t> start(kW * kH);
  for (int round = 0; round < 400; ++round) {
    const auto mode = static_cast<PenMode>(round % 16);
    const int32_t width = round % 3 == 0 ? 2 + round % 40 : std::max(2, RandomWidth(rng));
    const raster::FigureStyle style{mode, width, 0xFF000000u | static_cast<uint32_t>(rng()),
                                    round % 2 == 0};
    SCOPED_TRACE(::testing::Message() << "round " << round << " width " << width);
    std::vector<raster::FigurePrimitive> parts;
    const int count = 1 + static_cast<int>(rng() % 30);
    // Now and then the ends lie far off the grid, where rows clip at both sides, or
    // very far, where the rows' arithmetic must not overflow.
    const int32_t spread = round % 10 == 9 ? 1 << 30 : round % 5 == 4 ? 3000 : 60;
    for (int i = 0; i < count; ++i) {
      parts.push_back(raster::FigurePrimitive{rng() % 3 == 0, RandomPoint(rng, spread),
                                              RandomPoint(rng, spread),
                                              0xFF000000u | static_cast<uint32_t>(rng())});
    }
    for (int32_t i = 0; i < kW * kH; ++i)
      start[i] = 0xFF000000u | (static_cast<uint32_t>(i) * 2246822519u >> 7);
    ASSERT_NO_FATAL_FAILURE(testing::ExpectPassAsPartByPart(start, kW, kH, parts, style));
  }
}

}  // namespace
}  // namespace quillo
