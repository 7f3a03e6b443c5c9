#include "platform/raster/surface.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

#include "platform/raster/blit.h"
#include "platform/raster/figure_pass.h"
#include "platform/raster/large_pages.h"
#include "platform/raster/shape.h"
#include "platform/raster/span_writer.h"

namespace quillo {

namespace {

constexpr uint32_t kBlackPixel = 0xFF000000u;

raster::PixelGrid GridOf(int32_t w, int32_t h, uint32_t* bits) {
  return raster::PixelGrid{bits, w, h};
}

// Large buffers start on a 2 MiB boundary: where the system backs such memory with
// large pages on request, a full-screen surface then needs a handful of address
// translations instead of thousands, which strokes scattered over many rows feel most.
constexpr size_t kLargePage = size_t{2} << 20;

// The union of two rectangles already clipped and normalised, as the primitives
// return them.
Rect Merge(const Rect& a, const Rect& b) {
  if (b.left >= b.right) return a;
  if (a.left >= a.right) return b;
  return Rect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
              std::max(a.bottom, b.bottom)};
}

}  // namespace

void Surface::FreePixels::operator()(uint32_t* p) const {
  std::free(p);
}

// The pixels of w x h, or null when they cannot be had.
Surface::PixelBuffer Surface::AllocatePixels(int32_t w, int32_t h) {
  const size_t bytes = sizeof(uint32_t) * std::max<size_t>(static_cast<size_t>(w) * h, 1);
  if (bytes < kLargePage) return PixelBuffer(static_cast<uint32_t*>(std::malloc(bytes)));
  const size_t rounded = (bytes + kLargePage - 1) / kLargePage * kLargePage;
  void* p = std::aligned_alloc(kLargePage, rounded);
  if (p != nullptr) raster::AdviseLargePages(p, rounded);
  return PixelBuffer(static_cast<uint32_t*>(p));
}

bool Surface::Resize(int32_t w, int32_t h) {
  if (w < 0 || h < 0 || w > kMaxSide || h > kMaxSide || int64_t{w} * h > kMaxPixels) return false;
  PixelBuffer pixels = AllocatePixels(w, h);
  if (!pixels) return false;
  std::fill_n(pixels.get(), static_cast<size_t>(w) * h, kBlackPixel);
  pixels_ = std::move(pixels);
  width_ = w;
  height_ = h;
  dirty_ = PixelBounds();
  open_end_ = false;
  return true;
}

void Surface::SetTransform(const SurfaceTransform& t) {
  transform_ = t;
  transformed_ = true;
}

Point Surface::ToPixels(Point p) const {
  if (!transformed_) return p;
  return Point{Nearest(transform_.offset.x + p.x * transform_.scale),
               Nearest(transform_.offset.y + p.y * transform_.scale)};
}

Rect Surface::ToPixels(const Rect& r) const {
  const Point a = ToPixels(Point{r.left, r.top});
  const Point b = ToPixels(Point{r.right, r.bottom});
  return Rect{a.x, a.y, b.x, b.y};
}

int32_t Surface::PixelWidthOf(int32_t units) const {
  return std::max(1, Nearest(units * transform_.scale));
}

template <class F>
void Surface::InPixels(int32_t pixelWidth, F&& draw) {
  const int32_t width = pen_width_;
  const Point pos = pen_pos_;
  const Rect before = dirty_;
  pen_width_ = pixelWidth;
  transformed_ = false;
  dirty_ = Rect{};
  draw();
  const Rect changed = Merge(dirty_, OpenEndPixel());
  dirty_ = Merge(before, dirty_);
  transformed_ = true;
  pen_width_ = width;
  pen_pos_ = pos;
  KeepOutsideBlack(changed);
}

