#pragma once

#include <cstddef>

namespace quillo::raster {

// Asks the system to back [p, p + bytes) with large pages where it offers them; a
// hint only, without effect elsewhere. p and bytes are multiples of 2 MiB.
void AdviseLargePages(void* p, size_t bytes);

// Memory of bytes (a multiple of 2 MiB) whose pages the system makes in one call
// rather than one fault at a time when first touched; nullptr when there is none.
// Given back with GiveBackPages and the same size.
void* TakeReadyPages(size_t bytes);
void GiveBackPages(void* p, size_t bytes);

}  // namespace quillo::raster
