#pragma once

#include <cstdint>
#include <vector>

#include "platform/raster/surface.h"

namespace quillo {

// Moves the content of the area (0, 0, w, h) of the surface, with wrap-around, so
// that the pixel at (x, y) lands at ((x + dx) mod w, (y + dy) mod h), for shifts of
// any size and sign. The area is clipped to the surface; pixels outside it stay.
// scratch is reusable memory for one row. Returns the area changed, which is also
// marked dirty: empty when nothing moved.
Rect WrapPixels(Surface& surface, int32_t w, int32_t h, int64_t dx, int64_t dy,
                std::vector<uint32_t>& scratch);

}  // namespace quillo
