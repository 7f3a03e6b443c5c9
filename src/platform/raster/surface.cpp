#include "platform/raster/surface.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/raster/blit.h"
#include "platform/raster/line.h"
#include "platform/raster/shape.h"
#include "platform/raster/span_writer.h"

namespace quillo {

namespace {

constexpr uint32_t kBlackPixel = 0xFF000000u;

raster::PixelGrid GridOf(int32_t w, int32_t h, uint32_t* bits) {
  return raster::PixelGrid{bits, w, h};
}

// The pixels of w x h, or null when they cannot be had.
std::unique_ptr<uint32_t[]> Allocate(int32_t w, int32_t h) {
  try {
    return std::make_unique_for_overwrite<uint32_t[]>(static_cast<size_t>(w) * h);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

// The union of two rectangles already clipped and normalised, as the primitives
// return them; inline since it runs after every line.
Rect Merge(const Rect& a, const Rect& b) {
  if (b.left >= b.right) return a;
  if (a.left >= a.right) return b;
  return Rect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
              std::max(a.bottom, b.bottom)};
}

}  // namespace

bool Surface::Resize(int32_t w, int32_t h) {
  if (w < 0 || h < 0 || w > kMaxSide || h > kMaxSide || int64_t{w} * h > kMaxPixels) return false;
  std::unique_ptr<uint32_t[]> pixels = Allocate(w, h);
  if (!pixels) return false;
  std::fill_n(pixels.get(), static_cast<size_t>(w) * h, kBlackPixel);
  pixels_ = std::move(pixels);
  width_ = w;
  height_ = h;
  dirty_ = Bounds();
  return true;
}

bool Surface::CopyFrom(const Surface& other) {
  if (&other == this) return true;
  std::unique_ptr<uint32_t[]> pixels = Allocate(other.width_, other.height_);
  if (!pixels) return false;
  if (other.pixels_) {
    std::memcpy(pixels.get(), other.pixels_.get(),
                sizeof(uint32_t) * static_cast<size_t>(other.width_) * other.height_);
  }
  pixels_ = std::move(pixels);
  width_ = other.width_;
  height_ = other.height_;
  pen_color_ = other.pen_color_;
  pen_width_ = other.pen_width_;
  pen_mode_ = other.pen_mode_;
  brush_color_ = other.brush_color_;
  brush_style_ = other.brush_style_;
  copy_mode_ = other.copy_mode_;
  pen_pos_ = other.pen_pos_;
  // Every pixel may differ from what a window showed before.
  dirty_ = Bounds();
  return true;
}

void Surface::LineTo(Point p) {
  const Point from = pen_pos_;
  pen_pos_ = p;
  const raster::PixelGrid grid = GridOf(width_, height_, pixels_.get());
  const uint32_t pen = ToPixel(pen_color_);
  if (pen_width_ <= 1) {
    dirty_ = Merge(dirty_, raster::DrawThinLine(grid, from, p, pen_mode_, pen));
  } else {
    dirty_ = Merge(dirty_, raster::DrawWideLine(grid, from, p, pen_width_, pen_mode_, pen));
  }
}

void Surface::Rectangle(const Rect& r) {
  RoundRect(r, 0, 0);
}

void Surface::Ellipse(const Rect& r) {
  const Rect box = Normalized(r);
  const raster::ShapeStyle style{pen_mode_, pen_width_, ToPixel(pen_color_), ToPixel(brush_color_),
                                 brush_style_ != BrushStyle::kClear};
  dirty_ = Merge(dirty_, raster::DrawRoundShape(GridOf(width_, height_, pixels_.get()), box,
                                                box.Width(), box.Height(), style));
}

void Surface::RoundRect(const Rect& r, int32_t cornerW, int32_t cornerH) {
  const int64_t w = cornerW < 0 ? -int64_t{cornerW} : cornerW;
  const int64_t h = cornerH < 0 ? -int64_t{cornerH} : cornerH;
  const raster::ShapeStyle style{pen_mode_, pen_width_, ToPixel(pen_color_), ToPixel(brush_color_),
                                 brush_style_ != BrushStyle::kClear};
  dirty_ = Merge(dirty_, raster::DrawRoundShape(GridOf(width_, height_, pixels_.get()),
                                                Normalized(r), w, h, style));
}

void Surface::FillRect(const Rect& r, Color c) {
  const Rect area = Intersect(Bounds(), Normalized(r));
  if (area.Empty()) return;
  const uint32_t px = ToPixel(c);
  for (int32_t y = area.top; y < area.bottom; ++y) {
    uint32_t* row = pixels_.get() + int64_t{y} * width_;
    std::fill(row + area.left, row + area.right, px);
  }
  MarkDirty(area);
}

Color Surface::Pixel(Point p) const {
  if (p.x < 0 || p.y < 0 || p.x >= width_ || p.y >= height_) return kInvalidColor;
  return FromPixel(pixels_[int64_t{p.y} * width_ + p.x]);
}

void Surface::SetPixel(Point p, Color c) {
  if (p.x < 0 || p.y < 0 || p.x >= width_ || p.y >= height_) return;
  pixels_[int64_t{p.y} * width_ + p.x] = ToPixel(c);
  MarkDirty(Rect{p.x, p.y, p.x + 1, p.y + 1});
}

void Surface::CopyRect(const Rect& dstRect, const Surface& src, const Rect& srcRect, RasterOp op) {
  // The source grid is only read; the cast lets it share the destination's type.
  const raster::PixelGrid from =
      GridOf(src.width_, src.height_, const_cast<uint32_t*>(src.pixels_.get()));
  dirty_ = Merge(dirty_, raster::CopyPixels(GridOf(width_, height_, pixels_.get()), dstRect, from,
                                            srcRect, op.Table(), ToPixel(brush_color_)));
}

Rect Surface::TakeDirty() {
  const Rect r = dirty_;
  dirty_ = Rect{};
  return r;
}

void Surface::MarkDirty(const Rect& r) {
  dirty_ = Union(dirty_, Intersect(Bounds(), Normalized(r)));
}

}  // namespace quillo
