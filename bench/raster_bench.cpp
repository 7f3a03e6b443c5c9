// The raster surface against its peers at 1920 x 1080: memcpy for copies, QPainter on
// a QImage (RGB32, no antialiasing) for drawing.

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

#include "platform/raster/surface.h"
#include "run_pair.h"

namespace {

using namespace quillo;

constexpr int32_t kW = 1920;
constexpr int32_t kH = 1080;

Surface Pattern(int32_t w, int32_t h) {
  Surface s;
  s.Resize(w, h);
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x)
      s.SetPixel({x, y}, Rgb(x * 3, y * 5, (x ^ y) & 255));
  }
  return s;
}

QImage Image() {
  QImage image(kW, kH, QImage::Format_RGB32);
  image.fill(Qt::black);
  return image;
}

// The CPU figure: X = x1 + nearest(dx sin(A t) + dx sin t), Y likewise with cos and B.
std::vector<Point> CpuFigure() {
  std::vector<Point> points;
  for (int i = 0; i < 3000; ++i) {
    const double t = i * std::numbers::pi / 1500;
    points.push_back({960 + Nearest(300 * std::sin(7 * t) + 300 * std::sin(t)),
                      540 + Nearest(200 * std::cos(5 * t) + 200 * std::cos(t))});
  }
  return points;
}

Color SegmentColor(int i) {
  return Rgb(i * 7, i * 13, 255 - i * 3);
}

QColor QtColor(Color c) {
  return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

// 101 points 10 pixels apart on a winding path.
std::vector<Point> WidePath() {
  std::vector<Point> points;
  for (int i = 0; i <= 100; ++i) {
    const double a = i * 0.35;
    points.push_back({700 + Nearest(i * 5 + 60 * std::cos(a)), 500 + Nearest(60 * std::sin(a))});
  }
  return points;
}

// Source copy of a whole surface, against memcpy of the same bytes.
void FullCopy(benchmark::State& state) {
  const Surface src = Pattern(kW, kH);
  Surface peerDst, dst;
  peerDst.Resize(kW, kH);
  dst.Resize(kW, kH);
  RunPair(
      state,
      [&] {
        std::memcpy(peerDst.Bits(), src.Bits(), sizeof(uint32_t) * kW * kH);
        benchmark::ClobberMemory();
      },
      [&] {
        dst.CopyRect(dst.Bounds(), src, src.Bounds(), kSrcCopy);
        benchmark::ClobberMemory();
      });
}

// 3000 connected one-pixel segments of the CPU figure, a new colour for each: drawn
// by the surface line by line, or handed to it as one polyline with its colours, the
// way the pattern figures draw them.
void CpuFigureSegments(benchmark::State& state, bool polyline) {
  const std::vector<Point> p = CpuFigure();
  std::vector<Point> ends;
  std::vector<Color> colours;
  for (size_t i = 0; i < p.size(); ++i) {
    ends.push_back(p[(i + 1) % p.size()]);
    colours.push_back(SegmentColor(static_cast<int>(i + 1)));
  }
  QImage image = Image();
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, false);
  Surface s;
  s.Resize(kW, kH);
  RunPair(
      state,
      [&] {
        for (size_t i = 0; i < p.size(); ++i) {
          painter.setPen(QtColor(SegmentColor(static_cast<int>(i))));
          painter.drawLine(p[i].x, p[i].y, ends[i].x, ends[i].y);
        }
      },
      [&] {
        s.MoveTo(p[0]);
        if (polyline) {
          s.SetPenColor(SegmentColor(0));
          s.Polyline(ends, colours.data());
        } else {
          for (size_t i = 0; i < p.size(); ++i) {
            s.SetPenColor(SegmentColor(static_cast<int>(i)));
            s.LineTo(ends[i]);
          }
        }
        benchmark::DoNotOptimize(s.TakeDirty());
      });
}

// 1500 one-pixel ellipse outlines, ellipse k boxed by points 2k and 2k + 1.
void CpuFigureEllipses(benchmark::State& state) {
  const std::vector<Point> p = CpuFigure();
  QImage image = Image();
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(Qt::white);
  painter.setBrush(Qt::NoBrush);
  Surface s;
  s.Resize(kW, kH);
  s.SetPenColor(0xFFFFFF);
  s.SetBrushStyle(BrushStyle::kClear);
  RunPair(
      state,
      [&] {
        for (size_t k = 0; k + 1 < p.size(); k += 2) {
          painter.drawEllipse(QRect(QPoint(p[k].x, p[k].y), QPoint(p[k + 1].x, p[k + 1].y)));
        }
      },
      [&] {
        for (size_t k = 0; k + 1 < p.size(); k += 2)
          s.Ellipse(MakeRect(p[k], p[k + 1]));
        benchmark::DoNotOptimize(s.TakeDirty());
      });
}

// 100 connected segments of about 10 pixels in a 32-pixel round-ended pen.
void WidePenLines(benchmark::State& state) {
  const std::vector<Point> p = WidePath();
  QImage image = Image();
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(QPen(Qt::yellow, 32, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  Surface s;
  s.Resize(kW, kH);
  s.SetPenColor(0x00FFFF);
  s.SetPenWidth(32);
  RunPair(
      state,
      [&] {
        for (size_t i = 0; i + 1 < p.size(); ++i) {
          painter.drawLine(p[i].x, p[i].y, p[i + 1].x, p[i + 1].y);
        }
      },
      [&] {
        s.MoveTo(p[0]);
        for (size_t i = 1; i < p.size(); ++i)
          s.LineTo(p[i]);
        benchmark::DoNotOptimize(s.TakeDirty());
      });
}

// A 960 x 540 rectangle stretched over the whole surface.
void StretchToFull(benchmark::State& state) {
  const Surface src = Pattern(kW, kH);
  const QImage source(reinterpret_cast<const uchar*>(src.Bits()), kW, kH, src.Stride(),
                      QImage::Format_RGB32);
  QImage image = Image();
  QPainter painter(&image);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  Surface dst;
  dst.Resize(kW, kH);
  RunPair(
      state, [&] { painter.drawImage(QRect(0, 0, kW, kH), source, QRect(0, 0, kW / 2, kH / 2)); },
      [&] {
        dst.CopyRect(dst.Bounds(), src, Rect{0, 0, kW / 2, kH / 2}, kSrcCopy);
        benchmark::ClobberMemory();
      });
}

BENCHMARK(FullCopy)->Name("RasterFullCopy/vs_memcpy");
BENCHMARK_CAPTURE(CpuFigureSegments, Lines, false)->Name("RasterCpuFigure3000Lines/vs_qpainter");
BENCHMARK_CAPTURE(CpuFigureSegments, Polyline, true)
    ->Name("RasterCpuFigure3000Polyline/vs_qpainter");
BENCHMARK(CpuFigureEllipses)->Name("RasterCpuFigure1500Ellipses/vs_qpainter");
BENCHMARK(WidePenLines)->Name("RasterWide32Pen100Lines/vs_qpainter");
BENCHMARK(StretchToFull)->Name("RasterStretch960x540ToFull/vs_qpainter");

}  // namespace
