#include "tools/parameter_tables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "tools/figures.h"

namespace quillo {
namespace {

class RecordingSink final : public FigureSink {
 public:
  void Step(const FigureStep& step) override { steps.push_back(step); }
  std::vector<FigureStep> steps;
};

// The figures as plain formulas: t summed step by step, every sine called directly.
constexpr long double kPiL = 3.14159265358979323846264338327950288L;

Point At(Point anchor, double x, double y) {
  return Point{WrapAdd(anchor.x, Nearest(x)), WrapAdd(anchor.y, Nearest(y))};
}

template <class Curve>
std::vector<FigureStep> Traced(int count, long double step, FigureOp first, Curve curve) {
  std::vector<FigureStep> steps;
  double t = 0.0;
  for (int i = 0; i < count; ++i) {
    const Point p = curve(t);
    if (i == 0) steps.push_back(FigureStep{first, p, {}, p});
    t = static_cast<double>(t + step);
    steps.push_back(FigureStep{FigureOp::kLine, p, {}, p});
  }
  return steps;
}

std::vector<FigureStep> Reference(int figure, Point anchor, Point target, SpecPair ab) {
  const int32_t idx = WrapSub(target.x, anchor.x);
  const int32_t idy = WrapSub(target.y, anchor.y);
  const double dx = idx;
  const double dy = idy;
  const double a = ab.a;
  const double b = ab.b;
  const auto cpu = [&](double t) {
    return At(anchor, dx * std::sin(a * t) + dx * std::sin(t),
              dy * std::cos(b * t) + dy * std::cos(t));
  };
  switch (figure) {
    case 0:
      return Traced(257, kPiL / 128, FigureOp::kShapeMove, [&](double t) {
        return At(anchor, dx * std::sin(dx * t), dy * std::sin(dy * t));
      });
    case 1:
      return Traced(257, kPiL / 128, FigureOp::kShapeMove, [&](double t) {
        return At(anchor, dx * std::sin(a * t), dy * std::sin(b * t));
      });
    case 2:
      return Traced(3000, kPiL / 1500, FigureOp::kShapeMove, cpu);
    case 3: {
      std::vector<FigureStep> steps;
      double t = 0.0;
      for (int i = 0; i < 1500; ++i) {
        const Point p = cpu(t);
        t = static_cast<double>(t + kPiL / 1500);
        const Point q = cpu(t);
        t = static_cast<double>(t + kPiL / 1500);
        if (i == 0) steps.push_back(FigureStep{FigureOp::kMove, p, {}, p});
        steps.push_back(FigureStep{FigureOp::kEllipse, p, q, p});
      }
      return steps;
    }
    case 4: {
      const auto ux = static_cast<uint32_t>(idx);
      const auto uy = static_cast<uint32_t>(idy);
      const double r = std::sqrt(static_cast<double>(static_cast<int32_t>(ux * ux + uy * uy)));
      constexpr double kPiD = 3.14159265358979323846;
      return Traced(3000, kPiL / 1500, FigureOp::kShapeMove, [&](double t) {
        return At(anchor, r * std::sin(a * t) / 4 + dx * t / 8 * kPiD,
                  r * std::cos(b * t) / 4 + dy * t / 8 * kPiD);
      });
    }
    default: {
      const double r = std::sqrt(dx * dx + dy * dy) / 6;
      return Traced(480, kPiL / 240, FigureOp::kMove, [&](double t) {
        return At(anchor, r * std::sin(a * t) + dx * std::sin(t),
                  r * std::sin(b * t) + dy * std::cos(t));
      });
    }
  }
}

std::vector<FigureStep> Generated(int figure, Point anchor, Point target, SpecPair ab) {
  RecordingSink sink;
  switch (figure) {
    case 0:
      WebFigure(anchor, target, sink);
      break;
    case 1:
      AliensFigure(anchor, target, ab, sink);
      break;
    case 2:
      CpuFigure(anchor, target, ab, sink);
      break;
    case 3:
      DoLoopFigure(anchor, target, ab, sink);
      break;
    case 4:
      TwisterFigure(anchor, target, ab, sink);
      break;
    default:
      BiosFigure(anchor, target, ab, sink);
      break;
  }
  return sink.steps;
}

TEST(ParameterTables, RunsSumTheirStepsAsDoublesAndHoldTheDirectSines) {
  struct Run {
    ParameterRun run;
    int count;
    long double step;
  };
  for (const Run& r :
       {Run{ParameterRun::kWeb, 257, kPiL / 128}, Run{ParameterRun::kCpu, 3000, kPiL / 1500},
        Run{ParameterRun::kBios, 480, kPiL / 240}}) {
    const ParameterTable& table = TableOf(r.run);
    ASSERT_EQ(table.t.size(), static_cast<size_t>(r.count));
    const auto sin7 = ScaledTrig(r.run, Trig::kSin, 7);
    const auto cosMinus3 = ScaledTrig(r.run, Trig::kCos, -3);
    double t = 0.0;
    for (int i = 0; i < r.count; ++i) {
      ASSERT_EQ(table.t[i], t) << i;
      ASSERT_EQ(table.sin[i], std::sin(t)) << i;
      ASSERT_EQ(table.cos[i], std::cos(t)) << i;
      ASSERT_EQ((*sin7)[i], std::sin(7.0 * t)) << i;
      ASSERT_EQ((*cosMinus3)[i], std::cos(-3.0 * t)) << i;
      t = static_cast<double>(t + r.step);
    }
  }
}

// More specs than the tables keep, revisited in random order, so that kept, evicted
// and rebuilt tables all come into play.
TEST(ParameterTables, FiguresDrawnFromTablesMatchTheDirectFormulas) {
  std::mt19937 rng(11);
  std::uniform_int_distribution<int32_t> spec(-4, 12);
  std::uniform_int_distribution<int32_t> near(-700, 700);
  std::uniform_int_distribution<int32_t> any(INT32_MIN, INT32_MAX);
  for (int round = 0; round < 240; ++round) {
    const int figure = round % 6;
    const Point anchor{near(rng), near(rng)};
    Point target{anchor.x + near(rng), anchor.y + near(rng)};
    if (round % 17 == 0) target = Point{any(rng), any(rng)};
    const SpecPair ab{spec(rng), spec(rng)};
    ASSERT_EQ(Generated(figure, anchor, target, ab), Reference(figure, anchor, target, ab))
        << "figure " << figure << " round " << round;
  }
}

}  // namespace
}  // namespace quillo
