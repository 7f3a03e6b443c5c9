#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/raster/geometry.h"
#include "platform/raster/line.h"
#include "platform/raster/pixel_ops.h"

namespace quillo {

enum class BrushStyle : uint8_t { kSolid, kClear };

// How the units a caller draws in land on a surface's pixels: the point p on the pixel
// offset + p x scale, rounded to the nearest, pen widths and corner sizes scaled
// alike (never below 1), and the caller's whole area width x height of its units.
struct SurfaceTransform {
  double scale = 1.0;
  Point offset{};
  int32_t width = 0;
  int32_t height = 0;
};

// A raster drawing surface: a W x H buffer of 32-bit pixels with a pen, a brush and
// a copy mode, as the canvas and its off-screen images use them.
//
// Pixels are stored as 0xFFRRGGBB words (the layout of QImage::Format_RGB32), so a
// window can show them without conversion; colours cross this interface as
// 0x00BBGGRR. Every call is safe for any 32-bit input: it clips before it loops,
// never writes outside the buffer, and its cost is bounded by the pixels it can
// touch on the surface.
class Surface {
 public:
  // The widest pen that draws whole units under a transform.
  static constexpr int32_t kUnitPen = 2;
  // Largest side and area accepted by Resize.
  static constexpr int32_t kMaxSide = 32768;
  static constexpr int64_t kMaxPixels = int64_t{1} << 28;

  Surface() = default;
  Surface(Surface&&) noexcept = default;
  Surface& operator=(Surface&&) noexcept = default;
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  // Gives the surface the size w x h, every pixel black. Returns false, leaving the
  // surface as it was, when the size is negative, too large or cannot be allocated.
  bool Resize(int32_t w, int32_t h);
  // A copy of this surface's pixels and state; false when it cannot be allocated.
  bool CopyFrom(const Surface& other);
  // Exchanges the pixels, and nothing else, with a surface of the same size; both
  // count as changed all over. False, changing nothing, when the sizes differ.
  bool SwapPixels(Surface& other);

  // Draws in other units through t until ClearTransform: every call below that takes
  // points, rectangles or widths takes them in those units (the pen position and
  // width are kept in them too), Bounds() is the caller's whole area, and pixels
  // outside that area stay black. Width(), Height(), Bits() and the changed area stay
  // in pixels. Where a unit is a pixel or more, a pen of kUnitPen units or less draws
  // the units it covers on a grid of the caller's size, each as the block of pixels the
  // unit covers here.
  void SetTransform(const SurfaceTransform& t);
  void ClearTransform() { transformed_ = false; }
  bool Transformed() const { return transformed_; }
  // The transform in force, if any.
  const SurfaceTransform* CurrentTransform() const { return transformed_ ? &transform_ : nullptr; }
  // The rectangle r of the caller's units in pixels (r itself without a transform).
  Rect ToPixels(const Rect& r) const;

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  // The whole surface in the units the caller draws in.
  Rect Bounds() const {
    return transformed_ ? Rect{0, 0, transform_.width, transform_.height} : PixelBounds();
  }
  Rect PixelBounds() const { return Rect{0, 0, width_, height_}; }
  // Row-major pixels, Width() words a row, 0xFFRRGGBB each.
  const uint32_t* Bits() const { return pixels_.get(); }
  uint32_t* Bits() { return pixels_.get(); }
  // Bytes per row.
  int32_t Stride() const { return width_ * 4; }

  // Pen and brush state.
  void SetPenColor(Color c) { pen_color_ = c; }
  Color PenColor() const { return pen_color_; }
  // Widths below 1 are taken as 1.
  void SetPenWidth(int32_t w) { pen_width_ = w < 1 ? 1 : w; }
  int32_t PenWidth() const { return pen_width_; }
  void SetPenMode(PenMode m) { pen_mode_ = m; }
  PenMode GetPenMode() const { return pen_mode_; }
  void SetBrushColor(Color c) { brush_color_ = c; }
  Color BrushColor() const { return brush_color_; }
  void SetBrushStyle(BrushStyle s) { brush_style_ = s; }
  BrushStyle GetBrushStyle() const { return brush_style_; }
  // The raster operation used when a picture is copied onto this surface.
  void SetCopyMode(RasterOp op) { copy_mode_ = op; }
  RasterOp CopyMode() const { return copy_mode_; }

