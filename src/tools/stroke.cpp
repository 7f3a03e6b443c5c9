#include "tools/stroke.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "platform/raster/surface.h"
#include "tools/figures.h"

namespace quillo {
namespace {

// Draws a figure's steps as they come.
class FigureDrawer final : public FigureSink {
 public:
  FigureDrawer(StrokeContext& ctx, Point cubeOrigin) : ctx_(ctx), cubeOrigin_(cubeOrigin) {}
  void Step(const FigureStep& step) override { DrawFigureStep(ctx_, cubeOrigin_, step); }
  void Lines(std::span<const Point> points) override { DrawFigureLines(ctx_, cubeOrigin_, points); }

 private:
  StrokeContext& ctx_;
  Point cubeOrigin_;
};

// The colour chosen here takes effect from the next segment on.
void ColourStep(StrokeContext& ctx, Point cubeOrigin, Point at) {
  if (!ctx.tools.wild) return;
  if (ctx.tools.colorMode == kColorCube) {
    ctx.surface.SetPenColor(CubeColorAt(ctx, cubeOrigin.x, cubeOrigin.y, at.x, at.y));
  } else if (ctx.tools.colorMode == kColorField) {
    ctx.surface.SetPenColor(ctx.field.FieldColorAt(at.x, at.y));
  }
}

// Gathers a figure's lines and ellipses, each with the pen colour it is drawn in, and
// draws them in one call: for pens that then write each pixel once.
class FigureGatherer final : public FigureSink {
 public:
  FigureGatherer(StrokeContext& ctx, Point cubeOrigin)
      : ctx_(ctx), cubeOrigin_(cubeOrigin), pos_(ctx.surface.PenPos()) {}

  void Step(const FigureStep& step) override {
    Surface& surface = ctx_.surface;
    ToolState& tools = ctx_.tools;
    switch (step.op) {
      case FigureOp::kMove:
        Flush();
        surface.MoveTo(step.p);
        pos_ = step.p;
        return;
      case FigureOp::kShapeMove:
        Flush();
        tools.penDown = false;
        tools.generated = step.colourAt;
        surface.MoveTo(step.p);
        pos_ = step.p;
        break;
      case FigureOp::kLine:
        tools.penDown = true;
        tools.generated = step.colourAt;
        parts_.push_back(Surface::FigurePart{false, pos_, step.p, surface.PenColor()});
        pos_ = step.p;
        break;
      case FigureOp::kEllipse:
        parts_.push_back(Surface::FigurePart{true, step.p, step.q, surface.PenColor()});
        break;
    }
    ColourStep(ctx_, cubeOrigin_, step.colourAt);
  }

  // Draws what was gathered.
  void Flush() {
    ctx_.surface.DrawFigure(parts_);
    parts_.clear();
  }

