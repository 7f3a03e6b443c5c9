// The renderer's command line: the input split at zero bytes into arguments. What it
// accepts must be a command it can carry out.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "platform/raster/surface.h"
#include "render_options.h"

using namespace quillo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> args = fuzz::SplitArguments(data, size);
  const std::optional<RenderOptions> o = ParseRenderArgs(args);
  if (!o) return 0;
  if (o->size.width < 16 || o->size.height < 16 || o->size.width > Surface::kMaxSide ||
      o->size.height > Surface::kMaxSide || o->speed < 0 || o->speed > 32 || o->fps < 1 ||
      !(o->holdSeconds >= 0) || o->input.empty() || !OutputKindOf(o->output)) {
    std::fprintf(stderr, "accepted %dx%d speed %d\n", o->size.width, o->size.height, o->speed);
    std::abort();
  }
  return 0;
}