  // Pen position.
  void MoveTo(Point p) { pen_pos_ = p; }
  Point PenPos() const { return pen_pos_; }
  // A line from the pen position to p in the pen; the pen moves to p. Width 1 leaves
  // out the end point; a wider pen draws a band of its width with round ends. Each
  // pixel of the segment is changed once.
  void LineTo(Point p) {
    if (transformed_) {
      TransformedLineTo(p);
      return;
    }
    const Point from = pen_pos_;
    pen_pos_ = p;
    const raster::PixelGrid grid{pixels_.get(), width_, height_};
    // The pattern tools' thousands of short copy-mode lines take the direct way, inline.
    if (pen_width_ == 1 && pen_mode_ == PenMode::kCopy && from != p && raster::OnGrid(grid, from) &&
        raster::OnGrid(grid, p)) {
      raster::WalkInsideThinLine<PenMode::kCopy>(grid, from, p, ToPixel(pen_color_));
      // The line lies in the box of its ends and starts with its start pixel; its last
      // pixel counts once it is known that no line drawn so starts at its end.
      if (from != open_to_) CloseOpenEnd();
      GrowDirty(Rect{from.x, from.y, from.x + 1, from.y + 1});
      open_end_ = true;
      open_from_ = from;
      open_to_ = p;
    } else {
      DrawLine(from, p);
    }
  }

  // A LineTo to each point in turn. With colours, the pen takes colours[i] after the
  // line to points[i], as a figure that colours each segment by its start does; the
  // same as the LineTo and SetPenColor calls, done without a call per line.
  void Polyline(std::span<const Point> points, const Color* colours = nullptr);

  // One primitive of a figure: the line from p to q, or the ellipse in the box with
  // corners p and q, in the pen colour pen.
  struct FigurePart {
    bool ellipse = false;
    Point p{};
    Point q{};
    Color pen = 0;
  };
  // Whether DrawFigure writes each pixel once with the present pen: a pen of
  // raster::OnePassPenWidth of the pen mode or more.
  bool DrawsFiguresInOnePass() const;
  // Leaves what, for each part in turn, SetPenColor(pen) and then MoveTo(p) and
  // LineTo(q), or Ellipse(MakeRect(p, q)), leave; the pen colour stays as it was. When
  // DrawsFiguresInOnePass, each pixel is written once, however much the parts overlap.
  void DrawFigure(std::span<const FigurePart> parts);

  // Shapes from two corners in any order, right and bottom just outside: the outline
  // in the pen, the inside filled with the brush unless it is clear.
  void Rectangle(const Rect& r);
  void Ellipse(const Rect& r);
  // A rectangle whose corners are quarters of a cornerW x cornerH ellipse (negative
  // corner sizes count by magnitude).
  void RoundRect(const Rect& r, int32_t cornerW, int32_t cornerH);

  // Fills r (any corner order) with c, ignoring pen and brush.
  void FillRect(const Rect& r, Color c);

  // The colour at p; kInvalidColor outside the surface.
  static constexpr Color kInvalidColor = 0xFFFFFFFFu;
  Color Pixel(Point p) const;
  void SetPixel(Point p, Color c);

  // Copies srcRect of src into dstRect of this surface, stretching or shrinking by
  // nearest pixel, mirrored along an axis where exactly one of the two rectangles is
  // reversed. Source, destination and the brush colour (as pattern) combine by op.
  // src may be this surface: the copy then reads the whole source first. Pixels whose
  // source lies outside src are left as they are.
  void CopyRect(const Rect& dstRect, const Surface& src, const Rect& srcRect, RasterOp op);
  // The same with this surface's copy mode.
  void CopyRect(const Rect& dstRect, const Surface& src, const Rect& srcRect) {
    CopyRect(dstRect, src, srcRect, copy_mode_);
  }

  // Copies r (clipped) of src into this surface and into also, reading src once: the
  // same as two CopyRect calls with kSrcCopy, or with kDstInvert on src's pixels when
  // invert is set. src may be this surface. Does nothing unless all three have one size.
  void CopyRectTwice(const Rect& r, const Surface& src, Surface& also, bool invert);

