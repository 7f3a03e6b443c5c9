#include "tools/figures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <numbers>
#include <vector>

namespace quillo {
namespace {

class RecordingSink final : public FigureSink {
 public:
  void Step(const FigureStep& step) override { steps.push_back(step); }
  // The points the lines go through, in order.
  std::vector<Point> LinePoints() const {
    std::vector<Point> points;
    for (const FigureStep& s : steps)
      if (s.op == FigureOp::kLine) points.push_back(s.p);
    return points;
  }
  std::vector<FigureStep> steps;
};

constexpr long double kPiL = std::numbers::pi_v<long double>;

// Rounding of the reference formulas, independent of the code under test.
int32_t Round(long double v) {
  return static_cast<int32_t>(std::llrint(v));
}

// A reference curve: the point of parameter t, evaluated in long double.
using Curve = std::function<Point(long double t)>;

void ExpectTraces(const std::vector<Point>& points, int count, long double step,
                  const Curve& curve) {
  ASSERT_EQ(points.size(), static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    const Point want = curve(i * step);
    ASSERT_EQ(points[i], want) << "point " << i;
  }
}

using Generator = std::function<void(Point, Point, SpecPair, FigureSink&)>;

struct TracedCase {
  const char* name;
  Generator generator;
  int points;
  FigureOp firstMove;
};

const std::vector<TracedCase>& TracedCases() {
  static const std::vector<TracedCase> cases = {
      {"WEB", [](Point a, Point t, SpecPair, FigureSink& o) { WebFigure(a, t, o); }, 257,
       FigureOp::kShapeMove},
      {"ALIENS", AliensFigure, 257, FigureOp::kShapeMove},
      {"CPU", CpuFigure, 3000, FigureOp::kShapeMove},
      {"TWISTER", TwisterFigure, 3000, FigureOp::kShapeMove},
      {"BIOS", BiosFigure, 480, FigureOp::kMove},
  };
  return cases;
}

TEST(Figures, TracedFiguresMoveToTheFirstPointThenDrawALineToEveryPoint) {
  for (const TracedCase& c : TracedCases()) {
    RecordingSink sink;
    c.generator({400, 300}, {437, 262}, {7, 5}, sink);
    ASSERT_EQ(sink.steps.size(), static_cast<size_t>(c.points + 1)) << c.name;
    EXPECT_EQ(sink.steps[0].op, c.firstMove) << c.name;
    EXPECT_EQ(sink.steps[0].p, sink.steps[1].p) << c.name << ": the first line has zero length";
    if (c.firstMove == FigureOp::kShapeMove) {
      EXPECT_EQ(sink.steps[0].colourAt, sink.steps[0].p) << c.name;
    }
    for (size_t i = 1; i < sink.steps.size(); ++i) {
      EXPECT_EQ(sink.steps[i].op, FigureOp::kLine) << c.name << " step " << i;
      EXPECT_EQ(sink.steps[i].colourAt, sink.steps[i].p) << c.name << " step " << i;
    }
  }
}

TEST(Figures, ATargetOnTheAnchorCollapsesEveryFigureOntoTheAnchor) {
  const Point anchor{321, 123};
  for (const TracedCase& c : TracedCases()) {
    RecordingSink sink;
    c.generator(anchor, anchor, {7, 5}, sink);
    for (const FigureStep& s : sink.steps)
      ASSERT_EQ(s.p, anchor) << c.name;
  }
  RecordingSink loop;
  DoLoopFigure(anchor, anchor, {7, 5}, loop);
  ASSERT_EQ(loop.steps.size(), 1501u);
  for (const FigureStep& s : loop.steps) {
    ASSERT_EQ(s.p, anchor);
    if (s.op == FigureOp::kEllipse) {
      ASSERT_EQ(s.q, anchor);
    }
  }
}

TEST(Figures, WebFollowsItsFormulaAndClosesOnItsFirstPoint) {
  const Point anchor{500, 400};
  for (Point target : {Point{537, 371}, Point{460, 452}, Point{501, 399}, Point{900, 100}}) {
    RecordingSink sink;
    WebFigure(anchor, target, sink);
    const long double dx = target.x - anchor.x;
    const long double dy = target.y - anchor.y;
    const std::vector<Point> points = sink.LinePoints();
    ExpectTraces(points, 257, kPiL / 128, [&](long double t) {
      return Point{anchor.x + Round(dx * std::sin(dx * t)),
                   anchor.y + Round(dy * std::sin(dy * t))};
    });
    EXPECT_EQ(points.front(), points.back());
  }
}

TEST(Figures, AliensIsALissajousFigureAndOnlyItsAnchorWhenBothSpecsAreZero) {
  const Point anchor{300, 200};
  const Point target{380, 150};
  RecordingSink sink;
  AliensFigure(anchor, target, {3, 2}, sink);
  ExpectTraces(sink.LinePoints(), 257, kPiL / 128, [&](long double t) {
    return Point{300 + Round(80 * std::sin(3 * t)), 200 + Round(-50 * std::sin(2 * t))};
  });
  // A quarter turn of t = pi/2: sin(3 pi/2) = -1, sin(pi) = 0.
  EXPECT_EQ(sink.LinePoints()[64], (Point{220, 200}));

  RecordingSink still;
  AliensFigure(anchor, target, {0, 0}, still);
  for (const FigureStep& s : still.steps)
    ASSERT_EQ(s.p, anchor);
}

TEST(Figures, CpuAddsALissajousTermToAnEllipse) {
  const Point anchor{960, 540};
  const Point target{1260, 740};
  RecordingSink sink;
  CpuFigure(anchor, target, {7, 5}, sink);
  ExpectTraces(sink.LinePoints(), 3000, kPiL / 1500, [&](long double t) {
    return Point{960 + Round(300 * std::sin(7 * t) + 300 * std::sin(t)),
                 540 + Round(200 * std::cos(5 * t) + 200 * std::cos(t))};
  });

  // Both specs 0: the ellipse (x1 + dx sin t, y1 + dy + dy cos t).
  RecordingSink plain;
  CpuFigure(anchor, target, {0, 0}, plain);
  const std::vector<Point> points = plain.LinePoints();
  EXPECT_EQ(points[0], (Point{960, 940}));
  EXPECT_EQ(points[750], (Point{1260, 740}));
  EXPECT_EQ(points[1500], (Point{960, 540}));
  EXPECT_EQ(points[2250], (Point{660, 740}));
}

TEST(Figures, DoLoopStringsEllipsesBetweenConsecutivePointsOfTheCpuCurve) {
  const Point anchor{960, 540};
  const Point target{1260, 740};
  RecordingSink curve;
  CpuFigure(anchor, target, {7, 5}, curve);
  const std::vector<Point> points = curve.LinePoints();
  RecordingSink loop;
  DoLoopFigure(anchor, target, {7, 5}, loop);
  ASSERT_EQ(loop.steps.size(), 1501u);
  EXPECT_EQ(loop.steps[0], (FigureStep{FigureOp::kMove, points[0], {}, points[0]}));
  for (int k = 0; k < 1500; ++k) {
    const FigureStep& s = loop.steps[k + 1];
    ASSERT_EQ(s.op, FigureOp::kEllipse);
    ASSERT_EQ(s.p, points[2 * k]) << "ellipse " << k;
    ASSERT_EQ(s.q, points[2 * k + 1]) << "ellipse " << k;
    ASSERT_EQ(s.colourAt, s.p) << "ellipse " << k;
  }
}

TEST(Figures, TwisterIsACoilTravellingAlongTheStroke) {
  const Point anchor{200, 100};
  const Point target{500, 500};  // dx 300, dy 400, r 500
  RecordingSink sink;
  TwisterFigure(anchor, target, {7, 5}, sink);
  const long double pi = kPiL;
  ExpectTraces(sink.LinePoints(), 3000, kPiL / 1500, [&](long double t) {
    return Point{200 + Round(500 * std::sin(7 * t) / 4 + 300 * t / 8 * pi),
                 100 + Round(500 * std::cos(5 * t) / 4 + 400 * t / 8 * pi)};
  });

  // Both specs 0: a straight line from (x1, y1 + r/4), here (200, 225), to the end of t.
  RecordingSink line;
  TwisterFigure(anchor, target, {0, 0}, line);
  const std::vector<Point> points = line.LinePoints();
  EXPECT_EQ(points.front(), (Point{200, 225}));
  EXPECT_EQ(points.back(), (Point{940, 1212}));
  for (const Point p : points) {
    // On the line through (200, 225) along (3, 4), within rounding.
    const int64_t cross = int64_t{p.x - 200} * 4 - int64_t{p.y - 225} * 3;
    ASSERT_LE(std::abs(cross), 4) << p.x << "," << p.y;
  }
}

TEST(Figures, TwisterFormsItsRadiusFromA32BitSumOfSquares) {
  // 70000^2 wraps to 605032704, whose root is 24597.41: the coil starts r/4 = 6149 below.
  RecordingSink wrapped;
  TwisterFigure({0, 0}, {70000, 0}, {0, 0}, wrapped);
  EXPECT_EQ(wrapped.LinePoints().front(), (Point{0, 6149}));

  // 2 * 40000^2 wraps negative: no radius, so the figure stays on the anchor.
  RecordingSink negative;
  TwisterFigure({10, 20}, {40010, 40020}, {7, 5}, negative);
  for (const FigureStep& s : negative.steps)
    ASSERT_EQ(s.p, (Point{10, 20}));
}

TEST(Figures, BiosRufflesAnEllipseAroundTheAnchor) {
  const Point anchor{600, 400};
  // dx 121, dy -89: r is a sixth of the distance, and no point falls on a rounding tie.
  const Point target{721, 311};
  RecordingSink sink;
  BiosFigure(anchor, target, {7, 5}, sink);
  const long double r = std::sqrt(121.0L * 121 + 89 * 89) / 6;
  ExpectTraces(sink.LinePoints(), 480, kPiL / 240, [&](long double t) {
    return Point{600 + Round(r * std::sin(7 * t) + 121 * std::sin(t)),
                 400 + Round(r * std::sin(5 * t) - 89 * std::cos(t))};
  });

  RecordingSink plain;
  BiosFigure(anchor, {720, 310}, {0, 0}, plain);
  const std::vector<Point> points = plain.LinePoints();
  EXPECT_EQ(points[0], (Point{600, 310}));
  EXPECT_EQ(points[120], (Point{720, 400}));
  EXPECT_EQ(points[240], (Point{600, 490}));
  EXPECT_EQ(points[360], (Point{480, 400}));
}

TEST(Figures, WavesAtTheFieldCentreIsAStraightLineAcrossTheWindow) {
  RecordingSink sink;
  const Point previous{77, 88};
  const double phase = WavesFigure({1280, 720, 0, 0, 3, 8, 0.25, previous}, sink);
  ASSERT_EQ(sink.steps.size(), 129u);
  // The move to the left edge colours from the previous figure's last point.
  EXPECT_EQ(sink.steps[0], (FigureStep{FigureOp::kShapeMove, {0, 360}, {}, previous}));
  for (int k = 1; k <= 128; ++k) {
    EXPECT_EQ(sink.steps[k].op, FigureOp::kLine);
    EXPECT_EQ(sink.steps[k].p, (Point{10 * k, 360})) << k;
  }
  EXPECT_NEAR(phase, 0.25 + 2 * std::numbers::pi, 1e-12);
}

TEST(Figures, WavesAtFrequencyOneCoversHalfAPeriodOfTheFirstTerm) {
  RecordingSink sink;
  WavesFigure({1024, 768, 100, 0, 1, 8, 0.0, {}}, sink);
  const std::vector<Point> points = sink.LinePoints();
  ASSERT_EQ(points.size(), 128u);
  EXPECT_EQ(sink.steps[0].p, (Point{0, 384}));
  for (int k = 1; k <= 128; ++k) {
    const long double phase = k * kPiL / 64;
    EXPECT_EQ(points[k - 1], (Point{Round(k * 8.0L), 384 + Round(100 * std::sin(phase / 2))})) << k;
  }
  EXPECT_EQ(points[63], (Point{512, 484}));
  EXPECT_EQ(points.back(), (Point{1024, 384}));
}

TEST(Figures, WavesContinuesFromThePhaseItWasGiven) {
  // a = 50, b = 20, frequencies 3 and 5, starting at phase 1: the base line moves too.
  const double start = 1.0;
  RecordingSink sink;
  const double next = WavesFigure({640, 480, 50, 20, 3, 5, start, {}}, sink);
  const int32_t yBase = 240 + Round(50 * std::sin(1.0L)) + Round(20 * std::sin(4.0L));
  EXPECT_EQ(yBase, 240 + 42 - 15);
  EXPECT_EQ(sink.steps[0].p, (Point{0, yBase}));
  for (int k = 1; k <= 128; ++k) {
    const long double phase = start + k * kPiL / 64;
    const Point want{
        5 * k, yBase + Round(50 * std::sin(3 * phase / 2)) + Round(20 * std::sin(5 * phase / 2))};
    EXPECT_EQ(sink.steps[k].p, want) << k;
  }
  RecordingSink again;
  WavesFigure({640, 480, 50, 20, 3, 5, next, {}}, again);
  EXPECT_EQ(again.steps[0].p, sink.steps[0].p) << "one figure turns the phase by 2 pi";
}

TEST(Figures, HalfPixelPositionsRoundToTheEvenNeighbour) {
  // A 64-pixel window steps by half a pixel: 0.5 -> 0, 1.5 -> 2, 2.5 -> 2, 3.5 -> 4.
  RecordingSink sink;
  WavesFigure({64, 10, 0, 0, 1, 8, 0.0, {}}, sink);
  const std::vector<Point> points = sink.LinePoints();
  const int32_t want[] = {0, 1, 2, 2, 2, 3, 4, 4};
  for (int k = 0; k < 8; ++k)
    EXPECT_EQ(points[k].x, want[k]) << k;
  EXPECT_EQ(points.back().x, 64);
}

TEST(Figures, CoordinatesBeyondThe32BitRangeSaturateBeforeTheyWrap) {
  // dx = 2^31 - 1: the CPU curve reaches out to 2 dx, past the range; each offset is
  // the saturated nearest value, added to the anchor with wrap-around.
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  const Point anchor{-5, 7};
  const Point target{kMax - 5, 7 - kMax};
  RecordingSink sink;
  CpuFigure(anchor, target, {3, 2}, sink);
  const std::vector<Point> points = sink.LinePoints();
  ASSERT_EQ(points.size(), 3000u);
  const double dx = kMax;
  const double dy = -kMax;
  double t = 0.0;
  int saturated = 0;
  for (const Point p : points) {
    const double x = dx * std::sin(3 * t) + dx * std::sin(t);
    const double y = dy * std::cos(2 * t) + dy * std::cos(t);
    saturated += std::abs(x) >= kMax || std::abs(y) >= kMax;
    ASSERT_EQ(p.x, static_cast<int32_t>(static_cast<uint32_t>(-5) + Nearest(x)));
    ASSERT_EQ(p.y, static_cast<int32_t>(7u + static_cast<uint32_t>(Nearest(y))));
    t = static_cast<double>(t + kPiL / 1500);
  }
  EXPECT_GT(saturated, 100);
}

TEST(Figures, HostileStrokesFinishWithEveryPoint) {
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  const Point corners[] = {{kMin, kMin}, {kMax, kMax}, {kMin, kMax}, {0, 0}};
  for (const Point a : corners) {
    for (const Point b : corners) {
      for (const TracedCase& c : TracedCases()) {
        RecordingSink sink;
        c.generator(a, b, {65535, 65535}, sink);
        ASSERT_EQ(sink.steps.size(), static_cast<size_t>(c.points + 1)) << c.name;
      }
      RecordingSink loop;
      DoLoopFigure(a, b, {65535, -65535}, loop);
      ASSERT_EQ(loop.steps.size(), 1501u);
      RecordingSink wave;
      const double phase = WavesFigure({1920, 1080, a.x, b.y, 32, 32, 1e300, a}, wave);
      ASSERT_EQ(wave.steps.size(), 129u);
      EXPECT_FALSE(std::isnan(phase));
    }
  }
}

}  // namespace
}  // namespace quillo