void Surface::KeepOutsideBlack(const Rect& changed) {
  const Rect inside = Intersect(PixelBounds(), Normalized(ToPixels(Bounds())));
  const Rect c = Intersect(PixelBounds(), changed);
  if (c.Empty() || Intersect(c, inside) == c) return;
  const Rect bars[] = {{c.left, c.top, c.right, inside.top},
                       {c.left, inside.bottom, c.right, c.bottom},
                       {c.left, inside.top, inside.left, inside.bottom},
                       {inside.right, inside.top, c.right, inside.bottom}};
  for (const Rect& bar : bars) {
    const Rect area = Intersect(c, Normalized(bar));
    if (area.Empty() || bar.left >= bar.right || bar.top >= bar.bottom) continue;
    for (int32_t y = area.top; y < area.bottom; ++y) {
      uint32_t* row = pixels_.get() + int64_t{y} * width_;
      std::fill(row + area.left, row + area.right, kBlackPixel);
    }
  }
}

template <class F>
bool Surface::InUnits(F&& draw) {
  const int32_t w = transform_.width;
  const int32_t h = transform_.height;
  if (unitWidth_ != w || unitHeight_ != h) {
    unit_.reset();
    unitWidth_ = unitHeight_ = 0;
    if (w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide || int64_t{w} * h > kMaxPixels)
      return false;
    unit_ = AllocatePixels(w, h);
    if (!unit_) return false;
    std::fill_n(unit_.get(), static_cast<size_t>(w) * h, 0u);
    unitWidth_ = w;
    unitHeight_ = h;
  }
  CloseOpenEnd();
  const Rect before = dirty_;
  const PenMode mode = pen_mode_;
  const auto swapGrids = [this] {
    std::swap(pixels_, unit_);
    std::swap(width_, unitWidth_);
    std::swap(height_, unitHeight_);
  };
  swapGrids();
  transformed_ = false;
  pen_mode_ = PenMode::kCopy;
  dirty_ = Rect{};
  draw();
  const Rect touched = Intersect(PixelBounds(), Merge(dirty_, OpenEndPixel()));
  open_end_ = false;
  swapGrids();
  transformed_ = true;
  pen_mode_ = mode;
  dirty_ = before;
  if (touched.Empty()) return true;
  // Unit x covers the pixels [ToPixels(x), ToPixels(x + 1)), clipped to the surface.
  const auto columnAt = [&](int32_t x) { return std::clamp(ToPixels(Point{x, 0}).x, 0, width_); };
  const auto rowAt = [&](int32_t y) { return std::clamp(ToPixels(Point{0, y}).y, 0, height_); };
  raster::WithPenMode(mode, [&](auto m) {
    for (int32_t uy = touched.top; uy < touched.bottom; ++uy) {
      uint32_t* units = unit_.get() + int64_t{uy} * unitWidth_;
      const int32_t top = rowAt(uy);
      const int32_t bottom = rowAt(uy + 1);
      for (int32_t ux = touched.left; ux < touched.right; ++ux) {
        const uint32_t pen = units[ux];
        if (pen == 0) continue;
        units[ux] = 0;
        const int32_t left = columnAt(ux);
        const int32_t right = columnAt(ux + 1);
        for (int32_t y = top; y < bottom; ++y) {
          uint32_t* row = pixels_.get() + int64_t{y} * width_;
          for (int32_t x = left; x < right; ++x)
            row[x] = raster::PenPixel<m()>(pen, row[x]);
        }
      }
    }
  });
  const Rect changed{columnAt(touched.left), rowAt(touched.top), columnAt(touched.right),
                     rowAt(touched.bottom)};
  if (!changed.Empty()) GrowDirty(changed);
  return true;
}

void Surface::TransformedLineTo(Point p) {
  if (DrawsUnits() && InUnits([&] { LineTo(p); })) return;
  const Point from = ToPixels(pen_pos_);
  const Point to = ToPixels(p);
  InPixels(PixelWidthOf(pen_width_), [&] {
    pen_pos_ = from;
    LineTo(to);
  });
  pen_pos_ = p;
}

bool Surface::CopyFrom(const Surface& other) {
  if (&other == this) return true;
  PixelBuffer pixels = AllocatePixels(other.width_, other.height_);
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
  dirty_ = PixelBounds();
  open_end_ = false;
  return true;
}