  // The area changed since the last call, clipped to the surface; resets it. The
  // window takes it to repaint.
  Rect TakeDirty();
  // The area changed so far, without resetting it.
  Rect Dirty() const;
  // The same as TakeDirty, kept apart from it for a second reader (the undo history),
  // so that neither resets what the other is yet to see.
  Rect TakeChanged();
  // TakeChanged, also setting to 1 in tiles the tiles of kChangeTile pixels square,
  // row by row, that hold what changed: only those the box met each time the changes
  // were handed out, so that a stroke across the screen, shown as it is drawn, gives
  // the tiles along it rather than all the tiles of its box. tiles has a byte for each
  // tile of the surface.
  static constexpr int32_t kChangeTile = 64;
  Rect TakeChanged(std::span<uint8_t> tiles);
  // Marks r (clipped) as changed, for writes made through Bits().
  void MarkDirty(const Rect& r);

 private:
  int32_t width_ = 0;
  int32_t height_ = 0;
  // Pixel memory comes from AllocatePixels and goes back through std::free.
  struct FreePixels {
    void operator()(uint32_t* p) const;
  };
  using PixelBuffer = std::unique_ptr<uint32_t[], FreePixels>;
  static PixelBuffer AllocatePixels(int32_t w, int32_t h);
  PixelBuffer pixels_;
  Color pen_color_ = 0;
  int32_t pen_width_ = 1;
  PenMode pen_mode_ = PenMode::kCopy;
  Color brush_color_ = 0xFFFFFF;
  BrushStyle brush_style_ = BrushStyle::kSolid;
  RasterOp copy_mode_ = kSrcCopy;
  Point pen_pos_{};
  // Changes since either reader last looked; shown_ and changed_ hold what one reader
  // has not taken yet. Drawing grows dirty_ alone, so a pixel costs one box.
  Rect dirty_{};
  Rect shown_{};
  Rect changed_{};
  // The tiles changed_ is made of, a byte each; empty when none is set.
  std::vector<uint8_t> changedTiles_;

  // The direct line whose last pixel may not be in dirty_ yet, when open_end_.
  bool open_end_ = false;
  Point open_from_{};
  Point open_to_{};

  bool transformed_ = false;
  SurfaceTransform transform_;
  Point ToPixels(Point p) const;
  int32_t PixelWidthOf(int32_t units) const;
  // Runs draw, given pixel coordinates, with the transform off and the pen pixelWidth
  // wide; the pen's width and position stay in the caller's units.
  template <class F>
  void InPixels(int32_t pixelWidth, F&& draw);
  void TransformedLineTo(Point p);

  // Whether the pen draws whole units: a transform of a unit to a pixel or more is set
  // and the pen is kUnitPen units wide or less. A pen that narrow is as much the grid
  // it was drawn on as the line it follows (its holes and steps are the drawing), so
  // it keeps them at any larger scale. The grid of units is then no larger than the
  // surface.
  bool DrawsUnits() const {
    return transformed_ && transform_.scale >= 1 && pen_width_ <= kUnitPen;
  }
  // Runs draw with the transform off on unit_, a grid of the caller's units, in copy
  // mode; then applies each unit it wrote, in the pen mode, to the block of pixels the
  // unit covers here, and clears unit_ again. Unless the pen mode is copy, draw must
  // write each unit once. False, drawing nothing, when the grid cannot be had.
  template <class F>
  bool InUnits(F&& draw);
  // The caller's units, all 0 (unwritten) but while InUnits draws.
  PixelBuffer unit_;
  int32_t unitWidth_ = 0;
  int32_t unitHeight_ = 0;
  // Takes what a drawing changed outside the caller's whole area back to black, so
  // that only the fitted area shows a transformed drawing.
  void KeepOutsideBlack(const Rect& changed);

  // The open line's last pixel, or an empty box when no line is open.
  Rect OpenEndPixel() const;
  // Adds the open line's last pixel to the dirty area.
  void CloseOpenEnd();
  // Moves dirty_ into what each reader is yet to take.
  void HandOutDirty();
  // LineTo in every case but the direct one.
  void DrawLine(Point from, Point to);
  // Adds the non-empty box r to the dirty area.
  void GrowDirty(const Rect& r) {
    if (dirty_.left >= dirty_.right) {
      dirty_ = r;
      return;
    }
    dirty_ = Rect{std::min(dirty_.left, r.left), std::min(dirty_.top, r.top),
                  std::max(dirty_.right, r.right), std::max(dirty_.bottom, r.bottom)};
  }
};

}  // namespace quillo
