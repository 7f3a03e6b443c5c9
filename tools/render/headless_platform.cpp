#include "headless_platform.h"

#include "platform/qt/picture_codec.h"

namespace quillo {

std::optional<std::string> HeadlessPlatform::LoadPicture(const std::string& path, Surface& out) {
  return LoadPictureFile(path, out);
}

std::optional<std::string> HeadlessPlatform::SavePicture(const std::string& path,
                                                         const Surface& picture) {
  auto fault = SavePictureFile(path, picture);
  if (fault) ++failedWrites;
  return fault;
}

}  // namespace quillo