void Surface::DrawLine(Point from, Point to) {
  CloseOpenEnd();
  const raster::PixelGrid grid = GridOf(width_, height_, pixels_.get());
  const uint32_t pen = ToPixel(pen_color_);
  if (pen_width_ <= 1) {
    dirty_ = Merge(dirty_, raster::DrawThinLine(grid, from, to, pen_mode_, pen));
  } else {
    dirty_ = Merge(dirty_, raster::DrawWideLine(grid, from, to, pen_width_, pen_mode_, pen));
  }
}

void Surface::Polyline(std::span<const Point> points, const Color* colours) {
  if (points.empty()) return;
  // In copy mode a later line simply covers an earlier one, so units take them all
  // at once.
  if (DrawsUnits() && pen_mode_ == PenMode::kCopy && InUnits([&] { Polyline(points, colours); }))
    return;
  if (pen_width_ != 1 || pen_mode_ != PenMode::kCopy || transformed_) {
    for (size_t i = 0; i < points.size(); ++i) {
      LineTo(points[i]);
      if (colours != nullptr) pen_color_ = colours[i];
    }
    return;
  }
  // The box of what the lines change, in registers; empty while left > right.
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
  int32_t left = kMax, top = kMax, right = kMin, bottom = kMin;
  const auto grow = [&](const Rect& r) {
    left = std::min(left, r.left);
    top = std::min(top, r.top);
    right = std::max(right, r.right);
    bottom = std::max(bottom, r.bottom);
  };
  const auto growPixel = [&](Point p) { grow(Rect{p.x, p.y, p.x + 1, p.y + 1}); };
  const raster::PixelGrid grid = GridOf(width_, height_, pixels_.get());
  // A line drawn directly lies in the box of its ends and starts with its start pixel.
  // So the starts make up the box, but for the last pixel of a direct line whose end
  // starts no direct line: that one is added when the next line turns out otherwise.
  if (pen_pos_ != open_to_) CloseOpenEnd();
  bool openEnd = open_end_;
  Point openFrom = open_from_;
  Point openTo = open_to_;
  Point from = pen_pos_;
  uint32_t pen = ToPixel(pen_color_);
  for (size_t i = 0; i < points.size(); ++i) {
    const Point to = points[i];
    if (from != to && raster::OnGrid(grid, from) && raster::OnGrid(grid, to)) {
      raster::WalkInsideThinLine<PenMode::kCopy>(grid, from, to, pen);
      growPixel(from);
      openEnd = true;
      openFrom = from;
      openTo = to;
    } else {
      if (openEnd) growPixel(raster::LastPixelOf(openFrom, openTo));
      openEnd = false;
      const Rect r = raster::DrawThinLine(grid, from, to, PenMode::kCopy, pen);
      if (r.left < r.right) grow(r);
    }
    from = to;
    if (colours != nullptr) pen = ToPixel(colours[i]);
  }
  pen_pos_ = from;
  if (colours != nullptr) pen_color_ = colours[points.size() - 1];
  if (left <= right) dirty_ = Merge(dirty_, Rect{left, top, right, bottom});
  open_end_ = openEnd;
  open_from_ = openFrom;
  open_to_ = openTo;
}

bool Surface::DrawsFiguresInOnePass() const {
  return pen_width_ >= raster::OnePassPenWidth(pen_mode_);
}

