// A picture offered on the clipboard by another program, in one of the formats the
// picture readers know, decoded as a paste does: refused by its size before it is
// decoded, and a refused picture leaves the surface as it was.
#include <QMimeData>
#include <array>

#include "fuzz_input.h"
#include "fuzz_qt.h"
#include "platform/qt/picture_codec.h"

using namespace quillo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static constexpr std::array<const char*, 6> kFormats = {
      "image/png", "image/bmp", "image/gif", "image/jpeg", "image/x-portable-pixmap", "text/plain"};
  if (size == 0) return 0;
  QMimeData offered;
  offered.setData(QString::fromLatin1(kFormats[data[0] % kFormats.size()]),
                  QByteArray(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1)));
  fuzz::PictureProbe probe;
  if (!DecodeOfferedPicture(offered, probe.surface)) {
    if (!probe.Untouched()) fuzz::Fail("a refused clipboard picture changed the surface");
    return 0;
  }
  if (!OffersPicture(offered)) fuzz::Fail("a picture pasted from data that offers none");
  if (!probe.PossibleSize()) fuzz::Fail("a pasted picture has an impossible size");
  return 0;
}
