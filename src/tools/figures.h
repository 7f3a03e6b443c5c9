#pragma once

#include <cstdint>
#include <span>

#include "platform/raster/geometry.h"

namespace quillo {

// 32-bit sums and differences that wrap around instead of overflowing, as the pattern
// arithmetic does with points anywhere in the 32-bit range.
constexpr int32_t WrapAdd(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
constexpr int32_t WrapSub(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

// The two frequency multipliers of a pattern figure.
struct SpecPair {
  int32_t a = 0;
  int32_t b = 0;
};

enum class FigureOp : uint8_t {
  kMove,       // the pen moves to p; no colour step
  kShapeMove,  // the pen moves to p with the pen up, then the colour step at colourAt
  kLine,       // a line from the pen position to p, then the colour step at p
  kEllipse,    // the ellipse in the box with corners p and q, then the colour step at colourAt
};

// One drawing step of a pattern figure and the point its colour step looks at.
struct FigureStep {
  FigureOp op = FigureOp::kMove;
  Point p{};
  Point q{};
  Point colourAt{};
  friend constexpr bool operator==(const FigureStep&, const FigureStep&) = default;
};

// Receives the steps of a figure in drawing order.
class FigureSink {
 public:
  virtual void Step(const FigureStep& step) = 0;
  // A run of kLine steps, one to each point in turn, each looking at its own point
  // for its colour step. The traced figures hand their lines over in such runs.
  virtual void Lines(std::span<const Point> points) {
    for (const Point& p : points)
      Step(FigureStep{FigureOp::kLine, p, {}, p});
  }

 protected:
  ~FigureSink() = default;
};

// The parameters of one WAVES figure: the window size, the offsets a and b from the
// target to the field centre, the two wave frequencies, the running phase and the
// last generated point (which the colour step of the first move reuses).
struct WaveParams {
  int32_t width = 0;
  int32_t height = 0;
  int32_t a = 0;
  int32_t b = 0;
  int32_t frequency = 1;
  int32_t frequency2 = 8;
  double phase = 0.0;
  Point generated{};
};

// WAVES: a move to the left edge and 128 lines across the window; returns the phase
// advanced by about 2 pi.
double WavesFigure(const WaveParams& wave, FigureSink& out);

// WEB: 257 points whose frequencies are the distances dx and dy themselves.
void WebFigure(Point anchor, Point target, FigureSink& out);

// ALIENS: a 257-point Lissajous figure of frequencies A and B around the anchor.
void AliensFigure(Point anchor, Point target, SpecPair ab, FigureSink& out);

// CPU: a 3000-point closed curve, a Lissajous term plus an ellipse of the same size.
void CpuFigure(Point anchor, Point target, SpecPair ab, FigureSink& out);

// DO LOOP: 1500 small ellipses strung along the CPU curve, each coloured after it.
void DoLoopFigure(Point anchor, Point target, SpecPair ab, FigureSink& out);

// TWISTER: a 3000-point coil of radius r/4 travelling from the anchor along (dx, dy).
void TwisterFigure(Point anchor, Point target, SpecPair ab, FigureSink& out);

// BIOS: a 480-point ellipse of semi-axes |dx| and |dy| ruffled by a Lissajous term.
void BiosFigure(Point anchor, Point target, SpecPair ab, FigureSink& out);

}  // namespace quillo
