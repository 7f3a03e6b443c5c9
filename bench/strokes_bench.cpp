// Pattern strokes on a 1920 x 1080 canvas against the same figures drawn with QPainter
// on a QImage. Both sides run the same generator and the same field colours; they
// differ in how the steps are drawn. The two run by turns in every iteration and each
// benchmark reports "peer_over_quillo": the peer's time over ours, above 1 when the
// stroke is faster.
#include <benchmark/benchmark.h>

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPen>

#include "colour/colour_field.h"
#include "platform/raster/surface.h"
#include "run_pair.h"
#include "tools/figures.h"
#include "tools/stroke.h"

namespace quillo {
namespace {

constexpr int32_t kWidth = 1920;
constexpr int32_t kHeight = 1080;
constexpr Point kAnchor{960, 540};
constexpr Point kTarget{1260, 740};
constexpr SpecPair kSpecs{7, 5};

// A figure with the pen width and Wild flag its tool starts with.
struct Figure {
  uint8_t tool;
  int32_t penWidth;
  bool wild;
};
constexpr Figure kCpu{dtwave3, 1, true};
constexpr Figure kDoLoop{dtwave4, 1, true};
constexpr Figure kTwister{dtTwister, 1, true};
constexpr Figure kBios{dtBios, 1, false};
constexpr Figure kWeb{dtNuwave, 2, false};
constexpr Figure kWaves{dtwave, 2, false};

ColourField MakeField() {
  ColourField field;
  field.SetEditorSize(kWidth, kHeight);
  return field;
}

// Draws figure steps with QPainter, setting the pen from the field after each step.
class PainterSink final : public FigureSink {
 public:
  PainterSink(QPainter& painter, ColourField& field, const Figure& figure)
      : painter_(painter), field_(field), figure_(figure) {}

  void Step(const FigureStep& step) override {
    switch (step.op) {
      case FigureOp::kMove:
        pos_ = step.p;
        return;
      case FigureOp::kShapeMove:
        pos_ = step.p;
        break;
      case FigureOp::kLine:
        painter_.drawLine(pos_.x, pos_.y, step.p.x, step.p.y);
        pos_ = step.p;
        break;
      case FigureOp::kEllipse:
        painter_.drawEllipse(QRect(QPoint(step.p.x, step.p.y), QPoint(step.q.x, step.q.y)));
        break;
    }
    if (!figure_.wild) return;
    const Color c = field_.FieldColorAt(step.colourAt.x, step.colourAt.y);
    painter_.setPen(QPen(QColor(RedOf(c), GreenOf(c), BlueOf(c)), figure_.penWidth));
  }

 private:
  QPainter& painter_;
  ColourField& field_;
  const Figure& figure_;
  Point pos_{};
};

// The figure drawn through the QPainter sink, as the stroke would draw it.
void PeerStroke(const Figure& figure, ColourField& field, PainterSink& sink, double& phase,
                Point generated) {
  switch (figure.tool) {
    case dtwave: {
      const WaveParams wave{kWidth,
                            kHeight,
                            field.fieldHalfWidth - kTarget.x,
                            field.fieldHalfHeight - kTarget.y,
                            1,
                            8,
                            phase,
                            generated};
      phase = WavesFigure(wave, sink);
      break;
    }
    case dtNuwave:
      WebFigure(kAnchor, kTarget, sink);
      break;
    case dtwave3:
      CpuFigure(kAnchor, kTarget, kSpecs, sink);
      break;
    case dtwave4:
      DoLoopFigure(kAnchor, kTarget, kSpecs, sink);
      break;
    case dtTwister:
      TwisterFigure(kAnchor, kTarget, kSpecs, sink);
      break;
    default:
      BiosFigure(kAnchor, kTarget, kSpecs, sink);
      break;
  }
}

// A canvas and tool state set up for the figure's stroke.
struct StrokeSetup {
  Surface surface;
  ToolState tools;
  ColourField field = MakeField();
  StrokeContext ctx{surface, tools, field, kAnchor, kWidth, kHeight};

  explicit StrokeSetup(const Figure& figure) {
    surface.Resize(kWidth, kHeight);
    surface.SetPenWidth(figure.penWidth);
    surface.SetPenColor(0xFFFFFF);
    surface.SetBrushStyle(BrushStyle::kClear);
    tools.tool = figure.tool;
    tools.wild = figure.wild;
    tools.colorMode = kColorField;
    tools.specA = kSpecs.a;
    tools.specB = kSpecs.b;
  }
  void Draw() { DrawToolStroke(ctx, kAnchor, kTarget, PenMode::kCopy); }
};

void BM_Stroke(benchmark::State& state, Figure figure) {
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  image.fill(Qt::black);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(Qt::white, figure.penWidth));
  ColourField peerField = MakeField();
  PainterSink sink(painter, peerField, figure);
  double phase = 0.0;

  StrokeSetup ours(figure);
  if (ours.surface.Width() != kWidth) {
    state.SkipWithError("no surface");
    return;
  }
  RunPair(
      state,
      [&] {
        PeerStroke(figure, peerField, sink, phase, Point{});
        benchmark::DoNotOptimize(image.constBits());
      },
      [&] {
        ours.Draw();
        benchmark::DoNotOptimize(ours.surface.Bits());
      });
}

// The stroke by itself, one after another as a drag draws them: its own time, without
// a peer's drawing passing through the caches in between.
void BM_StrokeAlone(benchmark::State& state, Figure figure) {
  StrokeSetup ours(figure);
  for (auto _ : state) {
    ours.Draw();
    benchmark::DoNotOptimize(ours.surface.Bits());
  }
}

BENCHMARK_CAPTURE(BM_Stroke, Cpu, kCpu);
BENCHMARK_CAPTURE(BM_Stroke, DoLoop, kDoLoop);
BENCHMARK_CAPTURE(BM_Stroke, Twister, kTwister);
BENCHMARK_CAPTURE(BM_Stroke, Bios, kBios);
BENCHMARK_CAPTURE(BM_Stroke, Web, kWeb);
BENCHMARK_CAPTURE(BM_Stroke, Waves, kWaves);
BENCHMARK_CAPTURE(BM_StrokeAlone, Twister, kTwister)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_StrokeAlone, Bios, kBios)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_StrokeAlone, Web, kWeb)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_StrokeAlone, Waves, kWaves)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quillo
