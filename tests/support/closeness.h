#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/raster/geometry.h"

namespace quillo::testing {

// How close a picture drawn larger is to one drawn at its recorded size: the larger
// one's area shrunk back by area averaging, compared per channel.

// Area-averaging weights that take n source pixels to m: weights[i] lists (source
// index, share) for target pixel i.
inline std::vector<std::vector<std::pair<int32_t, double>>> AreaWeights(int32_t n, int32_t m) {
  std::vector<std::vector<std::pair<int32_t, double>>> w(static_cast<size_t>(m));
  const double step = static_cast<double>(n) / m;
  for (int32_t i = 0; i < m; ++i) {
    const double a = i * step, b = (i + 1) * step;
    for (auto j = static_cast<int32_t>(std::floor(a)); j < std::min<double>(n, std::ceil(b)); ++j) {
      const double share = (std::min<double>(b, j + 1) - std::max<double>(a, j)) / step;
      if (share > 0) w[static_cast<size_t>(i)].emplace_back(j, share);
    }
  }
  return w;
}

// How far apart two pictures are, per channel on a 0..255 scale: the mean over all
// pixels, and the mean of the worst 32 x 32 block.
struct Closeness {
  double mean = 0;
  double worstBlock = 0;
};

// Rows of 0xFFRRGGBB pixels, width words a row.
struct PixelView {
  const uint32_t* bits;
  int32_t width;
  int32_t height;
};

// Compares small with the area of big shrunk to small's size by area averaging.
inline Closeness ComparePictures(PixelView small, PixelView big, const Rect& area) {
  const int32_t w = small.width, h = small.height;
  const auto cols = AreaWeights(static_cast<int32_t>(area.Width()), w);
  const auto rows = AreaWeights(static_cast<int32_t>(area.Height()), h);
  const int32_t bw = (w + 31) / 32, bh = (h + 31) / 32;
  std::vector<double> blockSum(static_cast<size_t>(bw) * bh), blockCount(blockSum.size());
  double total = 0;
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      double c[3] = {0, 0, 0};
      for (const auto& [sy, wy] : rows[static_cast<size_t>(y)]) {
        const uint32_t* row = big.bits + static_cast<size_t>(area.top + sy) * big.width;
        for (const auto& [sx, wx] : cols[static_cast<size_t>(x)]) {
          const uint32_t px = row[area.left + sx];
          for (int k = 0; k < 3; ++k)
            c[k] += wy * wx * ((px >> (8 * k)) & 255u);
        }
      }
      const uint32_t ref = small.bits[static_cast<size_t>(y) * w + x];
      double d = 0;
      for (int k = 0; k < 3; ++k)
        d += std::abs(c[k] - ((ref >> (8 * k)) & 255u));
      total += d / 3;
      const size_t b = static_cast<size_t>(y / 32) * bw + x / 32;
      blockSum[b] += d / 3;
      blockCount[b] += 1;
    }
  }
  Closeness out;
  out.mean = total / (static_cast<double>(w) * h);
  for (size_t b = 0; b < blockSum.size(); ++b)
    out.worstBlock = std::max(out.worstBlock, blockSum[b] / blockCount[b]);
  return out;
}

}  // namespace quillo::testing
