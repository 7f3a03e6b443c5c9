#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>

#include "platform/raster/geometry.h"

namespace quillo {

// The key colour table: the corner, vertical and horizontal colour of the sets of
// the keys q, w, e, r, t, y, u, i and o, in that order.
using KeyColorTable = std::array<std::array<Color, 3>, 9>;

// A ".kcl" file: the 27 colours of the table as little-endian 32-bit values, nine
// 12-byte records in key order, and nothing else.
inline constexpr size_t kKclFileSize = 108;

// The file image of a table.
std::array<uint8_t, kKclFileSize> EncodeKeyColors(const KeyColorTable& table);
// The table held in the first kKclFileSize bytes; bytes beyond them are ignored.
// Each colour keeps its red, green and blue: the fourth byte is not a colour's
// (with it set, a colour would read as the no-colour value and draw nothing).
KeyColorTable DecodeKeyColors(std::span<const uint8_t, kKclFileSize> bytes);

// Reads a ".kcl" file. A file that is not a regular file, cannot be opened or is shorter than
// kKclFileSize is refused with the fault.
std::variant<KeyColorTable, std::string> ReadKclFile(const std::string& path);

// Writes the table through a temporary file renamed over the target, so a failed
// save leaves an older file as it was; the fault on failure.
std::optional<std::string> WriteKclFile(const std::string& path, const KeyColorTable& table);

}  // namespace quillo
