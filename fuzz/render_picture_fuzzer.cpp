// A picture file read by quillo-render's own platform, as the renderer reads the
// pictures a replay asks for: the same guarded reader as the program's.
#include <QGuiApplication>
#include <cstdlib>

#include "fuzz_support.h"
#include "headless_platform.h"

using namespace quillo;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static QGuiApplication app(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::WriteInput("render-picture.png", data, size);
  HeadlessPlatform platform({64, 48});
  Surface surface;
  if (!surface.Resize(3, 2)) std::abort();
  surface.SetPixel({1, 1}, 0x123456);
  if (const auto fault = platform.LoadPicture(path, surface)) {
    if (fault->empty() || surface.Width() != 3 || surface.Pixel({1, 1}) != 0x123456)
      fuzz::Fail("a refused picture changed the surface, or was refused without a message");
    return 0;
  }
  if (surface.Width() < 1 || surface.Height() < 1 ||
      int64_t{surface.Width()} * surface.Height() > Surface::kMaxPixels)
    fuzz::Fail("a loaded picture has an impossible size");
  return 0;
}
