#pragma once

#include <cstdint>

#include "platform/raster/geometry.h"

namespace quillo {

// The twelve drawing tools by their log codes.
enum ToolCode : uint8_t {
  dtfree = 0,
  dtline = 1,
  dtrectangle = 2,
  dtellipse = 3,
  dtroundrect = 4,
  dtwave = 5,
  dtNuwave = 6,
  dtNuWaveSpecial = 7,
  dtwave3 = 8,
  dtwave4 = 9,
  dtTwister = 10,
  dtBios = 11,
};

inline constexpr int kToolCount = 12;

// Colour sources of strokes.
enum ColorModeCode : uint8_t { kColorField = 0, kColorPalette = 1, kColorCube = 2 };

// The current tool and the parameters the stroke routines read, with the state the
// pattern generators keep between figures.
struct ToolState {
  uint8_t tool = dtfree;
  bool wild = false;
  bool autoToolChange = true;
  uint8_t colorMode = kColorField;
  int32_t specA = 0;
  int32_t specB = 0;
  int32_t waveFrequency = 1;
  int32_t waveFrequency2 = 8;
  double wavePhase = 0.0;

  // Generator state: the last generated point, whether DrawShape draws or moves,
  // and the two points of the stroke being drawn.
  Point generated{};
  bool penDown = false;
  Point strokeAnchor{};
  Point strokeTarget{};

  // Back to the state of a fresh start (the tool code and pen are kept).
  void ClearGenerator() {
    generated = {};
    penDown = false;
    strokeAnchor = {};
    strokeTarget = {};
  }
};

}  // namespace quillo
