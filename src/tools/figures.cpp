#include "tools/figures.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

#include "tools/parameter_tables.h"

namespace quillo {
namespace {

// WAVES starts from a running phase, so only it still sums its own steps; the other
// figures read their parameter runs from tables (tools/parameter_tables.h).
constexpr long double kPi = 3.14159265358979323846264338327950288L;
constexpr long double kWaveStep = kPi / 64;

constexpr int kDoLoopEllipses = 1500;
constexpr int kWaveSegments = 128;

double Advance(double t, long double step) {
  return static_cast<double>(t + step);
}

// The offsets of a stroke as wrapped 32-bit differences.
struct Delta {
  int32_t dx;
  int32_t dy;
};
Delta DeltaOf(Point anchor, Point target) {
  return Delta{WrapSub(target.x, anchor.x), WrapSub(target.y, anchor.y)};
}

enum class FirstMove : uint8_t { kWithColourStep, kPlain };

// The common walk of the traced figures over the count values of their run: the first
// point is reached by a move, then every point, the first included, is drawn as a line.
template <typename Curve>
void Trace(size_t count, FirstMove first, const Curve& curve, FigureSink& out) {
  if (count == 0) return;
  const Point start = curve(0);
  out.Step(FigureStep{
      first == FirstMove::kPlain ? FigureOp::kMove : FigureOp::kShapeMove, start, {}, start});
  // The lines go out in runs, so a sink can draw a run without a call per point.
  std::array<Point, 512> run;
  for (size_t i = 0; i < count; i += run.size()) {
    const size_t n = std::min(run.size(), count - i);
    for (size_t k = 0; k < n; ++k)
      run[k] = curve(i + k);
    out.Lines(std::span<const Point>(run.data(), n));
  }
}

[[gnu::always_inline]] inline Point Offset(Point anchor, double x, double y) {
  return Point{WrapAdd(anchor.x, Nearest(x)), WrapAdd(anchor.y, Nearest(y))};
}

// The CPU curve at the values of the CPU run, shared with DO LOOP.
class CpuCurve {
 public:
  CpuCurve(Point anchor, Point target, SpecPair ab)
      : anchor_(anchor),
        base_(TableOf(ParameterRun::kCpu)),
        sinA_(ScaledTrig(ParameterRun::kCpu, Trig::kSin, ab.a)),
        cosB_(ScaledTrig(ParameterRun::kCpu, Trig::kCos, ab.b)) {
    const Delta d = DeltaOf(anchor, target);
    dx_ = d.dx;
    dy_ = d.dy;
  }
  size_t Count() const { return base_.t.size(); }
  Point operator()(size_t i) const {
    return Offset(anchor_, dx_ * (*sinA_)[i] + dx_ * base_.sin[i],
                  dy_ * (*cosB_)[i] + dy_ * base_.cos[i]);
  }