void Surface::DrawFigure(std::span<const FigurePart> parts) {
  if (parts.empty()) return;
  if (transformed_ && DrawsFiguresInOnePass()) {
    std::vector<FigurePart> inPixels(parts.begin(), parts.end());
    std::optional<Point> lastEnd;
    for (FigurePart& part : inPixels) {
      if (!part.ellipse) lastEnd = part.q;
      part.p = ToPixels(part.p);
      part.q = ToPixels(part.q);
    }
    InPixels(PixelWidthOf(pen_width_), [&] { DrawFigure(inPixels); });
    if (lastEnd) pen_pos_ = *lastEnd;
    return;
  }
  const Color pen = pen_color_;
  if (!DrawsFiguresInOnePass()) {
    for (const FigurePart& part : parts) {
      pen_color_ = part.pen;
      if (part.ellipse) {
        Ellipse(MakeRect(part.p, part.q));
      } else {
        MoveTo(part.p);
        LineTo(part.q);
      }
    }
    pen_color_ = pen;
    return;
  }
  std::vector<raster::FigurePrimitive> prims;
  prims.reserve(parts.size());
  bool lines = false;
  for (const FigurePart& part : parts) {
    prims.push_back(raster::FigurePrimitive{part.ellipse, part.p, part.q, ToPixel(part.pen)});
    if (!part.ellipse) {
      pen_pos_ = part.q;
      lines = true;
    }
  }
  // As each wide line does, a line closes the thin lines' open end (the dirty area is a
  // union, so it does not matter when).
  if (lines) CloseOpenEnd();
  const raster::FigureStyle style{pen_mode_, pen_width_, ToPixel(brush_color_),
                                  brush_style_ != BrushStyle::kClear};
  dirty_ =
      Merge(dirty_, raster::DrawFigurePass(GridOf(width_, height_, pixels_.get()), prims, style));
}

void Surface::Rectangle(const Rect& r) {
  RoundRect(r, 0, 0);
}

void Surface::Ellipse(const Rect& r) {
  if (DrawsUnits() && InUnits([&] { Ellipse(r); })) return;
  if (transformed_) {
    const Rect inPixels = ToPixels(r);
    InPixels(PixelWidthOf(pen_width_), [&] { Ellipse(inPixels); });
    return;
  }
  const Rect box = Normalized(r);
  const raster::ShapeStyle style{pen_mode_, pen_width_, ToPixel(pen_color_), ToPixel(brush_color_),
                                 brush_style_ != BrushStyle::kClear};
  dirty_ = Merge(dirty_, raster::DrawRoundShape(GridOf(width_, height_, pixels_.get()), box,
                                                box.Width(), box.Height(), style));
}

void Surface::RoundRect(const Rect& r, int32_t cornerW, int32_t cornerH) {
  if (DrawsUnits() && InUnits([&] { RoundRect(r, cornerW, cornerH); })) return;
  if (transformed_) {
    const Rect inPixels = ToPixels(r);
    const int32_t w = Nearest(cornerW * transform_.scale);
    const int32_t h = Nearest(cornerH * transform_.scale);
    InPixels(PixelWidthOf(pen_width_), [&] { RoundRect(inPixels, w, h); });
    return;
  }
  const int64_t w = cornerW < 0 ? -int64_t{cornerW} : cornerW;
  const int64_t h = cornerH < 0 ? -int64_t{cornerH} : cornerH;
  const raster::ShapeStyle style{pen_mode_, pen_width_, ToPixel(pen_color_), ToPixel(brush_color_),
                                 brush_style_ != BrushStyle::kClear};
  dirty_ = Merge(dirty_, raster::DrawRoundShape(GridOf(width_, height_, pixels_.get()),
                                                Normalized(r), w, h, style));
}

void Surface::FillRect(const Rect& r, Color c) {
  Rect area = Intersect(PixelBounds(), Normalized(ToPixels(r)));
  if (transformed_) area = Intersect(area, Normalized(ToPixels(Bounds())));
  if (area.Empty()) return;
  const uint32_t px = ToPixel(c);
  for (int32_t y = area.top; y < area.bottom; ++y) {
    uint32_t* row = pixels_.get() + int64_t{y} * width_;
    std::fill(row + area.left, row + area.right, px);
  }
  MarkDirty(area);
}

Color Surface::Pixel(Point at) const {
  const Point p = ToPixels(at);
  if (p.x < 0 || p.y < 0 || p.x >= width_ || p.y >= height_) return kInvalidColor;
  return FromPixel(pixels_[int64_t{p.y} * width_ + p.x]);
}

