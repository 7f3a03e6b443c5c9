// quillo-strokes OUTPUT.png: one drag of each of the twelve tools, a tile each on a
// black 4 x 3 grid, drawn as the mouse draws them (field colours, the anchor rule, the
// pen width and Wild flag each tool starts with), written as a picture.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <vector>

#include "colour/colour_field.h"
#include "platform/raster/surface.h"
#include "tools/stroke.h"

namespace {

using namespace quillo;

constexpr int32_t kTileW = 300;
constexpr int32_t kTileH = 233;
constexpr int32_t kColumns = 4;
constexpr int32_t kRows = 3;

struct ToolDemo {
  const char* name;
  int32_t penWidth;
  bool wild;
  SpecPair specs;
  // The press point, then the points of the drag, in tile pixels.
  std::vector<Point> drag;
};

// n points from a towards b, bending by bow pixels at the middle.
std::vector<Point> Drag(Point a, Point b, int n, double bow) {
  std::vector<Point> points;
  for (int i = 0; i <= n; ++i) {
    const double s = static_cast<double>(i) / n;
    const double bend = bow * std::sin(s * std::numbers::pi);
    points.push_back({static_cast<int32_t>(std::lround(a.x + (b.x - a.x) * s + bend * 0.3)),
                      static_cast<int32_t>(std::lround(a.y + (b.y - a.y) * s - bend))});
  }
  return points;
}

std::vector<ToolDemo> Demos() {
  return {
      {"FINGERPAINT", 32, false, {}, Drag({40, 180}, {260, 60}, 40, 90)},
      {"RADIAL", 16, false, {}, Drag({150, 116}, {250, 30}, 8, 60)},
      {"RECTANGULAR", 16, false, {}, Drag({150, 116}, {270, 210}, 4, 30)},
      {"ORBIT", 4, false, {}, Drag({150, 116}, {280, 220}, 8, 40)},
      {"SCREEN", 8, false, {}, Drag({150, 116}, {260, 200}, 4, 20)},
      {"WAVES", 2, false, {}, Drag({150, 60}, {190, 170}, 5, 20)},
      {"WEB", 2, false, {}, Drag({150, 116}, {212, 180}, 3, 6)},
      {"ALIENS", 1, true, {3, 2}, Drag({150, 116}, {240, 190}, 3, 20)},
      {"CPU", 1, true, {7, 5}, Drag({150, 116}, {200, 160}, 3, 10)},
      {"DO LOOP", 1, true, {5, 3}, Drag({150, 116}, {215, 166}, 2, 10)},
      {"TWISTER", 1, true, {9, 7}, Drag({40, 40}, {95, 75}, 3, 8)},
      {"BIOS", 1, false, {7, 5}, Drag({150, 116}, {185, 140}, 4, 8)},
  };
}

// One press, moves and release of tool on a fresh tile.
void DrawTile(Surface& tile, uint8_t tool, const ToolDemo& demo) {
  ToolState tools;
  tools.tool = tool;
  tools.wild = demo.wild;
  tools.specA = demo.specs.a;
  tools.specB = demo.specs.b;
  ColourField field;
  field.SetEditorSize(kTileW, kTileH);
  tile.SetPenWidth(demo.penWidth);
  const Point start = demo.drag.front();
  StrokeContext ctx{tile, tools, field, start, kTileW, kTileH};
  tile.MoveTo(start);
  for (size_t i = 1; i < demo.drag.size(); ++i) {
    const Point current = demo.drag[i];
    const Point mirror{2 * start.x - current.x, 2 * start.y - current.y};
    tile.SetBrushStyle(BrushStyle::kClear);
    tile.SetPenColor(field.FieldColorAt(current.x, current.y));
    DrawToolStroke(ctx, GrowsFromPressPoint(tool) ? start : mirror, current, PenMode::kCopy);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: quillo-strokes OUTPUT.png\n");
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);

  Surface canvas;
  if (!canvas.Resize(kTileW * kColumns, kTileH * kRows)) return 1;
  const std::vector<ToolDemo> demos = Demos();
  for (int i = 0; i < kToolCount; ++i) {
    Surface tile;
    if (!tile.Resize(kTileW, kTileH)) return 1;
    DrawTile(tile, static_cast<uint8_t>(i), demos[i]);
    const int32_t left = (i % kColumns) * kTileW;
    const int32_t top = (i / kColumns) * kTileH;
    canvas.CopyRect({left, top, left + kTileW, top + kTileH}, tile, tile.Bounds(), kSrcCopy);
  }

  QImage image(reinterpret_cast<uchar*>(canvas.Bits()), canvas.Width(), canvas.Height(),
               canvas.Stride(), QImage::Format_RGB32);
  QPainter painter(&image);
  painter.setPen(QColor(200, 200, 200));
  for (int i = 0; i < kToolCount; ++i) {
    const int left = (i % kColumns) * kTileW;
    const int top = (i / kColumns) * kTileH;
    painter.drawRect(left, top, kTileW - 1, kTileH - 1);
    painter.drawText(left + 8, top + kTileH - 8, QString::number(i) + " " + demos[i].name);
  }
  painter.end();
  if (!image.save(QString::fromLocal8Bit(argv[1]))) {
    std::fprintf(stderr, "quillo-strokes: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
