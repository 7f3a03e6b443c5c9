#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace quillo::raster {

struct RowSpan;

// Rows of spans in a mode that only sets bits or keeps them, swept from left to right:
// per colour bit a count of the spans over the column that set it, so that each run of
// columns between two span ends is drawn with the bits set there. It pays where a row
// has few spans for its width, whose ends are then few beside its columns.
class SetterSweep {
 public:
  explicit SetterSweep(int32_t width);

  // The most spans a row may have: the counts must not overflow.
  static constexpr size_t kMostSpans = 32767;

  // Draws spans on row over columns [lo, hi), their reach: each pixel under a span
  // takes the bits set[i] of the spans i over it, at the values setTo.
  void Draw(uint32_t* row, std::span<const RowSpan> spans, std::span<const uint32_t> set,
            uint32_t setTo, int32_t lo, int32_t hi);

 private:
  // Per column from lo, where its ends start among ends_, then as placed.
  std::vector<int32_t> firstEnd_;
  // The span ends sorted by column: span i entering at 2 * i, leaving at 2 * i + 1;
  // and each one's column.
  std::vector<uint32_t> ends_;
  std::vector<int32_t> columns_;
};

}  // namespace quillo::raster
