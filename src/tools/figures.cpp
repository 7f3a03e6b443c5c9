#include "tools/figures.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace quillo {
namespace {

// The parameter steps are extended-precision constants; each sum is stored back as a
// double, so t drifts exactly as a double accumulator does.
constexpr long double kPi = 3.14159265358979323846264338327950288L;
constexpr long double kWebStep = kPi / 128;
constexpr long double kCpuStep = kPi / 1500;
constexpr long double kBiosStep = kPi / 240;
constexpr long double kWaveStep = kPi / 64;

constexpr int kWebPoints = 257;
constexpr int kCpuPoints = 3000;
constexpr int kDoLoopEllipses = 1500;
constexpr int kBiosPoints = 480;
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

// The common walk of the traced figures: the first point is reached by a move, then
// every point, the first included, is drawn as a line.
template <typename Curve>
void Trace(int count, long double step, FirstMove first, const Curve& curve, FigureSink& out) {
  double t = 0.0;
  for (int i = 0; i < count; ++i) {
    const Point p = curve(t);
    if (i == 0) {
      out.Step(FigureStep{
          first == FirstMove::kPlain ? FigureOp::kMove : FigureOp::kShapeMove, p, {}, p});
    }
    t = Advance(t, step);
    out.Step(FigureStep{FigureOp::kLine, p, {}, p});
  }
}

// Nearest, inlined for the per-point loops: ties to even, saturation and NaN as there.
// Adding and taking away 1.5 * 2^52 rounds in the current (to nearest) mode, as
// nearbyint does, without its library call.
inline int32_t RoundCoordinate(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (v <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  constexpr double kRounder = 6755399441055744.0;
  return static_cast<int32_t>((v + kRounder) - kRounder);
}

Point Offset(Point anchor, double x, double y) {
  return Point{WrapAdd(anchor.x, RoundCoordinate(x)), WrapAdd(anchor.y, RoundCoordinate(y))};
}

// The CPU curve, shared with DO LOOP.
struct CpuCurve {
  Point anchor;
  double dx;
  double dy;
  double a;
  double b;
  Point operator()(double t) const {
    return Offset(anchor, dx * std::sin(a * t) + dx * std::sin(t),
                  dy * std::cos(b * t) + dy * std::cos(t));
  }
};

CpuCurve MakeCpuCurve(Point anchor, Point target, SpecPair ab) {
  const Delta d = DeltaOf(anchor, target);
  return CpuCurve{anchor, static_cast<double>(d.dx), static_cast<double>(d.dy),
                  static_cast<double>(ab.a), static_cast<double>(ab.b)};
}

}  // namespace

double WavesFigure(const WaveParams& wave, FigureSink& out) {
  const double step = wave.width / 128.0;
  const double a = wave.a;
  const double b = wave.b;
  const double f = wave.frequency;
  const double f2 = wave.frequency2;
  double phase = wave.phase;
  double xAcc = step;
  const int32_t yBase = WrapAdd(WrapAdd(wave.height / 2, RoundCoordinate(a * std::sin(phase))),
                                RoundCoordinate(b * std::sin(4 * phase)));
  // The move to the left edge keeps the previous generated point for its colour step.
  out.Step(FigureStep{FigureOp::kShapeMove, Point{0, yBase}, {}, wave.generated});
  for (int i = 0; i < kWaveSegments; ++i) {
    phase = Advance(phase, kWaveStep);
    const int32_t y = WrapAdd(WrapAdd(yBase, RoundCoordinate(a * std::sin(f * phase / 2))),
                              RoundCoordinate(b * std::sin(f2 * phase / 2)));
    const Point p{RoundCoordinate(xAcc), y};
    xAcc += step;
    out.Step(FigureStep{FigureOp::kLine, p, {}, p});
  }
  return phase;
}

void WebFigure(Point anchor, Point target, FigureSink& out) {
  const Delta d = DeltaOf(anchor, target);
  const double dx = d.dx;
  const double dy = d.dy;
  Trace(
      kWebPoints, kWebStep, FirstMove::kWithColourStep,
      [&](double t) { return Offset(anchor, dx * std::sin(dx * t), dy * std::sin(dy * t)); }, out);
}

void AliensFigure(Point anchor, Point target, SpecPair ab, FigureSink& out) {
  const Delta d = DeltaOf(anchor, target);
  const double dx = d.dx;
  const double dy = d.dy;
  const double a = ab.a;
  const double b = ab.b;
  Trace(
      kWebPoints, kWebStep, FirstMove::kWithColourStep,
      [&](double t) { return Offset(anchor, dx * std::sin(a * t), dy * std::sin(b * t)); }, out);
}

void CpuFigure(Point anchor, Point target, SpecPair ab, FigureSink& out) {
  Trace(kCpuPoints, kCpuStep, FirstMove::kWithColourStep, MakeCpuCurve(anchor, target, ab), out);
}

void DoLoopFigure(Point anchor, Point target, SpecPair ab, FigureSink& out) {
  const CpuCurve curve = MakeCpuCurve(anchor, target, ab);
  double t = 0.0;
  for (int i = 0; i < kDoLoopEllipses; ++i) {
    const Point p = curve(t);
    t = Advance(t, kCpuStep);
    const Point q = curve(t);
    t = Advance(t, kCpuStep);
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
  const double a = ab.a;
  const double b = ab.b;
  constexpr double kPiD = std::numbers::pi;
  Trace(
      kCpuPoints, kCpuStep, FirstMove::kWithColourStep,
      [&](double t) {
        return Offset(anchor, r * std::sin(a * t) / 4 + dx * t / 8 * kPiD,
                      r * std::cos(b * t) / 4 + dy * t / 8 * kPiD);
      },
      out);
}

void BiosFigure(Point anchor, Point target, SpecPair ab, FigureSink& out) {
  const Delta d = DeltaOf(anchor, target);
  const double dx = d.dx;
  const double dy = d.dy;
  // Squares in double: exact for any stroke on a screen, and no wrap for hostile ones.
  const double r = std::sqrt(dx * dx + dy * dy) / 6;
  const double a = ab.a;
  const double b = ab.b;
  Trace(
      kBiosPoints, kBiosStep, FirstMove::kPlain,
      [&](double t) {
        return Offset(anchor, r * std::sin(a * t) + dx * std::sin(t),
                      r * std::sin(b * t) + dy * std::cos(t));
      },
      out);
}

}  // namespace quillo