 private:
  Point anchor_;
  double dx_ = 0;
  double dy_ = 0;
  const ParameterTable& base_;
  std::shared_ptr<const std::vector<double>> sinA_;
  std::shared_ptr<const std::vector<double>> cosB_;
};

}  // namespace

double WavesFigure(const WaveParams& wave, FigureSink& out) {
  const double step = wave.width / 128.0;
  const double a = wave.a;
  const double b = wave.b;
  const double f = wave.frequency;
  const double f2 = wave.frequency2;
  double phase = wave.phase;
  double xAcc = step;
  const int32_t yBase = WrapAdd(WrapAdd(wave.height / 2, Nearest(a * std::sin(phase))),
                                Nearest(b * std::sin(4 * phase)));
  // The move to the left edge keeps the previous generated point for its colour step.
  out.Step(FigureStep{FigureOp::kShapeMove, Point{0, yBase}, {}, wave.generated});
  for (int i = 0; i < kWaveSegments; ++i) {
    phase = Advance(phase, kWaveStep);
    const int32_t y = WrapAdd(WrapAdd(yBase, Nearest(a * std::sin(f * phase / 2))),
                              Nearest(b * std::sin(f2 * phase / 2)));
    const Point p{Nearest(xAcc), y};
    xAcc += step;
    out.Step(FigureStep{FigureOp::kLine, p, {}, p});
  }
  return phase;
}

void WebFigure(Point anchor, Point target, FigureSink& out) {
  const Delta d = DeltaOf(anchor, target);
  const double dx = d.dx;
  const double dy = d.dy;
  const auto sinX = ScaledTrig(ParameterRun::kWeb, Trig::kSin, d.dx);
  const auto sinY = ScaledTrig(ParameterRun::kWeb, Trig::kSin, d.dy);
  Trace(
      sinX->size(), FirstMove::kWithColourStep,
      [&](size_t i) { return Offset(anchor, dx * (*sinX)[i], dy * (*sinY)[i]); }, out);
}

void AliensFigure(Point anchor, Point target, SpecPair ab, FigureSink& out) {
  const Delta d = DeltaOf(anchor, target);
  const double dx = d.dx;
  const double dy = d.dy;
  const auto sinA = ScaledTrig(ParameterRun::kWeb, Trig::kSin, ab.a);
  const auto sinB = ScaledTrig(ParameterRun::kWeb, Trig::kSin, ab.b);
  Trace(
      sinA->size(), FirstMove::kWithColourStep,
      [&](size_t i) { return Offset(anchor, dx * (*sinA)[i], dy * (*sinB)[i]); }, out);
}

void CpuFigure(Point anchor, Point target, SpecPair ab, FigureSink& out) {
  const CpuCurve curve(anchor, target, ab);
  Trace(curve.Count(), FirstMove::kWithColourStep, curve, out);
}

void DoLoopFigure(Point anchor, Point target, SpecPair ab, FigureSink& out) {
  // Ellipse i is boxed by the points at t_2i and t_2i+1 of the CPU run.
  const CpuCurve curve(anchor, target, ab);
  for (size_t i = 0; i < kDoLoopEllipses; ++i) {
    const Point p = curve(2 * i);
    const Point q = curve(2 * i + 1);
    if (i == 0) out.Step(FigureStep{FigureOp::kMove, p, {}, p});
    out.Step(FigureStep{FigureOp::kEllipse, p, q, p});
  }
}

void TwisterFigure(Point anchor, Point target, SpecPair ab, FigureSink& out) {
  const Delta d = DeltaOf(anchor, target);
  // The sum of squares is formed in 32 bits and may wrap. A sum that wraps negative has
  // no square root: r is NaN, every coordinate rounds to an offset of 0 and the coil
  // collapses onto the anchor instead of flying off.
  const uint32_t ux = static_cast<uint32_t>(d.dx);
  const uint32_t uy = static_cast<uint32_t>(d.dy);
  const double r = std::sqrt(static_cast<double>(static_cast<int32_t>(ux * ux + uy * uy)));
  const double dx = d.dx;
  const double dy = d.dy;
  constexpr double kPiD = std::numbers::pi;
  const std::vector<double>& t = TableOf(ParameterRun::kCpu).t;
  const auto sinA = ScaledTrig(ParameterRun::kCpu, Trig::kSin, ab.a);
  const auto cosB = ScaledTrig(ParameterRun::kCpu, Trig::kCos, ab.b);
  Trace(
      t.size(), FirstMove::kWithColourStep,
      [&](size_t i) {
        return Offset(anchor, r * (*sinA)[i] / 4 + dx * t[i] / 8 * kPiD,
                      r * (*cosB)[i] / 4 + dy * t[i] / 8 * kPiD);
      },
      out);
}

void BiosFigure(Point anchor, Point target, SpecPair ab, FigureSink& out) {
  const Delta d = DeltaOf(anchor, target);
  const double dx = d.dx;
  const double dy = d.dy;
  // Squares in double: exact for any stroke on a screen, and no wrap for hostile ones.
  const double r = std::sqrt(dx * dx + dy * dy) / 6;
  const ParameterTable& base = TableOf(ParameterRun::kBios);
  const auto sinA = ScaledTrig(ParameterRun::kBios, Trig::kSin, ab.a);
  const auto sinB = ScaledTrig(ParameterRun::kBios, Trig::kSin, ab.b);
  Trace(
      base.t.size(), FirstMove::kPlain,
      [&](size_t i) {
        return Offset(anchor, r * (*sinA)[i] + dx * base.sin[i], r * (*sinB)[i] + dy * base.cos[i]);
      },
      out);
}

}  // namespace quillo
