#pragma once

#include <array>
#include <optional>
#include <string>
#include <variant>

#include "platform/raster/geometry.h"

namespace quillo {

// The four colour sets of the colour field editor, each corner, vertical and
// horizontal colour: twelve colours in file order.
using ColourSets = std::array<Color, 12>;

// Reads a ".col" file: twelve little-endian 32-bit colours, 48 bytes. A file that is
// missing or shorter is refused with the fault ("Read beyond end of file").
std::variant<ColourSets, std::string> ReadColFile(const std::string& path);

// Writes the twelve colours through a temporary file renamed over the target, so a
// failed save leaves an older file as it was; the fault on failure.
std::optional<std::string> WriteColFile(const std::string& path, const ColourSets& sets);

}  // namespace quillo
