#include "platform/raster/large_pages.h"

#if __has_include(<sys/mman.h>)
#include <sys/mman.h>
#endif

namespace quillo::raster {

void AdviseLargePages([[maybe_unused]] void* p, [[maybe_unused]] size_t bytes) {
#if defined(MADV_HUGEPAGE)
  // The C library's memory advice: a failure only means ordinary pages.
  madvise(p, bytes, MADV_HUGEPAGE);
#endif
}

}  // namespace quillo::raster
