// A picture offered on the clipboard by another program, in one of the formats the
// picture readers know, decoded as a paste does: refused by its size before it is
// decoded, and a refused picture leaves the surface as it was.
#include <QGuiApplication>
#include <QMimeData>
#include <array>
#include <cstdlib>

#include "fuzz_support.h"
#include "platform/qt/picture_codec.h"

using namespace quillo;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static QGuiApplication app(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static constexpr std::array<const char*, 6> kFormats = {
      "image/png", "image/bmp", "image/gif", "image/jpeg", "image/x-portable-pixmap", "text/plain"};
  if (size == 0) return 0;
  QMimeData offered;
  offered.setData(QString::fromLatin1(kFormats[data[0] % kFormats.size()]),
                  QByteArray(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1)));
  Surface surface;
  if (!surface.Resize(3, 2)) std::abort();
  surface.SetPixel({1, 1}, 0x123456);
  if (!DecodeOfferedPicture(offered, surface)) {
    if (surface.Width() != 3 || surface.Height() != 2 || surface.Pixel({1, 1}) != 0x123456)
      fuzz::Fail("a refused clipboard picture changed the surface");
    return 0;
  }
  if (!OffersPicture(offered)) fuzz::Fail("a picture pasted from data that offers none");
  if (surface.Width() < 1 || surface.Height() < 1 ||
      int64_t{surface.Width()} * surface.Height() > Surface::kMaxPixels)
    fuzz::Fail("a pasted picture has an impossible size");
  return 0;
}