 private:
  StrokeContext& ctx_;
  Point cubeOrigin_;
  Point pos_;
  std::vector<Surface::FigurePart> parts_;
};

// Calls draw with the sink that suits the surface's pen, the cube colour measured from
// cubeOrigin.
template <class Draw>
void DrawWithSink(StrokeContext& ctx, Point cubeOrigin, Draw&& draw) {
  if (ctx.surface.DrawsFiguresInOnePass()) {
    FigureGatherer gatherer(ctx, cubeOrigin);
    draw(static_cast<FigureSink&>(gatherer));
    gatherer.Flush();
  } else {
    FigureDrawer drawer(ctx, cubeOrigin);
    draw(static_cast<FigureSink&>(drawer));
  }
}

// The primitive of the five geometric tools between the stroke anchor and target.
void DrawShape(StrokeContext& ctx) {
  Surface& surface = ctx.surface;
  const Point anchor = ctx.tools.strokeAnchor;
  const Point target = ctx.tools.strokeTarget;
  switch (ctx.tools.tool) {
    case dtfree:
      surface.LineTo(target);
      break;
    case dtline:
      surface.MoveTo(anchor);
      surface.LineTo(target);
      break;
    case dtrectangle:
      surface.Rectangle(MakeRect(anchor, target));
      break;
    case dtellipse:
      surface.Ellipse(MakeRect(anchor, target));
      break;
    case dtroundrect: {
      // Halves of the 64-bit differences, truncated toward zero, always fit 32 bits.
      const auto cornerW = static_cast<int32_t>((int64_t{anchor.x} - target.x) / 2);
      const auto cornerH = static_cast<int32_t>((int64_t{anchor.y} - target.y) / 2);
      surface.RoundRect(MakeRect(anchor, target), cornerW, cornerH);
      break;
    }
    default:
      break;
  }
}

double Channel(double numerator, double half) {
  return 255 * numerator / half;
}

uint32_t ClampChannel(int32_t v) {
  return static_cast<uint32_t>(std::clamp(v, 0, 255));
}

}  // namespace

void DrawFigureStep(StrokeContext& ctx, Point cubeOrigin, const FigureStep& step) {
  Surface& surface = ctx.surface;
  ToolState& tools = ctx.tools;
  switch (step.op) {
    case FigureOp::kMove:
      surface.MoveTo(step.p);
      return;
    case FigureOp::kShapeMove:
      tools.penDown = false;
      tools.generated = step.colourAt;
      surface.MoveTo(step.p);
      break;
    case FigureOp::kLine:
      tools.penDown = true;
      tools.generated = step.colourAt;
      surface.LineTo(step.p);
      break;
    case FigureOp::kEllipse:
      surface.Ellipse(MakeRect(step.p, step.q));
      break;
  }
  ColourStep(ctx, cubeOrigin, step.colourAt);
}

void DrawFigureLines(StrokeContext& ctx, Point cubeOrigin, std::span<const Point> points) {
  if (points.empty()) return;
  Surface& surface = ctx.surface;
  ctx.tools.penDown = true;
  ctx.tools.generated = points.back();
  if (!ctx.tools.wild ||
      (ctx.tools.colorMode != kColorCube && ctx.tools.colorMode != kColorField)) {
    surface.Polyline(points);
    return;
  }
  if (ctx.tools.colorMode == kColorCube) {
    for (const Point& p : points) {
      surface.LineTo(p);
      surface.SetPenColor(CubeColorAt(ctx, cubeOrigin.x, cubeOrigin.y, p.x, p.y));
    }
    return;
  }
  // Field colours are worked out a batch at a time, ahead of the lines they follow.
  std::array<Color, 256> colours;
  for (size_t i = 0; i < points.size(); i += colours.size()) {
    const std::span<const Point> batch =
        points.subspan(i, std::min(colours.size(), points.size() - i));
    ctx.field.FieldColorsAt(batch, colours.data());
    surface.Polyline(batch, colours.data());
  }
}

void DrawToolStroke(StrokeContext& ctx, Point anchor, Point target, PenMode penMode) {
  ToolState& tools = ctx.tools;
  tools.strokeAnchor = anchor;
  tools.strokeTarget = target;
  ctx.surface.SetPenMode(penMode);
  const SpecPair ab{tools.specA, tools.specB};
  const Point start = ctx.startPoint;
  switch (tools.tool) {
    case dtfree:
    case dtline:
    case dtrectangle:
    case dtellipse:
    case dtroundrect:
      DrawShape(ctx);
      break;
    case dtwave: {
      const WaveParams wave{ctx.surface.Bounds().right,
                            ctx.surface.Bounds().bottom,
                            WrapSub(ctx.field.fieldHalfWidth, target.x),
                            WrapSub(ctx.field.fieldHalfHeight, target.y),
                            tools.waveFrequency,
                            tools.waveFrequency2,
                            tools.wavePhase,
                            tools.generated};
      DrawWithSink(ctx, start, [&](FigureSink& out) { tools.wavePhase = WavesFigure(wave, out); });
      break;
    }
    case dtNuwave:
      DrawWithSink(ctx, start, [&](FigureSink& out) { WebFigure(anchor, target, out); });
      break;
    case dtNuWaveSpecial:
      DrawWithSink(ctx, start, [&](FigureSink& out) { AliensFigure(anchor, target, ab, out); });
      break;
    case dtwave3:
      DrawWithSink(ctx, start, [&](FigureSink& out) { CpuFigure(anchor, target, ab, out); });
      break;
    case dtwave4:
      // DO LOOP measures its cube colour from its own anchor, not from the press point.
      DrawWithSink(ctx, anchor, [&](FigureSink& out) { DoLoopFigure(anchor, target, ab, out); });
      break;
    case dtTwister:
      DrawWithSink(ctx, start, [&](FigureSink& out) { TwisterFigure(anchor, target, ab, out); });
      break;
    case dtBios:
      DrawWithSink(ctx, start, [&](FigureSink& out) { BiosFigure(anchor, target, ab, out); });
      break;
    default:
      break;
  }
}

Color CubeColorAt(const StrokeContext& ctx, int32_t x0, int32_t y0, int32_t x, int32_t y) {
  // Doubles hold every sum and difference of 32-bit values exactly, so hostile points
  // cannot overflow; a reference size of 0 or 1 divides by zero and gives channel 0.
  const double px = std::min(std::max(x, 0), ctx.field.fieldWidth);
  const double py = std::min(std::max(y, 0), ctx.field.fieldHeight);
  const double cx = ctx.canvasWidth / 2;
  const double cy = ctx.canvasHeight / 2;
  const int32_t red = Nearest(Channel(cx - std::fabs(cx - px), cx));
  const int32_t green = Nearest(Channel(cy - std::fabs(cy - py), cy));
  const double u = Channel(cx - std::fabs(cx - std::fabs(x0 - px)), cx);
  const double v = Channel(cy - std::fabs(cy - std::fabs(y0 - py)), cy);
  const int32_t blue = u > v ? Nearest(u) : Nearest(v);
  // A point far from (x0, y0) can give a negative channel; it counts as 0.
  return Rgb(ClampChannel(red), ClampChannel(green), ClampChannel(blue));
}

void DrawSymmetricStroke(StrokeContext& ctx, SymmetricStrokeState& state, int32_t type, Point p) {
  if (state.selecting || !state.replayPenDown) return;
  state.currentPoint = p;
  state.mirrorPoint = Point{WrapSub(WrapAdd(ctx.startPoint.x, ctx.startPoint.x), p.x),
                            WrapSub(WrapAdd(ctx.startPoint.y, ctx.startPoint.y), p.y)};
  Surface& surface = ctx.surface;
  if (type == 1 || type == 3) {
    surface.SetBrushStyle(BrushStyle::kSolid);
    surface.SetBrushColor(0);
  } else {
    surface.SetBrushStyle(BrushStyle::kClear);
  }
  const PenMode penMode = state.penMode;
  const bool mirrored = !GrowsFromPressPoint(ctx.tools.tool);
  const Point current = state.currentPoint;
  const Point mirror = state.mirrorPoint;
  if (type == 2 || type == 3) {
    DrawToolStroke(ctx, mirrored ? mirror : ctx.startPoint, current, penMode);
  }
  // Type 3 draws both strokes, the mouse's first.
  if (type == 0 || type == 1 || type == 3) {
    DrawToolStroke(ctx, mirrored ? ctx.startPoint : mirror, current, penMode);
  }
}

}  // namespace quillo
