// A picture file loaded as the program opens pictures onto the canvas: Qt's readers,
// then the picture turned into a surface within the surface's limits. A refused file
// leaves the surface as it was.
#include <QGuiApplication>
#include <cstdlib>

#include "fuzz_support.h"
#include "platform/qt/qt_platform.h"

using namespace quillo;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static QGuiApplication app(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::WriteInput("picture.bmp", data, size);
  QtPlatform platform;
  Surface surface;
  if (!surface.Resize(3, 2)) std::abort();
  surface.SetPixel({1, 1}, 0x123456);
  if (platform.LoadPicture(path, surface)) {
    if (surface.Width() != 3 || surface.Height() != 2 || surface.Pixel({1, 1}) != 0x123456) {
      fuzz::Fail("a refused picture changed the surface");
    }
    return 0;
  }
  if (surface.Width() < 1 || surface.Height() < 1 ||
      int64_t{surface.Width()} * surface.Height() > Surface::kMaxPixels) {
    fuzz::Fail("a loaded picture has an impossible size");
  }
  return 0;
}
