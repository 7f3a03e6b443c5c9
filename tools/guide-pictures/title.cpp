#include "title.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "app/program.h"
#include "platform/screen_platform.h"

namespace quillo {
namespace {

using Path = std::vector<Point>;

Path Arc(Point centre, int32_t rx, int32_t ry, double fromDeg, double toDeg, int steps) {
  Path out;
  for (int i = 0; i <= steps; ++i) {
    const double a = (fromDeg + (toDeg - fromDeg) * i / steps) * std::numbers::pi / 180.0;
    out.push_back(Point{centre.x + static_cast<int32_t>(std::lround(rx * std::cos(a))),
                        centre.y + static_cast<int32_t>(std::lround(ry * std::sin(a)))});
  }
  return out;
}

void Drag(PaintLog& m, const Path& path) {
  Modifiers held;
  held.left = true;
  m.FormMouseDown(MouseButton::kLeft, {}, path.front());
  for (size_t i = 1; i < path.size(); ++i)
    m.FormMouseMove(held, path[i]);
  m.FormMouseUp(MouseButton::kLeft, {}, path.back());
}

// The orbits run past the picture's right side, top and bottom: they fade into the
// black window there rather than end in a hard cut. The word stays clear of the fades.
void FadeEdges(Surface& s) {
  constexpr double kRightFade = 96;
  constexpr double kRowFade = 40;
  for (int32_t y = 0; y < s.Height(); ++y) {
    uint32_t* row = s.Bits() + static_cast<size_t>(y) * s.Width();
    const double rowWeight = std::min({1.0, y / kRowFade, (s.Height() - 1 - y) / kRowFade});
    for (int32_t x = 0; x < s.Width(); ++x) {
      const double weight = rowWeight * std::min(1.0, (s.Width() - 1 - x) / kRightFade);
      if (weight >= 1.0) continue;
      uint32_t faded = 0;
      for (uint32_t shift = 0; shift < 24; shift += 8)
        faded |= static_cast<uint32_t>(((row[x] >> shift) & 255u) * weight) << shift;
      row[x] = (row[x] & 0xFF000000u) | faded;
    }
  }
}

}  // namespace

bool DrawTitle(Surface& out) {
  ScreenPlatform platform({496, 304});
  Program p(platform, "");
  p.StartUpHeadless();
  p.main.HideBottomPanels();
  PaintLog& m = p.main;

  // A ring of orbits behind the word.
  p.toolSelection.SelectTool(dtellipse);
  m.images.canvas.SetPenWidth(1);
  for (int i = 0; i < 2; ++i)
    Drag(m, Arc({248, 152}, 236 - 24 * i, 140 - 16 * i, 0, 360, 24));

  // The word, freehand with a wide pen.
  p.toolSelection.SelectTool(dtfree);
  m.images.canvas.SetPenWidth(20);
  Drag(m, Arc({92, 150}, 44, 56, 0, 360, 40));    // Q
  Drag(m, {{104, 176}, {118, 196}, {140, 220}});  // its tail
  Path u = {{170, 120}, {170, 176}};
  for (const Point& q : Arc({192, 176}, 22, 28, 180, 0, 12))
    u.push_back(q);
  u.push_back({214, 120});
  u.push_back({214, 206});
  Drag(m, u);                                    // u
  Drag(m, {{250, 124}, {250, 206}});             // i
  Drag(m, {{250, 92}, {251, 96}});               // its dot
  Drag(m, {{286, 80}, {286, 206}});              // l
  Drag(m, {{320, 80}, {320, 206}});              // l
  Drag(m, Arc({378, 166}, 34, 40, 0, 360, 32));  // o

  if (!out.CopyFrom(m.images.canvas)) return false;
  FadeEdges(out);
  return true;
}

}  // namespace quillo
