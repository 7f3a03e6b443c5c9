// A picture file loaded as the program opens pictures onto the canvas: Qt's readers,
// then the picture turned into a surface within the surface's limits. A refused file
// leaves the surface as it was.
#include "fuzz_input.h"
#include "fuzz_qt.h"
#include "platform/qt/qt_platform.h"

using namespace quillo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::WriteInput("picture.bmp", data, size);
  QtPlatform platform;
  fuzz::PictureProbe probe;
  if (platform.LoadPicture(path, probe.surface)) {
    if (!probe.Untouched()) fuzz::Fail("a refused picture changed the surface");
  } else if (!probe.PossibleSize()) {
    fuzz::Fail("a loaded picture has an impossible size");
  }
  return 0;
}