void Surface::SetPixel(Point p, Color c) {
  if (transformed_) {
    FillRect(Rect{p.x, p.y, p.x + 1, p.y + 1}, c);
    return;
  }
  if (p.x < 0 || p.y < 0 || p.x >= width_ || p.y >= height_) return;
  pixels_[int64_t{p.y} * width_ + p.x] = ToPixel(c);
  MarkDirty(Rect{p.x, p.y, p.x + 1, p.y + 1});
}

void Surface::CopyRect(const Rect& dstRect, const Surface& src, const Rect& srcRect, RasterOp op) {
  // The source grid is only read; the cast lets it share the destination's type.
  const raster::PixelGrid from =
      GridOf(src.width_, src.height_, const_cast<uint32_t*>(src.pixels_.get()));
  const Rect changed =
      raster::CopyPixels(GridOf(width_, height_, pixels_.get()), ToPixels(dstRect), from,
                         src.ToPixels(srcRect), op.Table(), ToPixel(brush_color_));
  dirty_ = Merge(dirty_, changed);
  if (transformed_) KeepOutsideBlack(changed);
}

void Surface::CopyRectTwice(const Rect& r, const Surface& src, Surface& also, bool invert) {
  if (&also == this || &also == &src) return;
  const raster::PixelGrid from =
      GridOf(src.width_, src.height_, const_cast<uint32_t*>(src.pixels_.get()));
  const Rect written = raster::CopyPixelsTwice(
      GridOf(width_, height_, pixels_.get()), GridOf(also.width_, also.height_, also.pixels_.get()),
      from, ToPixels(r), invert);
  dirty_ = Merge(dirty_, written);
  also.dirty_ = Merge(also.dirty_, written);
  if (transformed_) KeepOutsideBlack(written);
  if (also.transformed_) also.KeepOutsideBlack(written);
}

Rect Surface::OpenEndPixel() const {
  if (!open_end_) return Rect{};
  const Point last = raster::LastPixelOf(open_from_, open_to_);
  return Rect{last.x, last.y, last.x + 1, last.y + 1};
}

void Surface::CloseOpenEnd() {
  dirty_ = Merge(dirty_, OpenEndPixel());
  open_end_ = false;
}

Rect Surface::Dirty() const {
  return Merge(shown_, Merge(dirty_, OpenEndPixel()));
}

void Surface::HandOutDirty() {
  CloseOpenEnd();
  const Rect area = Intersect(dirty_, PixelBounds());
  if (!area.Empty()) {
    const int32_t columns = (width_ + kChangeTile - 1) / kChangeTile;
    changedTiles_.resize(static_cast<size_t>(columns) *
                         ((height_ + kChangeTile - 1) / kChangeTile));
    for (int32_t row = area.top / kChangeTile; row <= (area.bottom - 1) / kChangeTile; ++row) {
      std::fill(changedTiles_.begin() + row * columns + area.left / kChangeTile,
                changedTiles_.begin() + row * columns + (area.right - 1) / kChangeTile + 1,
                uint8_t{1});
    }
  }
  shown_ = Merge(shown_, dirty_);
  changed_ = Merge(changed_, dirty_);
  dirty_ = Rect{};
}

Rect Surface::TakeDirty() {
  HandOutDirty();
  const Rect r = shown_;
  shown_ = Rect{};
  return r;
}

Rect Surface::TakeChanged() {
  return TakeChanged(std::span<uint8_t>{});
}

Rect Surface::TakeChanged(std::span<uint8_t> tiles) {
  HandOutDirty();
  for (size_t i = 0; i < std::min(tiles.size(), changedTiles_.size()); ++i)
    tiles[i] |= changedTiles_[i];
  changedTiles_.clear();
  const Rect r = changed_;
  changed_ = Rect{};
  return r;
}

bool Surface::SwapPixels(Surface& other) {
  if (other.width_ != width_ || other.height_ != height_) return false;
  std::swap(pixels_, other.pixels_);
  for (Surface* s : {this, &other}) {
    s->open_end_ = false;
    s->dirty_ = s->PixelBounds();
  }
  return true;
}

void Surface::MarkDirty(const Rect& r) {
  dirty_ = Union(dirty_, Intersect(PixelBounds(), Normalized(r)));
}

}  // namespace quillo
