#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "platform/raster/pixel_grid.h"
#include "platform/raster/surface.h"

namespace quillo {
namespace {

using testing::AlphaIsOpaque;
using testing::ChangedBox;
using testing::ExpectPixels;
using testing::SurfaceFromRows;

Surface Blank(int32_t w, int32_t h) {
  Surface s;
  EXPECT_TRUE(s.Resize(w, h));
  s.TakeDirty();
  return s;
}

// With pen bits 1100 and destination bits 1010 in every nibble, the result nibble is
// the mode's truth table over (pen, dst) = 11, 10, 01, 00.
TEST(PenModes, EachModeIsItsBitwiseFunction) {
  constexpr uint32_t kTable[16] = {0x0, 0xF, 0xA, 0x5, 0xC, 0x3, 0xD, 0x4,
                                   0xB, 0x2, 0xE, 0x1, 0x8, 0x7, 0x6, 0x9};
  for (uint32_t ordinal = 0; ordinal < 16; ++ordinal) {
    SCOPED_TRACE(ordinal);
    const Color expected = kTable[ordinal] * 0x111111u;
    Surface s = Blank(4, 3);
    s.FillRect(s.Bounds(), 0xAAAAAA);
    s.SetPenColor(0xCCCCCC);
    s.SetBrushColor(0xCCCCCC);
    s.SetPenMode(PenModeOf(ordinal));
    s.MoveTo({0, 0});
    s.LineTo({1, 0});
    s.SetPenWidth(3);
    s.MoveTo({1, 2});
    s.LineTo({1, 2});
    s.SetPenWidth(1);
    s.Rectangle(Rect{3, 0, 4, 3});
    EXPECT_EQ(s.Pixel({0, 0}), expected);   // thin line
    EXPECT_EQ(s.Pixel({1, 2}), expected);   // wide dot
    EXPECT_EQ(s.Pixel({3, 1}), expected);   // shape outline
    EXPECT_EQ(s.Pixel({1, 0}), 0xAAAAAAu);  // the line's end point
    EXPECT_TRUE(AlphaIsOpaque(s));
  }
}

TEST(Lines, OnePixelLineLeavesOutItsEnd) {
  Surface s = Blank(8, 4);
  s.SetPenColor(0xFFFFFF);
  s.MoveTo({0, 0});
  s.LineTo({7, 3});
  s.LineTo({7, 0});
  ExpectPixels(s, {"##......", "..##...#", "....##.#", "......##"});
  EXPECT_EQ(s.PenPos(), (Point{7, 0}));
  EXPECT_EQ(s.TakeDirty(), (Rect{0, 0, 8, 4}));
}

TEST(Lines, WidePenDrawsARoundEndedBand) {
  Surface s = Blank(9, 7);
  s.SetPenColor(0xFFFFFF);
  s.SetPenWidth(3);
  s.MoveTo({2, 3});
  s.LineTo({6, 3});
  s.SetPenWidth(4);
  s.MoveTo({0, 0});
  s.LineTo({0, 0});
  ExpectPixels(s, {"##.......", "#........", ".#######.", ".#######.", ".#######.", ".........",
                   "........."});
}

TEST(Lines, ClippedLinesKeepTheirPixels) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int32_t> coord(-60, 160);
  for (int i = 0; i < 300; ++i) {
    const Point a{coord(rng), coord(rng)};
    const Point b{coord(rng), coord(rng)};
    const int32_t width = i % 3 == 0 ? 1 + i % 7 : 1;
    Surface big = Blank(300, 300);
    Surface small = Blank(40, 30);
    for (Surface* s : {&big, &small}) {
      s->SetPenColor(0xFFFFFF);
      s->SetPenWidth(width);
    }
    big.MoveTo({a.x + 100, a.y + 100});
    big.LineTo({b.x + 100, b.y + 100});
    small.MoveTo(a);
    small.LineTo(b);
    Surface window = Blank(40, 30);
    window.CopyRect(window.Bounds(), big, Rect{100, 100, 140, 130}, kSrcCopy);
    ASSERT_EQ(testing::PixelRows(small), testing::PixelRows(window)) << i;
    EXPECT_EQ(small.TakeDirty(), ChangedBox(Blank(40, 30), small)) << i;
  }
}

TEST(Shapes, OutlineInPenInsideInBrush) {
  Surface s = Blank(12, 7);
  s.SetPenColor(0xFFFFFF);
  s.SetBrushColor(0x0000FF);
  s.Rectangle(Rect{4, 5, 0, 0});
  s.SetBrushStyle(BrushStyle::kClear);
  s.Ellipse(Rect{5, 0, 12, 7});
  ExpectPixels(s, {"####...###..", "#rr#..#...#.", "#rr#.#.....#", "#rr#.#.....#", "####.#.....#",
                   "......#...#.", ".......###.."});
}

TEST(Shapes, RoundRectAndWideOutline) {
  Surface s = Blank(12, 8);
  s.SetPenColor(0xFFFFFF);
  s.SetBrushColor(0x00FF00);
  s.RoundRect(Rect{0, 0, 7, 6}, -4, 4);
  s.SetPenWidth(2);
  s.Rectangle(Rect{9, 1, 11, 7});
  ExpectPixels(s, {".#####..####", "#ggggg#.####", "#ggggg#.####", "#ggggg#.####", "#ggggg#.####",
                   ".#####..####", "........####", "........####"});
}

TEST(Shapes, EmptyBoxWithThinPenDrawsNothing) {
  Surface s = Blank(16, 16);
  s.SetPenColor(0xFFFFFF);
  for (int i = 0; i < 1500; ++i) {
    s.Ellipse(Rect{8, 8, 8, 8});
    s.Rectangle(Rect{3, 2, 3, 9});
    s.RoundRect(Rect{1, 5, 9, 5}, 3, 3);
  }
  EXPECT_EQ(testing::ChangedBox(Blank(16, 16), s), Rect{});
  EXPECT_EQ(s.TakeDirty(), Rect{});
}

// Every primitive in an inverting mode changes each pixel once, so twice restores.
TEST(Shapes, InvertingTwiceRestores) {
  std::mt19937 rng(11);
  std::uniform_int_distribution<int32_t> coord(-10, 50);
  std::uniform_int_distribution<uint32_t> colour(0, 0xFFFFFF);
  Surface before = Blank(40, 40);
  for (int32_t y = 0; y < 40; ++y) {
    for (int32_t x = 0; x < 40; ++x)
      before.SetPixel({x, y}, colour(rng));
  }
  for (int i = 0; i < 200; ++i) {
    Surface s;
    ASSERT_TRUE(s.CopyFrom(before));
    s.SetPenMode(i % 2 ? PenMode::kNot : PenMode::kXor);
    s.SetPenColor(colour(rng));
    s.SetBrushColor(colour(rng));
    s.SetPenWidth(1 + i % 9);
    const Rect r{coord(rng), coord(rng), coord(rng), coord(rng)};
    for (int pass = 0; pass < 2; ++pass) {
      switch (i % 4) {
        case 0:
          s.Rectangle(r);
          break;
        case 1:
          s.Ellipse(r);
          break;
        case 2:
          s.RoundRect(r, r.left, r.top);
          break;
        default:
          s.MoveTo({r.left, r.top});
          s.LineTo({r.right, r.bottom});
      }
    }
    ASSERT_EQ(ChangedBox(before, s), Rect{}) << i;
  }
}

TEST(Surface, DirtyAreaCoversWhatChanged) {
  Surface s = Blank(20, 20);
  s.SetPixel({3, 4}, 0x123456);
  EXPECT_EQ(s.Pixel({3, 4}), 0x123456u);
  EXPECT_EQ(s.TakeDirty(), (Rect{3, 4, 4, 5}));
  EXPECT_EQ(s.TakeDirty(), Rect{});
  s.MarkDirty(Rect{30, 5, -4, 2});
  EXPECT_EQ(s.TakeDirty(), (Rect{0, 2, 20, 5}));

  std::mt19937 rng(3);
  std::uniform_int_distribution<int32_t> coord(-15, 35);
  const Surface blank = Blank(20, 20);
  for (int i = 0; i < 400; ++i) {
    ASSERT_TRUE(s.CopyFrom(blank));
    s.TakeDirty();
    s.SetPenColor(0xFFFFFF);
    s.SetBrushColor(0x00FF00);
    s.SetPenWidth(1 + i % 6);
    const Rect r{coord(rng), coord(rng), coord(rng), coord(rng)};
    switch (i % 6) {
      case 0:
        s.Rectangle(r);
        break;
      case 1:
        s.Ellipse(r);
        break;
      case 2:
        s.RoundRect(r, 6, 5);
        break;
      case 3:
        s.FillRect(r, 0x0000FF);
        break;
      case 4:
        s.CopyRect(r, SurfaceFromRows({"#r", "gb"}), Rect{0, 0, 2, 2});
        break;
      default:
        s.MoveTo({r.left, r.top});
        s.LineTo({r.right, r.bottom});
    }
    ASSERT_EQ(s.TakeDirty(), ChangedBox(blank, s)) << i;
  }
}

// The changed tiles hold every changed pixel however the window takes the changes in
// between, and a stroke shown as it is drawn gives the tiles along it, not its box.
TEST(Surface, ChangedTilesHoldEveryChangeAndFollowAShownStroke) {
  constexpr int32_t kTile = Surface::kChangeTile;
  const Surface blank = Blank(640, 400);
  const size_t columns = 10;
  std::vector<uint8_t> tiles(columns * 7);
  const auto unmarkedChanges = [&](const Surface& s) {
    int count = 0;
    for (int32_t y = 0; y < s.Height(); ++y)
      for (int32_t x = 0; x < s.Width(); ++x)
        count += s.Pixel({x, y}) != blank.Pixel({x, y}) &&
                 tiles[static_cast<size_t>(y / kTile) * columns + x / kTile] == 0;
    return count;
  };
  std::mt19937 rng(5);
  std::uniform_int_distribution<int32_t> x(-40, 680);
  std::uniform_int_distribution<int32_t> y(-40, 440);
  for (int round = 0; round < 20; ++round) {
    Surface s = Blank(640, 400);
    s.TakeChanged();
    std::fill(tiles.begin(), tiles.end(), uint8_t{0});
    s.SetPenWidth(1 + round % 40);
    s.MoveTo({x(rng), y(rng)});
    for (int i = 0; i < 12; ++i) {
      s.LineTo({x(rng), y(rng)});
      if (i == 5) s.FillRect(Rect{x(rng), y(rng), x(rng), y(rng)}, 0x00FF00);
      if (rng() % 2 == 0) s.TakeDirty();
    }
    s.TakeChanged(tiles);
    ASSERT_EQ(unmarkedChanges(s), 0) << round;
  }
  Surface s = Blank(640, 400);
  s.TakeChanged();
  std::fill(tiles.begin(), tiles.end(), uint8_t{0});
  s.SetPenWidth(16);
  s.MoveTo({8, 8});
  for (int k = 1; k <= 40; ++k) {
    s.LineTo({8 + k * 15, 8 + k * 9});
    s.TakeDirty();
  }
  EXPECT_EQ(s.TakeChanged(tiles), (Rect{0, 0, 616, 376}));
  EXPECT_EQ(unmarkedChanges(s), 0);
  EXPECT_LT(std::count(tiles.begin(), tiles.end(), 1), 30);
}

// A polyline must leave exactly what its LineTo and SetPenColor calls leave: pixels,
// dirty area, pen position and colour, in the direct copy-mode way and the general one.
TEST(Surface, PolylineIsItsLineToCalls) {
  std::mt19937 rng(11);
  std::uniform_int_distribution<int32_t> coord(-12, 52);
  std::uniform_int_distribution<uint32_t> colour(0, 0xFFFFFF);
  for (int round = 0; round < 300; ++round) {
    SCOPED_TRACE(round);
    std::vector<Point> points;
    std::vector<Color> colours;
    for (int i = 0; i < 1 + round % 17; ++i) {
      // Repeated points give empty lines; the range puts some ends off the surface.
      points.push_back(i % 5 == 4 ? points.back() : Point{coord(rng), coord(rng)});
      colours.push_back(colour(rng));
    }
    Surface one = Blank(40, 30);
    Surface each = Blank(40, 30);
    for (Surface* s : {&one, &each}) {
      s->SetPenMode(round % 3 == 2 ? PenMode::kXor : PenMode::kCopy);
      s->SetPenWidth(round % 4 == 3 ? 3 : 1);
      s->SetPenColor(0x00FF80);
      s->MoveTo({coord(rng) / 2 + 5, 7});
    }
    each.MoveTo(one.PenPos());
    const bool coloured = round % 2 == 0;
    one.Polyline(points, coloured ? colours.data() : nullptr);
    for (size_t i = 0; i < points.size(); ++i) {
      each.LineTo(points[i]);
      if (coloured) each.SetPenColor(colours[i]);
    }
    for (int32_t y = 0; y < 30; ++y)
      for (int32_t x = 0; x < 40; ++x)
        ASSERT_EQ(one.Pixel({x, y}), each.Pixel({x, y})) << x << "," << y;
    EXPECT_EQ(one.TakeDirty(), each.TakeDirty());
    EXPECT_EQ(one.PenPos(), each.PenPos());
    EXPECT_EQ(one.PenColor(), each.PenColor());
  }
}

// Lines, moves, polylines and other shapes in any order: the dirty area, asked at any
// point, is exactly the box of the pixels changed since it was last taken.
TEST(Surface, DirtyAreaAfterMixedDrawingIsTheChangedBox) {
  std::mt19937 rng(5);
  std::uniform_int_distribution<int32_t> coord(-8, 47);
  Surface s = Blank(40, 40);
  Surface before = Blank(40, 40);
  for (int step = 0; step < 3000; ++step) {
    const Point p{coord(rng), coord(rng)};
    s.SetPenColor(0x102030 + static_cast<Color>(step));
    switch (rng() % 8) {
      case 0:
        s.MoveTo(p);
        break;
      case 1:
        s.Ellipse(Rect{p.x, p.y, p.x + 3, p.y + 2});
        break;
      case 2: {
        const std::vector<Point> run{p, {p.x + 2, p.y - 1}, {p.x + 2, p.y - 1}, {p.x - 3, p.y}};
        s.Polyline(run);
        break;
      }
      case 3:
        s.SetPenWidth(2);
        s.LineTo(p);
        s.SetPenWidth(1);
        break;
      default:
        s.LineTo(p);
        break;
    }
    if (rng() % 5 == 0) {
      ASSERT_EQ(s.Dirty(), ChangedBox(before, s)) << step;
      ASSERT_EQ(s.TakeDirty(), ChangedBox(before, s)) << step;
      ASSERT_TRUE(before.CopyFrom(s));
      before.TakeDirty();
    }
  }
}

TEST(Surface, ResizeRefusesBadSizes) {
  Surface s = Blank(3, 2);
  s.SetPixel({1, 1}, 0xFFFFFF);
  for (auto [w, h] : {std::pair{-1, 5},
                      {5, -1},
                      {Surface::kMaxSide + 1, 1},
                      {Surface::kMaxSide, Surface::kMaxSide},
                      {INT32_MAX, INT32_MAX}}) {
    EXPECT_FALSE(s.Resize(w, h));
  }
  EXPECT_EQ(s.Width(), 3);
  EXPECT_EQ(s.Pixel({1, 1}), 0xFFFFFFu);
  EXPECT_TRUE(s.Resize(0, 0));
  EXPECT_EQ(s.Pixel({0, 0}), Surface::kInvalidColor);
  s.MoveTo({0, 0});
  s.LineTo({5, 5});
  s.Ellipse(Rect{0, 0, 5, 5});
  EXPECT_TRUE(s.Resize(2, 1));
  ExpectPixels(s, {".."});
}

}  // namespace
}  // namespace quillo
