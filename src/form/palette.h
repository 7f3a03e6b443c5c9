#pragma once

#include "platform/raster/geometry.h"

// The program's palette: one set of named colours for every window, each with one
// job. docs/design.md shows them side by side.
namespace quillo::palette {

// Surfaces: every bottom strip shares one background; groups inside a strip sit on
// a slightly lighter tile.
inline constexpr Color kStrip = Rgb(27, 30, 46);
inline constexpr Color kGroup = Rgb(40, 44, 66);
// Light faces for plain buttons and the text on them.
inline constexpr Color kButtonFace = Rgb(236, 240, 247);
inline constexpr Color kInk = Rgb(31, 36, 48);
// Titles of groups and the small words beside values.
inline constexpr Color kTitle = Rgb(176, 186, 214);
// Value displays: light figures on a dark well.
inline constexpr Color kWell = Rgb(12, 13, 22);

// One accent per function group: the rule along a strip's top edge and the ink of
// its buttons' pictures.
inline constexpr Color kDrawAccent = Rgb(124, 58, 237);     // tools and the canvas
inline constexpr Color kViewAccent = Rgb(13, 128, 120);     // zoom, drag, fly
inline constexpr Color kReplayAccent = Rgb(194, 98, 10);    // files and replay
inline constexpr Color kSettingsAccent = Rgb(190, 24, 93);  // settings and switches

}  // namespace quillo::palette
