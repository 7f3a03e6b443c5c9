#include "platform/raster/large_pages.h"

#include <cstdlib>

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

#if defined(MAP_POPULATE)
void* TakeReadyPages(size_t bytes) {
  void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE,
                 -1, 0);
  return p == MAP_FAILED ? nullptr : p;
}

void GiveBackPages(void* p, size_t bytes) {
  munmap(p, bytes);
}
#else
void* TakeReadyPages(size_t bytes) {
  return std::aligned_alloc(size_t{2} << 20, bytes);
}

void GiveBackPages(void* p, size_t) {
  std::free(p);
}
#endif

}  // namespace quillo::raster
