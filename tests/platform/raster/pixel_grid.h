#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "platform/raster/surface.h"

namespace quillo::testing {

// Letters of the ASCII pixel grids: '.' black, '#' white, 'r' 'g' 'b' red, green, blue.
constexpr Color ColorOfChar(char c) {
  switch (c) {
    case '#':
      return 0xFFFFFF;
    case 'r':
      return 0x0000FF;
    case 'g':
      return 0x00FF00;
    case 'b':
      return 0xFF0000;
    default:
      return 0x000000;
  }
}

inline char CharOfColor(Color c) {
  for (char ch : {'.', '#', 'r', 'g', 'b'}) {
    if (ColorOfChar(ch) == c) return ch;
  }
  return '?';
}

// The surface as rows of grid letters; '?' for any other colour.
inline std::vector<std::string> PixelRows(const Surface& s) {
  std::vector<std::string> rows;
  for (int32_t y = 0; y < s.Height(); ++y) {
    std::string row;
    for (int32_t x = 0; x < s.Width(); ++x)
      row += CharOfColor(s.Pixel({x, y}));
    rows.push_back(row);
  }
  return rows;
}

// A surface of the grid's size painted from it.
inline Surface SurfaceFromRows(std::initializer_list<const char*> rows) {
  Surface s;
  const auto h = static_cast<int32_t>(rows.size());
  const auto w = static_cast<int32_t>(std::string(*rows.begin()).size());
  EXPECT_TRUE(s.Resize(w, h));
  int32_t y = 0;
  for (const char* row : rows) {
    for (int32_t x = 0; x < w; ++x)
      s.SetPixel({x, y}, ColorOfChar(row[x]));
    ++y;
  }
  s.TakeDirty();
  return s;
}

inline void ExpectPixels(const Surface& s, const std::vector<std::string>& rows) {
  EXPECT_EQ(PixelRows(s), rows);
}

// Every stored pixel keeps the top byte 0xFF.
inline bool AlphaIsOpaque(const Surface& s) {
  const int64_t n = int64_t{s.Width()} * s.Height();
  for (int64_t i = 0; i < n; ++i) {
    if ((s.Bits()[i] >> 24) != 0xFF) return false;
  }
  return true;
}

// The box of the pixels that differ between two surfaces of one size.
inline Rect ChangedBox(const Surface& a, const Surface& b) {
  Rect box{};
  for (int32_t y = 0; y < a.Height(); ++y) {
    for (int32_t x = 0; x < a.Width(); ++x) {
      if (a.Pixel({x, y}) != b.Pixel({x, y})) box = Union(box, Rect{x, y, x + 1, y + 1});
    }
  }
  return box;
}

}  // namespace quillo::testing
