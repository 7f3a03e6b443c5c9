// A picture file read by quillo-render's own platform, as the renderer reads the
// pictures a replay asks for: the same guarded reader as the program's.
#include "fuzz_input.h"
#include "fuzz_qt.h"
#include "platform/qt/picture_screen_platform.h"

using namespace quillo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::WriteInput("render-picture.png", data, size);
  PictureScreenPlatform platform({64, 48});
  fuzz::PictureProbe probe;
  if (const auto fault = platform.LoadPicture(path, probe.surface)) {
    if (fault->empty() || !probe.Untouched())
      fuzz::Fail("a refused picture changed the surface, or was refused without a message");
  } else if (!probe.PossibleSize()) {
    fuzz::Fail("a loaded picture has an impossible size");
  }
  return 0;
}
