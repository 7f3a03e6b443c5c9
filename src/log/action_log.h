#pragma once

#include <array>
#include <cstdint>

#include "log/inspector_list.h"
#include "platform/raster/geometry.h"

namespace quillo {

// Action codes of the log's code words (bits 0-3).
enum ActionCode : uint8_t {
  lgzero = 0,
  lgmoused = 1,
  lgcolor = 2,
  lglinew = 3,
  lgshape = 4,
  lgmousem = 5,
  lgspacecolor = 6,
  lgpenmode = 7,
  lggroundcolor = 8,
  lgfieldcolor = 9,
  Lgwavedata = 10,
  lgcubecolor = 11,
  lgNuWaveSpecial = 12,
  lgbackfield = 13,
  lgZoom = 14,
  lgcanvasop = 15,
};

inline constexpr int32_t kLogCapacity = 60000;
inline constexpr int32_t kReplayLabelAfter = 50;
// The lgcanvasop kind whose value slot holds a corner of the next zoom's or
// negative's rectangle.
inline constexpr int32_t kCornerKind = 3;

// The four half-bytes of a code word.
struct CodeFields {
  uint8_t code = 0;
  uint8_t tool = 0;
  uint8_t strokeType = 0;
  uint8_t kind = 0;
};

// Splits a code word into its fields.
constexpr CodeFields SplitCode(uint32_t word) {
  return CodeFields{static_cast<uint8_t>(word & 15u), static_cast<uint8_t>((word >> 4) & 15u),
                    static_cast<uint8_t>((word >> 8) & 15u),
                    static_cast<uint8_t>((word >> 12) & 15u)};
}

// Packs a point in reference units; negated when the flag is set.
constexpr int32_t PackPoint(int32_t x, int32_t y, bool flag) {
  const uint32_t p = static_cast<uint32_t>(x) * 65536u + static_cast<uint32_t>(y);
  const auto v = static_cast<int32_t>(p);
  return flag ? static_cast<int32_t>(0u - p) : v;
}

// The reference-unit point of a packed value and its flag.
struct UnpackedPoint {
  int32_t x = 0;
  int32_t y = 0;
  bool flag = false;
};
constexpr UnpackedPoint UnpackPoint(int32_t value) {
  const bool flag = value < 0;
  const uint32_t a = flag ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
  return UnpackedPoint{static_cast<int32_t>((a >> 16) & 65535u), static_cast<int32_t>(a & 65535u),
                       flag};
}

// The canvas size a recording was made at, in the units its points are stored in.
// 0 x 0 when it is not known: such a recording was made at the size of the screen it
// is replayed on.
struct CanvasSize {
  int32_t width = 0;
  int32_t height = 0;
  bool Known() const { return width > 0 && height > 0; }
  friend constexpr bool operator==(CanvasSize, CanvasSize) = default;
};

// What the recorder needs to know of the program when it stores an entry.
struct RecordContext {
  Point reference;          // the point converted to reference units
  bool wild = false;        // flag of a press
  bool centerMode = false;  // flag of the move codes
  uint8_t colorMode = 0;    // 0 field, 1 palette, 2 cube: which move code is stored
  uint8_t tool = 0;
  Point currentPoint;  // shown in the inspector line
  Point startPoint;
};

// What one call of Record did.
struct RecordOutcome {
  bool stored = false;
  bool full = false;  // the log holds its capacity: recording must stop
};

// The action log: code words and values, slot 0 of the codes holding the count,
// the replay cursor, and the inspector list. The arrays are fixed, preallocated
// storage. Entries are only ever appended after the count: moving the cursor
// never shortens the recording or overwrites an entry of it.
class ActionLog {
 public:
  std::array<uint32_t, kLogCapacity + 1>& Codes() { return codes_; }
  const std::array<uint32_t, kLogCapacity + 1>& Codes() const { return codes_; }
  std::array<int32_t, kLogCapacity + 1>& Values() { return values_; }
  const std::array<int32_t, kLogCapacity + 1>& Values() const { return values_; }
  // The replay cursor; after an entry is appended it stands on that entry.
  int32_t position = 0;
  // The size the recording was made at; a new recording takes the reference size.
  CanvasSize recordedSize;

  // The entry count, slot 0 of the codes.
  int32_t Count() const { return static_cast<int32_t>(codes_[0]); }

  // Appends one entry after the last when recording is on and the log is not full.
  RecordOutcome Record(bool recording, uint8_t code, int32_t value, const RecordContext& ctx);
  // Empties the log for a new recording: count and cursor 0.
  void Restart() {
    codes_[0] = 0;
    position = 0;
  }

  // Inspector list: a line for every entry recorded or replayed, until cleared.
  const InspectorList& Lines() const { return lines_; }
  void AddLine(const InspectorLine& line) { lines_.push_back(line); }
  void ClearLines() { lines_.clear(); }

 private:
  std::array<uint32_t, kLogCapacity + 1> codes_{};
  std::array<int32_t, kLogCapacity + 1> values_{};
  InspectorList lines_;
};

}  // namespace quillo
