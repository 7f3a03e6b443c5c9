#pragma once

#include <cstddef>

namespace quillo::raster {

// Asks the system to back [p, p + bytes) with large pages where it offers them; a
// hint only, without effect elsewhere. p and bytes are multiples of 2 MiB.
void AdviseLargePages(void* p, size_t bytes);

}  // namespace quillo::raster
